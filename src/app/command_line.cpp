#include "app/command_line.h"

#include "generator/engine_session.h"
#include "generator/generation_run.h"
#include "generator/run_windows.h"
#include "generator/sheet_printing.h"
#include "generator/temp_workbook_name.h"
#include "generator/workbook_output.h"
#include "records/records_file.h"
#include "records/stored_records.h"
#include "shell/atomic_file.h"
#include "shell/dialogs.h"
#include "shell/failure.h"
#include "shell/locale_number.h"
#include "shell/message_text.h"
#include "shell/settings_store.h"
#include "shell/startup_services.h"

#include <QBuffer>
#include <QCommandLineParser>
#include <QImageWriter>
#include <QLocale>
#include <QTextStream>
#include <cstdio>

namespace app {
namespace {

constexpr char kCommandName[] = "quenvale";

QString prefixed(const QString& message) { return QString::fromLatin1(kCommandName) + QStringLiteral(": ") + message; }

// A message box's text on one line: its first paragraph (an error box's location
// and statement included, its request for a screenshot left out), line breaks
// turned into blanks.
QString boxTextOnOneLine(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QString firstParagraph = text.section(QStringLiteral("\n\n"), 0, 0);
    return firstParagraph.split(QLatin1Char('\n'), Qt::SkipEmptyParts).join(QLatin1Char(' ')).simplified();
}

// The dialogs while the command line runs: the generation run shows a box only
// for a failure, so each box becomes a line on the error stream and marks the
// run failed. Nobody is there to answer: questions are answered No, the save
// dialog is cancelled.
class ConsoleDialogs final : public shell::Dialogs {
public:
    explicit ConsoleDialogs(QTextStream& err) : m_err(err) {}
    ConsoleDialogs(const ConsoleDialogs&) = delete;
    ConsoleDialogs& operator=(const ConsoleDialogs&) = delete;

    shell::BoxAnswer message(const QString&, const QString& text, shell::BoxButtons buttons, shell::BoxIcon) override {
        m_err << prefixed(boxTextOnOneLine(text)) << Qt::endl;
        m_failed = true;
        return buttons == shell::BoxButtons::YesNo ? shell::BoxAnswer::No : shell::BoxAnswer::Ok;
    }
    QString saveFileName(const QString&, const QString&, const QString&) override {
        m_failed = true;
        return {};
    }

    bool failed() const { return m_failed; }

private:
    QTextStream& m_err;
    bool m_failed = false;
};

// Where the generation run hands over when no window is shown: the main window's
// pointer and visibility mean nothing, and there is no preview to show; the
// picture the preview would show is kept, and the run names its temporary
// workbook itself.
class WindowlessRun final : public generator::MainWindowControl, public generator::PreviewTarget {
public:
    void setBusyPointer() override {}
    void setDefaultPointer() override {}
    void hideMainWindow() override {}
    void setSheet(const generator::SheetPicture& picture) override { m_picture = picture; }
    void setWorkbookPath(const QString&) override {}
    void showPreview() override {}

    const generator::SheetPicture& picture() const { return m_picture; }

private:
    generator::SheetPicture m_picture;
};

// Removes the run's temporary workbook when the command line is done with it.
class TemporaryWorkbook {
public:
    explicit TemporaryWorkbook(QString path) : m_path(std::move(path)) {}
    ~TemporaryWorkbook() {
        if (!m_path.isEmpty()) shell::deleteFileQuietly(m_path);
    }
    TemporaryWorkbook(const TemporaryWorkbook&) = delete;
    TemporaryWorkbook& operator=(const TemporaryWorkbook&) = delete;
    const QString& path() const { return m_path; }

private:
    QString m_path;
};

// The records and percentage the request names. Throws shell::Failure.
generator::RecordList requestedRecords(const CommandLineRequest& request) {
    if (!request.recordsFile) {
        generator::RecordList list = records::storedRecords();
        if (request.percentage) list.setPercentage(*request.percentage);
        return list;
    }
    records::RecordsFromFile read = records::readRecordsFile(*request.recordsFile);
    if (const auto* error = std::get_if<records::RecordsFileError>(&read)) throw shell::Failure(error->text());
    generator::RecordList list = std::get<generator::RecordList>(std::move(read));
    // A list from a file takes a commission workbook's percentage, else the stored
    // one, as the windows would show it.
    if (request.percentage) list.setPercentage(*request.percentage);
    else if (list.percentageText().isEmpty()) list.setPercentage(records::storedPercentage());
    return list;
}

// The preview's picture at zoom 1 as a PNG file. Throws shell::Failure.
void writePicture(const generator::SheetPicture& picture, const QString& path) {
    const QImage image = picture.image(1);
    QByteArray png;
    QBuffer encoded(&png);
    // Encoded in memory first: the encoder then meets no failing disk, whose
    // errors it would print on the error stream itself.
    if (image.isNull() || !encoded.open(QIODevice::WriteOnly) || !QImageWriter(&encoded, "png").write(image))
        throw shell::Failure(QStringLiteral("Cannot write %1: the picture of the sheet could not be made.").arg(path));
    shell::writeFileAtomically(path, [&](QIODevice& file) { return file.write(png) == png.size(); });
}

// The files the request asks for, in the order they are written.
QStringList requestedFiles(const CommandLineRequest& request) {
    QStringList files;
    for (const QString* file : {&request.output, &request.pdf, &request.picture})
        if (!file->isEmpty()) files += *file;
    return files;
}

// Every file the request asks for could be written: each is checked before
// anything is built, so that a bad target never leaves the others replaced.
// Throws shell::Failure.
void checkTargets(const CommandLineRequest& request) {
    for (const QString& file : requestedFiles(request)) shell::checkWritableTarget(file);
}

// Writes each file the request asks for. At the first that fails, throws
// shell::Failure saying why, and, when more were asked for, which files were
// written and which were not.
void writeOutputs(const CommandLineRequest& request, const generator::EngineSession& session,
                  const QString& temporaryWorkbook, const generator::SheetPicture& picture) {
    const QStringList files = requestedFiles(request);
    qsizetype written = 0;
    try {
        if (!request.output.isEmpty()) {
            generator::saveWorkbookAs(session, temporaryWorkbook, request.output,
                                      generator::workbookFormatOf(request.output));
            ++written;
        }
        if (!request.pdf.isEmpty()) {
            generator::exportSheetPdf(picture, request.pdf);
            ++written;
        }
        if (!request.picture.isEmpty()) writePicture(picture, request.picture);
    } catch (const std::exception& failure) {
        QString description = shell::describe(failure);
        const QString separator = QStringLiteral(", ");
        if (files.size() > 1) {
            if (written > 0) description += QStringLiteral(" Written: %1.").arg(files.first(written).join(separator));
            description += QStringLiteral(" Not written: %1.").arg(files.sliced(written).join(separator));
        }
        throw shell::Failure(description);
    }
}

int runRequest(const CommandLineRequest& request, QTextStream& err) {
    generator::removeStaleTemporaryFiles();
    try {
        const generator::RecordList records = requestedRecords(request);
        checkTargets(request);

        ConsoleDialogs dialogs(err);
        generator::EngineSession session;
        generator::GenerationRun run(session, dialogs);
        WindowlessRun windows;
        run.run(records, windows, windows);
        const TemporaryWorkbook temporary(run.lastTemporaryWorkbook());
        if (dialogs.failed()) return kExitFailure;
        writeOutputs(request, session, temporary.path(), windows.picture());
        return kExitSuccess;
    } catch (const std::exception& failure) {
        err << prefixed(shell::describe(failure)) << Qt::endl;
        return kExitFailure;
    } catch (...) {
        // Every non-zero exit says why.
        err << prefixed(QStringLiteral("The workbook could not be made (an unknown failure).")) << Qt::endl;
        return kExitFailure;
    }
}

}  // namespace

bool startsAsCommandLine(int argc) { return argc > 1; }

void prepareCommandLine() {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (type == QtCriticalMsg || type == QtFatalMsg)
            std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
    });
}

ParsedCommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Builds the sales-commission workbook without a window, from the salespeople in a CSV file\n"
        "or the list kept from the windows, and writes it as .xls or .xlsx, its print as PDF or\n"
        "its picture as PNG: at least one of --output, --pdf and --picture.\n"
        "Started without arguments, quenvale opens its main window."));
    const QCommandLineOption records(QStringLiteral("records"),
                                     QStringLiteral("Read the salespeople from <list>: a CSV or other text table (UTF-8 "
                                                    "or UTF-16; comma, semicolon or tab), or the first sheet of an "
                                                    ".xlsx, .xls or .ods workbook; a name and a total sales amount a "
                                                    "row, the columns found by their titles or their contents. A "
                                                    "commission workbook of this program gives its list and "
                                                    "percentage. Without it, the list kept from the windows."),
                                     QStringLiteral("list"));
    const QCommandLineOption percent(QStringLiteral("percent"),
                                     QStringLiteral("The commission percentage (10 means 10 %). Without it, the one "
                                                    "kept from the windows."),
                                     QStringLiteral("percent"));
    const QCommandLineOption output(QStringLiteral("output"),
                                    QStringLiteral("Write the workbook to <file>: Office Open XML when its name ends "
                                                   "in .xlsx, otherwise Excel 97-2003 (.xls)."),
                                    QStringLiteral("file"));
    const QCommandLineOption pdf(QStringLiteral("pdf"),
                                 QStringLiteral("Write the sheet's print to <file> as PDF, as the preview prints it: "
                                                "its print area on the paper, margins and scale of its page setup."),
                                 QStringLiteral("file"));
    const QCommandLineOption picture(QStringLiteral("picture"),
                                     QStringLiteral("Write the picture the preview shows at 100 % to <file> as PNG."),
                                     QStringLiteral("file"));
    parser.addOptions({records, percent, output, pdf, picture});
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();

    ParsedCommandLine parsed;
    parsed.helpText = parser.helpText();
    auto usageError = [&](const QString& error) {
        parsed.action = ParsedCommandLine::Action::UsageError;
        parsed.error = error;
        return parsed;
    };
    if (!parser.parse(arguments)) return usageError(parser.errorText());
    if (parser.isSet(help)) {
        parsed.action = ParsedCommandLine::Action::ShowHelp;
        return parsed;
    }
    if (parser.isSet(version)) {
        parsed.action = ParsedCommandLine::Action::ShowVersion;
        return parsed;
    }
    if (!parser.positionalArguments().isEmpty())
        return usageError(QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first()));
    const QCommandLineOption* const options[] = {&records, &percent, &output, &pdf, &picture};
    const QCommandLineOption* const files[] = {&records, &output, &pdf, &picture};
    for (const QCommandLineOption* option : options)
        if (parser.values(*option).size() > 1)
            return usageError(QStringLiteral("The option --%1 is given more than once.").arg(option->names().first()));
    if (!parser.isSet(output) && !parser.isSet(pdf) && !parser.isSet(picture))
        return usageError(QStringLiteral("Nothing to write: give --output, --pdf or --picture."));
    for (const QCommandLineOption* option : files)
        if (parser.isSet(*option) && parser.value(*option).isEmpty())
            return usageError(QStringLiteral("The option --%1 names no file.").arg(option->names().first()));
    // A file written over another named here would destroy it or be overwritten,
    // whatever names (links, folders that are links) lead to it.
    for (auto first = std::begin(files); first != std::end(files); ++first)
        for (auto second = first + 1; second != std::end(files); ++second)
            if (parser.isSet(**first) && parser.isSet(**second) &&
                shell::isSameFile(parser.value(**first), parser.value(**second)))
                return usageError(QStringLiteral("The options --%1 and --%2 name the same file.")
                                      .arg((*first)->names().first(), (*second)->names().first()));
    for (const QCommandLineOption* option : {&output, &pdf, &picture})
        if (parser.isSet(*option) && shell::isSameFile(parser.value(*option), shell::programSettingsFile()))
            return usageError(QStringLiteral("The option --%1 names the settings store %2.")
                                  .arg(option->names().first(), shell::programSettingsFile()));
    if (parser.isSet(percent) && !shell::isNumeric(parser.value(percent)))
        return usageError(QStringLiteral("--percent: %1 is not a number (numbers are read by the rules of the "
                                         "locale %2).")
                              .arg(shell::quotedForMessage(parser.value(percent)), QLocale().name()));

    parsed.action = ParsedCommandLine::Action::Run;
    if (parser.isSet(records)) parsed.request.recordsFile = parser.value(records);
    if (parser.isSet(percent)) parsed.request.percentage = parser.value(percent);
    parsed.request.output = parser.value(output);
    parsed.request.pdf = parser.value(pdf);
    parsed.request.picture = parser.value(picture);
    return parsed;
}

int runCommandLine(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    const ParsedCommandLine parsed = parseCommandLine(arguments);
    switch (parsed.action) {
    case ParsedCommandLine::Action::ShowHelp:
        out << parsed.helpText << Qt::flush;
        return kExitSuccess;
    case ParsedCommandLine::Action::ShowVersion:
        out << kCommandName << ' ' << QStringLiteral(QUENVALE_VERSION) << Qt::endl;
        return kExitSuccess;
    case ParsedCommandLine::Action::UsageError:
        err << prefixed(parsed.error) << "\n\n" << parsed.helpText << Qt::flush;
        return kExitUsage;
    case ParsedCommandLine::Action::Run:
        break;
    }
    return runRequest(parsed.request, err);
}

}  // namespace app
