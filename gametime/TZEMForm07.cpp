#include "gametime/TZEMForm07.h"

#include <QAction>
#include <QActionGroup>
#include <QBitmap>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPalette>
#include <QRegion>
#include <QWindow>

#include "common/Messages.h"
#include "common/RealClock.h"
#include "common/ScreenAreas.h"
#include "gametime/ClockOptions.h"
#include "gametime/ClockPictureWidget.h"
#include "gametime/TZEMAnalogClock.h"
#include "gametime/TZEMTime.h"
#include "resources/Artwork.h"

namespace {

// How long the window must rest after a system move before it is kept on the screen.
constexpr int MoveSettleMSecs = 250;

ClockPictureWidget* makePicture(QWidget* parent, const QString& name) {
    auto* picture = new ClockPictureWidget(parent);
    picture->setObjectName(name);
    return picture;
}

// The colour of the dial's outermost pixel above its centre.
QColor rimColor(const QImage& dial, QRgb key) {
    const int x = dial.width() / 2;
    for (int y = 0; y < dial.height(); ++y) {
        if (dial.pixel(x, y) != key) {
            return QColor(dial.pixel(x, y));
        }
    }
    return QColor(Qt::black);
}

}  // namespace

TZEMForm07::TZEMForm07(TZEMTime& gameClock, TZEMAnalogClock& analogClock, ClockOptions* options,
                       QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint),
      m_gameClock(gameClock),
      m_analogClock(analogClock),
      m_options(options) {
    setObjectName(QStringLiteral("Form07"));
    setWindowTitle(QStringLiteral("時間・タイマー"));
    setAttribute(Qt::WA_DeleteOnClose);
    setFocusPolicy(Qt::StrongFocus);

    // Bottom to top.
    imgBaseNight = makePicture(this, QStringLiteral("imgBaseNight"));
    imgBaseNoon = makePicture(this, QStringLiteral("imgBaseNoon"));
    imgMin = makePicture(this, QStringLiteral("imgMin"));
    imgHour = makePicture(this, QStringLiteral("imgHour"));
    imgCenter = makePicture(this, QStringLiteral("imgCenter"));
    imgCenter->installEventFilter(this);

    popTimer = new QMenu(this);
    popTimer->setObjectName(QStringLiteral("popTimer"));
    QMenu* sizeMenu = popTimer->addMenu(QStringLiteral("表示サイズ(&S)"));
    m_sizes = new QActionGroup(this);
    m_sizes->setExclusive(true);
    const auto addSize = [&](QAction*& action, const QString& name, const QString& text,
                             void (TZEMForm07::*handler)()) {
        action = sizeMenu->addAction(text);
        action->setObjectName(name);
        action->setCheckable(true);
        m_sizes->addAction(action);
        connect(action, &QAction::triggered, this,
                [this, handler] { Messages::guarded([&] { (this->*handler)(); }); });
    };
    addSize(actLarge, QStringLiteral("actLarge"), QStringLiteral("大(&L)"),
            &TZEMForm07::actLargeExecute);
    addSize(actMidum, QStringLiteral("actMidum"), QStringLiteral("中(&M)"),
            &TZEMForm07::actMidumExecute);
    addSize(actSmall, QStringLiteral("actSmall"), QStringLiteral("小(&S)"),
            &TZEMForm07::actSmallExecute);
    actLarge->setChecked(true);
    actStayOnTop = popTimer->addAction(QStringLiteral("常に手前に表示(&T)"));
    actStayOnTop->setObjectName(QStringLiteral("actStayOnTop"));
    actStayOnTop->setCheckable(true);
    connect(actStayOnTop, &QAction::triggered, this,
            [this] { Messages::guarded([this] { actStayOnTopExecute(); }); });
    popTimer->addSeparator();
    actFormClose = popTimer->addAction(QStringLiteral("閉じる(&W)"));
    actFormClose->setObjectName(QStringLiteral("actFormClose"));
    actFormClose->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    actFormClose->setShortcutContext(Qt::WindowShortcut);
    addAction(actFormClose);  // so that Ctrl+W works while the clock has the focus
    connect(actFormClose, &QAction::triggered, this,
            [this] { Messages::guarded([this] { actFormCloseExecute(); }); });

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this,
            [this] { Messages::guarded([this] { Timer1Timer(); }); });

    m_moveSettled.setSingleShot(true);
    m_moveSettled.setInterval(MoveSettleMSecs);
    connect(&m_moveSettled, &QTimer::timeout, this, [this] {
        if (QGuiApplication::mouseButtons() & Qt::LeftButton) {
            m_moveSettled.start();
            return;
        }
        m_systemMove = false;
        keepOnScreen();
    });

    FormShow();
    if (m_options != nullptr && m_options->stayOnTop()) {
        actStayOnTop->setChecked(true);
        setStayOnTop(true);
    }
    Timer1->start();
}

TZEMForm07::~TZEMForm07() = default;

void TZEMForm07::FormShow() {
    // Until the first tick the hands show the computer's own time of day.
    m_analogClock.SetClockTime(RealClock::now());
    showHands();
    // The dial matches the game's day or night from the start, not only from the first tick.
    imgBaseNoon->setVisible(m_gameClock.IsDaytime());

    const QImage center = Artwork::image(QStringLiteral("center"), QSize(LargeSize, LargeSize));
    imgCenter->setPicture(center);
    imgHour->setKeyColor(m_analogClock.BackColor);
    imgMin->setKeyColor(m_analogClock.BackColor);
    imgCenter->setKeyColor(center.pixel(0, 0));

    setClockSize(LargeSize);
}

void TZEMForm07::setClockSize(int size) {
    m_size = size;
    const QSize square(size, size);
    // The dials are drawn afresh at the size shown, in device pixels, which keeps their outline
    // sharp on a high-density screen and the see-through key colour exact at every size; the
    // hands stretch.
    const QSize pixels = Artwork::devicePixels(square);
    const QImage day = Artwork::image(QStringLiteral("dial_day"), pixels);
    imgBaseNoon->setPicture(day);
    imgBaseNight->setPicture(Artwork::image(QStringLiteral("dial_night"), pixels));
    m_keyColor = day.pixel(0, 0);
    // The window's shape is made of whole window pixels; at a fractional scale it can take in a
    // device pixel that the dial leaves in the key colour. The dials then draw nothing there and
    // the window's background, the colour of the dial's rim, shows instead.
    for (ClockPictureWidget* dial : {imgBaseNoon, imgBaseNight}) {
        if (dial->keyColor() != m_keyColor) {
            dial->setKeyColor(m_keyColor);
        }
    }
    QPalette rim = palette();
    rim.setColor(QPalette::Window, rimColor(day, m_keyColor));
    setPalette(rim);
    for (ClockPictureWidget* picture : {imgBaseNoon, imgBaseNight, imgCenter, imgHour, imgMin}) {
        picture->setGeometry(0, 0, size, size);
    }
    setFixedSize(square);
    // In a bitmap the set bits (colour1, black) belong to the region; the mask image marks the
    // key colour's pixels with white, so they stay out.
    const QImage shape =
        pixels == square ? day : day.scaled(square, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    setMask(QRegion(QBitmap::fromImage(shape.createMaskFromColor(m_keyColor, Qt::MaskInColor))));
}

void TZEMForm07::showHands() {
    imgMin->setPicture(m_analogClock.GetMinuteBitmap(), m_analogClock.minutePlace(),
                       m_analogClock.minuteSize());
    imgHour->setPicture(m_analogClock.GetHourBitmap(), m_analogClock.hourPlace(),
                        m_analogClock.hourSize());
}

void TZEMForm07::Timer1Timer() {
    m_analogClock.SetClockTime(m_gameClock.GameTime);
    imgBaseNoon->setVisible(m_gameClock.IsDaytime());
    showHands();
}

void TZEMForm07::imgCenterMouseDown(Qt::MouseButton button, const QPoint& globalPos) {
    if (button == Qt::LeftButton) {
        QWindow* window = windowHandle();
        if (window != nullptr && window->startSystemMove()) {
            m_systemMove = true;
            m_moveSettled.start();
        } else {
            m_dragging = true;
            m_dragOffset = globalPos - pos();
        }
    } else if (button == Qt::RightButton) {
        popTimer->popup(globalPos);
    }
}

void TZEMForm07::keepOnScreen() {
    // On Wayland a window neither learns where it is nor moves itself: the compositor keeps it.
    if (QGuiApplication::platformName().startsWith(QLatin1String("wayland"))) {
        return;
    }
    // With several monitors the clock is kept on the one it was dropped on.
    const ScreenAreas::Screen screen = ScreenAreas::screenOf(frameGeometry());
    const QRect& desktop = screen.geometry;
    const QRect& work = screen.workArea;
    int left = x();
    int top = y();
    if (left < desktop.left()) {
        left = desktop.left();
    }
    if (top < work.top()) {
        top = work.top();
    }
    // Measured from the rectangles' own origins, so that a task bar on the left or at the top
    // (or a desktop not starting at 0) still keeps the whole clock visible.
    if (left > desktop.left() + desktop.width() - width()) {
        left = desktop.left() + desktop.width() - width();
    }
    if (top > work.top() + work.height() - height()) {
        top = work.top() + work.height() - height();
    }
    if (QPoint(left, top) != pos()) {
        move(left, top);
    }
}

void TZEMForm07::popupFromKeyboard() {
    // The desktop may send the Menu key both as a key and as a menu request: one menu.
    if (!popTimer->isVisible()) {
        popTimer->popup(mapToGlobal(rect().center()));
    }
}

void TZEMForm07::contextMenuEvent(QContextMenuEvent* event) {
    // The right button opens the menu on its press already (imgCenterMouseDown).
    if (event->reason() == QContextMenuEvent::Keyboard) {
        popupFromKeyboard();
    }
    event->accept();
}

void TZEMForm07::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Menu ||
        (event->key() == Qt::Key_F10 && event->modifiers() == Qt::ShiftModifier)) {
        popupFromKeyboard();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TZEMForm07::eventFilter(QObject* watched, QEvent* event) {
    if (watched != imgCenter) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
        // The second press of a double click comes as a double-click event: a press all the same.
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick: {
            auto* mouse = static_cast<QMouseEvent*>(event);
            const QPoint at = mouse->globalPosition().toPoint();
            Messages::guarded([&] { imgCenterMouseDown(mouse->button(), at); });
            return true;
        }
        case QEvent::MouseMove:
            if (m_dragging) {
                move(static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - m_dragOffset);
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (m_dragging && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
                m_dragging = false;
                Messages::guarded([this] { keepOnScreen(); });
                return true;
            }
            break;
        default:
            break;
    }
    return QWidget::eventFilter(watched, event);
}

void TZEMForm07::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    if (m_systemMove) {
        m_moveSettled.start();
    }
}

void TZEMForm07::actLargeExecute() {
    setClockSize(LargeSize);
}

void TZEMForm07::actMidumExecute() {
    setClockSize(MidumSize);
}

void TZEMForm07::actSmallExecute() {
    setClockSize(SmallSize);
}

void TZEMForm07::actFormCloseExecute() {
    close();
}

void TZEMForm07::actStayOnTopExecute() {
    const bool on = actStayOnTop->isChecked();
    if (m_options != nullptr) {
        m_options->setStayOnTop(on);
    }
    setStayOnTop(on);
}

void TZEMForm07::setStayOnTop(bool on) {
    if (windowFlags().testFlag(Qt::WindowStaysOnTopHint) == on) {
        return;
    }
    // A shown window gets a new native window for the new flag, hidden: put it back exactly where
    // and as it was, see-through corners included.
    const bool shown = isVisible();
    const QRect where = geometry();
    const QRegion shape = mask();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    setMask(shape);
    if (shown) {
        setGeometry(where);
        show();
        raise();
        activateWindow();
    }
}
