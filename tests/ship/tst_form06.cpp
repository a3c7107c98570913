// The ship timetable window driven through its controls with a stopped game clock.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "common/IniProfile.h"
#include "common/RealClock.h"
#include "common/TDateTime.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMTime.h"
#include "gametime/TZEMTimeConfig.h"
#include "ship/TZEMForm06.h"
#include "support/Child.h"
#include "support/FixedNow.h"
#include "support/FlashNotes.h"
#include "support/MessageRecorder.h"
#include "support/StoppedClock.h"

namespace {

TDateTime time(const char* text) {
    return DateTime::parseTime(QString::fromLatin1(text)).value();
}

const TDateTime SettingMoment =
    DateTime::encodeDate(2026, 12, 6) + DateTime::encodeTime(19, 0, 5, 250);

const QStringList NextTimeLabels = {"viwArTime", "viwArLast", "viwLeTime",
                                    "viwLeLast", "viwDaTime", "viwDaLast"};

QStringList timetableLabels() {
    QStringList names;
    for (int row = 1; row <= 6; ++row) {
        for (const char* column : {"viwSpArr0", "viwSpLea0", "viwSpGen0"}) {
            names << QString::fromLatin1(column) + QString::number(row);
        }
    }
    return names;
}

// A window on a game clock whose own ticks are off, with the clock state in a temporary folder.
struct Fixture : StoppedClock {
    MessageRecorder messages;
    std::unique_ptr<TZEMTimeConfig> config;
    std::unique_ptr<TZEMForm06> window;

    Fixture() : StoppedClock(SettingMoment) {
        config = std::make_unique<TZEMTimeConfig>(folder());
        window = std::make_unique<TZEMForm06>(clock, *config);
    }

    template <class T>
    T* child(const QString& name) const {
        return ::child<T>(window.get(), name);
    }
    QString text(const QString& name) const { return child<QLabel>(name)->text(); }
    QComboBox* selShip() const { return child<QComboBox>(QStringLiteral("selShip")); }
    QLineEdit* iptTime() const { return child<QLineEdit>(QStringLiteral("iptTime")); }
    QStringList texts(const QStringList& names) const {
        QStringList result;
        for (const QString& name : names) {
            result << text(name);
        }
        return result;
    }
    void tickAt(TDateTime gameTime) {
        clock.GameTime = gameTime;
        window->Timer1Timer();
    }
    void type(const QString& digits) {
        QLineEdit* edit = iptTime();
        edit->setFocus();
        edit->home(false);
        QTest::keyClicks(edit, digits);
    }
};

}  // namespace

class TestForm06 : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void window();
    void routeItems_data();
    void routeItems();
    void firstTickBeforeSelection();
    void nextTimes_data();
    void nextTimes();
    void threeThenSixVoyages();
    void portSelectorsChangeNothingElse();
    void typedTextNamingNoRoute();
    void setClock_data();
    void setClock();
    void setClockReachesTheFile();
    void enterInTimeFieldSets_data();
    void enterInTimeFieldSets();
    void anchorReadsNowOnce();
    void timerRefreshesEverySecond();
};

void TestForm06::window() {
    Fixture f;
    QCOMPARE(f.window->windowTitle(), QStringLiteral("船発着時刻表"));
    QCOMPARE(f.window->size(), QSize(413, 422));
    QVERIFY(f.window->testAttribute(Qt::WA_DeleteOnClose));
    QCOMPARE(f.window->selectedIndex(), 0);
    QCOMPARE(f.selShip()->currentIndex(), -1);
    QCOMPARE(f.selShip()->currentText(), QString());
    QCOMPARE(f.iptTime()->displayText(), QStringLiteral("00:00:00"));
    QVERIFY(f.child<QPushButton>(QStringLiteral("btnResetTime"))->isDefault());
    QVERIFY(f.child<QLabel>(QStringLiteral("viwState"))->isHidden());
    QCOMPARE(f.child<QTimer>(QStringLiteral("Timer1"))->interval(), 1000);

    // The route selector covers the port selectors and the arrow.
    f.window->show();
    for (const QPoint& p : {QPoint(100, 130), QPoint(190, 130), QPoint(250, 130)}) {
        QWidget* top = f.window->childAt(p);
        QVERIFY(top == f.selShip() || f.selShip()->isAncestorOf(top));
    }

    // Tab order.
    QStringList chain;
    QWidget* w = f.selShip();
    for (int i = 0; i < 5; ++i) {
        chain << w->objectName();
        do {
            w = w->nextInFocusChain();
        } while (w->focusPolicy() == Qt::NoFocus || w->objectName().isEmpty());
    }
    QCOMPARE(chain,
             QStringList({"selShip", "iptTime", "btnResetTime", "selShipStart", "selShipEnd"}));
}

void TestForm06::routeItems_data() {
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QStringList>("row1");
    QTest::addColumn<bool>("sixRows");

    QTest::newRow("尾張→駿河") << 0 << "尾張　　　 → 　駿河"
                               << QStringList{"22:15:00", "00:00:00", "02:30:00"} << true;
    QTest::newRow("尾張→摂津和泉") << 1 << "尾張　　　 → 　摂津和泉"
                                   << QStringList{"21:54:00", "00:00:00", "02:04:00"} << true;
    QTest::newRow("駿河→尾張") << 2 << "駿河　　　 → 　尾張"
                               << QStringList{"22:30:00", "00:00:00", "02:15:00"} << true;
    QTest::newRow("摂津和泉→尾張")
        << 3 << "摂津和泉　 → 　尾張" << QStringList{"22:04:00", "00:00:00", "01:54:00"} << true;
    QTest::newRow("越後→佐渡") << 4 << "越後　　　 → 　佐渡"
                               << QStringList{"21:40:00", "00:00:00", "01:34:00"} << false;
    QTest::newRow("越後→越前") << 5 << "越後　　　 → 　越前"
                               << QStringList{"22:30:00", "00:52:00", "02:32:00"} << true;
    QTest::newRow("佐渡→越後") << 6 << "佐渡　　　 → 　越後"
                               << QStringList{"01:34:00", "04:00:00", "05:40:00"} << false;
    QTest::newRow("越前→越後") << 7 << "越前　　　 → 　越後"
                               << QStringList{"21:40:00", "00:00:00", "01:13:00"} << true;
}

void TestForm06::routeItems() {
    QFETCH(int, index);
    QFETCH(QString, item);
    QFETCH(QStringList, row1);
    QFETCH(bool, sixRows);
    Fixture f;
    QCOMPARE(f.selShip()->count(), 8);
    QCOMPARE(f.selShip()->itemText(index), item);
    f.selShip()->setCurrentIndex(index);
    QCOMPARE(f.window->selectedIndex(), index);
    QCOMPARE(f.texts({"viwSpArr01", "viwSpLea01", "viwSpGen01"}), row1);
    for (const char* name : {"viwSpArr04", "viwSpLea05", "viwSpGen06"}) {
        QCOMPARE(!f.child<QLabel>(QString::fromLatin1(name))->isHidden(), sixRows);
    }
}

void TestForm06::firstTickBeforeSelection() {
    Fixture f;
    f.tickAt(time("23:00:00"));
    QCOMPARE(f.text("viwZEMTime"), QStringLiteral("23:00:00"));
    QCOMPARE(f.child<QLineEdit>(QStringLiteral("viwKoku"))->text(), QStringLiteral("亥"));
    // 尾張→駿河 from the first tick, while the timetable keeps its placeholders.
    QCOMPARE(f.texts({"viwArTime", "viwLeTime", "viwDaTime", "viwLeLast"}),
             QStringList({"02:15:00", "00:00:00", "02:30:00", "0:2:31"}));
    for (const QString& name : timetableLabels()) {
        QCOMPARE(f.text(name), QStringLiteral("00:00:00"));
        QVERIFY(!f.child<QLabel>(name)->isHidden());
    }
    QCOMPARE(f.selShip()->currentIndex(), -1);
}

void TestForm06::nextTimes_data() {
    QTest::addColumn<int>("route");
    QTest::addColumn<double>("gameTime");
    QTest::addColumn<QStringList>("shown");  // the six next-time labels
    QTest::addColumn<QString>("state");

    QTest::newRow("尾張→駿河 23:00")
        << 0 << time("23:00:00")
        << QStringList{"02:15:00", "0:8:10", "00:00:00", "0:2:31", "02:30:00", "0:8:48"}
        << "停泊中";
    QTest::newRow("尾張→駿河 exactly at a sailing")
        << 0 << time("04:00:00")
        << QStringList{"06:15:00", "0:5:39", "08:00:00", "0:10:4", "06:30:00", "0:6:17"}
        << "航行中";
    QTest::newRow("越前→越後 at the evening arrival")
        << 7 << time("21:40:00")
        << QStringList{"02:32:00", "0:12:14", "00:00:00", "0:5:52", "22:30:00", "0:2:5"}
        << "停泊中";
    QTest::newRow("越後→佐渡 between voyages")
        << 4 << time("03:00:00")
        << QStringList{"05:40:00", "0:6:42", "08:00:00", "0:12:35", "09:34:00", "0:16:31"}
        << "到着待ち";
}

void TestForm06::nextTimes() {
    QFETCH(int, route);
    QFETCH(double, gameTime);
    QFETCH(QStringList, shown);
    QFETCH(QString, state);
    Fixture f;
    f.selShip()->setCurrentIndex(route);
    f.tickAt(gameTime);
    QCOMPARE(f.texts(NextTimeLabels), shown);
    QCOMPARE(f.text("viwState"), state);
    QVERIFY(f.child<QLabel>(QStringLiteral("viwState"))->isHidden());
    QVERIFY(f.messages.errors.isEmpty());
}

void TestForm06::threeThenSixVoyages() {
    Fixture f;
    f.selShip()->setCurrentIndex(0);
    const QStringList row4 = {"viwSpArr04", "viwSpLea04", "viwSpGen04"};
    const QStringList row6 = {"viwSpArr06", "viwSpLea06", "viwSpGen06"};
    QCOMPARE(f.texts(row4), QStringList({"10:15:00", "12:00:00", "14:30:00"}));

    f.selShip()->setCurrentIndex(4);  // 越後→佐渡, three voyages
    for (const QString& name : row4 + row6) {
        QVERIFY(f.child<QLabel>(name)->isHidden());
    }
    QCOMPARE(f.texts(row4), QStringList({"10:15:00", "12:00:00", "14:30:00"}));
    QCOMPARE(f.texts({"viwSpArr02"}), QStringList({"05:40:00"}));

    f.selShip()->setCurrentIndex(7);  // 越前→越後, six voyages
    for (const QString& name : row4 + row6) {
        QVERIFY(!f.child<QLabel>(name)->isHidden());
    }
    QCOMPARE(f.texts(row4), QStringList({"10:32:00", "13:18:00", "14:30:00"}));
    QCOMPARE(f.texts(row6), QStringList({"18:32:00", "21:18:00", "22:30:00"}));
}

void TestForm06::portSelectorsChangeNothingElse() {
    Fixture f;
    f.selShip()->setCurrentIndex(2);  // 駿河→尾張
    f.tickAt(time("05:00:00"));
    const QStringList timetable = f.texts(timetableLabels());
    const QStringList before = f.texts(NextTimeLabels);

    f.child<QComboBox>(QStringLiteral("selShipStart"))->setCurrentIndex(3);
    f.child<QComboBox>(QStringLiteral("selShipEnd"))->setCurrentIndex(5);
    QCOMPARE(f.window->selectedIndex(), 2);
    QCOMPARE(f.selShip()->currentIndex(), 2);
    QCOMPARE(f.texts(timetableLabels()), timetable);
    QCOMPARE(f.texts(NextTimeLabels), before);

    // A port selector shows the selected route's next times at once.
    f.clock.GameTime = time("07:00:00");
    f.child<QComboBox>(QStringLiteral("selShipStart"))->setCurrentIndex(0);
    QCOMPARE(f.texts({"viwArTime", "viwLeTime", "viwDaTime"}),
             QStringList({"10:30:00", "08:00:00", "10:15:00"}));
    QCOMPARE(f.texts(timetableLabels()), timetable);
}

void TestForm06::typedTextNamingNoRoute() {
    Fixture f;
    f.selShip()->setCurrentIndex(0);
    f.tickAt(time("23:00:00"));
    const QStringList frozen = f.texts(NextTimeLabels);

    f.selShip()->lineEdit()->selectAll();
    f.selShip()->lineEdit()->insert(QStringLiteral("尾張"));  // as an input method types it
    QCOMPARE(f.window->selectedIndex(), -1);
    f.tickAt(time("05:00:00"));
    QCOMPARE(f.text("viwZEMTime"), QStringLiteral("05:00:00"));
    QCOMPARE(f.texts(NextTimeLabels), frozen);

    // Enter does not turn the typed text into a route.
    QTest::keyClick(f.selShip()->lineEdit(), Qt::Key_Return);
    QCOMPARE(f.selShip()->count(), 8);
    f.tickAt(time("06:00:00"));
    QCOMPARE(f.window->selectedIndex(), -1);
    QCOMPARE(f.texts(NextTimeLabels), frozen);

    // Typing a route's whole text selects it again.
    f.selShip()->setEditText(QStringLiteral("佐渡　　　 → 　越後"));
    QCOMPARE(f.window->selectedIndex(), 6);
    QCOMPARE(f.texts({"viwArTime", "viwLeTime", "viwDaTime"}),
             QStringList({"09:34:00", "12:00:00", "13:40:00"}));
    QVERIFY(f.messages.errors.isEmpty());
}

void TestForm06::setClock_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<bool>("valid");

    QTest::newRow("a full time") << "123456"
                                 << "12:34:56" << true;
    QTest::newRow("zeros are digits") << "100000"
                                      << "10:00:00" << true;
    QTest::newRow("untyped positions read as 0") << "2"
                                                 << "20:00:00" << true;
    QTest::newRow("nothing typed") << ""
                                   << "00:00:00" << true;
    QTest::newRow("last second of the day") << "235959"
                                            << "23:59:59" << true;
    QTest::newRow("hour and minute out of range") << "256100"
                                                  << "25:61:00" << false;
    QTest::newRow("hour 24") << "240000"
                             << "24:00:00" << false;
    QTest::newRow("second 60") << "125960"
                               << "12:59:60" << false;
}

void TestForm06::setClock() {
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(bool, valid);
    Fixture f;
    f.window->show();  // for the note that says it worked
    const TDateTime gameBefore = 5 + time("07:08:09");
    f.clock.GameTime = gameBefore;
    const TDateTime setBefore = f.config->SetTime;
    const TDateTime anchorBefore = f.config->NowDateTime;

    f.type(typed);
    QCOMPARE(f.iptTime()->displayText(), shown);
    QTest::mouseClick(f.child<QPushButton>(QStringLiteral("btnResetTime")), Qt::LeftButton);

    if (valid) {
        QVERIFY(f.messages.errors.isEmpty());
        QCOMPARE(DateTime::formatLongTime(f.clock.GameTime), shown);
        QCOMPARE(DateTime::wholeDays(f.clock.GameTime), std::int64_t{0});
        QCOMPARE(f.config->SetTime, f.clock.GameTime);
        QCOMPARE(f.config->NowDateTime, SettingMoment);
        QCOMPARE(shownNote(f.window.get()),
                 QStringLiteral("ゲーム時刻を %1 にセットしました").arg(shown));
    } else {
        QCOMPARE(f.messages.errors,
                 QStringList{QStringLiteral("'%1' は時刻ではありません").arg(shown)});
        QCOMPARE(f.clock.GameTime, gameBefore);
        QCOMPARE(f.config->SetTime, setBefore);
        QCOMPARE(f.config->NowDateTime, anchorBefore);
        QCOMPARE(shownNote(f.window.get()), QString());
    }
}

void TestForm06::setClockReachesTheFile() {
    Fixture f;
    f.type(QStringLiteral("123456"));
    f.child<QPushButton>(QStringLiteral("btnResetTime"))->click();
    f.window->Timer1Timer();
    QCOMPARE(f.text("viwZEMTime"), QStringLiteral("12:34:56"));

    f.config->Save();
    const IniProfile file(f.dir.path() + QStringLiteral("/TAMUTime.log"));
    QCOMPARE(file.readString("TAMUTime", "SetTime", {}), QStringLiteral("12:34:56"));
    QCOMPARE(file.readString("TAMUTime", "NowDate", {}), QStringLiteral("2026/12/06"));
    QCOMPARE(file.readString("TAMUTime", "NowTime", {}), QStringLiteral("19:00:05"));
    QVERIFY(f.messages.errors.isEmpty());
}

// Enter in the time field presses セット whatever was typed, a partly typed time included (its
// untyped positions read as 0); only a text that is no time is refused, with the message.
void TestForm06::enterInTimeFieldSets_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("gameTime");  // after Enter; empty: unchanged, message shown

    QTest::newRow("all six digits") << "083000"
                                    << "08:30:00";
    QTest::newRow("hour only") << "2"
                               << "20:00:00";
    QTest::newRow("hour and minute") << "0715"
                                     << "07:15:00";
    QTest::newRow("nothing typed") << ""
                                   << "00:00:00";
    QTest::newRow("no time") << "99"
                             << "";
}

void TestForm06::enterInTimeFieldSets() {
    QFETCH(QString, typed);
    QFETCH(QString, gameTime);
    Fixture f;
    const TDateTime gameBefore = time("07:08:09");
    f.clock.GameTime = gameBefore;
    const TDateTime anchorBefore = f.config->NowDateTime;
    f.type(typed);
    QTest::keyClick(f.iptTime(), Qt::Key_Return);
    if (gameTime.isEmpty()) {
        QCOMPARE(f.messages.errors.size(), 1);
        QCOMPARE(f.clock.GameTime, gameBefore);
        QCOMPARE(f.config->NowDateTime, anchorBefore);
    } else {
        QVERIFY(f.messages.errors.isEmpty());
        QCOMPARE(DateTime::formatLongTime(f.clock.GameTime), gameTime);
        QCOMPARE(f.config->NowDateTime, SettingMoment);
    }
}

// Setting the clock as midnight passes must not pair one day's date with the next day's time.
void TestForm06::anchorReadsNowOnce() {
    Fixture f;
    const TDateTime beforeMidnight =
        DateTime::encodeDate(2026, 12, 6) + DateTime::encodeTime(23, 59, 59, 999);
    const TDateTime afterMidnight =
        DateTime::encodeDate(2026, 12, 7) + DateTime::encodeTime(0, 0, 0, 1);
    int readings = 0;
    RealClock::setSource([&] { return readings++ == 0 ? beforeMidnight : afterMidnight; });
    f.type(QStringLiteral("060000"));
    f.child<QPushButton>(QStringLiteral("btnResetTime"))->click();
    RealClock::setSource([&] { return f.now.get(); });
    QVERIFY2(f.config->NowDateTime == beforeMidnight || f.config->NowDateTime == afterMidnight,
             qPrintable(DateTime::toQDateTime(f.config->NowDateTime).toString(Qt::ISODateWithMs)));
}

void TestForm06::timerRefreshesEverySecond() {
    Fixture f;
    f.selShip()->setCurrentIndex(0);
    f.clock.GameTime = time("23:00:00");
    QTRY_COMPARE_WITH_TIMEOUT(f.text("viwZEMTime"), QStringLiteral("23:00:00"), 3000);
    QCOMPARE(f.text("viwLeLast"), QStringLiteral("0:2:31"));
}

QTEST_MAIN(TestForm06)
#include "tst_form06.moc"
