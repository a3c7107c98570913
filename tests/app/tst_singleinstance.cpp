// One TAMU per data folder: a second start reaches the first and ends; stale locks never block.
#include <QDir>
#include <QFile>
#include <QHostInfo>
#include <QLocalServer>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

#include "app/SingleInstance.h"

namespace {

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

}  // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void secondStartBringsTheFirstForward() {
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        QVERIFY(first.claim());
        QSignalSpy activation(&first, &SingleInstance::activationRequested);
        {
            SingleInstance second(dir.path());
            QVERIFY(!second.claim());
        }
        QTRY_COMPARE(activation.count(), 1);
        // Another data folder is another TAMU.
        QTemporaryDir other;
        SingleInstance elsewhere(other.path());
        QVERIFY(elsewhere.claim());
    }

    void firstEndedNextStartRuns() {
        QTemporaryDir dir;
        { QVERIFY(SingleInstance(dir.path()).claim()); }
        SingleInstance next(dir.path());
        QVERIFY(next.claim());
    }

    // A run killed with its lock and socket left behind: the lock names a process that is gone.
    void staleLockAndSocketNeverBlock() {
        QTemporaryDir dir;
        const qint64 gone = 99'999'999;  // above any process number the kernel hands out
        const QByteArray lock =
            QByteArray::number(gone) + "\ntamu\n" + QHostInfo::localHostName().toUtf8() + '\n';
        writeFile(QDir(dir.path()).filePath(QStringLiteral("TAMU.lock")), lock);
        SingleInstance probe(dir.path());
        QLocalServer leftOver;
        QVERIFY(leftOver.listen(probe.serverName()));  // a socket file nobody will serve
        leftOver.close();
        QVERIFY(probe.claim());
        QSignalSpy activation(&probe, &SingleInstance::activationRequested);
        QVERIFY(!SingleInstance(dir.path()).claim());
        QTRY_COMPARE(activation.count(), 1);
    }

    void readOnlyDataFolderStillHasOneInstance() {
        QTemporaryDir dir;
        // Read-only for root too.
        const QStringList immutable{QStringLiteral("+i"), dir.path()};
        if (QProcess::execute(QStringLiteral("chattr"), immutable) != 0) {
            QSKIP("chattr cannot make the folder read-only here");
        }
        bool firstClaimed = false;
        bool secondClaimed = true;
        {
            SingleInstance first(dir.path());
            firstClaimed = first.claim();
            secondClaimed = SingleInstance(dir.path()).claim();
        }
        QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), dir.path()});
        QVERIFY(firstClaimed);
        QVERIFY(!secondClaimed);
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
