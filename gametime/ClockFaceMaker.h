#pragma once

#include <QImage>
#include <atomic>
#include <exception>
#include <memory>
#include <thread>

#include "gametime/TZEMAnalogClock.h"

// Makes the clock face on a thread of its own, so that start-up need not wait for the 120 turns
// of the hands: whoever needs the face first waits for what is left of them, and an end before
// they are done stops them.
class ClockFaceMaker {
public:
    ClockFaceMaker(const QImage& hourImage, const QImage& minuteImage,
                   TZEMAnalogClock::Storage storage);
    ~ClockFaceMaker();
    ClockFaceMaker(const ClockFaceMaker&) = delete;
    ClockFaceMaker& operator=(const ClockFaceMaker&) = delete;

    // Waits until the face is made; raises what making it raised.
    TZEMAnalogClock& face();

private:
    std::atomic<bool> m_stop{false};
    std::unique_ptr<TZEMAnalogClock> m_face;
    std::exception_ptr m_failure;
    std::thread m_thread;
};
