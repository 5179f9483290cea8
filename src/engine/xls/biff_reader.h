#pragma once

#include "engine/xls/byte_io.h"

#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <vector>

// Reading the BIFF8 record stream, every length checked against the data.
namespace engine::xls {

struct BiffRecord {
    std::uint16_t type = 0;
    qsizetype offset = 0;  // stream position of the record header
    QByteArrayView body;
};

// Walks the records of a stream from a given position.
class BiffRecordReader {
public:
    BiffRecordReader(QByteArrayView stream, qsizetype start);

    // The next record; false at the end of the stream. A record whose header or body
    // runs past the stream's end raises EngineError.
    bool next(BiffRecord& record);
    // The bodies of the CONTINUE records that follow the last record read.
    std::vector<QByteArrayView> takeContinuations();

private:
    QByteArrayView m_stream;
    qsizetype m_pos;
};

// Reads a record body, or a body with its CONTINUE records, refusing to read past the
// end. Strings whose characters run on into a CONTINUE record pick up the flags byte
// repeated there. Error descriptions name the record by `what`, or by its type.
class RecordReader {
public:
    RecordReader(QByteArrayView body, QString what) : m_segment(body), m_what(std::move(what)) {}
    // Named "a record of type 00fd" and so on; the name is made only for an error.
    RecordReader(QByteArrayView body, std::uint16_t type) : m_segment(body), m_type(type) {}
    RecordReader(std::vector<QByteArrayView> segments, QString what);
    RecordReader(std::vector<QByteArrayView> segments, std::uint16_t type);

    std::uint8_t u8() { return static_cast<std::uint8_t>(*take(1)); }
    std::uint16_t u16() { return readU16(take(2)); }
    std::uint32_t u32() { return readU32(take(4)); }
    double f64() { return readF64(take(8)); }
    QByteArray bytes(qsizetype n);
    // The next n bytes without copying them; they must lie in one record.
    QByteArrayView view(qsizetype n);
    void skip(qsizetype n);

    // A BIFF8 Unicode string with a one- or two-byte length; rich-text runs and
    // phonetic data are skipped.
    QString shortString() { return unicodeString(u8()); }
    QString string() { return unicodeString(u16()); }
    // The flags and characters of a string whose length was read already.
    QString unicodeString(qsizetype length);

    qsizetype remaining() const;  // bytes left in all segments
    [[noreturn]] void fail(const QString& detail) const;

private:
    // The next n bytes of the current segment. Plain values never straddle records,
    // but may start the next one.
    const char* take(qsizetype n) {
        if (m_pos + n > m_segment.size()) return takeFromNextSegment(n);
        const char* p = m_segment.data() + m_pos;
        m_pos += n;
        return p;
    }
    const char* takeFromNextSegment(qsizetype n);
    void need(qsizetype n) const;  // in the current segment
    bool nextSegment();

    QByteArrayView m_segment;            // the segment being read
    qsizetype m_pos = 0;
    std::vector<QByteArrayView> m_more;  // the segments after the first
    std::size_t m_next = 0;              // the index in m_more of the next segment
    qsizetype m_moreBytes = 0;           // the bytes of the segments from m_next on
    QString m_what;
    int m_type = -1;                     // names the record when m_what is empty
};

}  // namespace engine::xls
