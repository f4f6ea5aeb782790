#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace TestSupport {

// The whole content of a file, or a null array when it cannot be read.
[[nodiscard]] QByteArray readFile(const QString &path);

// Writes bytes to a file, replacing it; returns false on failure.
bool writeFile(const QString &path, const QByteArray &bytes);

// The permission bits (07777) of what stands at the path; 0 when nothing does.
[[nodiscard]] int permissionsOf(const QString &path);

// Folder of checked-in fixtures (tests/data).
[[nodiscard]] QString dataPath(const QString &name);

// What the program wrote to its standard output; empty when it cannot start,
// fails or takes more than 30 seconds.
[[nodiscard]] QByteArray runTool(const QString &program, const QStringList &arguments);

} // namespace TestSupport
