// The crafting planner on large item databases:
//   bench_planner [--large=<160,000-item file>] [--small=<10,000-item file>] [benchmark options]
// Missing databases are generated into a temporary folder with tamu_gen_itemdb. Budgets: the
// shopping list of the deepest product (160,000 items) under 50 ms, the ranking of every fief
// product (10,000 items) under 200 ms, re-sorting after an index change under 16 ms.
#include <benchmark/benchmark.h>
#include <memory>

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "bench/support/GeneratedItemDb.h"
#include "recipes/MarketIndices.h"
#include "recipes/ProfitRanking.h"
#include "recipes/RecipeBook.h"
#include "recipes/ShoppingList.h"
#include "recipes/TZEMForm082.h"
#include "recipes/TZEMForm083.h"

namespace {

QString g_large;
QString g_small;

// The product with the longest chain of recipes below it, the largest closure among equals.
QString deepestProduct(const QString& path) {
    QHash<QString, QStringList> materials;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), "deepest");
        db.setDatabaseName(path);
        db.open();
        QSqlQuery q(QStringLiteral("SELECT アイテム名, 材料 FROM ItemCreateRelation"), db);
        while (q.next()) {
            materials[q.value(0).toString()] << q.value(1).toString();
        }
    }
    QSqlDatabase::removeDatabase("deepest");
    QHash<QString, int> depth;
    std::function<int(const QString&)> depthOf = [&](const QString& name) {
        if (const auto it = depth.constFind(name); it != depth.constEnd()) {
            return *it;
        }
        depth.insert(name, 0);  // a cycle counts no deeper
        int d = 0;
        for (const QString& m : materials.value(name)) {
            d = std::max(d, 1 + depthOf(m));
        }
        depth.insert(name, d);
        return d;
    };
    QString best;
    int bestDepth = -1;
    qsizetype bestClosure = -1;
    for (auto it = materials.constBegin(); it != materials.constEnd(); ++it) {
        const int d = depthOf(it.key());
        if (d < bestDepth) {
            continue;
        }
        QSet<QString> closure{it.key()};
        QStringList todo{it.key()};
        while (!todo.isEmpty()) {
            for (const QString& m : materials.value(todo.takeLast())) {
                if (!closure.contains(m)) {
                    closure.insert(m);
                    todo << m;
                }
            }
        }
        if (d > bestDepth || closure.size() > bestClosure) {
            best = it.key();
            bestDepth = d;
            bestClosure = closure.size();
        }
    }
    std::fprintf(stderr, "deepest product %s: depth %d, %lld items\n", qUtf8Printable(best),
                 bestDepth, static_cast<long long>(bestClosure));
    return best;
}

// Found once, for the benchmarks that need it, before they time anything.
const QString& deepest() {
    static const QString name = deepestProduct(g_large);
    return name;
}

// Read once, then computed: what the window does when it opens.
void BM_ShoppingListDeepest(benchmark::State& state) {
    const QString& product = deepest();
    int steps = 0;
    for (auto _ : state) {
        const RecipeBook book = RecipeBook::read(g_large, product);
        ShoppingList list(book);
        list.setPieces(20);
        steps = int(list.plan().steps.size());
    }
    state.counters["steps"] = steps;
}

// The window as the search opens it: reading, computing, filling its three tables, showing.
void BM_ShoppingListWindowDeepest(benchmark::State& state) {
    const QString& product = deepest();
    for (auto _ : state) {
        const std::unique_ptr<TZEMForm082> window(TZEMForm082::openFor(product, g_large));
        benchmark::DoNotOptimize(window->plan().total);
    }
}

// A change the user makes (a product switched to buy and back) on the read recipes.
void BM_ShoppingListRecompute(benchmark::State& state) {
    const RecipeBook book = RecipeBook::read(g_large, deepest());
    ShoppingList list(book);
    const int switched = book.at(0).materials.front().item;
    bool bought = false;
    for (auto _ : state) {
        list.setBought(switched, bought = !bought);
        benchmark::DoNotOptimize(list.plan().total);
    }
}

// Reading every fief product and computing its figures and break-even, all products at once or,
// as before, each by itself.
void BM_RankingLoad(benchmark::State& state, const QString* path, ProfitRanking::Read read) {
    QTemporaryDir folder;
    MarketIndices indices(folder.path() + u'/');
    ProfitRanking ranking(indices);
    for (auto _ : state) {
        ranking.load(*path, {}, read);
    }
    state.counters["products"] = ranking.count();
}

// Every product's figures and break-even computed again and sorted, 160,000 items.
void BM_RankingRecompute(benchmark::State& state) {
    QTemporaryDir folder;
    MarketIndices indices(folder.path() + u'/');
    ProfitRanking ranking(indices);
    ranking.load(g_large);
    for (auto _ : state) {
        ranking.recompute();
    }
    state.counters["products"] = ranking.count();
}

// Until the worker has read the products and the window shows them.
void waitForRanking(TZEMForm083& window) {
    QEventLoop loading;
    QObject::connect(&window, &TZEMForm083::loaded, &loading, &QEventLoop::quit);
    if (window.isLoading()) {
        loading.exec();
    }
}

// The window from creation to its first table shown.
void BM_RankingWindow(benchmark::State& state) {
    QTemporaryDir folder;
    for (auto _ : state) {
        TZEMForm083 window(g_small, folder.path() + u'/');
        window.show();
        waitForRanking(window);
        window.findChild<QTableView*>(QStringLiteral("outRanking"))->viewport()->repaint();
    }
}

// The longest the window's thread is busy at a time while the ranking of 160,000 items opens.
void BM_RankingWindowLargestStall(benchmark::State& state) {
    QTemporaryDir folder;
    qint64 longest = 0;
    for (auto _ : state) {
        QElapsedTimer busy;
        busy.start();
        TZEMForm083 window(g_large, folder.path() + u'/');
        window.show();
        longest = std::max(longest, busy.elapsed());
        QEventLoop loading;
        QObject::connect(&window, &TZEMForm083::loaded, &loading, &QEventLoop::quit);
        QTimer beat;  // each beat measures the gap since the previous one
        QElapsedTimer gap;
        gap.start();
        QObject::connect(&beat, &QTimer::timeout,
                         [&] { longest = std::max(longest, gap.restart()); });
        beat.start(5);
        if (window.isLoading()) {
            loading.exec();
        }
        beat.stop();
        busy.restart();
        window.findChild<QTableView*>(QStringLiteral("outRanking"))->viewport()->repaint();
        longest = std::max(longest, gap.elapsed());
    }
    state.counters["stall_ms"] = double(longest);
}

// A material index typed in: remembered in the file, every product recomputed, sorted again and
// the list repainted.
void BM_RankingResort(benchmark::State& state) {
    QTemporaryDir folder;
    TZEMForm083 window(g_small, folder.path() + u'/');
    window.show();
    waitForRanking(window);
    auto* view = window.findChild<QTableView*>(QStringLiteral("outRanking"));
    const QString material = window.ranking().materials().front().name;
    int step = 0;
    for (auto _ : state) {
        window.setMaterialIndex(material, ProfitRanking::indexText(50 + (step++ % 200)));
        view->viewport()->repaint();
    }
}

BENCHMARK(BM_ShoppingListDeepest)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ShoppingListWindowDeepest)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_ShoppingListRecompute)->Unit(benchmark::kMillisecond)->Iterations(100);
BENCHMARK_CAPTURE(BM_RankingLoad, items10k, &g_small, ProfitRanking::Read::SetBased)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK_CAPTURE(BM_RankingLoad, items160k, &g_large, ProfitRanking::Read::SetBased)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(BM_RankingLoad, items160kPerProduct, &g_large, ProfitRanking::Read::PerProduct)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);
BENCHMARK(BM_RankingRecompute)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_RankingWindow)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(BM_RankingWindowLargestStall)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RankingResort)->Unit(benchmark::kMillisecond)->Iterations(50);

}  // namespace

int main(int argc, char* argv[]) {
    std::vector<char*> rest =
        GeneratedItemDb::takeOptions(argc, argv, {{"--large=", &g_large}, {"--small=", &g_small}});
    int restCount = int(rest.size());
    QApplication app(restCount, rest.data());
    GeneratedItemDb::consoleMessages();
    QTemporaryDir scratch;
    if (!GeneratedItemDb::ensure(g_large, 160000, scratch) ||
        !GeneratedItemDb::ensure(g_small, 10000, scratch)) {
        return 1;
    }

    benchmark::Initialize(&restCount, rest.data());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
