#pragma once

#include <QHash>
#include <QSet>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>
#include <vector>

#include "recipes/RecipeBook.h"

class Holdings;
class PriceBook;

// What to gather or buy, and what to make in which order, for some pieces of a product.
//
// Each product is made by one recipe throughout the list (its chosen production row, the first
// by default), so that shared materials are made in one go. The recipes are walked depth-first
// from the wanted product in material order; a material is bought instead of made when it is no
// product, when the user switched it to buy, or when it stands on the path from the wanted
// product to the product that needs it (a cycle ends there). Then, users before materials:
// runs = ⌈pieces needed ÷ 生産数⌉, and each material needs runs × 必要数.
//
// Pieces on hand are taken off first, throughout: a product's needed pieces less those held are
// made (a product held in full is not made, and its materials are not needed), and what is left
// on hand of an item after its making goes to its purchase. The user's own 店買い stands in for
// the database's.
class ShoppingList {
public:
    struct Purchase {
        int item = -1;
        std::int64_t pieces = 0;            // to buy: what the list needs less what is held
        std::int64_t held = 0;              // pieces on hand that the list uses
        std::optional<std::int32_t> price;  // 店買い, the user's own where set
        bool ownPrice = false;
        std::optional<std::int64_t> cost;  // none when the shop price is unknown
        bool cycle = false;                // a product bought because it closes a cycle
        bool switched = false;             // a product the user chose to buy
    };
    struct Step {
        int item = -1;
        int row = 0;              // the production row used
        std::int32_t perRun = 0;  // 生産数
        std::int64_t runs = 0;
        std::int64_t pieces = 0;  // runs × 生産数
        std::int64_t needed = 0;  // pieces that the list uses (the wanted pieces for the product)
                                  // beyond those held
        std::int64_t held = 0;    // pieces on hand that the list uses
    };
    struct Plan {
        std::vector<Purchase> purchases;  // in the order they were first met
        std::vector<Step> steps;          // every material made before the product using it
        std::int64_t total = 0;           // cost of the purchases with a known price
        int unpriced = 0;                 // purchases left out of the total
    };

    explicit ShoppingList(const RecipeBook& book);

    const RecipeBook& book() const { return m_book; }
    // The production count of the wanted product's first row, or 1.
    std::int64_t defaultPieces() const;

    void setPieces(std::int64_t pieces) { m_pieces = pieces; }
    std::int64_t pieces() const { return m_pieces; }
    void setBought(int item, bool bought);
    bool isBought(int item) const { return m_bought.contains(item); }
    void setRow(int item, int row);
    int row(int item) const { return m_rows.value(item, 0); }
    // Pieces on hand; 0 or less is none.
    void setHeld(int item, std::int64_t pieces);
    std::int64_t held(int item) const { return m_held.value(item, 0); }
    // The user's own 店買い of an item, or none for the database's.
    void setOwnPrice(int item, std::optional<std::int32_t> price);
    // The 店買い in force: the user's own, else the database's.
    std::optional<std::int32_t> price(int item) const;
    // Every entry of the book from the files, by name.
    void usePrices(const PriceBook& prices);
    void useHoldings(const Holdings& holdings);

    // Raises an error when a count is not positive or a figure leaves 64 bits.
    Plan plan() const;

    // The plan as a table of text lines: a title, the purchases with their total (and the note
    // on unknown prices), the steps and the leftovers.
    QList<QStringList> table(const Plan& plan) const;
    // Tab-separated text, one line per table row, for the clipboard.
    QString toTabText(const Plan& plan) const;
    // Comma-separated text with quoted fields where needed, lines ending in CR LF.
    QString toCsv(const Plan& plan) const;

    static const QString UnpricedNote;

private:
    const RecipeBook& m_book;
    std::int64_t m_pieces = 1;
    QSet<int> m_bought;
    QHash<int, int> m_rows;
    QHash<int, std::int64_t> m_held;
    QHash<int, std::int32_t> m_ownPrices;
};
