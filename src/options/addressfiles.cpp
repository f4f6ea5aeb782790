#include "addressfiles.h"

#include "app/form1controls.h"
#include "platform/commondialog.h"
#include "settings/settingsstore.h"

#include <QPushButton>

AddressFiles::AddressFiles(const Form1Controls &controls, const SettingsStore &store,
                           CommonDialog &dialog)
    : m_controls(controls)
    , m_store(store)
    , m_dialog(dialog)
{
}

void AddressFiles::connectControls()
{
    connect(m_controls.Save, &QPushButton::clicked, this, &AddressFiles::Save_Click);
    connect(m_controls.Open, &QPushButton::clicked, this, &AddressFiles::Open_Click);
}

void AddressFiles::Save_Click()
{
}

void AddressFiles::Open_Click()
{
}
