#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <stop_token>
#include <vector>

#include "recipes/ProfitCalc.h"

class TDB;
class TDBQuery;

// Reading one product for the profit figures: the rows of the product statement (the last one
// counts), then its direct materials in statement order. Each row is handed over as it arrives
// and each column read when asked for, so a reader that shows what it reads at once keeps what
// it showed when a later column or row fails to read.
namespace ProductLoad {

class ProductRow {
public:
    explicit ProductRow(const TDBQuery& query) : m_query(query) {}

    QString yomi() const;  // empty when NULL
    QString standardCount() const;
    std::int32_t standardCountValue() const;
    QString skill() const;
    QString catalogue() const;
    // The unit sale price: 店買い for a 知行産物, 店売り otherwise.
    QString unitPrice() const;
    std::int32_t unitPriceValue() const;

private:
    const TDBQuery& m_query;
};

class MaterialRow {
public:
    explicit MaterialRow(const TDBQuery& query) : m_query(query) {}

    QString name() const;
    QString needed() const;
    std::int32_t neededValue() const;
    std::int32_t price() const;  // 店買い

private:
    const TDBQuery& m_query;
};

// Runs both statements on a connected database.
void read(TDB& db, const QString& name, const std::function<void(const ProductRow&)>& product,
          const std::function<void(const MaterialRow&)>& material);

// The product with its materials, as the ranking and the calculator's arithmetic take it.
ProfitProduct profitProduct(TDB& db, const QString& name);

// Whether the product statement meets a product's rows in table order, as the set-based read
// does: through a single-column index on ItemCreator's names, with at most one ItemInfo row per
// name (a unique index). Without them SQLite may order the rows by a temporary index of its own,
// and which row comes last is its choice.
bool productRowsInTableOrder(TDB& db);

// A product as profitProduct reads it, or the message of the failure that ends its reading.
struct LoadedProduct {
    ProfitProduct product;
    QString error;
};
// The products of the names, each as profitProduct reads it alone, in one statement for all
// products and one for all materials. The names must be bound as they stand, and
// the database must compare names as text (ManyItemRows). A failing statement raises its error;
// a stop request returns nothing.
std::optional<std::vector<LoadedProduct>> profitProducts(TDB& db, const QStringList& names,
                                                         const std::stop_token& stop);

}  // namespace ProductLoad
