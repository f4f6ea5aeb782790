#include "pictureloader.h"

#include "userfiles.h"

#include <QBuffer>
#include <QImageReader>

Q_LOGGING_CATEGORY(lcPictures, "quillmark.pictures")

namespace PictureLoader {

namespace {

constexpr qint64 BytesPerDecodedPixel = 4;
// No logo file is this large; a larger one is read up to here and fails to decode.
constexpr qint64 MaxFileBytes = 64LL * 1024 * 1024;
constexpr int MaxDecodedMiB = int(MaxDecodedBytes / (1024 * 1024));

void logRefusal(const QString &path, const QString &reason)
{
    qCWarning(lcPictures).nospace()
        << "Picture " << path << " not loaded: " << qUtf8Printable(reason);
}

bool isAcceptedFormat(const QByteArray &format)
{
    return format == "jpeg" || format == "jpg" || format == "gif" || format == "bmp";
}

// Why the picture the reader stands before may not be decoded, or nothing.
std::optional<QString> refusalBeforeDecoding(QImageReader &reader)
{
    if (!isAcceptedFormat(reader.format()))
        return QStringLiteral("not a JPEG, GIF or BMP picture");
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty())
        return QStringLiteral("its size cannot be read");
    const qint64 decodedBytes = qint64(size.width()) * size.height() * BytesPerDecodedPixel;
    if (decodedBytes > MaxDecodedBytes)
        return QStringLiteral("too large (%1 x %2 pixels)").arg(size.width()).arg(size.height());
    return std::nullopt;
}

} // namespace

std::optional<QImage> load(const QString &path)
{
    // Read whole first: nothing but an ordinary file is opened, and no read waits.
    std::optional<QByteArray> bytes = UserFiles::read(path, MaxFileBytes);
    if (!bytes)
        return std::nullopt;
    QBuffer file(&*bytes);
    file.open(QIODevice::ReadOnly);
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    if (const auto refusal = refusalBeforeDecoding(reader)) {
        logRefusal(path, *refusal);
        return std::nullopt;
    }
    const QSize stored = reader.size();
    if (stored.width() > MaxSide || stored.height() > MaxSide)
        reader.setScaledSize(stored.scaled(MaxSide, MaxSide, Qt::KeepAspectRatio));
    // The limit is the toolkit's for the whole program: it holds for this read only.
    const int otherLimit = QImageReader::allocationLimit();
    QImageReader::setAllocationLimit(MaxDecodedMiB);
    QImage picture = reader.read();
    QImageReader::setAllocationLimit(otherLimit);
    if (picture.isNull()) {
        logRefusal(path, reader.errorString());
        return std::nullopt;
    }
    return picture;
}

} // namespace PictureLoader
