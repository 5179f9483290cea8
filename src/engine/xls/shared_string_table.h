#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace engine::xls {

class BiffWriter;
class RecordReader;

// The workbook's distinct texts in order of first use, written as the SST record
// (running on into CONTINUE records as needed) and its EXTSST index. The texts are
// the workbook's own, which stay as they are until the table is written: the table
// keeps no copies of them.
class SharedStringTableBuilder {
public:
    // Counts a use of the text, adding it on first use; returns its index.
    std::uint32_t add(const QString& text);
    std::size_t size() const { return m_strings.size(); }
    void write(BiffWriter& out) const;

private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
    // The slot holding the text, or the empty slot where it would go.
    std::size_t slotOf(const QString& text, std::size_t hash) const;
    void growSlots();

    std::vector<const QString*> m_strings;
    std::vector<std::size_t> m_hashes;   // of each text
    std::vector<std::uint32_t> m_slots;  // open addressing over the texts' indexes; a power of two long
    std::uint32_t m_uses = 0;
};

// Reads the texts of an SST record (and its CONTINUE records).
std::vector<QString> readSharedStrings(RecordReader& sst);

}  // namespace engine::xls
