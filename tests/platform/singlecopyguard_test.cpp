#include "platform/singlecopyguard.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class SingleCopyGuardTest : public QObject
{
    Q_OBJECT

private slots:
    // A later start finds the lock held and asks the running copy to show
    // itself, even where a copy that died left its socket behind.
    void laterStartRaisesTheRunningCopy()
    {
        QTemporaryDir runtime;
        QFile stale(runtime.filePath(u"quillmark.socket"_s));
        QVERIFY(stale.open(QIODevice::WriteOnly));
        stale.close();
        SingleCopyGuard running(runtime.path());
        QVERIFY(!running.anotherCopyRunning());
        running.listenForActivation();
        QSignalSpy raised(&running, &SingleCopyGuard::activationRequested);
        SingleCopyGuard later(runtime.path());
        QVERIFY(later.anotherCopyRunning());
        QVERIFY(raised.wait(5000));
    }
};

QTEST_GUILESS_MAIN(SingleCopyGuardTest)
#include "singlecopyguard_test.moc"
