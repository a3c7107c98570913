#include "common/Extended.h"

#include <cmath>

#include "common/TZEMError.h"

namespace ExtendedMath {

std::int32_t truncToInt32(Extended value) {
    const Extended t = std::trunc(value);
    if (!(t >= Extended(std::numeric_limits<std::int32_t>::min()) &&
          t <= Extended(std::numeric_limits<std::int32_t>::max()))) {
        throw TZEMError::rangeCheck();
    }
    return static_cast<std::int32_t>(t);
}

std::int64_t truncToInt64(Extended value) {
    const Extended t = std::trunc(value);
    // 2^63 is exact in the extended format; the lower bound is included, the upper excluded.
    constexpr Extended limit = 9223372036854775808.0L;
    if (!(t >= -limit && t < limit)) {
        throw TZEMError::rangeCheck();
    }
    return static_cast<std::int64_t>(t);
}

}  // namespace ExtendedMath
