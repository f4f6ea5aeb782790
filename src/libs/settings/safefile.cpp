#include "safefile.h"

#include "settingslog.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Links are not followed, and nothing placed in the folder (a FIFO without a
// writer, say) can make an open, read or write wait.
constexpr int NoSurprises = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
constexpr mode_t EveryoneReadWrite = 0666;

class FileDescriptor
{
public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd)
        : m_fd(fd)
    { }
    FileDescriptor(FileDescriptor &&other) noexcept
        : m_fd(std::exchange(other.m_fd, -1))
    { }
    FileDescriptor(const FileDescriptor &) = delete;
    FileDescriptor &operator=(const FileDescriptor &) = delete;
    FileDescriptor &operator=(FileDescriptor &&) = delete;
    ~FileDescriptor() { close(); }

    [[nodiscard]] bool isValid() const { return m_fd >= 0; }
    [[nodiscard]] int get() const { return m_fd; }

    // Closes now; false when the close reports an error (a write can fail there).
    bool close()
    {
        const int fd = std::exchange(m_fd, -1);
        return fd < 0 || ::close(fd) == 0;
    }

private:
    int m_fd = -1;
};

// Why what stands at a path is no settings file, or nothing when it is one:
// an ordinary file with no other name (a hard link planted in the folder must
// not let a read or write reach a file elsewhere).
const char *refusalOf(const struct stat &seen)
{
    const mode_t mode = seen.st_mode;
    if (S_ISREG(mode))
        // No name at all (0) is a file another copy has just replaced.
        return seen.st_nlink <= 1 ? nullptr : "a file with other names (hard links)";
    if (S_ISLNK(mode))
        return "a symbolic link";
    if (S_ISDIR(mode))
        return "a folder";
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISSOCK(mode))
        return "a socket";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    return "not an ordinary file";
}

QString describe(int error)
{
    if (error == ELOOP)
        return QStringLiteral("it is a symbolic link, which is never followed");
    return qt_error_string(error);
}

// True when a settings file stands there; else logs why not.
bool acceptable(const struct stat &seen, const QString &path, const char *consequence)
{
    const char *refusal = refusalOf(seen);
    if (refusal)
        qCWarning(lcSettings).nospace()
            << "Settings file " << path << " is " << refusal << "; " << consequence;
    return !refusal;
}

void logFailure(const char *what, const QString &path, int error)
{
    qCWarning(lcSettings).nospace()
        << what << " " << path << ": " << qUtf8Printable(describe(error));
}

QByteArray encodedPath(const QString &path)
{
    return QFile::encodeName(path);
}

// Reads up to maxSize bytes; one byte more tells whether the file is larger.
std::optional<QByteArray> readBounded(int fd, const QString &path, qint64 maxSize)
{
    QByteArray bytes;
    char chunk[16 * 1024];
    for (;;) {
        const qint64 wanted = std::min<qint64>(sizeof chunk, maxSize + 1 - bytes.size());
        if (wanted <= 0)
            break;
        const ssize_t got = ::read(fd, chunk, static_cast<size_t>(wanted));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            logFailure("Cannot read settings file, read as empty", path, errno);
            return QByteArray();
        }
        if (got == 0)
            break;
        bytes.append(chunk, got);
    }
    if (bytes.size() > maxSize) {
        qCWarning(lcSettings).nospace() << "Settings file " << path << " is larger than " << maxSize
                                        << " bytes; only that much is read";
        bytes.truncate(maxSize);
    }
    return bytes;
}

// True when nothing, or a settings file, stands at the path; else logs why not.
bool isMissingOrAcceptable(const QByteArray &native, const QString &path, const char *consequence)
{
    struct stat seen = {};
    if (::lstat(native.constData(), &seen) != 0) {
        const int error = errno;
        if (error == ENOENT)
            return true;
        logFailure("Cannot look at settings file", path, error);
        return false;
    }
    return acceptable(seen, path, consequence);
}

// Opens the file for writing, creating it when missing; `created` tells which.
FileDescriptor openForWriting(const QByteArray &native, const QString &path, bool &created)
{
    int error = 0;
    // Another program may remove the file between the two opens: try twice.
    for (int attempt = 0; attempt < 2; ++attempt) {
        FileDescriptor fresh(::open(
            native.constData(), O_WRONLY | O_CREAT | O_EXCL | NoSurprises, EveryoneReadWrite));
        if (fresh.isValid()) {
            created = true;
            return fresh;
        }
        error = errno;
        if (error != EEXIST)
            break;
        FileDescriptor existing(::open(native.constData(), O_WRONLY | NoSurprises));
        if (existing.isValid())
            return existing;
        error = errno;
        if (error != ENOENT)
            break;
    }
    logFailure("Cannot open settings file for writing", path, error);
    return {};
}

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        data += written;
        left -= written;
    }
    return true;
}

bool isWritableSettingsFile(int fd, const QString &path)
{
    struct stat opened = {};
    if (::fstat(fd, &opened) != 0) {
        logFailure("Cannot look at settings file", path, errno);
        return false;
    }
    return acceptable(opened, path, "not written");
}

enum class Written
{
    Done,
    Failed,
    FolderRefuses, // no new file may be made or renamed there
};

// A folder that lets this user rewrite its files but not make or rename them:
// one of another user with the sticky bit, or one that is not writable at all.
bool refusedByFolder(int error)
{
    return error == EACCES || error == EPERM;
}

// The new content goes to a file of its own beside the old one, which it then
// replaces in one step: a reader sees the old bytes or the new, never a mix,
// and a write that fails part way (a full disk, a size limit) leaves the old
// file whole. The new file is made with O_EXCL, so no link is followed.
Written replaceByRename(const QByteArray &native, const QString &path, const QByteArray &bytes)
{
    const qsizetype slash = native.lastIndexOf('/');
    QByteArray temporary = native.left(slash + 1) + '.' + native.mid(slash + 1) + ".XXXXXX";
    FileDescriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!file.isValid()) {
        const int error = errno;
        if (refusedByFolder(error))
            return Written::FolderRefuses;
        logFailure("Cannot make a new settings file beside", path, error);
        return Written::Failed;
    }
    // The folder is shared: whoever runs next must be able to replace the file.
    if (::fchmod(file.get(), EveryoneReadWrite) != 0)
        logFailure("Cannot make new settings file writable by everyone", path, errno);
    const char *failure = nullptr;
    if (!writeAll(file.get(), bytes))
        failure = "Cannot write settings file";
    else if (::fdatasync(file.get()) != 0 && errno != EINVAL) // EINVAL: a file system without it
        failure = "Cannot flush settings file";
    else if (!file.close())
        failure = "Cannot finish writing settings file";
    else if (::rename(temporary.constData(), native.constData()) == 0)
        return Written::Done;
    const int error = errno;
    ::unlink(temporary.constData());
    if (!failure && refusedByFolder(error))
        return Written::FolderRefuses;
    logFailure(failure ? failure : "Cannot replace settings file", path, error);
    return Written::Failed;
}

// Where the folder refuses new files, the file itself is rewritten; this is
// the one case where a failure part way can leave it cut.
bool rewriteInPlace(const QByteArray &native, const QString &path, const QByteArray &bytes)
{
    bool created = false;
    FileDescriptor file = openForWriting(native, path, created);
    if (!file.isValid() || !isWritableSettingsFile(file.get(), path))
        return false;
    if (created && ::fchmod(file.get(), EveryoneReadWrite) != 0)
        logFailure("Cannot make new settings file writable by everyone", path, errno);
    if (::ftruncate(file.get(), 0) != 0) {
        logFailure("Cannot empty settings file", path, errno);
        return false;
    }
    if (!writeAll(file.get(), bytes)) {
        logFailure("Cannot write settings file", path, errno);
        return false;
    }
    if (!file.close()) {
        logFailure("Cannot finish writing settings file", path, errno);
        return false;
    }
    return true;
}

} // namespace

namespace SafeFile {

bool isSettingsFile(const QString &path)
{
    struct stat seen = {};
    return ::lstat(encodedPath(path).constData(), &seen) == 0 && !refusalOf(seen);
}

std::optional<QByteArray> read(const QString &path, qint64 maxSize)
{
    const QByteArray native = encodedPath(path);
    struct stat seen = {};
    if (::lstat(native.constData(), &seen) != 0) {
        const int error = errno;
        if (error != ENOENT)
            logFailure("Cannot look at settings file, read as missing", path, error);
        return std::nullopt;
    }
    if (!acceptable(seen, path, "read as missing"))
        return std::nullopt;
    FileDescriptor file(::open(native.constData(), O_RDONLY | NoSurprises));
    if (!file.isValid()) {
        const int error = errno;
        if (error == ENOENT) // removed since it was seen
            return std::nullopt;
        if (error == ELOOP) {
            logFailure("Settings file replaced, read as missing", path, error);
            return std::nullopt;
        }
        logFailure("Cannot open settings file, read as empty", path, error);
        return QByteArray();
    }
    struct stat opened = {};
    if (::fstat(file.get(), &opened) != 0) {
        logFailure("Cannot look at settings file, read as empty", path, errno);
        return QByteArray();
    }
    if (!acceptable(opened, path, "read as missing"))
        return std::nullopt;
    return readBounded(file.get(), path, maxSize);
}

bool replace(const QString &path, const QByteArray &bytes)
{
    const QByteArray native = encodedPath(path);
    if (!isMissingOrAcceptable(native, path, "not written"))
        return false;
    switch (replaceByRename(native, path, bytes)) {
    case Written::Done:
        return true;
    case Written::Failed:
        return false;
    case Written::FolderRefuses:
        break;
    }
    return rewriteInPlace(native, path, bytes);
}

} // namespace SafeFile
