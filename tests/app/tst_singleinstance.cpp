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

bool chattr(const QString& flag, const QString& path) {
    return QProcess::execute(QStringLiteral("chattr"), {flag, path}) == 0;
}

// A folder nothing can be made in, for as long as the object lives: a tmpfs without a free inode
// where one can be mounted, else an immutable folder. `made` is false when neither can be done.
class FullFolder {
public:
    explicit FullFolder(const QString& path) : m_path(path) {
        const QString options = QStringLiteral("size=64k,nr_inodes=1,mode=0700,uid=%1,gid=%2")
                                    .arg(::geteuid())
                                    .arg(::getegid());
        m_mounted =
            QProcess::execute(QStringLiteral("mount"),
                              {QStringLiteral("-t"), QStringLiteral("tmpfs"), QStringLiteral("-o"),
                               options, QStringLiteral("tmpfs"), path}) == 0;
        m_immutable = !m_mounted && chattr(QStringLiteral("+i"), path);
    }
    ~FullFolder() {
        if (m_mounted) {
            QProcess::execute(QStringLiteral("umount"), {m_path});
        }
        if (m_immutable) {
            chattr(QStringLiteral("-i"), m_path);
        }
    }
    FullFolder(const FullFolder&) = delete;
    FullFolder& operator=(const FullFolder&) = delete;
    bool made() const { return m_mounted || m_immutable; }

private:
    QString m_path;
    bool m_mounted = false;
    bool m_immutable = false;
};

// Read-only for root too, until the object goes.
class ReadOnly {
public:
    explicit ReadOnly(const QString& path)
        : m_path(path), m_made(chattr(QStringLiteral("+i"), path)) {}
    ~ReadOnly() {
        if (m_made) {
            chattr(QStringLiteral("-i"), m_path);
        }
    }
    ReadOnly(const ReadOnly&) = delete;
    ReadOnly& operator=(const ReadOnly&) = delete;
    bool made() const { return m_made; }

private:
    QString m_path;
    bool m_made;
};

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
        const ReadOnly readOnly(dir.path());
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

    // Where the runtime folder is not the user's alone, TAMU-<uid> in the temporary folder, and
    // where that is someone else's or a link, TAMU in the cache folder; always 0700 and the
    // user's.
    void privateFolderIsTheUsersAlone_data() {
        QTest::addColumn<int>("runtimeMode");  // -1: no runtime folder
        QTest::addColumn<bool>("runtimeForeign");
        QTest::addColumn<QString>("tempFolder");  // "", "foreign", "link", "open"
        QTest::addColumn<QString>("expected");    // "runtime", "temp", "cache"
        QTest::newRow("runtime folder") << 0700 << false << QString() << "runtime";
        QTest::newRow("runtime folder open to others") << 0755 << false << QString() << "temp";
        QTest::newRow("runtime folder of another user") << 0700 << true << QString() << "temp";
        QTest::newRow("no runtime folder") << -1 << false << QString() << "temp";
        QTest::newRow("temporary folder of another user") << -1 << false << "foreign"
                                                          << "cache";
        QTest::newRow("temporary folder a link") << -1 << false << "link"
                                                 << "cache";
        QTest::newRow("temporary folder open to others") << -1 << false << "open"
                                                         << "temp";
    }

    void privateFolderIsTheUsersAlone() {
        QFETCH(int, runtimeMode);
        QFETCH(bool, runtimeForeign);
        QFETCH(QString, tempFolder);
        QFETCH(QString, expected);
        const bool foreign = runtimeForeign || tempFolder == QLatin1String("foreign");
        if (foreign && ::geteuid() != 0) {
            QSKIP("needs root to hand a folder to another user");
        }
        QTemporaryDir runtime;
        QTemporaryDir temp;
        QTemporaryDir cache;
        QTemporaryDir elsewhere;  // the target of a planted link
        const QByteArray runtimePath = QFile::encodeName(runtime.path());
        if (runtimeMode < 0) {
            qunsetenv("XDG_RUNTIME_DIR");
        } else {
            QCOMPARE(::chmod(runtimePath.constData(), mode_t(runtimeMode)), 0);
            if (runtimeForeign) {
                QCOMPARE(::chown(runtimePath.constData(), nobody(), gid_t(-1)), 0);
            }
            qputenv("XDG_RUNTIME_DIR", runtimePath);
        }
        qputenv("TMPDIR", QFile::encodeName(temp.path()));
        qputenv("XDG_CACHE_HOME", QFile::encodeName(cache.path()));
        const QString tamuTemp =
            temp.path() + QStringLiteral("/TAMU-") + QString::number(::geteuid());
        const QByteArray tamuTempPath = QFile::encodeName(tamuTemp);
        if (tempFolder == QLatin1String("foreign")) {
            QCOMPARE(::mkdir(tamuTempPath.constData(), 0777), 0);
            QCOMPARE(::chown(tamuTempPath.constData(), nobody(), gid_t(-1)), 0);
        } else if (tempFolder == QLatin1String("link")) {
            QVERIFY(QFile::link(elsewhere.path(), tamuTemp));
        } else if (tempFolder == QLatin1String("open")) {
            QCOMPARE(::mkdir(tamuTempPath.constData(), 0700), 0);
            QCOMPARE(::chmod(tamuTempPath.constData(), 0777), 0);
        }
        const QString chosen = SingleInstance::privateFolder();
        const QString want = expected == QLatin1String("runtime") ? runtime.path()
                             : expected == QLatin1String("temp")
                                 ? tamuTemp
                                 : cache.path() + QStringLiteral("/TAMU");
        QCOMPARE(chosen, want);
        struct stat st {};
        QCOMPARE(::lstat(QFile::encodeName(chosen).constData(), &st), 0);
        QVERIFY(S_ISDIR(st.st_mode));
        QCOMPARE(st.st_uid, ::geteuid());
        QCOMPARE(int(st.st_mode & 0777), 0700);
    }

    // Another user can neither make a lock nor a socket where TAMU keeps them, and a socket or a
    // lock of someone else's that root left there is not trusted.
    void anotherUserCannotPlantALock() {
        if (::geteuid() != 0) {
            QSKIP("needs root to act as another user");
        }
        QTemporaryDir dir;
        SingleInstance start(dir.path());
        const QStringList places{start.privateLockFile(), start.serverName()};
        for (const QString& place : places) {
            QCOMPARE(QFileInfo(place).absolutePath(), m_runtime.path());
            const pid_t child = ::fork();
            if (child == 0) {
                // As nobody: make the file the way a squatter would.
                if (::setgid(nobody()) != 0 || ::setuid(nobody()) != 0) {
                    ::_exit(2);
                }
                const int fd =
                    ::open(QFile::encodeName(place).constData(), O_CREAT | O_EXCL | O_WRONLY, 0644);
                ::_exit(fd < 0 ? 0 : 1);
            }
            int status = -1;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status));
            QCOMPARE(WEXITSTATUS(status), 0);
        }
    }

    void foreignLockInThePrivateFolderIsIgnored() {
        if (::geteuid() != 0) {
            QSKIP("needs root to hand a file to another user");
        }
        MessageRecorder boxes;
        QTemporaryDir dir;
        SingleInstance start(dir.path());
        // A lock that QLockFile would find alive (this very process), but owned by nobody.
        writeFile(start.privateLockFile(), ownLockBytes());
        QCOMPARE(
            ::chown(QFile::encodeName(start.privateLockFile()).constData(), nobody(), gid_t(-1)),
            0);
        start.setPatience(300);
        QVERIFY(start.claim());
        QCOMPARE(boxes.errors, QStringList());
        QFileInfo taken(start.privateLockFile());
        QCOMPARE(taken.ownerId(), ::geteuid());
    }

    void foreignSocketIsNeverSpokenTo() {
        if (::geteuid() != 0) {
            QSKIP("needs root to hand a socket to another user");
        }
        MessageRecorder boxes;
        QTemporaryDir dir;
        SingleInstance start(dir.path());
        QLockFile running(start.folderLockFile());
        QVERIFY(running.tryLock(0));
        QLocalServer squatter;
        QVERIFY(squatter.listen(start.serverName()));
        QCOMPARE(
            ::chown(QFile::encodeName(squatter.fullServerName()).constData(), nobody(), gid_t(-1)),
            0);
        start.setPatience(300);
        QVERIFY(!start.claim());
        QVERIFY(!squatter.waitForNewConnection(100));
        QCOMPARE(boxes.errors.size(), 1);
    }

    // Without room for a lock (no free inodes, no rights) every start is refused on a read-only
    // data folder; on a writable one the first runs and a later one, which cannot reach it, is
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
        const FullFolder full(runtime.path());
        if (!full.made()) {
            QSKIP("neither a full tmpfs nor an immutable folder can be made here");
        }
        std::unique_ptr<ReadOnly> readOnly;
        if (!writable) {
            readOnly = std::make_unique<ReadOnly>(dir.path());
            if (!readOnly->made()) {
                QSKIP("chattr cannot make the folder read-only here");
            }
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
