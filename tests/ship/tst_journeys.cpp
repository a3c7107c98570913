// The journey planner against a brute-force search over every voyage combination, at every game
// second of a day, for all 30 ordered pairs of ports.
#include <QtTest>
#include <memory>
#include <vector>

#include "common/TDateTime.h"
#include "ship/JourneyPlanner.h"
#include "ship/TZEMShip.h"

namespace {

struct Sailing {
    int route;
    const TZEMShipTimeItem* voyage;
    std::int64_t sail;  // game seconds from midnight of the planning day
    std::int64_t land;
};

// Every voyage of a route over three days, in absolute seconds.
std::vector<Sailing> sailingsOf(const std::vector<std::unique_ptr<TZEMShip>>& routes, int r) {
    std::vector<Sailing> result;
    for (int day = 0; day < 3; ++day) {
        for (const TZEMShipTimeItem& v : routes[std::size_t(r)]->voyages()) {
            const std::int64_t lea = DateTime::secondsOfDay(v.LeaTime) + day * DateTime::SecsPerDay;
            std::int64_t crossing =
                DateTime::secondsOfDay(v.GenTime) - DateTime::secondsOfDay(v.LeaTime);
            crossing += crossing < 0 ? DateTime::SecsPerDay : 0;
            result.push_back({r, &v, lea, lea + crossing});
        }
    }
    return result;
}

// A chain of sailings, one per leg.
struct Chain {
    const Sailing* leg[2] = {nullptr, nullptr};
    std::size_t size = 0;
    const Sailing& front() const { return *leg[0]; }
    const Sailing& back() const { return *leg[size - 1]; }
};

// Every chain of the legs whose first ship sails after `after` (each change after the landing),
// handed to `visit`.
template <class Visit>
void eachChain(const std::vector<std::vector<Sailing>>& legs, std::int64_t after, Visit&& visit) {
    for (const Sailing& a : legs[0]) {
        if (a.sail <= after) {
            continue;
        }
        if (legs.size() == 1) {
            visit(Chain{{&a, nullptr}, 1});
            continue;
        }
        for (const Sailing& b : legs[1]) {
            if (b.sail > a.land) {
                visit(Chain{{&a, &b}, 2});
            }
        }
    }
}

// The chains from second s that no other beats (none sails no sooner and lands no later), by
// landing: each is the soonest landing, latest sailing, of the chains sailing after the last.
std::vector<Chain> bruteForce(const std::vector<std::vector<Sailing>>& legs, std::int64_t s,
                              std::size_t count) {
    std::vector<Chain> best;
    std::int64_t after = s;
    while (best.size() < count) {
        Chain found;
        eachChain(legs, after, [&](const Chain& c) {
            if (found.size == 0 || c.back().land < found.back().land ||
                (c.back().land == found.back().land && c.front().sail > found.front().sail)) {
                found = c;
            }
        });
        if (found.size == 0) {
            break;
        }
        best.push_back(found);
        after = found.front().sail;
    }
    return best;
}

}  // namespace

class TestJourneys : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void paths_data();
    void paths();
    void everySecondOfADay();
    void changeNeedsTheShipToHaveLanded();
    void laterDaysAndMidSecondTimes();
};

void TestJourneys::paths_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("via");
    QTest::newRow("direct") << "尾張"
                            << "駿河"
                            << "尾張→駿河";
    QTest::newRow("駿河 to 摂津和泉") << "駿河"
                                      << "摂津和泉"
                                      << "駿河→尾張 尾張→摂津和泉";
    QTest::newRow("佐渡 to 越前") << "佐渡"
                                  << "越前"
                                  << "佐渡→越後 越後→越前";
    QTest::newRow("越前 to 佐渡") << "越前"
                                  << "佐渡"
                                  << "越前→越後 越後→佐渡";
    QTest::newRow("across the groups") << "駿河"
                                       << "佐渡"
                                       << "";
    QTest::newRow("same port") << "越後"
                               << "越後"
                               << "";
    QTest::newRow("unknown port") << "京"
                                  << "越後"
                                  << "";
}

void TestJourneys::paths() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, via);
    const auto routes = TZEMShip::createAll();
    const JourneyPlanner planner(routes);
    QStringList legs;
    for (const int r : planner.path(from, to)) {
        legs << routes[std::size_t(r)]->from() + QStringLiteral("→") + routes[std::size_t(r)]->to();
    }
    QCOMPARE(legs.join(u' '), via);
    QCOMPARE(planner.plan(from, to, 0.5, 3).empty(), via.isEmpty());
}

void TestJourneys::everySecondOfADay() {
    const auto routes = TZEMShip::createAll();
    const JourneyPlanner planner(routes);
    int connected = 0;
    for (const QString& from : JourneyPlanner::ports()) {
        for (const QString& to : JourneyPlanner::ports()) {
            if (from == to) {
                continue;
            }
            // The brute force finds its own chains of routes, independently of path().
            std::vector<std::vector<int>> chains;
            for (std::size_t a = 0; a < routes.size(); ++a) {
                if (routes[a]->from() != from) {
                    continue;
                }
                if (routes[a]->to() == to) {
                    chains.push_back({int(a)});
                }
                for (std::size_t b = 0; b < routes.size(); ++b) {
                    if (routes[b]->from() == routes[a]->to() && routes[b]->to() == to) {
                        chains.push_back({int(a), int(b)});
                    }
                }
            }
            if (chains.empty()) {
                QVERIFY(planner.plan(from, to, 0.25, 3).empty());
                continue;
            }
            QCOMPARE(chains.size(), std::size_t(1));
            ++connected;
            std::vector<std::vector<Sailing>> legs;
            for (const int r : chains.front()) {
                legs.push_back(sailingsOf(routes, r));
            }
            for (std::int64_t s = 0; s < DateTime::SecsPerDay; ++s) {
                const TDateTime now = double(s) / double(DateTime::SecsPerDay);
                const std::vector<Journey> got = planner.plan(from, to, now, 3);
                const std::vector<Chain> want = bruteForce(legs, s, 3);
                QCOMPARE(got.size(), want.size());
                for (std::size_t j = 0; j < want.size(); ++j) {
                    QCOMPARE(got[j].legs.size(), want[j].size);
                    for (std::size_t i = 0; i < want[j].size; ++i) {
                        const JourneyLeg& leg = got[j].legs[i];
                        const Sailing& w = *want[j].leg[i];
                        if (leg.voyage != w.voyage || leg.sailing != w.sail - s ||
                            leg.landing != w.land - s) {
                            QFAIL(qPrintable(QStringLiteral("%1→%2 at %3: journey %4 leg %5")
                                                 .arg(from, to, DateTime::formatLongTime(now))
                                                 .arg(j)
                                                 .arg(i)));
                        }
                        std::int64_t inPort = DateTime::secondsOfDay(w.voyage->LeaTime) -
                                              DateTime::secondsOfDay(w.voyage->ArrTime);
                        inPort += inPort < 0 ? DateTime::SecsPerDay : 0;
                        QCOMPARE(leg.arrival, leg.sailing - inPort);
                    }
                }
            }
        }
    }
    QCOMPARE(connected, 12);
}

// 佐渡 → 越前: the ship from 佐渡 lands in 越後 at 05:40; the 越後 ship of 04:00 has gone, so the
// change is to the 08:52, and the whole journey is 04:00 to 10:32.
void TestJourneys::changeNeedsTheShipToHaveLanded() {
    const auto routes = TZEMShip::createAll();
    const JourneyPlanner planner(routes);
    const std::vector<Journey> journeys = planner.plan(
        QStringLiteral("佐渡"), QStringLiteral("越前"), DateTime::encodeTime(3, 0, 0), 3);
    QCOMPARE(journeys.size(), std::size_t(3));
    const Journey& first = journeys.front();
    QCOMPARE(DateTime::formatLongTime(first.legs[0].voyage->LeaTime), QStringLiteral("04:00:00"));
    QCOMPARE(DateTime::formatLongTime(first.legs[0].voyage->GenTime), QStringLiteral("05:40:00"));
    QCOMPARE(DateTime::formatLongTime(first.legs[1].voyage->LeaTime), QStringLiteral("08:52:00"));
    QCOMPARE(first.departure(), 3600);
    QCOMPARE(first.waitBefore(1), 3 * 3600 + 12 * 60);
    QCOMPARE(first.landing(), 7 * 3600 + 32 * 60);
    QCOMPARE(first.legs[0].arrival, 3600 - (2 * 3600 + 26 * 60));  // the ship is in port now
    QCOMPARE(DateTime::formatLongTime(journeys[1].legs[0].voyage->LeaTime),
             QStringLiteral("12:00:00"));
    QCOMPARE(DateTime::formatLongTime(journeys[2].legs[0].voyage->LeaTime),
             QStringLiteral("20:00:00"));
}

// Only the time of day counts; seconds are whole game seconds of the time of day, as the ship
// window counts them (one game second before 04:00 is a time left of 0:0:0).
void TestJourneys::laterDaysAndMidSecondTimes() {
    const auto routes = TZEMShip::createAll();
    const JourneyPlanner planner(routes);
    const auto firstSailing = [&](TDateTime now) {
        return planner.plan(QStringLiteral("尾張"), QStringLiteral("駿河"), now, 1)
            .front()
            .departure();
    };
    const TDateTime t = DateTime::encodeTime(3, 59, 59, 500);
    QCOMPARE(firstSailing(t), 1);
    QCOMPARE(firstSailing(t + 812345), 1);
    QCOMPARE(firstSailing(DateTime::encodeTime(4, 0, 0)), 4 * 3600);
}

QTEST_GUILESS_MAIN(TestJourneys)
#include "tst_journeys.moc"
