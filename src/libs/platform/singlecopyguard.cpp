#include "singlecopyguard.h"

#include "platformlog.h"

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

#include <unistd.h>

namespace {
constexpr int SocketTimeoutMs = 1000;
const QByteArray ShowRequest = QByteArrayLiteral("show\n");
} // namespace

SingleCopyGuard::SingleCopyGuard(const QString &runtimeFolder, QObject *parent)
    : QObject(parent)
    , m_lockPath(runtimeFolder + QStringLiteral("/quillmark.lock"))
    , m_socketPath(runtimeFolder + QStringLiteral("/quillmark.socket"))
    , m_lock(m_lockPath)
{
    // A running copy holds its lock for as long as it runs: only a lock whose
    // process is gone counts as stale, never an old one.
    m_lock.setStaleLockTime(0);
}

SingleCopyGuard::~SingleCopyGuard() = default;

QString SingleCopyGuard::defaultRuntimeFolder()
{
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath() + QStringLiteral("/quillmark-%1").arg(::getuid());
    QDir().mkpath(folder);
    return folder;
}

bool SingleCopyGuard::anotherCopyRunning()
{
    if (m_lock.tryLock(0))
        return false;
    if (m_lock.error() == QLockFile::LockFailedError) {
        askRunningCopyToShow();
        return true;
    }
    // Without a usable runtime folder nobody can tell; let this copy run.
    qCWarning(lcPlatform) << "Cannot take the single-copy lock" << m_lockPath;
    return false;
}

void SingleCopyGuard::listenForActivation()
{
    if (!m_lock.isLocked() || m_server)
        return;
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(m_socketPath); // left by a copy that died
    if (!m_server->listen(m_socketPath)) {
        qCWarning(lcPlatform) << "Cannot listen on" << m_socketPath << m_server->errorString();
        return;
    }
    connect(m_server.get(), &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().startsWith(ShowRequest.trimmed()))
                    emit activationRequested();
                socket->disconnectFromServer();
            });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

void SingleCopyGuard::askRunningCopyToShow() const
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(SocketTimeoutMs)) {
        qCInfo(lcPlatform) << "The running copy did not answer:" << socket.errorString();
        return;
    }
    socket.write(ShowRequest);
    socket.waitForBytesWritten(SocketTimeoutMs);
    socket.disconnectFromServer();
}
