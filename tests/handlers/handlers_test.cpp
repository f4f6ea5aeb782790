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

#include <QCheckBox>
#include <QComboBox>
#include <QDirIterator>
#include <QPrinter>
#include <QProcess>
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
    RecordingPrinter printer;
    printer.failFromCall(fail);
    const EnvelopePageContent content {layoutFor(size, side, edge), true,
        QImage(40, 20, QImage::Format_RGB32), {u"Ann Lee"_s, u"1 Elm St"_s},
        Recipient.split(u"\r\n"_s), font, true, u"999"_s};
    if (EnvelopePage(content, &basPostNet::DrawPostNet).compose(printer))
        printer.EndDoc();
    else
        printer.abortDoc();
    return printer.log();
}

[[nodiscard]] QByteArray native(const QString &path)
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

    // The window with the scripted dialog and the recording printer.
    void init()
    {
        m_f = std::make_unique<FormFixture>();
        QVERIFY(m_f->start());
        QVERIFY(QDir(m_f->folder()).mkdir(u"files"_s));
        m_dialog = &ScriptedDialog::installIn(m_f->form().commonDialog());
        m_printer = std::make_shared<RecordingPrinter>();
        m_f->form().printJob().setSurfaceFactory([this](QPrinter &) { return m_printer; });
    }

    // A picture selects its button; the side words are the opposite of the captions.
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

        // The font size applies to the recipient.
        c().cmbSize->setFocus(Qt::TabFocusReason);
        QCOMPARE(BackColor::of(c().cmbSize), BackColor::White);
        QStringList seen;
        for (const Qt::Key key : {Qt::Key_Up, Qt::Key_Down, Qt::Key_Down}) {
            QTest::keyClick(c().cmbSize, key);
            seen << QString::number(c().ToAddr->font().pointSize())
                    + QString::fromLatin1(m_f->bytes(SettingsFiles::FontSize));
        }
        QCOMPARE(seen, QStringList({u"10 0\r\n"_s, u"12 1\r\n"_s, u"16 2\r\n"_s}));

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

        // Every failure clears the logo; a FIFO is not waited on.
        const QString path = m_f->path(u"chosen");
        for (const QString &kind : {u"cancel"_s, u"fifo"_s, u"unwritable"_s}) {
            c().Check1->setChecked(true);
            clickLogo(gif);
            QFile::remove(path);
            if (kind == u"fifo")
                QCOMPARE(::mkfifo(native(path).constData(), 0600), 0);
            else if (kind == u"unwritable")
                QVERIFY(QFile::remove(m_f->path(SettingsFiles::Logo))
                    && QDir(m_f->folder()).mkdir(SettingsFiles::Logo.toString()));
            for (int i = kind == u"cancel" ? 0 : kind == u"fifo" ? 1 : 2; i > 0; --i)
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
        QTest::mouseClick(c().ToAddr->viewport(), Qt::LeftButton);
        QTest::keyClicks(c().ToAddr, u"Springfield, IL 62704-1234"_s);
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
        const qreal pixelsPerTwip = c().picPostNet->devicePixelRatioF() / Screen::TwipsPerPixelX();
        QVERIFY(qAbs(m_firstBar - 50 * pixelsPerTwip) <= 1.0);

        // Text set by the program is read from the last line back, as the whole text would be.
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
        const QString saved = file(u"a.qmf"_s);
        clickWith(c().Save, saved);
        QCOMPARE(
            TestSupport::readFile(saved), "Zo\xc3\xab M\xc3\xbcller\r\n\r\nCaf\xc3\xa9 1\r\n\r\n");
        QCOMPARE(m_f->form().commonDialog().Filter, AddressFiles::Filter.toString());
        c().ToAddr->setText(u"Bob"_s);
        m_dialog->cancel();
        c().Open->click();
        m_dialog->cancel();
        c().Save->click();
        QCOMPARE(c().ToAddr->text(), u"Bob"_s);
        QCOMPARE(TestSupport::readFile(saved).size(), 27);
        QCOMPARE(entries(), 1);
        clickWith(c().Open, saved);
        QCOMPARE(c().ToAddr->text(), text);
        QCOMPARE(m_f->form().runState().ZipDigits, u"1"_s);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(c().FromAddr));
        QCOMPARE(m_f->form().commonDialog().InitDir, m_f->folder());
        QCOMPARE(m_f->bytes(SettingsFiles::To), "Before\r\n");

        // Files other programs wrote: nothing makes opening wait or read without bound.
        const QString other = file(u"other"_s);
        QCOMPARE(::mkfifo(native(other).constData(), 0600), 0);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"not an ordinary file"_s));
        clickWith(c().Open, other);
        QCOMPARE(c().ToAddr->text(), QString());
        QVERIFY(QFile::remove(other) && QFile::link(saved, other));
        clickWith(c().Open, other);
        QCOMPARE(c().ToAddr->text(), text);
        // 32768 lines of 64 bytes: 16384 fill the 1 MiB that is read.
        QVERIFY(QFile::remove(other)
            && TestSupport::writeFile(other, QByteArray(62, 'x').append("\r\n").repeated(32768)));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"read only up to"_s));
        clickWith(c().Open, other);
        QCOMPARE(c().ToAddr->text(), QStringList(16384, QString(62, u'x')).join(u"\r\n"_s));
    }

    // A folder or read-only file is kept. Where no file can be made beside it, it cannot be
    // renamed over, or a rename would part it from its other name (b), it is written in place.
    void save_data()
    {
        QTest::addColumn<QString>("target");
        QTest::addColumn<int>("folderMode");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<QByteArray>("saved");
        QTest::newRow("a folder") << u"folder"_s << 0777 << 0666 << QByteArray("Old\r\n");
        QTest::newRow("a read-only file") << u"old.qmf"_s << 0777 << 0400 << QByteArray("Old\r\n");
        QTest::newRow("folder not writable")
            << u"old.qmf"_s << 0555 << 0666 << QByteArray("New\r\n");
        QTest::newRow("another's file in a sticky folder")
            << u"old.qmf"_s << 01777 << 0666 << QByteArray("New\r\n");
        QTest::newRow("second name") << u"b"_s << 0777 << 0666 << QByteArray("New\r\n");
    }

    void save()
    {
        QFETCH(QString, target);
        QFETCH(int, folderMode);
        QFETCH(int, fileMode);
        QFETCH(QByteArray, saved);
        const bool root = ::geteuid() == 0;
        if (root ? fileMode == 0400 : folderMode == 01777)
            QSKIP(root ? "Permissions do not bind root" : "Needs a file of another user");
        const QString old = file(u"old.qmf"_s);
        QVERIFY(TestSupport::writeFile(old, "Old\r\n") && QDir().mkdir(file(u"folder"_s)));
        if (target == u"b")
            QCOMPARE(::link(native(old).constData(), native(file(target)).constData()), 0);
        // Root writes anywhere: the folder and file are another user's, the save a third's.
        const bool asOther = root && folderMode != 0777;
        if (asOther) {
            QCOMPARE(::chmod(native(m_f->folder()).constData(), 0755), 0);
            QCOMPARE(::chown(native(files()).constData(), 65534, 65534), 0);
            QCOMPARE(::chown(native(old).constData(), 65534, 65534), 0);
        }
        QCOMPARE(::chmod(native(old).constData(), fileMode), 0);
        QCOMPARE(::chmod(native(files()).constData(), folderMode), 0);
        if (saved == "Old\r\n")
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"not saved"_s));
        if (asOther)
            QCOMPARE(::seteuid(65533), 0);
        c().ToAddr->setText(u"New"_s);
        clickWith(c().Save, file(target));
        if (asOther)
            QCOMPARE(::seteuid(0), 0);
        ::chmod(native(files()).constData(), 0777);
        QCOMPARE(TestSupport::readFile(old), saved);
        QCOMPARE(entries(), target == u"b" ? 3 : 2);
    }

    // The page goes out only if all went well; either way the preview shows the box again.
    void print_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("side");
        QTest::addColumn<int>("font");
        QTest::addColumn<double>("margin");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QStringList>("page");
        QTest::newRow("small, centre, Large, 2 in")
            << 0 << u"Option3"_s << 2 << 2.0 << QString() << pageFor(0, FeedSide::Center, 2, 2);
        QTest::newRow("long, left, Small, an edge space that fits no envelope")
            << 1 << u"Option2"_s << 0 << 1e300 << QString() << pageFor(1, FeedSide::Left, 0, 0);
        QTest::newRow("dialog cancelled")
            << 1 << u"Option1"_s << 1 << 0.0 << u"cancel"_s << QStringList();
        QTest::newRow("recipient cannot be saved")
            << 1 << u"Option1"_s << 1 << 0.0 << u"to.txt"_s << QStringList();
        QTest::newRow("printer fails after the logo")
            << 1 << u"Option1"_s << 1 << 0.0 << u"fail"_s << pageFor(1, FeedSide::Right, 1, 0, 7);
    }

    void print()
    {
        QFETCH(int, size);
        QFETCH(QString, side);
        QFETCH(int, font);
        QFETCH(QString, fault);
        QFETCH(double, margin);
        QTest::mouseClick(c().OptSize[size], Qt::LeftButton);
        QTest::mouseClick(m_f->form().findChild<QRadioButton *>(side), Qt::LeftButton);
        c().cmbSize->setCurrentIndex(font);
        m_f->form().runState().marginInches = margin;
        if (margin > PrintJob::MaxEdgeSpaceInches)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"fits no envelope"_s));
        fillEnvelope();
        m_f->form().runState().ZipDigits = u"999"_s;
        m_dialog->confirmPrinter(fault != u"cancel");
        if (fault == u"to.txt") {
            QVERIFY(QFile::remove(m_f->path(fault)) && QDir(m_f->folder()).mkdir(fault));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"is a folder"_s));
        }
        m_printer->failFromCall(fault == u"fail" ? 7 : -1);
        if (fault == u"to.txt" || fault == u"fail")
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"nothing is printed|dropped"_s));
        QTest::mouseClick(c().Print, Qt::LeftButton);
        QTEST(m_printer->log(), "page");
        QCOMPARE(m_f->form().runState().ZipDigits, u"121801234"_s);
        QCOMPARE(m_dialog->scriptUsed(), fault != u"to.txt");
        QCOMPARE(m_f->bytes(SettingsFiles::To),
            fault == u"to.txt" ? QByteArray() : Recipient.toLatin1() + "\r\n");
        QVERIFY(!m_dialog->printRequests().value(0).allowSelection);
        QVERIFY(!m_dialog->printRequests().value(0).allowPrintToFile);
    }

    // A dropped page never reaches the queue; the envelope does, landscape on portrait
    // paper: from the top of the logo to the foot of the bars is 6.5 to 12.135 cm.
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
        const auto wholePdf = [this, &pdf] {
            QDirIterator pdfs(m_cupsDir.filePath(u"pdf"_s), {u"*.pdf"_s}, QDir::Files,
                QDirIterator::Subdirectories);
            return pdfs.hasNext()
                && TestSupport::readFile(pdf = pdfs.next()).trimmed().endsWith("%%EOF");
        };
        QTRY_VERIFY_WITH_TIMEOUT(wholePdf(), 90000);

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
    [[nodiscard]] int entries() const { return int(QDir(files()).count()) - 2; } // . and ..

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
    }

    // The bars shown: runs of columns holding dark pixels.
    int bars()
    {
        const QImage image = c().picPostNet->grab().toImage();
        int count = 0;
        for (int x = 0, before = 0, dark = 0; x < image.width(); ++x, before = dark) {
            for (int y = dark = 0; y < image.height(); ++y)
                dark |= qGray(image.pixel(x, y)) < 128;
            if (dark && !before && count++ == 0)
                m_firstBar = x;
        }
        return count;
    }

    // Return address, logo and bar code on, the recipient set.
    void fillEnvelope()
    {
        m_f->put(SettingsFiles::From, "Ann Lee\r\n1 Elm St\r\n");
        QImage logo(40, 20, QImage::Format_RGB32);
        logo.fill(Qt::red);
        c().Image1->setPicture(logo);
        QTest::mouseClick(c().Check1, Qt::LeftButton);
        QTest::mouseClick(c().Check2, Qt::LeftButton);
        c().ToAddr->setText(Recipient);
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
