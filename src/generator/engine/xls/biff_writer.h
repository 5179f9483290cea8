#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>

// Writing the BIFF8 record stream: records of at most 8224 bytes, and records whose
// content runs on into CONTINUE records.
namespace engine::xls {

inline constexpr qsizetype kMaxRecordBody = 8224;

class BiffWriter {
public:
    // Appends a record; the body must fit one record.
    void record(std::uint16_t type, QByteArrayView body);

    qsizetype position() const { return m_stream.size(); }
    void patchU32(qsizetype at, std::uint32_t value);
    QByteArray& stream() { return m_stream; }

private:
    QByteArray m_stream;
};

// Where a string landed in the stream: its absolute position and its offset within
// the (CONTINUE) record holding its start, counting the record header.
struct StringPlacement {
    qsizetype streamPosition = 0;
    int offsetInRecord = 0;
};

// How a string states its length: in one byte (ShortXLUnicodeString) or two.
enum class LengthField { Byte, Word };

// Appends the bytes of a BIFF8 Unicode string (length, flags, characters) to a record
// body that fits in one record. Text of Latin-1 characters is stored compressed.
void appendUnicodeString(QByteArray& body, const QString& text, LengthField length);

// Builds one record whose content may run on into CONTINUE records. Pieces added with
// atomic() are never split; a string's header stays with at least its first
// character, and where its characters continue in a new record, that record starts
// with the string's flags byte again, as BIFF8 requires.
class ContinuedRecordWriter {
public:
    ContinuedRecordWriter(BiffWriter& out, std::uint16_t type);
    ~ContinuedRecordWriter();

    void atomic(QByteArrayView piece);
    StringPlacement unicodeString(const QString& text);  // two-byte length
    void finish();

private:
    void startRecord(std::uint16_t type);
    void closeRecord();
    void ensureRoom(qsizetype bytes);

    BiffWriter& m_out;
    qsizetype m_recordStart = -1;
    qsizetype m_used = 0;
    bool m_finished = false;
};

}  // namespace engine::xls
