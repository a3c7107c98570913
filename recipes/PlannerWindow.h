#pragma once

#include <QSize>
#include <QString>
#include <QStringList>

class QAbstractItemModel;
class QTableView;
class QWidget;

// The common make-up of the crafting planner's windows (材料集計, 利益ランキング): tool windows
// that any number of may be open, not owned by the window that opened them, freed when closed
// and at the latest when the program ends. The user may resize them; their tables grow.
namespace PlannerWindow {

void setup(QWidget* window, const QString& caption, const QSize& initialSize);
// A read-only table with column heads, no row numbers, whole-row selection.
void setupTable(QTableView* table, const QString& name);
QTableView* view(QWidget* parent, const QString& name, QAbstractItemModel* model);
// Keeps one column (a name) as wide as the room the other columns leave, and never narrower
// than `minimum`, as the table or its other columns are resized.
void fillWithColumn(QTableView* table, int column, int minimum);

}  // namespace PlannerWindow
