#include "formfixture.h"
#include "recordingprinter.h"
#include "scripteddialog.h"

#include "controls/accessibility.h"
#include "controls/addressbox.h"
#include "controls/backcolor.h"
#include "controls/drawingbox.h"
#include "controls/imagebox.h"
#include "controls/picturebox.h"
#include "handlers/addressfiles.h"
#include "handlers/logochoice.h"
#include "handlers/printjob.h"
#include "logic/postnet.h"
#include "logic/zipextraction.h"
#include "platform/qtprintersurface.h"
#include "platform/screen.h"
#include "settings/settingsfiles.h"

#include <QApplication>
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

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QString Recipient = u"Bo Ray\r\n2 Oak Ave\r\nTroy NY 12180-1234"_s;

QImage redLogo()
{
    QImage logo(40, 20, QImage::Format_RGB32);
    logo.fill(Qt::red);
    return logo;
}

// What the printer gets for the envelope of fillEnvelope() with this choice.
QStringList expectedPage(int size, FeedSide side, int font, double margin)
{
    RecordingPrinter printer;
    const EnvelopePageContent content {layoutFor(size, side, margin), true, redLogo(),
        {u"Ann Lee"_s, u"1 Elm St"_s}, Recipient.split(u"\r\n"_s), font, true, u"121801234"_s};
    if (EnvelopePage(content, &basPostNet::DrawPostNet).compose(printer))
        printer.EndDoc();
    return printer.log();
}

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

} // namespace

class HandlersTest : public QObject
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
            qputenv("CUPS_SERVER", native(m_cupsDir.filePath(u"cups.sock"_s)));
    }

    void cleanupTestCase()
    {
        m_cups.closeWriteChannel();
        m_cups.waitForFinished();
    }

    void init() { start(); }

    // A picture selects the button it stands for; the side word is the
    // opposite of the side buttons' captions.
    void envelopeOptions()
    {
        for (const QString &step :
            {u"Picture2 Option2 right"_s, u"Picture3 Option1 left"_s, u"Picture4 Option3 center"_s,
                u"Picture7 OptSize_0 0"_s, u"Picture9 OptSize_2 2"_s, u"Picture8 OptSize_1 1"_s}) {
            const QStringList is = step.split(u' ');
            QTest::mouseClick(m_f->form().findChild<PictureBox *>(is[0]), Qt::LeftButton);
            QVERIFY(m_f->form().findChild<QRadioButton *>(is[1])->isChecked());
            const QStringView file
                = is[2].size() == 1 ? SettingsFiles::EnvSize : SettingsFiles::EnvFeed;
            QCOMPARE(m_f->bytes(file), is[2].toLatin1() + "\r\n");
        }
        QTest::mouseClick(c().optMargin[3], Qt::LeftButton);
        QCOMPARE(m_f->bytes(SettingsFiles::Margin), " 3 \r\n");
        QCOMPARE(m_f->form().runState().marginInches, 3.0);

        // The font size applies to the recipient only.
        const int fromPoints = c().FromAddr->font().pointSize();
        c().cmbSize->setFocus(Qt::TabFocusReason);
        QCOMPARE(BackColor::of(c().cmbSize), BackColor::White);
        QStringList seen;
        for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Down}) {
            QTest::keyClick(c().cmbSize, key);
            seen << QString::number(c().ToAddr->font().pointSize())
                    + QString::fromLatin1(m_f->bytes(SettingsFiles::FontSize));
        }
        QCOMPARE(seen, QStringList({u"10 0\r\n"_s, u"12 1\r\n"_s, u"16 2\r\n"_s}));
        QCOMPARE(c().FromAddr->font().pointSize(), fromPoints);

        // The return address is written when the box is left, not while typing.
        QTest::mouseClick(c().FromAddr->viewport(), Qt::LeftButton);
        QCOMPARE(BackColor::of(c().cmbSize), BackColor::PaleYellow);
        QCOMPARE(BackColor::of(c().FromAddr), BackColor::White);
        QTest::keyClicks(c().FromAddr, u"Ann"_s);
        QVERIFY(!m_f->exists(SettingsFiles::From));
        QTest::mouseClick(c().optMargin[0], Qt::LeftButton);
        QCOMPARE(m_f->bytes(SettingsFiles::From), "Ann\r\n");
        QCOMPARE(BackColor::of(c().FromAddr), BackColor::PaleYellow);
    }

    void logoChoice()
    {
        const QString gif = TestSupport::dataPath(u"logo-40x20.gif"_s);
        QTest::mouseClick(c().Check1, Qt::LeftButton);
        clickLogo(gif);
        QCOMPARE(m_f->form().commonDialog().Filter, LogoChoice::Filter.toString());
        QCOMPARE(c().Image1->picture().size(), QSize(40, 20));
        QCOMPARE(m_f->bytes(SettingsFiles::Logo), gif.toUtf8() + "\r\n");
        QTest::mouseClick(c().Check1, Qt::LeftButton); // off and on again keeps it
        QVERIFY(!c().Image1->isVisible());
        QCOMPARE(m_f->bytes(SettingsFiles::PrLogo), " 0 \r\n");
        QTest::mouseClick(c().Check1, Qt::LeftButton);
        QVERIFY(c().Image1->isVisible());
        QCOMPARE(m_f->bytes(SettingsFiles::PrLogo), " 1 \r\n");
        QCOMPARE(m_f->bytes(SettingsFiles::Logo), gif.toUtf8() + "\r\n");

        // Every failure clears the logo; a FIFO is not waited on.
        const QString path = m_f->path(u"chosen");
        for (const QString &kind : {u"cancel"_s, u"text"_s, u"fifo"_s, u"unwritable"_s}) {
            c().Check1->setChecked(true);
            clickLogo(gif);
            QFile::remove(path);
            if (kind == u"text")
                QVERIFY(TestSupport::writeFile(path, "Not a picture\r\n"));
            else if (kind == u"fifo")
                QCOMPARE(::mkfifo(native(path).constData(), 0600), 0);
            else if (kind == u"unwritable")
                QVERIFY(QFile::remove(m_f->path(SettingsFiles::Logo))
                    && QDir(m_f->folder()).mkdir(SettingsFiles::Logo.toString()));
            if (kind != u"cancel")
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"."_s));
            clickLogo(kind == u"cancel" ? std::nullopt
                                        : std::optional(kind == u"unwritable" ? gif : path));
            QCOMPARE(c().Image1->picture(), c().Image2->picture());
            if (kind != u"unwritable")
                QCOMPARE(m_f->bytes(SettingsFiles::Logo), "\r\n");
            QCOMPARE(m_f->bytes(SettingsFiles::PrLogo), " 0 \r\n");
            QVERIFY(!c().Check1->isChecked() && !c().Image1->isVisible());
        }
    }

    void barcodePreview()
    {
        type(u"Springfield, IL 62704-1234"_s);
        QCOMPARE(digits(), QString());
        QCOMPARE(BackColor::of(c().ToAddr), BackColor::White);
        c().Check2->setChecked(true); // the focus stays in the box
        QCOMPARE(m_f->bytes(SettingsFiles::PrPnet), " 1 \r\n");
        QVERIFY(c().picPostNet->isVisible());
        QCOMPARE(digits(), u"627041234"_s);
        QCOMPARE(bars(), 52);
        QCOMPARE(
            c().picPostNet->accessibleDescription(), Accessibility::previewDescription(digits()));

        // Leaving the box writes the recipient and reads the digits again.
        QVERIFY(!m_f->exists(SettingsFiles::To));
        m_f->form().runState().ZipDigits.clear();
        QTest::keyClick(c().ToAddr, Qt::Key_Tab);
        QCOMPARE(m_f->bytes(SettingsFiles::To), "Springfield, IL 62704-1234\r\n");
        QCOMPARE(digits(), u"627041234"_s);
        QCOMPARE(BackColor::of(c().ToAddr), BackColor::PaleYellow);

        QTest::mouseClick(c().Check2, Qt::LeftButton);
        QCOMPARE(m_f->bytes(SettingsFiles::PrPnet), " 0 \r\n");
        QVERIFY(!c().picPostNet->isVisible());
        QCOMPARE(bars(), 0);
        type(u"\nRoom 5"_s); // switched off, typing changes nothing
        QCOMPARE(digits(), u"627041234"_s);

        // Each keystroke redraws, but only when the digits change.
        QTest::mouseClick(c().Check2, Qt::LeftButton);
        c().ToAddr->clear();
        QStringList seen;
        for (const QString &key : {u"I"_s, u"6"_s, u"2"_s, u" "_s, u"1"_s}) {
            const quint64 drawn = c().picPostNet->drawingCount();
            type(key);
            seen << u"%1:%2:%3"_s.arg(digits()).arg(bars()).arg(
                c().picPostNet->drawingCount() > drawn);
        }
        QCOMPARE(
            seen, QStringList({u":0:0"_s, u"6:12:1"_s, u"62:17:1"_s, u"62:17:0"_s, u"1:12:1"_s}));
        const qreal pixelsPerTwip = c().picPostNet->devicePixelRatioF() / Screen::TwipsPerPixelX();
        QVERIFY(qAbs(m_firstBar - 50 * pixelsPerTwip) <= 1.0);

        // Text set by the program is read back from the last line only as far
        // as the ZIP code, with the same result as the whole text.
        const QString city = u"Jane Doe\nSpringfield, IL 62704-1234"_s;
        for (const QString &address :
            {city + u"\n  \n\nUSA"_s, city + u"\n-"_s, u"IL 62704\u2028Room 5"_s}) {
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
        clickWith(c().Save, file(u"a.qmf"_s));
        QCOMPARE(TestSupport::readFile(file(u"a.qmf"_s)),
            "Zo\xc3\xab M\xc3\xbcller\r\n\r\nCaf\xc3\xa9 1\r\n\r\n");
        QCOMPARE(m_f->form().commonDialog().Filter, AddressFiles::Filter.toString());
        c().ToAddr->setText(u"Bob"_s);
        clickWith(c().Open, file(u"a.qmf"_s));
        QCOMPARE(c().ToAddr->text(), text);
        QCOMPARE(m_f->form().runState().ZipDigits, u"1"_s);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(c().FromAddr));
        QCOMPARE(m_f->form().commonDialog().InitDir, m_f->folder());
        QCOMPARE(m_f->bytes(SettingsFiles::To), "Before\r\n");
        c().ToAddr->setText(u"Bob"_s);
        m_dialog->cancel();
        c().Open->click();
        m_dialog->cancel();
        c().Save->click();
        QCOMPARE(c().ToAddr->text(), u"Bob"_s);
        QCOMPARE(TestSupport::readFile(file(u"a.qmf"_s)).size(), 27);
        QCOMPARE(entries(), QStringList {u"a.qmf"_s});
    }

    // Files other programs wrote; nothing may make opening wait or read without bound.
    void openReadsOtherFilesSafely_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("Windows-1252, CR-only lines")
            << u"file"_s << QByteArray("Zo\xeb\r\x80 5\rC") << u"Zoë\r\n€ 5\r\nC"_s;
        // 16384 lines of 64 bytes fill the 1 MiB that is read; the rest is not.
        QTest::newRow("2 MiB file")
            << u"file"_s << QByteArray(62, 'x').append("\r\n").repeated(32768)
            << QStringList(16384, QString(62, u'x')).join(u"\r\n"_s);
        QTest::newRow("FIFO") << u"FIFO"_s << QByteArray() << QString();
        QTest::newRow("symbolic link") << u"symlink"_s << QByteArray("Bob\r\n") << u"Bob"_s;
    }

    void openReadsOtherFilesSafely()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        const QString path = file(u"in.qmf"_s);
        if (kind == u"FIFO")
            QCOMPARE(::mkfifo(native(path).constData(), 0600), 0);
        else
            QVERIFY(TestSupport::writeFile(kind == u"file" ? path : file(u"other"_s), bytes));
        if (kind == u"symlink")
            QVERIFY(QFile::link(file(u"other"_s), path));
        if (kind == u"FIFO" || bytes.size() > AddressFiles::MaxFileBytes)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"ddress file"_s));
        clickWith(c().Open, path);
        QTEST(c().ToAddr->text(), "text");
    }

    // A failed save is logged and leaves the old file whole.
    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("a folder") << u"folder"_s;
        QTest::newRow("a read-only file") << u"old.qmf"_s;
    }

    void failedSaveKeepsTheOldFile()
    {
        QFETCH(QString, target);
        if (target == u"old.qmf" && ::geteuid() == 0)
            QSKIP("Permissions do not bind root");
        QVERIFY(TestSupport::writeFile(file(u"old.qmf"_s), "Old\r\n"));
        QVERIFY(QDir().mkdir(file(u"folder"_s)));
        QVERIFY(QFile::setPermissions(file(u"old.qmf"_s), QFile::ReadOwner));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"not saved"_s));
        c().ToAddr->setText(u"New"_s);
        clickWith(c().Save, file(target));
        QCOMPARE(TestSupport::readFile(file(u"old.qmf"_s)), "Old\r\n");
        QCOMPARE(entries(), QStringList({u"folder"_s, u"old.qmf"_s}));
    }

    // Where no file can be made beside it, where the file cannot be renamed
    // over, or where a rename would part it from its other name, it is
    // written in place.
    void saveInPlace_data()
    {
        QTest::addColumn<int>("folderMode");
        QTest::newRow("folder not writable") << 0555;
        QTest::newRow("another's file in a sticky folder") << 01777;
        QTest::newRow("second name") << 0777;
    }

    void saveInPlace()
    {
        QFETCH(int, folderMode);
        const bool root = ::geteuid() == 0;
        if (folderMode == 01777 && !root)
            QSKIP("Needs a file of another user");
        const QString target = file(u"old.qmf"_s);
        QVERIFY(TestSupport::writeFile(target, "Old\r\n"));
        if (folderMode == 0777)
            QCOMPARE(::link(native(target).constData(), native(file(u"b"_s)).constData()), 0);
        const bool asOther = root && folderMode != 0777;
        if (asOther) { // root writes anywhere: folder and file are another user's, the save a
                       // third's
            QCOMPARE(::chmod(native(m_f->folder()).constData(), 0755), 0);
            QCOMPARE(::chown(native(files()).constData(), 65534, 65534), 0);
            QCOMPARE(::chown(native(target).constData(), 65534, 65534), 0);
        }
        QCOMPARE(::chmod(native(target).constData(), 0666), 0);
        QCOMPARE(::chmod(native(files()).constData(), folderMode), 0);
        if (asOther)
            QCOMPARE(::seteuid(65533), 0);
        c().ToAddr->setText(u"New"_s);
        clickWith(c().Save, target);
        if (asOther)
            QCOMPARE(::seteuid(0), 0);
        ::chmod(native(files()).constData(), 0777);
        QCOMPARE(TestSupport::readFile(target), "New\r\n");
        QCOMPARE(
            TestSupport::readFile(file(u"b"_s)), folderMode == 0777 ? "New\r\n" : QByteArray());
        QCOMPARE(entries().size(), folderMode == 0777 ? 2 : 1);
    }

    void print_data()
    {
        QTest::addColumn<int>("size"); // -1: nothing selected
        QTest::addColumn<QString>("side");
        QTest::addColumn<int>("font");
        QTest::addColumn<double>("margin");
        QTest::addColumn<QStringList>("page");
        QTest::newRow("small, centre, Large, 2 in")
            << 0 << u"Option3"_s << 2 << 2.0 << expectedPage(0, FeedSide::Center, 2, 2);
        QTest::newRow("long, left, Small, 1 in")
            << 1 << u"Option2"_s << 0 << 1.0 << expectedPage(1, FeedSide::Left, 0, 1);
        QTest::newRow("small, right, Medium, 3 in")
            << 0 << u"Option1"_s << 1 << 3.0 << expectedPage(0, FeedSide::Right, 1, 3);
        QTest::newRow("nothing selected, an edge space that fits no envelope")
            << -1 << QString() << -1 << 1e300 << expectedPage(1, FeedSide::Right, 1, 0);
    }

    void print()
    {
        QFETCH(int, size);
        QFETCH(QString, side);
        QFETCH(int, font);
        QFETCH(double, margin);
        if (size >= 0) {
            QTest::mouseClick(c().OptSize[size], Qt::LeftButton);
            QTest::mouseClick(m_f->form().findChild<QRadioButton *>(side), Qt::LeftButton);
            c().cmbSize->setCurrentIndex(font);
        } else {
            start(true);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"fits no envelope"_s));
        }
        m_f->form().runState().marginInches = margin;
        fillEnvelope();
        m_dialog->confirmPrinter(true);
        QTest::mouseClick(c().Print, Qt::LeftButton);
        QTEST(m_printer->log(), "page");
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
    [[nodiscard]] QString digits() const { return m_f->form().runState().ZipDigits; }
    [[nodiscard]] QString files() const { return m_f->path(u"files"); }
    [[nodiscard]] QString file(const QString &name) const { return files() + u'/' + name; }
    [[nodiscard]] QStringList entries() const
    {
        return QDir(files()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    // The window on a folder of its own, nothing selected when asked, with the
    // scripted dialog and the recording printer.
    void start(bool unselected = false)
    {
        m_f = std::make_unique<FormFixture>();
        for (const QStringView name :
            {SettingsFiles::EnvSize, SettingsFiles::EnvFeed, SettingsFiles::FontSize}) {
            if (unselected)
                m_f->put(name, "7\r\n");
        }
        QVERIFY(m_f->start());
        QVERIFY(QDir(m_f->folder()).mkdir(u"files"_s));
        m_dialog = &ScriptedDialog::installIn(m_f->form().commonDialog());
        m_printer = std::make_shared<RecordingPrinter>();
        m_f->form().printJob().setSurfaceFactory([this](QPrinter &) { return m_printer; });
    }

    void clickWith(QPushButton *button, const QString &path)
    {
        m_dialog->choose(path);
        button->click();
        QVERIFY(m_dialog->scriptUsed());
    }

    void clickLogo(const std::optional<QString> &answer)
    {
        answer ? m_dialog->choose(*answer) : m_dialog->cancel();
        QTest::mouseClick(c().Image1, Qt::LeftButton);
        QVERIFY(m_dialog->scriptUsed());
        QVERIFY(m_f->form().commonDialog().CancelError);
    }

    // Clicks into the recipient box and types at its end; a line feed is Enter.
    void type(const QString &text)
    {
        QTest::mouseClick(c().ToAddr->viewport(), Qt::LeftButton);
        c().ToAddr->moveCursor(QTextCursor::End);
        for (const QChar ch : text)
            ch == u'\n' ? QTest::keyClick(c().ToAddr, Qt::Key_Return)
                        : QTest::keyClicks(c().ToAddr, QString(ch));
    }

    // The bars shown: runs of columns holding dark pixels.
    int bars()
    {
        const QImage image = c().picPostNet->grab().toImage();
        int count = 0;
        bool inBar = false;
        for (int x = 0; x < image.width(); ++x) {
            bool dark = false;
            for (int y = 0; y < image.height() && !dark; ++y)
                dark = qGray(image.pixel(x, y)) < 128;
            if (dark && !inBar && count++ == 0)
                m_firstBar = x;
            inBar = dark;
        }
        return count;
    }

    // Return address, logo and bar code on, the recipient typed, the focus away from the box.
    void fillEnvelope()
    {
        m_f->put(SettingsFiles::From, "Ann Lee\r\n1 Elm St\r\n");
        c().Image1->setPicture(redLogo());
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
    int m_firstBar = -1;
};

QTEST_MAIN(HandlersTest)
#include "handlers_test.moc"
