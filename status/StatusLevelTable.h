#pragma once

#include <array>
#include <cstdint>

#include "status/StatusFigures.h"
#include "status/TZEMStatusNow.h"

// Every figure of one character at every level from 1 to 60, computed by the character's own
// operations (a copy of it is taken through each level).
class StatusLevelTable {
public:
    static constexpr int Levels = TZEMStatusNow::MaxLevel;

    StatusLevelTable() = default;  // every value 0
    explicit StatusLevelTable(const TZEMStatusNow& character);

    // Level 1 to 60, figure as in StatusFigures::all().
    std::int64_t value(int level, int figure) const {
        return m_values[static_cast<std::size_t>(level - 1)][static_cast<std::size_t>(figure)];
    }

private:
    std::array<std::array<std::int64_t, StatusFigures::Count>, Levels> m_values{};
};

// Build B against build A, figure by figure and level by level.
class StatusComparison {
public:
    enum class Verdict { Same, Better, Worse, Different };

    StatusComparison(const StatusLevelTable& a, const StatusLevelTable& b) : m_a(a), m_b(b) {}

    std::int64_t difference(int level, int figure) const {
        return m_b.value(level, figure) - m_a.value(level, figure);
    }
    // Better or worse for B by the figure's direction; Different where the figure has none.
    Verdict verdict(int level, int figure) const;
    // The first level at which B and A differ in the figure; 0 when they never do.
    int firstDifference(int figure) const;

private:
    const StatusLevelTable& m_a;
    const StatusLevelTable& m_b;
};
