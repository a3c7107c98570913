#include "common/BackgroundTask.h"

#include <QCoreApplication>
#include <QPointer>
#include <mutex>
#include <thread>
#include <vector>

#include "common/TZEMError.h"

// The work is set before the thread starts; `finished` passes under the mutex, the one hand-over
// between the threads.
struct BackgroundTask::Job {
    Work work;
    std::stop_source stop;
    std::thread thread;
    // GUI thread only.
    QPointer<BackgroundTask> owner;
    Done done;
    // Worker to GUI thread.
    std::mutex mutex;
    bool finished = false;
};

// The running workers of the process. It lives as a child of the application object, so that it
// outlasts every window, and joins what still runs when the application ends. A worker only
// tells it that some job finished (a queued call without data); it then calls each finished
// job's `done`, if its task still waits for it.
class BackgroundWorkers : public QObject {
    Q_OBJECT

public:
    static BackgroundWorkers& instance() {
        static QPointer<BackgroundWorkers> workers;
        if (workers.isNull()) {
            workers = new BackgroundWorkers(QCoreApplication::instance());
        }
        return *workers;
    }

    ~BackgroundWorkers() override {
        for (const auto& job : m_jobs) {
            job->stop.request_stop();
        }
        for (const auto& job : m_jobs) {
            job->thread.join();
        }
    }

    void run(const std::shared_ptr<BackgroundTask::Job>& job) {
        m_jobs.push_back(job);
        job->thread = std::thread([job, this] {
            job->work(job->stop.get_token());
            {
                const std::lock_guard lock(job->mutex);
                job->finished = true;
            }
            QMetaObject::invokeMethod(this, "deliver", Qt::QueuedConnection);
        });
    }

    Q_INVOKABLE void deliver() {
        std::vector<std::shared_ptr<BackgroundTask::Job>> finished;
        for (auto it = m_jobs.begin(); it != m_jobs.end();) {
            bool done = false;
            {
                const std::lock_guard lock((*it)->mutex);
                done = (*it)->finished;
            }
            if (done) {
                (*it)->thread.join();
                finished.push_back(*it);
                it = m_jobs.erase(it);
            } else {
                ++it;
            }
        }
        for (const auto& job : finished) {
            BackgroundTask* owner = job->owner.data();
            if (owner != nullptr && owner->m_job == job) {
                owner->m_job.reset();
                job->done();  // may start the owner's next work
            }
        }
    }

private:
    using QObject::QObject;

    std::vector<std::shared_ptr<BackgroundTask::Job>> m_jobs;
};

BackgroundTask::BackgroundTask(QObject* parent) : QObject(parent) {}

BackgroundTask::~BackgroundTask() {
    cancel();
}

void BackgroundTask::start(Work work, Done done) {
    cancel();
    auto job = std::make_shared<Job>();
    job->work = std::move(work);
    job->owner = this;
    job->done = std::move(done);
    m_job = job;
    BackgroundWorkers::instance().run(job);
}

QString BackgroundTask::failureOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const TZEMError& e) {
        return e.message();
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("予期しないエラーが発生しました");
    }
    return {};
}

void BackgroundTask::cancel() {
    if (m_job) {
        m_job->stop.request_stop();
        m_job->owner = nullptr;
        m_job.reset();
    }
}

#include "BackgroundTask.moc"
