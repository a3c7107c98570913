#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <stop_token>
#include <vector>

#include "recipes/ProfitCalc.h"

class MarketIndices;
class PriceBook;

// Every fief product of the item database with the profit calculator's figures at the standard
// counts (one run of the standard production count) and the user's market indices, best profit
// first, with the user's own prices (PriceBook::priced) where a book is given. A product whose
// figures fail (a material cost beyond 32 bits) stays in the list with its
// error, after the others.
class ProfitRanking {
public:
    struct Entry {
        ProfitProduct product;
        std::optional<ProfitFigures> figures;
        QString error;
        // The smallest product index n (DD.DD as n / 100) at which the profit is not negative.
        std::optional<int> breakEven;
    };
    struct MaterialInfo {
        QString name;
        std::int32_t price = 0;
    };

    // SetBased reads all products in two statements, PerProduct each in two of its own; both
    // read the same, and SetBased leaves to PerProduct a database whose names or statements only
    // that read takes as the calculator does.
    enum class Read { SetBased, PerProduct };

    explicit ProfitRanking(const MarketIndices& indices, const PriceBook* prices = nullptr)
        : m_indices(indices), m_prices(prices) {}

    // Reads every fief product; a database that cannot be read raises its error. Products that
    // cannot be read are left out and counted: skipped() and firstProblem() tell. A stop request
    // ends the read between two products, leaving the ranking as it was; returns false then.
    bool load(const QString& dbPath, std::stop_token stop = {}, Read read = Read::SetBased);
    // Takes over what another ranking read and computed (on a worker thread, with the same
    // indices).
    void adopt(ProfitRanking&& loaded);

    // Recomputes every product with the current indices and prices and sorts again.
    void recompute();

    int count() const { return int(m_order.size()); }
    // The entry at a rank, from 0.
    const Entry& at(int rank) const { return m_entries[std::size_t(m_order[std::size_t(rank)])]; }
    // The materials of all products, each once, in the order first met.
    const std::vector<MaterialInfo>& materials() const { return m_materials; }
    // The 店買い of a material in force: the user's own, else the database's.
    std::int32_t price(const MaterialInfo& material) const;
    int skipped() const { return m_skipped; }
    const QString& firstProblem() const { return m_firstProblem; }

    // The figures of one product at the standard counts with the given product index.
    static ProfitFigures figuresAt(const ProfitProduct& product, Extended productIndex,
                                   const std::vector<Extended>& materialIndices);
    static std::optional<int> breakEven(const ProfitProduct& product,
                                        const std::vector<Extended>& materialIndices);
    // n as an index text DD.DD (0 to 9999).
    static QString indexText(int n);

private:
    // Ranks the products as given and gathers their materials.
    void setProducts(std::vector<ProfitProduct> products);
    void evaluate(Entry& entry) const;

    const MarketIndices& m_indices;
    const PriceBook* m_prices;
    std::vector<Entry> m_entries;
    std::vector<int> m_order;
    std::vector<MaterialInfo> m_materials;
    int m_skipped = 0;
    QString m_firstProblem;
};
