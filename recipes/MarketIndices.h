#pragma once

#include <QHash>
#include <QString>

#include "common/IniProfile.h"

// The market indices (DD.DD) that the user set for products and materials, remembered in
// TAMUMarket.ini of the data folder: section [Product] and [Material], one key per item name,
// matched with its letter case (item names are; the file's other rules stay private-profile).
// An item without a remembered index, or with a value that is no index, is at 01.00.
class MarketIndices {
public:
    static inline const QString Default = QStringLiteral("01.00");

    // `folder` ends with a separator; the file is read at once.
    explicit MarketIndices(const QString& folder);

    QString product(const QString& name) const;
    QString material(const QString& name) const;
    // Remember an index; the file is rewritten atomically. Raises "%s に書き込めません" when the
    // file cannot be written; the index is then kept for this session only.
    void setProduct(const QString& name, const QString& index);
    void setMaterial(const QString& name, const QString& index);

    const QString& fileName() const { return m_profile.fileName(); }

private:
    void set(QHash<QString, QString>& map, const QString& section, const QString& name,
             const QString& index);

    IniProfile m_profile;
    QHash<QString, QString> m_products;
    QHash<QString, QString> m_materials;
};
