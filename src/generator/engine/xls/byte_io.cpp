#include "generator/engine/xls/byte_io.h"

#include <cstring>

namespace engine::xls {

namespace {

// The low `count` bytes of v, least significant first, appended in one step: a
// file is written a few bytes at a time, and each append has its own cost.
void appendLittleEndian(QByteArray& out, std::uint64_t v, int count) {
    const qsizetype at = out.size();
    out.resize(at + count);
    char* bytes = out.data() + at;
    for (int i = 0; i < count; ++i) bytes[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
}

}  // namespace

void ByteWriter::u16(std::uint32_t v) { appendLittleEndian(m_out, v, 2); }

void ByteWriter::u32(std::uint32_t v) { appendLittleEndian(m_out, v, 4); }

void ByteWriter::f64(double v) {
    std::uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    appendLittleEndian(m_out, bits, 8);
}

void ByteWriter::patchU16(qsizetype at, std::uint32_t v) {
    m_out[at] = static_cast<char>(v & 0xFF);
    m_out[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}

void ByteWriter::patchU32(qsizetype at, std::uint32_t v) {
    patchU16(at, v & 0xFFFF);
    patchU16(at + 2, v >> 16);
}

std::uint16_t readU16(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return static_cast<std::uint16_t>(u[0] | (u[1] << 8));
}

std::uint32_t readU32(const char* p) {
    return readU16(p) | (static_cast<std::uint32_t>(readU16(p + 2)) << 16);
}

}  // namespace engine::xls
