#pragma once

#include <QByteArray>

// The Qt platform TAMU asks for before the application object is built. On Wayland a window
// can neither place itself nor learn where it is, so the controller's position and the clock's
// keep-on-screen rules cannot hold there. Where an X server runs in the Wayland session
// (XWayland) and the user has chosen no platform, TAMU runs on it (xcb); without one it runs on
// Wayland natively and windows open where the compositor puts them.
namespace DesktopPlatform {

struct Environment {
    QByteArray qpaPlatform;     // QT_QPA_PLATFORM
    QByteArray waylandDisplay;  // WAYLAND_DISPLAY
    QByteArray display;         // DISPLAY
    QByteArray sessionType;     // XDG_SESSION_TYPE
};

Environment current();

// The platform to ask for, or empty to leave Qt's own choice.
QByteArray choose(const Environment& env);

// Sets QT_QPA_PLATFORM to the choice, if there is one.
void apply();

}  // namespace DesktopPlatform
