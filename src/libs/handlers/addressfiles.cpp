#include "addressfiles.h"

#include "controls/addressbox.h"
#include "controls/form1controls.h"
#include "platform/commondialog.h"
#include "platform/userfiles.h"
#include "logic/addresslist.h"
#include "settings/settingsstore.h"
#include "settings/textcodec.h"

#include <QPushButton>

AddressFiles::AddressFiles(
    const Form1Controls &controls, const SettingsStore &store, CommonDialog &dialog)
    : m_controls(controls)
    , m_store(store)
    , m_dialog(dialog)
{ }

void AddressFiles::connectControls()
{
    connect(m_controls.Save, &QPushButton::clicked, this, &AddressFiles::Save_Click);
    connect(m_controls.Open, &QPushButton::clicked, this, &AddressFiles::Open_Click);
}

// The path is used exactly as the dialog returns it: no extension is added.
void AddressFiles::Save_Click()
{
    m_dialog.CancelError = true;
    m_dialog.Filter = Filter.toString();
    if (!m_dialog.ShowSave())
        return;
    UserFiles::write(m_dialog.FileName, TextCodec::encode(m_controls.ToAddr->text()) + "\r\n");
}

// The box takes the file's lines joined by CR LF, in one update, so its change
// handling (the bar-code preview) runs once for the final text. Neither the
// focus nor the recipient settings file is touched.
void AddressFiles::Open_Click()
{
    prepareOpenDialog();
    if (m_dialog.ShowOpen() && !m_dialog.FileName.isEmpty())
        openFile(m_dialog.FileName);
}

void AddressFiles::prepareOpenDialog()
{
    m_dialog.CancelError = true;
    m_dialog.Filter = Filter.toString();
    m_dialog.InitDir = m_store.folder();
}

// The dialog is left as if it had returned the path: its next use starts there.
void AddressFiles::openFile(const QString &path)
{
    prepareOpenDialog();
    m_dialog.FileName = path;
    const auto bytes = UserFiles::read(path, MaxFileBytes);
    m_controls.ToAddr->setText(bytes ? addressFileText(*bytes) : QString());
}
