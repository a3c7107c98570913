// CPU used with the clock and ship windows open: the controller opens both windows from its
// buttons, and the process's CPU time over a period (default 60 s) is printed as a share of one
// core. With "journeys" after the seconds, the journey planner is opened too, with five alarms
// set from it and its これからの予定, and the time panel with two routes.
#include <sys/resource.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "app/TZEMForm02.h"
#include "bench/app/ScratchProgram.h"
#include "common/DataFolder.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "ship/AlarmSchedule.h"
#include "ship/GlancePanel.h"

namespace {

double cpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TAMU"));
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const ScratchProgram scratch;
    Fonts::registerSubstitutions();

    TZEMForm02 controller;
    controller.show();
    controller.findChild<QAction*>(QStringLiteral("SaS05Timer"))->trigger();
    controller.findChild<QAction*>(QStringLiteral("SaS06Ship"))->trigger();
    if (argc > 2 && QByteArray(argv[2]) == "journeys") {
        controller.findChild<QAction*>(QStringLiteral("SaS09Journey"))->trigger();
        QWidget* planner = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (w->windowTitle() == QStringLiteral("航路案内")) {
                planner = w;
            }
        }
        const char* buttons[] = {"evtAlarmArrival", "evtAlarmSailing", "evtAlarmLanding",
                                 "evtAlarmDayNight", "evtAlarmSailing"};
        for (const char* name : buttons) {
            planner->findChild<QPushButton*>(QString::fromLatin1(name))->click();
        }
        planner->findChild<QPushButton*>(QStringLiteral("evtComing"))->click();
        controller.findChild<QAction*>(QStringLiteral("SaSPanel"))->trigger();
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* panel = qobject_cast<GlancePanel*>(w)) {
                panel->settings().setRouteShown(0, true);
                panel->settings().setRouteShown(5, true);
            }
        }
        std::printf("planner, これからの予定 and panel open, %zu alarms\n",
                    controller.alarmSchedule()->alarms().size());
    }
    // Let the windows settle before measuring.
    QElapsedTimer wall;
    double cpuStart = 0;
    QTimer::singleShot(2000, [&] {
        cpuStart = cpuSeconds();
        wall.start();
        QTimer::singleShot(seconds * 1000, [&] {
            const double cpu = cpuSeconds() - cpuStart;
            const double elapsed = double(wall.elapsed()) / 1000.0;
            std::printf("idle_cpu_percent %.3f (%.2f s CPU over %.1f s)\n", 100.0 * cpu / elapsed,
                        cpu, elapsed);
            QCoreApplication::exit(0);
        });
    });
    const int rc = QApplication::exec();
    controller.close();
    return rc;
}
