#include "formfixture.h"
#include "scripteddialog.h"
#include "testsupport.h"

#include "app/addressbox.h"
#include "app/imagebox.h"
#include "options/addressfiles.h"
#include "settings/settingsfiles.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

class AddressFilesTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void saveAndOpenAgain_data();
    void saveAndOpenAgain();
    void openGivesLines_data();
    void openGivesLines();
    void openIsBoundedAndNeverWaits_data();
    void openIsBoundedAndNeverWaits();
    void savePathUsedAsTypedAndReplaced();
    void cancelChangesNothing_data();
    void cancelChangesNothing();
    void failedSaveKeepsTheOldFile_data();
    void failedSaveKeepsTheOldFile();
    void openedAddressDrivesThePreview();
    void dialogKeepsWhatEachUseLeaves();

private:
    [[nodiscard]] const Form1Controls &c() const { return m_f->controls(); }
    [[nodiscard]] QString file(const QString &name) const { return m_files->filePath(name); }
    void save(const QString &path);
    void open(const QString &path);

    std::unique_ptr<FormFixture> m_f;
    std::unique_ptr<QTemporaryDir> m_files;
    ScriptedDialog *m_dialog = nullptr;
};

void AddressFilesTest::init()
{
    m_files = std::make_unique<QTemporaryDir>();
    m_f = std::make_unique<FormFixture>();
    QVERIFY(m_f->start());
    m_dialog = &ScriptedDialog::installIn(m_f->form().commonDialog());
}

void AddressFilesTest::cleanup()
{
    m_f.reset();
    m_files.reset();
}

void AddressFilesTest::save(const QString &path)
{
    m_dialog->choose(path);
    c().Save->click();
    QVERIFY(m_dialog->scriptUsed());
}

void AddressFilesTest::open(const QString &path)
{
    m_dialog->choose(path);
    c().Open->click();
    QVERIFY(m_dialog->scriptUsed());
}

void AddressFilesTest::saveAndOpenAgain_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("three lines") << "Ann Smith\r\n1 Main St\r\nSpringfield IL 62704"
                                 << QByteArray(
                                        "Ann Smith\r\n1 Main St\r\nSpringfield IL 62704\r\n");
    QTest::newRow("empty box") << "" << QByteArray("\r\n");
    QTest::newRow("trailing line break") << "A\r\n" << QByteArray("A\r\n\r\n");
    QTest::newRow("empty lines inside") << "A\r\n\r\n\r\nB" << QByteArray("A\r\n\r\n\r\nB\r\n");
    QTest::newRow("accents") << "Zoë Müller\r\nCafé Straße"
                             << QByteArray("Zo\xc3\xab M\xc3\xbcller\r\nCaf\xc3\xa9 Stra\xc3\x9f"
                                           "e\r\n");
}

void AddressFilesTest::saveAndOpenAgain()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    c().ToAddr->setText(text);
    save(file(QStringLiteral("a.qmf")));
    QCOMPARE(TestSupport::readFile(file(QStringLiteral("a.qmf"))), bytes);

    c().ToAddr->setText(QStringLiteral("Something else"));
    open(file(QStringLiteral("a.qmf")));
    QCOMPARE(c().ToAddr->text(), text);
    QVERIFY(!m_f->exists(SettingsFiles::To)); // neither saving nor opening touches it
}

void AddressFilesTest::openGivesLines_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::newRow("no final CR LF") << QByteArray("A\r\nB") << "A\r\nB";
    QTest::newRow("0 bytes") << QByteArray("") << "";
    QTest::newRow("only CR LF") << QByteArray("\r\n") << "";
    QTest::newRow("CR-only lines") << QByteArray("A\rB\r") << "A\r\nB";
    QTest::newRow("Windows-1252") << QByteArray("Zo\xeb M\xfcller\r\n\x80 5\r\n")
                                  << "Zoë Müller\r\n€ 5";
    QTest::newRow("NUL bytes") << QByteArray("A\0B\r\n\0\r\n", 8)
                               << QStringLiteral("A%1B\r\n%1").arg(QChar(0));
}

void AddressFilesTest::openGivesLines()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QVERIFY(TestSupport::writeFile(file(QStringLiteral("in.qmf")), bytes));
    c().ToAddr->setText(QStringLiteral("Previous"));
    open(file(QStringLiteral("in.qmf")));
    QCOMPARE(c().ToAddr->text(), text);
}

void AddressFilesTest::openIsBoundedAndNeverWaits_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("text");
    // 16384 lines of 64 bytes fill the 1 MiB that is read; the rest is not.
    const QString line(62, u'x');
    QStringList lines;
    for (int i = 0; i < 16384; ++i)
        lines << line;
    QTest::newRow("2 MiB file") << "large" << lines.join(QStringLiteral("\r\n"));
    QTest::newRow("FIFO") << "fifo"
                          << "";
    QTest::newRow("folder") << "folder"
                            << "";
    QTest::newRow("no such file") << "missing"
                                  << "";
}

void AddressFilesTest::openIsBoundedAndNeverWaits()
{
    QFETCH(QString, kind);
    QFETCH(QString, text);
    const QString path = file(kind);
    if (kind == u"large")
        QVERIFY(TestSupport::writeFile(path, QByteArray(62, 'x').append("\r\n").repeated(32768)));
    else if (kind == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    else if (kind == u"folder")
        QVERIFY(QDir(m_files->path()).mkdir(kind));
    c().ToAddr->setText(QStringLiteral("Previous"));
    open(path);
    QCOMPARE(c().ToAddr->text(), text);
}

void AddressFilesTest::savePathUsedAsTypedAndReplaced()
{
    c().ToAddr->setText(QStringLiteral("First, a much longer address\r\nover two lines"));
    save(file(QStringLiteral("no-extension")));
    c().ToAddr->setText(QStringLiteral("Short"));
    save(file(QStringLiteral("no-extension")));
    QCOMPARE(TestSupport::readFile(file(QStringLiteral("no-extension"))), QByteArray("Short\r\n"));
    QCOMPARE(
        QDir(m_files->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
        QStringList {QStringLiteral("no-extension")});
}

void AddressFilesTest::cancelChangesNothing_data()
{
    QTest::addColumn<bool>("saving");
    QTest::newRow("save dialog") << true;
    QTest::newRow("open dialog") << false;
}

void AddressFilesTest::cancelChangesNothing()
{
    QFETCH(bool, saving);
    c().ToAddr->setText(QStringLiteral("Ann\r\nDallas TX 75201"));
    save(file(QStringLiteral("kept.qmf")));
    c().ToAddr->setText(QStringLiteral("Bob\r\nAustin TX 73301"));
    const QStringList before = QDir(m_f->folder()).entryList(QDir::Files);

    m_dialog->cancel();
    (saving ? c().Save : c().Open)->click();
    QCOMPARE(c().ToAddr->text(), QStringLiteral("Bob\r\nAustin TX 73301"));
    QCOMPARE(TestSupport::readFile(file(QStringLiteral("kept.qmf"))),
        QByteArray("Ann\r\nDallas TX 75201\r\n"));
    QCOMPARE(
        QDir(m_files->path()).entryList(QDir::Files), QStringList {QStringLiteral("kept.qmf")});
    QCOMPARE(QDir(m_f->folder()).entryList(QDir::Files), before);
    QCOMPARE(m_f->form().commonDialog().FileName, file(QStringLiteral("kept.qmf")));
}

void AddressFilesTest::failedSaveKeepsTheOldFile_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("chosen path is a folder") << "folder";
    QTest::newRow("chosen path is a FIFO") << "fifo";
    QTest::newRow("folder not writable") << "read-only folder";
    QTest::newRow("file read-only") << "read-only file";
}

void AddressFilesTest::failedSaveKeepsTheOldFile()
{
    QFETCH(QString, kind);
    if (kind.startsWith(u"read-only") && ::geteuid() == 0)
        QSKIP("Permissions do not bind root");
    const QString old = file(QStringLiteral("old.qmf"));
    QVERIFY(TestSupport::writeFile(old, "Old\r\n"));
    QString target = old;
    if (kind == u"folder")
        QVERIFY(QDir(m_files->path()).mkdir(target = file(kind)));
    else if (kind == u"fifo")
        QCOMPARE(::mkfifo(QFile::encodeName(target = file(kind)).constData(), 0600), 0);
    else if (kind == u"read-only folder")
        QVERIFY(QFile::setPermissions(m_files->path(), QFile::ReadOwner | QFile::ExeOwner));
    else
        QVERIFY(QFile::setPermissions(old, QFile::ReadOwner));
    const QStringList before
        = QDir(m_files->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    c().ToAddr->setText(QStringLiteral("New"));
    save(target);
    QFile::setPermissions(m_files->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QCOMPARE(TestSupport::readFile(old), QByteArray("Old\r\n"));
    QCOMPARE(QDir(m_files->path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
}

void AddressFilesTest::openedAddressDrivesThePreview()
{
    QTest::mouseClick(c().Check2, Qt::LeftButton);
    c().FromAddr->setText(QStringLiteral("Return\r\nAddress 99999"));
    QVERIFY(TestSupport::writeFile(
        file(QStringLiteral("to.qmf")), "Ann\r\nSpringfield IL 62704-1234\r\n"));
    c().ToAddr->setFocus();
    m_f->put(SettingsFiles::To, "Before\r\n");
    open(file(QStringLiteral("to.qmf")));
    QCOMPARE(m_f->form().runState().ZipDigits, QStringLiteral("627041234"));
    QCOMPARE(c().FromAddr->text(), QStringLiteral("Return\r\nAddress 99999"));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget *>(c().ToAddr));
    QCOMPARE(m_f->bytes(SettingsFiles::To), QByteArray("Before\r\n"));
}

// The logo's file name stands in the next address dialog; the open dialog
// leaves the settings folder as the starting folder for every later use.
void AddressFilesTest::dialogKeepsWhatEachUseLeaves()
{
    const QString logo = file(QStringLiteral("logo.bmp"));
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(Qt::red);
    QVERIFY(picture.save(logo, "BMP"));
    QTest::mouseClick(c().Check1, Qt::LeftButton);
    m_dialog->choose(logo);
    QTest::mouseClick(c().Image1, Qt::LeftButton);
    const QString address = file(QStringLiteral("a.qmf"));
    QVERIFY(TestSupport::writeFile(address, "A\r\n"));

    m_dialog->cancel();
    c().Save->click();
    open(address);
    m_dialog->cancel();
    c().Save->click();
    m_dialog->cancel();
    QTest::mouseClick(c().Image1, Qt::LeftButton);

    const QStringList addressFilter = CommonDialog::nameFilters(AddressFiles::Filter.toString());
    QCOMPARE(addressFilter, QStringList {QStringLiteral("Quillmark File (*.qmf) (*.qmf)")});
    using Kind = FileDialogRequest::Kind;
    const struct
    {
        Kind kind;
        QString initialDirectory;
        QString fileName;
        bool addressFilter;
    } expected[] = {
        {Kind::Open, QString(), QString(), false}, // the logo
        {Kind::Save, QString(), logo, true}, // cancelled save
        {Kind::Open, m_f->folder(), logo, true}, // open
        {Kind::Save, m_f->folder(), address, true}, // cancelled save
        {Kind::Open, m_f->folder(), address, false}, // cancelled logo
    };
    const QList<FileDialogRequest> &shown = m_dialog->fileRequests();
    QCOMPARE(shown.size(), qsizetype(std::size(expected)));
    for (qsizetype i = 0; i < shown.size(); ++i) {
        QCOMPARE(shown[i].kind, expected[i].kind);
        QCOMPARE(shown[i].initialDirectory, expected[i].initialDirectory);
        QCOMPARE(shown[i].fileName, expected[i].fileName);
        QCOMPARE(shown[i].nameFilters == addressFilter, expected[i].addressFilter);
    }
    QCOMPARE(m_f->form().commonDialog().InitDir, m_f->folder());
}

QTEST_MAIN(AddressFilesTest)
#include "addressfiles_test.moc"
