#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QtTest>
#include <memory>

#include "common/Fonts.h"
#include "common/Messages.h"
#include "common/TZEMSpinEdit.h"
#include "recipes/ShoppingPlanModels.h"
#include "recipes/TZEMForm082.h"
#include "support/Child.h"
#include "support/FlashNotes.h"
#include "support/ItemDbFixture.h"
#include "support/MessageRecorder.h"
#include "support/WindowChecks.h"

namespace {

// 弁当 (4 a run) needs 2 握り飯 and 1 漬物; 握り飯 is made 3 or 6 a run from 米; 漬物 has no
// shop price.
ItemDbFixture::Tables lunchTables() {
    ItemDbFixture::Tables t;
    t.kinds = {{"食", "その他"}};
    t.infos = {{"弁当", "べんとう", "壱", "食", 5, 90},
               {"握り飯", "にぎりめし", "壱", "食", 2, 20},
               {"米", "こめ", "壱", "食", 1, 3},
               {"漬物", "つけもの", "壱", "食", 1, QVariant()}};
    t.creators = {{"弁当", "料理人", "弁当目録", "B", "一", "A", 4, "壱"},
                  {"握り飯", "料理人", "飯目録", "M", "一", "A", 3, "壱"},
                  {"握り飯", "料理人", "飯目録", "M", "二", "B", 6, "壱"}};
    t.relations = {{"弁当", "握り飯", 2}, {"弁当", "漬物", 1}, {"握り飯", "米", 2}};
    return t;
}

// A table as "cell|cell|…" lines.
QStringList rows(QTableView* table, int columns) {
    QStringList result;
    const QAbstractItemModel* model = table->model();
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < columns; ++c) {
            cells << model->index(r, c).data().toString();
        }
        result << cells.join(u'|');
    }
    return result;
}

QModelIndex cell(QTableView* table, int row, int column) {
    return table->model()->index(row, column);
}

// Picks a recipe as the user does: a click on the cell opens its box, the pick closes it.
void pickRecipe(QTableView* steps, int row, int choice) {
    const QRect rect = steps->visualRect(cell(steps, row, 1));
    QTest::mouseClick(steps->viewport(), Qt::LeftButton, {}, rect.center());
    auto* box = qobject_cast<QComboBox*>(steps->indexWidget(cell(steps, row, 1)));
    QVERIFY(box);
    QCOMPARE(box->count(), 2);
    box->setCurrentIndex(choice);
    Q_EMIT box->activated(choice);
    QCoreApplication::processEvents();
}

}  // namespace

class TestForm082 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void listFollowsTheUser();
    void exports();
    void faults_data();
    void faults();
    void namesAndResizing();

private:
    ItemDbFixture m_fixture;
    QString m_path;
};

void TestForm082::initTestCase() {
    Fonts::registerSubstitutions();
    m_path = m_fixture.create(lunchTables());
}

void TestForm082::listFollowsTheUser() {
    MessageRecorder messages;
    std::unique_ptr<TZEMForm082> w(TZEMForm082::openFor("弁当", m_path));
    QCOMPARE(w->windowTitle(), QStringLiteral("材料集計"));
    QCOMPARE(child<TZEMSpinEdit>(w.get(), "iptPieces")->text(), QStringLiteral("4"));
    auto* purchases = child<QTableView>(w.get(), "outPurchases");
    auto* steps = child<QTableView>(w.get(), "outSteps");
    auto* leftovers = child<QTableView>(w.get(), "outLeftovers");
    const int rice = w->list()->book().indexOf("握り飯");
    const bool threeFirst = w->list()->book().at(rice).rows[0].count == 3;
    QCOMPARE(cell(steps, 0, 1).data(ShoppingPlanModel::ChoicesRole).toStringList().size(), 2);
    QVERIFY(cell(steps, 1, 1).data(ShoppingPlanModel::ChoicesRole).toStringList().isEmpty());
    pickRecipe(steps, 0, threeFirst ? 0 : 1);

    // One run: 2 握り飯 (one run of 3, 1 left), 1 漬物 without a price.
    QCOMPARE(rows(purchases, 4), (QStringList{"漬物|1||", "米|2|3|6"}));
    QCOMPARE(child<QLabel>(w.get(), "outTotal")->text(), QStringLiteral("合計：6"));
    QCOMPARE(child<QLabel>(w.get(), "outNote")->text(),
             QStringLiteral("※店買い価格の無い材料 1 件は合計に含めていません"));
    QCOMPARE(rows(steps, 1), (QStringList{"握り飯", "弁当"}));
    QCOMPARE(rows(leftovers, 2), (QStringList{"握り飯|1"}));

    // 10 pieces: 3 runs, 6 握り飯 in 2 runs of 3; then 6 a run.
    child<TZEMSpinEdit>(w.get(), "iptPieces")->setText("10");
    QCOMPARE(rows(steps, 5)[0].section(u'|', 2), QStringLiteral("3|2|6"));
    QCOMPARE(rows(leftovers, 2), (QStringList{"弁当|2"}));
    pickRecipe(steps, 0, threeFirst ? 1 : 0);
    QCOMPARE(rows(steps, 5)[0].section(u'|', 2), QStringLiteral("6|1|6"));
    QCOMPARE(cell(steps, 0, 1).data(Qt::EditRole).toInt(), threeFirst ? 1 : 0);

    // Buying 握り飯 makes it a purchase; unticking it there makes it again.
    QVERIFY(cell(steps, 0, 5).flags() & Qt::ItemIsUserCheckable);
    QVERIFY(!(cell(steps, 1, 5).flags() & Qt::ItemIsUserCheckable));  // the product itself
    QVERIFY(steps->model()->setData(cell(steps, 0, 5), Qt::Checked, Qt::CheckStateRole));
    QCoreApplication::processEvents();
    QCOMPARE(rows(purchases, 4), (QStringList{"握り飯|6|20|120", "漬物|3||"}));
    QCOMPARE(rows(steps, 1), QStringList{"弁当"});
    QCOMPARE(cell(purchases, 0, 4).data(Qt::CheckStateRole), QVariant(Qt::Checked));
    QVERIFY(purchases->model()->setData(cell(purchases, 0, 4), Qt::Unchecked, Qt::CheckStateRole));
    QCoreApplication::processEvents();
    QCOMPARE(rows(steps, 1), (QStringList{"握り飯", "弁当"}));
    QCOMPARE(messages.errors, QStringList());
}

void TestForm082::exports() {
    MessageRecorder messages;
    std::unique_ptr<TZEMForm082> w(TZEMForm082::openFor("弁当", m_path));
    w->copyToClipboard();
    QCOMPARE(QGuiApplication::clipboard()->text(), w->list()->toTabText(w->plan()));
    QCOMPARE(shownNote(w.get()), QStringLiteral("材料集計をコピーしました"));
    const QString file = m_fixture.folder() + QStringLiteral("弁当.csv");
    w->saveCsv(file);
    QFile saved(file);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
    QCOMPARE(QString::fromUtf8(bytes.mid(3)), w->list()->toCsv(w->plan()));
    QVERIFY(QString::fromUtf8(bytes).contains(QStringLiteral("弁当")));
    const QString unwritable = QStringLiteral("/no/such/folder/弁当.csv");
    QVERIFY_THROWS_EXCEPTION(TZEMError, w->saveCsv(unwritable));
}

void TestForm082::faults_data() {
    QTest::addColumn<QString>("product");
    QTest::addColumn<QString>("omit");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing database") << "弁当"
                                      << "file"
                                      << "Access DB：%1 が存在しません";
    QTest::newRow("no recipe") << "米"
                               << ""
                               << "「米」の生産レシピが見つかりませんでした。";
    QTest::newRow("no product chosen") << ""
                                       << ""
                                       << "「」の生産レシピが見つかりませんでした。";
    QTest::newRow("no material table") << "弁当"
                                       << "ItemCreateRelation"
                                       << "ItemCreateRelation";
}

void TestForm082::faults() {
    QFETCH(QString, product);
    QFETCH(QString, omit);
    QFETCH(QString, message);
    ItemDbFixture fixture;
    ItemDbFixture::Tables tables = lunchTables();
    if (!omit.isEmpty() && omit != "file") {
        tables.omit << omit;
    }
    QString path = fixture.create(tables);
    if (omit == "file") {
        path += QStringLiteral(".missing");
    }
    MessageRecorder messages;
    TZEMForm082* opened = nullptr;
    Messages::guarded([&] { opened = TZEMForm082::openFor(product, path); });
    QCOMPARE(messages.errors.size(), 1);
    QVERIFY2(messages.errors.front().contains(message.arg(path)),
             qPrintable(messages.errors.front()));
    // The message alone: no empty window behind it.
    QVERIFY(!opened);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        QVERIFY(!qobject_cast<TZEMForm082*>(w) || !w->isVisible());
    }
}

// Names are whole in their tooltips; the tables take what the window grows by; a place left
// earlier is where it opens.
void TestForm082::namesAndResizing() {
    MessageRecorder messages;
    std::unique_ptr<TZEMForm082> w(TZEMForm082::openFor("弁当", m_path));
    auto* purchases = child<QTableView>(w.get(), "outPurchases");
    auto* steps = child<QTableView>(w.get(), "outSteps");
    QCOMPARE(cell(purchases, 0, 0).data(Qt::ToolTipRole).toString(), QStringLiteral("漬物"));
    for (const int row : {0, 1}) {  // a recipe with a choice, and one without
        QCOMPARE(cell(steps, row, 1).data(Qt::ToolTipRole), cell(steps, row, 1).data());
    }
    QVERIFY(cell(purchases, 0, 1).data(Qt::ToolTipRole).toString().isEmpty());  // a figure fits
    QCOMPARE(WindowChecks::growthProblems(w.get(), {"outPurchases", "outSteps", "outLeftovers"},
                                          {"evtCopy", "evtSaveCsv", "iptPieces"}),
             QString());
    // The name column takes the room the figures leave, and gives it back down to its width.
    const auto others = [purchases] {
        int width = 0;
        for (int c = 1; c < purchases->model()->columnCount(); ++c) {
            width += purchases->columnWidth(c);
        }
        return width;
    };
    QCOMPARE(purchases->columnWidth(0) + others(), purchases->viewport()->width());
    w->resize(w->minimumSizeHint());
    QTRY_COMPARE(purchases->columnWidth(0), 150);
    QCOMPARE(WindowChecks::reopenProblems(QStringLiteral("TZEMForm082"), QSize(600, 596),
                                          [&] { return TZEMForm082::openFor("弁当", m_path); }),
             QString());
    QCOMPARE(messages.errors, QStringList());
}

QTEST_MAIN(TestForm082)
#include "tst_form082.moc"
