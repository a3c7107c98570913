#pragma once

#include <functional>

#include "common/TDateTime.h"

// The computer's local date and time. Every reader of "now" asks here, so tests can fix it.
namespace RealClock {

TDateTime now();
// The same moment as UTC milliseconds since 1970: the measure of real time that passed, whatever
// the local clock did meanwhile (daylight-saving time, a change of time zone).
std::int64_t nowMSecsSinceEpoch();

// Replaces the source of "now"; an empty function restores the system clock.
void setSource(std::function<TDateTime()> source);

}  // namespace RealClock
