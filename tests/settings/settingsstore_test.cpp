#include "settings/numberforms.h"
#include "settings/restorerules.h"
#include "settings/settingsfiles.h"
#include "settings/settingsstore.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

QByteArray native(const QString &path)
{
    return QFile::encodeName(path);
}

mode_t permissionsOf(const QString &path)
{
    struct stat seen = {};
    return ::stat(native(path).constData(), &seen) == 0 ? seen.st_mode & 07777 : 0;
}

void expectWarning(const QString &pattern)
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(pattern));
}

enum class Intruder
{
    LinkToFile,
    DanglingLink,
    HardLink,
    Folder,
    Fifo
};

// Puts the intruder at `path`; links point at `outside`.
bool plant(Intruder intruder, const QString &path, const QString &outside)
{
    switch (intruder) {
    case Intruder::LinkToFile:
    case Intruder::DanglingLink:
        return QFile::link(outside, path);
    case Intruder::HardLink:
        return ::link(native(outside).constData(), native(path).constData()) == 0;
    case Intruder::Folder:
        return QDir().mkdir(path);
    case Intruder::Fifo:
        return ::mkfifo(native(path).constData(), 0666) == 0;
    }
    return false;
}

} // namespace

Q_DECLARE_METATYPE(Intruder)

class SettingsStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init();

    void numberFormsAsBytes_data();
    void numberFormsAsBytes();
    void encoding_data();
    void encoding();

    void intruderNeitherReadNorWritten_data();
    void intruderNeitherReadNorWritten();
    void largeFileReadUpToLimit();
    void newFilesWritableByEveryone();
    void noFolderNoAccess();
    void deniedAccessReadsEmptyAndWritesNothing();

private:
    [[nodiscard]] QString path(QStringView name) const { return m_store.filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    SettingsStore m_store;
};

void SettingsStoreTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_store.setFolder(m_dir->path());
}

void SettingsStoreTest::numberFormsAsBytes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("number 1") << NumberForms::numberForm(1) << QByteArray(" 1 \r\n");
    QTest::newRow("number -3") << NumberForms::numberForm(-3) << QByteArray("-3 \r\n");
    QTest::newRow("number min") << NumberForms::numberForm(std::numeric_limits<qint64>::min())
                                << QByteArray("-9223372036854775808 \r\n");
    QTest::newRow("sign-slot 2") << NumberForms::signSlotForm(2) << QByteArray(" 2\r\n");
    QTest::newRow("sign-slot -1") << NumberForms::signSlotForm(-1) << QByteArray("-1\r\n");
    QTest::newRow("bare 1") << NumberForms::bareForm(1) << QByteArray("1\r\n");
}

// Each write replaces the whole file: nothing of a longer old value remains.
void SettingsStoreTest::numberFormsAsBytes()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QVERIFY(m_store.writeText(SettingsFiles::FontSize, u"a much longer old value\r\nover lines"_s));
    QVERIFY(m_store.writeText(SettingsFiles::FontSize, text));
    QCOMPARE(TestSupport::readFile(path(SettingsFiles::FontSize)), bytes);
}

void SettingsStoreTest::encoding_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("writtenSo"); // else only read: writing gives UTF-8
    QTest::newRow("accents") << QByteArray("Zo\xC3\xAB M\xC3\xBCller\r\nCaf\xC3\xA9\r\n")
                             << u"Zoë Müller\r\nCafé"_s << true;
    QTest::newRow("euro sign") << QByteArray("5 \xE2\x82\xAC\r\n") << u"5 €"_s << true;
    QTest::newRow("ends in empty line") << QByteArray("Ann\r\n\r\n") << u"Ann\r\n"_s << true;
    QTest::newRow("1252 e acute") << QByteArray("Caf\xE9\r\n") << u"Café"_s << false;
    QTest::newRow("1252 euro") << QByteArray("\x80 5") << u"€ 5"_s << false;
    QTest::newRow("1252 undefined 0x8D") << QByteArray("\x8D") << u"\u008D"_s << false;
    QTest::newRow("1252 mixed with UTF-8") << QByteArray("\xC3\xA9 \xE9") << u"é é"_s << false;
    QTest::newRow("cut UTF-8 sequence") << QByteArray("\xE2\x82") << u"â‚"_s << false;
    QTest::newRow("overlong slash") << QByteArray("\xC0\xAF") << u"À¯"_s << false;
    QTest::newRow("NUL bytes") << QByteArray(4096, '\0') << QString(4096, QChar(0)) << false;
}

// Settings are written as UTF-8; bytes that are not UTF-8 read as Windows-1252.
void SettingsStoreTest::encoding()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    QFETCH(bool, writtenSo);
    QVERIFY(TestSupport::writeFile(path(SettingsFiles::From), bytes));
    QCOMPARE(RestoreRules::returnAddress(m_store.readState(SettingsFiles::From)), text);
    if (writtenSo) {
        QVERIFY(m_store.writeText(SettingsFiles::From, text));
        QCOMPARE(TestSupport::readFile(path(SettingsFiles::From)), bytes);
    }
}

void SettingsStoreTest::intruderNeitherReadNorWritten_data()
{
    QTest::addColumn<Intruder>("intruder");
    QTest::addColumn<QString>("logged");
    QTest::newRow("link to a file") << Intruder::LinkToFile << u"symbolic link"_s;
    QTest::newRow("dangling link") << Intruder::DanglingLink << u"symbolic link"_s;
    QTest::newRow("hard link") << Intruder::HardLink << u"hard links"_s;
    QTest::newRow("folder") << Intruder::Folder << u"folder"_s;
    QTest::newRow("FIFO without reader") << Intruder::Fifo << u"FIFO"_s;
}

// The folder is writable by every user: what one of them puts in a file's
// place must not lead a read or a write elsewhere, nor make it wait.
void SettingsStoreTest::intruderNeitherReadNorWritten()
{
    QFETCH(Intruder, intruder);
    QFETCH(QString, logged);
    QTemporaryDir outside;
    const QString target = outside.filePath(u"secret"_s);
    if (intruder != Intruder::DanglingLink)
        QVERIFY(TestSupport::writeFile(target, "secret\r\n"));
    if (!plant(intruder, path(SettingsFiles::From), target))
        QSKIP("This file system cannot hold that intruder here");

    QVERIFY(!m_store.isPresent(SettingsFiles::From));
    expectWarning(u"from\\.txt.*"_s + logged);
    QVERIFY(!m_store.readState(SettingsFiles::From));
    expectWarning(u"from\\.txt.*"_s + logged);
    QVERIFY(!m_store.writeText(SettingsFiles::From, u"overwritten"_s));

    if (intruder == Intruder::DanglingLink)
        QVERIFY(!QFile::exists(target));
    else
        QCOMPARE(TestSupport::readFile(target), QByteArray("secret\r\n"));
}

void SettingsStoreTest::largeFileReadUpToLimit()
{
    QByteArray bytes(5 * 1024 * 1024, 'x');
    bytes[SettingsStore::MaxFileSize - 1] = 'y';
    QVERIFY(TestSupport::writeFile(path(SettingsFiles::From), bytes));
    expectWarning(u"from\\.txt.*larger than"_s);
    const SettingsFileState state = m_store.readState(SettingsFiles::From);
    QVERIFY(state);
    QCOMPARE(state->size(), SettingsStore::MaxFileSize);
    QCOMPARE(state->back(), 'y');
}

// The next user of the machine must be able to rewrite what this one created.
void SettingsStoreTest::newFilesWritableByEveryone()
{
    const auto restoreUmask = qScopeGuard([old = ::umask(022)] { ::umask(old); });
    QVERIFY(m_store.writeText(SettingsFiles::EnvFeed, u"left"_s));
    QCOMPARE(permissionsOf(path(SettingsFiles::EnvFeed)), mode_t(0666));

    QVERIFY(
        QFile::setPermissions(path(SettingsFiles::EnvFeed), QFile::ReadOwner | QFile::WriteOwner));
    QVERIFY(m_store.writeText(SettingsFiles::EnvFeed, u"right"_s));
    QCOMPARE(permissionsOf(path(SettingsFiles::EnvFeed)), mode_t(0600));
}

// Without a folder, a name must not become a path at the root or elsewhere.
void SettingsStoreTest::noFolderNoAccess()
{
    const SettingsStore noFolder;
    QVERIFY(noFolder.filePath(SettingsFiles::To).isEmpty());
    QVERIFY(!noFolder.readState(SettingsFiles::To));
    expectWarning(u"to\\.txt.*not written"_s);
    QVERIFY(!noFolder.writeText(SettingsFiles::To, u"Bob"_s));
    QVERIFY(m_store.filePath(u"../to.txt").isEmpty());
}

void SettingsStoreTest::deniedAccessReadsEmptyAndWritesNothing()
{
    if (::geteuid() == 0)
        QSKIP("Running as root, which reads and writes everything: access cannot be denied");
    QVERIFY(TestSupport::writeFile(path(SettingsFiles::PrLogo), " 1 \r\n"));
    QVERIFY(QFile::setPermissions(path(SettingsFiles::PrLogo), QFile::WriteOwner));
    QVERIFY(m_store.isPresent(SettingsFiles::PrLogo));
    expectWarning(u"prlogo\\.txt"_s);
    QCOMPARE(m_store.readState(SettingsFiles::PrLogo), QByteArray());

    QVERIFY(QFile::setPermissions(m_dir->path(), QFile::ReadOwner | QFile::ExeOwner));
    const auto restore = qScopeGuard([this] {
        QFile::setPermissions(
            m_dir->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    });
    expectWarning(u"margin\\.txt"_s);
    QVERIFY(!m_store.writeInteger(SettingsFiles::Margin, 2));
    QVERIFY(!m_store.isPresent(SettingsFiles::Margin));
}

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "settingsstore_test.moc"
