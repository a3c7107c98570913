#include <QtTest>
#include <functional>
#include <map>
#include <random>

#include "common/TZEMError.h"
#include "recipes/RecipeBook.h"
#include "recipes/ShoppingList.h"
#include "support/ItemDbFixture.h"

namespace {

// An independent reading of the rules: a recursive walk fixes, per product, which materials are
// made; then the needed pieces are relaxed until nothing changes, with no order assumed. Pieces on
// hand cover a product's making first; what is left of them, its purchase.
struct BruteForce {
    std::map<int, std::int64_t> bought;      // item -> pieces to buy (held ones taken off)
    std::map<int, std::int64_t> boughtHeld;  // item -> held pieces its purchase uses
    std::map<int, std::int64_t> runs;        // crafted product -> runs
    std::map<int, std::int64_t> needed;      // crafted product -> pieces needed beyond those held
    std::map<int, std::int64_t> madeHeld;    // crafted product -> held pieces used
};

BruteForce bruteForce(const RecipeBook& book, const ShoppingList& list) {
    const auto held = [&list](int item) { return list.held(item); };
    const int n = book.count();
    std::vector<std::vector<bool>> made;
    made.resize(std::size_t(n));
    std::vector<bool> visited(std::size_t(n), false);
    std::vector<int> path;
    std::function<void(int)> visit = [&](int p) {
        visited[std::size_t(p)] = true;
        path.push_back(p);
        for (const RecipeBook::Material& m : book.at(p).materials) {
            const bool onPath = std::find(path.begin(), path.end(), m.item) != path.end();
            const bool craft = book.at(m.item).isProduct() && !list.isBought(m.item) && !onPath;
            made[std::size_t(p)].push_back(craft);
            if (craft && !visited[std::size_t(m.item)]) {
                visit(m.item);
            }
        }
        path.pop_back();
    };
    visit(0);

    BruteForce r;
    std::vector<std::int64_t> need(std::size_t(n), 0);
    for (bool changed = true; changed;) {
        changed = false;
        std::vector<std::int64_t> next(std::size_t(n), 0);
        next[0] = list.pieces();
        for (int p = 0; p < n; ++p) {
            if (!visited[std::size_t(p)] || need[std::size_t(p)] == 0) {
                continue;
            }
            const std::int64_t count = book.at(p).rows[std::size_t(list.row(p))].count;
            const std::int64_t net = std::max<std::int64_t>(0, need[std::size_t(p)] - held(p));
            const std::int64_t runs = (net + count - 1) / count;
            const auto& materials = book.at(p).materials;
            for (std::size_t k = 0; k < materials.size(); ++k) {
                if (made[std::size_t(p)][k]) {
                    next[std::size_t(materials[k].item)] += runs * materials[k].needed;
                }
            }
        }
        changed = next != need;
        need = next;
    }
    std::map<int, std::int64_t> gross;
    for (int p = 0; p < n; ++p) {
        if (!visited[std::size_t(p)] || need[std::size_t(p)] == 0) {
            continue;
        }
        const std::int64_t count = book.at(p).rows[std::size_t(list.row(p))].count;
        r.madeHeld[p] = std::min(held(p), need[std::size_t(p)]);
        r.needed[p] = need[std::size_t(p)] - r.madeHeld[p];
        r.runs[p] = (r.needed[p] + count - 1) / count;
        const auto& materials = book.at(p).materials;
        for (std::size_t k = 0; k < materials.size(); ++k) {
            if (!made[std::size_t(p)][k] && r.runs[p] > 0) {
                gross[materials[k].item] += r.runs[p] * materials[k].needed;
            }
        }
    }
    for (const auto& [item, pieces] : gross) {
        const std::int64_t left = held(item) - (r.madeHeld.count(item) ? r.madeHeld[item] : 0);
        r.boughtHeld[item] = std::min(left, pieces);
        r.bought[item] = pieces - r.boughtHeld[item];
    }
    return r;
}

// A random recipe graph: products with one to three production rows, materials drawn from the
// whole book (so cycles, self-references and shared materials all occur), some raw materials
// without a shop price.
RecipeBook randomBook(std::mt19937& random, int products, int raws) {
    const auto pick = [&](int below) {
        return std::uniform_int_distribution<int>(0, below - 1)(random);
    };
    RecipeBook book;
    for (int i = 0; i < products + raws; ++i) {
        const int item = book.add(QStringLiteral("品%1").arg(i));
        if (pick(5) != 0) {
            book.entry(item).price = 1 + pick(100);
        }
    }
    for (int p = 0; p < products; ++p) {
        for (int r = 1 + pick(3); r > 0; --r) {
            book.entry(p).rows.push_back(
                RecipeBook::Row{QStringLiteral("職%1").arg(r), QString(), QString(), 1 + pick(6)});
        }
        for (int m = 1 + pick(4); m > 0; --m) {
            book.entry(p).materials.push_back(
                RecipeBook::Material{pick(products + raws), 1 + pick(5)});
        }
    }
    return book;
}

}  // namespace

class TestShoppingList : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void randomGraphsAgreeWithBruteForce_data();
    void randomGraphsAgreeWithBruteForce();
    void readsTheDatabase();
    void exports_data();
    void exports();
    void faults_data();
    void faults();
};

void TestShoppingList::randomGraphsAgreeWithBruteForce_data() {
    QTest::addColumn<bool>("holdings");
    QTest::addColumn<bool>("ownPrices");
    QTest::newRow("database prices, nothing held") << false << false;
    QTest::newRow("pieces held are taken off first, made or bought") << true << false;
    QTest::newRow("own prices stand in for the database's") << false << true;
    QTest::newRow("both") << true << true;
}

void TestShoppingList::randomGraphsAgreeWithBruteForce() {
    QFETCH(bool, holdings);
    QFETCH(bool, ownPrices);
    std::mt19937 random(19);
    for (int round = 0; round < 400; ++round) {
        const RecipeBook book = randomBook(random, 2 + int(random() % 9), 1 + int(random() % 5));
        ShoppingList list(book);
        QCOMPARE(list.defaultPieces(), std::int64_t(book.at(0).rows.front().count));
        list.setPieces(1 + std::int64_t(random() % 40));
        for (int item = 0; item < book.count(); ++item) {
            if (book.at(item).isProduct()) {
                list.setRow(item, int(random() % book.at(item).rows.size()));
                list.setBought(item, random() % 4 == 0);
            }
        }
        std::map<int, std::int32_t> own;
        for (int item = 0; item < book.count(); ++item) {
            if (holdings && random() % 3 == 0) {
                list.setHeld(item, std::int64_t(random() % 30));
            }
            if (ownPrices && random() % 3 == 0) {
                own[item] = std::int32_t(random() % 200);
                list.setOwnPrice(item, own[item]);
            }
        }
        const ShoppingList::Plan plan = list.plan();
        const BruteForce expected = bruteForce(book, list);
        const QString where = QStringLiteral("round %1").arg(round);

        std::map<int, std::int64_t> bought;
        std::int64_t total = 0;
        int unpriced = 0;
        for (const ShoppingList::Purchase& p : plan.purchases) {
            QVERIFY2(!bought.count(p.item), qPrintable(where));
            bought[p.item] = p.pieces;
            QCOMPARE(p.held, expected.boughtHeld.at(p.item));
            const auto price = own.count(p.item) ? std::optional<std::int32_t>(own[p.item])
                                                 : book.at(p.item).price;
            QCOMPARE(p.price, price);
            QCOMPARE(p.ownPrice, own.count(p.item) == 1);
            // Nothing left to buy costs nothing, priced or not.
            QCOMPARE(p.cost.has_value(), price.has_value() || p.pieces == 0);
            total += price ? p.pieces * *price : 0;
            unpriced += price || p.pieces == 0 ? 0 : 1;
            QCOMPARE(p.switched, book.at(p.item).isProduct() && list.isBought(p.item));
        }
        QVERIFY2(bought == expected.bought, qPrintable(where));
        QCOMPARE(plan.total, total);
        QCOMPARE(plan.unpriced, unpriced);

        std::map<int, int> position;
        for (const ShoppingList::Step& s : plan.steps) {
            QVERIFY2(expected.runs.count(s.item), qPrintable(where));
            QCOMPARE(s.runs, expected.runs.at(s.item));
            QCOMPARE(s.needed, expected.needed.at(s.item));
            QCOMPARE(s.held, expected.madeHeld.at(s.item));
            QCOMPARE(s.pieces, s.runs * s.perRun);
            // Rounded up once; a product held in full is not made.
            QVERIFY(s.pieces >= s.needed &&
                    (s.needed == 0 ? s.runs == 0 : s.pieces - s.perRun < s.needed));
            position[s.item] = int(position.size());
        }
        QCOMPARE(position.size(), expected.runs.size());
        QCOMPARE(plan.steps.back().item, 0);
        // Every product is made after the products it is made from (one held in full uses none).
        for (const ShoppingList::Step& s : plan.steps) {
            for (const RecipeBook::Material& m : book.at(s.item).materials) {
                if (s.runs > 0 && position.count(m.item) && m.item != s.item &&
                    position[m.item] > position[s.item]) {
                    // Only a material bought here because it closes a cycle may come later.
                    QVERIFY2(bought.count(m.item), qPrintable(where));
                }
            }
        }
    }
}

void TestShoppingList::readsTheDatabase() {
    // 膳 needs 2 椀 and 1 盆; 椀 (two recipes: 5 or 3 a run) needs 漆 and a 盆; 盆 needs 木 and,
    // in a cycle, 1 膳. 漆 has no shop price.
    ItemDbFixture::Tables t;
    t.kinds = {{"品", "その他"}};
    t.infos = {{"膳", "ぜん", "壱", "品", 1, 500},
               {"椀", "わん", "壱", "品", 1, 80},
               {"盆", "ぼん", "壱", "品", 1, 60},
               {"漆", "うるし", "壱", "品", 1, QVariant()},
               {"木", "き", "壱", "品", 1, 7}};
    t.creators = {{"膳", "大工", "知行名物", "M", "一", "A", 1, "壱"},
                  {"椀", "大工", "道具", "D", "一", "A", 5, "壱"},
                  {"椀", "塗師", "道具", "D", "二", "B", 3, "壱"},
                  {"盆", "大工", "道具", "D", "一", "A", 2, "壱"}};
    t.relations = {{"膳", "椀", 2}, {"膳", "盆", 1}, {"椀", "漆", 3},
                   {"椀", "盆", 1}, {"盆", "木", 4}, {"盆", "膳", 1}};
    ItemDbFixture fixture;
    const RecipeBook book = RecipeBook::read(fixture.create(t), QStringLiteral("膳"));
    QCOMPARE(book.count(), 5);
    QCOMPARE(book.at(book.indexOf("椀")).rows.size(), std::size_t(2));
    QVERIFY(!book.at(book.indexOf("漆")).price);
    QVERIFY(!book.at(book.indexOf("木")).isProduct());

    ShoppingList list(book);
    QCOMPARE(list.defaultPieces(), std::int64_t(1));
    list.setPieces(4);
    // The rows in the statement's order; the first is the default.
    const int bowl = book.indexOf("椀");
    const int fiveARun = book.at(bowl).rows[0].count == 5 ? 0 : 1;
    QCOMPARE(list.row(bowl), 0);
    list.setRow(bowl, fiveARun);
    const auto summary = [&book](const ShoppingList::Plan& plan) {
        QStringList s;
        for (const auto& p : plan.purchases) {
            s << book.at(p.item).name + u'=' + QString::number(p.pieces) + (p.cycle ? "循環" : "");
        }
        for (const auto& st : plan.steps) {
            s << book.at(st.item).name + u':' + QString::number(st.runs) + u'x' +
                     QString::number(st.perRun);
        }
        return s.join(u' ');
    };
    // 膳 4 runs: 椀 8 -> 2 runs of 5 (2 left over); 盆 4 + 2 = 6 -> 3 runs; each 盆 run buys a 膳.
    ShoppingList::Plan plan = list.plan();
    QCOMPARE(summary(plan), QStringLiteral("漆=6 木=12 膳=3循環 盆:3x2 椀:2x5 膳:4x1"));
    QCOMPARE(plan.total, 12 * 7 + 3 * 500);
    QCOMPARE(plan.unpriced, 1);
    // The second recipe of 椀 makes 3 a run; buying 盆 ends its branch.
    list.setRow(bowl, 1 - fiveARun);
    list.setBought(book.indexOf("盆"), true);
    plan = list.plan();
    QCOMPARE(summary(plan), QStringLiteral("盆=7 漆=9 椀:3x3 膳:4x1"));
    QCOMPARE(plan.total, 7 * 60);
}

void TestShoppingList::exports_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("csvName");
    QTest::newRow("plain") << "塩俵"
                           << "塩俵";
    QTest::newRow("comma and quote") << "塩,\"俵\""
                                     << "\"塩,\"\"俵\"\"\"";
    QTest::newRow("formula stays text") << "=1+2"
                                        << "'=1+2";
}

void TestShoppingList::exports() {
    QFETCH(QString, name);
    QFETCH(QString, csvName);
    RecipeBook book;
    book.add(name);
    book.entry(0).rows.push_back(RecipeBook::Row{"料理人", "知行産物", "一", 20});
    const int salt = book.add("塩");
    book.entry(salt).price = 15;
    const int cloth = book.add("麻\t布");
    book.entry(0).materials = {{salt, 3}, {cloth, 1}};
    ShoppingList list(book);
    list.setPieces(30);  // 2 runs, 10 left over
    const ShoppingList::Plan plan = list.plan();
    const QString tab = list.toTabText(plan);
    QCOMPARE(tab.split(u'\n').mid(2, 4),
             (QStringList{"原材料\t個数\t店買い\t金額\t所持から", "塩\t6\t15\t90\t",
                          "麻 布\t2\t\t\t", "合計\t\t\t90"}));
    QVERIFY(tab.contains(ShoppingList::UnpricedNote.arg(1) + u'\n'));
    QVERIFY(tab.endsWith(QStringLiteral("余り\t個数\n") + name.replace(u'\t', u' ') + "\t10\n"));
    const QString csv = list.toCsv(plan);
    QVERIFY(csv.startsWith(QStringLiteral("材料集計,") + csvName + ",必要個数,30\r\n"));
    QVERIFY(csv.contains(QStringLiteral("\r\n麻\t布,2,,,\r\n")));
}

void TestShoppingList::faults_data() {
    QTest::addColumn<int>("perRun");
    QTest::addColumn<int>("needed");
    QTest::addColumn<QString>("message");
    QTest::newRow("no pieces per run") << 0 << 1 << "「刀」の生産数 0 では生産できません";
    QTest::newRow("beyond 64 bits") << 1 << 2000000000 << "個数が大きすぎて計算できません";
}

void TestShoppingList::faults() {
    QFETCH(int, perRun);
    QFETCH(int, needed);
    QFETCH(QString, message);
    // A chain of products each needing `needed` of the next.
    RecipeBook book;
    for (int i = 0; i < 4; ++i) {
        book.add(i == 0 ? QStringLiteral("刀") : QStringLiteral("鋼%1").arg(i));
        book.entry(i).rows.push_back(RecipeBook::Row{"鍛冶屋", "武具", "一", perRun});
        if (i > 0) {
            book.entry(i - 1).materials.push_back({i, needed});
        }
    }
    ShoppingList list(book);
    list.setPieces(999999);
    QVERIFY_THROWS_EXCEPTION(TZEMError, list.plan());
    try {
        list.plan();
    } catch (const TZEMError& e) {
        QCOMPARE(e.message(), message);
    }
}

QTEST_GUILESS_MAIN(TestShoppingList)
#include "tst_shoppinglist.moc"
