#include "recipes/TZEMForm082.h"
#include "common/FlashNote.h"

#include <QClipboard>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "common/Controls.h"
#include "common/ElidedLabel.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "common/TZEMError.h"
#include "common/TZEMSpinEdit.h"
#include "common/WindowPlaces.h"
#include "recipes/ChoiceDelegate.h"
#include "recipes/CsvText.h"
#include "recipes/PlannerData.h"
#include "recipes/PlannerWindow.h"
#include "recipes/ShoppingPlanModels.h"
#include "recipes/TZEMForm084.h"

namespace {

constexpr int Width = 600;
constexpr int Height = 596;
}  // namespace

TZEMForm082::TZEMForm082(const QString& productName, const QString& dataFolder, QWidget* parent)
    : QWidget(parent), m_data(PlannerData::of(dataFolder)) {
    setObjectName(QStringLiteral("TZEMForm082"));
    PlannerWindow::setup(this, QStringLiteral("材料集計"), QSize(Width, Height));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 6);
    layout->setSpacing(2);
    const QFont labels = Fonts::font(Fonts::Mincho, 16);
    const auto caption = [this, &labels](const QString& text) {
        QLabel* result = Controls::label(this, text, labels);
        result->setFixedWidth(84);
        return result;
    };

    auto* nameRow = new QHBoxLayout;
    nameRow->setSpacing(0);
    nameRow->addWidget(caption(QStringLiteral("産物名　：")));
    outProductName = new ElidedLabel(productName, this);
    outProductName->setObjectName(QStringLiteral("outProductName"));
    outProductName->setFont(Fonts::font(Fonts::Mincho, 16));
    nameRow->addWidget(outProductName, 1);
    layout->addLayout(nameRow);
    layout->addSpacing(4);

    auto* piecesRow = new QHBoxLayout;
    piecesRow->setSpacing(0);
    piecesRow->addWidget(caption(QStringLiteral("必要個数：")));
    iptPieces = new TZEMSpinEdit(this);
    iptPieces->setObjectName(QStringLiteral("iptPieces"));
    iptPieces->setBounds(1, 999999);
    iptPieces->setText(QStringLiteral("1"));
    iptPieces->setFixedSize(80, 24);
    piecesRow->addWidget(iptPieces);
    piecesRow->addStretch(1);
    evtPrices = new QPushButton(QStringLiteral("自分の価格"), this);
    evtPrices->setObjectName(QStringLiteral("evtPrices"));
    evtPrices->setFixedSize(94, 25);
    evtPrices->setToolTip(QStringLiteral("店買いの代わりに使う自分の価格を編集します"));
    piecesRow->addWidget(evtPrices);
    piecesRow->addSpacing(6);
    evtCopy = new QPushButton(QStringLiteral("コピー"), this);
    evtCopy->setObjectName(QStringLiteral("evtCopy"));
    evtSaveCsv = new QPushButton(QStringLiteral("CSV保存"), this);
    evtSaveCsv->setObjectName(QStringLiteral("evtSaveCsv"));
    evtCopy->setFixedSize(94, 25);
    evtSaveCsv->setFixedSize(94, 25);
    piecesRow->addWidget(evtCopy);
    piecesRow->addSpacing(6);
    piecesRow->addWidget(evtSaveCsv);
    layout->addLayout(piecesRow);
    layout->addSpacing(6);

    // The tables share what the window grows by as they share its first size.
    layout->addWidget(Controls::label(this, QStringLiteral("原材料"), labels));
    m_purchases = new PurchasesModel(this);
    m_steps = new StepsModel(this);
    m_leftovers = new LeftoversModel(this);
    outPurchases = PlannerWindow::view(this, QStringLiteral("outPurchases"), m_purchases);
    outPurchases->setMinimumHeight(80);
    layout->addWidget(outPurchases, 176);
    auto* totalRow = new QHBoxLayout;
    outTotal = Controls::label(this, QString(), labels, QStringLiteral("outTotal"));
    outTotal->setMinimumWidth(250);
    totalRow->addWidget(outTotal);
    outNote = new ElidedLabel(this);
    outNote->setObjectName(QStringLiteral("outNote"));
    outNote->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    totalRow->addWidget(outNote, 1);
    layout->addSpacing(2);
    layout->addLayout(totalRow);
    layout->addSpacing(6);

    layout->addWidget(Controls::label(this, QStringLiteral("生産手順"), labels));
    outSteps = PlannerWindow::view(this, QStringLiteral("outSteps"), m_steps);
    ChoiceDelegate::attach(outSteps, 1, ShoppingPlanModel::ChoicesRole);
    outSteps->setMinimumHeight(80);
    layout->addWidget(outSteps, 166);
    layout->addSpacing(6);
    layout->addWidget(Controls::label(this, QStringLiteral("余り"), labels));
    outLeftovers = PlannerWindow::view(this, QStringLiteral("outLeftovers"), m_leftovers);
    outLeftovers->setMinimumHeight(50);
    layout->addWidget(outLeftovers, 78);

    // The name columns take what the window is wider by; the others keep their widths, which
    // the user may change.
    const auto widths = [](QTableView* t, std::initializer_list<int> columns) {
        int c = 0;
        for (const int w : columns) {
            t->setColumnWidth(c++, w);
        }
        PlannerWindow::fillWithColumn(t, 0, *columns.begin());
    };
    widths(outPurchases, {150, 90, 80, 100, 40, 50});
    widths(outSteps, {120, 164, 52, 52, 60, 40, 50});
    // 所持 takes typed pieces; the recipe cells open on a click as before.
    const auto editable = QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
                          QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed;
    outPurchases->setEditTriggers(editable);
    outSteps->setEditTriggers(editable);
    widths(outLeftovers, {150, 90});

    connect(iptPieces, &TZEMSpinEdit::changed, this,
            [this] { Messages::guarded([this] { recalculate(); }); });
    // The models report the user's changes from within the views: the list changes at once,
    // the tables are refilled once the views have finished with them.
    for (ShoppingPlanModel* model :
         {static_cast<ShoppingPlanModel*>(m_purchases), static_cast<ShoppingPlanModel*>(m_steps)}) {
        connect(model, &ShoppingPlanModel::boughtChanged, this, [this](int item, bool bought) {
            m_list->setBought(item, bought);
            recalculateLater();
        });
        connect(model, &ShoppingPlanModel::recipeChosen, this, [this](int item, int row) {
            m_list->setRow(item, row);
            recalculateLater();
        });
        connect(model, &ShoppingPlanModel::heldChanged, this,
                [this](int item, std::int64_t pieces) {
                    Messages::guarded([&] { heldChanged(item, pieces); });
                });
    }
    // A change made in any window of the folder (this one included) shows here.
    connect(&m_data, &PlannerData::pricesChanged, this, [this] {
        if (m_list) {
            m_list->usePrices(m_data.prices());
            recalculateLater();
        }
    });
    connect(&m_data, &PlannerData::holdingsChanged, this, [this] {
        if (m_list) {
            m_list->useHoldings(m_data.holdings());
            recalculateLater();
        }
    });
    connect(evtPrices, &QPushButton::clicked, this, [this] {
        Messages::guarded([this] { TZEMForm084::openFor(m_dbPath, m_data.folder()); });
    });
    connect(evtCopy, &QPushButton::clicked, this,
            [this] { Messages::guarded([this] { copyToClipboard(); }); });
    connect(evtSaveCsv, &QPushButton::clicked, this,
            [this] { Messages::guarded([this] { saveClicked(); }); });

    evtCopy->setEnabled(false);
    evtSaveCsv->setEnabled(false);
    WindowPlaces::attach(this);
}

TZEMForm082::~TZEMForm082() = default;

TZEMForm082* TZEMForm082::openFor(const QString& productName, const QString& dbPath,
                                  QString dataFolder) {
    if (dataFolder.isEmpty()) {
        dataFolder = QFileInfo(dbPath).absolutePath() + u'/';
    }
    // Only a list that could be read gets a window; a failed read leaves just its message.
    auto window = std::make_unique<TZEMForm082>(productName, dataFolder);
    window->load(productName, dbPath);
    window->show();
    return window.release();
}

void TZEMForm082::load(const QString& productName, const QString& dbPath) {
    auto book = std::make_unique<RecipeBook>(RecipeBook::read(dbPath, productName));
    if (!book->at(0).isProduct()) {
        throw TZEMError(
            QStringLiteral("「%1」の生産レシピが見つかりませんでした。").arg(productName));
    }
    m_book = std::move(book);
    m_dbPath = dbPath;
    m_list = std::make_unique<ShoppingList>(*m_book);
    m_list->usePrices(m_data.prices());
    m_list->useHoldings(m_data.holdings());
    evtCopy->setEnabled(true);
    evtSaveCsv->setEnabled(true);
    // Setting the default count recalculates.
    iptPieces->setText(QString::number(m_list->defaultPieces()));
    recalculate();
}

void TZEMForm082::recalculate() {
    if (!m_list) {
        return;
    }
    m_list->setPieces(iptPieces->value());
    m_plan = m_list->plan();
    showPlan();
}

void TZEMForm082::showPlan() {
    m_purchases->show(*m_list, m_plan);
    m_steps->show(*m_list, m_plan);
    m_leftovers->show(*m_list, m_plan);
    outTotal->setText(QStringLiteral("合計：%1").arg(m_plan.total));
    outNote->setText(m_plan.unpriced > 0 ? ShoppingList::UnpricedNote.arg(m_plan.unpriced)
                                         : QString());
}

void TZEMForm082::recalculateLater() {
    // The tables are refilled: not while the view that reported the change is still at it.
    QMetaObject::invokeMethod(
        this, [this] { Messages::guarded([this] { recalculate(); }); }, Qt::QueuedConnection);
}

void TZEMForm082::copyToClipboard() {
    if (m_list) {
        QGuiApplication::clipboard()->setText(m_list->toTabText(m_plan));
        FlashNote::show(evtCopy, QStringLiteral("材料集計をコピーしました"));
    }
}

void TZEMForm082::saveCsv(const QString& fileName) {
    if (!m_list) {
        return;
    }
    CsvText::save(fileName, m_list->toCsv(m_plan));
    FlashNote::show(evtSaveCsv,
                    QStringLiteral("%1 に保存しました").arg(QFileInfo(fileName).fileName()));
}

void TZEMForm082::heldChanged(int item, std::int64_t pieces) {
    m_data.setHeld(m_book->at(item).name, pieces);
}

void TZEMForm082::saveClicked() {
    const QString fileName = QFileDialog::getSaveFileName(
        this, QStringLiteral("CSV保存"), outProductName->text() + QStringLiteral("_材料集計.csv"),
        QStringLiteral("CSV ファイル (*.csv)"));
    if (!fileName.isEmpty()) {
        saveCsv(fileName);
    }
}
