#include "print/envelopepage.h"
#include "support/recordingprinter.h"

#include <QTest>

namespace {

// Long envelope, centre feed, 2 inches: return anchor (5.28, 6.5), recipient (13.58, 8.5).
EnvelopePageContent workedExample()
{
    EnvelopePageContent content;
    content.layout = layoutFor(1, FeedSide::Center, 2);
    content.printLogo = true;
    content.logo = QImage(40, 20, QImage::Format_RGB32);
    content.returnLines = QStringList {QStringLiteral("Ann Lee"), QStringLiteral("1 Elm St")};
    content.recipientLines = QStringList {
        QStringLiteral("Bo Ray"), QStringLiteral("2 Oak Ave"), QStringLiteral("Troy NY 12180")};
    content.fontPosition = 1;
    content.printBarCode = true;
    content.zipDigits = QStringLiteral("12180");
    return content;
}

struct BarCodeCall
{
    QString digits;
    int scaleMode = 0;
    float x = 0;
    float y = 0;
};

QStringList printedTexts(const RecordingPrinter &printer)
{
    QStringList lines;
    for (const PrinterCall &call : printer.calls()) {
        if (call.operation == u"Print")
            lines << call.text;
    }
    return lines;
}

} // namespace

class EnvelopePageTest : public QObject
{
    Q_OBJECT

private slots:
    void composesTheWholeEnvelopeInOrder();
    void recipientFontFollowsTheSizeList_data();
    void recipientFontFollowsTheSizeList();
    void emptyLinesKeepTheirSlots();
    void withoutLogoTheReturnAddressStartsAtTheAnchor();
    void missingReturnAddressLeavesTheLogo();
    void barCodeIsDrawnOnlyWhenSwitchedOn_data();
    void barCodeIsDrawnOnlyWhenSwitchedOn();
    void stopsAtTheFirstPrinterFailure();
};

void EnvelopePageTest::composesTheWholeEnvelopeInOrder()
{
    RecordingPrinter printer;
    QList<BarCodeCall> barCodes;
    const EnvelopePage page(workedExample(), [&](const QString &digits, DrawingSurface &surface) {
        barCodes << BarCodeCall {
            digits, surface.ScaleMode(), surface.CurrentX(), surface.CurrentY()};
    });

    QVERIFY(page.compose(printer));

    const QStringList expected {
        QStringLiteral("setLandscape"),
        QStringLiteral("setScaleMode 7"),
        QStringLiteral("PaintPicture 5.28 6.5 1.5 1.5 \"40x20\""),
        QStringLiteral("setFontSize 10"),
        QStringLiteral("setFontBold 0"),
        QStringLiteral("setCurrentX 7.28"),
        QStringLiteral("setCurrentY 6.5"),
        QStringLiteral("Print \"Ann Lee\" @7.28,6.5"),
        QStringLiteral("setCurrentX 7.28"),
        QStringLiteral("setCurrentY 7"),
        QStringLiteral("Print \"1 Elm St\" @7.28,7"),
        QStringLiteral("setFontSize 14"),
        QStringLiteral("setFontBold 1"),
        QStringLiteral("setCurrentX 13.58"),
        QStringLiteral("setCurrentY 9.5"),
        QStringLiteral("Print \"Bo Ray\" @13.58,9.5"),
        QStringLiteral("setCurrentX 13.58"),
        QStringLiteral("setCurrentY 10.1"),
        QStringLiteral("Print \"2 Oak Ave\" @13.58,10.1"),
        QStringLiteral("setCurrentX 13.58"),
        QStringLiteral("setCurrentY 10.7"),
        QStringLiteral("Print \"Troy NY 12180\" @13.58,10.7"),
        QStringLiteral("setCurrentX 13.58"),
        QStringLiteral("setCurrentY 11.8"),
    };
    QCOMPARE(printer.log(), expected);

    QCOMPARE(barCodes.size(), 1);
    QCOMPARE(barCodes[0].digits, QStringLiteral("12180"));
    QCOMPARE(barCodes[0].scaleMode, DrawingSurface::Centimeters);
    QCOMPARE(barCodes[0].x, 13.58f);
    QCOMPARE(barCodes[0].y, 11.8f);

    // The return address is plain and the recipient emphasised, whatever the printer had before.
    const QList<PrinterCall> prints = printer.callsOf(QStringLiteral("Print"));
    QCOMPARE(prints.first().fontPoints, 10.0);
    QCOMPARE(prints.first().fontBold, false);
    QCOMPARE(prints.last().fontBold, true);
    QVERIFY(prints.first().landscape);
}

void EnvelopePageTest::recipientFontFollowsTheSizeList_data()
{
    QTest::addColumn<int>("fontPosition");
    QTest::addColumn<double>("points");
    QTest::addColumn<QList<float>>("lineYs");
    QTest::addColumn<float>("barCodeY");

    // Recipient anchor y = 8.5: first line at 9.5.
    QTest::newRow("Small") << 0 << 10.0 << QList<float> {9.5f, 10.0f, 10.5f} << 11.5f;
    QTest::newRow("Medium") << 1 << 14.0 << QList<float> {9.5f, 10.1f, 10.7f} << 11.8f;
    QTest::newRow("Large") << 2 << 18.0 << QList<float> {9.5f, 10.25f, 11.0f} << 12.25f;
}

void EnvelopePageTest::recipientFontFollowsTheSizeList()
{
    QFETCH(int, fontPosition);
    QFETCH(double, points);
    QFETCH(QList<float>, lineYs);

    EnvelopePageContent content = workedExample();
    content.fontPosition = fontPosition;
    RecordingPrinter printer;
    float barCodeY = 0;
    const EnvelopePage page(
        content, [&](const QString &, DrawingSurface &surface) { barCodeY = surface.CurrentY(); });
    QVERIFY(page.compose(printer));

    const QList<PrinterCall> recipient = printer.callsOf(QStringLiteral("Print")).mid(2);
    QCOMPARE(recipient.size(), lineYs.size());
    for (int k = 0; k < recipient.size(); ++k) {
        QCOMPARE(recipient[k].fontPoints, points);
        QVERIFY(recipient[k].fontBold);
        QCOMPARE(recipient[k].penX, 13.58f);
        QCOMPARE(recipient[k].penY, lineYs[k]);
    }
    QTEST(barCodeY, "barCodeY");
}

void EnvelopePageTest::emptyLinesKeepTheirSlots()
{
    EnvelopePageContent content = workedExample();
    content.returnLines
        = QStringList {QStringLiteral("Ann Lee"), QString(), QStringLiteral("Troy")};
    content.recipientLines = QStringList {QStringLiteral("Bo Ray"), QString(), QString()};
    RecordingPrinter printer;
    float barCodeY = 0;
    const EnvelopePage page(
        content, [&](const QString &, DrawingSurface &surface) { barCodeY = surface.CurrentY(); });
    QVERIFY(page.compose(printer));

    const QList<PrinterCall> prints = printer.callsOf(QStringLiteral("Print"));
    QCOMPARE(prints.size(), 6);
    QCOMPARE(prints[1].text, QString());
    QCOMPARE(prints[2].penY, 7.5f);
    QCOMPARE(prints[5].text, QString());
    QCOMPARE(prints[5].penY, 10.7f);
    QCOMPARE(barCodeY, 11.8f);
}

void EnvelopePageTest::withoutLogoTheReturnAddressStartsAtTheAnchor()
{
    EnvelopePageContent content = workedExample();
    content.printLogo = false;
    RecordingPrinter printer;
    QVERIFY(EnvelopePage(content, {}).compose(printer));

    QVERIFY(printer.callsOf(QStringLiteral("PaintPicture")).isEmpty());
    const QList<PrinterCall> prints = printer.callsOf(QStringLiteral("Print"));
    QCOMPARE(prints[0].penX, 5.28f);
    QCOMPARE(prints[1].penX, 5.28f);
}

void EnvelopePageTest::missingReturnAddressLeavesTheLogo()
{
    EnvelopePageContent content = workedExample();
    content.returnLines.clear();
    RecordingPrinter printer;
    QVERIFY(EnvelopePage(content, {}).compose(printer));

    QCOMPARE(printer.callsOf(QStringLiteral("PaintPicture")).size(), 1);
    QCOMPARE(printedTexts(printer),
        QStringList({QStringLiteral("Bo Ray"), QStringLiteral("2 Oak Ave"),
            QStringLiteral("Troy NY 12180")}));
}

void EnvelopePageTest::barCodeIsDrawnOnlyWhenSwitchedOn_data()
{
    QTest::addColumn<bool>("switchedOn");
    QTest::addColumn<QString>("digits");
    QTest::addColumn<int>("expectedCalls");

    QTest::newRow("on") << true << QStringLiteral("12180") << 1;
    QTest::newRow("on without digits") << true << QString() << 1;
    QTest::newRow("off") << false << QStringLiteral("12180") << 0;
}

void EnvelopePageTest::barCodeIsDrawnOnlyWhenSwitchedOn()
{
    QFETCH(bool, switchedOn);
    QFETCH(QString, digits);

    EnvelopePageContent content = workedExample();
    content.printBarCode = switchedOn;
    content.zipDigits = digits;
    RecordingPrinter printer;
    QStringList drawn;
    const EnvelopePage page(content, [&](const QString &text, DrawingSurface &) { drawn << text; });
    QVERIFY(page.compose(printer));

    QTEST(int(drawn.size()), "expectedCalls");
    if (!drawn.isEmpty())
        QCOMPARE(drawn.first(), digits);
    // The pen is placed for the bar code either way.
    QCOMPARE(printer.log().mid(printer.log().size() - 2),
        QStringList({QStringLiteral("setCurrentX 13.58"), QStringLiteral("setCurrentY 11.8")}));
}

void EnvelopePageTest::stopsAtTheFirstPrinterFailure()
{
    RecordingPrinter printer;
    printer.failFromCall(2); // the logo
    bool barCodeDrawn = false;
    const EnvelopePage page(
        workedExample(), [&](const QString &, DrawingSurface &) { barCodeDrawn = true; });

    QVERIFY(!page.compose(printer));

    QCOMPARE(printer.calls().size(), 3);
    QVERIFY(!barCodeDrawn);
}

QTEST_APPLESS_MAIN(EnvelopePageTest)
#include "envelopepage_test.moc"
