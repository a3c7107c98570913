#pragma once

#include <cstdint>

// The nine attributes of a character. In the record 風 comes before 火; everywhere the user sees
// the elements the order is 土, 水, 火, 風.
class TZEMStatusBas {
public:
    virtual ~TZEMStatusBas() = default;

    std::int32_t POW = 0;  // 腕力
    std::int32_t VIT = 0;  // 耐久力
    std::int32_t DEX = 0;  // 器用さ
    std::int32_t INT = 0;  // 知力
    std::int32_t PHI = 0;  // 魅力
    std::int32_t SOL = 0;  // 土属性
    std::int32_t WTR = 0;  // 水属性
    std::int32_t WND = 0;  // 風属性
    std::int32_t FIR = 0;  // 火属性
};
