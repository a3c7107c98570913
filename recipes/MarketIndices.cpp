#include "recipes/MarketIndices.h"

#include "common/TZEMError.h"
#include "recipes/ProfitCalc.h"

namespace {

const QString ProductSection = QStringLiteral("Product");
const QString MaterialSection = QStringLiteral("Material");

QHash<QString, QString> readIndices(const IniProfile::Contents& file, const QString& section) {
    QHash<QString, QString> map;
    for (const auto& [name, value] : file.readSection(section)) {
        if (ProfitCalc::isIndexText(value) && !map.contains(name)) {
            map.insert(name, value);
        }
    }
    return map;
}

// A name that would read back as something else (a section, a comment, a split key) is kept for
// the session only.
bool storable(const QString& name) {
    const QString t = name.trimmed();
    return !t.isEmpty() && t == name && !name.contains(u'=') && !name.startsWith(u';') &&
           !name.startsWith(u'[') && !name.contains(u'\n') && !name.contains(u'\r');
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
    if (storable(name)) {
        // Sake and SAKE are two items: each keeps a key of its own.
        m_profile.writeString(section, name, index, Qt::CaseSensitive);
    }
}
