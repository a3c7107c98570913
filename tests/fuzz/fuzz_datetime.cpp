// libFuzzer target: any text as a time of day or a date. A text that parses formats back to a
// text that parses to the same value; nothing else may happen.
#include <QString>
#include <cstdint>
#include <cstdlib>

#include "common/TDateTime.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto time = DateTime::parseTime(text)) {
        check(DateTime::wholeDays(*time) == 0);
        const auto again = DateTime::parseTime(DateTime::formatLongTime(*time));
        check(again && DateTime::msecsOfDay(*again) == DateTime::msecsOfDay(*time));
    }
    if (const auto date = DateTime::parseDate(text)) {
        const auto again = DateTime::parseDate(DateTime::formatShortDate(*date));
        check(again && *again == *date);
    }
    return 0;
}
