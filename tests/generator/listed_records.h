#pragma once

#include "engine/application.h"
#include "generator/commission_sheet.h"
#include "generator/generation_run.h"
#include "generator/record_list.h"

#include <memory>

// n records "Person i" with totals 100 * i.
inline generator::RecordList numberedRecords(int n, QString percentage = QStringLiteral("10")) {
    generator::RecordList list({}, std::move(percentage));
    for (int i = 1; i <= n; ++i) list.append({QStringLiteral("Person %1").arg(i), QString::number(100 * i)});
    return list;
}

// A new engine instance whose workbook holds the commission sheet of the records;
// the instance quits with the object.
struct RecordsWorkbook {
    explicit RecordsWorkbook(const generator::RecordList& records)
        : app(engine::createApplication()), book(app->Workbooks().Add()) {
        generator::writeCommissionSheet(*app, records);
    }
    ~RecordsWorkbook() { app->Quit(); }
    RecordsWorkbook(const RecordsWorkbook&) = delete;
    RecordsWorkbook& operator=(const RecordsWorkbook&) = delete;

    const std::unique_ptr<engine::Application> app;
    const engine::Workbook book;
};

// The picture of the commission sheet of the records, as the generation run takes
// it (from the laid-out workbook, without the file in between).
inline generator::SheetPicture recordsPicture(const generator::RecordList& records) {
    return generator::takeUsedRangePicture(RecordsWorkbook(records).book);
}

// The commission workbook of the records saved at path, as the generation run saves it.
inline void saveRecordsWorkbook(const generator::RecordList& records, const QString& path) {
    RecordsWorkbook(records).book.SaveAs(path, engine::FileFormat::Excel8);
}

inline generator::SheetPicture numberedRecordsPicture(int n) { return recordsPicture(numberedRecords(n)); }
