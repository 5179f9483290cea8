// Import of a record list into the real main window on the offscreen platform:
// the file read, its columns guessed, the preview dialog built, shown with its
// first rows and outcome, accepted, and the rows applied as one undo step; from
// a CSV file and from an .xlsx workbook (written here with libxlsxwriter), for
// 1,000 and 32,767 records.
//
//   import_bench [benchmark options]
#include "support/bench_fakes.h"
#include "support/bench_main.h"
#include "records/main_window.h"
#include "records/record_list_view.h"
#include "shell/import_preview_dialog.h"

#include <QFile>
#include <xlsxwriter.h>

namespace {

constexpr int kRecordCounts[] = {1000, 32767};

// The silent boxes, and the real preview dialog shown and accepted.
class AcceptingDialogs : public bench::SilentDialogs {
public:
    bool previewImport(shell::ImportPreview& preview) override {
        shell::ImportPreviewDialog dialog(preview);
        dialog.show();
        QCoreApplication::processEvents();
        dialog.accept();
        return true;
    }
};

QString writeCsv(const bench::Scratch& scratch, const generator::RecordList& list) {
    QByteArray bytes = "Saleperson,Total Sales Amount\n";
    for (const auto& record : list.records()) bytes += record.name.toUtf8() + ',' + record.total.toUtf8() + '\n';
    const QString path = scratch.file(QStringLiteral("list.csv"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) throw bench::StageFailure("cannot write the CSV");
    return path;
}

QString writeXlsx(const bench::Scratch& scratch, const generator::RecordList& list) {
    const QString path = scratch.file(QStringLiteral("list.xlsx"));
    lxw_workbook* book = workbook_new(path.toLocal8Bit().constData());
    lxw_worksheet* sheet = workbook_add_worksheet(book, nullptr);
    worksheet_write_string(sheet, 0, 0, "Saleperson", nullptr);
    worksheet_write_string(sheet, 0, 1, "Total Sales Amount", nullptr);
    lxw_row_t row = 1;
    for (const auto& record : list.records()) {
        worksheet_write_string(sheet, row, 0, record.name.toUtf8().constData(), nullptr);
        worksheet_write_number(sheet, row++, 1, record.total.toDouble(), nullptr);
    }
    if (workbook_close(book) != LXW_NO_ERROR) throw bench::StageFailure("cannot write the .xlsx");
    return path;
}

void importInto(benchmark::State& state, QString (*write)(const bench::Scratch&, const generator::RecordList&)) {
    bench::Scratch scratch;
    AcceptingDialogs dialogs;
    const int n = static_cast<int>(state.range(0));
    const QString path = write(scratch, bench::benchRecords(n));
    records::MainWindow window{shell::ProgramContext(dialogs)};
    window.load();
    window.show();
    QCoreApplication::processEvents();
    bench::timeEach(state, [&] {
        window.recordList()->removeAll();
        QCoreApplication::processEvents();
        const bench::Timing seconds = bench::timed([&] {
            window.importFile(path);
            QCoreApplication::processEvents();
        });
        if (!dialogs.boxes.isEmpty()) throw bench::StageFailure(dialogs.boxes.join(u" | ").toStdString());
        if (window.recordCount() != n) throw bench::StageFailure("not every record was imported");
        return seconds;
    });
    state.counters["records"] = n;
}

void BM_ImportCsv(benchmark::State& state) { importInto(state, writeCsv); }
void BM_ImportXlsx(benchmark::State& state) { importInto(state, writeXlsx); }

void registerBenchmarks() {
    for (auto* b : {benchmark::RegisterBenchmark("ImportCsv", BM_ImportCsv),
                    benchmark::RegisterBenchmark("ImportXlsx", BM_ImportXlsx)}) {
        for (const int n : kRecordCounts) b->Arg(n);
        b->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(0.5);
    }
}

int runOnce(const char*, int) {
    std::fprintf(stderr, "import_bench measures warm only\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) { return bench::benchmarkMain(argc, argv, registerBenchmarks, runOnce); }
