#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

namespace engine::xls {

// A stream of the compound file's root storage.
struct CompoundStream {
    QString name;     // at most 31 UTF-16 units
    QByteArray data;
};

// Builds a compound file (version 3, 512-byte sectors) whose root storage holds the
// given streams; streams shorter than 4096 bytes go to the mini stream, as readers
// expect. Names must be distinct.
QByteArray buildCompoundFile(const std::vector<CompoundStream>& streams);

}  // namespace engine::xls
