// Scenes of the status calculator and the potential calculator.
#include <QComboBox>
#include <QTabWidget>

#include "common/TZEMSpinEdit.h"
#include "status/PotentialBar.h"
#include "status/TZEMForm03.h"
#include "status/TZEMForm04.h"
#include "tools/screenshots/Shots.h"

namespace {

// 陰陽師 with 武田 at level 50, bonus 器用さ 2, 知力 3, 魅力 5: the state a user reaches by picking
// the job and faction and typing the numbers.
const ShotRegistrar statusShot("status_onmyoji_takeda", [](ShotContext& ctx) {
    static TZEMStatusNow statusNow;
    statusNow = TZEMStatusNow();
    statusNow.Src.JOB = 3;
    statusNow.Src.SetINF(4);
    statusNow.Bon.SetDEX(2);
    statusNow.Bon.SetINT(3);
    statusNow.Bon.SetPHI(5);
    statusNow.SetLV(50);
    auto* form = new TZEMForm03(statusNow);
    ctx.save(form, QStringLiteral("status_onmyoji_takeda"));
    form->close();
});

void savePotential(ShotContext& ctx, int tab, const QString& name) {
    auto* form = new TZEMForm04;
    form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(tab);
    if (tab == 0) {
        auto* bar = form->findChild<PotentialBar*>(QStringLiteral("DrawGrid8"));
        bar->setCurrentColumn(3);
        form->DrawGrid8Click();
    }
    ctx.save(form, name);
    form->close();
}

const ShotRegistrar kihonShot("potential_kihon",
                              [](ShotContext& ctx) { savePotential(ctx, 0, "potential_kihon"); });
const ShotRegistrar sentoShot("potential_sento",
                              [](ShotContext& ctx) { savePotential(ctx, 1, "potential_sento"); });
const ShotRegistrar seisanShot("potential_seisan",
                               [](ShotContext& ctx) { savePotential(ctx, 2, "potential_seisan"); });

}  // namespace
