#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

#include "common/TDateTime.h"

class TMMTimer;

// The game world's clock: 23838 game milliseconds pass per real second. It is advanced once a
// real second by its own timer (on the GUI thread) and derived at start-up from an anchor, a
// game time of day and the real moment at which it was true. Only the time of day of GameTime
// carries meaning; its date part counts game days since the anchor. All arithmetic runs on whole
// milliseconds, so the time of day stays exact however many game days have passed.
//
// A tick adds one real second's worth, or, when ticks were lost (the process stopped, the GUI
// thread busy), the whole real seconds that passed since the clock was last set, as the anchor
// rule counts them: the running clock never falls behind and never runs ahead of real time.
class TZEMTime : public QObject {
    Q_OBJECT
public:
    explicit TZEMTime(QObject* owner = nullptr);
    ~TZEMTime() override;

    TDateTime GameTime = 0;
    std::int32_t GameMSecPerSec = 23838;

    void SetGameTime(TDateTime value);
    void Tick();
    // Real time until the game clock next shows target's time of day, as "h:m:s" without
    // leading zeros; "0:0:0" when it shows it now (to the second).
    QString RealTimeUntil(TDateTime target) const;
    // Whole game seconds until the clock next shows target's time of day, both read to the
    // second: 0..86399, 0 when it shows it now.
    std::int64_t gameSecondsUntil(TDateTime target) const;
    // Whole real seconds (truncated) in which the game clock runs through gameSeconds.
    std::int64_t realSecondsFor(std::int64_t gameSeconds) const;
    // A span of real seconds as "h:m:s" without leading zeros, as RealTimeUntil writes it.
    static QString formatRealTime(std::int64_t realSeconds);
    // The zodiac hour (刻) of GameTime.
    QString GetKoku() const;
    // The twelve 刻 from 子 (00:00) to 亥 (22:00), two game hours each.
    static constexpr int KokuCount = 12;
    static QString kokuName(int index);
    void SetFromAnchor(TDateTime anchorGameTime, TDateTime anchorRealTime);
    bool IsDaytime() const;
    // Day lasts from 07:00 to 18:00 of game time. The time of day at which day or night, the
    // one now, ends.
    static TDateTime dayBegins();
    static TDateTime nightBegins();
    TDateTime nextDayNightSwitch() const { return IsDaytime() ? nightBegins() : dayBegins(); }

    TMMTimer* Timer() const { return m_timer.get(); }

private:
    int gameHour() const;
    void restartCount();

    // The real moment (milliseconds since the epoch) the count runs from, and the real seconds
    // the clock has advanced by since.
    std::int64_t m_countedFrom = 0;
    std::int64_t m_secondsCounted = 0;

    std::unique_ptr<TMMTimer> m_timer;
};
