#include "formfixture.h"
#include "scripteddialog.h"

#include "controls/imagebox.h"
#include "handlers/logochoice.h"
#include "settings/settingsfiles.h"

#include <QCheckBox>
#include <QDir>
#include <QRegularExpression>
#include <QTest>

#include <sys/stat.h>

class LogoChoiceTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_f = std::make_unique<FormFixture>();
        QVERIFY(m_f->start());
        m_dialog = &ScriptedDialog::installIn(m_f->form().commonDialog());
        QTest::mouseClick(c().Check1, Qt::LeftButton);
        QVERIFY(c().Image1->isVisible());
    }

    void chosenPictureBecomesTheLogo()
    {
        const QString gif = TestSupport::dataPath(QStringLiteral("logo-40x20.gif"));
        clickLogo(gif);
        QCOMPARE(m_f->form().commonDialog().Filter, LogoChoice::Filter.toString());
        QCOMPARE(c().Image1->picture().size(), QSize(40, 20));
        QCOMPARE(m_f->bytes(SettingsFiles::Logo), gif.toUtf8() + "\r\n");
        QCOMPARE(m_f->bytes(SettingsFiles::PrLogo), QByteArray(" 1 \r\n"));

        QTest::mouseClick(c().Check1, Qt::LeftButton); // off and on again keeps it
        QVERIFY(!c().Image1->isVisible());
        QCOMPARE(m_f->bytes(SettingsFiles::PrLogo), QByteArray(" 0 \r\n"));
        QTest::mouseClick(c().Check1, Qt::LeftButton);
        QVERIFY(c().Image1->isVisible());
        QCOMPARE(m_f->bytes(SettingsFiles::PrLogo), QByteArray(" 1 \r\n"));
        QCOMPARE(m_f->bytes(SettingsFiles::Logo), gif.toUtf8() + "\r\n");
    }

    void everyFailureClearsTheLogo_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("cancelled") << "cancel";
        QTest::newRow("no picture") << "text";
        QTest::newRow("FIFO, not waited on") << "fifo";
        QTest::newRow("settings file cannot be written") << "unwritable";
    }

    void everyFailureClearsTheLogo()
    {
        QFETCH(QString, kind);
        const QString gif = TestSupport::dataPath(QStringLiteral("logo-40x20.gif"));
        clickLogo(gif);
        const QString path = m_f->path(u"chosen");
        if (kind == u"text")
            QVERIFY(TestSupport::writeFile(path, "Not a picture\r\n"));
        else if (kind == u"fifo")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        if (kind == u"unwritable") {
            QVERIFY(QFile::remove(m_f->path(SettingsFiles::Logo)));
            QVERIFY(QDir(m_f->folder()).mkdir(SettingsFiles::Logo.toString()));
        }
        if (kind != u"cancel")
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral(".")));
        clickLogo(
            kind == u"cancel" ? std::nullopt : std::optional(kind == u"unwritable" ? gif : path));

        QCOMPARE(c().Image1->picture(), c().Image2->picture());
        if (kind != u"unwritable")
            QCOMPARE(m_f->bytes(SettingsFiles::Logo), QByteArray("\r\n"));
        QCOMPARE(m_f->bytes(SettingsFiles::PrLogo), QByteArray(" 0 \r\n"));
        QVERIFY(!c().Check1->isChecked());
        QVERIFY(!c().Image1->isVisible());
    }

private:
    [[nodiscard]] const Form1Controls &c() const { return m_f->controls(); }

    void clickLogo(const std::optional<QString> &answer)
    {
        answer ? m_dialog->choose(*answer) : m_dialog->cancel();
        QTest::mouseClick(c().Image1, Qt::LeftButton);
        QVERIFY(m_dialog->scriptUsed());
        QVERIFY(m_f->form().commonDialog().CancelError);
    }

    std::unique_ptr<FormFixture> m_f;
    ScriptedDialog *m_dialog = nullptr;
};

QTEST_MAIN(LogoChoiceTest)
#include "logochoice_test.moc"
