#pragma once

#include <cstdint>

#include "status/TZEMStatusBas.h"

// Bonus points on the five basic attributes (the element fields stay 0). Each value is at least
// 0 and together they never exceed the pool: a setter cuts its value to what the others leave.
class TZEMStatusBon : public TZEMStatusBas {
public:
    static constexpr std::int32_t BonusPool = 10;

    void SetPOW(std::int32_t n) { set(POW, n); }
    void SetVIT(std::int32_t n) { set(VIT, n); }
    void SetDEX(std::int32_t n) { set(DEX, n); }
    void SetINT(std::int32_t n) { set(INT, n); }
    void SetPHI(std::int32_t n) { set(PHI, n); }

    void Clear();
    std::int32_t Total() const;
    void Assign(const TZEMStatusBon& other);

private:
    void set(std::int32_t& field, std::int32_t n);
};
