#pragma once

#include <QObject>
#include <QSize>
#include <QTimer>
#include <functional>

class QWidget;

// Keeps a freshly shown window at the place it was given while the window manager frames it.
// A manager frames a window some time after it is shown and says so by no event of its own: for
// a short while, the window is placed again whenever it moves or its frame turns out different.
class FramePlacement : public QObject {
    Q_OBJECT

public:
    // `place` moves the window to where it belongs, from its current frame size.
    FramePlacement(QWidget* window, std::function<void()> place, int ticks = 60,
                   int intervalMs = 50);

    // Places the window and begins the watch; later calls do nothing.
    void start();
    // The window moved: placed again if its frame changed while the watch lasts.
    void windowMoved();
    bool watching() const { return m_timer.isActive(); }

private:
    void place();
    void placeAgainIfFrameChanged();

    QWidget* m_window;
    std::function<void()> m_place;
    QTimer m_timer;
    int m_ticksLeft;
    bool m_started = false;
    QSize m_placedFrame;
};
