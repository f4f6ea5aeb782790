#include "platform/settingsfolderlocator.h"
#include "support/testsupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

// Every folder used lives in a temporary folder, never the machine's own.
class SettingsFolderLocatorTest : public QObject
{
    Q_OBJECT

private slots:
    void locate_data()
    {
        QTest::addColumn<QString>("shared");
        QTest::addColumn<QString>("fallback");
        QTest::addColumn<QString>("located"); // empty: none
        QTest::addColumn<int>("permissions"); // of the folder located; 0: not checked
        QTest::addColumn<QString>("warning"); // before the fallback is named; empty: none
        const QString home = u"home/Quillmark"_s;
        QTest::newRow("shared made for everyone")
            << u"Quillmark"_s << home << u"Quillmark"_s << 0777 << QString();
        QTest::newRow("shared kept as it is")
            << u"private"_s << home << u"private"_s << 0700 << QString();
        QTest::newRow("link to a folder") << u"link"_s << home << u"link"_s << 0700 << QString();
        QTest::newRow("parent missing") << u"missing/Quillmark"_s << home << home << 0 << u"."_s;
        QTest::newRow("parent is a file") << u"file/Quillmark"_s << home << home << 0 << u"."_s;
        QTest::newRow("shared is a file") << u"file"_s << home << home << 0 << u"."_s;
        QTest::newRow("shared not writable")
            << u"readonly"_s << home << home << 0 << u"not a writable folder"_s;
        QTest::newRow("neither works")
            << u"file/Quillmark"_s << u"file/Documents"_s << QString() << 0 << u"."_s;
    }

    void locate()
    {
        QFETCH(QString, shared);
        QFETCH(QString, fallback);
        QFETCH(QString, located);
        QFETCH(int, permissions);
        QFETCH(QString, warning);
        if (shared == u"readonly" && ::geteuid() == 0)
            QSKIP("Running as root, which writes into every folder: an unwritable one cannot be "
                  "made");
        QTemporaryDir dir;
        const auto at = [&dir](const QString &name) { return dir.filePath(name); };
        QVERIFY(TestSupport::writeFile(at(u"file"_s), "x"));
        QVERIFY(QDir().mkdir(at(u"private"_s)) && QDir().mkdir(at(u"readonly"_s)));
        QVERIFY(QFile::setPermissions(
            at(u"private"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        QVERIFY(QFile::setPermissions(at(u"readonly"_s), QFile::ReadOwner | QFile::ExeOwner));
        QVERIFY(QFile::link(at(u"private"_s), at(u"link"_s)));
        if (!warning.isEmpty()) {
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
            QTest::ignoreMessage(QtWarningMsg,
                QRegularExpression(located.isEmpty() ? u"Neither"_s : u"using .*"_s + fallback));
        }

        const mode_t oldMask = ::umask(022);
        const QString result = SettingsFolderLocator(at(shared), at(fallback)).locate();
        ::umask(oldMask);

        QCOMPARE(result, located.isEmpty() ? QString() : at(located));
        if (permissions != 0)
            QCOMPARE(TestSupport::permissionsOf(result), permissions);
        QCOMPARE(QFileInfo(at(fallback)).isDir(), located == fallback);
        QVERIFY(!QFileInfo::exists(at(u"missing"_s))); // one level only
    }
};

QTEST_GUILESS_MAIN(SettingsFolderLocatorTest)
#include "settingsfolderlocator_test.moc"
