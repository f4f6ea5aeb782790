#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class QLocalServer;
class QLocalSocket;

// What a later start asks of the running copy: to come to the front, with the
// launcher's activation token when there is one, and to open a file.
struct ActivationRequest
{
    QString activationToken;
    QString fileToOpen;
    friend bool operator==(const ActivationRequest &a, const ActivationRequest &b)
    {
        return a.activationToken == b.activationToken && a.fileToOpen == b.fileToOpen;
    }
};

// Keeps one running copy per user: a lock file in the user's runtime folder,
// and a local socket beside it through which a later start hands its request
// to the running copy, which answers once it has taken it. A lock left by a
// copy that died does not block, and neither does one left by a copy that is
// closing: a start whose request gets no answer waits for the lock instead.
class SingleCopyGuard : public QObject
{
    Q_OBJECT

public:
    explicit SingleCopyGuard(const QString &runtimeFolder, QObject *parent = nullptr);
    ~SingleCopyGuard() override;

    // The user's runtime folder ($XDG_RUNTIME_DIR), else the first usable of
    // a private folder in /tmp and one in the user's cache folder.
    [[nodiscard]] static QString defaultRuntimeFolder();
    // The first candidate that is, or can be made, a folder of this user's
    // alone (created 0700; another user's folder, or a link, is passed over).
    [[nodiscard]] static QString privateFolderAmong(const QStringList &candidates);

    // True when another copy runs and has taken the request. False when this
    // copy now holds the lock (or none can be had).
    [[nodiscard]] bool anotherCopyRunning(const ActivationRequest &request = {});

    // Once this copy holds the lock: opens the socket later starts call on.
    // Left until the window is shown, which a later start waits for anyway.
    void listenForActivation();
    // Requests stop being taken, when the window closes: a later start then
    // waits for this copy to end and starts its own window.
    void stopListening();

signals:
    // A later start asked this copy to bring its window to the front.
    void activationRequested(const ActivationRequest &request);

private:
    [[nodiscard]] bool handOver(const ActivationRequest &request) const;
    void takeRequest(QLocalSocket *socket);

    QString m_lockPath;
    QString m_socketPath;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
