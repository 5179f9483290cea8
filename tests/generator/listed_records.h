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

// The picture of the commission sheet of the records, as the generation run takes
// it (from the laid-out workbook, without the file in between).
inline generator::SheetPicture recordsPicture(const generator::RecordList& records) {
    const std::unique_ptr<engine::Application> app = engine::createApplication();
    const engine::Workbook book = app->Workbooks().Add();
    generator::writeCommissionSheet(*app, records);
    generator::SheetPicture picture = generator::takeUsedRangePicture(book);
    app->SetDisplayAlerts(false);
    app->Quit();
    return picture;
}

inline generator::SheetPicture numberedRecordsPicture(int n) { return recordsPicture(numberedRecords(n)); }
