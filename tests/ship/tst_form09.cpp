// The journey planner window driven through its controls, on a stopped game clock.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>
#include <memory>

#include "common/TDateTime.h"
#include "common/WindowPlaces.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMTime.h"
#include "gametime/TZEMTimeConfig.h"
#include "ship/AlarmSchedule.h"
#include "ship/TZEMForm06.h"
#include "ship/TZEMForm09.h"
#include "support/Child.h"
#include "support/FixedNow.h"
#include "support/FlashNotes.h"
#include "support/MessageRecorder.h"
#include "support/StoppedClock.h"
#include "support/WindowChecks.h"

namespace {

struct Fixture : StoppedClock {
    MessageRecorder messages;
    std::unique_ptr<AlarmSchedule> alarms;
    std::unique_ptr<TZEMForm09> window;

    Fixture() : StoppedClock(DateTime::encodeDate(2026, 12, 8) + DateTime::encodeTime(20, 0, 0)) {
        clock.SetGameTime(DateTime::encodeTime(3, 0, 0));
        alarms = stoppedAlarms();
        window = std::make_unique<TZEMForm09>(clock, *alarms);
        window->Timer1Timer();
    }
    template <class T>
    T* child(const char* name) const {
        return ::child<T>(window.get(), QString::fromLatin1(name));
    }
    QTreeWidget* tree() const { return child<QTreeWidget>("viwJourneys"); }
    QTableWidget* list() const { return child<QTableWidget>("viwAlarms"); }
    QStringList row(QTreeWidgetItem* item) const {
        QStringList texts;
        for (int c = 0; c < item->columnCount(); ++c) {
            texts << item->text(c);
        }
        return texts;
    }
    void ports(const QString& from, const QString& to) {
        child<QComboBox>("selFrom")->setCurrentText(from);
        child<QComboBox>("selTo")->setCurrentText(to);
    }
};

}  // namespace

class TestForm09 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void journeysFromSadoToEtizen();
    void pairsWithoutShips_data();
    void pairsWithoutShips();
    void alarmOnAChosenShip();
    void alarmListSwitchesAndRemoves();
    void shipWindowMenuSetsAnAlarm();
    void alarmOnTheGameDay();
    void routeNamesShowWhole();
    void unknownPortsAndResizing();
};

// 03:00: the 佐渡 ship sails at 04:00 (151 real seconds), lands in 越後 at 05:40; the 越後 ship of
// 08:52 lands in 越前 at 10:32.
void TestForm09::journeysFromSadoToEtizen() {
    Fixture f;
    QCOMPARE(f.window->windowTitle(), QStringLiteral("航路案内"));
    QVERIFY(f.window->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(f.tree()->topLevelItemCount(), 3);
    QTreeWidgetItem* first = f.tree()->topLevelItem(0);
    QCOMPARE(f.row(first), (QStringList{"次の便", "", "", "04:00:00", "0:2:31", "10:32:00",
                                        "0:18:57", "所要 0:16:26"}));
    QCOMPARE(first->childCount(), 2);
    QCOMPARE(f.row(first->child(0)), (QStringList{"佐渡→越後", "01:34:00", "停泊中", "04:00:00",
                                                  "0:2:31", "05:40:00", "0:6:42", ""}));
    QCOMPARE(f.row(first->child(1)), (QStringList{"越後→越前", "06:30:00", "0:8:48", "08:52:00",
                                                  "0:14:45", "10:32:00", "0:18:57", "待ち 0:8:3"}));
    QCOMPARE(f.tree()->topLevelItem(1)->child(0)->text(3), QStringLiteral("12:00:00"));
    QCOMPARE(f.tree()->topLevelItem(2)->child(0)->text(3), QStringLiteral("20:00:00"));
    // The next second refreshes the times left, the rows stay.
    QTreeWidgetItem* kept = first->child(1);
    f.clock.Tick();
    f.window->Timer1Timer();
    QCOMPARE(f.tree()->topLevelItem(0)->child(1), kept);
    QCOMPARE(f.tree()->topLevelItem(0)->text(4), QStringLiteral("0:2:30"));
}

void TestForm09::pairsWithoutShips_data() {
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("message");
    QTest::newRow("no ships") << "駿河"
                              << "佐渡"
                              << "駿河 と 佐渡 を結ぶ航路はありません";
    QTest::newRow("same port") << "尾張"
                               << "尾張"
                               << "出発港と到着港が同じです";
}

void TestForm09::pairsWithoutShips() {
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(QString, message);
    Fixture f;
    f.ports(from, to);
    f.window->Timer1Timer();
    QCOMPARE(f.tree()->topLevelItemCount(), 0);
    QCOMPARE(f.child<QLabel>("viwNoRoute")->text(), message);
    QVERIFY(!f.child<QLabel>("viwNoRoute")->isHidden());
    QVERIFY(!f.child<QPushButton>("evtAlarmSailing")->isEnabled());
    f.ports(QStringLiteral("駿河"), QStringLiteral("摂津和泉"));
    QVERIFY(f.child<QLabel>("viwNoRoute")->isHidden());
    QCOMPARE(f.tree()->topLevelItem(0)->child(1)->text(0), QStringLiteral("尾張→摂津和泉"));
}

void TestForm09::alarmOnAChosenShip() {
    Fixture f;
    f.window->show();
    f.tree()->setCurrentItem(f.tree()->topLevelItem(0)->child(1));
    f.child<QSpinBox>("iptLead")->setValue(5);
    f.child<QPushButton>("evtAlarmSailing")->click();
    QCOMPARE(f.alarms->alarms().size(), std::size_t(1));
    const ShipAlarm& alarm = f.alarms->alarms().front();
    QCOMPARE(f.alarms->describe(alarm), QStringLiteral("越後→越前 08:52:00発の便 出航"));
    QCOMPARE(alarm.leadMinutes, 5);
    QVERIFY(!alarm.repeat);
    QCOMPARE(shownNote(f.window.get()),
             QStringLiteral("アラームを設定しました：越後→越前 08:52:00発の便 出航"));
    QTRY_COMPARE(f.list()->rowCount(), 1);
    QCOMPARE(f.list()->item(0, 1)->text(), f.alarms->describe(alarm));
    QCOMPARE(f.list()->item(0, 4)->text(), QStringLiteral("0:14:45"));
    // A journey row means its first ship.
    f.tree()->setCurrentItem(f.tree()->topLevelItem(1));
    f.child<QPushButton>("evtAlarmLanding")->click();
    QCOMPARE(f.alarms->describe(f.alarms->alarms().back()),
             QStringLiteral("佐渡→越後 12:00:00発の便 目的地到着"));
}

void TestForm09::alarmListSwitchesAndRemoves() {
    Fixture f;
    f.child<QPushButton>("evtAlarmDayNight")->click();
    f.child<QPushButton>("evtAlarmArrival")->click();
    QTRY_COMPARE(f.list()->rowCount(), 2);
    QCOMPARE(f.list()->item(0, 1)->text(), QStringLiteral("昼夜の切替"));
    f.list()->item(0, 0)->setCheckState(Qt::Unchecked);
    QVERIFY(!f.alarms->alarms().front().enabled);
    QTRY_COMPARE(f.list()->item(0, 4)->text(), QStringLiteral("オフ"));
    auto* repeat = qobject_cast<QComboBox*>(f.list()->cellWidget(1, 3));
    QCOMPARE(repeat->currentText(), QStringLiteral("一度だけ"));
    repeat->setCurrentIndex(1);
    QVERIFY(f.alarms->alarms().back().repeat);
    qobject_cast<QSpinBox*>(f.list()->cellWidget(1, 2))->setValue(60);
    QCOMPARE(f.alarms->alarms().back().leadMinutes, 60);
    f.list()->setCurrentCell(0, 1);
    f.child<QPushButton>("evtAlarmRemove")->click();
    QTRY_COMPARE(f.list()->rowCount(), 1);
    QCOMPARE(f.alarms->alarms().size(), std::size_t(1));
    QVERIFY(f.list()->item(0, 1)->text().endsWith(QStringLiteral("出発港到着")));
}

// From 03:00: a typed game time every day and a 刻 once from its list, with the row's own lead;
// a typed time that is no time says so and sets nothing.
void TestForm09::alarmOnTheGameDay() {
    Fixture f;
    f.window->show();
    auto* time = f.child<QLineEdit>("iptMomentTime");
    const auto set = [&](int kind, const QString& typed, int repeat) {
        f.child<QComboBox>("selMomentKind")->setCurrentIndex(kind);
        time->setCursorPosition(0);
        QTest::keyClicks(time, typed);
        f.child<QComboBox>("selKoku")->setCurrentIndex(6);
        f.child<QComboBox>("selMomentRepeat")->setCurrentIndex(repeat);
        f.child<QSpinBox>("iptMomentLead")->setValue(7);
        f.child<QPushButton>("evtAlarmMoment")->click();
    };
    set(0, QStringLiteral("2500"), 0);
    QCOMPARE(f.messages.errors, QStringList{QStringLiteral("'25:00' は時刻ではありません")});
    set(0, QStringLiteral("0215"), 1);
    set(1, QString(), 0);
    QVERIFY(!time->isVisible());
    QCOMPARE(shownNote(f.window.get()), QStringLiteral("アラームを設定しました：午の刻"));
    QTRY_COMPARE(f.list()->rowCount(), 2);
    QCOMPARE(f.list()->item(0, 1)->text() + f.list()->item(0, 4)->text(),
             "ゲーム時刻 02:150:58:31");
    QCOMPARE(f.list()->item(1, 1)->text() + f.list()->item(1, 4)->text(), "午の刻0:22:39");
    QCOMPARE(qobject_cast<QComboBox*>(f.list()->cellWidget(0, 3))->currentText(), "毎日");
    QVERIFY(f.alarms->alarms()[0].repeat && !f.alarms->alarms()[1].repeat);
    QCOMPARE(f.alarms->alarms()[1].leadMinutes, 7);
}

void TestForm09::shipWindowMenuSetsAnAlarm() {
    Fixture f;
    TZEMTimeConfig config(f.dir.path() + u'/');
    TZEMForm06 ship(f.clock, config, f.alarms.get());
    auto* sailing = ship.findChild<QAction*>(QStringLiteral("SetAlarmSailing"));
    QVERIFY(sailing);
    QVERIFY(ship.actions().contains(sailing));
    sailing->trigger();
    QCOMPARE(f.alarms->describe(f.alarms->alarms().front()), QStringLiteral("尾張→駿河 出航"));
    QCOMPARE(f.alarms->alarms().front().leadMinutes, 3);
}

// The longest route fits its column under its journey, and each route's tooltip is its name.
void TestForm09::routeNamesShowWhole() {
    Fixture f;
    f.ports(QStringLiteral("駿河"), QStringLiteral("摂津和泉"));
    QTreeWidgetItem* change = f.tree()->topLevelItem(0)->child(1);
    QCOMPARE(change->text(0), QStringLiteral("尾張→摂津和泉"));
    QCOMPARE(change->toolTip(0), change->text(0));
    // Past the indentation, the cell holds the text and the delegate's margins.
    QVERIFY(f.tree()->visualItemRect(change).width() >=
            f.tree()->fontMetrics().horizontalAdvance(change->text(0)) + 8);
    f.child<QPushButton>("evtAlarmDayNight")->click();
    QTRY_COMPARE(f.list()->rowCount(), 1);
    QCOMPARE(f.list()->item(0, 1)->toolTip(), f.list()->item(0, 1)->text());
}

// A port name that is no port (the controller test sees the ports remembered) gives that box
// its default; the window grows with its lists.
void TestForm09::unknownPortsAndResizing() {
    QTemporaryDir places;
    QFile ini(places.filePath(WindowPlaces::FileName));
    QVERIFY(ini.open(QIODevice::WriteOnly));
    ini.write("[TZEMForm09]\nFrom=東京\nTo=\x01\xff\n");
    ini.close();
    WindowPlaces remembered(places.path() + u'/');
    WindowPlaces::setShared(&remembered);
    Fixture f;
    WindowPlaces::setShared(nullptr);
    QCOMPARE(f.child<QComboBox>("selFrom")->currentText(), QStringLiteral("佐渡"));
    QCOMPARE(f.child<QComboBox>("selTo")->currentText(), QStringLiteral("越前"));
    QCOMPARE(WindowChecks::growthProblems(
                 f.window.get(), {"viwJourneys", "viwAlarms"},
                 {"evtAlarmSailing", "selFrom", "iptLead", "iptMomentTime", "evtAlarmMoment"}),
             QString());
}

QTEST_MAIN(TestForm09)
#include "tst_form09.moc"
