#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "app/FramePlacement.h"
#include "app/TZEMForm02.h"
#include "app/TZEMsplash.h"
#include "app/ToolBarWidth.h"
#include "common/DataFolder.h"
#include "common/IniProfile.h"
#include "common/ScreenAreas.h"
#include "gametime/ClockOptions.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMTime.h"
#include "ship/AlarmSchedule.h"
#include "support/ControllerSandbox.h"
#include "support/MessageRecorder.h"

namespace {

int windowsCaptioned(const QString& caption) {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) {
        n += (w->windowTitle() == caption && w->isVisible()) ? 1 : 0;
    }
    return n;
}

void runDeferredDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

}  // namespace

class ControllerTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<ControllerSandbox> m_sandbox;
    QString m_dat;

    static std::unique_ptr<TZEMForm02> makeController() { return ControllerSandbox::start(); }
    static QWidget* windowCaptioned(const QString& caption) {
        return ControllerSandbox::window(caption);
    }

private Q_SLOTS:
    void init() {
        m_sandbox = std::make_unique<ControllerSandbox>();
        m_dat = m_sandbox->dat();
    }
    void cleanup() { m_sandbox.reset(); }

    void widthRule_data() {
        QTest::addColumn<bool>("bar1");
        QTest::addColumn<int>("buttons");
        QTest::addColumn<bool>("bar2");
        QTest::addColumn<bool>("bar3");
        QTest::addColumn<bool>("config");
        QTest::addColumn<bool>("end");
        QTest::addColumn<int>("width");
        QTest::newRow("shipped") << true << 5 << false << true << false << true << 290;
        QTest::newRow("without the journey planner")
            << true << 4 << false << true << false << true << 251;
        QTest::newRow("every tool button") << true << 8 << false << true << false << true << 407;
        QTest::newRow("with window bar") << true << 4 << true << true << false << true << 267;
        QTest::newRow("with config") << true << 4 << false << true << true << true << 290;
        QTest::newRow("end bar only") << false << 0 << false << true << false << true << 87;
        QTest::newRow("nothing") << false << 0 << false << false << false << false << 32;
    }
    void widthRule() {
        QFETCH(bool, bar1);
        QFETCH(int, buttons);
        QFETCH(bool, bar2);
        QFETCH(bool, bar3);
        QFETCH(bool, config);
        QFETCH(bool, end);
        QFETCH(int, width);
        QCOMPARE(toolBarWidths({bar1, buttons, bar2, bar3, config, end}).clientWidth, width);
    }

    void opensAtTheBottomRightWithoutSettings() {
        MessageRecorder messages;
        auto controller = makeController();
        QCOMPARE(controller->width(), 329);
        QCOMPARE(controller->height(), 55);
        const QRect frame = controller->frameGeometry();
        QCOMPARE(frame.right() + 1, 1280 - 10);
        QCOMPARE(frame.bottom() + 1, 994 - 10);
        // The item database is missing here: one message, and the controller is usable.
        QCOMPARE(messages.errors, QStringList{QStringLiteral("Access DB：") + m_dat +
                                              QStringLiteral("TAMU_Item.db が存在しません")});
        QVERIFY(controller->gameClock());
        QVERIFY(controller->analogClock());
        QVERIFY(controller->jobList().isEmpty());
    }

    void opensAtTheSavedPosition() {
        IniProfile ini(m_dat + QStringLiteral("TAMU.ini"));
        ini.writeInteger(QStringLiteral("Controler"), QStringLiteral("Top"), 812);
        ini.writeInteger(QStringLiteral("Controler"), QStringLiteral("Left"), 1013);
        MessageRecorder messages;
        auto controller = makeController();
        QCOMPARE(controller->frameGeometry().topLeft(), QPoint(1013, 812));
    }

    // A position on a second monitor survives a restart; one on a monitor that is gone, or so far
    // off that no part of the controller shows, gives the default place.
    void savedPositionOnSeveralMonitors_data() {
        QTest::addColumn<bool>("twoMonitors");
        QTest::addColumn<QPoint>("saved");
        QTest::addColumn<bool>("kept");
        QTest::newRow("on the right monitor") << true << QPoint(2000, 300) << true;
        QTest::newRow("right monitor gone") << false << QPoint(2000, 300) << false;
        QTest::newRow("on the left monitor") << true << QPoint(-1000, 300) << true;
        QTest::newRow("left monitor gone") << false << QPoint(-1000, 300) << false;
        QTest::newRow("partly off the top") << false << QPoint(20, -30) << true;
        QTest::newRow("wholly above the screen") << false << QPoint(20, -300) << false;
    }
    void savedPositionOnSeveralMonitors() {
        QFETCH(bool, twoMonitors);
        QFETCH(QPoint, saved);
        QFETCH(bool, kept);
        if (twoMonitors) {
            const QRect second =
                saved.x() > 0 ? QRect(1280, 0, 1920, 1080) : QRect(-1280, 0, 1280, 1024);
            ScreenAreas::inject(
                {{ControllerSandbox::Desktop, ControllerSandbox::WorkArea}, {second, second}});
        }
        IniProfile ini(m_dat + QStringLiteral("TAMU.ini"));
        ini.writeInteger(QStringLiteral("Controler"), QStringLiteral("Top"), saved.y());
        ini.writeInteger(QStringLiteral("Controler"), QStringLiteral("Left"), saved.x());
        MessageRecorder messages;
        auto controller = makeController();
        controller->show();
        QCoreApplication::processEvents();
        const QRect frame = controller->frameGeometry();
        if (kept) {
            QCOMPARE(frame.topLeft(), saved);
        } else {
            QCOMPARE(frame.bottomRight() + QPoint(1, 1), QPoint(1280 - 10, 994 - 10));
        }
    }

    void buttonsToggleTheirWindows_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<QString>("caption");
        QTest::newRow("status") << "SaS03Status" << QStringLiteral("ステータス計算機");
        QTest::newRow("potential") << "SaS04Potential" << QStringLiteral("潜在能力計算機");
        QTest::newRow("clock") << "SaS05Timer" << QStringLiteral("時間・タイマー");
        QTest::newRow("ship") << "SaS06Ship" << QStringLiteral("船発着時刻表");
        QTest::newRow("recipes") << "SaS08Create" << QStringLiteral("生産レシピ検索");
        QTest::newRow("journeys") << "SaS09Journey" << QStringLiteral("航路案内");
    }
    void buttonsToggleTheirWindows() {
        QFETCH(QString, action);
        QFETCH(QString, caption);
        MessageRecorder messages;
        auto controller = makeController();
        controller->show();
        auto* act = controller->findChild<QAction*>(action);
        QVERIFY(act);
        // Each image button says what it opens, to the mouse and to a screen reader.
        for (const QToolButton* button : controller->findChildren<QToolButton*>()) {
            if (button->defaultAction() == act) {
                QCOMPARE(button->toolTip(), caption);
                QCOMPARE(button->accessibleName(), caption);
            }
        }

        act->trigger();  // opens
        QVERIFY(act->isChecked());
        QVERIFY(windowCaptioned(caption));
        QCOMPARE(windowsCaptioned(caption), 1);

        act->trigger();  // closes
        runDeferredDeletes();
        QVERIFY(!act->isChecked());
        QVERIFY(!windowCaptioned(caption));

        act->trigger();  // opens again
        QPointer<QWidget> window = windowCaptioned(caption);
        QVERIFY(window);
        window->close();  // the window's own close box
        runDeferredDeletes();
        QVERIFY(!window);
        if (action !=
            QStringLiteral("SaS04Potential")) {  // its button is hidden: it only frees itself
            QVERIFY(!act->isChecked());
        }
        act->trigger();  // a press after that opens it again
        QVERIFY(act->isChecked());
        QCOMPARE(windowsCaptioned(caption), 1);
    }

    void splashIsReleasedWhenDeactivatedAndNeverToggled() {
        MessageRecorder messages;
        QPointer<TZEMsplash> splash = new TZEMsplash();
        QCOMPARE(splash->size(), QSize(591, 591));
        splash->showAndPaint();
        QVERIFY(QTest::qWaitForWindowActive(splash));
        auto controller = makeController();
        controller->show();
        controller->activateWindow();
        QTRY_VERIFY(!splash);
    }

    // While the watch lasts, a move or a tick with a changed frame places the window again; a
    // move without a change, a second start and anything after the watch leave it where it is.
    void framePlacementWatchesForAWhile() {
        QWidget window;
        window.setGeometry(100, 100, 200, 50);
        int placed = 0;
        FramePlacement placement(
            &window,
            [&] {
                ++placed;
                window.move(40, 30);
            },
            4, 20);
        QVERIFY(!placement.watching());
        placement.start();
        QCOMPARE(placed, 1);
        QVERIFY(placement.watching());
        QCOMPARE(window.pos(), QPoint(40, 30));

        window.move(60, 60);
        placement.windowMoved();
        QCOMPARE(placed, 1);  // the same frame: the user's move stands
        QCOMPARE(window.pos(), QPoint(60, 60));

        window.resize(220, 56);  // the manager's frame arrived
        placement.windowMoved();
        QCOMPARE(placed, 2);
        QCOMPARE(window.pos(), QPoint(40, 30));

        placement.start();
        QCOMPARE(placed, 2);

        window.resize(230, 60);  // noticed by a tick, without a move
        QTRY_COMPARE(placed, 3);

        QTRY_VERIFY(!placement.watching());
        window.resize(240, 64);
        placement.windowMoved();
        QCOMPARE(placed, 3);
    }

    // Closing takes the tool windows with it, but not a message box or the splash window that
    // stand on their own.
    void closingLeavesMessageBoxesAndTheSplash() {
        MessageRecorder messages;
        auto controller = makeController();
        controller->show();
        controller->findChild<QAction*>(QStringLiteral("SaS03Status"))->trigger();
        QPointer<QWidget> tool = windowCaptioned(QStringLiteral("ステータス計算機"));
        QVERIFY(tool);
        auto box = std::make_unique<QMessageBox>(QMessageBox::Information, QStringLiteral("TAMU"),
                                                 QStringLiteral("確認"), QMessageBox::Ok);
        box->show();
        QPointer<QMessageBox> boxAlive = box.get();
        auto splash = std::make_unique<TZEMsplash>();  // never shown, so never deactivated
        QPointer<TZEMsplash> splashAlive = splash.get();
        QVERIFY(controller->close());
        QVERIFY(!tool);
        QVERIFY(boxAlive);
        QVERIFY(splashAlive);
    }

    void closingWritesBothFilesOnce() {
        MessageRecorder messages;
        auto controller = makeController();
        QSignalSpy ended(controller.get(), &TZEMForm02::ended);
        controller->show();
        controller->findChild<QAction*>(QStringLiteral("SaS06Ship"))->trigger();
        QVERIFY(controller->close());
        QCOMPARE(ended.count(), 1);
        QVERIFY(!windowCaptioned(QStringLiteral("船発着時刻表")));
        const IniProfile time(m_dat + QStringLiteral("TAMUTime.log"));
        QCOMPARE(time.readString(QStringLiteral("TAMUTime"), QStringLiteral("SetTime"), {}),
                 QStringLiteral("00:00:00"));
        QCOMPARE(time.readString(QStringLiteral("TAMUTime"), QStringLiteral("NowDate"), {}),
                 QStringLiteral("1999/07/07"));
        QCOMPARE(time.readString(QStringLiteral("TAMUTime"), QStringLiteral("NowTime"), {}),
                 QStringLiteral("07:00:00"));
        const IniProfile settings(m_dat + QStringLiteral("TAMU.ini"));
        QCOMPARE(settings.readInteger(QStringLiteral("Controler"), QStringLiteral("Top"), -1),
                 controller->frameGeometry().top());
    }

    // The alarms live in the controller: they are checked with the planner closed, and kept in
    // TAMUAlarm.ini across starts.
    void alarmsOutliveThePlannerAndTheRun() {
        MessageRecorder messages;
        {
            auto controller = makeController();
            AlarmSchedule* alarms = controller->alarmSchedule();
            QVERIFY(alarms && alarms->timer()->isActive());
            auto* act = controller->findChild<QAction*>(QStringLiteral("SaS09Journey"));
            act->trigger();
            QWidget* planner = windowCaptioned(QStringLiteral("航路案内"));
            QVERIFY(planner);
            planner->findChild<QPushButton*>(QStringLiteral("evtAlarmDayNight"))->click();
            act->trigger();
            runDeferredDeletes();
            QVERIFY(!windowCaptioned(QStringLiteral("航路案内")));
            QCOMPARE(alarms->alarms().size(), std::size_t(1));
            QVERIFY(alarms->timer()->isActive());
            QVERIFY(controller->close());
        }
        auto again = makeController();
        QCOMPARE(again->alarmSchedule()->alarms().size(), std::size_t(1));
        QCOMPARE(again->alarmSchedule()->describe(again->alarmSchedule()->alarms().front()),
                 QStringLiteral("昼夜の切替"));
    }

    void closesWithOneMessageWhenNothingCanBeWritten() {
        DataFolder::setOverride(m_sandbox->root() + QStringLiteral("/missing/DAT/"));
        MessageRecorder messages;
        auto controller = makeController();
        controller->clockOptions()->setStayOnTop(true);
        messages.clear();
        // A window's place is kept until the end: moving windows says nothing. An alarm set gives
        // TAMUAlarm.ini something to write.
        auto* journeys = controller->findChild<QAction*>(QStringLiteral("SaS09Journey"));
        journeys->trigger();
        windowCaptioned(QStringLiteral("航路案内"))
            ->findChild<QPushButton*>(QStringLiteral("evtAlarmDayNight"))
            ->click();
        journeys->trigger();
        runDeferredDeletes();
        QCOMPARE(messages.errors, QStringList());
        QSignalSpy ended(controller.get(), &TZEMForm02::ended);
        QVERIFY(controller->close());
        QCOMPARE(ended.count(), 1);
        QCOMPARE(messages.errors.size(), 1);
        QVERIFY(messages.errors.first().contains(QStringLiteral("TAMUClock.ini に書き込めません")));
        QVERIFY(messages.errors.first().contains(QStringLiteral("TAMU.ini に書き込めません")));
        QVERIFY(messages.errors.first().contains(QStringLiteral("TAMUTime.log に書き込めません")));
        QVERIFY(messages.errors.first().contains(QStringLiteral("TAMUAlarm.ini に書き込めません")));
        QVERIFY(
            messages.errors.first().contains(QStringLiteral("TAMUWindows.ini に書き込めません")));
    }

    // The windows that no rule places open first clear of the controller, then where they were
    // left at the size they had, after their own close box or still open when TAMU ended; the
    // planner keeps its ports.
    void windowsReopenWhereTheyWereLeft_data() {
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("closedFirst");
        const QString journeys = QStringLiteral("航路案内");
        const QString levels = QStringLiteral("レベル別一覧");
        QTest::newRow("航路案内 closed") << journeys << true;
        QTest::newRow("航路案内 open at the end") << journeys << false;
        QTest::newRow("レベル別一覧 closed") << levels << true;
        QTest::newRow("レベル別一覧 open at the end") << levels << false;
    }
    void windowsReopenWhereTheyWereLeft() {
        QFETCH(QString, caption);
        QFETCH(bool, closedFirst);
        MessageRecorder messages;
        const auto open = [&](TZEMForm02* controller) -> QWidget* {
            if (caption == QStringLiteral("航路案内")) {
                controller->findChild<QAction*>(QStringLiteral("SaS09Journey"))->trigger();
            } else {
                controller->findChild<QAction*>(QStringLiteral("SaS03Status"))->trigger();
                windowCaptioned(QStringLiteral("ステータス計算機"))
                    ->findChild<QPushButton*>(QStringLiteral("evtLevelTable"))
                    ->click();
            }
            QWidget* window = windowCaptioned(caption);
            return window && QTest::qWaitForWindowExposed(window) ? window : nullptr;
        };
        QSize size;
        {
            auto controller = makeController();
            controller->show();
            QVERIFY(QTest::qWaitForWindowExposed(controller.get()));
            QWidget* window = open(controller.get());
            QVERIFY(window);
            QVERIFY(!window->frameGeometry().intersects(controller->frameGeometry()));
            QVERIFY(ControllerSandbox::WorkArea.contains(window->frameGeometry()));
            window->move(120, 90);
            window->resize(window->size() + QSize(40, 30));
            QTRY_COMPARE(window->frameGeometry().topLeft(), QPoint(120, 90));
            size = window->size();
            if (auto* to = window->findChild<QComboBox*>(QStringLiteral("selTo"))) {
                window->findChild<QComboBox*>(QStringLiteral("selFrom"))
                    ->setCurrentText(QStringLiteral("尾張"));
                to->setCurrentText(QStringLiteral("摂津和泉"));
            }
            if (closedFirst) {
                window->close();
                runDeferredDeletes();
            }
            QVERIFY(controller->close());
        }
        auto again = makeController();
        again->show();
        QWidget* window = open(again.get());
        QVERIFY(window);
        QCOMPARE(window->frameGeometry().topLeft(), QPoint(120, 90));
        QCOMPARE(window->size(), size);
        if (auto* to = window->findChild<QComboBox*>(QStringLiteral("selTo"))) {
            QCOMPARE(window->findChild<QComboBox*>(QStringLiteral("selFrom"))->currentText(),
                     QStringLiteral("尾張"));
            QCOMPARE(to->currentText(), QStringLiteral("摂津和泉"));
        }
        QCOMPARE(messages.errors.filter(QStringLiteral("TAMUWindows")), QStringList());
    }
};

QTEST_MAIN(ControllerTest)
#include "tst_form02.moc"
