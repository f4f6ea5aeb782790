#include "cupsharness.h"
#include "formfixture.h"
#include "pdfpage.h"
#include "recordingprinter.h"
#include "testsupport.h"

#include "controls/addressbox.h"
#include "controls/imagebox.h"
#include "handlers/printjob.h"
#include "platform/commondialogpresenter.h"
#include "settings/settingsfiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <limits>

namespace {

const QString ReturnAddress = QStringLiteral("Ann Lee\r\n1 Elm St");
const QString Recipient = QStringLiteral("Bo Ray\r\n2 Oak Ave\r\nTroy NY 12180-1234");
const QString RecipientDigits = QStringLiteral("121801234");
constexpr QRgb LogoColour = 0xffff0000;

// Answers the printer dialog as scripted and remembers how it was asked.
class ScriptedPrintDialog final : public CommonDialogPresenter
{
public:
    bool accept = true;
    std::function<void(QPrinter &)> choosePrinter;
    int shown = 0;
    bool selectionOffered = true;
    bool printToFileOffered = true;

    std::optional<QString> showFileDialog(const FileDialogRequest &) override { return {}; }
    bool showPrintDialog(QPrinter &printer, bool allowSelection, bool allowPrintToFile) override
    {
        ++shown;
        selectionOffered = allowSelection;
        printToFileOffered = allowPrintToFile;
        if (accept && choosePrinter)
            choosePrinter(printer);
        return accept;
    }
};

struct Anchors
{
    double returnX;
    double returnY;
    double recipientX;
    double recipientY;
};

// One row of the anchor table, before the edge space is added to x.
struct AnchorRow
{
    int size;
    FeedSide side;
    const char *name;
    double returnY;
    double recipientOffsetX;
    double recipientY;
};

constexpr AnchorRow AnchorTable[] = {
    {0, FeedSide::Right, "small right", 11.5, 7, 13.5},
    {0, FeedSide::Center, "small centre", 6.5, 7, 8.5},
    {0, FeedSide::Left, "small left", 1.5, 7, 3.5},
    {1, FeedSide::Right, "long right", 11.5, 8.5, 13.5},
    {1, FeedSide::Center, "long centre", 6.5, 8.5, 8.5},
    {1, FeedSide::Left, "long left", 1.5, 8.5, 3.5},
    {2, FeedSide::Right, "large right", 1, 9.5, 9.5},
    {2, FeedSide::Center, "large centre", 1, 9.5, 9.5},
    {2, FeedSide::Left, "large left", 1, 9.5, 9.5},
};

constexpr const char *FontNames[] = {"Small", "Medium", "Large"};
constexpr double FontPoints[] = {10, 14, 18};
constexpr double LineSteps[] = {0.5, 0.6, 0.75};
// Long envelope, centre feed, 2 inches.
constexpr Anchors WorkedExample {5.28, 6.5, 13.58, 8.5};

QString number(double value)
{
    return QString::number(value, 'g', 6);
}

QStringList lines(const QString &text)
{
    return text.split(QStringLiteral("\r\n"));
}

// What the recording printer must have logged: logo, return lines, recipient
// lines, the first bar when there are bars, and the end of the document.
QStringList expectedPage(const Anchors &at, int font = 1,
    const QStringList &returnLines = lines(ReturnAddress),
    const QStringList &recipient = lines(Recipient), bool bars = true, bool logo = true)
{
    const auto printAt = [](const QString &text, double x, double y) {
        return QStringLiteral("Print \"%1\" @%2,%3").arg(text, number(x), number(y));
    };
    QStringList page {QStringLiteral("setLandscape")};
    if (logo) {
        page << QStringLiteral("PaintPicture %1 %2 1.5 1.5 \"40x20\"")
                    .arg(number(at.returnX), number(at.returnY));
    }
    page << QStringLiteral("setFontSize 10") << QStringLiteral("setFontBold 0");
    for (int k = 0; k < returnLines.size(); ++k)
        page << printAt(returnLines[k], at.returnX + (logo ? 2 : 0), at.returnY + 0.5 * k);
    page << QStringLiteral("setFontSize %1").arg(FontPoints[font])
         << QStringLiteral("setFontBold 1");
    for (int k = 0; k < recipient.size(); ++k)
        page << printAt(recipient[k], at.recipientX, at.recipientY + 1 + LineSteps[font] * k);
    // The pen is kept in twips: the cm value as the printer holds it, converted.
    const auto twips = [](double cm) { return float(double(float(cm)) * (1440 / 2.54)); };
    const float x = twips(at.recipientX);
    const float y = twips(at.recipientY + 1 + LineSteps[font] * recipient.size() + 0.5);
    if (bars) {
        page << QStringLiteral("Line %1 %2 %3 %4")
                    .arg(number(x), number(y), number(x + 24.0f), number(y + 190.0f));
    }
    return page << QStringLiteral("EndDoc");
}

// The recording printer's log without pen moves and unit changes, bars after the first.
QStringList pageOf(const RecordingPrinter &printer)
{
    static const QStringList kept {QStringLiteral("setLandscape"), QStringLiteral("PaintPicture"),
        QStringLiteral("setFontSize"), QStringLiteral("setFontBold"), QStringLiteral("Print"),
        QStringLiteral("EndDoc"), QStringLiteral("abortDoc")};
    QStringList page;
    bool barSeen = false;
    for (const QString &line : printer.log()) {
        const QString operation = line.section(u' ', 0, 0);
        if (kept.contains(operation) || (operation == u"Line" && !std::exchange(barSeen, true)))
            page << line;
    }
    return page;
}

} // namespace

class PrintJobTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void pageFollowsTheAnchorTable_data();
    void pageFollowsTheAnchorTable();
    void pageFollowsTheFilesAndTheEdgeSpace_data();
    void pageFollowsTheFilesAndTheEdgeSpace();
    void nothingSelectedPrintsTheFreshStartEnvelope();
    void previewIsRedrawnOnEveryPath_data();
    void previewIsRedrawnOnEveryPath();
    void pdfPrinterGetsThePage();
    void cupsQueueGetsTheEnvelope();

private:
    void openWindow(const QList<QStringView> &unselectingFiles = {});
    void chooseEnvelope(int size = 1, FeedSide side = FeedSide::Center, int edge = 2, int font = 1);
    void fillEnvelope();
    void clickPrint();
    [[nodiscard]] const Form1Controls &c() const { return m_f->controls(); }

    CupsHarness m_cups;
    bool m_cupsRunning = false;
    QTemporaryDir m_output;
    std::unique_ptr<FormFixture> m_f;
    ScriptedPrintDialog *m_dialog = nullptr;
    std::shared_ptr<RecordingPrinter> m_printer;
};

void PrintJobTest::initTestCase()
{
    // Before the first QPrinter: Qt finds its printers once per process.
    m_cupsRunning = m_cups.start();
    QVERIFY(m_output.isValid());
}

void PrintJobTest::init()
{
    openWindow();
}

void PrintJobTest::cleanup()
{
    m_f.reset();
}

// The window on a settings folder holding the return address and the files
// given, with the scripted dialog and the recording printer.
void PrintJobTest::openWindow(const QList<QStringView> &unselectingFiles)
{
    m_f = std::make_unique<FormFixture>();
    m_f->put(SettingsFiles::From, ReturnAddress.toLatin1() + "\r\n");
    for (const QStringView file : unselectingFiles)
        m_f->put(file, "7\r\n");
    QVERIFY(m_f->start());
    auto dialog = std::make_unique<ScriptedPrintDialog>();
    m_dialog = dialog.get();
    m_f->form().commonDialog().setPresenter(std::move(dialog));
    m_printer = std::make_shared<RecordingPrinter>();
    m_f->form().printJob().setSurfaceFactory([this](QPrinter &) { return m_printer; });
}

void PrintJobTest::chooseEnvelope(int size, FeedSide side, int edge, int font)
{
    c().OptSize.at(size)->setChecked(true);
    QRadioButton *sides[] = {c().Option1, c().Option3, c().Option2};
    // The feed-side buttons stand loose on the window: make sure only one is on.
    for (QRadioButton *button : sides)
        button->setChecked(button == sides[int(side)]);
    c().optMargin.at(edge)->setChecked(true);
    c().cmbSize->setCurrentIndex(font);
    fillEnvelope();
}

// Logo and bar code on, the test recipient, the focus away from the boxes.
void PrintJobTest::fillEnvelope()
{
    c().Check1->setChecked(true);
    c().Check2->setChecked(true);
    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(LogoColour);
    c().Image1->setPicture(logo);
    c().ToAddr->setText(Recipient);
    c().Check1->setFocus();
}

void PrintJobTest::clickPrint()
{
    QTest::mouseClick(c().Print, Qt::LeftButton);
}

void PrintJobTest::pageFollowsTheAnchorTable_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<FeedSide>("side");
    QTest::addColumn<int>("edge");
    QTest::addColumn<int>("font");
    QTest::addColumn<QStringList>("page");

    for (const AnchorRow &row : AnchorTable) {
        for (int edge = 0; edge <= 5; ++edge) {
            for (int font = 0; font <= 2; ++font) {
                const double m = 2.54 * edge;
                const Anchors at {m + 0.2, row.returnY, m + row.recipientOffsetX, row.recipientY};
                QTest::addRow("%s, %d in, %s", row.name, edge, FontNames[font])
                    << row.size << row.side << edge << font << expectedPage(at, font);
            }
        }
    }
}

void PrintJobTest::pageFollowsTheAnchorTable()
{
    QFETCH(int, size);
    QFETCH(FeedSide, side);
    QFETCH(int, edge);
    QFETCH(int, font);

    chooseEnvelope(size, side, edge, font);
    clickPrint();

    QTEST(pageOf(*m_printer), "page");
    QCOMPARE(m_printer->log().filter(QRegularExpression(QStringLiteral("^Line "))).size(), 52);
}

void PrintJobTest::pageFollowsTheFilesAndTheEdgeSpace_data()
{
    QTest::addColumn<bool>("returnFile");
    QTest::addColumn<QString>("recipient");
    QTest::addColumn<double>("marginInches");
    QTest::addColumn<bool>("logo");
    QTest::addColumn<bool>("barCode");
    QTest::addColumn<QStringList>("page");

    const QString noDigits = QStringLiteral("Bo Ray\r\nNowhere");
    const QStringList from = lines(ReturnAddress);
    QTest::newRow("no return-address file")
        << false << Recipient << 2.0 << true << true << expectedPage(WorkedExample, 1, {});
    QTest::newRow("empty recipient box: one empty line")
        << true << QString() << 2.0 << true << true
        << expectedPage(WorkedExample, 1, from, {{}}, false);
    QTest::newRow("bar code on, no digits")
        << true << noDigits << 2.0 << true << true
        << expectedPage(WorkedExample, 1, from, lines(noDigits), false);
    QTest::newRow("bar code off") << true << Recipient << 2.0 << true << false
                                  << expectedPage(WorkedExample, 1, from, lines(Recipient), false);
    QTest::newRow("logo off: the return address starts at its anchor")
        << true << Recipient << 2.0 << false << true
        << expectedPage(WorkedExample, 1, from, lines(Recipient), true, false);
    // Edge spaces a hostile "margin.txt" can hold are printed as none.
    const double inf = std::numeric_limits<double>::infinity();
    for (const double margin :
        {inf, -inf, std::numeric_limits<double>::quiet_NaN(), 1e300, 100.5}) {
        QTest::addRow("edge space %g", margin)
            << true << Recipient << margin << true << true << expectedPage({0.2, 6.5, 8.5, 8.5});
    }
}

void PrintJobTest::pageFollowsTheFilesAndTheEdgeSpace()
{
    QFETCH(bool, returnFile);
    QFETCH(QString, recipient);
    QFETCH(double, marginInches);
    QFETCH(bool, logo);
    QFETCH(bool, barCode);

    chooseEnvelope();
    c().Check1->setChecked(logo);
    c().Check2->setChecked(barCode);
    c().ToAddr->setText(recipient);
    if (!returnFile)
        QVERIFY(QFile::remove(m_f->path(SettingsFiles::From)));
    if (marginInches != 2.0)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("fits no envelope")));
    m_f->form().runState().marginInches = marginInches;

    clickPrint();

    QCOMPARE(m_f->bytes(SettingsFiles::To), recipient.toLatin1() + "\r\n");
    QTEST(pageOf(*m_printer), "page");
}

void PrintJobTest::nothingSelectedPrintsTheFreshStartEnvelope()
{
    openWindow({SettingsFiles::EnvSize, SettingsFiles::EnvFeed, SettingsFiles::FontSize});
    fillEnvelope();
    QCOMPARE(c().cmbSize->currentIndex(), -1);
    clickPrint();
    // The long envelope fed on the right, in Medium.
    QCOMPARE(pageOf(*m_printer), expectedPage({0.2, 11.5, 8.5, 13.5}));
}

void PrintJobTest::previewIsRedrawnOnEveryPath_data()
{
    QTest::addColumn<bool>("accept");
    QTest::addColumn<bool>("toFileIsFolder");
    QTest::addColumn<int>("failFromCall");
    QTest::addColumn<int>("dialogsShown");
    QTest::addColumn<QString>("lastCall"); // on the printer; none when nothing was drawn

    QTest::newRow("dialog cancelled") << false << false << -1 << 1 << QString();
    QTest::newRow("recipient cannot be saved") << true << true << -1 << 0 << QString();
    QTest::newRow("printer fails on the first line") // call 7, after the logo
        << true << false << 7 << 1 << QStringLiteral("abortDoc");
    QTest::newRow("printed") << true << false << -1 << 1 << QStringLiteral("EndDoc");
}

void PrintJobTest::previewIsRedrawnOnEveryPath()
{
    QFETCH(bool, accept);
    QFETCH(bool, toFileIsFolder);
    QFETCH(int, failFromCall);
    QFETCH(QString, lastCall);

    chooseEnvelope();
    m_dialog->accept = accept;
    m_printer->failFromCall(failFromCall);
    if (toFileIsFolder) {
        QVERIFY(QFile::remove(m_f->path(SettingsFiles::To)));
        QVERIFY(QDir(m_f->folder()).mkdir(QStringLiteral("to.txt")));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("is a folder")));
    }
    if (toFileIsFolder || failFromCall >= 0)
        QTest::ignoreMessage(
            QtWarningMsg, QRegularExpression(QStringLiteral("nothing is printed|dropped")));
    m_f->form().runState().ZipDigits = QStringLiteral("999");

    clickPrint();

    QTEST(m_dialog->shown, "dialogsShown");
    const QStringList log = m_printer->log();
    QCOMPARE(log.isEmpty() ? QString() : log.last(), lastCall);
    QCOMPARE(log.count(QStringLiteral("EndDoc")), int(lastCall == u"EndDoc"));
    if (failFromCall >= 0) // nothing more is drawn after the failing line
        QCOMPARE(log.size(), failFromCall + 2);
    QCOMPARE(m_f->form().runState().ZipDigits, RecipientDigits);
    if (m_dialog->shown == 0)
        return;
    QCOMPARE(m_f->bytes(SettingsFiles::To), Recipient.toLatin1() + "\r\n");
    QVERIFY(!m_dialog->selectionOffered);
    QVERIFY(!m_dialog->printToFileOffered);
}

void PrintJobTest::pdfPrinterGetsThePage()
{
    chooseEnvelope();
    const QString pdf = m_output.filePath(QStringLiteral("envelope.pdf"));
    QPrinter *printer = nullptr;
    m_dialog->choosePrinter = [&](QPrinter &chosen) {
        printer = &chosen;
        chosen.setOutputFormat(QPrinter::PdfFormat);
        chosen.setOutputFileName(pdf);
    };
    m_f->form().printJob().setSurfaceFactory({});
    clickPrint();
    QVERIFY(printer);

    const PdfPage page(pdf, printer->pageLayout().paintRect(QPageLayout::Point).topLeft());
    QVERIFY2(page.isLandscape(), qPrintable(pdf));
    const std::pair<const char *, QPointF> words[]
        = {{"Ann", {7.28, 6.5}}, {"Bo", {13.58, 9.5}}, {"Troy", {13.58, 10.7}}};
    for (const auto &[word, topLeft] : words) {
        const QPointF found = page.wordAt(QLatin1StringView(word));
        QVERIFY2((found - topLeft).manhattanLength() < 0.05, word);
    }
    // The return address in a plain 10 pt font, the recipient in a bold one, 14 pt.
    const auto points = [&page](const char *word) {
        return page.wordBox(QLatin1StringView(word)).height() * 72 / 2.54;
    };
    QVERIFY2(qAbs(points("Ann") - 10) < 3, qPrintable(QString::number(points("Ann"))));
    QVERIFY2(
        qAbs(points("Bo") / points("Ann") - 1.4) < 0.15, qPrintable(QString::number(points("Bo"))));
    const QList<QByteArray> fonts
        = TestSupport::runTool(QStringLiteral("pdffonts"), {pdf}).trimmed().split('\n').mid(2);
    const auto bold = [](const QByteArray &font) { return font.contains("Bold"); };
    QVERIFY(std::any_of(fonts.begin(), fonts.end(), bold));
    QVERIFY(!std::all_of(fonts.begin(), fonts.end(), bold));

    // 600 dpi: the logo's 1.5 cm is 354 pixels; a full bar, 24 x 190 twips, is 10 x 79.
    // Poppler fills every pixel a picture touches, hence a pixel more on each side.
    const auto near = [](const QRect &found, const QRect &expected) {
        const auto off = [](QPoint by) { return qMax(qAbs(by.x()), qAbs(by.y())); };
        return qMax(off(found.topLeft() - expected.topLeft()),
                   off(found.bottomRight() - expected.bottomRight()))
            <= 2;
    };
    const QRect logo = page.pixelsOf(QRectF(5.1, 6.3, 2, 2), LogoColour);
    QVERIFY2(near(logo, QRect(1247, 1535, 354, 354)), qPrintable(QDebug::toString(logo)));
    const QRect bar = page.pixelsOf(QRectF(13.5, 11.7, 0.16, 0.5), qRgb(0, 0, 0));
    QVERIFY2(near(bar, QRect(3208, 2787, 10, 79)), qPrintable(QDebug::toString(bar)));
}

void PrintJobTest::cupsQueueGetsTheEnvelope()
{
    if (!m_cupsRunning)
        QSKIP(qPrintable(QStringLiteral("no private CUPS scheduler: ") + m_cups.errorString()));
    chooseEnvelope();
    m_dialog->choosePrinter = [](QPrinter &printer) {
        printer.setPrinterName(QLatin1StringView(CupsHarness::QueueName));
    };
    m_f->form().printJob().setSurfaceFactory({});
    clickPrint();

    const QString pdf = m_cups.waitForPdf(90000);
    QVERIFY2(!pdf.isEmpty(), "no PDF came out of the queue");
    // The queue's paper is portrait and carries the envelope turned: its y runs along the
    // paper's x. From the top of the logo to the foot of the bars is 6.5 to 12.135 cm.
    const int dpi = 100;
    const PdfPage page(pdf, {}, dpi);
    QCOMPARE(page.pageCount(), 1);
    QVERIFY(!page.isLandscape());
    const QRectF paper(0, 0, 30, 30);
    const QRect logo = page.pixelsOf(paper, LogoColour);
    const QRect ink = page.pixelsOf(paper, qRgb(0, 0, 0)) | logo;
    const auto cm = [dpi](int pixels) { return pixels * 2.54 / dpi; };
    QVERIFY2(qAbs(cm(logo.width()) - 1.5) < 0.06 && qAbs(cm(logo.height()) - 1.5) < 0.06,
        qPrintable(QDebug::toString(logo)));
    QVERIFY2(qAbs(cm(ink.width()) - 5.635) < 0.06, qPrintable(QDebug::toString(ink)));
}

QTEST_MAIN(PrintJobTest)
#include "printjob_test.moc"
