#include "platform/settingsfolderlocator.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

mode_t permissionsOf(const QString &path)
{
    struct stat seen = {};
    return ::stat(QFile::encodeName(path).constData(), &seen) == 0 ? seen.st_mode & 07777 : 0;
}

void expectWarnings(const QStringList &patterns)
{
    for (const QString &pattern : patterns)
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(pattern));
}

} // namespace

// Every folder used lives in a temporary folder, never the machine's own.
class SettingsFolderLocatorTest : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void createsSharedFolderForEveryone();
    void usesExistingSharedFolderAsItIs_data();
    void usesExistingSharedFolderAsItIs();
    void fallsBack_data();
    void fallsBack();
    void fallsBackWhenSharedIsNotWritable();

private:
    [[nodiscard]] QString at(const QString &name) const { return m_dir->filePath(name); }
    std::unique_ptr<QTemporaryDir> m_dir;
};

void SettingsFolderLocatorTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(TestSupport::writeFile(at(u"file"_s), "x"));
}

void SettingsFolderLocatorTest::createsSharedFolderForEveryone()
{
    const auto restoreUmask = qScopeGuard([old = ::umask(022)] { ::umask(old); });
    const SettingsFolderLocator locator(at(u"Quillmark"_s), at(u"home/Quillmark"_s));
    QCOMPARE(locator.locate(), at(u"Quillmark"_s));
    QCOMPARE(permissionsOf(at(u"Quillmark"_s)), mode_t(0777));
    QVERIFY(!QFileInfo::exists(at(u"home"_s)));
}

void SettingsFolderLocatorTest::usesExistingSharedFolderAsItIs_data()
{
    QTest::addColumn<bool>("throughLink");
    QTest::newRow("folder") << false;
    QTest::newRow("link to a folder") << true;
}

void SettingsFolderLocatorTest::usesExistingSharedFolderAsItIs()
{
    QFETCH(bool, throughLink);
    QVERIFY(QDir().mkdir(at(u"real"_s)));
    QVERIFY(QFile::setPermissions(
        at(u"real"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString shared = throughLink ? at(u"Quillmark"_s) : at(u"real"_s);
    if (throughLink)
        QVERIFY(QFile::link(at(u"real"_s), shared));

    QCOMPARE(SettingsFolderLocator(shared, at(u"home/Quillmark"_s)).locate(), shared);
    QCOMPARE(permissionsOf(at(u"real"_s)), mode_t(0700));
}

void SettingsFolderLocatorTest::fallsBack_data()
{
    QTest::addColumn<QString>("shared");
    QTest::addColumn<QString>("fallback");
    QTest::addColumn<QString>("located");
    const QString documents = u"home/Documents/Quillmark"_s;
    QTest::newRow("parent missing") << u"missing/Quillmark"_s << documents << documents;
    QTest::newRow("parent is a file") << u"file/Quillmark"_s << documents << documents;
    QTest::newRow("shared is a file") << u"file"_s << documents << documents;
    QTest::newRow("neither works") << u"file/Quillmark"_s << u"file/Documents"_s << QString();
}

void SettingsFolderLocatorTest::fallsBack()
{
    QFETCH(QString, shared);
    QFETCH(QString, fallback);
    QFETCH(QString, located);
    const QString fallbackPath = at(fallback);
    expectWarnings({u"."_s, located.isEmpty() ? u"Neither"_s : u"using .*"_s + fallback});
    const QString result = SettingsFolderLocator(at(shared), fallbackPath).locate();

    QCOMPARE(result, located.isEmpty() ? QString() : at(located));
    QCOMPARE(QFileInfo(fallbackPath).isDir(), !located.isEmpty());
    QVERIFY(!QFileInfo::exists(at(u"missing"_s))); // one level only
}

void SettingsFolderLocatorTest::fallsBackWhenSharedIsNotWritable()
{
    if (::geteuid() == 0)
        QSKIP(
            "Running as root, which writes into every folder: an unwritable folder cannot be made");
    QVERIFY(QDir().mkdir(at(u"Quillmark"_s)));
    QVERIFY(QFile::setPermissions(at(u"Quillmark"_s), QFile::ReadOwner | QFile::ExeOwner));
    expectWarnings({u"not a writable folder"_s, u"using "_s});
    QCOMPARE(SettingsFolderLocator(at(u"Quillmark"_s), at(u"home"_s)).locate(), at(u"home"_s));
}

QTEST_GUILESS_MAIN(SettingsFolderLocatorTest)
#include "settingsfolderlocator_test.moc"
