#pragma once

#include <QHash>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

// Every recipe reachable from one product, read once from the item database and held in memory,
// so that a shopping list can be recomputed at once whenever the user changes it.
class RecipeBook {
public:
    struct Row {  // one production row (ItemCreator) of a product
        QString job;
        QString catalogue;
        QString skill;
        std::int32_t count = 0;  // 生産数
    };
    struct Material {
        int item = -1;            // position in the book
        std::int32_t needed = 0;  // 必要数 per run
    };
    struct Entry {
        QString name;
        std::vector<Row> rows;  // none for a raw material
        std::vector<Material> materials;
        std::optional<std::int32_t> price;  // 店買い; none when NULL or not a number
        bool isProduct() const { return !rows.empty(); }
    };

    // Reads the product and everything it is made of, level by level with set-based statements
    // (a product's rows and materials in the order the database gives them). The product is
    // entry 0.
    static RecipeBook read(const QString& dbPath, const QString& product);

    int count() const { return int(m_entries.size()); }
    const Entry& at(int item) const { return m_entries.at(std::size_t(item)); }
    int indexOf(const QString& name) const { return m_index.value(name, -1); }

    // For building books by hand: adds an entry (or returns the existing one of that name).
    int add(const QString& name);
    Entry& entry(int item) { return m_entries.at(std::size_t(item)); }

private:
    std::vector<Entry> m_entries;
    QHash<QString, int> m_index;
};
