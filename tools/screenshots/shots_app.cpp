#include <QAction>
#include <QPainter>

#include "app/TZEMForm02.h"
#include "app/TZEMsplash.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMTime.h"
#include "tools/screenshots/Shots.h"

namespace {

const ShotRegistrar controllerShots("controller", [](ShotContext& ctx) {
    TZEMForm02 controller;
    controller.gameClock()->Timer()->SetEnabled(false);
    controller.findChild<QAction*>(QStringLiteral("SaS03Status"))->setChecked(true);
    ctx.save(&controller, QStringLiteral("controller"));
    controller.close();
});

const ShotRegistrar splashShots("splash", [](ShotContext& ctx) {
    auto* splash = new TZEMsplash();
    ctx.save(splash, QStringLiteral("splash"));
    delete splash;
});

}  // namespace
