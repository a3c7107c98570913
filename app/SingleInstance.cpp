#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QSysInfo>
#include <QThread>
#include <cstdio>
#include <utility>

#include "common/Messages.h"

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#endif

namespace {

const QByteArray ShowRequest = QByteArrayLiteral("show\n");

// A starting run creates its lock file empty and writes it a moment later; for so long a file
// that holds no lock may still be one.
constexpr int WritingGraceMs = 1000;

// The key of a data folder for one user: it names the local socket (a named pipe on Windows,
// where every user's pipes share one name space) and the lock in the private folder.
QString folderKey(const QString& folder) {
    const QFileInfo info(folder);
    const QString path =
        info.canonicalFilePath().isEmpty() ? info.absoluteFilePath() : info.canonicalFilePath();
#ifdef Q_OS_WIN
    const QString user = qEnvironmentVariable("USERNAME");
#else
    const QString user = qEnvironmentVariable("USER");
#endif
    return QString::fromLatin1(
        QCryptographicHash::hash((user + u'\n' + path).toUtf8(), QCryptographicHash::Sha1)
            .toHex()
            .left(16));
}

// The name QLockFile writes into a lock for this computer.
QString machineName() {
#ifdef Q_OS_WIN
    return qEnvironmentVariable("COMPUTERNAME");
#else
    return QSysInfo::machineHostName();
#endif
}

// QLockFile's own test of "written on this computer": the machine id on the fourth line where
// the lock and this computer both have one, else the host name on the third (none: this one).
bool writtenHere(const QString& lockFile, const QString& host) {
    QByteArray machineId;
    QFile file(lockFile);
    if (file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        for (int line = 0; line < 3; ++line) {
            file.readLine();
        }
        machineId = file.readLine().trimmed();
    }
    const QByteArray ours = QSysInfo::machineUniqueId();
    if (!machineId.isEmpty() && !ours.isEmpty()) {
        return machineId == ours;
    }
    return host.isEmpty() || host == machineName();
}

enum class Owner { Alive, Writing, Unproven, Gone };

// Asked once QLockFile found the lock taken. By its rules a lock written on this computer then
// names a living process of the same program; on another computer nothing can be proven, and a
// file that holds no lock at all proves nothing either, once its writer had time to fill it.
Owner ownerOf(const QLockFile& lock) {
    const QFileInfo info(lock.fileName());
    if (!info.exists()) {
        return Owner::Gone;
    }
    qint64 pid = 0;
    QString host;
    QString program;
    if (!lock.getLockInfo(&pid, &host, &program)) {
        const qint64 age = info.lastModified().msecsTo(QDateTime::currentDateTime());
        return qAbs(age) < WritingGraceMs ? Owner::Writing : Owner::Unproven;
    }
    if (!writtenHere(lock.fileName(), host)) {
        return Owner::Unproven;
    }
#ifdef Q_OS_UNIX
    // QLockFile found it stale but could not remove it (a file the user may not write).
    if (::kill(pid_t(pid), 0) != 0 && errno == ESRCH) {
        return Owner::Unproven;
    }
#endif
    return Owner::Alive;
}

// QLockFile opens a stale lock for writing to lock it before it removes it. A lock the user may
// read but not write (copied from read-only media, written by another user of a shared folder)
// needs no more than reading to be locked, and the folder's rights to be removed.
bool removeUnwritable(const QString& lockFile) {
#ifdef Q_OS_UNIX
    const QByteArray native = QFile::encodeName(lockFile);
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    const bool removed = ::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(native.constData()) == 0;
    ::close(fd);
    return removed;
#else
    Q_UNUSED(lockFile);
    return false;
#endif
}

enum class Removal { Done, Refused, Contended };

// Removes a lock whose owner was not proven alive. QLockFile removes only a file nobody holds
// open and locked, so a run on another computer whose shared folder passes the lock on keeps it.
// One start removes at a time, and it looks again first: another may have just made a new lock.
Removal removeStale(QLockFile& lock) {
    QLockFile guard(lock.fileName() + QStringLiteral(".rmlock"));
    if (!guard.tryLock(0)) {
        return guard.error() == QLockFile::LockFailedError ? Removal::Contended : Removal::Refused;
    }
    if (ownerOf(lock) != Owner::Unproven) {
        return Removal::Contended;
    }
    return lock.removeStaleLockFile() || removeUnwritable(lock.fileName()) ? Removal::Done
                                                                           : Removal::Refused;
}

enum class Lock { Held, Busy, Unavailable };

Lock acquire(QLockFile& lock) {
    lock.setStaleLockTime(0);  // a lock is stale by its owner's death, never by its age
    const QDeadlineTimer deadline(WritingGraceMs + 1000);
    for (;;) {
        if (lock.tryLock(0)) {
            return Lock::Held;
        }
        if (lock.error() != QLockFile::LockFailedError) {
            return Lock::Unavailable;  // cannot be made here: no rights, no space, no inodes
        }
        bool waitAWhile = false;
        switch (ownerOf(lock)) {
            case Owner::Alive:
                return Lock::Busy;
            case Owner::Gone:
                break;
            case Owner::Writing:
                waitAWhile = true;
                break;
            case Owner::Unproven:
                switch (removeStale(lock)) {
                    case Removal::Done:
                        break;
                    case Removal::Contended:
                        waitAWhile = true;
                        break;
                    case Removal::Refused:
                        // On media nobody can write, a dead lock stops no run: none can take it
                        // there, so every run relies on the other lock.
                        if (!QFileInfo(QFileInfo(lock.fileName()).absolutePath()).isWritable()) {
                            return Lock::Unavailable;
                        }
                        return Lock::Busy;
                }
                break;
        }
        if (deadline.hasExpired()) {
            return Lock::Busy;
        }
        if (waitAWhile) {
            QThread::msleep(50);
        }
    }
}

#ifdef Q_OS_UNIX
// A folder of the user's alone: a folder (a link only when followed on purpose), owned by the
// user, that no one else may write or enter. One of the user's own that is open to others is
// closed when `narrow`.
bool usersAlone(const QString& folder, bool followLink, bool narrow) {
    const QByteArray native = QFile::encodeName(folder);
    struct stat st {};
    const int found =
        followLink ? ::stat(native.constData(), &st) : ::lstat(native.constData(), &st);
    if (found != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid()) {
        return false;
    }
    if ((st.st_mode & 077) == 0) {
        return true;
    }
    return narrow && ::chmod(native.constData(), 0700) == 0;
}

// Made 0700 when missing; an existing one (another user may have made it first) is checked.
QString madeAlone(const QString& folder) {
    ::mkdir(QFile::encodeName(folder).constData(), 0700);
    return usersAlone(folder, false, true) ? folder : QString();
}
#endif

// In the user's own folder a lock that is not the user's (only root could have put it there)
// stands for no run of the user's: it goes before the lock is taken.
void dropForeignLock(const QString& path) {
#ifdef Q_OS_UNIX
    const QByteArray native = QFile::encodeName(path);
    struct stat st {};
    if (::lstat(native.constData(), &st) == 0 &&
        (st.st_uid != ::geteuid() || !S_ISREG(st.st_mode))) {
        ::unlink(native.constData());
    }
#else
    Q_UNUSED(path);
#endif
}

// A socket of someone else's is never spoken to: it would take the request and answer nothing.
bool usersOwnSocket(const QString& path) {
#ifdef Q_OS_UNIX
    struct stat st {};
    return ::lstat(QFile::encodeName(path).constData(), &st) == 0 && S_ISSOCK(st.st_mode) &&
           st.st_uid == ::geteuid();
#else
    Q_UNUSED(path);
    return true;              // a pipe made with the user's access only, under a name of the user's
#endif
}

}  // namespace

SingleInstance::SingleInstance(QString dataFolder, QObject* parent)
    : QObject(parent), m_folder(std::move(dataFolder)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::privateFolder() {
#ifdef Q_OS_UNIX
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (QDir::isAbsolutePath(runtime) && usersAlone(runtime, true, false)) {
        return QDir::cleanPath(runtime);
    }
    const QString temp = madeAlone(QDir::cleanPath(QDir::tempPath()) + QStringLiteral("/TAMU-") +
                                   QString::number(::geteuid()));
    if (!temp.isEmpty()) {
        return temp;
    }
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty() || !QDir().mkpath(cache)) {
        return {};
    }
    return madeAlone(QDir::cleanPath(cache) + QStringLiteral("/TAMU"));
#else
    return QDir::tempPath();  // the user's own under the profile
#endif
}

QString SingleInstance::serverName() const {
    const QString name = QStringLiteral("TAMU-") + folderKey(m_folder);
#ifdef Q_OS_UNIX
    const QString folder = privateFolder();
    return folder.isEmpty() ? QString() : folder + u'/' + name;
#else
    return name;
#endif
}

QString SingleInstance::folderLockFile() const {
    return QDir(m_folder).filePath(QStringLiteral("TAMU.lock"));
}

QString SingleInstance::privateLockFile() const {
    const QString folder = privateFolder();
    return folder.isEmpty() ? QString()
                            : QDir(folder).filePath(QStringLiteral("TAMU-") + folderKey(m_folder) +
                                                    QStringLiteral(".lock"));
}

bool SingleInstance::claim() {
    m_folderLock = std::make_unique<QLockFile>(folderLockFile());
    const Lock inFolder = acquire(*m_folderLock);
    // The private lock is taken even beside the folder's own: a run that found the data folder
    // unwritable holds only this one, and one started after the folder became writable must see it.
    Lock inPrivate = Lock::Unavailable;
    const QString privateLock = privateLockFile();
    if (inFolder != Lock::Busy && !privateLock.isEmpty()) {
        dropForeignLock(privateLock);
        m_privateLock = std::make_unique<QLockFile>(privateLock);
        inPrivate = acquire(*m_privateLock);
    }
    const QString folder = QDir::toNativeSeparators(m_folder);
    if (inFolder == Lock::Busy || inPrivate == Lock::Busy) {
        const QString held = inFolder == Lock::Busy ? m_folderLock->fileName() : privateLock;
        m_folderLock.reset();
        m_privateLock.reset();
        if (!notifyRunning()) {
            refuse(QStringLiteral("TAMU は既に起動しています：") + folder +
                   QStringLiteral("\n（ロックファイル：") + QDir::toNativeSeparators(held) +
                   QStringLiteral("）"));
        }
        return false;
    }
    if (inFolder == Lock::Unavailable && inPrivate == Lock::Unavailable) {
        // Without a lock a second run could not be told apart from the first: none runs.
        m_folderLock.reset();
        m_privateLock.reset();
        QString places = QDir::toNativeSeparators(folderLockFile());
        if (!privateLock.isEmpty()) {
            places += u'\n' + QDir::toNativeSeparators(privateLock);
        }
        refuse(QStringLiteral("ロックファイルを作れないため、TAMU を起動できません：\n") + places +
               QStringLiteral("\n空き容量と書き込みの権限を確かめてください。"));
        return false;
    }
    listen();
    return true;
}

void SingleInstance::refuse(const QString& text) const {
    std::fprintf(stderr, "TAMU: %s\n", qUtf8Printable(text));
    Messages::showError(text);
}

void SingleInstance::listen() {
    // Without a socket this run goes on; a later start then says that TAMU runs instead of
    // bringing it forward.
    const QString name = serverName();
    if (name.isEmpty()) {
        std::fprintf(
            stderr, "TAMU: %s\n",
            qUtf8Printable(QStringLiteral("呼び出し用のソケットを置けるフォルダーがありません")));
        return;
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock, any socket of that name is a left-over of a run that died.
    QLocalServer::removeServer(name);
    if (!m_server->listen(name)) {
        std::fprintf(stderr, "TAMU: %s\n",
                     qUtf8Printable(QStringLiteral("呼び出し用のソケットを開けません：") +
                                    QDir::toNativeSeparators(name)));
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(ShowRequest)) {
                    Q_EMIT activationRequested();
                }
            });
        }
    });
}

// The running one may still be starting: it listens right after taking its locks, so tries over
// a few seconds reach it.
bool SingleInstance::notifyRunning() const {
    const QString name = serverName();
    if (name.isEmpty()) {
        return false;
    }
    const QDeadlineTimer deadline(m_patience);
    do {
        if (usersOwnSocket(name)) {
            QLocalSocket socket;
            socket.connectToServer(name);
            if (socket.waitForConnected(100)) {
                socket.write(ShowRequest);
                const bool sent = socket.waitForBytesWritten(1000);
                socket.disconnectFromServer();
                return sent;
            }
        }
        QThread::msleep(100);
    } while (!deadline.hasExpired());
    return false;
}
