#include "recipes/ProductLoad.h"

#include <QHash>

#include "common/TZEMError.h"
#include "recipes/ItemSql.h"
#include "recipes/ManyItemRows.h"
#include "recipes/SqliteScan.h"
#include "recipes/TDB.h"

namespace ProductLoad {

namespace {

const QString Count = QStringLiteral("生産数");
const QString Catalogue = QStringLiteral("目録");
const QString Needed = QStringLiteral("必要数");

void take(ProfitProduct& p, const ProductRow& row) {
    p.standardCount = row.standardCountValue();
    p.catalogue = row.catalogue();
    p.unitPrice = row.unitPriceValue();
    p.found = true;
}

}  // namespace

QString ProductRow::yomi() const {
    const QString yomi = QStringLiteral("ふりがな");
    return m_query.isNull(yomi) ? QString() : m_query.asString(yomi);
}

QString ProductRow::standardCount() const {
    return m_query.asString(Count);
}

std::int32_t ProductRow::standardCountValue() const {
    return m_query.asInteger(Count);
}

QString ProductRow::skill() const {
    return m_query.asString(QStringLiteral("技能"));
}

QString ProductRow::catalogue() const {
    return m_query.asString(Catalogue);
}

QString ProductRow::unitPrice() const {
    return m_query.asString(ProfitCalc::unitPriceColumn(catalogue()));
}

std::int32_t ProductRow::unitPriceValue() const {
    return m_query.asInteger(ProfitCalc::unitPriceColumn(catalogue()));
}

QString MaterialRow::name() const {
    return m_query.asString(QStringLiteral("材料"));
}

QString MaterialRow::needed() const {
    return m_query.asString(Needed);
}

std::int32_t MaterialRow::neededValue() const {
    return m_query.asInteger(Needed);
}

std::int32_t MaterialRow::price() const {
    return m_query.asInteger(QStringLiteral("店買い"));
}

void read(TDB& db, const QString& name, const std::function<void(const ProductRow&)>& product,
          const std::function<void(const MaterialRow&)>& material) {
    for (TDBQuery& q = db.OpenQuery(SqlProductInfo(name)); !q.eof(); q.next()) {
        product(ProductRow(q));
    }
    for (TDBQuery& q = db.OpenQuery(SqlItemMaterials(name)); !q.eof(); q.next()) {
        material(MaterialRow(q));
    }
}

ProfitProduct profitProduct(TDB& db, const QString& name) {
    ProfitProduct p;
    p.name = name;
    read(
        db, name, [&p](const ProductRow& row) { take(p, row); },
        [&p](const MaterialRow& row) {
            p.materials.push_back(
                ProfitProduct::Material{row.name(), row.neededValue(), row.price()});
        });
    return p;
}

bool productRowsInTableOrder(TDB& db) {
    // Per index of a table: whether it is unique, and whether it is the name column alone
    // (whole, not partial); an index on more columns that starts with the name could order the
    // rows by the others.
    const auto indexes = [&db](const char16_t* table) {
        return SqliteScan(
            db, {QStringLiteral("SELECT l.\"unique\", l.partial = 0 AND (SELECT count(*) FROM "
                                "pragma_index_info(l.name)) = 1, (SELECT name FROM "
                                "pragma_index_info(l.name) WHERE seqno = 0) = ? FROM "
                                "pragma_index_list(?) AS l"),
                 {QStringLiteral("アイテム名"), QString::fromUtf16(table)}});
    };
    bool creatorIndexed = false;
    for (SqliteScan scan = indexes(u"ItemCreator"); scan.next();) {
        if (scan.integer(2) == 1) {
            if (scan.integer(1) != 1) {
                return false;
            }
            creatorIndexed = true;
        }
    }
    for (SqliteScan scan = indexes(u"ItemInfo"); creatorIndexed && scan.next();) {
        if (scan.integer(0) == 1 && scan.integer(1) == 1 && scan.integer(2) == 1) {
            return true;
        }
    }
    return false;
}

std::optional<std::vector<LoadedProduct>> profitProducts(TDB& db, const QStringList& names,
                                                         const std::stop_token& stop) {
    std::vector<LoadedProduct> loaded(std::size_t(names.size()));
    QHash<QString, std::size_t> position;  // of the first of equal names, which alone is read
    position.reserve(names.size());
    QStringList distinct;
    for (qsizetype i = 0; i < names.size(); ++i) {
        loaded[std::size_t(i)].product.name = names[i];
        if (!position.contains(names[i])) {
            position.insert(names[i], std::size_t(i));
            distinct << names[i];
        }
    }
    TDBQuery& q = db.OpenQuery(sqlProductInfoOfItems(distinct));
    const int nameColumn = q.position(QStringLiteral("アイテム名"));
    for (int n = 1; !q.eof(); q.next(), ++n) {
        if (n % 1024 == 0 && stop.stop_requested()) {
            return std::nullopt;
        }
        const auto at = position.constFind(q.value(nameColumn).toString());
        if (at == position.cend()) {
            continue;
        }
        LoadedProduct& p = loaded[*at];
        if (p.error.isEmpty()) {  // a product's reading ends at its first failure
            try {
                take(p.product, ProductRow(q));
            } catch (const TZEMError& e) {
                p.error = e.message();
            }
        }
    }
    ManyItemRows::EdgeRows materials;
    if (!ManyItemRows::read(db, RecipeDirection::Forward, sqlMaterialsOfItems(distinct), materials,
                            stop)) {
        return std::nullopt;
    }
    for (const std::size_t i : position) {
        LoadedProduct& p = loaded[i];
        if (!p.error.isEmpty()) {
            continue;
        }
        const auto rows = materials.constFind(p.product.name);
        if (rows == materials.cend()) {
            continue;
        }
        try {
            for (const ManyItemRows::EdgeRow& row : *rows) {
                p.product.materials.push_back(ProfitProduct::Material{textFromValue(row.other),
                                                                      integerFromValue(row.needed),
                                                                      integerFromValue(row.buy)});
            }
        } catch (const TZEMError& e) {
            p.error = e.message();
        }
    }
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        if (const std::size_t first = position.value(loaded[i].product.name); first != i) {
            loaded[i] = loaded[first];
        }
    }
    return loaded;
}

}  // namespace ProductLoad
