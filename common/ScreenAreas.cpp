#include "common/ScreenAreas.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>
#include <optional>

namespace ScreenAreas {
namespace {

std::optional<QList<Screen>>& injected() {
    static std::optional<QList<Screen>> areas;
    return areas;
}

// Squared distance from a point to the nearest pixel of a rectangle (0 inside).
qint64 distance2(const QPoint& p, const QRect& r) {
    const qint64 dx = p.x() < r.left() ? r.left() - p.x() : std::max(0, p.x() - r.right());
    const qint64 dy = p.y() < r.top() ? r.top() - p.y() : std::max(0, p.y() - r.bottom());
    return dx * dx + dy * dy;
}

}  // namespace

QList<Screen> screens() {
    if (injected()) {
        return *injected();
    }
    QList<Screen> all;
    QScreen* primary = QGuiApplication::primaryScreen();
    if (primary != nullptr) {
        all << Screen{primary->geometry(), primary->availableGeometry()};
    }
    for (QScreen* screen : QGuiApplication::screens()) {
        if (screen != primary) {
            all << Screen{screen->geometry(), screen->availableGeometry()};
        }
    }
    if (all.isEmpty()) {
        all << Screen{QRect(0, 0, 1280, 1024), QRect(0, 0, 1280, 1024)};
    }
    return all;
}

QRect desktop() {
    return screens().constFirst().geometry;
}

QRect workArea() {
    return screens().constFirst().workArea;
}

QRect virtualWorkArea() {
    QRect all;
    for (const Screen& screen : screens()) {
        all |= screen.workArea;
    }
    return all;
}

Screen screenOf(const QRect& frame) {
    const QList<Screen> all = screens();
    const QPoint centre = frame.center();
    const auto nearest =
        std::min_element(all.begin(), all.end(), [&](const auto& a, const auto& b) {
            return distance2(centre, a.geometry) < distance2(centre, b.geometry);
        });
    return *nearest;
}

bool reachable(const QRect& frame) {
    const QList<Screen> all = screens();
    return std::any_of(all.begin(), all.end(),
                       [&](const Screen& screen) { return screen.workArea.intersects(frame); });
}

void inject(const QRect& desktopRect, const QRect& workAreaRect) {
    inject(QList<Screen>{Screen{desktopRect, workAreaRect}});
}

void inject(const QList<Screen>& all) {
    injected() = all.isEmpty() ? std::nullopt : std::optional<QList<Screen>>(all);
}

void reset() {
    injected().reset();
}

}  // namespace ScreenAreas
