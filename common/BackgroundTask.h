#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <stop_token>

// Runs one piece of work on a thread of its own and calls `done` on the GUI thread when it has
// finished; the work hands over what it made through what both capture (the thread is joined
// before `done` runs, so no lock is needed for it). The work catches its own errors: one that
// escapes it ends the program.
//
// Starting anew or destroying the task cancels the running work: `done` is never called for it,
// and nothing waits for it; the work sees the stop request through its token. Work still running
// when the application ends is asked to stop and joined then, before the libraries it may use
// (the database layer) go away.
class BackgroundTask : public QObject {
    Q_OBJECT

public:
    using Work = std::function<void(std::stop_token)>;
    using Done = std::function<void()>;

    explicit BackgroundTask(QObject* parent = nullptr);
    ~BackgroundTask() override;

    void start(Work work, Done done);
    // Runs a piece of work there and returns the message of the error that ended it, empty when
    // none did: what a worker hands over instead of its result.
    static QString failureOf(const std::function<void()>& work);
    void cancel();
    bool isRunning() const { return m_job != nullptr; }

    struct Job;

private:
    friend class BackgroundWorkers;
    std::shared_ptr<Job> m_job;
};
