#include "status/StatusBuild.h"

#include <QStringList>
#include <algorithm>

namespace {

constexpr const char* bonusNames[StatusBuild::BonusCount] = {"腕力", "耐久力", "器用さ", "知力",
                                                             "魅力"};

constexpr std::int32_t TZEMStatusBas::*sourceFields[StatusBuild::BonusCount] = {
    &TZEMStatusBas::POW, &TZEMStatusBas::VIT, &TZEMStatusBas::DEX, &TZEMStatusBas::INT,
    &TZEMStatusBas::PHI};

bool knownJob(std::int32_t code) {
    return code >= 0 && code < TZEMStatusSrc::JobCount;
}

bool knownFaction(std::int32_t code) {
    return code >= 0 && code < TZEMStatusSrc::FactionCount;
}

}  // namespace

StatusBuild StatusBuild::of(const TZEMStatusNow& character) {
    StatusBuild build;
    build.job = character.Src.JOB;
    build.faction = character.Src.INF;
    build.bonus = {character.Bon.POW, character.Bon.VIT, character.Bon.DEX, character.Bon.INT,
                   character.Bon.PHI};
    build.level = character.LV;
    return build;
}

TZEMStatusNow StatusBuild::character() const {
    TZEMStatusNow character;
    character.Src.JOB = static_cast<std::uint8_t>(job);
    character.Src.SetINF(static_cast<std::uint8_t>(faction));
    // Direct stores: the setters' pool rule would cut a valid build in the order of the fields.
    character.Bon.POW = bonus[0];
    character.Bon.VIT = bonus[1];
    character.Bon.DEX = bonus[2];
    character.Bon.INT = bonus[3];
    character.Bon.PHI = bonus[4];
    character.SetLV(level);
    return character;
}

std::int32_t StatusBuild::bonusCap(std::int32_t job, std::int32_t faction, int attribute) {
    TZEMStatusSrc src;
    src.JOB = static_cast<std::uint8_t>(job);
    src.SetINF(static_cast<std::uint8_t>(faction));
    const std::int32_t start = src.*sourceFields[attribute];
    return std::clamp(TZEMStatusBon::BonusPool - start, 0, MaxBonus);
}

QString StatusBuild::bonusName(int attribute) {
    return QString::fromUtf8(bonusNames[attribute]);
}

std::optional<QString> StatusBuild::problem() const {
    if (!knownJob(job)) {
        return QStringLiteral("職業が分かりません（番号 %1）").arg(job);
    }
    if (!knownFaction(faction)) {
        return QStringLiteral("所属勢力が分かりません（番号 %1）").arg(faction);
    }
    if (level < 1 || level > TZEMStatusNow::MaxLevel) {
        return QStringLiteral("レベル %1 はありません（1 から %2 まで）")
            .arg(level)
            .arg(TZEMStatusNow::MaxLevel);
    }
    std::int64_t total = 0;
    for (int i = 0; i < BonusCount; ++i) {
        if (bonus[i] < 0) {
            return QStringLiteral("%1のボーナスが負の数です").arg(bonusName(i));
        }
        total += bonus[i];
    }
    if (total > TZEMStatusBon::BonusPool) {
        return QStringLiteral("ボーナスポイントの合計 %1 が持ち点 %2 を超えています")
            .arg(total)
            .arg(TZEMStatusBon::BonusPool);
    }
    for (int i = 0; i < BonusCount; ++i) {
        if (const std::int32_t cap = bonusCap(job, faction, i); bonus[i] > cap) {
            return QStringLiteral("%1のボーナス %2 が上限の %3 を超えています（%4・%5）")
                .arg(bonusName(i))
                .arg(bonus[i])
                .arg(cap)
                .arg(QString::fromUtf8(TZEMStatusSrc::jobName(job)),
                     QString::fromUtf8(TZEMStatusSrc::factionName(faction)));
        }
    }
    return std::nullopt;
}

QString StatusBuild::describe() const {
    return QString::fromUtf8(TZEMStatusSrc::jobName(job)) + u'・' +
           QString::fromUtf8(TZEMStatusSrc::factionName(faction)) +
           QStringLiteral(" Lv %1　").arg(level) + bonusText();
}

QString StatusBuild::bonusText() const {
    QStringList parts;
    for (int i = 0; i < BonusCount; ++i) {
        if (bonus[i] != 0) {
            parts << bonusName(i) + u' ' + QString::number(bonus[i]);
        }
    }
    return QStringLiteral("ボーナス ") +
           (parts.isEmpty() ? QStringLiteral("なし") : parts.join(u'・'));
}
