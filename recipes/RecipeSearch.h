#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

#include "common/BackgroundTask.h"
#include "recipes/SqlStatement.h"
#include "recipes/TZEMItemList.h"

// Builds the recipe graph of a search on a worker thread, with a database connection of that
// thread's own, and hands the finished list to the GUI thread in one piece.
//
// Starting a new search or destroying the object cancels the running one: its result is never
// handed over, and nothing waits for it. The worker stops at its next row; a worker still
// running when the application ends is joined then, before the database layer goes away.
class RecipeSearch : public QObject {
    Q_OBJECT

public:
    // A finished build: the list, or the message of the error that ended it (no list then).
    struct Outcome {
        std::unique_ptr<TZEMItemList> list;
        QString error;
    };
    using Done = std::function<void(Outcome& outcome)>;

    explicit RecipeSearch(QObject* parent = nullptr);
    ~RecipeSearch() override;

    // Cancels any running build and starts this one; done runs on the GUI thread when it ends.
    // The retired list (the previous search's, which a large graph makes slow to free) is
    // released on the worker thread.
    void start(const QString& dbPath, const SqlStatement& statement,
               TZEMItemList::Direction direction, Done done,
               std::unique_ptr<TZEMItemList> retired = nullptr);
    void cancel() { m_task.cancel(); }
    bool isRunning() const { return m_task.isRunning(); }

private:
    BackgroundTask m_task;
};
