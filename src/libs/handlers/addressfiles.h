#pragma once

#include <QObject>
#include <QStringView>

struct Form1Controls;
class CommonDialog;
class SettingsStore;

// Saving the recipient address to an address file (".qmf") and opening one.
// Failures are logged, never shown; a link another user may have planted is not followed.
class AddressFiles : public QObject
{
    Q_OBJECT

public:
    static constexpr QStringView Filter {u"Quillmark File (*.qmf)|*.qmf"};
    // No address is this long; a larger file is read up to here.
    static constexpr qint64 MaxFileBytes = 1024 * 1024;

    AddressFiles(const Form1Controls &controls, const SettingsStore &store, CommonDialog &dialog);

    void connectControls();

    void Save_Click();
    void Open_Click();
    // What Open_Click does once its dialog has returned the path.
    void openFile(const QString &path);

private:
    void prepareOpenDialog();

    const Form1Controls &m_controls;
    const SettingsStore &m_store;
    CommonDialog &m_dialog;
};
