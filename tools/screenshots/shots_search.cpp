// Scenes of the recipe search window on the sample item database.
#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QHelpEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolTip>
#include <QTreeView>

#include "recipes/ChoiceLists.h"
#include "recipes/TZEMForm08.h"
#include "tools/screenshots/Shots.h"

namespace {

TZEMForm08* openWindow(const ShotContext& ctx) {
    QStringList jobs, versions, equips;
    loadChoiceLists(ctx.itemDatabase, jobs, versions, equips);
    return new TZEMForm08(jobs, versions, equips, ctx.itemDatabase);
}

void choose(TZEMForm08* window, const char* box, const QString& text) {
    auto* combo = window->findChild<QComboBox*>(QString::fromLatin1(box));
    combo->setCurrentIndex(combo->findText(text));
}

void waitForSearch(TZEMForm08* window) {
    if (window->isSearching()) {
        QEventLoop loop;
        QObject::connect(window, &TZEMForm08::searchFinished, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

// Expands the first root and selects its first child that has materials of its own (else the
// root itself), so that the panel lists materials, once the search has shown its tree.
void selectSomething(TZEMForm08* window) {
    waitForSearch(window);
    auto* tree = window->findChild<QTreeView*>(QStringLiteral("CreateTree"));
    QAbstractItemModel* model = tree->model();
    if (model->rowCount() == 0) {
        return;
    }
    const QModelIndex root = model->index(0, 0);
    model->fetchMore(root);
    tree->expand(root);
    QModelIndex chosen = root;
    for (int row = 0; row < model->rowCount(root); ++row) {
        const QModelIndex child = model->index(row, 0, root);
        if (model->hasChildren(child)) {
            model->fetchMore(child);
            tree->expand(child);
            chosen = child;
            break;
        }
    }
    tree->setCurrentIndex(chosen);
}

const ShotRegistrar forward("search_forward", [](ShotContext& ctx) {
    TZEMForm08* window = openWindow(ctx);
    choose(window, "iptJob", QStringLiteral("鍛冶屋"));
    choose(window, "iptMokRock", QStringLiteral("武具目録"));
    window->findChild<QPushButton*>(QStringLiteral("btnSearch"))->click();
    selectSomething(window);
    ctx.save(window, QStringLiteral("search_forward"));
    window->close();
});

const ShotRegistrar reverse("search_reverse", [](ShotContext& ctx) {
    TZEMForm08* window = openWindow(ctx);
    window->findChild<QTabWidget*>()->setCurrentIndex(2);
    window->findChild<QLineEdit*>(QStringLiteral("iptZairyo"))->setText(QStringLiteral("鉄塊"));
    window->findChild<QPushButton*>(QStringLiteral("btnZairyoSearch"))->click();
    selectSomething(window);
    ctx.save(window, QStringLiteral("search_reverse"));
    window->close();
});

// A product of nine materials, found by name: every material shows in the grid.
const ShotRegistrar nine("search_nine_materials", [](ShotContext& ctx) {
    TZEMForm08* window = openWindow(ctx);
    window->findChild<QTabWidget*>()->setCurrentIndex(1);
    window->findChild<QLineEdit*>(QStringLiteral("iptItemName"))
        ->setText(QStringLiteral("見本：材料が九つの品"));
    window->findChild<QPushButton*>(QStringLiteral("btnSearchName"))->click();
    waitForSearch(window);
    auto* tree = window->findChild<QTreeView*>(QStringLiteral("CreateTree"));
    tree->setCurrentIndex(tree->model()->index(0, 0));
    ctx.save(window, QStringLiteral("search_nine_materials"));
    window->close();
});

// The product found twice (in a fief catalogue and another): the tree cuts both roots alike,
// the tooltip names the hovered one whole, and the panel ends the name in "…".
const ShotRegistrar longNames("search_long_names", [](ShotContext& ctx) {
    TZEMForm08* window = openWindow(ctx);
    window->findChild<QTabWidget*>()->setCurrentIndex(1);
    window->findChild<QLineEdit*>(QStringLiteral("iptItemName"))
        ->setText(QStringLiteral("見本：知行"));
    window->findChild<QPushButton*>(QStringLiteral("btnSearchName"))->click();
    waitForSearch(window);
    auto* tree = window->findChild<QTreeView*>(QStringLiteral("CreateTree"));
    tree->setCurrentIndex(tree->model()->index(0, 0));
    window->show();
    QCoreApplication::processEvents();
    const QPoint at = tree->visualRect(tree->model()->index(1, 0)).center();
    QHelpEvent tip(QEvent::ToolTip, at, tree->viewport()->mapToGlobal(at));
    QCoreApplication::sendEvent(tree->viewport(), &tip);
    ctx.saveWithToolTip(window, QStringLiteral("search_long_names"));
    QToolTip::hideText();
    window->close();
});

}  // namespace
