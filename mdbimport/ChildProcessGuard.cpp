#include "mdbimport/ChildProcessGuard.h"

#include <QProcess>
#include <QtGlobal>

#ifdef Q_OS_UNIX
#include <signal.h>
#include <unistd.h>
#endif
#ifdef Q_OS_LINUX
#include <sys/prctl.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
#endif

ChildProcessGuard::ChildProcessGuard(QProcess& process) : m_process(process) {
#ifdef Q_OS_UNIX
    const pid_t parent = ::getpid();
    m_process.setChildProcessModifier([parent] {
        ::setpgid(0, 0);
#ifdef Q_OS_LINUX
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
#endif
        // The parent may have died before the request above took effect.
        if (::getppid() != parent) {
            ::_exit(127);
        }
    });
#endif
#ifdef Q_OS_WIN
    m_job = CreateJobObjectW(nullptr, nullptr);
    if (m_job != nullptr) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(m_job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    }
#endif
}

ChildProcessGuard::~ChildProcessGuard() {
#ifdef Q_OS_WIN
    if (m_job != nullptr) {
        CloseHandle(m_job);
    }
#endif
}

void ChildProcessGuard::started() {
#ifdef Q_OS_WIN
    if (m_job == nullptr) {
        return;
    }
    HANDLE child = OpenProcess(PROCESS_SET_QUOTA | PROCESS_TERMINATE, FALSE,
                               static_cast<DWORD>(m_process.processId()));
    if (child != nullptr) {
        AssignProcessToJobObject(m_job, child);
        CloseHandle(child);
    }
#endif
}

void ChildProcessGuard::kill() {
#ifdef Q_OS_UNIX
    const qint64 pid = m_process.processId();
    if (pid > 0) {
        ::kill(-static_cast<pid_t>(pid), SIGKILL);
    }
#endif
#ifdef Q_OS_WIN
    if (m_job != nullptr) {
        TerminateJobObject(m_job, 1);
    }
#endif
    m_process.kill();
}
