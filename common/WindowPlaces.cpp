#include "common/WindowPlaces.h"

#include <QEvent>
#include <QRegion>
#include <QWidget>
#include <algorithm>

namespace {

const QString LeftKey = QStringLiteral("Left");
const QString TopKey = QStringLiteral("Top");
const QString WidthKey = QStringLiteral("Width");
const QString HeightKey = QStringLiteral("Height");

// Beyond this a coordinate or size is no place on any desktop, and frames built from it could
// overflow.
constexpr int Limit = 100000;
// Between a first place and the controller, and the step between windows of one class that
// would open on top of each other.
constexpr int Gap = 8;
constexpr int CascadeStep = 24;
constexpr int CascadeTries = 10;

WindowPlaces*& installed() {
    static WindowPlaces* places = nullptr;
    return places;
}

qint64 area(const QRect& r) {
    return r.isEmpty() ? 0 : qint64(r.width()) * r.height();
}

// Squared distance from a point to the nearest pixel of a rectangle (0 inside).
qint64 distance2(const QPoint& p, const QRect& r) {
    const qint64 dx = p.x() < r.left() ? r.left() - p.x() : std::max(0, p.x() - r.right());
    const qint64 dy = p.y() < r.top() ? r.top() - p.y() : std::max(0, p.y() - r.bottom());
    return dx * dx + dy * dy;
}

// The work area a frame belongs to: the one it overlaps most, else the one nearest its centre.
QRect workAreaOf(const QRect& frame, const QList<ScreenAreas::Screen>& screens) {
    QRect best;
    qint64 bestArea = 0;
    for (const ScreenAreas::Screen& s : screens) {
        if (const qint64 a = area(frame & s.workArea); a > bestArea) {
            best = s.workArea;
            bestArea = a;
        }
    }
    if (bestArea > 0) {
        return best;
    }
    const QPoint centre = frame.center();
    const auto nearest =
        std::min_element(screens.begin(), screens.end(), [&](const auto& a, const auto& b) {
            return distance2(centre, a.workArea) < distance2(centre, b.workArea);
        });
    return nearest->workArea;
}

// The frame moved (not resized) so that it lies in the work area as far as its size allows; a
// frame wider or taller than the area keeps its left or top edge on the area's.
QRect clampInto(QRect frame, const QRect& work) {
    const int x = std::max(work.left(), std::min(frame.left(), work.right() + 1 - frame.width()));
    const int y = std::max(work.top(), std::min(frame.top(), work.bottom() + 1 - frame.height()));
    frame.moveTopLeft(QPoint(x, y));
    return frame;
}

std::optional<int> number(const QString& text, int low, int high) {
    const std::optional<std::int32_t> n = IniProfile::parseInteger(text);
    if (!n || *n < low || *n > high) {
        return std::nullopt;
    }
    return *n;
}

}  // namespace

WindowPlaces::WindowPlaces(const QString& folder, QObject* parent)
    : QObject(parent), m_profile(folder + FileName) {
    for (const IniProfile::Entry& e : m_profile.readAll()) {
        const QString s = slot(e.section, e.key);
        if (!m_values.contains(s)) {  // the first of equal keys counts, as in readString
            m_values.insert(s, Value{e.section, e.key, e.value});
            m_stored.insert(s, e.value);
            m_order << s;
        }
    }
}

WindowPlaces::~WindowPlaces() {
    if (installed() == this) {
        installed() = nullptr;
    }
}

QString WindowPlaces::slot(const QString& section, const QString& key) {
    return (section + u'\n' + key).toCaseFolded();
}

QString WindowPlaces::value(const QString& window, const QString& key,
                            const QString& defaultValue) const {
    const auto it = m_values.constFind(slot(window, key));
    return it != m_values.cend() ? it->text : defaultValue;
}

void WindowPlaces::setValue(const QString& window, const QString& key, const QString& value) {
    const QString s = slot(window, key);
    if (!m_values.contains(s)) {
        m_order << s;
    }
    m_values.insert(s, Value{window, key, value});
}

std::optional<WindowPlaces::Place> WindowPlaces::place(const QString& window) const {
    const auto left = number(value(window, LeftKey, {}), -Limit, Limit);
    const auto top = number(value(window, TopKey, {}), -Limit, Limit);
    const auto width = number(value(window, WidthKey, {}), 1, Limit);
    const auto height = number(value(window, HeightKey, {}), 1, Limit);
    if (!left || !top || !width || !height) {
        return std::nullopt;
    }
    return Place{QPoint(*left, *top), QSize(*width, *height)};
}

void WindowPlaces::setPlace(const QString& window, const Place& place) {
    setValue(window, LeftKey, QString::number(place.frameTopLeft.x()));
    setValue(window, TopKey, QString::number(place.frameTopLeft.y()));
    setValue(window, WidthKey, QString::number(place.size.width()));
    setValue(window, HeightKey, QString::number(place.size.height()));
}

void WindowPlaces::setController(QWidget* controller) {
    m_controller = controller;
}

QRect WindowPlaces::controllerFrame() const {
    return m_controller ? m_controller->frameGeometry() : QRect();
}

QMargins WindowPlaces::frameMargins(const QWidget* window) const {
    // Before a window is shown its frame is not known; a tool window gets the controller's.
    const QWidget* framed = window->isVisible() ? window : m_controller.data();
    if (framed == nullptr) {
        return {};
    }
    const QRect f = framed->frameGeometry();
    const QRect g = framed->geometry();
    return {g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom()};
}

bool WindowPlaces::occupied(const QWidget* window, const QPoint& frameTopLeft) const {
    return std::any_of(m_windows.begin(), m_windows.end(), [&](const QPointer<QWidget>& other) {
        return other && other != window && other->isVisible() &&
               other->objectName() == window->objectName() &&
               other->frameGeometry().topLeft() == frameTopLeft;
    });
}

void WindowPlaces::track(QWidget* window) {
    m_windows.removeAll(QPointer<QWidget>());
    if (m_windows.contains(window)) {
        return;
    }
    m_windows << window;
    window->installEventFilter(this);

    const QMargins margins = frameMargins(window);
    const QList<ScreenAreas::Screen> screens = ScreenAreas::screens();
    QRect frame;
    if (const std::optional<Place> saved = place(window->objectName())) {
        QSize minimum = window->minimumSize();
        if (const QSize hint = window->minimumSizeHint(); hint.isValid()) {
            minimum = minimum.expandedTo(hint);
        }
        frame = restoredFrame(QRect(saved->frameTopLeft, saved->size.grownBy(margins)),
                              minimum.grownBy(margins), screens);
    } else if (m_controller) {
        frame = firstFrame(window->size().grownBy(margins), controllerFrame(), screens);
    } else {
        return;  // where the system puts it
    }
    // A fixed-size window keeps its size.
    window->resize(frame.size().shrunkBy(margins));
    frame.setSize(window->size().grownBy(margins));

    // A second window of a class opens a step down and right of the first, not on top of it.
    const QRect work = workAreaOf(frame, screens);
    for (int i = 0; i < CascadeTries && occupied(window, frame.topLeft()); ++i) {
        const QRect next = frame.translated(CascadeStep, CascadeStep);
        if (!work.contains(next)) {
            break;
        }
        frame = next;
    }
    window->move(frame.topLeft());
}

void WindowPlaces::record(const QWidget* window) {
    setPlace(window->objectName(), Place{window->frameGeometry().topLeft(), window->size()});
}

void WindowPlaces::recordOpenWindows() {
    for (const QPointer<QWidget>& window : std::as_const(m_windows)) {
        if (window && window->isVisible()) {
            record(window);
        }
    }
}

bool WindowPlaces::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Close) {
        if (auto* window = qobject_cast<QWidget*>(watched); window && window->isVisible()) {
            record(window);
        }
    }
    return QObject::eventFilter(watched, event);
}

void WindowPlaces::save() {
    QList<IniProfile::Entry> changed;
    for (const QString& s : std::as_const(m_order)) {
        const Value& v = m_values[s];
        if (const auto stored = m_stored.constFind(s);
            stored == m_stored.cend() || *stored != v.text) {
            changed << IniProfile::Entry{v.section, v.key, v.text};
        }
    }
    if (changed.isEmpty()) {
        return;
    }
    m_profile.write(changed);
    for (const IniProfile::Entry& e : std::as_const(changed)) {
        m_stored.insert(slot(e.section, e.key), e.value);
    }
}

WindowPlaces* WindowPlaces::shared() {
    return installed();
}

void WindowPlaces::setShared(WindowPlaces* places) {
    installed() = places;
}

void WindowPlaces::attach(QWidget* window) {
    if (WindowPlaces* places = shared()) {
        places->track(window);
    }
}

void WindowPlaces::placeBeside(QWidget* window, const QWidget* neighbour) {
    const WindowPlaces* places = shared();
    if (places != nullptr && places->place(window->objectName())) {
        return;
    }
    const QMargins margins = places != nullptr ? places->frameMargins(window) : QMargins();
    const QRect frame(neighbour->frameGeometry().topRight() + QPoint(Gap, 0),
                      window->size().grownBy(margins));
    const QRect work = ScreenAreas::screenOf(neighbour->frameGeometry()).workArea;
    if (work.contains(frame) &&
        (places == nullptr || !frame.intersects(places->controllerFrame()))) {
        window->move(frame.topLeft());
    }
}

QRect WindowPlaces::restoredFrame(const QRect& saved, const QSize& minimum,
                                  const QList<ScreenAreas::Screen>& screens) {
    if (screens.isEmpty()) {
        return saved;
    }
    QRegion uncovered(saved);
    for (const ScreenAreas::Screen& s : screens) {
        uncovered -= s.workArea;
    }
    if (uncovered.isEmpty()) {
        return saved;  // across two monitors too, as long as none of it hangs off
    }
    const QRect work = workAreaOf(saved, screens);
    const QSize size = saved.size().boundedTo(work.size()).expandedTo(minimum);
    return clampInto(QRect(saved.topLeft(), size), work);
}

QRect WindowPlaces::firstFrame(const QSize& frame, const QRect& controller,
                               const QList<ScreenAreas::Screen>& screens) {
    if (screens.isEmpty()) {
        return QRect(QPoint(), frame);
    }
    const QRect work = workAreaOf(controller, screens);
    const QSize size = frame.boundedTo(work.size());
    const int w = size.width();
    const int h = size.height();
    const QPoint candidates[] = {
        {controller.right() + 1 - w, controller.top() - Gap - h},     // above, right edges even
        {controller.left() - Gap - w, controller.bottom() + 1 - h},   // left, bottoms even
        {controller.right() + 1 - w, controller.bottom() + 1 + Gap},  // below
        {controller.right() + 1 + Gap, controller.bottom() + 1 - h},  // right
    };
    QRect best;
    qint64 bestCover = -1;
    for (const QPoint& at : candidates) {
        const QRect placed = clampInto(QRect(at, size), work);
        const qint64 cover = area(placed & controller);
        if (cover == 0) {
            return placed;
        }
        if (bestCover < 0 || cover < bestCover) {
            best = placed;
            bestCover = cover;
        }
    }
    return best;
}
