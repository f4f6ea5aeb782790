#pragma once

#include <QByteArray>
#include <QString>

namespace TestSupport {

// The whole content of a file, or a null array when it cannot be read.
[[nodiscard]] QByteArray readFile(const QString &path);

// Writes bytes to a file, replacing it; returns false on failure.
bool writeFile(const QString &path, const QByteArray &bytes);

// Folder of checked-in fixtures (tests/data).
[[nodiscard]] QString dataPath(const QString &name);

} // namespace TestSupport
