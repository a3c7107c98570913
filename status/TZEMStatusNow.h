#pragma once

#include <cstdint>

#include "common/Extended.h"
#include "status/TZEMStatusBas.h"
#include "status/TZEMStatusBon.h"
#include "status/TZEMStatusSrc.h"

// One character: job and faction (Src), bonus points (Bon) and level. Every value at the level is
// computed on request in 80-bit extended arithmetic, step by step in the game's order, and
// truncated toward zero; double precision would give different integers in reachable cases.
// The nine inherited attribute fields are not used.
class TZEMStatusNow : public TZEMStatusBas {
public:
    static constexpr std::int32_t MaxLevel = 60;

    std::int32_t LV = 1;
    TZEMStatusSrc Src;
    TZEMStatusBon Bon;

    void SetLV(std::int32_t n) { LV = n; }
    void Assign(const TZEMStatusNow& other);

    std::int32_t GetHP() const;
    std::int32_t GetMP() const;
    std::int32_t GetPOW() const;
    std::int32_t GetVIT() const;
    std::int32_t GetDEX() const;
    std::int32_t GetINT() const;
    std::int32_t GetPHI() const;
    std::int32_t GetSOL() const;
    std::int32_t GetWTR() const;
    std::int32_t GetWND() const;
    std::int32_t GetFIR() const;
    std::int32_t GetSLT() const;
    std::int32_t GetHPG() const;
    std::int32_t GetMPG() const;
    std::int32_t GetMWT() const;
    std::int32_t GetAMP() const;
    std::int32_t GetEAT() const;
    std::int64_t GetEXP() const;

    static std::int64_t ExpAt(std::int32_t n);
    static std::int64_t ExpBetween(std::int32_t from, std::int32_t to);
    static std::int32_t attackAt(std::int32_t level);  // the attack table; 0 outside it

    std::int32_t GrowStat(std::int32_t a, float g) const;
    std::int32_t GrowElement(std::int32_t e) const;

    // The level factor c of GrowStat, before 1 is taken off.
    static float levelFactor(std::int32_t level);

private:
    static Extended withBonus(std::int32_t src, std::int32_t bonus);
    // 生命 and 気合: (attribute with bonus x 1.2 + the per-level base) x level + 0.5, truncated.
    std::int32_t vitalAt(Extended attribute, float perLevelBase) const;
};
