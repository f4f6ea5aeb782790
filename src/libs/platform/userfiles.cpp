#include "userfiles.h"

#include "platformlog.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringList>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// As many links as the system follows on one path.
constexpr int MaxLinksFollowed = 40;

void logFailure(const char *what, const QString &path, const QString &why)
{
    qCWarning(lcPlatform).nospace() << what << ' ' << path << ": " << qUtf8Printable(why);
}

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

bool othersMayWrite(const struct stat &folder)
{
    return (folder.st_mode & S_IWOTH)
        || ((folder.st_mode & S_IWGRP) && folder.st_gid != ::getegid());
}

// A link that someone else may have put there: in a folder that others can
// write, owned neither by this user nor by the folder's owner.
bool isPlanted(const struct stat &link, const QString &folder)
{
    struct stat seen = {};
    if (::stat(native(folder).constData(), &seen) != 0 || !othersMayWrite(seen))
        return false;
    return link.st_uid != ::geteuid() && link.st_uid != seen.st_uid;
}

QString linkTarget(const QString &link)
{
    QByteArray target(PATH_MAX, '\0');
    const ssize_t size = ::readlink(native(link).constData(), target.data(), size_t(target.size()));
    return size < 0 ? QString() : QFile::decodeName(target.left(size));
}

QString parentOf(const QString &folder)
{
    const qsizetype slash = folder.lastIndexOf(u'/');
    return slash <= 0 ? QStringLiteral("/") : folder.left(slash);
}

QString joined(const QString &folder, const QString &name)
{
    return folder.endsWith(u'/') ? folder + name : folder + u'/' + name;
}

// Only an ordinary file is replaced, and only when the user may write it.
bool mayReplace(const QString &path)
{
    struct stat seen = {};
    if (::stat(native(path).constData(), &seen) != 0) {
        if (errno == ENOENT)
            return true;
        logFailure("File not saved", path, qt_error_string(errno));
        return false;
    }
    if (!S_ISREG(seen.st_mode)) {
        logFailure("File not saved", path, QStringLiteral("not an ordinary file"));
        return false;
    }
    if (!QFileInfo(path).isWritable()) {
        logFailure("File not saved", path, QStringLiteral("the file is read-only"));
        return false;
    }
    return true;
}

bool hasOtherNames(const QString &path)
{
    struct stat seen = {};
    return ::stat(native(path).constData(), &seen) == 0 && seen.st_nlink > 1;
}

// Replaces the file's content where it stands. A failure part-way leaves a
// cut file, which is logged.
bool writeInPlace(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        logFailure("Cannot open file for writing", path, file.errorString());
        return false;
    }
    const bool written = file.write(bytes) == bytes.size() && file.flush();
    file.close();
    if (written && file.error() == QFileDevice::NoError)
        return true;
    logFailure("File only partly written", path, file.errorString());
    return false;
}

} // namespace

namespace UserFiles {

// Walks the path as the system resolves it, one name at a time, and looks at
// each link on the way in the folder it stands in.
bool mayFollowLinks(const QString &path)
{
    QString resolved = QStringLiteral("/");
    QStringList pending = QFileInfo(path).absoluteFilePath().split(u'/', Qt::SkipEmptyParts);
    for (int links = 0; !pending.isEmpty();) {
        const QString name = pending.takeFirst();
        if (name == u".")
            continue;
        if (name == u"..") {
            resolved = parentOf(resolved);
            continue;
        }
        const QString candidate = joined(resolved, name);
        struct stat seen = {};
        if (::lstat(native(candidate).constData(), &seen) != 0)
            return true; // nothing there to follow: opening it fails or creates it
        if (!S_ISLNK(seen.st_mode)) {
            resolved = candidate;
            continue;
        }
        if (++links > MaxLinksFollowed)
            return true; // the system refuses it too
        if (isPlanted(seen, resolved)) {
            logFailure("Not followed", path,
                QStringLiteral("%1 is another user's link in a folder others can write")
                    .arg(candidate));
            return false;
        }
        const QString target = linkTarget(candidate);
        if (target.startsWith(u'/'))
            resolved = QStringLiteral("/");
        pending = target.split(u'/', Qt::SkipEmptyParts) + pending;
    }
    return true;
}

std::optional<QByteArray> read(const QString &path, qint64 maxBytes)
{
    if (!mayFollowLinks(path))
        return std::nullopt;
    struct stat seen = {};
    if (::stat(native(path).constData(), &seen) != 0) {
        logFailure("Cannot open file", path, qt_error_string(errno));
        return std::nullopt;
    }
    const int fd = S_ISREG(seen.st_mode)
        ? ::open(native(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC)
        : -1;
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)
        || ::fstat(fd, &seen) != 0 || !S_ISREG(seen.st_mode)) {
        if (fd >= 0 && !file.isOpen())
            ::close(fd);
        logFailure("Cannot open file", path, QStringLiteral("not an ordinary file"));
        return std::nullopt;
    }
    QByteArray bytes = file.read(maxBytes + 1);
    if (bytes.size() > maxBytes) {
        qCWarning(lcPlatform) << "File" << path << "read only up to" << maxBytes << "bytes";
        bytes.truncate(maxBytes);
    }
    return bytes;
}

// A pipe gives what its writer has written so far: read until it ends.
std::optional<QByteArray> readStandardInput(qint64 maxBytes)
{
    QByteArray bytes;
    char chunk[64 * 1024];
    while (bytes.size() < maxBytes) {
        const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            logFailure("Cannot read", QStringLiteral("standard input"), qt_error_string(errno));
            return std::nullopt;
        }
        if (got == 0)
            break;
        bytes.append(chunk, got);
    }
    return bytes.left(maxBytes);
}

bool write(const QString &path, const QByteArray &bytes)
{
    if (!mayFollowLinks(path) || !mayReplace(path))
        return false;
    if (hasOtherNames(path))
        return writeInPlace(path, bytes);
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly)) {
        logFailure("Cannot create file", path, file.errorString());
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        logFailure("Cannot write file", path, file.errorString());
        return false; // a temporary file is discarded; one written in place stays cut
    }
    if (file.commit())
        return true;
    if (file.error() == QFileDevice::RenameError && QFileInfo::exists(path))
        return writeInPlace(path, bytes);
    logFailure("Cannot finish file", path, file.errorString());
    return false;
}

} // namespace UserFiles
