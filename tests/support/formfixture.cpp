#include "formfixture.h"

#include <QTest>

bool FormFixture::start(bool anotherCopyRunning)
{
    Form1Services services;
    services.locateSettingsFolder = [folder = m_dir.path()] { return folder; };
    services.anotherCopyRunning = [anotherCopyRunning] { return anotherCopyRunning; };
    m_form = std::make_unique<Form1>(services);
    if (!m_form->Form_Load())
        return false;
    m_form->show();
    m_form->activateWindow();
    return QTest::qWaitForWindowActive(m_form.get());
}

void FormFixture::close()
{
    if (m_form)
        m_form->close();
    m_form.reset();
}
