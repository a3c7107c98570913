#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "status/TZEMStatusNow.h"

// A character as the player keeps or shares it: job, faction, the five bonus points and the
// level. The fields are plain numbers so that a build read from a file or a code can hold values
// no character has; problem() says which.
struct StatusBuild {
    static constexpr int BonusCount = 5;  // 腕力, 耐久力, 器用さ, 知力, 魅力
    // The status window's bonus boxes go up to 8.
    static constexpr std::int32_t MaxBonus = 8;

    std::int32_t job = 0;      // JOB code
    std::int32_t faction = 0;  // INF code
    std::array<std::int32_t, BonusCount> bonus{};
    std::int32_t level = 1;

    static StatusBuild of(const TZEMStatusNow& character);
    // The character with its source record calculated; the build must have no problem.
    TZEMStatusNow character() const;

    // Why no character of the game can be this build, in Japanese; nothing when one can.
    std::optional<QString> problem() const;
    // What the status window lets an attribute's bonus reach: 8, and no more than lifts the
    // starting value with bonus to 10. The job and faction must be known.
    static std::int32_t bonusCap(std::int32_t job, std::int32_t faction, int attribute);
    static QString bonusName(int attribute);
    // "陰陽師・武田 Lv 50　ボーナス 器用さ 2・知力 3・魅力 5"
    QString describe() const;
    // "ボーナス 器用さ 2・知力 3・魅力 5", "ボーナス なし"
    QString bonusText() const;

    bool operator==(const StatusBuild&) const = default;
};
