#include "formfixture.h"

#include "controls/addressbox.h"
#include "controls/picturebox.h"
#include "settings/settingsfiles.h"

#include <QComboBox>
#include <QRadioButton>
#include <QTest>

class EnvelopeOptionsTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void pictureClicksSelectAndWrite_data();
    void pictureClicksSelectAndWrite();
    void pictureClickOnSelectedButtonWritesNothing();
    void edgeSpace_data();
    void edgeSpace();
    void groupsAreExclusiveOnlyWithinThemselves();
    void fontSizeAppliesToRecipientOnly_data();
    void fontSizeAppliesToRecipientOnly();
    void returnAddressSavedOnEveryLeave();

private:
    [[nodiscard]] const Form1Controls &c() const { return m_f->controls(); }
    std::unique_ptr<FormFixture> m_f;
};

void EnvelopeOptionsTest::init()
{
    m_f = std::make_unique<FormFixture>();
    QVERIFY(m_f->start());
}

void EnvelopeOptionsTest::cleanup()
{
    m_f.reset();
}

// A feed button names the side it selects; its file holds the side the
// envelope feeds from, so "Select Left Side" writes "right".
void EnvelopeOptionsTest::pictureClicksSelectAndWrite_data()
{
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("button");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    const QString feed = SettingsFiles::EnvFeed.toString();
    const QString size = SettingsFiles::EnvSize.toString();
    QTest::newRow("left-feed picture") << "Picture2"
                                       << "Option2" << feed << QByteArray("right\r\n");
    QTest::newRow("centre-feed picture") << "Picture4"
                                         << "Option3" << feed << QByteArray("center\r\n");
    QTest::newRow("small envelope") << "Picture7"
                                    << "OptSize_0" << size << QByteArray("0\r\n");
    QTest::newRow("large envelope") << "Picture9"
                                    << "OptSize_2" << size << QByteArray("2\r\n");
}

void EnvelopeOptionsTest::pictureClicksSelectAndWrite()
{
    QFETCH(QString, picture);
    QFETCH(QString, button);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    QTest::mouseClick(m_f->form().findChild<PictureBox *>(picture), Qt::LeftButton);
    QVERIFY(m_f->form().findChild<QRadioButton *>(button)->isChecked());
    QCOMPARE(m_f->bytes(file), bytes);
}

void EnvelopeOptionsTest::pictureClickOnSelectedButtonWritesNothing()
{
    // Option1 is selected by the first start; its picture changes nothing.
    m_f->put(SettingsFiles::EnvFeed, "untouched\r\n");
    QTest::mouseClick(c().Picture3, Qt::LeftButton);
    QVERIFY(c().Option1->isChecked());
    QCOMPARE(m_f->bytes(SettingsFiles::EnvFeed), QByteArray("untouched\r\n"));
    QTest::mouseClick(c().Picture2, Qt::LeftButton);
    QTest::mouseClick(c().Picture3, Qt::LeftButton);
    QCOMPARE(m_f->bytes(SettingsFiles::EnvFeed), QByteArray("left\r\n"));
}

void EnvelopeOptionsTest::edgeSpace_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("1 inch") << 1 << QByteArray(" 1 \r\n");
    QTest::newRow("5 inches") << 5 << QByteArray(" 5 \r\n");
}

void EnvelopeOptionsTest::edgeSpace()
{
    QFETCH(int, index);
    QFETCH(QByteArray, bytes);
    QTest::mouseClick(c().optMargin[index], Qt::LeftButton);
    QCOMPARE(m_f->bytes(SettingsFiles::Margin), bytes);
    QCOMPARE(m_f->form().runState().marginInches, double(index));
}

void EnvelopeOptionsTest::groupsAreExclusiveOnlyWithinThemselves()
{
    QTest::mouseClick(c().optMargin[3], Qt::LeftButton);
    QVERIFY(!c().optMargin[0]->isChecked());
    QVERIFY(c().Option1->isChecked());
    QVERIFY(c().OptSize[1]->isChecked());

    QTest::mouseClick(c().OptSize[2], Qt::LeftButton);
    QVERIFY(!c().OptSize[1]->isChecked());
    QVERIFY(c().optMargin[3]->isChecked());
    QVERIFY(c().Option1->isChecked());

    QTest::mouseClick(c().Option3, Qt::LeftButton);
    QVERIFY(!c().Option1->isChecked());
    QVERIFY(c().OptSize[2]->isChecked());
    QVERIFY(c().optMargin[3]->isChecked());
}

void EnvelopeOptionsTest::fontSizeAppliesToRecipientOnly_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<int>("points");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("Small") << 0 << 10 << QByteArray(" 0\r\n");
    QTest::newRow("Large") << 2 << 16 << QByteArray(" 2\r\n");
}

void EnvelopeOptionsTest::fontSizeAppliesToRecipientOnly()
{
    QFETCH(int, position);
    QFETCH(int, points);
    QFETCH(QByteArray, bytes);
    const int fromPoints = c().FromAddr->font().pointSize();
    c().cmbSize->setFocus(Qt::TabFocusReason);
    QTest::keyClick(c().cmbSize, position == 0 ? Qt::Key_Up : Qt::Key_Down);
    QCOMPARE(c().cmbSize->currentIndex(), position);
    QCOMPARE(c().ToAddr->font().pointSize(), points);
    QCOMPARE(c().FromAddr->font().pointSize(), fromPoints);
    QCOMPARE(m_f->bytes(SettingsFiles::FontSize), bytes);
}

void EnvelopeOptionsTest::returnAddressSavedOnEveryLeave()
{
    QTest::mouseClick(c().FromAddr->viewport(), Qt::LeftButton);
    QTest::mouseClick(c().ToAddr->viewport(), Qt::LeftButton);
    QCOMPARE(m_f->bytes(SettingsFiles::From), QByteArray("\r\n"));

    c().FromAddr->setText(QStringLiteral("Short"));
    m_f->put(SettingsFiles::From, "");
    QTest::mouseClick(c().FromAddr->viewport(), Qt::LeftButton);
    QCOMPARE(m_f->bytes(SettingsFiles::From), QByteArray("")); // typing or entering writes nothing
    QTest::mouseClick(c().optMargin[0], Qt::LeftButton); // a click elsewhere takes the focus
    QCOMPARE(m_f->bytes(SettingsFiles::From), QByteArray("Short\r\n"));
}

QTEST_MAIN(EnvelopeOptionsTest)
#include "envelopeoptions_test.moc"
