#pragma once

#include "generator/record_source.h"

#include <QString>
#include <utility>
#include <vector>

// Records and a percentage held in memory, as the main window would give them.
class ListedRecords : public generator::RecordSource {
public:
    struct Record {
        QString name, total;
    };
    ListedRecords(std::vector<Record> records, QString percentage)
        : m_records(std::move(records)), m_percentage(std::move(percentage)) {}

    int recordCount() const override { return static_cast<int>(m_records.size()); }
    QString recordName(int i) const override { return m_records.at(static_cast<std::size_t>(i - 1)).name; }
    QString recordTotal(int i) const override { return m_records.at(static_cast<std::size_t>(i - 1)).total; }
    QString percentageText() const override { return m_percentage; }

    // The three sample salespeople at 10 percent.
    static ListedRecords sample() {
        return ListedRecords({{QStringLiteral("Aldo Fennick"), QStringLiteral("5600")},
                              {QStringLiteral("John Smith"), QStringLiteral("8400")},
                              {QStringLiteral("Zodo Duvevado"), QStringLiteral("11100")}},
                             QStringLiteral("10"));
    }
    // n records "Person i" with totals 100 * i.
    static ListedRecords numbered(int n, QString percentage = QStringLiteral("10")) {
        std::vector<Record> records;
        for (int i = 1; i <= n; ++i)
            records.push_back({QStringLiteral("Person %1").arg(i), QString::number(100 * i)});
        return ListedRecords(std::move(records), std::move(percentage));
    }

private:
    std::vector<Record> m_records;
    QString m_percentage;
};
