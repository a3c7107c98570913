#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <utility>

#include "common/IniProfile.h"

struct ProfitProduct;

// The user's own prices, which stand in for the database's 店買い and 店売り wherever the planners
// compute. Remembered in TAMUPrices.ini of the data folder: section [Buy] (店買い) and [Sell]
// (店売り), one key per item name (ItemSettings), a decimal price of 0 or more. A value that is no
// price is left out and kept in the file as it is.
class PriceBook {
public:
    struct Prices {
        std::optional<std::int32_t> buy;   // 店買い
        std::optional<std::int32_t> sell;  // 店売り
        bool isEmpty() const { return !buy && !sell; }
        bool operator==(const Prices&) const = default;
    };
    using Item = std::pair<QString, Prices>;

    // `folder` ends with a separator; the file is read at once.
    explicit PriceBook(const QString& folder);

    Prices prices(const QString& name) const { return m_prices.value(name); }
    std::optional<std::int32_t> buy(const QString& name) const { return prices(name).buy; }
    std::optional<std::int32_t> sell(const QString& name) const { return prices(name).sell; }
    // The items with a price of their own, in the file's order, then as they were added.
    const QStringList& names() const { return m_names; }
    bool isEmpty() const { return m_names.isEmpty(); }

    // Sets the prices of items (an empty one removes the item's own prices), all in one
    // replacement of the file. Raises "%s に書き込めません" when it cannot be written; the prices
    // are then kept for this session only.
    void set(const QList<Item>& items);
    void set(const QString& name, const Prices& prices) { set({Item{name, prices}}); }

    // The product with the own prices in place of the database's: its unit price (店買い for a
    // 知行産物, 店売り otherwise) and its materials' 店買い.
    ProfitProduct priced(const ProfitProduct& product) const;
    bool affects(const ProfitProduct& product) const;

    // The text of a price as the book takes it: decimal digits, a spreadsheet's thousands
    // separators allowed, within 32 bits; nothing for anything else. An empty text is no price.
    static std::optional<std::int32_t> parsePrice(const QString& text);

    const QString& fileName() const { return m_profile.fileName(); }

private:
    IniProfile m_profile;
    QHash<QString, Prices> m_prices;
    QStringList m_names;
};

// The price book as CSV: アイテム名, 店買い, 店売り with a head line, an empty cell for no price.
namespace PriceCsv {

QString format(const PriceBook& book);

struct Import {
    QList<PriceBook::Item> items;  // in file order; a later row of a name wins
    QStringList problems;          // "N 行目：why（the row）", one per row skipped
};
// Reads the rows; a row that does not read is listed and skipped, the others kept. Blank rows
// and the head line are passed over.
Import parse(const QString& text);
// The file read and decoded; raises an error in Japanese when it cannot be.
Import read(const QString& fileName);

}  // namespace PriceCsv
