#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QLocalServer;
class QLockFile;

// One TAMU per data folder, so that two runs never write the same files. The first start holds
// the folder's lock file and listens on a local socket; a later start reaches it there, asks it
// to bring its controller to the front, and ends. A lock left by a run that crashed or was killed
// belongs to no living process and never blocks a start.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    explicit SingleInstance(QString dataFolder, QObject* parent = nullptr);
    ~SingleInstance() override;
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this is the only run on the folder (requests to come forward then arrive as
    // activationRequested); false after the running one was asked to come forward.
    bool claim();

    QString serverName() const;

Q_SIGNALS:
    void activationRequested();

private:
    bool lockAt(const QString& lockFile);
    void listen();
    bool notifyRunning() const;

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer* m_server = nullptr;
};
