#include "pictureloader.h"

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

Q_LOGGING_CATEGORY(lcPictures, "quillmark.pictures")

namespace PictureLoader {

namespace {
bool isAcceptedFormat(const QByteArray &format)
{
    return format == "jpeg" || format == "jpg" || format == "gif" || format == "bmp";
}
} // namespace

std::optional<QImage> load(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists() || !info.isFile()) {
        qCWarning(lcPictures) << "Not a picture file:" << path;
        return std::nullopt;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        qCWarning(lcPictures) << "Cannot open picture" << path << ':' << file.errorString();
        return std::nullopt;
    }
    QImageReader reader(&file);
    reader.setAllocationLimit(int(MaxDecodedBytes / (1024 * 1024)));
    if (!isAcceptedFormat(reader.format())) {
        qCWarning(lcPictures) << "Not a JPEG, GIF or BMP picture:" << path;
        return std::nullopt;
    }
    const QSize size = reader.size();
    if (size.isValid() && qint64(size.width()) * size.height() * 4 > MaxDecodedBytes) {
        qCWarning(lcPictures) << "Picture too large to load:" << path << size;
        return std::nullopt;
    }
    QImage picture = reader.read();
    if (picture.isNull()) {
        qCWarning(lcPictures) << "Cannot load picture" << path << ':' << reader.errorString();
        return std::nullopt;
    }
    return picture;
}

} // namespace PictureLoader
