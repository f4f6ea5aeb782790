#include "logochoice.h"

#include "app/form1controls.h"
#include "app/imagebox.h"
#include "settings/settingsfiles.h"
#include "settings/settingsstore.h"

#include <QCheckBox>

LogoChoice::LogoChoice(const Form1Controls &controls, const SettingsStore &store,
                       CommonDialog &dialog)
    : m_controls(controls)
    , m_store(store)
    , m_dialog(dialog)
{
}

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

void LogoChoice::Image1_Click()
{
}
