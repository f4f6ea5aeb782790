#include "formfixture.h"
#include "scripteddialog.h"

#include "controls/addressbox.h"
#include "controls/imagebox.h"
#include "handlers/addressfiles.h"
#include "settings/settingsfiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

class AddressFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_f = std::make_unique<FormFixture>();
        QVERIFY(m_f->start());
        m_dialog = &ScriptedDialog::installIn(m_f->form().commonDialog());
        QVERIFY(QDir(m_f->folder()).mkdir(u"files"_s));
    }

    // Opening neither moves the focus nor touches the settings; the preview follows.
    void saveAndOpenAgain()
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
        c().ToAddr->setText(u"IL\r62704"_s);
        QCOMPARE(c().ToAddr->text(), u"IL\r\n62704"_s);
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
        QTest::newRow("second name") << u"hard link"_s << QByteArray("Ann\r\n") << u"Ann"_s;
        QTest::newRow("symbolic link") << u"symlink"_s << QByteArray("Bob\r\n") << u"Bob"_s;
    }

    void openReadsOtherFilesSafely()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        const QString path = file(u"in.qmf"_s);
        const QString other = file(u"other.txt"_s);
        if (kind == u"FIFO")
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            QVERIFY(TestSupport::writeFile(kind == u"file" ? path : other, bytes));
        if (kind == u"hard link")
            QCOMPARE(
                ::link(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()),
                0);
        else if (kind == u"symlink")
            QVERIFY(QFile::link(other, path));
        if (kind == u"FIFO" || bytes.size() > AddressFiles::MaxFileBytes)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"Address file|address file"_s));
        c().ToAddr->setText(u"Previous"_s);
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

    // Where no file can be made beside it, or a rename would part the file
    // from its other name, it is written in place.
    void saveInPlace_data()
    {
        QTest::addColumn<bool>("hardLink");
        QTest::newRow("folder not writable") << false;
        QTest::newRow("second name") << true;
    }

    void saveInPlace()
    {
        QFETCH(bool, hardLink);
        const QString target = file(u"old.qmf"_s);
        QVERIFY(TestSupport::writeFile(target, "Old\r\n"));
        if (hardLink)
            QCOMPARE(::link(QFile::encodeName(target).constData(),
                         QFile::encodeName(file(u"b"_s)).constData()),
                0);
        else if (::geteuid()
            == 0) { // root writes anywhere: the folder is another user's, the save a third's
            QCOMPARE(::chmod(QFile::encodeName(m_f->folder()).constData(), 0755), 0);
            QCOMPARE(::chown(QFile::encodeName(files()).constData(), 65534, 65534), 0);
        }
        QCOMPARE(::chmod(QFile::encodeName(target).constData(), 0666), 0);
        QCOMPARE(::chmod(QFile::encodeName(files()).constData(), hardLink ? 0777 : 0555), 0);
        const bool asOther = !hardLink && ::geteuid() == 0;
        if (asOther)
            QCOMPARE(::seteuid(65533), 0);
        c().ToAddr->setText(u"New"_s);
        clickWith(c().Save, target);
        if (asOther)
            QCOMPARE(::seteuid(0), 0);
        ::chmod(QFile::encodeName(files()).constData(), 0777);
        QCOMPARE(TestSupport::readFile(target), "New\r\n");
        QCOMPARE(TestSupport::readFile(file(u"b"_s)), hardLink ? "New\r\n" : QByteArray());
        QCOMPARE(entries().size(), hardLink ? 2 : 1);
    }

    // Return in the save dialog right after choosing a logo must not replace
    // it: the logo's name is not proposed, only its folder.
    void saveAfterLogoKeepsThePicture()
    {
        const QString logo = file(u"logo.gif"_s);
        QVERIFY(QFile::copy(TestSupport::dataPath(u"logo-40x20.gif"_s), logo));
        QTest::mouseClick(c().Check1, Qt::LeftButton);
        m_dialog->choose(logo);
        QTest::mouseClick(c().Image1, Qt::LeftButton);
        m_dialog->acceptProposed();
        QTest::keyClick(&m_f->form(), Qt::Key_S, Qt::AltModifier);
        QVERIFY(m_dialog->scriptUsed());
        const FileDialogRequest &save = m_dialog->fileRequests().last();
        QCOMPARE(save.kind, FileDialogRequest::Kind::Save);
        QCOMPARE(save.fileName, QString());
        QCOMPARE(save.initialDirectory, files());
        QCOMPARE(TestSupport::readFile(logo),
            TestSupport::readFile(TestSupport::dataPath(u"logo-40x20.gif"_s)));
    }

private:
    [[nodiscard]] const Form1Controls &c() const { return m_f->controls(); }
    [[nodiscard]] QString files() const { return m_f->path(u"files"); }
    [[nodiscard]] QString file(const QString &name) const { return files() + u'/' + name; }
    [[nodiscard]] QStringList entries() const
    {
        return QDir(files()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    void clickWith(QPushButton *button, const QString &path)
    {
        m_dialog->choose(path);
        button->click();
        QVERIFY(m_dialog->scriptUsed());
    }

    std::unique_ptr<FormFixture> m_f;
    ScriptedDialog *m_dialog = nullptr;
};

QTEST_MAIN(AddressFilesTest)
#include "addressfiles_test.moc"
