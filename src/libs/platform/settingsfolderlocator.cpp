#include "settingsfolderlocator.h"

#include "platformlog.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include <cerrno>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Every user writes the shared folder's files, whatever their umask.
constexpr mode_t EveryoneAll = 0777;

bool isUsableFolder(const QByteArray &native)
{
    struct stat seen = {};
    return ::stat(native.constData(), &seen) == 0 && S_ISDIR(seen.st_mode)
        && ::access(native.constData(), W_OK | X_OK) == 0;
}

// chmod through a descriptor of the folder itself, so a link put in its place
// meanwhile is not followed.
bool openToEveryone(const QByteArray &native)
{
    const int fd = ::open(native.constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool changed = ::fchmod(fd, EveryoneAll) == 0;
    const int error = errno;
    ::close(fd);
    errno = error;
    return changed;
}

} // namespace

SettingsFolderLocator::SettingsFolderLocator(QString sharedFolder, QString fallbackFolder)
    : m_sharedFolder(std::move(sharedFolder))
    , m_fallbackFolder(std::move(fallbackFolder))
{ }

SettingsFolderLocator SettingsFolderLocator::forThisMachine()
{
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return SettingsFolderLocator(QStringLiteral("/var/lib/Quillmark"),
        documents.isEmpty() ? QString() : documents + QStringLiteral("/Quillmark"));
}

QString SettingsFolderLocator::locate() const
{
    if (prepareShared())
        return m_sharedFolder;
    if (prepareFallback()) {
        qCWarning(lcPlatform).nospace() << "Shared settings folder " << m_sharedFolder
                                        << " cannot be used; using " << m_fallbackFolder;
        return m_fallbackFolder;
    }
    qCWarning(lcPlatform).nospace() << "Neither settings folder " << m_sharedFolder << " nor "
                                    << m_fallbackFolder << " can be used; settings are not kept";
    return {};
}

QString SettingsFolderLocator::existing() const
{
    if (!m_sharedFolder.isEmpty() && isUsableFolder(QFile::encodeName(m_sharedFolder)))
        return m_sharedFolder;
    if (!m_fallbackFolder.isEmpty() && QFileInfo(m_fallbackFolder).isDir())
        return m_fallbackFolder;
    return {};
}

bool SettingsFolderLocator::prepareShared() const
{
    if (m_sharedFolder.isEmpty())
        return false;
    const QByteArray native = QFile::encodeName(m_sharedFolder);
    struct stat seen = {};
    if (::stat(native.constData(), &seen) != 0) {
        const int error = errno;
        if (error == ENOENT)
            return createShared();
        qCWarning(lcPlatform).nospace()
            << "Cannot look at shared settings folder " << m_sharedFolder << ": "
            << qUtf8Printable(qt_error_string(error));
        return false;
    }
    if (isUsableFolder(native))
        return true;
    qCWarning(lcPlatform).nospace()
        << "Shared settings folder " << m_sharedFolder << " is not a writable folder";
    return false;
}

// One level only: the folder's parent must already exist.
bool SettingsFolderLocator::createShared() const
{
    const QByteArray native = QFile::encodeName(m_sharedFolder);
    if (::mkdir(native.constData(), EveryoneAll) != 0) {
        qCWarning(lcPlatform).nospace() << "Cannot create shared settings folder " << m_sharedFolder
                                        << ": " << qUtf8Printable(qt_error_string(errno));
        return false;
    }
    if (!openToEveryone(native)) {
        qCWarning(lcPlatform).nospace()
            << "Cannot open shared settings folder " << m_sharedFolder
            << " to every user: " << qUtf8Printable(qt_error_string(errno));
    }
    qCInfo(lcPlatform).nospace() << "Created shared settings folder " << m_sharedFolder;
    return true;
}

bool SettingsFolderLocator::prepareFallback() const
{
    if (m_fallbackFolder.isEmpty())
        return false;
    if (!QDir().mkpath(m_fallbackFolder))
        return false;
    return isUsableFolder(QFile::encodeName(m_fallbackFolder));
}
