#pragma once

#include <QHash>
#include <QString>
#include <cstdint>
#include <deque>
#include <optional>
#include <stop_token>
#include <vector>

#include "recipes/RecipeDirection.h"
#include "recipes/SqlStatement.h"
#include "recipes/TZEMItem.h"
#include "recipes/TZEMItemSource.h"
#include "recipes/TZEMItemSrcList.h"

class RecipeTables;
class TDB;

// The recipe graph: every item reachable from the starting items of a search, each added item
// held once, with its edges. Starting items stand first, in the order of the search rows; the
// items a build adds follow in the order of their discovery.
//
// A build walks the list by position while it grows, so it ends whatever cycles the data holds: a
// name already in the list becomes an edge to that entry. The per-entry walk runs one statement per
// entry; the set-based walk reads the rows of all entries not yet read in one statement whenever
// the walk reaches such an entry, or, when those are many, the whole tables at once, joined in
// memory; both build the same list, entry by entry and edge by edge. WholeTables reads the whole
// tables from the first entry on, whatever their number.
class TZEMItemList {
public:
    using Direction = RecipeDirection;
    enum class Walk { SetBased, PerEntry, WholeTables };
    // Thrown by a build whose stop was requested; the list is then incomplete.
    struct Cancelled {};

    TZEMItemList() = default;
    TZEMItemList(const TZEMItemList&) = delete;
    TZEMItemList& operator=(const TZEMItemList&) = delete;

    int count() const { return static_cast<int>(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    TZEMItem& at(int position);
    const TZEMItem& at(int position) const;
    // Appends the item and returns its position. Items never move: references to them stay valid.
    int append(TZEMItem item);

    // The smallest position whose item has exactly this name (case and width significant), or -1.
    int IndexOfName(const QString& name) const;
    // Per position, a number shared by the names that are equal ignoring letter case. Made on the
    // first call after the list last changed; a search's worker makes it with the list, so that
    // the window does not.
    const std::vector<int>& caseKeys() const;
    // The positions of the starting items that have edges, in list order. Made, like caseKeys,
    // on the first call after the list last changed.
    const std::vector<int>& rootsWithEdges() const;

    // Forward build: the statement is a product search with the columns アイテム名 and 生産数;
    // edges lead to materials, counted by 必要数.
    void BuildFromProducts(const QString& dbPath, const SqlStatement& statement);
    // Reverse build: the statement is a material search with the column 材料; edges lead to the
    // products that use the item.
    void BuildFromMaterials(const QString& dbPath, const SqlStatement& statement);
    // Either build, by either walk, stopping with Cancelled soon after a stop is requested.
    void build(const QString& dbPath, const SqlStatement& statement, Direction direction,
               Walk walk = Walk::SetBased, const std::stop_token& stop = {});

private:
    void walkPerEntry(TDB& db, Direction direction, const std::stop_token& stop);
    void walkSetBased(TDB& db, const SqlStatement& statement, Direction direction,
                      qsizetype wholeTableNames, const std::stop_token& stop);
    // The starting items of the statement's last search from the kept tables, walked by them;
    // false, with nothing done, when the tables are not kept or that search is not.
    bool buildFromKeptSearch(TDB& db, const SqlStatement& statement, Direction direction,
                             const std::stop_token& stop);
    // idAt: the numbers of the names of the entries so far (-1 for a name the tables lack).
    void walkTables(RecipeTables& tables, int from, std::vector<int> idAt, Direction direction,
                    const std::stop_token& stop);
    // The position of the named item, appended as an added item if the list lacks it.
    int indexOrAppend(const QString& name);

    std::deque<TZEMItem> m_items;
    // The first position of each name among the first m_indexed items, caught up when asked.
    mutable QHash<QString, int> m_firstIndex;
    mutable int m_indexed = 0;
    mutable std::vector<int> m_caseKeys;
    mutable std::optional<std::vector<int>> m_rootsWithEdges;
};
