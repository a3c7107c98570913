#include "gametime/MMTimerUnit.h"

#include <QMetaObject>
#include <QPointer>
#include <QSocketNotifier>
#include <chrono>
#include <cmath>

#include "common/Messages.h"

#ifdef Q_OS_LINUX
#include <sys/eventfd.h>
#include <unistd.h>
#endif
#ifdef Q_OS_WIN
#include <windows.h>
// after windows.h, which it builds on
#include <timeapi.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

// Windows wakes a waiting thread on its system tick, 15.6 ms by default; while a worker runs it
// asks for 1 ms, as the multimedia timer does for its callbacks. The waits themselves stay the
// portable ones, so the tick rules are the same on both systems.
struct TickResolution {
#ifdef Q_OS_WIN
    TickResolution() {
        timeBeginPeriod(1);
    }
    ~TickResolution() {
        timeEndPeriod(1);
    }
    TickResolution(const TickResolution&) = delete;
    TickResolution& operator=(const TickResolution&) = delete;
#endif
};

}  // namespace

TMMTimer::TMMTimer(QObject* owner) : QObject(owner) {
#ifdef Q_OS_LINUX
    m_wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    if (m_wakeFd >= 0) {
        m_notifier =
            new QSocketNotifier(static_cast<qintptr>(m_wakeFd), QSocketNotifier::Read, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &TMMTimer::takeTick);
    }
#endif
}

TMMTimer::~TMMTimer() {
    {
        std::lock_guard lock(m_mutex);
        m_enabled = false;
    }
    stopWorker();
#ifdef Q_OS_LINUX
    if (m_notifier != nullptr) {
        m_notifier->setEnabled(false);
    }
    if (m_wakeFd >= 0) {
        ::close(m_wakeFd);
        m_wakeFd = -1;
    }
#endif
}

bool TMMTimer::Enabled() const {
    std::lock_guard lock(m_mutex);
    return m_enabled;
}

bool TMMTimer::isRunning() const {
    std::lock_guard lock(m_mutex);
    return m_workerAlive;
}

void TMMTimer::SetEnabled(bool value) {
    {
        std::lock_guard lock(m_mutex);
        if (m_enabled == value) {
            return;
        }
        m_enabled = value;
    }
    UpdateTimer();
}

void TMMTimer::SetInterval(std::uint32_t value) {
    if (value == m_interval) {
        return;
    }
    m_interval = value;
    m_sendTimeout = static_cast<std::uint32_t>(std::llround(static_cast<double>(value) * 0.9));
    UpdateTimer();
}

void TMMTimer::SetOnTimer(TNotifyEvent value) {
    m_onTimer = std::move(value);
    UpdateTimer();
}

void TMMTimer::DoTimer() {
    if (m_onTimer) {
        m_onTimer(this);
    }
}

void TMMTimer::UpdateTimer() {
    stopWorker();
    bool enabled = false;
    {
        std::lock_guard lock(m_mutex);
        enabled = m_enabled;
    }
    if (enabled && m_interval != 0 && m_onTimer) {
        startWorker();
    }
}

void TMMTimer::stopWorker() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
        m_tickPosted = 0;  // a tick already signalled is dropped when the GUI thread sees it
    }
    m_wake.notify_all();
    if (m_worker.joinable()) {
        m_worker.join();
    }
    std::lock_guard lock(m_mutex);
    m_stop = false;
}

void TMMTimer::startWorker() {
    std::lock_guard lock(m_mutex);
    const std::uint64_t generation = ++m_generation;
    m_workerAlive = true;
    m_worker = std::thread([this, generation, period = m_interval, timeout = m_sendTimeout] {
        workerLoop(generation, period, timeout);
    });
}

void TMMTimer::workerLoop(std::uint64_t generation, std::uint32_t periodMSecs,
                          std::uint32_t timeoutMSecs) {
    const auto period = std::chrono::milliseconds(periodMSecs);
    [[maybe_unused]] const TickResolution resolution;
    std::unique_lock lock(m_mutex);
    auto next = Clock::now() + period;
    for (;;) {
        if (m_wake.wait_until(lock, next, [this] { return m_stop; })) {
            break;
        }
        const HandOver result = handOver(lock, generation, timeoutMSecs);
        if (result == HandOver::Stopped) {
            break;
        }
        if (result == HandOver::Failed) {
            // Switched off for good, until someone enables it again.
            m_enabled = false;
            break;
        }
        // The next period follows the last one; periods spent waiting for the GUI thread are
        // lost rather than delivered in a burst.
        next += period;
        const auto now = Clock::now();
        if (next <= now) {
            next += period * ((now - next) / period + 1);
        }
    }
    m_workerAlive = false;
}

TMMTimer::HandOver TMMTimer::handOver(std::unique_lock<std::mutex>& lock, std::uint64_t generation,
                                      std::uint32_t timeoutMSecs) {
    m_tickPosted = generation;
    m_tickPicked = false;
    m_result = 0;
    if (!signalTick()) {
        m_tickPosted = 0;
        return HandOver::Failed;
    }
    const auto sent = Clock::now();
    const auto noLimit = Clock::time_point::max();
    const auto timeoutAt =
        timeoutMSecs == 0 ? noLimit : sent + std::chrono::milliseconds(timeoutMSecs);
    for (;;) {
        if (m_stop) {
            return HandOver::Stopped;
        }
        if (m_tickPosted != generation) {
            return m_result == Acknowledge ? HandOver::Acknowledged : HandOver::Failed;
        }
        if (timeoutAt == noLimit) {
            m_wake.wait(lock);
        } else if (m_wake.wait_until(lock, timeoutAt) == std::cv_status::timeout && !m_stop &&
                   m_tickPosted == generation && Clock::now() >= timeoutAt) {
            m_tickPosted = 0;  // abandoned: the GUI thread drops it if it still comes
            return HandOver::Failed;
        }
    }
}

bool TMMTimer::signalTick() {
#ifdef Q_OS_LINUX
    if (m_wakeFd < 0) {
        return false;
    }
    const std::uint64_t one = 1;
    return ::write(m_wakeFd, &one, sizeof one) == static_cast<ssize_t>(sizeof one);
#else
    return QMetaObject::invokeMethod(this, &TMMTimer::takeTick, Qt::QueuedConnection);
#endif
}

void TMMTimer::takeTick() {
#ifdef Q_OS_LINUX
    std::uint64_t count = 0;
    while (::read(m_wakeFd, &count, sizeof count) > 0) {
    }
#endif
    std::uint64_t generation = 0;
    {
        std::lock_guard lock(m_mutex);
        if (m_tickPosted == 0 || m_tickPicked) {
            return;
        }
        generation = m_tickPosted;
        m_tickPicked = true;
    }

    QPointer<TMMTimer> self(this);
    if (!m_inTimer) {
        // A tick that arrives inside OnTimer (a nested event loop) is acknowledged unhandled.
        m_inTimer = true;
        Messages::guarded([this] { DoTimer(); });
        if (self.isNull()) {
            return;  // the handler destroyed the timer; its destructor released the worker
        }
        m_inTimer = false;
    }
    {
        std::lock_guard lock(m_mutex);
        if (m_tickPosted == generation) {
            m_result = Acknowledge;
            m_tickPosted = 0;
        }
    }
    m_wake.notify_all();
}
