#include "gametime/TZEMForm07.h"

#include <QAction>
#include <QActionGroup>
#include <QBitmap>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QRegion>
#include <QWindow>

#include "common/Messages.h"
#include "common/RealClock.h"
#include "common/ScreenAreas.h"
#include "gametime/ClockPicture.h"
#include "gametime/TZEMAnalogClock.h"
#include "gametime/TZEMTime.h"
#include "resources/Artwork.h"

namespace {

// How long the window must rest after a system move before it is kept on the screen.
constexpr int MoveSettleMSecs = 250;

ClockPicture* makePicture(QWidget* parent, const QString& name) {
    auto* picture = new ClockPicture(parent);
    picture->setObjectName(name);
    return picture;
}

}  // namespace

TZEMForm07::TZEMForm07(TZEMTime& gameClock, TZEMAnalogClock& analogClock, QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint),
      m_gameClock(gameClock),
      m_analogClock(analogClock) {
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
    Timer1->start();
}

TZEMForm07::~TZEMForm07() = default;

void TZEMForm07::FormShow() {
    // Until the first tick the hands show the computer's own time of day.
    m_analogClock.SetClockTime(RealClock::now());
    imgMin->setPicture(m_analogClock.GetMinuteBitmap());
    imgHour->setPicture(m_analogClock.GetHourBitmap());
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
    // The dials are drawn afresh at the size shown, which keeps their outline sharp and the
    // see-through key colour exact at every size; the hands stretch.
    const QImage day = Artwork::image(QStringLiteral("dial_day"), square);
    imgBaseNoon->setPicture(day);
    imgBaseNight->setPicture(Artwork::image(QStringLiteral("dial_night"), square));
    m_keyColor = day.pixel(0, 0);
    for (ClockPicture* picture : {imgBaseNoon, imgBaseNight, imgCenter, imgHour, imgMin}) {
        picture->setGeometry(0, 0, size, size);
    }
    setFixedSize(square);
    // In a bitmap the set bits (colour1, black) belong to the region; the mask image marks the
    // key colour's pixels with white, so they stay out.
    setMask(QRegion(QBitmap::fromImage(day.createMaskFromColor(m_keyColor, Qt::MaskInColor))));
}

void TZEMForm07::Timer1Timer() {
    m_analogClock.SetClockTime(m_gameClock.GameTime);
    imgBaseNoon->setVisible(m_gameClock.IsDaytime());
    imgMin->setPicture(m_analogClock.GetMinuteBitmap());
    imgHour->setPicture(m_analogClock.GetHourBitmap());
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
    const QRect desktop = ScreenAreas::desktop();
    const QRect work = ScreenAreas::workArea();
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
