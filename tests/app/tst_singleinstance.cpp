// One TAMU per data folder: a second start reaches the first and ends; a lock whose owner is not
// proven alive never blocks; the lock and the socket stay where only the user can write; a
// refused start says so in a box.
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHostInfo>
#include <QLocalServer>
#include <QLockFile>
#include <QProcess>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QtTest>

#include "app/SingleInstance.h"
#include "support/MessageRecorder.h"

namespace {

void writeFile(const QString& path, const QByteArray& bytes, int ageSeconds = 0) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
    f.flush();
    if (ageSeconds > 0) {
        QVERIFY(f.setFileTime(QDateTime::currentDateTime().addSecs(-ageSeconds),
                              QFileDevice::FileModificationTime));
    }
}

// What QLockFile writes for this process: pid, program, host, machine id, boot id.
QByteArray ownLockBytes() {
    QTemporaryDir dir;
    const QString path = QDir(dir.path()).filePath(QStringLiteral("probe.lock"));
    QLockFile lock(path);
    if (!lock.tryLock(0)) {
        return {};
    }
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

qint64 lockOwner(const QString& path) {
    qint64 pid = 0;
    return QLockFile(path).getLockInfo(&pid, nullptr, nullptr) ? pid : 0;
}

uid_t nobody() {
    const passwd* entry = ::getpwnam("nobody");
    return entry != nullptr ? entry->pw_uid : 65534;
}

// Until the object goes, nothing can be made in the folder, not even by root: a tmpfs without a
// free inode mounted on it when `full` and mounting is allowed, else the folder made immutable.
class Sealed {
public:
    Sealed(const QString& path, bool full) : m_path(path) {
        const QString options = QStringLiteral("size=64k,nr_inodes=1,mode=0700,uid=%1,gid=%2")
                                    .arg(::geteuid())
                                    .arg(::getegid());
        m_mounted =
            full && run("mount", {QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                  QStringLiteral("-o"), options, QStringLiteral("tmpfs"), path});
        m_immutable = !m_mounted && !path.isEmpty() && run("chattr", {QStringLiteral("+i"), path});
    }
    ~Sealed() {
        if (m_mounted) {
            run("umount", {m_path});
        }
        if (m_immutable) {
            run("chattr", {QStringLiteral("-i"), m_path});
        }
    }
    Sealed(const Sealed&) = delete;
    Sealed& operator=(const Sealed&) = delete;
    bool made() const { return m_mounted || m_immutable; }

private:
    static bool run(const char* program, const QStringList& arguments) {
        return QProcess::execute(QString::fromLatin1(program), arguments) == 0;
    }
    QString m_path;
    bool m_mounted = false;
    bool m_immutable = false;
};

// Makes a file at the path as the user nobody, in a child process: 1 when made, 0 when refused,
// 2 when the child could not become nobody.
int nobodyMakes(const QString& path) {
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgid(nobody()) != 0 || ::setuid(nobody()) != 0) {
            ::_exit(2);
        }
        ::_exit(::open(QFile::encodeName(path).constData(), O_CREAT | O_EXCL | O_WRONLY, 0644) >= 0
                    ? 1
                    : 0);
    }
    int status = 0;
    return ::waitpid(child, &status, 0) == child && WIFEXITED(status) ? WEXITSTATUS(status) : 2;
}

}  // namespace

class TestSingleInstance : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_runtime;  // the session's runtime folder for every case
    QByteArray m_temp = qgetenv("TMPDIR");
    QByteArray m_cache = qgetenv("XDG_CACHE_HOME");

    static void restore(const char* name, const QByteArray& value) {
        if (value.isNull()) {
            qunsetenv(name);
        } else {
            qputenv(name, value);
        }
    }

private Q_SLOTS:
    void initTestCase() { QVERIFY(m_runtime.isValid()); }

    void init() { qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path())); }

    void cleanup() {
        restore("TMPDIR", m_temp);
        restore("XDG_CACHE_HOME", m_cache);
    }

    void secondStartBringsTheFirstForward() {
        MessageRecorder boxes;
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
        QCOMPARE(boxes.errors, QStringList());
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

    // Power cuts, a portable TAMU moved to another computer, a folder shared by two: nothing
    // proves an owner alive here, so the lock is taken over.
    void unprovenLockIsStale_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("ageSeconds");
        const QByteArray own = ownLockBytes();
        QList<QByteArray> lines = own.split('\n');
        QVERIFY(lines.size() >= 5);
        lines[2] = "elsewhere";  // the same process number and program, written on another host
        lines[3] = "00112233445566778899aabbccddeeff";
        const QByteArray otherHost = lines.join('\n');
        const QByteArray otherHostByName = lines.mid(0, 3).join('\n') + '\n';
        QTest::newRow("empty") << QByteArray() << 600;
        QTest::newRow("zeros") << QByteArray(64, '\0') << 600;
        QTest::newRow("noise") << QByteArray("\x8f\xe2\x01\x7fk\xff\x13\n\xc3(\n\x00\x01", 13)
                               << 600;
        QTest::newRow("another computer") << otherHost << 600;
        QTest::newRow("another computer, named only") << otherHostByName << 600;
        QTest::newRow("another computer, just written") << otherHost << 0;
        QTest::newRow("empty, just written") << QByteArray() << 0;  // once its writer had time
    }

    void unprovenLockIsStale() {
        QFETCH(QByteArray, content);
        QFETCH(int, ageSeconds);
        MessageRecorder boxes;
        QTemporaryDir dir;
        const QString lockFile = QDir(dir.path()).filePath(QStringLiteral("TAMU.lock"));
        writeFile(lockFile, content, ageSeconds);
        SingleInstance start(dir.path());
        start.setPatience(300);
        QVERIFY(start.claim());
        QCOMPARE(boxes.errors, QStringList());
        QCOMPARE(lockOwner(lockFile), QCoreApplication::applicationPid());
    }

    // A stale lock the user may not write (another user's in a shared folder, one copied from
    // read-only media) is taken over all the same: a start as nobody, in nobody's folder.
    void unwritableStaleLockIsTakenOver_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::newRow("a dead run on this computer")
            << "99999999\ntamu\n" + QSysInfo::machineHostName().toUtf8() + '\n';
        QTest::newRow("another computer") << QByteArray("1\ntamu\nelsewhere\n");
    }

    void unwritableStaleLockIsTakenOver() {
        QFETCH(QByteArray, content);
        if (::geteuid() != 0) {
            QSKIP("needs root to start as another user");
        }
        QTemporaryDir dir;
        QTemporaryDir temp;
        const QString lockFile = QDir(dir.path()).filePath(QStringLiteral("TAMU.lock"));
        writeFile(lockFile, content, 600);
        QCOMPARE(::chmod(QFile::encodeName(lockFile).constData(), 0444), 0);  // and root's
        for (const QTemporaryDir* folder : {&dir, &temp}) {
            QCOMPARE(::chown(QFile::encodeName(folder->path()).constData(), nobody(), nobody()), 0);
        }
        const pid_t child = ::fork();
        if (child == 0) {
            if (::setgid(nobody()) != 0 || ::setuid(nobody()) != 0) {
                ::_exit(2);
            }
            qunsetenv("XDG_RUNTIME_DIR");
            qputenv("TMPDIR", QFile::encodeName(temp.path()));
            SingleInstance start(dir.path());
            start.setPatience(100);
            ::_exit(start.claim() && lockOwner(lockFile) == ::getpid() ? 0 : 1);
        }
        int status = -1;
        QCOMPARE(::waitpid(child, &status, 0), child);
        QVERIFY(WIFEXITED(status));
        QCOMPARE(WEXITSTATUS(status), 0);
    }

    // A lock whose owner lives on this computer, or that its owner still holds locked (a run on
    // another computer that shares the folder), is kept; the refusal is said in a box.
    void livingLockIsKept_data() {
        QTest::addColumn<bool>("fromElsewhere");
        QTest::newRow("a run on this computer") << false;
        QTest::newRow("a run on another computer, holding it") << true;
    }

    void livingLockIsKept() {
        QFETCH(bool, fromElsewhere);
        MessageRecorder boxes;
        QTemporaryDir dir;
        SingleInstance start(dir.path());
        QLockFile running(start.folderLockFile());
        QVERIFY(running.tryLock(0));
        QByteArray content = ownLockBytes();
        if (fromElsewhere) {
            QList<QByteArray> lines = content.split('\n');
            QVERIFY(lines.size() >= 5);
            lines[2] = "elsewhere";
            lines[3] = "00112233445566778899aabbccddeeff";
            content = lines.join('\n');
            writeFile(start.folderLockFile(), content, 600);
        }
        start.setPatience(300);
        QVERIFY(!start.claim());
        QCOMPARE(boxes.errors.size(), 1);
        QVERIFY2(boxes.errors.first().startsWith(QStringLiteral("TAMU は既に起動しています：") +
                                                 QDir::toNativeSeparators(dir.path())),
                 qPrintable(boxes.errors.first()));
        QFile kept(start.folderLockFile());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), content);
    }

    // The lock then lives in the private folder only; a dead lock on the media does not block.
    void readOnlyDataFolderStillHasOneInstance() {
        QTemporaryDir dir;
        writeFile(QDir(dir.path()).filePath(QStringLiteral("TAMU.lock")), QByteArray(16, '\0'),
                  600);
        const Sealed readOnly(dir.path(), false);
        if (!readOnly.made()) {
            QSKIP("chattr cannot make the folder read-only here");
        }
        MessageRecorder boxes;
        SingleInstance first(dir.path());
        QVERIFY(first.claim());
        QCOMPARE(QFileInfo(first.privateLockFile()).absolutePath(), m_runtime.path());
        QCOMPARE(lockOwner(first.privateLockFile()), QCoreApplication::applicationPid());
        QSignalSpy activation(&first, &SingleInstance::activationRequested);
        QVERIFY(!SingleInstance(dir.path()).claim());
        QTRY_COMPARE(activation.count(), 1);
        QCOMPARE(boxes.errors, QStringList());
    }

    // The runtime folder when it is the user's alone, else TAMU-<uid> in the temporary folder,
    // else (someone else's, a link) TAMU in the cache folder: always 0700, the user's, and no
    // other user can make a file in it.
    void privateFolderIsTheUsersAlone_data() {
        QTest::addColumn<int>("runtimeMode");  // 0: no runtime folder
        QTest::addColumn<bool>("runtimeForeign");
        QTest::addColumn<QString>(
            "tempFolder");  // what is there before: "", "foreign", "link", "open"
        QTest::addColumn<QString>("expected");  // "runtime", "temp", "cache"
        QTest::newRow("runtime folder") << 0700 << false << ""
                                        << "runtime";
        QTest::newRow("runtime folder open to others") << 0755 << false << ""
                                                       << "temp";
        QTest::newRow("runtime folder of another user") << 0700 << true << ""
                                                        << "temp";
        QTest::newRow("temporary folder of another user") << 0 << false << "foreign"
                                                          << "cache";
        QTest::newRow("temporary folder a link") << 0 << false << "link"
                                                 << "cache";
        QTest::newRow("temporary folder open to others") << 0 << false << "open"
                                                         << "temp";
    }

    void privateFolderIsTheUsersAlone() {
        QFETCH(int, runtimeMode);
        QFETCH(bool, runtimeForeign);
        QFETCH(QString, tempFolder);
        QFETCH(QString, expected);
        const bool root = ::geteuid() == 0;
        if (!root && (runtimeForeign || tempFolder == QLatin1String("foreign"))) {
            QSKIP("needs root to hand a folder to another user");
        }
        QTemporaryDir runtime;
        QTemporaryDir temp;
        QTemporaryDir cache;
        QTemporaryDir linked;
        const QByteArray runtimePath = QFile::encodeName(runtime.path());
        if (runtimeMode != 0) {
            QCOMPARE(::chmod(runtimePath.constData(), mode_t(runtimeMode)), 0);
        }
        if (runtimeForeign) {
            QCOMPARE(::chown(runtimePath.constData(), nobody(), gid_t(-1)), 0);
        }
        if (runtimeMode == 0) {
            qunsetenv("XDG_RUNTIME_DIR");
        } else {
            qputenv("XDG_RUNTIME_DIR", runtimePath);
        }
        for (const QTemporaryDir* above : {&temp, &cache}) {  // anyone may pass through
            QCOMPARE(::chmod(QFile::encodeName(above->path()).constData(), 0711), 0);
        }
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
        const QString tamuTemp =
            temp.path() + QStringLiteral("/TAMU-") + QString::number(::geteuid());
        const QByteArray tamuTempPath = QFile::encodeName(tamuTemp);
        if (tempFolder == QLatin1String("link")) {
            QVERIFY(QFile::link(linked.path(), tamuTemp));
        } else if (!tempFolder.isEmpty()) {
            QCOMPARE(::mkdir(tamuTempPath.constData(), 0700), 0);
            QCOMPARE(::chmod(tamuTempPath.constData(), 0777), 0);
            if (tempFolder == QLatin1String("foreign")) {
                QCOMPARE(::chown(tamuTempPath.constData(), nobody(), gid_t(-1)), 0);
            }
        }
        const QString chosen = SingleInstance::privateFolder();
        QCOMPARE(chosen, expected == QLatin1String("runtime") ? runtime.path()
                         : expected == QLatin1String("temp")
                             ? tamuTemp
                             : cache.path() + QStringLiteral("/TAMU"));
        struct stat st {};
        QCOMPARE(::lstat(QFile::encodeName(chosen).constData(), &st), 0);
        QCOMPARE(st.st_uid, ::geteuid());
        QCOMPARE(int(st.st_mode & 0777), 0700);
        if (root) {
            QTemporaryDir shared(temp.path() + QStringLiteral("/shared-XXXXXX"));  // as /tmp
            QCOMPARE(::chmod(QFile::encodeName(shared.path()).constData(), 01777), 0);
            QCOMPARE(nobodyMakes(shared.path() + QStringLiteral("/TAMU.lock")), 1);
            QCOMPARE(nobodyMakes(chosen + QStringLiteral("/TAMU.lock")), 0);
        }
    }

    // Only root can leave a file of someone else's in the private folder; TAMU trusts neither a
    // lock (it takes its place) nor a socket (it never connects, and says in a box that TAMU runs).
    void othersFilesInThePrivateFolderAreNotTrusted() {
        if (::geteuid() != 0) {
            QSKIP("needs root to hand files to another user");
        }
        MessageRecorder boxes;
        QTemporaryDir dir;
        SingleInstance first(dir.path());
        writeFile(first.privateLockFile(), ownLockBytes());  // alive by QLockFile's rules
        const auto handOver = [](const QString& path) {
            return ::chown(QFile::encodeName(path).constData(), nobody(), gid_t(-1)) == 0;
        };
        QVERIFY(handOver(first.privateLockFile()));
        QVERIFY(first.claim());
        QCOMPARE(QFileInfo(first.privateLockFile()).ownerId(), ::geteuid());
        QSignalSpy activation(&first, &SingleInstance::activationRequested);
        QVERIFY(handOver(first.serverName()));
        SingleInstance second(dir.path());
        second.setPatience(300);
        QVERIFY(!second.claim());
        QTest::qWait(100);
        QCOMPARE(activation.count(), 0);
        QCOMPARE(boxes.errors.size(), 1);
    }

    // Without room for a lock (no free inodes, no rights) every start on a read-only data folder
    // is refused; on a writable one the first runs and a later one, which cannot reach it, is
    // refused with a box.
    void noRoomForALockFailsSafe_data() {
        QTest::addColumn<bool>("writable");
        QTest::newRow("read-only data folder") << false;
        QTest::newRow("writable data folder") << true;
    }

    void noRoomForALockFailsSafe() {
        QFETCH(bool, writable);
        QTemporaryDir dir;
        QTemporaryDir runtime;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        const Sealed full(runtime.path(), true);
        const Sealed readOnly(writable ? QString() : dir.path(), false);
        if (!full.made() || (!writable && !readOnly.made())) {
            QSKIP("neither a full tmpfs nor an immutable folder can be made here");
        }
        MessageRecorder boxes;
        SingleInstance first(dir.path());
        first.setPatience(300);
        QCOMPARE(first.claim(), writable);
        SingleInstance second(dir.path());
        second.setPatience(300);
        QVERIFY(!second.claim());
        QCOMPARE(boxes.errors.size(), writable ? 1 : 2);
        const QString expected = writable ? QStringLiteral("TAMU は既に起動しています：")
                                          : QStringLiteral("ロックファイルを作れないため");
        for (const QString& text : boxes.errors) {
            QVERIFY2(text.startsWith(expected), qPrintable(text));
        }
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
