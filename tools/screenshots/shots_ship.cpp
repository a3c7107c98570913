// The ship timetable window with 尾張→駿河 selected at a game time in the evening, and the note
// after setting the game clock.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <memory>

#include "common/TDateTime.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMTime.h"
#include "gametime/TZEMTimeConfig.h"
#include "ship/TZEMForm06.h"
#include "tools/screenshots/Shots.h"

namespace {

const ShotRegistrar shipShots("ship_owari_suruga", [](ShotContext& ctx) {
    TZEMTime clock;
    clock.Timer()->SetEnabled(false);
    clock.SetGameTime(DateTime::encodeTime(21, 47, 12));
    TZEMTimeConfig config(ctx.dataFolder);
    // Destroyed before the clock it reads.
    const auto window = std::make_unique<TZEMForm06>(clock, config);
    window->findChild<QComboBox*>(QStringLiteral("selShip"))->setCurrentIndex(0);
    window->Timer1Timer();
    ctx.save(window.get(), QStringLiteral("ship_owari_suruga"));
    window->findChild<QLineEdit*>(QStringLiteral("iptTime"))->setText(QStringLiteral("214712"));
    window->findChild<QPushButton*>(QStringLiteral("btnResetTime"))->click();
    ctx.save(window.get(), QStringLiteral("ship_set_clock_note"));
});

}  // namespace
