#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalSpy>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeView>
#include <QtTest>

#include "common/TZEMError.h"
#include "recipes/ItemSql.h"
#include "recipes/ProfitRanking.h"
#include "recipes/RecipeTreeModel.h"
#include "recipes/TZEMForm08.h"
#include "recipes/TZEMForm081.h"
#include "recipes/TZEMForm082.h"
#include "recipes/TZEMForm083.h"
#include "support/Contrast.h"
#include "support/ItemDbFixture.h"
#include "support/MessageRecorder.h"

namespace {

const QString All = QStringLiteral("全て");
const QString NotFound = QStringLiteral("該当アイテムが見つかりませんでした。");

ItemDbFixture::Tables sampleTables() {
    ItemDbFixture::Tables t;
    // アイテム名, 生産職業, 目録, MOKUROKU, 技能, GINOU, 生産数, バージョン
    t.creators = {{"刀", "鍛冶屋", "武具目録", "BUGU", "一", "A", 1, "壱"},
                  {"太刀", "鍛冶屋", "武具目録", "BUGU", "二", "B", 1, "弐"},
                  {"兜", "鍛冶屋", "防具目録", "BOGU", "一", "A", 1, "壱"},
                  {"玉鋼", "鍛冶屋", "素材目録", "SOZAI", "一", "A", 2, "壱"},
                  {"木炭", "木工", "素材目録", "SOZAI", "一", "A", 4, "壱"},
                  {"茶器", "陶工", "知行産物", "CHIGYO", "一", "A", 5, "壱"},
                  {"名茶碗", "陶工", "知行名物", "MEIBUTSU", "三", "C", 1, "弐"},
                  {"丸薬", "薬師", "薬目録", "KUSURI", "一", "A", 10, "壱"},
                  {"丸薬", "医 者", "薬目録", "KUSURI", "一", "A", 10, "壱"},
                  {"丸薬", "x,y", "薬目録", "KUSURI", "一", "A", 10, "壱"},
                  {"丸薬", "q\"t", "薬目録", "KUSURI", "一", "A", 10, "壱"},
                  {"空札", "", "札目録", "FUDA", "一", "A", 1, "壱"},
                  {"鉄の\"鍵\"", "鍛冶屋", "錠目録", "JOU", "一", "A", 1, "壱"}};
    const QStringList readings = {"刀=かたな",
                                  "太刀=たち",
                                  "兜=",
                                  "玉鋼=たまはがね",
                                  "木炭=もくたん",
                                  "茶器=ちゃき",
                                  "名茶碗=めいちゃわん",
                                  "丸薬=がんやく",
                                  "空札=からふだ",
                                  "鉄の\"鍵\"=かぎ",
                                  "砂鉄=さてつ",
                                  "鉄=てつ",
                                  "土=つち",
                                  "薬草=やくそう"};
    for (const QString& r : readings) {
        const QString yomi = r.section(u'=', 1);
        const QString kind = r.startsWith(u'刀') || r.startsWith("太刀") ? "刀剣" : "素材";
        t.infos.append({r.section(u'=', 0, 0), yomi.isEmpty() ? QVariant() : QVariant(yomi), "壱",
                        kind, 10, 20});
    }
    t.kinds = {{"刀剣", "武器"}, {"素材", "その他"}};
    t.relations = {{"刀", "玉鋼", 3},      {"刀", "木炭", 2},   {"太刀", "玉鋼", 5},
                   {"玉鋼", "砂鉄", 2},    {"兜", "鉄", 4},     {"茶器", "土", 2},
                   {"名茶碗", "土", 3},    {"丸薬", "薬草", 1}, {"空札", "土", 1},
                   {"鉄の\"鍵\"", "鉄", 1}};
    // Lacquer trays of 1, 7, 8 and 12 materials, for the material grid.
    for (const int materials : {1, 7, 8, 12}) {
        const QString tray = QStringLiteral("膳%1").arg(materials);
        t.creators.append({tray, "塗師", "膳目録", "ZEN", "一", "A", 1, "壱"});
        t.infos.append({tray, "ぜん", "壱", "素材", 10, 20});
        for (int m = 1; m <= materials; ++m) {
            t.relations.append({tray, QStringLiteral("漆%1").arg(m), m});
        }
    }
    for (int m = 1; m <= 12; ++m) {
        t.infos.append({QStringLiteral("漆%1").arg(m), "うるし", "壱", "素材", 10, 20});
    }
    return t;
}

template <class T>
T* child(QWidget* window, const QString& name) {
    T* result = window->findChild<T*>(name);
    if (result == nullptr) {
        qFatal("control %s missing", qPrintable(name));
    }
    return result;
}

QStringList entries(QComboBox* box) {
    QStringList result;
    for (int i = 0; i < box->count(); ++i) {
        result << box->itemText(i);
    }
    return result;
}

void choose(QComboBox* box, const QString& text) {
    QVERIFY2(box->findText(text) >= 0, qPrintable(text));
    box->setCurrentIndex(box->findText(text));
}

QStringList rootNames(QAbstractItemModel* model) {
    QStringList names;
    for (int row = 0; row < model->rowCount(); ++row) {
        names << model->index(row, 0).data().toString();
    }
    return names;
}

// The node at a path of names "刀/玉鋼/砂鉄", expanded on the way down as a user would.
QModelIndex nodeAt(QTreeView* tree, const QString& path) {
    QModelIndex parent;
    for (const QString& name : path.split(u'/')) {
        tree->model()->fetchMore(parent);
        const QModelIndexList hits = tree->model()->match(
            tree->model()->index(0, 0, parent), Qt::DisplayRole, name, 1, Qt::MatchExactly);
        if (hits.isEmpty()) {
            return {};
        }
        parent = hits.front();
        tree->expand(parent);
    }
    return parent;
}

// Waits until the window's search has ended and shown its outcome.
void settle(TZEMForm08* w) {
    QTRY_VERIFY_WITH_TIMEOUT(!w->isSearching(), 20000);
}

const char* const searchButtons[] = {"btnSearch", "btnSearchName", "btnZairyoSearch"};
const char* const searchEdits[] = {"", "iptItemName", "iptZairyo"};

}  // namespace

class TestForm08 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void openingState();
    void confirmation_data();
    void confirmation();
    void enterStartsThePageSearch();
    void searchResults_data();
    void searchResults();
    void selection_data();
    void selection();
    void choiceListRules();
    void missingDatabase();
    void everyMaterialShows_data();
    void everyMaterialShows();
    void materialGridReadsLikeText_data();
    void materialGridReadsLikeText();
    void newTreeClearsTheDetails_data();
    void newTreeClearsTheDetails();
    void asteriskOpensTheWholeSubtree();
    void eachCalcClickOpensOneMoreCalculator();
    void secondSearchCancelsTheFirst();
    void brokenDatabase_data();
    void brokenDatabase();
    void lockedDatabaseKeepsTheWindowResponsive();
    void plannerButtons();

private:
    TZEMForm08* open(const QString& path = {});
    // Runs the search of a page and, unless told otherwise, waits for its outcome.
    void search(int page, const QString& text, bool wait = true);

    std::unique_ptr<ItemDbFixture> m_fixture;
    QString m_path;
    QPointer<TZEMForm08> m_window;
};

void TestForm08::init() {
    m_fixture = std::make_unique<ItemDbFixture>();
    m_path = m_fixture->create(sampleTables());
}

void TestForm08::cleanup() {
    delete m_window;
    m_fixture.reset();
}

TZEMForm08* TestForm08::open(const QString& path) {
    m_window = new TZEMForm08({"鍛冶屋", "陶工", "薬師"}, {"壱", "弐", "参"}, {"武器", "頭"},
                              path.isEmpty() ? m_path : path);
    return m_window;
}

// Runs the search of a page: the text goes into the page's edit, or is the job to choose.
void TestForm08::search(int page, const QString& text, bool wait) {
    m_window->findChild<QTabWidget*>()->setCurrentIndex(page);
    if (page == 0 && !text.isEmpty()) {
        choose(child<QComboBox>(m_window, "iptJob"), text);
    } else if (page > 0) {
        child<QLineEdit>(m_window, searchEdits[page])->setText(text);
    }
    QTest::mouseClick(child<QPushButton>(m_window, searchButtons[page]), Qt::LeftButton);
    if (wait) {
        settle(m_window);
    }
}

void TestForm08::openingState() {
    TZEMForm08* w = open();
    QCOMPARE(w->windowTitle(), QStringLiteral("生産レシピ検索"));
    QVERIFY(w->isVisible() && w->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(entries(child<QComboBox>(w, "iptJob")), QStringList({All, "鍛冶屋", "陶工", "薬師"}));
    for (const char* name : {"iptMokRock", "iptSkill"}) {
        auto* box = child<QComboBox>(w, name);
        QVERIFY(!box->isEnabled());
        QCOMPARE(box->currentText(), All);
        QCOMPARE(box->count(), 0);
    }
    QVERIFY(!child<QPushButton>(w, "evtCalc")->isEnabled());
}

void TestForm08::confirmation_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("box");  // condition box to set, with value
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("asks");
    QTest::newRow("conditions all 全て") << 0 << ""
                                         << "" << true;
    QTest::newRow("job set") << 0 << "iptJob"
                             << "鍛冶屋" << false;
    QTest::newRow("version set") << 0 << "iptVersion"
                                 << "壱" << false;
    QTest::newRow("equipment set") << 0 << "iptEquip"
                                   << "武器" << false;
    QTest::newRow("name empty") << 1 << ""
                                << "" << true;
    QTest::newRow("name typed") << 1 << ""
                                << "刀" << false;
    QTest::newRow("material empty") << 2 << ""
                                    << "" << true;
    QTest::newRow("material typed") << 2 << ""
                                    << "玉鋼" << false;
}

void TestForm08::confirmation() {
    QFETCH(int, page);
    QFETCH(QString, box);
    QFETCH(QString, value);
    QFETCH(bool, asks);
    MessageRecorder messages(false);  // キャンセル
    TZEMForm08* w = open();
    if (!box.isEmpty()) {
        choose(child<QComboBox>(w, box), value);
        value.clear();
    }
    search(page, value);
    const QString question = QStringLiteral("警告|検索に時間がかかりますが\r\nよろしいですか？");
    QCOMPARE(messages.questions, asks ? QStringList{question} : QStringList{});
    QCOMPARE(w->itemList() != nullptr, !asks);  // cancelled before anything was built
    if (asks) {
        messages.answerNext(true);
        QTest::mouseClick(child<QPushButton>(w, searchButtons[page]), Qt::LeftButton);
        settle(w);
        QVERIFY(w->treeModel()->rowCount() > 0);
    }
    QCOMPARE(messages.errors, QStringList());
}

// Enter starts the shown page's search once, from a combo box or an edit.
void TestForm08::enterStartsThePageSearch() {
    MessageRecorder messages;
    TZEMForm08* w = open();
    child<QComboBox>(w, "iptEquip")->setEditText("無し");
    QTest::keyClick(child<QComboBox>(w, "iptJob")->lineEdit(), Qt::Key_Return);
    settle(w);
    for (int page : {1, 2}) {
        w->findChild<QTabWidget*>()->setCurrentIndex(page);
        child<QLineEdit>(w, searchEdits[page])->setText("存在しない");
        QTest::keyClick(child<QLineEdit>(w, searchEdits[page]), Qt::Key_Enter);
        settle(w);
    }
    QCOMPARE(messages.plain, QStringList({NotFound, NotFound, NotFound}));
    QVERIFY(messages.questions.isEmpty());
}

void TestForm08::searchResults_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("roots");
    QTest::addColumn<bool>("notFound");
    QTest::newRow("name search, roots reversed") << 1 << "刀" << QStringList{"太刀", "刀"} << false;
    QTest::newRow("double quote finds its item")
        << 1 << "鉄の\"鍵\"" << QStringList{"鉄の\"鍵\""} << false;
    QTest::newRow("rows without materials: no tree, no message")
        << 1 << "木炭" << QStringList{} << false;
    QTest::newRow("no rows") << 1 << "無い物" << QStringList{} << true;
    QTest::newRow("material search") << 2 << "砂鉄" << QStringList{"砂鉄"} << false;
    QTest::newRow("material used by nothing") << 2 << "茶器" << QStringList{} << true;
    QTest::newRow("condition search by job")
        << 0 << "陶工" << QStringList{"名茶碗", "茶器"} << false;
}

void TestForm08::searchResults() {
    QFETCH(int, page);
    QFETCH(QString, text);
    QFETCH(QStringList, roots);
    QFETCH(bool, notFound);
    MessageRecorder messages;
    open();
    search(page, text);
    QCOMPARE(messages.errors, QStringList());
    QCOMPARE(messages.plain, notFound ? QStringList{NotFound} : QStringList{});
    QCOMPARE(rootNames(child<QTreeView>(m_window, "CreateTree")->model()), roots);
}

void TestForm08::selection_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("node");  // path from the root; the search text is its first name
    QTest::addColumn<QString>("yomi");
    QTest::addColumn<QString>("jobs");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("materials");
    QTest::addColumn<bool>("calc");
    QTest::newRow("product") << 1 << "刀"
                             << "かたな"
                             << "鍛冶屋"
                             << "1"
                             << "玉鋼=3 木炭=2" << false;
    QTest::newRow("pure material") << 1 << "刀/玉鋼/砂鉄"
                                   << ""
                                   << "―"
                                   << "―"
                                   << "" << false;
    QTest::newRow("NULL reading") << 1 << "兜"
                                  << ""
                                  << "鍛冶屋"
                                  << "1"
                                  << "鉄=4" << false;
    QTest::newRow("知行産物") << 1 << "茶器"
                              << "ちゃき"
                              << "陶工"
                              << "5"
                              << "土=2" << true;
    QTest::newRow("知行名物") << 1 << "名茶碗"
                              << "めいちゃわん"
                              << "陶工"
                              << "1"
                              << "土=3" << true;
    QTest::newRow("jobs quoted where needed") << 1 << "丸薬"
                                              << "がんやく"
                                              << "薬師,\"医 者\",\"x,y\",\"q\"\"t\""
                                              << "10"
                                              << "薬草=1" << false;
    QTest::newRow("one empty job") << 1 << "空札"
                                   << "からふだ"
                                   << "\"\""
                                   << "1"
                                   << "土=1" << false;
    QTest::newRow("reverse tree, forward recipe") << 2 << "砂鉄/玉鋼/太刀"
                                                  << "たち"
                                                  << "鍛冶屋"
                                                  << "1"
                                                  << "玉鋼=5" << false;
}

void TestForm08::selection() {
    QFETCH(int, page);
    QFETCH(QString, node);
    QFETCH(QString, yomi);
    QFETCH(QString, jobs);
    QFETCH(QString, count);
    QFETCH(QString, materials);
    QFETCH(bool, calc);
    MessageRecorder messages;
    TZEMForm08* w = open();
    search(page, node.section(u'/', 0, 0));
    auto* calcButton = child<QPushButton>(w, "evtCalc");
    auto* grid = child<QTableWidget>(w, "outCreateSource");
    calcButton->setEnabled(!calc);  // from the opposite state, with a stale row listed
    grid->setRowCount(1);

    auto* tree = child<QTreeView>(w, "CreateTree");
    tree->setCurrentIndex(nodeAt(tree, node));
    QCOMPARE(messages.errors, QStringList());
    QCOMPARE(child<QLabel>(w, "outItemName")->text(), node.section(u'/', -1));
    QCOMPARE(child<QLabel>(w, "outYomi")->text(), yomi);
    QCOMPARE(child<QLabel>(w, "outItemCreator")->text(), jobs);
    QCOMPARE(child<QLabel>(w, "outCreateCount")->text(), count);
    QStringList rows;
    for (int r = 0; r < grid->rowCount(); ++r) {
        rows << grid->item(r, 0)->text() + u'=' + grid->item(r, 1)->text();
    }
    QCOMPARE(rows.join(u' '), materials);
    QCOMPARE(calcButton->isEnabled(), calc);
}

// The subtree under a node, as its names with the expanded nodes' children in brackets.
QString expandedSubtree(QTreeView* tree, const QModelIndex& node) {
    QString text = node.data().toString();
    QAbstractItemModel* model = tree->model();
    if (model->hasChildren(node)) {
        if (!tree->isExpanded(node)) {
            return text + QStringLiteral("+");
        }
        QStringList children;
        for (int row = 0; row < model->rowCount(node); ++row) {
            children << expandedSubtree(tree, model->index(row, 0, node));
        }
        text += u'(' + children.join(u',') + u')';
    }
    return text;
}

// "*" opens a node's whole subtree, as deep as it unfolds, and leaves its siblings alone.
void TestForm08::asteriskOpensTheWholeSubtree() {
    TZEMForm08* w = open();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    search(0, QStringLiteral("鍛冶屋"));
    auto* tree = child<QTreeView>(w, "CreateTree");
    const QModelIndex sword = nodeAt(tree, "刀");
    tree->collapse(sword);
    tree->setCurrentIndex(sword);
    tree->setFocus();
    QTest::keyClick(tree, Qt::Key_Asterisk);
    QCOMPARE(expandedSubtree(tree, sword), QStringLiteral("刀(玉鋼(砂鉄),木炭)"));
    const QModelIndex longSword =
        tree->model()->match(tree->model()->index(0, 0), Qt::DisplayRole, "太刀").value(0);
    QCOMPARE(expandedSubtree(tree, longSword), QStringLiteral("太刀+"));
}

void TestForm08::everyMaterialShows_data() {
    QTest::addColumn<int>("materials");
    QTest::addColumn<bool>("fits");
    QTest::newRow("one") << 1 << true;
    QTest::newRow("seven") << 7 << true;
    QTest::newRow("eight") << 8 << true;
    QTest::newRow("twelve: more than fit, the grid scrolls") << 12 << false;
}

// The grid takes no input, so every material shows without scrolling, the heading whole, every
// count cell drawn alike; a product with more materials than fit gets a grid that scrolls.
void TestForm08::everyMaterialShows() {
    QFETCH(int, materials);
    QFETCH(bool, fits);
    MessageRecorder messages;
    TZEMForm08* w = open();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    const QString tray = QStringLiteral("膳%1").arg(materials);
    search(1, tray);
    auto* tree = child<QTreeView>(w, "CreateTree");
    tree->setCurrentIndex(nodeAt(tree, tray));
    QCOMPARE(messages.errors, QStringList());
    auto* grid = child<QTableWidget>(w, "outCreateSource");
    QCOMPARE(grid->rowCount(), materials);
    QCoreApplication::processEvents();
    QVERIFY(grid->horizontalHeader()->length() <= grid->viewport()->width());
    QVERIFY(!grid->horizontalScrollBar()->isVisible());
    const int lastBottom = grid->visualRect(grid->model()->index(materials - 1, 1)).bottom();
    QCOMPARE(lastBottom < grid->viewport()->height(), fits);
    QCOMPARE(grid->verticalScrollBar()->isVisible(), !fits);
    QCOMPARE(grid->isEnabled(), !fits);
    for (int r = 0; r < materials; ++r) {
        for (int c = 0; c < 2; ++c) {
            QVERIFY(!grid->item(r, c)->data(Qt::BackgroundRole).isValid());
            QVERIFY(!grid->item(r, c)->data(Qt::ForegroundRole).isValid());
        }
    }
}

void TestForm08::materialGridReadsLikeText_data() {
    QTest::addColumn<QString>("path");
    QTest::addColumn<int>("materials");
    QTest::newRow("two materials, a disabled grid") << "刀" << 2;
    QTest::newRow("a grid that scrolls") << "膳12" << 12;
}

// The grid takes no input, yet reads in the normal text colour on the normal background, and no
// click, double click or key changes a cell.
void TestForm08::materialGridReadsLikeText() {
    QFETCH(QString, path);
    QFETCH(int, materials);
    MessageRecorder messages;
    TZEMForm08* w = open();
    QVERIFY(QTest::qWaitForWindowExposed(w));
    search(1, path.section(u'/', 0, 0));
    auto* tree = child<QTreeView>(w, "CreateTree");
    tree->setCurrentIndex(nodeAt(tree, path));
    auto* grid = child<QTableWidget>(w, "outCreateSource");
    QCOMPARE(grid->rowCount(), materials);
    QCoreApplication::processEvents();

    const QPalette& palette = grid->palette();
    const QPalette::ColorGroup drawn = grid->isEnabled() ? QPalette::Active : QPalette::Disabled;
    for (const QPalette::ColorRole role : {QPalette::Text, QPalette::Base}) {
        QCOMPARE(palette.color(drawn, role), palette.color(QPalette::Active, role));
    }
    QCOMPARE(grid->horizontalHeader()->palette().color(drawn, QPalette::ButtonText),
             grid->horizontalHeader()->palette().color(QPalette::Active, QPalette::ButtonText));
    const QImage picture = grid->grab().toImage();
    for (int r = 0; r < std::min(materials, 3); ++r) {
        for (int c = 0; c < 2; ++c) {
            const QRect cell = grid->visualRect(grid->model()->index(r, c));
            const QRect shown(grid->viewport()->mapTo(grid, cell.topLeft()), cell.size());
            const double contrast = Contrast::ofText(picture, shown.adjusted(1, 1, -1, -1));
            QVERIFY2(
                contrast >= 4.5,
                qPrintable(
                    QStringLiteral("cell %1,%2: %3 : 1").arg(r).arg(c).arg(contrast, 0, 'f', 2)));
        }
    }
    const QRect header(0, 0, grid->width(), grid->horizontalHeader()->height());
    QVERIFY(Contrast::ofText(picture, header.adjusted(2, 2, -2, -2)) >= 4.5);

    // Read-only: nothing the user does edits a cell.
    QCOMPARE(grid->editTriggers(), QAbstractItemView::NoEditTriggers);
    QStringList before;
    for (int r = 0; r < materials; ++r) {
        before << grid->item(r, 0)->text() + u'|' + grid->item(r, 1)->text();
    }
    const QRect count = grid->visualRect(grid->model()->index(0, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, count.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, count.center());
    for (const Qt::Key key : {Qt::Key_F2, Qt::Key_Space, Qt::Key_Delete, Qt::Key_9}) {
        QTest::keyClick(grid, key);
    }
    QTest::keyClicks(grid, "12");
    QStringList after;
    for (int r = 0; r < materials; ++r) {
        after << grid->item(r, 0)->text() + u'|' + grid->item(r, 1)->text();
    }
    QCOMPARE(after, before);
    QVERIFY(grid->findChildren<QLineEdit*>().isEmpty());  // no cell editor was opened
    QCOMPARE(messages.errors, QStringList());
}

void TestForm08::newTreeClearsTheDetails_data() {
    QTest::addColumn<QString>("second");
    QTest::addColumn<QString>("message");
    QTest::newRow("another tree") << "刀" << QString();
    QTest::newRow("an empty tree") << "木炭" << QString();
    QTest::newRow("no result") << "無い物" << NotFound;
}

// The selected item belonged to the tree replaced: the panel forgets it, 利益計算 and 材料集計
// are off.
void TestForm08::newTreeClearsTheDetails() {
    QFETCH(QString, second);
    QFETCH(QString, message);
    MessageRecorder messages;
    TZEMForm08* w = open();
    search(1, "茶器");
    auto* tree = child<QTreeView>(w, "CreateTree");
    tree->setCurrentIndex(nodeAt(tree, "茶器"));
    QVERIFY(child<QPushButton>(w, "evtCalc")->isEnabled());
    QVERIFY(child<QPushButton>(w, "evtShopping")->isEnabled());
    search(1, second);
    QCOMPARE(messages.plain, message.isEmpty() ? QStringList() : QStringList{message});
    QStringList shown;
    for (const char* name : {"outYomi", "outItemName", "outItemCreator", "outCreateCount"}) {
        shown << child<QLabel>(w, name)->text();
    }
    QCOMPARE(shown.join(QString()), QString());
    QCOMPARE(child<QTableWidget>(w, "outCreateSource")->rowCount(), 0);
    QVERIFY(!child<QPushButton>(w, "evtCalc")->isEnabled());
    QVERIFY(!child<QPushButton>(w, "evtShopping")->isEnabled());
}

void TestForm08::choiceListRules() {
    MessageRecorder messages;
    TZEMForm08* w = open();
    auto* job = child<QComboBox>(w, "iptJob");
    auto* mokRock = child<QComboBox>(w, "iptMokRock");
    auto* skill = child<QComboBox>(w, "iptSkill");
    auto* version = child<QComboBox>(w, "iptVersion");

    choose(job, "鍛冶屋");
    QVERIFY(mokRock->isEnabled() && !skill->isEnabled());
    QCOMPARE(entries(mokRock), QStringList({All, "防具目録", "武具目録", "錠目録", "素材目録"}));
    choose(mokRock, "武具目録");
    QVERIFY(skill->isEnabled());
    QCOMPARE(entries(skill), QStringList({All, "一", "二"}));

    // A new version rebuilds the catalogues and reselects the choice without its skills.
    choose(version, "弐");
    QCOMPARE(entries(mokRock), QStringList({All, "武具目録"}));
    QCOMPARE(mokRock->currentText(), QStringLiteral("武具目録"));
    QCOMPARE(entries(skill), QStringList{All});
    choose(version, "参");  // no catalogue: 全て, the choice is remembered
    QCOMPARE(mokRock->currentText(), All);
    choose(version, "壱");
    QCOMPARE(mokRock->currentText(), QStringLiteral("武具目録"));

    // The reselected catalogue has no skills until it is chosen again; the condition search
    // takes what the boxes show.
    choose(version, All);
    QCOMPARE(entries(skill), QStringList{All});
    choose(mokRock, All);
    choose(mokRock, "武具目録");
    choose(skill, "二");
    QTest::mouseClick(child<QPushButton>(w, "btnSearch"), Qt::LeftButton);
    settle(w);
    QCOMPARE(rootNames(w->treeModel()), QStringList{"太刀"});

    choose(job, All);
    QVERIFY(!mokRock->isEnabled() && !skill->isEnabled());
    QCOMPARE(entries(mokRock), QStringList{All});
    QCOMPARE(entries(skill), QStringList{All});
    QCOMPARE(messages.errors, QStringList());
}

void TestForm08::missingDatabase() {
    MessageRecorder messages;
    const QString path = m_fixture->folder() + "missing/TAMU_Item.db";
    open(path);
    for (int page : {0, 1, 2}) {
        search(page, QString());
    }
    child<QComboBox>(m_window, "iptJob")->setEditText("鍛冶屋");
    const QString missing = "Access DB：" + path + " が存在しません";
    QCOMPARE(messages.errors, QStringList({missing, missing, missing, missing}));
    QVERIFY(messages.plain.isEmpty());
}

void TestForm08::eachCalcClickOpensOneMoreCalculator() {
    const auto calculators = [] {
        QList<TZEMForm081*> result;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* calc = qobject_cast<TZEMForm081*>(w)) {
                result << calc;
            }
        }
        return result;
    };
    MessageRecorder messages;
    TZEMForm08* w = open();
    search(1, "茶器");
    auto* tree = child<QTreeView>(w, "CreateTree");
    tree->setCurrentIndex(nodeAt(tree, "茶器"));
    QTest::mouseClick(child<QPushButton>(w, "evtCalc"), Qt::LeftButton);
    QTest::mouseClick(child<QPushButton>(w, "evtCalc"), Qt::LeftButton);
    const QList<TZEMForm081*> opened = calculators();
    QCOMPARE(opened.size(), 2);
    for (TZEMForm081* c : opened) {
        QCOMPARE(child<QLabel>(c, "outUriName")->text(), QStringLiteral("茶器"));
    }
    w->close();  // the calculators are not the search window's
    QTRY_VERIFY(m_window.isNull());
    QCOMPARE(calculators().size(), 2);
    QCOMPARE(messages.errors, QStringList());
    qDeleteAll(opened);
}

// Two searches in a row: only the second one's tree shows, and only it reports its end.
void TestForm08::secondSearchCancelsTheFirst() {
    MessageRecorder messages;
    TZEMForm08* w = open();
    QSignalSpy finished(w, &TZEMForm08::searchFinished);
    w->ShowResults(SqlNameSearch(QString()), TZEMForm08::Direction::Forward);
    w->ShowResults(SqlNameSearch("太刀"), TZEMForm08::Direction::Forward);
    settle(w);
    QCOMPARE(rootNames(w->treeModel()), QStringList{"太刀"});
    QTest::qWait(50);
    QCOMPARE(finished.count(), 1);
    QCOMPARE(messages.errors, QStringList());
}

void TestForm08::brokenDatabase_data() {
    QTest::addColumn<QString>("omit");
    QTest::addColumn<bool>("nullCount");
    QTest::addColumn<bool>("truncate");
    QTest::newRow("table missing behind the search") << "ItemInfo" << false << false;
    QTest::newRow("NULL needed count mid-walk") << "" << true << false;
    QTest::newRow("file truncated") << "" << false << true;
}

// A build that fails shows the one message of the per-entry walk, and no tree at all.
void TestForm08::brokenDatabase() {
    QFETCH(QString, omit);
    QFETCH(bool, nullCount);
    QFETCH(bool, truncate);
    ItemDbFixture::Tables t = sampleTables();
    t.omit << omit;
    if (nullCount) {
        t.relations.append({"玉鋼", "鉄", QVariant()});
    }
    const QString path = m_fixture->create(t, "broken.db");
    if (truncate) {
        QFile file(path);
        QVERIFY(file.resize(file.size() / 2));
    }
    QString expected;
    try {
        TZEMItemList list;
        list.build(path, SqlNameSearch("刀"), TZEMItemList::Direction::Forward,
                   TZEMItemList::Walk::PerEntry);
    } catch (const TZEMError& e) {
        expected = e.message();
    }
    QVERIFY(!expected.isEmpty());
    MessageRecorder messages;
    TZEMForm08* w = open(path);
    const QStringList connections = QSqlDatabase::connectionNames();
    search(1, "刀");
    QCOMPARE(messages.errors, QStringList{expected});
    QCOMPARE(w->treeModel()->rowCount(), 0);
    QVERIFY(w->itemList() == nullptr);
    QCOMPARE(QSqlDatabase::connectionNames(), connections);
}

// While another program holds the file locked the search waits on its own thread: the window
// answers, shows the wait cursor and the progress bar, and closes at once.
void TestForm08::lockedDatabaseKeepsTheWindowResponsive() {
    MessageRecorder messages;
    const QString lockName = QStringLiteral("locker");
    {
        QSqlDatabase locker = QSqlDatabase::addDatabase("QSQLITE", lockName);
        locker.setDatabaseName(m_path);
        QVERIFY(locker.open());
        QSqlQuery(locker).exec("PRAGMA journal_mode = DELETE");
        QVERIFY(QSqlQuery(locker).exec("BEGIN EXCLUSIVE"));
        const QStringList connections = QSqlDatabase::connectionNames();

        TZEMForm08* w = open();
        auto* progress = child<QProgressBar>(w, "prgSearch");
        search(1, QString(), false);
        QVERIFY(w->isSearching());
        QVERIFY(!progress->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(progress->isVisible(), 1000);
        QCOMPARE(w->cursor().shape(), Qt::WaitCursor);
        QVERIFY(w->isSearching());

        QElapsedTimer closing;
        closing.start();
        QVERIFY(w->close());
        QTRY_VERIFY(m_window.isNull());
        QVERIFY(closing.elapsed() < 1000);

        QSqlQuery(locker).exec("ROLLBACK");
        locker.close();
        // The worker ends and releases its connection; nothing of it is shown.
        QTRY_COMPARE_WITH_TIMEOUT(QSqlDatabase::connectionNames(), connections, 10000);
    }
    QSqlDatabase::removeDatabase(lockName);
    QTest::qWait(50);
    QCOMPARE(messages.errors, QStringList());
    QCOMPARE(messages.plain, QStringList());
}

void TestForm08::plannerButtons() {
    const auto opened = [](auto* type) {
        QList<decltype(type)> result;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (auto* window = qobject_cast<decltype(type)>(w)) {
                result << window;
            }
        }
        return result;
    };
    MessageRecorder messages;
    TZEMForm08* w = open();
    auto* shopping = child<QPushButton>(w, "evtShopping");
    QCOMPARE(shopping->text(), QStringLiteral("材料集計"));
    QVERIFY(!shopping->isEnabled());
    search(1, "刀");
    auto* tree = child<QTreeView>(w, "CreateTree");
    tree->setCurrentIndex(nodeAt(tree, "刀/玉鋼"));
    QVERIFY(shopping->isEnabled());  // any product, fief or not
    QVERIFY(!child<QPushButton>(w, "evtCalc")->isEnabled());
    QTest::mouseClick(shopping, Qt::LeftButton);
    const auto lists = opened(static_cast<TZEMForm082*>(nullptr));
    QCOMPARE(lists.size(), 1);
    QCOMPARE(child<QLabel>(lists.front(), "outProductName")->text(), QStringLiteral("玉鋼"));
    tree->setCurrentIndex(nodeAt(tree, "刀/玉鋼/砂鉄"));
    QVERIFY(!shopping->isEnabled());

    QTest::mouseClick(child<QPushButton>(w, "evtRanking"), Qt::LeftButton);
    const auto rankings = opened(static_cast<TZEMForm083*>(nullptr));
    QCOMPARE(rankings.size(), 1);
    QTRY_VERIFY(!rankings.front()->isLoading());
    QCOMPARE(rankings.front()->ranking().count(), 2);  // 茶器 and 名茶碗
    QCOMPARE(messages.errors, QStringList());
    qDeleteAll(lists);
    qDeleteAll(rankings);
}

QTEST_MAIN(TestForm08)
#include "tst_form08.moc"
