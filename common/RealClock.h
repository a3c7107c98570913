#pragma once

#include <functional>

#include "common/TDateTime.h"

// The computer's local date and time. Every reader of "now" asks here, so tests can fix it.
namespace RealClock {

TDateTime now();

// Replaces the source of "now"; an empty function restores the system clock.
void setSource(std::function<TDateTime()> source);

}  // namespace RealClock
