#include "recipes/TZEMForm083.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "common/BackgroundTask.h"
#include "common/ElidedLabel.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "common/TZEMError.h"
#include "common/WindowPlaces.h"
#include "recipes/IndexDelegate.h"
#include "recipes/MarketIndices.h"
#include "recipes/MaterialIndexModel.h"
#include "recipes/PlannerData.h"
#include "recipes/PlannerWindow.h"
#include "recipes/ProfitRanking.h"
#include "recipes/ProfitRankingModel.h"
#include "recipes/TZEMForm081.h"
#include "recipes/TZEMForm084.h"

namespace {

constexpr int Width = 868;
constexpr int Height = 520;
constexpr int MarketLeft = 624;

}  // namespace

TZEMForm083::TZEMForm083(const QString& dbPath, const QString& dataFolder, QWidget* parent)
    : QWidget(parent),
      m_dbPath(dbPath),
      m_data(PlannerData::of(dataFolder)),
      m_indices(std::make_unique<MarketIndices>(dataFolder)),
      m_ranking(std::make_unique<ProfitRanking>(*m_indices, &m_data.prices())) {
    setObjectName(QStringLiteral("TZEMForm083"));
    PlannerWindow::setup(this, QStringLiteral("利益ランキング"), QSize(Width, Height));

    // The ranking takes what the window grows by; the divider gives the materials more.
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 6, 8, 8);
    auto* panes = new QSplitter(Qt::Horizontal, this);
    panes->setObjectName(QStringLiteral("splPanes"));
    panes->setChildrenCollapsible(false);
    panes->setHandleWidth(8);
    layout->addWidget(panes);
    const auto pane = [panes](const QString& caption, QWidget* table, QWidget* beside = nullptr) {
        auto* widget = new QWidget(panes);
        auto* column = new QVBoxLayout(widget);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(2);
        // A caption gives way to a narrow pane ("…", the whole caption its tooltip).
        auto* label = new ElidedLabel(caption, widget);
        label->setFont(Fonts::font(Fonts::Mincho, 16));
        if (beside) {
            auto* head = new QHBoxLayout;
            head->setContentsMargins(0, 0, 0, 0);
            head->addWidget(label, 1);
            beside->setParent(widget);
            beside->setFixedHeight(label->sizeHint().height());
            head->addWidget(beside);
            column->addLayout(head);
        } else {
            column->addWidget(label);
        }
        column->addWidget(table, 1);
        panes->addWidget(widget);
    };

    outRanking = new QTableView(this);
    PlannerWindow::setupTable(outRanking, QStringLiteral("outRanking"));
    m_model = new ProfitRankingModel(*m_ranking, *m_indices, this);
    outRanking->setModel(m_model);
    outRanking->setItemDelegateForColumn(ProfitRankingModel::Index, new IndexDelegate(outRanking));
    outRanking->setEditTriggers(QAbstractItemView::SelectedClicked |
                                QAbstractItemView::EditKeyPressed |
                                QAbstractItemView::AnyKeyPressed);
    const int widths[] = {36, 130, 66, 46, 64, 64, 64, 46, 60};  // 576 and a scroll bar
    for (int c = 0; c < ProfitRankingModel::Columns; ++c) {
        outRanking->setColumnWidth(c, widths[c]);
    }
    PlannerWindow::fillWithColumn(outRanking, ProfitRankingModel::Name, widths[1]);
    outRanking->setToolTip(QStringLiteral("ダブルクリックで産物商利益計算機を開きます"));
    evtPrices = new QPushButton(QStringLiteral("自分の価格"), this);
    evtPrices->setObjectName(QStringLiteral("evtPrices"));
    evtPrices->setToolTip(QStringLiteral("店買い・店売りの代わりに使う自分の価格を編集します"));
    pane(QStringLiteral("知行産物・知行名物の利益（生産回数１、標準の生産数）"), outRanking,
         evtPrices);

    m_materialModel = new MaterialIndexModel(
        *m_ranking, *m_indices,
        [this](const QString& material, const QString& index) { setMaterialIndex(material, index); },
        this);
    outMarket = PlannerWindow::view(this, QStringLiteral("outMarket"), m_materialModel);
    outMarket->setItemDelegateForColumn(MaterialIndexModel::Index, new IndexDelegate(outMarket));
    outMarket->setEditTriggers(
        QAbstractItemView::DoubleClicked | QAbstractItemView::SelectedClicked |
        QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    outMarket->horizontalHeader()->setMinimumSectionSize(30);
    outMarket->setColumnWidth(MaterialIndexModel::Price, 56);
    outMarket->setColumnWidth(MaterialIndexModel::Index, 52);
    PlannerWindow::fillWithColumn(outMarket, MaterialIndexModel::Name, 60);
    outMarket->setMinimumWidth(160);
    pane(QStringLiteral("材料の指数"), outMarket);
    panes->setStretchFactor(0, 1);
    panes->setStretchFactor(1, 0);
    panes->setSizes({MarketLeft - 16, Width - MarketLeft - 8});

    connect(outRanking, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        Messages::guarded([this, index] { openCalculator(index.row()); });
    });
    connect(evtPrices, &QPushButton::clicked, this, [this] {
        Messages::guarded([this] { TZEMForm084::openFor(m_dbPath, m_data.folder()); });
    });
    connect(&m_data, &PlannerData::pricesChanged, this, [this] {
        if (isLoading()) {
            m_pricesChangedWhileLoading = true;
        } else {
            m_model->refresh();
            m_materialModel->refresh();
        }
    });

    m_progress = new QProgressBar(outRanking);
    m_progress->setObjectName(QStringLiteral("prgRanking"));
    m_progress->setGeometry(8, 30, 160, 14);
    m_progress->setRange(0, 0);  // busy: the products are counted only as they are read
    m_progress->setTextVisible(false);
    m_progress->hide();
    m_loading = new BackgroundTask(this);
    load();
    WindowPlaces::attach(this);
}

TZEMForm083::~TZEMForm083() = default;

TZEMForm083* TZEMForm083::openFor(const QString& dbPath, const QString& dataFolder) {
    auto* window = new TZEMForm083(dbPath, dataFolder);
    window->show();
    return window;
}

bool TZEMForm083::isLoading() const {
    return m_loading->isRunning();
}

void TZEMForm083::showLoading(bool loading) {
    m_progress->setVisible(loading);
    outRanking->setEnabled(!loading);
    outMarket->setEnabled(!loading);
    if (loading) {
        setCursor(Qt::WaitCursor);
    } else {
        unsetCursor();
    }
}

void TZEMForm083::load() {
    // The worker reads and computes with a copy of the indices: nothing changes them meanwhile,
    // the tables being empty and off.
    struct Read {
        Read(const MarketIndices& shown, const PriceBook& own) : indices(shown), prices(own) {}
        MarketIndices indices;
        PriceBook prices;
        ProfitRanking ranking{indices, &prices};
        QString error;
    };
    auto read = std::make_shared<Read>(*m_indices, m_data.prices());
    m_pricesChangedWhileLoading = false;
    showLoading(true);
    m_loading->start(
        [read, dbPath = m_dbPath](std::stop_token stop) {
            read->error = BackgroundTask::failureOf([&] { read->ranking.load(dbPath, stop); });
        },
        [this, read] {
            showLoading(false);
            Messages::guarded([this, read] {
                if (!read->error.isEmpty()) {
                    throw TZEMError(read->error);
                }
                m_ranking->adopt(std::move(read->ranking));
                // Prices changed while the products were read count too.
                if (m_pricesChangedWhileLoading) {
                    m_ranking->recompute();
                }
                m_model->reset();
                m_materialModel->reset();
                if (m_ranking->skipped() > 0) {
                    Messages::showError(
                        QStringLiteral("読めない産物が %1 件あり、一覧から外しました。\n%2")
                            .arg(m_ranking->skipped())
                            .arg(m_ranking->firstProblem()));
                }
            });
            Q_EMIT loaded();
        });
}

void TZEMForm083::setMaterialIndex(const QString& material, const QString& index) {
    // The tables show what is in force, also when the text was refused.
    const auto shown = qScopeGuard([this] {
        m_materialModel->refresh();
        m_model->refresh();
    });
    m_indices->setMaterial(material, index);
}

void TZEMForm083::openCalculator(int rank) {
    if (rank < 0 || rank >= m_ranking->count()) {
        return;
    }
    const ProfitProduct& product = m_ranking->at(rank).product;
    TZEMForm081::openWith(product.name, m_dbPath, *m_indices, m_data.prices().affects(product));
}
