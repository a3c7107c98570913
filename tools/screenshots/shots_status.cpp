// Scenes of the status calculator and the potential calculator.
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include "common/TZEMSpinEdit.h"
#include "status/LevelPlotWidget.h"
#include "status/PotentialBarWidget.h"
#include "status/StatusBuildBook.h"
#include "status/StatusFigures.h"
#include "status/TZEMForm03.h"
#include "status/TZEMForm031.h"
#include "status/TZEMForm032.h"
#include "status/TZEMForm04.h"
#include "tools/screenshots/Shots.h"

namespace {

// 陰陽師 with 武田, bonus 器用さ 2, 知力 3, 魅力 5: the state a user reaches by picking the job and
// faction and typing the numbers. The controller's character outlives the windows.
TZEMStatusNow& onmyojiOfTakeda(int level) {
    static TZEMStatusNow statusNow;
    statusNow = TZEMStatusNow();
    statusNow.Src.JOB = 3;
    statusNow.Src.SetINF(4);
    statusNow.Bon.SetDEX(2);
    statusNow.Bon.SetINT(3);
    statusNow.Bon.SetPHI(5);
    statusNow.SetLV(level);
    return statusNow;
}

const ShotRegistrar statusShot("status_onmyoji_takeda", [](ShotContext& ctx) {
    StatusBuildBook book(ctx.dataFolder);
    auto* form = new TZEMForm03(onmyojiOfTakeda(50), &book);
    ctx.save(form, QStringLiteral("status_onmyoji_takeda"));
    form->close();
});

// The level table opened from the status window with a 陰陽師 of 武田 at level 40; for the
// comparison, the bonus as pinned is A and B moves 3 points from 魅力 to 耐久力.
enum class PlannerScene { Table, Comparison, Plot };

void savePlanner(ShotContext& ctx, PlannerScene scene, const QString& name) {
    auto* status = new TZEMForm03(onmyojiOfTakeda(40));
    status->show();
    status->findChild<QPushButton*>(QStringLiteral("evtLevelTable"))->click();
    TZEMForm031* planner = TZEMForm031::openWindow();
    if (scene != PlannerScene::Table) {
        planner->findChild<QPushButton*>(QStringLiteral("evtPin"))->click();
        status->findChild<TZEMSpinEdit*>(QStringLiteral("iptPHI"))->setValue(2);
        status->findChild<TZEMSpinEdit*>(QStringLiteral("iptVIT"))->setValue(3);
    }
    auto* table = planner->findChild<QTableView*>(QStringLiteral("viwTable"));
    if (scene == PlannerScene::Table) {
        table->scrollTo(planner->model().index(59, 0));
    }
    if (scene == PlannerScene::Plot) {
        planner->findChild<QTabWidget*>(QStringLiteral("pgcPlanner"))->setCurrentIndex(1);
        planner->setFigurePlotted(StatusFigures::indexOf("viwNHP"), false);
        planner->setFigurePlotted(StatusFigures::indexOf("viwNVIT"), true);
        planner->setFigurePlotted(StatusFigures::indexOf("viwNPHI"), true);
        auto* plot = planner->findChild<LevelPlotWidget*>(QStringLiteral("viwChart"));
        Q_EMIT plot->hovered(StatusFigures::indexOf("viwNVIT"), StatusLevelModel::Build::B, 40);
    }
    ctx.save(planner, name);
    planner->close();
    status->close();
}

const ShotRegistrar plannerTableShot("planner_table", [](ShotContext& ctx) {
    savePlanner(ctx, PlannerScene::Table, "planner_table");
});
const ShotRegistrar plannerComparisonShot("planner_comparison", [](ShotContext& ctx) {
    savePlanner(ctx, PlannerScene::Comparison, "planner_comparison");
});
const ShotRegistrar plannerPlotShot("planner_plot", [](ShotContext& ctx) {
    savePlanner(ctx, PlannerScene::Plot, "planner_plot");
});

// Two saved builds; the window of saved builds with the first one chosen, and the level table
// comparing the calculator's character (B) with the second (A).
void saveBuilds(ShotContext& ctx, bool planner, const QString& name) {
    StatusBuildBook book(ctx.dataFolder);
    book.save(QStringLiteral("陰陽師・知力型"), {3, 4, {0, 0, 2, 3, 5}, 50});
    book.save(QStringLiteral("侍・腕力型"), {0, 0, {3, 5, 0, 0, 2}, 40});
    auto* status = new TZEMForm03(onmyojiOfTakeda(40), &book);
    status->show();
    if (planner) {
        status->findChild<QPushButton*>(QStringLiteral("evtLevelTable"))->click();
        TZEMForm031* table = TZEMForm031::openWindow();
        table->setBuildSource(StatusLevelModel::Build::A, book.find("侍・腕力型")->number);
        ctx.save(table, name);
        table->close();
    } else {
        status->findChild<QPushButton*>(QStringLiteral("evtBuilds"))->click();
        auto* builds = status->findChild<TZEMForm032*>();
        builds->selectBuild(QStringLiteral("陰陽師・知力型"));
        ctx.save(builds, name);
    }
    status->close();
}

const ShotRegistrar buildsShot("status_builds",
                               [](ShotContext& ctx) { saveBuilds(ctx, false, "status_builds"); });
const ShotRegistrar plannerBuildsShot("planner_builds", [](ShotContext& ctx) {
    saveBuilds(ctx, true, "planner_builds");
});

void savePotential(ShotContext& ctx, int tab, const QString& name) {
    auto* form = new TZEMForm04;
    form->findChild<QTabWidget*>(QStringLiteral("PageControl1"))->setCurrentIndex(tab);
    if (tab == 0) {
        auto* bar = form->findChild<PotentialBarWidget*>(QStringLiteral("DrawGrid8"));
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
