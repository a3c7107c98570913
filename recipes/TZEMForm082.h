#pragma once

#include <QString>
#include <QWidget>
#include <memory>

#include "recipes/RecipeBook.h"
#include "recipes/ShoppingList.h"

class ElidedLabel;
class QLabel;
class LeftoversModel;
class PlannerData;
class PurchasesModel;
class QPushButton;
class QTableView;
class StepsModel;
class TZEMSpinEdit;

// "材料集計": the shopping list for some pieces of one product. The recipes are read once when
// the window opens; the pieces, the recipe of each product and whether a product is made or
// bought change the list at once. The user's own prices stand in for the database's, and the
// pieces on hand (所持, typed into the tables, remembered in TAMUHoldings.ini) are taken off
// before anything is bought or made. The list is copied as tab-separated text or saved as CSV.
class TZEMForm082 : public QWidget {
    Q_OBJECT

public:
    // `dataFolder` holds the own prices and the pieces on hand and ends with a separator.
    TZEMForm082(const QString& productName, const QString& dataFolder, QWidget* parent = nullptr);
    ~TZEMForm082() override;

    // Reads the product's recipes and shows the window; raises the error when they cannot be
    // read, and no window opens then. Without a data folder, the database's folder.
    static TZEMForm082* openFor(const QString& productName, const QString& dbPath,
                                QString dataFolder = QString());

    const ShoppingList* list() const { return m_list.get(); }
    const ShoppingList::Plan& plan() const { return m_plan; }

    // The export of the list as shown.
    void copyToClipboard();
    // UTF-8 with a byte-order mark, so that spreadsheet programs read the Japanese.
    void saveCsv(const QString& fileName);

private:
    void load(const QString& productName, const QString& dbPath);
    void recalculate();
    void recalculateLater();
    void showPlan();
    void saveClicked();
    void heldChanged(int item, std::int64_t pieces);

    std::unique_ptr<RecipeBook> m_book;
    std::unique_ptr<ShoppingList> m_list;
    ShoppingList::Plan m_plan;
    QString m_dbPath;
    PlannerData& m_data;

    ElidedLabel* outProductName = nullptr;
    TZEMSpinEdit* iptPieces = nullptr;
    QPushButton* evtPrices = nullptr;
    QPushButton* evtCopy = nullptr;
    QPushButton* evtSaveCsv = nullptr;
    PurchasesModel* m_purchases = nullptr;
    StepsModel* m_steps = nullptr;
    LeftoversModel* m_leftovers = nullptr;
    QTableView* outPurchases = nullptr;
    QLabel* outTotal = nullptr;
    ElidedLabel* outNote = nullptr;
    QTableView* outSteps = nullptr;
    QTableView* outLeftovers = nullptr;
};
