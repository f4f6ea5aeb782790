#include "formfixture.h"
#include "scripteddialog.h"

#include "app/addressbox.h"
#include "app/backcolor.h"
#include "app/imagebox.h"
#include "app/picturebox.h"
#include "platform/drawingbox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

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
