#include "recipes/RecipeBook.h"

#include "common/TZEMError.h"
#include "recipes/ItemSql.h"
#include "recipes/TDB.h"

namespace {

std::optional<std::int32_t> priceOf(const TDBQuery& q) {
    const QString column = QStringLiteral("店買い");
    if (q.isNull(column)) {
        return std::nullopt;
    }
    try {
        return integerFromText(q.asString(column));
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

namespace {

// Names go to the database in batches of one size, so that the statement is prepared once.
constexpr qsizetype Batch = 200;

// Runs the statement for the names in batches and hands every row to `row`.
template <class Build, class Row>
void eachRow(TDB& db, const QStringList& names, Build build, Row row) {
    for (qsizetype from = 0; from < names.size(); from += Batch) {
        QStringList batch = names.mid(from, Batch);
        while (batch.size() < Batch) {
            batch << batch.back();  // repeating a name finds nothing more
        }
        for (TDBQuery& q = db.OpenQuery(build(batch)); !q.eof(); q.next()) {
            row(q);
        }
    }
}

}  // namespace

RecipeBook RecipeBook::read(const QString& dbPath, const QString& product) {
    RecipeBook book;
    TDB db(dbPath);
    db.connectOrFail();
    const QString name = QStringLiteral("アイテム名");
    book.add(product);
    // Level by level: the items found on one level are read together, each name once, whatever
    // cycles the recipes hold.
    for (int first = 0; first < book.count();) {
        const int last = book.count();
        QStringList level;
        for (int i = first; i < last; ++i) {
            level << book.at(i).name;
        }
        eachRow(db, level, sqlProductRows, [&](const TDBQuery& q) {
            const int i = book.indexOf(q.asString(name));
            book.entry(i).rows.push_back(
                Row{q.asString(QStringLiteral("生産職業")), q.asString(QStringLiteral("目録")),
                    q.asString(QStringLiteral("技能")), q.asInteger(QStringLiteral("生産数"))});
        });
        QStringList products;
        for (int i = first; i < last; ++i) {
            if (book.at(i).isProduct()) {
                products << book.at(i).name;
            }
        }
        eachRow(db, products, sqlMaterialRows, [&](const TDBQuery& q) {
            const int i = book.indexOf(q.asString(name));
            const int m = book.add(q.asString(QStringLiteral("材料")));
            if (!book.at(m).price) {
                book.entry(m).price = priceOf(q);
            }
            book.entry(i).materials.push_back(Material{m, q.asInteger(QStringLiteral("必要数"))});
        });
        first = last;
    }
    return book;
}
