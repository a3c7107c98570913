#include "recipes/ShoppingPlanModels.h"

#include "common/Messages.h"

ShoppingPlanModel::ShoppingPlanModel(const QStringList& heads, QObject* parent)
    : QAbstractTableModel(parent), m_heads(heads) {}

void ShoppingPlanModel::show(const ShoppingList& list, const ShoppingList::Plan& plan) {
    beginResetModel();
    m_list = &list;
    m_book = &list.book();
    m_plan = &plan;
    planChanged();
    endResetModel();
}

int ShoppingPlanModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() || !m_plan ? 0 : rows();
}

int ShoppingPlanModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_heads.size());
}

QVariant ShoppingPlanModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < m_heads.size()) {
        return m_heads[section];
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

QVariant ShoppingPlanModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const int row = index.row();
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
            return cell(row, column).text;
        case Qt::ToolTipRole: {
            const Cell c = cell(row, column);
            return !c.toolTip.isEmpty() ? c.toolTip : c.figure ? QString() : c.text;
        }
        case Qt::TextAlignmentRole:
            return cell(row, column).figure
                       ? QVariant(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter))
                       : QVariant();
        case Qt::CheckStateRole:
            if (const auto checked = cell(row, column).checked) {
                return *checked ? Qt::Checked : Qt::Unchecked;
            }
            return {};
        case Qt::EditRole:
            if (column == heldColumn()) {
                return qlonglong(m_list->held(itemAt(row)));
            }
            return choices(row, column).isEmpty() ? QVariant() : QVariant(chosen(row));
        case ChoicesRole:
            return choices(row, column);
        default:
            return {};
    }
}

Qt::ItemFlags ShoppingPlanModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return result;
    }
    if (cell(index.row(), index.column()).checked) {
        result |= Qt::ItemIsUserCheckable;
    }
    if (!choices(index.row(), index.column()).isEmpty() || index.column() == heldColumn()) {
        result |= Qt::ItemIsEditable;
    }
    return result;
}

// The plan is not touched here: the window changes the list and shows the new plan, after the
// view that reported the change has finished with the old one.
bool ShoppingPlanModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return false;
    }
    const int item = itemAt(index.row());
    if (role == Qt::CheckStateRole && cell(index.row(), index.column()).checked) {
        Q_EMIT boughtChanged(item, value.value<Qt::CheckState>() == Qt::Checked);
        return true;
    }
    if (role == Qt::EditRole && index.column() == heldColumn()) {
        const QString typed = value.toString().trimmed();
        bool number = typed.isEmpty();  // an emptied cell holds none
        const qlonglong pieces = number ? 0 : typed.toLongLong(&number);
        if (!number || pieces < 0) {
            Messages::showError(QStringLiteral("所持数は 0 以上の整数で入力してください：%1")
                                    .arg(value.toString()));
            return false;
        }
        if (pieces != m_list->held(item)) {
            Q_EMIT heldChanged(item, pieces);
        }
        return true;
    }
    const qsizetype choice = value.toInt();
    if (role == Qt::EditRole && choice >= 0 &&
        choice < choices(index.row(), index.column()).size()) {
        if (choice != chosen(index.row())) {
            Q_EMIT recipeChosen(item, int(choice));
        }
        return true;
    }
    return false;
}

QStringList ShoppingPlanModel::choices(int, int) const {
    return {};
}

int ShoppingPlanModel::chosen(int) const {
    return 0;
}

ShoppingPlanModel::Cell ShoppingPlanModel::heldCell(int item, std::int64_t used) const {
    const std::int64_t held = m_list->held(item);
    Cell c{held > 0 ? QString::number(held) : QString(), true, {}, {}};
    c.toolTip = held > 0 && used < held
                    ? QStringLiteral("所持 %1 個のうち %2 個を使います").arg(held).arg(used)
                    : QStringLiteral("所持している個数を入力すると、その分を買わず作りません");
    return c;
}

QString ShoppingPlanModel::recipeText(const RecipeBook::Row& row) {
    return QStringLiteral("%1／%2／%3").arg(row.job, row.catalogue, row.skill);
}

PurchasesModel::PurchasesModel(QObject* parent)
    : ShoppingPlanModel({QStringLiteral("材料名"), QStringLiteral("個数"), QStringLiteral("店買い"),
                         QStringLiteral("金額"), QStringLiteral("購入"), QStringLiteral("所持")},
                        parent) {}

int PurchasesModel::rows() const {
    return int(m_plan->purchases.size());
}

int PurchasesModel::itemAt(int row) const {
    return m_plan->purchases[std::size_t(row)].item;
}

ShoppingPlanModel::Cell PurchasesModel::cell(int row, int column) const {
    const ShoppingList::Purchase& p = m_plan->purchases[std::size_t(row)];
    const RecipeBook::Entry& e = m_book->at(p.item);
    switch (column) {
        case 0:
            return text(e.name);
        case 1:
            return number(p.pieces);
        case 2: {
            if (!p.price) {
                return Cell{};
            }
            Cell c = number(*p.price);
            if (p.ownPrice) {
                c.toolTip =
                    e.price ? QStringLiteral("自分の価格（データベースの店買い %1）").arg(*e.price)
                            : QStringLiteral("自分の価格（データベースに店買い無し）");
            }
            return c;
        }
        case 3:
            return p.cost ? number(*p.cost) : Cell{};
        case 5:
            return heldCell(p.item, p.held);
        default:
            if (p.switched) {
                return box(true);
            }
            if (p.cycle) {
                return Cell{QStringLiteral("循環"),
                            false,
                            {},
                            QStringLiteral("作る途中の産物に戻るため購入します")};
            }
            return Cell{};
    }
}

StepsModel::StepsModel(QObject* parent)
    : ShoppingPlanModel({QStringLiteral("産物名"), QStringLiteral("レシピ"),
                         QStringLiteral("生産数"), QStringLiteral("回数"), QStringLiteral("個数"),
                         QStringLiteral("購入"), QStringLiteral("所持")},
                        parent) {}

int StepsModel::rows() const {
    return int(m_plan->steps.size());
}

int StepsModel::itemAt(int row) const {
    return m_plan->steps[std::size_t(row)].item;
}

ShoppingPlanModel::Cell StepsModel::cell(int row, int column) const {
    const ShoppingList::Step& s = m_plan->steps[std::size_t(row)];
    switch (column) {
        case 0:
            return text(m_book->at(s.item).name);
        case 1: {
            const QStringList offered = choices(row, column);
            return text(offered.isEmpty() ? recipeText(m_book->at(s.item).rows[std::size_t(s.row)])
                                          : offered[s.row]);
        }
        case 2:
            return number(s.perRun);
        case 3:
            return number(s.runs);
        case 4:
            return number(s.pieces);
        case 6:
            return heldCell(s.item, s.held);
        default:
            // The wanted product itself is made, never bought.
            return s.item == 0 ? Cell{} : box(false);
    }
}

QStringList StepsModel::choices(int row, int column) const {
    const RecipeBook::Entry& e = m_book->at(m_plan->steps[std::size_t(row)].item);
    if (column != 1 || e.rows.size() < 2) {
        return {};
    }
    QStringList texts;
    for (const RecipeBook::Row& r : e.rows) {
        texts << recipeText(r) + QStringLiteral("（%1個）").arg(r.count);
    }
    return texts;
}

int StepsModel::chosen(int row) const {
    return m_plan->steps[std::size_t(row)].row;
}

LeftoversModel::LeftoversModel(QObject* parent)
    : ShoppingPlanModel({QStringLiteral("産物名"), QStringLiteral("個数")}, parent) {}

void LeftoversModel::planChanged() {
    m_left.clear();
    for (std::size_t i = 0; i < m_plan->steps.size(); ++i) {
        if (m_plan->steps[i].pieces > m_plan->steps[i].needed) {
            m_left.push_back(i);
        }
    }
}

int LeftoversModel::itemAt(int row) const {
    return m_plan->steps[m_left[std::size_t(row)]].item;
}

ShoppingPlanModel::Cell LeftoversModel::cell(int row, int column) const {
    const ShoppingList::Step& s = m_plan->steps[m_left[std::size_t(row)]];
    return column == 0 ? text(m_book->at(s.item).name) : number(s.pieces - s.needed);
}
