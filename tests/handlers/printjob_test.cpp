#include "formfixture.h"
#include "recordingprinter.h"
#include "scripteddialog.h"

#include "controls/addressbox.h"
#include "controls/imagebox.h"
#include "handlers/printjob.h"
#include "platform/qtprintersurface.h"
#include "settings/settingsfiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDirIterator>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Recipient = u"Bo Ray\r\n2 Oak Ave\r\nTroy NY 12180-1234"_s;
constexpr QRgb LogoColour = 0xffff0000;

// The page the recording printer got, without pen moves, unit changes and the
// bars after the first.
QStringList pageOf(const RecordingPrinter &printer)
{
    QStringList page;
    for (const QString &call : printer.log()) {
        if (!call.startsWith(u"setCurrent") && !call.startsWith(u"setScaleMode")
            && !(call.startsWith(u"Line") && page.last().startsWith(u"Line")))
            page << call;
    }
    return page;
}

// The envelope with the logo, the return address at (x, y) and the recipient
// in Medium or Large at (rx, ry), all in centimetres, and the bar code under it.
QStringList expectedPage(double x, double y, double rx, double ry, bool large = false)
{
    const double step = large ? 0.75 : 0.6;
    const auto at = [](double cx, double cy) { return u" @%1,%2"_s.arg(cx).arg(cy); };
    const auto twips = [](double cm) {
        return QString::number(float(double(float(cm)) * (1440 / 2.54)), 'g', 6);
    };
    return {u"setLandscape"_s, u"PaintPicture %1 %2 1.5 1.5 \"40x20\""_s.arg(x).arg(y),
        u"setFontSize 10"_s, u"setFontBold 0"_s, u"Print \"Ann Lee\""_s + at(x + 2, y),
        u"Print \"1 Elm St\""_s + at(x + 2, y + 0.5), u"setFontSize %1"_s.arg(large ? 18 : 14),
        u"setFontBold 1"_s, u"Print \"Bo Ray\""_s + at(rx, ry + 1),
        u"Print \"2 Oak Ave\""_s + at(rx, ry + 1 + step),
        u"Print \"Troy NY 12180-1234\""_s + at(rx, ry + 1 + 2 * step),
        u"Line %1 %2 %3 %4"_s.arg(twips(rx), twips(ry + 1.5 + 3 * step))
            .arg(twips(rx).toFloat() + 24)
            .arg(twips(ry + 1.5 + 3 * step).toFloat() + 190),
        u"EndDoc"_s};
}

} // namespace

class PrintJobTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // Before the first QPrinter: Qt finds its printers once per process.
        m_cups.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_cups.start(u"bash"_s, {QStringLiteral(QUILLMARK_PRIVATE_CUPS), m_cupsDir.path()});
        while (!m_cups.canReadLine() && m_cups.waitForReadyRead(60000)) { }
        if (m_cups.readLine() == "ready\n")
            qputenv("CUPS_SERVER", QFile::encodeName(m_cupsDir.filePath(u"cups.sock"_s)));
    }

    void cleanupTestCase()
    {
        m_cups.closeWriteChannel();
        m_cups.waitForFinished();
    }

    void init() { openWindow(); }

    void page_data()
    {
        QTest::addColumn<int>("size"); // -1: nothing selected
        QTest::addColumn<double>("margin");
        QTest::addColumn<QStringList>("page");
        QTest::newRow("small, centre, 2 in, Large")
            << 0 << 2.0 << expectedPage(5.28, 6.5, 12.08, 8.5, true);
        QTest::newRow("nothing selected: long, right")
            << -1 << 0.0 << expectedPage(0.2, 11.5, 8.5, 13.5);
        QTest::newRow("edge space fits no envelope")
            << 1 << 1e300 << expectedPage(0.2, 6.5, 8.5, 8.5);
    }

    void page()
    {
        QFETCH(int, size);
        QFETCH(double, margin);
        if (size >= 0) {
            QTest::mouseClick(c().OptSize[size], Qt::LeftButton);
            c().cmbSize->setCurrentIndex(size == 0 ? 2 : 1);
            QTest::mouseClick(c().Option3, Qt::LeftButton);
            QTest::mouseClick(c().optMargin[2], Qt::LeftButton);
        } else {
            openWindow(true);
            QCOMPARE(c().cmbSize->currentIndex(), -1);
        }
        if (margin > 100)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"fits no envelope"_s));
        m_f->form().runState().marginInches = margin;
        fillEnvelope();
        m_dialog->confirmPrinter(true);
        QTest::mouseClick(c().Print, Qt::LeftButton);
        QTEST(pageOf(*m_printer), "page");
        QCOMPARE(m_printer->boxes().size(), 52);
        QCOMPARE(m_f->bytes(SettingsFiles::To), Recipient.toLatin1() + "\r\n");
        QCOMPARE(m_dialog->printRequests().size(), 1);
        QVERIFY(!m_dialog->printRequests()[0].allowSelection);
        QVERIFY(!m_dialog->printRequests()[0].allowPrintToFile);
    }

    // Printed or not, the preview shows the box's address again.
    void nothingSentUnlessAllWentWell_data()
    {
        QTest::addColumn<QString>("what");
        QTest::addColumn<QString>("lastCall"); // none when nothing was drawn
        QTest::newRow("dialog cancelled") << u"cancel"_s << QString();
        QTest::newRow("recipient cannot be saved") << u"to.txt"_s << QString();
        QTest::newRow("printer fails after the logo") << u"fail"_s << u"abortDoc"_s;
    }

    void nothingSentUnlessAllWentWell()
    {
        QFETCH(QString, what);
        QFETCH(QString, lastCall);
        fillEnvelope();
        m_dialog->confirmPrinter(what != u"cancel");
        if (what == u"to.txt") {
            QVERIFY(QFile::remove(m_f->path(what)) && QDir(m_f->folder()).mkdir(what));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"is a folder"_s));
        } else if (what == u"fail") {
            m_printer->failFromCall(7);
        }
        if (what != u"cancel")
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"nothing is printed|dropped"_s));
        m_f->form().runState().ZipDigits = u"999"_s;
        QTest::mouseClick(c().Print, Qt::LeftButton);
        QCOMPARE(m_printer->log().value(m_printer->log().size() - 1), lastCall);
        QVERIFY(!m_printer->log().contains(u"EndDoc"_s));
        QCOMPARE(m_f->form().runState().ZipDigits, u"121801234"_s);
        QCOMPARE(m_dialog->scriptUsed(), what != u"to.txt");
    }

    // A dropped page never reaches the queue; the envelope does, landscape on
    // the queue's portrait paper: from the top of the logo to the foot of the
    // bars is 6.5 to 12.135 cm.
    void cupsQueueGetsTheEnvelope()
    {
        if (qEnvironmentVariableIsEmpty("CUPS_SERVER"))
            QSKIP("no private CUPS scheduler here");
        QPrinter dropped;
        dropped.setPrinterName(u"QuillmarkPDF"_s);
        QtPrinterSurface half(dropped);
        half.Print(u"half a page"_s);
        half.abortDoc();

        fillEnvelope();
        m_dialog->choosePrinter(u"QuillmarkPDF"_s);
        m_f->form().printJob().setSurfaceFactory({});
        QTest::mouseClick(c().Print, Qt::LeftButton);
        QString pdf;
        QTRY_VERIFY_WITH_TIMEOUT(!(pdf = wholePdf()).isEmpty(), 90000);

        const QImage page = QImage::fromData(TestSupport::runTool(
            u"pdftoppm"_s, {u"-r"_s, u"100"_s, u"-singlefile"_s, u"-png"_s, pdf}));
        QVERIFY(page.height() > page.width());
        QRect ink;
        for (int y = 0; y < page.height(); ++y) {
            for (int x = 0; x < page.width(); ++x)
                ink |= qGray(page.pixel(x, y)) < 160 ? QRect(x, y, 1, 1) : QRect();
        }
        QVERIFY2(qAbs(ink.width() * 2.54 / 100 - 5.635) < 0.06, qPrintable(QDebug::toString(ink)));
    }

private:
    [[nodiscard]] const Form1Controls &c() const { return m_f->controls(); }

    // The window with a return address, nothing selected when asked, the
    // scripted dialog and the recording printer.
    void openWindow(bool unselected = false)
    {
        m_f = std::make_unique<FormFixture>();
        m_f->put(SettingsFiles::From, "Ann Lee\r\n1 Elm St\r\n");
        for (const QStringView file :
            {SettingsFiles::EnvSize, SettingsFiles::EnvFeed, SettingsFiles::FontSize}) {
            if (unselected)
                m_f->put(file, "7\r\n");
        }
        QVERIFY(m_f->start());
        m_dialog = &ScriptedDialog::installIn(m_f->form().commonDialog());
        m_printer = std::make_shared<RecordingPrinter>();
        m_f->form().printJob().setSurfaceFactory([this](QPrinter &) { return m_printer; });
    }

    // Logo and bar code on, the recipient typed, the focus away from the box.
    void fillEnvelope()
    {
        QImage logo(40, 20, QImage::Format_RGB32);
        logo.fill(LogoColour);
        c().Image1->setPicture(logo);
        QTest::mouseClick(c().Check1, Qt::LeftButton);
        QTest::mouseClick(c().Check2, Qt::LeftButton);
        c().ToAddr->setText(Recipient);
        c().Check1->setFocus();
    }

    [[nodiscard]] QString wholePdf() const
    {
        QDirIterator pdfs(
            m_cupsDir.filePath(u"pdf"_s), {u"*.pdf"_s}, QDir::Files, QDirIterator::Subdirectories);
        if (!pdfs.hasNext())
            return {};
        const QString pdf = pdfs.next();
        return TestSupport::readFile(pdf).trimmed().endsWith("%%EOF") ? pdf : QString();
    }

    // Under /tmp: the filters run as lp and must reach it.
    QTemporaryDir m_cupsDir {u"/tmp/quillmark-cups-XXXXXX"_s};
    QProcess m_cups;
    std::unique_ptr<FormFixture> m_f;
    ScriptedDialog *m_dialog = nullptr;
    std::shared_ptr<RecordingPrinter> m_printer;
};

QTEST_MAIN(PrintJobTest)
#include "printjob_test.moc"
