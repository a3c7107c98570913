#pragma once

#include <QAbstractTableModel>
#include <functional>

class MarketIndices;
class ProfitRanking;

// The materials of the profit ranking with their 店買い in force and the market index the user
// set, a row each. The index column is editable: a typed index goes to `typed`, which remembers
// it (or refuses it) and ranks again; the cell shows the index in force either way.
class MaterialIndexModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Name, Price, Index, Columns };
    using Typed = std::function<void(const QString& material, const QString& index)>;

    MaterialIndexModel(const ProfitRanking& ranking, const MarketIndices& indices, Typed typed,
                       QObject* parent = nullptr);

    // The materials were replaced.
    void reset();
    // Prices or indices changed.
    void refresh();

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    const ProfitRanking& m_ranking;
    const MarketIndices& m_indices;
    Typed m_typed;
};
