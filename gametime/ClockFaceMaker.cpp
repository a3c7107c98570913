#include "gametime/ClockFaceMaker.h"

ClockFaceMaker::ClockFaceMaker(const QImage& hourImage, const QImage& minuteImage,
                               TZEMAnalogClock::Storage storage)
    : m_thread([this, hourImage, minuteImage, storage] {
          try {
              m_face = std::make_unique<TZEMAnalogClock>(hourImage, minuteImage, storage, &m_stop);
          } catch (...) {
              m_failure = std::current_exception();
          }
      }) {}

ClockFaceMaker::~ClockFaceMaker() {
    m_stop = true;
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

TZEMAnalogClock& ClockFaceMaker::face() {
    if (m_thread.joinable()) {
        m_thread.join();
    }
    if (m_failure) {
        std::rethrow_exception(m_failure);
    }
    return *m_face;
}
