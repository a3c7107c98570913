#include "recipes/RecipeBook.h"

#include "common/TZEMError.h"
#include "recipes/ItemSql.h"
#include "recipes/TDB.h"

namespace {

std::optional<std::int32_t> priceOf(const TDBQuery& q) {
    const QString column = QStringLiteral("店買い");
    if (q.IsNull(column)) {
        return std::nullopt;
    }
    try {
        return IntegerFromText(q.AsString(column));
    } catch (const TZEMError&) {
        return std::nullopt;
    }
}

}  // namespace

int RecipeBook::add(const QString& name) {
    const auto it = m_index.constFind(name);
    if (it != m_index.constEnd()) {
        return *it;
    }
    m_entries.push_back(Entry{name, {}, {}, std::nullopt});
    m_index.insert(name, count() - 1);
    return count() - 1;
}

RecipeBook RecipeBook::read(const QString& dbPath, const QString& product) {
    RecipeBook book;
    TDB db(dbPath);
    if (!db.Connect()) {
        throw TZEMError(QStringLiteral("DBの接続に失敗しました。"));
    }
    book.add(product);
    // Entries appended while walking are walked too; each name once, whatever cycles there are.
    for (int i = 0; i < book.count(); ++i) {
        const QString name = book.at(i).name;
        std::vector<Row> rows;
        for (TDBQuery& q = db.OpenQuery(SqlProductInfo(name)); !q.Eof(); q.Next()) {
            rows.push_back(
                Row{q.AsString(QStringLiteral("生産職業")), q.AsString(QStringLiteral("目録")),
                    q.AsString(QStringLiteral("技能")), q.AsInteger(QStringLiteral("生産数"))});
        }
        book.entry(i).rows = std::move(rows);
        if (!book.at(i).isProduct()) {
            continue;
        }
        for (TDBQuery& q = db.OpenQuery(SqlItemMaterials(name)); !q.Eof(); q.Next()) {
            const int m = book.add(q.AsString(QStringLiteral("材料")));
            if (!book.at(m).price) {
                book.entry(m).price = priceOf(q);
            }
            book.entry(i).materials.push_back(Material{m, q.AsInteger(QStringLiteral("必要数"))});
        }
    }
    return book;
}
