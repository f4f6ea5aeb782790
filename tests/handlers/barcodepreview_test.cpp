#include "formfixture.h"

#include "controls/accessibility.h"
#include "controls/addressbox.h"
#include "controls/backcolor.h"
#include "controls/drawingbox.h"
#include "logic/zipextraction.h"
#include "platform/screen.h"
#include "settings/settingsfiles.h"

#include <QCheckBox>
#include <QTest>

using namespace Qt::StringLiterals;

class BarcodePreviewTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_f = std::make_unique<FormFixture>();
        QVERIFY(m_f->start());
    }

    void switchShowsAndHidesThePreview()
    {
        type(u"Springfield, IL 62704-1234"_s);
        QCOMPARE(digits(), QString());
        QTest::mouseClick(c().Check2, Qt::LeftButton);
        QCOMPARE(m_f->bytes(SettingsFiles::PrPnet), QByteArray(" 1 \r\n"));
        QVERIFY(c().picPostNet->isVisible());
        QCOMPARE(digits(), u"627041234"_s);
        QCOMPARE(bars(), 52);
        QCOMPARE(
            c().picPostNet->accessibleDescription(), Accessibility::previewDescription(digits()));

        QTest::mouseClick(c().Check2, Qt::LeftButton);
        QCOMPARE(m_f->bytes(SettingsFiles::PrPnet), QByteArray(" 0 \r\n"));
        QVERIFY(!c().picPostNet->isVisible());
        QCOMPARE(bars(), 0);
        type(u"\nRoom 5"_s); // switched off, typing changes nothing
        QCOMPARE(digits(), u"627041234"_s);
    }

    // Each keystroke redraws, but only when the digits change.
    void typingRedrawsThePreview()
    {
        QTest::mouseClick(c().Check2, Qt::LeftButton);
        QStringList seen;
        for (const QString &key : {u"I"_s, u"6"_s, u"2"_s, u" "_s, u"1"_s}) {
            const quint64 drawn = c().picPostNet->drawingCount();
            type(key);
            seen << u"%1:%2:%3"_s.arg(digits()).arg(bars()).arg(
                c().picPostNet->drawingCount() > drawn);
        }
        QCOMPARE(
            seen, QStringList({u":0:0"_s, u"6:12:1"_s, u"62:17:1"_s, u"62:17:0"_s, u"1:12:1"_s}));
        const qreal pixelsPerTwip = c().picPostNet->devicePixelRatioF() / Screen::TwipsPerPixelX();
        QVERIFY(qAbs(m_firstBar - 50 * pixelsPerTwip) <= 1.0);
    }

    // The preview reads back from the last line only as far as the ZIP code.
    void addressSetByTheProgram_data()
    {
        QTest::addColumn<QString>("address");
        const QString city = u"Jane Doe\nSpringfield, IL 62704-1234"_s;
        QTest::newRow("lines without digits after") << city + u"\n  \n\nUSA"_s;
        QTest::newRow("lone dash after") << city + u"\n-"_s;
        QTest::newRow("line separator") << u"IL 62704\u2028Room 5"_s;
    }

    void addressSetByTheProgram()
    {
        QFETCH(QString, address);
        QTest::mouseClick(c().Check2, Qt::LeftButton);
        c().ToAddr->setText(u"99999"_s);
        c().ToAddr->setText(address);
        QCOMPARE(digits(), extractZipDigits(address));
        QCOMPARE(bars(), digits().isEmpty() ? 0 : 5 * (int(digits().size()) + 1) + 2);
    }

    void leavingTheRecipientWritesIt()
    {
        type(u"Jane\nIL 62704"_s);
        QCOMPARE(BackColor::of(c().ToAddr), BackColor::White);
        QVERIFY(!m_f->exists(SettingsFiles::To));
        c().Check2->setChecked(true);
        m_f->form().runState().ZipDigits.clear();
        QTest::keyClick(c().ToAddr, Qt::Key_Tab);
        QCOMPARE(m_f->bytes(SettingsFiles::To), QByteArray("Jane\r\nIL 62704\r\n"));
        QCOMPARE(digits(), u"62704"_s);
        QCOMPARE(BackColor::of(c().ToAddr), BackColor::PaleYellow);
    }

private:
    [[nodiscard]] const Form1Controls &c() const { return m_f->controls(); }
    [[nodiscard]] QString digits() const { return m_f->form().runState().ZipDigits; }

    // Clicks into the recipient box and types at its end; a line feed is Enter.
    void type(const QString &text)
    {
        QTest::mouseClick(c().ToAddr->viewport(), Qt::LeftButton);
        c().ToAddr->moveCursor(QTextCursor::End);
        for (const QChar ch : text)
            ch == u'\n' ? QTest::keyClick(c().ToAddr, Qt::Key_Return)
                        : QTest::keyClicks(c().ToAddr, QString(ch));
    }

    // The bars shown: runs of columns holding dark pixels.
    int bars()
    {
        const QImage image = c().picPostNet->grab().toImage();
        int count = 0;
        bool inBar = false;
        for (int x = 0; x < image.width(); ++x) {
            bool dark = false;
            for (int y = 0; y < image.height() && !dark; ++y)
                dark = qGray(image.pixel(x, y)) < 128;
            if (dark && !inBar && count++ == 0)
                m_firstBar = x;
            inBar = dark;
        }
        return count;
    }

    std::unique_ptr<FormFixture> m_f;
    int m_firstBar = -1;
};

QTEST_MAIN(BarcodePreviewTest)
#include "barcodepreview_test.moc"
