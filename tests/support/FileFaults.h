#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtGlobal>
#include <csignal>

#ifndef Q_OS_WIN
#include <sys/resource.h>
#include <unistd.h>
#endif

// Real write and read failures for tests, without mounting anything. Windows has neither a
// per-process file size limit nor a user to switch to, and ignores a folder's read-only mark:
// there each fault says it is not available (ok() false) and the test skips.
namespace FileFaults {

#ifdef Q_OS_WIN

class SizeLimit {
public:
    explicit SizeLimit(qint64) {}
    bool ok() const { return false; }
};

class Unprivileged {
public:
    bool ok() const { return false; }
};

inline bool readOnlyFoldersBind() {
    return false;
}

#else

// While it lives, no file of this process can grow beyond `bytes`: a write past it fails as a
// write to a full disk does (EFBIG instead of ENOSPC).
class SizeLimit {
public:
    explicit SizeLimit(qint64 bytes) {
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit limit = m_old;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~SizeLimit() {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }
    SizeLimit(const SizeLimit&) = delete;
    SizeLimit& operator=(const SizeLimit&) = delete;
    bool ok() const { return true; }

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

// While it lives, file permissions bind this process: as root it takes the effective user
// nobody (files and folders it must reach need permissions for others).
class Unprivileged {
public:
    Unprivileged() : m_wasRoot(geteuid() == 0) {
        if (m_wasRoot) {
            m_ok = seteuid(65534) == 0;
        }
    }
    ~Unprivileged() {
        if (m_wasRoot && m_ok) {
            [[maybe_unused]] const int rc = seteuid(0);
        }
    }
    Unprivileged(const Unprivileged&) = delete;
    Unprivileged& operator=(const Unprivileged&) = delete;
    bool ok() const { return !m_wasRoot || m_ok; }

private:
    bool m_wasRoot;
    bool m_ok = false;
};

// Whether a folder without write permission keeps this process out (root writes anyway).
inline bool readOnlyFoldersBind() {
    return geteuid() != 0;
}

#endif

constexpr QFile::Permissions OpenFolder = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther |
                                          QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup;
// Writable by anyone, readable by nobody: the unreadable but writable settings file.
constexpr QFile::Permissions WriteOnly = QFile::WriteOwner | QFile::WriteGroup | QFile::WriteOther;

inline QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace FileFaults
