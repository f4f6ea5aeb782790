#include "privatecups.h"
#include "testsupport.h"

#include "batch/batchcommand.h"
#include "batch/batchrun.h"
#include "settings/settingsstore.h"

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextStream>

#include <csignal>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

// What a command line comes to, its fields joined by "|": mode, files and choices, or the message.
QString outcome(const QString &arguments)
{
    const ParsedCommandLine parsed
        = parseCommandLine(QStringList {u"quillmark"_s} + QProcess::splitCommand(arguments));
    if (parsed.exitStatus)
        return u"%1 %2"_s.arg(*parsed.exitStatus)
            .arg((parsed.output + parsed.error).section(u'\n', 0, 0));
    const BatchCommand &c = parsed.command;
    const auto number = [](auto value) { return value ? QString::number(double(*value)) : u"-"_s; };
    return QStringList {QString::number(int(c.mode)), c.pdf, c.printer, c.paper, c.files.join(u','),
        number(c.envelopeSize), number(c.feedSide), number(c.edgeInches), number(c.fontPosition),
        number(c.barCode), number(c.logo), c.returnAddressFile}
        .join(u'|');
}

// A list as an address book exports it, a row without an address among them, and a .qmf.
const QByteArray Contacts
    = "Name,Street,City,State,ZIP\r\nJane Doe,12 Elm St,Springfield,IL,62704\r\n"
      "No Address,,,,\r\nBob Ray,500 Main St,Troy,NY,12180-3590\r\n";
const QByteArray AddressFile = "Cy Dunn\r\n3 Ash St\r\nTroy NY 12180\r\n\r\n";

} // namespace

class BatchTest : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_settings.emplace();
        put(u"from.txt"_s, "Ann Sender\r\n1 Elm St\r\n");
    }

    // Modes, lists and the choices that stand in for the saved ones; every mistake says what is
    // wrong.
    void commandLine_data()
    {
        QTest::addColumn<QString>("arguments");
        QTest::addColumn<QString>("outcome");
        const QString none = u"|-|-|-|-|-|-|"_s;
        QTest::newRow("window") << u"a.qmf"_s << u"0||||a.qmf"_s + none;
        QTest::newRow("pdf") << u"--pdf o.pdf a.csv -"_s << u"1|o.pdf|||a.csv,-"_s + none;
        QTest::newRow("print") << u"--print --printer Q --paper A4 b.vcf"_s
                               << u"2||Q|A4|b.vcf"_s + none;
        QTest::newRow("choices")
            << u"--list --size large --feed LEFT --edge 2.5 --font small --no-logo --barcode --from r a"_s
            << u"3||||a|2|2|2.5|0|1|0|r"_s;
        QTest::newRow("version") << u"--version"_s << u"0 Quillmark 2.61"_s;
        QTest::newRow("no list") << u"--list"_s << u"2 quillmark: no address list given"_s;
        QTest::newRow("two modes")
            << u"--pdf o --list a"_s
            << u"2 quillmark: --pdf, --print and --list exclude each other"_s;
        QTest::newRow("printer alone")
            << u"--printer Q --list a"_s << u"2 quillmark: --printer goes with --print"_s;
        QTest::newRow("size") << u"--list --size huge a"_s
                              << u"2 quillmark: --size takes small, long, large, not \"huge\""_s;
        QTest::newRow("edge") << u"--list --edge 5.5 a"_s
                              << u"2 quillmark: --edge takes inches from 0 to 5, not \"5.5\""_s;
        QTest::newRow("switch") << u"--list --logo --no-logo a"_s
                                << u"2 quillmark: --logo and --no-logo exclude each other"_s;
        QTest::newRow("column")
            << u"--list --column road a"_s
            << u"2 quillmark: --column takes FIELD=HEADER, FIELD one of name, first, last, company, street, street2, city, state, zip and country, not \"road\""_s;
        QTest::newRow("window option")
            << u"--size small a.qmf"_s
            << u"2 quillmark: --size goes with --pdf, --print or --list"_s;
        QTest::newRow("window files")
            << u"a.qmf b.qmf"_s
            << u"2 quillmark: the window opens one address file; --pdf, --print or --list take lists"_s;
    }

    void commandLine()
    {
        QFETCH(QString, arguments);
        QTEST(outcome(arguments), "outcome");
    }

    // One page a recipient, in list order, each with the saved return address and the logo asked
    // for; a row without an address is skipped with a line naming it.
    void pdfCarriesEachRecipient()
    {
        const QString pdf = file(u"out.pdf"_s);
        QCOMPARE(run(u"--pdf %1 --logo --paper letter %2 %3"_s.arg(
                     pdf, put(u"list.csv"_s, Contacts), put(u"cy.qmf"_s, AddressFile))),
            ExitStatus::Ok);
        QVERIFY(TestSupport::runTool(u"pdfinfo"_s, {pdf}).contains("792 x 612 pts (letter)"));
        QCOMPARE(m_err,
            u"quillmark: %1:3: No Address: no address in the row; skipped\n"
            "quillmark: 3 envelopes written to %2\n"_s.arg(file(u"list.csv"_s), pdf));
        QVERIFY(TestSupport::runTool(u"pdfinfo"_s, {pdf}).contains("Pages:           3"));
        QCOMPARE(TestSupport::runTool(u"pdfimages"_s, {u"-list"_s, pdf}).count(" image "), 3);
        const QStringList names {u"Jane Doe"_s, u"Bob Ray"_s, u"Cy Dunn"_s};
        for (int page = 1; page <= names.size(); ++page) {
            const QString text = QString::fromUtf8(TestSupport::runTool(u"pdftotext"_s,
                {u"-f"_s, QString::number(page), u"-l"_s, QString::number(page), pdf, u"-"_s}));
            QVERIFY2(
                text.contains(names[page - 1]) && text.contains(u"Ann Sender"_s), qPrintable(text));
        }
    }

    // A broken list stops the run before anything is written: the old file stays, no half file.
    void brokenInputChangesNothing()
    {
        const QString pdf = put(u"out.pdf"_s, "old");
        const QString broken = put(u"broken.csv"_s, "Name,Street,City,State,ZIP\nAl,\"1 Oak St\n");
        QCOMPARE(run(u"--pdf %1 %2 %3"_s.arg(pdf, put(u"list.csv"_s, Contacts), broken)),
            ExitStatus::BadInput);
        QVERIFY2(
            m_err.endsWith(
                u"quillmark: %1:2: a quoted field is not closed before the end of the file\n"_s.arg(
                    broken)),
            qPrintable(m_err));
        QCOMPARE(TestSupport::readFile(pdf), "old");
        QCOMPARE(QDir(m_settings->path()).entryList(QDir::Files | QDir::Hidden).size(), 4);
        QCOMPARE(run(u"--pdf %1 %2 %3"_s.arg(pdf, file(u"missing.csv"_s), file(u"list.csv"_s))),
            ExitStatus::BadInput);
        QCOMPARE(m_err, u"quillmark: %1: cannot be read\n"_s.arg(file(u"missing.csv"_s)));
        QCOMPARE(
            run(u"--pdf %1 --from %2 %3"_s.arg(pdf, file(u"missing.qmf"_s), file(u"list.csv"_s))),
            ExitStatus::BadInput);
        QCOMPARE(run(u"--pdf %1 %2"_s.arg(file(u"no/such/out.pdf"_s), file(u"list.csv"_s))),
            ExitStatus::OutputFailed);
        QVERIFY2(m_err.endsWith(u": No such file or directory\n"_s), qPrintable(m_err));
        QCOMPARE(run(u"--pdf %1 --imb 00,270,123456,999999999 %2"_s.arg(pdf, file(u"list.csv"_s))),
            ExitStatus::BadInput); // two envelopes, one serial left
        QVERIFY2(m_err.contains(u"\nquillmark: --imb: 2 envelopes from serial 999999999"_s),
            qPrintable(m_err));
        if (::geteuid() == 0) { // only root can plant another user's link
            const QString shared = file(u"shared"_s), link = shared + u"/out.pdf"_s;
            QVERIFY(QDir().mkdir(shared) && ::chmod(QFile::encodeName(shared), 0777) == 0
                && ::symlink(QFile::encodeName(pdf), QFile::encodeName(link)) == 0
                && ::lchown(QFile::encodeName(link), 65534, 65534) == 0);
            QCOMPARE(
                run(u"--pdf %1 %2"_s.arg(link, file(u"list.csv"_s))), ExitStatus::OutputFailed);
            QVERIFY2(m_err.contains(u"another user's link"_s), qPrintable(m_err));
        }
        QCOMPARE(TestSupport::readFile(pdf), "old");
    }

    // The recipient's lines as the window prints them and the bar code's digits with the check
    // digit.
    void listShowsWhatPrints()
    {
        put(u"prpnet.txt"_s, " 1 \r\n");
        const QString qmf = put(u"cy.qmf"_s, AddressFile);
        QCOMPARE(run(u"--list %1"_s.arg(qmf)), ExitStatus::Ok);
        QCOMPARE(m_out,
            u"%1:1\n  Cy Dunn\n  3 Ash St\n  Troy NY 12180\n  \n  bar code: 12180 8\n1 envelope\n"_s
                .arg(qmf));
        QCOMPARE(run(u"--list --no-barcode %1"_s.arg(qmf)), ExitStatus::Ok);
        QVERIFY(m_out.endsWith(u"bar code: off\n1 envelope\n"_s));
    }

    // With --imb, 65 bars of four states where the POSTNET bar code goes, within the standard's
    // sizes: 20 to 24 bars an inch, bars 0.015 to 0.025 in wide, 0.125 to 0.165 in at full
    // height, trackers 0.039 to 0.057 in.
    void intelligentMailOnThePage()
    {
        const QString pdf = file(u"imb.pdf"_s);
        QCOMPARE(run(u"--pdf %1 --imb 00,270,123456,000000998 --from %2 %3"_s.arg(pdf,
                     put(u"from.qmf"_s, "Bo Sender\n"),
                     put(u"cy.qmf"_s, "Cy Dunn\r\n3 Ash St\r\nTroy NY 12180\r\n"))),
            ExitStatus::Ok);
        QVERIFY(TestSupport::runTool(u"pdftotext"_s, {pdf, u"-"_s}).startsWith("Bo Sender\n"));
        QVERIFY2(m_err.endsWith(u"next serial: 000000999\n"_s), qPrintable(m_err));
        constexpr double Dpi = 600, PixelsPerCm = Dpi / 2.54;
        // Under the third line of a long envelope fed on the right: the bar code and nothing else.
        const QRect below(int(8 * PixelsPerCm), int(16.9 * PixelsPerCm), int(10 * PixelsPerCm),
            int(1 * PixelsPerCm));
        const QImage bars = QImage::fromData(TestSupport::runTool(u"pdftoppm"_s,
            {u"-r"_s, u"600"_s, u"-gray"_s, u"-png"_s, u"-singlefile"_s, u"-x"_s,
                QString::number(below.x()), u"-y"_s, QString::number(below.y()), u"-W"_s,
                QString::number(below.width()), u"-H"_s, QString::number(below.height()), pdf}));
        const QList<int> widths = TestSupport::darkColumnRuns(bars);
        QCOMPARE(widths.size(), 65);
        const QRect all = TestSupport::darkBounds(bars, 128);
        const double pitch = (all.width() - widths.constLast()) / 64.0 / Dpi;
        QVERIFY2(pitch >= 1 / 24.0 && pitch <= 1 / 20.0, qPrintable(QString::number(pitch)));
        for (const int width : widths)
            QVERIFY(width / Dpi >= 0.015 && width / Dpi <= 0.025);
        QVERIFY(all.height() / Dpi >= 0.125 && all.height() / Dpi <= 0.165);
        int tracker = all.height();
        for (int x = all.left(); x <= all.right(); ++x) {
            const QRect column = TestSupport::darkBounds(bars.copy(x, 0, 1, bars.height()), 128);
            tracker = column.isEmpty() ? tracker : qMin(tracker, column.height());
        }
        QVERIFY2(
            tracker / Dpi >= 0.039 && tracker / Dpi <= 0.057, qPrintable(QString::number(tracker)));
    }

    // Every envelope in one job with a page each; an unknown queue is named and nothing is sent.
    void printsOneJob()
    {
        if (!m_cups.skipReason().isEmpty())
            QSKIP(m_cups.skipReason().constData());
        QVERIFY2(m_cups.failure().isEmpty(), m_cups.failure().constData());
        const QString list = put(u"list.csv"_s, Contacts);
        QCOMPARE(run(u"--print --printer Nope %1"_s.arg(list)), ExitStatus::OutputFailed);
        QVERIFY2(m_err.contains(u"\"Nope\" ("_s), qPrintable(m_err)); // with the scheduler's reason
        QCOMPARE(run(u"--print --printer QuillmarkPDF %1"_s.arg(list)), ExitStatus::Ok);
        QTRY_VERIFY_WITH_TIMEOUT(
            TestSupport::readFile(m_cups.pdfs().value(0)).trimmed().endsWith("%%EOF"), 90000);
        QCOMPARE(m_cups.pdfs().size(), 1);
        QVERIFY(TestSupport::runTool(u"pdfinfo"_s, {m_cups.pdfs().value(0)})
                    .contains("Pages:           2"));
        QVERIFY(QProcess::execute(u"cupsreject"_s, {u"QuillmarkPDF"_s}) == 0);
        QCOMPARE(run(u"--print --printer QuillmarkPDF %1"_s.arg(list)), ExitStatus::OutputFailed);
        QVERIFY2(m_err.contains(u"nothing is printed: "_s) && m_err.contains(u"accepting"_s),
            qPrintable(m_err));
    }

    // The program itself: no display needed, standard input read to its end, and Ctrl+C leaves
    // no file at the target.
    void wholeProgram()
    {
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        environment.insert(u"QT_QPA_PLATFORM"_s, u"xcb"_s); // would fail without a display
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(QUILLMARK_PROGRAM), {u"--list"_s, u"-"_s});
        program.write(Contacts.left(40)); // a pipe's writer takes its time
        QVERIFY(program.waitForBytesWritten());
        QTest::qWait(200);
        program.write(Contacts.mid(40));
        program.closeWriteChannel();
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), ExitStatus::Ok);
        QVERIFY(program.readAllStandardOutput().endsWith("\n2 envelopes\n"));

        QByteArray rows = "Name,Street,City,State,ZIP\n";
        for (int i = 0; i < 20000; ++i)
            rows += "Al Poe " + QByteArray::number(i) + ",1 Oak St,Troy,NY,12180\n";
        const QString big = put(u"big.csv"_s, rows), pdf = file(u"big.pdf"_s);
        program.start(QStringLiteral(QUILLMARK_PROGRAM), {u"--pdf"_s, pdf, big});
        QVERIFY(program.waitForStarted());
        QTRY_VERIFY(
            QDir(m_settings->path()).entryList({u".big.pdf.*"_s}, QDir::Hidden | QDir::Files).size()
                == 1
            || program.state() != QProcess::Running); // pages are being made
        if (program.state() != QProcess::Running)
            QSKIP("The run ended before it could be interrupted");
        ::kill(pid_t(program.processId()), SIGINT);
        QVERIFY(program.waitForFinished(30000));
        QCOMPARE(program.exitCode(), ExitStatus::Interrupted);
        QCOMPARE(QDir(m_settings->path()).entryList(QDir::Files | QDir::Hidden),
            QStringList({u"big.csv"_s, u"from.txt"_s}));
    }

private:
    [[nodiscard]] QString file(const QString &name) const { return m_settings->filePath(name); }
    // Writes a file into the test's folder; its path.
    QString put(const QString &name, const QByteArray &bytes) const
    {
        TestSupport::writeFile(file(name), bytes);
        return file(name);
    }

    // Runs the command line on the test's settings folder.
    int run(const QString &arguments)
    {
        const ParsedCommandLine parsed
            = parseCommandLine(QStringList {u"quillmark"_s} + QProcess::splitCommand(arguments));
        if (parsed.exitStatus)
            return *parsed.exitStatus;
        m_out.clear();
        m_err.clear();
        QTextStream out(&m_out), err(&m_err);
        BatchRun batch(parsed.command, out, err);
        return batch.run(SettingsStore(m_settings->path()));
    }

    PrivateCups m_cups; // before the first printer is made
    std::optional<QTemporaryDir> m_settings;
    QString m_out, m_err;
};

QTEST_MAIN(BatchTest)
#include "batch_test.moc"
