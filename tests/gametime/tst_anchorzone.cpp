// The game clock counts the real seconds since its anchor, which is stored in local time: across
// a change to or from daylight-saving time the wall clock jumps, real time does not.
#include <QtTest>
#include <cstdlib>
#include <ctime>

#include "common/TDateTime.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMTime.h"
#include "support/FixedNow.h"

namespace {

// Central European time with its summer time, set before any date-time is computed; the rules
// are spelled out, so no time-zone database is needed.
const bool zoneSet = [] {
    qputenv("TZ", "CET-1CEST,M3.5.0,M10.5.0/3");
    tzset();
    return true;
}();

TDateTime local(int month, int day, int hour, int minute) {
    return DateTime::encodeDate(2026, month, day) + DateTime::encodeTime(hour, minute, 0);
}

}  // namespace

class TestAnchorZone : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void realSecondsAcrossAClockChange_data() {
        QTest::addColumn<double>("anchor");
        QTest::addColumn<double>("now");
        QTest::addColumn<int>("realSeconds");
        // 29 March 2026, 02:00 -> 03:00; 25 October 2026, 03:00 -> 02:00.
        QTest::newRow("winter, no change") << local(1, 10, 10, 0) << local(1, 10, 12, 0) << 7200;
        QTest::newRow("clocks go forward") << local(3, 29, 1, 0) << local(3, 29, 4, 0) << 7200;
        QTest::newRow("clocks go back") << local(10, 25, 1, 30) << local(10, 25, 3, 30) << 10800;
        QTest::newRow("anchor after now, across the change")
            << local(3, 29, 4, 0) << local(3, 29, 1, 0) << 7200;
        QTest::newRow("summer anchor, winter now")
            << local(7, 1, 12, 0) << local(12, 1, 12, 0) << 153 * 86400 + 3600;
    }
    void realSecondsAcrossAClockChange() {
        QVERIFY(zoneSet);
        QFETCH(double, anchor);
        QFETCH(double, now);
        QFETCH(int, realSeconds);
        FixedNow fixed(now);
        TZEMTime clock;
        clock.Timer()->SetEnabled(false);
        clock.SetFromAnchor(DateTime::encodeTime(6, 0, 0), anchor);
        const std::int64_t expected =
            (6 * std::int64_t{3'600'000} + std::int64_t{realSeconds} * 23838) %
            DateTime::MSecsPerDay;
        QCOMPARE(DateTime::msecsOfDay(clock.GameTime), expected);
    }
};

QTEST_GUILESS_MAIN(TestAnchorZone)
#include "tst_anchorzone.moc"
