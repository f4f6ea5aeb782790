#include "platform/qtprintersurface.h"

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

// What lands on the page is checked through the print job's PDF and CUPS cases.
class QtPrinterSurfaceTest : public QObject
{
    Q_OBJECT

private slots:
    void pixelWidthFollowsThePrinterResolution_data()
    {
        QTest::addColumn<int>("dpi");
        QTest::addColumn<float>("twipsPerPixel");
        QTest::newRow("300 dpi") << 300 << 4.8f;
        QTest::newRow("1200 dpi") << 1200 << 1.2f;
    }

    void pixelWidthFollowsThePrinterResolution()
    {
        QFETCH(int, dpi);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setResolution(dpi);
        QTEST(QtPrinterSurface(printer).TwipsPerPixelX(), "twipsPerPixel");
    }

    void unfinishedDocumentWritesNothing_data()
    {
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("draw");
        QTest::addColumn<int>("ended"); // what EndDoc answers; -1: aborted instead
        QTest::newRow("drawn, then aborted") << "aborted.pdf" << true << -1;
        QTest::newRow("ended with nothing drawn") << "empty.pdf" << false << 1;
        QTest::newRow("printer cannot begin") << "no/such/folder/out.pdf" << true << 0;
    }

    void unfinishedDocumentWritesNothing()
    {
        QFETCH(QString, file);
        QFETCH(bool, draw);
        QFETCH(int, ended);
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(file));
        {
            QtPrinterSurface surface(printer);
            if (draw) {
                surface.Print(QStringLiteral("half a page"));
                surface.Line(0, 0, 100, 100);
            }
            if (ended == 0)
                QTest::ignoreMessage(
                    QtWarningMsg, QRegularExpression(QStringLiteral("cannot begin")));
            if (ended < 0) {
                surface.abortDoc();
            } else {
                QCOMPARE(surface.EndDoc(), bool(ended));
                QCOMPARE(surface.isOk(), bool(ended));
            }
        }
        QVERIFY(!QFile::exists(dir.filePath(file)));
    }
};

QTEST_MAIN(QtPrinterSurfaceTest)
#include "qtprintersurface_test.moc"
