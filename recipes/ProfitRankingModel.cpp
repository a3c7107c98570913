#include "recipes/ProfitRankingModel.h"

#include "common/Messages.h"
#include "recipes/MarketIndices.h"
#include "recipes/ProfitRanking.h"

namespace {

const QString NoBreakEven = QStringLiteral("—");

}  // namespace

ProfitRankingModel::ProfitRankingModel(ProfitRanking& ranking, MarketIndices& indices,
                                       QObject* parent)
    : QAbstractTableModel(parent), m_ranking(ranking), m_indices(indices) {}

void ProfitRankingModel::refresh() {
    Q_EMIT layoutAboutToBeChanged();
    m_ranking.recompute();
    Q_EMIT layoutChanged();
    if (rowCount() > 0) {
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, Columns - 1));
    }
}

void ProfitRankingModel::reset() {
    beginResetModel();
    endResetModel();
}

int ProfitRankingModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_ranking.count();
}

int ProfitRankingModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Columns;
}

QVariant ProfitRankingModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_ranking.count()) {
        return {};
    }
    const ProfitRanking::Entry& e = m_ranking.at(index.row());
    const bool indexed = ProfitCalc::productIndexed(e.product.catalogue);
    if (role == Qt::TextAlignmentRole) {
        return index.column() == Name || index.column() == Catalogue
                   ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                   : QVariant(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role == Qt::ToolTipRole) {
        // Why a product has no figures; else the whole of a name too long for its column, or
        // where an index can be typed.
        if (!e.error.isEmpty()) {
            return e.error;
        }
        return index.column() == Name               ? QVariant(e.product.name)
               : index.column() == Catalogue        ? QVariant(e.product.catalogue)
               : index.column() == Index && indexed ? QVariant(indexHint())
                                                    : QVariant();
    }
    if (role != Qt::DisplayRole && role != Qt::EditRole) {
        return {};
    }
    const auto figure = [&e](auto member) -> QVariant {
        return e.figures ? QVariant(QString::number((*e.figures).*member)) : QVariant();
    };
    switch (index.column()) {
        case Rank:
            return index.row() + 1;
        case Name:
            return e.product.name;
        case Catalogue:
            return e.product.catalogue;
        case Count:
            return e.product.standardCount;
        case Cost:
            return figure(&ProfitFigures::runCost);
        case Sale:
            return figure(&ProfitFigures::sale);
        case Gain:
            return e.figures ? QVariant(QString::number(e.figures->gain)) : QVariant(e.error);
        case Index:
            return indexed ? m_indices.product(e.product.name) : QString();
        case BreakEven:
            return e.breakEven ? ProfitRanking::indexText(*e.breakEven) : NoBreakEven;
        default:
            return {};
    }
}

QVariant ProfitRankingModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const QStringList heads{
        QStringLiteral("順位"),   QStringLiteral("産物名"),   QStringLiteral("目録"),
        QStringLiteral("生産数"), QStringLiteral("生産費用"), QStringLiteral("売却価格"),
        QStringLiteral("利益"),   QStringLiteral("指数"),     QStringLiteral("損益分岐")};
    return heads.value(section);
}

QString ProfitRankingModel::indexHint() {
    return QStringLiteral("指数（00.00〜99.99）を入力できます");
}

Qt::ItemFlags ProfitRankingModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == Index && index.row() < m_ranking.count() &&
        ProfitCalc::productIndexed(m_ranking.at(index.row()).product.catalogue)) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

bool ProfitRankingModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) {
        return false;
    }
    const QString name = m_ranking.at(index.row()).product.name;
    const bool ok = Messages::guarded([&] { m_indices.setProduct(name, value.toString()); });
    refresh();
    return ok;
}
