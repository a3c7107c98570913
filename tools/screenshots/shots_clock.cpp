// The clock window by day (a quarter past ten in the game) and by night (twenty to three).
#include <QSize>
#include <memory>

#include "common/TDateTime.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMAnalogClock.h"
#include "gametime/TZEMForm07.h"
#include "gametime/TZEMTime.h"
#include "resources/Artwork.h"
#include "tools/screenshots/Shots.h"

namespace {

void clockScene(ShotContext& ctx, const QString& name, TDateTime gameTime,
                void (TZEMForm07::*chooseSize)() = &TZEMForm07::actLargeExecute) {
    TZEMTime clock;
    clock.Timer()->SetEnabled(false);
    clock.SetGameTime(gameTime);
    // The hands in device pixels and, on a high-density screen, only their drawn parts, as the
    // controller makes them.
    const QSize size = Artwork::devicePixels(QSize(TZEMForm07::LargeSize, TZEMForm07::LargeSize));
    TZEMAnalogClock face(Artwork::image(QStringLiteral("hand_hour"), size),
                         Artwork::image(QStringLiteral("hand_minute"), size),
                         Artwork::deviceRatio() > 1.0 ? TZEMAnalogClock::Storage::DrawnPart
                                                      : TZEMAnalogClock::Storage::Whole);
    // Destroyed before the clock and the face it reads.
    const auto window = std::make_unique<TZEMForm07>(clock, face);
    (window.get()->*chooseSize)();
    window->Timer1Timer();
    ctx.save(window.get(), name, true);
}

const ShotRegistrar dayShot("clock_day", [](ShotContext& ctx) {
    clockScene(ctx, QStringLiteral("clock_day"), DateTime::encodeTime(10, 15, 0));
});

const ShotRegistrar nightShot("clock_night", [](ShotContext& ctx) {
    clockScene(ctx, QStringLiteral("clock_night"), DateTime::encodeTime(2, 40, 0));
});

// Both dials at the two smaller sizes, where the hands are thinnest.
const ShotRegistrar smallerShots("clock_smaller", [](ShotContext& ctx) {
    const std::pair<const char*, TDateTime> dials[] = {{"day", DateTime::encodeTime(10, 15, 0)},
                                                       {"night", DateTime::encodeTime(2, 40, 0)}};
    for (const auto& [dial, time] : dials) {
        clockScene(ctx, QStringLiteral("clock_%1_386").arg(QLatin1String(dial)), time,
                   &TZEMForm07::actMidumExecute);
        clockScene(ctx, QStringLiteral("clock_%1_256").arg(QLatin1String(dial)), time,
                   &TZEMForm07::actSmallExecute);
    }
});

}  // namespace
