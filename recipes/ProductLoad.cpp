#include "recipes/ProductLoad.h"

#include "recipes/ItemSql.h"
#include "recipes/ProfitCalc.h"
#include "recipes/TDB.h"

namespace ProductLoad {

namespace {

const QString Count = QStringLiteral("生産数");
const QString Catalogue = QStringLiteral("目録");
const QString Needed = QStringLiteral("必要数");

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
        db, name,
        [&p](const ProductRow& row) {
            p.standardCount = row.standardCountValue();
            p.catalogue = row.catalogue();
            p.unitPrice = row.unitPriceValue();
            p.found = true;
        },
        [&p](const MaterialRow& row) {
            p.materials.push_back(
                ProfitProduct::Material{row.name(), row.neededValue(), row.price()});
        });
    return p;
}

}  // namespace ProductLoad
