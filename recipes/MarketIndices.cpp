#include "recipes/MarketIndices.h"

#include "common/TZEMError.h"
#include "recipes/ItemSettings.h"
#include "recipes/ProfitCalc.h"

namespace {

const QString ProductSection = QStringLiteral("Product");
const QString MaterialSection = QStringLiteral("Material");

QHash<QString, QString> readIndices(const IniProfile::Contents& file, const QString& section) {
    return ItemSettings::readSection(file, section, ProfitCalc::isIndexText);
}

}  // namespace

MarketIndices::MarketIndices(const QString& folder)
    : m_profile(folder + QStringLiteral("TAMUMarket.ini")) {
    const IniProfile::Contents file = m_profile.read();  // once for both sections
    m_products = readIndices(file, ProductSection);
    m_materials = readIndices(file, MaterialSection);
}

QString MarketIndices::product(const QString& name) const {
    return m_products.value(name, Default);
}

QString MarketIndices::material(const QString& name) const {
    return m_materials.value(name, Default);
}

void MarketIndices::setProduct(const QString& name, const QString& index) {
    set(m_products, ProductSection, name, index);
}

void MarketIndices::setMaterial(const QString& name, const QString& index) {
    set(m_materials, MaterialSection, name, index);
}

void MarketIndices::set(QHash<QString, QString>& map, const QString& section, const QString& name,
                        const QString& index) {
    if (!ProfitCalc::isIndexText(index)) {
        throw TZEMError(QStringLiteral("指数は 00.00 から 99.99 の形で入力してください：") + index);
    }
    if (map.value(name, Default) == index) {
        return;
    }
    map.insert(name, index);
    if (ItemSettings::storable(name)) {
        // Sake and SAKE are two items: each keeps a key of its own.
        m_profile.writeString(section, name, index, Qt::CaseSensitive);
    }
}
