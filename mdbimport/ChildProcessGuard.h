#pragma once

class QProcess;

// Ties a child process to this program: it ends when this program ends, however that happens (a
// signal, a crash, a kill), and kill() ends it with anything it started. On Linux the child gets
// a process group of its own and the kernel kills it when its parent dies; on Windows it runs in
// a job object that ends with the job's last handle, which this object holds.
class ChildProcessGuard {
public:
    // Before process.start().
    explicit ChildProcessGuard(QProcess& process);
    ~ChildProcessGuard();
    ChildProcessGuard(const ChildProcessGuard&) = delete;
    ChildProcessGuard& operator=(const ChildProcessGuard&) = delete;

    // Right after the process has started.
    void started();
    void kill();

private:
    QProcess& m_process;
    void* m_job = nullptr;  // the Windows job object
};
