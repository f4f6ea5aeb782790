#include "pdfpage.h"
#include "platform/qtprintersurface.h"
#include "testsupport.h"

#include <QFile>
#include <QImage>
#include <QPrinter>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

namespace {

constexpr double PointsPerCm = 72 / 2.54;

bool toolMissing(const QString &tool)
{
    return QStandardPaths::findExecutable(tool).isEmpty();
}

void makePdfPrinter(QPrinter &printer, const QString &path)
{
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(path);
}

} // namespace

class QtPrinterSurfaceTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void textTopLeftLandsAtThePen_data();
    void textTopLeftLandsAtThePen();
    void boxesComeOutAtTheirSize_data();
    void boxesComeOutAtTheirSize();
    void penStaysInPlaceAcrossAChangeOfUnit();
    void pixelWidthFollowsThePrinterResolution_data();
    void pixelWidthFollowsThePrinterResolution();
    void abortedOrEmptyDocumentSendsNothing_data();
    void abortedOrEmptyDocumentSendsNothing();
    void printerThatCannotBeginFails();

private:
    QTemporaryDir m_dir;
};

void QtPrinterSurfaceTest::initTestCase()
{
    QVERIFY(m_dir.isValid());
    for (const char *tool : {"pdftotext", "pdftoppm", "pdffonts"}) {
        if (toolMissing(QLatin1StringView(tool)))
            QSKIP("poppler-utils (pdftotext, pdftoppm, pdffonts) is not installed");
    }
}

void QtPrinterSurfaceTest::textTopLeftLandsAtThePen_data()
{
    QTest::addColumn<float>("xCm");
    QTest::addColumn<float>("yCm");
    QTest::addColumn<double>("points");
    QTest::addColumn<bool>("bold");

    QTest::newRow("return line, 10 pt") << 7.28f << 6.5f << 10.0 << false;
    QTest::newRow("recipient line, 14 pt bold") << 13.58f << 9.5f << 14.0 << true;
    QTest::newRow("near the origin, 18 pt bold") << 0.2f << 1.0f << 18.0 << true;
}

void QtPrinterSurfaceTest::textTopLeftLandsAtThePen()
{
    QFETCH(float, xCm);
    QFETCH(float, yCm);
    QFETCH(double, points);
    QFETCH(bool, bold);

    const QString pdf = m_dir.filePath(QStringLiteral("text.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    makePdfPrinter(printer, pdf);
    QtPrinterSurface surface(printer);
    surface.setLandscape();
    surface.setScaleMode(DrawingSurface::Centimeters);
    surface.setFontSize(points);
    surface.setFontBold(bold);
    surface.setCurrentX(xCm);
    surface.setCurrentY(yCm);
    surface.Print(QStringLiteral("Quillmark"));
    QVERIFY(surface.EndDoc());

    const PdfPage page(pdf, printer.pageLayout().paintRect(QPageLayout::Point).topLeft());
    QCOMPARE(page.wordCount(), 1);
    const QRectF box = page.wordBox(QStringLiteral("Quillmark"));
    const double toleranceCm = 0.05;
    QVERIFY(qAbs(box.left() - xCm) < toleranceCm);
    QVERIFY(qAbs(box.top() - yCm) < toleranceCm);
    // The glyph box of a 10 pt line is about 10 pt high.
    QVERIFY(qAbs(box.height() * PointsPerCm - points) < points * 0.3);
    const QByteArray fonts = TestSupport::runTool(QStringLiteral("pdffonts"), {pdf});
    QCOMPARE(fonts.contains("Bold"), bold);
}

void QtPrinterSurfaceTest::boxesComeOutAtTheirSize_data()
{
    QTest::addColumn<bool>("picture");
    QTest::addColumn<QRectF>("boxTwips");
    QTest::addColumn<QRect>("expectedPixels"); // at 300 dpi, from the printable area's corner

    QTest::newRow("one inch by half an inch")
        << false << QRectF(1440, 720, 1440, 720) << QRect(300, 150, 300, 150);
    QTest::newRow("full bar at 300 dpi")
        << false << QRectF(2880, 2880, 24, 190) << QRect(600, 600, 5, 40);
    QTest::newRow("logo stretched into its box")
        << true << QRectF(1440, 1440, 1440, 720) << QRect(300, 300, 300, 150);
}

void QtPrinterSurfaceTest::boxesComeOutAtTheirSize()
{
    QFETCH(bool, picture);
    QFETCH(QRectF, boxTwips);
    QFETCH(QRect, expectedPixels);

    const QString pdf = m_dir.filePath(QStringLiteral("box.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    makePdfPrinter(printer, pdf);
    QtPrinterSurface surface(printer);
    surface.setLandscape();
    const QRgb colour = picture ? qRgb(255, 0, 0) : qRgb(0, 0, 0);
    if (picture) {
        QImage square(10, 10, QImage::Format_RGB32);
        square.fill(colour);
        surface.PaintPicture(square, float(boxTwips.x()), float(boxTwips.y()),
            float(boxTwips.width()), float(boxTwips.height()));
    } else {
        surface.Line(float(boxTwips.x()), float(boxTwips.y()), float(boxTwips.right()),
            float(boxTwips.bottom()));
    }
    QVERIFY(surface.EndDoc());

    const PdfPage page(pdf, printer.pageLayout().paintRect(QPageLayout::Point).topLeft(), 300);
    QVERIFY(page.isLandscape());
    const QRectF printable(0, 0, 30, 30);
    const QRect found = page.pixelsOf(printable, colour);
    QVERIFY(qAbs(found.left() - expectedPixels.left()) <= 1);
    QVERIFY(qAbs(found.top() - expectedPixels.top()) <= 1);
    QVERIFY(qAbs(found.width() - expectedPixels.width()) <= 1);
    QVERIFY(qAbs(found.height() - expectedPixels.height()) <= 1);
}

void QtPrinterSurfaceTest::penStaysInPlaceAcrossAChangeOfUnit()
{
    QPrinter printer(QPrinter::HighResolution);
    QtPrinterSurface surface(printer);
    QCOMPARE(surface.ScaleMode(), DrawingSurface::Twips);

    surface.setScaleMode(DrawingSurface::Centimeters);
    surface.setCurrentX(2.54f);
    surface.setCurrentY(13.58f);
    surface.setScaleMode(DrawingSurface::Twips);
    QCOMPARE(surface.CurrentX(), 1440.0f);
    surface.setCurrentX(surface.CurrentX() + 67);
    surface.setScaleMode(DrawingSurface::Centimeters);
    QCOMPARE(surface.CurrentX(), float((1440 + 67) * 2.54 / 1440));
    QCOMPARE(surface.CurrentY(), 13.58f);
}

void QtPrinterSurfaceTest::pixelWidthFollowsThePrinterResolution_data()
{
    QTest::addColumn<int>("dpi");
    QTest::addColumn<float>("twipsPerPixel");

    QTest::newRow("300 dpi") << 300 << 4.8f;
    QTest::newRow("600 dpi") << 600 << 2.4f;
    QTest::newRow("1200 dpi") << 1200 << 1.2f;
}

void QtPrinterSurfaceTest::pixelWidthFollowsThePrinterResolution()
{
    QFETCH(int, dpi);
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setResolution(dpi);
    const QtPrinterSurface surface(printer);
    QTEST(surface.TwipsPerPixelX(), "twipsPerPixel");
}

void QtPrinterSurfaceTest::abortedOrEmptyDocumentSendsNothing_data()
{
    QTest::addColumn<bool>("drawSomething");
    QTest::addColumn<bool>("abort");

    QTest::newRow("drawn, then aborted") << true << true;
    QTest::newRow("ended with nothing drawn") << false << false;
}

void QtPrinterSurfaceTest::abortedOrEmptyDocumentSendsNothing()
{
    QFETCH(bool, drawSomething);
    QFETCH(bool, abort);

    const QString pdf = m_dir.filePath(QStringLiteral("nothing.pdf"));
    QFile::remove(pdf);
    QPrinter printer(QPrinter::HighResolution);
    makePdfPrinter(printer, pdf);
    {
        QtPrinterSurface surface(printer);
        if (drawSomething) {
            surface.Print(QStringLiteral("half a page"));
            surface.Line(0, 0, 100, 100);
        }
        if (abort)
            surface.abortDoc();
        else
            QVERIFY(surface.EndDoc());
    }
    QVERIFY(!QFile::exists(pdf));
}

void QtPrinterSurfaceTest::printerThatCannotBeginFails()
{
    QPrinter printer(QPrinter::HighResolution);
    makePdfPrinter(printer, m_dir.filePath(QStringLiteral("no/such/folder/out.pdf")));
    QtPrinterSurface surface(printer);
    surface.Print(QStringLiteral("Quillmark"));
    QVERIFY(surface.isOk());

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("cannot begin")));
    QVERIFY(!surface.EndDoc());
    QVERIFY(!surface.isOk());
}

QTEST_MAIN(QtPrinterSurfaceTest)
#include "qtprintersurface_test.moc"
