#include "formfixture.h"
#include "scripteddialog.h"
#include "testsupport.h"

#include "controls/addressbox.h"
#include "controls/imagebox.h"
#include "settings/settingsfiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPushButton>
#include <QScopeGuard>
#include <QTemporaryDir>
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
        m_files = std::make_unique<QTemporaryDir>();
        m_f = std::make_unique<FormFixture>();
        QVERIFY(m_f->start());
        m_dialog = &ScriptedDialog::installIn(m_f->form().commonDialog());
    }

    void cleanup()
    {
        m_f.reset();
        m_files.reset();
    }

    void saveAndOpenAgain_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("lines with accents") << u"Zoë Müller\r\nCafé Straße 1"_s
                                            << QByteArray("Zo\xc3\xab M\xc3\xbcller\r\n"
                                                          "Caf\xc3\xa9 Stra\xc3\x9f"
                                                          "e 1\r\n");
        QTest::newRow("empty box") << QString() << QByteArray("\r\n");
        QTest::newRow("empty lines inside and at the end")
            << u"A\r\n\r\nB\r\n"_s << QByteArray("A\r\n\r\nB\r\n\r\n");
    }

    void saveAndOpenAgain()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        c().ToAddr->setText(text);
        save(file(u"a.qmf"_s));
        QCOMPARE(TestSupport::readFile(file(u"a.qmf"_s)), bytes);

        c().ToAddr->setText(u"Something else"_s);
        open(file(u"a.qmf"_s));
        QCOMPARE(c().ToAddr->text(), text);
        QVERIFY(!m_f->exists(SettingsFiles::To)); // neither saving nor opening touches it
    }

    // Files other programs wrote; nothing may make opening wait or read without bound.
    void openReadsOtherFilesSafely_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("Windows-1252, CR-only lines, no final break")
            << u"file"_s << QByteArray("Zo\xeb\r\x80 5\rC") << u"Zoë\r\n€ 5\r\nC"_s;
        // 16384 lines of 64 bytes fill the 1 MiB that is read; the rest is not.
        QTest::newRow("2 MiB file")
            << u"file"_s << QByteArray(62, 'x').append("\r\n").repeated(32768)
            << QStringList(16384, QString(62, u'x')).join(u"\r\n"_s);
        QTest::newRow("FIFO") << u"FIFO"_s << QByteArray() << QString();
        // A file the user picked is read through its links, as any editor does.
        QTest::newRow("second name") << u"hard link"_s << QByteArray("Ann\r\n") << u"Ann"_s;
        QTest::newRow("symbolic link") << u"symlink"_s << QByteArray("Bob\r\n") << u"Bob"_s;
    }

    void openReadsOtherFilesSafely()
    {
        QFETCH(QString, kind);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
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
        c().ToAddr->setText(u"Previous"_s);
        open(path);
        QCOMPARE(c().ToAddr->text(), text);
    }

    void savePathUsedAsTypedAndReplaced()
    {
        c().ToAddr->setText(u"First, a much longer address\r\nover two lines"_s);
        save(file(u"no-extension"_s));
        c().ToAddr->setText(u"Short"_s);
        save(file(u"no-extension"_s));
        QCOMPARE(TestSupport::readFile(file(u"no-extension"_s)), QByteArray("Short\r\n"));
        QCOMPARE(entries(), QStringList {u"no-extension"_s});
    }

    void cancelChangesNothing_data()
    {
        QTest::addColumn<bool>("saving");
        QTest::newRow("save dialog") << true;
        QTest::newRow("open dialog") << false;
    }

    void cancelChangesNothing()
    {
        QFETCH(bool, saving);
        c().ToAddr->setText(u"Ann\r\nDallas TX 75201"_s);
        save(file(u"kept.qmf"_s));
        c().ToAddr->setText(u"Bob\r\nAustin TX 73301"_s);
        const QStringList settingsBefore = QDir(m_f->folder()).entryList(QDir::Files);

        m_dialog->cancel();
        (saving ? c().Save : c().Open)->click();
        QCOMPARE(c().ToAddr->text(), u"Bob\r\nAustin TX 73301"_s);
        QCOMPARE(
            TestSupport::readFile(file(u"kept.qmf"_s)), QByteArray("Ann\r\nDallas TX 75201\r\n"));
        QCOMPARE(entries(), QStringList {u"kept.qmf"_s});
        QCOMPARE(QDir(m_f->folder()).entryList(QDir::Files), settingsBefore);
    }

    void failedSaveKeepsTheOldFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("chosen path is a folder") << u"folder"_s;
        QTest::newRow("file read-only") << u"read-only file"_s;
    }

    void failedSaveKeepsTheOldFile()
    {
        QFETCH(QString, kind);
        if (kind == u"read-only file" && ::geteuid() == 0)
            QSKIP("Permissions do not bind root");
        const QString old = file(u"old.qmf"_s);
        QVERIFY(TestSupport::writeFile(old, "Old\r\n"));
        QString target = old;
        if (kind == u"folder")
            QVERIFY(QDir(m_files->path()).mkdir(target = file(kind)));
        else
            QVERIFY(QFile::setPermissions(old, QFile::ReadOwner));
        const QStringList before = entries();

        c().ToAddr->setText(u"New"_s);
        save(target);
        QCOMPARE(TestSupport::readFile(old), QByteArray("Old\r\n"));
        QCOMPARE(entries(), before);
    }

    // Where no file can be made or renamed beside it, the file is written in
    // place. The owners are another user's only when root sets the case up and
    // then saves as a third user.
    void saveWhereOnlyTheFileIsWritable_data()
    {
        QTest::addColumn<uint>("folderMode");
        QTest::newRow("folder not writable") << 0555u;
        QTest::newRow("shared folder of another user") << 01777u;
    }

    void saveWhereOnlyTheFileIsWritable()
    {
        QFETCH(uint, folderMode);
        const bool root = ::geteuid() == 0;
        if (!root && (folderMode & S_ISVTX))
            QSKIP("Only root can give a folder and a file to another user");
        const QString folder = file(u"shared"_s);
        const QString target = folder + u"/old.qmf"_s;
        QVERIFY(QDir().mkdir(folder));
        QVERIFY(TestSupport::writeFile(target, "Old\r\n"));
        const QByteArray nativeFolder = QFile::encodeName(folder);
        const QByteArray nativeTarget = QFile::encodeName(target);
        QCOMPARE(::chmod(nativeTarget.constData(), 0666), 0);
        QCOMPARE(::chmod(nativeFolder.constData(), folderMode), 0);
        const auto restore = qScopeGuard([&] {
            if (root)
                QCOMPARE(::seteuid(0), 0);
            ::chmod(nativeFolder.constData(), 0700);
        });
        if (root) {
            const uid_t owner = 65534;
            QCOMPARE(::chmod(QFile::encodeName(m_files->path()).constData(), 0755), 0);
            QCOMPARE(::chown(nativeFolder.constData(), owner, owner), 0);
            QCOMPARE(::chown(nativeTarget.constData(), owner, owner), 0);
            QCOMPARE(::seteuid(owner - 1), 0);
        }

        c().ToAddr->setText(u"New"_s);
        save(target);
        QCOMPARE(TestSupport::readFile(target), QByteArray("New\r\n"));
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
            QStringList {u"old.qmf"_s});
    }

    void openedAddressDrivesThePreview()
    {
        QTest::mouseClick(c().Check2, Qt::LeftButton);
        c().FromAddr->setText(u"Return\r\nAddress 99999"_s);
        QVERIFY(TestSupport::writeFile(file(u"to.qmf"_s), "Ann\r\nSpringfield IL 62704-1234\r\n"));
        c().ToAddr->setFocus();
        m_f->put(SettingsFiles::To, "Before\r\n");
        open(file(u"to.qmf"_s));
        QCOMPARE(m_f->form().runState().ZipDigits, u"627041234"_s);
        QCOMPARE(c().FromAddr->text(), u"Return\r\nAddress 99999"_s);
        QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(c().ToAddr));
        QCOMPARE(m_f->bytes(SettingsFiles::To), QByteArray("Before\r\n"));
    }

    // A file name chosen among other kinds of files is not proposed again,
    // only its folder; the open dialog leaves the settings folder as the
    // starting folder for every later use.
    void dialogKeepsWhatEachUseLeaves()
    {
        const QString logo = TestSupport::dataPath(u"logo-40x20.gif"_s);
        const QString address = file(u"a.qmf"_s);
        QVERIFY(TestSupport::writeFile(address, "A\r\n"));
        QTest::mouseClick(c().Check1, Qt::LeftButton);
        m_dialog->choose(logo);
        QTest::mouseClick(c().Image1, Qt::LeftButton);
        m_dialog->cancel();
        c().Save->click();
        open(address);
        m_dialog->cancel();
        c().Save->click();
        m_dialog->cancel();
        QTest::mouseClick(c().Image1, Qt::LeftButton);

        QStringList shown; // kind, starting folder, file name, whose file types
        for (const FileDialogRequest &r : m_dialog->fileRequests()) {
            const bool saving = r.kind == FileDialogRequest::Kind::Save;
            const bool addressTypes
                = r.nameFilters == QStringList {u"Quillmark File (*.qmf) (*.qmf)"_s};
            shown << QStringList {saving ? u"Save"_s : u"Open"_s, r.initialDirectory, r.fileName,
                addressTypes ? u"address"_s : u"logo"_s}
                         .join(u'|');
        }
        const QString folder = m_f->folder();
        const QString logoFolder = QFileInfo(logo).absolutePath();
        QCOMPARE(shown,
            QStringList({u"Open|||logo"_s, u"Save|%1||address"_s.arg(logoFolder),
                u"Open|%1||address"_s.arg(logoFolder), u"Save|%1|%2|address"_s.arg(folder, address),
                u"Open|%1||logo"_s.arg(m_files->path())}));
        QCOMPARE(m_f->form().commonDialog().InitDir, folder);
    }

    // Return in the save dialog right after choosing a logo must not replace it.
    void saveAfterLogoKeepsThePicture()
    {
        const QString logo = file(u"logo.gif"_s);
        QVERIFY(QFile::copy(TestSupport::dataPath(u"logo-40x20.gif"_s), logo));
        const QByteArray picture = TestSupport::readFile(logo);
        QTest::mouseClick(c().Check1, Qt::LeftButton);
        m_dialog->choose(logo);
        QTest::mouseClick(c().Image1, Qt::LeftButton);
        c().ToAddr->setText(u"Ann"_s);
        m_dialog->acceptProposed();
        QTest::keyClick(&m_f->form(), Qt::Key_S, Qt::AltModifier);
        QVERIFY(m_dialog->scriptUsed());
        QCOMPARE(TestSupport::readFile(logo), picture);
    }

private:
    [[nodiscard]] const Form1Controls &c() const { return m_f->controls(); }
    [[nodiscard]] QString file(const QString &name) const { return m_files->filePath(name); }
    [[nodiscard]] QStringList entries() const
    {
        return QDir(m_files->path())
            .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    void save(const QString &path)
    {
        m_dialog->choose(path);
        c().Save->click();
        QVERIFY(m_dialog->scriptUsed());
    }

    void open(const QString &path)
    {
        m_dialog->choose(path);
        c().Open->click();
        QVERIFY(m_dialog->scriptUsed());
    }

    std::unique_ptr<FormFixture> m_f;
    std::unique_ptr<QTemporaryDir> m_files;
    ScriptedDialog *m_dialog = nullptr;
};

QTEST_MAIN(AddressFilesTest)
#include "addressfiles_test.moc"
