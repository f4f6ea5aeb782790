#pragma once

#include <QByteArray>
#include <QImage>
#include <QRect>
#include <QString>
#include <QStringList>

namespace TestSupport {

// A file's bytes (empty, not null, when it is empty); null when it cannot be read.
[[nodiscard]] QByteArray readFile(const QString &path);
bool writeFile(const QString &path, const QByteArray &bytes);
// The permission bits (07777) of what stands at the path; 0 when nothing does.
[[nodiscard]] int permissionsOf(const QString &path);
[[nodiscard]] QString dataPath(const QString &name);
// The bounds of the pixels darker than the given grey.
[[nodiscard]] QRect darkBounds(const QImage &image, int below);
// The widths of the runs of columns that hold a dark pixel, left to right: a bar code's bars.
[[nodiscard]] QList<int> darkColumnRuns(const QImage &image);
// A program's standard output; empty when it fails or runs over 30 seconds.
[[nodiscard]] QByteArray runTool(const QString &program, const QStringList &arguments);

} // namespace TestSupport
