#include "app/FramePlacement.h"

#include <QWidget>

FramePlacement::FramePlacement(QWidget* window, std::function<void()> place, int ticks,
                               int intervalMs)
    : QObject(window), m_window(window), m_place(std::move(place)), m_ticksLeft(ticks) {
    m_timer.setInterval(intervalMs);
    connect(&m_timer, &QTimer::timeout, this, [this] {
        placeAgainIfFrameChanged();
        if (--m_ticksLeft <= 0) {
            m_timer.stop();
        }
    });
}

void FramePlacement::start() {
    if (m_started) {
        return;
    }
    m_started = true;
    if (m_ticksLeft > 0) {
        m_timer.start();
    }
    place();
}

void FramePlacement::windowMoved() {
    placeAgainIfFrameChanged();
}

void FramePlacement::place() {
    m_place();
    m_placedFrame = m_window->frameGeometry().size();
}

void FramePlacement::placeAgainIfFrameChanged() {
    if (watching() && m_window->frameGeometry().size() != m_placedFrame) {
        place();
    }
}
