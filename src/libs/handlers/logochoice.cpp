#include "logochoice.h"

#include "controls/form1controls.h"
#include "controls/imagebox.h"
#include "platform/commondialog.h"
#include "platform/pictureloader.h"
#include "settings/settingsfiles.h"
#include "settings/settingsstore.h"

#include <QCheckBox>

LogoChoice::LogoChoice(
    const Form1Controls &controls, const SettingsStore &store, CommonDialog &dialog)
    : m_controls(controls)
    , m_store(store)
    , m_dialog(dialog)
{ }

void LogoChoice::connectControls()
{
    connect(m_controls.Check1, &QCheckBox::toggled, this, &LogoChoice::Check1_Click);
    connect(m_controls.Image1, &ImageBox::clicked, this, &LogoChoice::Image1_Click);
}

void LogoChoice::Check1_Click()
{
    const bool on = m_controls.Check1->isChecked();
    m_store.writeInteger(SettingsFiles::PrLogo, on ? 1 : 0);
    m_controls.Image1->setVisible(on);
}

// Cancelling, an empty choice, a file that is no loadable picture and a failed
// settings write all end with the logo cleared. The dialog's starting folder
// and file name stay whatever its last use left.
void LogoChoice::Image1_Click()
{
    m_dialog.CancelError = true;
    m_dialog.Filter = Filter.toString();
    if (m_dialog.ShowOpen() && !m_dialog.FileName.isEmpty()) {
        const QString path = m_dialog.FileName;
        // Loaded before anything is written: a file that fails leaves no trace.
        if (const auto picture = PictureLoader::load(path)) {
            if (chooseLogo(*picture, path))
                return;
        }
    }
    clearLogo();
}

bool LogoChoice::chooseLogo(const QImage &picture, const QString &path)
{
    m_controls.Image1->setPicture(picture);
    if (!m_store.writeText(SettingsFiles::Logo, path))
        return false;
    m_controls.Check1->setChecked(true);
    return m_store.writeInteger(SettingsFiles::PrLogo, 1);
}

void LogoChoice::clearLogo()
{
    m_controls.Image1->setPicture(m_controls.Image2->picture());
    m_store.writeText(SettingsFiles::Logo, QString());
    m_controls.Check1->setChecked(false);
    m_store.writeInteger(SettingsFiles::PrLogo, 0);
}
