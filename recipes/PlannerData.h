#pragma once

#include <QObject>
#include <QString>

#include "recipes/Holdings.h"
#include "recipes/PriceBook.h"

// The own prices and the pieces on hand of one data folder, shared by every planner window open
// on it, so that a change in one shows in all of them at once (also one that could not be
// written and holds for this session only).
class PlannerData : public QObject {
    Q_OBJECT

public:
    // The one object of the folder (ending with a separator), read when first asked for.
    static PlannerData& of(const QString& folder);

    explicit PlannerData(const QString& folder);

    const PriceBook& prices() const { return m_prices; }
    const Holdings& holdings() const { return m_holdings; }
    const QString& folder() const { return m_folder; }

    // Each tells the windows, then raises the error of a failed write.
    void setPrices(const QList<PriceBook::Item>& items);
    void setHeld(const QString& name, std::int64_t pieces);

Q_SIGNALS:
    void pricesChanged();
    void holdingsChanged();

private:
    QString m_folder;
    PriceBook m_prices;
    Holdings m_holdings;
};
