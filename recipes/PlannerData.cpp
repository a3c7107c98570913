#include "recipes/PlannerData.h"

#include <QDir>
#include <map>
#include <memory>

#include "common/TZEMError.h"

PlannerData& PlannerData::of(const QString& folder) {
    static std::map<QString, std::unique_ptr<PlannerData>> shared;
    const QString key = QDir::cleanPath(QDir(folder).absolutePath());
    std::unique_ptr<PlannerData>& data = shared[key];
    if (!data) {
        data = std::make_unique<PlannerData>(folder);
    }
    return *data;
}

PlannerData::PlannerData(const QString& folder)
    : m_folder(folder), m_prices(folder), m_holdings(folder) {}

void PlannerData::setPrices(const QList<PriceBook::Item>& items) {
    try {
        m_prices.set(items);
    } catch (const TZEMError&) {
        Q_EMIT pricesChanged();
        throw;
    }
    Q_EMIT pricesChanged();
}

void PlannerData::setHeld(const QString& name, std::int64_t pieces) {
    const std::int64_t before = m_holdings.pieces(name);
    try {
        m_holdings.set(name, pieces);
    } catch (const TZEMError&) {
        if (m_holdings.pieces(name) != before) {
            Q_EMIT holdingsChanged();
        }
        throw;
    }
    if (m_holdings.pieces(name) != before) {
        Q_EMIT holdingsChanged();
    }
}
