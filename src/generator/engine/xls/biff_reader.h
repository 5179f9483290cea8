#pragma once

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
// repeated there. `what` names the record in error descriptions.
class RecordReader {
public:
    RecordReader(QByteArrayView body, QString what);
    RecordReader(std::vector<QByteArrayView> segments, QString what);

    std::uint8_t u8();
    std::uint16_t u16();
    std::uint32_t u32();
    double f64();
    QByteArray bytes(qsizetype n);
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
    void need(qsizetype n) const;  // in the current segment
    bool nextSegment();

    std::vector<QByteArrayView> m_segments;
    std::size_t m_segment = 0;
    qsizetype m_pos = 0;
    QString m_what;
};

}  // namespace engine::xls
