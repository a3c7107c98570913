#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

// One TAMU per data folder, so that two runs never write the same files. The first start holds
// the folder's lock file and listens on a local socket; a later start reaches it there, asks it
// to bring its controller to the front, and ends.
//
// A second lock, named after the data folder, is kept in a folder only the user can write; it
// stands in for the folder's own where that cannot be made (read-only media), and the socket is
// kept beside it. A lock is honoured only while its owner is proven alive on this computer: one
// left by a crash or a power cut, one from another computer (a portable TAMU, a shared folder)
// and a file that is no lock at all never block a start. When a start is refused, or no lock can
// be made anywhere, a message box says so.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(QString dataFolder, QObject* parent = nullptr);
    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this is the only run on the folder (requests to come forward then arrive as
    // activationRequested); false after the running one was asked to come forward, or after a
    // message box said why this start cannot go on.
    bool claim();

    // The local socket: on Unix a path in privateFolder() (empty without one), on Windows a pipe
    // name made from the user's name and the data folder.
    QString serverName() const;
    QString folderLockFile() const;
    QString privateLockFile() const;  // empty without a private folder

    // How long a later start keeps trying to reach the running one, which may still be starting.
    void setPatience(int milliseconds) { m_patience = milliseconds; }

    // A folder that is the user's alone, for the socket and the second lock: $XDG_RUNTIME_DIR when
    // it is the user's and no one else may enter it, else TAMU-<uid> in the temporary folder, else
    // TAMU in the user's cache folder, the last two made with mode 0700 and refused when they are
    // someone else's or a link. Empty when none will do. On Windows the user's temporary folder.
    static QString privateFolder();

Q_SIGNALS:
    void activationRequested();

private:
    void listen();
    bool notifyRunning() const;
    void refuse(const QString& text) const;

    QString m_folder;
    std::unique_ptr<QLockFile> m_folderLock;
    std::unique_ptr<QLockFile> m_privateLock;
    QLocalServer* m_server = nullptr;
    int m_patience = 3000;
};
