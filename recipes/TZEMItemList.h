#pragma once

#include <QHash>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "recipes/SqlStatement.h"
#include "recipes/TZEMItem.h"
#include "recipes/TZEMItemSource.h"
#include "recipes/TZEMItemSrcList.h"

class TDB;

// The recipe graph: every item reachable from the starting items of a search, each added item
// held once, with its edges. Starting items stand first, in the order of the search rows; the
// items a build adds follow in the order of their discovery.
//
// A build walks the list by position while it grows and runs one statement per entry, so it ends
// whatever cycles the data holds: a name already in the list becomes an edge to that entry.
class TZEMItemList {
public:
    TZEMItemList() = default;
    TZEMItemList(const TZEMItemList&) = delete;
    TZEMItemList& operator=(const TZEMItemList&) = delete;

    int count() const { return static_cast<int>(m_items.size()); }
    bool isEmpty() const { return m_items.empty(); }
    TZEMItem& at(int position);
    const TZEMItem& at(int position) const;
    // Appends the item and returns its position.
    int append(std::unique_ptr<TZEMItem> item);

    // The smallest position whose item has exactly this name (case and width significant), or -1.
    int IndexOfName(const QString& name) const;

    // Forward build: the statement is a product search with the columns アイテム名 and 生産数;
    // edges lead to materials, counted by 必要数.
    void BuildFromProducts(const QString& dbPath, const SqlStatement& statement);
    // Reverse build: the statement is a material search with the column 材料; edges lead to the
    // products that use the item.
    void BuildFromMaterials(const QString& dbPath, const SqlStatement& statement);

private:
    enum class Direction { Forward, Reverse };
    void build(const QString& dbPath, const SqlStatement& statement, Direction direction);
    void walk(TDB& db, Direction direction);

    std::vector<std::unique_ptr<TZEMItem>> m_items;
    QHash<QString, int> m_firstIndex;
};
