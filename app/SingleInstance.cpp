#include "app/SingleInstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QThread>
#include <cstdio>
#include <utility>

namespace {

const QByteArray ShowRequest = QByteArrayLiteral("show\n");

// The key of a data folder for one user: the local socket's name (a named pipe on Windows, where
// every user's pipes share one name space) and the name of a lock kept in the temporary folder.
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

}  // namespace

SingleInstance::SingleInstance(QString dataFolder, QObject* parent)
    : QObject(parent), m_folder(std::move(dataFolder)) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverName() const {
    return QStringLiteral("TAMU-") + folderKey(m_folder);
}

// False only when another living run holds the lock.
bool SingleInstance::lockAt(const QString& lockFile) {
    m_lock = std::make_unique<QLockFile>(lockFile);
    m_lock->setStaleLockTime(0);  // a lock is stale when its owner is gone, never by its age
    return m_lock->tryLock(0) || m_lock->error() != QLockFile::LockFailedError;
}

bool SingleInstance::claim() {
    // A data folder that cannot be written (read-only media) keeps its lock in the temporary
    // folder, under a name made from the data folder's path.
    bool first = lockAt(QDir(m_folder).filePath(QStringLiteral("TAMU.lock")));
    if (first && !m_lock->isLocked()) {
        first = lockAt(QDir::temp().filePath(serverName() + QStringLiteral(".lock")));
    }
    if (!first) {
        if (!notifyRunning()) {
            std::fprintf(stderr, "TAMU: %s\n",
                         qUtf8Printable(QStringLiteral("TAMU は既に起動しています：") + m_folder));
        }
        return false;
    }
    listen();
    return true;
}

void SingleInstance::listen() {
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // Holding the lock, any socket of that name is a left-over of a run that died.
    QLocalServer::removeServer(serverName());
    if (!m_server->listen(serverName())) {
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

// The running one may still be starting: it listens right after taking the lock, so a few tries
// over a few seconds reach it.
bool SingleInstance::notifyRunning() const {
    for (int attempt = 0; attempt < 30; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(serverName());
        if (socket.waitForConnected(100)) {
            socket.write(ShowRequest);
            const bool sent = socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return sent;
        }
        QThread::msleep(100);
    }
    return false;
}
