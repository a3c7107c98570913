#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>
#include <cstdint>
#include <optional>

// A date-time value: days since 1899-12-30 00:00 local time; the fraction is the time of day.
// Real dates and times and game times all take this form.
using TDateTime = double;

namespace DateTime {

inline constexpr std::int64_t MSecsPerDay = 86'400'000;
inline constexpr std::int64_t SecsPerDay = 86'400;

TDateTime encodeDate(int year, int month, int day);
TDateTime encodeTime(int hour, int minute, int second, int msec = 0);
TDateTime fromQDateTime(const QDateTime& value);  // local time
TDateTime fromQDate(const QDate& value);
TDateTime fromQTime(const QTime& value);  // a bare time of day, date part 0
QDateTime toQDateTime(TDateTime value);   // local time, to the millisecond
QDate toQDate(TDateTime value);
QTime toQTime(TDateTime value);  // time of day, to the millisecond

// Whole milliseconds since the start of the value's day, 0..86'399'999 (rounded to the nearest
// millisecond, as the time of day of a date-time value is always read).
std::int64_t msecsOfDay(TDateTime value);
// Whole milliseconds since 1899-12-30 00:00 (rounded to the nearest millisecond).
std::int64_t totalMSecs(TDateTime value);
// Whole days (the date part) of a value.
std::int64_t wholeDays(TDateTime value);
// Whole seconds of the time of day, milliseconds dropped: 0..86'399.
std::int64_t secondsOfDay(TDateTime value);
// The time of day as a fraction of a day, date part dropped.
double timeOfDay(TDateTime value);
// The value plus a number of milliseconds, computed on whole milliseconds so that repeated
// steps never drift however many days the value holds.
TDateTime addMSecs(TDateTime value, std::int64_t msecs);

// Locale formats of the program: long time hh:mm:ss, short date yyyy/MM/dd.
QString formatLongTime(TDateTime value);
QString formatShortDate(TDateTime value);

// Parse a time of day "H:mm:ss" (also "H:mm"; the hour with or without a leading zero) into a
// bare time of day, or a date "yyyy/M/d" into a date at 00:00. Nothing on a malformed text.
std::optional<TDateTime> parseTime(const QString& text);
std::optional<TDateTime> parseDate(const QString& text);

}  // namespace DateTime
