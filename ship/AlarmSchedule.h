#pragma once

#include <QHash>
#include <QObject>
#include <QSet>
#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "common/TDateTime.h"
#include "ship/TZEMShip.h"

class QTimer;
class TZEMTime;

// What an alarm waits for.
enum class AlarmEvent { Arrival, Sailing, Landing, DayNight, GameTime, Koku };

// An alarm on a moment of the game clock: a route's ship coming in, sailing or landing (any
// voyage, or one voyage, i.e. that voyage's time every game day), or the change of day and night
// (07:00 and 18:00, or one of the two), or a moment of the game day itself: a game time of day to
// the minute, or the start of one of the twelve 刻. It rings when the real time left until the
// moment falls to its lead time. An alarm that rings once is tied to one moment, the next one when
// it is set (or the one its maker names): it never moves on to a later ship.
struct ShipAlarm {
    enum class Outcome { None, Rung, Missed };

    AlarmEvent event = AlarmEvent::Sailing;
    int route = 0;        // in the order of TZEMShip::createAll; unused for DayNight
    int voyage = -1;      // voyage index of the route, or for DayNight 0 = 07:00, 1 = 18:00; -1 any
    int gameMinute = 0;   // GameTime: the game time of day in minutes, 0..1439
    int koku = 0;         // Koku: 0 (子, from 00:00) .. 11 (亥, from 22:00)
    int leadMinutes = 3;  // 0..60 real minutes
    bool repeat = false;  // every time; otherwise it switches itself off once it has rung
    bool enabled = true;
    // Of an alarm that rings once: the real moment (milliseconds since 1899-12-30) it is tied to;
    // 0 ties it to the next moment at its first check.
    std::int64_t due = 0;
    // Its section in the file, [Alarm<number>]; given by AlarmSchedule::add.
    int number = 0;

    // What became of the last moment it waited for; not stored.
    Outcome outcome = Outcome::None;

    // Run-time tracking of the moment waited for (real milliseconds since 1899-12-30).
    bool tracking = false;
    bool handled = false;
    bool fresh = true;  // added or switched on since the last check
    std::int64_t moment = 0;
};

// The player's alarms, checked once a second from a timer of its own against the game clock,
// and kept in TAMUAlarm.ini, a section [Alarm<n>] per alarm: a save changes only the keys of the
// alarms that changed and removes the sections of the alarms removed; every other line stays as
// it was, and a section that does not read as an alarm is kept as it is (and not shown). Each
// moment rings at most once per alarm. A moment whose ringing time passed by more than a minute
// between two checks (a suspend, a re-set clock, a long busy spell) is not rung late but shown as
// missed. An alarm set (or switched on, or given a longer lead) after its ringing time rings at
// once; one tied to a moment that has already come is missed. A re-set game clock moves a tied
// alarm to the same ship's moment by the new time.
class AlarmSchedule : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxLeadMinutes = 60;
    // How many alarms the player may set; a file may hold more, and they all load.
    static constexpr int MaxAlarms = 5'000;
    // How late a ringing may still come, and how far a moment may move and stay the same one.
    static constexpr std::int64_t GraceMSecs = 60'000;
    // How far the reckoning of a tied moment may wander with the clock's ticks.
    static constexpr std::int64_t TickSlackMSecs = 1'500;

    // Reads folder + "TAMUAlarm.ini", every [Alarm<n>] section in the order of n (whatever the
    // count in [Alarms] says); a section with an unreadable value is left out, and kept.
    AlarmSchedule(TZEMTime& gameClock, const QString& folder, QObject* parent = nullptr);
    ~AlarmSchedule() override;

    const QString& fileName() const { return m_fileName; }
    // Writes what changed since the file was read or last saved, in one replacement of the file;
    // nothing when nothing did. Throws "%s に書き込めません" when the file cannot be written.
    void save();

    using Ringer = std::function<void(const QString& title, const QString& text)>;
    void setRinger(Ringer ringer) { m_ringer = std::move(ringer); }

    const std::vector<ShipAlarm>& alarms() const { return m_alarms; }
    const std::vector<std::unique_ptr<TZEMShip>>& routes() const { return m_routes; }
    // Adds an alarm (lead time clamped to 0..60) and returns its index; -1 when the alarm names
    // no route or voyage, or the list is full.
    int add(ShipAlarm alarm);
    // The same for a player's request: throws "これ以上アラームを増やせません" when it cannot be
    // added; returns the note that says it was set.
    QString addRequested(ShipAlarm alarm);
    void remove(int index);
    void setEnabled(int index, bool enabled);
    void setLeadMinutes(int index, int minutes);
    void setRepeat(int index, bool repeat);

    // The game time of day of the alarm's next moment, and the real milliseconds left until it.
    TDateTime nextTime(const ShipAlarm& alarm) const;
    std::int64_t realMSecsLeft(const ShipAlarm& alarm) const;
    // The real moment that lies the given whole game seconds after the game clock's time (its
    // milliseconds dropped), for tying an alarm to a planned ship.
    std::int64_t realMomentIn(std::int64_t gameSeconds) const;
    // "越後→越前 出航", "越後→越前 08:52:00発の便 出航", "昼夜の切替", "夜明け", "ゲーム時刻
    // 14:30", "午の刻".
    QString describe(const ShipAlarm& alarm) const;

    // One check of every alarm; the timer calls it once a second.
    void check();
    QTimer* timer() const { return m_timer; }

Q_SIGNALS:
    // The list or an alarm's state changed.
    void changed();

private:
    bool valid(const ShipAlarm& alarm) const;
    void load();
    struct Moment {
        TDateTime time;     // game time of day
        std::int64_t real;  // real milliseconds since 1899-12-30
    };
    // The game times of day the alarm waits for, and of their coming moments the one nearest
    // the real moment `around`.
    std::vector<TDateTime> momentTimes(const ShipAlarm& alarm) const;
    // Game milliseconds from the game clock's time to the next time it shows `time`.
    std::int64_t gameMSecsTo(const ShipAlarm& alarm, TDateTime time) const;
    Moment nearestMoment(const ShipAlarm& alarm, std::int64_t around, std::int64_t now) const;
    std::int64_t untiedMSecsLeft(const ShipAlarm& alarm) const;
    void checkOnce(ShipAlarm& alarm, std::int64_t now);
    void checkRepeating(ShipAlarm& alarm, std::int64_t now);
    void ring(ShipAlarm& alarm, std::int64_t leftMSecs);
    void miss(ShipAlarm& alarm);
    void settle(ShipAlarm& alarm, std::int64_t lateMSecs, std::int64_t leftMSecs);

    TZEMTime& m_gameClock;
    QString m_fileName;
    // The alarms as the file holds them, by number; the sections that are no alarm the program
    // can read (kept as they are); the [Alarms] count as read.
    QHash<int, ShipAlarm> m_stored;
    QSet<int> m_kept;
    // Alarms whose section holds a moment that was not read (the alarm was off or repeating):
    // should one come to wait once again, that old moment must not come back with the file.
    QSet<int> m_unreadDue;
    std::optional<int> m_storedCount;
    int m_nextNumber = 1;
    std::vector<std::unique_ptr<TZEMShip>> m_routes;
    std::vector<ShipAlarm> m_alarms;
    Ringer m_ringer;
    QTimer* m_timer = nullptr;
};
