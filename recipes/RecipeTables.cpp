#include "recipes/RecipeTables.h"

#include <functional>
#include <unordered_map>

#include "common/TZEMError.h"
#include "recipes/CaseKeys.h"
#include "recipes/ItemSql.h"
#include "recipes/SqliteScan.h"
#include "recipes/TDB.h"
#include "recipes/TZEMItemList.h"

namespace {

// Something in the tables that the in-memory join does not take as the statements would.
struct NotJoinable {};

std::size_t hashOf(std::string_view bytes) {
    return std::hash<std::string_view>{}(bytes);
}

constexpr std::uint64_t TagMask = 0xFFFF'FFFF'0000'0000;

// A shop price as DISTINCT tells prices apart: NULLs alike, integers by value.
struct Price {
    std::int64_t value = 0;
    bool null = true;
    bool operator==(const Price&) const = default;
};

// One relation row kept by the join: the item whose statement returns it, the other end.
struct Row {
    int item;
    int other;
    std::int32_t needed;
};

}  // namespace

// Reads the tables into a RecipeTables: names numbered as they come, rows kept per the join.
struct RecipeTables::Builder {
    RecipeTables& tables;
    TDB& db;
    const std::stop_token& stop;
    std::vector<Row> rows;

    // Calls each for every row of the statement, in table order.
    template <typename Each>
    void scan(const SqlStatement& statement, Each each) {
        SqliteScan scan(db, statement);
        for (int n = 1; scan.next(); ++n) {
            if (n % 4096 == 0 && stop.stop_requested()) {
                throw TZEMItemList::Cancelled{};
            }
            each(scan);
        }
    }

    // A name column's number, added if new; -1 for NULL, which equals nothing. Rows of one item
    // mostly come together: the last name of the column is taken without a look-up.
    struct NameColumn {
        explicit NameColumn(int c) : column(c) {}
        int column;
        std::string last;
        int lastId = -1;
    };
    int name(const SqliteScan& scan, NameColumn& c, bool addNew) {
        if (scan.isNull(c.column)) {
            return -1;
        }
        if (!scan.isText(c.column)) {
            throw NotJoinable{};
        }
        const std::string_view text = scan.text(c.column);
        if (c.lastId >= 0 && text == c.last) {
            return c.lastId;
        }
        const int id = addNew ? tables.add(text) : tables.find(text, hashOf(text));
        c.last.assign(text);
        c.lastId = id;
        return id;
    }

    static std::int32_t needed(const SqliteScan& scan, int column) {
        if (!scan.isInteger(column)) {
            throw NotJoinable{};
        }
        const std::int64_t value = scan.integer(column);
        if (value < INT32_MIN || value > INT32_MAX) {
            throw NotJoinable{};
        }
        return std::int32_t(value);
    }

    // Forward: a product's materials, as the materials statement joins ItemCreator, the relation
    // rows and ItemInfo.
    void readForward() {
        std::vector<bool> isProduct;
        NameColumn creator{0};
        scan(sqlAllProductNames(), [&](const SqliteScan& r) {
            const int id = name(r, creator, true);
            if (id >= 0) {
                isProduct.resize(std::max(isProduct.size(), std::size_t(id) + 1));
                isProduct[std::size_t(id)] = true;
            }
        });
        // Per name: its first price and how many distinct ones; the second and later apart.
        std::vector<Price> firstPrice;
        std::vector<int> priceCount;
        std::unordered_map<int, std::vector<Price>> laterPrices;
        NameColumn info{0};
        scan(sqlAllItemPrices(), [&](const SqliteScan& r) {
            const int id = name(r, info, true);
            if (id < 0) {
                return;
            }
            Price price;
            if (!r.isNull(1)) {
                if (!r.isInteger(1)) {
                    throw NotJoinable{};
                }
                price = Price{r.integer(1), false};
            }
            if (std::size_t(id) >= priceCount.size()) {
                priceCount.resize(std::size_t(id) + 1);
                firstPrice.resize(std::size_t(id) + 1);
            }
            int& seen = priceCount[std::size_t(id)];
            if (seen == 0) {
                firstPrice[std::size_t(id)] = price;
                seen = 1;
            } else if (!(firstPrice[std::size_t(id)] == price)) {
                std::vector<Price>& later = laterPrices[id];
                if (std::find(later.begin(), later.end(), price) == later.end()) {
                    later.push_back(price);
                    ++seen;
                }
            }
        });
        NameColumn product{0};
        NameColumn material{1};
        scan(sqlAllRelations(), [&](const SqliteScan& r) {
            const int p = name(r, product, false);
            const int m = name(r, material, false);
            if (p < 0 || m < 0 || std::size_t(p) >= isProduct.size() ||
                !isProduct[std::size_t(p)] || std::size_t(m) >= priceCount.size() ||
                priceCount[std::size_t(m)] == 0) {
                return;
            }
            rows.push_back(Row{p, m, needed(r, 2)});
        });
        // An edge per distinct price of the material: rows that differ only in the price.
        edges([&](int other) { return priceCount[std::size_t(other)]; }, true);
    }

    // Reverse: the distinct products of each material's relation rows.
    void readReverse() {
        NameColumn product{0};
        NameColumn material{1};
        scan(sqlAllRelations(), [&](const SqliteScan& r) {
            const int m = name(r, material, true);
            if (m < 0) {
                return;
            }
            const int p = name(r, product, true);
            if (p < 0) {
                throw NotJoinable{};  // a NULL product, which the walk cannot take
            }
            rows.push_back(Row{m, p, 1});
        });
        edges([](int) { return 1; }, false);
    }

    // Groups the rows by item, in table order, and drops those that DISTINCT drops: a row equal to
    // an earlier one of the item (forward: the same material and count; reverse: the same
    // product).
    template <typename Copies>
    void edges(Copies copies, bool countsMatter) {
        const std::size_t items = std::size_t(tables.count());
        std::vector<std::uint32_t> first(items + 1, 0);
        for (const Row& row : rows) {
            ++first[std::size_t(row.item) + 1];
        }
        for (std::size_t i = 0; i < items; ++i) {
            first[i + 1] += first[i];
        }
        std::vector<Row> grouped(rows.size());
        {
            std::vector<std::uint32_t> next(first.begin(), first.end() - 1);
            for (const Row& row : rows) {
                grouped[next[std::size_t(row.item)]++] = row;
            }
        }
        rows.clear();
        rows.shrink_to_fit();
        std::vector<int> lastItemOf(items, -1);  // the last item with an edge to this one
        tables.m_firstEdge.assign(items + 1, 0);
        tables.m_edges.reserve(grouped.size());
        for (std::size_t item = 0; item < items; ++item) {
            const std::size_t itemStart = tables.m_edges.size();
            tables.m_firstEdge[item] = std::uint32_t(itemStart);
            for (std::uint32_t k = first[item]; k < first[item + 1]; ++k) {
                const Row& row = grouped[k];
                int& lastItem = lastItemOf[std::size_t(row.other)];
                if (lastItem == int(item)) {
                    if (!countsMatter) {
                        continue;
                    }
                    const auto begin = tables.m_edges.begin() + std::ptrdiff_t(itemStart);
                    if (std::any_of(begin, tables.m_edges.end(), [&row](const Edge& e) {
                            return e.other == row.other && e.needed == row.needed;
                        })) {
                        continue;
                    }
                }
                lastItem = int(item);
                for (int c = copies(row.other); c > 0; --c) {
                    tables.m_edges.push_back(Edge{row.other, row.needed});
                }
            }
        }
        tables.m_firstEdge[items] = std::uint32_t(tables.m_edges.size());
    }
};

std::unique_ptr<RecipeTables> RecipeTables::read(TDB& db, RecipeDirection direction,
                                                 const std::stop_token& stop) {
    std::unique_ptr<RecipeTables> tables(new RecipeTables);
    Builder builder{*tables, db, stop, {}};
    try {
        if (direction == RecipeDirection::Forward) {
            builder.readForward();
        } else {
            builder.readReverse();
        }
    } catch (const NotJoinable&) {
        return nullptr;
    } catch (const TZEMError&) {
        return nullptr;
    }
    tables->m_names.resize(std::size_t(tables->count()));
    return tables;
}

int RecipeTables::find(const QString& name) const {
    if (!name.isValidUtf16()) {
        return -1;
    }
    const QByteArray bytes = name.toUtf8();
    const std::string_view text(bytes.constData(), std::size_t(bytes.size()));
    return find(text, hashOf(text));
}

const QString& RecipeTables::name(int id) {
    QString& name = m_names[std::size_t(id)];
    if (name.isNull()) {
        const std::string_view text = bytes(id);
        name = QString::fromUtf8(text.data(), qsizetype(text.size()));
    }
    return name;
}

const std::vector<int>& RecipeTables::caseKeys() {
    if (m_caseKeys.empty() && count() > 0) {
        CaseKeys keys(count());
        m_caseKeys.reserve(std::size_t(count()));
        for (int id = 0; id < count(); ++id) {
            m_caseKeys.push_back(keys.of(name(id)));
        }
    }
    return m_caseKeys;
}

void RecipeTables::keepSearch(const SqlStatement& statement, std::vector<StartingRow> rows) {
    m_searchStatement = statement;
    m_searchRows = std::move(rows);
    m_searchKept = true;
}

const std::vector<RecipeTables::StartingRow>* RecipeTables::keptSearch(
    const SqlStatement& statement) const {
    const bool same = m_searchKept && statement.text == m_searchStatement.text &&
                      statement.values == m_searchStatement.values;
    return same ? &m_searchRows : nullptr;
}

std::span<const RecipeTables::Edge> RecipeTables::edgesOf(int id) const {
    const std::size_t i = std::size_t(id);
    return {m_edges.data() + m_firstEdge[i], m_edges.data() + m_firstEdge[i + 1]};
}

std::string_view RecipeTables::bytes(int id) const {
    const std::size_t i = std::size_t(id);
    return std::string_view(m_bytes).substr(m_start[i], m_start[i + 1] - m_start[i]);
}

int RecipeTables::find(std::string_view text, std::size_t hash) const {
    if (m_slots.empty()) {
        return -1;
    }
    const std::size_t mask = m_slots.size() - 1;
    const std::uint64_t tag = std::uint64_t(hash) & TagMask;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        const std::uint64_t slot = m_slots[i];
        if (slot == 0) {
            return -1;
        }
        if ((slot & TagMask) == tag) {
            const int id = int(std::uint32_t(slot)) - 1;
            if (bytes(id) == text) {
                return id;
            }
        }
    }
}

int RecipeTables::add(std::string_view text) {
    const std::size_t hash = hashOf(text);
    const int found = find(text, hash);
    if (found >= 0) {
        return found;
    }
    if (!SqliteScan::isPlainUtf8(text)) {
        throw NotJoinable{};
    }
    if (m_bytes.size() + text.size() > UINT32_MAX) {
        throw NotJoinable{};
    }
    const int id = count();
    m_bytes.append(text);
    m_start.push_back(std::uint32_t(m_bytes.size()));
    if (std::size_t(count()) * 2 > m_slots.size()) {
        growSlots();  // places the new name too
    } else {
        place(id, hash);
    }
    return id;
}

void RecipeTables::place(int id, std::size_t hash) {
    const std::size_t mask = m_slots.size() - 1;
    std::size_t i = hash & mask;
    while (m_slots[i] != 0) {
        i = (i + 1) & mask;
    }
    m_slots[i] = (std::uint64_t(hash) & TagMask) | std::uint64_t(id + 1);
}

void RecipeTables::growSlots() {
    m_slots.assign(std::max<std::size_t>(1 << 14, m_slots.size() * 2), 0);
    for (int id = 0; id < count(); ++id) {
        place(id, hashOf(bytes(id)));
    }
}
