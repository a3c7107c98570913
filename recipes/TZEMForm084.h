#pragma once

#include <QString>
#include <QWidget>

class OwnPriceModel;
class PlannerData;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

// "自分の価格": the user's own 店買い and 店売り beside the item database's, which the planners
// use in place of the database's (TAMUPrices.ini of the data folder). Opened from 材料集計 and
// 利益ランキング, one window per data folder. The book is read from and written to CSV, so that a
// spreadsheet can keep it: rows that do not read are listed and skipped, the others taken.
class TZEMForm084 : public QWidget {
    Q_OBJECT

public:
    TZEMForm084(const QString& dbPath, const QString& dataFolder, QWidget* parent = nullptr);
    ~TZEMForm084() override;

    // Brings the folder's window to the front, or opens one; a database that cannot be read is
    // said, and the window shows the own prices alone.
    static TZEMForm084* openFor(const QString& dbPath, const QString& dataFolder);

    OwnPriceModel& model() const { return *m_model; }
    const QString& dataFolder() const { return m_folder; }

    void importCsv(const QString& fileName);
    void exportCsv(const QString& fileName);

private:
    void load();
    void filterChanged();
    void importClicked();
    void exportClicked();

    QString m_dbPath;
    QString m_folder;
    PlannerData& m_data;
    OwnPriceModel* m_model = nullptr;
    QLineEdit* iptFilter = nullptr;
    QCheckBox* chkOwnOnly = nullptr;
    QPushButton* evtImport = nullptr;
    QPushButton* evtExport = nullptr;
    QTableView* outPrices = nullptr;
    QLabel* outNote = nullptr;
};
