#pragma once

#include <QObject>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>

class QSocketNotifier;

// A periodic timer whose period is kept by a worker thread of its own, as precise as the
// system's steady clock allows. Every period the worker hands one tick to the thread that owns
// the object (the GUI thread) and waits until OnTimer has run there, so that OnTimer always runs
// on the GUI thread, one tick at a time, and a busy GUI thread costs ticks instead of receiving
// a burst of them later.
//
// The hand-over fails, and the timer switches itself off (Enabled reads false), when
//  - the acknowledgement does not come within FSendTimeout ms (only once Interval was changed:
//    FSendTimeout is then nine tenths of it; 0 means waiting without limit), or
//  - the receiving side is gone (no event dispatcher to deliver the tick).
// A GUI thread that is merely busy is not judged hung, however long it takes: a thread counts as
// not responding only when it has not looked at its events for five seconds at the moment a tick
// is sent, which one period of 1000 ms after it acknowledged the previous tick cannot be (a
// changed period has its limited wait instead). So without a limit a busy spell costs ticks and
// the timer runs on afterwards.
//
// Stopping (any setter) and destruction join the worker: a tick in flight is abandoned and never
// delivered afterwards, and nothing calls back into the object once its destructor has returned.
class TMMTimer : public QObject {
    Q_OBJECT
public:
    using TNotifyEvent = std::function<void(QObject* sender)>;

    static constexpr std::uint32_t Acknowledge = 3333;

    explicit TMMTimer(QObject* owner = nullptr);
    ~TMMTimer() override;

    bool Enabled() const;
    void SetEnabled(bool value);
    std::uint32_t Interval() const { return m_interval; }
    void SetInterval(std::uint32_t value);
    const TNotifyEvent& OnTimer() const { return m_onTimer; }
    void SetOnTimer(TNotifyEvent value);

    std::uint32_t sendTimeout() const { return m_sendTimeout; }
    // True while a worker thread keeps the period.
    bool isRunning() const;

protected:
    virtual void DoTimer();

private:
    void UpdateTimer();
    void stopWorker();
    void startWorker();
    enum class HandOver { Acknowledged, Failed, Stopped };
    void workerLoop(std::uint64_t generation, std::uint32_t periodMSecs,
                    std::uint32_t timeoutMSecs);
    HandOver handOver(std::unique_lock<std::mutex>& lock, std::uint64_t generation,
                      std::uint32_t timeoutMSecs);
    bool signalTick();
    void takeTick();

    // Plain fields, changed on the GUI thread only.
    std::uint32_t m_interval = 1000;
    std::uint32_t m_sendTimeout = 0;
    TNotifyEvent m_onTimer;
    bool m_inTimer = false;

    // Shared with the worker, guarded by m_mutex.
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_enabled = false;
    bool m_stop = false;
    bool m_workerAlive = false;
    std::uint64_t m_generation = 0;  // one per started worker
    std::uint64_t m_tickPosted = 0;  // generation whose tick waits on the GUI thread, 0 = none
    bool m_tickPicked = false;       // the GUI thread has begun handling it
    std::uint32_t m_result = 0;      // the GUI thread's answer, Acknowledge when handled
    std::thread m_worker;

    // Wakes the GUI thread without allocating: an eventfd watched by a socket notifier.
    int m_wakeFd = -1;
    QSocketNotifier* m_notifier = nullptr;
};
