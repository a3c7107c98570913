#include "recipes/TZEMItemList.h"

#include <QVarLengthArray>
#include <QVariant>
#include <algorithm>
#include <string>
#include <string_view>
#include <unordered_map>

#include "common/TZEMError.h"
#include "recipes/ItemSql.h"
#include "recipes/SqliteScan.h"
#include "recipes/TDB.h"

namespace {

const QString ColName = QStringLiteral("アイテム名");
const QString ColCount = QStringLiteral("生産数");
const QString ColMaterial = QStringLiteral("材料");
const QString ColNeeded = QStringLiteral("必要数");
const QString ColBuy = QStringLiteral("店買い");

void throwIfStopped(const std::stop_token& stop) {
    if (stop.stop_requested()) {
        throw TZEMItemList::Cancelled{};
    }
}

}  // namespace

TZEMItem& TZEMItemList::at(int position) {
    return *m_items.at(static_cast<std::size_t>(position));
}

const TZEMItem& TZEMItemList::at(int position) const {
    return *m_items.at(static_cast<std::size_t>(position));
}

int TZEMItemList::append(std::unique_ptr<TZEMItem> item) {
    const int position = count();
    if (!m_firstIndex.contains(item->Name)) {
        m_firstIndex.insert(item->Name, position);
    }
    m_items.push_back(std::move(item));
    return position;
}

int TZEMItemList::IndexOfName(const QString& name) const {
    return m_firstIndex.value(name, -1);
}

const std::vector<int>& TZEMItemList::caseKeys() const {
    if (m_caseKeys.size() != m_items.size()) {
        m_caseKeys.clear();
        m_caseKeys.reserve(m_items.size());
        QHash<QString, int> keys;
        for (const auto& item : m_items) {
            const QString folded = item->Name.toCaseFolded();
            auto it = keys.find(folded);
            if (it == keys.end()) {
                it = keys.insert(folded, int(keys.size()));
            }
            m_caseKeys.push_back(it.value());
        }
    }
    return m_caseKeys;
}

void TZEMItemList::BuildFromProducts(const QString& dbPath, const SqlStatement& statement) {
    Build(dbPath, statement, Direction::Forward);
}

void TZEMItemList::BuildFromMaterials(const QString& dbPath, const SqlStatement& statement) {
    Build(dbPath, statement, Direction::Reverse);
}

void TZEMItemList::Build(const QString& dbPath, const SqlStatement& statement, Direction direction,
                         Walk walk, const std::stop_token& stop) {
    TDB db(dbPath);  // freed on every way out, failures included
    if (!db.Connect()) {
        throw TZEMError(QStringLiteral("DBの接続に失敗しました。"));
    }
    TDBQuery& query = db.OpenQuery(statement);
    while (!query.Eof()) {
        if (direction == Direction::Forward) {
            const std::int32_t produced = query.AsInteger(ColCount);
            append(std::make_unique<TZEMItem>(query.AsString(ColName), produced, true));
        } else {
            append(std::make_unique<TZEMItem>(query.AsString(ColMaterial), 1, true));
        }
        query.Next();
        throwIfStopped(stop);
    }
    // Reading whole tables costs what the database holds, a statement what it finds: a wave of
    // this many names finds much of a database.
    constexpr qsizetype wholeTablesFrom = 2000;
    switch (walk) {
        case Walk::SetBased:
            walkSetBased(db, direction, wholeTablesFrom, stop);
            break;
        case Walk::WholeTables:
            walkSetBased(db, direction, 0, stop);
            break;
        case Walk::PerEntry:
            walkPerEntry(db, direction, stop);
            break;
    }
}

int TZEMItemList::indexOrAppend(const QString& name) {
    const int j = IndexOfName(name);
    return j >= 0 ? j : append(std::make_unique<TZEMItem>(name, 1, false));
}

void TZEMItemList::walkPerEntry(TDB& db, Direction direction, const std::stop_token& stop) {
    const QString& otherEnd = direction == Direction::Forward ? ColMaterial : ColName;
    // The count is read afresh on every step: entries appended by the walk are walked too.
    for (int i = 0; i < count(); ++i) {
        throwIfStopped(stop);
        const QString name = at(i).Name;
        TDBQuery& query = db.OpenQuery(direction == Direction::Forward ? SqlItemMaterials(name)
                                                                       : SqlMaterialUsers(name));
        while (!query.Eof()) {
            const int j = indexOrAppend(query.AsString(otherEnd));
            const std::int32_t needed =
                direction == Direction::Forward ? query.AsInteger(ColNeeded) : 1;
            at(i).Sources.append(TZEMItemSource(j, needed));
            query.Next();
        }
    }
}

namespace {

// One row of a one-item statement: the other end of the edge and, forward, the needed count, as
// the database holds them; converted only when the walk takes the edge, as the per-entry walk
// converts them. The shop price only tells rows apart, as it does in the one-item statement.
struct EdgeRow {
    QVariant other;
    QVariant needed;
    QVariant buy;
    std::size_t hash = 0;
};
using EdgeRows = QHash<QString, std::vector<EdgeRow>>;

// Values as SQLite's DISTINCT tells them apart: NULLs are alike, integers and reals compare as
// numbers, text and bytes by content, and values of different kinds differ.
enum class Kind { Null, Number, Text, Bytes };

Kind kindOf(const QVariant& value) {
    if (value.isNull()) {
        return Kind::Null;
    }
    switch (value.typeId()) {
        case QMetaType::LongLong:
        case QMetaType::Int:
        case QMetaType::Double:
            return Kind::Number;
        case QMetaType::QByteArray:
            return Kind::Bytes;
        default:
            return Kind::Text;
    }
}

bool sameValue(const QVariant& a, const QVariant& b) {
    const Kind kind = kindOf(a);
    if (kind != kindOf(b)) {
        return false;
    }
    switch (kind) {
        case Kind::Null:
            return true;
        case Kind::Number:
            return a.typeId() == QMetaType::Double || b.typeId() == QMetaType::Double
                       ? a.toDouble() == b.toDouble()
                       : a.toLongLong() == b.toLongLong();
        case Kind::Bytes:
            return a.toByteArray() == b.toByteArray();
        case Kind::Text:
            break;
    }
    return a.toString() == b.toString();
}

// Equal for values that sameValue takes as equal.
std::size_t hashOf(const QVariant& value, std::size_t seed) {
    switch (kindOf(value)) {
        case Kind::Null:
            return qHash(0, seed);
        case Kind::Number:
            return qHash(value.toDouble(), seed);
        case Kind::Bytes:
            return qHash(value.toByteArray(), seed);
        case Kind::Text:
            break;
    }
    return qHash(value.toString(), seed);
}

bool sameRow(const EdgeRow& a, const EdgeRow& b) {
    return a.hash == b.hash && sameValue(a.other, b.other) && sameValue(a.needed, b.needed) &&
           sameValue(a.buy, b.buy);
}

// Adds the row to an item's rows unless an equal one is there, as the one-item statements'
// DISTINCT keeps the first of equal rows.
void addDistinct(std::vector<EdgeRow>& itemRows, EdgeRow row) {
    row.hash = hashOf(row.buy, hashOf(row.needed, hashOf(row.other, 0)));
    if (std::none_of(itemRows.begin(), itemRows.end(),
                     [&row](const EdgeRow& seen) { return sameRow(seen, row); })) {
        itemRows.push_back(std::move(row));
    }
}

// Reads the rows of the named items with one statement into rows. The rows of one item come one
// after another: each item is one name of the bound list.
void readRows(TDB& db, TZEMItemList::Direction direction, const QStringList& names, EdgeRows& rows,
              const std::stop_token& stop) {
    const bool forward = direction == TZEMItemList::Direction::Forward;
    TDBQuery& query =
        db.OpenQuery(forward ? SqlMaterialsOfItems(names) : SqlUsersOfMaterials(names));
    const int itemColumn = query.Position(forward ? ColName : ColMaterial);
    const int otherColumn = query.Position(forward ? ColMaterial : ColName);
    const int neededColumn = forward ? query.Position(ColNeeded) : -1;
    const int buyColumn = forward ? query.Position(ColBuy) : -1;
    QString lastItem;
    std::vector<EdgeRow>* itemRows = nullptr;
    for (int n = 1; !query.Eof(); query.Next(), ++n) {
        if (n % 1024 == 0) {
            throwIfStopped(stop);
        }
        const QString item = query.Value(itemColumn).toString();  // equal to one of the names
        if (itemRows == nullptr || item != lastItem) {
            itemRows = &rows[item];
            lastItem = item;
        }
        addDistinct(*itemRows, EdgeRow{query.Value(otherColumn),
                                       forward ? query.Value(neededColumn) : QVariant(),
                                       forward ? query.Value(buyColumn) : QVariant(), 0});
    }
}

// A name column holding a number or bytes, which SQLite's = compares by kind: the in-memory join
// leaves such a database to the statements.
struct NotText {};

// The names of whole-table reads, each held once under a number, keyed by their UTF-8 bytes so
// that a row's name is looked up without making a QString of it.
class NameTable {
public:
    // The number of the name in a name column, added if new; -1 for NULL, which equals nothing.
    int add(const SqliteScan& scan, int column) {
        if (!isText(scan, column)) {
            return -1;
        }
        const std::string_view text = scan.text(column);
        const auto it = m_ids.find(text);
        if (it != m_ids.end()) {
            return it->second;
        }
        const auto added = m_ids.emplace(std::string(text), int(m_names.size())).first;
        m_names.push_back(Name{&added->first, {}});
        return added->second;
    }
    // The same without adding: -1 for a name not held.
    int find(const SqliteScan& scan, int column) const {
        if (!isText(scan, column)) {
            return -1;
        }
        const auto it = m_ids.find(scan.text(column));
        return it != m_ids.end() ? it->second : -1;
    }
    int count() const { return int(m_names.size()); }
    // Made once, when first asked for.
    const QString& name(int id) {
        Name& name = m_names[std::size_t(id)];
        if (name.text.isNull()) {
            name.text = QString::fromStdString(*name.bytes);
        }
        return name.text;
    }

private:
    static bool isText(const SqliteScan& scan, int column) {
        if (scan.isNull(column)) {
            return false;
        }
        if (!scan.isText(column)) {
            throw NotText{};
        }
        return true;
    }
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const {
            return std::hash<std::string_view>{}(text);
        }
    };
    struct Name {
        const std::string* bytes;  // the key in m_ids, which never moves
        QString text;
    };
    std::unordered_map<std::string, int, Hash, std::equal_to<>> m_ids;
    std::vector<Name> m_names;
};

// Calls each for every row of the statement, in table order.
template <typename Each>
void scan(TDB& db, const SqlStatement& statement, const std::stop_token& stop, Each each) {
    SqliteScan rows(db, statement);
    for (int n = 1; rows.next(); ++n) {
        if (n % 4096 == 0) {
            throwIfStopped(stop);
        }
        each(rows);
    }
}

// The rows of every item, from whole-table reads joined in memory as the one-item statements join
// the tables: per item, its relation rows in table order and, for each, the ItemInfo rows of its
// material in table order. False, with rows unchanged, when the tables do not allow it (names
// that are no text, a read that fails): the statements then read the rows, and report the error.
bool readAllRows(TDB& db, TZEMItemList::Direction direction, EdgeRows& rows,
                 const std::stop_token& stop) {
    NameTable names;
    std::vector<std::vector<EdgeRow>> rowsOf;  // by the number of the item's name
    const auto itemRows = [&rowsOf](int id) -> std::vector<EdgeRow>& {
        if (std::size_t(id) >= rowsOf.size()) {
            rowsOf.resize(std::size_t(id) + 1);
        }
        return rowsOf[std::size_t(id)];
    };
    try {
        if (direction == TZEMItemList::Direction::Reverse) {
            scan(db, SqlAllRelations(), stop, [&](const SqliteScan& r) {
                const int material = names.add(r, 1);
                if (material >= 0) {
                    const QVariant product =
                        r.isText(0) ? QVariant(names.name(names.add(r, 0))) : r.value(0);
                    addDistinct(itemRows(material), EdgeRow{product, {}, {}, 0});
                }
            });
        } else {
            std::vector<bool> isProduct;
            scan(db, SqlAllProductNames(), stop, [&](const SqliteScan& r) {
                const int id = names.add(r, 0);
                if (id >= 0) {
                    isProduct.resize(std::max(isProduct.size(), std::size_t(id) + 1));
                    isProduct[std::size_t(id)] = true;
                }
            });
            std::vector<QVarLengthArray<QVariant, 1>> prices;  // one row per name, mostly
            scan(db, SqlAllItemPrices(), stop, [&](const SqliteScan& r) {
                const int id = names.add(r, 0);
                if (id >= 0) {
                    prices.resize(std::max(prices.size(), std::size_t(id) + 1));
                    prices[std::size_t(id)].push_back(r.value(1));
                }
            });
            scan(db, SqlAllRelations(), stop, [&](const SqliteScan& r) {
                const int product = names.find(r, 0);
                const int material = names.find(r, 1);
                if (product < 0 || material < 0 || std::size_t(product) >= isProduct.size() ||
                    !isProduct[std::size_t(product)] || std::size_t(material) >= prices.size() ||
                    prices[std::size_t(material)].isEmpty()) {
                    return;
                }
                std::vector<EdgeRow>& rowsOfProduct = itemRows(product);
                const QVariant other(names.name(material));
                const QVariant needed = r.value(2);
                for (const QVariant& buy : prices[std::size_t(material)]) {
                    addDistinct(rowsOfProduct, EdgeRow{other, needed, buy, 0});
                }
            });
        }
    } catch (const NotText&) {
        return false;
    } catch (const TZEMError&) {
        return false;
    }
    EdgeRows all;
    all.reserve(qsizetype(rowsOf.size()));
    for (std::size_t id = 0; id < rowsOf.size(); ++id) {
        if (!rowsOf[id].empty()) {
            all.insert(names.name(int(id)), std::move(rowsOf[id]));
        }
    }
    // The rows read so far are among all's; the names without rows stay known as read.
    for (auto it = rows.cbegin(); it != rows.cend(); ++it) {
        if (!all.contains(it.key())) {
            all.insert(it.key(), {});
        }
    }
    rows = std::move(all);
    return true;
}

}  // namespace

void TZEMItemList::walkSetBased(TDB& db, Direction direction, qsizetype wholeTableNames,
                                const std::stop_token& stop) {
    EdgeRows rows;
    int read = 0;        // the rows of every entry below this position are in rows
    bool whole = false;  // rows holds the rows of every item of the database
    for (int i = 0; i < count(); ++i) {
        throwIfStopped(stop);
        if (i == read) {
            QStringList names;
            for (; read < count(); ++read) {
                const QString& name = at(read).Name;
                if (!rows.contains(name)) {
                    rows.insert(name, {});
                    names << name;
                }
            }
            if (!whole && !names.isEmpty() && names.size() >= wholeTableNames) {
                whole = readAllRows(db, direction, rows, stop);
            }
            if (!whole && !names.isEmpty()) {
                readRows(db, direction, names, rows, stop);
            }
        }
        for (const EdgeRow& row : *rows.constFind(at(i).Name)) {
            const int j = indexOrAppend(TextFromValue(row.other));
            const std::int32_t needed =
                direction == Direction::Forward ? IntegerFromValue(row.needed) : 1;
            at(i).Sources.append(TZEMItemSource(j, needed));
        }
    }
}
