#include "gametime/TZEMTime.h"

#include <array>
#include <cstdlib>

#include "common/RealClock.h"
#include "gametime/MMTimerUnit.h"

TZEMTime::TZEMTime(QObject* owner) : QObject(owner) {
    GameTime = DateTime::timeOfDay(RealClock::now());
    GameMSecPerSec = 23838;
    restartCount();
    // Parented for findChild, but destroyed first by the destructor below.
    m_timer = std::make_unique<TMMTimer>(this);
    m_timer->setObjectName(QStringLiteral("ZEMTimer"));
    m_timer->SetInterval(1000);
    m_timer->SetOnTimer([this](QObject*) { Tick(); });
    m_timer->SetEnabled(true);
}

// The timer goes first: once it is destroyed no tick can reach this object.
TZEMTime::~TZEMTime() {
    m_timer.reset();
}

void TZEMTime::SetGameTime(TDateTime value) {
    GameTime = value;
    restartCount();
}

void TZEMTime::restartCount() {
    m_countedFrom = RealClock::nowMSecsSinceEpoch();
    m_secondsCounted = 0;
}

void TZEMTime::Tick() {
    const std::int64_t passed = (RealClock::nowMSecsSinceEpoch() - m_countedFrom) / 1000;
    std::int64_t seconds = 1;
    if (passed - m_secondsCounted > 1) {
        seconds = passed - m_secondsCounted;  // ticks were lost: catch up
    } else if (passed < m_secondsCounted - 1) {
        // The real clock was set back (or ticks come without real time passing, as in a test):
        // one second per tick, counted from here.
        restartCount();
        m_secondsCounted = -1;
    }
    m_secondsCounted += seconds;
    GameTime = DateTime::addMSecs(GameTime, seconds * GameMSecPerSec);
}

QString TZEMTime::RealTimeUntil(TDateTime target) const {
    return formatRealTime(realSecondsFor(gameSecondsUntil(target)));
}

std::int64_t TZEMTime::gameSecondsUntil(TDateTime target) const {
    const std::int64_t g = DateTime::secondsOfDay(GameTime);
    const std::int64_t t = DateTime::secondsOfDay(target);
    return t < g ? DateTime::SecsPerDay - (g - t) : t - g;
}

std::int64_t TZEMTime::realSecondsFor(std::int64_t gameSeconds) const {
    return gameSeconds * 1000 / GameMSecPerSec;
}

QString TZEMTime::formatRealTime(std::int64_t r) {
    return QStringLiteral("%1:%2:%3").arg(r / 3600).arg((r / 60) % 60).arg(r % 60);
}

QString TZEMTime::GetKoku() const {
    return kokuName(gameHour() / 2);
}

QString TZEMTime::kokuName(int index) {
    static const std::array<QString, KokuCount> names = {
        QStringLiteral("子"), QStringLiteral("丑"), QStringLiteral("寅"), QStringLiteral("卯"),
        QStringLiteral("辰"), QStringLiteral("巳"), QStringLiteral("午"), QStringLiteral("未"),
        QStringLiteral("申"), QStringLiteral("酉"), QStringLiteral("戌"), QStringLiteral("亥")};
    return names.at(static_cast<std::size_t>(index));
}

void TZEMTime::SetFromAnchor(TDateTime anchorGameTime, TDateTime anchorRealTime) {
    // Whole real seconds between the anchor and now; an anchor in the future counts the same.
    // The anchor is a local time: it is placed in the local zone at its own date, so a change
    // to or from daylight-saving time in between counts the hours that really passed.
    const std::int64_t seconds =
        std::llabs(RealClock::nowMSecsSinceEpoch() -
                   DateTime::toQDateTime(anchorRealTime).toMSecsSinceEpoch()) /
        1000;
    GameTime = DateTime::addMSecs(anchorGameTime, seconds * GameMSecPerSec);
    restartCount();
}

TDateTime TZEMTime::dayBegins() {
    return DateTime::encodeTime(7, 0, 0);
}

TDateTime TZEMTime::nightBegins() {
    return DateTime::encodeTime(18, 0, 0);
}

bool TZEMTime::IsDaytime() const {
    const int hour = gameHour();
    return hour > 6 && hour < 18;
}

int TZEMTime::gameHour() const {
    return static_cast<int>(DateTime::msecsOfDay(GameTime) / 3'600'000);
}
