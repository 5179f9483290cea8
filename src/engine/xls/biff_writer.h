#pragma once

#include "engine/xls/byte_io.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>

// Writing the BIFF8 record stream: records of at most 8224 bytes, and records whose
// content runs on into CONTINUE records.
namespace engine::xls {

inline constexpr qsizetype kMaxRecordBody = 8224;

// The stream is written straight into one buffer that grows geometrically; records
// are opened with their length left open and closed once their body is written.
// Positions count from the stream's start, after `headroom` bytes that the buffer
// keeps free in front of it (for a container's header).
class BiffWriter {
public:
    explicit BiffWriter(qsizetype headroom = 0);

    // Makes room for at least `bytes` more, so that a stream of known size is
    // written without moving.
    void reserve(qsizetype bytes);

    // Appends a record; the body must fit one record.
    void record(std::uint16_t type, QByteArrayView body);

    // Starts a record whose length is filled in by endRecord; returns its position.
    qsizetype beginRecord(std::uint16_t type) {
        const qsizetype at = position();
        char* p = grow(4);
        storeU16(p, type);
        storeU16(p + 2, 0);
        return at;
    }
    // Ends the record started at `start`, refusing a body longer than a record holds.
    void endRecord(qsizetype start);
    // Appends a record of a fixed body length (at most a record's) and returns where
    // its body goes, for the caller to fill before anything else is written.
    char* recordBody(std::uint16_t type, qsizetype length) {
        char* p = grow(4 + length);
        storeU16(p, type);
        storeU16(p + 2, static_cast<std::uint32_t>(length));
        return p + 4;
    }

    // A record holding one 16-bit value.
    void u16Record(std::uint16_t type, std::uint32_t value) { storeU16(recordBody(type, 2), value); }

    // Appends to the open record.
    void u8(std::uint32_t v) { *grow(1) = static_cast<char>(v & 0xFF); }
    void u16(std::uint32_t v) { storeU16(grow(2), v); }
    void u32(std::uint32_t v) { storeU32(grow(4), v); }
    void f64(double v) { storeF64(grow(8), v); }
    void bytes(QByteArrayView b);
    void zeros(qsizetype n);
    // Room for n bytes at the end, for the caller to fill completely.
    char* grow(qsizetype n) {
        if (m_capacity - m_size < n) enlarge(n);
        char* p = m_data + m_size;
        m_size += n;
        return p;
    }

    qsizetype position() const { return m_size - m_headroom; }
    void patchU16(qsizetype at, std::uint32_t value) { storeU16(m_data + m_headroom + at, value); }
    void patchU32(qsizetype at, std::uint32_t value) { storeU32(m_data + m_headroom + at, value); }

    // The buffer: the headroom (zeros), then the stream written so far. The writer
    // is left empty.
    QByteArray take();

private:
    void enlarge(qsizetype n);

    QByteArray m_buffer;  // holds m_capacity bytes, of which the first m_size are written
    char* m_data = nullptr;
    qsizetype m_size = 0;
    qsizetype m_capacity = 0;
    qsizetype m_headroom = 0;
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
