#include "formfixture.h"

#include "controls/addressbox.h"
#include "controls/backcolor.h"
#include "controls/picturebox.h"
#include "settings/settingsfiles.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

class EnvelopeOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_f = std::make_unique<FormFixture>();
        QVERIFY(m_f->start());
    }

    // A feed picture names the side it selects; its file holds the side the
    // envelope feeds from. The first click moves away from the start's choice.
    void pictureSelectsAndWrites_data()
    {
        QTest::addColumn<QString>("clicks"); // first picture, picture, its button, file content
        QTest::newRow("left side") << u"Picture3 Picture2 Option2 right"_s;
        QTest::newRow("right side") << u"Picture2 Picture3 Option1 left"_s;
        QTest::newRow("centre") << u"Picture2 Picture4 Option3 center"_s;
        QTest::newRow("small") << u"Picture9 Picture7 OptSize_0 0"_s;
        QTest::newRow("long") << u"Picture7 Picture8 OptSize_1 1"_s;
        QTest::newRow("large") << u"Picture7 Picture9 OptSize_2 2"_s;
    }

    void pictureSelectsAndWrites()
    {
        QFETCH(QString, clicks);
        const QStringList is = clicks.split(u' ');
        const QString file
            = (is[3].size() == 1 ? SettingsFiles::EnvSize : SettingsFiles::EnvFeed).toString();
        QTest::mouseClick(m_f->form().findChild<PictureBox *>(is[0]), Qt::LeftButton);
        QTest::mouseClick(m_f->form().findChild<PictureBox *>(is[1]), Qt::LeftButton);
        const auto *selected = m_f->form().findChild<QRadioButton *>(is[2]);
        QVERIFY(selected->isChecked());
        QCOMPARE(m_f->bytes(file), is[3].toLatin1() + "\r\n");
        m_f->put(file, "kept");
        QTest::mouseClick(m_f->form().findChild<PictureBox *>(is[1]), Qt::LeftButton);
        QCOMPARE(m_f->bytes(file), QByteArray("kept")); // selected already: nothing written
        for (const QAbstractButton *other : selected->group()->buttons())
            QCOMPARE(other->isChecked(), other == selected);
    }

    void edgeSpace()
    {
        QTest::mouseClick(c().optMargin[3], Qt::LeftButton);
        QCOMPARE(m_f->bytes(SettingsFiles::Margin), QByteArray(" 3 \r\n"));
        QCOMPARE(m_f->form().runState().marginInches, 3.0);
        QVERIFY(!c().optMargin[0]->isChecked());
        QVERIFY(c().Option1->isChecked() && c().OptSize[1]->isChecked());
    }

    void fontSizeAppliesToRecipientOnly()
    {
        const int fromPoints = c().FromAddr->font().pointSize();
        c().cmbSize->setFocus(Qt::TabFocusReason);
        QCOMPARE(BackColor::of(c().cmbSize), BackColor::White);
        QStringList seen;
        for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Down}) {
            QTest::keyClick(c().cmbSize, key);
            seen << QString::number(c().ToAddr->font().pointSize())
                    + QString::fromLatin1(m_f->bytes(SettingsFiles::FontSize));
        }
        QCOMPARE(seen, QStringList({u"10 0\r\n"_s, u"12 1\r\n"_s, u"16 2\r\n"_s}));
        QCOMPARE(c().FromAddr->font().pointSize(), fromPoints);
        QTest::keyClick(c().cmbSize, Qt::Key_Tab);
        QCOMPARE(BackColor::of(c().cmbSize), BackColor::PaleYellow);
    }

    void returnAddressSavedOnLeave()
    {
        QTest::mouseClick(c().FromAddr->viewport(), Qt::LeftButton);
        QCOMPARE(BackColor::of(c().FromAddr), BackColor::White);
        QTest::keyClicks(c().FromAddr, u"Ann"_s);
        QVERIFY(!m_f->exists(SettingsFiles::From)); // typing writes nothing
        QTest::mouseClick(c().optMargin[0], Qt::LeftButton);
        QCOMPARE(m_f->bytes(SettingsFiles::From), QByteArray("Ann\r\n"));
        QCOMPARE(BackColor::of(c().FromAddr), BackColor::PaleYellow);
    }

private:
    [[nodiscard]] const Form1Controls &c() const { return m_f->controls(); }
    std::unique_ptr<FormFixture> m_f;
};

QTEST_MAIN(EnvelopeOptionsTest)
#include "envelopeoptions_test.moc"
