#include "recipes/ManyItemRows.h"

#include <algorithm>

#include "recipes/SqlStatement.h"
#include "recipes/SqliteScan.h"
#include "recipes/TDB.h"

namespace ManyItemRows {

namespace {

const QString ColName = QStringLiteral("アイテム名");
const QString ColMaterial = QStringLiteral("材料");
const QString ColNeeded = QStringLiteral("必要数");
const QString ColBuy = QStringLiteral("店買い");

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

}  // namespace

bool boundAsItStands(const QString& name) {
    return name.isValidUtf16() &&
           !(name.startsWith(QChar(0xFEFF)) || name.startsWith(QChar(0xFFFE)));
}

bool namesCompareAsText(TDB& db) {
    SqliteScan schema(db, {QStringLiteral("SELECT sql FROM sqlite_master WHERE lower(name) IN "
                                          "('itemcreator', 'iteminfo', 'itemcreaterelation')"),
                           {}});
    while (schema.next()) {
        const std::string_view sql = schema.isText(0) ? schema.text(0) : std::string_view();
        if (QString::fromUtf8(sql.data(), qsizetype(sql.size()))
                .contains(QStringLiteral("collate"), Qt::CaseInsensitive)) {
            return false;
        }
    }
    return true;
}

bool read(TDB& db, RecipeDirection direction, const SqlStatement& statement, EdgeRows& rows,
          const std::stop_token& stop, const QString& item) {
    const bool forward = direction == RecipeDirection::Forward;
    TDBQuery& query = db.OpenQuery(statement);
    const int itemColumn = item.isNull() ? query.position(forward ? ColName : ColMaterial) : -1;
    const int otherColumn = query.position(forward ? ColMaterial : ColName);
    const int neededColumn = forward ? query.position(ColNeeded) : -1;
    const int buyColumn = forward ? query.position(ColBuy) : -1;
    QString lastItem;
    std::vector<EdgeRow>* itemRows = item.isNull() ? nullptr : &rows[item];
    for (int n = 1; !query.eof(); query.next(), ++n) {
        if (n % 1024 == 0) {
            if (stop.stop_requested()) {
                return false;
            }
        }
        if (itemColumn >= 0) {
            const QString rowItem = query.value(itemColumn).toString();  // one of the names
            if (itemRows == nullptr || rowItem != lastItem) {
                itemRows = &rows[rowItem];
                lastItem = rowItem;
            }
        }
        addDistinct(*itemRows, EdgeRow{query.value(otherColumn),
                                       forward ? query.value(neededColumn) : QVariant(),
                                       forward ? query.value(buyColumn) : QVariant(), 0});
    }
    return true;
}

}  // namespace ManyItemRows
