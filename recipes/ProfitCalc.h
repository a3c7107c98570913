#pragma once

#include <QString>
#include <cstdint>
#include <vector>

#include "common/Extended.h"

// The profit arithmetic of the fief-product calculator, in one place for the calculator window
// and the profit ranking:
//   profit = runs × pieces per run × unit price (× product index, truncated, for 知行産物)
//          − runs × Σ truncate(needed count × shop buy price × material index)
// The unit price is the product's 店買い for 知行産物 and its 店売り otherwise. An index is DD.DD,
// evaluated in 80-bit arithmetic (fraction first, then the whole part, then the multiplication),
// so 01.05 × 100 gives 104. Products of integers wrap in 32 bits; the material sum must fit
// 32 bits or the range-check error ends the calculation.
namespace ProfitCalc {

inline const QString Sanbutsu = QStringLiteral("知行産物");
inline const QString Meibutsu = QStringLiteral("知行名物");

// The value of an index text as displayed (DD.DD, empty positions shown as 0).
Extended indexValue(const QString& displayed);
// The index n / 100 (n from 0 to 9999) exactly as indexValue reads its text DD.DD.
Extended indexValue(int n);
// Whether the text is an index as the index boxes show one: two digits, a point, two digits.
bool isIndexText(const QString& text);

std::int32_t wrapMul(std::int32_t a, std::int32_t b);
std::int32_t wrapSub(std::int32_t a, std::int32_t b);

// Whether the product's own index applies, and which price column is its unit sale price.
bool productIndexed(const QString& catalogue);
QString unitPriceColumn(const QString& catalogue);

// The unit price of a material after its index, as a row shows it.
std::int64_t materialUnitCost(Extended index, std::int32_t price);
// The material cost of one run with one more material row added to `sum`.
std::int32_t addMaterialCost(std::int32_t sum, std::int32_t needed, std::int32_t price,
                             Extended index);
// The sale price of all runs before the product index.
std::int32_t sale(std::int32_t pieces, std::int32_t unitPrice, std::int32_t runs);
// The sale price with the product index of a 知行産物.
std::int64_t indexedSale(std::int32_t sale, Extended index);
// The profit; a sale price beyond 32 bits fails as the calculator's integer conversion does.
std::int32_t gain(std::int64_t sale, std::int32_t buyCost);

}  // namespace ProfitCalc

// A fief product as the calculator loads it (ProductLoad): the last of its product rows gives the
// catalogue, the standard count and the unit price; its direct materials in statement order.
struct ProfitProduct {
    struct Material {
        QString name;
        std::int32_t needed = 0;
        std::int32_t price = 0;  // 店買い
    };

    QString name;
    QString catalogue;
    std::int32_t standardCount = 0;
    std::int32_t unitPrice = 0;
    std::vector<Material> materials;
    bool found = false;  // the product had at least one product row
};

// The calculator's figures for one product at given counts and indices.
struct ProfitFigures {
    std::int32_t runCost = 0;  // 生産費用: the materials of one run
    std::int32_t buyCost = 0;  // 原材料費: all runs
    std::int64_t sale = 0;     // 売却価格
    std::int32_t gain = 0;     // 利益

    // `materialIndices` holds one index per material of the product, in its order.
    static ProfitFigures compute(const ProfitProduct& product, std::int32_t runs,
                                 std::int32_t pieces, Extended productIndex,
                                 const std::vector<Extended>& materialIndices);
};
