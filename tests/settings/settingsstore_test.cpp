#include "settings/numberforms.h"
#include "settings/settingsfiles.h"
#include "settings/settingsstore.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

void expectWarning(const QString &pattern)
{
    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(pattern));
}

} // namespace

class SettingsStoreTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_store.setFolder(m_dir->path());
    }

    void writtenBytes_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("number 1") << NumberForms::numberForm(1) << QByteArray(" 1 \r\n");
        QTest::newRow("number min") << NumberForms::numberForm(std::numeric_limits<qint64>::min())
                                    << QByteArray("-9223372036854775808 \r\n");
        QTest::newRow("sign-slot 2") << NumberForms::signSlotForm(2) << QByteArray(" 2\r\n");
        QTest::newRow("sign-slot -1") << NumberForms::signSlotForm(-1) << QByteArray("-1\r\n");
        QTest::newRow("bare 1") << NumberForms::bareForm(1) << QByteArray("1\r\n");
        QTest::newRow("text") << u"Zoë\r\n"_s << QByteArray("Zo\xC3\xAB\r\n\r\n");
    }

    // Each write replaces the whole file, which is read back as written.
    void writtenBytes()
    {
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QVERIFY(m_store.writeText(SettingsFiles::To, u"a much longer old value\r\nover lines"_s));
        QVERIFY(m_store.writeText(SettingsFiles::To, text));
        QCOMPARE(TestSupport::readFile(path(SettingsFiles::To)), bytes);
        QCOMPARE(m_store.readState(SettingsFiles::To), bytes);
        QCOMPARE(m_store.readFirstLine(SettingsFiles::To), text.section(u'\r', 0, 0));
    }

    void intruder_data()
    {
        QTest::addColumn<QString>("intruder");
        QTest::addColumn<QString>("logged");
        QTest::newRow("link to a file") << u"link"_s << u"symbolic link"_s;
        QTest::newRow("dangling link") << u"dangling"_s << u"symbolic link"_s;
        QTest::newRow("hard link") << u"hard"_s << u"hard links"_s;
        QTest::newRow("folder") << u"folder"_s << u"folder"_s;
        QTest::newRow("FIFO without reader") << u"fifo"_s << u"FIFO"_s;
    }

    // The folder is writable by every user: what one of them puts in a file's
    // place must not lead a read or a write elsewhere, nor make it wait.
    void intruder()
    {
        QFETCH(QString, intruder);
        QFETCH(QString, logged);
        QTemporaryDir outside;
        const QString target = outside.filePath(u"secret"_s);
        const QByteArray from = QFile::encodeName(path(SettingsFiles::From));
        if (intruder != u"dangling")
            QVERIFY(TestSupport::writeFile(target, "secret\r\n"));
        const bool planted = intruder == u"hard"
            ? ::link(QFile::encodeName(target).constData(), from.constData()) == 0
            : intruder == u"folder" ? QDir().mkdir(path(SettingsFiles::From))
            : intruder == u"fifo"   ? ::mkfifo(from.constData(), 0666) == 0
                                    : QFile::link(target, path(SettingsFiles::From));
        if (!planted)
            QSKIP("This file system cannot hold that intruder here");

        QVERIFY(!m_store.isPresent(SettingsFiles::From));
        expectWarning(u"from\\.txt.*"_s + logged);
        QVERIFY(!m_store.readState(SettingsFiles::From));
        expectWarning(u"from\\.txt.*"_s + logged);
        QVERIFY(!m_store.writeText(SettingsFiles::From, u"overwritten"_s));
        QCOMPARE(
            TestSupport::readFile(target), intruder == u"dangling" ? QByteArray() : "secret\r\n");
    }

    void largeFileReadUpToLimit()
    {
        QByteArray bytes(SettingsStore::MaxFileSize + 1, 'x');
        bytes[SettingsStore::MaxFileSize - 1] = 'y';
        QVERIFY(TestSupport::writeFile(path(SettingsFiles::From), bytes));
        expectWarning(u"from\\.txt.*larger than"_s);
        QCOMPARE(m_store.readState(SettingsFiles::From), bytes.chopped(1));
    }

    // The next user of the machine must be able to rewrite what this one created.
    void newFilesWritableByEveryone()
    {
        const auto restoreUmask = qScopeGuard([old = ::umask(022)] { ::umask(old); });
        QVERIFY(m_store.writeInteger(SettingsFiles::EnvFeed, 1));
        QCOMPARE(TestSupport::permissionsOf(path(SettingsFiles::EnvFeed)), 0666);
        QVERIFY(QFile::setPermissions(
            path(SettingsFiles::EnvFeed), QFile::ReadOwner | QFile::WriteOwner));
        QVERIFY(m_store.writeText(SettingsFiles::EnvFeed, u"right"_s));
        QCOMPARE(TestSupport::permissionsOf(path(SettingsFiles::EnvFeed)), 0600);
    }

    // Without a usable folder, a name must not become a path at the root or elsewhere.
    void noFolderNoAccess()
    {
        const SettingsStore noFolder;
        QVERIFY(noFolder.filePath(SettingsFiles::To).isEmpty());
        QVERIFY(!noFolder.readState(SettingsFiles::To));
        expectWarning(u"to\\.txt.*not written"_s);
        QVERIFY(!noFolder.writeText(SettingsFiles::To, u"Bob"_s));
        QVERIFY(m_store.filePath(u"../to.txt").isEmpty());
        QVERIFY(m_store.filePath(u"to.txt"_s + QChar(0)).isEmpty());

        QVERIFY(TestSupport::writeFile(path(SettingsFiles::Logo), "x"));
        const SettingsStore fileAsFolder(path(SettingsFiles::Logo));
        expectWarning(u"Cannot look at.*to\\.txt"_s);
        QVERIFY(!fileAsFolder.writeText(SettingsFiles::To, u"Bob"_s));
    }

    // A write cut short (here by the file size limit) is reported, never taken as done.
    void failedWriteIsReported()
    {
        struct rlimit old = {};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &old) == 0);
        struct rlimit small = old;
        small.rlim_cur = 4;
        ::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
        expectWarning(u"Cannot write settings file.*from\\.txt"_s);
        const bool written = m_store.writeText(SettingsFiles::From, u"longer than four bytes"_s);
        ::setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY(!written);
    }

    void deniedAccessReadsEmptyAndWritesNothing()
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

private:
    [[nodiscard]] QString path(QStringView name) const { return m_store.filePath(name); }

    std::unique_ptr<QTemporaryDir> m_dir;
    SettingsStore m_store;
};

QTEST_GUILESS_MAIN(SettingsStoreTest)
#include "settingsstore_test.moc"
