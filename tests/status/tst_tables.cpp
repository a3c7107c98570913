#include <QTest>

#include "status/TZEMStatusNow.h"

namespace {

// The nine attributes in the order the user reads them (elements 土, 水, 火, 風).
QList<int> attributes(const TZEMStatusBas& s) {
    return {s.POW, s.VIT, s.DEX, s.INT, s.PHI, s.SOL, s.WTR, s.FIR, s.WND};
}

QList<float> coefficients(const TZEMStatusSrc& s) {
    return {s.HPBase, s.MPBase, s.POWGrowth, s.VITGrowth, s.DEXGrowth, s.INTGrowth, s.PHIGrowth};
}

TZEMStatusSrc made(int job, int faction) {
    TZEMStatusSrc src;
    src.JOB = static_cast<std::uint8_t>(job);
    src.SetINF(static_cast<std::uint8_t>(faction));
    return src;
}

int sum(const QList<int>& values) {
    int total = 0;
    for (int v : values) {
        total += v;
    }
    return total;
}

}  // namespace

class TablesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startingAttributes_data() {
        QTest::addColumn<int>("job");
        QTest::addColumn<int>("faction");
        QTest::addColumn<QList<int>>("expected");  // 腕力 耐久力 器用さ 知力 魅力 土 水 火 風
        QTest::newRow("陰陽師 今川") << 3 << 5 << QList<int>{2, 1, 4, 8, 4, 7, 8, 7, 7};
        QTest::newRow("忍者 伊賀忍") << 4 << 13 << QList<int>{4, 4, 7, 3, 1, 7, 6, 6, 6};
        QTest::newRow("侍 上杉") << 0 << 0 << QList<int>{7, 5, 3, 3, 2, 5, 5, 5, 5};
        QTest::newRow("僧 織田") << 1 << 1 << QList<int>{4, 4, 2, 4, 5, 6, 7, 7, 6};
        QTest::newRow("神職 今川") << 2 << 5 << QList<int>{2, 1, 4, 7, 5, 7, 7, 6, 7};
        QTest::newRow("朝倉 風") << 5 << 8 << QList<int>{4, 3, 6, 2, 4, 5, 5, 5, 6};
        QTest::newRow("三好 水と風") << 6 << 11 << QList<int>{3, 3, 4, 5, 3, 6, 7, 7, 7};
    }
    void startingAttributes() {
        QFETCH(int, job);
        QFETCH(int, faction);
        QFETCH(QList<int>, expected);
        QCOMPARE(attributes(made(job, faction)), expected);
    }

    void calcTwiceChangesNothing() {
        for (int job = 0; job < TZEMStatusSrc::JobCount; ++job) {
            for (int faction = 0; faction < TZEMStatusSrc::FactionCount; ++faction) {
                TZEMStatusSrc src = made(job, faction);
                const QList<int> once = attributes(src);
                const QList<float> onceCoefficients = coefficients(src);
                src.Calc();
                src.Calc();
                QCOMPARE(attributes(src), once);
                QCOMPARE(coefficients(src), onceCoefficients);
            }
        }
    }

    // Every faction adds +2 in all, and every starting basic attribute lies in 1..8.
    void factionModifiersAndRange() {
        for (int job = 0; job < TZEMStatusSrc::JobCount; ++job) {
            const int jobOnly = sum(attributes(made(job, 200)));
            for (int faction = 0; faction < TZEMStatusSrc::FactionCount; ++faction) {
                const QList<int> values = attributes(made(job, faction));
                QCOMPARE(sum(values), jobOnly + 2);
                for (int i = 0; i < 5; ++i) {
                    QVERIFY2(values[i] >= 1 && values[i] <= 8,
                             qPrintable(QStringLiteral("job %1 faction %2").arg(job).arg(faction)));
                }
            }
        }
    }

    void coefficientsAreTheNearestFloats() {
        const TZEMStatusSrc samurai = made(0, 0);
        QCOMPARE(static_cast<double>(samurai.POWGrowth), 2.7999999523162842);
        QCOMPARE(static_cast<double>(samurai.HPBase), 28.0);
        const TZEMStatusSrc monk = made(1, 0);
        QCOMPARE(static_cast<double>(monk.HPBase), 26.799999237060547);
        QCOMPARE(static_cast<double>(monk.MPBase), static_cast<double>(25.6f));
    }

    void jobChangeReappliesFaction() {
        TZEMStatusSrc src = made(0, 1);  // 侍, 織田
        src.SetJOB(1);                   // 僧
        QCOMPARE(attributes(src), attributes(made(1, 1)));
        QCOMPARE(src.PHI, 5);
        QCOMPARE(src.FIR, 7);
        QCOMPARE(static_cast<double>(src.HPBase), static_cast<double>(26.8f));
        src.SetINF(13);  // a faction change re-applies the job row too
        QCOMPARE(attributes(src), attributes(made(1, 13)));
    }

    void newRecordIsZero() {
        const TZEMStatusSrc src;
        QCOMPARE(src.JOB, std::uint8_t{0});
        QCOMPARE(src.INF, std::uint8_t{0});
        QCOMPARE(sum(attributes(src)), 0);
        QCOMPARE(coefficients(src), QList<float>(7, 0.0f));
        const TZEMStatusBon bon;
        QCOMPARE(sum(attributes(bon)), 0);
    }

    // An unknown job must not let the faction modifiers pile up on every Calc.
    void unknownCodesStayStable() {
        TZEMStatusSrc src = made(0, 0);
        src.SetJOB(7);
        const QList<int> once = attributes(src);
        src.Calc();
        src.Calc();
        QCOMPARE(attributes(src), once);
        QCOMPARE(src.POW, 2);  // only 上杉's modifier
        src.SetJOB(0);
        src.SetINF(14);  // unknown faction: the job row alone
        QCOMPARE(attributes(src), (QList<int>{5, 5, 3, 3, 2, 5, 5, 5, 5}));
    }

    void bonusPool_data() {
        // Each step: attribute (0 腕力 .. 4 魅力), requested value; then the five values after it.
        QTest::addColumn<QList<int>>("steps");
        QTest::addColumn<QList<int>>("expected");
        QTest::addColumn<int>("total");
        QTest::newRow("器用さ cut to what is left")
            << QList<int>{0, 4, 1, 4, 2, 5} << QList<int>{4, 4, 2, 0, 0} << 10;
        QTest::newRow("full pool refuses more")
            << QList<int>{0, 4, 1, 4, 2, 5, 3, 1} << QList<int>{4, 4, 2, 0, 0} << 10;
        QTest::newRow("lowering frees points")
            << QList<int>{0, 4, 1, 4, 2, 5, 3, 1, 0, 0, 3, 3} << QList<int>{0, 4, 2, 3, 0} << 9;
        QTest::newRow("raising one's own value uses its old points")
            << QList<int>{4, 8, 4, 10, 4, 3} << QList<int>{0, 0, 0, 0, 3} << 3;
        QTest::newRow("exactly the pool")
            << QList<int>{0, 2, 1, 2, 2, 2, 3, 2, 4, 2} << QList<int>{2, 2, 2, 2, 2} << 10;
        QTest::newRow("negative asks give nothing")
            << QList<int>{0, -5, 1, 10} << QList<int>{0, 10, 0, 0, 0} << 10;
        QTest::newRow("huge asks do not overflow")
            << QList<int>{0, 3, 1, INT32_MAX} << QList<int>{3, 7, 0, 0, 0} << 10;
    }
    void bonusPool() {
        QFETCH(QList<int>, steps);
        QFETCH(QList<int>, expected);
        QFETCH(int, total);
        TZEMStatusBon bon;
        for (qsizetype i = 0; i + 1 < steps.size(); i += 2) {
            const int n = steps[i + 1];
            switch (steps[i]) {
                case 0:
                    bon.SetPOW(n);
                    break;
                case 1:
                    bon.SetVIT(n);
                    break;
                case 2:
                    bon.SetDEX(n);
                    break;
                case 3:
                    bon.SetINT(n);
                    break;
                default:
                    bon.SetPHI(n);
                    break;
            }
            QVERIFY(bon.Total() <= TZEMStatusBon::BonusPool);
        }
        QCOMPARE(attributes(bon).mid(0, 5), expected);
        QCOMPARE(bon.Total(), total);
        QCOMPARE(bon.SOL + bon.WTR + bon.FIR + bon.WND, 0);
        TZEMStatusBon copy;
        copy.Assign(bon);
        QCOMPARE(attributes(copy), attributes(bon));
        bon.Clear();
        QCOMPARE(bon.Total(), 0);
    }
};

QTEST_GUILESS_MAIN(TablesTest)
#include "tst_tables.moc"
