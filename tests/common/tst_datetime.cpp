#include <QtTest>

#include "common/Extended.h"
#include "common/TDateTime.h"
#include "common/TZEMError.h"

class DateTimeTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void parseTime_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("msecs");
        QTest::newRow("leading zero") << "07:00:00" << true << 7 * 3600000;
        QTest::newRow("no leading zero") << "7:00:00" << true << 7 * 3600000;
        QTest::newRow("last second") << "23:59:59" << true << 86399000;
        QTest::newRow("hours and minutes") << "12:34" << true << (12 * 60 + 34) * 60000;
        QTest::newRow("spaces") << " 1:02:03 " << true << 3723000;
        QTest::newRow("hour 24") << "24:00:00" << false << 0;
        QTest::newRow("minute 60") << "12:60:00" << false << 0;
        QTest::newRow("25:61:00") << "25:61:00" << false << 0;
        QTest::newRow("garbage") << "abc" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("three digits") << "123:00:00" << false << 0;
    }
    void parseTime() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(int, msecs);
        const auto parsed = DateTime::parseTime(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid) {
            QCOMPARE(DateTime::msecsOfDay(*parsed), msecs);
            QCOMPARE(DateTime::wholeDays(*parsed), 0);
        }
    }

    void parseDate_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<QDate>("date");
        QTest::newRow("default anchor") << "1999/07/07" << true << QDate(1999, 7, 7);
        QTest::newRow("short parts") << "2026/2/8" << true << QDate(2026, 2, 8);
        QTest::newRow("leap day") << "2024/02/29" << true << QDate(2024, 2, 29);
        QTest::newRow("no leap day") << "2026/02/29" << false << QDate();
        QTest::newRow("month 13") << "2026/13/01" << false << QDate();
        QTest::newRow("dashes") << "2026-12-06" << false << QDate();
    }
    void parseDate() {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(QDate, date);
        const auto parsed = DateTime::parseDate(text);
        QCOMPARE(parsed.has_value(), valid);
        if (valid) {
            QCOMPARE(DateTime::toQDate(*parsed), date);
            QCOMPARE(DateTime::formatShortDate(*parsed),
                     date.toString(QStringLiteral("yyyy/MM/dd")));
        }
    }

    void epochAndRoundTrip() {
        QCOMPARE(DateTime::encodeDate(1899, 12, 30), 0.0);
        QCOMPARE(DateTime::encodeDate(1900, 1, 1), 2.0);
        const QDateTime moment(QDate(2026, 12, 6), QTime(19, 0, 5, 250));
        const TDateTime value = DateTime::fromQDateTime(moment);
        QCOMPARE(DateTime::toQDateTime(value), moment);
        QCOMPARE(DateTime::formatLongTime(value), QStringLiteral("19:00:05"));
        QCOMPARE(DateTime::formatShortDate(value), QStringLiteral("2026/12/06"));
    }

    // Whole-millisecond steps keep a value that has run for hundreds of thousands of days exact.
    void addMSecsDoesNotDrift() {
        TDateTime t = 236000.0 + DateTime::encodeTime(12, 0, 0);
        for (int i = 0; i < 100000; ++i) {
            t = DateTime::addMSecs(t, 23838);
        }
        const std::int64_t expected = (12LL * 3600000 + 100000LL * 23838) % DateTime::MSecsPerDay;
        QCOMPARE(DateTime::msecsOfDay(t), expected);
    }

    void truncation_data() {
        QTest::addColumn<double>("value");
        QTest::addColumn<bool>("fits");
        QTest::addColumn<int>("expected");
        QTest::newRow("positive") << 2.9 << true << 2;
        QTest::newRow("negative toward zero") << -2.9 << true << -2;
        QTest::newRow("max") << 2147483647.9 << true << 2147483647;
        QTest::newRow("beyond") << 2147483648.0 << false << 0;
        QTest::newRow("below") << -2147483649.0 << false << 0;
        QTest::newRow("nan") << std::nan("") << false << 0;
    }
    void truncation() {
        QFETCH(double, value);
        QFETCH(bool, fits);
        QFETCH(int, expected);
        if (fits) {
            QCOMPARE(ExtendedMath::truncToInt32(value), expected);
        } else {
            try {
                ExtendedMath::truncToInt32(value);
                QFAIL("expected the range-check error");
            } catch (const TZEMError& e) {
                QCOMPARE(e.message(), QStringLiteral("範囲チェックエラー"));
            }
        }
    }
};

QTEST_GUILESS_MAIN(DateTimeTest)
#include "tst_datetime.moc"
