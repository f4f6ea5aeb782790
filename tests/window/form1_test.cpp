#include "formfixture.h"
#include "scripteddialog.h"
#include "testsupport.h"

#include "controls/addressbox.h"
#include "controls/backcolor.h"
#include "controls/drawingbox.h"
#include "controls/imagebox.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStyleOptionButton>
#include <QTest>

using namespace Qt::StringLiterals;

class Form1Test : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_f = std::make_unique<FormFixture>();
        QVERIFY(m_f->start());
    }
    void cleanup() { m_f.reset(); }

    void geometry_data()
    {
        // Twips, 15 to a pixel; on the envelope picture inside its 2-pixel border.
        QTest::addColumn<QRect>("twips");
        QTest::newRow("Form1") << QRect(0, 0, 10590, 8220);
        QTest::newRow("frmMargin") << QRect(7455, 5355, 1170, 2745);
        QTest::newRow("optMargin_5") << QRect(105, 2415, 960, 225);
        QTest::newRow("Command2") << QRect(8715, 7665, 1695, 435);
        QTest::newRow("Picture2") << QRect(105, 5460, 1740, 2160);
        QTest::newRow("ToAddr") << QRect(3180, 1815, 4320, 1695);
        QTest::newRow("Image1") << QRect(510, 555, 1020, 1020);
        QTest::newRow("Label1") << QRect(7485, 1605, 1065, 225);
        QTest::newRow("picPostNet") << QRect(3180, 3510, 4320, 330);
    }

    void geometry()
    {
        QFETCH(QRect, twips);
        QWidget *w = widget(QString::fromLatin1(QTest::currentDataTag()));
        QCOMPARE(QRect(w->isWindow() ? QPoint() : w->pos(), w->size()),
            QRect(twips.topLeft() / 15, twips.size() / 15));
        QCOMPARE(m_f->form().minimumSize(), m_f->form().maximumSize());
    }

    // An option group is one stop: its selected button, or its first while none
    // is. The logo, while shown, is a stop after its switch and opens with Space.
    // Enter and Escape press no button; arrows select within an exclusive group.
    void tabWalkAndGroups()
    {
        m_f = std::make_unique<FormFixture>();
        m_f->put(u"envfeed.txt", "Left\r\n");
        m_f->put(u"margin.txt", "7\r\n");
        m_f->put(u"prlogo.txt", "1\r\n");
        QVERIFY(m_f->start());
        const Form1Controls &c = m_f->controls();
        ScriptedDialog &dialog = ScriptedDialog::installIn(m_f->form().commonDialog());
        dialog.cancel();
        int clicks = 0;
        for (QPushButton *button : {c.Print, c.Open, c.Save, c.Command2})
            connect(button, &QPushButton::clicked, this, [&clicks] { ++clicks; });
        const QImage unfocused = c.Image1->grab().toImage();
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
        QCOMPARE(clicks, 0);
        QVERIFY(c.Check1->isChecked() && m_f->form().isVisible());
        QTest::keyClick(c.ToAddr, Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget(), c.cmbSize);

        QAccessible::queryAccessibleInterface(c.Image1)->actionInterface()->doAction(
            QAccessibleActionInterface::setFocusAction());
        QCOMPARE(QApplication::focusWidget(), c.Image1);
        QVERIFY(c.Image1->grab().toImage() != unfocused); // a visible focus frame
        QTest::keyClick(c.Image1, Qt::Key_Space);
        QVERIFY(dialog.scriptUsed());

        c.OptSize[1]->setFocus(Qt::TabFocusReason);
        QTest::keyClick(c.OptSize[1], Qt::Key_Down);
        QVERIFY(c.OptSize[2]->isChecked() && !c.OptSize[1]->isChecked());
        QCOMPARE(m_f->bytes(u"envsize.txt"), "2\r\n");
        c.optMargin[1]->click();
        c.optMargin[2]->click();
        QVERIFY(!c.optMargin[1]->isChecked());
    }

    // The control with the focus is white; focus that leaves with the whole
    // window does not leave the control.
    void focusColours()
    {
        const Form1Controls &c = m_f->controls();
        const auto colours = [&c] {
            return QList<QRgb> {
                BackColor::of(c.ToAddr), BackColor::of(c.FromAddr), BackColor::of(c.cmbSize)};
        };
        const QRgb white = BackColor::White;
        const QRgb pale = BackColor::PaleYellow;
        QCOMPARE(colours(), QList<QRgb>({white, pale, pale}));
        QTest::mouseClick(c.FromAddr->viewport(), Qt::LeftButton);
        QCOMPARE(colours(), QList<QRgb>({pale, white, pale}));
        c.cmbSize->setFocus(Qt::TabFocusReason);
        QCOMPARE(colours(), QList<QRgb>({pale, pale, white}));

        QWidget other;
        other.show();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QCOMPARE(colours(), QList<QRgb>({pale, pale, white}));
        m_f->form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&m_f->form()));
        QCOMPARE(colours(), QList<QRgb>({pale, pale, white}));
        QCOMPARE(c.picPostNet->backColor().rgb() & 0xFFFFFF, pale);
    }

    void accessKeyLeavesTheBoxFirst_data()
    {
        QTest::addColumn<bool>("recipient");
        QTest::addColumn<Qt::Key>("key");
        for (const bool recipient : {false, true}) {
            for (const Qt::Key key : {Qt::Key_P, Qt::Key_S, Qt::Key_O, Qt::Key_R})
                QTest::addRow("%s Alt+%c", recipient ? "ToAddr" : "FromAddr", char(key))
                    << recipient << key;
        }
    }

    // What was typed is saved though each dialog the key brings up is cancelled.
    void accessKeyLeavesTheBoxFirst()
    {
        QFETCH(bool, recipient);
        QFETCH(Qt::Key, key);
        const Form1Controls &c = m_f->controls();
        ScriptedDialog &dialog = ScriptedDialog::installIn(m_f->form().commonDialog());
        if (key == Qt::Key_P)
            dialog.confirmPrinter(false);
        else if (key != Qt::Key_R)
            dialog.cancel();
        AddressBox *box = recipient ? c.ToAddr : c.FromAddr;
        QTest::mouseClick(box->viewport(), Qt::LeftButton);
        QTest::keyClicks(box, u"New"_s);
        QTest::keyClick(&m_f->form(), key, Qt::AltModifier);
        QVERIFY(dialog.scriptUsed());
        QCOMPARE(m_f->bytes(recipient ? u"to.txt" : u"from.txt"), "New\r\n");
        QCOMPARE(BackColor::of(box), BackColor::PaleYellow);
    }

    void accessibility_data()
    {
        // A press does what a click does; "first" is pressed before, so it changes something.
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QByteArray>("bytes");
        const auto row = [](const char *control, const char *name, const char *first = "",
                             const char *file = "", const QByteArray &bytes = {}) {
            QTest::newRow(control) << name << first << file << bytes;
        };
        row("FromAddr", "Return address");
        row("ToAddr", "Recipient address");
        row("OptSize_1", "Long envelope");
        row("OptSize_2", "Large envelope");
        row("Picture1", "Envelope");
        row("cmbSize", "Font Size");
        row("Picture2", "Envelope feeds on left side", "Picture3", "envfeed.txt", "right\r\n");
        row("Picture4", "Envelope feeds in center", "Picture2", "envfeed.txt", "center\r\n");
        row("Picture7", "Small envelope picture", "Picture8", "envsize.txt", "0\r\n");
        row("Picture9", "Large envelope picture", "Picture7", "envsize.txt", "2\r\n");
        row("Image1", "Logo", "", "logo.txt",
            TestSupport::dataPath(u"logo-40x20.gif"_s).toLocal8Bit() + "\r\n");
    }

    void accessibility()
    {
        const QString control = QString::fromLatin1(QTest::currentDataTag());
        QFETCH(QString, first);
        QFETCH(QString, file);
        ScriptedDialog::installIn(m_f->form().commonDialog())
            .choose(TestSupport::dataPath(u"logo-40x20.gif"_s));
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(widget(control));
        const bool list
            = control == u"cmbSize"; // named by its label, as AT-SPI reads a list's value
        QTEST((list ? iface->relations(QAccessible::Label).value(0).first : iface)
                  ->text(QAccessible::Name),
            "name");
        QAccessibleInterface *window = QAccessible::queryAccessibleInterface(&m_f->form());
        for (int i = 0; i < window->childCount(); ++i)
            QVERIFY(window->child(i)->object() != m_f->controls().Command1);
        if (file.isEmpty())
            return;
        for (const QString &name : {first, control}) {
            if (name.isEmpty())
                continue;
            auto *action = QAccessible::queryAccessibleInterface(widget(name))->actionInterface();
            QVERIFY(action->actionNames().contains(QAccessibleActionInterface::pressAction()));
            action->doAction(QAccessibleActionInterface::pressAction());
        }
        QTEST(m_f->bytes(file), "bytes");
    }

    // The envelope keeps dark text on its pale colours; elsewhere the desktop's
    // colours stand.
    void readableUnderDarkPalette()
    {
        const QPalette desktop = QApplication::palette();
        const auto restore = qScopeGuard([desktop] { QApplication::setPalette(desktop); });
        QPalette dark;
        for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
            dark.setColor(role, QColor(0x30, 0x30, 0x30));
        for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
            dark.setColor(role, Qt::white);
        QApplication::setPalette(dark);
        init();
        const Form1Controls &c = m_f->controls();
        c.cmbSize->setFocus(Qt::TabFocusReason);
        const QList<std::tuple<QWidget *, QPalette::ColorRole, QPalette::ColorRole>> shown {
            {c.FromAddr, QPalette::Text, QPalette::Base},
            {c.ToAddr, QPalette::Text, QPalette::Base},
            {c.cmbSize, QPalette::ButtonText, QPalette::Button},
            {c.Label1, QPalette::WindowText, QPalette::Window}};
        for (const auto &[w, text, back] : shown) {
            QCOMPARE(w->palette().color(text), QColor(Qt::black));
            QVERIFY2(w->palette().color(back).lightness() > 200, qPrintable(w->objectName()));
        }
        QCOMPARE(c.Check1->palette().color(QPalette::WindowText), QColor(Qt::white));
    }

    void captionsWholeInsideTheWindow()
    {
        Form1 &form = m_f->form();
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

private:
    QWidget *widget(const QString &name)
    {
        return name == u"Form1" ? &m_f->form() : m_f->form().findChild<QWidget *>(name);
    }
    std::unique_ptr<FormFixture> m_f;
};

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
