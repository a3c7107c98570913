// Crafting planner scenes: a shopping list, the profit ranking and the own prices on the sample
// database.
#include <QDir>
#include <QEventLoop>
#include <QTableView>

#include <QCheckBox>
#include "common/TZEMSpinEdit.h"
#include "recipes/PlannerData.h"
#include "recipes/TZEMForm082.h"
#include "recipes/TZEMForm083.h"
#include "recipes/TZEMForm084.h"
#include "tools/screenshots/Shots.h"

namespace {

const ShotRegistrar shoppingShots("shopping", [](ShotContext& ctx) {
    TZEMForm082* w = TZEMForm082::openFor(QStringLiteral("大業物の太刀"), ctx.itemDatabase);
    w->findChild<TZEMSpinEdit*>(QStringLiteral("iptPieces"))->setText(QStringLiteral("3"));
    ctx.save(w, QStringLiteral("shopping_list"));
    w->close();
});

const ShotRegistrar rankingShots("ranking", [](ShotContext& ctx) {
    TZEMForm083* w = TZEMForm083::openFor(ctx.itemDatabase, ctx.dataFolder);
    QEventLoop loading;
    QObject::connect(w, &TZEMForm083::loaded, &loading, &QEventLoop::quit);
    if (w->isLoading()) {
        loading.exec();
    }
    w->setMaterialIndex(QStringLiteral("塩"), QStringLiteral("01.20"));
    ctx.save(w, QStringLiteral("profit_ranking"));
    w->close();
});

const ShotRegistrar pricesShots("prices", [](ShotContext& ctx) {
    // A few own prices, the window showing those alone.
    PlannerData& data = PlannerData::of(ctx.dataFolder);
    const QList<PriceBook::Item> own{{QStringLiteral("塩"), {3, std::nullopt}},
                                     {QStringLiteral("玉鋼"), {45, 20}},
                                     {QStringLiteral("大業物の太刀"), {std::nullopt, 520}}};
    data.setPrices(own);
    TZEMForm084* w = TZEMForm084::openFor(ctx.itemDatabase, ctx.dataFolder);
    w->findChild<QCheckBox*>(QStringLiteral("chkOwnOnly"))->setChecked(true);
    ctx.save(w, QStringLiteral("own_prices"));
    w->close();
    // The other scenes show the database's prices.
    QList<PriceBook::Item> none;
    for (const auto& item : own) {
        none.append({item.first, {}});
    }
    data.setPrices(none);
});

}  // namespace
