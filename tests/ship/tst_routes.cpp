// Next arrival, sailing and landing of the eight routes, and the route state word.
#include <QtTest>
#include <algorithm>
#include <functional>
#include <map>
#include <memory>

#include "common/TDateTime.h"
#include "ship/TZEMShip.h"

namespace {

std::unique_ptr<TZEMShip> makeRoute(const QString& name) {
    static const std::map<QString, std::function<std::unique_ptr<TZEMShip>()>> factories = {
        {"OwariToSuruga", [] { return std::make_unique<TZEMShipOwariToSuruga>(); }},
        {"SurugaToOwari", [] { return std::make_unique<TZEMShipSurugaToOwari>(); }},
        {"OwariToSettu", [] { return std::make_unique<TZEMShipOwariToSettu>(); }},
        {"SettuToOwari", [] { return std::make_unique<TZEMShipSettuToOwari>(); }},
        {"EtigoToSado", [] { return std::make_unique<TZEMShipEtigoToSado>(); }},
        {"SadoToEtigo", [] { return std::make_unique<TZEMShipSadoToEtigo>(); }},
        {"EtigoToEtizen", [] { return std::make_unique<TZEMShipEtigoToEtizen>(); }},
        {"EtizenToEtigo", [] { return std::make_unique<TZEMShipEtizenToEtigo>(); }},
    };
    return factories.at(name)();
}

// "hh:mm:ss" plus a (possibly fractional) number of milliseconds and whole game days.
TDateTime at(const char* text, double msecs = 0.0, int days = 0) {
    const TDateTime time = DateTime::parseTime(QString::fromLatin1(text)).value();
    return days + time + msecs / static_cast<double>(DateTime::MSecsPerDay);
}

// A returned time must be a bare time of day taken from the timetable.
QString shown(TDateTime value) {
    if (value < 0.0 || value >= 1.0) {
        return QStringLiteral("date part %1").arg(value);
    }
    return DateTime::formatLongTime(value);
}

// The earliest time of a column that lies at least a millisecond after now, or else the
// earliest of the column: the answer worked out without the timetable's list order.
std::int64_t expectedNext(std::vector<std::int64_t> column, double nowMSecs) {
    std::sort(column.begin(), column.end());
    if (nowMSecs > DateTime::MSecsPerDay - 1) {
        nowMSecs = 0.0;  // less than a millisecond before midnight is midnight
    }
    for (const std::int64_t t : column) {
        if (static_cast<double>(t) - nowMSecs >= 1.0) {
            return t;
        }
    }
    return column.front();
}

}  // namespace

class TestRoutes : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void nextTimes_data();
    void nextTimes();
    void agreesWithEarliestLater_data();
    void agreesWithEarliestLater();
    void stateWord_data();
    void stateWord();
};

void TestRoutes::nextTimes_data() {
    QTest::addColumn<QString>("route");
    QTest::addColumn<double>("now");
    QTest::addColumn<QString>("arr");  // empty: not checked
    QTest::addColumn<QString>("lea");
    QTest::addColumn<QString>("gen");

    // At a timetable time, that time has passed.
    QTest::newRow("尾張→駿河 at a sailing") << "OwariToSuruga" << at("00:00:00") << "02:15:00"
                                            << "04:00:00"
                                            << "02:30:00";
    QTest::newRow("尾張→駿河 at the evening arrival")
        << "OwariToSuruga" << at("22:15:00") << "02:15:00"
        << "00:00:00"
        << "22:30:00";
    // After the last of every column, the next day's first.
    QTest::newRow("尾張→駿河 23:00") << "OwariToSuruga" << at("23:00:00") << "02:15:00"
                                     << "00:00:00"
                                     << "02:30:00";
    // Less than a millisecond apart is the same time.
    QTest::newRow("half a millisecond before a sailing")
        << "OwariToSuruga" << at("04:00:00", -0.5) << "06:15:00"
        << "08:00:00"
        << "06:30:00";
    QTest::newRow("half a millisecond before midnight")
        << "OwariToSuruga" << at("23:59:59", 999.5) << "02:15:00"
        << "04:00:00"
        << "02:30:00";
    QTest::newRow("摂津和泉→尾張 after the last landing")
        << "SettuToOwari" << at("22:00:00") << "22:04:00"
        << "00:00:00"
        << "01:54:00";
    // Evening arrival on a three-voyage route.
    QTest::newRow("越後→佐渡 before the evening arrival")
        << "EtigoToSado" << at("20:00:00") << "21:40:00"
        << "00:00:00"
        << "01:34:00";
    QTest::newRow("越後→佐渡 after the evening arrival")
        << "EtigoToSado" << at("22:00:00") << "05:40:00"
        << "00:00:00"
        << "01:34:00";
    // Arrivals rising from the first voyage.
    QTest::newRow("佐渡→越後 midnight") << "SadoToEtigo" << at("00:00:00") << "01:34:00"
                                        << "04:00:00"
                                        << "05:40:00";
    QTest::newRow("佐渡→越後 at the last landing") << "SadoToEtigo" << at("21:40:00") << "01:34:00"
                                                   << "04:00:00"
                                                   << "05:40:00";
    // Interleaved routes.
    QTest::newRow("越後→越前 midnight") << "EtigoToEtizen" << at("00:00:00") << "01:13:00"
                                        << "00:52:00"
                                        << "02:32:00";
    QTest::newRow("越後→越前 22:15") << "EtigoToEtizen" << at("22:15:00") << "22:30:00"
                                     << "00:52:00"
                                     << "02:32:00";
    QTest::newRow("越前→越後 21:39:59") << "EtizenToEtigo" << at("21:39:59") << "21:40:00"
                                        << "00:00:00"
                                        << "22:30:00";
    QTest::newRow("越前→越後 21:40") << "EtizenToEtigo" << at("21:40:00") << "02:32:00"
                                     << "00:00:00"
                                     << "22:30:00";
    // The date part of now plays no part.
    QTest::newRow("尾張→駿河 23:00, 3 days on")
        << "OwariToSuruga" << at("23:00:00", 0, 3) << "02:15:00"
        << "00:00:00"
        << "02:30:00";
    QTest::newRow("越前→越後 21:40, 600000 days on")
        << "EtizenToEtigo" << at("21:40:00", 0, 600000) << "02:32:00"
        << "00:00:00"
        << "22:30:00";
}

void TestRoutes::nextTimes() {
    QFETCH(QString, route);
    QFETCH(double, now);
    QFETCH(QString, arr);
    QFETCH(QString, lea);
    QFETCH(QString, gen);
    const auto ship = makeRoute(route);
    if (!arr.isEmpty()) {
        QCOMPARE(shown(ship->NextArrTime(now)), arr);
    }
    if (!lea.isEmpty()) {
        QCOMPARE(shown(ship->NextLeaTime(now)), lea);
    }
    if (!gen.isEmpty()) {
        QCOMPARE(shown(ship->NextGenTime(now)), gen);
    }
}

void TestRoutes::agreesWithEarliestLater_data() {
    QTest::addColumn<QString>("route");
    QTest::addColumn<int>("days");
    const QStringList routes = {"OwariToSuruga", "SurugaToOwari", "OwariToSettu",  "SettuToOwari",
                                "EtigoToSado",   "SadoToEtigo",   "EtigoToEtizen", "EtizenToEtigo"};
    for (const QString& route : routes) {
        for (const int days : {0, 1, 731000}) {
            QTest::addRow("%s +%d days", qPrintable(route), days) << route << days;
        }
    }
}

// Every minute of the day and every timetable time with offsets below and above the one
// millisecond of sameness.
void TestRoutes::agreesWithEarliestLater() {
    QFETCH(QString, route);
    QFETCH(int, days);
    const auto ship = makeRoute(route);
    const auto& voyages = ship->voyages();
    QVERIFY(voyages.size() >= 2);

    std::vector<std::int64_t> arr, lea, gen;
    for (const TZEMShipTimeItem& v : voyages) {
        arr.push_back(DateTime::msecsOfDay(v.ArrTime));
        lea.push_back(DateTime::msecsOfDay(v.LeaTime));
        gen.push_back(DateTime::msecsOfDay(v.GenTime));
    }
    std::vector<double> nows;
    for (int minute = 0; minute < 24 * 60; ++minute) {
        nows.push_back(minute * 60000.0);
    }
    for (const auto* column : {&arr, &lea, &gen}) {
        for (const std::int64_t t : *column) {
            for (const double offset : {-1000.0, -1.5, -0.9, -0.5, 0.0, 0.5, 0.9, 1.5, 1000.0}) {
                nows.push_back(static_cast<double>(t) + offset);
            }
        }
    }
    for (double nowMSecs : nows) {
        if (nowMSecs < 0) {
            nowMSecs += DateTime::MSecsPerDay;
        }
        const TDateTime now = days + nowMSecs / static_cast<double>(DateTime::MSecsPerDay);
        const QByteArray where = QByteArray::number(nowMSecs, 'f', 1) + " ms";
        QVERIFY2(DateTime::msecsOfDay(ship->NextArrTime(now)) == expectedNext(arr, nowMSecs),
                 where.constData());
        QVERIFY2(DateTime::msecsOfDay(ship->NextLeaTime(now)) == expectedNext(lea, nowMSecs),
                 where.constData());
        QVERIFY2(DateTime::msecsOfDay(ship->NextGenTime(now)) == expectedNext(gen, nowMSecs),
                 where.constData());
    }
}

void TestRoutes::stateWord_data() {
    QTest::addColumn<QString>("route");
    QTest::addColumn<double>("now");
    QTest::addColumn<QString>("word");

    const QString waiting = QStringLiteral("到着待ち");
    const QString inPort = QStringLiteral("停泊中");
    const QString underWay = QStringLiteral("航行中");

    // A voyage that ends after the next ship comes in: never waiting.
    QTest::newRow("尾張→駿河 before the evening arrival")
        << "OwariToSuruga" << at("22:14:59") << underWay;
    QTest::newRow("尾張→駿河 at the evening arrival")
        << "OwariToSuruga" << at("22:15:00") << inPort;
    QTest::newRow("尾張→駿河 at the sailing") << "OwariToSuruga" << at("00:00:00") << underWay;
    QTest::newRow("尾張→駿河 next ship in, previous at sea")
        << "OwariToSuruga" << at("02:20:00") << inPort;

    QTest::newRow("越後→佐渡 before the landing") << "EtigoToSado" << at("01:33:59") << underWay;
    QTest::newRow("越後→佐渡 at the landing") << "EtigoToSado" << at("01:34:00") << waiting;
    QTest::newRow("越後→佐渡 at an arrival") << "EtigoToSado" << at("05:40:00") << inPort;
    QTest::newRow("越後→佐渡 0.5 ms before an arrival")
        << "EtigoToSado" << at("05:40:00", -0.5) << inPort;
    QTest::newRow("越後→佐渡 at a sailing") << "EtigoToSado" << at("08:00:00") << underWay;
    QTest::newRow("越後→佐渡 half a ms before midnight")
        << "EtigoToSado" << at("23:59:59", 999.5) << underWay;

    QTest::newRow("佐渡→越後 midnight") << "SadoToEtigo" << at("00:00:00") << waiting;
    QTest::newRow("佐渡→越後 at the last landing") << "SadoToEtigo" << at("21:40:00") << waiting;

    // Interleaved: the ship in the departure port counts over the one still at sea.
    QTest::newRow("越後→越前 first ship at sea") << "EtigoToEtizen" << at("01:12:59") << underWay;
    QTest::newRow("越後→越前 second ship in, first at sea")
        << "EtigoToEtizen" << at("01:13:00") << inPort;
    QTest::newRow("越後→越前 second ship sails") << "EtigoToEtizen" << at("04:00:00") << underWay;
    QTest::newRow("越後→越前 second ship lands") << "EtigoToEtizen" << at("05:40:00") << waiting;
    QTest::newRow("越後→越前 evening arrival") << "EtigoToEtizen" << at("22:30:00") << inPort;
    QTest::newRow("越前→越後 ship sails") << "EtizenToEtigo" << at("05:18:00") << underWay;
    QTest::newRow("越前→越後 next ship in, previous at sea")
        << "EtizenToEtigo" << at("05:40:00") << inPort;
    QTest::newRow("越前→越後 at a landing") << "EtizenToEtigo" << at("09:13:00") << waiting;
}

void TestRoutes::stateWord() {
    QFETCH(QString, route);
    QFETCH(double, now);
    QFETCH(QString, word);
    QCOMPARE(makeRoute(route)->stateAt(now), word);
}

QTEST_GUILESS_MAIN(TestRoutes)
#include "tst_routes.moc"
