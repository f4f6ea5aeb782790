#include "formfixture.h"

#include "testsupport.h"

#include <QFileInfo>
#include <QTest>

FormFixture::FormFixture() = default;

FormFixture::~FormFixture() = default;

QString FormFixture::path(QStringView fileName) const
{
    return m_dir.path() + QLatin1Char('/') + fileName.toString();
}

void FormFixture::put(QStringView fileName, const QByteArray &bytes) const
{
    TestSupport::writeFile(path(fileName), bytes);
}

QByteArray FormFixture::bytes(QStringView fileName) const
{
    return TestSupport::readFile(path(fileName));
}

bool FormFixture::exists(QStringView fileName) const
{
    return QFileInfo::exists(path(fileName));
}

bool FormFixture::start(bool anotherCopyRunning)
{
    Form1Services services;
    const QString folder = m_dir.path();
    services.locateSettingsFolder = [folder] { return folder; };
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
