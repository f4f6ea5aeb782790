#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;

// Keeps one running copy per user: a lock file in the user's runtime folder,
// and a local socket beside it through which a second start asks the running
// copy to come to the front. A lock left by a copy that died does not block.
class SingleCopyGuard : public QObject
{
    Q_OBJECT

public:
    explicit SingleCopyGuard(const QString &runtimeFolder, QObject *parent = nullptr);
    ~SingleCopyGuard() override;

    // The user's runtime folder ($XDG_RUNTIME_DIR), or a private one in /tmp.
    [[nodiscard]] static QString defaultRuntimeFolder();

    // True when another copy holds the lock; it has then been asked to show
    // itself. False when this copy now holds the lock (or none can be had).
    [[nodiscard]] bool anotherCopyRunning();

    // Once this copy holds the lock: opens the socket later starts call on.
    // Left until the window is shown, which a later start waits for anyway.
    void listenForActivation();

signals:
    // A later start asked this copy to bring its window to the front.
    void activationRequested();

private:
    void askRunningCopyToShow() const;

    QString m_lockPath;
    QString m_socketPath;
    QLockFile m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
