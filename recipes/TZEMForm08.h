#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "recipes/RecipeDirection.h"
#include "recipes/SqlStatement.h"
#include "recipes/TZEMItemList.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QProgressBar;
class QPushButton;
class QTabWidget;
class QTimer;
class QTableWidget;
class QTreeView;
class RecipeSearch;
class RecipeTreeModel;

// "生産レシピ検索": finds products by conditions, by part of the name or by part of a material's
// name, shows the recipe graph as a tree and, for the selected item, its jobs, production count,
// reading and direct materials. Every action opens its own database connection and closes it
// at the end, also when it fails; an error ends the action and leaves what was shown.
class TZEMForm08 : public QWidget {
    Q_OBJECT

public:
    using Direction = RecipeDirection;

    TZEMForm08(const QStringList& jobList, const QStringList& versionList,
               const QStringList& equipList, const QString& dbPath, QWidget* parent = nullptr);
    ~TZEMForm08() override;

    static void ResetCombo(QComboBox* box);

    // Empties CreateTree and rebuilds ItemList from the statement on a worker thread, cancelling
    // a search still running; the tree shows the new list in one step when the build is done.
    void ShowResults(const SqlStatement& statement, Direction direction);
    bool isSearching() const;

Q_SIGNALS:
    // A search ended and its tree, message or error is shown (a cancelled search never ends).
    void searchFinished();

public:
    const TZEMItemList* itemList() const { return ItemList.get(); }
    RecipeTreeModel* treeModel() const { return m_model; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildControls();
    void iptJobChange();
    void iptMokRockChange();
    void iptVersionChange();
    void btnSearchClick();
    void btnSearchNameClick();
    void btnZairyoSearchClick();
    void CreateTreeChange(const QModelIndex& node);
    void evtCalcClick();
    void searchDone(std::unique_ptr<TZEMItemList> list, const QString& error);
    void showSearching(bool searching);
    void fitMaterialRows();
    void clearDetails();

    std::unique_ptr<TZEMItemList> ItemList;
    QString SelectedMokRock;
    QString DBPath;

    QTabWidget* m_pages = nullptr;
    QComboBox* iptJob = nullptr;
    QComboBox* iptMokRock = nullptr;
    QComboBox* iptSkill = nullptr;
    QComboBox* iptVersion = nullptr;
    QComboBox* iptEquip = nullptr;
    QPushButton* btnSearch = nullptr;
    QLineEdit* iptItemName = nullptr;
    QPushButton* btnSearchName = nullptr;
    QLineEdit* iptZairyo = nullptr;
    QPushButton* btnZairyoSearch = nullptr;
    QTreeView* CreateTree = nullptr;
    RecipeTreeModel* m_model = nullptr;
    RecipeSearch* m_search = nullptr;
    QTimer* m_slowSearch = nullptr;  // the wait cursor and progress bar for a search that lasts
    QProgressBar* m_progress = nullptr;
    QGroupBox* m_panel = nullptr;
    QLabel* outYomi = nullptr;
    QLabel* outItemName = nullptr;
    QLabel* outItemCreator = nullptr;
    QLabel* outCreateCount = nullptr;
    QTableWidget* outCreateSource = nullptr;
    QPushButton* evtCalc = nullptr;
    QPushButton* evtShopping = nullptr;
    QPushButton* evtRanking = nullptr;
};
