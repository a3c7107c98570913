#include "common/ScreenAreas.h"

#include <QGuiApplication>
#include <QScreen>
#include <optional>

namespace ScreenAreas {
namespace {

struct Injected {
    QRect desktop;
    QRect workArea;
};

std::optional<Injected>& injected() {
    static std::optional<Injected> areas;
    return areas;
}

QScreen* primary() {
    return QGuiApplication::primaryScreen();
}

}  // namespace

QRect desktop() {
    if (injected()) {
        return injected()->desktop;
    }
    QScreen* screen = primary();
    return screen ? screen->geometry() : QRect(0, 0, 1280, 1024);
}

QRect workArea() {
    if (injected()) {
        return injected()->workArea;
    }
    QScreen* screen = primary();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
}

void inject(const QRect& desktopRect, const QRect& workAreaRect) {
    injected() = Injected{desktopRect, workAreaRect};
}

void reset() {
    injected().reset();
}

}  // namespace ScreenAreas
