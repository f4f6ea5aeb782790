#include "scripteddialog.h"
#include "testsupport.h"

#include "handlers/logochoice.h"
#include "platform/commondialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

// How the window's dialogs are asked for is checked through the window's own tests.
class CommonDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void nameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("address files")
            << "Quillmark File (*.qmf)|*.qmf" << QStringList {u"Quillmark File (*.qmf) (*.qmf)"_s};
        QTest::newRow("every file")
            << "All Files (*.*)|*.*" << QStringList {u"All Files (*.*) (*)"_s};
        QTest::newRow("several patterns")
            << "JPG Files|*.jpg;*.jpeg" << QStringList {u"JPG Files (*.jpg *.jpeg)"_s};
        QTest::newRow("empty") << "" << QStringList {};
        QTest::newRow("description without patterns")
            << "Text|*.txt|Orphan" << QStringList {u"Text (*.txt)"_s};
    }

    void nameFilters()
    {
        QFETCH(QString, filter);
        QTEST(CommonDialog::nameFilters(filter), "expected");
    }

    void cancelFailsOnlyWithCancelError_data()
    {
        QTest::addColumn<bool>("cancelError");
        QTest::newRow("cancel is a failure") << true;
        QTest::newRow("cancel returns") << false;
    }

    void cancelFailsOnlyWithCancelError()
    {
        QFETCH(bool, cancelError);
        CommonDialog dialog;
        ScriptedDialog &script = ScriptedDialog::installIn(dialog);
        dialog.CancelError = cancelError;
        script.choose(QStringLiteral("/chosen/a.qmf"));
        script.cancel();

        QVERIFY(dialog.ShowOpen());
        QCOMPARE(dialog.ShowOpen(), !cancelError);
        QCOMPARE(dialog.FileName, QStringLiteral("/chosen/a.qmf"));
    }

    // The real dialog shows the descriptions as written and opens in InitDir.
    void realFileDialogShowsWhatWasSet()
    {
        QTemporaryDir folder;
        QVERIFY(TestSupport::writeFile(folder.filePath(QStringLiteral("present.gif")), "GIF89a"));
        CommonDialog dialog;
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
            const auto *combo = shown->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
            for (int i = 0; combo && i < combo->count(); ++i)
                types << combo->itemText(i);
            shownFolder = shown->directory().absolutePath();
            shown->selectFile(QStringLiteral("present.gif"));
            static_cast<QDialog *>(shown)->accept(); // as the dialog's own button does
        });
        poll.start(10);

        QVERIFY(dialog.ShowOpen());
        QCOMPARE(dialog.FileName, folder.filePath(QStringLiteral("present.gif")));
        QCOMPARE(shownFolder, folder.path());
        QCOMPARE(types,
            (QStringList {u"Graphic Files (*.jpg, *.jpeg, *.gif, *.bmp)"_s,
                u"JPG Files (*.jpg, *.jpeg)"_s, u"GIF Files (*.gif)"_s, u"Bitmap Files (*.bmp)"_s,
                u"All Files (*.*)"_s}));
    }

    // Choosing an existing file in the real save dialog asks first; "No" keeps
    // the dialog open, and it is then cancelled.
    void realSaveDialogAsksBeforeReplacing()
    {
        QTemporaryDir folder;
        QVERIFY(TestSupport::writeFile(folder.filePath(QStringLiteral("present.qmf")), "A\r\n"));
        CommonDialog dialog;
        dialog.InitDir = folder.path();
        dialog.CancelError = true;

        bool asked = false;
        QTimer poll; // answers the file dialog, once asked cancels it
        connect(&poll, &QTimer::timeout, this, [&] {
            auto *files = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!files)
                return;
            if (asked)
                return files->reject();
            files->selectFile(QStringLiteral("present.qmf"));
            static_cast<QDialog *>(files)->accept(); // as its own button does
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

        QVERIFY(!dialog.ShowSave());
        QVERIFY(asked);
    }
};

QTEST_MAIN(CommonDialogTest)
#include "commondialog_test.moc"
