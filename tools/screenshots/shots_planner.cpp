// Crafting planner scenes: a shopping list and the profit ranking on the sample database.
#include <QDir>
#include <QEventLoop>
#include <QTableView>

#include "common/TZEMSpinEdit.h"
#include "recipes/TZEMForm082.h"
#include "recipes/TZEMForm083.h"
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

}  // namespace
