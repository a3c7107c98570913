#include "status/TZEMStatusNow.h"

#include <array>

#include "common/TZEMError.h"

namespace {

constexpr std::array<std::int32_t, 56> attackTable{
    10,  11,  12,  14,  18,  20,  22,  26,  28,  32,  34,  36,  40,  42,  46,  48,  50,  54,  56,
    60,  62,  66,  68,  70,  74,  76,  78,  82,  84,  88,  90,  92,  96,  98,  102, 104, 106, 110,
    112, 116, 118, 120, 124, 126, 130, 132, 134, 138, 140, 144, 146, 148, 152, 154, 158, 160};

constexpr std::array<std::int64_t, 57> experienceTable{
    0,         10,        35,        95,        220,       490,       920,       1600,
    2600,      3900,      6400,      9900,      15000,     23000,     33000,     46000,
    67000,     93000,     130000,    180000,    250000,    340000,    460000,    620000,
    810000,    1100000,   1500000,   1900000,   2500000,   3300000,   4200000,   5300000,
    6600000,   8200000,   10000000,  13000000,  16000000,  19000000,  23000000,  28000000,
    34000000,  41000000,  49000000,  59000000,  69000000,  84000000,  100000000, 120000000,
    150000000, 170000000, 200000000, 270000000, 330000000, 390000000, 470000000, 570000000,
    690000000};

}  // namespace

void TZEMStatusNow::Assign(const TZEMStatusNow& other) {
    Src.Assign(other.Src);
    Bon.Assign(other.Bon);
    LV = other.LV;
}

Extended TZEMStatusNow::withBonus(std::int32_t src, std::int32_t bonus) {
    return static_cast<Extended>(std::int64_t{src} + bonus);
}

std::int32_t TZEMStatusNow::vitalAt(Extended attribute, float perLevelBase) const {
    Extended r = attribute * 1.2L;
    r = r + static_cast<Extended>(perLevelBase);
    r = r * static_cast<Extended>(LV);
    r = r + 0.5L;
    return ExtendedMath::truncToInt32(r);
}

std::int32_t TZEMStatusNow::GetHP() const {
    return vitalAt(withBonus(Src.VIT, Bon.VIT), Src.HPBase);
}

std::int32_t TZEMStatusNow::GetMP() const {
    return vitalAt(withBonus(Src.INT, Bon.INT), Src.MPBase);
}

float TZEMStatusNow::levelFactor(std::int32_t level) {
    float c = static_cast<float>(level);
    if (level == 50) {
        c = c + 1.0f;
    } else if (level >= 51) {
        // The sum is formed in extended precision and then stored as a float.
        c = static_cast<float>(0.46L + static_cast<Extended>(c));
    }
    return c;
}

std::int32_t TZEMStatusNow::GrowStat(std::int32_t a, float g) const {
    const Extended start = static_cast<Extended>(a);
    Extended r = start * 0.1L;
    r = r + static_cast<Extended>(g);
    r = r * (static_cast<Extended>(levelFactor(LV)) - 1.0L);
    r = r + start;
    r = r + 0.5L;
    return ExtendedMath::truncToInt32(r);
}

std::int32_t TZEMStatusNow::GrowElement(std::int32_t e) const {
    const Extended start = static_cast<Extended>(e);
    Extended r = start / 2.0L;
    r = r * (static_cast<Extended>(LV) - 1.0L);
    r = r + start;
    return ExtendedMath::truncToInt32(r);
}

std::int32_t TZEMStatusNow::GetPOW() const {
    return GrowStat(ExtendedMath::truncToInt32(withBonus(Src.POW, Bon.POW)), Src.POWGrowth);
}
std::int32_t TZEMStatusNow::GetVIT() const {
    return GrowStat(ExtendedMath::truncToInt32(withBonus(Src.VIT, Bon.VIT)), Src.VITGrowth);
}
std::int32_t TZEMStatusNow::GetDEX() const {
    return GrowStat(ExtendedMath::truncToInt32(withBonus(Src.DEX, Bon.DEX)), Src.DEXGrowth);
}
std::int32_t TZEMStatusNow::GetINT() const {
    return GrowStat(ExtendedMath::truncToInt32(withBonus(Src.INT, Bon.INT)), Src.INTGrowth);
}
std::int32_t TZEMStatusNow::GetPHI() const {
    return GrowStat(ExtendedMath::truncToInt32(withBonus(Src.PHI, Bon.PHI)), Src.PHIGrowth);
}

// Bonus points never touch the elements.
std::int32_t TZEMStatusNow::GetSOL() const {
    return GrowElement(Src.SOL);
}
std::int32_t TZEMStatusNow::GetWTR() const {
    return GrowElement(Src.WTR);
}
std::int32_t TZEMStatusNow::GetWND() const {
    return GrowElement(Src.WND);
}
std::int32_t TZEMStatusNow::GetFIR() const {
    return GrowElement(Src.FIR);
}

std::int32_t TZEMStatusNow::GetSLT() const {
    const bool priest = Src.JOB == 2 || Src.JOB == 3;  // 神職, 陰陽師
    return GetINT() / 25 + (priest ? 3 : 2);
}

std::int32_t TZEMStatusNow::GetHPG() const {
    Extended r = static_cast<Extended>(GetVIT()) * 0.4L;
    r = r + 10.0L;
    r = r + 0.5L;
    return ExtendedMath::truncToInt32(r);
}

std::int32_t TZEMStatusNow::GetMPG() const {
    const std::int32_t intl = GetINT();
    const std::int32_t phi = GetPHI();
    const std::int32_t m = intl > phi ? intl : phi;
    Extended r = static_cast<Extended>(m) * 0.4L;
    r = r + 10.0L;  // no rounding half here, unlike 生命回復量
    return ExtendedMath::truncToInt32(r);
}

// Job and faction only: no bonus, no growth.
std::int32_t TZEMStatusNow::GetMWT() const {
    return Src.POW / 2 + 50;
}

std::int32_t TZEMStatusNow::attackAt(std::int32_t level) {
    if (level < 1 || level > static_cast<std::int32_t>(attackTable.size())) {
        return 0;
    }
    return attackTable[static_cast<std::size_t>(level - 1)];
}

std::int32_t TZEMStatusNow::GetAMP() const {
    return attackAt(LV);
}

std::int32_t TZEMStatusNow::GetEAT() const {
    const std::int64_t value = std::int64_t{LV} * LV / 50;
    if (value > INT32_MAX) {
        throw TZEMError::rangeCheck();
    }
    return static_cast<std::int32_t>(value);
}

std::int64_t TZEMStatusNow::ExpAt(std::int32_t n) {
    if (n < 1 || n > static_cast<std::int32_t>(experienceTable.size())) {
        return 0;
    }
    return experienceTable[static_cast<std::size_t>(n - 1)];
}

std::int64_t TZEMStatusNow::ExpBetween(std::int32_t from, std::int32_t to) {
    return ExpAt(to) - ExpAt(from);
}

std::int64_t TZEMStatusNow::GetEXP() const {
    return ExpAt(LV);
}
