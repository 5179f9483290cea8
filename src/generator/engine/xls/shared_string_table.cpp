#include "generator/engine/xls/shared_string_table.h"

#include "generator/engine/xls/biff_reader.h"
#include "generator/engine/xls/biff_record_types.h"
#include "generator/engine/xls/biff_writer.h"
#include "generator/engine/xls/byte_io.h"

#include <algorithm>

namespace engine::xls {

std::uint32_t SharedStringTableBuilder::add(const QString& text) {
    ++m_uses;
    auto it = m_index.constFind(text);
    if (it != m_index.constEnd()) return it.value();
    const auto index = static_cast<std::uint32_t>(m_strings.size());
    m_index.insert(text, index);
    m_strings.push_back(text);
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
        const StringPlacement at = sst.unicodeString(m_strings[i]);
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
