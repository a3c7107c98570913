#include "ship/GlancePanel.h"

#include <QContextMenuEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

#include "common/Fonts.h"
#include "common/Messages.h"
#include "common/ScreenAreas.h"
#include "gametime/TZEMTime.h"
#include "ship/GlanceFacts.h"
#include "ship/TZEMShip.h"

namespace {

constexpr int ScreenMargin = 20;

QLabel* line(QWidget* parent, const QString& name, int pixels, bool bold = false) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    QFont font = Fonts::font(Fonts::PGothic, pixels);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

}  // namespace

GlancePanel::GlancePanel(TZEMTime& gameClock, const AlarmSchedule* alarms, const QString& folder,
                         QWidget* parent)
    : QWidget(parent, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_gameClock(gameClock),
      m_alarms(alarms),
      m_ships(TZEMShip::createAll()),
      m_settings(folder, int(m_ships.size())) {
    setObjectName(QStringLiteral("GlancePanel"));
    setWindowTitle(QStringLiteral("時刻パネル"));
    setAttribute(Qt::WA_DeleteOnClose);
    setAutoFillBackground(true);
    setToolTip(QStringLiteral("ドラッグで移動、右クリックで航路の表示と閉じる"));

    auto* frame = new QVBoxLayout(this);
    frame->setContentsMargins(10, 6, 10, 8);
    frame->setSpacing(2);
    auto* top = new QHBoxLayout;
    viwGameTime = line(this, QStringLiteral("viwGameTime"), 22, true);
    viwKoku = line(this, QStringLiteral("viwKoku"), 16);
    top->addWidget(viwGameTime);
    top->addSpacing(8);
    top->addWidget(viwKoku, 0, Qt::AlignBottom);
    top->addStretch(1);
    frame->addLayout(top);
    viwDayNight = line(this, QStringLiteral("viwDayNight"), 15);
    viwAlarm = line(this, QStringLiteral("viwAlarm"), 15);
    frame->addWidget(viwDayNight);
    frame->addWidget(viwAlarm);
    m_sailingRows = new QVBoxLayout;
    m_sailingRows->setSpacing(2);
    frame->addLayout(m_sailingRows);

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, [this] { Messages::guarded([this] { refresh(); }); });
    m_timer->start();
    refresh();
    placeAtStart();
}

GlancePanel::~GlancePanel() = default;

void GlancePanel::refresh() {
    const GlanceFacts facts =
        GlanceFacts::read(m_gameClock, m_alarms, m_ships, m_settings.routes());
    viwGameTime->setText(facts.gameTime);
    viwKoku->setText(facts.kokuLine());
    viwDayNight->setText(facts.dayNightLine());
    viwAlarm->setText(facts.alarmLine());
    showSailings(int(facts.sailings.size()));
    for (std::size_t i = 0; i < facts.sailings.size(); ++i) {
        viwSailings[i]->setText(facts.sailingLine(facts.sailings[i]));
    }
}

void GlancePanel::showSailings(int count) {
    if (int(viwSailings.size()) == count) {
        return;
    }
    while (int(viwSailings.size()) < count) {
        QLabel* row = line(this, QStringLiteral("viwSailing%1").arg(viwSailings.size()), 15);
        m_sailingRows->addWidget(row);
        viwSailings.push_back(row);
    }
    while (int(viwSailings.size()) > count) {
        delete viwSailings.back();
        viwSailings.pop_back();
    }
    adjustSize();
}

void GlancePanel::placeAtStart() {
    adjustSize();
    const auto& saved = m_settings.place();
    if (saved && ScreenAreas::reachable(QRect(*saved, size()))) {
        move(*saved);
        return;
    }
    const QRect area = ScreenAreas::workArea();
    move(area.right() - width() - ScreenMargin, area.top() + ScreenMargin);
}

std::unique_ptr<QMenu> GlancePanel::makeMenu() {
    auto menu = std::make_unique<QMenu>();
    QMenu* routes = menu->addMenu(QStringLiteral("出航を表示する航路"));
    for (int r = 0; r < int(m_ships.size()); ++r) {
        QAction* route = routes->addAction(m_ships[std::size_t(r)]->from() + QStringLiteral("→") +
                                           m_ships[std::size_t(r)]->to());
        route->setCheckable(true);
        route->setChecked(m_settings.routeShown(r));
        connect(route, &QAction::toggled, this, [this, r](bool shown) {
            m_settings.setRouteShown(r, shown);
            refresh();
        });
    }
    menu->addSeparator();
    connect(menu->addAction(QStringLiteral("閉じる")), &QAction::triggered, this, &QWidget::close);
    return menu;
}

void GlancePanel::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - pos();
    }
    QWidget::mousePressEvent(event);
}

void GlancePanel::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging) {
        move(event->globalPosition().toPoint() - m_dragOffset);
    }
    QWidget::mouseMoveEvent(event);
}

void GlancePanel::mouseReleaseEvent(QMouseEvent* event) {
    m_dragging = false;
    QWidget::mouseReleaseEvent(event);
}

void GlancePanel::contextMenuEvent(QContextMenuEvent* event) {
    const std::unique_ptr<QMenu> menu = makeMenu();
    menu->exec(event->globalPos());
}

// Without a frame of the window manager's, a line of its own sets the panel off the game.
void GlancePanel::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Dark));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

void GlancePanel::closeEvent(QCloseEvent* event) {
    m_settings.setPlace(pos());
    Messages::guarded([this] { m_settings.save(); });
    QWidget::closeEvent(event);
}
