#pragma once

#include <array>
#include <cstdint>

#include "status/TZEMStatusNow.h"

// Every figure that the status window shows at the level, in the order of its value labels: the
// one place that says which computation stands behind each of them, shared by the status window
// and the level table.
namespace StatusFigures {

// Which way a difference between two builds counts as an improvement.
enum class Better { Higher, Lower, Neither };

struct Figure {
    const char* view;     // the status window's value label, e.g. "viwNHP"
    const char* label;    // the heading label beside it, e.g. "Label35"
    const char* heading;  // its text, e.g. "生命"
    Better better;
    std::int64_t (*value)(const TZEMStatusNow& status);
};

inline constexpr int Count = 21;

const std::array<Figure, Count>& all();

// The index of the figure shown by the given value label, or -1.
int indexOf(const char* view);

}  // namespace StatusFigures
