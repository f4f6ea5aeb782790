#include "cupsharness.h"
#include "pdfpage.h"
#include "platform/qtprintersurface.h"

#include <QDir>
#include <QPrinter>
#include <QTest>

namespace {
constexpr int RenderDpi = 100;
} // namespace

class CupsPrintTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void onlyTheEndedPageReachesTheQueueAsPdf();

private:
    CupsHarness m_cups;
};

void CupsPrintTest::initTestCase()
{
    if (!m_cups.start())
        QSKIP(qPrintable(QStringLiteral("no private CUPS scheduler: ") + m_cups.errorString()));
}

void CupsPrintTest::onlyTheEndedPageReachesTheQueueAsPdf()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setPrinterName(QLatin1StringView(CupsHarness::QueueName));
    QVERIFY2(printer.isValid(), "the private queue is not visible to Qt");
    QCOMPARE(printer.outputFormat(), QPrinter::NativeFormat);

    printer.setDocName(QStringLiteral("dropped"));
    QtPrinterSurface dropped(printer);
    dropped.Print(QStringLiteral("half a page"));
    dropped.abortDoc();

    printer.setDocName(QStringLiteral("envelope"));
    QtPrinterSurface surface(printer);
    surface.setLandscape();
    surface.setScaleMode(DrawingSurface::Centimeters);
    surface.setFontSize(14);
    surface.setCurrentX(5);
    surface.setCurrentY(5);
    surface.Print(QStringLiteral("Quillmark"));
    surface.Line(5, 7, 10, 8);
    QVERIFY(surface.EndDoc());

    const QString pdf = m_cups.waitForPdf(90000);
    QVERIFY2(!pdf.isEmpty(), "no PDF came out of the queue");
    // Jobs leave the queue in order: a sent dropped page would have come first.
    const QStringList pdfs = QDir(m_cups.pdfFolder()).entryList({QStringLiteral("*.pdf")});
    QCOMPARE(pdfs.size(), 1);
    QVERIFY2(pdfs.first().startsWith(u"envelope"), qPrintable(pdfs.first()));
    const PdfPage page(pdf, {}, RenderDpi);
    QCOMPARE(page.pageCount(), 1);

    // The queue's paper is portrait and carries the landscape page turned: the
    // 5 cm of text and box along the envelope run down the paper, the 3 cm
    // from the top of the text to the bottom of the box across it.
    const QRectF paper(0, 0, 30, 30);
    const QRect ink = page.pixelsOf(paper, qRgb(0, 0, 0));
    const double cmPerPixel = 2.54 / RenderDpi;
    QVERIFY2(
        qAbs(ink.height() * cmPerPixel - 5.0) < 0.1, qPrintable(QString::number(ink.height())));
    QVERIFY2(ink.width() * cmPerPixel > 2.7 && ink.width() * cmPerPixel < 3.1,
        qPrintable(QString::number(ink.width())));
}

QTEST_MAIN(CupsPrintTest)
#include "cupsprint_test.moc"
