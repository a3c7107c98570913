#include <QCheckBox>
#include <QTableView>
#include <QtTest>
#include <map>

#include "gametime/TZEMTime.h"
#include "ship/ComingEvents.h"
#include "ship/TZEMForm10.h"
#include "ship/TZEMShip.h"
#include "support/StoppedClock.h"

namespace {

struct Fixture : StoppedClock {
    Fixture() : StoppedClock(DateTime::encodeDate(2026, 12, 9) + DateTime::encodeTime(21, 0, 0)) {
        clock.SetGameTime(DateTime::encodeTime(5, 17, 42, 700));
    }
    std::unique_ptr<AlarmSchedule> alarms = stoppedAlarms();
};

// "game seconds from now|what|port" per event.
QStringList lines(const std::vector<ComingEvents::Event>& events) {
    QStringList result;
    for (const ComingEvents::Event& e : events) {
        result << QStringLiteral("%1|%2|%3").arg(e.gameSeconds).arg(e.what, e.port);
    }
    return result;
}

// The same of the window's rows, with the time left each shows.
QStringList shown(const ComingEventsModel& model) {
    std::vector<ComingEvents::Event> events;
    QStringList left;
    for (int row = 0; row < model.rowCount(); ++row) {
        events.push_back(model.at(row));
        left << model.index(row, ComingEventsModel::ColLeft).data().toString();
    }
    QStringList result = lines(events);
    for (qsizetype i = 0; i < result.size(); ++i) {
        result[i] += u'|' + left[i];
    }
    return result;
}

}  // namespace

class TestComing : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void everyMomentOfTheNextDay();
    void portsAndKinds();
    void alarmFromARow();
    void choiceKeptAsTimePasses();
};

// Against a walk over every game second of the next 24 real hours, each second asking which
// timetable times and turns of day and night fall on it.
void TestComing::everyMomentOfTheNextDay() {
    Fixture f;
    std::map<std::int64_t, QStringList> at;  // second of the day -> events, in the read's order
    const auto& routes = f.alarms->routes();
    for (int r = 0; r < int(routes.size()); ++r) {
        const auto& voyages = routes[std::size_t(r)]->voyages();
        for (int v = 0; v < int(voyages.size()); ++v) {
            const std::pair<AlarmEvent, TDateTime> moments[] = {
                {AlarmEvent::Arrival, voyages[std::size_t(v)].ArrTime},
                {AlarmEvent::Sailing, voyages[std::size_t(v)].LeaTime},
                {AlarmEvent::Landing, voyages[std::size_t(v)].GenTime}};
            for (const auto& [event, time] : moments) {
                const QString port = event == AlarmEvent::Landing ? routes[std::size_t(r)]->to()
                                                                  : routes[std::size_t(r)]->from();
                at[DateTime::secondsOfDay(time)]
                    << f.alarms->describe(ShipAlarm{event, r, v}) + u'|' + port;
            }
        }
    }
    at[7 * 3600] << QStringLiteral("夜明け|");
    at[18 * 3600] << QStringLiteral("日暮れ|");
    const std::int64_t now = DateTime::secondsOfDay(f.clock.GameTime);
    std::vector<std::pair<std::int64_t, QString>> walked;
    for (std::int64_t s = 0; f.clock.realSecondsFor(s) <= 24 * 3600; ++s) {
        if (const auto found = at.find((now + s) % DateTime::SecsPerDay); found != at.end()) {
            for (const QString& e : found->second) {
                walked.emplace_back(s, e);
            }
        }
    }
    QStringList expected;
    for (const auto& [s, e] : walked) {
        expected << QString::number(s) + u'|' + e;
    }
    QStringList read = lines(ComingEvents::read(f.clock, *f.alarms, {}));
    // Moments that fall on one second come in either order.
    expected.sort();
    read.sort();
    QCOMPARE(read.size(), expected.size());
    QCOMPARE(read, expected);
    QVERIFY(read.size() > 2000);
}

// A port and kinds only filter the ships: the read of all, filtered by hand.
void TestComing::portsAndKinds() {
    Fixture f;
    const std::vector<ComingEvents::Event> all = ComingEvents::read(f.clock, *f.alarms, {});
    ComingEvents::Choice choice;
    choice.port = QStringLiteral("越後");
    choice.arrivals = false;
    choice.landings = false;
    std::vector<ComingEvents::Event> byHand;
    for (const ComingEvents::Event& e : all) {
        if (e.port.isEmpty() || (e.port == choice.port && e.alarm.event == AlarmEvent::Sailing)) {
            byHand.push_back(e);
        }
    }
    const std::vector<ComingEvents::Event> filtered =
        ComingEvents::read(f.clock, *f.alarms, choice);
    QCOMPARE(lines(filtered), lines(byHand));
    QVERIFY(filtered.size() > 48);
    for (std::size_t i = 1; i < all.size(); ++i) {
        QVERIFY(all[i - 1].realSeconds <= all[i].realSeconds);
    }
}

// One click on a row's アラーム ties an alarm to that moment; the list then shows it.
void TestComing::alarmFromARow() {
    Fixture f;
    TZEMForm10 window(f.clock, *f.alarms);
    QCOMPARE(window.windowTitle(), QStringLiteral("これからの予定"));
    auto* view = window.findChild<QTableView*>(QStringLiteral("viwEvents"));
    const int row = 5;
    const ComingEvents::Event chosen = window.model().at(row);
    window.show();
    QTest::mouseClick(
        view->viewport(), Qt::LeftButton, {},
        view->visualRect(window.model().index(row, ComingEventsModel::ColAlarm)).center());
    QCOMPARE(int(f.alarms->alarms().size()), 1);
    const ShipAlarm& set = f.alarms->alarms().front();
    QCOMPARE(f.alarms->describe(set), chosen.what);
    QCOMPARE(set.due, f.alarms->realMomentIn(chosen.gameSeconds));
    int shown = 0;
    for (int r = 0; r < window.model().rowCount(); ++r) {
        shown += window.model().at(r).isAlarm ? 1 : 0;
    }
    QCOMPARE(shown, 1);
}

// Second after second the rows are that second's read: the times left change in place and passed
// events leave at the top, so the row the player chose stays chosen. A filter makes them anew.
void TestComing::choiceKeptAsTimePasses() {
    Fixture f;
    TZEMForm10 window(f.clock, *f.alarms);
    auto* view = window.findChild<QTableView*>(QStringLiteral("viwEvents"));
    const ComingEvents::Event chosen = window.model().at(20);
    view->selectRow(20);
    QSignalSpy resets(&window.model(), &QAbstractItemModel::modelReset);
    QSignalSpy passed(&window.model(), &QAbstractItemModel::rowsRemoved);
    for (int second = 0; second < 300; ++second) {
        f.now.set(f.now.get() + 1.0 / 86400.0);
        f.clock.Tick();
        window.refresh();
        ComingEventsModel fresh;
        fresh.setEvents(ComingEvents::read(f.clock, *f.alarms, {}));
        QCOMPARE(shown(window.model()), shown(fresh));
        const QModelIndexList selected = view->selectionModel()->selectedRows();
        QCOMPARE(selected.size(), 1);
        const ComingEvents::Event& now = window.model().at(selected.front().row());
        QCOMPARE(now.what + now.gameTime, chosen.what + chosen.gameTime);
    }
    QCOMPARE(resets.size(), 0);
    QVERIFY(passed.size() > 0);

    window.findChild<QCheckBox*>(QStringLiteral("chkLanding"))->setChecked(false);
    QCOMPARE(resets.size(), 1);
    ComingEvents::Choice choice;
    choice.landings = false;
    ComingEventsModel fresh;
    fresh.setEvents(ComingEvents::read(f.clock, *f.alarms, choice));
    QCOMPARE(shown(window.model()), shown(fresh));
}

QTEST_MAIN(TestComing)
#include "tst_coming.moc"
