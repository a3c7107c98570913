#include "ship/AlarmSchedule.h"
#include "common/TZEMError.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTimer>
#include <algorithm>
#include <array>
#include <climits>
#include <cstdlib>
#include <limits>

#include "common/IniProfile.h"
#include "common/RealClock.h"
#include "gametime/TZEMTime.h"

namespace {

const QString ListSection = QStringLiteral("Alarms");
const QString KeyCount = QStringLiteral("Count");
const QString KeyEvent = QStringLiteral("Event");
const QString KeyRoute = QStringLiteral("Route");
const QString KeyVoyage = QStringLiteral("Voyage");
const QString KeyLead = QStringLiteral("Lead");
const QString KeyRepeat = QStringLiteral("Repeat");
const QString KeyEnabled = QStringLiteral("Enabled");
const QString KeyDue = QStringLiteral("Due");
const QString KeyTime = QStringLiteral("Time");
const QString KeyKoku = QStringLiteral("Koku");

struct EventName {
    AlarmEvent event;
    const char* key;   // in the file
    const char* word;  // shown
};
constexpr std::array<EventName, 6> EventNames = {{
    {AlarmEvent::Arrival, "arrival", "出発港到着"},
    {AlarmEvent::Sailing, "sailing", "出航"},
    {AlarmEvent::Landing, "landing", "目的地到着"},
    {AlarmEvent::DayNight, "daynight", "昼夜の切替"},
    {AlarmEvent::GameTime, "gametime", "ゲーム時刻"},
    {AlarmEvent::Koku, "koku", "の刻"},
}};

// Alarms on the game day's own times, which need no route.
bool onTheClock(AlarmEvent event) {
    return event == AlarmEvent::GameTime || event == AlarmEvent::Koku;
}

QString minuteText(int gameMinute) {
    return QStringLiteral("%1:%2")
        .arg(gameMinute / 60, 2, 10, QLatin1Char('0'))
        .arg(gameMinute % 60, 2, 10, QLatin1Char('0'));
}

// A game time of day to the minute, as written for Time; -1 for anything else (seconds too).
int readMinute(const QString& text) {
    const std::optional<TDateTime> time = DateTime::parseTime(text);
    if (!time || DateTime::secondsOfDay(*time) % 60 != 0) {
        return -1;
    }
    return static_cast<int>(DateTime::secondsOfDay(*time) / 60);
}

const EventName& nameOf(AlarmEvent event) {
    return EventNames.at(static_cast<std::size_t>(event));
}

// The two changes of day and night: 07:00 (day begins) and 18:00 (night begins).
const std::array<TDateTime, 2> DayNightTimes = {TZEMTime::dayBegins(), TZEMTime::nightBegins()};
const std::array<const char*, 2> DayNightWords = {"夜明け", "日暮れ"};

// A tied moment in the file: UTC, so that a change of time zone keeps the same ship.
QString writeMoment(std::int64_t moment) {
    return DateTime::toQDateTime(DateTime::addMSecs(0, moment)).toUTC().toString(Qt::ISODateWithMs);
}

std::int64_t readMoment(const QString& text) {
    const QDateTime value = QDateTime::fromString(text.trimmed(), Qt::ISODateWithMs);
    return value.isValid() ? DateTime::totalMSecs(DateTime::fromQDateTime(value.toLocalTime())) : 0;
}

QString sectionOf(int number) {
    return QStringLiteral("Alarm%1").arg(number);
}

// n of a section [Alarm<n>] (any letter case, no leading zero); 0 for any other section.
int numberOf(const QString& section) {
    static const QRegularExpression name(QStringLiteral("^alarm([1-9][0-9]{0,8})$"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = name.match(section);
    return match.hasMatch() ? match.captured(1).toInt() : 0;
}

// The keys of an alarm as the file holds them, in the order they are written.
using KeyTexts = QList<std::pair<QString, QString>>;
KeyTexts keysOf(const ShipAlarm& a) {
    KeyTexts keys{{KeyEvent, QString::fromLatin1(nameOf(a.event).key)}};
    if (a.event == AlarmEvent::GameTime) {
        keys.append({KeyTime, minuteText(a.gameMinute)});
    } else if (a.event == AlarmEvent::Koku) {
        keys.append({KeyKoku, QString::number(a.koku)});
    } else {
        if (a.event != AlarmEvent::DayNight) {
            keys.append({KeyRoute, QString::number(a.route)});
        }
        keys.append({KeyVoyage, QString::number(a.voyage)});
    }
    keys.append({KeyLead, QString::number(a.leadMinutes)});
    keys.append({KeyRepeat, QString::number(a.repeat ? 1 : 0)});
    keys.append({KeyEnabled, QString::number(a.enabled ? 1 : 0)});
    if (!a.repeat && a.enabled && a.due != 0) {
        keys.append({KeyDue, writeMoment(a.due)});
    }
    return keys;
}

// Game milliseconds from one time of day to the next time the clock shows another; a time equal
// to now has gone and comes back a game day later.
std::int64_t gameMSecsUntil(TDateTime now, TDateTime target) {
    const std::int64_t d = DateTime::msecsOfDay(target) - DateTime::msecsOfDay(now);
    return d <= 0 ? d + DateTime::MSecsPerDay : d;
}

}  // namespace

AlarmSchedule::AlarmSchedule(TZEMTime& gameClock, const QString& folder, QObject* parent)
    : QObject(parent),
      m_gameClock(gameClock),
      m_fileName(folder + QStringLiteral("TAMUAlarm.ini")),
      m_routes(TZEMShip::createAll()) {
    load();
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("AlarmTimer"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, &AlarmSchedule::check);
    m_timer->start();
}

AlarmSchedule::~AlarmSchedule() = default;

bool AlarmSchedule::valid(const ShipAlarm& a) const {
    if (a.leadMinutes < 0 || a.leadMinutes > MaxLeadMinutes) {
        return false;
    }
    if (a.event == AlarmEvent::DayNight) {
        return a.voyage >= -1 && a.voyage < static_cast<int>(DayNightTimes.size());
    }
    if (a.event == AlarmEvent::GameTime) {
        return a.gameMinute >= 0 && a.gameMinute < 24 * 60;
    }
    if (a.event == AlarmEvent::Koku) {
        return a.koku >= 0 && a.koku < TZEMTime::KokuCount;
    }
    if (a.route < 0 || a.route >= static_cast<int>(m_routes.size())) {
        return false;
    }
    const auto voyages = m_routes[static_cast<std::size_t>(a.route)]->voyages().size();
    return a.voyage >= -1 && a.voyage < static_cast<int>(voyages);
}

void AlarmSchedule::load() {
    // The file is read once: a large one costs one pass, not one per key.
    const IniProfile::Contents file = IniProfile(m_fileName).read();
    QList<int> numbers;
    QSet<int> seen;
    for (const IniProfile::Entry& e : file.entries()) {
        if (const int n = numberOf(e.section); n > 0 && !seen.contains(n)) {
            seen.insert(n);
            numbers.append(n);
        }
    }
    std::sort(numbers.begin(), numbers.end());
    for (const int n : std::as_const(numbers)) {
        m_nextNumber = std::max(m_nextNumber, n + 1);
        const QString section = sectionOf(n);
        const QString eventKey = file.readString(section, KeyEvent, QString()).trimmed();
        const auto name = std::find_if(EventNames.begin(), EventNames.end(), [&](const auto& e) {
            return eventKey.compare(QLatin1String(e.key), Qt::CaseInsensitive) == 0;
        });
        const int repeat = file.readInteger(section, KeyRepeat, INT_MIN);
        const int enabled = file.readInteger(section, KeyEnabled, INT_MIN);
        ShipAlarm alarm;
        alarm.number = n;
        bool readable = name != EventNames.end() && (repeat == 0 || repeat == 1) &&
                        (enabled == 0 || enabled == 1);
        if (readable) {
            alarm.event = name->event;
            if (alarm.event == AlarmEvent::GameTime) {
                alarm.gameMinute = readMinute(file.readString(section, KeyTime, QString()));
            } else if (alarm.event == AlarmEvent::Koku) {
                alarm.koku = file.readInteger(section, KeyKoku, INT_MIN);
            } else {
                alarm.route = alarm.event == AlarmEvent::DayNight
                                  ? 0
                                  : file.readInteger(section, KeyRoute, INT_MIN);
                alarm.voyage = file.readInteger(section, KeyVoyage, INT_MIN);
            }
            alarm.leadMinutes = file.readInteger(section, KeyLead, INT_MIN);
            alarm.repeat = repeat == 1;
            alarm.enabled = enabled == 1;
            // Only a waiting once-alarm is tied to a moment.
            if (!alarm.repeat && alarm.enabled) {
                alarm.due = readMoment(file.readString(section, KeyDue, QString()));
            } else if (!file.readString(section, KeyDue, QString()).isEmpty()) {
                m_unreadDue.insert(n);
            }
            readable = valid(alarm);
        }
        if (readable) {
            m_alarms.push_back(alarm);
            m_stored.insert(n, alarm);
        } else {
            m_kept.insert(n);
        }
    }
    m_storedCount = IniProfile::parseInteger(file.readString(ListSection, KeyCount, QString()));
}

void AlarmSchedule::save() {
    IniProfile::Changes changes;
    QSet<int> live;
    int highest = m_kept.isEmpty() ? 0 : *std::max_element(m_kept.begin(), m_kept.end());
    for (const ShipAlarm& a : m_alarms) {
        live.insert(a.number);
        highest = std::max(highest, a.number);
        const QString section = sectionOf(a.number);
        const auto stored = m_stored.constFind(a.number);
        const KeyTexts before = stored != m_stored.cend() ? keysOf(*stored) : KeyTexts();
        const KeyTexts now = keysOf(a);
        const auto textOf = [](const KeyTexts& keys, const QString& key) {
            const auto it = std::find_if(keys.begin(), keys.end(),
                                         [&](const auto& k) { return k.first == key; });
            return it != keys.end() ? std::optional<QString>(it->second) : std::nullopt;
        };
        for (const auto& [key, text] : now) {
            if (textOf(before, key) != text) {
                changes.set.append({section, key, text});
            }
        }
        for (const auto& [key, text] : before) {
            if (!textOf(now, key)) {
                changes.removedKeys.append({section, key, QString()});
            }
        }
        // A moment left from before the alarm was switched off goes, or is written anew.
        if (!a.repeat && a.enabled && m_unreadDue.remove(a.number) && !textOf(now, KeyDue)) {
            changes.removedKeys.append({section, KeyDue, QString()});
        }
    }
    for (auto it = m_stored.cbegin(); it != m_stored.cend(); ++it) {
        if (!live.contains(it.key())) {
            changes.removedSections.append(sectionOf(it.key()));
        }
    }
    // The highest number in use, so that a previous version, which reads Alarm1 up to the
    // count, finds every alarm it can.
    if (m_storedCount != highest && (highest > 0 || m_storedCount)) {
        changes.set.prepend({ListSection, KeyCount, QString::number(highest)});
    }
    IniProfile(m_fileName).apply(changes);
    m_stored.clear();
    for (const ShipAlarm& a : m_alarms) {
        m_stored.insert(a.number, a);
    }
    m_storedCount = highest;
}

int AlarmSchedule::add(ShipAlarm alarm) {
    alarm.leadMinutes = std::clamp(alarm.leadMinutes, 0, MaxLeadMinutes);
    if (!valid(alarm) || static_cast<int>(m_alarms.size()) >= MaxAlarms) {
        return -1;
    }
    // Only what the file keeps of its kind, so that it reads back as it was added.
    if (onTheClock(alarm.event)) {
        alarm.route = 0;
        alarm.voyage = -1;
    }
    if (alarm.event != AlarmEvent::GameTime) {
        alarm.gameMinute = 0;
    }
    if (alarm.event != AlarmEvent::Koku) {
        alarm.koku = 0;
    }
    alarm.number = m_nextNumber++;
    alarm.outcome = ShipAlarm::Outcome::None;
    alarm.tracking = false;
    alarm.fresh = true;
    if (alarm.repeat) {
        alarm.due = 0;
    }
    m_alarms.push_back(alarm);
    Q_EMIT changed();
    return static_cast<int>(m_alarms.size()) - 1;
}

QString AlarmSchedule::addRequested(ShipAlarm alarm) {
    const int index = add(alarm);
    if (index < 0) {
        throw TZEMError(QStringLiteral("これ以上アラームを増やせません"));
    }
    return QStringLiteral("アラームを設定しました：%1")
        .arg(describe(m_alarms[static_cast<std::size_t>(index)]));
}

void AlarmSchedule::remove(int index) {
    if (index >= 0 && index < static_cast<int>(m_alarms.size())) {
        m_alarms.erase(m_alarms.begin() + index);
        Q_EMIT changed();
    }
}

void AlarmSchedule::setEnabled(int index, bool enabled) {
    if (index < 0 || index >= static_cast<int>(m_alarms.size())) {
        return;
    }
    ShipAlarm& a = m_alarms[static_cast<std::size_t>(index)];
    if (a.enabled != enabled) {
        a.enabled = enabled;
        a.tracking = false;
        a.fresh = true;
        if (enabled) {
            a.outcome = ShipAlarm::Outcome::None;
            a.due = 0;  // switched on again: the next moment
        }
        Q_EMIT changed();
    }
}

void AlarmSchedule::setLeadMinutes(int index, int minutes) {
    if (index >= 0 && index < static_cast<int>(m_alarms.size())) {
        ShipAlarm& a = m_alarms[static_cast<std::size_t>(index)];
        a.leadMinutes = std::clamp(minutes, 0, MaxLeadMinutes);
        // A new lead time is a new ringing time: judged afresh, never rung late for it.
        a.tracking = false;
        a.fresh = true;
        Q_EMIT changed();
    }
}

void AlarmSchedule::setRepeat(int index, bool repeat) {
    if (index >= 0 && index < static_cast<int>(m_alarms.size())) {
        ShipAlarm& a = m_alarms[static_cast<std::size_t>(index)];
        if (a.repeat != repeat) {
            a.repeat = repeat;
            a.due = 0;
            a.tracking = false;
        }
        Q_EMIT changed();
    }
}

std::vector<TDateTime> AlarmSchedule::momentTimes(const ShipAlarm& a) const {
    if (a.event == AlarmEvent::GameTime) {
        return {DateTime::encodeTime(a.gameMinute / 60, a.gameMinute % 60, 0)};
    }
    if (a.event == AlarmEvent::Koku) {
        return {DateTime::encodeTime(a.koku * 2, 0, 0)};
    }
    if (a.event == AlarmEvent::DayNight) {
        if (a.voyage >= 0) {
            return {DayNightTimes.at(static_cast<std::size_t>(a.voyage))};
        }
        return {DayNightTimes.begin(), DayNightTimes.end()};
    }
    const auto& voyages = m_routes.at(static_cast<std::size_t>(a.route))->voyages();
    const auto field = a.event == AlarmEvent::Arrival   ? &TZEMShipTimeItem::ArrTime
                       : a.event == AlarmEvent::Sailing ? &TZEMShipTimeItem::LeaTime
                                                        : &TZEMShipTimeItem::GenTime;
    std::vector<TDateTime> times;
    for (std::size_t i = 0; i < voyages.size(); ++i) {
        if (a.voyage < 0 || static_cast<std::size_t>(a.voyage) == i) {
            times.push_back(voyages[i].*field);
        }
    }
    return times;
}

std::int64_t AlarmSchedule::gameMSecsTo(const ShipAlarm& a, TDateTime time) const {
    // A time of the game day comes when the clock's own reckoning says so, the one its windows
    // show the time left by: at the second it shows that time it has come.
    if (onTheClock(a.event)) {
        return m_gameClock.gameSecondsUntil(time) * 1000;
    }
    return gameMSecsUntil(m_gameClock.GameTime, time);
}

AlarmSchedule::Moment AlarmSchedule::nearestMoment(const ShipAlarm& a, std::int64_t around,
                                                   std::int64_t now) const {
    const std::int64_t rate = m_gameClock.GameMSecPerSec;
    const std::int64_t day = DateTime::MSecsPerDay;
    const std::int64_t aheadGame = (around - now) * rate / 1000;
    Moment best{0, 0};
    std::int64_t bestDistance = std::numeric_limits<std::int64_t>::max();
    for (const TDateTime time : momentTimes(a)) {
        // Each time of day comes back every game day: take the coming nearest `around`.
        const std::int64_t next = gameMSecsTo(a, time);
        const std::int64_t offset = aheadGame - next + day / 2;
        const std::int64_t days = offset >= 0 ? offset / day : -((day - 1 - offset) / day);
        const std::int64_t real = now + (next + days * day) * 1000 / rate;
        if (std::llabs(real - around) < bestDistance) {
            bestDistance = std::llabs(real - around);
            best = {time, real};
        }
    }
    return best;
}

TDateTime AlarmSchedule::nextTime(const ShipAlarm& a) const {
    if (a.due != 0) {
        const std::int64_t now = DateTime::totalMSecs(RealClock::now());
        return nearestMoment(a, a.due, now).time;
    }
    TDateTime next = 0;
    std::int64_t soonest = std::numeric_limits<std::int64_t>::max();
    for (const TDateTime time : momentTimes(a)) {
        if (const std::int64_t until = gameMSecsTo(a, time); until < soonest) {
            soonest = until;
            next = time;
        }
    }
    return next;
}

std::int64_t AlarmSchedule::untiedMSecsLeft(const ShipAlarm& a) const {
    return gameMSecsTo(a, nextTime(a)) * 1000 / m_gameClock.GameMSecPerSec;
}

std::int64_t AlarmSchedule::realMSecsLeft(const ShipAlarm& a) const {
    if (a.due != 0) {
        return std::max<std::int64_t>(a.due - DateTime::totalMSecs(RealClock::now()), 0);
    }
    return untiedMSecsLeft(a);
}

std::int64_t AlarmSchedule::realMomentIn(std::int64_t gameSeconds) const {
    const std::int64_t gameMSecs =
        gameSeconds * 1000 - DateTime::msecsOfDay(m_gameClock.GameTime) % 1000;
    return DateTime::totalMSecs(RealClock::now()) + gameMSecs * 1000 / m_gameClock.GameMSecPerSec;
}

QString AlarmSchedule::describe(const ShipAlarm& a) const {
    const QString word = QString::fromUtf8(nameOf(a.event).word);
    if (a.event == AlarmEvent::GameTime) {
        return word + u' ' + minuteText(a.gameMinute);
    }
    if (a.event == AlarmEvent::Koku) {
        return TZEMTime::kokuName(a.koku) + word;
    }
    if (a.event == AlarmEvent::DayNight) {
        return a.voyage < 0
                   ? word
                   : QString::fromUtf8(DayNightWords.at(static_cast<std::size_t>(a.voyage)));
    }
    const TZEMShip& route = *m_routes.at(static_cast<std::size_t>(a.route));
    QString text = route.from() + QStringLiteral("→") + route.to() + u' ';
    if (a.voyage >= 0) {
        const TZEMShipTimeItem& v = route.voyages().at(static_cast<std::size_t>(a.voyage));
        text += DateTime::formatLongTime(v.LeaTime) + QStringLiteral("発の便 ");
    }
    return text + word;
}

void AlarmSchedule::ring(ShipAlarm& a, std::int64_t leftMSecs) {
    a.outcome = ShipAlarm::Outcome::Rung;
    if (!a.repeat) {
        a.enabled = false;
        a.tracking = false;
    }
    if (!m_ringer) {
        return;
    }
    const QString what = describe(a);
    const QString at = DateTime::formatLongTime(nextTime(a));
    const std::int64_t minutes = (std::max<std::int64_t>(leftMSecs, 0) + 59'999) / 60'000;
    // Rung at the moment itself (lead time 0, or caught just after it): the moment has come.
    const bool now = leftMSecs <= 0;
    QString text;
    if (onTheClock(a.event)) {
        // "ゲーム時刻 14:30 まであと 3 分", "午の刻（12:00:00）まであと 3 分",
        // "午の刻になりました": a game time names its time already.
        const bool named = a.event == AlarmEvent::GameTime;
        const QString after = named ? QStringLiteral(" ") : QString();
        text = now ? what + after + QStringLiteral("になりました")
                   : what + (named ? after : QStringLiteral("（%1）").arg(at)) +
                         QStringLiteral("まであと %1 分").arg(minutes);
    } else {
        text = now ? QStringLiteral("%1 の時刻です").arg(what)
                   : QStringLiteral("%1（%2）まであと %3 分").arg(what, at).arg(minutes);
    }
    m_ringer(QStringLiteral("TAMU アラーム"), text);
}

void AlarmSchedule::miss(ShipAlarm& a) {
    a.outcome = ShipAlarm::Outcome::Missed;
    if (!a.repeat) {
        a.enabled = false;
        a.tracking = false;
    }
}

void AlarmSchedule::settle(ShipAlarm& a, std::int64_t lateMSecs, std::int64_t leftMSecs) {
    a.handled = true;
    if (a.fresh) {
        // Set after its ringing time: the player still wants to hear of a ship to come, and of
        // a time of the game day that the clock shows at this very second.
        if (leftMSecs >= 0) {
            ring(a, leftMSecs);
        } else if (!a.repeat) {
            miss(a);
        }
    } else if (lateMSecs <= GraceMSecs) {
        ring(a, leftMSecs);
    } else {
        miss(a);
    }
}

void AlarmSchedule::checkOnce(ShipAlarm& a, std::int64_t now) {
    // Tied to one moment, followed through a re-set clock as the same ship's by the new time.
    // The clock's ticks move the reckoning by up to a second; that is no new moment (and no
    // change for the file).
    if (a.due == 0) {
        a.due = now + untiedMSecsLeft(a);
    } else if (const std::int64_t moved = nearestMoment(a, a.due, now).real;
               std::llabs(moved - a.due) > TickSlackMSecs) {
        a.due = moved;
    }
    const std::int64_t ringAt = a.due - std::int64_t{a.leadMinutes} * 60'000;
    if (now >= ringAt) {
        settle(a, now - ringAt, a.due - now);
    }
}

void AlarmSchedule::checkRepeating(ShipAlarm& a, std::int64_t now) {
    const std::int64_t left = untiedMSecsLeft(a);
    const std::int64_t moment = now + left;
    const std::int64_t lead = std::int64_t{a.leadMinutes} * 60'000;
    if (a.tracking && std::llabs(moment - a.moment) > GraceMSecs) {
        // The moment waited for has come (or the clocks moved it): if its ringing time passed
        // unnoticed between two checks, ring now or call it missed.
        if (!a.handled && now >= a.moment - lead) {
            settle(a, now - (a.moment - lead), a.moment - now);
        }
        a.tracking = false;
    }
    if (!a.tracking) {
        a.tracking = true;
        a.handled = false;
    }
    a.moment = moment;
    if (!a.handled && left <= lead) {
        settle(a, lead - left, left);
    }
}

void AlarmSchedule::check() {
    const std::int64_t now = DateTime::totalMSecs(RealClock::now());
    bool anyChange = false;
    for (ShipAlarm& a : m_alarms) {
        if (!a.enabled) {
            a.tracking = false;
            continue;
        }
        const ShipAlarm::Outcome before = a.outcome;
        if (a.repeat) {
            checkRepeating(a, now);
        } else {
            checkOnce(a, now);
        }
        a.fresh = false;
        anyChange = anyChange || a.outcome != before || !a.enabled;
    }
    if (anyChange) {
        Q_EMIT changed();
    }
}
