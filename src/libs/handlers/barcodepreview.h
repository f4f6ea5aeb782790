#pragma once

#include <QObject>

struct Form1Controls;
struct RunState;
class SettingsStore;

// The live POSTNET preview under the recipient box, and the recipient box's
// own handling: every change redraws the preview while the switch is on.
class BarcodePreview : public QObject
{
    Q_OBJECT

public:
    // Where the preview's first bar starts in the box, in twips.
    static constexpr float OriginTwips = 50;

    BarcodePreview(const Form1Controls &controls, const SettingsStore &store, RunState &state);

    void connectControls();

    // The preview routine: extracts ZipDigits from the recipient box and draws it.
    void Command1_Click();
    void Check2_Click();
    void ToAddr_Change();
    void ToAddr_GotFocus();
    void ToAddr_LostFocus();

private:
    [[nodiscard]] bool switchedOn() const;

    const Form1Controls &m_controls;
    const SettingsStore &m_store;
    RunState &m_state;
};
