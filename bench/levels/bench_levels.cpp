// The level table window follows every change in the status window: the full table (60 levels x
// every figure) is rebuilt and the window repaints. Budget: under 16 ms for the whole step.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <cstdio>

#include "common/Messages.h"
#include "common/TZEMSpinEdit.h"
#include "status/StatusLevelTable.h"
#include "status/TZEMForm03.h"
#include "status/TZEMForm031.h"

namespace {

// Two characters to alternate between, so that every step really changes the table.
TZEMStatusNow character(int step) {
    TZEMStatusNow s;
    s.Src.JOB = static_cast<std::uint8_t>(step % 7);
    s.Src.SetINF(static_cast<std::uint8_t>(step % 14));
    s.Bon.SetVIT(step % 2 == 0 ? 3 : 0);
    s.Bon.SetINT(step % 2 == 0 ? 0 : 4);
    s.SetLV(1 + step % 60);
    return s;
}

void BM_BuildTable(benchmark::State& state) {
    int step = 0;
    for (auto _ : state) {
        const StatusLevelTable table(character(step++));
        benchmark::DoNotOptimize(table.value(60, 0));
    }
    state.SetLabel("60 levels x 21 figures");
}
BENCHMARK(BM_BuildTable)->Unit(benchmark::kMicrosecond);

// The window's own step: follow a new character and paint the visible table now. Arg 0 shows
// build B's values, arg 1 the coloured difference against a pinned build A, arg 2 the plot of
// four figures of both builds.
void BM_FollowAndRepaint(benchmark::State& state) {
    auto* window = new TZEMForm031(character(0));
    window->show();
    if (state.range(0) >= 1) {
        window->evtPinClick();
    }
    QWidget* painted = window->findChild<QTableView*>(QStringLiteral("viwTable"))->viewport();
    if (state.range(0) == 2) {
        window->findChild<QTabWidget*>(QStringLiteral("pgcPlanner"))->setCurrentIndex(1);
        for (const char* view : {"viwNMP", "viwNPOW", "viwNINT"}) {
            window->setFigurePlotted(StatusFigures::indexOf(view), true);
        }
        painted = window->findChild<QWidget*>(QStringLiteral("viwChart"));
    }
    QCoreApplication::processEvents();
    int step = 1;
    for (auto _ : state) {
        window->followStatus(character(step++));
        painted->repaint();
    }
    static const char* const labels[] = {"values of B", "B - A coloured", "plot, 8 lines"};
    state.SetLabel(labels[state.range(0)]);
    delete window;
}
BENCHMARK(BM_FollowAndRepaint)->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The user's whole step: a level typed into the status window, its recomputation, the table
// following it, and both windows painted.
void BM_StatusChangeToRepaint(benchmark::State& state) {
    TZEMStatusNow statusNow;
    auto* status = new TZEMForm03(statusNow);
    status->show();
    status->findChild<QPushButton*>(QStringLiteral("evtLevelTable"))->click();
    TZEMForm031* window = TZEMForm031::openWindow();
    window->evtPinClick();
    auto* level = status->findChild<TZEMSpinEdit*>(QStringLiteral("iptVIT"));
    QWidget* table = window->findChild<QTableView*>(QStringLiteral("viwTable"))->viewport();
    QCoreApplication::processEvents();
    int step = 0;
    for (auto _ : state) {
        level->setValue(step++ % 4);
        status->repaint();
        table->repaint();
    }
    delete window;
    delete status;
}
BENCHMARK(BM_StatusChangeToRepaint)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char* argv[]) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    Messages::setPresenters(Messages::Presenters{
        [](const QString& t) { std::fprintf(stderr, "error: %s\n", qUtf8Printable(t)); },
        [](const QString& t) { std::fprintf(stderr, "message: %s\n", qUtf8Printable(t)); },
        [](const QString&, const QString&) { return true; }});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
