#pragma once

#include <QHash>
#include <QString>
#include <cstdint>

#include "common/IniProfile.h"

// The pieces of each item that the user has on hand, which the shopping list takes off before
// anything is bought or made. Remembered in TAMUHoldings.ini of the data folder: section
// [Holdings], one key per item name (ItemSettings), a decimal count above 0. A value that is no
// count is left out and kept in the file as it is.
class Holdings {
public:
    static constexpr std::int64_t Max = 999999999;

    // `folder` ends with a separator; the file is read at once.
    explicit Holdings(const QString& folder);

    std::int64_t pieces(const QString& name) const { return m_pieces.value(name, 0); }
    const QHash<QString, std::int64_t>& all() const { return m_pieces; }

    // 0 removes the item's line. Raises an error for a count outside 0 to Max, and
    // "%s に書き込めません" when the file cannot be written; the count is then kept for this
    // session only.
    void set(const QString& name, std::int64_t pieces);

    const QString& fileName() const { return m_profile.fileName(); }

private:
    IniProfile m_profile;
    QHash<QString, std::int64_t> m_pieces;
};
