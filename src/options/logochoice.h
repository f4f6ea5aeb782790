#pragma once

#include <QObject>

struct Form1Controls;
class CommonDialog;
class SettingsStore;

// The print-logo switch and the logo picture it prints.
class LogoChoice : public QObject
{
    Q_OBJECT

public:
    LogoChoice(const Form1Controls &controls, const SettingsStore &store, CommonDialog &dialog);

    void connectControls();

    void Check1_Click();
    void Image1_Click();

private:
    const Form1Controls &m_controls;
    const SettingsStore &m_store;
    CommonDialog &m_dialog;
};
