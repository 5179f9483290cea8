// Times of the preview through the program's real windows on the offscreen
// platform: from the click on "Start Creating Template" to the preview's first
// paint done, for 3, 1,000 and 32,767 records; and, on the 32,767-record sheet, a
// zoom step and a scroll by a page each until repainted.
//
//   preview_bench [benchmark options]     warm: each measured again and again
//   preview_bench --once click N          the first click of a fresh process; prints
//                                         seconds= (wall clock), cpu= and peak_kb=
#include "support/bench_main.h"
#include "app/program_windows.h"
#include "preview/sheet_canvas.h"
#include "records/record_list_view.h"
#include "records/select_all_line_edit.h"

#include <QElapsedTimer>
#include <QPushButton>
#include <QScrollBar>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kRecordCounts[] = {3, 1000, 32767};
constexpr int kLongestList = 32767;

// The program's two windows with n records in the main window's list, shown.
class RealWindows {
public:
    explicit RealWindows(int records) {
        m_windows.start();
        QList<records::CommissionRecord> rows;
        const generator::RecordList list = bench::benchRecords(records);
        for (int i = 1; i <= records; ++i) rows.append({list.recordName(i), list.recordTotal(i), QString()});
        m_windows.mainWindow().recordList()->replaceRows(1, 0, rows);
        m_windows.mainWindow().percentageEdit()->setText(list.percentageText());
        QObject::connect(canvas(), &preview::SheetCanvas::framePainted, [this] { m_painted = true; });
        settle();
    }
    ~RealWindows() {
        if (preview().isVisible()) preview().goBack();
    }

    preview::PreviewWindow& preview() { return m_windows.previewWindow(); }
    preview::SheetCanvas* canvas() { return preview().canvas(); }

    // Runs `act`, then the events, until the canvas has painted; its timing.
    template <typename Act>
    bench::Timing untilPainted(Act&& act) {
        m_painted = false;
        return bench::timed([&] {
            act();
            QElapsedTimer patience;
            patience.start();
            while (!m_painted) {
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
                if (patience.elapsed() > 10'000) throw bench::StageFailure("the preview never painted");
            }
        });
    }

    // The click on "Start Creating Template" to the preview's first paint done.
    bench::Timing clickToFirstPaint() {
        if (preview().isVisible()) {
            preview().goBack();
            settle();
        }
        const bench::Timing seconds =
            untilPainted([&] { m_windows.mainWindow().startCreatingTemplateButton()->click(); });
        if (!m_dialogs.boxes.isEmpty()) throw bench::StageFailure(m_dialogs.boxes.join(u" | ").toStdString());
        if (!preview().isVisible() || canvas()->picture().isNull()) throw bench::StageFailure("no preview");
        return seconds;
    }

    static void settle() {
        for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    }

private:
    bench::SilentDialogs m_dialogs;
    app::ProgramWindows m_windows{shell::ProgramContext(m_dialogs), [] {}};
    bool m_painted = false;
};

void BM_ClickToFirstPaint(benchmark::State& state) {
    bench::Scratch scratch;
    RealWindows windows(static_cast<int>(state.range(0)));
    bench::timeEach(state, [&] { return windows.clickToFirstPaint(); });
    state.counters["records"] = static_cast<double>(state.range(0));
}

// One zoom step after another on the longest sheet, in then out across the factors.
void BM_ZoomStep(benchmark::State& state) {
    bench::Scratch scratch;
    RealWindows windows(kLongestList);
    windows.clickToFirstPaint();
    int direction = 0;
    bench::timeEach(state, [&] {
        const float zoom = windows.preview().viewportMath().zoom();
        if (zoom >= 2.25f) direction = 1;
        if (zoom <= 0.25f) direction = 0;
        return windows.untilPainted([&] { direction == 0 ? windows.preview().zoomIn() : windows.preview().zoomOut(); });
    });
}

// A page down the longest sheet at a time, back to the top at its end.
void BM_Scroll(benchmark::State& state) {
    bench::Scratch scratch;
    RealWindows windows(kLongestList);
    windows.clickToFirstPaint();
    QScrollBar* bar = windows.preview().verticalScrollBar();
    bench::timeEach(state, [&] {
        const int next = bar->value() + bar->pageStep();
        return windows.untilPainted([&] { bar->setValue(next > bar->maximum() ? 0 : next); });
    });
}

void registerBenchmarks() {
    benchmark::internal::Benchmark* click = benchmark::RegisterBenchmark("ClickToFirstPaint", BM_ClickToFirstPaint);
    for (const int n : kRecordCounts) click->Arg(n);
    click->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(0.5);
    benchmark::RegisterBenchmark("ZoomStep/32767", BM_ZoomStep)->UseManualTime()->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark("Scroll/32767", BM_Scroll)->UseManualTime()->Unit(benchmark::kMillisecond);
}

// The first click of this fresh process (`--once click N`): its seconds and the
// process's peak memory.
int runOnce(const char* what, int records) {
    if (std::strcmp(what, "click") != 0) {
        std::fprintf(stderr, "unknown measurement %s\n", what);
        return 2;
    }
    try {
        bench::Scratch scratch;
        RealWindows windows(records);
        bench::printOnce(windows.clickToFirstPaint());
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "click %d failed: %s\n", records, e.what());
        return 1;
    }
}

}  // namespace

int main(int argc, char** argv) { return bench::benchmarkMain(argc, argv, registerBenchmarks, runOnce); }
