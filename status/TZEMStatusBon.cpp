#include "status/TZEMStatusBon.h"

void TZEMStatusBon::set(std::int32_t& field, std::int32_t n) {
    // A negative bonus would lift the pool for the others; the window never asks for one.
    if (n < 0) {
        n = 0;
    }
    const std::int64_t others = std::int64_t{Total()} - field;
    field = others + n <= BonusPool ? n : static_cast<std::int32_t>(BonusPool - others);
}

void TZEMStatusBon::Clear() {
    POW = 0;
    VIT = 0;
    DEX = 0;
    INT = 0;
    PHI = 0;
}

std::int32_t TZEMStatusBon::Total() const {
    return POW + VIT + DEX + INT + PHI;
}

void TZEMStatusBon::Assign(const TZEMStatusBon& other) {
    POW = other.POW;
    VIT = other.VIT;
    DEX = other.DEX;
    INT = other.INT;
    PHI = other.PHI;
}
