#include "scripteddialog.h"
#include "testsupport.h"

#include "handlers/logochoice.h"
#include "logic/envelopepage.h"
#include "platform/activationtoken.h"
#include "platform/commondialog.h"
#include "platform/envelopedocument.h"
#include "platform/pictureloader.h"
#include "platform/qtprintersurface.h"
#include "platform/settingsfolderlocator.h"
#include "platform/singlecopyguard.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <future>
#include <optional>

#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

class PlatformTest : public QObject
{
    Q_OBJECT

private slots:
    // Filter pairs; a cancel fails only with CancelError; another filter's name is not proposed.
    void scriptedDialogs()
    {
        for (const bool cancelError : {true, false}) {
            CommonDialog dialog;
            ScriptedDialog &script = ScriptedDialog::installIn(dialog);
            dialog.CancelError = cancelError;
            if (!cancelError)
                dialog.Flags = CommonDialog::PD_NOSELECTION | CommonDialog::PD_DISABLEPRINTTOFILE;
            dialog.Filter = u"GIF (*.gif)|*.gif; *.GIF;|All Files (*.*)|*.*|Orphan"_s;
            script.choose(u"/pictures/logo.gif"_s);
            script.cancel();
            script.cancel();
            script.confirmPrinter(false);
            QVERIFY(dialog.ShowOpen());
            QCOMPARE(dialog.ShowOpen(), !cancelError);
            QCOMPARE(dialog.FileName, u"/pictures/logo.gif"_s);
            dialog.Filter = u"Quillmark File|*.qmf"_s;
            dialog.InitDir = u"/settings"_s;
            QCOMPARE(dialog.ShowSave(), !cancelError);
            QPrinter printer;
            QCOMPARE(dialog.ShowPrinter(printer), !cancelError);
            const auto &files = script.fileRequests();
            QCOMPARE(files.at(0).nameFilters.join(u'|'),
                u"GIF (*.gif) (*.gif *.GIF)|All Files (*.*) (*)"_s);
            QCOMPARE(files.at(1).fileName, u"/pictures/logo.gif"_s);
            QCOMPARE(files.at(2).fileName + files.at(2).initialDirectory, u"/pictures"_s);
            const ScriptedDialog::PrintRequest asked = script.printRequests().constFirst();
            QCOMPARE(asked.allowSelection + asked.allowPrintToFile, cancelError ? 2 : 0);
        }
    }

    // The real dialogs: filters as written, InitDir, and a question before replacing a file.
    void realDialogShowsWhatWasSet()
    {
        QTemporaryDir folder;
        QVERIFY(TestSupport::writeFile(folder.filePath(u"present.gif"_s), "GIF89a"));
        CommonDialog dialog;
        dialog.Filter = LogoChoice::Filter.toString();
        dialog.InitDir = folder.path();
        dialog.CancelError = true;
        QStringList types;
        QString shownFolder;
        bool asked = false;
        QTimer poll;
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *shown = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!shown)
                return;
            if (asked)
                return shown->reject();
            const auto *combo = shown->findChild<QComboBox *>(u"fileTypeCombo"_s);
            for (int i = 0; combo && i < combo->count(); ++i)
                types << combo->itemText(i);
            shownFolder = shown->directory().absolutePath();
            shown->selectFile(u"present.gif"_s);
            static_cast<QDialog *>(shown)->accept(); // as its own button does
        });
        QTimer answer; // a timer is not run again while its own handler waits
        connect(&answer, &QTimer::timeout, this, [&] {
            if (auto *question = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                asked = true;
                question->button(QMessageBox::No)->click();
            }
        });
        poll.start(10);
        answer.start(10);
        QVERIFY(dialog.ShowOpen());
        QCOMPARE(dialog.FileName, folder.filePath(u"present.gif"_s));
        QCOMPARE(shownFolder, folder.path());
        QCOMPARE(types,
            (QStringList {u"Graphic Files (*.jpg, *.jpeg, *.gif, *.bmp)"_s,
                u"JPG Files (*.jpg, *.jpeg)"_s, u"GIF Files (*.gif)"_s, u"Bitmap Files (*.bmp)"_s,
                u"All Files (*.*)"_s}));
        QVERIFY(!asked);
        QVERIFY(!dialog.ShowSave());
        QVERIFY(asked);
    }

    // Aborted, empty or unbegun documents leave no file; text lands in the size and weight set.
    void printerSurface()
    {
        const std::tuple<const char *, int, int, float> cases[]
            = {{"aborted.pdf", -1, 300, 4.8f}, {"empty.pdf", 1, 1200, 1.2f},
                {"no/such/folder/out.pdf", 0, 300, 4.8f}, {"text.pdf", 2, 1200, 1.2f}};
        for (const auto &[file, ended, dpi, twipsPerPixel] : cases) {
            QTemporaryDir dir;
            QPrinter printer(QPrinter::HighResolution);
            printer.setOutputFileName(dir.filePath(QLatin1String(file))); // a PDF
            printer.setResolution(dpi);
            {
                QtPrinterSurface surface(printer);
                QCOMPARE(surface.TwipsPerPixelX(), twipsPerPixel);
                surface.setFontSize(30);
                QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"ignoring font size 0"_s));
                surface.setFontSize(0); // kept at 30
                surface.setFontBold(true);
                if (ended != 1)
                    surface.Print(ended == 2 ? u"Jane"_s : u"half a page"_s);
                if (ended == 0)
                    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"cannot begin"_s));
                const bool sent = ended < 0 ? (surface.abortDoc(), true) : surface.EndDoc();
                QCOMPARE(std::pair(sent, surface.isOk()), std::pair(ended != 0, ended != 0));
            }
            const QString pdf = printer.outputFileName();
            QCOMPARE(QFile::exists(pdf), ended == 2);
            if (ended != 2)
                continue;
            QVERIFY(TestSupport::runTool(u"pdffonts"_s, {pdf}).contains("Bold"));
            const auto word
                = QRegularExpression(u"yMin=\"([\\d.]+)\" xMax=\"[\\d.]+\" yMax=\"([\\d.]+)\""_s)
                      .match(QString::fromUtf8(
                          TestSupport::runTool(u"pdftotext"_s, {u"-bbox"_s, pdf, u"-"_s})));
            const double height = word.captured(2).toDouble() - word.captured(1).toDouble();
            QVERIFY2(height > 25 && height < 40, qPrintable(QString::number(height)));
        }
    }

    // A phone's photo stands upright; a large picture is scaled once; the limit is this read's.
    void logoPictures()
    {
        const int limit = QImageReader::allocationLimit();
        const auto turned = PictureLoader::load(TestSupport::dataPath(u"logo-40x20-turned.jpg"_s));
        QVERIFY(turned && turned->size() == QSize(20, 40));
        QVERIFY(qBlue(turned->pixel(10, 4)) > qRed(turned->pixel(10, 4))); // its left band on top
        QTemporaryDir dir;
        QImage wide(3000, 300, QImage::Format_RGB32);
        wide.fill(Qt::green);
        QVERIFY(wide.save(dir.filePath(u"wide.bmp"_s)));
        QCOMPARE(PictureLoader::load(dir.filePath(u"wide.bmp"_s))->size(), QSize(1024, 102));
        QCOMPARE(QImageReader::allocationLimit(), limit);
    }

    // A long document takes each page as it is composed; a page that cannot be composed, or a
    // printer that cannot begin, is refused.
    void envelopeDocument()
    {
        QTemporaryDir dir;
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFileName(dir.filePath(u"many.pdf"_s));
        EnvelopePageContent content;
        content.recipientLines = QStringList {u"Bo Ray"_s};
        const auto page = [&content](bool logo) {
            content.printLogo = logo; // and no picture to print
            return EnvelopePage(content, {});
        };
        {
            EnvelopeDocument document(printer);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"no picture"_s));
            QVERIFY(document.add(page(false)) && document.add(page(false))
                && !document.add(page(true)));
            QVERIFY(document.finish() && document.pageCount() == 2);
        }
        QVERIFY(TestSupport::runTool(u"pdfinfo"_s, {printer.outputFileName()})
                    .contains("Pages:           2"));
        printer.setOutputFileName(dir.filePath(u"no/such/folder.pdf"_s));
        EnvelopeDocument failing(printer);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"cannot begin page 1"_s));
        QVERIFY(!failing.add(page(false)));
    }

    // In a temporary folder: shared folder, the one located ("" none), its mode, warning.
    void locateSettingsFolder()
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

    // A later start hands its request over, even past a dead copy's socket; one that gets no
    // answer from a closing copy waits for its lock and runs.
    void laterStartHandsItsRequestOver()
    {
        QTemporaryDir runtime;
        QVERIFY(TestSupport::writeFile(runtime.filePath(u"quillmark.socket"_s), {}));
        std::optional<SingleCopyGuard> running(std::in_place, runtime.path());
        QVERIFY(!running->anotherCopyRunning());
        running->listenForActivation();
        QList<ActivationRequest> taken;
        connect(&*running, &SingleCopyGuard::activationRequested, this,
            [&taken](const ActivationRequest &request) { taken << request; });
        SingleCopyGuard(runtime.path()).listenForActivation(); // holds no lock: takes no socket
        const auto laterStart = [&runtime](const ActivationRequest &request) {
            return std::async(std::launch::async, [&runtime, request] {
                return SingleCopyGuard(runtime.path()).anotherCopyRunning(request);
            });
        };
        const ActivationRequest request {u"token 1\n2"_s, u"/home/a b/%x.qmf"_s};
        auto answered = laterStart(request);
        QVERIFY(QTest::qWaitFor(
            [&answered] { return answered.wait_for(0s) == std::future_status::ready; }));
        QVERIFY(answered.get());
        QCOMPARE(taken, QList<ActivationRequest> {request});
        running->stopListening(); // the window has closed
        auto waiting = laterStart({});
        QTest::qWait(300);
        running.reset();
        QVERIFY(!waiting.get());
        QCOMPARE(taken.size(), 1);
    }

    // The launcher's token leaves the environment at start; a window that asks finds one there.
    void activationTokenOnlyWhileAWindowAsks()
    {
        qputenv("XDG_ACTIVATION_TOKEN", "launcher-1");
        QCOMPARE(takeActivationToken(), u"launcher-1"_s);
        QVERIFY(!qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));
        QCOMPARE(takeActivationToken(), QString());
        {
            const ActivationTokenInEnvironment none({});
            QVERIFY(!qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));
        }
        {
            const ActivationTokenInEnvironment later(u"later-2"_s);
            QCOMPARE(qgetenv("XDG_ACTIVATION_TOKEN"), "later-2");
        }
        QVERIFY(!qEnvironmentVariableIsSet("XDG_ACTIVATION_TOKEN"));
    }

    // A runtime folder is this user's alone: made 0700, tightened, passed over when another's.
    void privateRuntimeFolder()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(u"file"_s), open = dir.filePath(u"open"_s),
                      fresh = dir.filePath(u"fresh/"_s);
        QVERIFY(TestSupport::writeFile(file, "x") && ::mkdir(QFile::encodeName(open), 0755) == 0);
        QCOMPARE(SingleCopyGuard::privateFolderAmong({file, open, fresh}), open);
        QCOMPARE(TestSupport::permissionsOf(open), 0700);
        if (::geteuid() == 0) {
            QVERIFY(::chown(QFile::encodeName(open), 65534, 65534) == 0);
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(u"another user"_s));
            QCOMPARE(SingleCopyGuard::privateFolderAmong({open, fresh}), fresh);
            QCOMPARE(TestSupport::permissionsOf(fresh), 0700);
        }
    }
};

QTEST_MAIN(PlatformTest)
#include "platform_test.moc"
