#pragma once

#include <QHash>
#include <QString>
#include <cstdint>
#include <vector>

namespace engine::xls {

class BiffWriter;
class RecordReader;

// The workbook's distinct texts in order of first use, written as the SST record
// (running on into CONTINUE records as needed) and its EXTSST index.
class SharedStringTableBuilder {
public:
    // Counts a use of the text, adding it on first use; returns its index.
    std::uint32_t add(const QString& text);
    // The index of a text added before.
    std::uint32_t indexOf(const QString& text) const { return m_index.value(text); }
    std::size_t size() const { return m_strings.size(); }
    void write(BiffWriter& out) const;

private:
    QHash<QString, std::uint32_t> m_index;
    std::vector<QString> m_strings;
    std::uint32_t m_uses = 0;
};

// Reads the texts of an SST record (and its CONTINUE records).
std::vector<QString> readSharedStrings(RecordReader& sst);

}  // namespace engine::xls
