#include "formfixture.h"
#include "scripteddialog.h"
#include "testsupport.h"

#include "controls/addressbox.h"
#include "controls/backcolor.h"
#include "controls/drawingbox.h"
#include "controls/imagebox.h"
#include "controls/picturebox.h"

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QStyleOptionButton>
#include <QTest>

#include <cmath>

using namespace Qt::StringLiterals;

class Form1Test : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controlsSitWhereDesigned_data();
    void controlsSitWhereDesigned();
    void picturesAreTheirPictureAndABorder_data();
    void picturesAreTheirPictureAndABorder();
    void windowIsFixedSize();
    void captionsAndAccessKeys();
    void hiddenControlsNeverShow();
    void tabWalksTheControlsInOrder();
    void focusColours();
    void enterAndEscapePressNothing();
    void accessKeyTakesFocusBeforeClick();
    void buttonAccessKeyLeavesTheBoxFirst_data();
    void buttonAccessKeyLeavesTheBoxFirst();
    void controlsHaveTheirOwnNames_data();
    void controlsHaveTheirOwnNames();
    void listPreviewAndHiddenCarrier();
    void picturePressDoesWhatAClickDoes_data();
    void picturePressDoesWhatAClickDoes();
    void logoIsChosenWithTheKeyboard();
    void envelopeTextReadsUnderDarkScheme_data();
    void envelopeTextReadsUnderDarkScheme();
    void everythingLiesWholeInsideTheWindow();

private:
    std::unique_ptr<FormFixture> m_f;
};

void Form1Test::init()
{
    m_f = std::make_unique<FormFixture>();
    QVERIFY(m_f->start());
}

void Form1Test::cleanup()
{
    m_f.reset();
}

void Form1Test::controlsSitWhereDesigned_data()
{
    // Positions and sizes in twips within their container, 15 twips a pixel.
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::newRow("frmMargin") << "frmMargin" << QRect(7455, 5355, 1170, 2745);
    QTest::newRow("optMargin_5") << "optMargin_5" << QRect(105, 2415, 960, 225);
    QTest::newRow("Command2") << "Command2" << QRect(8715, 7665, 1695, 435);
    QTest::newRow("Picture1") << "Picture1" << QRect(0, 0, 10560, 5310);
    // Children of the envelope picture are measured from inside its 2-pixel border.
    QTest::newRow("ToAddr") << "ToAddr" << QRect(3150 + 30, 1785 + 30, 4320, 1695);
    QTest::newRow("cmbSize") << "cmbSize" << QRect(7455 + 30, 1785 + 30, 1065, 315);
    QTest::newRow("Image1") << "Image1" << QRect(480 + 30, 525 + 30, 1020, 1020);
}

void Form1Test::controlsSitWhereDesigned()
{
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    auto *widget = m_f->form().findChild<QWidget *>(name);
    QVERIFY(widget);
    QCOMPARE(widget->geometry(),
        QRect(twips.x() / 15, twips.y() / 15, twips.width() / 15, twips.height() / 15));
}

void Form1Test::picturesAreTheirPictureAndABorder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("picture");
    QTest::newRow("Picture1") << "Picture1" << QSize(700, 350);
    QTest::newRow("Picture2") << "Picture2" << QSize(112, 140);
    QTest::newRow("Picture7") << "Picture7" << QSize(58, 34);
    QTest::newRow("Picture8") << "Picture8" << QSize(80, 34);
    QTest::newRow("Picture9") << "Picture9" << QSize(90, 62);
}

void Form1Test::picturesAreTheirPictureAndABorder()
{
    QFETCH(QString, name);
    QFETCH(QSize, picture);
    auto *box = m_f->form().findChild<PictureBox *>(name);
    QVERIFY(box);
    QCOMPARE(box->size(), picture + QSize(4, 4));
    QCOMPARE(box->contentsRect().size(), picture);
}

void Form1Test::windowIsFixedSize()
{
    Form1 &form = m_f->form();
    QCOMPARE(form.size(), QSize(706, 548));
    QCOMPARE(form.minimumSize(), form.maximumSize());
    QVERIFY(!(form.windowFlags() & Qt::WindowMaximizeButtonHint));
    QVERIFY(form.windowFlags() & Qt::WindowMinimizeButtonHint);
}

void Form1Test::captionsAndAccessKeys()
{
    const Form1Controls &c = m_f->controls();
    const QStringList shown = {c.Command2->text(), c.Open->text(), c.Save->text(), c.Print->text(),
        c.Option3->text(), c.Option2->text(), c.Option1->text(), c.Check2->text(), c.Check1->text(),
        c.frmMargin->title(), c.Frame1->title(), c.Label1->text(), c.optMargin[1]->text(),
        c.optMargin[4]->text(), c.cmbSize->itemText(0), c.cmbSize->currentText(),
        c.cmbSize->itemText(2)};
    QCOMPARE(shown,
        QStringList({u"E&xit"_s, u"&Open Address"_s, u"&Save Address"_s, u"&Print Envelope"_s,
            u"Select &Center"_s, u"Select &Left Side"_s, u"Select &Right Side"_s,
            u"Print PostNet &Barcode"_s, u"Prin&t Logo"_s, u"Edge Space"_s, u"Envelope Size"_s,
            u"Font Size"_s, u"1 inch"_s, u"4 inches"_s, u"Small"_s, u"Medium"_s, u"Large"_s}));
    QCOMPARE(c.cmbSize->count(), 3);
}

void Form1Test::hiddenControlsNeverShow()
{
    const Form1Controls &c = m_f->controls();
    QVERIFY(!c.Command1->isVisible());
    QVERIFY(!c.Image2->isVisible());
    c.Check1->click();
    c.Check2->click();
    QVERIFY(!c.Command1->isVisible());
    QVERIFY(!c.Image2->isVisible());
}

void Form1Test::tabWalksTheControlsInOrder()
{
    const Form1Controls &c = m_f->controls();
    // Each group of option buttons is one stop: its selected button.
    const QList<QWidget *> expected = {c.Print, c.Open, c.Save, c.Command2, c.FromAddr,
        c.OptSize[1], c.Option1, c.Check1, c.Check2, c.optMargin[0], c.cmbSize, c.ToAddr};
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(c.ToAddr));
    QStringList walked;
    QStringList wanted;
    for (QWidget *next : expected) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked << QApplication::focusWidget()->objectName();
        wanted << next->objectName();
    }
    QCOMPARE(walked, wanted);

    QTest::keyClick(c.ToAddr, Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(c.cmbSize));
    c.OptSize[1]->setFocus(Qt::TabFocusReason);
    QTest::keyClick(c.OptSize[1], Qt::Key_Down); // arrows select within the group
    QVERIFY(c.OptSize[2]->isChecked());
    QCOMPARE(m_f->bytes(u"envsize.txt"), QByteArray("2\r\n"));
}

void Form1Test::focusColours()
{
    const Form1Controls &c = m_f->controls();
    QCOMPARE(BackColor::of(c.ToAddr), BackColor::White);
    QCOMPARE(BackColor::of(c.FromAddr), BackColor::PaleYellow);
    QCOMPARE(BackColor::of(c.cmbSize), BackColor::PaleYellow);

    QTest::mouseClick(c.FromAddr->viewport(), Qt::LeftButton);
    QCOMPARE(BackColor::of(c.ToAddr), BackColor::PaleYellow);
    QCOMPARE(BackColor::of(c.FromAddr), BackColor::White);

    c.cmbSize->setFocus(Qt::TabFocusReason);
    QCOMPARE(BackColor::of(c.cmbSize), BackColor::White);
    QCOMPARE(BackColor::of(c.FromAddr), BackColor::PaleYellow);

    c.ToAddr->setFocus(Qt::TabFocusReason);
    QCOMPARE(BackColor::of(c.cmbSize), BackColor::PaleYellow);
    QCOMPARE(c.picPostNet->backColor().rgb() & 0xFFFFFF, BackColor::PaleYellow);
}

void Form1Test::enterAndEscapePressNothing()
{
    const Form1Controls &c = m_f->controls();
    int clicks = 0;
    for (QPushButton *button : {c.Print, c.Open, c.Save, c.Command2})
        connect(button, &QPushButton::clicked, this, [&clicks] { ++clicks; });
    c.Check1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(c.Check1, Qt::Key_Return);
    QTest::keyClick(c.Check1, Qt::Key_Escape);
    QCOMPARE(clicks, 0);
    QVERIFY(m_f->form().isVisible());
}

void Form1Test::accessKeyTakesFocusBeforeClick()
{
    const Form1Controls &c = m_f->controls();
    QTest::keyClicks(c.ToAddr, QStringLiteral("12345"));
    QTest::keyClick(&m_f->form(), Qt::Key_R, Qt::AltModifier); // "Select &Right Side"
    QVERIFY(c.Option1->isChecked());
    QCOMPARE(m_f->bytes(u"to.txt"), QByteArray("12345\r\n"));
    QCOMPARE(BackColor::of(c.ToAddr), BackColor::PaleYellow);
}

namespace {

QAccessibleInterface *accessible(QObject *object)
{
    return QAccessible::queryAccessibleInterface(object);
}

// Every object in the accessible tree under the interface.
void collectTree(QAccessibleInterface *node, QObjectList &objects)
{
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        objects << child->object();
        collectTree(child, objects);
    }
}

// WCAG 2 contrast ratio of two colours.
double contrast(const QColor &a, const QColor &b)
{
    const auto luminance = [](const QColor &c) {
        const auto channel = [](double v) {
            return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
        };
        return 0.2126 * channel(c.redF()) + 0.7152 * channel(c.greenF())
            + 0.0722 * channel(c.blueF());
    };
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// A control's caption as shown, and the width the style gives its text.
std::pair<QString, int> captionAndRoom(const QWidget *widget)
{
    QStyleOptionButton option;
    option.initFrom(widget);
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    if (qobject_cast<const QCheckBox *>(widget))
        contents = QStyle::SE_CheckBoxContents;
    else if (qobject_cast<const QRadioButton *>(widget))
        contents = QStyle::SE_RadioButtonContents;
    const int room = widget->style()->subElementRect(contents, &option, widget).width();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget))
        return {QString(button->text()).remove(u'&'), room};
    if (const auto *label = qobject_cast<const QLabel *>(widget))
        return {label->text(), label->contentsRect().width()};
    if (const auto *group = qobject_cast<const QGroupBox *>(widget)) {
        // The title starts a little in from the frame's left edge.
        const int indent = widget->style()->pixelMetric(QStyle::PM_LayoutLeftMargin);
        return {group->title(), group->width() - 2 * indent};
    }
    return {};
}

} // namespace

void Form1Test::controlsHaveTheirOwnNames_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    const int text = QAccessible::EditableText;
    const int button = QAccessible::Button;
    QTest::newRow("FromAddr") << "FromAddr"
                              << "Return address" << text;
    QTest::newRow("ToAddr") << "ToAddr"
                            << "Recipient address" << text;
    QTest::newRow("OptSize_0") << "OptSize_0"
                               << "Small envelope" << int(QAccessible::RadioButton);
    QTest::newRow("OptSize_1") << "OptSize_1"
                               << "Long envelope" << int(QAccessible::RadioButton);
    QTest::newRow("OptSize_2") << "OptSize_2"
                               << "Large envelope" << int(QAccessible::RadioButton);
    QTest::newRow("Picture2") << "Picture2"
                              << "Envelope feeds on left side" << button;
    QTest::newRow("Picture9") << "Picture9"
                              << "Large envelope picture" << button;
    QTest::newRow("Image1") << "Image1"
                            << "Logo" << button;
}

void Form1Test::controlsHaveTheirOwnNames()
{
    QFETCH(QString, control);
    QFETCH(QString, name);
    QFETCH(int, role);
    QAccessibleInterface *iface = accessible(m_f->form().findChild<QWidget *>(control));
    QVERIFY(iface);
    QCOMPARE(iface->text(QAccessible::Name), name);
    QCOMPARE(int(iface->role()), role);
}

void Form1Test::listPreviewAndHiddenCarrier()
{
    // On AT-SPI a list's name is its value; what it is for comes from its label.
    const Form1Controls &c = m_f->controls();
    const auto labels = accessible(c.cmbSize)->relations(QAccessible::Label);
    QCOMPARE(labels.size(), 1);
    QCOMPARE(labels.first().first->text(QAccessible::Name), u"Font Size"_s);

    c.Check2->setChecked(true);
    c.ToAddr->setPlainText(u"Main St\nSpringfield 12345-6789"_s);
    QCOMPARE(accessible(c.picPostNet)->text(QAccessible::Name), u"Bar code preview"_s);
    QVERIFY(accessible(c.picPostNet)->text(QAccessible::Description).contains(u"123456789"_s));

    QObjectList tree;
    collectTree(accessible(&m_f->form()), tree);
    QVERIFY(tree.contains(c.Image1));
    QVERIFY(!tree.contains(c.Command1));
}

void Form1Test::picturePressDoesWhatAClickDoes_data()
{
    // The picture pressed first puts its group into another state.
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("picture");
    QTest::addColumn<QString>("file");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("left feed") << "Picture3"
                               << "Picture2"
                               << "envfeed.txt" << QByteArray("right\r\n");
    QTest::newRow("centre feed") << "Picture2"
                                 << "Picture4"
                                 << "envfeed.txt" << QByteArray("center\r\n");
    QTest::newRow("right feed") << "Picture2"
                                << "Picture3"
                                << "envfeed.txt" << QByteArray("left\r\n");
    QTest::newRow("small") << "Picture8"
                           << "Picture7"
                           << "envsize.txt" << QByteArray("0\r\n");
    QTest::newRow("long") << "Picture7"
                          << "Picture8"
                          << "envsize.txt" << QByteArray("1\r\n");
    QTest::newRow("large") << "Picture7"
                           << "Picture9"
                           << "envsize.txt" << QByteArray("2\r\n");
    const QString logo = TestSupport::dataPath(u"logo-40x20.gif"_s);
    QTest::newRow("logo") << ""
                          << "Image1"
                          << "logo.txt" << (logo.toLocal8Bit() + "\r\n");
}

void Form1Test::picturePressDoesWhatAClickDoes()
{
    QFETCH(QString, first);
    QFETCH(QString, picture);
    QFETCH(QString, file);
    QFETCH(QByteArray, bytes);
    ScriptedDialog::installIn(m_f->form().commonDialog())
        .choose(TestSupport::dataPath(u"logo-40x20.gif"_s));
    const auto press = [this](const QString &name) {
        QAccessibleInterface *iface = accessible(m_f->form().findChild<QWidget *>(name));
        QVERIFY(iface && iface->actionInterface());
        QVERIFY(iface->actionInterface()->actionNames().contains(
            QAccessibleActionInterface::pressAction()));
        iface->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    };
    if (!first.isEmpty())
        press(first);
    press(picture);
    QCOMPARE(m_f->bytes(file), bytes);
}

void Form1Test::logoIsChosenWithTheKeyboard()
{
    const Form1Controls &c = m_f->controls();
    ScriptedDialog &dialog = ScriptedDialog::installIn(m_f->form().commonDialog());
    dialog.cancel();
    c.Check1->setFocus(Qt::TabFocusReason);
    QTest::keyClick(c.Check1, Qt::Key_Space);
    QVERIFY(c.Image1->isVisible());
    const QImage unfocused = c.Image1->grab().toImage();
    QTest::keyClick(c.Check1, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(c.Image1));
    QVERIFY(c.Image1->grab().toImage() != unfocused); // a visible focus frame
    QTest::keyClick(c.Image1, Qt::Key_Space);
    QCOMPARE(dialog.fileRequests().size(), 1);
    QVERIFY(dialog.scriptUsed());
}

void Form1Test::envelopeTextReadsUnderDarkScheme_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<bool>("focused");
    QTest::addColumn<int>("text");
    QTest::addColumn<int>("back");
    const int text = QPalette::Text;
    const int base = QPalette::Base;
    QTest::newRow("return address") << "FromAddr" << false << text << base;
    QTest::newRow("return address, focused") << "FromAddr" << true << text << base;
    QTest::newRow("recipient") << "ToAddr" << false << text << base;
    QTest::newRow("recipient, focused") << "ToAddr" << true << text << base;
    QTest::newRow("list") << "cmbSize" << false << text << int(QPalette::Button);
    QTest::newRow("list, focused")
        << "cmbSize" << true << int(QPalette::ButtonText) << int(QPalette::Button);
    QTest::newRow("label") << "Label1" << false << int(QPalette::WindowText)
                           << int(QPalette::Window);
}

void Form1Test::envelopeTextReadsUnderDarkScheme()
{
    QFETCH(QString, control);
    QFETCH(bool, focused);
    QFETCH(int, text);
    QFETCH(int, back);
    const QPalette desktop = QApplication::palette();
    const auto restore = qScopeGuard([desktop] { QApplication::setPalette(desktop); });
    QPalette dark;
    for (const auto role : {QPalette::Window, QPalette::Base, QPalette::Button})
        dark.setColor(role, QColor(0x30, 0x30, 0x30));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        dark.setColor(role, Qt::white);
    QApplication::setPalette(dark);
    m_f.reset(); // the window starts under the dark scheme
    m_f = std::make_unique<FormFixture>();
    QVERIFY(m_f->start());

    const Form1Controls &c = m_f->controls();
    auto *widget = m_f->form().findChild<QWidget *>(control);
    (focused ? widget : static_cast<QWidget *>(c.Check1))->setFocus(Qt::TabFocusReason);
    const QPalette &pal = widget->palette();
    const QColor fore = pal.color(QPalette::ColorRole(text));
    const QColor ground = pal.color(QPalette::ColorRole(back));
    QVERIFY2(contrast(fore, ground) >= 4.5, qPrintable(fore.name() + u" on "_s + ground.name()));
    // Off the envelope, the desktop's colours stand.
    QCOMPARE(c.Check1->palette().color(QPalette::WindowText), QColor(Qt::white));
}

void Form1Test::everythingLiesWholeInsideTheWindow()
{
    Form1 &form = m_f->form();
    m_f->controls().Check1->setChecked(true);
    m_f->controls().Check2->setChecked(true);
    for (QWidget *widget : form.findChildren<QWidget *>()) {
        if (!widget->isVisible() || widget->isWindow())
            continue;
        const QRect inWindow(widget->mapTo(&form, QPoint(0, 0)), widget->size());
        QVERIFY2(form.rect().contains(inWindow), qPrintable(widget->objectName()));
        const auto [caption, room] = captionAndRoom(widget);
        QVERIFY2(caption.isEmpty() || widget->fontMetrics().horizontalAdvance(caption) <= room,
            qPrintable(widget->objectName()));
    }
}

void Form1Test::buttonAccessKeyLeavesTheBoxFirst_data()
{
    QTest::addColumn<bool>("recipient");
    QTest::addColumn<Qt::Key>("key");
    for (const bool recipient : {false, true}) {
        const char *box = recipient ? "ToAddr" : "FromAddr";
        QTest::addRow("%s, Alt+P", box) << recipient << Qt::Key_P;
        QTest::addRow("%s, Alt+S", box) << recipient << Qt::Key_S;
        QTest::addRow("%s, Alt+O", box) << recipient << Qt::Key_O;
    }
}

// Each dialog the button shows is cancelled; what was typed is saved anyway.
void Form1Test::buttonAccessKeyLeavesTheBoxFirst()
{
    QFETCH(bool, recipient);
    QFETCH(Qt::Key, key);
    const Form1Controls &c = m_f->controls();
    ScriptedDialog &dialog = ScriptedDialog::installIn(m_f->form().commonDialog());
    (key == Qt::Key_P) ? dialog.confirmPrinter(false) : dialog.cancel();
    AddressBox *box = recipient ? c.ToAddr : c.FromAddr;
    QTest::mouseClick(box->viewport(), Qt::LeftButton);
    QTest::keyClicks(box, u"New"_s);
    QTest::keyClick(&m_f->form(), key, Qt::AltModifier);
    QVERIFY(dialog.scriptUsed());
    QCOMPARE(m_f->bytes(recipient ? u"to.txt" : u"from.txt"), QByteArray("New\r\n"));
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
