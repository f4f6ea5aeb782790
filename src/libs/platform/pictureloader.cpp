#include "pictureloader.h"

#include "userfiles.h"

#include <QFile>
#include <QImageReader>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

Q_LOGGING_CATEGORY(lcPictures, "quillmark.pictures")

namespace PictureLoader {

namespace {

constexpr qint64 BytesPerDecodedPixel = 4;
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

// Opens the picture file for reading. Only an ordinary file is accepted, and
// the open itself cannot wait: a FIFO put where a picture was would otherwise
// block the window until someone writes to it.
bool openOrdinaryFile(const QString &path, QFile &file)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        logRefusal(path, qt_error_string(errno));
        return false;
    }
    struct stat opened = {};
    if (::fstat(fd, &opened) != 0 || !S_ISREG(opened.st_mode)) {
        ::close(fd);
        logRefusal(path, QStringLiteral("not an ordinary file"));
        return false;
    }
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        logRefusal(path, file.errorString());
        return false;
    }
    return true;
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
    if (!UserFiles::mayFollowLinks(path))
        return std::nullopt;
    // Looked at before opening: a device is never opened at all (opening some
    // has effects of its own). A link to an ordinary file is fine.
    struct stat seen = {};
    if (::stat(QFile::encodeName(path).constData(), &seen) != 0) {
        logRefusal(path, qt_error_string(errno));
        return std::nullopt;
    }
    if (!S_ISREG(seen.st_mode)) {
        logRefusal(path, QStringLiteral("not an ordinary file"));
        return std::nullopt;
    }
    QFile file;
    if (!openOrdinaryFile(path, file))
        return std::nullopt;
    QImageReader::setAllocationLimit(MaxDecodedMiB);
    QImageReader reader(&file);
    reader.setDecideFormatFromContent(true);
    if (const auto refusal = refusalBeforeDecoding(reader)) {
        logRefusal(path, *refusal);
        return std::nullopt;
    }
    QImage picture = reader.read();
    if (picture.isNull()) {
        logRefusal(path, reader.errorString());
        return std::nullopt;
    }
    return picture;
}

} // namespace PictureLoader
