#include "status/TZEMForm031.h"
#include "common/FlashNote.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCursor>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSplitter>
#include <QStandardItemModel>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>

#include "common/Messages.h"
#include "common/TableText.h"
#include "common/ToolWindow.h"
#include "common/WindowPlaces.h"
#include "status/LevelPlotWidget.h"
#include "status/StatusBuildBook.h"

namespace {

using Build = StatusLevelModel::Build;

QString figureName(int figure) {
    return QString::fromUtf8(StatusFigures::all()[static_cast<std::size_t>(figure)].heading);
}

QString buildName(Build build) {
    return build == Build::A ? QStringLiteral("A") : QStringLiteral("B");
}

}  // namespace

TZEMForm031::TZEMForm031(const TZEMStatusNow& character, StatusBuildBook* builds, QWidget* parent)
    : QWidget(parent), m_model(new StatusLevelModel(this)), m_builds(builds) {
    setObjectName(QStringLiteral("TZEMForm031"));
    ToolWindow::setupResizable(this, QStringLiteral("レベル別一覧"), QSize(860, 580));
    buildControls();
    fillBuildChoices();
    if (m_builds) {
        connect(m_builds, &StatusBuildBook::changed, this, [this] {
            fillBuildChoices();
            Messages::guarded([this] { applySources(); });
        });
    }
    Messages::guarded([&] { followStatus(character); });
    WindowPlaces::attach(this);
}

TZEMForm031* TZEMForm031::openWindow() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* open = qobject_cast<TZEMForm031*>(window); open && open->isVisible()) {
            return open;
        }
    }
    return nullptr;
}

std::function<void()> TZEMForm031::guarded(void (TZEMForm031::*handler)()) {
    return [this, handler] { Messages::guarded([this, handler] { (this->*handler)(); }); };
}

void TZEMForm031::buildControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->setSpacing(6);

    auto* builds = new QGridLayout;
    const auto choice = [this](const char* name) {
        auto* box = new QComboBox(this);
        box->setObjectName(QString::fromLatin1(name));
        box->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box->setMinimumContentsLength(14);
        return box;
    };
    builds->addWidget(new QLabel(QStringLiteral("ビルド B："), this), 0, 0);
    m_selB = choice("selBuildB");
    m_selB->setToolTip(QStringLiteral("ステータス計算機のキャラクターか、保存したビルド"));
    builds->addWidget(m_selB, 0, 1);
    m_buildB = new QLabel(this);
    m_buildB->setObjectName(QStringLiteral("viwBuildB"));
    builds->addWidget(m_buildB, 0, 2);
    builds->addWidget(new QLabel(QStringLiteral("ビルド A："), this), 1, 0);
    m_selA = choice("selBuildA");
    m_selA->setToolTip(
        QStringLiteral("固定したビルド、ステータス計算機のキャラクターか、保存したビルド"));
    builds->addWidget(m_selA, 1, 1);
    m_buildA = new QLabel(this);
    m_buildA->setObjectName(QStringLiteral("viwBuildA"));
    builds->addWidget(m_buildA, 1, 2);
    builds->setColumnStretch(2, 1);
    m_pin = new QPushButton(QStringLiteral("B を A に固定"), this);
    m_pin->setObjectName(QStringLiteral("evtPin"));
    m_pin->setToolTip(QStringLiteral("いまのビルド B を比較の基準 A として残します"));
    builds->addWidget(m_pin, 0, 3);
    m_unpin = new QPushButton(QStringLiteral("固定解除"), this);
    m_unpin->setObjectName(QStringLiteral("evtUnpin"));
    builds->addWidget(m_unpin, 1, 3);
    layout->addLayout(builds);

    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pgcPlanner"));
    m_pages->addTab(buildTablePage(), QStringLiteral("一覧"));
    m_pages->addTab(buildChartPage(), QStringLiteral("グラフ"));
    layout->addWidget(m_pages, 1);

    connect(m_pin, &QPushButton::clicked, this, guarded(&TZEMForm031::evtPinClick));
    connect(m_unpin, &QPushButton::clicked, this, guarded(&TZEMForm031::evtUnpinClick));
    connect(m_selA, &QComboBox::activated, this, guarded(&TZEMForm031::selBuildAChange));
    connect(m_selB, &QComboBox::activated, this, guarded(&TZEMForm031::selBuildBChange));
    connect(m_mode, &QComboBox::activated, this, guarded(&TZEMForm031::selModeChange));
    connect(m_pages, &QTabWidget::currentChanged, this, [this] { updateChart(); });
}

QWidget* TZEMForm031::buildTablePage() {
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);

    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("表示"), page));
    m_mode = new QComboBox(page);
    m_mode->setObjectName(QStringLiteral("selMode"));
    m_mode->addItems({QStringLiteral("ビルド B の値"), QStringLiteral("ビルド A の値"),
                      QStringLiteral("差（B − A）")});
    bar->addWidget(m_mode);

    auto* columns = new QToolButton(page);
    columns->setObjectName(QStringLiteral("evtColumns"));
    columns->setText(QStringLiteral("表示する項目"));
    columns->setPopupMode(QToolButton::InstantPopup);
    auto* menu = new QMenu(columns);
    for (int f = 0; f < StatusFigures::Count; ++f) {
        QAction* action = menu->addAction(figureName(f));
        action->setCheckable(true);
        action->setChecked(true);
        connect(action, &QAction::toggled, this,
                [this, f](bool on) { m_table->setColumnHidden(f, !on); });
        m_columnActions << action;
    }
    columns->setMenu(menu);
    bar->addWidget(columns);
    bar->addStretch(1);

    auto* copy = new QPushButton(QStringLiteral("表をコピー"), page);
    copy->setObjectName(QStringLiteral("evtCopy"));
    copy->setToolTip(QStringLiteral("表示中の表をタブ区切りでクリップボードへ"));
    bar->addWidget(copy);
    auto* save = new QPushButton(QStringLiteral("CSV で保存…"), page);
    save->setObjectName(QStringLiteral("evtSaveCsv"));
    bar->addWidget(save);
    layout->addLayout(bar);

    m_table = new QTableView(page);
    m_table->setObjectName(QStringLiteral("viwTable"));
    m_table->setModel(m_model);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(false);
    m_table->verticalHeader()->setDefaultSectionSize(m_table->fontMetrics().height() + 4);
    m_table->verticalHeader()->setDefaultAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    // Wide enough for the heading and the largest value, fixed so that following the status
    // window never re-measures the columns.
    for (int f = 0; f < StatusFigures::Count; ++f) {
        const QString widest = f >= StatusFigures::indexOf("viwNEXP") ? QStringLiteral("+690000000")
                                                                      : QStringLiteral("+99999");
        const int width = std::max(m_table->fontMetrics().horizontalAdvance(figureName(f)),
                                   m_table->fontMetrics().horizontalAdvance(widest));
        m_table->setColumnWidth(f, width + 12);
    }
    layout->addWidget(m_table, 1);

    connect(copy, &QPushButton::clicked, this, guarded(&TZEMForm031::evtCopyClick));
    connect(save, &QPushButton::clicked, this, guarded(&TZEMForm031::evtSaveCsvClick));
    m_table->installEventFilter(this);  // Ctrl+C copies the selection, not just one cell
    return page;
}

QWidget* TZEMForm031::buildChartPage() {
    auto* page = new QWidget(this);
    auto* layout = new QHBoxLayout(page);
    layout->setContentsMargins(6, 6, 6, 6);

    auto* left = new QVBoxLayout;
    left->addWidget(new QLabel(QStringLiteral("描く項目"), page));
    m_plotChoice = new QListWidget(page);
    m_plotChoice->setObjectName(QStringLiteral("selPlot"));
    for (int f = 0; f < StatusFigures::Count; ++f) {
        auto* item = new QListWidgetItem(figureName(f), m_plotChoice);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(f == StatusFigures::indexOf("viwNHP") ? Qt::Checked : Qt::Unchecked);
    }
    m_plotChoice->setFixedWidth(
        m_plotChoice->fontMetrics().horizontalAdvance(QStringLiteral("次回必要経験値")) + 48);
    left->addWidget(m_plotChoice, 1);
    layout->addLayout(left);

    auto* right = new QVBoxLayout;
    m_plot = new LevelPlotWidget(page);
    m_plot->setObjectName(QStringLiteral("viwChart"));
    right->addWidget(m_plot, 1);
    m_hover = new QLabel(QStringLiteral("線に重ねると値を表示します"), page);
    m_hover->setObjectName(QStringLiteral("viwHover"));
    right->addWidget(m_hover);
    layout->addLayout(right, 1);

    connect(m_plotChoice, &QListWidget::itemChanged, this, [this] {
        m_chartStale = true;
        updateChart();
    });
    connect(m_plot, &LevelPlotWidget::hovered, this, [this](int figure, Build build, int level) {
        const QString text = hoverText(build, figure, level);
        m_hover->setText(text);
        QToolTip::showText(QCursor::pos(), text, m_plot);
    });
    connect(m_plot, &LevelPlotWidget::hoverLeft, this, [] { QToolTip::hideText(); });
    return page;
}

bool TZEMForm031::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_table && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Copy)) {
        Messages::guarded([this] { QApplication::clipboard()->setText(selectionText()); });
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TZEMForm031::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    updateChart();
}

void TZEMForm031::followStatus(const TZEMStatusNow& character) {
    m_calculator.Assign(character);
    if (m_sourceB == Calculator) {
        m_model->setCurrent(m_calculator);
    }
    if (m_sourceA == Calculator) {
        m_model->setPinned(m_calculator);
    }
    showBuilds();
    m_chartStale = true;
    updateChart();
}

void TZEMForm031::fillBuildChoices() {
    for (QComboBox* box : {m_selA, m_selB}) {
        box->clear();
        if (box == m_selA) {
            box->addItem(QStringLiteral("固定"), Pinned);
        }
        box->addItem(QStringLiteral("ステータス計算機"), Calculator);
        if (m_builds) {
            for (const StatusBuildBook::Entry& e : m_builds->entries()) {
                box->addItem(e.name, e.number);
            }
        }
    }
    showBuilds();
}

int TZEMForm031::buildSource(Build build) const {
    return build == Build::A ? m_sourceA : m_sourceB;
}

void TZEMForm031::setBuildSource(Build build, int source) {
    (build == Build::A ? m_sourceA : m_sourceB) = source;
    applySources();
    // Choosing what to compare with is why one picks an A.
    if (build == Build::A && source != Pinned) {
        m_model->setMode(StatusLevelModel::Mode::Difference);
        showBuilds();
    }
}

void TZEMForm031::applySources() {
    const auto saved = [this](int source) -> const StatusBuildBook::Entry* {
        return source >= 0 && m_builds ? m_builds->byNumber(source) : nullptr;
    };
    // A saved build that is gone leaves B to the status window and A as it stands.
    if (m_sourceB >= 0 && !saved(m_sourceB)) {
        m_sourceB = Calculator;
    }
    if (m_sourceA >= 0 && !saved(m_sourceA)) {
        m_sourceA = Pinned;
    }
    m_model->setCurrent(m_sourceB == Calculator ? m_calculator
                                                : saved(m_sourceB)->build.character());
    if (m_sourceA == Calculator) {
        m_model->setPinned(m_calculator);
    } else if (m_sourceA >= 0) {
        m_model->setPinned(saved(m_sourceA)->build.character());
    }
    showBuilds();
    m_chartStale = true;
    updateChart();
}

void TZEMForm031::selBuildAChange() {
    setBuildSource(Build::A, m_selA->currentData().toInt());
}

void TZEMForm031::selBuildBChange() {
    setBuildSource(Build::B, m_selB->currentData().toInt());
}

void TZEMForm031::showBuilds() {
    m_selA->setCurrentIndex(m_selA->findData(m_sourceA));
    m_selB->setCurrentIndex(m_selB->findData(m_sourceB));
    m_buildB->setText(StatusLevelModel::describe(m_model->current()));
    m_buildA->setText(m_model->hasPinned() ? StatusLevelModel::describe(m_model->pinned())
                                           : QStringLiteral("未固定"));
    m_unpin->setEnabled(m_model->hasPinned());
    // The A and difference views need a pinned build.
    for (int i = 1; i < m_mode->count(); ++i) {
        if (auto* item = qobject_cast<QStandardItemModel*>(m_mode->model())->item(i)) {
            item->setEnabled(m_model->hasPinned());
        }
    }
    m_mode->setCurrentIndex(static_cast<int>(m_model->mode()));
}

void TZEMForm031::evtPinClick() {
    m_sourceA = Pinned;
    m_model->pin();
    // Comparing is why one pins.
    m_model->setMode(StatusLevelModel::Mode::Difference);
    showBuilds();
    m_chartStale = true;
    updateChart();
}

void TZEMForm031::evtUnpinClick() {
    m_sourceA = Pinned;
    m_model->unpin();
    showBuilds();
    m_chartStale = true;
    updateChart();
}

void TZEMForm031::selModeChange() {
    m_model->setMode(static_cast<StatusLevelModel::Mode>(m_mode->currentIndex()));
    showBuilds();
}

QList<int> TZEMForm031::visibleFigures() const {
    QList<int> figures;
    for (int f = 0; f < StatusFigures::Count; ++f) {
        if (!m_table->isColumnHidden(f)) {
            figures << f;
        }
    }
    return figures;
}

void TZEMForm031::setFigureVisible(int figure, bool visible) {
    m_columnActions.at(figure)->setChecked(visible);
}

QString TZEMForm031::tableText() const {
    return TableText::toTsv(m_model->sheet(visibleFigures()));
}

QString TZEMForm031::selectionText() const {
    const QModelIndexList selected = m_table->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        return tableText();
    }
    QList<int> figures;
    QList<int> rows;
    for (const QModelIndex& index : selected) {
        if (!figures.contains(index.column())) {
            figures << index.column();
        }
        if (!rows.contains(index.row())) {
            rows << index.row();
        }
    }
    std::sort(figures.begin(), figures.end());
    std::sort(rows.begin(), rows.end());
    const QList<QStringList> sheet = m_model->sheet(figures);
    QList<QStringList> picked{sheet.first()};
    for (int row : rows) {
        picked << sheet.at(row + 1);
    }
    return TableText::toTsv(picked);
}

void TZEMForm031::evtCopyClick() {
    QApplication::clipboard()->setText(tableText());
    FlashNote::show(findChild<QPushButton*>(QStringLiteral("evtCopy")),
                    QStringLiteral("表をコピーしました"));
}

void TZEMForm031::saveCsv(const QString& fileName) const {
    TableText::saveCsv(fileName, m_model->sheet(visibleFigures()));
}

QString TZEMForm031::askFileName() {
    if (m_chooseFile) {
        return m_chooseFile();
    }
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileDialog::getSaveFileName(this, QStringLiteral("CSV で保存"),
                                        folder + QStringLiteral("/レベル別一覧.csv"),
                                        QStringLiteral("CSV ファイル (*.csv)"));
}

void TZEMForm031::evtSaveCsvClick() {
    const QString fileName = askFileName();
    if (!fileName.isEmpty()) {
        saveCsv(fileName);
        FlashNote::show(findChild<QPushButton*>(QStringLiteral("evtSaveCsv")),
                        QStringLiteral("%1 に保存しました").arg(QFileInfo(fileName).fileName()));
    }
}

QList<int> TZEMForm031::plottedFigures() const {
    QList<int> figures;
    for (int f = 0; f < m_plotChoice->count(); ++f) {
        if (m_plotChoice->item(f)->checkState() == Qt::Checked) {
            figures << f;
        }
    }
    return figures;
}

void TZEMForm031::setFigurePlotted(int figure, bool plotted) {
    m_plotChoice->item(figure)->setCheckState(plotted ? Qt::Checked : Qt::Unchecked);
}

QString TZEMForm031::hoverText(Build build, int figure, qreal level) const {
    const int at = std::clamp(qRound(level), 1, StatusLevelTable::Levels);
    return QStringLiteral("%1（%2）　レベル %3：%4")
        .arg(figureName(figure), buildName(build))
        .arg(at)
        .arg(m_model->table(build).value(at, figure));
}

void TZEMForm031::updateChart() {
    // The plot is drawn only while its page is shown; meanwhile it just goes stale.
    if (!m_chartStale || !isVisible() || m_pages->currentIndex() != 1) {
        return;
    }
    m_chartStale = false;

    const QList<QColor> colours{QColor(0xc0, 0x39, 0x2b), QColor(0x1f, 0x6f, 0xb4),
                                QColor(0x27, 0x8a, 0x3c), QColor(0x8e, 0x44, 0xad),
                                QColor(0xd3, 0x7a, 0x00), QColor(0x16, 0x8f, 0x8f)};
    QList<Build> builds{Build::B};
    if (m_model->hasPinned()) {
        builds << Build::A;
    }
    QList<LevelPlotWidget::Line> lines;
    const QList<int> figures = plottedFigures();
    for (qsizetype n = 0; n < figures.size(); ++n) {
        for (Build build : builds) {
            LevelPlotWidget::Line line;
            line.name = figureName(figures[n]) + QStringLiteral("（") + buildName(build) +
                        QStringLiteral("）");
            line.colour = colours.at(n % colours.size());
            line.dashed = build == Build::A;
            line.figure = figures[n];
            line.build = build;
            line.points = m_model->series(build, figures[n]);
            lines << line;
        }
    }
    m_plot->setLines(std::move(lines));
}
