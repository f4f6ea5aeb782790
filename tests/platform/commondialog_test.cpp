#include "scripteddialog.h"
#include "testsupport.h"

#include "options/logochoice.h"
#include "platform/commondialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QPrinter>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

namespace {

QStringList shownFileTypes(QFileDialog &dialog)
{
    QStringList types;
    const auto *combo = dialog.findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
    for (int i = 0; combo && i < combo->count(); ++i)
        types << combo->itemText(i);
    return types;
}

} // namespace

class CommonDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void nameFilters_data();
    void nameFilters();
    void cancelFailsOnlyWithCancelError_data();
    void cancelFailsOnlyWithCancelError();
    void printerDialogFlags_data();
    void printerDialogFlags();
    void realFileDialogShowsWhatWasSet_data();
    void realFileDialogShowsWhatWasSet();
};

void CommonDialogTest::nameFilters_data()
{
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("address files")
        << "Quillmark File (*.qmf)|*.qmf" << QStringList {u"Quillmark File (*.qmf) (*.qmf)"_s};
    QTest::newRow("logo pictures")
        << LogoChoice::Filter.toString()
        << QStringList {u"Graphic Files (*.jpg, *.jpeg, *.gif, *.bmp) (*.jpg *.jpeg *.gif *.bmp)"_s,
               u"JPG Files (*.jpg, *.jpeg) (*.jpg *.jpeg)"_s, u"GIF Files (*.gif) (*.gif)"_s,
               u"Bitmap Files (*.bmp) (*.bmp)"_s, u"All Files (*.*) (*)"_s};
    QTest::newRow("empty") << "" << QStringList {};
    QTest::newRow("description without patterns")
        << "Text|*.txt|Orphan" << QStringList {u"Text (*.txt)"_s};
}

void CommonDialogTest::nameFilters()
{
    QFETCH(QString, filter);
    QFETCH(QStringList, expected);
    QCOMPARE(CommonDialog::nameFilters(filter), expected);
}

void CommonDialogTest::cancelFailsOnlyWithCancelError_data()
{
    QTest::addColumn<bool>("saving");
    QTest::addColumn<bool>("cancelError");
    QTest::newRow("open, cancel is a failure") << false << true;
    QTest::newRow("open, cancel returns") << false << false;
    QTest::newRow("save, cancel is a failure") << true << true;
}

void CommonDialogTest::cancelFailsOnlyWithCancelError()
{
    QFETCH(bool, saving);
    QFETCH(bool, cancelError);
    CommonDialog dialog;
    ScriptedDialog &script = ScriptedDialog::installIn(dialog);
    dialog.CancelError = cancelError;
    script.choose(QStringLiteral("/chosen/a.qmf"));
    script.cancel();
    const auto show = [&] { return saving ? dialog.ShowSave() : dialog.ShowOpen(); };

    QVERIFY(show());
    QCOMPARE(dialog.FileName, QStringLiteral("/chosen/a.qmf"));
    QCOMPARE(show(), !cancelError);
    QCOMPARE(dialog.FileName, QStringLiteral("/chosen/a.qmf"));

    QCOMPARE(script.fileRequests().at(1).kind,
        saving ? FileDialogRequest::Kind::Save : FileDialogRequest::Kind::Open);
}

void CommonDialogTest::printerDialogFlags_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<bool>("allowSelection");
    QTest::addColumn<bool>("allowPrintToFile");
    QTest::newRow("none") << 0 << true << true;
    QTest::newRow("no selection, no file")
        << (CommonDialog::PD_NOSELECTION | CommonDialog::PD_DISABLEPRINTTOFILE) << false << false;
}

void CommonDialogTest::printerDialogFlags()
{
    QFETCH(int, flags);
    QFETCH(bool, allowSelection);
    QFETCH(bool, allowPrintToFile);
    CommonDialog dialog;
    ScriptedDialog &script = ScriptedDialog::installIn(dialog);
    dialog.Flags = flags;
    dialog.CancelError = true;
    QPrinter printer;
    script.confirmPrinter(true);
    script.confirmPrinter(false);
    QVERIFY(dialog.ShowPrinter(printer));
    QVERIFY(!dialog.ShowPrinter(printer));
    QCOMPARE(script.printRequests().at(0).allowSelection, allowSelection);
    QCOMPARE(script.printRequests().at(0).allowPrintToFile, allowPrintToFile);
}

void CommonDialogTest::realFileDialogShowsWhatWasSet_data()
{
    QTest::addColumn<bool>("saving");
    QTest::addColumn<QString>("typed"); // empty: the dialog is cancelled
    QTest::newRow("open, cancelled") << false << "";
    QTest::newRow("open, file chosen") << false << "present.gif";
    QTest::newRow("save, name without extension") << true << "typed";
}

void CommonDialogTest::realFileDialogShowsWhatWasSet()
{
    QFETCH(bool, saving);
    QFETCH(QString, typed);
    QTemporaryDir folder;
    QVERIFY(TestSupport::writeFile(folder.filePath(QStringLiteral("present.gif")), "GIF89a"));
    CommonDialog dialog;
    dialog.CancelError = true;
    dialog.Filter = LogoChoice::Filter.toString();
    dialog.InitDir = folder.path();

    QStringList types;
    QString shownFolder;
    QTimer poll; // answers the real dialog once it is up
    connect(&poll, &QTimer::timeout, this, [&] {
        auto *shown = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!shown)
            return;
        poll.stop();
        types = shownFileTypes(*shown);
        shownFolder = shown->directory().absolutePath();
        if (typed.isEmpty()) {
            shown->reject();
            return;
        }
        shown->selectFile(typed);
        static_cast<QDialog *>(shown)->accept(); // as the dialog's own button does
    });
    poll.start(10);
    const bool chosen = saving ? dialog.ShowSave() : dialog.ShowOpen();

    QCOMPARE(chosen, !typed.isEmpty());
    QCOMPARE(dialog.FileName, typed.isEmpty() ? QString() : folder.filePath(typed));
    QCOMPARE(shownFolder, folder.path());
    QCOMPARE(types,
        (QStringList {u"Graphic Files (*.jpg, *.jpeg, *.gif, *.bmp)"_s,
            u"JPG Files (*.jpg, *.jpeg)"_s, u"GIF Files (*.gif)"_s, u"Bitmap Files (*.bmp)"_s,
            u"All Files (*.*)"_s}));
}

QTEST_MAIN(CommonDialogTest)
#include "commondialog_test.moc"
