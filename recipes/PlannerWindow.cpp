#include "recipes/PlannerWindow.h"

#include <QCoreApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPointer>
#include <QTableWidget>

#include "common/Fonts.h"
#include "common/ToolWindow.h"

namespace PlannerWindow {

void setup(QWidget* window, const QString& caption, const QSize& clientSize) {
    ToolWindow::setup(window, caption, clientSize);
    // A planner window never keeps the program alive once the controller has closed.
    window->setAttribute(Qt::WA_QuitOnClose, false);
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, window,
                     [guard = QPointer<QWidget>(window)] { delete guard.data(); });
}

QLabel* label(QWidget* parent, const QString& text, const QRect& geometry, const QString& name) {
    auto* result = new QLabel(text, parent);
    result->setObjectName(name);
    result->setFont(Fonts::font(Fonts::Mincho, 16));
    result->setGeometry(geometry);
    return result;
}

void setupTable(QTableView* table, const QString& name, const QRect& geometry) {
    table->setObjectName(name);
    table->setGeometry(geometry);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(20);
    table->horizontalHeader()->setFixedHeight(22);
    table->horizontalHeader()->setHighlightSections(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
}

QTableWidget* table(QWidget* parent, const QString& name, const QStringList& heads,
                    const QRect& geometry) {
    auto* result = new QTableWidget(0, int(heads.size()), parent);
    setupTable(result, name, geometry);
    result->setHorizontalHeaderLabels(heads);
    return result;
}

}  // namespace PlannerWindow
