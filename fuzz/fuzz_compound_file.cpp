// The .xls container: any bytes handed to the compound-file reader either give
// streams no larger than the file could hold, or fail with a description.
#include "fuzz_support.h"
#include "engine/model/engine_error.h"
#include "engine/xls/compound_file_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray file(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const engine::xls::CompoundFileReader reader(file);
        const QStringList names = reader.streamNames();
        for (const QString& name : names) {
            fuzz::check(reader.hasStream(name), "a listed stream is not found", name);
            const QByteArray stream = reader.stream(name);
            fuzz::check(stream.size() <= file.size(), "a stream is larger than its file", name);
        }
        if (reader.hasStream(QStringLiteral("Workbook"))) reader.stream(QStringLiteral("workbook"));
    } catch (const engine::EngineError&) {
    }
    return 0;
}
