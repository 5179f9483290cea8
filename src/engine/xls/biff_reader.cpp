#include "engine/xls/biff_reader.h"

#include "engine/model/engine_error.h"
#include "engine/xls/biff_record_types.h"
#include "engine/xls/byte_io.h"

#include <cstring>

namespace engine::xls {

BiffRecordReader::BiffRecordReader(QByteArrayView stream, qsizetype start) : m_stream(stream), m_pos(start) {}

bool BiffRecordReader::next(BiffRecord& record) {
    if (m_pos >= m_stream.size()) return false;
    if (m_pos + 4 > m_stream.size())
        throw EngineError(QStringLiteral("the workbook stream ends inside a record header"));
    const char* p = m_stream.data() + m_pos;
    const std::uint16_t length = readU16(p + 2);
    if (m_pos + 4 + length > m_stream.size())
        throw EngineError(QStringLiteral("a record (type %1) is longer than the workbook stream")
                              .arg(readU16(p), 4, 16, QChar('0')));
    record.type = readU16(p);
    record.offset = m_pos;
    record.body = m_stream.sliced(m_pos + 4, length);
    m_pos += 4 + length;
    return true;
}

std::vector<QByteArrayView> BiffRecordReader::takeContinuations() {
    std::vector<QByteArrayView> bodies;
    for (;;) {
        if (m_pos + 4 > m_stream.size() || readU16(m_stream.data() + m_pos) != rt::kContinue) return bodies;
        BiffRecord r;
        next(r);
        bodies.push_back(r.body);
    }
}

namespace {

std::vector<QByteArrayView> withoutFirst(std::vector<QByteArrayView>& segments) {
    if (segments.size() <= 1) return {};
    return {segments.begin() + 1, segments.end()};
}

qsizetype totalSize(const std::vector<QByteArrayView>& segments) {
    qsizetype n = 0;
    for (QByteArrayView s : segments) n += s.size();
    return n;
}

}  // namespace

RecordReader::RecordReader(std::vector<QByteArrayView> segments, QString what)
    : m_segment(segments.empty() ? QByteArrayView() : segments.front()),
      m_more(withoutFirst(segments)),
      m_moreBytes(totalSize(m_more)),
      m_what(std::move(what)) {}

RecordReader::RecordReader(std::vector<QByteArrayView> segments, std::uint16_t type)
    : m_segment(segments.empty() ? QByteArrayView() : segments.front()),
      m_more(withoutFirst(segments)),
      m_moreBytes(totalSize(m_more)),
      m_type(type) {}

void RecordReader::fail(const QString& detail) const {
    QString what = m_what;
    if (what.isEmpty() && m_type >= 0)
        what = QStringLiteral("a record of type %1").arg(m_type, 4, 16, QChar('0'));
    throw EngineError(QStringLiteral("%1 %2").arg(what, detail));
}

void RecordReader::need(qsizetype n) const {
    if (m_pos + n > m_segment.size()) fail(QStringLiteral("ends before its content does"));
}

bool RecordReader::nextSegment() {
    if (m_next >= m_more.size()) return false;
    m_segment = m_more[m_next++];
    m_moreBytes -= m_segment.size();
    m_pos = 0;
    return true;
}

const char* RecordReader::takeFromNextSegment(qsizetype n) {
    if (m_pos == m_segment.size()) nextSegment();
    need(n);
    const char* p = m_segment.data() + m_pos;
    m_pos += n;
    return p;
}

qsizetype RecordReader::remaining() const {
    return m_segment.size() - m_pos + m_moreBytes;
}

QByteArray RecordReader::bytes(qsizetype n) {
    if (n < 0 || n > remaining()) fail(QStringLiteral("ends before its content does"));
    QByteArray out;
    out.reserve(n);
    while (out.size() < n) {
        if (m_pos == m_segment.size()) nextSegment();
        const qsizetype take = std::min(n - out.size(), m_segment.size() - m_pos);
        out.append(m_segment.data() + m_pos, take);
        m_pos += take;
    }
    return out;
}

QByteArrayView RecordReader::view(qsizetype n) {
    if (n < 0 || n > remaining()) fail(QStringLiteral("ends before its content does"));
    return QByteArrayView(take(n), n);
}

void RecordReader::skip(qsizetype n) {
    if (n == 0) return;
    if (n < 0 || n > remaining()) fail(QStringLiteral("ends before its content does"));
    while (n > 0) {
        if (m_pos == m_segment.size()) nextSegment();
        const qsizetype take = std::min(n, m_segment.size() - m_pos);
        m_pos += take;
        n -= take;
    }
}

QString RecordReader::unicodeString(qsizetype length) {
    std::uint8_t flags = u8();
    if (flags & 0xF2) fail(QStringLiteral("holds a malformed text"));
    const qsizetype runs = (flags & 0x08) ? u16() : 0;
    const qsizetype phonetic = (flags & 0x04) ? u32() : 0;

    QString text;
    text.reserve(std::min(length, remaining()));
    while (text.size() < length) {
        if (m_pos == m_segment.size()) {
            // The characters go on in the next CONTINUE record, after a new flags byte.
            if (!nextSegment()) fail(QStringLiteral("ends inside a text"));
            need(1);
            flags = static_cast<std::uint8_t>(m_segment[m_pos++]);
            if (flags & 0xFE) fail(QStringLiteral("holds a malformed text continuation"));
        }
        const bool wide = flags & 0x01;
        const qsizetype available = (m_segment.size() - m_pos) / (wide ? 2 : 1);
        if (available == 0) fail(QStringLiteral("splits a character between records"));
        const qsizetype count = std::min(available, length - text.size());
        const qsizetype at = text.size();
        text.resize(at + count);
        char16_t* out = reinterpret_cast<char16_t*>(text.data()) + at;
        const char* in = m_segment.data() + m_pos;
        if (wide) {
            for (qsizetype i = 0; i < count; ++i) out[i] = readU16(in + 2 * i);
        } else {
            for (qsizetype i = 0; i < count; ++i) out[i] = static_cast<std::uint8_t>(in[i]);
        }
        m_pos += count * (wide ? 2 : 1);
    }
    skip(runs * 4 + phonetic);
    return text;
}

}  // namespace engine::xls
