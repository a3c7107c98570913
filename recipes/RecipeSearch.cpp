#include "recipes/RecipeSearch.h"

RecipeSearch::RecipeSearch(QObject* parent) : QObject(parent) {}

RecipeSearch::~RecipeSearch() = default;

void RecipeSearch::start(const QString& dbPath, const SqlStatement& statement,
                         TZEMItemList::Direction direction, Done done,
                         std::unique_ptr<TZEMItemList> retired) {
    auto outcome = std::make_shared<Outcome>();
    // The work holds the one reference, so that the list goes on the worker thread.
    m_task.start(
        [outcome, previous = std::shared_ptr<TZEMItemList>(std::move(retired)), dbPath, statement,
         direction](std::stop_token stop) mutable {
            previous.reset();
            outcome->error = BackgroundTask::failureOf([&] {
                try {
                    auto list = std::make_unique<TZEMItemList>();
                    list->build(dbPath, statement, direction, TZEMItemList::Walk::SetBased, stop);
                    // Made here, not by the window's tree.
                    list->caseKeys();
                    list->rootsWithEdges();
                    outcome->list = std::move(list);
                } catch (const TZEMItemList::Cancelled&) {
                }
            });
        },
        [outcome, done = std::move(done)] { done(*outcome); });
}
