#include "singlecopyguard.h"

#include "platformlog.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QUrl>

#include <cerrno>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int AnswerTimeoutMs = 2000;
// How long a copy that is closing may take to end.
constexpr int LockWaitMs = 5000;
constexpr qsizetype MaxRequestBytes = 64 * 1024;
const QByteArray Answer = QByteArrayLiteral("ok\n");

// "show", then "token <t>" and "open <path>" when given, then an empty line;
// values percent-encoded, so no line break inside them ends a line.
QByteArray encoded(const ActivationRequest &request)
{
    QByteArray text = "show\n";
    if (!request.activationToken.isEmpty())
        text += "token " + QUrl::toPercentEncoding(request.activationToken) + '\n';
    if (!request.fileToOpen.isEmpty())
        text += "open " + QUrl::toPercentEncoding(request.fileToOpen) + '\n';
    return text + '\n';
}

ActivationRequest decoded(const QByteArray &text)
{
    ActivationRequest request;
    for (const QByteArray &line : text.split('\n')) {
        const QString value = QUrl::fromPercentEncoding(line.mid(line.indexOf(' ') + 1));
        if (line.startsWith("token "))
            request.activationToken = value;
        else if (line.startsWith("open "))
            request.fileToOpen = value;
    }
    return request;
}

// A folder that only this user can enter: made 0700 when missing; one of
// another user, or a link, is refused.
bool isPrivateFolder(const QString &path)
{
    const QByteArray native = QFile::encodeName(path);
    if (::mkdir(native.constData(), 0700) != 0 && errno != EEXIST)
        return false;
    struct stat seen = {};
    if (::lstat(native.constData(), &seen) != 0 || !S_ISDIR(seen.st_mode))
        return false;
    if (seen.st_uid != ::geteuid()) {
        qCWarning(lcPlatform).nospace()
            << "Runtime folder " << path << " belongs to another user; not used";
        return false;
    }
    return ::chmod(native.constData(), 0700) == 0;
}

} // namespace

SingleCopyGuard::SingleCopyGuard(const QString &runtimeFolder, QObject *parent)
    : QObject(parent)
    , m_lockPath(
          runtimeFolder.isEmpty() ? QString() : runtimeFolder + QStringLiteral("/quillmark.lock"))
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
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!runtime.isEmpty())
        return runtime;
    return privateFolderAmong({QDir::tempPath() + QStringLiteral("/quillmark-%1").arg(::geteuid()),
        QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)
            + QStringLiteral("/quillmark")});
}

QString SingleCopyGuard::privateFolderAmong(const QStringList &candidates)
{
    for (const QString &candidate : candidates) {
        if (isPrivateFolder(candidate))
            return candidate;
    }
    qCWarning(lcPlatform) << "No private runtime folder among" << candidates;
    return {};
}

bool SingleCopyGuard::anotherCopyRunning(const ActivationRequest &request)
{
    if (m_lockPath.isEmpty() || m_lock.tryLock(0))
        return false;
    if (m_lock.error() != QLockFile::LockFailedError) {
        // Without a usable runtime folder nobody can tell; let this copy run.
        qCWarning(lcPlatform) << "Cannot take the single-copy lock" << m_lockPath;
        return false;
    }
    if (handOver(request))
        return true;
    // The copy that holds the lock takes no requests: it is closing.
    if (m_lock.tryLock(LockWaitMs))
        return false;
    qCWarning(lcPlatform) << "Another copy holds" << m_lockPath << "and does not answer";
    return true;
}

bool SingleCopyGuard::handOver(const ActivationRequest &request) const
{
    QLocalSocket socket;
    socket.connectToServer(m_socketPath);
    if (!socket.waitForConnected(AnswerTimeoutMs)) {
        qCInfo(lcPlatform) << "The running copy takes no requests:" << socket.errorString();
        return false;
    }
    socket.write(encoded(request));
    while (socket.bytesAvailable() < Answer.size() && socket.waitForReadyRead(AnswerTimeoutMs)) { }
    if (socket.read(Answer.size()) == Answer)
        return true;
    qCInfo(lcPlatform) << "The running copy did not answer";
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
            connect(
                socket, &QLocalSocket::readyRead, this, [this, socket] { takeRequest(socket); });
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

void SingleCopyGuard::stopListening()
{
    if (!m_server)
        return;
    m_server->close();
    m_server.reset(); // its sockets go with it, unanswered
}

// Reads the request up to its empty line; then answers it and acts on it.
void SingleCopyGuard::takeRequest(QLocalSocket *socket)
{
    QByteArray text = socket->property("request").toByteArray() + socket->readAll();
    if (!text.contains("\n\n") && text.size() < MaxRequestBytes) {
        socket->setProperty("request", text);
        return;
    }
    socket->disconnect(this);
    if (text.startsWith("show\n")) {
        socket->write(Answer);
        socket->flush();
        emit activationRequested(decoded(text.left(text.indexOf("\n\n"))));
    }
    socket->disconnectFromServer();
}
