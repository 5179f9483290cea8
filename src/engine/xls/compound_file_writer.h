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

// The same file for one stream that the caller has written into `file` after
// kCompoundHeaderRoom bytes left free: the header and what follows the stream are
// filled in around it, so that a large stream is never copied.
inline constexpr qsizetype kCompoundHeaderRoom = 512;
QByteArray completeCompoundFile(const QString& name, QByteArray file);

}  // namespace engine::xls
