#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <memory>

#include "recipes/SqlStatement.h"
#include "recipes/TZEMItemList.h"

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTabWidget;
class QTableWidget;
class QTreeView;
class RecipeTreeModel;

// "生産レシピ検索": finds products by conditions, by part of the name or by part of a material's
// name, shows the recipe graph as a tree and, for the selected item, its jobs, production count,
// reading and direct materials. Every action opens its own database connection and closes it
// at the end, also when it fails; an error ends the action and leaves what was shown.
class TZEMForm08 : public QWidget {
    Q_OBJECT

public:
    enum class Direction { Forward, Reverse };

    TZEMForm08(const QStringList& jobList, const QStringList& versionList,
               const QStringList& equipList, const QString& dbPath, QWidget* parent = nullptr);
    ~TZEMForm08() override;

    static void ResetCombo(QComboBox* box);

    // Rebuilds ItemList from the statement and shows it in CreateTree.
    void ShowResults(const SqlStatement& statement, Direction direction);

    const TZEMItemList* itemList() const { return ItemList.get(); }
    const QString& selectedMokRock() const { return SelectedMokRock; }
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
