#pragma once

#include <cstdint>

#include "status/TZEMStatusBas.h"

// What job and faction give a new character: the starting attributes (job row plus faction
// modifiers), the per-level bases of 生命 and 気合 and the growth coefficients.
class TZEMStatusSrc : public TZEMStatusBas {
public:
    static constexpr int JobCount = 7;
    static constexpr int FactionCount = 14;

    std::uint8_t INF = 0;  // faction code, 0 上杉 .. 13 伊賀忍
    std::uint8_t JOB = 0;  // job code, 0 侍 .. 6 薬師
    float HPBase = 0;
    float MPBase = 0;
    float POWGrowth = 0;
    float VITGrowth = 0;
    float DEXGrowth = 0;
    float INTGrowth = 0;
    float PHIGrowth = 0;

    void SetINF(std::uint8_t code);
    void SetJOB(std::uint8_t code);
    void Calc();
    void Assign(const TZEMStatusSrc& other);

    // The names as the game writes them, by code; empty for an unknown code.
    static const char* jobName(int code);
    static const char* factionName(int code);
};
