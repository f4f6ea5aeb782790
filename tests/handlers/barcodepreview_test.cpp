#include "formfixture.h"

#include "controls/addressbox.h"
#include "controls/drawingbox.h"
#include "logic/zipextraction.h"
#include "platform/screen.h"
#include "settings/settingsfiles.h"

#include <QCheckBox>
#include <QScreen>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// The bars in a picture of the preview, left to right: each run of columns
// holding dark pixels is one bar, its height the most dark pixels in a column.
struct Bars
{
    QList<int> heights;
    int firstLeft = -1;
};

Bars barsIn(const QImage &image)
{
    Bars bars;
    bool inBar = false;
    for (int x = 0; x < image.width(); ++x) {
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
        if (dark > 0 && !inBar) {
            bars.heights.append(dark);
            if (bars.firstLeft < 0)
                bars.firstLeft = x;
        } else if (dark > 0) {
            bars.heights.last() = std::max(bars.heights.last(), dark);
        }
        inBar = dark > 0;
    }
    return bars;
}

int barsExpectedFor(const QString &zipDigits)
{
    return zipDigits.isEmpty() ? 0 : 5 * (int(zipDigits.size()) + 1) + 2;
}

} // namespace

class BarcodePreviewTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup() { m_f.reset(); }

    void switchShowsAndHidesPreview()
    {
        QVERIFY(start());
        const Form1Controls &c = m_f->controls();
        typeRecipient(u"Springfield, IL 62704-1234"_s);
        QCOMPARE(zipDigits(), QString());

        clickSwitch();
        QCOMPARE(m_f->bytes(SettingsFiles::PrPnet), QByteArray(" 1 \r\n"));
        QVERIFY(c.picPostNet->isVisible());
        QCOMPARE(zipDigits(), u"627041234"_s);
        QCOMPARE(barsIn(onScreen()).heights.size(), 52);

        clickSwitch();
        QCOMPARE(m_f->bytes(SettingsFiles::PrPnet), QByteArray(" 0 \r\n"));
        QVERIFY(!c.picPostNet->isVisible());
        QCOMPARE(drawnBars().heights.size(), 0);
        typeRecipient(u"\nRoom 5"_s); // switched off, typing changes nothing
        QCOMPARE(zipDigits(), u"627041234"_s);
        QCOMPARE(drawnBars().heights.size(), 0);
    }

    void typingWithSwitchOnRedrawsOnEveryKeystroke()
    {
        QVERIFY(start(" 1 \r\n"));
        const QString typed = u"IL 62704-12"_s;
        const QStringList expectedDigits = {u""_s, u""_s, u""_s, u"6"_s, u"62"_s, u"627"_s,
            u"6270"_s, u"62704"_s, u"62704"_s, u"627041"_s, u"6270412"_s};
        QStringList digits, shown, wanted;
        for (qsizetype i = 0; i < typed.size(); ++i) {
            typeRecipient(typed.mid(i, 1));
            digits << zipDigits();
            shown << QString::number(barsIn(onScreen()).heights.size());
            wanted << QString::number(barsExpectedFor(expectedDigits[i]));
        }
        QCOMPARE(digits, expectedDigits);
        QCOMPARE(shown, wanted);
    }

    // The preview reads only the last lines, back to the one holding the ZIP, but
    // must find the same digits as a reading of the whole address.
    void programSetAddressRedrawsThePreview_data()
    {
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("digits");
        const QString city = u"Jane Doe\nSpringfield, IL 62704-1234"_s;
        QTest::newRow("lines without digits after") << city + u"\n  \n\nUSA"_s << u"627041234"_s;
        QTest::newRow("lone dash after") << city + u"\n-"_s << QString();
        QTest::newRow("line separator") << u"IL 62704\u2028Room 5"_s << u"5"_s;
        QTest::newRow("no digits") << u"Jane Doe\nSpringfield"_s << QString();
    }

    // The address set by the program, as an opened address file sets it.
    void programSetAddressRedrawsThePreview()
    {
        QFETCH(QString, address);
        QFETCH(QString, digits);
        QVERIFY(start(" 1 \r\n"));
        AddressBox *box = m_f->controls().ToAddr;
        box->setText(u"99999"_s);
        box->setText(address);
        QCOMPARE(zipDigits(), digits);
        QCOMPARE(zipDigits(), extractZipDigits(box->text()));
        QCOMPARE(drawnBars().heights.size(), barsExpectedFor(digits));
    }

    void leavingRecipientWritesIt_data()
    {
        QTest::addColumn<bool>("switchOn");
        QTest::addColumn<QString>("digitsAfter");
        QTest::newRow("switch on") << true << u"627041234"_s;
        QTest::newRow("switch off") << false << QString();
    }

    void leavingRecipientWritesIt()
    {
        QFETCH(bool, switchOn);
        QFETCH(QString, digitsAfter);
        QVERIFY(start(switchOn ? QByteArray(" 1 \r\n") : QByteArray(" 0 \r\n")));
        const Form1Controls &c = m_f->controls();
        typeRecipient(u"Jane Doe\n12 Elm Street\nSpringfield, IL 62704-1234"_s);
        QVERIFY(!m_f->exists(SettingsFiles::To));

        QTest::keyClick(c.ToAddr, Qt::Key_Tab);
        QCOMPARE(m_f->bytes(SettingsFiles::To),
            QByteArray("Jane Doe\r\n12 Elm Street\r\nSpringfield, IL 62704-1234\r\n"));
        QCOMPARE(zipDigits(), digitsAfter);
    }

    void zipPlus4DrawsFiftyTwoBarsThatSurviveRepaints()
    {
        QVERIFY(start(" 1 \r\n"));
        typeRecipient(u"Jane Doe\nSpringfield, IL 62704-1234"_s);
        const Bars bars = drawnBars();
        QCOMPARE(bars.heights.size(), 52);
        const int full = *std::max_element(bars.heights.begin(), bars.heights.end());
        const int half = *std::min_element(bars.heights.begin(), bars.heights.end());
        QCOMPARE(bars.heights.count(full), 22); // two per digit, check digit and frame bars
        QCOMPARE(bars.heights.count(half), 30);
        const qreal pixelsPerTwip
            = m_f->controls().picPostNet->devicePixelRatioF() / Screen::TwipsPerPixelX();
        QVERIFY2(qAbs(full - 190 * pixelsPerTwip) <= 1.0, qPrintable(QString::number(full)));
        QVERIFY2(qAbs(half - 70 * pixelsPerTwip) <= 1.0, qPrintable(QString::number(half)));
        QVERIFY(qAbs(bars.firstLeft - 50 * pixelsPerTwip) <= 1.0);

        const QImage before = onScreen();
        QCOMPARE(barsIn(before).heights.size(), 52);
        Form1 &form = m_f->form();
        form.hide();
        form.show();
        QVERIFY(QTest::qWaitForWindowExposed(&form));
        form.repaint();
        QTRY_COMPARE(onScreen(), before);
    }

private:
    // Starts the window, with "prpnet.txt" holding the bytes unless they are null.
    [[nodiscard]] bool start(const QByteArray &prpnet = {})
    {
        m_f = std::make_unique<FormFixture>();
        if (!prpnet.isNull())
            m_f->put(SettingsFiles::PrPnet, prpnet);
        return m_f->start();
    }

    void clickSwitch() { QTest::mouseClick(m_f->controls().Check2, Qt::LeftButton); }

    // Clicks into the recipient box and types at its end; a line feed is Enter.
    void typeRecipient(const QString &text)
    {
        AddressBox *box = m_f->controls().ToAddr;
        QTest::mouseClick(box->viewport(), Qt::LeftButton);
        box->moveCursor(QTextCursor::End);
        for (QChar c : text) {
            if (c == u'\n')
                QTest::keyClick(box, Qt::Key_Return);
            else
                QTest::keyClicks(box, QString(c));
        }
    }

    [[nodiscard]] QString zipDigits() const { return m_f->form().runState().ZipDigits; }
    [[nodiscard]] Bars drawnBars() const
    {
        return barsIn(m_f->controls().picPostNet->grab().toImage());
    }

    // The preview as the window last put it on the screen.
    [[nodiscard]] QImage onScreen()
    {
        QCoreApplication::processEvents();
        Form1 &form = m_f->form();
        const DrawingBox *box = m_f->controls().picPostNet;
        const QRect area(box->mapTo(&form, QPoint(0, 0)), box->size());
        return form.screen()
            ->grabWindow(form.winId(), area.x(), area.y(), area.width(), area.height())
            .toImage();
    }

    std::unique_ptr<FormFixture> m_f;
};

QTEST_MAIN(BarcodePreviewTest)
#include "barcodepreview_test.moc"
