#include <QAbstractItemModelTester>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "common/Fonts.h"
#include "common/TZEMError.h"
#include "recipes/MarketIndices.h"
#include "recipes/ProductLoad.h"
#include "recipes/ProfitRanking.h"
#include "recipes/ProfitRankingModel.h"
#include "recipes/TDB.h"
#include "recipes/TZEMForm081.h"
#include "recipes/TZEMForm083.h"
#include "support/ItemDbFixture.h"
#include "support/MessageRecorder.h"
#include "support/RandomItemTables.h"
#include "support/SampleRanking.h"
#include "support/WindowChecks.h"

namespace {

QString label(QWidget* w, const QString& name) {
    auto* l = w->findChild<QLabel*>(name);
    return l ? l->text() : QStringLiteral("(no %1)").arg(name);
}

// Everything a ranking read: per rank the product, its materials, figures and break-even, then
// the products left out; or the error that stopped the read.
QString rankingRead(const QString& path, ProfitRanking::Read read) {
    QTemporaryDir folder;
    MarketIndices indices(folder.path() + u'/');
    ProfitRanking ranking(indices);
    try {
        ranking.load(path, {}, read);
    } catch (const TZEMError& e) {
        return u'!' + e.message();
    }
    QStringList lines;
    for (int r = 0; r < ranking.count(); ++r) {
        const ProfitRanking::Entry& e = ranking.at(r);
        QString line = QStringLiteral("%1 %2 %3 %4 |")
                           .arg(e.product.name, e.product.catalogue)
                           .arg(e.product.standardCount)
                           .arg(e.product.unitPrice);
        for (const ProfitProduct::Material& m : e.product.materials) {
            line += QStringLiteral(" %1x%2@%3").arg(m.name).arg(m.needed).arg(m.price);
        }
        lines << line + QStringLiteral(" | %1 %2")
                            .arg(e.figures ? e.figures->gain : 0)
                            .arg(e.error + QString::number(e.breakEven.value_or(-1)));
    }
    return lines.join(u'\n') +
           QStringLiteral("\nskipped %1: %2").arg(ranking.skipped()).arg(ranking.firstProblem());
}

}  // namespace

class TestRanking : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void agreesWithTheCalculator_data();
    void agreesWithTheCalculator();
    void indicesRememberedAndResorted();
    void brokenDatabase_data();
    void brokenDatabase();
    void namesAndResizing();
    void loadsProduct_data();
    void loadsProduct();
    void productRowsArriveBeforeAMaterialFails();
    void setBasedReadAsEachProductAlone();

private:
    QTemporaryDir m_dir;
};

void TestRanking::initTestCase() {
    Fonts::registerSubstitutions();
    QVERIFY(QFile::exists(sampleDatabase()));
}

void TestRanking::agreesWithTheCalculator_data() {
    QTest::addColumn<unsigned>("seed");
    QTest::newRow("every index 01.00") << 0u;
    QTest::newRow("random indices 1") << 1u;
    QTest::newRow("random indices 2") << 2u;
}

void TestRanking::agreesWithTheCalculator() {
    QFETCH(unsigned, seed);
    QTemporaryDir folder;
    MessageRecorder messages;
    MarketIndices indices(folder.path() + u'/');
    ProfitRanking ranking(indices);
    ranking.load(sampleDatabase());
    QCOMPARE(ranking.skipped(), 0);
    QCOMPARE(ranking.count(), fiefProductCount());
    if (seed != 0) {
        randomIndices(indices, ranking, seed);
        ranking.recompute();
    }
    for (int r = 0; r < ranking.count(); ++r) {
        const ProfitRanking::Entry& e = ranking.at(r);
        messages.errors.clear();
        std::unique_ptr<TZEMForm081> calc(
            TZEMForm081::openWith(e.product.name, sampleDatabase(), indices));
        if (!e.figures) {  // a figure out of range: the window has no figures either
            QCOMPARE(e.error, QStringLiteral("範囲チェックエラー"));
            QCOMPARE(messages.errors.size(), 1);
            continue;
        }
        if (r > 0 && ranking.at(r - 1).figures) {
            QVERIFY(ranking.at(r - 1).figures->gain >= e.figures->gain);
        }
        const QStringList got{QString::number(e.figures->runCost),
                              QString::number(e.figures->buyCost), QString::number(e.figures->sale),
                              QString::number(e.figures->gain)};
        const QStringList shown{label(calc.get(), "outZaiTotalCost"),
                                label(calc.get(), "outBuyCost"), label(calc.get(), "outUriCost"),
                                label(calc.get(), "outUriGain")};
        QCOMPARE(got, shown);
        QCOMPARE(messages.errors, QStringList());
    }
}

void TestRanking::indicesRememberedAndResorted() {
    QTemporaryDir folder;
    const QString dat = folder.path() + u'/';
    MessageRecorder messages;
    {
        TZEMForm083 w(sampleDatabase(), dat);
        QCOMPARE(w.windowTitle(), QStringLiteral("利益ランキング"));
        auto* view = w.findChild<QTableView*>(QStringLiteral("outRanking"));
        // Read on a worker: busy and off until the products are there.
        QVERIFY(w.isLoading());
        QVERIFY(!view->isEnabled());
        QVERIFY(!w.findChild<QWidget*>(QStringLiteral("prgRanking"))->isHidden());
        QCOMPARE(w.cursor().shape(), Qt::WaitCursor);
        QSignalSpy loaded(&w, &TZEMForm083::loaded);
        QVERIFY(loaded.wait());
        QVERIFY(view->isEnabled());
        QVERIFY(w.findChild<QWidget*>(QStringLiteral("prgRanking"))->isHidden());
        QCOMPARE(w.cursor().shape(), Qt::ArrowCursor);
        QAbstractItemModelTester tester(view->model(),
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QCOMPARE(view->model()->rowCount(), fiefProductCount());
        const QString top = w.ranking().at(0).product.name;
        // Making the top product's first material dear drops it.
        const QString dear = w.ranking().at(0).product.materials.front().name;
        QAbstractItemModel* market = w.findChild<QTableView*>(QStringLiteral("outMarket"))->model();
        QAbstractItemModelTester marketTester(
            market, QAbstractItemModelTester::FailureReportingMode::QtTest);
        const QModelIndex cell =
            market->index(market->match(market->index(0, 0), Qt::DisplayRole, dear, 1,
                                        Qt::MatchExactly)
                              .front()
                              .row(),
                          2);
        QVERIFY(market->setData(cell, QStringLiteral("99.99")));
        QVERIFY(w.ranking().at(0).product.name != top);
        QCOMPARE(view->model()->index(0, 1).data().toString(), w.ranking().at(0).product.name);
        // A text that is no index is refused; the cell shows the index in force.
        QVERIFY(!market->setData(cell, QStringLiteral("1.5")));
        QCOMPARE(messages.errors.size(), 1);
        QCOMPARE(cell.data().toString(), QStringLiteral("99.99"));
        // The product index of a 知行産物 is set in the list itself; a 知行名物 has none.
        int fief = 0;
        while (!ProfitCalc::productIndexed(w.ranking().at(fief).product.catalogue)) {
            ++fief;
        }
        const QString name = w.ranking().at(fief).product.name;
        // Where an index can be typed, the cell says so.
        QCOMPARE(view->model()->index(fief, 7).data(Qt::ToolTipRole).toString(),
                 ProfitRankingModel::indexHint());
        QCOMPARE(cell.data(Qt::ToolTipRole).toString(), ProfitRankingModel::indexHint());
        QVERIFY(view->model()->setData(view->model()->index(fief, 7), QStringLiteral("00.10")));
        QVERIFY(!view->model()->setData(view->model()->index(fief == 0 ? 1 : 0, 7), "00.10") ||
                ProfitCalc::productIndexed(w.ranking().at(fief == 0 ? 1 : 0).product.catalogue));
        MarketIndices again(dat);
        QCOMPARE(again.material(dear), QStringLiteral("99.99"));
        QCOMPARE(again.product(name), QStringLiteral("00.10"));
        QCOMPARE(again.material(QStringLiteral("無い品")), QStringLiteral("01.00"));
        // A double click opens the calculator with the same indices and figures.
        const int rank = [&] {
            for (int r = 0; r < w.ranking().count(); ++r) {
                if (w.ranking().at(r).product.name == name) {
                    return r;
                }
            }
            return -1;
        }();
        Q_EMIT view->doubleClicked(view->model()->index(rank, 1));
        TZEMForm081* calc = nullptr;
        for (QWidget* top : QApplication::topLevelWidgets()) {
            calc = calc ? calc : qobject_cast<TZEMForm081*>(top);
        }
        QVERIFY(calc);
        QCOMPARE(calc->findChild<QLineEdit*>(QStringLiteral("iptUriSisu"))->displayText(),
                 QStringLiteral("00.10"));
        QCOMPARE(label(calc, "outUriGain"), QString::number(w.ranking().at(rank).figures->gain));
        delete calc;
    }
    QCOMPARE(messages.errors.size(), 1);
    // Values that are no index read as 01.00.
    QFile file(dat + QStringLiteral("TAMUMarket.ini"));
    QVERIFY(file.open(QIODevice::Append));
    file.write("[material]\n");
    file.close();
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("[Material]\n塩=1.5\n墨=02.50\n[Product]\n塩俵=abc\n");
    file.close();
    MarketIndices read(dat);
    QCOMPARE(read.material(QStringLiteral("塩")), QStringLiteral("01.00"));
    QCOMPARE(read.material(QStringLiteral("墨")), QStringLiteral("02.50"));
    QCOMPARE(read.product(QStringLiteral("塩俵")), QStringLiteral("01.00"));
}

void TestRanking::brokenDatabase_data() {
    QTest::addColumn<QString>("broken");
    QTest::addColumn<int>("listed");
    QTest::addColumn<QString>("message");
    QTest::newRow("missing file") << "file" << 0 << "が存在しません";
    QTest::newRow("no ItemCreator") << "ItemCreator" << 0 << "ItemCreator";
    QTest::newRow("no materials table") << "ItemCreateRelation" << 0 << "読めない産物が 2 件";
    QTest::newRow("one product count NULL") << "null" << 1 << "読めない産物が 1 件";
}

void TestRanking::brokenDatabase() {
    QFETCH(QString, broken);
    QFETCH(int, listed);
    QFETCH(QString, message);
    ItemDbFixture fixture;
    ItemDbFixture::Tables t;
    t.kinds = {{"知行品", "その他"}};
    t.infos = {{"塩俵", "しおだわら", "壱", "知行品", 10, 30},
               {"墨", "すみ", "壱", "知行品", 8, 16},
               {"塩", "しお", "壱", "知行品", 1, 15}};
    t.creators = {
        {"塩俵", "大工", "知行産物", "C", "一", "A", broken == "null" ? QVariant() : 20, "壱"},
        {"墨", "大工", "知行名物", "C", "一", "A", 10, "壱"}};
    t.relations = {{"塩俵", "塩", 3}, {"墨", "塩", 1}};
    if (broken != "file" && broken != "null") {
        t.omit << broken;
    }
    QString path = fixture.create(t);
    if (broken == "file") {
        path += QStringLiteral(".missing");
    }
    MessageRecorder messages;
    TZEMForm083 w(path, fixture.folder());
    QSignalSpy loaded(&w, &TZEMForm083::loaded);
    QVERIFY(loaded.wait());
    QCOMPARE(messages.errors.size(), 1);
    QVERIFY2(messages.errors.front().contains(message), qPrintable(messages.errors.front()));
    QCOMPARE(w.ranking().count(), listed);
    QCOMPARE(w.findChild<QTableView*>(QStringLiteral("outRanking"))->model()->rowCount(), listed);
}

// Product, catalogue and material names are whole in their tooltips; the ranking takes what the
// window grows by; a place left earlier is where it opens.
void TestRanking::namesAndResizing() {
    MessageRecorder messages;
    TZEMForm083 w(sampleDatabase(), m_dir.path() + u'/');
    QSignalSpy loaded(&w, &TZEMForm083::loaded);
    QVERIFY(loaded.wait());
    const QAbstractItemModel* model =
        w.findChild<QTableView*>(QStringLiteral("outRanking"))->model();
    for (const int column : {1, 2}) {
        QCOMPARE(model->index(0, column).data(Qt::ToolTipRole), model->index(0, column).data());
    }
    QVERIFY(!model->index(0, 4).data(Qt::ToolTipRole).isValid());
    const QAbstractItemModel* market = w.findChild<QTableView*>(QStringLiteral("outMarket"))->model();
    QCOMPARE(market->index(0, 0).data(Qt::ToolTipRole), market->index(0, 0).data());
    QCOMPARE(WindowChecks::growthProblems(&w, {"outRanking"}, {}), QString());
    QCOMPARE(WindowChecks::reopenProblems(
                 QStringLiteral("TZEMForm083"), QSize(868, 520),
                 [&] { return TZEMForm083::openFor(sampleDatabase(), m_dir.path() + u'/'); }),
             QString());
    QCOMPARE(messages.errors, QStringList());
}

namespace {

// Fief products with both price columns and a speciality made by two jobs; 壊れ品 has no count.
ItemDbFixture::Tables productTables() {
    ItemDbFixture::Tables t;
    t.kinds = {{"知行品", "その他"}};
    t.infos = {{"塩俵", "しおだわら", "壱", "知行品", 10, 30},
               {"墨", "すみ", "壱", "知行品", 8, 16},
               {"塩", "しお", "壱", "知行品", 1, 15},
               {"麻布", "あさぬの", "壱", "知行品", 2, 40},
               {"壊れ品", "こわれひん", "壱", "知行品", 5, 6}};
    t.creators = {{"塩俵", "大工", "知行産物", "C", "一", "A", 20, "壱"},
                  {"墨", "大工", "知行名物", "C", "一", "A", 10, "壱"},
                  {"墨", "鍛冶屋", "知行名物", "C", "二", "A", 12, "壱"},
                  {"壊れ品", "大工", "知行産物", "C", "一", "A", QVariant(), "壱"}};
    t.relations = {{"塩俵", "麻布", 1}, {"塩俵", "塩", 3}, {"墨", "塩", 1}};
    return t;
}

}  // namespace

void TestRanking::loadsProduct_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QString>("catalogue");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("unitPrice");
    QTest::addColumn<QStringList>("materials");  // name needed price, in statement order
    QTest::addColumn<QString>("error");
    QTest::newRow("fief produce sells at the shop buy price")
        << "塩俵" << true << "知行産物" << 20 << 30 << QStringList{"麻布 1 40", "塩 3 15"}
        << QString();
    QTest::newRow("speciality sells at the shop sell price, last product row counts")
        << "墨" << true << "知行名物" << 12 << 8 << QStringList{"塩 1 15"} << QString();
    QTest::newRow("unknown product")
        << "無い品" << false << "" << 0 << 0 << QStringList{} << QString();
    QTest::newRow("NULL count is an integer conversion error")
        << "壊れ品" << false << "" << 0 << 0 << QStringList{}
        << "バリアント型 (Null) を (Integer) に変換できません";
}

void TestRanking::loadsProduct() {
    QFETCH(QString, name);
    QFETCH(bool, found);
    QFETCH(QString, catalogue);
    QFETCH(int, count);
    QFETCH(int, unitPrice);
    QFETCH(QStringList, materials);
    QFETCH(QString, error);
    ItemDbFixture fixture;
    TDB db(fixture.create(productTables()));
    db.connectOrFail();
    try {
        const ProfitProduct p = ProductLoad::profitProduct(db, name);
        QVERIFY2(error.isEmpty(), "no error raised");
        QCOMPARE(p.name, name);
        QCOMPARE(p.found, found);
        QCOMPARE(p.catalogue, catalogue);
        QCOMPARE(p.standardCount, count);
        QCOMPARE(p.unitPrice, unitPrice);
        QStringList read;
        for (const ProfitProduct::Material& m : p.materials) {
            read << QStringLiteral("%1 %2 %3").arg(m.name).arg(m.needed).arg(m.price);
        }
        QCOMPARE(read, materials);
    } catch (const TZEMError& e) {
        QCOMPARE(e.message(), error);
    }
}

// A reader that shows rows as they come keeps the product when its materials cannot be read.
void TestRanking::productRowsArriveBeforeAMaterialFails() {
    ItemDbFixture fixture;
    ItemDbFixture::Tables t = productTables();
    t.omit << QStringLiteral("ItemCreateRelation");
    TDB db(fixture.create(t));
    db.connectOrFail();
    QStringList counts;
    int materials = 0;
    bool failed = false;
    try {
        ProductLoad::read(
            db, QStringLiteral("墨"),
            [&](const ProductLoad::ProductRow& row) {
                counts << row.standardCount() + u' ' + row.skill() + u' ' + row.yomi();
            },
            [&](const ProductLoad::MaterialRow&) { ++materials; });
    } catch (const TZEMError&) {
        failed = true;
    }
    QVERIFY(failed);
    QCOMPARE(counts, (QStringList{"10 一 すみ", "12 二 すみ"}));
    QCOMPARE(materials, 0);
}

// All products in two statements read what each product alone reads: the same products in the
// same order, the same materials, the same products left out with the same first problem.
void TestRanking::setBasedReadAsEachProductAlone() {
    using Read = ProfitRanking::Read;
    const QString sample = rankingRead(sampleDatabase(), Read::SetBased);
    QCOMPARE(sample, rankingRead(sampleDatabase(), Read::PerProduct));
    QCOMPARE(sample.count(u'\n'), fiefProductCount());
    std::mt19937 random(83);
    int failures = 0;
    int ranked = 0;
    int skipped = 0;
    int inTableOrder = 0;
    for (int round = 0; round < 400; ++round) {
        ItemDbFixture fixture;
        ItemDbFixture::Tables t = randomTables(random, {"知行産物", "知行名物", "武具目録"});
        if (round % 2 == 1) {  // the indexes of the program's own databases
            QSet<QString> named;
            t.infos.removeIf([&named](const QVariantList& row) {
                const bool again = named.contains(row[0].toString());
                named.insert(row[0].toString());
                return again;
            });
            t.statements = {"CREATE UNIQUE INDEX i1 ON ItemInfo (アイテム名)",
                            "CREATE INDEX r1 ON ItemCreateRelation (アイテム名)",
                            "CREATE INDEX c1 ON ItemCreator (アイテム名)"};
            if (round % 4 == 3) {  // an index that orders the rows otherwise
                t.statements << "CREATE INDEX c2 ON ItemCreator (アイテム名, 生産数)";
            }
        }
        const QString path = fixture.create(t);
        {
            TDB db(path);
            db.connectOrFail();
            inTableOrder += ProductLoad::productRowsInTableOrder(db) ? 1 : 0;
        }
        const QString setBased = rankingRead(path, Read::SetBased);
        const QString perProduct = rankingRead(path, Read::PerProduct);
        if (setBased != perProduct) {
            qWarning("set-based:\n%s\nper product:\n%s", qUtf8Printable(setBased),
                     qUtf8Printable(perProduct));
            ++failures;
        }
        ranked += int(setBased.count(u'|')) / 2;
        skipped += setBased.contains(QStringLiteral("skipped 0")) ? 0 : 1;
    }
    QCOMPARE(failures, 0);
    // A quarter of the databases are read all at once; the others product by product.
    QCOMPARE(inTableOrder, 100);
    // The databases reach both ends: products ranked with their materials, and products left out.
    QVERIFY(ranked > 300);
    QVERIFY(skipped > 50);
}

QTEST_MAIN(TestRanking)
#include "tst_form083.moc"
