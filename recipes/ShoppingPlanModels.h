#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <optional>
#include <vector>

#include "recipes/RecipeBook.h"
#include "recipes/ShoppingList.h"

// The three tables of the shopping list as models over one plan: what to buy, what to make in
// which order, what is left over. Each is refilled whole when the plan changes; a name carries
// its text as its tooltip, for a column too narrow for it, figures stand right-aligned.
class ShoppingPlanModel : public QAbstractTableModel {
    Q_OBJECT

public:
    // A product with several recipes offers them in the step's recipe cell: the texts under
    // ChoicesRole, the one in use under Qt::EditRole.
    static constexpr int ChoicesRole = Qt::UserRole + 1;

    ShoppingPlanModel(const QStringList& heads, QObject* parent);

    // Shows the plan; the list and the plan are kept by reference until the next call.
    void show(const ShoppingList& list, const ShoppingList::Plan& plan);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

Q_SIGNALS:
    // The user ticked or unticked 購入 of a book entry, or chose another recipe for it.
    void boughtChanged(int item, bool bought);
    void recipeChosen(int item, int row);
    // The user typed the pieces on hand of a book entry in a 所持 cell (0 or more).
    void heldChanged(int item, std::int64_t pieces);

protected:
    // A cell: its text, whether it is a figure, and for the 購入 column its check state.
    struct Cell {
        QString text;
        bool figure = false;
        std::optional<bool> checked;  // a 購入 box
        QString toolTip;              // set for notes; a name's text otherwise
    };
    virtual int rows() const = 0;
    virtual Cell cell(int row, int column) const = 0;
    // The book entry behind a row.
    virtual int itemAt(int row) const = 0;
    virtual bool isBuyColumn(int column) const = 0;
    // The editable 所持 column, if the table has one.
    virtual int heldColumn() const { return -1; }
    // A 所持 cell: the pieces on hand, and how many of them the list uses.
    Cell heldCell(int item, std::int64_t used) const;
    virtual QStringList choices(int row, int column) const;
    virtual int chosen(int row) const;
    // Called with the new plan in place, before the views read it.
    virtual void planChanged() {}

    static QString recipeText(const RecipeBook::Row& row);
    static Cell text(const QString& text) { return Cell{text, false, {}, {}}; }
    static Cell number(std::int64_t value) { return Cell{QString::number(value), true, {}, {}}; }
    static Cell box(bool checked) { return Cell{QString(), false, checked, {}}; }

    const ShoppingList* m_list = nullptr;
    const RecipeBook* m_book = nullptr;
    const ShoppingList::Plan* m_plan = nullptr;

private:
    QStringList m_heads;
};

// 原材料: 材料名, 個数, 店買い, 金額, 購入, 所持. 個数 is what is left to buy.
class PurchasesModel : public ShoppingPlanModel {
    Q_OBJECT

public:
    explicit PurchasesModel(QObject* parent);

protected:
    int rows() const override;
    Cell cell(int row, int column) const override;
    int itemAt(int row) const override;
    bool isBuyColumn(int column) const override { return column == 4; }
    int heldColumn() const override { return 5; }
};

// 生産手順: 産物名, レシピ, 生産数, 回数, 個数, 購入, 所持.
class StepsModel : public ShoppingPlanModel {
    Q_OBJECT

public:
    explicit StepsModel(QObject* parent);

protected:
    int rows() const override;
    Cell cell(int row, int column) const override;
    int itemAt(int row) const override;
    bool isBuyColumn(int column) const override { return column == 5; }
    int heldColumn() const override { return 6; }
    QStringList choices(int row, int column) const override;
    int chosen(int row) const override;
};

// 余り: 産物名, 個数 of the steps that make more than the list uses.
class LeftoversModel : public ShoppingPlanModel {
    Q_OBJECT

public:
    explicit LeftoversModel(QObject* parent);

protected:
    int rows() const override { return int(m_left.size()); }
    Cell cell(int row, int column) const override;
    int itemAt(int row) const override;
    bool isBuyColumn(int) const override { return false; }

    void planChanged() override;

private:
    std::vector<std::size_t> m_left;  // the steps with pieces over
};
