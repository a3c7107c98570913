#include <QTemporaryDir>
#include <QtTest>
#include <cstring>
#include <functional>
#include <limits>
#include <optional>
#include <vector>

#include "common/TZEMError.h"
#include "recipes/MarketIndices.h"
#include "recipes/ProfitCalc.h"
#include "recipes/ProfitRanking.h"
#include "support/SampleRanking.h"

namespace {

constexpr std::int32_t Max32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t Min32 = std::numeric_limits<std::int32_t>::min();

std::vector<Extended> materialIndices(const ProfitProduct& p, const MarketIndices& indices) {
    std::vector<Extended> result;
    for (const auto& m : p.materials) {
        result.push_back(ProfitCalc::indexValue(indices.material(m.name)));
    }
    return result;
}

// A rule's result as text, or the message of the error it raises.
QString outcome(const std::function<QString()>& rule) {
    try {
        return rule();
    } catch (const TZEMError& e) {
        return e.message();
    }
}

template <class T>
std::function<QString()> number(std::function<T()> rule) {
    return [rule] { return QString::number(rule()); };
}

}  // namespace

using namespace ProfitCalc;

// The calculator's arithmetic, rule by rule, without a window or a database; then the ranking's
// break-even index against the figures on every product of the sample database.
class TestProfitCalc : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void rules_data();
    void rules();
    void breakEven_data();
    void breakEven();
    void indicesKeepTheLetterCaseOfNames();
    void everyIndexAsItsText();
};

void TestProfitCalc::rules_data() {
    QTest::addColumn<std::function<QString()>>("rule");
    QTest::addColumn<QString>("expected");
    const auto row = [](const char* name, std::function<QString()> rule, const char* expected) {
        QTest::newRow(name) << rule << QString::fromUtf8(expected);
    };
    // An index is its fraction first, then its whole part, in 80 bits: 1.05 falls just short.
    row("01.05 × 100 = 104", number<std::int64_t>([] {
            return materialUnitCost(indexValue(QStringLiteral("01.05")), 100);
        }),
        "104");
    row("02.50 × 3 truncates to 7", number<std::int64_t>([] {
            return materialUnitCost(indexValue(QStringLiteral("02.50")), 3);
        }),
        "7");
    row("01.10 × 10 = 11", number<std::int64_t>([] {
            return materialUnitCost(indexValue(QStringLiteral("01.10")), 10);
        }),
        "11");
    row("00.00 costs nothing", number<std::int64_t>([] {
            return materialUnitCost(indexValue(QStringLiteral("00.00")), 12345);
        }),
        "0");
    // Products and differences of integers wrap in 32 bits.
    row("65536 × 65536 wraps to 0", number<std::int32_t>([] { return wrapMul(65536, 65536); }),
        "0");
    row("max × 2 wraps to -2", number<std::int32_t>([] { return wrapMul(Max32, 2); }), "-2");
    row("min − 1 wraps to max", number<std::int32_t>([] { return wrapSub(Min32, 1); }),
        "2147483647");
    row("sale 100000 × 100000 wraps", number<std::int32_t>([] { return sale(100000, 100000, 1); }),
        "1410065408");
    row("needed × price wraps before the index", number<std::int32_t>([] {
            return addMaterialCost(0, 65536, 65536, indexValue(QStringLiteral("01.00")));
        }),
        "0");
    // The material sum must fit 32 bits.
    row("material sum at the limit", number<std::int32_t>([] {
            return addMaterialCost(2147483000, 1, 647, indexValue(QStringLiteral("01.00")));
        }),
        "2147483647");
    row("material sum beyond 32 bits: range check", number<std::int32_t>([] {
            return addMaterialCost(2147483000, 1, 648, indexValue(QStringLiteral("01.00")));
        }),
        "範囲チェックエラー");
    row("material sum below 32 bits: range check", number<std::int32_t>([] {
            return addMaterialCost(Min32, -1, 1, indexValue(QStringLiteral("01.00")));
        }),
        "範囲チェックエラー");
    // The indexed sale truncates; a sale price beyond 32 bits is no integer to the profit.
    row("indexed sale truncates",
        number<std::int64_t>([] { return indexedSale(100, indexValue(QStringLiteral("01.05"))); }),
        "104");
    row("indexed sale beyond 32 bits", number<std::int32_t>([] {
            return gain(indexedSale(Max32, indexValue(QStringLiteral("02.00"))), 0);
        }),
        "'4294967294' は整数ではありません");
    row("profit wraps", number<std::int32_t>([] { return gain(Min32, 1); }), "2147483647");
    // Which price and which index a product takes.
    row(
        "知行産物: 店買い, indexed",
        [] { return unitPriceColumn(Sanbutsu) + QString::number(productIndexed(Sanbutsu)); },
        "店買い1");
    row(
        "知行名物: 店売り, no index",
        [] { return unitPriceColumn(Meibutsu) + QString::number(productIndexed(Meibutsu)); },
        "店売り0");
    row(
        "index texts",
        [] {
            QString shapes;
            for (const char* text : {"01.05", "99.99", "1.05", "01,05", "0a.05", "01.050", ""}) {
                shapes += isIndexText(QString::fromLatin1(text)) ? u'y' : u'n';
            }
            return shapes;
        },
        "yynnnnn");
}

void TestProfitCalc::rules() {
    QFETCH(std::function<QString()>, rule);
    QFETCH(QString, expected);
    QCOMPARE(outcome(rule), expected);
}

void TestProfitCalc::breakEven_data() {
    QTest::addColumn<QString>("catalogue");
    QTest::addColumn<int>("unitPrice");
    QTest::addColumn<int>("materialPrice");
    QTest::addColumn<QString>("expected");  // "" for none
    // Sale 10 × 30 = 300 × index against 3 × 15 = 45 (+ 1 × 100).
    QTest::newRow("fief produce") << "知行産物" << 30 << 100 << "00.49";
    QTest::newRow("nothing to sell") << "知行産物" << 0 << 100 << "";
    QTest::newRow("out of reach") << "知行産物" << 1 << 100000 << "";
    QTest::newRow("speciality in profit") << "知行名物" << 30 << 100 << "00.00";
    QTest::newRow("speciality at a loss") << "知行名物" << 10 << 100 << "";
    QTest::newRow("sale beyond 32 bits before profit")
        << "知行産物" << 200000000 << 2146999955 << "";
}

void TestProfitCalc::breakEven() {
    QFETCH(QString, catalogue);
    QFETCH(int, unitPrice);
    QFETCH(int, materialPrice);
    QFETCH(QString, expected);
    ProfitProduct p{"塩俵", catalogue, 10, unitPrice, {{"塩", 3, 15}, {"麻布", 1, materialPrice}},
                    true};
    const std::vector<Extended> ones{1.0L, 1.0L};
    const std::optional<int> n = ProfitRanking::breakEven(p, ones);
    QCOMPARE(n ? ProfitRanking::indexText(*n) : QString(), expected);
    // The rule itself, on every product of the sample database too.
    QTemporaryDir folder;
    MarketIndices indices(folder.path() + u'/');
    ProfitRanking ranking(indices);
    ranking.load(sampleDatabase());
    randomIndices(indices, ranking, 7);
    std::vector<std::pair<ProfitProduct, std::vector<Extended>>> cases{{p, ones}};
    for (int r = 0; r < ranking.count(); ++r) {
        cases.emplace_back(ranking.at(r).product, materialIndices(ranking.at(r).product, indices));
    }
    for (const auto& [product, mats] : cases) {
        const auto gainAt = [&](int i) -> std::optional<std::int32_t> {
            try {
                return ProfitRanking::figuresAt(
                           product, ProfitCalc::indexValue(ProfitRanking::indexText(i)), mats)
                    .gain;
            } catch (const TZEMError&) {
                return std::nullopt;
            }
        };
        const auto be = ProfitRanking::breakEven(product, mats);
        if (be) {
            QVERIFY(gainAt(*be) && *gainAt(*be) >= 0);
            QVERIFY(*be == 0 || (gainAt(*be - 1) && *gainAt(*be - 1) < 0));
        } else {
            for (const int i : {0, 1, 99, 100, 101, 5000, 9998, 9999}) {
                QVERIFY2(!gainAt(i) || *gainAt(i) < 0, qPrintable(product.name));
            }
        }
    }
}

// Item names differ in letter case alone (the database keeps them apart): so do their indices,
// in an older file too; the file's other lines stay as they were.
void TestProfitCalc::indicesKeepTheLetterCaseOfNames() {
    QTemporaryDir folder;
    const QString dat = folder.path() + u'/';
    QFile file(dat + QStringLiteral("TAMUMarket.ini"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("; prices of my server\r\n[material]\r\nSAKE=50.00\r\n");
    file.close();
    {
        MarketIndices indices(dat);
        indices.setMaterial(QStringLiteral("Sake"), QStringLiteral("10.00"));
        indices.setMaterial(QStringLiteral("SAKE"), QStringLiteral("20.00"));
        QCOMPARE(indices.material(QStringLiteral("sake")), MarketIndices::Default);
    }
    const MarketIndices again(dat);
    QCOMPARE(again.material(QStringLiteral("SAKE")), QStringLiteral("20.00"));
    QCOMPARE(again.material(QStringLiteral("Sake")), QStringLiteral("10.00"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(),
             QByteArray("; prices of my server\r\n[material]\r\nSAKE=20.00\r\nSake=10.00\r\n"));
}

// The break-even search reckons with index numbers: each must be the very value of its text.
void TestProfitCalc::everyIndexAsItsText() {
    for (int n = 0; n <= 9999; ++n) {
        const Extended fromText = ProfitCalc::indexValue(ProfitRanking::indexText(n));
        const Extended fromNumber = ProfitCalc::indexValue(n);
        if (std::memcmp(&fromText, &fromNumber, 10) != 0) {
            QFAIL(qPrintable(ProfitRanking::indexText(n)));
        }
    }
}

QTEST_GUILESS_MAIN(TestProfitCalc)
#include "tst_profitcalc.moc"
