#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

class PlannerData;

// The own-price table: every item of the item database with its 店買い and 店売り from the
// database beside the user's own, which are edited here (an emptied cell removes the own
// price). Items with own prices that the database does not hold (any more) stand at the end,
// so that none is out of reach. Filtered by part of the name, and to the items with own prices.
class OwnPriceModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Name, DbBuy, OwnBuy, DbSell, OwnSell, Columns };
    struct Item {
        QString name;
        std::optional<std::int32_t> buy;  // the database's; none when NULL or no number
        std::optional<std::int32_t> sell;
    };

    OwnPriceModel(PlannerData& data, QObject* parent = nullptr);

    // The items of the item database, in its order; raises the database's error.
    static std::vector<Item> readItems(const QString& dbPath);
    void setItems(std::vector<Item> items);
    void setFilter(const QString& text, bool ownOnly);

    QString nameAt(int row) const;
    int rowOf(const QString& name) const;  // -1 when not shown

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

private:
    void pricesChanged();
    std::vector<int> visibleRows() const;
    void addBookOnlyItems();

    PlannerData& m_data;
    std::vector<Item> m_items;
    QHash<QString, int> m_index;
    std::vector<int> m_rows;  // the items shown
    int m_dbCount = 0;        // the items before these are the database's
    QString m_filter;
    bool m_ownOnly = false;
};
