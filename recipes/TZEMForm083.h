#pragma once

#include <QString>
#include <QWidget>
#include <memory>

class BackgroundTask;
class IndexDelegate;
class MarketIndices;
class MaterialIndexModel;
class PlannerData;
class ProfitRanking;
class ProfitRankingModel;
class QProgressBar;
class QPushButton;
class QTableView;

// "利益ランキング": every fief product of the item database with the profit calculator's figures
// at the standard counts, best profit first, and the index at which each breaks even. The market
// index of each material and of each 知行産物 is set here and remembered in TAMUMarket.ini of the
// data folder; the list sorts again at once. The user's own prices (自分の価格, opened from here)
// stand in for the database's. A double click opens the product's calculator with
// the same indices. The products are read on a worker thread; the window shows them when they are
// all there.
class TZEMForm083 : public QWidget {
    Q_OBJECT

public:
    // `dataFolder` holds TAMUMarket.ini and ends with a separator.
    TZEMForm083(const QString& dbPath, const QString& dataFolder, QWidget* parent = nullptr);
    ~TZEMForm083() override;

    static TZEMForm083* openFor(const QString& dbPath, const QString& dataFolder);

    const ProfitRanking& ranking() const { return *m_ranking; }
    bool isLoading() const;
    // Sets a material's index as the user does in the material table.
    void setMaterialIndex(const QString& material, const QString& index);

Q_SIGNALS:
    // The products have been read (or the read failed and said so).
    void loaded();

private:
    void load();
    void showLoading(bool loading);
    void openCalculator(int rank);

    QString m_dbPath;
    PlannerData& m_data;
    std::unique_ptr<MarketIndices> m_indices;
    std::unique_ptr<ProfitRanking> m_ranking;
    ProfitRankingModel* m_model = nullptr;
    MaterialIndexModel* m_materialModel = nullptr;
    QPushButton* evtPrices = nullptr;
    QTableView* outRanking = nullptr;
    QTableView* outMarket = nullptr;
    QProgressBar* m_progress = nullptr;
    BackgroundTask* m_loading = nullptr;
    bool m_pricesChangedWhileLoading = false;
};
