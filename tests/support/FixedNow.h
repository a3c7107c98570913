#pragma once

#include "common/RealClock.h"

// Fixes "now" for the lifetime of the object; set() moves it.
class FixedNow {
public:
    explicit FixedNow(TDateTime now) : m_now(now) {
        RealClock::setSource([this] { return m_now; });
    }
    ~FixedNow() { RealClock::setSource({}); }
    FixedNow(const FixedNow&) = delete;
    FixedNow& operator=(const FixedNow&) = delete;

    void set(TDateTime now) { m_now = now; }
    TDateTime get() const { return m_now; }

private:
    TDateTime m_now;
};
