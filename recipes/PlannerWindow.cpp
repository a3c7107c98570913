#include "recipes/PlannerWindow.h"

#include <QEvent>
#include <QHeaderView>
#include <QTableWidget>
#include <algorithm>

#include "common/ToolWindow.h"

namespace PlannerWindow {
namespace {

// A stretching header section would do, were it not that it never gives back the width it
// took once the table is narrower than its columns.
class ColumnFiller : public QObject {
public:
    ColumnFiller(QTableView* table, int column, int minimum)
        : QObject(table), m_table(table), m_column(column), m_minimum(minimum) {
        table->viewport()->installEventFilter(this);
        connect(table->horizontalHeader(), &QHeaderView::sectionResized, this, [this](int section) {
            if (section != m_column) {
                fill();
            }
        });
        fill();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            fill();
        }
        return QObject::eventFilter(watched, event);
    }

private:
    void fill() {
        const QHeaderView* header = m_table->horizontalHeader();
        int others = 0;
        for (int c = 0; c < header->count(); ++c) {
            others += c != m_column && !header->isSectionHidden(c) ? header->sectionSize(c) : 0;
        }
        m_table->setColumnWidth(m_column,
                                std::max(m_minimum, m_table->viewport()->width() - others));
    }

    QTableView* m_table;
    int m_column;
    int m_minimum;
};

}  // namespace

void setup(QWidget* window, const QString& caption, const QSize& initialSize) {
    ToolWindow::setupResizable(window, caption, initialSize);
    // A planner window never keeps the program alive once the controller has closed.
    window->setAttribute(Qt::WA_QuitOnClose, false);
    ToolWindow::freeAtQuit(window);
}

void setupTable(QTableView* table, const QString& name) {
    table->setObjectName(name);
    table->verticalHeader()->hide();
    table->verticalHeader()->setDefaultSectionSize(20);
    table->horizontalHeader()->setFixedHeight(22);
    table->horizontalHeader()->setHighlightSections(false);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->setSelectionMode(QAbstractItemView::SingleSelection);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setWordWrap(false);
}

QTableView* view(QWidget* parent, const QString& name, QAbstractItemModel* model) {
    auto* result = new QTableView(parent);
    setupTable(result, name);
    result->setModel(model);
    return result;
}

void fillWithColumn(QTableView* table, int column, int minimum) {
    new ColumnFiller(table, column, minimum);
}

}  // namespace PlannerWindow
