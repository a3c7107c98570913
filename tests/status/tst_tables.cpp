#include <QTest>

#include "status/TZEMStatusNow.h"

namespace {

QList<int> ints(const QString& text) {
    QList<int> values;
    for (const QString& part : text.split(u' ', Qt::SkipEmptyParts)) {
        values << part.toInt();
    }
    return values;
}

// The nine attributes in the order the user reads them (elements 土, 水, 火, 風).
QList<int> attributes(const TZEMStatusBas& s) {
    return {s.POW, s.VIT, s.DEX, s.INT, s.PHI, s.SOL, s.WTR, s.FIR, s.WND};
}

}  // namespace

class TablesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void startingAttributes_data() {
        QTest::addColumn<int>("job");
        QTest::addColumn<int>("faction");
        QTest::addColumn<int>("laterJob");  // -1: none
        QTest::addColumn<QString>("expected");
        QTest::newRow("陰陽師 今川") << 3 << 5 << -1 << "2 1 4 8 4 7 8 7 7";
        QTest::newRow("忍者 伊賀忍") << 4 << 13 << -1 << "4 4 7 3 1 7 6 6 6";
        QTest::newRow("侍 上杉") << 0 << 0 << -1 << "7 5 3 3 2 5 5 5 5";
        QTest::newRow("鍛冶屋 朝倉") << 5 << 8 << -1 << "4 3 6 2 4 5 5 5 6";
        QTest::newRow("侍 to 僧 under 織田") << 0 << 1 << 1 << "4 4 2 4 5 6 7 7 6";
        QTest::newRow("unknown faction: job row alone") << 6 << 14 << -1 << "3 3 4 5 3 6 6 7 6";
    }
    void startingAttributes() {
        QFETCH(int, job);
        QFETCH(int, faction);
        QFETCH(int, laterJob);
        QFETCH(QString, expected);
        TZEMStatusSrc src;
        src.SetJOB(static_cast<std::uint8_t>(job));
        src.SetINF(static_cast<std::uint8_t>(faction));
        if (laterJob >= 0) {
            src.SetJOB(static_cast<std::uint8_t>(laterJob));
        }
        QCOMPARE(attributes(src), ints(expected));
    }

    // Calc again changes nothing, for every job and faction and for an unknown job code, whose
    // faction modifiers must not pile up.
    void calcIsRepeatable() {
        for (int job = 0; job <= TZEMStatusSrc::JobCount; ++job) {
            for (int faction = 0; faction < TZEMStatusSrc::FactionCount; ++faction) {
                TZEMStatusSrc src;
                src.JOB = static_cast<std::uint8_t>(job);
                src.SetINF(static_cast<std::uint8_t>(faction));
                const QList<int> once = attributes(src);
                const float growth = src.POWGrowth;
                src.Calc();
                src.Calc();
                QCOMPARE(attributes(src), once);
                QCOMPARE(src.POWGrowth, growth);
                for (int i = 0; i < 5 && job < TZEMStatusSrc::JobCount; ++i) {
                    QVERIFY(once[i] >= 1 && once[i] <= 8);
                }
            }
        }
    }

    void newRecordIsZero() {
        const TZEMStatusSrc src;
        QCOMPARE(src.JOB + src.INF, 0);
        QCOMPARE(attributes(src), QList<int>(9, 0));
        QCOMPARE(src.HPBase + src.PHIGrowth, 0.0f);
    }

    void bonusPool_data() {
        // Steps "attribute=value" (0 腕力 .. 4 魅力); then the five stored values and the total.
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("expected");
        QTest::newRow("器用さ cut to what is left") << "0=4 1=4 2=5"
                                                    << "4 4 2 0 0";
        QTest::newRow("full pool gives nothing") << "0=4 1=4 2=5 3=1"
                                                 << "4 4 2 0 0";
        QTest::newRow("lowering frees points") << "0=4 1=4 2=5 3=1 0=0 3=3"
                                               << "0 4 2 3 0";
        QTest::newRow("own old points count") << "4=8 4=10 4=3"
                                              << "0 0 0 0 3";
        QTest::newRow("negative asks give nothing") << "0=-5 1=10"
                                                    << "0 10 0 0 0";
        QTest::newRow("huge asks do not overflow") << "0=3 1=2147483647"
                                                   << "3 7 0 0 0";
    }
    void bonusPool() {
        QFETCH(QString, steps);
        QFETCH(QString, expected);
        TZEMStatusBon bon;
        const std::array setters{&TZEMStatusBon::SetPOW, &TZEMStatusBon::SetVIT,
                                 &TZEMStatusBon::SetDEX, &TZEMStatusBon::SetINT,
                                 &TZEMStatusBon::SetPHI};
        for (const QString& step : steps.split(u' ')) {
            (bon.*setters[step.section(u'=', 0, 0).toUInt()])(step.section(u'=', 1).toInt());
            QVERIFY(bon.Total() <= TZEMStatusBon::BonusPool);
        }
        TZEMStatusBon copy;
        copy.Assign(bon);
        QCOMPARE(attributes(copy), ints(expected) + QList<int>(4, 0));
        int sum = 0;
        for (int v : ints(expected)) {
            sum += v;
        }
        QCOMPARE(copy.Total(), sum);
        copy.Clear();
        QCOMPARE(attributes(copy), QList<int>(9, 0));
    }
};

QTEST_GUILESS_MAIN(TablesTest)
#include "tst_tables.moc"
