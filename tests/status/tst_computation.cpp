#include <QTest>

#include "common/TZEMError.h"
#include "status/TZEMStatusNow.h"

namespace {

TZEMStatusNow character(int job, int faction, int level, const QList<int>& bonus = {}) {
    TZEMStatusNow now;
    now.Src.JOB = static_cast<std::uint8_t>(job);
    now.Src.SetINF(static_cast<std::uint8_t>(faction));
    const QList<int> b = bonus.isEmpty() ? QList<int>(5, 0) : bonus;
    now.Bon.SetPOW(b[0]);
    now.Bon.SetVIT(b[1]);
    now.Bon.SetDEX(b[2]);
    now.Bon.SetINT(b[3]);
    now.Bon.SetPHI(b[4]);
    now.SetLV(level);
    return now;
}

// What the window shows at the level, in its order; the last is 次回必要経験値.
QString shown(const TZEMStatusNow& s) {
    const QList<qint64> v{s.GetHP(),
                          s.GetMP(),
                          s.GetPOW(),
                          s.GetVIT(),
                          s.GetDEX(),
                          s.GetINT(),
                          s.GetPHI(),
                          s.GetSOL(),
                          s.GetWTR(),
                          s.GetFIR(),
                          s.GetWND(),
                          s.GetSLT(),
                          s.GetHPG(),
                          s.GetMPG(),
                          s.GetAMP(),
                          s.GetMWT(),
                          s.GetEAT(),
                          s.GetEXP(),
                          TZEMStatusNow::ExpBetween(s.LV, s.LV + 1) + s.GetEXP()};
    QStringList parts;
    for (qint64 x : v) {
        parts << QString::number(x);
    }
    return parts.join(u' ');
}

}  // namespace

class ComputationTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void values_data() {
        QTest::addColumn<int>("job");
        QTest::addColumn<int>("faction");
        QTest::addColumn<QList<int>>("bonus");
        QTest::addColumn<int>("level");
        // 生命 気合 腕力 耐久力 器用さ 知力 魅力 土 水 火 風 技能枠 生命回復量 気合回復量
        // 攻撃消費気合 限界最大重量 食料適正価値 現在経験値 次回必要経験値
        QTest::addColumn<QString>("expected");
        const QList<int> none;
        const QList<int> bonus{0, 0, 2, 3, 5};
        QTest::newRow("侍 上杉 1")
            << 0 << 0 << none << 1 << "34 28 7 5 3 3 2 5 5 5 5 2 12 11 10 53 0 0 10";
        QTest::newRow("侍 上杉 60")
            << 0 << 0 << none << 60
            << "2040 1656 215 201 128 128 121 152 152 152 152 7 90 61 0 53 72 0 0";
        QTest::newRow("陰陽師 武田 50") << 3 << 4 << bonus << 50
                                        << "1220 2000 103 97 136 200 179 178 178 178 178 11 49 "
                                           "90 144 51 50 170000000 200000000";
        QTest::newRow("陰陽師 武田 51") << 3 << 4 << bonus << 51
                                        << "1244 2040 104 98 137 202 181 182 182 182 182 11 49 "
                                           "90 146 51 52 200000000 270000000";
    }
    void values() {
        QFETCH(int, job);
        QFETCH(int, faction);
        QFETCH(QList<int>, bonus);
        QFETCH(int, level);
        QTEST(shown(character(job, faction, level, bonus)), "expected");
    }

    // The factor jumps by 2 at level 50 and by 0.46 (as a float) at 51; the tables end at 56/57.
    void levels_data() {
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("expected");  // 腕力 耐久力 土 攻撃消費気合 現在 次回; * any
        QTest::newRow("49") << 49 << "175 163 125 140 150000000 170000000";
        QTest::newRow("50") << 50 << "182 170 127 144 170000000 200000000";
        QTest::newRow("51") << 51 << "184 172 130 146 200000000 270000000";
        QTest::newRow("56") << 56 << "* * * 160 570000000 690000000";
        QTest::newRow("57") << 57 << "* * * 0 690000000 0";
        QTest::newRow("58") << 58 << "* * * 0 0 0";
    }
    void levels() {
        QFETCH(int, level);
        QFETCH(QString, expected);
        const TZEMStatusNow s = character(0, 0, level);
        const QList<qint64> got{
            s.GetPOW(), s.GetVIT(), s.GetSOL(),
            s.GetAMP(), s.GetEXP(), s.GetEXP() + TZEMStatusNow::ExpBetween(level, level + 1)};
        const QStringList want = expected.split(u' ');
        for (int i = 0; i < want.size(); ++i) {
            if (want[i] != u"*") {
                QCOMPARE(got[i], want[i].toLongLong());
            }
        }
        QCOMPARE(s.GetMWT(), 53);
    }

    // No reachable attribute tells the float-rounded factor from 51.46 itself, so look at it.
    void levelFactorIsAFloat() {
        QCOMPARE(static_cast<double>(TZEMStatusNow::levelFactor(51)), 51.459999084472656);
        QCOMPARE(TZEMStatusNow::levelFactor(50), 51.0f);
    }

    // 忍者 cases where the width and order of the arithmetic decide the integer. The same steps in
    // double precision give another number in each, so each case discriminates.
    void precision_data() {
        QTest::addColumn<int>("faction");
        QTest::addColumn<int>("attribute");  // 1 耐久力, 3 知力, 4 魅力
        QTest::addColumn<int>("level");
        QTest::addColumn<int>("expected");
        QTest::newRow("伊賀忍 魅力 26") << 13 << 4 << 26 << 53;
        QTest::newRow("伊賀忍 魅力 46") << 13 << 4 << 46 << 95;
        QTest::newRow("上杉 知力 26") << 0 << 3 << 26 << 61;
        QTest::newRow("上杉 知力 46") << 0 << 3 << 46 << 107;
        QTest::newRow("今川 耐久力 26") << 5 << 1 << 26 << 61;
    }
    void precision() {
        QFETCH(int, faction);
        QFETCH(int, attribute);
        QFETCH(int, level);
        QFETCH(int, expected);
        const TZEMStatusNow s = character(4, faction, level);
        const std::array pairs{
            std::pair{s.Src.POW, s.Src.POWGrowth}, std::pair{s.Src.VIT, s.Src.VITGrowth},
            std::pair{s.Src.DEX, s.Src.DEXGrowth}, std::pair{s.Src.INT, s.Src.INTGrowth},
            std::pair{s.Src.PHI, s.Src.PHIGrowth}};
        const auto [a, g] = pairs[static_cast<std::size_t>(attribute)];
        const int got = attribute == 1 ? s.GetVIT() : attribute == 3 ? s.GetINT() : s.GetPHI();
        QCOMPARE(got, expected);
        const double inDouble = (a * 0.1 + static_cast<double>(g)) * (level - 1) + a + 0.5;
        QVERIFY(static_cast<int>(inDouble) != expected);
    }

    // Every job and faction at every level, and every bonus distribution the window allows at
    // the levels where the factor changes: no range error, and agreement with the integer forms
    // of the simple formulas.
    void everyReachableCharacter() {
        int checked = 0;
        for (int job = 0; job < TZEMStatusSrc::JobCount; ++job) {
            for (int faction = 0; faction < TZEMStatusSrc::FactionCount; ++faction) {
                const TZEMStatusSrc src = character(job, faction, 1).Src;
                const auto cap = [](int start) { return qMin(8, 10 - start); };
                for (int p = 0; p <= cap(src.POW); ++p)
                    for (int v = 0; v <= cap(src.VIT) && p + v <= 10; ++v)
                        for (int d = 0; d <= cap(src.DEX) && p + v + d <= 10; ++d)
                            for (int i = 0; i <= cap(src.INT) && p + v + d + i <= 10; ++i)
                                for (int h = 0; h <= cap(src.PHI) && p + v + d + i + h <= 10; ++h)
                                    for (int level : {1, 26, 49, 50, 51, 60}) {
                                        check(character(job, faction, level, {p, v, d, i, h}));
                                        ++checked;
                                    }
                for (int level = 1; level <= TZEMStatusNow::MaxLevel; ++level) {
                    check(character(job, faction, level));
                }
            }
        }
        QVERIFY(checked > 100000);
    }

    void rangeErrorBeyond32Bits() {
        TZEMStatusNow s = character(0, 0, INT32_MAX);
        QVERIFY_THROWS_EXCEPTION(TZEMError, s.GetHP());
        QVERIFY_THROWS_EXCEPTION(TZEMError, s.GetPOW());
        QVERIFY_THROWS_EXCEPTION(TZEMError, s.GetEAT());
        QCOMPARE(s.GetAMP() + s.GetEXP(), 0);
    }

private:
    static void check(const TZEMStatusNow& s) {
        QVERIFY(s.GetHP() < 2500 && s.GetMP() < 2500);
        QCOMPARE(s.GetHPG(), (4 * s.GetVIT() + 105) / 10);
        QCOMPARE(s.GetMPG(), 2 * qMax(s.GetINT(), s.GetPHI()) / 5 + 10);
        QCOMPARE(s.GetFIR(), s.Src.FIR + s.Src.FIR * (s.LV - 1) / 2);
        QCOMPARE(s.GetEAT(), s.LV * s.LV / 50);
        QCOMPARE(s.GetMWT(), s.Src.POW / 2 + 50);
    }
};

QTEST_GUILESS_MAIN(ComputationTest)
#include "tst_computation.moc"
