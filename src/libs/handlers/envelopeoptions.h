#pragma once

#include <QObject>

struct Form1Controls;
class QAbstractButton;
struct RunState;
class SettingsStore;

// The feed side, envelope size, edge space and font size controls, and the
// return-address box: each choice updates the window and writes its setting
// at once.
class EnvelopeOptions : public QObject
{
    Q_OBJECT

public:
    EnvelopeOptions(const Form1Controls &controls, const SettingsStore &store, RunState &state);

    void connectControls();

    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Picture2_Click();
    void Picture3_Click();
    void Picture4_Click();
    void OptSize_Click(int index);
    void Picture7_Click();
    void Picture8_Click();
    void Picture9_Click();
    void optMargin_Click(int index);
    void cmbSize_Click();
    void cmbSize_GotFocus();
    void cmbSize_LostFocus();
    void FromAddr_GotFocus();
    void FromAddr_LostFocus();

private:
    void saveFeedSide(QAbstractButton *button);

    const Form1Controls &m_controls;
    const SettingsStore &m_store;
    RunState &m_state;
};
