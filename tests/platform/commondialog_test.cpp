#include "scripteddialog.h"
#include "testsupport.h"

#include "handlers/logochoice.h"
#include "platform/commondialog.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrinter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::Literals::StringLiterals;

class CommonDialogTest : public QObject
{
    Q_OBJECT

private slots:
    void nameFilters_data()
    {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("one") << "Quillmark File (*.qmf)|*.qmf"
                             << QStringList {u"Quillmark File (*.qmf) (*.qmf)"_s};
        QTest::newRow("every file")
            << "All Files (*.*)|*.*" << QStringList {u"All Files (*.*) (*)"_s};
        QTest::newRow("several") << "JPG|*.jpg;*.jpeg" << QStringList {u"JPG (*.jpg *.jpeg)"_s};
        QTest::newRow("orphan") << "Text|*.txt|Orphan" << QStringList {u"Text (*.txt)"_s};
    }

    void nameFilters()
    {
        QFETCH(QString, filter);
        QTEST(CommonDialog::nameFilters(filter), "expected");
    }

    void cancelAndFlags_data()
    {
        QTest::addColumn<bool>("cancelError");
        QTest::addColumn<int>("flags");
        QTest::newRow("cancel fails") << true << 0;
        QTest::newRow("cancel returns")
            << false << (CommonDialog::PD_NOSELECTION | CommonDialog::PD_DISABLEPRINTTOFILE);
    }

    void cancelAndFlags()
    {
        QFETCH(bool, cancelError);
        QFETCH(int, flags);
        CommonDialog dialog;
        ScriptedDialog &script = ScriptedDialog::installIn(dialog);
        dialog.CancelError = cancelError;
        dialog.Flags = flags;
        script.choose(u"/chosen/a.qmf"_s);
        script.cancel();
        script.confirmPrinter(false);
        QVERIFY(dialog.ShowOpen());
        QCOMPARE(dialog.ShowOpen(), !cancelError);
        QCOMPARE(dialog.FileName, u"/chosen/a.qmf"_s);
        QPrinter printer;
        QCOMPARE(dialog.ShowPrinter(printer), !cancelError);
        QCOMPARE(script.printRequests().constFirst().allowSelection, flags == 0);
        QCOMPARE(script.printRequests().constFirst().allowPrintToFile, flags == 0);
    }

    // A name chosen under another filter is not proposed, only its folder.
    void noForeignNameProposed()
    {
        CommonDialog dialog;
        ScriptedDialog &script = ScriptedDialog::installIn(dialog);
        dialog.Filter = u"GIF|*.gif"_s;
        script.choose(u"/pictures/logo.gif"_s);
        QVERIFY(dialog.ShowOpen());
        script.cancel();
        QVERIFY(dialog.ShowOpen());
        dialog.Filter = u"Quillmark File|*.qmf"_s;
        dialog.InitDir = u"/settings"_s;
        script.cancel();
        QVERIFY(dialog.ShowSave());
        const auto &asked = script.fileRequests();
        QCOMPARE(asked.at(1).fileName, u"/pictures/logo.gif"_s);
        QCOMPARE(asked.at(2).fileName, QString());
        QCOMPARE(asked.at(2).initialDirectory, u"/pictures"_s);
    }

    // The real dialogs: descriptions as written, InitDir, and a question
    // before replacing a file ("No" keeps the dialog open; it is then cancelled).
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
};

QTEST_MAIN(CommonDialogTest)
#include "commondialog_test.moc"
