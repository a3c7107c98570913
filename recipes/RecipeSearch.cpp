#include "recipes/RecipeSearch.h"

#include <QCoreApplication>
#include <QPointer>
#include <mutex>
#include <stop_token>
#include <thread>
#include <vector>

#include "common/TZEMError.h"

// The inputs are set before the thread starts and only read by it; the outcome passes under the
// mutex, the one hand-over between the threads.
struct RecipeSearch::Job {
    QString dbPath;
    SqlStatement statement;
    TZEMItemList::Direction direction = TZEMItemList::Direction::Forward;
    std::unique_ptr<TZEMItemList> retired;  // the previous search's list, released here
    std::stop_source stop;
    std::thread thread;
    // GUI thread only.
    QPointer<RecipeSearch> owner;
    Done done;
    // Worker to GUI thread.
    std::mutex mutex;
    bool finished = false;
    Outcome outcome;
};

// The running workers of the process. It lives as a child of the application object, so that
// it outlasts every search window, and joins what still runs when the application ends. A worker
// only tells it that some job finished (a queued call without data); it then hands each finished
// job's outcome to its search, if that search still waits for it.
class RecipeSearchWorkers : public QObject {
    Q_OBJECT

public:
    static RecipeSearchWorkers& instance() {
        static QPointer<RecipeSearchWorkers> workers;
        if (workers.isNull()) {
            workers = new RecipeSearchWorkers(QCoreApplication::instance());
        }
        return *workers;
    }

    ~RecipeSearchWorkers() override {
        for (const auto& job : m_jobs) {
            job->stop.request_stop();
        }
        for (const auto& job : m_jobs) {
            job->thread.join();
        }
    }

    void run(const std::shared_ptr<RecipeSearch::Job>& job) {
        m_jobs.push_back(job);
        job->thread = std::thread([job, this] { work(*job); });
    }

    Q_INVOKABLE void deliver() {
        std::vector<std::shared_ptr<RecipeSearch::Job>> finished;
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
            RecipeSearch* owner = job->owner.data();
            if (owner != nullptr && owner->m_job == job) {
                owner->m_job.reset();
                job->done(job->outcome);  // may start the owner's next search
            }
        }
    }

private:
    using QObject::QObject;

    void work(RecipeSearch::Job& job) {
        job.retired.reset();
        Outcome outcome;
        try {
            auto list = std::make_unique<TZEMItemList>();
            list->Build(job.dbPath, job.statement, job.direction, TZEMItemList::Walk::SetBased,
                        job.stop.get_token());
            // Made here, not by the window's tree.
            list->caseKeys();
            list->rootsWithEdges();
            outcome.list = std::move(list);
        } catch (const TZEMItemList::Cancelled&) {
        } catch (const TZEMError& e) {
            outcome.error = e.message();
        } catch (const std::exception& e) {
            outcome.error = QString::fromUtf8(e.what());
        } catch (...) {
            outcome.error = QStringLiteral("予期しないエラーが発生しました");
        }
        {
            const std::lock_guard lock(job.mutex);
            job.outcome = std::move(outcome);
            job.finished = true;
        }
        QMetaObject::invokeMethod(this, "deliver", Qt::QueuedConnection);
    }

    using Outcome = RecipeSearch::Outcome;
    std::vector<std::shared_ptr<RecipeSearch::Job>> m_jobs;
};

RecipeSearch::RecipeSearch(QObject* parent) : QObject(parent) {}

RecipeSearch::~RecipeSearch() {
    cancel();
}

void RecipeSearch::start(const QString& dbPath, const SqlStatement& statement,
                         TZEMItemList::Direction direction, Done done,
                         std::unique_ptr<TZEMItemList> retired) {
    cancel();
    auto job = std::make_shared<Job>();
    job->retired = std::move(retired);
    job->dbPath = dbPath;
    job->statement = statement;
    job->direction = direction;
    job->owner = this;
    job->done = std::move(done);
    m_job = job;
    RecipeSearchWorkers::instance().run(job);
}

void RecipeSearch::cancel() {
    if (m_job) {
        m_job->stop.request_stop();
        m_job->owner = nullptr;
        m_job.reset();
    }
}

#include "RecipeSearch.moc"
