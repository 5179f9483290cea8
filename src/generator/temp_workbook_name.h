#pragma once

#include "shell/transient_files.h"

#include <QString>
#include <QByteArrayView>
#include <random>

namespace generator {

// Draws the digits of temporary workbook names: 1 to 9, never 0, from one
// generator seeded once (never re-seeded from the clock between digits).
class NameDigits {
public:
    NameDigits();
    explicit NameDigits(std::uint32_t seed);
    int draw();

private:
    std::mt19937 m_engine;
    std::uniform_int_distribution<int> m_digit{1, 9};
};

inline constexpr const char* kTempWorkbookStem = "rendle";
inline constexpr int kTempWorkbookDigits = 8;

// Claims path for the run by creating it exclusively: true when the file is now
// ours (empty, and registered for removal should the program be interrupted),
// false when any file or link already stands there. Other failures (a missing or
// unwritable folder) count as claimed, so the save reports them.
bool reserveTempFile(const QString& path, shell::TransientPath& registration);

// Removes the file reserveTempFile created when nothing was written into it.
void releaseTempFile(const QString& path);

// True for the names of temporary workbooks: the stem, the digits, ".xls".
bool isTemporaryWorkbookName(QByteArrayView name);

// Removes what runs of any instance left in the temporary folder more than a day
// ago and no running instance holds: temporary workbooks and the parts of files
// being written. Never reports.
void removeStaleTemporaryFiles();

}  // namespace generator
