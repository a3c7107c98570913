// The journey planner's once-a-second work: the window's refresh (three journeys with a change
// of ship, their rows, five alarms' times left) and the alarm check, on a visible window.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>

#include "common/TDateTime.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMTime.h"
#include "ship/AlarmSchedule.h"
#include "ship/TZEMForm09.h"

namespace {

struct Scene {
    QTemporaryDir dir;
    TZEMTime clock;
    std::unique_ptr<AlarmSchedule> alarms;
    std::unique_ptr<TZEMForm09> window;

    Scene() {
        clock.Timer()->SetEnabled(false);
        clock.SetGameTime(DateTime::encodeTime(3, 0, 0));
        alarms = std::make_unique<AlarmSchedule>(clock, dir.path() + u'/');
        alarms->timer()->stop();
        for (int i = 0; i < 5; ++i) {
            ShipAlarm a;
            a.event = i == 4 ? AlarmEvent::DayNight : AlarmEvent(i % 3);
            a.route = i + 2;
            a.voyage = i % 2 == 0 ? -1 : 1;
            a.leadMinutes = 3;
            a.repeat = true;
            alarms->add(a);
        }
        window = std::make_unique<TZEMForm09>(clock, *alarms);
        window->show();
        QCoreApplication::processEvents();
    }
};

void plannerSecond(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.clock.Tick();
        scene.window->Timer1Timer();
        scene.alarms->check();
        // The repaint the refresh asks for.
        QCoreApplication::processEvents();
    }
    state.SetLabel("佐渡→越前, 3 journeys, 5 alarms, with repaint");
}
BENCHMARK(plannerSecond)->Unit(benchmark::kMicrosecond)->MinTime(2.0);

void plannerRefresh(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.clock.Tick();
        scene.window->Timer1Timer();
        scene.alarms->check();
    }
    state.SetLabel("the same without the repaint");
}
BENCHMARK(plannerRefresh)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void fullRepaint(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.window->repaint();
    }
    state.SetLabel("the whole window, for comparison");
}
BENCHMARK(fullRepaint)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

void alarmCheck(benchmark::State& state) {
    Scene scene;
    for (auto _ : state) {
        scene.clock.Tick();
        scene.alarms->check();
    }
    state.SetLabel("5 alarms");
}
BENCHMARK(alarmCheck)->Unit(benchmark::kMicrosecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
