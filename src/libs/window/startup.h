#pragma once

#include <QString>

#include <functional>

class QWidget;
class SettingsStore;
struct Form1Controls;
struct RunState;

// What start-up needs from the machine; the tests give their own.
struct Form1Services
{
    // The settings folder's path, created when missing; empty when none can be had.
    std::function<QString()> locateSettingsFolder;
    // True when another copy of the program already runs for this user.
    std::function<bool()> anotherCopyRunning;
};

// The window's load handling: settings folder, placement, title, the single
// running copy, the font-size list and the restore of every saved choice.
// An operation that fails is skipped and start-up goes on with the next.
class Startup
{
public:
    Startup(QWidget &window, const Form1Controls &controls, SettingsStore &store, RunState &state);

    // False when another copy runs and this one must end.
    [[nodiscard]] bool run(const Form1Services &services);

private:
    void centreOnScreen();
    void fillFontSizes();
    void restoreFontSize();
    void restoreLogoPicture();
    void restoreEdgeSpace();
    void restorePrintLogo();
    void restorePostNet();
    void restoreFeedSide();
    void restoreReturnAddress();
    void restoreEnvelopeSize();

    QWidget &m_window;
    const Form1Controls &m_controls;
    SettingsStore &m_store;
    RunState &m_state;
};
