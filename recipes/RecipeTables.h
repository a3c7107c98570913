#pragma once

#include <QString>
#include <cstdint>
#include <memory>
#include <span>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "common/FileIdentity.h"
#include "recipes/RecipeDirection.h"
#include "recipes/SqlStatement.h"

class TDB;

// The recipe edges of every item of the database, from one pass over each whole table joined in
// memory as the one-item statements join the tables, with every name held once under a number.
// An item's edges are those of its one-item statement, in its order: its relation rows in table
// order and, forward, one edge per distinct shop price of the material, without the rows that the
// statement's DISTINCT drops.
class RecipeTables {
public:
    struct Edge {
        int other;            // the number of the material (forward) or product (reverse)
        std::int32_t needed;  // forward only
    };

    // For tables whose columns compare names by their bytes (no collation). Null when the tables
    // hold what only the statements compare and convert as the walk must: a name that is no valid
    // UTF-8 text or starts with a byte order mark, a product name that is NULL, a needed count
    // that is no 32-bit integer, a price that is no integer, or a read that fails. The statements
    // then read those rows and report what fails, as the walk reaches it.
    static std::unique_ptr<RecipeTables> read(TDB& db, RecipeDirection direction,
                                              const std::stop_token& stop);

    int count() const { return int(m_start.size()) - 1; }
    // The number of the name, or -1 for a name the tables do not hold.
    int find(const QString& name) const;
    // Made once, on first use.
    const QString& name(int id);
    std::span<const Edge> edgesOf(int id) const;
    // Per number, a number shared by the names that are equal ignoring letter case, as
    // QString::toCaseFolded folds them. Made once, on first use.
    const std::vector<int>& caseKeys();

    // The starting rows of the last search that walked these tables from its first entry, kept
    // for the same search of the same file: a name's number and its count (forward, 生産数).
    struct StartingRow {
        int id;
        std::int32_t produced;
    };
    void keepSearch(const SqlStatement& statement, std::vector<StartingRow> rows);
    // Null for another statement.
    const std::vector<StartingRow>* keptSearch(const SqlStatement& statement) const;

    // The file and its state the tables were read from, for keeping them (RecipeTableCache);
    // an empty source when unknown.
    void setOrigin(const QString& source, const FileIdentity& identity, RecipeDirection direction) {
        m_source = source;
        m_identity = identity;
        m_direction = direction;
    }
    const QString& source() const { return m_source; }
    const FileIdentity& identity() const { return m_identity; }
    RecipeDirection direction() const { return m_direction; }

private:
    RecipeTables() = default;
    struct Builder;

    int find(std::string_view bytes, std::size_t hash) const;
    int add(std::string_view bytes);
    std::string_view bytes(int id) const;
    void place(int id, std::size_t hash);
    void growSlots();

    // Names back to back, each id's from m_start[id] to m_start[id + 1].
    std::string m_bytes;
    std::vector<std::uint32_t> m_start{0};
    // Open addressing: 0 for a free slot, else the hash's upper half above id + 1.
    std::vector<std::uint64_t> m_slots;
    std::vector<QString> m_names;
    std::vector<int> m_caseKeys;
    SqlStatement m_searchStatement;
    std::vector<StartingRow> m_searchRows;
    bool m_searchKept = false;
    // An id's edges, from m_firstEdge[id] to m_firstEdge[id + 1].
    std::vector<std::uint32_t> m_firstEdge;
    std::vector<Edge> m_edges;
    QString m_source;
    FileIdentity m_identity;
    RecipeDirection m_direction = RecipeDirection::Forward;
};
