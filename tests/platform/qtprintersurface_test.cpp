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
        QTest::newRow("600 dpi") << 600 << 2.4f;
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
        QTest::addColumn<bool>("drawSomething");
        QTest::addColumn<bool>("abort");
        QTest::addColumn<bool>("ended"); // what EndDoc answers, when it is called

        QTest::newRow("drawn, then aborted") << "aborted.pdf" << true << true << false;
        QTest::newRow("ended with nothing drawn") << "empty.pdf" << false << false << true;
        QTest::newRow("printer cannot begin") << "no/such/folder/out.pdf" << true << false << false;
    }

    void unfinishedDocumentWritesNothing()
    {
        QFETCH(QString, file);
        QFETCH(bool, drawSomething);
        QFETCH(bool, abort);
        QFETCH(bool, ended);

        QTemporaryDir dir;
        const QString pdf = dir.filePath(file);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        {
            QtPrinterSurface surface(printer);
            if (drawSomething) {
                surface.Print(QStringLiteral("half a page"));
                surface.Line(0, 0, 100, 100);
            }
            if (abort) {
                surface.abortDoc();
            } else {
                if (!ended)
                    QTest::ignoreMessage(
                        QtWarningMsg, QRegularExpression(QStringLiteral("cannot begin")));
                QCOMPARE(surface.EndDoc(), ended);
                QCOMPARE(surface.isOk(), ended);
            }
        }
        QVERIFY(!QFile::exists(pdf));
    }
};

QTEST_MAIN(QtPrinterSurfaceTest)
#include "qtprintersurface_test.moc"
