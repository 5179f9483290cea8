#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <cstring>

// Little-endian byte helpers shared by the compound-file and BIFF8 layers.
namespace engine::xls {

// Stores a value little-endian at p, which the caller has sized. Written byte by
// byte so that it holds on any host; compilers turn each into a single store.
inline void storeU16(char* p, std::uint32_t v) {
    p[0] = static_cast<char>(v & 0xFF);
    p[1] = static_cast<char>((v >> 8) & 0xFF);
}
inline void storeU32(char* p, std::uint32_t v) {
    storeU16(p, v & 0xFFFF);
    storeU16(p + 2, v >> 16);
}
inline void storeF64(char* p, double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    storeU32(p, static_cast<std::uint32_t>(bits));
    storeU32(p + 4, static_cast<std::uint32_t>(bits >> 32));
}

// Appends little-endian values to a byte array.
class ByteWriter {
public:
    explicit ByteWriter(QByteArray& out) : m_out(out) {}

    void u8(std::uint32_t v) { m_out.append(static_cast<char>(v & 0xFF)); }
    void u16(std::uint32_t v) { storeU16(grow(2), v); }
    void u32(std::uint32_t v) { storeU32(grow(4), v); }
    void f64(double v) { storeF64(grow(8), v); }
    void bytes(QByteArrayView b) { m_out.append(b.data(), b.size()); }
    void zeros(qsizetype n) { m_out.append(n, '\0'); }
    qsizetype position() const { return m_out.size(); }

    // Overwrites a value written earlier (lengths and offsets known only later).
    void patchU16(qsizetype at, std::uint32_t v) { storeU16(m_out.data() + at, v); }
    void patchU32(qsizetype at, std::uint32_t v) { storeU32(m_out.data() + at, v); }

private:
    // Room for n more bytes at the end, in one step.
    char* grow(qsizetype n) {
        const qsizetype at = m_out.size();
        m_out.resize(at + n);
        return m_out.data() + at;
    }

    QByteArray& m_out;
};

// Reads a little-endian value at a fixed offset of a view the caller has sized.
inline std::uint16_t readU16(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>(u[0] | (u[1] << 8));
}
inline std::uint32_t readU32(const char* p) {
    return readU16(p) | (static_cast<std::uint32_t>(readU16(p + 2)) << 16);
}
inline double readF64(const char* p) {
    const std::uint64_t bits = readU32(p) | (std::uint64_t(readU32(p + 4)) << 32);
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

}  // namespace engine::xls
