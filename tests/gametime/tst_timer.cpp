#include <QtTest>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "common/TZEMError.h"
#include "gametime/MMTimerUnit.h"
#include "support/MessageRecorder.h"

namespace {

// Blocks the GUI thread without processing events, as a busy handler or a hung program does.
void busy(int msecs) {
    std::this_thread::sleep_for(std::chrono::milliseconds(msecs));
}

// Runs the event loop like a program waiting for input: it wakes at once for a tick (QTest's
// waits sleep between rounds of events, which a short hand-over time-out would not survive).
template <class Predicate>
bool spinUntil(Predicate done, int msecs = 5000) {
    QElapsedTimer elapsed;
    elapsed.start();
    QTimer wake;
    wake.start(5);
    while (!done()) {
        if (elapsed.elapsed() > msecs) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

void spin(int msecs) {
    spinUntil([] { return false; }, msecs);
}

}  // namespace

class TestTimer : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void sendTimeout_data() {
        QTest::addColumn<std::vector<std::uint32_t>>("intervals");
        QTest::addColumn<std::uint32_t>("timeout");
        QTest::newRow("never changed") << std::vector<std::uint32_t>{} << 0u;
        QTest::newRow("set to its default") << std::vector<std::uint32_t>{1000} << 0u;
        QTest::newRow("2000") << std::vector<std::uint32_t>{2000} << 1800u;
        QTest::newRow("2000 then 1000") << std::vector<std::uint32_t>{2000, 1000} << 900u;
        QTest::newRow("2000 twice") << std::vector<std::uint32_t>{2000, 2000} << 1800u;
        QTest::newRow("15 rounds up") << std::vector<std::uint32_t>{15} << 14u;
        QTest::newRow("11 rounds down") << std::vector<std::uint32_t>{11} << 10u;
        QTest::newRow("0") << std::vector<std::uint32_t>{0} << 0u;
    }
    void sendTimeout() {
        QFETCH(std::vector<std::uint32_t>, intervals);
        QFETCH(std::uint32_t, timeout);
        TMMTimer timer;
        QVERIFY(!timer.Enabled());
        QCOMPARE(timer.Interval(), 1000u);
        for (const std::uint32_t interval : intervals) {
            timer.SetInterval(interval);
        }
        QCOMPARE(timer.sendTimeout(), timeout);
    }

    // Runs exactly when enabled, with a non-zero interval and a handler, set in any order.
    void runningConditions_data() {
        QTest::addColumn<bool>("enabled");
        QTest::addColumn<std::uint32_t>("interval");
        QTest::addColumn<bool>("handler");
        QTest::newRow("all three") << true << 100u << true;
        QTest::newRow("disabled") << false << 100u << true;
        QTest::newRow("interval 0") << true << 0u << true;
        QTest::newRow("no handler") << true << 100u << false;
    }
    void runningConditions() {
        QFETCH(bool, enabled);
        QFETCH(std::uint32_t, interval);
        QFETCH(bool, handler);
        const bool runs = enabled && interval != 0 && handler;
        TMMTimer timer;
        int ticks = 0;
        bool onGuiThread = true;
        timer.SetEnabled(enabled);
        if (handler) {
            timer.SetOnTimer([&](QObject* sender) {
                onGuiThread = onGuiThread &&
                              QThread::currentThread() == QCoreApplication::instance()->thread();
                QCOMPARE(sender, &timer);
                ++ticks;
            });
        }
        timer.SetInterval(interval);
        QCOMPARE(timer.isRunning(), runs);
        spin(runs ? 1050 : 300);
        QVERIFY(onGuiThread);
        if (runs) {
            // Ten periods: none lost to the event loop, no burst.
            QVERIFY2(ticks >= 8 && ticks <= 10, qPrintable(QString::number(ticks)));
        } else {
            QCOMPARE(ticks, 0);
        }
        // Taking a condition away stops it.
        timer.SetInterval(0);
        const int stoppedAt = ticks;
        spin(100);
        QCOMPARE(ticks, stoppedAt);
        QVERIFY(!timer.isRunning());
    }

    void removedHandlerStopsAndNewOneRestarts() {
        TMMTimer timer;
        int first = 0;
        int second = 0;
        timer.SetInterval(100);
        timer.SetEnabled(true);
        timer.SetOnTimer([&](QObject*) { ++first; });
        QVERIFY(spinUntil([&] { return first >= 2; }));
        timer.SetOnTimer({});
        QVERIFY(!timer.isRunning());
        QVERIFY(timer.Enabled());
        const int stoppedAt = first;
        spin(100);
        QCOMPARE(first, stoppedAt);
        timer.SetOnTimer([&](QObject*) { ++second; });
        QVERIFY(spinUntil([&] { return second >= 2; }));
        QCOMPARE(first, stoppedAt);
    }

    // A setter that changes nothing keeps the period; SetOnTimer restarts it even with the same
    // handler.
    void period_data() {
        QTest::addColumn<int>("action");
        QTest::addColumn<bool>("restarts");
        QTest::newRow("same interval") << 0 << false;
        QTest::newRow("enabled again") << 1 << false;
        QTest::newRow("handler set again") << 2 << true;
        QTest::newRow("interval changed and back") << 3 << true;
    }
    void period() {
        QFETCH(int, action);
        QFETCH(bool, restarts);
        constexpr int Period = 300;
        TMMTimer timer;
        QElapsedTimer clock;
        qint64 lastTick = -1;
        int ticks = 0;
        TMMTimer::TNotifyEvent handler = [&](QObject*) {
            lastTick = clock.elapsed();
            ++ticks;
        };
        timer.SetInterval(Period);
        timer.SetOnTimer(handler);
        clock.start();
        timer.SetEnabled(true);
        QVERIFY(spinUntil([&] { return ticks == 1; }, 2000));
        const qint64 first = lastTick;
        spin(Period / 2);
        const qint64 changedAt = clock.elapsed();
        switch (action) {
            case 0:
                timer.SetInterval(Period);
                break;
            case 1:
                timer.SetEnabled(true);
                break;
            case 2:
                timer.SetOnTimer(handler);
                break;
            default:
                timer.SetInterval(Period + 1);
                timer.SetInterval(Period);
                break;
        }
        QVERIFY(spinUntil([&] { return ticks == 2; }, 2000));
        const qint64 sinceChange = lastTick - changedAt;
        const QByteArray what = QByteArray::number(first) + " " + QByteArray::number(changedAt) +
                                " " + QByteArray::number(lastTick);
        if (restarts) {
            QVERIFY2(sinceChange >= Period - 5, what.constData());
        } else {
            QVERIFY2(sinceChange < Period - 60, what.constData());
        }
    }

    void throwingHandlerKeepsRunning() {
        MessageRecorder messages;
        TMMTimer timer;
        int calls = 0;
        timer.SetInterval(100);
        timer.SetOnTimer([&](QObject*) {
            ++calls;
            throw TZEMError(QStringLiteral("tick %1").arg(calls));
        });
        timer.SetEnabled(true);
        QVERIFY(spinUntil([&] { return calls >= 5; }));
        timer.SetEnabled(false);
        QVERIFY(timer.Enabled() == false);
        QCOMPARE(messages.errors.size(), calls);
        for (int i = 0; i < calls; ++i) {
            QCOMPARE(messages.errors.at(i), QStringLiteral("tick %1").arg(i + 1));
        }
    }

    // A tick not handled within nine tenths of the interval switches the timer off for good.
    void unacknowledgedTickDisables() {
        TMMTimer timer;
        int calls = 0;
        timer.SetInterval(100);  // 90 ms to answer
        timer.SetOnTimer([&](QObject*) {
            ++calls;
            if (calls == 2) {
                busy(300);
            }
        });
        timer.SetEnabled(true);
        QVERIFY(spinUntil([&] { return calls == 2; }));
        QVERIFY(spinUntil([&] { return !timer.Enabled(); }));
        spin(300);
        QCOMPARE(calls, 2);
        QVERIFY(!timer.isRunning());
        // Enabling it again brings it back.
        timer.SetEnabled(true);
        QVERIFY(spinUntil([&] { return calls >= 3; }));
        QVERIFY(timer.Enabled());
    }

    // Without a limit (the interval never changed) the worker waits for a slow handler ...
    void unlimitedWaitKeepsRunning() {
        TMMTimer timer;
        int calls = 0;
        timer.SetOnTimer([&](QObject*) {
            ++calls;
            if (calls == 1) {
                busy(1500);
            }
        });
        timer.SetEnabled(true);
        QVERIFY(spinUntil([&] { return calls >= 2; }, 5000));
        QVERIFY(timer.Enabled());
    }

    // A GUI thread that is busy outside any handler (no events looked at). Without a limit the
    // worker waits however long it takes, longer than the five seconds after which a window
    // counts as hung included: the waiting tick is handled once afterwards, not as a burst of the
    // periods spent waiting, and the timer runs on. With a limit the tick is abandoned once the
    // time-out passes, never delivered late, and the timer is off.
    void busyGuiThread_data() {
        QTest::addColumn<std::uint32_t>("interval");
        QTest::addColumn<int>("busyMSecs");
        QTest::addColumn<bool>("runsOn");
        QTest::newRow("no limit, busy past five seconds") << 1000u << 6300 << true;
        QTest::newRow("limited, busy past the time-out") << 200u << 500 << false;
    }
    void busyGuiThread() {
        QFETCH(std::uint32_t, interval);
        QFETCH(int, busyMSecs);
        QFETCH(bool, runsOn);
        TMMTimer timer;
        if (interval != 1000u) {
            timer.SetInterval(interval);
        }
        int calls = 0;
        timer.SetOnTimer([&](QObject*) { ++calls; });
        timer.SetEnabled(true);
        busy(busyMSecs);
        QCOMPARE(timer.Enabled(), runsOn);
        if (runsOn) {
            QVERIFY(spinUntil([&] { return calls >= 1; }, 500));
            QCOMPARE(calls, 1);
            QVERIFY(spinUntil([&] { return calls >= 2; }, 3000));
            QVERIFY(timer.Enabled());
        } else {
            QVERIFY(!timer.isRunning());
            spin(50);
            QCOMPARE(calls, 0);
        }
    }

    void stopInsideHandler() {
        TMMTimer timer;
        int calls = 0;
        timer.SetInterval(100);
        timer.SetOnTimer([&](QObject* sender) {
            ++calls;
            static_cast<TMMTimer*>(sender)->SetEnabled(false);
        });
        timer.SetEnabled(true);
        QVERIFY(spinUntil([&] { return calls == 1; }));
        spin(250);
        QCOMPARE(calls, 1);
        QVERIFY(!timer.Enabled());
    }

    void destroyedInsideHandler() {
        auto timer = std::make_unique<TMMTimer>();
        int calls = 0;
        timer->SetInterval(100);
        timer->SetOnTimer([&](QObject*) {
            ++calls;
            timer.reset();
        });
        timer->SetEnabled(true);
        QVERIFY(spinUntil([&] { return timer == nullptr; }));
        spin(150);
        QCOMPARE(calls, 1);
    }

    // The worker has handed a tick over and waits; the timer is destroyed before the GUI thread
    // looks: the destructor returns at once and the tick never reaches the handler.
    void destroyedWhileTickWaits_data() {
        QTest::addColumn<std::uint32_t>("interval");
        QTest::newRow("unlimited wait") << 1000u;
        QTest::newRow("limited wait") << 200u;
    }
    void destroyedWhileTickWaits() {
        QFETCH(std::uint32_t, interval);
        int calls = 0;
        auto timer = std::make_unique<TMMTimer>();
        if (interval != 1000u) {
            timer->SetInterval(interval);
        }
        timer->SetOnTimer([&](QObject*) { ++calls; });
        timer->SetEnabled(true);
        busy(static_cast<int>(interval) * 3 / 2);
        QElapsedTimer took;
        took.start();
        timer.reset();
        QVERIFY(took.elapsed() < 100);
        spin(50);
        QCOMPARE(calls, 0);
    }
};

QTEST_GUILESS_MAIN(TestTimer)
#include "tst_timer.moc"
