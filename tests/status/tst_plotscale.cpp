#include <QTest>

#include "status/PlotScale.h"

class PlotScaleTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // The axis starts at 0 or below the lowest value, ends at or just above the highest, and
    // takes at most six whole steps of 1, 2 or 5 times a power of ten.
    void steps_data() {
        QTest::addColumn<double>("low");
        QTest::addColumn<double>("high");
        QTest::addColumn<double>("from");
        QTest::addColumn<double>("to");
        QTest::addColumn<double>("step");
        QTest::newRow("all zero") << 0.0 << 0.0 << 0.0 << 1.0 << 1.0;
        QTest::newRow("0..1") << 0.0 << 1.0 << 0.0 << 1.0 << 1.0;
        QTest::newRow("0..6") << 0.0 << 6.0 << 0.0 << 6.0 << 1.0;
        QTest::newRow("0..7") << 0.0 << 7.0 << 0.0 << 8.0 << 2.0;
        QTest::newRow("0..59") << 0.0 << 59.0 << 0.0 << 60.0 << 10.0;
        QTest::newRow("0..61") << 0.0 << 61.0 << 0.0 << 80.0 << 20.0;
        QTest::newRow("12..210, from 0") << 12.0 << 210.0 << 0.0 << 250.0 << 50.0;
        QTest::newRow("0..1234") << 0.0 << 1234.0 << 0.0 << 1500.0 << 500.0;
        QTest::newRow("experience") << 0.0 << 690000000.0 << 0.0 << 800000000.0 << 200000000.0;
        QTest::newRow("-3..59") << -3.0 << 59.0 << -20.0 << 60.0 << 20.0;
        QTest::newRow("-1..59, seven steps of 10 too many")
            << -1.0 << 59.0 << -20.0 << 60.0 << 20.0;
        QTest::newRow("-5..5") << -5.0 << 5.0 << -6.0 << 6.0 << 2.0;
        QTest::newRow("all negative") << -100.0 << -5.0 << -100.0 << 0.0 << 20.0;
        QTest::newRow("-7 alone") << -7.0 << -7.0 << -7.0 << -6.0 << 1.0;
    }
    void steps() {
        QFETCH(double, low);
        QFETCH(double, high);
        const PlotScale scale(low, high);
        QTEST(scale.from(), "from");
        QTEST(scale.to(), "to");
        QTEST(scale.step(), "step");
        const QList<double> ticks = scale.ticks();
        QVERIFY(ticks.size() >= 2 && ticks.size() <= PlotScale::MaxSteps + 1);
        QCOMPARE(ticks.first(), scale.from());
        QCOMPARE(ticks.last(), scale.to());
    }
};

QTEST_GUILESS_MAIN(PlotScaleTest)
#include "tst_plotscale.moc"
