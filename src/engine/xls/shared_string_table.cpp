#include "engine/xls/shared_string_table.h"

#include "engine/xls/biff_reader.h"
#include "engine/xls/biff_record_types.h"
#include "engine/xls/biff_writer.h"
#include "engine/xls/byte_io.h"

#include <algorithm>
#include <functional>
#include <string_view>

namespace engine::xls {

namespace {

std::size_t hashText(const QString& text) {
    return std::hash<std::u16string_view>()(
        std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()), std::size_t(text.size())));
}

}  // namespace

std::size_t SharedStringTableBuilder::slotOf(const QString& text, std::size_t hash) const {
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const std::uint32_t index = m_slots[slot];
        if (index == kEmpty || (m_hashes[index] == hash && *m_strings[index] == text)) return slot;
    }
}

void SharedStringTableBuilder::growSlots() {
    m_slots.assign(std::max<std::size_t>(64, 2 * m_slots.size()), kEmpty);
    const std::size_t mask = m_slots.size() - 1;
    for (std::uint32_t index = 0; index < m_strings.size(); ++index) {
        std::size_t slot = m_hashes[index] & mask;
        while (m_slots[slot] != kEmpty) slot = (slot + 1) & mask;
        m_slots[slot] = index;
    }
}

std::uint32_t SharedStringTableBuilder::add(const QString& text) {
    ++m_uses;
    // At most half the slots are taken, so that a search ends soon.
    if (2 * (m_strings.size() + 1) > m_slots.size()) growSlots();
    const std::size_t hash = hashText(text);
    const std::size_t slot = slotOf(text, hash);
    if (m_slots[slot] != kEmpty) return m_slots[slot];
    const auto index = static_cast<std::uint32_t>(m_strings.size());
    m_slots[slot] = index;
    m_strings.push_back(&text);
    m_hashes.push_back(hash);
    return index;
}

void SharedStringTableBuilder::write(BiffWriter& out) const {
    const auto unique = static_cast<std::uint32_t>(m_strings.size());
    // EXTSST points at every dsst-th string so that readers can seek into the table.
    const std::uint32_t perBucket = std::max<std::uint32_t>(unique / 128 + 1, 8);
    std::vector<StringPlacement> bucketStarts;

    ContinuedRecordWriter sst(out, rt::kSst);
    QByteArray counts;
    ByteWriter(counts).u32(m_uses);
    ByteWriter(counts).u32(unique);
    sst.atomic(counts);
    for (std::uint32_t i = 0; i < unique; ++i) {
        const StringPlacement at = sst.unicodeString(*m_strings[i]);
        if (i % perBucket == 0) bucketStarts.push_back(at);
    }
    sst.finish();

    QByteArray ext;
    ByteWriter w(ext);
    w.u16(perBucket);
    for (const auto& b : bucketStarts) {
        w.u32(static_cast<std::uint32_t>(b.streamPosition));
        w.u16(b.offsetInRecord);
        w.u16(0);
    }
    out.record(rt::kExtSst, ext);
}

std::vector<QString> readSharedStrings(RecordReader& sst) {
    sst.u32();  // total uses
    const std::uint32_t unique = sst.u32();
    std::vector<QString> strings;
    // Every string takes at least three bytes: never reserve beyond what the data holds.
    strings.reserve(std::min<qsizetype>(unique, sst.remaining() / 3));
    for (std::uint32_t i = 0; i < unique; ++i) strings.push_back(sst.string());
    return strings;
}

}  // namespace engine::xls
