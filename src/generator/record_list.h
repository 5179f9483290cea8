#pragma once

#include "generator/record_source.h"

#include <QString>
#include <utility>
#include <vector>

namespace generator {

// Records and a percentage held in memory, as texts, exactly as the main window's
// list would give them: for lists read from elsewhere than the main window.
class RecordList : public RecordSource {
public:
    struct Record {
        QString name;
        QString total;
    };

    RecordList() = default;
    RecordList(std::vector<Record> records, QString percentage)
        : m_records(std::move(records)), m_percentage(std::move(percentage)) {}

    int recordCount() const override { return static_cast<int>(m_records.size()); }
    QString recordName(int i) const override { return at(i).name; }
    QString recordTotal(int i) const override { return at(i).total; }
    QString percentageText() const override { return m_percentage; }

    const std::vector<Record>& records() const { return m_records; }
    void append(Record record) { m_records.push_back(std::move(record)); }
    void setPercentage(QString percentage) { m_percentage = std::move(percentage); }

    // The three sample salespeople at 10 percent, as the main window's sample data.
    static RecordList sample() {
        return RecordList({{QStringLiteral("Aldo Fennick"), QStringLiteral("5600")},
                           {QStringLiteral("John Smith"), QStringLiteral("8400")},
                           {QStringLiteral("Zodo Duvevado"), QStringLiteral("11100")}},
                          QStringLiteral("10"));
    }

private:
    const Record& at(int i) const { return m_records.at(static_cast<std::size_t>(i - 1)); }

    std::vector<Record> m_records;
    QString m_percentage;
};

}  // namespace generator
