#pragma once

#include <QObject>

#include <array>

#include <signal.h>

class QSocketNotifier;

// SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C, a closed terminal) as a Qt
// signal that the event loop delivers, so the program can end the way its
// window closes instead of dying on the spot. The handlers that were there
// before come back when the object goes.
class TerminationSignals : public QObject
{
    Q_OBJECT

public:
    explicit TerminationSignals(QObject *parent = nullptr);
    ~TerminationSignals() override;
    TerminationSignals(const TerminationSignals &) = delete;
    TerminationSignals &operator=(const TerminationSignals &) = delete;

signals:
    void received();

private:
    void drain();

    static constexpr std::array<int, 3> Caught {SIGTERM, SIGINT, SIGHUP};
    std::array<int, 2> m_pipe {-1, -1}; // the handler writes, the event loop reads
    std::array<struct sigaction, Caught.size()> m_previous {};
    QSocketNotifier *m_notifier = nullptr;
};
