#include "recipes/ProductLoad.h"

#include <QHash>
#include <algorithm>
#include <memory>
#include <string>

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

// Row: a ProductRow or a PlainProductRow.
template <typename Row>
void take(ProfitProduct& p, const Row& row) {
    p.standardCount = row.standardCountValue();
    p.catalogue = row.catalogue();
    p.unitPrice = row.unitPriceValue();
    p.found = true;
}

// A value that Qt SQL and the conversions of TDBQuery alone read as the one-product statements
// do: anything but text that is one QString's UTF-8 and an integer within 32 bits.
struct NotPlain {};

template <typename Value>
Value plain(std::optional<Value> value) {
    if (!value) {
        throw NotPlain{};
    }
    return *std::move(value);
}

// The product statement's rows straight from SQLite, read as ProductRow reads them.
class PlainProductRow {
public:
    explicit PlainProductRow(const SqliteScan& scan)
        : m_scan(scan),
          m_name(scan.column("アイテム名")),
          m_count(scan.column("生産数")),
          m_catalogue(scan.column("目録")),
          m_sell(scan.column("店売り")),
          m_buy(scan.column("店買い")) {}

    QString name() const { return plain(m_scan.plainText(m_name)); }
    std::int32_t standardCountValue() const { return plain(m_scan.plainInteger(m_count)); }
    QString catalogue() const { return plain(m_scan.plainText(m_catalogue)); }
    std::int32_t unitPriceValue() const {
        const bool buy = ProfitCalc::unitPriceColumn(catalogue()) == QStringLiteral("店買い");
        return plain(m_scan.plainInteger(buy ? m_buy : m_sell));
    }

private:
    const SqliteScan& m_scan;
    int m_name, m_count, m_catalogue, m_sell, m_buy;
};

// The materials statement's rows straight from SQLite, as MaterialRow reads them.
class PlainMaterialRow {
public:
    explicit PlainMaterialRow(const SqliteScan& scan)
        : m_scan(scan),
          m_product(scan.column("アイテム名")),
          m_name(scan.column("材料")),
          m_needed(scan.column("必要数")),
          m_price(scan.column("店買い")) {}

    std::string_view productBytes() const {
        if (!m_scan.isText(m_product)) {
            throw NotPlain{};
        }
        return m_scan.text(m_product);
    }
    QString product() const { return plain(m_scan.plainText(m_product)); }
    ProfitProduct::Material material() const {
        return {plain(m_scan.plainText(m_name)), plain(m_scan.plainInteger(m_needed)),
                plain(m_scan.plainInteger(m_price))};
    }

private:
    const SqliteScan& m_scan;
    int m_product, m_name, m_needed, m_price;
};

// The products being read: one entry per name, read at the first of equal names.
struct Products {
    explicit Products(const QStringList& names) : loaded(std::size_t(names.size())) {
        position.reserve(names.size());
        for (qsizetype i = 0; i < names.size(); ++i) {
            loaded[std::size_t(i)].product.name = names[i];
            if (!position.contains(names[i])) {
                position.insert(names[i], std::size_t(i));
                distinct << names[i];
            }
        }
    }

    std::vector<LoadedProduct> loaded;
    QHash<QString, std::size_t> position;  // of the first of equal names
    QStringList distinct;
};

// Both statements straight from SQLite, for rows that need no conversion (else NotPlain), the
// materials' DISTINCT applied to their names, counts and prices. False on a stop request.
bool readPlain(TDB& db, Products& products, const std::stop_token& stop) {
    // The materials' ItemInfo rows are met in the order of the products, all over the table: a
    // cache that holds the table's pages reads each page once (the connection's alone, freed
    // with it).
    SqliteScan(db, {QStringLiteral("PRAGMA cache_size = -16384"), {}}).next();
    {
        SqliteScan scan(db, sqlProductInfoOfItems(products.distinct));
        const PlainProductRow row(scan);
        for (int n = 1; scan.next(); ++n) {
            if (n % 1024 == 0 && stop.stop_requested()) {
                return false;
            }
            if (const auto at = products.position.constFind(row.name());
                at != products.position.cend()) {
                take(products.loaded[*at].product, row);
            }
        }
    }
    SqliteScan scan(db, sqlMaterialsOfItems(products.distinct));
    const PlainMaterialRow row(scan);
    std::string lastProduct;
    std::vector<ProfitProduct::Material>* materials = nullptr;
    for (int n = 1; scan.next(); ++n) {
        if (n % 1024 == 0 && stop.stop_requested()) {
            return false;
        }
        if (materials == nullptr || row.productBytes() != lastProduct) {
            const auto at = products.position.constFind(row.product());
            materials = at != products.position.cend() ? &products.loaded[*at].product.materials
                                                       : nullptr;
            lastProduct.assign(row.productBytes());
        }
        if (materials == nullptr) {
            continue;
        }
        ProfitProduct::Material m = row.material();
        if (std::none_of(materials->begin(), materials->end(), [&m](const auto& seen) {
                return seen.name == m.name && seen.needed == m.needed && seen.price == m.price;
            })) {
            materials->push_back(std::move(m));
        }
    }
    return true;
}

// Both statements through Qt SQL, each value converted as the one-product reader converts it,
// the materials' DISTINCT as ManyItemRows applies it. False on a stop request.
bool readConverting(TDB& db, Products& products, const std::stop_token& stop) {
    std::vector<LoadedProduct>& loaded = products.loaded;
    TDBQuery& q = db.OpenQuery(sqlProductInfoOfItems(products.distinct));
    const int nameColumn = q.position(QStringLiteral("アイテム名"));
    for (int n = 1; !q.eof(); q.next(), ++n) {
        if (n % 1024 == 0 && stop.stop_requested()) {
            return false;
        }
        const auto at = products.position.constFind(q.value(nameColumn).toString());
        if (at == products.position.cend()) {
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
    if (!ManyItemRows::read(db, RecipeDirection::Forward,
                            sqlMaterialsOfItems(products.distinct), materials, stop)) {
        return false;
    }
    for (const std::size_t i : products.position) {
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
    return true;
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
    auto products = std::make_unique<Products>(names);
    bool read = false;
    try {
        read = readPlain(db, *products, stop);
    } catch (const NotPlain&) {
        products = std::make_unique<Products>(names);
        read = readConverting(db, *products, stop);
    }
    if (!read) {
        return std::nullopt;
    }
    std::vector<LoadedProduct>& loaded = products->loaded;
    for (std::size_t i = 0; i < loaded.size(); ++i) {
        if (const std::size_t first = products->position.value(loaded[i].product.name);
            first != i) {
            loaded[i] = loaded[first];
        }
    }
    return std::move(loaded);
}

}  // namespace ProductLoad
