#pragma once

#include <QImage>
#include <QLoggingCategory>
#include <QString>

#include <optional>

Q_DECLARE_LOGGING_CATEGORY(lcPictures)

// Loads a logo picture (JPEG, GIF or BMP, told by its content, not its name),
// upright as a camera's orientation tag says, and no larger than MaxSide on
// either side: the window shows it 68 pixels wide and the page prints it
// 1.5 cm wide, which is 709 dots at 1200 dpi.
// The path may come from the shared settings folder, so loading is bounded:
// only an ordinary file is opened (a FIFO or device never makes it wait), and a
// picture whose decoded size would pass MaxDecodedBytes is refused before it is
// decoded. Every refusal is logged.
namespace PictureLoader {
inline constexpr qint64 MaxDecodedBytes = 128LL * 1024 * 1024;
inline constexpr int MaxSide = 1024;

[[nodiscard]] std::optional<QImage> load(const QString &path);
} // namespace PictureLoader
