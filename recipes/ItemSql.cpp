#include "recipes/ItemSql.h"

#include <QJsonArray>
#include <QJsonDocument>

namespace {

const QString all = QStringLiteral("全て");

// The fixed text of a statement about one item, followed by the item's name.
SqlStatement aboutItem(const QString& text, const QString& name) {
    return SqlStatement{text + u'?', {name}};
}

// A like-pattern that finds the text anywhere in a name.
QString containing(const QString& text) {
    return u'%' + text + u'%';
}

// Many names as one bound value, a JSON array read back by json_each.
QString jsonArray(const QStringList& names) {
    return QString::fromUtf8(
        QJsonDocument(QJsonArray::fromStringList(names)).toJson(QJsonDocument::Compact));
}

}  // namespace

SqlStatement SqlJobList() {
    return SqlStatement{QStringLiteral("Select DISTINCT 生産職業   From ItemCreator "), {}};
}

SqlStatement SqlVersionList() {
    return SqlStatement{QStringLiteral("Select DISTINCT バージョン   From ItemInfo "), {}};
}

SqlStatement SqlEquipList() {
    return SqlStatement{QStringLiteral("Select DISTINCT 装備区分   From ItemKind "), {}};
}

SqlStatement SqlCatalogList(const QString& job, const QString& version) {
    SqlStatement s{QStringLiteral("Select DISTINCT 目録, MOKUROKU   From ItemCreator  Where "
                                  "生産職業 = ?   and MOKUROKU <> ''"),
                   {job}};
    if (version != all) {
        s.text += QStringLiteral(" And バージョン = ?");
        s.values << version;
    }
    s.text += QStringLiteral(" Order by MOKUROKU");
    return s;
}

SqlStatement SqlSkillList(const QString& catalog, const QString& version) {
    SqlStatement s{QStringLiteral("Select DISTINCT 技能, GINOU  From ItemCreator  Where 目録 = ?   "
                                  "and GINOU <> ''"),
                   {catalog}};
    if (version != all) {
        s.text += QStringLiteral(" And バージョン = ?");
        s.values << version;
    }
    s.text += QStringLiteral(" Order by GINOU ");
    return s;
}

SqlStatement SqlConditionSearch(const QString& job, const QString& catalog, const QString& skill,
                                const QString& version, const QString& equip) {
    SqlStatement s{QStringLiteral("Select distinct a.アイテム名, a.生産数   From ItemCreator a, "
                                  "ItemKind b, ItemInfo c  Where c.アイテム種類 = b.アイテム種類  "
                                  "  And a.アイテム名   = c.アイテム名 "),
                   {}};
    if (job != all) {
        s.text += QStringLiteral("  and a.生産職業 = ? ");
        s.values << job;
    }
    const auto condition = [&s](const QString& column, const QString& value) {
        s.text += QStringLiteral(" And ") + column + QStringLiteral(" = ? ");
        s.values << value;
    };
    if (catalog != all && !catalog.isEmpty()) {
        condition(QStringLiteral("a.目録"), catalog);
    }
    if (skill != all && !skill.isEmpty()) {
        condition(QStringLiteral("a.技能"), skill);
    }
    if (version != all) {
        condition(QStringLiteral("c.バージョン"), version);
    }
    if (equip != all) {
        condition(QStringLiteral("b.装備区分"), equip);
    }
    return s;
}

SqlStatement SqlNameSearch(const QString& text) {
    return SqlStatement{
        QStringLiteral("Select distinct アイテム名,生産数   From ItemCreator  Where "
                       "アイテム名 like ?"),
        {containing(text)}};
}

SqlStatement SqlMaterialSearch(const QString& text) {
    return SqlStatement{
        QStringLiteral("Select distinct 材料   From ItemCreateRelation  Where 材料 like ?"),
        {containing(text)}};
}

SqlStatement SqlItemMaterials(const QString& name) {
    return aboutItem(QStringLiteral("Select distinct b.アイテム名, b.材料, b.必要数, c.店買い   "
                                    "FROM ItemCreator AS a, ItemCreateRelation AS b, ItemInfo AS c "
                                    " WHERE c.アイテム名=b.材料   AND a.アイテム名=b.アイテム名   "
                                    "And a.アイテム名="),
                     name);
}

SqlStatement SqlMaterialUsers(const QString& name) {
    return aboutItem(
        QStringLiteral("Select distinct アイテム名   From ItemCreateRelation  Where 材料 = "),
        name);
}

SqlStatement SqlItemCount(const QString& name) {
    return aboutItem(QStringLiteral("Select 生産数   From ItemCreator  Where アイテム名="), name);
}

SqlStatement SqlItemYomi(const QString& name) {
    return aboutItem(QStringLiteral("Select ふりがな   FROM ItemInfo  WHERE アイテム名="), name);
}

SqlStatement SqlItemJobs(const QString& name) {
    return aboutItem(
        QStringLiteral("Select distinct 生産職業   From ItemCreator  Where アイテム名="), name);
}

SqlStatement SqlItemCatalog(const QString& name) {
    return aboutItem(QStringLiteral("Select distinct 目録   From ItemCreator  Where アイテム名 = "),
                     name);
}

SqlStatement SqlProductInfo(const QString& name) {
    return aboutItem(
        QStringLiteral("Select a.アイテム名, b.生産職業, b.目録, b.技能, b.生産数,     "
                       "  a.ふりがな, a.店売り, a.店買い  from ItemInfo AS a, "
                       "ItemCreator AS b  Where a.アイテム名 = b.アイテム名    And "
                       "a.アイテム名 = "),
        name);
}

// The one-item statements scan the relation rows of an item in table order and, for each, the
// ItemInfo rows of its material in table order; CROSS JOIN keeps that nesting here.
SqlStatement sqlMaterialsOfItems(const QStringList& names) {
    return SqlStatement{
        QStringLiteral("SELECT b.アイテム名, b.材料, b.必要数, c.店買い  FROM json_each(?) AS f "
                       "CROSS JOIN ItemCreateRelation AS b CROSS JOIN ItemInfo AS c  WHERE "
                       "b.アイテム名 = f.value   AND c.アイテム名 = b.材料   AND EXISTS (SELECT 1 "
                       "FROM ItemCreator AS a WHERE a.アイテム名 = b.アイテム名)"),
        {jsonArray(names)}};
}

// Per name, its ItemCreator rows in table order, each with the ItemInfo row of the name.
SqlStatement sqlProductInfoOfItems(const QStringList& names) {
    return SqlStatement{
        QStringLiteral("SELECT b.アイテム名, b.生産職業, b.目録, b.技能, b.生産数, a.ふりがな, "
                       "a.店売り, a.店買い  FROM json_each(?) AS f CROSS JOIN ItemCreator AS b "
                       "CROSS JOIN ItemInfo AS a  WHERE b.アイテム名 = f.value   AND "
                       "a.アイテム名 = b.アイテム名"),
        {jsonArray(names)}};
}

SqlStatement sqlUsersOfMaterials(const QStringList& names) {
    return SqlStatement{
        QStringLiteral("SELECT b.材料, b.アイテム名  FROM json_each(?) AS f CROSS JOIN "
                       "ItemCreateRelation AS b  WHERE b.材料 = f.value"),
        {jsonArray(names)}};
}

SqlStatement sqlFiefProducts() {
    return SqlStatement{
        QStringLiteral("Select distinct アイテム名   From ItemCreator  Where 目録 = "
                       "? Or 目録 = ?"),
        {QStringLiteral("知行産物"), QStringLiteral("知行名物")}};
}

namespace {

// "(?,?,…)" for the names.
SqlStatement amongNames(const QString& text, const QStringList& names) {
    QString marks(names.size() * 2 - 1, u',');
    for (qsizetype i = 0; i < names.size(); ++i) {
        marks[2 * i] = u'?';
    }
    return SqlStatement{text + u'(' + marks + u')', names};
}

}  // namespace

SqlStatement sqlProductRows(const QStringList& names) {
    return amongNames(QStringLiteral("Select b.アイテム名, b.生産職業, b.目録, b.技能, b.生産数  "
                                     "from ItemInfo AS a, ItemCreator AS b  Where a.アイテム名 = "
                                     "b.アイテム名    And b.アイテム名 In "),
                      names);
}

SqlStatement sqlMaterialRows(const QStringList& names) {
    return amongNames(QStringLiteral("Select distinct b.アイテム名, b.材料, b.必要数, c.店買い   "
                                     "FROM ItemCreateRelation AS b, ItemInfo AS c  WHERE "
                                     "c.アイテム名=b.材料   And b.アイテム名 In "),
                      names);
}

// NOT INDEXED: a covering index would hand the rows over in another order.
SqlStatement sqlAllRelations() {
    return SqlStatement{
        QStringLiteral("SELECT アイテム名, 材料, 必要数  FROM ItemCreateRelation NOT INDEXED"), {}};
}

SqlStatement sqlAllItemPrices() {
    return SqlStatement{QStringLiteral("SELECT アイテム名, 店買い  FROM ItemInfo NOT INDEXED"), {}};
}

SqlStatement sqlItemShopPrices() {
    return SqlStatement{QStringLiteral("SELECT アイテム名, 店買い, 店売り  FROM ItemInfo"), {}};
}

SqlStatement sqlAllProductNames() {
    return SqlStatement{QStringLiteral("SELECT アイテム名  FROM ItemCreator"), {}};
}
