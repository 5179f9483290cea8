#include "engine/xls/biff_writer.h"

#include "engine/model/engine_error.h"
#include "engine/xls/biff_record_types.h"

#include <algorithm>
#include <cstring>

namespace engine::xls {

namespace {

bool fitsLatin1(const QString& text) {
    const ushort* p = text.utf16();
    return std::all_of(p, p + text.size(), [](ushort c) { return c <= 0xFF; });
}

// The characters [from, from + count) of text at out: one byte each when compressed,
// else two, little-endian.
void storeCharacters(char* out, const QString& text, qsizetype from, qsizetype count, bool compressed) {
    const ushort* p = text.utf16() + from;
    if (compressed) {
        for (qsizetype i = 0; i < count; ++i) out[i] = static_cast<char>(p[i]);
    } else {
        for (qsizetype i = 0; i < count; ++i) storeU16(out + 2 * i, p[i]);
    }
}

[[noreturn]] void recordTooLong(qsizetype length) {
    throw EngineError(QStringLiteral("A record of the workbook is too long (%1 bytes).").arg(length));
}

}  // namespace

BiffWriter::BiffWriter(qsizetype headroom) : m_headroom(headroom) {
    zeros(headroom);
}

void BiffWriter::reserve(qsizetype bytes) {
    if (m_capacity - m_size < bytes) enlarge(bytes);
}

void BiffWriter::enlarge(qsizetype n) {
    const qsizetype capacity = std::max({m_size + n, 2 * m_capacity, qsizetype(4096)});
    // Exactly this much: resize alone would round a large buffer up to a power of two.
    m_buffer.reserve(capacity);
    m_buffer.resize(capacity);
    m_data = m_buffer.data();
    m_capacity = capacity;
}

void BiffWriter::record(std::uint16_t type, QByteArrayView body) {
    if (body.size() > kMaxRecordBody) recordTooLong(body.size());
    char* p = grow(4 + body.size());
    storeU16(p, type);
    storeU16(p + 2, static_cast<std::uint32_t>(body.size()));
    if (!body.isEmpty()) std::memcpy(p + 4, body.data(), body.size());
}

void BiffWriter::endRecord(qsizetype start) {
    const qsizetype length = position() - start - 4;
    if (length > kMaxRecordBody) recordTooLong(length);
    patchU16(start + 2, static_cast<std::uint32_t>(length));
}

void BiffWriter::bytes(QByteArrayView b) {
    if (!b.isEmpty()) std::memcpy(grow(b.size()), b.data(), b.size());
}

void BiffWriter::zeros(qsizetype n) {
    if (n > 0) std::memset(grow(n), 0, n);
}

QByteArray BiffWriter::take() {
    m_buffer.resize(m_size);
    QByteArray stream = std::move(m_buffer);
    m_buffer = QByteArray();
    m_data = nullptr;
    m_size = m_capacity = m_headroom = 0;
    return stream;
}

void appendUnicodeString(QByteArray& body, const QString& text, LengthField length) {
    const qsizetype limit = length == LengthField::Byte ? 0xFF : 0xFFFF;
    if (text.size() > limit)
        throw EngineError(QStringLiteral("The text is too long to be saved (%1 characters).").arg(text.size()));
    const bool compressed = fitsLatin1(text);
    ByteWriter w(body);
    if (length == LengthField::Byte)
        w.u8(text.size());
    else
        w.u16(text.size());
    w.u8(compressed ? 0x00 : 0x01);
    const qsizetype at = body.size();
    body.resize(at + text.size() * (compressed ? 1 : 2));
    storeCharacters(body.data() + at, text, 0, text.size(), compressed);
}

ContinuedRecordWriter::ContinuedRecordWriter(BiffWriter& out, std::uint16_t type) : m_out(out) {
    startRecord(type);
}

ContinuedRecordWriter::~ContinuedRecordWriter() {
    if (!m_finished) closeRecord();
}

void ContinuedRecordWriter::startRecord(std::uint16_t type) {
    m_recordStart = m_out.beginRecord(type);
    m_used = 0;
}

void ContinuedRecordWriter::closeRecord() {
    m_out.patchU16(m_recordStart + 2, static_cast<std::uint32_t>(m_used));
}

void ContinuedRecordWriter::ensureRoom(qsizetype bytes) {
    if (m_used + bytes <= kMaxRecordBody) return;
    closeRecord();
    startRecord(rt::kContinue);
}

void ContinuedRecordWriter::atomic(QByteArrayView piece) {
    Q_ASSERT(piece.size() <= kMaxRecordBody);
    ensureRoom(piece.size());
    m_out.bytes(piece);
    m_used += piece.size();
}

StringPlacement ContinuedRecordWriter::unicodeString(const QString& text) {
    if (text.size() > 0xFFFF)
        throw EngineError(QStringLiteral("The text is too long to be saved (%1 characters).").arg(text.size()));
    const bool compressed = fitsLatin1(text);
    const qsizetype charSize = compressed ? 1 : 2;

    // The header (length and flags) never parts from the first character, nor a
    // character from the other half of its surrogate pair.
    const qsizetype firstUnits = text.isEmpty() ? 0 : (text.front().isHighSurrogate() && text.size() > 1 ? 2 : 1);
    ensureRoom(3 + firstUnits * charSize);
    const StringPlacement placement{m_out.position(), static_cast<int>(4 + m_used)};
    const qsizetype bytes = text.size() * charSize;
    if (m_used + 3 + bytes <= kMaxRecordBody) {
        // The whole string fits the record: stored in one piece.
        char* p = m_out.grow(3 + bytes);
        storeU16(p, text.size());
        p[2] = compressed ? 0x00 : 0x01;
        storeCharacters(p + 3, text, 0, text.size(), compressed);
        m_used += 3 + bytes;
        return placement;
    }
    m_out.u16(text.size());
    m_out.u8(compressed ? 0x00 : 0x01);
    m_used += 3;

    qsizetype done = 0;
    while (done < text.size()) {
        qsizetype count = std::min((kMaxRecordBody - m_used) / charSize, text.size() - done);
        // Readers decode each record's characters on their own: a surrogate pair
        // split between two records would be two broken characters to them.
        if (count > 0 && done + count < text.size() && text.at(done + count - 1).isHighSurrogate()) --count;
        if (count == 0) {
            closeRecord();
            startRecord(rt::kContinue);
            m_out.u8(compressed ? 0x00 : 0x01);  // the flags byte again
            m_used = 1;
            continue;
        }
        storeCharacters(m_out.grow(count * charSize), text, done, count, compressed);
        m_used += count * charSize;
        done += count;
    }
    return placement;
}

void ContinuedRecordWriter::finish() {
    if (m_finished) return;
    closeRecord();
    m_finished = true;
}

}  // namespace engine::xls
