#include "formfixture.h"
#include "scripteddialog.h"

#include "controls/addressbox.h"
#include "controls/backcolor.h"
#include "controls/drawingbox.h"
#include "controls/imagebox.h"
#include "platform/singlecopyguard.h"
#include "window/application.h"
#include "window/windowplacement.h"

#include <QAccessible>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QScreen>
#include <QStyleOptionButton>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <future>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace {

// The whole program, run first beside a copy that holds the lock, then alone.
struct Run
{
    int status = -1;
    bool shown = false, raised = false;
    bool tokenLeftAround = true; // the launcher's, or a later start's, activation token
    QString name; // the window system's class and the desktop file go by it
    QString opened; // the recipient box as the window opened, then after a later start's file
};
// The address files the first start and a later one give on the command line.
QString g_files[2];
Run g_second, g_first, *g_run = &g_second;
QByteArray g_savedOnSignal;
bool g_secondWroteSettings = true;

// Once the event loop runs, a later start raises the minimised window; then it closes.
void closeWindowOnceRunning()
{
    if (!g_run)
        return;
    QTimer::singleShot(0, [run = g_run] {
        QWidget *form = nullptr;
        for (QWidget *window : QApplication::topLevelWidgets())
            form = window->isVisible() && window->objectName() == u"Form1" ? window : form;
        run->name = QStringList {QCoreApplication::applicationName(),
            QCoreApplication::applicationVersion(), QGuiApplication::desktopFileName()}
                        .join(u' ');
        if (!(run->shown = form != nullptr))
            return QCoreApplication::exit(-2);
        run->tokenLeftAround = qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN");
        const auto *to = form->findChild<AddressBox *>(u"ToAddr"_s);
        run->opened = to->text();
        form->showMinimized();
        auto later = std::async(std::launch::async, [] {
            return SingleCopyGuard(SingleCopyGuard::defaultRuntimeFolder())
                .anotherCopyRunning({u"later-token"_s, g_files[1]});
        });
        run->raised
            = QTest::qWaitFor([&later] { return later.wait_for(0s) == std::future_status::ready; })
            && later.get() && QTest::qWaitFor([form] { return !form->isMinimized(); });
        run->opened += u'|' + to->text();
        run->tokenLeftAround |= qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN");
        auto *from = form->findChild<AddressBox *>(u"FromAddr"_s);
        from->setFocus();
        QTest::keyClicks(from, u"Typed"_s);
        ::raise(SIGTERM); // ends the program as its close box would, saving what was typed
    });
}

} // namespace

class Form1Test : public QObject
{
    Q_OBJECT

private slots:
    void init() { start(); }

    void wholeProgramRunsUntilTheWindowCloses()
    {
        QVERIFY(g_second.status == 0 && !g_secondWroteSettings && !g_second.shown);
        QVERIFY(g_first.status == 0 && g_first.shown && g_first.raised && !g_first.tokenLeftAround);
        QCOMPARE(g_first.name, u"Quillmark 2.61 org.quillmark.Quillmark"_s);
        QCOMPARE(g_savedOnSignal, "Typed\r\n");
        QCOMPARE(g_first.opened, u"First\r\nLine|Later"_s); // its file, then the later start's
    }

    // Settings files as start() takes them.
    void appliesEachSetting_data()
    {
        QTest::addColumn<QByteArray>("files");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("afterwards"); // the files as start-up leaves them
        const QByteArray full
            = "2\r\n| 3 \r\n|2\r\n|center\r\n| 1 \r\n| 1 \r\n|logo\r\n|Ann\r\nMain St\r\n|Bob\r\n";
        QTest::newRow("full") << full << "2 16pt, 3 3, 2, 2, 11 40x20, 11, Ann\r\nMain St,"
                              << " " + full;
        QTest::newRow("none") << "-"_ba
                              << "1 12pt, 0 0, 1, 0, 00 64x64, 00, ,"
                              << " 1\r\n|-|1\r\n|left\r\n|-|-|-|-|-"_ba;
    }

    // Each restored setting reaches its control.
    void appliesEachSetting()
    {
        QFETCH(QByteArray, files);
        const QByteArray path = TestSupport::dataPath(u"logo-40x20.gif"_s).toLocal8Bit();
        start(files.replace("logo", path));
        const Form1Controls &c = m_f->controls();
        // The feed group holds Option1 to Option3 in that order.
        const auto checked = [](const QButtonGroup *group) {
            return int(group->buttons().indexOf(group->checkedButton()));
        };
        const QSizeF logo = c.Image1->picture().deviceIndependentSize();
        QTEST(QString::asprintf("%d %dpt, %g %d, %d, %d, %d%d %gx%g, %d%d, %s,%s",
                  c.cmbSize->currentIndex(), c.ToAddr->font().pointSize(),
                  m_f->form().runState().marginInches, checked(c.marginGroup), checked(c.sizeGroup),
                  checked(c.feedGroup), c.Check1->isChecked(), c.Image1->isVisible(), logo.width(),
                  logo.height(), c.Check2->isChecked(), c.picPostNet->isVisible(),
                  qPrintable(c.FromAddr->text()), qPrintable(c.ToAddr->text())),
            "shown");
        QByteArrayList afterwards;
        for (const QString &name : Names) {
            const QByteArray bytes = m_f->bytes(name + u".txt"_s);
            afterwards << (bytes.isNull() ? "-"_ba : QByteArray(bytes).replace(path, "logo"));
        }
        QTEST(afterwards.join('|'), "afterwards");
    }

    // Twips, 15 to a pixel; on the envelope picture inside its 2-pixel border.
    void layout()
    {
        Form1 &form = m_f->form();
        QStringList seen {form.windowTitle()};
        for (const char *name : {"frmMargin", "optMargin_5", "Command2", "Open", "Picture2",
                 "Picture4", "ToAddr", "Image1", "Label1", "picPostNet"}) {
            QWidget *w = form.findChild<QWidget *>(QString::fromLatin1(name));
            const QRect r(w->pos() * 15, w->size() * 15);
            seen << QString::asprintf("%s %d %d %d %d", name, r.x(), r.y(), r.width(), r.height());
        }
        QCOMPARE(seen.join(u", "),
            u"Quillmark 2.61, frmMargin 7455 5355 1170 2745, optMargin_5 105 2415 960 225, "
            "Command2 8715 7665 1695 435, Open 8715 6615 1695 435, Picture2 105 5460 1740 2160, "
            "Picture4 1890 5460 1740 "
            "2160, ToAddr 3180 1815 4320 1695, "
            "Image1 510 555 1020 1020, Label1 7485 1605 1065 225, picPostNet 3180 3510 4320 330"_s);
        QVERIFY(form.minimumSize() == form.maximumSize() && form.size() * 15 == QSize(10590, 8220));
        const QPoint off = form.frameGeometry().center() - form.screen()->geometry().center();
        QVERIFY(qAbs(off.x()) <= 2
            && qAbs(off.y()) <= form.style()->pixelMetric(QStyle::PM_TitleBarHeight));
        QCOMPARE(WindowPlacement::centred({15361, 11520}, {10800, 8700}), QPointF(2280.5, 1410));

        // Every control and caption is whole inside the window.
        m_f->controls().Check1->setChecked(true);
        m_f->controls().Check2->setChecked(true);
        for (QWidget *w : form.findChildren<QWidget *>()) {
            if (!w->isVisible() || w->isWindow())
                continue;
            QVERIFY2(form.rect().contains(QRect(w->mapTo(&form, QPoint()), w->size())),
                qPrintable(w->objectName()));
            const auto *button = qobject_cast<QAbstractButton *>(w);
            if (!button || button->text().isEmpty())
                continue;
            QStyleOptionButton option;
            option.initFrom(w);
            const QStyle::SubElement contents = qobject_cast<QCheckBox *>(w)
                ? QStyle::SE_CheckBoxContents
                : qobject_cast<QRadioButton *>(w) ? QStyle::SE_RadioButtonContents
                                                  : QStyle::SE_PushButtonContents;
            QVERIFY2(w->fontMetrics().horizontalAdvance(QString(button->text()).remove(u'&'))
                    <= w->style()->subElementRect(contents, &option, w).width(),
                qPrintable(w->objectName()));
        }
    }

    // A group is one stop; the logo only while shown; Enter and Escape press no button.
    void tabWalkAndGroups()
    {
        start("-|7\r\n|-|Left\r\n|1\r\n");
        const Form1Controls &c = m_f->controls();
        int clicks = 0;
        for (QPushButton *button : {c.Print, c.Open, c.Save, c.Command2})
            connect(button, &QPushButton::clicked, this, [&clicks] { ++clicks; });
        QStringList walked {QApplication::focusWidget()->objectName()};
        for (int i = 0; i < 13; ++i) {
            QWidget *focused = QApplication::focusWidget();
            if (qobject_cast<QPushButton *>(focused) || focused == c.Check1) {
                for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                    QTest::keyClick(focused, key);
            }
            QTest::keyClick(focused, Qt::Key_Tab);
            walked << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(walked.join(u' '),
            u"ToAddr Print Open Save Command2 FromAddr OptSize_1 Option2 Check1 Image1 Check2 "
            "optMargin_0 cmbSize ToAddr"_s);
        QVERIFY(clicks == 0 && c.Check1->isChecked() && m_f->form().isVisible());
        QTest::keyClick(c.ToAddr, Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), c.cmbSize);
        ScriptedDialog &dialog = ScriptedDialog::installIn(m_f->form().commonDialog());
        c.Image1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(c.Image1, Qt::Key_Space); // the logo dialog, cancelled: the logo hides
        QCOMPARE(dialog.fileRequests().size(), 1);
        c.Check1->setFocus(Qt::TabFocusReason);
        QTest::keyClick(c.Check1, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), c.Check2);
        c.optMargin[1]->click();
        c.optMargin[2]->click();
        QVERIFY(!c.optMargin[1]->isChecked());
    }

    // Focus that leaves with the whole window does not leave the control.
    void focusColours()
    {
        const Form1Controls &c = m_f->controls();
        QCOMPARE(c.picPostNet->backColor().rgb() & 0xFFFFFF, BackColor::PaleYellow);
        c.cmbSize->setFocus(Qt::TabFocusReason);
        QWidget other;
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(BackColor::of(c.cmbSize) == BackColor::White
            && BackColor::of(c.ToAddr) == BackColor::PaleYellow);
    }

    void accessKeyLeavesTheBoxFirst_data()
    {
        QTest::addColumn<bool>("recipient");
        QTest::addColumn<Qt::Key>("key");
        for (const Qt::Key key :
            {Qt::Key_P, Qt::Key_S, Qt::Key_O, Qt::Key_R, Qt::Key_X, Qt::Key_Close}) {
            for (const bool recipient : {false, true})
                QTest::addRow("%s %s", recipient ? "ToAddr" : "FromAddr",
                    key == Qt::Key_Close ? "close" : QByteArray("Alt+").append(char(key)).data())
                    << recipient << key;
        }
    }

    // Typing is saved before any dialog a key opens; Exit and the close box (Key_Close) close.
    void accessKeyLeavesTheBoxFirst()
    {
        QFETCH(bool, recipient);
        QFETCH(Qt::Key, key);
        ScriptedDialog &dialog = ScriptedDialog::installIn(m_f->form().commonDialog());
        AddressBox *box = recipient ? m_f->controls().ToAddr : m_f->controls().FromAddr;
        QTest::mouseClick(box->viewport(), Qt::LeftButton);
        QTest::keyClicks(box, u"New"_s);
        key == Qt::Key_Close ? void(m_f->form().close())
                             : QTest::keyClick(&m_f->form(), key, Qt::AltModifier);
        QCOMPARE(int(dialog.fileRequests().size() + dialog.printRequests().size()),
            QByteArray("PSO").contains(char(key)) ? 1 : 0);
        QCOMPARE(m_f->bytes(recipient ? u"to.txt" : u"from.txt"), "New\r\n");
        QCOMPARE(BackColor::of(box), BackColor::PaleYellow);
        QCOMPARE(m_f->form().isVisible(), key != Qt::Key_X && key != Qt::Key_Close);
    }

    // Closed from the task bar while another window is active: the box being typed in is saved.
    void closingWhileInactiveSaves()
    {
        for (const QString &name : {u"FromAddr"_s, u"ToAddr"_s}) {
            start();
            auto *box = m_f->form().findChild<AddressBox *>(name);
            QTest::mouseClick(box->viewport(), Qt::LeftButton);
            QTest::keyClicks(box, u"New"_s);
            QWidget other;
            other.show();
            QVERIFY(QTest::qWaitForWindowActive(&other));
            m_f->form().close();
            QCOMPARE(m_f->bytes(name == u"ToAddr" ? u"to.txt" : u"from.txt"), "New\r\n");
        }
    }

    // Names as a screen reader reads them (a list's from its label); a press is a click.
    void accessibility()
    {
        const auto iface = [this](const char *name) {
            return QAccessible::queryAccessibleInterface(
                m_f->form().findChild<QWidget *>(QString::fromLatin1(name)));
        };
        QStringList names;
        for (const char *name : {"FromAddr", "ToAddr", "OptSize_1", "OptSize_2", "Picture1",
                 "Picture2", "Picture4", "Picture7", "Picture9", "Image1"})
            names << iface(name)->text(QAccessible::Name);
        const QAccessibleInterface *label
            = iface("cmbSize")->relations(QAccessible::Label)[0].first;
        names << label->text(QAccessible::Name);
        QCOMPARE(names.join(u", "),
            u"Return address, Recipient address, Long envelope, Large envelope, Envelope, "
            "Envelope feeds on left side, Envelope feeds in center, Small envelope picture, "
            "Large envelope picture, Logo, Font Size"_s);

        QAccessibleActionInterface *action = iface("Picture4")->actionInterface();
        QVERIFY(action->actionNames().contains(QAccessibleActionInterface::pressAction()));
        action->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(m_f->bytes(u"envfeed.txt"), "center\r\n");
        ScriptedDialog &dialog = ScriptedDialog::installIn(m_f->form().commonDialog());
        iface("Image1")->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        QCOMPARE(dialog.fileRequests().size(), 1); // the logo's dialog
        QCOMPARE(iface("Picture1")->parent()->indexOfChild(iface("Command1")), -1); // unseen
    }

    // Dark text on the envelope's pale colours; elsewhere the desktop's colours stand.
    void readableUnderDarkPalette()
    {
        const QPalette desktop = QApplication::palette();
        const auto restore = qScopeGuard([desktop] { QApplication::setPalette(desktop); });
        QApplication::setPalette(QPalette(Qt::white, QColor(0x30, 0x30, 0x30)));
        start();
        const Form1Controls &c = m_f->controls();
        for (QWidget *w :
            std::initializer_list<QWidget *> {c.FromAddr, c.ToAddr, c.cmbSize, c.Label1}) {
            for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
                QVERIFY2(w->palette().color(role).lightness() > 200, qPrintable(w->objectName()));
            for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
                QVERIFY2(w->palette().color(role) == Qt::black, qPrintable(w->objectName()));
        }
        QCOMPARE(c.Check1->palette().color(QPalette::WindowText), QColor(Qt::white));
    }

private:
    // Settings files in the order of the names, separated by "|"; "-" for none.
    static inline const QStringList Names
        = u"fontsize margin envsize envfeed prlogo prpnet logo from to"_s.split(u' ');

    void start(const QByteArray &files = "-")
    {
        const QByteArrayList each = files.split('|');
        m_f = std::make_unique<FormFixture>();
        for (qsizetype i = 0; i < each.size(); ++i)
            if (each[i] != "-")
                m_f->put(Names[i] + u".txt"_s, each[i]);
        QVERIFY(m_f->start());
    }
    std::unique_ptr<FormFixture> m_f;
};

int main(int argc, char *argv[])
{
    qAddPreRoutine(closeWindowOnceRunning);
    {
        QTemporaryDir settings;
        const auto folder = [&settings] { return settings.path(); };
        {
            SingleCopyGuard running(SingleCopyGuard::defaultRuntimeFolder());
            if (!running.anotherCopyRunning())
                g_second.status = runQuillmark(1, argv, {}, folder);
            g_secondWroteSettings = !QDir(settings.path()).isEmpty();
        }
        g_run = &g_first;
        g_files[0] = settings.filePath(u"first.qmf"_s);
        g_files[1] = settings.filePath(u"later.qmf"_s);
        TestSupport::writeFile(g_files[0], "First\nLine\n");
        TestSupport::writeFile(g_files[1], "Later\r\n");
        qputenv("XDG_ACTIVATION_TOKEN", "launcher-token");
        g_first.status = runQuillmark(1, argv, g_files[0], folder);
        g_savedOnSignal = TestSupport::readFile(settings.filePath(u"from.txt"_s));
        g_run = nullptr;
    }
    QApplication app(argc, argv);
    Form1Test test;
    return QTest::qExec(&test, argc, argv);
}

#include "form1_test.moc"
