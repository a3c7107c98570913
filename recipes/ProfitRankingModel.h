#pragma once

#include <QAbstractTableModel>

class MarketIndices;
class ProfitRanking;

// The profit ranking as a table, best profit first. The product index column is editable for
// 知行産物; setting it remembers the index, recomputes and sorts the list again.
class ProfitRankingModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Rank, Name, Catalogue, Count, Cost, Sale, Gain, Index, BreakEven, Columns };

    ProfitRankingModel(ProfitRanking& ranking, MarketIndices& indices, QObject* parent = nullptr);

    // Recomputes the ranking after the indices changed and shows the new order.
    void refresh();
    // The whole list was replaced.
    void reset();
    // The tooltip of a cell that takes an index, here and in the material table.
    static QString indexHint();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    ProfitRanking& m_ranking;
    MarketIndices& m_indices;
};
