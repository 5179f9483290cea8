#include "generator/engine/xls/biff_reader.h"

#include "generator/engine/model/engine_error.h"
#include "generator/engine/xls/biff_record_types.h"
#include "generator/engine/xls/byte_io.h"

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

RecordReader::RecordReader(QByteArrayView body, QString what) : m_segments{body}, m_what(std::move(what)) {}

RecordReader::RecordReader(std::vector<QByteArrayView> segments, QString what)
    : m_segments(std::move(segments)), m_what(std::move(what)) {
    if (m_segments.empty()) m_segments.emplace_back();
}

void RecordReader::fail(const QString& detail) const {
    throw EngineError(QStringLiteral("%1 %2").arg(m_what, detail));
}

void RecordReader::need(qsizetype n) const {
    if (m_pos + n > m_segments[m_segment].size()) fail(QStringLiteral("ends before its content does"));
}

bool RecordReader::nextSegment() {
    if (m_segment + 1 >= m_segments.size()) return false;
    ++m_segment;
    m_pos = 0;
    return true;
}

qsizetype RecordReader::remaining() const {
    qsizetype n = m_segments[m_segment].size() - m_pos;
    for (std::size_t k = m_segment + 1; k < m_segments.size(); ++k) n += m_segments[k].size();
    return n;
}

std::uint8_t RecordReader::u8() {
    // Plain values never straddle records, but may start the next one.
    if (m_pos == m_segments[m_segment].size()) nextSegment();
    need(1);
    return static_cast<std::uint8_t>(m_segments[m_segment][m_pos++]);
}

std::uint16_t RecordReader::u16() {
    if (m_pos == m_segments[m_segment].size()) nextSegment();
    need(2);
    const auto v = readU16(m_segments[m_segment].data() + m_pos);
    m_pos += 2;
    return v;
}

std::uint32_t RecordReader::u32() {
    if (m_pos == m_segments[m_segment].size()) nextSegment();
    need(4);
    const auto v = readU32(m_segments[m_segment].data() + m_pos);
    m_pos += 4;
    return v;
}

double RecordReader::f64() {
    if (m_pos == m_segments[m_segment].size()) nextSegment();
    need(8);
    const char* p = m_segments[m_segment].data() + m_pos;
    const std::uint64_t bits = readU32(p) | (std::uint64_t(readU32(p + 4)) << 32);
    m_pos += 8;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

QByteArray RecordReader::bytes(qsizetype n) {
    if (n < 0 || n > remaining()) fail(QStringLiteral("ends before its content does"));
    QByteArray out;
    out.reserve(n);
    while (out.size() < n) {
        if (m_pos == m_segments[m_segment].size()) nextSegment();
        const qsizetype take = std::min(n - out.size(), m_segments[m_segment].size() - m_pos);
        out.append(m_segments[m_segment].data() + m_pos, take);
        m_pos += take;
    }
    return out;
}

void RecordReader::skip(qsizetype n) {
    if (n < 0 || n > remaining()) fail(QStringLiteral("ends before its content does"));
    while (n > 0) {
        if (m_pos == m_segments[m_segment].size()) nextSegment();
        const qsizetype take = std::min(n, m_segments[m_segment].size() - m_pos);
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
        if (m_pos == m_segments[m_segment].size()) {
            // The characters go on in the next CONTINUE record, after a new flags byte.
            if (!nextSegment()) fail(QStringLiteral("ends inside a text"));
            need(1);
            flags = static_cast<std::uint8_t>(m_segments[m_segment][m_pos++]);
            if (flags & 0xFE) fail(QStringLiteral("holds a malformed text continuation"));
        }
        const QByteArrayView seg = m_segments[m_segment];
        const bool wide = flags & 0x01;
        const qsizetype available = (seg.size() - m_pos) / (wide ? 2 : 1);
        if (available == 0) fail(QStringLiteral("splits a character between records"));
        const qsizetype count = std::min(available, length - text.size());
        for (qsizetype i = 0; i < count; ++i) {
            text.append(wide ? QChar(readU16(seg.data() + m_pos)) : QChar(static_cast<std::uint8_t>(seg[m_pos])));
            m_pos += wide ? 2 : 1;
        }
    }
    skip(runs * 4 + phonetic);
    return text;
}

}  // namespace engine::xls
