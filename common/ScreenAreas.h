#pragma once

#include <QList>
#include <QRect>

// The screens of the desktop: each one's rectangle and work area (the rectangle minus task
// bars), in virtual-desktop coordinates, the primary screen first. Tests inject their own.
namespace ScreenAreas {

struct Screen {
    QRect geometry;
    QRect workArea;
    bool operator==(const Screen&) const = default;
};

QList<Screen> screens();

// The primary screen.
QRect desktop();
QRect workArea();

// The rectangle that holds every screen's work area: what a saved position is checked against.
QRect virtualWorkArea();

// The screen a window with this frame belongs to: the one holding its centre, or else the one
// nearest to that centre (a centre in a gap between screens of different sizes).
Screen screenOf(const QRect& frame);

// Whether some part of the frame lies on a work area, so that the user can reach the window.
bool reachable(const QRect& frame);

// One screen, or several (the first one is the primary).
void inject(const QRect& desktop, const QRect& workArea);
void inject(const QList<Screen>& screens);
void reset();

}  // namespace ScreenAreas
