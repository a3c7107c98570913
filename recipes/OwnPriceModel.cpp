#include "recipes/OwnPriceModel.h"

#include "common/Messages.h"
#include "recipes/ItemSql.h"
#include "recipes/PlannerData.h"
#include "recipes/TDB.h"

namespace {

std::optional<std::int32_t> priceOf(const QVariant& value) {
    if (value.isNull()) {
        return std::nullopt;
    }
    return PriceBook::parsePrice(value.toString());
}

QString text(const std::optional<std::int32_t>& price) {
    return price ? QString::number(*price) : QString();
}

}  // namespace

OwnPriceModel::OwnPriceModel(PlannerData& data, QObject* parent)
    : QAbstractTableModel(parent), m_data(data) {
    connect(&m_data, &PlannerData::pricesChanged, this, &OwnPriceModel::pricesChanged);
    addBookOnlyItems();
    m_rows = visibleRows();
}

std::vector<OwnPriceModel::Item> OwnPriceModel::readItems(const QString& dbPath) {
    std::vector<Item> items;
    TDB db(dbPath);
    db.connectOrFail();
    TDBQuery& q = db.OpenQuery(sqlItemShopPrices());
    const int name = q.position(QStringLiteral("アイテム名"));
    const int buy = q.position(QStringLiteral("店買い"));
    const int sell = q.position(QStringLiteral("店売り"));
    for (; !q.eof(); q.next()) {
        items.push_back(
            Item{q.value(name).toString(), priceOf(q.value(buy)), priceOf(q.value(sell))});
    }
    return items;
}

void OwnPriceModel::setItems(std::vector<Item> items) {
    beginResetModel();
    m_items.clear();
    m_index.clear();
    for (Item& item : items) {
        if (!m_index.contains(item.name)) {  // a name twice in ItemInfo is one item here
            m_index.insert(item.name, int(m_items.size()));
            m_items.push_back(std::move(item));
        }
    }
    m_dbCount = int(m_items.size());
    addBookOnlyItems();
    m_rows = visibleRows();
    endResetModel();
}

void OwnPriceModel::addBookOnlyItems() {
    for (const QString& name : m_data.prices().names()) {
        if (!m_index.contains(name)) {
            m_index.insert(name, int(m_items.size()));
            m_items.push_back(Item{name, std::nullopt, std::nullopt});
        }
    }
}

void OwnPriceModel::setFilter(const QString& text, bool ownOnly) {
    beginResetModel();
    m_filter = text;
    m_ownOnly = ownOnly;
    m_rows = visibleRows();
    endResetModel();
}

std::vector<int> OwnPriceModel::visibleRows() const {
    std::vector<int> rows;
    for (int i = 0; i < int(m_items.size()); ++i) {
        const QString& name = m_items[std::size_t(i)].name;
        if ((m_filter.isEmpty() || name.contains(m_filter, Qt::CaseInsensitive)) &&
            (!m_ownOnly || !m_data.prices().prices(name).isEmpty())) {
            rows.push_back(i);
        }
    }
    return rows;
}

void OwnPriceModel::pricesChanged() {
    const qsizetype before = qsizetype(m_items.size());
    addBookOnlyItems();
    std::vector<int> rows = visibleRows();
    if (rows == m_rows && before == qsizetype(m_items.size())) {
        if (!m_rows.empty()) {
            Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, Columns - 1));
        }
        return;
    }
    // The rows change (an import, or an item leaving the own-price filter): not while a view is
    // still committing the edit that caused it.
    QMetaObject::invokeMethod(
        this,
        [this] {
            beginResetModel();
            m_rows = visibleRows();
            endResetModel();
        },
        Qt::QueuedConnection);
}

QString OwnPriceModel::nameAt(int row) const {
    return m_items[std::size_t(m_rows[std::size_t(row)])].name;
}

int OwnPriceModel::rowOf(const QString& name) const {
    const int item = m_index.value(name, -1);
    const auto it = std::find(m_rows.begin(), m_rows.end(), item);
    return item < 0 || it == m_rows.end() ? -1 : int(it - m_rows.begin());
}

int OwnPriceModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int OwnPriceModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Columns;
}

QVariant OwnPriceModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const Item& item = m_items[std::size_t(m_rows[std::size_t(index.row())])];
    const PriceBook::Prices own = m_data.prices().prices(item.name);
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole:
            switch (column) {
                case Name:
                    return item.name;
                case DbBuy:
                    return text(item.buy);
                case OwnBuy:
                    return text(own.buy);
                case DbSell:
                    return text(item.sell);
                default:
                    return text(own.sell);
            }
        case Qt::TextAlignmentRole:
            return column == Name ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                  : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        case Qt::ToolTipRole:
            if (column == Name) {
                return m_rows[std::size_t(index.row())] < m_dbCount
                           ? item.name
                           : item.name + QStringLiteral("（データベースに無いアイテム）");
            }
            return column == OwnBuy || column == OwnSell
                       ? QVariant(
                             QStringLiteral("0 以上の整数。空にするとデータベースの価格に戻ります"))
                       : QVariant();
        default:
            return {};
    }
}

QVariant OwnPriceModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    static const QStringList heads{QStringLiteral("アイテム名"), QStringLiteral("店買い"),
                                   QStringLiteral("自分の店買い"), QStringLiteral("店売り"),
                                   QStringLiteral("自分の店売り")};
    return heads.value(section);
}

Qt::ItemFlags OwnPriceModel::flags(const QModelIndex& index) const {
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && (index.column() == OwnBuy || index.column() == OwnSell)) {
        f |= Qt::ItemIsEditable;
    }
    return f;
}

bool OwnPriceModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable)) {
        return false;
    }
    const QString name = nameAt(index.row());
    const QString typed = value.toString().trimmed();
    const std::optional<std::int32_t> price = PriceBook::parsePrice(typed);
    if (!typed.isEmpty() && !price) {
        Messages::showError(
            QStringLiteral("価格は 0 以上の整数で入力してください：%1").arg(value.toString()));
        return false;
    }
    PriceBook::Prices prices = m_data.prices().prices(name);
    (index.column() == OwnBuy ? prices.buy : prices.sell) = price;
    return Messages::guarded([&] { m_data.setPrices({PriceBook::Item{name, prices}}); });
}
