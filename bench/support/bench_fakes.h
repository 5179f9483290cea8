// What a headless generation run needs around it: records made up by the shared
// rules of the comparison, silent dialogs that count the boxes a run shows, and
// the two windows reduced to what the run does to them.
#pragma once

#include "generator/record_list.h"
#include "generator/run_windows.h"
#include "../peers/commission_data.h"
#include "shell/dialogs.h"

#include <QString>
#include <QStringList>

namespace bench {

// n records held as the list holds them, as texts: the name and total of record i
// as the list would show them.
inline generator::RecordList benchRecords(int n) {
    generator::RecordList records({}, QString::number(kBenchPercentage));
    for (int i = 1; i <= n; ++i) {
        char name[64];
        bench_record_name(i, name, sizeof name);
        records.append({QString::fromLatin1(name), QString::number(bench_record_total(i), 'f', 2)});
    }
    return records;
}

// Answers every box at once (Ok, or Yes) and keeps its text.
class SilentDialogs : public shell::Dialogs {
public:
    SilentDialogs() = default;
    SilentDialogs(const SilentDialogs&) = delete;
    SilentDialogs& operator=(const SilentDialogs&) = delete;

    shell::BoxAnswer message(const QString& title, const QString& text, shell::BoxButtons buttons,
                             shell::BoxIcon) override {
        boxes << title + QStringLiteral(": ") + text;
        return buttons == shell::BoxButtons::YesNo ? shell::BoxAnswer::Yes : shell::BoxAnswer::Ok;
    }
    QString saveFileName(const QString&, const QString&, const QString&) override { return {}; }

    QStringList boxes;
};

class QuietMainWindow : public generator::MainWindowControl {
public:
    void setBusyPointer() override {}
    void setDefaultPointer() override {}
    void hideMainWindow() override { hidden = true; }
    bool hidden = false;
};

class QuietPreview : public generator::PreviewTarget {
public:
    void setSheet(const generator::SheetPicture& p) override { picture = p; }
    void setWorkbookPath(const QString& path) override { excelFile = path; }
    void showPreview() override { shown = true; }
    generator::SheetPicture picture;
    QString excelFile;
    bool shown = false;
};

}  // namespace bench
