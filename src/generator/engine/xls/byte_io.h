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

// Reads little-endian values from a view, refusing to read past its end. `what`
// names the data in the error description ("the FONT record").
class ByteReader {
public:
    ByteReader(QByteArrayView data, QString what) : m_data(data), m_what(std::move(what)) {}

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    double f64();
    QByteArrayView bytes(qsizetype n);
    void skip(qsizetype n) { bytes(n); }

    qsizetype position() const { return m_pos; }
    qsizetype remaining() const { return m_data.size() - m_pos; }
    bool atEnd() const { return m_pos >= m_data.size(); }
    const QString& what() const { return m_what; }

private:
    void need(qsizetype n) const;

    QByteArrayView m_data;
    QString m_what;
    qsizetype m_pos = 0;
};

// Reads a little-endian value at a fixed offset of a view the caller has sized.
std::uint16_t readU16(const char* p);
std::uint32_t readU32(const char* p);

}  // namespace engine::xls
