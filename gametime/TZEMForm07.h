#pragma once

#include "resources/Artwork.h"

#include <QPoint>
#include <QTimer>
#include <QWidget>

class QAction;
class QActionGroup;
class QMenu;
class ClockOptions;
class ClockPictureWidget;
class TZEMAnalogClock;
class TZEMTime;

// The clock window (時間・タイマー): a borderless round analog clock of the game time. Only the
// dial shows: the key-coloured corners of its pictures are cut out of the window, so they
// neither show nor take the mouse. The day dial shows while it is day in the game, the night
// dial beneath it otherwise. Left drag moves the clock (then kept on the screen), the right
// button opens the menu of sizes, staying in front and closing.
class TZEMForm07 : public QWidget {
    Q_OBJECT
public:
    static constexpr int LargeSize = Artwork::clockLargeSize;
    static constexpr int MidumSize = 386;
    static constexpr int SmallSize = Artwork::clockSmallSize;

    // options: where staying in front is remembered (none: only for this window).
    TZEMForm07(TZEMTime& gameClock, TZEMAnalogClock& analogClock, ClockOptions* options = nullptr,
               QWidget* parent = nullptr);
    ~TZEMForm07() override;

    int clockSize() const { return m_size; }

    // Event handlers.
    void FormShow();
    void Timer1Timer();
    void imgCenterMouseDown(Qt::MouseButton button, const QPoint& globalPos);
    void actLargeExecute();
    void actMidumExecute();
    void actSmallExecute();
    void actFormCloseExecute();
    void actStayOnTopExecute();

    // Moves the window back onto the screen: left edge to the desktop, top to the work area.
    void keepOnScreen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // The menu from the keyboard too: the Menu key and Shift+F10.
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // The hands of the face's time, each where it lies on the face.
    void showHands();
    void setClockSize(int size);
    void setStayOnTop(bool on);
    void popupFromKeyboard();

    TZEMTime& m_gameClock;
    TZEMAnalogClock& m_analogClock;
    ClockOptions* m_options = nullptr;
    int m_size = LargeSize;

    ClockPictureWidget* imgBaseNight = nullptr;
    ClockPictureWidget* imgBaseNoon = nullptr;
    ClockPictureWidget* imgMin = nullptr;
    ClockPictureWidget* imgHour = nullptr;
    ClockPictureWidget* imgCenter = nullptr;

    QMenu* popTimer = nullptr;
    QActionGroup* m_sizes = nullptr;
    QAction* actLarge = nullptr;
    QAction* actMidum = nullptr;
    QAction* actSmall = nullptr;
    QAction* actStayOnTop = nullptr;
    QAction* actFormClose = nullptr;
    QTimer* Timer1 = nullptr;

    QRgb m_keyColor = 0xFFFF0000;
    // Dragging by hand where the platform has no system move loop.
    bool m_dragging = false;
    QPoint m_dragOffset;
    // The system move loop runs on its own; the window is kept on screen once it settles.
    bool m_systemMove = false;
    QTimer m_moveSettled;
};
