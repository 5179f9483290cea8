// The stages of a generation run, each timed on its own: the layout through the
// engine, the .xls save, the reopen, the preparation of the used range's picture
// for the preview, and the whole run headless. A stage returns the wall-clock and processor seconds of its timed
// part and throws StageFailure when something went wrong, so that no broken run is
// ever timed.
#pragma once

#include "bench_fakes.h"
#include "generator/commission_sheet.h"
#include "generator/engine_session.h"
#include "engine/application.h"
#include "generator/generation_run.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <chrono>
#include <ctime>
#include <fstream>
#include <stdexcept>
#include <string>

namespace bench {

struct StageFailure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// A scratch folder that serves as TEMP and as the settings store's home while it lives.
class Scratch {
public:
    Scratch() {
        if (!m_dir.isValid()) throw StageFailure("no scratch folder");
        qputenv("TEMP", m_dir.path().toLocal8Bit());
        qputenv("XDG_CONFIG_HOME", m_dir.path().toLocal8Bit());
    }
    QString file(const QString& name) const { return m_dir.filePath(name); }

private:
    QTemporaryDir m_dir;
};

// Seconds of wall-clock time, and of processor time over all the process's threads
// (on a loaded machine the second says more of the work itself).
struct Timing {
    double wall = 0;
    double cpu = 0;
};

inline double processorSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

template <typename F>
Timing timed(F&& work) {
    const double cpuStart = processorSeconds();
    const auto start = std::chrono::steady_clock::now();
    std::forward<F>(work)();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            processorSeconds() - cpuStart};
}

// The resident high-water mark of this process, in kilobytes (0 when unknown).
inline long peakResidentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

// An engine instance with a new workbook, quit (without saving) when it goes.
class LayoutInstance {
public:
    LayoutInstance() : m_app(engine::createApplication()) { m_app->Workbooks().Add(); }
    ~LayoutInstance() { m_app->Quit(); }
    LayoutInstance(const LayoutInstance&) = delete;
    LayoutInstance& operator=(const LayoutInstance&) = delete;
    engine::Application& app() const { return *m_app; }

private:
    std::unique_ptr<engine::Application> m_app;
};

// Lays the sheet out in the instance's new workbook.
inline Timing layoutStage(const generator::RecordList& records, const LayoutInstance& instance) {
    return timed([&] { generator::writeCommissionSheet(instance.app(), records); });
}

// Lays the sheet out (not timed) and saves it to path.
inline Timing saveStage(const generator::RecordList& records, const QString& path) {
    const LayoutInstance instance;
    layoutStage(records, instance);
    const engine::Workbook book = instance.app().ActiveWorkbook();
    return timed([&] { book.SaveAs(path, engine::FileFormat::Excel8); });
}

// Opens the saved workbook in a new instance.
inline Timing reopenStage(const QString& path) {
    std::unique_ptr<engine::Application> viewer;
    const Timing seconds = timed([&] { viewer = generator::EngineSession().openInNewInstance(path); });
    viewer->Quit();
    return seconds;
}

// Prepares the picture of the reopened workbook's used range for the preview (the
// preview paints it as it shows it).
inline Timing pictureStage(const QString& path) {
    const std::unique_ptr<engine::Application> viewer = generator::EngineSession().openInNewInstance(path);
    const engine::Workbooks books = viewer->Workbooks();
    const engine::Workbook book = books(books.Count());
    generator::SheetPicture picture;
    const Timing seconds = timed([&] { picture = generator::takeUsedRangePicture(book); });
    viewer->Quit();
    if (picture.isNull()) throw StageFailure("no picture of the used range");
    return seconds;
}

// The whole generation run, as the create-template command starts it, with every
// box answered at once. Fails when the run showed a box or handed over no picture.
inline Timing runStage(const generator::RecordList& records) {
    SilentDialogs dialogs;
    QuietMainWindow form1;
    QuietPreview form2;
    generator::EngineSession session;
    generator::GenerationRun run(session, dialogs);
    const Timing seconds = timed([&] { run.run(records, form1, form2); });
    QFile::remove(form2.excelFile);
    if (!dialogs.boxes.isEmpty()) throw StageFailure(dialogs.boxes.join(QStringLiteral(" | ")).toStdString());
    if (form2.picture.isNull() || !form2.shown || !form1.hidden) throw StageFailure("the run handed over no picture");
    return seconds;
}

}  // namespace bench
