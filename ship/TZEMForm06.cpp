#include "ship/TZEMForm06.h"
#include "common/FlashNote.h"

#include <QAction>
#include <QComboBox>
#include <QFontMetrics>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTimer>
#include <algorithm>

#include "common/Controls.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "common/RealClock.h"
#include "common/TDateTime.h"
#include "common/TZEMError.h"
#include "common/ToolWindow.h"
#include "gametime/TZEMTime.h"
#include "gametime/TZEMTimeConfig.h"
#include "ship/AlarmSchedule.h"
#include "ship/JourneyPlanner.h"

namespace {

// Full-width spaces pad the departure port to four characters.
const QStringList RouteItems = {
    QStringLiteral("尾張　　　 → 　駿河"), QStringLiteral("尾張　　　 → 　摂津和泉"),
    QStringLiteral("駿河　　　 → 　尾張"), QStringLiteral("摂津和泉　 → 　尾張"),
    QStringLiteral("越後　　　 → 　佐渡"), QStringLiteral("越後　　　 → 　越前"),
    QStringLiteral("佐渡　　　 → 　越後"), QStringLiteral("越前　　　 → 　越後"),
};

const QString Placeholder = QStringLiteral("00:00:00");

// The windows' pixel sizes were chosen for the narrow digits of the Windows fonts; where the
// installed font's digits are wider, the size steps down until a time fits its label.
QFont fittedFont(QFont font, int width) {
    const auto widest = [](const QFont& f) {
        const QFontMetrics metrics(f);
        return std::max(metrics.horizontalAdvance(QStringLiteral("00:00:00")),
                        metrics.horizontalAdvance(QStringLiteral("88:88:88")));
    };
    while (font.pixelSize() > 8 && widest(font) > width - 2) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    return font;
}

QLabel* makeWhiteLabel(QWidget* parent, const QString& name, const QRect& place, int pixelSize,
                       Qt::Alignment alignment) {
    auto* label = new QLabel(Placeholder, parent);
    label->setObjectName(name);
    label->setGeometry(place);
    label->setAlignment(alignment);
    label->setFont(fittedFont(Fonts::font(Fonts::PGothic, pixelSize), place.width()));
    label->setAutoFillBackground(true);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

QComboBox* makeCombo(QWidget* parent, const char* name, const QRect& place,
                     const QStringList& items) {
    // Typed text never becomes an entry: every entry must stay a route or a port.
    QComboBox* combo = Controls::comboBox(parent, QString::fromLatin1(name), place);
    combo->addItems(items);
    combo->setCurrentIndex(-1);
    return combo;
}

QString twoDigits(int n) {
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

}  // namespace

TZEMForm06::TZEMForm06(TZEMTime& gameClock, TZEMTimeConfig& timeConfig, AlarmSchedule* alarms,
                       QWidget* parent)
    : QWidget(parent), m_gameClock(gameClock), m_timeConfig(timeConfig), m_alarms(alarms) {
    setObjectName(QStringLiteral("TZEMForm06"));
    ToolWindow::setup(this, QStringLiteral("船発着時刻表"), QSize(413, 422));
    m_routes = TZEMShip::createAll();
    m_selectedIndex = 0;
    createControls();
    createAlarmMenu();
}

TZEMForm06::~TZEMForm06() = default;

void TZEMForm06::createControls() {
    viwKoku = new QLineEdit(QStringLiteral("子"), this);
    viwKoku->setObjectName(QStringLiteral("viwKoku"));
    viwKoku->setGeometry(8, 4, 68, 72);
    viwKoku->setReadOnly(true);
    viwKoku->setFocusPolicy(Qt::NoFocus);
    viwKoku->setFont(Fonts::font(Fonts::PMincho, 64));
    viwKoku->setTextMargins(0, 0, 0, 0);

    Controls::label(this, QStringLiteral("の刻"), QPoint(84, 56), QStringLiteral("Label1"));

    viwZEMTime = makeWhiteLabel(this, QStringLiteral("viwZEMTime"), QRect(252, 8, 154, 43), 35,
                                Qt::AlignRight | Qt::AlignVCenter);
    viwZEMTime->setFont(fittedFont(Fonts::font(Fonts::Mincho, 35, true), 154));
    viwZEMTime->setText(QStringLiteral("23:59:59"));

    iptTime = new QLineEdit(this);
    iptTime->setObjectName(QStringLiteral("iptTime"));
    iptTime->setGeometry(252, 56, 77, 23);
    // Blank character 0: text() would drop every 0, so the time is read from displayText().
    iptTime->setInputMask(QStringLiteral("99:99:99;0"));
    iptTime->setText(QString());

    btnResetTime = new QPushButton(QStringLiteral("セット"), this);
    btnResetTime->setObjectName(QStringLiteral("btnResetTime"));
    btnResetTime->setGeometry(336, 56, 73, 20);
    btnResetTime->setDefault(true);

    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("StaticText27"));
    bar->setGeometry(0, 84, 408, 5);
    bar->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bar->setLineWidth(1);

    Controls::label(this, QStringLiteral("出発港"), QPoint(80, 100), QStringLiteral("Label9"));
    Controls::label(this, QStringLiteral("到着港"), QPoint(216, 100), QStringLiteral("Label10"));

    // The port selectors and the arrow lie beneath the route selector, which covers them.
    selShipStart = makeCombo(this, "selShipStart", QRect(80, 120, 96, 24), JourneyPlanner::ports());
    selShipEnd = makeCombo(this, "selShipEnd", QRect(216, 120, 96, 24), JourneyPlanner::ports());
    Controls::label(this, QStringLiteral("→"), QPoint(188, 124), QStringLiteral("Label11"));
    selShip = makeCombo(this, "selShip", QRect(80, 120, 232, 24), RouteItems);
    selShip->setFont(Fonts::font(Fonts::Mincho, 16, true));
    selShip->raise();

    viwState = Controls::label(this, QStringLiteral("出発港 到着待ち"), QPoint(80, 148),
                               QStringLiteral("viwState"));
    viwState->resize(233, 21);
    viwState->hide();

    const Qt::Alignment centred = Qt::AlignCenter;
    Controls::label(this, QStringLiteral("出発港到着まで"), QPoint(4, 208),
                    QStringLiteral("Label3"));
    viwArTime =
        makeWhiteLabel(this, QStringLiteral("viwArTime"), QRect(4, 224, 77, 21), 19, centred);
    viwArLast =
        makeWhiteLabel(this, QStringLiteral("viwArLast"), QRect(84, 224, 77, 21), 19, centred);
    Controls::label(this, QStringLiteral("出航開始まで"), QPoint(4, 286), QStringLiteral("Label7"));
    viwLeTime =
        makeWhiteLabel(this, QStringLiteral("viwLeTime"), QRect(4, 302, 77, 21), 19, centred);
    viwLeLast =
        makeWhiteLabel(this, QStringLiteral("viwLeLast"), QRect(84, 302, 77, 21), 19, centred);
    Controls::label(this, QStringLiteral("目的地到着まで"), QPoint(4, 364),
                    QStringLiteral("Label8"));
    viwDaTime =
        makeWhiteLabel(this, QStringLiteral("viwDaTime"), QRect(4, 380, 77, 21), 19, centred);
    viwDaLast =
        makeWhiteLabel(this, QStringLiteral("viwDaLast"), QRect(84, 380, 77, 21), 19, centred);

    Controls::label(this, QStringLiteral("到着時刻"), QPoint(172, 208), QStringLiteral("Label4"));
    Controls::label(this, QStringLiteral("出航時刻"), QPoint(248, 208), QStringLiteral("Label5"));
    Controls::label(this, QStringLiteral("現着時刻"), QPoint(324, 208), QStringLiteral("Label6"));
    const std::array<int, 6> rows = {236, 264, 292, 320, 348, 376};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const QString n = twoDigits(static_cast<int>(i) + 1);
        viwSpArr[i] = makeWhiteLabel(this, QStringLiteral("viwSpArr") + n,
                                     QRect(172, rows[i], 65, 19), 16, centred);
        viwSpLea[i] = makeWhiteLabel(this, QStringLiteral("viwSpLea") + n,
                                     QRect(248, rows[i], 65, 19), 16, centred);
        viwSpGen[i] = makeWhiteLabel(this, QStringLiteral("viwSpGen") + n,
                                     QRect(324, rows[i], 65, 19), 16, centred);
    }

    const std::array<int, 4> bevels = {166, 241, 317, 392};
    for (std::size_t i = 0; i < bevels.size(); ++i) {
        auto* line = new QFrame(this);
        line->setObjectName(QStringLiteral("Bevel%1").arg(i + 1));
        line->setFrameStyle(QFrame::VLine | QFrame::Sunken);
        line->setGeometry(bevels[i], 208, 2, 196);
    }

    setTabOrder(selShip, iptTime);
    setTabOrder(iptTime, btnResetTime);
    setTabOrder(btnResetTime, selShipStart);
    setTabOrder(selShipStart, selShipEnd);

    for (QComboBox* selector : {selShip, selShipStart, selShipEnd}) {
        connect(selector, &QComboBox::currentIndexChanged, this, &TZEMForm06::SelectPort);
        connect(selector, &QComboBox::editTextChanged, this, &TZEMForm06::SelectPort);
    }
    connect(btnResetTime, &QPushButton::clicked, this, &TZEMForm06::btnResetTimeClick);
    connect(iptTime, &QLineEdit::returnPressed, this, &TZEMForm06::btnResetTimeClick);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    connect(Timer1, &QTimer::timeout, this, &TZEMForm06::Timer1Timer);
    Timer1->start();
}

void TZEMForm06::createAlarmMenu() {
    if (!m_alarms) {
        return;
    }
    setContextMenuPolicy(Qt::ActionsContextMenu);
    const struct {
        const char* name;
        const char* text;
        AlarmEvent event;
    } items[] = {{"SetAlarmArrival", "出発港到着にアラーム（3分前）", AlarmEvent::Arrival},
                 {"SetAlarmSailing", "出航にアラーム（3分前）", AlarmEvent::Sailing},
                 {"SetAlarmLanding", "目的地到着にアラーム（3分前）", AlarmEvent::Landing}};
    for (const auto& item : items) {
        auto* action = new QAction(QString::fromUtf8(item.text), this);
        action->setObjectName(QString::fromLatin1(item.name));
        connect(action, &QAction::triggered, this, [this, event = item.event] {
            Messages::guarded([&] {
                if (m_selectedIndex < 0) {
                    throw TZEMError(QStringLiteral("航路を選んでください"));
                }
                // The route's next such moment, once; the alarm list offers every time.
                ShipAlarm alarm;
                alarm.event = event;
                alarm.route = m_selectedIndex;
                alarm.voyage = -1;
                alarm.leadMinutes = 3;
                FlashNote::show(selShip, m_alarms->addRequested(alarm));
            });
        });
        addAction(action);
    }
}

void TZEMForm06::SelectPort() {
    Messages::guarded([this] {
        // Only the route selector counts; a text typed into it that names no route selects none.
        const int index = selShip->findText(selShip->currentText(), Qt::MatchExactly);
        m_selectedIndex = index >= 0 && index < static_cast<int>(m_routes.size()) ? index : -1;
        if (m_selectedIndex < 0) {
            return;
        }
        const TZEMShip& route = *m_routes[static_cast<std::size_t>(m_selectedIndex)];
        ShowTimeTable(route);
        ShowNextTimes(route);
    });
}

void TZEMForm06::Timer1Timer() {
    Messages::guarded([this] {
        viwZEMTime->setText(DateTime::formatLongTime(m_gameClock.GameTime));
        viwKoku->setText(m_gameClock.GetKoku());
        if (m_selectedIndex >= 0) {
            const TZEMShip& route = *m_routes[static_cast<std::size_t>(m_selectedIndex)];
            ShowNextTimes(route);
            viwState->setText(route.stateAt(m_gameClock.GameTime));
        }
    });
}

void TZEMForm06::ShowNextTimes(const TZEMShip& route) {
    viwArTime->setText(DateTime::formatLongTime(route.NextArrTime(m_gameClock.GameTime)));
    viwArLast->setText(m_gameClock.RealTimeUntil(route.NextArrTime(m_gameClock.GameTime)));
    viwLeTime->setText(DateTime::formatLongTime(route.NextLeaTime(m_gameClock.GameTime)));
    viwLeLast->setText(m_gameClock.RealTimeUntil(route.NextLeaTime(m_gameClock.GameTime)));
    viwDaTime->setText(DateTime::formatLongTime(route.NextGenTime(m_gameClock.GameTime)));
    viwDaLast->setText(m_gameClock.RealTimeUntil(route.NextGenTime(m_gameClock.GameTime)));
}

void TZEMForm06::ShowTimeTable(const TZEMShip& route) {
    const auto& voyages = route.voyages();
    const bool sixRows = voyages.size() > 3;
    for (std::size_t i = 0; i < viwSpArr.size(); ++i) {
        if (i >= 3) {
            // Rows 4 to 6 are hidden for three-voyage routes and keep their old texts.
            viwSpArr[i]->setVisible(sixRows);
            viwSpLea[i]->setVisible(sixRows);
            viwSpGen[i]->setVisible(sixRows);
        }
        if (i < voyages.size()) {
            viwSpArr[i]->setText(DateTime::formatLongTime(voyages[i].ArrTime));
            viwSpLea[i]->setText(DateTime::formatLongTime(voyages[i].LeaTime));
            viwSpGen[i]->setText(DateTime::formatLongTime(voyages[i].GenTime));
        }
    }
}

void TZEMForm06::btnResetTimeClick() {
    Messages::guarded([this] {
        const QString typed = iptTime->displayText();
        const std::optional<TDateTime> time = DateTime::parseTime(typed);
        if (!time) {
            throw TZEMError::notATime(typed);
        }
        m_gameClock.SetGameTime(*time);
        // One reading of "now" for both date and time, so that an anchor set at midnight
        // cannot pair yesterday's date with today's time.
        const TDateTime now = RealClock::now();
        m_timeConfig.AssignSetTime(m_gameClock.GameTime);
        m_timeConfig.AssignNowDate(now);
        m_timeConfig.AssignNowTime(now);
        FlashNote::show(btnResetTime, QStringLiteral("ゲーム時刻を %1 にセットしました")
                                          .arg(DateTime::formatLongTime(m_gameClock.GameTime)));
    });
}
