#include "platform/settingsfolderlocator.h"
#include "support/testsupport.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

class SettingsFolderLocatorTest : public QObject
{
    Q_OBJECT

private slots:
    // In a temporary folder: shared folder, the one located ("" none), its mode, warning.
    void locate()
    {
        constexpr const char *Home = "home/Quillmark";
        const std::tuple<const char *, const char *, int, const char *> cases[]
            = {{"Quillmark", "Quillmark", 0777, ""}, {"private", "private", 0700, ""},
                {"link", "link", 0700, ""}, {"missing/Quillmark", Home, 0, "."},
                {"file/Quillmark", Home, 0, "."}, {"file", Home, 0, "."},
                {"readonly", Home, 0, "not a writable folder"}, {"file/Quillmark", "", 0, "."}};
        for (const auto &[shared, located, permissions, warning] : cases) {
            if (::geteuid() == 0 && QByteArray(shared) == "readonly")
                continue; // root writes into every folder: an unwritable one cannot be made
            const char *fallback = *located ? Home : "file/Documents";
            QTemporaryDir dir;
            const auto at = [&dir](const char *name) { return dir.filePath(QLatin1String(name)); };
            QVERIFY(TestSupport::writeFile(at("file"), "x"));
            QVERIFY(::mkdir(QFile::encodeName(at("private")), 0700) == 0);
            QVERIFY(::mkdir(QFile::encodeName(at("readonly")), 0500) == 0);
            QVERIFY(QFile::link(at("private"), at("link")));
            if (*warning) {
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QLatin1String(warning)));
                QTest::ignoreMessage(QtWarningMsg,
                    QRegularExpression(*located ? u"using .*"_s + at(fallback) : u"Neither"_s));
            }
            const mode_t oldMask = ::umask(022);
            const QString result = SettingsFolderLocator(at(shared), at(fallback)).locate();
            ::umask(oldMask);
            QCOMPARE(result, *located ? at(located) : QString());
            if (permissions != 0)
                QCOMPARE(TestSupport::permissionsOf(result), permissions);
            QCOMPARE(QFileInfo(at(fallback)).isDir(), located == Home);
            QVERIFY(!QFileInfo::exists(at("missing"))); // one level only
        }
    }
};

QTEST_GUILESS_MAIN(SettingsFolderLocatorTest)
#include "settingsfolderlocator_test.moc"
