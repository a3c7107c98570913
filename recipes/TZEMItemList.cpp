#include "recipes/TZEMItemList.h"

#include "common/TZEMError.h"
#include "recipes/ItemSql.h"
#include "recipes/TDB.h"

namespace {

const QString ColName = QStringLiteral("アイテム名");
const QString ColCount = QStringLiteral("生産数");
const QString ColMaterial = QStringLiteral("材料");
const QString ColNeeded = QStringLiteral("必要数");

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
    build(dbPath, statement, Direction::Forward);
}

void TZEMItemList::BuildFromMaterials(const QString& dbPath, const SqlStatement& statement) {
    build(dbPath, statement, Direction::Reverse);
}

void TZEMItemList::build(const QString& dbPath, const SqlStatement& statement,
                         Direction direction) {
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
    }
    walk(db, direction);
}

void TZEMItemList::walk(TDB& db, Direction direction) {
    const QString& otherEnd = direction == Direction::Forward ? ColMaterial : ColName;
    // The count is read afresh on every step: entries appended by the walk are walked too.
    for (int i = 0; i < count(); ++i) {
        const QString name = at(i).Name;
        TDBQuery& query = db.OpenQuery(direction == Direction::Forward ? SqlItemMaterials(name)
                                                                       : SqlMaterialUsers(name));
        while (!query.Eof()) {
            const QString other = query.AsString(otherEnd);
            int j = IndexOfName(other);
            if (j < 0) {
                j = append(std::make_unique<TZEMItem>(other, 1, false));
            }
            const std::int32_t needed =
                direction == Direction::Forward ? query.AsInteger(ColNeeded) : 1;
            at(i).Sources.append(TZEMItemSource(j, needed));
            query.Next();
        }
    }
}
