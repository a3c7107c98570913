#pragma once

#include <QString>
#include <QTemporaryDir>
#include <memory>

#include "common/TDateTime.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMTime.h"
#include "ship/AlarmSchedule.h"
#include "support/FixedNow.h"

// A game clock whose own ticks are off, at a real moment the test moves, with the files of what
// it drives in a temporary folder: the ship tests' common ground.
struct StoppedClock {
    explicit StoppedClock(TDateTime realNow) : now(realNow) { clock.Timer()->SetEnabled(false); }

    QString folder() const { return dir.path() + u'/'; }
    // An alarm schedule on the clock and the folder, its own checks off.
    std::unique_ptr<AlarmSchedule> stoppedAlarms() {
        auto alarms = std::make_unique<AlarmSchedule>(clock, folder());
        alarms->timer()->stop();
        return alarms;
    }

    FixedNow now;
    QTemporaryDir dir;
    TZEMTime clock;
};
