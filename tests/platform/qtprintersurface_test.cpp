#include "platform/qtprintersurface.h"
#include "support/testsupport.h"

#include <QFile>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class QtPrinterSurfaceTest : public QObject
{
    Q_OBJECT

private slots:
    // A document drawn then aborted (-1), one ended with nothing drawn (1), and a
    // printer that cannot begin (0) leave no file; the pixel width follows the dpi.
    void unfinishedDocumentWritesNothing()
    {
        const std::tuple<const char *, int, int, float> cases[] = {{"aborted.pdf", -1, 300, 4.8f},
            {"empty.pdf", 1, 1200, 1.2f}, {"no/such/folder/out.pdf", 0, 300, 4.8f}};
        for (const auto &[file, ended, dpi, twipsPerPixel] : cases) {
            QTemporaryDir dir;
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFileName(dir.filePath(QLatin1String(file))); // a PDF
            printer.setResolution(dpi);
            {
                QtPrinterSurface surface(printer);
                QCOMPARE(surface.TwipsPerPixelX(), twipsPerPixel);
                if (ended != 1)
                    surface.Print(u"half a page"_s);
                if (ended == 0)
                    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"cannot begin"_s));
                const bool sent = ended < 0 ? (surface.abortDoc(), true) : surface.EndDoc();
                QCOMPARE(std::pair(sent, surface.isOk()), std::pair(ended != 0, ended != 0));
            }
            QVERIFY(!QFile::exists(printer.outputFileName()));
        }
    }

    // Text lands in the size and weight that were set.
    void textInTheFontSet()
    {
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(dir.filePath(u"text.pdf"_s));
        {
            QtPrinterSurface surface(printer);
            surface.setFontSize(30);
            surface.setFontBold(true);
            surface.Print(u"Jane"_s);
            QVERIFY(surface.EndDoc());
        }
        const QString file = printer.outputFileName();
        QVERIFY(TestSupport::runTool(u"pdffonts"_s, {file}).contains("Bold"));
        const auto word
            = QRegularExpression(u"yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"([\\d.]+)\""_s)
                  .match(QString::fromUtf8(
                      TestSupport::runTool(u"pdftotext"_s, {u"-bbox"_s, file, u"-"_s})));
        const double height = word.captured(2).toDouble() - word.captured(1).toDouble();
        QVERIFY2(height > 25 && height < 40, qPrintable(QString::number(height)));
    }
};

QTEST_MAIN(QtPrinterSurfaceTest)
#include "qtprintersurface_test.moc"
