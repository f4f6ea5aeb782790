#pragma once

#include <QObject>

struct Form1Controls;
struct RunState;
class BarcodePreview;
class CommonDialog;
class SettingsStore;

// "&Print Envelope": one landscape envelope on the printer the user confirms.
class PrintJob : public QObject
{
    Q_OBJECT

public:
    PrintJob(const Form1Controls &controls, const SettingsStore &store, const RunState &state,
             CommonDialog &dialog, BarcodePreview &preview);

    void connectControls();

    void Print_Click();

private:
    const Form1Controls &m_controls;
    const SettingsStore &m_store;
    const RunState &m_state;
    CommonDialog &m_dialog;
    BarcodePreview &m_preview;
};
