#include "common/TDateTime.h"

#include <QRegularExpression>
#include <cmath>

namespace DateTime {
namespace {

const QDate& epoch() {
    static const QDate day(1899, 12, 30);
    return day;
}

TDateTime fromTotalMSecs(std::int64_t msecs) {
    return static_cast<double>(msecs) / static_cast<double>(MSecsPerDay);
}

std::int64_t floorMod(std::int64_t a, std::int64_t b) {
    const std::int64_t r = a % b;
    return r < 0 ? r + b : r;
}

}  // namespace

std::int64_t totalMSecs(TDateTime value) {
    return static_cast<std::int64_t>(std::llround(value * static_cast<double>(MSecsPerDay)));
}

TDateTime encodeDate(int year, int month, int day) {
    return fromQDate(QDate(year, month, day));
}

TDateTime encodeTime(int hour, int minute, int second, int msec) {
    return fromTotalMSecs(((static_cast<std::int64_t>(hour) * 60 + minute) * 60 + second) * 1000 +
                          msec);
}

TDateTime fromQDate(const QDate& value) {
    return static_cast<double>(epoch().daysTo(value));
}

TDateTime fromQTime(const QTime& value) {
    return fromTotalMSecs(value.msecsSinceStartOfDay());
}

TDateTime fromQDateTime(const QDateTime& value) {
    const QDateTime local = value.toLocalTime();
    return fromTotalMSecs(epoch().daysTo(local.date()) * MSecsPerDay +
                          local.time().msecsSinceStartOfDay());
}

QDate toQDate(TDateTime value) {
    return epoch().addDays(wholeDays(value));
}

QTime toQTime(TDateTime value) {
    return QTime::fromMSecsSinceStartOfDay(static_cast<int>(msecsOfDay(value)));
}

QDateTime toQDateTime(TDateTime value) {
    return QDateTime(toQDate(value), toQTime(value));
}

std::int64_t msecsOfDay(TDateTime value) {
    return floorMod(totalMSecs(value), MSecsPerDay);
}

std::int64_t wholeDays(TDateTime value) {
    const std::int64_t ms = totalMSecs(value);
    return (ms - floorMod(ms, MSecsPerDay)) / MSecsPerDay;
}

std::int64_t secondsOfDay(TDateTime value) {
    return msecsOfDay(value) / 1000;
}

double timeOfDay(TDateTime value) {
    return static_cast<double>(msecsOfDay(value)) / static_cast<double>(MSecsPerDay);
}

TDateTime addMSecs(TDateTime value, std::int64_t msecs) {
    return fromTotalMSecs(totalMSecs(value) + msecs);
}

QString formatLongTime(TDateTime value) {
    return toQTime(value).toString(QStringLiteral("hh:mm:ss"));
}

QString formatShortDate(TDateTime value) {
    return toQDate(value).toString(QStringLiteral("yyyy/MM/dd"));
}

std::optional<TDateTime> parseTime(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const int hour = match.captured(1).toInt();
    const int minute = match.captured(2).toInt();
    const int second = match.captured(3).isEmpty() ? 0 : match.captured(3).toInt();
    if (hour > 23 || minute > 59 || second > 59) {
        return std::nullopt;
    }
    return encodeTime(hour, minute, second);
}

std::optional<TDateTime> parseDate(const QString& text) {
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*(\\d{1,4})/(\\d{1,2})/(\\d{1,2})\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch()) {
        return std::nullopt;
    }
    const QDate date(match.captured(1).toInt(), match.captured(2).toInt(),
                     match.captured(3).toInt());
    if (!date.isValid() || date.year() < 1) {
        return std::nullopt;
    }
    return fromQDate(date);
}

}  // namespace DateTime
