// The alarm schedule against a stopped game clock and a fixed real clock, both moved by hand:
// when an alarm rings, that it rings once, what a re-set clock or a gap between checks does,
// and TAMUAlarm.ini.
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "common/IniProfile.h"
#include "common/TDateTime.h"
#include "common/TZEMError.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMTime.h"
#include "ship/AlarmSchedule.h"
#include "support/Encoded.h"
#include "support/FixedNow.h"
#include "support/StoppedClock.h"

namespace {

constexpr int SadoToEtigo = 6;  // sails 04:00, 12:00, 20:00
constexpr TDateTime RealSecond = 1.0 / 86400.0;

TDateTime gameAt(int h, int m, int s = 0) {
    return DateTime::encodeTime(h, m, s);
}

struct Fixture : StoppedClock {
    std::unique_ptr<AlarmSchedule> schedule;
    QStringList rung;
    std::vector<std::int64_t> rungLeft;  // real ms left until the moment when it rang
    std::vector<TDateTime> rungAt;       // the game time when it rang

    Fixture() : StoppedClock(DateTime::encodeDate(2026, 12, 8) + DateTime::encodeTime(20, 0, 0)) {
        load();
    }
    void load() {
        schedule = stoppedAlarms();
        schedule->setRinger([this](const QString&, const QString& text) {
            rung << text;
            rungLeft.push_back(schedule->realMSecsLeft(schedule->alarms().front()));
            rungAt.push_back(clock.GameTime);
        });
    }
    int add(AlarmEvent event, int lead, bool repeat, int voyage = -1) {
        ShipAlarm a;
        a.event = event;
        a.route = SadoToEtigo;
        a.voyage = voyage;
        a.leadMinutes = lead;
        a.repeat = repeat;
        return schedule->add(a);
    }
    // An alarm on a game time (minutes of the game day) or on the start of a 刻.
    int addOnTheClock(AlarmEvent event, int value, int lead, bool repeat) {
        ShipAlarm a;
        a.event = event;
        (event == AlarmEvent::Koku ? a.koku : a.gameMinute) = value;
        a.leadMinutes = lead;
        a.repeat = repeat;
        return schedule->add(a);
    }
    // `seconds` real seconds, each with its tick and its check.
    void run(int seconds) {
        for (int i = 0; i < seconds; ++i) {
            now.set(now.get() + RealSecond);
            clock.Tick();
            schedule->check();
        }
    }
    const ShipAlarm& alarm() const { return schedule->alarms().front(); }
    QString fileName() const { return dir.path() + QStringLiteral("/TAMUAlarm.ini"); }
    void write(const QByteArray& bytes) const {
        QFile file(fileName());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray read() const {
        QFile file(fileName());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }
    QStringList described() const {
        QStringList all;
        for (const ShipAlarm& a : schedule->alarms()) {
            all << schedule->describe(a) + (a.enabled ? QString() : QStringLiteral(" (off)"));
        }
        return all;
    }
};

// A section of the file for an alarm on 佐渡→越後 (route 6), or with these keys.
QByteArray alarmSection(int n, const QByteArray& keys =
                                   "Event=sailing\nRoute=6\nVoyage=-1\n"
                                   "Lead=3\nRepeat=1\nEnabled=1\n") {
    return "[Alarm" + QByteArray::number(n) + "]\n" + keys;
}

}  // namespace

class TestAlarms : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void ringsOnceWhenTheLeadTimeIsReached_data();
    void ringsOnceWhenTheLeadTimeIsReached();
    void everyTimeRingsForEachMoment();
    void gapsBetweenChecks_data();
    void gapsBetweenChecks();
    void reSetClockMovesThePendingAlarm();
    void setInsideItsLeadRingsAtOnce_data();
    void setInsideItsLeadRingsAtOnce();
    void tiedToOneShip_data();
    void tiedToOneShip();
    void missedWhileClosed();
    void dayAndNight_data();
    void dayAndNight();
    void fileRoundTrip();
    void garbageInTheFileIsSkipped();
    void unwritableFolder();
    void saveChangesOnlyWhatChanged_data();
    void saveChangesOnlyWhatChanged();
    void switchedOnAgainForgetsTheOldMoment_data();
    void switchedOnAgainForgetsTheOldMoment();
    void unreadableAlarmIsKept();
    void countDoesNotLimitTheAlarms_data();
    void countDoesNotLimitTheAlarms();
    void thousandsOfAlarms();
    void previousVersionFileReadsUnchanged();
    void gameDayMomentsAtEverySecond_data();
    void gameDayMomentsAtEverySecond();
    void gameDayAlarmsRing_data();
    void gameDayAlarmsRing();
    void oldAndNewAlarmsInOneFile_data();
    void oldAndNewAlarmsInOneFile();
};

void TestAlarms::ringsOnceWhenTheLeadTimeIsReached_data() {
    QTest::addColumn<int>("event");
    QTest::addColumn<int>("lead");
    QTest::addColumn<int>("voyage");
    QTest::newRow("sailing, 3 min") << int(AlarmEvent::Sailing) << 3 << -1;
    QTest::newRow("sailing, at the moment") << int(AlarmEvent::Sailing) << 0 << -1;
    QTest::newRow("arrival, 1 min") << int(AlarmEvent::Arrival) << 1 << -1;
    QTest::newRow("landing of the 12:00 ship, 5 min") << int(AlarmEvent::Landing) << 5 << 1;
}

// Game time 01:00: the 04:00 sailing is 453 real seconds away, the arrival at 01:34 85 seconds,
// the 12:00 ship's landing (13:40) 1913 seconds.
void TestAlarms::ringsOnceWhenTheLeadTimeIsReached() {
    QFETCH(int, event);
    QFETCH(int, lead);
    QFETCH(int, voyage);
    Fixture f;
    f.clock.SetGameTime(gameAt(1, 0));
    QCOMPARE(f.add(AlarmEvent(event), lead, false, voyage), 0);
    const std::int64_t leadMSecs = lead * 60'000;
    // Up to the last second before the ringing time: silence.
    const std::int64_t before = (f.schedule->realMSecsLeft(f.alarm()) - leadMSecs) / 1000;
    f.run(int(before) - 1);
    QVERIFY(f.rung.isEmpty());
    QVERIFY(f.schedule->realMSecsLeft(f.alarm()) > leadMSecs);
    f.run(3);
    QCOMPARE(f.rung.size(), 1);
    if (lead > 0) {
        QVERIFY(f.rungLeft.front() <= leadMSecs);
        QVERIFY(f.rungLeft.front() > leadMSecs - 1000);
    } else {
        QVERIFY(f.rung.front().endsWith(QStringLiteral("の時刻です")));
    }
    QCOMPARE(f.alarm().outcome, ShipAlarm::Outcome::Rung);
    QVERIFY(!f.alarm().enabled);  // once
    f.run(4000);                  // more than a whole game day
    QCOMPARE(f.rung.size(), 1);
}

void TestAlarms::everyTimeRingsForEachMoment() {
    Fixture f;
    f.clock.SetGameTime(gameAt(3, 0));
    f.add(AlarmEvent::Sailing, 2, true);
    f.run(3625);  // a game day: 04:00, 12:00 and 20:00, each once
    QCOMPARE(f.rung.size(), 3);
    QCOMPARE(f.rung.front(), QStringLiteral("佐渡→越後 出航（04:00:00）まであと 2 分"));
    QVERIFY(f.rung.at(1).contains(QStringLiteral("12:00:00")));
    QVERIFY(f.alarm().enabled);
}

void TestAlarms::gapsBetweenChecks_data() {
    QTest::addColumn<int>("gap");  // real seconds without a check, the clock ticking on
    QTest::addColumn<bool>("rings");
    QTest::addColumn<bool>("repeat");
    // Ringing time 03:00 + 151 - 60 real seconds = 91 s after the start.
    for (const bool repeat : {true, false}) {
        const char* kind = repeat ? "every time" : "once";
        QTest::addRow("%s, ringing time passed 30 s ago", kind) << 121 << true << repeat;
        QTest::addRow("%s, passed 59 s ago", kind) << 150 << true << repeat;
        QTest::addRow("%s, passed 70 s ago", kind) << 161 << false << repeat;
        QTest::addRow("%s, the moment itself has passed", kind) << 400 << false << repeat;
    }
}

void TestAlarms::gapsBetweenChecks() {
    QFETCH(int, gap);
    QFETCH(bool, rings);
    QFETCH(bool, repeat);
    Fixture f;
    f.clock.SetGameTime(gameAt(3, 0));
    f.add(AlarmEvent::Sailing, 1, repeat);
    f.schedule->check();
    for (int i = 0; i < gap; ++i) {
        f.now.set(f.now.get() + RealSecond);
        f.clock.Tick();
    }
    f.schedule->check();
    f.run(5);
    QCOMPARE(f.rung.size(), rings ? 1 : 0);
    QCOMPARE(f.alarm().outcome, rings ? ShipAlarm::Outcome::Rung : ShipAlarm::Outcome::Missed);
    QCOMPARE(f.alarm().enabled, repeat);
    f.run(1300);  // the 12:00 sailing: only an alarm for every time hears of it
    QCOMPARE(f.rung.size(), (rings ? 1 : 0) + (repeat ? 1 : 0));
}

// The user sets the game clock while an alarm waits: it rings by the new time, never by the old.
void TestAlarms::reSetClockMovesThePendingAlarm() {
    Fixture f;
    f.clock.SetGameTime(gameAt(3, 0));
    f.add(AlarmEvent::Sailing, 1, false);
    f.run(30);
    f.clock.SetGameTime(gameAt(2, 0));  // the sailing is now 181 real seconds further away
    f.run(100);                         // the old ringing time (91 s) has gone by
    QVERIFY(f.rung.isEmpty());
    f.run(181);
    QCOMPARE(f.rung.size(), 1);
    QVERIFY(f.rungLeft.front() <= 60'000);
    QVERIFY(f.rungLeft.front() > 59'000);

    // Forward past the ringing time by more than a minute: missed, not rung.
    Fixture g;
    g.clock.SetGameTime(gameAt(2, 0));
    g.add(AlarmEvent::Sailing, 3, false);
    g.run(10);
    g.clock.SetGameTime(gameAt(3, 59));  // 2 real seconds before the sailing
    g.run(3);
    QVERIFY(g.rung.isEmpty());
    QCOMPARE(g.alarm().outcome, ShipAlarm::Outcome::Missed);
    QVERIFY(!g.alarm().enabled);
}

void TestAlarms::setInsideItsLeadRingsAtOnce_data() {
    QTest::addColumn<TDateTime>("game");
    QTest::addColumn<bool>("repeat");
    QTest::addColumn<QString>("text");
    // 03:50 is 25 real seconds before the 04:00 sailing, 03:13:30 1:57 before it.
    QTest::newRow("once, 25 s left") << gameAt(3, 50) << false << "あと 1 分";
    QTest::newRow("once, 1:57 left") << gameAt(3, 13, 30) << false << "あと 2 分";
    QTest::newRow("every time, 25 s left") << gameAt(3, 50) << true << "あと 1 分";
}

void TestAlarms::setInsideItsLeadRingsAtOnce() {
    QFETCH(TDateTime, game);
    QFETCH(bool, repeat);
    QFETCH(QString, text);
    Fixture f;
    f.clock.SetGameTime(game);
    f.add(AlarmEvent::Sailing, 3, repeat);
    f.run(1);
    QCOMPARE(f.rung.size(), 1);
    QVERIFY2(f.rung.front().contains(QStringLiteral("（04:00:00）まで") + text),
             qPrintable(f.rung[0]));
    QCOMPARE(f.alarm().outcome, ShipAlarm::Outcome::Rung);
    f.run(60);
    QCOMPARE(f.rung.size(), 1);
    f.run(1208);  // the 12:00 sailing
    QCOMPARE(f.rung.size(), repeat ? 2 : 1);
    QCOMPARE(f.alarm().enabled, repeat);
}

// An alarm that names its ship (航路案内 names the ship of a planned journey) waits for that
// ship alone: one that lies in port already is missed at once, one after tomorrow's rings for
// itself, not for tomorrow's.
void TestAlarms::tiedToOneShip_data() {
    QTest::addColumn<int>("event");
    QTest::addColumn<qint64>("gameSecondsAhead");
    QTest::addColumn<int>("ringsAfter");  // real seconds; -1 missed at once
    constexpr qint64 GameDay = 86'400;
    // Game time 02:00: the 04:00 ship came in at 01:34; the next comes in at 09:34, 1142.7 real
    // seconds away; the 04:00 sailing a game day later is 3926.5 real seconds away.
    QTest::newRow("the ship that came in at 01:34")
        << int(AlarmEvent::Arrival) << qint64(-26 * 60) << -1;
    QTest::newRow("the 04:00 sailing, a game day later")
        << int(AlarmEvent::Sailing) << 2 * 3600 + GameDay << 3926;
    QTest::newRow("the arrival at 09:34") << int(AlarmEvent::Arrival) << qint64(27'240) << 1142;
}

void TestAlarms::tiedToOneShip() {
    QFETCH(int, event);
    QFETCH(qint64, gameSecondsAhead);
    QFETCH(int, ringsAfter);
    Fixture f;
    f.clock.SetGameTime(gameAt(2, 0));
    ShipAlarm a;
    a.event = AlarmEvent(event);
    a.route = SadoToEtigo;
    a.leadMinutes = 0;
    a.due = f.schedule->realMomentIn(gameSecondsAhead);
    f.schedule->add(a);
    if (ringsAfter < 0) {
        f.run(1);
        QCOMPARE(f.alarm().outcome, ShipAlarm::Outcome::Missed);
        QVERIFY(!f.alarm().enabled);
        f.run(4000);
        QVERIFY(f.rung.isEmpty());
        return;
    }
    f.run(ringsAfter - 2);
    QVERIFY(f.rung.isEmpty());
    f.run(3);
    QCOMPARE(f.rung.size(), 1);
    QVERIFY(f.rung.front().endsWith(QStringLiteral("の時刻です")));
}

// A once-alarm keeps its ship across a restart: when the ship came while TAMU was closed, the
// alarm says it was missed instead of waiting for the next one.
void TestAlarms::missedWhileClosed() {
    Fixture f;
    f.clock.SetGameTime(gameAt(1, 0));
    f.add(AlarmEvent::Sailing, 3, false);  // the 04:00 sailing, 453 real seconds away
    f.run(1);
    const std::int64_t due = f.alarm().due;
    f.schedule->save();
    f.load();
    QVERIFY(std::llabs(f.alarm().due - due) <= 1);
    // Ten real minutes later; the clock starts again from its anchor.
    f.now.set(f.now.get() + 600 * RealSecond);
    f.clock.SetGameTime(DateTime::addMSecs(f.clock.GameTime, 600 * f.clock.GameMSecPerSec));
    f.schedule->check();
    QVERIFY(f.rung.isEmpty());
    QCOMPARE(f.alarm().outcome, ShipAlarm::Outcome::Missed);
    QVERIFY(!f.alarm().enabled);
}

void TestAlarms::dayAndNight_data() {
    QTest::addColumn<TDateTime>("game");
    QTest::addColumn<int>("which");
    QTest::addColumn<QString>("next");
    QTest::newRow("night, either") << gameAt(6, 59, 59) << -1 << "07:00:00";
    QTest::newRow("at dawn, either") << gameAt(7, 0) << -1 << "18:00:00";
    QTest::newRow("at dusk, either") << gameAt(18, 0) << -1 << "07:00:00";
    QTest::newRow("day, dawn only") << gameAt(12, 0) << 0 << "07:00:00";
}

void TestAlarms::dayAndNight() {
    QFETCH(TDateTime, game);
    QFETCH(int, which);
    QFETCH(QString, next);
    Fixture f;
    f.clock.SetGameTime(game);
    ShipAlarm a;
    a.event = AlarmEvent::DayNight;
    a.voyage = which;
    f.schedule->add(a);
    QCOMPARE(DateTime::formatLongTime(f.schedule->nextTime(f.alarm())), next);
}

void TestAlarms::fileRoundTrip() {
    Fixture f;
    f.add(AlarmEvent::Arrival, 0, true, 2);
    f.add(AlarmEvent::Landing, 60, false);
    ShipAlarm dayNight;
    dayNight.event = AlarmEvent::DayNight;
    dayNight.voyage = 1;
    dayNight.enabled = false;
    f.schedule->add(dayNight);
    f.schedule->save();
    f.load();
    const auto& alarms = f.schedule->alarms();
    QCOMPARE(alarms.size(), std::size_t(3));
    QCOMPARE(f.schedule->describe(alarms[0]),
             QStringLiteral("佐渡→越後 20:00:00発の便 出発港到着"));
    QCOMPARE(alarms[0].leadMinutes, 0);
    QVERIFY(alarms[0].repeat);
    QCOMPARE(f.schedule->describe(alarms[1]), QStringLiteral("佐渡→越後 目的地到着"));
    QCOMPARE(alarms[1].leadMinutes, 60);
    QCOMPARE(f.schedule->describe(alarms[2]), QStringLiteral("日暮れ"));
    QVERIFY(!alarms[2].enabled);
}

void TestAlarms::garbageInTheFileIsSkipped() {
    Fixture f;
    {
        QFile file(f.dir.path() + QStringLiteral("/TAMUAlarm.ini"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(
            "[Alarms]\nCount=7\n"
            "[Alarm1]\nEvent=sailing\nRoute=5\nVoyage=-1\nLead=3\nRepeat=0\nEnabled=1\n"
            "[Alarm2]\nEvent=sailing\nRoute=9\nVoyage=-1\nLead=3\nRepeat=0\nEnabled=1\n"
            "[Alarm3]\nEvent=boarding\nRoute=1\nVoyage=-1\nLead=3\nRepeat=0\nEnabled=1\n"
            "[Alarm4]\nEvent=landing\nRoute=4\nVoyage=3\nLead=3\nRepeat=0\nEnabled=1\n"
            "[Alarm5]\nEvent=landing\nRoute=1\nVoyage=5\nLead=61\nRepeat=0\nEnabled=1\n"
            "[Alarm6]\nEvent=arrival\nRoute=1\nVoyage=5\nLead=x\nRepeat=yes\nEnabled=1\n"
            "[Alarm7]\nEvent=DAYNIGHT\nVoyage=0\nLead=0x0A\nRepeat=1\nEnabled=0\n");
    }
    f.load();
    const auto& alarms = f.schedule->alarms();
    QCOMPARE(alarms.size(), std::size_t(2));
    QCOMPARE(f.schedule->describe(alarms[0]), QStringLiteral("越後→越前 出航"));
    QCOMPARE(f.schedule->describe(alarms[1]), QStringLiteral("夜明け"));
    QCOMPARE(alarms[1].leadMinutes, 10);
}

void TestAlarms::unwritableFolder() {
    FixedNow now(DateTime::encodeDate(2026, 12, 8));
    QTemporaryDir dir;
    TZEMTime clock;
    clock.Timer()->SetEnabled(false);
    AlarmSchedule schedule(clock, dir.path() + QStringLiteral("/missing/"));
    ShipAlarm a;
    a.event = AlarmEvent::DayNight;
    QCOMPARE(schedule.add(a), 0);
    try {
        schedule.save();
        QFAIL("saved into a missing folder");
    } catch (const TZEMError& e) {
        QVERIFY(e.message().endsWith(QStringLiteral("TAMUAlarm.ini に書き込めません")));
    }
}

void TestAlarms::saveChangesOnlyWhatChanged_data() {
    QTest::addColumn<QByteArray>("encoding");  // of QStringEncoder; empty: UTF-8 without a mark
    QTest::addColumn<QByteArray>("mark");
    QTest::addColumn<QByteArray>("newline");
    QTest::newRow("UTF-8, LF") << QByteArray() << QByteArray() << QByteArray("\n");
    QTest::newRow("UTF-8 with a mark, CRLF")
        << QByteArray() << QByteArray("\xEF\xBB\xBF") << QByteArray("\r\n");
    QTest::newRow("Shift-JIS, CRLF")
        << QByteArray("windows-31j") << QByteArray() << QByteArray("\r\n");
    QTest::newRow("UTF-16 LE, CRLF")
        << QByteArray("UTF-16LE") << QByteArray("\xFF\xFE") << QByteArray("\r\n");
}

// Switching one alarm off and removing another changes those lines alone: comments, a section of
// the user's own, spacing and the file's encoding and line ends stay.
void TestAlarms::saveChangesOnlyWhatChanged() {
    QFETCH(QByteArray, encoding);
    QFETCH(QByteArray, mark);
    QFETCH(QByteArray, newline);
    const auto bytesOf = [&](QString text) {
        text.replace(u'\n', QString::fromLatin1(newline));
        return encoding.isEmpty() ? mark + text.toUtf8()
                                  : encoded(encoding.constData(), text, mark);
    };
    const QString head = QStringLiteral(
        "; 航路案内のアラーム（手で書いた注釈）\n"
        "[Alarms]\nCount=3\n\n"
        "[Alarm1]\nEvent=sailing\nRoute=6\nVoyage=-1\nLead = 3\nRepeat=1\nEnabled=1\n\n");
    const QString second = QStringLiteral(
        "[Alarm2]\nEvent=arrival\nRoute=6\nVoyage=-1\nLead=5\nRepeat=1\nEnabled=1\n");
    const QString tail = QStringLiteral(
        "[Alarm3]\n; 夜明け\nEvent=daynight\nVoyage=0\nLead=0x0A\nRepeat=1\nEnabled=1\n"
        "[メモ]\n港=越後");  // no line end after the last line
    Fixture f;
    f.write(bytesOf(head + second + tail));
    f.load();
    QCOMPARE(f.described(),
             (QStringList{QStringLiteral("佐渡→越後 出航"), QStringLiteral("佐渡→越後 出発港到着"),
                          QStringLiteral("夜明け")}));
    f.schedule->save();  // nothing changed: nothing written
    QCOMPARE(f.read(), bytesOf(head + second + tail));
    f.schedule->setEnabled(0, false);
    f.schedule->remove(1);
    f.schedule->save();
    QString expected = head + tail;
    expected.replace(QStringLiteral("Repeat=1\nEnabled=1\n\n"),
                     QStringLiteral("Repeat=1\nEnabled=0\n\n"));
    QCOMPARE(f.read(), bytesOf(expected));
    f.load();
    QCOMPARE(f.described(),
             (QStringList{QStringLiteral("佐渡→越後 出航 (off)"), QStringLiteral("夜明け")}));
}

void TestAlarms::switchedOnAgainForgetsTheOldMoment_data() {
    QTest::addColumn<QByteArray>("keys");
    QTest::newRow("once, switched off")
        << QByteArray("Event=sailing\nRoute=6\nVoyage=-1\nLead=3\nRepeat=0\nEnabled=0\n");
    QTest::newRow("every time") << QByteArray(
        "Event=sailing\nRoute=6\nVoyage=-1\nLead=3\nRepeat=1\nEnabled=1\n");
}

// A moment a once-alarm waited for before it was switched off (or made to ring every time) is
// not read; when it waits once again it is tied afresh, and the old moment does not come back
// from the file either.
void TestAlarms::switchedOnAgainForgetsTheOldMoment() {
    QFETCH(QByteArray, keys);
    Fixture f;
    f.write(alarmSection(1, keys + "Due=2026-12-01T00:00:00.000Z\n"));
    f.load();
    QCOMPARE(f.alarm().due, std::int64_t{0});
    f.schedule->setEnabled(0, true);
    f.schedule->setRepeat(0, false);
    f.schedule->save();
    QVERIFY2(!f.read().contains("Due=2026-12-01"), f.read().constData());
    f.load();
    QCOMPARE(f.alarm().due, std::int64_t{0});
    QVERIFY(f.alarm().enabled && !f.alarm().repeat);
}

// An alarm the program cannot read (a value out of range, an unknown event, a route of a newer
// version) is not shown and its lines stay as they are, through saves of the others.
void TestAlarms::unreadableAlarmIsKept() {
    Fixture f;
    const QByteArray odd = alarmSection(2,
                                        "Event=sailing\nRoute=6\nVoyage=-1\nLead=90\n"
                                        "Repeat=1\nEnabled=1\n; 90 分前\n");
    const QByteArray unknown = alarmSection(4, "Event=boarding\nRoute=1\nLead=3\n");
    f.write("[Alarms]\nCount=4\n" + alarmSection(1) + odd + alarmSection(3) + unknown);
    f.load();
    QCOMPARE(f.schedule->alarms().size(), std::size_t(2));
    f.schedule->remove(0);
    ShipAlarm dayNight;
    dayNight.event = AlarmEvent::DayNight;
    f.schedule->add(dayNight);
    f.schedule->save();
    QCOMPARE(f.read(), "[Alarms]\nCount=5\n" + odd + alarmSection(3) + unknown +
                           "[Alarm5]\nEvent=daynight\nVoyage=-1\nLead=3\nRepeat=0\nEnabled=1\n");
    f.load();
    QCOMPARE(f.described(),
             (QStringList{QStringLiteral("佐渡→越後 出航"), QStringLiteral("昼夜の切替")}));
}

void TestAlarms::countDoesNotLimitTheAlarms_data() {
    QTest::addColumn<QByteArray>("list");  // the [Alarms] section, or nothing
    QTest::newRow("no count") << QByteArray();
    QTest::newRow("count not a number") << QByteArray("[Alarms]\nCount=drei\n");
    QTest::newRow("count 0") << QByteArray("[Alarms]\nCount=0\n");
    QTest::newRow("count 1 of 3") << QByteArray("[Alarms]\nCount=1\n");
    QTest::newRow("negative count") << QByteArray("[Alarms]\nCount=-5\n");
}

// Whatever the count says, every [Alarm<n>] section loads, in the order of n, also after a gap;
// a save keeps them all and sets the count to the highest n.
void TestAlarms::countDoesNotLimitTheAlarms() {
    QFETCH(QByteArray, list);
    Fixture f;
    const QByteArray daynight = "Event=daynight\nVoyage=1\nLead=1\nRepeat=1\nEnabled=1\n";
    const QByteArray alarms = alarmSection(3) + alarmSection(1, daynight) +
                              alarmSection(7,
                                           "Event=landing\nRoute=6\nVoyage=0\nLead=2\n"
                                           "Repeat=1\nEnabled=0\n");
    f.write(list + alarms);
    f.load();
    const QStringList expected{QStringLiteral("日暮れ"), QStringLiteral("佐渡→越後 出航"),
                               QStringLiteral("佐渡→越後 04:00:00発の便 目的地到着 (off)")};
    QCOMPARE(f.described(), expected);
    f.schedule->save();
    const QByteArray count = "[Alarms]\nCount=7\n";
    QCOMPARE(f.read(), list.isEmpty() ? alarms + count : count + alarms);
    f.load();
    QCOMPARE(f.described(), expected);
}

// The list has no cap of 100: 4,000 alarms load, in their order, and stay; a file that large
// is read in one pass (it took seconds when every key read the file again).
void TestAlarms::thousandsOfAlarms() {
    Fixture f;
    QByteArray file = "[Alarms]\nCount=4000\n";
    for (int n = 1; n <= 4000; ++n) {
        file += alarmSection(n, "Event=sailing\nRoute=6\nVoyage=" + QByteArray::number(n % 3) +
                                    "\nLead=" + QByteArray::number(n % 61) +
                                    "\nRepeat=1\nEnabled=1\n; " + QByteArray(40, 'x') + "\n");
    }
    QVERIFY(file.size() > 400'000 && file.size() < IniProfile::MaxFileBytes);
    f.write(file);
    QElapsedTimer timer;
    timer.start();
    f.load();
    const qint64 loadMSecs = timer.elapsed();
    const auto& alarms = f.schedule->alarms();
    QCOMPARE(alarms.size(), std::size_t(4000));
    for (int n = 1; n <= 4000; n += 333) {
        QCOMPARE(alarms[std::size_t(n - 1)].leadMinutes, n % 61);
        QCOMPARE(alarms[std::size_t(n - 1)].voyage, n % 3);
    }
    QVERIFY2(loadMSecs < 500, qPrintable(QString::number(loadMSecs)));
    qInfo("load %lld ms", loadMSecs);

    // One more, and one switched off: two sections touched, the others kept as they were.
    QCOMPARE(f.add(AlarmEvent::Arrival, 1, true), 4000);
    f.schedule->setEnabled(1999, false);
    timer.restart();
    f.schedule->save();
    QVERIFY2(timer.elapsed() < 500, qPrintable(QString::number(timer.elapsed())));
    qInfo("save %lld ms", timer.elapsed());
    file.replace("[Alarms]\nCount=4000\n", "[Alarms]\nCount=4001\n");
    const QByteArray on2000 = alarmSection(2000,
                                           "Event=sailing\nRoute=6\nVoyage=2\nLead=48\n"
                                           "Repeat=1\nEnabled=1\n");
    QVERIFY(file.contains(on2000));
    file.replace(on2000, QByteArray(on2000).replace("Enabled=1", "Enabled=0"));
    file += "[Alarm4001]\nEvent=arrival\nRoute=6\nVoyage=-1\nLead=1\nRepeat=1\nEnabled=1\n";
    QCOMPARE(f.read(), file);
    f.load();
    QCOMPARE(f.schedule->alarms().size(), std::size_t(4001));
}

// A file as the previous version wrote it reads as it did and is left alone by a save.
void TestAlarms::previousVersionFileReadsUnchanged() {
    Fixture f;
    f.clock.SetGameTime(gameAt(1, 0));
    const QByteArray file =
        "[Alarms]\nCount=3\n"
        "[Alarm1]\nEvent=arrival\nRoute=6\nVoyage=2\nLead=0\nRepeat=1\nEnabled=1\n"
        "[Alarm2]\nEvent=sailing\nRoute=6\nVoyage=-1\nLead=3\nRepeat=0\nEnabled=1\n"
        "Due=2026-12-08T11:07:33.000Z\n"
        "[Alarm3]\nEvent=daynight\nVoyage=1\nLead=5\nRepeat=0\nEnabled=0\n";
    f.write(file);
    f.load();
    QCOMPARE(f.described(),
             (QStringList{QStringLiteral("佐渡→越後 20:00:00発の便 出発港到着"),
                          QStringLiteral("佐渡→越後 出航"), QStringLiteral("日暮れ (off)")}));
    const ShipAlarm& tied = f.schedule->alarms()[1];
    QCOMPARE(DateTime::toQDateTime(DateTime::addMSecs(0, tied.due)).toUTC(),
             QDateTime(QDate(2026, 12, 8), QTime(11, 7, 33), Qt::UTC));
    f.schedule->save();
    QCOMPARE(f.read(), file);
    // Once it has rung it is off, and its tie goes.
    f.schedule->setEnabled(1, false);
    f.schedule->save();
    QCOMPARE(f.read(),
             QByteArray(file).replace("Enabled=1\nDue=2026-12-08T11:07:33.000Z\n", "Enabled=0\n"));
}

const QString KokuNames = QStringLiteral("子丑寅卯辰巳午未申酉戌亥");

void TestAlarms::gameDayMomentsAtEverySecond_data() {
    QTest::addColumn<int>("koku");  // -1: the game time 23:59
    for (int k = -1; k < 12; ++k) {
        QTest::addRow("%d", k) << k;
    }
}

// At every game second of a day (a late game day, 0.7 s into the second) against a walk back
// from the second the clock shows 23:59:00 (or first shows the 刻): the next moment, and the real
// seconds left as the clock's time-left text counts them.
void TestAlarms::gameDayMomentsAtEverySecond() {
    QFETCH(int, koku);
    Fixture f;
    f.addOnTheClock(koku < 0 ? AlarmEvent::GameTime : AlarmEvent::Koku, koku < 0 ? 1439 : koku, 0,
                    true);
    const auto shows = [&](int s) {
        f.clock.GameTime = DateTime::addMSecs(0, (s + 86'400) % 86'400 * 1000LL);
        return koku < 0 ? DateTime::formatLongTime(f.clock.GameTime) == QStringLiteral("23:59:00")
                        : f.clock.GetKoku() == KokuNames.mid(koku, 1);
    };
    std::vector<int> steps(86'400);
    for (int i = 2 * 86'400 - 1, next = 0; i >= 0; --i) {
        next = shows(i % 86'400) && (koku < 0 || !shows(i % 86'400 - 1)) ? i : next;
        steps[std::size_t(i % 86'400)] = next - i;  // the first day's walk writes last
    }
    for (int s = 0; s < 86'400; ++s) {
        f.clock.GameTime = DateTime::addMSecs(40'000, s * 1000LL + 700);
        const int next = int(DateTime::secondsOfDay(f.schedule->nextTime(f.alarm())));
        const int left = int(f.schedule->realMSecsLeft(f.alarm()) / 1000);
        const int step = steps[std::size_t(s)];
        if (next != (s + step) % 86'400 || left != step * 1000 / 23'838) {
            QFAIL(
                qPrintable(QStringLiteral("at %1 s: %2 s, %3 s left").arg(s).arg(next).arg(left)));
        }
    }
}

void TestAlarms::gameDayAlarmsRing_data() {
    QTest::addColumn<QString>("at");  // a 刻 or a game time
    QTest::addColumn<int>("lead");
    QTest::addColumn<bool>("repeat");
    QTest::addColumn<TDateTime>("start");
    QTest::addColumn<TDateTime>("resetTo");  // the clock set 10 real seconds in; -1 not
    QTest::addColumn<int>("firstAfter");     // real seconds; -1 missed
    QTest::addColumn<int>("rings");          // in 7200 real seconds, 2 game days less 20 minutes
    QTest::addColumn<QString>("text");
    // A game hour is 151 real seconds, a game day 3624.5.
    QTest::newRow("午, every day")
        << "午" << 0 << true << gameAt(11, 0) << -1.0 << 151 << 2 << "午の刻になりました";
    QTest::newRow("午, every day, 2 min before") << "午" << 2 << true << gameAt(11, 0) << -1.0 << 31
                                                 << 2 << "午の刻（12:00:00）まであと 2 分";
    QTest::newRow("午, once, set at its second")
        << "午" << 0 << false << gameAt(12, 0) << -1.0 << 0 << 1 << "午の刻になりました";
    QTest::newRow("午, every day, set during it")
        << "午" << 0 << true << gameAt(12, 0, 30) << -1.0 << 3623 << 1 << "午の刻になりました";
    QTest::newRow("00:10 from 23:50, once") << "00:10" << 0 << false << gameAt(23, 50) << -1.0 << 50
                                            << 1 << "ゲーム時刻 00:10 になりました";
    QTest::newRow("14:30, set an hour back, once")
        << "14:30" << 1 << false << gameAt(14, 0) << gameAt(13, 0) << 176 << 1
        << "ゲーム時刻 14:30 まであと 1 分";
    QTest::newRow("01:00, set forward across midnight, every day")
        << "01:00" << 0 << true << gameAt(22, 0) << gameAt(0, 59) << 13 << 2
        << "ゲーム時刻 01:00 になりました";
    // Set back from 00:30 to 23:58: the once-alarm keeps the 23:59 it waited for, a game day on.
    QTest::newRow("23:59, set back across midnight, once")
        << "23:59" << 0 << false << gameAt(0, 30) << gameAt(23, 58) << 3637 << 1
        << "ゲーム時刻 23:59 になりました";
    QTest::newRow("14:30, set half an hour past it, once")
        << "14:30" << 0 << false << gameAt(14, 0) << gameAt(15, 0) << -1 << 0 << "";
}

// Each moment rings once, within its lead of the time (never again while a 刻 lasts), by the
// game clock as it is set.
void TestAlarms::gameDayAlarmsRing() {
    QFETCH(QString, at);
    QFETCH(int, lead);
    QFETCH(bool, repeat);
    QFETCH(TDateTime, start);
    QFETCH(TDateTime, resetTo);
    QFETCH(int, firstAfter);
    QFETCH(int, rings);
    QFETCH(QString, text);
    Fixture f;
    f.clock.SetGameTime(start);
    const int koku = KokuNames.indexOf(at);
    const int second =
        koku >= 0 ? koku * 7200 : int(DateTime::secondsOfDay(*DateTime::parseTime(at)));
    f.addOnTheClock(koku >= 0 ? AlarmEvent::Koku : AlarmEvent::GameTime,
                    koku >= 0 ? koku : second / 60, lead, repeat);
    f.schedule->check();
    int first = f.rung.isEmpty() ? -1 : 0;
    for (int t = 1; t <= 7200; ++t) {
        f.clock.SetGameTime(t == 10 && resetTo >= 0 ? resetTo : f.clock.GameTime);
        f.run(1);
        first = first < 0 && !f.rung.isEmpty() ? t : first;
    }
    QCOMPARE(f.rung.size(), rings);
    QCOMPARE(f.alarm().outcome, rings ? ShipAlarm::Outcome::Rung : ShipAlarm::Outcome::Missed);
    QVERIFY2(std::abs(first - firstAfter) <= 1, qPrintable(QString::number(first)));
    QCOMPARE(f.rung.value(0), text);
    for (const TDateTime rang : f.rungAt) {
        const auto offset = (DateTime::secondsOfDay(rang) - second + 129'600) % 86'400 - 43'200;
        QVERIFY(offset >= -(lead * 60 * 23'838LL / 1000) - 24 && offset <= 24);
    }
}

void TestAlarms::oldAndNewAlarmsInOneFile_data() {
    QTest::addColumn<QByteArray>("keys");
    QTest::addColumn<QString>("loadsAs");  // empty: not shown, kept
    const QByteArray t = "\nLead=3\nRepeat=1\nEnabled=1\n";
    QTest::newRow("read") << "Event=gametime\nTime=6:05\nSound=bell" + t << "ゲーム時刻 06:05";
    QTest::newRow("hex 刻") << "Event = KOKU\nkoku=0x3" + t << "卯の刻";
    for (const char* bad :
         {"gametime\nTime=24:00", "gametime\nTime=14:60", "gametime\nTime=14:30:15",
          "gametime\nTime=noon", "gametime\nKoku=5", "koku\nKoku=12", "koku\nKoku=-1",
          "koku\nKoku=午", "koku\nTime=12:00", "moonrise\nTime=05:00"}) {
        QTest::addRow("%s", QByteArray(bad).replace('\n', ' ').constData())
            << "Event=" + QByteArray(bad) + t << "";
    }
}

// The new kinds beside a previous version's alarms: adding and saving changes no old section, an
// unreadable one (or of a later version) stays as it is, and all read back as they were set.
void TestAlarms::oldAndNewAlarmsInOneFile() {
    QFETCH(QByteArray, keys);
    QFETCH(QString, loadsAs);
    Fixture f;
    f.clock.SetGameTime(gameAt(1, 0));
    const QByteArray old =
        "[Alarms]\nCount=3\n" + alarmSection(1) + alarmSection(2, keys) +
        alarmSection(3, "Event=daynight\nVoyage=1\nLead=5\nRepeat=0\nEnabled=0\n");
    f.write(old);
    f.load();
    f.addOnTheClock(AlarmEvent::GameTime, 870, 5, true);
    f.addOnTheClock(AlarmEvent::Koku, 11, 30, false);
    f.schedule->save();
    QCOMPARE(f.read(), QByteArray(old).replace("Count=3", "Count=5") +
                           "[Alarm4]\nEvent=gametime\nTime=14:30\nLead=5\nRepeat=1\nEnabled=1\n"
                           "[Alarm5]\nEvent=koku\nKoku=11\nLead=30\nRepeat=0\nEnabled=1\n");
    f.schedule->check();  // 亥 once, tied
    const std::int64_t due = f.schedule->alarms().back().due;
    f.schedule->save();
    f.load();
    QStringList all{QStringLiteral("佐渡→越後 出航"), loadsAs, QStringLiteral("日暮れ (off)"),
                    QStringLiteral("ゲーム時刻 14:30"), QStringLiteral("亥の刻")};
    all.removeAll(QString());
    QCOMPARE(f.described(), all);
    QVERIFY(due > 0 && std::llabs(f.schedule->alarms().back().due - due) <= 1);
}

QTEST_GUILESS_MAIN(TestAlarms)
#include "tst_alarms.moc"
