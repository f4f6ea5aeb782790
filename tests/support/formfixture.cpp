#include "formfixture.h"

#include <QTest>

bool FormFixture::start()
{
    Form1Services services;
    services.locateSettingsFolder = [folder = m_dir.path()] { return folder; };
    m_form = std::make_unique<Form1>(services);
    if (!m_form->Form_Load())
        return false;
    m_form->show();
    m_form->activateWindow();
    return QTest::qWaitForWindowActive(m_form.get());
}
