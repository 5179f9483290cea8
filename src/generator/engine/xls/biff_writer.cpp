#include "generator/engine/xls/biff_writer.h"

#include "generator/engine/model/engine_error.h"
#include "generator/engine/xls/biff_record_types.h"
#include "generator/engine/xls/byte_io.h"

namespace engine::xls {

namespace {

bool fitsLatin1(const QString& text) {
    for (QChar c : text)
        if (c.unicode() > 0xFF) return false;
    return true;
}

void appendCharacters(QByteArray& out, const QString& text, qsizetype from, qsizetype count, bool compressed) {
    ByteWriter w(out);
    for (qsizetype i = from; i < from + count; ++i) {
        if (compressed)
            w.u8(text[i].unicode());
        else
            w.u16(text[i].unicode());
    }
}

}  // namespace

void BiffWriter::record(std::uint16_t type, QByteArrayView body) {
    if (body.size() > kMaxRecordBody)
        throw EngineError(QStringLiteral("A record of the workbook is too long (%1 bytes).").arg(body.size()));
    ByteWriter w(m_stream);
    w.u16(type);
    w.u16(static_cast<std::uint32_t>(body.size()));
    w.bytes(body);
}

void BiffWriter::patchU32(qsizetype at, std::uint32_t value) {
    ByteWriter(m_stream).patchU32(at, value);
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
    appendCharacters(body, text, 0, text.size(), compressed);
}

ContinuedRecordWriter::ContinuedRecordWriter(BiffWriter& out, std::uint16_t type) : m_out(out) {
    startRecord(type);
}

ContinuedRecordWriter::~ContinuedRecordWriter() {
    if (!m_finished) closeRecord();
}

void ContinuedRecordWriter::startRecord(std::uint16_t type) {
    m_recordStart = m_out.position();
    ByteWriter w(m_out.stream());
    w.u16(type);
    w.u16(0);  // length, patched when the record closes
    m_used = 0;
}

void ContinuedRecordWriter::closeRecord() {
    ByteWriter(m_out.stream()).patchU16(m_recordStart + 2, static_cast<std::uint32_t>(m_used));
}

void ContinuedRecordWriter::ensureRoom(qsizetype bytes) {
    if (m_used + bytes <= kMaxRecordBody) return;
    closeRecord();
    startRecord(rt::kContinue);
}

void ContinuedRecordWriter::atomic(QByteArrayView piece) {
    Q_ASSERT(piece.size() <= kMaxRecordBody);
    ensureRoom(piece.size());
    m_out.stream().append(piece.data(), piece.size());
    m_used += piece.size();
}

StringPlacement ContinuedRecordWriter::unicodeString(const QString& text) {
    if (text.size() > 0xFFFF)
        throw EngineError(QStringLiteral("The text is too long to be saved (%1 characters).").arg(text.size()));
    const bool compressed = fitsLatin1(text);
    const qsizetype charSize = compressed ? 1 : 2;
    QByteArray& stream = m_out.stream();

    // The header (length and flags) never parts from the first character.
    ensureRoom(3 + (text.isEmpty() ? 0 : charSize));
    const StringPlacement placement{m_out.position(), static_cast<int>(4 + m_used)};
    ByteWriter w(stream);
    w.u16(text.size());
    w.u8(compressed ? 0x00 : 0x01);
    m_used += 3;

    qsizetype done = 0;
    while (done < text.size()) {
        qsizetype room = (kMaxRecordBody - m_used) / charSize;
        if (room == 0) {
            closeRecord();
            startRecord(rt::kContinue);
            w.u8(compressed ? 0x00 : 0x01);  // the flags byte again
            m_used = 1;
            room = (kMaxRecordBody - m_used) / charSize;
        }
        const qsizetype count = std::min(room, text.size() - done);
        appendCharacters(stream, text, done, count, compressed);
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
