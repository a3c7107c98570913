#include "recipes/ProfitCalc.h"

#include <limits>

#include "common/TZEMError.h"
#include "recipes/TDBQuery.h"

namespace ProfitCalc {

Extended indexValue(const QString& displayed) {
    const std::int32_t whole = integerFromText(displayed.left(2));
    const std::int32_t hundredths = integerFromText(displayed.mid(3, 2));
    const Extended fraction = Extended(hundredths) / 100.0L;
    return fraction + Extended(whole);
}

Extended indexValue(int n) {
    const Extended fraction = Extended(n % 100) / 100.0L;  // as the text's two parts
    return fraction + Extended(n / 100);
}

bool isIndexText(const QString& text) {
    if (text.size() != 5 || text[2] != u'.') {
        return false;
    }
    for (const int i : {0, 1, 3, 4}) {
        if (text[i] < u'0' || text[i] > u'9') {
            return false;
        }
    }
    return true;
}

std::int32_t wrapMul(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) * static_cast<std::uint32_t>(b));
}

std::int32_t wrapSub(std::int32_t a, std::int32_t b) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(a) - static_cast<std::uint32_t>(b));
}

bool productIndexed(const QString& catalogue) {
    return catalogue == Sanbutsu;
}

QString unitPriceColumn(const QString& catalogue) {
    return productIndexed(catalogue) ? QStringLiteral("店買い") : QStringLiteral("店売り");
}

std::int64_t materialUnitCost(Extended index, std::int32_t price) {
    return ExtendedMath::truncToInt64(index * Extended(price));
}

std::int32_t addMaterialCost(std::int32_t sum, std::int32_t needed, std::int32_t price,
                             Extended index) {
    const std::int32_t base = wrapMul(needed, price);
    const std::int64_t next =
        std::int64_t{sum} + ExtendedMath::truncToInt64(Extended(base) * index);
    if (next < std::numeric_limits<std::int32_t>::min() ||
        next > std::numeric_limits<std::int32_t>::max()) {
        throw TZEMError::rangeCheck();
    }
    return static_cast<std::int32_t>(next);
}

std::int32_t sale(std::int32_t pieces, std::int32_t unitPrice, std::int32_t runs) {
    return wrapMul(wrapMul(pieces, unitPrice), runs);
}

std::int64_t indexedSale(std::int32_t sale, Extended index) {
    return ExtendedMath::truncToInt64(Extended(sale) * index);
}

std::int32_t gain(std::int64_t sale, std::int32_t buyCost) {
    // The calculator reads the sale price back from its label as a 32-bit integer.
    if (sale < std::numeric_limits<std::int32_t>::min() ||
        sale > std::numeric_limits<std::int32_t>::max()) {
        throw TZEMError::notAnInteger(QString::number(sale));
    }
    return wrapSub(static_cast<std::int32_t>(sale), buyCost);
}

}  // namespace ProfitCalc

ProfitFigures ProfitFigures::compute(const ProfitProduct& product, std::int32_t runs,
                                     std::int32_t pieces, Extended productIndex,
                                     const std::vector<Extended>& materialIndices) {
    ProfitFigures f;
    for (std::size_t k = 0; k < product.materials.size(); ++k) {
        const ProfitProduct::Material& m = product.materials[k];
        f.runCost =
            ProfitCalc::addMaterialCost(f.runCost, m.needed, m.price, materialIndices.at(k));
    }
    f.buyCost = ProfitCalc::wrapMul(runs, f.runCost);
    const std::int32_t plain = ProfitCalc::sale(pieces, product.unitPrice, runs);
    f.sale = ProfitCalc::productIndexed(product.catalogue)
                 ? ProfitCalc::indexedSale(plain, productIndex)
                 : plain;
    f.gain = ProfitCalc::gain(f.sale, f.buyCost);
    return f;
}
