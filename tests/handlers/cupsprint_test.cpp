#include "cupsharness.h"
#include "platform/qtprintersurface.h"

#include <QDir>
#include <QPrinter>
#include <QTest>

// The envelope's way through the queue is checked by the print job's test.
class CupsPrintTest : public QObject
{
    Q_OBJECT

private slots:
    void abortedPageNeverReachesTheQueue()
    {
        CupsHarness cups;
        if (!cups.start())
            QSKIP(qPrintable(QStringLiteral("no private CUPS scheduler: ") + cups.errorString()));
        QPrinter printer(QPrinter::HighResolution);
        printer.setPrinterName(QLatin1StringView(CupsHarness::QueueName));
        QVERIFY2(printer.isValid(), "the private queue is not visible to Qt");

        printer.setDocName(QStringLiteral("dropped"));
        QtPrinterSurface dropped(printer);
        dropped.Print(QStringLiteral("half a page"));
        dropped.abortDoc();
        printer.setDocName(QStringLiteral("ended"));
        QtPrinterSurface ended(printer);
        ended.Print(QStringLiteral("a whole page"));
        QVERIFY(ended.EndDoc());

        // Jobs leave the queue in order: a sent dropped page would have come first.
        QVERIFY2(!cups.waitForPdf(90000).isEmpty(), "no PDF came out of the queue");
        const QStringList pdfs = QDir(cups.pdfFolder()).entryList({QStringLiteral("*.pdf")});
        QCOMPARE(pdfs.size(), 1);
        QVERIFY2(pdfs.first().startsWith(u"ended"), qPrintable(pdfs.first()));
    }
};

QTEST_MAIN(CupsPrintTest)
#include "cupsprint_test.moc"
