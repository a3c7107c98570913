#include <QAction>
#include <QMessageBox>
#include <QPainter>

#include "app/TZEMForm02.h"
#include "app/TZEMsplash.h"
#include "common/MessageBoxes.h"
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

// The error box of a missing item database, with a path as long as an installed TAMU's.
const ShotRegistrar messageShot("message", [](ShotContext& ctx) {
    QMessageBox box(QMessageBox::Critical, QStringLiteral("TAMU"), QString(), QMessageBox::Ok);
    MessageBoxes::setBoxText(box, QStringLiteral("Access DB：") + ctx.dataFolder +
                                      QStringLiteral("TAMU_Item.db が存在しません"));
    ctx.save(&box, QStringLiteral("message_missing_db"));
});

}  // namespace
