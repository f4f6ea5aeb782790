#pragma once

#include <QObject>

struct Form1Controls;
class CommonDialog;
class SettingsStore;

// Saving the recipient address to an address file (".qmf") and opening one.
class AddressFiles : public QObject
{
    Q_OBJECT

public:
    AddressFiles(const Form1Controls &controls, const SettingsStore &store, CommonDialog &dialog);

    void connectControls();

    void Save_Click();
    void Open_Click();

private:
    const Form1Controls &m_controls;
    const SettingsStore &m_store;
    CommonDialog &m_dialog;
};
