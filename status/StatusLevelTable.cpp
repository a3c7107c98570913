#include "status/StatusLevelTable.h"

StatusLevelTable::StatusLevelTable(const TZEMStatusNow& character) {
    TZEMStatusNow at;
    at.Assign(character);
    at.Src.Calc();  // as the status window does before it computes
    const auto& figures = StatusFigures::all();
    for (int level = 1; level <= Levels; ++level) {
        at.SetLV(level);
        auto& row = m_values[static_cast<std::size_t>(level - 1)];
        for (std::size_t f = 0; f < figures.size(); ++f) {
            row[f] = figures[f].value(at);
        }
    }
}

StatusComparison::Verdict StatusComparison::verdict(int level, int figure) const {
    const std::int64_t d = difference(level, figure);
    if (d == 0) {
        return Verdict::Same;
    }
    switch (StatusFigures::all()[static_cast<std::size_t>(figure)].better) {
        case StatusFigures::Better::Higher:
            return d > 0 ? Verdict::Better : Verdict::Worse;
        case StatusFigures::Better::Lower:
            return d < 0 ? Verdict::Better : Verdict::Worse;
        case StatusFigures::Better::Neither:
            break;
    }
    return Verdict::Different;
}

int StatusComparison::firstDifference(int figure) const {
    for (int level = 1; level <= StatusLevelTable::Levels; ++level) {
        if (difference(level, figure) != 0) {
            return level;
        }
    }
    return 0;
}
