// The recipe search on a large item database:
//   bench_search [--itemdb=<file>] [--large=<file>] [benchmark options]
// Without --itemdb a 10,000-item database is generated into a temporary folder with
// tamu_gen_itemdb, without --large one of 160,000 items, for the search to a visible tree alone.
// Budgets: the unrestricted search to a visible tree under 50 ms on 10,000 items and under 1 s on
// 160,000, with no stall of the GUI event loop over 50 ms; the same search again, the tables kept,
// under 10 ms and 100 ms; expanding any node under 16 ms. The per-entry walk runs beside the
// set-based one for the ratio.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QPushButton>
#include <QShortcut>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <functional>
#include <vector>

#include "bench/support/GeneratedItemDb.h"
#include "recipes/ItemSql.h"
#include "recipes/RecipeTableCache.h"
#include "recipes/RecipeTreeModel.h"
#include "recipes/TZEMForm08.h"
#include "recipes/TZEMItemList.h"

namespace {

QString g_database;
QString g_large;
const QString All = QStringLiteral("全て");

SqlStatement unrestricted() {
    return SqlConditionSearch(All, All, All, All, All);
}

TZEMForm08* makeWindow(const QString& database = g_database) {
    auto* window = new TZEMForm08({}, {}, {}, database);
    window->show();
    QCoreApplication::processEvents();
    return window;
}

// Paints the tree now, as the user would see it.
void showTree(QTreeView* tree) {
    tree->viewport()->repaint();
    QCoreApplication::processEvents();
}

// Arg 0: the set-based walk; 1: the per-entry walk.
TZEMItemList::Walk walkOf(const benchmark::State& state) {
    return state.range(0) == 0 ? TZEMItemList::Walk::SetBased : TZEMItemList::Walk::PerEntry;
}

void BM_UnrestrictedBuild(benchmark::State& state) {
    int items = 0;
    {
        // Untimed: the database driver loads once per process, not once per search.
        TZEMItemList warmUp;
        warmUp.build(g_database, SqlNameSearch(QStringLiteral("-")),
                     TZEMItemList::Direction::Forward, walkOf(state));
    }
    for (auto _ : state) {
        RecipeTableCache::clear();  // the build of a first search
        TZEMItemList list;
        list.build(g_database, unrestricted(), TZEMItemList::Direction::Forward, walkOf(state));
        items = list.count();
    }
    state.counters["items"] = items;
}

// The lateness of a 1 ms timer on the GUI thread: the longest time the event loop did not run.
class StallMeter {
public:
    StallMeter() {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this] { m_longest = std::max(m_longest, m_clock.restart() - 1); });
        m_clock.start();
        m_timer.start();
    }
    // Counts the time since the last tick too, for a stall that has not ended in a tick yet.
    qint64 longest() const { return std::max(m_longest, m_clock.elapsed() - 1); }

private:
    QTimer m_timer;
    QElapsedTimer m_clock;
    qint64 m_longest = 0;
};

// The same walk straight on Qt SQL, to see where the time of a build goes: a fresh prepared
// statement per entry (as TDB runs it), one prepared statement rebound per entry, and that inside
// one read transaction.
enum class RawMode { Reprepare, PrepareOnce, PrepareOnceInTransaction };

void rawWalk(benchmark::State& state, RawMode mode) {
    const QString connection = QStringLiteral("bench_raw");
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), connection);
        db.setDatabaseName(g_database);
        db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        db.open();
        const SqlStatement search = unrestricted();
        const QString materials = SqlItemMaterials(QString()).text;
        int count = 0;
        for (auto _ : state) {
            if (mode == RawMode::PrepareOnceInTransaction) {
                db.transaction();
            }
            QStringList names;
            QHash<QString, int> index;
            {
                QSqlQuery q(db);
                q.setForwardOnly(true);
                q.exec(search.text);
                while (q.next()) {
                    names << q.value(0).toString();
                    index.insert(names.back(), int(names.size()) - 1);
                }
            }
            QSqlQuery once(db);
            once.setForwardOnly(true);
            once.prepare(materials);
            for (int i = 0; i < names.size(); ++i) {
                QSqlQuery fresh(db);
                QSqlQuery& q = mode == RawMode::Reprepare ? fresh : once;
                if (mode == RawMode::Reprepare) {
                    q.setForwardOnly(true);
                    q.prepare(materials);
                }
                q.addBindValue(names[i]);
                q.exec();
                while (q.next()) {
                    const QString m = q.value(1).toString();
                    if (!index.contains(m)) {
                        index.insert(m, int(names.size()));
                        names << m;
                    }
                }
                q.finish();
            }
            if (mode == RawMode::PrepareOnceInTransaction) {
                db.commit();
            }
            count = int(names.size());
        }
        state.counters["items"] = count;
    }
    QSqlDatabase::removeDatabase(connection);
}

void BM_RawWalkReprepare(benchmark::State& state) {
    rawWalk(state, RawMode::Reprepare);
}
void BM_RawWalkPrepareOnce(benchmark::State& state) {
    rawWalk(state, RawMode::PrepareOnce);
}
void BM_RawWalkPrepareOnceInTransaction(benchmark::State& state) {
    rawWalk(state, RawMode::PrepareOnceInTransaction);
}

// Runs the event loop until the window's search has shown its outcome.
void waitForSearch(TZEMForm08* window) {
    while (window->isSearching()) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
}

// A window whose unrestricted search has ended, its tree on screen.
std::unique_ptr<TZEMForm08> searchedWindow() {
    std::unique_ptr<TZEMForm08> window(makeWindow());
    window->findChild<QPushButton*>(QStringLiteral("btnSearch"))->click();
    waitForSearch(window.get());
    return window;
}

// CPU time of the whole process, every thread, in milliseconds: the search's worker included.
double processCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// From the click on 検索 (confirmation answered OK) to the roots painted in CreateTree, with
// the longest stall of the event loop meanwhile and the CPU time of all threads.
// Arg 0: every search reads the tables afresh (the first of a sitting); 1: the tables of the
// search before are kept, as for every later search of the same file.
void BM_UnrestrictedSearchToVisibleTree(benchmark::State& state, const QString* database) {
    std::unique_ptr<TZEMForm08> window(makeWindow(*database));
    auto* button = window->findChild<QPushButton*>(QStringLiteral("btnSearch"));
    auto* tree = window->findChild<QTreeView*>(QStringLiteral("CreateTree"));
    const bool repeated = state.range(0) == 1;
    if (repeated) {
        button->click();
        waitForSearch(window.get());
    }
    qint64 stall = 0;
    const double cpuStart = processCpuMs();
    for (auto _ : state) {
        if (!repeated) {
            RecipeTableCache::clear();
        }
        StallMeter meter;
        button->click();
        waitForSearch(window.get());
        showTree(tree);
        stall = std::max(stall, meter.longest());
    }
    state.counters["process_cpu_ms"] = (processCpuMs() - cpuStart) / double(state.iterations());
    state.counters["roots"] = tree->model()->rowCount();
    state.counters["items"] = window->itemList()->count();
    state.counters["stall_ms"] = double(stall);
}

// The same search as the window ran it before, the per-entry walk on the GUI thread: the whole
// search is one stall.
void BM_PerEntrySearchToVisibleTree(benchmark::State& state) {
    std::unique_ptr<TZEMForm08> window(makeWindow());
    auto* tree = window->findChild<QTreeView*>(QStringLiteral("CreateTree"));
    RecipeTreeModel* model = window->treeModel();
    qint64 stall = 0;
    for (auto _ : state) {
        StallMeter meter;
        model->setItemList(nullptr);
        auto list = std::make_unique<TZEMItemList>();
        list->build(g_database, unrestricted(), TZEMItemList::Direction::Forward,
                    TZEMItemList::Walk::PerEntry);
        model->setItemList(list.get());
        showTree(tree);
        stall = std::max(stall, meter.longest());
        model->setItemList(nullptr);
    }
    state.counters["stall_ms"] = double(stall);
}

// The part after the build: the model over the finished list and the view painting its roots.
void BM_TreeOverBuiltList(benchmark::State& state) {
    std::unique_ptr<TZEMForm08> window = searchedWindow();
    auto* tree = window->findChild<QTreeView*>(QStringLiteral("CreateTree"));
    RecipeTreeModel* model = window->treeModel();
    const TZEMItemList* list = window->itemList();
    for (auto _ : state) {
        model->setItemList(nullptr);
        model->setItemList(list);
        showTree(tree);
    }
}

// The longest chain of unfoldable nodes from a root, as list positions, and the root with the
// most edges: the deepest and the widest node to expand.
struct Targets {
    std::vector<int> deepestPath;  // rows from the top down to the node to expand
    int widestRoot = -1;
    int widestEdges = 0;
    int depth = 0;
};

Targets findTargets(RecipeTreeModel* model) {
    Targets t;
    for (int row = 0; row < model->rowCount(); ++row) {
        const int edges =
            model->itemList()->at(model->itemPosition(model->index(row, 0))).Sources.count();
        if (edges > t.widestEdges) {
            t.widestEdges = edges;
            t.widestRoot = row;
        }
    }
    // Depth-first over the unfolding, which the generated recipes keep six levels deep.
    std::vector<int> path;
    std::function<void(const QModelIndex&)> walk = [&](const QModelIndex& parent) {
        if (model->canFetchMore(parent)) {
            model->fetchMore(parent);
        }
        const int rows = model->rowCount(parent);
        for (int row = 0; row < rows; ++row) {
            const QModelIndex child = model->index(row, 0, parent);
            path.push_back(row);
            if (model->hasChildren(child) && int(path.size()) > t.depth) {
                t.depth = int(path.size());
                t.deepestPath = path;
            }
            walk(child);
            path.pop_back();
        }
    };
    // Only the first few roots: the unfolding below each is the same kind of shape.
    for (int row = 0; row < std::min(model->rowCount(), 50); ++row) {
        path = {row};
        const QModelIndex root = model->index(row, 0);
        if (model->hasChildren(root) && t.depth < 1) {
            t.depth = 1;
            t.deepestPath = path;
        }
        walk(root);
    }
    return t;
}

void expandBench(benchmark::State& state, bool deepest) {
    std::unique_ptr<TZEMForm08> window = searchedWindow();
    auto* tree = window->findChild<QTreeView*>(QStringLiteral("CreateTree"));
    auto* model = window->treeModel();
    const TZEMItemList* list = window->itemList();
    const Targets targets = findTargets(model);
    const std::vector<int> path =
        deepest ? targets.deepestPath : std::vector<int>{targets.widestRoot};
    for (auto _ : state) {
        state.PauseTiming();
        model->setItemList(list);  // a fresh, unexpanded tree
        QModelIndex node;
        for (std::size_t i = 0; i < path.size(); ++i) {
            node = model->index(path[i], 0, node);
            if (i + 1 < path.size()) {
                tree->expand(node);
            }
        }
        tree->scrollTo(node);
        showTree(tree);
        state.ResumeTiming();
        tree->expand(node);
        showTree(tree);
    }
    state.counters["depth"] = double(path.size());
    state.counters["children"] = model->rowCount(model->index(path.back(), 0, {}));
    if (!deepest) {
        state.counters["children"] = targets.widestEdges;
    }
}

void BM_ExpandDeepestNode(benchmark::State& state) {
    expandBench(state, true);
}
// Made-up graphs far beyond the generated one: a chain of products, the last needing 10,000
// materials.
std::unique_ptr<TZEMItemList> chainList(int depth, int width) {
    auto list = std::make_unique<TZEMItemList>();
    for (int i = 0; i < depth; ++i) {
        TZEMItem item(QStringLiteral("製品%1").arg(i), 1, i == 0);
        for (int k = 0; k < (i + 1 < depth ? 1 : width); ++k) {
            item.Sources.append(TZEMItemSource(i + 1 + k, 1));
        }
        list->append(std::move(item));
    }
    for (int k = 0; k < width; ++k) {
        list->append(TZEMItem(QStringLiteral("素材%1").arg(k), 1, false));
    }
    return list;
}

// The model's part of expanding the last node of the chain: the walk up its path of
// state.range(0) names and its 10,000 children.
void BM_FetchAtDepth(benchmark::State& state) {
    const int depth = int(state.range(0));
    const auto list = chainList(depth, 10000);
    RecipeTreeModel model;
    for (auto _ : state) {
        state.PauseTiming();
        model.setItemList(list.get());
        QModelIndex node = model.index(0, 0);
        for (int level = 1; level < depth; ++level) {
            model.fetchMore(node);
            node = model.index(0, 0, node);
        }
        state.ResumeTiming();
        model.fetchMore(node);
    }
}

// The same in the tree view, to the repainted result. The view paints the branch lines of
// every level of a row, so its share grows with the depth.
void BM_ExpandInViewAtDepth(benchmark::State& state) {
    const int depth = int(state.range(0));
    const auto list = chainList(depth, 10000);
    QTreeView tree;
    tree.setUniformRowHeights(true);
    tree.setHeaderHidden(true);
    tree.setIndentation(19);
    tree.resize(185, 301);
    RecipeTreeModel model;
    tree.setModel(&model);
    tree.show();
    for (auto _ : state) {
        state.PauseTiming();
        model.setItemList(list.get());
        QModelIndex node = model.index(0, 0);
        for (int level = 1; level < depth; ++level) {
            tree.expand(node);
            node = model.index(0, 0, node);
        }
        tree.scrollTo(node);
        showTree(&tree);
        state.ResumeTiming();
        tree.expand(node);
        showTree(&tree);
    }
}

void BM_ExpandWidestNode(benchmark::State& state) {
    expandBench(state, false);
}

BENCHMARK(BM_UnrestrictedBuild)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->ArgName("perEntry")
    ->Arg(0)
    ->Arg(1);

// "*" on the root with the largest unfolding: every node below it made and opened, to the
// repainted view. The generated recipes have no cycles, so a subtree's size is the item's own.
void BM_AsteriskOnLargestSubtree(benchmark::State& state) {
    std::unique_ptr<TZEMForm08> window = searchedWindow();
    auto* tree = window->findChild<QTreeView*>(QStringLiteral("CreateTree"));
    auto* model = window->treeModel();
    const TZEMItemList* list = window->itemList();
    std::vector<double> sizes(static_cast<std::size_t>(list->count()), 0);
    std::function<double(int)> sizeOf = [&](int item) {
        double& size = sizes[static_cast<std::size_t>(item)];
        if (size == 0) {
            size = 1;
            for (const TZEMItemSource& edge : list->at(item).Sources) {
                size += sizeOf(edge.Index);
            }
        }
        return size;
    };
    int largest = 0;
    for (int row = 0; row < model->rowCount(); ++row) {
        if (sizeOf(model->itemPosition(model->index(row, 0))) >
            sizeOf(model->itemPosition(model->index(largest, 0)))) {
            largest = row;
        }
    }
    auto* asterisk = tree->findChild<QShortcut*>();
    for (auto _ : state) {
        state.PauseTiming();
        model->setItemList(list);
        tree->setCurrentIndex(model->index(largest, 0));
        showTree(tree);
        state.ResumeTiming();
        Q_EMIT asterisk->activated();
        showTree(tree);
    }
    state.counters["nodes"] = sizeOf(model->itemPosition(model->index(largest, 0)));
}
BENCHMARK(BM_RawWalkReprepare)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RawWalkPrepareOnce)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RawWalkPrepareOnceInTransaction)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_TreeOverBuiltList)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_UnrestrictedSearchToVisibleTree, items10k, &g_database)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->ArgName("repeated")
    ->Arg(0)
    ->Arg(1);
BENCHMARK_CAPTURE(BM_UnrestrictedSearchToVisibleTree, items160k, &g_large)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->ArgName("repeated")
    ->Arg(0)
    ->Arg(1);
BENCHMARK(BM_PerEntrySearchToVisibleTree)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ExpandDeepestNode)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_ExpandWidestNode)->Unit(benchmark::kMillisecond)->Iterations(50);
BENCHMARK(BM_AsteriskOnLargestSubtree)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_FetchAtDepth)->Unit(benchmark::kMillisecond)->Iterations(5)->Arg(6)->Arg(5000);
BENCHMARK(BM_ExpandInViewAtDepth)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5)
    ->Arg(6)
    ->Arg(50)
    ->Arg(500);

}  // namespace

int main(int argc, char* argv[]) {
    std::vector<char*> rest =
        GeneratedItemDb::takeOptions(argc, argv, {{"--itemdb=", &g_database}, {"--large=", &g_large}});
    int restCount = int(rest.size());
    QApplication app(restCount, rest.data());
    // The unrestricted search asks first; the benchmark answers OK.
    GeneratedItemDb::consoleMessages();
    QTemporaryDir scratch;
    if (!GeneratedItemDb::ensure(g_database, 10000, scratch) ||
        !GeneratedItemDb::ensure(g_large, 160000, scratch)) {
        return 1;
    }

    benchmark::Initialize(&restCount, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
