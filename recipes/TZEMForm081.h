#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <vector>

#include "common/Extended.h"

class MarketIndices;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class TZEMSpinEdit;

// The profit calculator "産物商利益計算機" for one fief product. It loads the product and its
// direct materials once, then recomputes every figure from its own controls, step by step with
// the arithmetic of ProfitCalc, whenever a count or a market index changes; a step that fails
// leaves the figures after it as they were.
//
// With 自分の価格で計算 ticked (off at first), the user's own prices of the data folder (the
// database's folder) stand in for the database's unit price and material prices; the figures
// follow changes to them while it is ticked.
//
// Closing hides the window; it stays until the program ends. A product with more than seven
// materials gets one more row per extra material, so no material is left out of the sums.
class TZEMForm081 : public QWidget {
    Q_OBJECT

public:
    explicit TZEMForm081(QWidget* parent = nullptr);

    // Opens a new, independent calculator at the top-left of the screen and loads the product;
    // a loading error is shown and the window stays open with what it had loaded.
    static TZEMForm081* openFor(const QString& productName, const QString& dbPath);
    // The same, then with the remembered market indices of the product and its materials.
    // `ownPrices` ticks 自分の価格で計算, as the profit ranking does where its figures use them.
    static TZEMForm081* openWith(const QString& productName, const QString& dbPath,
                                 const MarketIndices& indices, bool ownPrices = false);
    void setIndices(const MarketIndices& indices);

    void LoadProduct();
    void Recalculate();

    // The value of an index box: its displayed text DD.DD.
    static Extended indexValue(const QString& displayed);

    QString DBPath;
    QString ProductMokRock;
    std::vector<std::int32_t> Prices;

    static constexpr int StandardRows = 7;
    static const QString EmptyMaterialCaption;  // eight ideographic spaces

private:
    struct MaterialRow {
        QLabel* outZaiName = nullptr;
        QComboBox* iptGetTarget = nullptr;
        QLineEdit* iptZaiSisu = nullptr;
        QLabel* outZaiCost = nullptr;
        QLabel* outZaiCount = nullptr;
        QLabel* outZaiTotalCost = nullptr;
    };

    void addMaterialRow();
    bool rowInUse(int k) const;
    void changed();
    void defaultSuClicked();
    // Puts the own or the database's prices in place, as the box says, and recalculates.
    void applyPrices();
    QString dataFolder() const;

    QGroupBox* m_frame = nullptr;
    QGroupBox* m_materials = nullptr;
    QLabel* outUriYomi = nullptr;
    QLabel* outUriName = nullptr;
    QLabel* outUriLV = nullptr;
    QLabel* outUriCount = nullptr;
    TZEMSpinEdit* iptUriTime = nullptr;
    TZEMSpinEdit* iptUriSeisanSu = nullptr;
    QLabel* outUriSeisanSu = nullptr;
    QPushButton* evtDefaultSu = nullptr;
    QLabel* outBuyCost = nullptr;
    QLabel* outUriCost = nullptr;
    QLabel* outUriSu = nullptr;
    QLabel* outUriTanka = nullptr;
    QLabel* outUriSisu = nullptr;
    QLineEdit* iptUriSisu = nullptr;
    QLabel* outUriGain = nullptr;
    QLabel* outZaiTotalCost = nullptr;
    QCheckBox* chkOwnPrices = nullptr;
    std::vector<MaterialRow> m_rows;
    // The prices as loaded from the database, for when the own prices are set aside again.
    std::vector<std::int32_t> m_dbPrices;
    QString m_dbUnitPrice;
};
