#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QTreeView>
#include <QtTest>

#include "recipes/RecipeTreeModel.h"
#include "recipes/TZEMForm08.h"
#include "recipes/TZEMForm081.h"
#include "support/ItemDbFixture.h"
#include "support/MessageRecorder.h"

namespace {

const QString All = QStringLiteral("全て");
const QString Confirmation = QStringLiteral("警告|検索に時間がかかりますが\r\nよろしいですか？");
const QString NotFound = QStringLiteral("該当アイテムが見つかりませんでした。");

QVariantList creator(const QString& name, const QString& job, const QString& catalog,
                     const QString& mokuroku, const QString& skill, const QString& ginou, int count,
                     const QString& version) {
    return {name, job, catalog, mokuroku, skill, ginou, count, version};
}

QVariantList info(const QString& name, const QVariant& yomi, const QString& kind = "素材") {
    return {name, yomi, QStringLiteral("壱"), kind, 10, 20};
}

ItemDbFixture::Tables sampleTables() {
    ItemDbFixture::Tables t;
    t.creators = {
        creator("刀", "鍛冶屋", "武具目録", "BUGU", "一", "A", 1, "壱"),
        creator("太刀", "鍛冶屋", "武具目録", "BUGU", "二", "B", 1, "弐"),
        creator("兜", "鍛冶屋", "防具目録", "BOGU", "一", "A", 1, "壱"),
        creator("玉鋼", "鍛冶屋", "素材目録", "SOZAI", "一", "A", 2, "壱"),
        creator("木炭", "木工", "素材目録", "SOZAI", "一", "A", 4, "壱"),
        creator("茶器", "陶工", "知行産物", "CHIGYO", "一", "A", 5, "壱"),
        creator("名茶碗", "陶工", "知行名物", "MEIBUTSU", "三", "C", 1, "弐"),
        creator("丸薬", "薬師", "薬目録", "KUSURI", "一", "A", 10, "壱"),
        creator("丸薬", "医 者", "薬目録", "KUSURI", "一", "A", 10, "壱"),
        creator("丸薬", "x,y", "薬目録", "KUSURI", "一", "A", 10, "壱"),
        creator("丸薬", "q\"t", "薬目録", "KUSURI", "一", "A", 10, "壱"),
        creator("空札", "", "札目録", "FUDA", "一", "A", 1, "壱"),
        creator("鉄の\"鍵\"", "鍛冶屋", "錠目録", "JOU", "一", "A", 1, "壱"),
    };
    t.infos = {info("刀", "かたな", "刀剣"),
               info("太刀", "たち", "刀剣"),
               info("兜", QVariant(), "兜類"),
               info("玉鋼", "たまはがね"),
               info("木炭", "もくたん"),
               info("茶器", "ちゃき"),
               info("名茶碗", "めいちゃわん"),
               info("丸薬", "がんやく"),
               info("空札", "からふだ"),
               info("鉄の\"鍵\"", "てつのかぎ"),
               info("砂鉄", "さてつ"),
               info("鉄", "てつ"),
               info("土", "つち"),
               info("薬草", "やくそう")};
    t.kinds = {{"刀剣", "武器"}, {"兜類", "頭"}, {"素材", "その他"}};
    t.relations = {{"刀", "玉鋼", 3},      {"刀", "木炭", 2},   {"太刀", "玉鋼", 5},
                   {"玉鋼", "砂鉄", 2},    {"兜", "鉄", 4},     {"茶器", "土", 2},
                   {"名茶碗", "土", 3},    {"丸薬", "薬草", 1}, {"空札", "土", 1},
                   {"鉄の\"鍵\"", "鉄", 1}};
    return t;
}

template <class T>
T* child(QWidget* window, const char* name) {
    T* result = window->findChild<T*>(QString::fromLatin1(name));
    if (result == nullptr) {
        qFatal("control %s missing", name);
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
    const int index = box->findText(text);
    QVERIFY2(index >= 0, qPrintable(text));
    box->setCurrentIndex(index);
}

QStringList rootNames(QAbstractItemModel* model) {
    QStringList names;
    for (int row = 0; row < model->rowCount(); ++row) {
        names << model->index(row, 0).data().toString();
    }
    return names;
}

// The node at a path of names "刀/玉鋼/砂鉄", its parents expanded on the way.
QModelIndex nodeAt(QTreeView* tree, const QString& path) {
    QAbstractItemModel* model = tree->model();
    QModelIndex parent;
    for (const QString& name : path.split(u'/')) {
        if (model->canFetchMore(parent)) {
            model->fetchMore(parent);
        }
        QModelIndex found;
        for (int row = 0; row < model->rowCount(parent) && !found.isValid(); ++row) {
            if (model->index(row, 0, parent).data().toString() == name) {
                found = model->index(row, 0, parent);
            }
        }
        if (!found.isValid()) {
            return {};
        }
        tree->expand(found);
        parent = found;
    }
    return parent;
}

QStringList gridRows(QTableWidget* grid) {
    QStringList rows;
    for (int r = 0; r < grid->rowCount(); ++r) {
        rows << grid->item(r, 0)->text() + u'=' + grid->item(r, 1)->text();
    }
    return rows;
}

}  // namespace

class TestForm08 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void openingState();
    void confirmation_data();
    void confirmation();
    void enterStartsThePageSearch_data();
    void enterStartsThePageSearch();
    void searchResults_data();
    void searchResults();
    void selection_data();
    void selection();
    void jobAllDisablesBothBoxes();
    void catalogueChoiceFillsSkills();
    void versionChangeKeepsCatalogue();
    void missingDatabase();
    void failedSelectionKeepsWhatWasShown();
    void closingReleasesTheWindow();
    void eachCalcClickOpensOneMoreCalculator();

private:
    TZEMForm08* open(const QString& path = {});

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

void TestForm08::openingState() {
    TZEMForm08* w = open();
    QCOMPARE(w->windowTitle(), QStringLiteral("生産レシピ検索"));
    QCOMPARE(w->size(), QSize(420, 459));
    QVERIFY(w->isVisible());
    QVERIFY(w->testAttribute(Qt::WA_DeleteOnClose));
    auto* pages = w->findChild<QTabWidget*>();
    QCOMPARE(pages->tabText(pages->currentIndex()), QStringLiteral("生産品条件検索"));
    QCOMPARE(pages->size(), QSize(409, 121));

    QCOMPARE(entries(child<QComboBox>(w, "iptJob")), QStringList({All, "鍛冶屋", "陶工", "薬師"}));
    QCOMPARE(entries(child<QComboBox>(w, "iptVersion")), QStringList({All, "壱", "弐", "参"}));
    QCOMPARE(entries(child<QComboBox>(w, "iptEquip")), QStringList({All, "武器", "頭"}));
    for (const char* name : {"iptJob", "iptVersion", "iptEquip"}) {
        QCOMPARE(child<QComboBox>(w, name)->currentText(), All);
    }
    for (const char* name : {"iptMokRock", "iptSkill"}) {
        auto* box = child<QComboBox>(w, name);
        QVERIFY(!box->isEnabled());
        QCOMPARE(box->currentText(), All);
        QCOMPARE(box->count(), 0);
    }
    QVERIFY(!child<QPushButton>(w, "evtCalc")->isEnabled());

    auto* tree = child<QTreeView>(w, "CreateTree");
    QCOMPARE(tree->size(), QSize(185, 301));
    QCOMPARE(tree->indentation(), 19);
    QCOMPARE(tree->editTriggers(), QAbstractItemView::NoEditTriggers);
    QCOMPARE(tree->model()->rowCount(), 0);

    auto* grid = child<QTableWidget>(w, "outCreateSource");
    QVERIFY(!grid->isEnabled());
    QCOMPARE(grid->horizontalHeaderItem(0)->text(), QStringLiteral("必要材料名"));
    QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("必要数"));
    QCOMPARE(grid->columnWidth(0), 146);
    QCOMPARE(grid->columnWidth(1), 52);
}

void TestForm08::confirmation_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("box");    // combo to set, or empty
    QTest::addColumn<QString>("value");  // value for the combo or the page's edit
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
    MessageRecorder messages(false);  // every question is answered キャンセル
    TZEMForm08* w = open();
    w->findChild<QTabWidget*>()->setCurrentIndex(page);
    if (!box.isEmpty()) {
        choose(child<QComboBox>(w, box.toLatin1().constData()), value);
    } else if (page == 1) {
        child<QLineEdit>(w, "iptItemName")->setText(value);
    } else if (page == 2) {
        child<QLineEdit>(w, "iptZairyo")->setText(value);
    }
    const char* buttons[] = {"btnSearch", "btnSearchName", "btnZairyoSearch"};
    QPushButton* button = child<QPushButton>(w, buttons[page]);

    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(messages.questions, asks ? QStringList{Confirmation} : QStringList{});
    // Cancelling abandons the search before anything is built.
    QCOMPARE(w->itemList() != nullptr, !asks);
    QCOMPARE(messages.errors, QStringList());

    if (asks) {
        messages.answerNext(true);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(messages.questions.size(), 2);
        QVERIFY(w->itemList() != nullptr);
        QVERIFY(w->treeModel()->rowCount() > 0);
    }
}

void TestForm08::enterStartsThePageSearch_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("focus");
    QTest::newRow("condition page, from a combo box") << 0 << "iptJob";
    QTest::newRow("name page, from the edit") << 1 << "iptItemName";
    QTest::newRow("material page, from the edit") << 2 << "iptZairyo";
}

void TestForm08::enterStartsThePageSearch() {
    QFETCH(int, page);
    QFETCH(QString, focus);
    MessageRecorder messages;
    TZEMForm08* w = open();
    w->findChild<QTabWidget*>()->setCurrentIndex(page);
    // Texts that find nothing, so every search that runs says so exactly once.
    if (page == 0) {
        child<QComboBox>(w, "iptEquip")->setEditText(QStringLiteral("無し"));
    } else {
        child<QLineEdit>(w, page == 1 ? "iptItemName" : "iptZairyo")->setText("存在しない");
    }
    QWidget* target = w->findChild<QWidget*>(focus);
    QVERIFY(target != nullptr);
    if (auto* comboBox = qobject_cast<QComboBox*>(target)) {
        target = comboBox->lineEdit();
    }
    QTest::keyClick(target, Qt::Key_Return);
    QCOMPARE(messages.plain, QStringList{NotFound});
    QVERIFY(messages.questions.isEmpty());
}

void TestForm08::searchResults_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("roots");
    QTest::addColumn<QString>("message");

    QTest::newRow("name search, roots reversed") << 1 << "刀" << QStringList{"太刀", "刀"} << "";
    QTest::newRow("name with a double quote finds its item")
        << 1 << "鉄の\"鍵\"" << QStringList{"鉄の\"鍵\""} << "";
    QTest::newRow("rows without materials: empty tree, no message")
        << 1 << "木炭" << QStringList{} << "";
    QTest::newRow("no rows") << 1 << "無い物" << QStringList{} << NotFound;
    QTest::newRow("material search") << 2 << "砂鉄" << QStringList{"砂鉄"} << "";
    QTest::newRow("material nobody uses is not found") << 2 << "茶器" << QStringList{} << NotFound;
    QTest::newRow("condition search by job") << 0 << "陶工" << QStringList{"名茶碗", "茶器"} << "";
}

void TestForm08::searchResults() {
    QFETCH(int, page);
    QFETCH(QString, text);
    QFETCH(QStringList, roots);
    QFETCH(QString, message);
    MessageRecorder messages;
    TZEMForm08* w = open();
    if (page == 0) {
        choose(child<QComboBox>(w, "iptJob"), text);
        QTest::mouseClick(child<QPushButton>(w, "btnSearch"), Qt::LeftButton);
    } else if (page == 1) {
        child<QLineEdit>(w, "iptItemName")->setText(text);
        QTest::mouseClick(child<QPushButton>(w, "btnSearchName"), Qt::LeftButton);
    } else {
        child<QLineEdit>(w, "iptZairyo")->setText(text);
        QTest::mouseClick(child<QPushButton>(w, "btnZairyoSearch"), Qt::LeftButton);
    }
    QCOMPARE(messages.errors, QStringList());
    QCOMPARE(messages.plain, message.isEmpty() ? QStringList{} : QStringList{message});
    auto* tree = child<QTreeView>(w, "CreateTree");
    QCOMPARE(rootNames(tree->model()), roots);
}

void TestForm08::selection_data() {
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("node");
    QTest::addColumn<QString>("yomi");
    QTest::addColumn<QString>("jobs");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QStringList>("materials");
    QTest::addColumn<bool>("calc");

    QTest::newRow("product") << 1 << "刀"
                             << "刀"
                             << "かたな"
                             << "鍛冶屋"
                             << "1" << QStringList{"玉鋼=3", "木炭=2"} << false;
    QTest::newRow("intermediate product below a root") << 1 << "刀"
                                                       << "刀/玉鋼"
                                                       << "たまはがね"
                                                       << "鍛冶屋"
                                                       << "2" << QStringList{"砂鉄=2"} << false;
    QTest::newRow("pure material") << 1 << "刀"
                                   << "刀/玉鋼/砂鉄"
                                   << ""
                                   << "―"
                                   << "―" << QStringList{} << false;
    QTest::newRow("NULL reading shows empty") << 1 << "兜"
                                              << "兜"
                                              << ""
                                              << "鍛冶屋"
                                              << "1" << QStringList{"鉄=4"} << false;
    QTest::newRow("知行産物 enables profit") << 1 << "茶器"
                                             << "茶器"
                                             << "ちゃき"
                                             << "陶工"
                                             << "5" << QStringList{"土=2"} << true;
    QTest::newRow("知行名物 enables profit") << 1 << "名茶碗"
                                             << "名茶碗"
                                             << "めいちゃわん"
                                             << "陶工"
                                             << "1" << QStringList{"土=3"} << true;
    QTest::newRow("jobs quoted where needed") << 1 << "丸薬"
                                              << "丸薬"
                                              << "がんやく"
                                              << "薬師,\"医 者\",\"x,y\",\"q\"\"t\""
                                              << "10" << QStringList{"薬草=1"} << false;
    QTest::newRow("one empty job") << 1 << "空札"
                                   << "空札"
                                   << "からふだ"
                                   << "\"\""
                                   << "1" << QStringList{"土=1"} << false;
    QTest::newRow("reverse tree shows the forward recipe") << 2 << "砂鉄"
                                                           << "砂鉄/玉鋼/太刀"
                                                           << "たち"
                                                           << "鍛冶屋"
                                                           << "1" << QStringList{"玉鋼=5"} << false;
}

void TestForm08::selection() {
    QFETCH(int, page);
    QFETCH(QString, search);
    QFETCH(QString, node);
    QFETCH(QString, yomi);
    QFETCH(QString, jobs);
    QFETCH(QString, count);
    QFETCH(QStringList, materials);
    QFETCH(bool, calc);
    MessageRecorder messages;
    TZEMForm08* w = open();
    child<QLineEdit>(w, page == 1 ? "iptItemName" : "iptZairyo")->setText(search);
    QTest::mouseClick(child<QPushButton>(w, page == 1 ? "btnSearchName" : "btnZairyoSearch"),
                      Qt::LeftButton);
    auto* tree = child<QTreeView>(w, "CreateTree");
    auto* calcButton = child<QPushButton>(w, "evtCalc");
    auto* grid = child<QTableWidget>(w, "outCreateSource");

    // Start from the opposite state, with materials listed, to see both change.
    calcButton->setEnabled(!calc);
    grid->setRowCount(3);
    for (int r = 0; r < 3; ++r) {
        grid->setItem(r, 0, new QTableWidgetItem("old"));
        grid->setItem(r, 1, new QTableWidgetItem("9"));
    }

    const QModelIndex index = nodeAt(tree, node);
    QVERIFY(index.isValid());
    tree->setCurrentIndex(index);
    QCOMPARE(messages.errors, QStringList());
    QCOMPARE(child<QLabel>(w, "outItemName")->text(), node.section(u'/', -1));
    QCOMPARE(child<QLabel>(w, "outYomi")->text(), yomi);
    QCOMPARE(child<QLabel>(w, "outItemCreator")->text(), jobs);
    QCOMPARE(child<QLabel>(w, "outCreateCount")->text(), count);
    QCOMPARE(gridRows(grid), materials);
    QCOMPARE(calcButton->isEnabled(), calc);
}

void TestForm08::jobAllDisablesBothBoxes() {
    MessageRecorder messages;
    TZEMForm08* w = open();
    auto* job = child<QComboBox>(w, "iptJob");
    auto* mokRock = child<QComboBox>(w, "iptMokRock");
    auto* skill = child<QComboBox>(w, "iptSkill");
    choose(job, "鍛冶屋");
    QVERIFY(mokRock->isEnabled());
    QCOMPARE(entries(mokRock), QStringList({All, "防具目録", "武具目録", "錠目録", "素材目録"}));
    choose(mokRock, "武具目録");
    QVERIFY(skill->isEnabled());

    choose(job, All);
    QVERIFY(!mokRock->isEnabled());
    QVERIFY(!skill->isEnabled());
    QCOMPARE(entries(mokRock), QStringList{All});
    QCOMPARE(entries(skill), QStringList{All});
    QCOMPARE(messages.errors, QStringList());
}

void TestForm08::catalogueChoiceFillsSkills() {
    MessageRecorder messages;
    TZEMForm08* w = open();
    auto* mokRock = child<QComboBox>(w, "iptMokRock");
    auto* skill = child<QComboBox>(w, "iptSkill");
    choose(child<QComboBox>(w, "iptJob"), "鍛冶屋");
    QVERIFY(!skill->isEnabled());
    choose(mokRock, "武具目録");
    QCOMPARE(w->selectedMokRock(), QStringLiteral("武具目録"));
    QCOMPARE(entries(skill), QStringList({All, "一", "二"}));
    QVERIFY(skill->isEnabled());
    choose(mokRock, All);
    QVERIFY(!skill->isEnabled());
    QCOMPARE(entries(skill), QStringList{All});

    // The condition search uses what the boxes show.
    choose(mokRock, "武具目録");
    choose(skill, "二");
    QTest::mouseClick(child<QPushButton>(w, "btnSearch"), Qt::LeftButton);
    QCOMPARE(rootNames(w->treeModel()), QStringList{"太刀"});
    QCOMPARE(messages.errors, QStringList());
    QVERIFY(messages.questions.isEmpty());
}

void TestForm08::versionChangeKeepsCatalogue() {
    MessageRecorder messages;
    TZEMForm08* w = open();
    auto* mokRock = child<QComboBox>(w, "iptMokRock");
    auto* skill = child<QComboBox>(w, "iptSkill");
    auto* version = child<QComboBox>(w, "iptVersion");
    choose(child<QComboBox>(w, "iptJob"), "鍛冶屋");
    choose(mokRock, "武具目録");
    QCOMPARE(skill->count(), 3);

    choose(version, "弐");
    QCOMPARE(entries(mokRock), QStringList({All, "武具目録"}));
    QCOMPARE(mokRock->currentText(), QStringLiteral("武具目録"));
    QCOMPARE(entries(skill), QStringList{All});
    QCOMPARE(skill->currentText(), All);

    choose(version, "壱");
    QCOMPARE(mokRock->currentText(), QStringLiteral("武具目録"));
    QCOMPARE(entries(skill), QStringList{All});

    // A version without the catalogue leaves the box at 全て; the remembered choice stays.
    choose(version, "参");
    QCOMPARE(entries(mokRock), QStringList{All});
    QCOMPARE(mokRock->currentText(), All);
    QCOMPARE(w->selectedMokRock(), QStringLiteral("武具目録"));
    choose(version, "弐");
    QCOMPARE(mokRock->currentText(), QStringLiteral("武具目録"));
    QCOMPARE(messages.errors, QStringList());
}

void TestForm08::missingDatabase() {
    MessageRecorder messages;
    const QString path = m_fixture->folder() + QStringLiteral("missing/TAMU_Item.db");
    TZEMForm08* w = open(path);
    const QString missing =
        QStringLiteral("Access DB：") + path + QStringLiteral(" が存在しません");
    for (const char* button : {"btnSearch", "btnSearchName", "btnZairyoSearch"}) {
        messages.clear();
        QTest::mouseClick(child<QPushButton>(w, button), Qt::LeftButton);
        QCOMPARE(messages.errors, QStringList{missing});
        QVERIFY(messages.plain.isEmpty());
        QCOMPARE(w->treeModel()->rowCount(), 0);
    }
    messages.clear();
    child<QComboBox>(w, "iptJob")->setEditText(QStringLiteral("鍛冶屋"));
    QCOMPARE(messages.errors, QStringList{missing});
}

// The database goes away between the search and the selection: the error is shown and the
// panel keeps the name already written; the tree stays.
void TestForm08::failedSelectionKeepsWhatWasShown() {
    MessageRecorder messages;
    TZEMForm08* w = open();
    child<QLineEdit>(w, "iptItemName")->setText("刀");
    QTest::mouseClick(child<QPushButton>(w, "btnSearchName"), Qt::LeftButton);
    auto* tree = child<QTreeView>(w, "CreateTree");
    QVERIFY(QFile::remove(m_path));
    tree->setCurrentIndex(nodeAt(tree, "刀"));
    QCOMPARE(messages.errors.size(), 1);
    QVERIFY(messages.errors.front().endsWith(QStringLiteral(" が存在しません")));
    QCOMPARE(child<QLabel>(w, "outItemName")->text(), QStringLiteral("刀"));
    QCOMPARE(rootNames(w->treeModel()), QStringList({"太刀", "刀"}));
}

void TestForm08::closingReleasesTheWindow() {
    TZEMForm08* w = open();
    QSignalSpy destroyed(w, &QObject::destroyed);
    w->close();
    QTRY_COMPARE(destroyed.count(), 1);
    QVERIFY(m_window.isNull());
}

namespace {

QList<TZEMForm081*> calculators() {
    QList<TZEMForm081*> result;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* calc = qobject_cast<TZEMForm081*>(w)) {
            result << calc;
        }
    }
    return result;
}

}  // namespace

void TestForm08::eachCalcClickOpensOneMoreCalculator() {
    MessageRecorder messages;
    TZEMForm08* w = open();
    child<QLineEdit>(w, "iptItemName")->setText("茶器");
    QTest::mouseClick(child<QPushButton>(w, "btnSearchName"), Qt::LeftButton);
    auto* tree = child<QTreeView>(w, "CreateTree");
    tree->setCurrentIndex(nodeAt(tree, "茶器"));
    auto* calc = child<QPushButton>(w, "evtCalc");
    QVERIFY(calc->isEnabled());

    QCOMPARE(calculators().size(), 0);
    QTest::mouseClick(calc, Qt::LeftButton);
    QTest::mouseClick(calc, Qt::LeftButton);
    const QList<TZEMForm081*> opened = calculators();
    QCOMPARE(opened.size(), 2);
    for (TZEMForm081* c : opened) {
        QCOMPARE(c->findChild<QLabel*>("outUriName")->text(), QStringLiteral("茶器"));
        QCOMPARE(c->DBPath, m_path);
    }
    // They are not the search window's: closing it leaves them open.
    w->close();
    QTRY_VERIFY(m_window.isNull());
    QCOMPARE(calculators().size(), 2);
    QCOMPARE(messages.errors, QStringList());
    qDeleteAll(opened);
}

QTEST_MAIN(TestForm08)
#include "tst_form08.moc"
