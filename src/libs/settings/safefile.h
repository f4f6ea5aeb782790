#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// File access for a folder that every user of the machine can write to.
// Only ordinary files with a single name are touched: a link, FIFO, socket,
// device or folder standing where a file is expected is never followed, never
// waited on and never written. Every refusal and failure is logged.
namespace SafeFile {

// Is an ordinary file with a single name (not a link to one) at this path?
[[nodiscard]] bool isSettingsFile(const QString &path);

// At most maxSize bytes from the start of the file at the path. Nothing when
// no settings file is there; empty bytes when one is but cannot be read.
[[nodiscard]] std::optional<QByteArray> read(const QString &path, qint64 maxSize);

// Replaces the settings file at the path with one holding the bytes (readable
// and writable by everyone), written beside it and renamed over it. Only where
// the folder refuses new files is the file rewritten where it stands.
bool replace(const QString &path, const QByteArray &bytes);

} // namespace SafeFile
