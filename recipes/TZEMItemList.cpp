#include "recipes/TZEMItemList.h"

#include <QSet>
#include <QVariant>
#include <cmath>

#include "common/TZEMError.h"
#include "recipes/ItemSql.h"
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
    if (walk == Walk::SetBased) {
        walkSetBased(db, direction, stop);
    } else {
        walkPerEntry(db, direction, stop);
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
// converts them.
struct EdgeRow {
    QVariant other;
    QVariant needed;
};
using EdgeRows = QHash<QString, std::vector<EdgeRow>>;

// Appends a value to a key so that two keys are equal exactly when SQLite's DISTINCT takes the
// values as equal: NULLs are alike, integers and integral reals compare as numbers, text and bytes
// by content, and values of different kinds differ.
void appendKey(QString& key, const QVariant& value) {
    QString text;
    char16_t kind = u'T';
    if (value.isNull()) {
        kind = u'N';
    } else if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int) {
        kind = u'I';
        text = QString::number(value.toLongLong());
    } else if (value.typeId() == QMetaType::Double) {
        const double d = value.toDouble();
        constexpr double limit = 9223372036854775807.0;
        const bool integral = d == std::floor(d) && d >= -limit && d < limit;
        kind = integral ? u'I' : u'R';
        text = integral ? QString::number(static_cast<qlonglong>(d)) : QString::number(d, 'g', 17);
    } else if (value.typeId() == QMetaType::QByteArray) {
        kind = u'B';
        text = QString::fromLatin1(value.toByteArray().toHex());
    } else {
        text = value.toString();
    }
    key += QChar(kind);
    key += QString::number(text.size());
    key += u':';
    key += text;
}

// Reads the rows of the named items with one statement into rows, folding equal rows of an item
// as the one-item statements' DISTINCT does and keeping the first of them.
void readRows(TDB& db, TZEMItemList::Direction direction, const QStringList& names, EdgeRows& rows,
              const std::stop_token& stop) {
    const bool forward = direction == TZEMItemList::Direction::Forward;
    TDBQuery& query =
        db.OpenQuery(forward ? SqlMaterialsOfItems(names) : SqlUsersOfMaterials(names));
    const QString& itemColumn = forward ? ColName : ColMaterial;
    const QString& otherColumn = forward ? ColMaterial : ColName;
    QSet<QString> seen;
    QString key;
    QString lastItem;
    std::vector<EdgeRow>* itemRows = nullptr;
    for (int n = 1; !query.Eof(); query.Next(), ++n) {
        if (n % 1024 == 0) {
            throwIfStopped(stop);
        }
        const QVariant item = query.Value(itemColumn);  // equal to one of the names
        EdgeRow row{query.Value(otherColumn), forward ? query.Value(ColNeeded) : QVariant()};
        key.clear();
        appendKey(key, item);
        appendKey(key, row.other);
        if (forward) {
            appendKey(key, row.needed);
            appendKey(key, query.Value(ColBuy));
        }
        if (seen.contains(key)) {
            continue;
        }
        seen.insert(key);
        const QString name = item.toString();
        if (itemRows == nullptr || name != lastItem) {
            itemRows = &rows[name];
            lastItem = name;
        }
        itemRows->push_back(std::move(row));
    }
}

}  // namespace

void TZEMItemList::walkSetBased(TDB& db, Direction direction, const std::stop_token& stop) {
    EdgeRows rows;
    int read = 0;  // the rows of every entry below this position are in rows
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
            if (!names.isEmpty()) {
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
