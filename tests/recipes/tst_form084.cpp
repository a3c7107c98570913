#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QtTest>
#include <memory>

#include "common/Fonts.h"
#include "common/Messages.h"
#include "recipes/MarketIndices.h"
#include "recipes/OwnPriceModel.h"
#include "recipes/PlannerData.h"
#include "recipes/ProfitRanking.h"
#include "recipes/ProfitRankingModel.h"
#include "recipes/TZEMForm081.h"
#include "recipes/TZEMForm082.h"
#include "recipes/TZEMForm083.h"
#include "recipes/TZEMForm084.h"
#include "support/Child.h"
#include "support/FileFaults.h"
#include "support/ItemDbFixture.h"
#include "support/MessageRecorder.h"

namespace {

// 弁当 (知行名物, 4 a run, 店売り 50) needs 2 握り飯 and 1 漬物; 握り飯 is made 3 a run from 2 米.
ItemDbFixture::Tables lunchTables() {
    ItemDbFixture::Tables t;
    t.kinds = {{"食", "その他"}};
    t.infos = {{"弁当", "べんとう", "壱", "食", 50, 90},
               {"握り飯", "にぎりめし", "壱", "食", 2, 20},
               {"米", "こめ", "壱", "食", 1, 3},
               {"漬物", "つけもの", "壱", "食", 1, 7}};
    t.creators = {{"弁当", "料理人", "知行名物", "M", "一", "A", 4, "壱"},
                  {"握り飯", "料理人", "飯目録", "M", "一", "A", 3, "壱"}};
    t.relations = {{"弁当", "握り飯", 2}, {"弁当", "漬物", 1}, {"握り飯", "米", 2}};
    return t;
}

QStringList rows(const QAbstractItemModel* model, int columns) {
    QStringList result;
    for (int r = 0; r < model->rowCount(); ++r) {
        QStringList cells;
        for (int c = 0; c < columns; ++c) {
            cells << model->index(r, c).data().toString();
        }
        result << cells.join(u'|');
    }
    return result;
}

int rowOf(const QAbstractItemModel* model, const QString& name) {
    for (int r = 0; r < model->rowCount(); ++r) {
        if (model->index(r, 0).data().toString() == name) {
            return r;
        }
    }
    return -1;
}

// Types into a cell as the user does, and lets the windows follow.
bool type(QAbstractItemModel* model, const QString& name, int column, const QString& text) {
    const bool ok = model->setData(model->index(rowOf(model, name), column), text, Qt::EditRole);
    QCoreApplication::processEvents();
    return ok;
}

std::vector<TZEMForm084*> priceWindows() {
    std::vector<TZEMForm084*> found;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (auto* p = qobject_cast<TZEMForm084*>(w); p && p->isVisible()) {
            found.push_back(p);
        }
    }
    return found;
}

}  // namespace

class TestForm084 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::registerSubstitutions(); }
    void plannersFollowOwnPricesAndHoldings();
    void importAndExport();
    void calculatorTakesOwnPricesOnlyWhenAsked();
    void priceSetWhileTheRankingReads();
};

// A price set while the ranking reads its products counts once they are shown.
void TestForm084::priceSetWhileTheRankingReads() {
    ItemDbFixture fixture;
    const QString path = fixture.create(lunchTables());
    std::unique_ptr<TZEMForm083> ranking(TZEMForm083::openFor(path, fixture.folder()));
    QVERIFY(ranking->isLoading());
    PlannerData::of(fixture.folder()).setPrices({{"漬物", PriceBook::Prices{1, std::nullopt}}});
    QTRY_VERIFY(!ranking->isLoading());
    QCOMPARE(ranking->ranking().at(0).figures->runCost, 2 * 20 + 1);
    const QAbstractItemModel* market = child<QTableView>(ranking.get(), "outMarket")->model();
    QCOMPARE(market->index(rowOf(market, "漬物"), 1).data().toString(), QStringLiteral("1"));
}

void TestForm084::plannersFollowOwnPricesAndHoldings() {
    ItemDbFixture fixture;
    const QString path = fixture.create(lunchTables());
    MessageRecorder messages;
    std::unique_ptr<TZEMForm082> list(TZEMForm082::openFor("弁当", path));
    std::unique_ptr<TZEMForm083> ranking(TZEMForm083::openFor(path, fixture.folder()));
    QTRY_VERIFY(!ranking->isLoading());
    auto* purchases = child<QTableView>(list.get(), "outPurchases")->model();
    auto* steps = child<QTableView>(list.get(), "outSteps")->model();
    QCOMPARE(rows(purchases, 4), (QStringList{"漬物|1|7|7", "米|2|3|6"}));

    // Both planners open the one price window of their folder.
    child<QPushButton>(list.get(), "evtPrices")->click();
    child<QPushButton>(ranking.get(), "evtPrices")->click();
    QCOMPARE(priceWindows().size(), std::size_t(1));
    std::unique_ptr<TZEMForm084> prices(priceWindows().front());
    QCOMPARE(prices->windowTitle(), QStringLiteral("自分の価格"));
    QAbstractItemModel* own = &prices->model();
    QCOMPARE(rows(own, 5).mid(0, 2), (QStringList{"弁当|90||50|", "握り飯|20||2|"}));

    // Own prices: the list buys at them, the ranking computes with them, the file keeps them.
    QVERIFY(type(own, "米", OwnPriceModel::OwnBuy, "10"));
    QVERIFY(type(own, "漬物", OwnPriceModel::OwnBuy, "1"));
    QVERIFY(type(own, "弁当", OwnPriceModel::OwnSell, "1,000"));
    QCOMPARE(rows(purchases, 4), (QStringList{"漬物|1|1|1", "米|2|10|20"}));
    QCOMPARE(child<QLabel>(list.get(), "outTotal")->text(), QStringLiteral("合計：21"));
    const ProfitRanking::Entry& e = ranking->ranking().at(0);
    QCOMPARE(e.figures->runCost, 2 * 20 + 1);
    QCOMPARE(e.figures->sale, std::int64_t(4 * 1000));
    const QAbstractItemModel* market = child<QTableView>(ranking.get(), "outMarket")->model();
    const QModelIndex price = market->index(rowOf(market, "漬物"), 1);
    QCOMPARE(price.data().toString(), QStringLiteral("1"));
    QCOMPARE(price.data(Qt::ToolTipRole).toString(), QStringLiteral("自分の価格（データベースの店買い 7）"));
    QVERIFY(FileFaults::readAll(fixture.folder() + "TAMUPrices.ini").contains("漬物=1"));
    // An emptied cell is the database's price again; a text that is no price is refused.
    QVERIFY(type(own, "漬物", OwnPriceModel::OwnBuy, ""));
    QCOMPARE(rows(purchases, 4)[0], QStringLiteral("漬物|1|7|7"));
    QVERIFY(!type(own, "米", OwnPriceModel::OwnBuy, "-3"));
    QCOMPARE(messages.errors, QStringList{"価格は 0 以上の整数で入力してください：-3"});
    messages.clear();

    // Pieces on hand: 3 握り飯 cover the 2 needed, so none is made and no 米 bought.
    QCOMPARE(rows(steps, 4),
             (QStringList{"握り飯|料理人／飯目録／一|3|1", "弁当|料理人／知行名物／一|4|1"}));
    QVERIFY(type(steps, "握り飯", 6, "3"));
    QCOMPARE(rows(steps, 4)[0], QStringLiteral("握り飯|料理人／飯目録／一|3|0"));
    QCOMPARE(steps->index(0, 6).data().toString(), QStringLiteral("3"));
    QCOMPARE(steps->index(0, 6).data(Qt::ToolTipRole).toString(),
             QStringLiteral("所持 3 個のうち 2 個を使います"));
    QCOMPARE(rows(purchases, 2), QStringList{"漬物|1"});
    QVERIFY(FileFaults::readAll(fixture.folder() + "TAMUHoldings.ini").contains("握り飯=3"));
    // Held 漬物 in the purchase table; another list of the folder knows them too.
    QVERIFY(type(purchases, "漬物", 5, "5"));
    QCOMPARE(rows(purchases, 6), QStringList{"漬物|0|7|0||5"});
    std::unique_ptr<TZEMForm082> second(TZEMForm082::openFor("弁当", path));
    auto* secondSteps = child<QTableView>(second.get(), "outSteps")->model();
    QCOMPARE(rows(secondSteps, 4)[0], QStringLiteral("握り飯|料理人／飯目録／一|3|0"));
    QVERIFY(!type(purchases, "漬物", 5, "abc"));
    QCOMPARE(messages.errors, QStringList{"所持数は 0 以上の整数で入力してください：abc"});
    QVERIFY(type(secondSteps, "握り飯", 6, ""));  // emptied: none held
    QCOMPARE(rows(steps, 4)[0], QStringLiteral("握り飯|料理人／飯目録／一|3|1"));
}

void TestForm084::importAndExport() {
    ItemDbFixture fixture;
    const QString path = fixture.create(lunchTables());
    MessageRecorder messages;
    std::unique_ptr<TZEMForm084> w(TZEMForm084::openFor(path, fixture.folder()));
    const QString csv = fixture.folder() + QStringLiteral("in.csv");
    QFile file(csv);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("アイテム名,店買い,店売り\r\n米,5,\r\n漬物,x,\r\n幻の品,,9\r\n");
    file.close();
    w->importCsv(csv);
    QCOMPARE(messages.errors,
             QStringList{
                 "読めない行 1 件を飛ばしました：\n3 行目：「x」は価格ではありません（漬物,x,）"});
    // Own prices of items the database lacks stay in reach, at the end.
    QCoreApplication::processEvents();
    QCOMPARE(rows(&w->model(), 5).mid(2), (QStringList{"米|3|5|1|", "漬物|7||1|", "幻の品||||9"}));
    child<QCheckBox>(w.get(), "chkOwnOnly")->setChecked(true);
    QCOMPARE(rows(&w->model(), 1), (QStringList{"米", "幻の品"}));
    const QString out = fixture.folder() + QStringLiteral("out.csv");
    w->exportCsv(out);
    QCOMPARE(FileFaults::readAll(out),
             QByteArray("\xEF\xBB\xBFアイテム名,店買い,店売り\r\n米,5,\r\n幻の品,,9\r\n"));
    messages.clear();
    // A file of no good rows changes nothing and says why.
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("米,abc\n");
    file.close();
    QVERIFY(!Messages::guarded([&] { w->importCsv(csv); }));
    QCOMPARE(messages.errors.size(), 1);
    QVERIFY(
        messages.errors[0].startsWith(QStringLiteral("in.csv に読み込める行がありませんでした。")));
    QCOMPARE(PlannerData::of(fixture.folder()).prices().buy("米"), std::optional<std::int32_t>(5));
}

void TestForm084::calculatorTakesOwnPricesOnlyWhenAsked() {
    ItemDbFixture fixture;
    const QString path = fixture.create(lunchTables());
    MessageRecorder messages;
    PlannerData::of(fixture.folder()).setPrices({{"弁当", {1, 60}}, {"漬物", {2, std::nullopt}}});
    std::unique_ptr<TZEMForm081> w(TZEMForm081::openFor("弁当", path));
    auto* ownPrices = child<QCheckBox>(w.get(), "chkOwnPrices");
    const auto figures = [&] {
        return QStringList{child<QLabel>(w.get(), "outUriTanka")->text(),
                           child<QLabel>(w.get(), "outZaiTotalCost")->text(),
                           child<QLabel>(w.get(), "outUriGain")->text()}
            .join(u'|');
    };
    QVERIFY(!ownPrices->isChecked());
    QCOMPARE(figures(), QStringLiteral("50|47|153"));  // 4 × 50 − (2 × 20 + 7)
    ownPrices->setChecked(true);
    QCOMPARE(figures(), QStringLiteral("60|42|198"));  // a 知行名物 sells at its own 店売り
    PlannerData::of(fixture.folder()).setPrices({{"漬物", {}}});
    QCOMPARE(figures(), QStringLiteral("60|47|193"));
    ownPrices->setChecked(false);
    QCOMPARE(figures(), QStringLiteral("50|47|153"));
    // From the ranking, the box is ticked where the ranking's figures use own prices.
    std::unique_ptr<TZEMForm081> ranked(
        TZEMForm081::openWith("弁当", path, MarketIndices(fixture.folder()), true));
    QVERIFY(child<QCheckBox>(ranked.get(), "chkOwnPrices")->isChecked());
    QCOMPARE(child<QLabel>(ranked.get(), "outUriTanka")->text(), QStringLiteral("60"));
    QCOMPARE(messages.errors, QStringList());
}

QTEST_MAIN(TestForm084)
#include "tst_form084.moc"
