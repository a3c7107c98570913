#include "recipes/MaterialIndexModel.h"

#include "common/Messages.h"
#include "recipes/MarketIndices.h"
#include "recipes/ProfitRanking.h"
#include "recipes/ProfitRankingModel.h"

MaterialIndexModel::MaterialIndexModel(const ProfitRanking& ranking, const MarketIndices& indices,
                                       Typed typed, QObject* parent)
    : QAbstractTableModel(parent), m_ranking(ranking), m_indices(indices), m_typed(std::move(typed)) {}

void MaterialIndexModel::reset() {
    beginResetModel();
    endResetModel();
}

void MaterialIndexModel::refresh() {
    if (rowCount() > 0) {
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, Columns - 1));
    }
}

int MaterialIndexModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_ranking.materials().size());
}

int MaterialIndexModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Columns;
}

QVariant MaterialIndexModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const ProfitRanking::MaterialInfo& m = m_ranking.materials()[std::size_t(index.row())];
    const std::int32_t inForce = m_ranking.price(m);
    switch (role) {
        case Qt::TextAlignmentRole:
            return index.column() == Name ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                          : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        case Qt::ToolTipRole:
            // The whole of a long name; whose price is in force; where an index is typed.
            return index.column() == Name ? QVariant(m.name)
                   : index.column() == Index
                       ? QVariant(ProfitRankingModel::indexHint())
                   : inForce != m.price
                       ? QVariant(QStringLiteral("自分の価格（データベースの店買い %1）").arg(m.price))
                       : QVariant();
        case Qt::DisplayRole:
        case Qt::EditRole:
            return index.column() == Name    ? QVariant(m.name)
                   : index.column() == Price ? QVariant(QString::number(inForce))
                                             : QVariant(m_indices.material(m.name));
        default:
            return {};
    }
}

QVariant MaterialIndexModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const QStringList heads{QStringLiteral("材料名"), QStringLiteral("店買い"),
                                   QStringLiteral("指数")};
    return heads.value(section);
}

Qt::ItemFlags MaterialIndexModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == Index) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

bool MaterialIndexModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable) ||
        index.row() >= rowCount()) {
        return false;
    }
    const QString name = m_ranking.materials()[std::size_t(index.row())].name;
    const bool ok = Messages::guarded([&] { m_typed(name, value.toString()); });
    Q_EMIT dataChanged(index, index);
    return ok;
}
