#include "app/DesktopPlatform.h"

#include <QtGlobal>

namespace DesktopPlatform {

Environment current() {
    return Environment{qgetenv("QT_QPA_PLATFORM"), qgetenv("WAYLAND_DISPLAY"), qgetenv("DISPLAY"),
                       qgetenv("XDG_SESSION_TYPE")};
}

QByteArray choose(const Environment& env) {
    if (!env.qpaPlatform.isEmpty()) {
        return {};
    }
    const bool wayland = !env.waylandDisplay.isEmpty() || env.sessionType == "wayland";
    if (!wayland) {
        return {};
    }
    return env.display.isEmpty() ? QByteArrayLiteral("wayland") : QByteArrayLiteral("xcb");
}

void apply() {
    const QByteArray platform = choose(current());
    if (!platform.isEmpty()) {
        qputenv("QT_QPA_PLATFORM", platform);
    }
}

}  // namespace DesktopPlatform
