#include "formfixture.h"
#include "privatecups.h"
#include "recordingsurface.h"
#include "scripteddialog.h"

#include "controls/addressbox.h"
#include "controls/backcolor.h"
#include "controls/drawingbox.h"
#include "controls/imagebox.h"
#include "controls/picturebox.h"
#include "handlers/logochoice.h"
#include "handlers/printjob.h"
#include "logic/postnet.h"
#include "logic/zipextraction.h"
#include "settings/settingsfiles.h"

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString Recipient = u"Bo Ray\r\n2 Oak Ave\r\nTroy NY 12180-1234"_s;

// What the printer gets for fillEnvelope() with this choice, failing from a call on.
[[nodiscard]] QStringList pageFor(int size, FeedSide side, int font, double edge, int fail = -1)
{
    RecordingSurface printer(2.4f); // 600 dpi
    printer.failFromCall(fail);
    const EnvelopePageContent content {layoutFor(size, side, edge), true,
        QImage(40, 20, QImage::Format_RGB32), {u"Ann Lee"_s, u"1 Elm St"_s},
        Recipient.split(u"\r\n"_s), font, true, u"999"_s};
    EnvelopePage(content, &basPostNet::DrawPostNet).compose(printer) ? void(printer.EndDoc())
                                                                     : printer.abortDoc();
    return printer.log();
}

} // namespace

class HandlersTest : public QObject
{
    Q_OBJECT

private slots:
    // The window with the scripted dialog and the recording printer.
    void init()
    {
        m_f = std::make_unique<FormFixture>();
        QVERIFY(m_f->start());
        QVERIFY(QDir(m_f->folder()).mkdir(u"files"_s));
        m_dialog = &ScriptedDialog::installIn(m_f->form().commonDialog());
        m_printer = std::make_shared<RecordingSurface>(2.4f);
        m_f->form().printJob().setSurfaceFactory([this](QPrinter &) { return m_printer; });
    }

    // A picture selects its button; the side words are the opposite of the captions.
    void envelopeOptions()
    {
        for (const QString &step :
            {u"Picture2 Option2 envfeed right"_s, u"Picture3 Option1 envfeed left"_s,
                u"Picture4 Option3 envfeed center"_s, u"Picture7 OptSize_0 envsize 0"_s,
                u"Picture9 OptSize_2 envsize 2"_s, u"Picture8 OptSize_1 envsize 1"_s}) {
            const QStringList is = step.split(u' ');
            QTest::mouseClick(m_f->form().findChild<PictureBox *>(is[0]), Qt::LeftButton);
            QVERIFY(m_f->form().findChild<QRadioButton *>(is[1])->isChecked());
            QCOMPARE(m_f->bytes(is[2] + u".txt"_s), is[3].toLatin1() + "\r\n");
        }
        QTest::mouseClick(c().optMargin[3], Qt::LeftButton);
        QCOMPARE(m_f->form().runState().marginInches, 3.0);

        // The font size applies to the recipient.
        QStringList seen;
        for (const int size : {0, 1, 2}) {
            c().cmbSize->setCurrentIndex(size);
            seen << QString::number(c().ToAddr->font().pointSize())
                    + QString::fromLatin1(m_f->bytes(SettingsFiles::FontSize));
        }
        QCOMPARE(seen, QStringList({u"10 0\r\n"_s, u"12 1\r\n"_s, u"16 2\r\n"_s}));

        // The return address is written when the box is left, not while typing.
        QTest::mouseClick(c().FromAddr->viewport(), Qt::LeftButton);
        QTest::keyClicks(c().FromAddr, u"Ann"_s);
        QTest::mouseClick(c().optMargin[0], Qt::LeftButton);
        QCOMPARE(
            m_f->bytes(SettingsFiles::From) + m_f->bytes(SettingsFiles::Margin), "Ann\r\n 0 \r\n");
        QCOMPARE(BackColor::of(c().FromAddr), BackColor::PaleYellow);
    }

    void logoChoice()
    {
        const QString gif = TestSupport::dataPath(u"logo-40x20.gif"_s);
        QTest::mouseClick(c().Check1, Qt::LeftButton);
        clickWith(c().Image1, gif);
        QCOMPARE(m_f->form().commonDialog().Filter, LogoChoice::Filter.toString());
        QCOMPARE(c().Image1->picture().size(), QSize(40, 20));
        QCOMPARE(m_f->bytes(SettingsFiles::Logo), gif.toUtf8() + "\r\n");
        const auto centre = [this] {
            const QImage shown = c().Image1->grab().toImage();
            return shown.pixelColor(shown.rect().center());
        };
        const QColor gifCentre = centre();
        QImage blue(8, 8, QImage::Format_RGB32); // a new choice replaces what the box shows
        blue.fill(Qt::blue);
        QVERIFY(blue.save(m_f->path(u"blue.bmp")));
        clickWith(c().Image1, m_f->path(u"blue.bmp"));
        QCOMPARE(centre(), QColor(Qt::blue));
        clickWith(c().Image1, gif);
        QCOMPARE(centre(), gifCentre);
        for (const bool on : {false, true}) { // off and on again keeps it
            QTest::mouseClick(c().Check1, Qt::LeftButton);
            QCOMPARE(c().Image1->isVisible(), on);
            QCOMPARE(m_f->bytes(SettingsFiles::PrLogo), on ? " 1 \r\n" : " 0 \r\n");
        }

        // Cancelling, a FIFO (not waited on) and an unwritable setting each clear the logo.
        const QString fifo = m_f->path(u"chosen");
        QCOMPARE(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const int failure : {0, 1, 2}) {
            clickWith(c().Image1, gif);
            if (failure == 2)
                QVERIFY(QFile::remove(m_f->path(SettingsFiles::Logo))
                    && QDir(m_f->folder()).mkdir(SettingsFiles::Logo.toString()));
            clickWith(c().Image1, failure == 0 ? QString() : failure == 1 ? fifo : gif);
            QCOMPARE(c().Image1->picture(), c().Image2->picture());
            QCOMPARE(m_f->bytes(SettingsFiles::PrLogo)
                    + (failure < 2 ? m_f->bytes(SettingsFiles::Logo) : "\r\n"),
                " 0 \r\n\r\n");
            QVERIFY(!c().Check1->isChecked() && !c().Image1->isVisible());
        }
    }

    void barcodePreview()
    {
        QTest::mouseClick(c().ToAddr->viewport(), Qt::LeftButton);
        QTest::keyClicks(c().ToAddr, u"Springfield, IL 62704-1234"_s);
        QCOMPARE(digits(), QString());
        c().Check2->setChecked(true); // the focus stays in the box
        QCOMPARE(m_f->bytes(SettingsFiles::PrPnet), " 1 \r\n");
        QVERIFY(c().picPostNet->isVisible());
        QCOMPARE(u"%1:%2"_s.arg(digits()).arg(bars()), u"627041234:52"_s);

        // Leaving the box writes the recipient and reads the digits again.
        m_f->form().runState().ZipDigits.clear();
        QTest::keyClick(c().ToAddr, Qt::Key_Tab);
        QCOMPARE(m_f->bytes(SettingsFiles::To) + digits().toLatin1(),
            "Springfield, IL 62704-1234\r\n627041234");

        QTest::mouseClick(c().Check2, Qt::LeftButton);
        QCOMPARE(m_f->bytes(SettingsFiles::PrPnet), " 0 \r\n");
        QVERIFY(!c().picPostNet->isVisible() && bars() == 0);

        // Each keystroke redraws, but only when the digits change.
        QTest::mouseClick(c().Check2, Qt::LeftButton);
        c().ToAddr->clear();
        QStringList seen;
        for (const QString &key : {u"I"_s, u"6"_s, u"2"_s, u" "_s, u"1"_s}) {
            const quint64 drawn = c().picPostNet->drawingCount();
            QTest::keyClicks(c().ToAddr, key);
            seen << u"%1:%2:%3"_s.arg(digits()).arg(bars()).arg(
                c().picPostNet->drawingCount() > drawn);
        }
        QCOMPARE(
            seen, QStringList({u":0:0"_s, u"6:12:1"_s, u"62:17:1"_s, u"62:17:0"_s, u"1:12:1"_s}));

        // Text set by the program is read from the last line back, as the whole text would be.
        for (const QString &address : {u"Jane Doe\nSpringfield, IL 62704-1234\n  \n\nUSA"_s,
                 u"Jane Doe\nSpringfield, IL 62704-1234\n-"_s, u"IL 62704\u2028Room 5"_s}) {
            c().ToAddr->setText(u"99999"_s);
            c().ToAddr->setText(address);
            QCOMPARE(digits(), extractZipDigits(address));
        }
    }

    // Opening neither moves the focus nor touches the settings; the preview follows.
    void addressFileSavedAndOpened()
    {
        const QString text = u"Zoë Müller\r\n\r\nCafé 1\r\n"_s;
        c().ToAddr->setText(text);
        QTest::mouseClick(c().Check2, Qt::LeftButton);
        c().FromAddr->setFocus();
        m_f->put(SettingsFiles::To, "Before\r\n");
        const QString saved = file(u"a.qmf"_s);
        clickWith(c().Save, saved);
        const QByteArray bytes = "Zo\xc3\xab M\xc3\xbcller\r\n\r\nCaf\xc3\xa9 1\r\n\r\n";
        QCOMPARE(TestSupport::readFile(saved), bytes);
        c().ToAddr->setText(u"Bob"_s);
        c().Open->click(); // the dialogs beyond the script are cancelled
        c().Save->click();
        QCOMPARE(TestSupport::readFile(saved) + c().ToAddr->text().toUtf8() + char('0' + entries()),
            bytes + "Bob1");
        clickWith(c().Open, saved);
        QCOMPARE(c().ToAddr->text() + digits(), text + u'1');
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(c().FromAddr));
        QCOMPARE(m_f->form().commonDialog().InitDir, m_f->folder());
        QCOMPARE(m_f->bytes(SettingsFiles::To), "Before\r\n");

        // Opening neither waits on a FIFO nor reads more than 1 MiB (16384 lines of 64 bytes).
        const QString other = file(u"other"_s);
        QCOMPARE(::mkfifo(QFile::encodeName(other).constData(), 0600), 0);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"not an ordinary file"_s));
        clickWith(c().Open, other);
        QCOMPARE(c().ToAddr->text(), QString());
        QVERIFY(QFile::remove(other)
            && TestSupport::writeFile(other, QByteArray(62, 'x').append("\r\n").repeated(32768)));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"read only up to"_s));
        clickWith(c().Open, other);
        QCOMPARE(c().ToAddr->text(), QStringList(16384, QString(62, u'x')).join(u"\r\n"_s));
    }

    // In a folder others can write, only this user's or the folder owner's links are followed.
    void plantedLinks()
    {
        if (::geteuid() != 0)
            QSKIP("Only root can plant a link that belongs to another user");
        const QString shared = file(u"shared"_s), secret = file(u"secret.qmf"_s);
        QVERIFY(QDir().mkdir(shared) && ::chmod(QFile::encodeName(shared), 0777) == 0);
        QVERIFY(TestSupport::writeFile(secret, "Secret\r\n"));
        for (const char *name : {"/smith.qmf", "/mine.qmf"})
            QCOMPARE(::symlink(QFile::encodeName(secret),
                         QFile::encodeName(shared + QLatin1String(name))),
                0);
        QCOMPARE(::lchown(QFile::encodeName(shared + u"/smith.qmf"_s), 65534, 65534), 0);
        for (int i = 0; i < 2; ++i)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"another user's link"_s));
        clickWith(c().Open, shared + u"/smith.qmf"_s);
        clickWith(c().Save, shared + u"/smith.qmf"_s);
        QCOMPARE(c().ToAddr->text() + QString::fromLatin1(TestSupport::readFile(secret)),
            u"Secret\r\n"_s);
        const QString via = file(u"via.qmf"_s); // the user's own link to the planted one
        QCOMPARE(::symlink(QFile::encodeName(shared + u"/smith.qmf"_s), QFile::encodeName(via)), 0);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"another user's link"_s));
        clickWith(c().Open, via);
        QCOMPARE(c().ToAddr->text(), QString());
        clickWith(c().Open, shared + u"/mine.qmf"_s);
        QCOMPARE(c().ToAddr->text(), u"Secret"_s);
        // A folder only its owner's group could write, and another user's link in it.
        const QString group = file(u"group"_s), link = group + u"/theirs.qmf"_s;
        QVERIFY(QDir().mkdir(group) && ::chmod(QFile::encodeName(group), 0755) == 0
            && ::chown(QFile::encodeName(group), 65534, 65534) == 0
            && ::symlink(QFile::encodeName(secret), QFile::encodeName(link)) == 0
            && ::lchown(QFile::encodeName(link), 65533, 65533) == 0);
        c().ToAddr->clear();
        clickWith(c().Open, link);
        QCOMPARE(c().ToAddr->text(), u"Secret"_s);
    }

    // A folder or read-only file is kept; where no rename can replace it, it is written in place.
    void save_data()
    {
        QTest::addColumn<QString>("row"); // target, folder and file modes, whether written
        QTest::newRow("a folder") << u"folder 777 666 0"_s;
        QTest::newRow("a read-only file") << u"old.qmf 777 400 0"_s;
        QTest::newRow("folder not writable") << u"old.qmf 555 666 1"_s;
        QTest::newRow("another's file in a sticky folder") << u"old.qmf 1777 666 1"_s;
        QTest::newRow("second name") << u"b 777 666 1"_s;
    }

    void save()
    {
        QFETCH(QString, row);
        const QStringList is = row.split(u' ');
        const QString target = is[0];
        const int folderMode = is[1].toInt(nullptr, 8), fileMode = is[2].toInt(nullptr, 8);
        const bool written = is[3] == u"1";
        const bool root = ::geteuid() == 0;
        if (root ? fileMode == 0400 : folderMode == 01777)
            QSKIP(root ? "Permissions do not bind root" : "Needs a file of another user");
        const QString old = file(u"old.qmf"_s);
        const QByteArray oldName = QFile::encodeName(old), folder = QFile::encodeName(files());
        QVERIFY(TestSupport::writeFile(old, "Old\r\n") && QDir().mkdir(file(u"folder"_s)));
        if (target == u"b")
            QCOMPARE(::link(oldName.constData(), QFile::encodeName(file(target)).constData()), 0);
        // Root writes anywhere: the folder and file are another user's, the save a third's.
        const bool asOther = root && folderMode != 0777;
        QCOMPARE(asOther ? ::chmod(QFile::encodeName(m_f->folder()).constData(), 0755)
                    | ::chown(folder.constData(), 65534, 65534)
                    | ::chown(oldName.constData(), 65534, 65534)
                         : 0,
            0);
        QCOMPARE(
            ::chmod(oldName.constData(), fileMode) | ::chmod(folder.constData(), folderMode), 0);
        QCOMPARE(asOther ? ::seteuid(65533) : 0, 0);
        c().ToAddr->setText(u"New"_s);
        clickWith(c().Save, file(target));
        QCOMPARE(asOther ? ::seteuid(0) : 0, 0);
        ::chmod(folder.constData(), 0777);
        QCOMPARE(TestSupport::readFile(old), written ? "New\r\n" : "Old\r\n");
        QCOMPARE(entries(), target == u"b" ? 3 : 2);
    }

    // The page, from the window's text, goes out only if all went well; either way the preview
    // shows the box again.
    void print_data()
    {
        QTest::addColumn<QString>("choice"); // size, side button, font, edge space
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("page");
        QTest::newRow("small, centre, Large, 2 in")
            << u"0 Option3 2 2"_s << QString() << pageFor(0, FeedSide::Center, 2, 2);
        QTest::newRow("edge space at its limit")
            << u"1 Option2 0 100"_s << QString() << pageFor(1, FeedSide::Left, 0, 100);
        QTest::newRow("long, left, Small, an edge space that fits no envelope")
            << u"1 Option2 0 1e300"_s << QString() << pageFor(1, FeedSide::Left, 0, 0);
        QTest::newRow("dialog cancelled") << u"1 Option1 1 0"_s << u"cancel"_s << QStringList();
        QTest::newRow("recipient cannot be saved")
            << u"1 Option1 1 0"_s << u"to.txt"_s << pageFor(1, FeedSide::Right, 1, 0);
        QTest::newRow("printer fails after the logo")
            << u"1 Option1 1 0"_s << u"fail"_s << pageFor(1, FeedSide::Right, 1, 0, 7);
    }

    void print()
    {
        QFETCH(QString, choice);
        QFETCH(QString, fault);
        const QStringList is = choice.split(u' ');
        QTest::mouseClick(c().OptSize[is[0].toInt()], Qt::LeftButton);
        QTest::mouseClick(m_f->form().findChild<QRadioButton *>(is[1]), Qt::LeftButton);
        c().cmbSize->setCurrentIndex(is[2].toInt());
        m_f->form().runState().marginInches = is[3].toDouble();
        fillEnvelope();
        m_f->form().runState().ZipDigits = u"999"_s;
        m_dialog->confirmPrinter(fault != u"cancel");
        if (fault == u"to.txt")
            QVERIFY(QFile::remove(m_f->path(fault)) && QDir(m_f->folder()).mkdir(fault));
        m_printer->failFromCall(fault == u"fail" ? 7 : -1);
        QTest::mouseClick(c().Print, Qt::LeftButton);
        QTEST(m_printer->log(), "page");
        QCOMPARE(m_f->form().runState().ZipDigits, u"121801234"_s);
        QVERIFY(m_dialog->scriptUsed());
        QCOMPARE(m_f->bytes(SettingsFiles::To),
            fault == u"to.txt" ? QByteArray() : Recipient.toLatin1() + "\r\n");
    }

    // Landscape on portrait paper: from the logo's top to the bars' foot is 6.5 to 12.135 cm.
    void cupsQueueGetsTheEnvelope()
    {
        if (!m_cups.skipReason().isEmpty())
            QSKIP(m_cups.skipReason().constData());
        QVERIFY2(m_cups.failure().isEmpty(), m_cups.failure().constData());
        fillEnvelope();
        m_dialog->choosePrinter(u"QuillmarkPDF"_s);
        m_f->form().printJob().setSurfaceFactory({});
        QTest::mouseClick(c().Print, Qt::LeftButton);
        const auto pdf = [this] { return m_cups.pdfs().value(0); };
        QTRY_VERIFY_WITH_TIMEOUT(TestSupport::readFile(pdf()).trimmed().endsWith("%%EOF"), 90000);
        const QImage page = QImage::fromData(TestSupport::runTool(
            u"pdftoppm"_s, {u"-r"_s, u"100"_s, u"-singlefile"_s, u"-png"_s, pdf()}));
        const QRect ink = TestSupport::darkBounds(page, 160);
        QVERIFY2(qAbs(ink.width() * 2.54 / 100 - 5.635) < 0.06, qPrintable(QDebug::toString(ink)));
    }

private:
    [[nodiscard]] const Form1Controls &c() const { return m_f->controls(); }
    [[nodiscard]] QString digits() const { return m_f->form().runState().ZipDigits; }
    [[nodiscard]] QString files() const { return m_f->path(u"files"); }
    [[nodiscard]] QString file(const QString &name) const { return files() + u'/' + name; }
    [[nodiscard]] int entries() const { return int(QDir(files()).count()) - 2; } // . and ..

    // Clicks with the file dialog's answer ready; an empty answer cancels.
    void clickWith(QWidget *control, const QString &answer)
    {
        answer.isEmpty() ? m_dialog->cancel() : m_dialog->choose(answer);
        if (auto *button = qobject_cast<QPushButton *>(control))
            button->click(); // as its access key does: the focus stays put
        else
            QTest::mouseClick(control, Qt::LeftButton);
        QVERIFY(m_dialog->scriptUsed());
    }

    // The bars shown.
    int bars() { return int(TestSupport::darkColumnRuns(c().picPostNet->grab().toImage()).size()); }

    // Return address, logo and bar code on, the recipient set; the shared folder holds another's.
    void fillEnvelope()
    {
        c().FromAddr->setText(u"Ann Lee\r\n1 Elm St"_s);
        m_f->put(SettingsFiles::From, "Someone Else\r\n");
        QImage logo(40, 20, QImage::Format_RGB32);
        logo.fill(Qt::red);
        c().Image1->setPicture(logo);
        QTest::mouseClick(c().Check1, Qt::LeftButton);
        QTest::mouseClick(c().Check2, Qt::LeftButton);
        c().ToAddr->setText(Recipient);
    }

    PrivateCups m_cups;
    std::unique_ptr<FormFixture> m_f;
    ScriptedDialog *m_dialog = nullptr;
    std::shared_ptr<RecordingSurface> m_printer;
};

QTEST_MAIN(HandlersTest)
#include "handlers_test.moc"
