#include "recipes/TZEMForm08.h"

#include <QComboBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScopeGuard>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStyle>
#include <QTabWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeView>
#include <algorithm>

#include "common/Controls.h"
#include "common/ElidedLabel.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "common/ReadOnlyLook.h"
#include "common/TZEMError.h"
#include "common/ToolWindow.h"
#include "recipes/ItemSql.h"
#include "recipes/RecipeSearch.h"
#include "recipes/RecipeTreeModel.h"
#include "recipes/TDB.h"
#include "recipes/TZEMForm081.h"
#include "recipes/TZEMForm082.h"
#include "recipes/TZEMForm083.h"

namespace {

const QString All = QStringLiteral("全て");
const QString Fief = QStringLiteral("知行産物");
const QString FiefSpecial = QStringLiteral("知行名物");
const QString Dash = QStringLiteral("―");

// The jobs as one comma text: an entry holding a space, a control character, a comma or a double
// quote is quoted, with inner quotes doubled; a single empty entry reads "".
QString commaText(const QStringList& entries) {
    if (entries.size() == 1 && entries.front().isEmpty()) {
        return QStringLiteral("\"\"");
    }
    QStringList parts;
    for (const QString& entry : entries) {
        const bool quote = std::any_of(entry.begin(), entry.end(), [](QChar c) {
            return c.unicode() <= u' ' || c.category() == QChar::Other_Control || c == u',' ||
                   c == u'"';
        });
        parts << (quote ? u'"' +
                              QString(entry).replace(QStringLiteral("\""), QStringLiteral("\"\"")) +
                              u'"'
                        : entry);
    }
    return parts.join(u',');
}

}  // namespace

TZEMForm08::TZEMForm08(const QStringList& jobList, const QStringList& versionList,
                       const QStringList& equipList, const QString& dbPath, QWidget* parent)
    : QWidget(parent), DBPath(dbPath) {
    setObjectName(QStringLiteral("TZEMForm08"));
    ToolWindow::setup(this, QStringLiteral("生産レシピ検索"), QSize(420, 459));
    buildControls();

    for (auto [box, entries] : {std::pair{iptJob, &jobList}, std::pair{iptVersion, &versionList},
                                std::pair{iptEquip, &equipList}}) {
        ResetCombo(box);
        const QSignalBlocker blocker(box);
        box->addItems(*entries);
    }

    connect(iptJob, &QComboBox::currentTextChanged, this,
            [this] { Messages::guarded([this] { iptJobChange(); }); });
    connect(iptMokRock, &QComboBox::currentTextChanged, this,
            [this] { Messages::guarded([this] { iptMokRockChange(); }); });
    connect(iptVersion, &QComboBox::currentTextChanged, this,
            [this] { Messages::guarded([this] { iptVersionChange(); }); });
    connect(btnSearch, &QPushButton::clicked, this,
            [this] { Messages::guarded([this] { btnSearchClick(); }); });
    connect(btnSearchName, &QPushButton::clicked, this,
            [this] { Messages::guarded([this] { btnSearchNameClick(); }); });
    connect(btnZairyoSearch, &QPushButton::clicked, this,
            [this] { Messages::guarded([this] { btnZairyoSearchClick(); }); });
    connect(CreateTree->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                Messages::guarded([this, current] { CreateTreeChange(current); });
            });
    connect(m_model, &QAbstractItemModel::modelReset, this, &TZEMForm08::clearDetails);
    connect(evtCalc, &QPushButton::clicked, this,
            [this] { Messages::guarded([this] { evtCalcClick(); }); });
    connect(evtShopping, &QPushButton::clicked, this, [this] {
        Messages::guarded([this] { TZEMForm082::openFor(outItemName->text(), DBPath); });
    });
    connect(evtRanking, &QPushButton::clicked, this, [this] {
        // TAMUMarket.ini lives in the data folder, beside the item database.
        Messages::guarded(
            [this] { TZEMForm083::openFor(DBPath, QFileInfo(DBPath).absolutePath() + u'/'); });
    });

    show();
}

TZEMForm08::~TZEMForm08() {
    // No handler runs on a window being torn down; the model refers to the list: let it go first.
    m_search->cancel();
    disconnect(CreateTree->selectionModel(), nullptr, this, nullptr);
    m_model->setItemList(nullptr);
}

void TZEMForm08::buildControls() {
    const QFont labels = Fonts::font(Fonts::Mincho, 16);
    m_pages = new QTabWidget(this);
    m_pages->setObjectName(QStringLiteral("pgcSearch"));
    m_pages->setGeometry(5, 4, 409, 121);

    auto* conditions = new QWidget;
    conditions->setObjectName(QStringLiteral("tabCondition"));
    Controls::label(conditions, QStringLiteral("職業"), QRect(8, 8, 36, 20), labels);
    iptJob = Controls::comboBox(conditions, QStringLiteral("iptJob"), QRect(46, 6, 140, 22));
    Controls::label(conditions, QStringLiteral("目録"), QRect(8, 35, 36, 20), labels);
    iptMokRock =
        Controls::comboBox(conditions, QStringLiteral("iptMokRock"), QRect(46, 33, 140, 22));
    Controls::label(conditions, QStringLiteral("技能"), QRect(8, 62, 36, 20), labels);
    iptSkill = Controls::comboBox(conditions, QStringLiteral("iptSkill"), QRect(46, 60, 140, 22));
    Controls::label(conditions, QStringLiteral("バージョン"), QRect(198, 8, 82, 20), labels);
    iptVersion =
        Controls::comboBox(conditions, QStringLiteral("iptVersion"), QRect(282, 6, 113, 22));
    Controls::label(conditions, QStringLiteral("装備区分"), QRect(198, 35, 82, 20), labels);
    iptEquip = Controls::comboBox(conditions, QStringLiteral("iptEquip"), QRect(282, 33, 113, 22));
    btnSearch = new QPushButton(QStringLiteral("検索"), conditions);
    btnSearch->setObjectName(QStringLiteral("btnSearch"));
    btnSearch->setGeometry(282, 59, 113, 25);
    btnSearch->setDefault(true);
    for (QComboBox* box : {iptMokRock, iptSkill}) {
        box->setEditText(All);
        box->setEnabled(false);
    }
    m_pages->addTab(conditions, QStringLiteral("生産品条件検索"));

    auto* byName = new QWidget;
    byName->setObjectName(QStringLiteral("tabName"));
    Controls::label(byName, QStringLiteral("検索生産品名"), QRect(8, 10, 200, 20), labels);
    iptItemName = new QLineEdit(byName);
    iptItemName->setObjectName(QStringLiteral("iptItemName"));
    iptItemName->setGeometry(8, 34, 270, 22);
    btnSearchName = new QPushButton(QStringLiteral("検索"), byName);
    btnSearchName->setObjectName(QStringLiteral("btnSearchName"));
    btnSearchName->setGeometry(290, 33, 105, 25);
    btnSearchName->setDefault(true);
    m_pages->addTab(byName, QStringLiteral("生産品名検索"));

    auto* byMaterial = new QWidget;
    byMaterial->setObjectName(QStringLiteral("tabZairyo"));
    Controls::label(byMaterial, QStringLiteral("検索材料名"), QRect(8, 10, 200, 20), labels);
    iptZairyo = new QLineEdit(byMaterial);
    iptZairyo->setObjectName(QStringLiteral("iptZairyo"));
    iptZairyo->setGeometry(8, 34, 270, 22);
    btnZairyoSearch = new QPushButton(QStringLiteral("検索"), byMaterial);
    btnZairyoSearch->setObjectName(QStringLiteral("btnZairyoSearch"));
    btnZairyoSearch->setGeometry(290, 33, 105, 25);
    btnZairyoSearch->setDefault(true);
    m_pages->addTab(byMaterial, QStringLiteral("生産品逆引き検索"));
    m_pages->setCurrentIndex(0);

    Controls::label(this, QStringLiteral("生産品検索結果"), QRect(5, 131, 185, 18), labels);
    CreateTree = new QTreeView(this);
    CreateTree->setObjectName(QStringLiteral("CreateTree"));
    CreateTree->setGeometry(5, 151, 185, 301);
    CreateTree->setHeaderHidden(true);
    CreateTree->setIndentation(19);
    CreateTree->setUniformRowHeights(true);
    CreateTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    CreateTree->setSelectionMode(QAbstractItemView::SingleSelection);
    m_model = new RecipeTreeModel(this);
    CreateTree->setModel(m_model);
    m_search = new RecipeSearch(this);
    m_progress = new QProgressBar(this);
    m_progress->setObjectName(QStringLiteral("prgSearch"));
    m_progress->setGeometry(120, 133, 70, 14);
    m_progress->setRange(0, 0);  // busy: a walk cannot know its end
    m_progress->setTextVisible(false);
    m_progress->hide();
    m_slowSearch = new QTimer(this);
    m_slowSearch->setSingleShot(true);
    m_slowSearch->setInterval(200);
    connect(m_slowSearch, &QTimer::timeout, this, [this] { showSearching(true); });
    // "*" opens the whole subtree of the current node; the view alone would open only the
    // levels the lazy model has made so far.
    auto* expandAll = new QShortcut(QKeySequence(Qt::Key_Asterisk), CreateTree);
    expandAll->setContext(Qt::WidgetShortcut);
    connect(expandAll, &QShortcut::activated, this, [this] {
        const QModelIndex current = CreateTree->currentIndex();
        m_model->fetchSubtree(current);
        CreateTree->expandRecursively(current);
    });

    Controls::label(this, QStringLiteral("生産品必要材料"), QRect(195, 131, 219, 18), labels);
    m_panel = new QGroupBox(this);
    m_panel->setObjectName(QStringLiteral("grpMaterials"));
    m_panel->setGeometry(194, 151, 221, 301);

    // Long names and readings end in "…" with the whole text as their tooltip.
    outYomi = new ElidedLabel(m_panel);
    outYomi->setObjectName(QStringLiteral("outYomi"));
    outYomi->setFont(Fonts::font(Fonts::PMincho, 11));
    outYomi->setGeometry(86, 8, 130, 14);
    const auto row = [this, &labels](const QString& caption, const QString& name, int y) {
        Controls::label(m_panel, caption, QRect(6, y, 80, 20), labels);
        auto* out = new ElidedLabel(m_panel);
        out->setObjectName(name);
        out->setFont(Fonts::font(Fonts::Mincho, 16));
        out->setGeometry(86, y, 130, 20);
        return out;
    };
    outItemName = row(QStringLiteral("品名　　："), QStringLiteral("outItemName"), 22);
    outItemCreator = row(QStringLiteral("生産職業："), QStringLiteral("outItemCreator"), 46);
    outCreateCount = row(QStringLiteral("生産数　："), QStringLiteral("outCreateCount"), 70);
    Controls::label(m_panel, QStringLiteral("材料"), QRect(6, 96, 80, 20), labels);

    outCreateSource = new QTableWidget(0, 2, m_panel);
    outCreateSource->setObjectName(QStringLiteral("outCreateSource"));
    outCreateSource->setGeometry(6, 117, 209, 146);
    outCreateSource->setHorizontalHeaderLabels(
        {QStringLiteral("必要材料名"), QStringLiteral("必要数")});
    outCreateSource->setColumnWidth(0, 146);
    outCreateSource->setColumnWidth(1, 52);
    outCreateSource->verticalHeader()->hide();
    outCreateSource->verticalHeader()->setDefaultSectionSize(18);
    outCreateSource->horizontalHeader()->setFixedHeight(20);
    outCreateSource->setEditTriggers(QAbstractItemView::NoEditTriggers);
    outCreateSource->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    outCreateSource->setEnabled(false);
    ReadOnlyLook::apply(outCreateSource);

    evtCalc = new QPushButton(QStringLiteral("利益計算"), m_panel);
    evtCalc->setObjectName(QStringLiteral("evtCalc"));
    evtCalc->setGeometry(121, 268, 94, 25);
    evtCalc->setEnabled(false);

    // The crafting planner: a shopping list for the selected product, and the profit ranking.
    evtShopping = new QPushButton(QStringLiteral("材料集計"), m_panel);
    evtShopping->setObjectName(QStringLiteral("evtShopping"));
    evtShopping->setGeometry(22, 268, 94, 25);
    evtShopping->setEnabled(false);
    evtRanking = new QPushButton(QStringLiteral("利益ランキング"), this);
    evtRanking->setObjectName(QStringLiteral("evtRanking"));
    evtRanking->setGeometry(312, 128, 102, 21);
}

void TZEMForm08::ResetCombo(QComboBox* box) {
    // Resetting is no user's choice: the box's change handler does not run.
    const QSignalBlocker blocker(box);
    box->clear();
    box->addItem(All);
    box->setCurrentIndex(0);
}

void TZEMForm08::iptJobChange() {
    const QString job = iptJob->currentText();
    ResetCombo(iptMokRock);
    ResetCombo(iptSkill);
    if (job == All) {
        iptMokRock->setEnabled(false);
        iptSkill->setEnabled(false);
        return;
    }
    TDB db(DBPath);
    db.connectOrFail();
    TDBQuery& query = db.OpenQuery(SqlCatalogList(job, iptVersion->currentText()));
    if (!query.eof()) {
        iptMokRock->setEnabled(true);
    }
    const QSignalBlocker blocker(iptMokRock);
    for (; !query.eof(); query.next()) {
        iptMokRock->addItem(query.asString(QStringLiteral("目録")));
    }
}

void TZEMForm08::iptMokRockChange() {
    SelectedMokRock = iptMokRock->currentText();
    const QString catalog = iptMokRock->currentText();
    ResetCombo(iptSkill);
    if (catalog == All) {
        iptSkill->setEnabled(false);
        return;
    }
    TDB db(DBPath);
    db.connectOrFail();
    TDBQuery& query = db.OpenQuery(SqlSkillList(catalog, iptVersion->currentText()));
    if (!query.eof()) {
        iptSkill->setEnabled(true);
    }
    const QSignalBlocker blocker(iptSkill);
    for (; !query.eof(); query.next()) {
        iptSkill->addItem(query.asString(QStringLiteral("技能")));
    }
}

void TZEMForm08::iptVersionChange() {
    if (iptJob->currentText() == All) {
        return;
    }
    iptJobChange();
    int last = -1;
    for (int i = 0; i < iptMokRock->count(); ++i) {
        if (iptMokRock->itemText(i) == SelectedMokRock) {
            last = i;
        }
    }
    if (last >= 0) {
        // Reselected, not chosen: the skill list stays as the rebuild left it.
        const QSignalBlocker blocker(iptMokRock);
        iptMokRock->setCurrentIndex(last);
    }
}

namespace {

bool confirmLongSearch() {
    return Messages::confirm(QStringLiteral("警告"),
                             QStringLiteral("検索に時間がかかりますが\r\nよろしいですか？"));
}

}  // namespace

void TZEMForm08::btnSearchClick() {
    if (iptJob->currentText() == All && iptVersion->currentText() == All &&
        iptEquip->currentText() == All && !confirmLongSearch()) {
        return;
    }
    ShowResults(SqlConditionSearch(iptJob->currentText(), iptMokRock->currentText(),
                                   iptSkill->currentText(), iptVersion->currentText(),
                                   iptEquip->currentText()),
                Direction::Forward);
}

void TZEMForm08::btnSearchNameClick() {
    if (iptItemName->text().isEmpty() && !confirmLongSearch()) {
        return;
    }
    ShowResults(SqlNameSearch(iptItemName->text()), Direction::Forward);
}

void TZEMForm08::btnZairyoSearchClick() {
    if (iptZairyo->text().isEmpty() && !confirmLongSearch()) {
        return;
    }
    ShowResults(SqlMaterialSearch(iptZairyo->text()), Direction::Reverse);
}

void TZEMForm08::ShowResults(const SqlStatement& statement, Direction direction) {
    m_model->setItemList(nullptr);
    m_search->start(
        DBPath, statement, direction,
        [this](RecipeSearch::Outcome& outcome) {
            searchDone(std::move(outcome.list), outcome.error);
        },
        std::move(ItemList));
    m_slowSearch->start();
}

bool TZEMForm08::isSearching() const {
    return m_search->isRunning();
}

void TZEMForm08::showSearching(bool searching) {
    m_progress->setVisible(searching);
    if (searching) {
        setCursor(Qt::WaitCursor);
    } else {
        m_slowSearch->stop();
        unsetCursor();
    }
}

void TZEMForm08::searchDone(std::unique_ptr<TZEMItemList> list, const QString& error) {
    showSearching(false);
    if (!error.isEmpty()) {
        Messages::showError(error);
    } else if (list->isEmpty()) {
        ItemList = std::move(list);
        Messages::showPlain(QStringLiteral("該当アイテムが見つかりませんでした。"));
    } else {
        ItemList = std::move(list);
        m_model->setItemList(ItemList.get());
    }
    Q_EMIT searchFinished();
}

void TZEMForm08::CreateTreeChange(const QModelIndex& node) {
    if (!node.isValid()) {
        return;
    }
    const QString name = node.data().toString();
    outCreateSource->setRowCount(0);
    outItemName->setText(name);

    TDB db(DBPath);
    db.connectOrFail();
    TDBQuery& count = db.OpenQuery(SqlItemCount(name));
    if (count.eof()) {
        // A pure material: nobody produces it.
        outYomi->clear();
        outItemCreator->setText(Dash);
        outCreateCount->setText(Dash);
        evtCalc->setEnabled(false);
        evtShopping->setEnabled(false);
        return;
    }
    evtShopping->setEnabled(true);
    outCreateCount->setText(count.asString(QStringLiteral("生産数")));

    TDBQuery& yomi = db.OpenQuery(SqlItemYomi(name));
    const QString reading = QStringLiteral("ふりがな");
    outYomi->setText(!yomi.eof() && !yomi.isNull(reading) ? yomi.asString(reading) : QString());

    QStringList jobs;
    for (TDBQuery& query = db.OpenQuery(SqlItemJobs(name)); !query.eof(); query.next()) {
        jobs << query.asString(QStringLiteral("生産職業"));
    }
    outItemCreator->setText(commaText(jobs));

    for (TDBQuery& query = db.OpenQuery(SqlItemMaterials(name)); !query.eof(); query.next()) {
        const int row = outCreateSource->rowCount();
        outCreateSource->insertRow(row);
        auto* material = new QTableWidgetItem(query.asString(QStringLiteral("材料")));
        material->setToolTip(material->text());
        outCreateSource->setItem(row, 0, material);
        outCreateSource->setItem(row, 1,
                                 new QTableWidgetItem(query.asString(QStringLiteral("必要数"))));
    }
    fitMaterialRows();

    TDBQuery& catalog = db.OpenQuery(SqlItemCatalog(name));
    if (!catalog.eof()) {
        const QString mokRock = catalog.asString(QStringLiteral("目録"));
        evtCalc->setEnabled(mokRock == Fief || mokRock == FiefSpecial);
    }
}

void TZEMForm08::fitMaterialRows() {
    // The grid takes no input, so every material must show without scrolling: the rows share
    // the grid's height, down to one line of text each. Only a product with more materials than
    // that gets a scroll bar, and with it a grid the user can scroll.
    constexpr int usualRowHeight = 18;
    const int rows = outCreateSource->rowCount();
    const int room = outCreateSource->height() - 2 * outCreateSource->frameWidth() -
                     outCreateSource->horizontalHeader()->height();
    const int lowest = outCreateSource->fontMetrics().height();
    const int height = rows == 0 ? usualRowHeight : std::clamp(room / rows, lowest, usualRowHeight);
    outCreateSource->verticalHeader()->setMinimumSectionSize(lowest);
    outCreateSource->verticalHeader()->setDefaultSectionSize(height);
    for (int row = 0; row < rows; ++row) {
        outCreateSource->setRowHeight(row, height);
    }
    const bool fits = rows * height <= room;
    outCreateSource->setVerticalScrollBarPolicy(fits ? Qt::ScrollBarAlwaysOff
                                                     : Qt::ScrollBarAlwaysOn);
    outCreateSource->setEnabled(!fits);
    // The names give way to the scroll bar, so that the counts stay whole.
    const int bar = fits ? 0 : style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    outCreateSource->setColumnWidth(0, 146 - bar);
}

void TZEMForm08::clearDetails() {
    // The selected item belonged to the tree being replaced.
    for (QLabel* out : {outYomi, outItemName, outItemCreator, outCreateCount}) {
        out->clear();
    }
    outCreateSource->setRowCount(0);
    fitMaterialRows();
    evtCalc->setEnabled(false);
    evtShopping->setEnabled(false);
}

void TZEMForm08::evtCalcClick() {
    TZEMForm081::openFor(outItemName->text(), DBPath);
}

void TZEMForm08::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // Each page's search button is its default button.
        QPushButton* buttons[] = {btnSearch, btnSearchName, btnZairyoSearch};
        const int page = m_pages->currentIndex();
        if (page >= 0 && page < 3) {
            buttons[page]->click();
            return;
        }
    }
    QWidget::keyPressEvent(event);
}
