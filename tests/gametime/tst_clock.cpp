#include <QtTest>
#include <cstdint>

#include "common/TDateTime.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMTime.h"
#include "support/FixedNow.h"

namespace {

constexpr std::int64_t DayMSecs = 86'400'000;
constexpr std::int64_t Step = 23'838;

std::int64_t hms(int h, int m, int s, int ms = 0) {
    return ((static_cast<std::int64_t>(h) * 60 + m) * 60 + s) * 1000 + ms;
}

// Real milliseconds between two local date-times, counted on the calendar (no floating point).
std::int64_t msecsBetween(const QDateTime& from, const QDateTime& to) {
    return from.date().daysTo(to.date()) * DayMSecs +
           (to.time().msecsSinceStartOfDay() - from.time().msecsSinceStartOfDay());
}

TDateTime at(const QDateTime& value) {
    return DateTime::encodeDate(value.date().year(), value.date().month(), value.date().day()) +
           DateTime::encodeTime(value.time().hour(), value.time().minute(), value.time().second(),
                                value.time().msec());
}

}  // namespace

class TestClock : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void construction() {
        FixedNow now(DateTime::encodeDate(2026, 12, 8) + DateTime::encodeTime(21, 4, 5, 678));
        TZEMTime clock;
        clock.Timer()->SetEnabled(false);
        QCOMPARE(DateTime::wholeDays(clock.GameTime), 0);
        QCOMPARE(DateTime::msecsOfDay(clock.GameTime), hms(21, 4, 5, 678));
        QCOMPARE(clock.GameMSecPerSec, 23838);

        TZEMTime ticking;
        auto* timer = ticking.findChild<TMMTimer*>(QStringLiteral("ZEMTimer"));
        QVERIFY(timer != nullptr);
        QCOMPARE(timer, ticking.Timer());
        QCOMPARE(timer->Interval(), 1000u);
        QVERIFY(timer->Enabled());
        QVERIFY(timer->isRunning());
        QCOMPARE(timer->sendTimeout(), 0u);  // the default period waits without limit
    }

    void koku_data() {
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::addColumn<int>("second");
        QTest::addColumn<QString>("name");
        QTest::newRow("midnight") << 0 << 0 << 0 << QStringLiteral("子");
        QTest::newRow("01:59:59") << 1 << 59 << 59 << QStringLiteral("子");
        QTest::newRow("02:00:00") << 2 << 0 << 0 << QStringLiteral("丑");
        QTest::newRow("07:59:59") << 7 << 59 << 59 << QStringLiteral("卯");
        QTest::newRow("12:00:00") << 12 << 0 << 0 << QStringLiteral("午");
        QTest::newRow("17:30:00") << 17 << 30 << 0 << QStringLiteral("申");
        QTest::newRow("18:00:00") << 18 << 0 << 0 << QStringLiteral("酉");
        QTest::newRow("22:00:00") << 22 << 0 << 0 << QStringLiteral("亥");
        QTest::newRow("23:59:59") << 23 << 59 << 59 << QStringLiteral("亥");
    }
    void koku() {
        QFETCH(int, hour);
        QFETCH(int, minute);
        QFETCH(int, second);
        QFETCH(QString, name);
        TZEMTime clock;
        clock.Timer()->SetEnabled(false);
        // The date part (game days since the anchor) must not matter.
        for (const double days : {0.0, 1.0, 238'417.0}) {
            clock.SetGameTime(days + DateTime::encodeTime(hour, minute, second));
            QCOMPARE(clock.GetKoku(), name);
        }
    }

    void realTimeUntil_data() {
        QTest::addColumn<double>("game");
        QTest::addColumn<double>("target");
        QTest::addColumn<QString>("text");
        const double noon = DateTime::encodeTime(12, 0, 0);
        QTest::newRow("same time") << noon << noon << QStringLiteral("0:0:0");
        QTest::newRow("same second, other ms")
            << noon + DateTime::encodeTime(0, 0, 0, 900) << noon << QStringLiteral("0:0:0");
        QTest::newRow("one second past")
            << noon << DateTime::encodeTime(11, 59, 59) << QStringLiteral("1:0:24");
        QTest::newRow("one game hour")
            << noon << DateTime::encodeTime(13, 0, 0) << QStringLiteral("0:2:31");
        QTest::newRow("42 game seconds")
            << noon << DateTime::encodeTime(12, 0, 42) << QStringLiteral("0:0:1");
        QTest::newRow("across midnight")
            << DateTime::encodeTime(23, 0, 0) << DateTime::encodeTime(1, 0, 0)
            << QStringLiteral("0:5:2");
        QTest::newRow("many game days on")
            << 238'417.0 + noon << DateTime::encodeTime(13, 0, 0) << QStringLiteral("0:2:31");
        QTest::newRow("target with a date")
            << noon << 45'000.0 + DateTime::encodeTime(13, 0, 0) << QStringLiteral("0:2:31");
    }
    void realTimeUntil() {
        QFETCH(double, game);
        QFETCH(double, target);
        QFETCH(QString, text);
        TZEMTime clock;
        clock.Timer()->SetEnabled(false);
        clock.SetGameTime(game);
        QCOMPARE(clock.RealTimeUntil(target), text);
    }

    void anchor_data() {
        QTest::addColumn<QDateTime>("anchorReal");
        QTest::addColumn<QDateTime>("now");
        QTest::addColumn<int>("anchorGameSecs");
        const QDateTime base(QDate(2026, 12, 8), QTime(6, 30, 0));
        QTest::newRow("100 s in the past") << base.addSecs(-100) << base << 12 * 3600;
        QTest::newRow("100 s in the future") << base.addSecs(100) << base << 12 * 3600;
        QTest::newRow("same moment") << base << base << 43'200;
        QTest::newRow("0.999 s dropped") << base << base.addMSecs(999) << 0;
        QTest::newRow("100.999 s") << base << base.addMSecs(100'999) << 0;
        const QDateTime first(QDate(1999, 7, 7), QTime(7, 0, 0));
        QTest::newRow("default anchor, today") << first << base << 0;
        QTest::newRow("default anchor, ms")
            << first << QDateTime(QDate(2026, 12, 8), QTime(23, 59, 59, 999)) << 0;
        QTest::newRow("default anchor, 2099")
            << first << QDateTime(QDate(2099, 3, 1), QTime(0, 0, 1)) << 0;
        QTest::newRow("anchor 23:59:59, a year") << base << base.addDays(365) << 86'399;
    }
    void anchor() {
        QFETCH(QDateTime, anchorReal);
        QFETCH(QDateTime, now);
        QFETCH(int, anchorGameSecs);
        FixedNow fixed(at(now));
        TZEMTime clock;
        clock.Timer()->SetEnabled(false);
        const double anchorGame = DateTime::encodeTime(0, 0, anchorGameSecs);
        clock.SetFromAnchor(anchorGame, at(anchorReal));

        const std::int64_t seconds = std::abs(msecsBetween(anchorReal, now)) / 1000;
        const std::int64_t total = anchorGameSecs * std::int64_t{1000} + seconds * Step;
        QCOMPARE(DateTime::msecsOfDay(clock.GameTime), total % DayMSecs);
        QCOMPARE(DateTime::wholeDays(clock.GameTime), total / DayMSecs);
    }

    void ticks_data() {
        QTest::addColumn<double>("start");
        QTest::addColumn<int>("count");
        QTest::newRow("ten from noon") << DateTime::encodeTime(12, 0, 0) << 10;
        QTest::newRow("across midnight") << DateTime::encodeTime(23, 59, 0) << 100;
        QTest::newRow("a real day, far from 1899")
            << 238'417.0 + DateTime::encodeTime(5, 6, 7) << 86'400;
    }
    void ticks() {
        QFETCH(double, start);
        QFETCH(int, count);
        TZEMTime clock;
        clock.Timer()->SetEnabled(false);
        clock.SetGameTime(start);
        for (int i = 0; i < count; ++i) {
            clock.Tick();
        }
        const std::int64_t expected = DateTime::msecsOfDay(start) + count * Step;
        QCOMPARE(DateTime::msecsOfDay(clock.GameTime), expected % DayMSecs);
        QCOMPARE(DateTime::wholeDays(clock.GameTime),
                 DateTime::wholeDays(start) + expected / DayMSecs);
    }

    void tenTicksAfterNoon() {
        TZEMTime clock;
        clock.Timer()->SetEnabled(false);
        clock.SetGameTime(DateTime::encodeTime(12, 0, 0));
        for (int i = 0; i < 10; ++i) {
            clock.Tick();
        }
        QCOMPARE(DateTime::toQTime(clock.GameTime), QTime(12, 3, 58, 380));
    }

    // Ticks lost to a stall are made good by the next tick, by the whole real seconds that
    // passed: then the clock shows what the anchor rule would derive at that moment.
    void catchesUpAfterAStall_data() {
        QTest::addColumn<int>("gap");  // real milliseconds between the third and fourth tick
        QTest::addColumn<int>("steps");
        QTest::newRow("a tick 0.6 s late") << 600 << 6;
        QTest::newRow("1.5 s") << 1500 << 6;
        QTest::newRow("the window's thread held 2 s") << 2000 << 7;
        QTest::newRow("stopped for 10 s") << 10'000 << 15;
        QTest::newRow("a suspend of an hour") << 3'600'000 << 3605;
    }
    void catchesUpAfterAStall() {
        QFETCH(int, gap);
        QFETCH(int, steps);
        const TDateTime start = DateTime::encodeDate(2026, 12, 9) + DateTime::encodeTime(9, 0, 0);
        FixedNow now(start);
        TZEMTime clock;
        clock.Timer()->SetEnabled(false);
        clock.SetGameTime(DateTime::encodeTime(12, 0, 0));
        const auto wait = [&](int msecs) { now.set(DateTime::addMSecs(now.get(), msecs)); };
        for (int i = 0; i < 6; ++i) {
            wait(i == 3 ? gap : 1000);
            clock.Tick();
        }
        QCOMPARE(DateTime::msecsOfDay(clock.GameTime), (hms(12, 0, 0) + steps * Step) % DayMSecs);
        // Never ahead of real time by more than the tick that is due.
        const std::int64_t realSeconds = (5000 + gap) / 1000;
        QVERIFY(steps <= realSeconds + 1);
        if (gap >= 2000) {
            TZEMTime derived;
            derived.Timer()->SetEnabled(false);
            derived.SetFromAnchor(DateTime::encodeTime(12, 0, 0), start);
            QCOMPARE(DateTime::msecsOfDay(clock.GameTime), DateTime::msecsOfDay(derived.GameTime));
        }
    }

    // The running timer advances the clock on this thread, one step per second.
    void tickedByItsTimer() {
        TZEMTime clock;
        clock.SetGameTime(DateTime::encodeTime(12, 0, 0));
        QTRY_VERIFY_WITH_TIMEOUT(DateTime::msecsOfDay(clock.GameTime) != hms(12, 0, 0), 3000);
        QCOMPARE((DateTime::msecsOfDay(clock.GameTime) - hms(12, 0, 0)) % Step, 0);
    }
};

QTEST_GUILESS_MAIN(TestClock)
#include "tst_clock.moc"
