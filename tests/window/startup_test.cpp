#include "formfixture.h"

#include "controls/addressbox.h"
#include "controls/drawingbox.h"
#include "controls/imagebox.h"
#include "window/application.h"
#include "window/windowplacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

const QStringList Files {u"fontsize.txt"_s, u"margin.txt"_s, u"envsize.txt"_s, u"envfeed.txt"_s,
    u"prlogo.txt"_s, u"prpnet.txt"_s, u"logo.txt"_s, u"from.txt"_s, u"to.txt"_s};

template <std::size_t N> int checkedIndex(const std::array<QRadioButton *, N> &buttons)
{
    for (std::size_t i = 0; i < N; ++i)
        if (buttons[i]->isChecked())
            return int(i);
    return -1;
}

// What the program did when run as a whole, with its window closed as soon
// as its event loop ran.
int g_exitStatus = -1;
bool g_windowShown = false;
bool g_closeOnStart = true;

void closeWindowOnceRunning()
{
    if (!g_closeOnStart)
        return;
    QTimer::singleShot(0, [] {
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (QWidget *window : windows)
            g_windowShown |= window->isVisible() && window->objectName() == u"Form1";
        if (!g_windowShown)
            return QCoreApplication::exit(-2);
        for (QWidget *window : windows)
            window->close();
    });
}

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void appliesEachSetting_data();
    void appliesEachSetting();
    void secondCopyEndsBeforeReadingAnything();
    void captionAndCentring();
    void returnAddressSurvivesExit();
    void runsUntilTheWindowCloses();
};

void StartupTest::appliesEachSetting_data()
{
    QTest::addColumn<bool>("full");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("afterwards");
    QTest::newRow("full") << true
                          << "font 2 16pt, margin 3 button 3, size 2, feed 2, logo on shown 20x10, "
                             "bar code on shown, from Ann\r\nMain St, to "
                          << " 2\r\n| 3 \r\n|2\r\n|center\r\n| 1 \r\n| 1 \r\n|logo|Ann\r\nMain "
                             "St\r\n|Bob\r\n";
    QTest::newRow("none") << false
                          << "font 1 12pt, margin 0 button 0, size 1, feed 0, logo off hidden "
                             "64x64, bar code off hidden, from , to "
                          << " 1\r\n||1\r\n|left\r\n|||||";
}

void StartupTest::appliesEachSetting()
{
    QFETCH(bool, full);
    QFETCH(QString, shown);
    FormFixture f;
    if (full) {
        QImage logo(20, 10, QImage::Format_RGB32);
        logo.fill(Qt::red);
        QVERIFY(logo.save(f.path(u"logo.bmp"), "BMP"));
        const QList<QByteArray> bytes {"2\r\n", " 3 \r\n", "2\r\n", "center\r\n", " 1 \r\n",
            " 1 \r\n", f.path(u"logo.bmp").toUtf8() + "\r\n", "Ann\r\nMain St\r\n", "Bob\r\n"};
        for (int i = 0; i < Files.size(); ++i)
            f.put(Files[i], bytes[i]);
    }
    QVERIFY(f.start());
    const Form1Controls &c = f.controls();
    const auto onShown = [](const QCheckBox *box, const QWidget *shown) {
        return u"%1 %2"_s.arg(
            box->isChecked() ? u"on" : u"off", shown->isVisible() ? u"shown" : u"hidden");
    };
    const QSize logo = c.Image1->picture().deviceIndependentSize().toSize();
    QCOMPARE(u"font %1 %2pt, margin %3 button %4, size %5, feed %6, logo %7 %8x%9, bar code %10, "
             "from %11, to %12"_s.arg(c.cmbSize->currentIndex())
                 .arg(c.ToAddr->font().pointSize())
                 .arg(f.form().runState().marginInches)
                 .arg(checkedIndex(c.optMargin))
                 .arg(checkedIndex(c.OptSize))
                 .arg(checkedIndex(std::array {c.Option1, c.Option2, c.Option3}))
                 .arg(onShown(c.Check1, c.Image1))
                 .arg(logo.width())
                 .arg(logo.height())
                 .arg(onShown(c.Check2, c.picPostNet), c.FromAddr->text(), c.ToAddr->text()),
        shown);
    QStringList afterwards;
    for (const QString &file : Files)
        afterwards << (file == u"logo.txt" && f.exists(file) ? u"logo"_s
                                                             : QString::fromUtf8(f.bytes(file)));
    QTEST(afterwards.join(u'|'), "afterwards");
}

void StartupTest::secondCopyEndsBeforeReadingAnything()
{
    FormFixture f;
    f.put(u"fontsize.txt", " 2\r\n");
    QVERIFY(!f.start(/*anotherCopyRunning=*/true));
    QCOMPARE(f.controls().cmbSize->count(), 0);
    QCOMPARE(f.bytes(u"fontsize.txt"), QByteArray(" 2\r\n"));
    QVERIFY(!f.exists(u"envfeed.txt"));
    QVERIFY(!f.form().isVisible());
}

void StartupTest::captionAndCentring()
{
    FormFixture f;
    QVERIFY(f.start());
    Form1 &form = f.form();
    QCOMPARE(form.windowTitle(), u"Quillmark 2.61"_s);
    const QPoint offCentre = form.frameGeometry().center() - form.screen()->geometry().center();
    QVERIFY2(qAbs(offCentre.x()) <= 2
            && qAbs(offCentre.y()) <= form.style()->pixelMetric(QStyle::PM_TitleBarHeight),
        qPrintable(u"%1, %2"_s.arg(offCentre.x()).arg(offCentre.y())));
    QCOMPARE(WindowPlacement::caption(2, 5), u"Quillmark 2.5"_s);
    QCOMPARE(WindowPlacement::centred({15360, 11520}, {10800, 8700}), QPointF(2280, 1410));
    QCOMPARE(WindowPlacement::centred({9000, 6000}, {10800, 8700}), QPointF(-900, -1350));
    QCOMPARE(WindowPlacement::centred({15361, 11520}, {10800, 8700}).x(), 2280.5);
}

void StartupTest::returnAddressSurvivesExit()
{
    FormFixture f;
    QVERIFY(f.start());
    AddressBox *from = f.controls().FromAddr;
    QTest::mouseClick(from->viewport(), Qt::LeftButton);
    QTest::keyClicks(from, u"Ann Smith"_s);
    QTest::keyClick(from, Qt::Key_Return);
    QTest::keyClicks(from, u"1 Main St"_s);
    QTest::mouseClick(f.controls().Command2, Qt::LeftButton);
    QVERIFY(!f.form().isVisible());
    f.close();
    QVERIFY(f.start());
    QCOMPARE(f.controls().FromAddr->text(), u"Ann Smith\r\n1 Main St"_s);
}

void StartupTest::runsUntilTheWindowCloses()
{
    QVERIFY(g_windowShown);
    QCOMPARE(g_exitStatus, 0);
}

// The whole program runs first, on its own application object.
int main(int argc, char *argv[])
{
    {
        qAddPreRoutine(closeWindowOnceRunning);
        char name[] = "quillmark";
        char *args[] = {name, nullptr};
        g_exitStatus = runQuillmark(1, args);
    }
    g_closeOnStart = false;
    QApplication app(argc, argv);
    StartupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "startup_test.moc"
