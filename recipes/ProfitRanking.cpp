#include "recipes/ProfitRanking.h"

#include <QSet>
#include <algorithm>

#include "common/TZEMError.h"
#include "recipes/ItemSql.h"
#include "recipes/ManyItemRows.h"
#include "recipes/MarketIndices.h"
#include "recipes/PriceBook.h"
#include "recipes/ProductLoad.h"
#include "recipes/SqliteScan.h"
#include "recipes/TDB.h"

bool ProfitRanking::load(const QString& dbPath, std::stop_token stop, Read read) {
    std::vector<ProfitProduct> products;
    int skipped = 0;
    QString firstProblem;
    const auto take = [&](const QString& name, ProfitProduct&& product, const QString& error) {
        if (error.isEmpty() && product.found) {
            products.push_back(std::move(product));
        } else if (skipped++ == 0) {
            firstProblem =
                QStringLiteral("「%1」：%2")
                    .arg(name,
                         error.isEmpty() ? QStringLiteral("ItemInfo に行がありません") : error);
        }
    };
    {
        TDB db(dbPath);
        db.connectOrFail();
        std::optional<QStringList> plainNames = SqliteScan::plainTexts(db, sqlFiefProducts());
        QStringList names = plainNames.value_or(QStringList());
        if (!plainNames) {  // read as Qt SQL reads names that are not plain
            for (TDBQuery& q = db.OpenQuery(sqlFiefProducts()); !q.eof(); q.next()) {
                names << q.asString(QStringLiteral("アイテム名"));
            }
        }
        bool done = false;
        if (read == Read::SetBased && ManyItemRows::namesCompareAsText(db) &&
            ProductLoad::productRowsInTableOrder(db) &&
            std::all_of(names.cbegin(), names.cend(), ManyItemRows::boundAsItStands)) {
            try {
                auto loaded = ProductLoad::profitProducts(db, names, stop);
                if (!loaded) {
                    return false;
                }
                for (ProductLoad::LoadedProduct& p : *loaded) {
                    take(p.product.name, std::move(p.product), p.error);
                }
                done = true;
            } catch (const TZEMError&) {
                // A failing statement fails some products alone: each is read by itself.
            }
        }
        for (qsizetype i = 0; !done && i < names.size(); ++i) {
            if (stop.stop_requested()) {
                return false;
            }
            try {
                take(names[i], ProductLoad::profitProduct(db, names[i]), QString());
            } catch (const TZEMError& e) {
                take(names[i], ProfitProduct(), e.message());
            }
        }
    }
    m_skipped = skipped;
    m_firstProblem = firstProblem;
    setProducts(std::move(products));
    return true;
}

void ProfitRanking::adopt(ProfitRanking&& loaded) {
    m_entries = std::move(loaded.m_entries);
    m_order = std::move(loaded.m_order);
    m_materials = std::move(loaded.m_materials);
    m_skipped = loaded.m_skipped;
    m_firstProblem = std::move(loaded.m_firstProblem);
}

void ProfitRanking::setProducts(std::vector<ProfitProduct> products) {
    m_entries.clear();
    m_materials.clear();
    qsizetype materialRows = 0;
    for (const ProfitProduct& product : products) {
        materialRows += qsizetype(product.materials.size());
    }
    QSet<QString> seen;
    seen.reserve(materialRows);
    m_entries.reserve(products.size());
    for (ProfitProduct& product : products) {
        for (const ProfitProduct::Material& m : product.materials) {
            const qsizetype before = seen.size();
            seen.insert(m.name);
            if (seen.size() != before) {
                m_materials.push_back(MaterialInfo{m.name, m.price});
            }
        }
        m_entries.push_back(Entry{std::move(product), std::nullopt, QString(), std::nullopt});
    }
    recompute();
}

ProfitFigures ProfitRanking::figuresAt(const ProfitProduct& product, Extended productIndex,
                                       const std::vector<Extended>& materialIndices) {
    return ProfitFigures::compute(product, 1, product.standardCount, productIndex, materialIndices);
}

QString ProfitRanking::indexText(int n) {
    return QStringLiteral("%1.%2")
        .arg(n / 100, 2, 10, QChar(u'0'))
        .arg(n % 100, 2, 10, QChar(u'0'));
}

std::optional<int> ProfitRanking::breakEven(const ProfitProduct& product,
                                            const std::vector<Extended>& materialIndices) {
    // Reached: the profit is not negative, or the figures fail because the sale price outgrew
    // 32 bits. With a positive sale price both only grow with the index, so the first index that
    // reaches is found by halving; it counts only when its profit can be shown.
    const auto at = [&](int n) -> std::optional<std::int32_t> {
        try {
            return figuresAt(product, ProfitCalc::indexValue(n), materialIndices).gain;
        } catch (const TZEMError&) {
            return std::nullopt;
        }
    };
    const auto reached = [&](int n) {
        const auto gain = at(n);
        return !gain || *gain >= 0;
    };
    if (const auto g = at(0); g && *g >= 0) {
        return 0;
    }
    if (ProfitCalc::sale(product.standardCount, product.unitPrice, 1) <= 0 ||
        !ProfitCalc::productIndexed(product.catalogue)) {
        return std::nullopt;
    }
    int low = 0;  // not reached
    int high = 9999;
    if (!reached(high)) {
        return std::nullopt;
    }
    while (high - low > 1) {
        const int mid = (low + high) / 2;
        (reached(mid) ? high : low) = mid;
    }
    return at(high) ? std::optional<int>(high) : std::nullopt;
}

std::int32_t ProfitRanking::price(const MaterialInfo& material) const {
    return m_prices ? m_prices->buy(material.name).value_or(material.price) : material.price;
}

void ProfitRanking::evaluate(Entry& entry) const {
    std::optional<ProfitProduct> own;
    if (m_prices && !m_prices->isEmpty()) {
        own = m_prices->priced(entry.product);
    }
    const ProfitProduct& product = own ? *own : entry.product;
    std::vector<Extended> indices;
    indices.reserve(entry.product.materials.size());
    for (const ProfitProduct::Material& m : entry.product.materials) {
        indices.push_back(ProfitCalc::indexValue(m_indices.material(m.name)));
    }
    entry.error.clear();
    entry.figures.reset();
    entry.breakEven.reset();
    try {
        entry.figures = figuresAt(
            product, ProfitCalc::indexValue(m_indices.product(entry.product.name)), indices);
    } catch (const TZEMError& e) {
        entry.error = e.message();
    }
    entry.breakEven = breakEven(product, indices);
}

void ProfitRanking::recompute() {
    for (Entry& entry : m_entries) {
        evaluate(entry);
    }
    m_order.resize(m_entries.size());
    for (std::size_t i = 0; i < m_order.size(); ++i) {
        m_order[i] = int(i);
    }
    std::stable_sort(m_order.begin(), m_order.end(), [this](int a, int b) {
        const auto& fa = m_entries[std::size_t(a)].figures;
        const auto& fb = m_entries[std::size_t(b)].figures;
        if (fa && fb) {
            return fa->gain > fb->gain;
        }
        return fa.has_value() && !fb.has_value();
    });
}
