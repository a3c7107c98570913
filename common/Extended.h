#pragma once

#include <cstdint>
#include <limits>

// The game's status and profit figures come from x87 80-bit arithmetic; a compiler whose
// long double is narrower would produce different integers, so refuse to build there.
using Extended = long double;
static_assert(std::numeric_limits<Extended>::digits == 64,
              "TAMU needs the 80-bit extended format (64-bit significand) for long double");

namespace ExtendedMath {

// Truncation toward zero into a signed 32-bit integer; throws the range-check error when the
// value does not fit (or is not a number).
std::int32_t truncToInt32(Extended value);

// Truncation toward zero into a signed 64-bit integer; throws the range-check error when the
// value does not fit.
std::int64_t truncToInt64(Extended value);

}  // namespace ExtendedMath
