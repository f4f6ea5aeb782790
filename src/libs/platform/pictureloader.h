#pragma once

#include <QImage>
#include <QLoggingCategory>
#include <QString>

#include <optional>

Q_DECLARE_LOGGING_CATEGORY(lcPictures)

// Loads a logo picture (JPEG, GIF or BMP, told by its content, not its name).
// The path may come from the shared settings folder, so loading is bounded:
// only an ordinary file is opened (a FIFO or device never makes it wait), and a
// picture whose decoded size would pass MaxDecodedBytes is refused before it is
// decoded. Every refusal is logged.
namespace PictureLoader {
inline constexpr qint64 MaxDecodedBytes = 128LL * 1024 * 1024;

[[nodiscard]] std::optional<QImage> load(const QString &path);
} // namespace PictureLoader
