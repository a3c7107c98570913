#include "recipes/TZEMForm081.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "common/Controls.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "common/ReadOnlyLook.h"
#include "common/ScreenAreas.h"
#include "common/TZEMError.h"
#include "common/TZEMSpinEdit.h"
#include "common/ToolWindow.h"
#include "recipes/FigureLabel.h"
#include "recipes/MarketIndices.h"
#include "recipes/PlannerData.h"
#include "recipes/ProductLoad.h"
#include "recipes/ProfitCalc.h"
#include "recipes/TDB.h"

namespace {

constexpr int clientWidth = 573;
constexpr int clientHeight = 425;
constexpr int rowTop = 66;   // first material row, inside the material group
constexpr int rowStep = 20;  // distance between material rows
constexpr int materialsTop = 182;
constexpr int materialsHeight = 235;

using ProfitCalc::wrapMul;

QString number(std::int64_t value) {
    return QString::number(value);
}

QLineEdit* makeIndexBox(QWidget* parent, const QString& name, const QRect& rect,
                        const QFont& font) {
    auto* box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setFont(font);
    box->setGeometry(rect);
    box->setInputMask(QStringLiteral("!99.99;0"));
    box->setMaxLength(5);
    box->setText(QStringLiteral("01.00"));
    return box;
}

}  // namespace

const QString TZEMForm081::EmptyMaterialCaption = QStringLiteral("　　　　　　　　");

TZEMForm081::TZEMForm081(QWidget* parent) : QWidget(parent), Prices(StandardRows, 0) {
    setObjectName(QStringLiteral("TZEMForm081"));
    setWindowTitle(QStringLiteral("産物商利益計算機"));
    // Calculators never keep the program alive once the controller has closed.
    setAttribute(Qt::WA_QuitOnClose, false);
    setFont(Fonts::font(Fonts::Mincho, 12));

    const QFont label16 = Fonts::font(Fonts::Mincho, 16);
    const QFont small = Fonts::font(Fonts::PMincho, 11);
    const QFont rowFont = Fonts::font(Fonts::Mincho, 12);
    // Figures, counts and indices keep these sizes in a face whose one is no lower-case L.
    const QFont figures16 = Fonts::figures(16);
    const QFont figures12 = Fonts::figures(12);
    const auto right = Qt::AlignRight;

    m_frame = new QGroupBox(this);
    m_frame->setGeometry(0, 0, clientWidth, clientHeight);

    // Product part.
    outUriYomi = Controls::label(m_frame, QString(), QRect(100, 6, 300, 14), small,
                                 QStringLiteral("outUriYomi"));
    Controls::label(m_frame, QStringLiteral("産物名　："), QRect(16, 20, 84, 22), label16);
    outUriName = Controls::label(m_frame, QString(), QRect(100, 20, 440, 22), label16,
                                 QStringLiteral("outUriName"));
    Controls::label(m_frame, QStringLiteral("工房ＬＶ："), QRect(16, 46, 84, 22), label16);
    outUriLV = Controls::label(m_frame, QString(), QRect(100, 46, 300, 22), label16,
                               QStringLiteral("outUriLV"));

    Controls::label(m_frame, QStringLiteral("総生産数："), QRect(16, 74, 84, 22), label16);
    outUriCount = Controls::label<FigureLabel>(m_frame, QStringLiteral("0"), QRect(96, 74, 70, 22),
                                               figures16, QStringLiteral("outUriCount"), right);
    Controls::label(m_frame, QStringLiteral("＝生産回数："), QRect(168, 74, 96, 22), label16);
    iptUriTime = new TZEMSpinEdit(m_frame);
    iptUriTime->setObjectName(QStringLiteral("iptUriTime"));
    iptUriTime->setBounds(1, 1000);
    iptUriTime->setText(QStringLiteral("1"));
    iptUriTime->setGeometry(266, 73, 60, 24);
    iptUriTime->setFont(figures12);
    Controls::label(m_frame, QStringLiteral("×生産数："), QRect(330, 74, 80, 22), label16);
    // The standard count lies beneath the spin box and is not seen; the calculation reads it.
    outUriSeisanSu = Controls::label(m_frame, QStringLiteral("1"), QRect(412, 73, 58, 24),
                                     figures16, QStringLiteral("outUriSeisanSu"), right);
    outUriSeisanSu->hide();
    iptUriSeisanSu = new TZEMSpinEdit(m_frame);
    iptUriSeisanSu->setObjectName(QStringLiteral("iptUriSeisanSu"));
    iptUriSeisanSu->setBounds(1, 999);
    iptUriSeisanSu->setText(QStringLiteral("1"));
    iptUriSeisanSu->setGeometry(412, 73, 58, 24);
    iptUriSeisanSu->setFont(figures12);
    evtDefaultSu = new QPushButton(QStringLiteral("標準に戻す"), m_frame);
    evtDefaultSu->setObjectName(QStringLiteral("evtDefaultSu"));
    evtDefaultSu->setGeometry(476, 72, 90, 26);
    evtDefaultSu->hide();

    Controls::label(m_frame, QStringLiteral("原材料費："), QRect(16, 102, 84, 22), label16);
    outBuyCost = Controls::label<FigureLabel>(m_frame, QStringLiteral("0"), QRect(96, 102, 70, 22),
                                              figures16, QStringLiteral("outBuyCost"), right);

    Controls::label(m_frame, QStringLiteral("売却価格："), QRect(16, 128, 84, 22), label16);
    outUriCost = Controls::label<FigureLabel>(m_frame, QStringLiteral("0"), QRect(96, 128, 70, 22),
                                              figures16, QStringLiteral("outUriCost"), right);
    Controls::label(m_frame, QStringLiteral("＝生産数："), QRect(168, 128, 80, 22), label16);
    outUriSu = Controls::label<FigureLabel>(m_frame, QStringLiteral("1"), QRect(248, 128, 44, 22),
                                            figures16, QStringLiteral("outUriSu"), right);
    Controls::label(m_frame, QStringLiteral("×売却単価："), QRect(292, 128, 96, 22), label16);
    outUriTanka =
        Controls::label<FigureLabel>(m_frame, QStringLiteral("0"), QRect(388, 128, 67, 22),
                                     figures16, QStringLiteral("outUriTanka"), right);
    outUriSisu = Controls::label(m_frame, QStringLiteral("×指数："), QRect(455, 128, 64, 22),
                                 label16, QStringLiteral("outUriSisu"));
    iptUriSisu =
        makeIndexBox(m_frame, QStringLiteral("iptUriSisu"), QRect(519, 127, 50, 24), figures16);
    outUriSisu->hide();
    iptUriSisu->hide();

    Controls::label(m_frame, QStringLiteral("利益　　："), QRect(16, 154, 84, 22), label16);
    outUriGain = Controls::label<FigureLabel>(m_frame, QStringLiteral("0"), QRect(96, 154, 70, 22),
                                              figures16, QStringLiteral("outUriGain"), right);

    chkOwnPrices = new QCheckBox(QStringLiteral("自分の価格で計算"), m_frame);
    chkOwnPrices->setObjectName(QStringLiteral("chkOwnPrices"));
    chkOwnPrices->setFont(rowFont);
    chkOwnPrices->setGeometry(400, 154, 165, 22);
    chkOwnPrices->setToolTip(
        QStringLiteral("店買い・店売りの代わりに自分の価格（材料集計・利益ランキングの"
                       "「自分の価格」）を使います"));

    // Material part.
    m_materials = new QGroupBox(QStringLiteral("材料"), m_frame);
    m_materials->setFont(rowFont);
    m_materials->setGeometry(8, materialsTop, clientWidth - 16, materialsHeight);
    Controls::label(m_materials, QStringLiteral("生産費用："), QRect(12, 20, 80, 22), label16);
    outZaiTotalCost =
        Controls::label<FigureLabel>(m_materials, QStringLiteral("0"), QRect(88, 20, 70, 22),
                                     figures16, QStringLiteral("outZaiTotalCost"), right);
    const int heads = rowTop - 20;
    Controls::label(m_materials, QStringLiteral("知行産物名"), QRect(12, heads, 150, 18), rowFont);
    Controls::label(m_materials, QStringLiteral("入手先"), QRect(168, heads, 80, 18), rowFont);
    Controls::label(m_materials, QStringLiteral("指数"), QRect(254, heads, 50, 18), rowFont);
    Controls::label(m_materials, QStringLiteral("単価"), QRect(310, heads, 64, 18), rowFont,
                    QString(), right);
    Controls::label(m_materials, QStringLiteral("必要数"), QRect(378, heads, 58, 18), rowFont,
                    QString(), right);
    Controls::label(m_materials, QStringLiteral("必要額"), QRect(440, heads, 100, 18), rowFont,
                    QString(), right);
    for (int k = 0; k < StandardRows; ++k) {
        addMaterialRow();
    }

    setFixedSize(clientWidth, clientHeight);

    const auto recalc = [this] { changed(); };
    connect(iptUriTime, &TZEMSpinEdit::changed, this, recalc);
    connect(iptUriSeisanSu, &TZEMSpinEdit::changed, this, recalc);
    connect(iptUriSisu, &QLineEdit::textChanged, this, recalc);
    connect(evtDefaultSu, &QPushButton::clicked, this, [this] { defaultSuClicked(); });
    connect(chkOwnPrices, &QCheckBox::toggled, this,
            [this] { Messages::guarded([this] { applyPrices(); }); });
}

void TZEMForm081::addMaterialRow() {
    const int k = int(m_rows.size());
    const int y = rowTop + k * rowStep;
    const QFont rowFont = Fonts::font(Fonts::Mincho, 12);
    const QFont figures = Fonts::figures(12);
    const auto name = [k](const char* stem) {
        return QString::fromLatin1(stem) + QString::number(k);
    };

    MaterialRow row;
    row.outZaiName = Controls::label(m_materials, EmptyMaterialCaption, QRect(12, y, 154, 19),
                                     rowFont, name("outZaiName"));
    row.iptGetTarget = new QComboBox(m_materials);
    row.iptGetTarget->setObjectName(name("iptGetTarget"));
    row.iptGetTarget->addItems({QStringLiteral("産物商"), QStringLiteral("店"),
                                QStringLiteral("ＰＣ"), QStringLiteral("自作")});
    row.iptGetTarget->setCurrentIndex(0);
    row.iptGetTarget->setEnabled(false);
    ReadOnlyLook::apply(row.iptGetTarget);
    row.iptGetTarget->setGeometry(168, y, 80, 19);
    row.iptZaiSisu = makeIndexBox(m_materials, name("iptZaiSisu"), QRect(254, y, 50, 19), figures);
    row.iptZaiSisu->setAttribute(Qt::WA_InputMethodEnabled, false);
    row.outZaiCost = Controls::label<FigureLabel>(m_materials, QString(), QRect(310, y, 64, 19),
                                                  figures, name("outZaiCost"), Qt::AlignRight);
    row.outZaiCount = Controls::label<FigureLabel>(m_materials, QString(), QRect(378, y, 58, 19),
                                                   figures, name("outZaiCount"), Qt::AlignRight);
    row.outZaiTotalCost =
        Controls::label<FigureLabel>(m_materials, QString(), QRect(440, y, 100, 19), figures,
                                     name("outZaiTotalCost"), Qt::AlignRight);
    row.outZaiName->hide();
    row.iptGetTarget->hide();
    row.iptZaiSisu->hide();
    // A row added while the window is on screen must show its figures too.
    row.outZaiCost->show();
    row.outZaiCount->show();
    row.outZaiTotalCost->show();
    connect(row.iptGetTarget, &QComboBox::currentIndexChanged, this, [this] { changed(); });
    connect(row.iptZaiSisu, &QLineEdit::textChanged, this, [this] { changed(); });
    m_rows.push_back(row);

    // Rows beyond the standard seven make the window taller.
    const int extra = std::max(0, int(m_rows.size()) - StandardRows) * rowStep;
    m_materials->resize(m_materials->width(), materialsHeight + extra);
    m_frame->resize(clientWidth, clientHeight + extra);
    if (extra > 0) {
        setFixedSize(clientWidth, clientHeight + extra);
        if (Prices.size() < m_rows.size()) {
            Prices.resize(m_rows.size(), 0);
        }
    }
}

TZEMForm081* TZEMForm081::openFor(const QString& productName, const QString& dbPath) {
    auto* window = new TZEMForm081();
    // Calculators are not owned by the window that opened them; they go when the program ends.
    ToolWindow::freeAtQuit(window);
    window->outUriName->setText(productName);
    window->DBPath = dbPath;
    window->move(ScreenAreas::desktop().topLeft());
    window->show();
    Messages::guarded([window] { window->LoadProduct(); });
    connect(&PlannerData::of(window->dataFolder()), &PlannerData::pricesChanged, window, [window] {
        if (window->chkOwnPrices->isChecked()) {
            Messages::guarded([window] { window->applyPrices(); });
        }
    });
    return window;
}

TZEMForm081* TZEMForm081::openWith(const QString& productName, const QString& dbPath,
                                   const MarketIndices& indices, bool ownPrices) {
    TZEMForm081* window = openFor(productName, dbPath);
    Messages::guarded([&] { window->setIndices(indices); });
    window->chkOwnPrices->setChecked(ownPrices);
    return window;
}

QString TZEMForm081::dataFolder() const {
    return QFileInfo(DBPath).absolutePath() + u'/';
}

void TZEMForm081::applyPrices() {
    const bool own = chkOwnPrices->isChecked();
    const PriceBook* book = own ? &PlannerData::of(dataFolder()).prices() : nullptr;
    for (std::size_t k = 0; k < m_dbPrices.size() && k < Prices.size(); ++k) {
        const QString name = m_rows[k].outZaiName->text();
        Prices[k] = book ? book->buy(name).value_or(m_dbPrices[k]) : m_dbPrices[k];
    }
    if (!m_dbUnitPrice.isNull()) {
        const PriceBook::Prices mine =
            book ? book->prices(outUriName->text()) : PriceBook::Prices{};
        const auto unit = ProfitCalc::productIndexed(ProductMokRock) ? mine.buy : mine.sell;
        outUriTanka->setText(unit ? QString::number(*unit) : m_dbUnitPrice);
    }
    Recalculate();
}

void TZEMForm081::setIndices(const MarketIndices& indices) {
    if (ProfitCalc::productIndexed(ProductMokRock)) {
        iptUriSisu->setText(indices.product(outUriName->text()));
    }
    for (int k = 0; k < int(m_rows.size()) && rowInUse(k); ++k) {
        const MaterialRow& row = m_rows[std::size_t(k)];
        row.iptZaiSisu->setText(indices.material(row.outZaiName->text()));
    }
}

Extended TZEMForm081::indexValue(const QString& displayed) {
    return ProfitCalc::indexValue(displayed);
}

bool TZEMForm081::rowInUse(int k) const {
    return !m_rows[std::size_t(k)].outZaiName->isHidden();
}

void TZEMForm081::changed() {
    Messages::guarded([this] { Recalculate(); });
}

void TZEMForm081::defaultSuClicked() {
    Messages::guarded([this] { iptUriSeisanSu->setText(outUriSeisanSu->text()); });
}

void TZEMForm081::LoadProduct() {
    std::fill(Prices.begin(), Prices.end(), 0);
    struct Material {
        QString name;
        QString count;
        std::int32_t price;
    };
    std::vector<Material> materials;
    {
        TDB db(DBPath);
        db.connectOrFail();
        const auto product = [this](const ProductLoad::ProductRow& row) {
            outUriYomi->setText(row.yomi());
            outUriSeisanSu->setText(row.standardCount());
            // A new count recalculates at once, like any change of the spin box: the figures
            // stand even when reading the rest of the product or its materials fails.
            iptUriSeisanSu->setText(row.standardCount());
            outUriLV->setText(row.skill());
            ProductMokRock = row.catalogue();
            const bool sanbutsu = ProfitCalc::productIndexed(ProductMokRock);
            outUriSisu->setVisible(sanbutsu);
            iptUriSisu->setVisible(sanbutsu);
            outUriTanka->setText(row.unitPrice());
            outUriSu->setText(iptUriSeisanSu->text());
            outUriCost->setText(number(ProfitCalc::sale(integerFromText(iptUriSeisanSu->text()),
                                                        integerFromText(outUriTanka->text()),
                                                        integerFromText(iptUriTime->text()))));
        };
        // Every material is read before any row is filled, so a failure leaves no half list.
        const auto material = [&materials](const ProductLoad::MaterialRow& row) {
            materials.push_back(Material{row.name(), row.needed(), row.price()});
        };
        ProductLoad::read(db, outUriName->text(), product, material);
        while (m_rows.size() < materials.size()) {
            addMaterialRow();
        }
        for (std::size_t k = 0; k < materials.size(); ++k) {
            m_rows[k].outZaiName->setText(materials[k].name);
            m_rows[k].outZaiCount->setText(materials[k].count);
            Prices[k] = materials[k].price;
        }
        m_dbPrices.assign(Prices.begin(), Prices.begin() + std::ptrdiff_t(materials.size()));
        m_dbUnitPrice = outUriTanka->text();
    }
    for (const MaterialRow& row : m_rows) {
        const bool inUse = row.outZaiName->text() != EmptyMaterialCaption;
        row.outZaiName->setVisible(inUse);
        row.iptZaiSisu->setVisible(inUse);
        row.iptGetTarget->setVisible(inUse);
    }
    if (chkOwnPrices->isChecked()) {
        applyPrices();
        return;
    }
    Recalculate();
}

void TZEMForm081::Recalculate() {
    const auto integer = [](const QString& text) { return integerFromText(text); };

    outUriCount->setText(
        number(wrapMul(integer(iptUriTime->text()), integer(outUriSeisanSu->text()))));

    const int rows = int(m_rows.size());
    for (int k = 0; k < rows && rowInUse(k); ++k) {
        const MaterialRow& row = m_rows[std::size_t(k)];
        const Extended index = indexValue(row.iptZaiSisu->displayText());
        row.outZaiCost->setText(
            number(ProfitCalc::materialUnitCost(index, Prices[std::size_t(k)])));
        row.outZaiTotalCost->setText(
            number(wrapMul(integer(row.outZaiCost->text()), integer(row.outZaiCount->text()))));
    }

    std::int32_t sum = 0;
    for (int k = 0; k < rows && rowInUse(k); ++k) {
        const MaterialRow& row = m_rows[std::size_t(k)];
        sum = ProfitCalc::addMaterialCost(sum, integer(row.outZaiCount->text()),
                                          Prices[std::size_t(k)],
                                          indexValue(row.iptZaiSisu->displayText()));
    }
    outZaiTotalCost->setText(number(sum));
    outBuyCost->setText(number(wrapMul(integer(iptUriTime->text()), sum)));

    outUriSu->setText(iptUriSeisanSu->text());
    outUriCost->setText(
        number(ProfitCalc::sale(integer(iptUriSeisanSu->text()), integer(outUriTanka->text()),
                                integer(iptUriTime->text()))));
    if (ProfitCalc::productIndexed(ProductMokRock)) {
        outUriCost->setText(number(ProfitCalc::indexedSale(integer(outUriCost->text()),
                                                           indexValue(iptUriSisu->displayText()))));
    }
    outUriGain->setText(
        number(ProfitCalc::gain(outUriCost->text().toLongLong(), integer(outBuyCost->text()))));
    evtDefaultSu->setVisible(iptUriSeisanSu->text() != outUriSeisanSu->text());
}
