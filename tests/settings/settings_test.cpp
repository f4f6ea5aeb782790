#include "settings/linereader.h"
#include "settings/numberforms.h"
#include "settings/restorerules.h"
#include "settings/settingsfiles.h"
#include "settings/settingsstore.h"
#include "settings/textcodec.h"
#include "support/testsupport.h"

#include <QDir>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace SettingsFiles;

class SettingsTest : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_store.setFolder(m_dir.emplace().path()); }

    // Lines (CR LF, CR or LF), then the first field and the logo file's last line ("-" none).
    void lines()
    {
        const std::pair<const char *, const char *> table[] = {{"", "|/-/-"}, {"A,B", "A,B|/A/A,B"},
            {"A\r\n", "A|/A/A"}, {"A\r", "A|/A/A"}, {"\r\n", "|//-"}, {"A\rB", "A|B|/A/B"},
            {"A\nB\r\n", "A|B|/A/B"}, {"A\n\nB\n", "A||B|/A/B"}, {"A\r\r\nB", "A||B|/A/B"},
            {" \t\"a, b\",c\r\nd", " \t\"a, b\",c|d|/a, b/d"}, {"\"ab", "\"ab|/ab/\"ab"},
            {"\"\",x", "\"\",x|//\"\",x"}, {"  \r\nx\r\n \t", "  |x| \t|//-"}};
        for (const auto &[text, outcome] : table) {
            const QString all = QString::fromLatin1(text);
            const QStringList read = LineReader::lines(all);
            QCOMPARE(
                u"%1|/%2/%3"_s.arg(read.join(u'|'), LineReader::firstField(all).value_or(u"-"_s),
                    RestoreRules::logoPath(QByteArray(text)).value_or(u"-"_s)),
                QString::fromLatin1(outcome));
            QVERIFY(read.isEmpty() == all.isEmpty()
                && LineReader::firstLine(all).value_or(u"-"_s) == read.value(0, u"-"_s));
            QCOMPARE(RestoreRules::returnAddress(QByteArray(text)), read.join(u"\r\n"_s));
        }
    }

    // Settings are written as UTF-8; bytes that are not UTF-8 read as Windows-1252.
    void textCodec()
    {
        const std::tuple<const char *, const char16_t *, bool> table[] = {
            {"Zo\xC3\xAB\r\n", u"Zoë\r\n", true}, {"5 \xE2\x82\xAC", u"5 €", true},
            {"\xF0\x9F\x98\x80!", u"\U0001F600!", true}, {"\xF4\x8F\xBF\xBF", u"\U0010FFFF", true},
            {"\xF4\x90\x80\x80", u"ô\u0090€€", false}, {"\xF0\x8F\xBF\xBF", u"ð\u008F¿¿", false},
            {"\xE0\x9F\xBF", u"\u00E0\u0178\u00BF", false}, {"\xC0\xAF", u"À¯", false},
            {"\xED\xA0\x80", u"í\u00A0€", false}, {"A\xC3", u"AÃ", false},
            {"\x8D", u"\u008D", false}, {"\xC3\xA9 \x80", u"é €", false}};
        for (const auto &[bytes, text, writtenSo] : table) {
            QCOMPARE(TextCodec::decode(bytes), QString::fromUtf16(text));
            QCOMPARE(TextCodec::encode(QString::fromUtf16(text)) == bytes, writtenSo);
        }
    }

    // What start-up restores from each one-value file ("-" none); halves round to even. The side
    // words are the opposite of the captions: "left" selects the Right side (R).
    void restore()
    {
        using namespace RestoreRules;
        const auto orNone = [](std::optional<int> v) { return v ? QString::number(*v) : u"-"_s; };
        const QByteArray nines(400, '9');
        const std::pair<QByteArray, const char *> table[] = {{QByteArray(), "1 1 0/- 00 R"},
            {"", "1 - 0/0 00 -"}, {" \t\r\n2", "1 - 0/0 00 -"}, {" 2 \r\n", "2 - 2/2 00 -"},
            {"0\r\n1", "0 0 0/0 00 -"}, {"2", "2 2 2/2 00 -"}, {"3", "- - 3/3 00 -"},
            {"1.0,0", "1 - 1/1 11 -"}, {"left\r\n", "0 - 0/0 00 R"}, {"left\n", "0 - 0/0 00 R"},
            {"2\n", "2 2 2/2 00 -"}, {" right,x", "0 - 0/0 00 L"}, {"\"center\"", "0 - 0/0 00 C"},
            {"Left", "0 - 0/0 00 -"}, {"1 2", "- - 12/- 00 -"}, {"\t- 1", "- - -1/- 00 -"},
            {"+3", "- - 3/3 00 -"}, {"--3", "0 - 0/0 00 -"}, {"1.5", "2 - 1.5/2 00 -"},
            {"2.5", "2 - 2.5/2 00 -"}, {"2.51", "- - 2.51/3 00 -"}, {"4.5", "- - 4.5/4 00 -"},
            {".75", "1 - 0.75/1 00 -"}, {"1.2.3", "1 - 1.2/1 00 -"}, {nines, "- - inf/- 00 -"},
            {'-' + nines, "- - -inf/- 00 -"}, {"0." + QByteArray(400, '0') + '1', "0 - 0/0 00 -"}};
        for (const auto &[bytes, outcome] : table) {
            const SettingsFileState state = bytes.isNull() ? SettingsFileState() : bytes;
            const std::optional<FeedSide> feed = feedSide(state);
            const QString seen = u"%1 %2 %3/%4 %5%6 %7"_s.arg(orNone(fontSize(state)),
                orNone(envelopeSize(state)), QString::number(margin(state).marginInches),
                orNone(margin(state).button), QString::number(printLogo(state)),
                QString::number(printPostNet(state)), feed ? QString(u"RCL"[int(*feed)]) : u"-"_s);
            QVERIFY2(seen == QLatin1StringView(outcome),
                (bytes + " gives " + seen.toUtf8()).constData());
            QCOMPARE(logoPath(state).has_value(), !bytes.isEmpty());
        }
    }

    // UTF-8 and CR LF over all that was there; the next user of the machine may rewrite it.
    void writtenBytesReadBack()
    {
        const auto restoreUmask = qScopeGuard([old = ::umask(022)] { ::umask(old); });
        QVERIFY(m_store.writeInteger(To, -1));
        QCOMPARE(TestSupport::readFile(path(To)), "-1 \r\n");
        QCOMPARE(TestSupport::permissionsOf(path(To)), 0666);
        QVERIFY(QFile::setPermissions(path(To), QFile::ReadOwner | QFile::WriteOwner));
        const std::pair<QString, QByteArray> cases[]
            = {{NumberForms::signSlotForm(2), " 2\r\n"}, {NumberForms::signSlotForm(0), " 0\r\n"},
                {NumberForms::bareForm(1), "1\r\n"}, {u"Zoë\r\n"_s, "Zo\xC3\xAB\r\n\r\n"}};
        for (const auto &[text, bytes] : cases) {
            QVERIFY(m_store.writeText(To, u"a much longer old value\r\nover lines"_s));
            QVERIFY(m_store.writeText(To, text));
            QCOMPARE(TestSupport::readFile(path(To)), bytes);
            QCOMPARE(m_store.readFirstLine(To), text.section(u'\r', 0, 0));
        }
        QCOMPARE(TestSupport::permissionsOf(path(To)), 0666); // a new file each time
        QByteArray large(SettingsStore::MaxFileSize + 1, 'x');
        large[SettingsStore::MaxFileSize - 1] = 'y';
        QVERIFY(TestSupport::writeFile(path(From), large));
        expectWarning(u"from\\.txt.*larger than"_s);
        QCOMPARE(m_store.readState(From), large.chopped(1));
    }

    // Anyone may plant things in the shared folder: none leads a read or write elsewhere.
    void intruders()
    {
        QTemporaryDir outside;
        const QByteArray secret = QFile::encodeName(outside.filePath(u"secret"_s));
        QVERIFY(TestSupport::writeFile(QFile::decodeName(secret), "secret\r\n"));
        const auto at = [this](QStringView name) { return QFile::encodeName(path(name)); };
        QVERIFY(::symlink(secret, at(From)) == 0 && ::symlink(secret + 'x', at(To)) == 0);
        QVERIFY(::link(secret, at(Logo)) == 0 && ::mkdir(at(Margin), 0777) == 0
            && ::mkfifo(at(EnvFeed), 0666) == 0);
        const std::pair<QStringView, QString> planted[]
            = {{From, u"symbolic link"_s}, {To, u"symbolic link"_s}, {Logo, u"hard links"_s},
                {Margin, u"folder"_s}, {EnvFeed, u"FIFO"_s}};
        for (const auto &[name, logged] : planted) {
            QVERIFY(!m_store.isPresent(name));
            expectWarning(u"%1.*%2"_s.arg(name, logged));
            QVERIFY(!m_store.readState(name));
            expectWarning(u"%1.*%2"_s.arg(name, logged));
            QVERIFY(!m_store.writeText(name, u"overwritten"_s));
        }
        QCOMPARE(TestSupport::readFile(QFile::decodeName(secret)), "secret\r\n");
        QVERIFY(!QFile::exists(QFile::decodeName(secret + 'x')));
    }

    // No path outside the folder; a cut or denied write is no success; unreadable reads empty.
    void failuresAreReported()
    {
        expectWarning(u"to\\.txt.*not written"_s);
        QVERIFY(!SettingsStore().writeText(To, u"Bob"_s));
        QVERIFY(m_store.filePath(u"../to.txt").isEmpty());
        QVERIFY(m_store.filePath(u"to.txt"_s + QChar(0)).isEmpty());
        QVERIFY(TestSupport::writeFile(path(Logo), "x"));
        expectWarning(u"Cannot look at.*to\\.txt"_s); // and nothing more
        QTest::failOnWarning(QRegularExpression(u"Cannot open.*to\\.txt"_s));
        QVERIFY(!SettingsStore(path(Logo)).writeText(To, u"Bob"_s));
        expectWarning(u"Cannot make a new settings file beside.*gone/to\\.txt"_s);
        QVERIFY(!SettingsStore(path(u"gone"_s)).writeText(To, u"Bob"_s));
        rlimit old {};
        QVERIFY(::getrlimit(RLIMIT_FSIZE, &old) == 0);
        const rlimit small {4, old.rlim_max};
        ::signal(SIGXFSZ, SIG_IGN);
        QVERIFY(::setrlimit(RLIMIT_FSIZE, &small) == 0);
        QVERIFY(TestSupport::writeFile(path(From), "old"));
        expectWarning(u"Cannot write settings file.*from\\.txt"_s);
        const bool written = m_store.writeText(From, u"longer than four bytes"_s);
        ::setrlimit(RLIMIT_FSIZE, &old);
        QVERIFY(!written);
        QCOMPARE(TestSupport::readFile(path(From)), "old"); // whole, and no new file left beside it
        QCOMPARE(QDir(m_dir->path(), {}, QDir::Name, QDir::Files | QDir::Hidden).count(), 2u);
    }

    // A file that cannot be read reads empty; a folder that takes no new file has its files
    // rewritten in place and no new ones made. Root becomes another user for it.
    void deniedAccess()
    {
        const bool root = ::geteuid() == 0;
        const QByteArray folder = QFile::encodeName(m_dir->path());
        QVERIFY(TestSupport::writeFile(path(PrLogo), " 1 \r\n")
            && TestSupport::writeFile(path(Logo), "x"));
        QVERIFY(::chmod(QFile::encodeName(path(PrLogo)), 0200) == 0
            && ::chmod(QFile::encodeName(path(Logo)), 0666) == 0
            && ::chmod(folder, root ? 0755 : 0500) == 0
            && ::seteuid(root ? 65534 : ::geteuid()) == 0);
        const auto restore = qScopeGuard(
            [&] { QVERIFY(::seteuid(root ? 0 : ::geteuid()) == 0 && ::chmod(folder, 0700) == 0); });
        QVERIFY(m_store.isPresent(PrLogo));
        expectWarning(u"prlogo\\.txt"_s);
        QCOMPARE(m_store.readState(PrLogo), QByteArray());
        expectWarning(u"margin\\.txt"_s);
        QVERIFY(!m_store.writeInteger(Margin, 2));
        QVERIFY(!m_store.isPresent(Margin));
        QVERIFY(m_store.writeText(Logo, u"in place"_s)); // where no new file may be made
        QCOMPARE(TestSupport::readFile(path(Logo)), "in place\r\n");
        if (root) { // sticky: another user's file may be rewritten but not replaced
            QVERIFY(::seteuid(0) == 0 && ::chmod(folder, 01777) == 0 && ::seteuid(65534) == 0);
            QVERIFY(m_store.writeText(Logo, u"sticky"_s));
            QCOMPARE(TestSupport::readFile(path(Logo)), "sticky\r\n");
        }
    }

    // Two copies writing one file: readers and the end see one whole value, never a mix.
    void concurrentWritersLeaveOneValue()
    {
        const QString values[] = {u"left"_s, u"center"_s};
        QVERIFY(m_store.writeText(EnvFeed, values[0]));
        pid_t writers[2];
        for (int w = 0; w < 2; ++w) {
            if ((writers[w] = ::fork()) == 0) {
                for (int i = 0; i < 300; ++i)
                    m_store.writeText(EnvFeed, values[w]);
                ::_exit(0);
            }
        }
        int running = 2, status = 0;
        while (running > 0) {
            const QByteArray seen = TestSupport::readFile(path(EnvFeed));
            QVERIFY2(seen == "left\r\n" || seen == "center\r\n", seen.constData());
            for (const pid_t writer : writers)
                running -= ::waitpid(writer, &status, WNOHANG) == writer;
        }
    }

private:
    static void expectWarning(const QString &pattern)
    {
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(pattern));
    }
    [[nodiscard]] QString path(QStringView name) const { return m_store.filePath(name); }

    std::optional<QTemporaryDir> m_dir;
    SettingsStore m_store;
};

QTEST_GUILESS_MAIN(SettingsTest)
#include "settings_test.moc"
