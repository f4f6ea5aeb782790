#pragma once

#include <QImage>
#include <QLoggingCategory>
#include <QString>

#include <optional>

Q_DECLARE_LOGGING_CATEGORY(lcPictures)

// Loads a logo picture (JPEG, GIF or BMP). The path may come from the shared
// settings folder, so loading is bounded: only an ordinary file is opened, and
// a picture whose decoded size would pass MaxDecodedBytes is refused.
namespace PictureLoader {
inline constexpr qint64 MaxDecodedBytes = 128LL * 1024 * 1024;

[[nodiscard]] std::optional<QImage> load(const QString &path);
} // namespace PictureLoader
