#include "recipes/TZEMItemList.h"

#include <QScopeGuard>
#include <QVariant>
#include <algorithm>

#include "common/TZEMError.h"
#include "recipes/CaseKeys.h"
#include "recipes/ItemSql.h"
#include "recipes/ManyItemRows.h"
#include "recipes/RecipeTableCache.h"
#include "recipes/RecipeTables.h"
#include "recipes/TDB.h"

namespace {

const QString ColName = QStringLiteral("アイテム名");
const QString ColCount = QStringLiteral("生産数");
const QString ColMaterial = QStringLiteral("材料");
const QString ColNeeded = QStringLiteral("必要数");

void throwIfStopped(const std::stop_token& stop) {
    if (stop.stop_requested()) {
        throw TZEMItemList::Cancelled{};
    }
}

}  // namespace

TZEMItem& TZEMItemList::at(int position) {
    m_rootsWithEdges.reset();  // the caller may add edges
    return m_items.at(static_cast<std::size_t>(position));
}

const TZEMItem& TZEMItemList::at(int position) const {
    return m_items.at(static_cast<std::size_t>(position));
}

int TZEMItemList::append(TZEMItem item) {
    m_rootsWithEdges.reset();
    m_items.push_back(std::move(item));
    return count() - 1;
}

int TZEMItemList::IndexOfName(const QString& name) const {
    for (; m_indexed < count(); ++m_indexed) {
        const QString& added = at(m_indexed).Name;
        if (!m_firstIndex.contains(added)) {
            m_firstIndex.insert(added, m_indexed);
        }
    }
    return m_firstIndex.value(name, -1);
}

const std::vector<int>& TZEMItemList::caseKeys() const {
    if (m_caseKeys.size() != m_items.size()) {
        m_caseKeys.clear();
        m_caseKeys.reserve(m_items.size());
        CaseKeys keys(count());
        for (const auto& item : m_items) {
            m_caseKeys.push_back(keys.of(item.Name));
        }
    }
    return m_caseKeys;
}

const std::vector<int>& TZEMItemList::rootsWithEdges() const {
    if (!m_rootsWithEdges) {
        m_rootsWithEdges.emplace();
        for (int i = 0; i < count(); ++i) {
            if (at(i).IsRoot && !at(i).Sources.isEmpty()) {
                m_rootsWithEdges->push_back(i);
            }
        }
    }
    return *m_rootsWithEdges;
}

void TZEMItemList::BuildFromProducts(const QString& dbPath, const SqlStatement& statement) {
    build(dbPath, statement, Direction::Forward);
}

void TZEMItemList::BuildFromMaterials(const QString& dbPath, const SqlStatement& statement) {
    build(dbPath, statement, Direction::Reverse);
}

void TZEMItemList::build(const QString& dbPath, const SqlStatement& statement, Direction direction,
                         Walk walk, const std::stop_token& stop) {
    TDB db(dbPath);  // freed on every way out, failures included
    db.connectOrFail();
    if (walk != Walk::PerEntry && buildFromKeptSearch(db, statement, direction, stop)) {
        return;
    }
    TDBQuery& query = db.OpenQuery(statement);
    while (!query.eof()) {
        if (direction == Direction::Forward) {
            const std::int32_t produced = query.asInteger(ColCount);
            append(TZEMItem(query.asString(ColName), produced, true));
        } else {
            append(TZEMItem(query.asString(ColMaterial), 1, true));
        }
        query.next();
        throwIfStopped(stop);
    }
    // Reading whole tables costs what the database holds, a statement what it finds: a wave of
    // this many names finds much of a database.
    constexpr qsizetype wholeTablesFrom = 2000;
    if (walk != Walk::PerEntry && !ManyItemRows::namesCompareAsText(db)) {
        walk = Walk::PerEntry;
    }
    switch (walk) {
        case Walk::SetBased:
            walkSetBased(db, statement, direction, wholeTablesFrom, stop);
            break;
        case Walk::WholeTables:
            walkSetBased(db, statement, direction, 0, stop);
            break;
        case Walk::PerEntry:
            walkPerEntry(db, direction, stop);
            break;
    }
}

int TZEMItemList::indexOrAppend(const QString& name) {
    const int j = IndexOfName(name);
    return j >= 0 ? j : append(TZEMItem(name, 1, false));
}

void TZEMItemList::walkPerEntry(TDB& db, Direction direction, const std::stop_token& stop) {
    const QString& otherEnd = direction == Direction::Forward ? ColMaterial : ColName;
    // The count is read afresh on every step: entries appended by the walk are walked too.
    for (int i = 0; i < count(); ++i) {
        throwIfStopped(stop);
        const QString name = at(i).Name;
        TDBQuery& query = db.OpenQuery(direction == Direction::Forward ? SqlItemMaterials(name)
                                                                       : SqlMaterialUsers(name));
        while (!query.eof()) {
            const int j = indexOrAppend(query.asString(otherEnd));
            const std::int32_t needed =
                direction == Direction::Forward ? query.asInteger(ColNeeded) : 1;
            at(i).Sources.append(TZEMItemSource(j, needed));
            query.next();
        }
    }
}

bool TZEMItemList::buildFromKeptSearch(TDB& db, const SqlStatement& statement,
                                       Direction direction, const std::stop_token& stop) {
    std::unique_ptr<RecipeTables> tables = RecipeTableCache::takeKept(db, direction);
    const auto keep = qScopeGuard([&tables] { RecipeTableCache::giveBack(std::move(tables)); });
    const std::vector<RecipeTables::StartingRow>* rows =
        tables ? tables->keptSearch(statement) : nullptr;
    if (rows == nullptr) {
        return false;
    }
    std::vector<int> idAt;
    idAt.reserve(rows->size());
    for (const RecipeTables::StartingRow& row : *rows) {
        append(TZEMItem(tables->name(row.id), row.produced, true));
        idAt.push_back(row.id);
    }
    walkTables(*tables, 0, std::move(idAt), direction, stop);
    return true;
}

void TZEMItemList::walkSetBased(TDB& db, const SqlStatement& statement, Direction direction,
                                qsizetype wholeTableNames, const std::stop_token& stop) {
    using ManyItemRows::boundAsItStands;
    ManyItemRows::EdgeRows rows;
    int read = 0;  // the rows of every entry below this position are in rows
    bool tablesRefused = false;
    for (int i = 0; i < count(); ++i) {
        throwIfStopped(stop);
        if (i == read) {
            // The wave counted with its repeated names: whole tables pay off long before.
            if (!tablesRefused && count() - read >= wholeTableNames &&
                std::all_of(m_items.begin(), m_items.end(),
                            [](const TZEMItem& item) { return boundAsItStands(item.Name); })) {
                if (auto tables = RecipeTableCache::take(db, direction, stop)) {
                    const auto keep = qScopeGuard(
                        [&tables] { RecipeTableCache::giveBack(std::move(tables)); });
                    std::vector<int> idAt;
                    idAt.reserve(std::size_t(count()));
                    for (const TZEMItem& item : m_items) {
                        idAt.push_back(tables->find(item.Name));
                    }
                    // A search walked from its first entry is kept whole, as its numbers.
                    if (i == 0 && std::find(idAt.begin(), idAt.end(), -1) == idAt.end()) {
                        std::vector<RecipeTables::StartingRow> starting;
                        starting.reserve(idAt.size());
                        for (std::size_t p = 0; p < idAt.size(); ++p) {
                            starting.push_back({idAt[p], m_items[p].Count});
                        }
                        tables->keepSearch(statement, std::move(starting));
                    }
                    walkTables(*tables, i, std::move(idAt), direction, stop);
                    return;
                }
                tablesRefused = true;
            }
            QStringList names;
            QStringList oneByOne;
            for (; read < count(); ++read) {
                const QString& name = at(read).Name;
                if (!rows.contains(name)) {
                    rows.insert(name, {});
                    (boundAsItStands(name) ? names : oneByOne) << name;
                }
            }
            const bool forward = direction == Direction::Forward;
            if (!names.isEmpty()) {
                if (!ManyItemRows::read(
                        db, direction,
                        forward ? sqlMaterialsOfItems(names) : sqlUsersOfMaterials(names), rows,
                        stop)) {
                    throw Cancelled{};
                }
            }
            for (const QString& name : oneByOne) {
                if (!ManyItemRows::read(db, direction,
                                        forward ? SqlItemMaterials(name) : SqlMaterialUsers(name),
                                        rows, stop, name)) {
                    throw Cancelled{};
                }
            }
        }
        for (const ManyItemRows::EdgeRow& row : *rows.constFind(at(i).Name)) {
            const int j = indexOrAppend(textFromValue(row.other));
            const std::int32_t needed =
                direction == Direction::Forward ? integerFromValue(row.needed) : 1;
            at(i).Sources.append(TZEMItemSource(j, needed));
        }
    }
}

// Walks the entries from the position on by the numbers of the tables' names: an entry's number
// stands for its name, which it equals exactly.
void TZEMItemList::walkTables(RecipeTables& tables, int from, std::vector<int> idAt,
                              Direction direction, const std::stop_token& stop) {
    std::vector<int> positionOf(std::size_t(tables.count()), -1);  // the first entry of a name
    idAt.reserve(std::size_t(std::max(count(), tables.count())));
    for (int p = 0; p < count(); ++p) {
        const int id = idAt[std::size_t(p)];
        if (id >= 0 && positionOf[std::size_t(id)] < 0) {
            positionOf[std::size_t(id)] = p;
        }
    }
    for (int i = from; i < count(); ++i) {
        if (i % 4096 == 0) {
            throwIfStopped(stop);
        }
        const int id = idAt[std::size_t(i)];
        if (id < 0) {
            continue;
        }
        TZEMItemSrcList& sources = at(i).Sources;
        for (const RecipeTables::Edge& edge : tables.edgesOf(id)) {
            int& j = positionOf[std::size_t(edge.other)];
            if (j < 0) {
                j = append(TZEMItem(tables.name(edge.other), 1, false));
                idAt.push_back(edge.other);
            }
            sources.append(TZEMItemSource(j, direction == Direction::Forward ? edge.needed : 1));
        }
    }
    // The tables keep the names' case keys from one search to the next.
    if (std::find(idAt.begin(), idAt.end(), -1) == idAt.end()) {
        const std::vector<int>& keys = tables.caseKeys();
        m_caseKeys.clear();
        m_caseKeys.reserve(idAt.size());
        for (const int id : idAt) {
            m_caseKeys.push_back(keys[std::size_t(id)]);
        }
    }
}
