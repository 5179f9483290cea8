#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>

// Little-endian byte helpers shared by the compound-file and BIFF8 layers.
namespace engine::xls {

// Appends little-endian values to a byte array.
class ByteWriter {
public:
    explicit ByteWriter(QByteArray& out) : m_out(out) {}

    void u8(std::uint32_t v) { m_out.append(static_cast<char>(v & 0xFF)); }
    void u16(std::uint32_t v);
    void u32(std::uint32_t v);
    void f64(double v);
    void bytes(QByteArrayView b) { m_out.append(b.data(), b.size()); }
    void zeros(qsizetype n) { m_out.append(n, '\0'); }
    qsizetype position() const { return m_out.size(); }

    // Overwrites a value written earlier (lengths and offsets known only later).
    void patchU16(qsizetype at, std::uint32_t v);
    void patchU32(qsizetype at, std::uint32_t v);

private:
    QByteArray& m_out;
};

// Reads a little-endian value at a fixed offset of a view the caller has sized.
std::uint16_t readU16(const char* p);
std::uint32_t readU32(const char* p);

}  // namespace engine::xls
