#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Files the user picks in a dialog or names on the command line: address files
// and pictures. Links are followed, as any editor follows them, except a link
// that another user may have planted in a folder that others can write.
// Nothing that could make a read wait (a FIFO, a device) is opened. Every
// refusal and failure is logged.
namespace UserFiles {

// False (and logged) when reaching the path would follow a symbolic link that
// stands in a folder other users may write and belongs neither to this user
// nor to the folder's owner: the rule Linux applies in sticky folders.
[[nodiscard]] bool mayFollowLinks(const QString &path);

// The file's first maxBytes bytes; nothing when it cannot be read.
[[nodiscard]] std::optional<QByteArray> read(const QString &path, qint64 maxBytes);

// Standard input to its end, but no more than maxBytes; nothing when it cannot be read.
[[nodiscard]] std::optional<QByteArray> readStandardInput(qint64 maxBytes);

// Replaces the file's content, creating it when missing. The new content goes to
// a temporary file beside it that replaces it once complete; where none can be
// made or renamed there, or where the file has other names, it is written in place.
bool write(const QString &path, const QByteArray &bytes);

} // namespace UserFiles
