// Reads a record list as the command line reads --records, for the interop
// checks against files that independent writers made:
//
//   read_records FILE [--export OUT.csv]
//
// Prints {"percentage": ..., "records": [{"name": ..., "total": ...}, ...]} as
// JSON, or the error's one line on stderr with exit status 1. --export also
// writes the list as the main window's Export Records... writes it.
#include "records/records_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cstdio>

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    if (arguments.size() != 2 && !(arguments.size() == 4 && arguments[2] == QLatin1String("--export"))) {
        std::fprintf(stderr, "usage: read_records FILE [--export OUT.csv]\n");
        return 2;
    }
    const records::RecordsFromFile read = records::readRecordsFile(arguments[1]);
    if (const auto* error = std::get_if<records::RecordsFileError>(&read)) {
        std::fprintf(stderr, "%s\n", qPrintable(error->text()));
        return 1;
    }
    const auto& list = std::get<generator::RecordList>(read);
    QJsonArray rows;
    QList<records::CommissionRecord> listed;
    for (const auto& record : list.records()) {
        rows.append(QJsonObject{{"name", record.name}, {"total", record.total}});
        listed.append({record.name, record.total, QString()});
    }
    std::fputs(QJsonDocument(QJsonObject{{"percentage", list.percentageText()}, {"records", rows}}).toJson().constData(),
               stdout);
    if (arguments.size() == 4) {
        QFile out(arguments[3]);
        if (!out.open(QIODevice::WriteOnly) || out.write(records::recordsCsv(listed)) < 0) return 1;
    }
    return 0;
}
