#include "formfixture.h"

#include "controls/addressbox.h"
#include "controls/drawingbox.h"
#include "controls/imagebox.h"
#include "platform/singlecopyguard.h"
#include "window/application.h"
#include "window/windowplacement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

template <std::size_t N> int checkedIndex(const std::array<QRadioButton *, N> &buttons)
{
    for (std::size_t i = 0; i < N; ++i)
        if (buttons[i]->isChecked())
            return int(i);
    return -1;
}

// The whole program, run first beside a copy that holds the lock, then alone
// with its window closed once its event loop runs.
int g_secondCopyStatus = -1;
bool g_secondCopyShown = true;
bool g_secondCopyWroteSettings = true;
int g_exitStatus = -1;
bool g_windowShown = false;
bool g_closeOnStart = true;

void closeWindowOnceRunning()
{
    if (!g_closeOnStart)
        return;
    QTimer::singleShot(0, [] {
        for (QWidget *window : QApplication::topLevelWidgets())
            g_windowShown |= window->isVisible() && window->objectName() == u"Form1";
        if (!g_windowShown)
            return QCoreApplication::exit(-2);
        for (QWidget *window : QApplication::topLevelWidgets())
            window->close();
    });
}

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void runsUntilTheWindowCloses()
    {
        QCOMPARE(g_secondCopyStatus, 0);
        QVERIFY(!g_secondCopyWroteSettings);
        QVERIFY(!g_secondCopyShown);
        QVERIFY(g_windowShown);
        QCOMPARE(g_exitStatus, 0);
    }

    // Each restored setting reaches its control; the files are in
    // fontsize, margin, envsize, envfeed, prlogo, prpnet, logo, from, to order.
    void appliesEachSetting_data()
    {
        QTest::addColumn<QByteArrayList>("files");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArrayList>("afterwards");
        const QByteArrayList full {"2\r\n", " 3 \r\n", "2\r\n", "center\r\n", " 1 \r\n", " 1 \r\n",
            "logo.bmp\r\n", "Ann\r\nMain St\r\n", "Bob\r\n"};
        QByteArrayList rewritten = full;
        rewritten[0] = " 2\r\n";
        QTest::newRow("full") << full
                              << "2 16pt, 3 3, 2, 2, on shown 20x10, on shown, Ann\r\nMain St,"
                              << rewritten;
        QTest::newRow("none") << QByteArrayList(9)
                              << "1 12pt, 0 0, 1, 0, off hidden 64x64, off hidden, ,"
                              << QByteArrayList {
                                     " 1\r\n", {}, "1\r\n", "left\r\n", {}, {}, {}, {}, {}};
    }

    void appliesEachSetting()
    {
        QFETCH(QByteArrayList, files);
        QFETCH(QString, shown);
        const QStringList names {u"fontsize.txt"_s, u"margin.txt"_s, u"envsize.txt"_s,
            u"envfeed.txt"_s, u"prlogo.txt"_s, u"prpnet.txt"_s, u"logo.txt"_s, u"from.txt"_s,
            u"to.txt"_s};
        FormFixture f;
        QImage logo(20, 10, QImage::Format_RGB32);
        logo.fill(Qt::red);
        QVERIFY(logo.save(f.path(u"logo.bmp"), "BMP"));
        const QByteArray picturePath = f.path(u"logo.bmp").toUtf8();
        for (int i = 0; i < names.size(); ++i) {
            if (!files[i].isNull())
                f.put(names[i], QByteArray(files[i]).replace("logo.bmp", picturePath));
        }
        QVERIFY(f.start());
        const Form1Controls &c = f.controls();
        const auto onShown = [](const QCheckBox *box, const QWidget *shown) {
            return u"%1 %2"_s.arg(
                box->isChecked() ? u"on" : u"off", shown->isVisible() ? u"shown" : u"hidden");
        };
        const QSize picture = c.Image1->picture().deviceIndependentSize().toSize();
        QCOMPARE(u"%1 %2pt, %3 %4, %5, %6, %7 %8x%9, %10, %11,%12"_s.arg(c.cmbSize->currentIndex())
                     .arg(c.ToAddr->font().pointSize())
                     .arg(f.form().runState().marginInches)
                     .arg(checkedIndex(c.optMargin))
                     .arg(checkedIndex(c.OptSize))
                     .arg(checkedIndex(std::array {c.Option1, c.Option2, c.Option3}))
                     .arg(onShown(c.Check1, c.Image1))
                     .arg(picture.width())
                     .arg(picture.height())
                     .arg(onShown(c.Check2, c.picPostNet), c.FromAddr->text(), c.ToAddr->text()),
            shown);
        QByteArrayList afterwards;
        for (const QString &name : names)
            afterwards << f.bytes(name).replace(picturePath, "logo.bmp");
        QTEST(afterwards, "afterwards");
    }

    void secondCopyEndsBeforeReadingAnything()
    {
        FormFixture f;
        f.put(u"fontsize.txt", " 2\r\n");
        QVERIFY(!f.start(/*anotherCopyRunning=*/true));
        QCOMPARE(f.controls().cmbSize->count(), 0);
        QCOMPARE(f.bytes(u"fontsize.txt"), " 2\r\n");
        QVERIFY(!f.exists(u"envfeed.txt") && !f.form().isVisible());
    }

    void captionAndCentring()
    {
        FormFixture f;
        QVERIFY(f.start());
        Form1 &form = f.form();
        QCOMPARE(form.windowTitle(), u"Quillmark 2.61"_s);
        const QPoint off = form.frameGeometry().center() - form.screen()->geometry().center();
        QVERIFY(qAbs(off.x()) <= 2
            && qAbs(off.y()) <= form.style()->pixelMetric(QStyle::PM_TitleBarHeight));
        QCOMPARE(WindowPlacement::caption(2, 5), u"Quillmark 2.5"_s);
        QCOMPARE(WindowPlacement::centred({15360, 11520}, {10800, 8700}), QPointF(2280, 1410));
        QCOMPARE(WindowPlacement::centred({15361, 11520}, {10800, 8700}).x(), 2280.5);
    }

    void returnAddressSurvivesExit()
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
};

int main(int argc, char *argv[])
{
    char name[] = "quillmark";
    char *args[] = {name, nullptr};
    qAddPreRoutine(closeWindowOnceRunning);
    {
        QTemporaryDir settings;
        const auto folder = [&settings] { return settings.path(); };
        {
            SingleCopyGuard running(SingleCopyGuard::defaultRuntimeFolder());
            if (!running.anotherCopyRunning())
                g_secondCopyStatus = runQuillmark(1, args, folder);
            g_secondCopyWroteSettings = !QDir(settings.path()).isEmpty();
            g_secondCopyShown = std::exchange(g_windowShown, false);
        }
        g_exitStatus = runQuillmark(1, args, folder);
    }
    g_closeOnStart = false;
    QApplication app(argc, argv);
    StartupTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "startup_test.moc"
