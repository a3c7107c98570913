#pragma once

#include <cstdint>

// One edge of the recipe graph. Forward: the item at Index is a material, needed Count pieces per
// production run. Reverse: the item at Index is a product that uses this one; Count is 1.
class TZEMItemSource {
public:
    TZEMItemSource(std::int32_t index, std::int32_t count) : Index(index), Count(count) {}

    std::int32_t Index;
    std::int32_t Count;
};
