#include "ship/TZEMForm09.h"
#include "common/FlashNote.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "common/Fonts.h"
#include "common/Messages.h"
#include "common/TDateTime.h"
#include "common/TZEMError.h"
#include "common/ToolWindow.h"
#include "common/WindowPlaces.h"
#include "gametime/TZEMTime.h"
#include "ship/AlarmSchedule.h"
#include "ship/TZEMForm10.h"

namespace {

const QStringList JourneyNames = {QStringLiteral("次の便"), QStringLiteral("その次"),
                                  QStringLiteral("その次の次")};

enum JourneyColumn { ColName, ColArr, ColArrLeft, ColLea, ColLeaLeft, ColGen, ColGenLeft, ColWait };
enum AlarmColumn { ColOn, ColWhat, ColLead, ColRepeat, ColLeft, ColOutcome };

const QString FromKey = QStringLiteral("From");
const QString ToKey = QStringLiteral("To");

// The port last chosen in this box (kept by the window places), or the default.
QComboBox* makePortCombo(QWidget* parent, const char* name, const QString& key, int index) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->addItems(JourneyPlanner::ports());
    if (const WindowPlaces* places = WindowPlaces::shared()) {
        const int remembered = combo->findText(places->value(parent->objectName(), key, {}));
        index = remembered >= 0 ? remembered : index;
    }
    combo->setCurrentIndex(index);
    return combo;
}

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

int voyageIndex(const TZEMShip& route, const TZEMShipTimeItem* voyage) {
    const auto& voyages = route.voyages();
    for (std::size_t i = 0; i < voyages.size(); ++i) {
        if (&voyages[i] == voyage) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

}  // namespace

TZEMForm09::TZEMForm09(TZEMTime& gameClock, AlarmSchedule& alarms, QWidget* parent)
    : QWidget(parent),
      m_gameClock(gameClock),
      m_alarms(alarms),
      m_routes(TZEMShip::createAll()),
      m_planner(m_routes) {
    setObjectName(QStringLiteral("TZEMForm09"));
    ToolWindow::setupResizable(this, QStringLiteral("航路案内"), QSize(700, 572));
    createControls();
    SelectPort();
    showAlarms();
    WindowPlaces::attach(this);
}

TZEMForm09::~TZEMForm09() = default;

void TZEMForm09::createControls() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("出発港"), this));
    m_selFrom = makePortCombo(this, "selFrom", FromKey, 2);  // 佐渡
    top->addWidget(m_selFrom);
    top->addWidget(new QLabel(QStringLiteral("→　到着港"), this));
    m_selTo = makePortCombo(this, "selTo", ToKey, 4);  // 越前
    top->addWidget(m_selTo);
    top->addStretch();
    top->addWidget(new QLabel(QStringLiteral("ゲーム時刻"), this));
    m_viwZEMTime = new QLabel(QStringLiteral("00:00:00"), this);
    m_viwZEMTime->setObjectName(QStringLiteral("viwZEMTime"));
    m_viwZEMTime->setFont(Fonts::font(Fonts::Mincho, 20, true));
    // A fixed size: the time changing every second must not lay the window out again.
    m_viwZEMTime->setFixedSize(m_viwZEMTime->sizeHint() + QSize(12, 0));
    top->addWidget(m_viwZEMTime);
    layout->addLayout(top);

    m_viwNoRoute = new QLabel(this);
    m_viwNoRoute->setObjectName(QStringLiteral("viwNoRoute"));
    m_viwNoRoute->hide();
    layout->addWidget(m_viwNoRoute);

    m_viwJourneys = new QTreeWidget(this);
    m_viwJourneys->setObjectName(QStringLiteral("viwJourneys"));
    m_viwJourneys->setHeaderLabels({QStringLiteral("便・航路"), QStringLiteral("出発港到着"),
                                    QStringLiteral("あと"), QStringLiteral("出航"),
                                    QStringLiteral("あと"), QStringLiteral("目的地到着"),
                                    QStringLiteral("あと"), QStringLiteral("待ち・所要")});
    // Rows of one height: a changed time left then costs no size calculation of its row.
    m_viwJourneys->setUniformRowHeights(true);
    m_viwJourneys->setRootIsDecorated(true);
    m_viwJourneys->setItemsExpandable(false);
    m_viwJourneys->header()->setStretchLastSection(true);
    // Room for the longest route under its journey (two levels in); a narrower column shows the
    // whole name as the item's tooltip.
    int longest = m_viwJourneys->fontMetrics().horizontalAdvance(JourneyNames.last());
    for (const auto& route : m_routes) {
        longest = std::max(longest, m_viwJourneys->fontMetrics().horizontalAdvance(
                                        route->from() + QStringLiteral("→") + route->to()));
    }
    m_viwJourneys->setColumnWidth(ColName, longest + 2 * m_viwJourneys->indentation() + 12);
    for (int c = ColArr; c < ColWait; ++c) {
        m_viwJourneys->setColumnWidth(c, c % 2 == 1 ? 70 : 62);
    }
    layout->addWidget(m_viwJourneys, 3);

    auto* legRow = new QHBoxLayout;
    legRow->addWidget(new QLabel(QStringLiteral("選んだ船の"), this));
    const char* names[] = {"evtAlarmArrival", "evtAlarmSailing", "evtAlarmLanding"};
    const QString texts[] = {QStringLiteral("出発港到着"), QStringLiteral("出航"),
                             QStringLiteral("目的地到着")};
    for (int i = 0; i < 3; ++i) {
        QPushButton* button = makeButton(this, names[i], texts[i]);
        connect(button, &QPushButton::clicked, this, [this, i] { addLegAlarm(i); });
        m_legButtons.push_back(button);
        legRow->addWidget(button);
    }
    legRow->addWidget(new QLabel(QStringLiteral("にアラーム　予告"), this));
    m_iptLead = new QSpinBox(this);
    m_iptLead->setObjectName(QStringLiteral("iptLead"));
    m_iptLead->setRange(0, AlarmSchedule::MaxLeadMinutes);
    m_iptLead->setValue(3);
    m_iptLead->setSuffix(QStringLiteral(" 分前"));
    legRow->addWidget(m_iptLead);
    legRow->addStretch();
    layout->addLayout(legRow);

    auto* bar = new QFrame(this);
    bar->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    layout->addWidget(bar);

    layout->addWidget(new QLabel(QStringLiteral("アラーム一覧"), this));
    m_viwAlarms = new QTableWidget(0, 6, this);
    m_viwAlarms->setObjectName(QStringLiteral("viwAlarms"));
    m_viwAlarms->setHorizontalHeaderLabels({QStringLiteral("有効"), QStringLiteral("アラーム"),
                                            QStringLiteral("予告"), QStringLiteral("繰り返し"),
                                            QStringLiteral("あと"), QStringLiteral("状態")});
    m_viwAlarms->verticalHeader()->hide();
    m_viwAlarms->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_viwAlarms->setSelectionMode(QAbstractItemView::SingleSelection);
    m_viwAlarms->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_viwAlarms->setColumnWidth(ColOn, 40);
    m_viwAlarms->setColumnWidth(ColWhat, 260);
    m_viwAlarms->setColumnWidth(ColLead, 76);
    m_viwAlarms->setColumnWidth(ColRepeat, 84);
    m_viwAlarms->setColumnWidth(ColLeft, 64);
    m_viwAlarms->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(m_viwAlarms, 2);

    auto* alarmRow = new QHBoxLayout;
    QPushButton* dayNight =
        makeButton(this, "evtAlarmDayNight", QStringLiteral("昼夜の切替にアラーム"));
    QPushButton* remove = makeButton(this, "evtAlarmRemove", QStringLiteral("削除"));
    QPushButton* coming = makeButton(this, "evtComing", QStringLiteral("これからの予定…"));
    alarmRow->addWidget(dayNight);
    alarmRow->addWidget(coming);
    alarmRow->addStretch();
    alarmRow->addWidget(remove);
    layout->addLayout(alarmRow);
    createMomentRow(layout);

    connect(m_selFrom, &QComboBox::currentIndexChanged, this, &TZEMForm09::SelectPort);
    connect(m_selTo, &QComboBox::currentIndexChanged, this, &TZEMForm09::SelectPort);
    connect(dayNight, &QPushButton::clicked, this, &TZEMForm09::addDayNightAlarm);
    connect(coming, &QPushButton::clicked, this, &TZEMForm09::showComing);
    connect(remove, &QPushButton::clicked, this, &TZEMForm09::removeAlarm);
    connect(m_viwAlarms, &QTableWidget::itemChanged, this, [this](QTableWidgetItem* item) {
        if (item->column() == ColOn) {
            m_alarms.setEnabled(item->row(), item->checkState() == Qt::Checked);
        }
    });
    // Queued: a change made from a cell's own control must not rebuild the list under it.
    connect(&m_alarms, &AlarmSchedule::changed, this, &TZEMForm09::showAlarms,
            Qt::QueuedConnection);

    m_timer1 = new QTimer(this);
    m_timer1->setObjectName(QStringLiteral("Timer1"));
    m_timer1->setInterval(1000);
    connect(m_timer1, &QTimer::timeout, this, &TZEMForm09::Timer1Timer);
    m_timer1->start();
}

// An alarm on a game time of day (hh:mm) or on the start of a 刻, once or every game day, with a
// lead time of its own.
void TZEMForm09::createMomentRow(QBoxLayout* layout) {
    auto* row = new QHBoxLayout;
    m_selMomentKind = new QComboBox(this);
    m_selMomentKind->setObjectName(QStringLiteral("selMomentKind"));
    m_selMomentKind->addItems({QStringLiteral("ゲーム時刻"), QStringLiteral("刻")});
    row->addWidget(m_selMomentKind);

    m_iptMomentTime = new QLineEdit(this);
    m_iptMomentTime->setObjectName(QStringLiteral("iptMomentTime"));
    m_iptMomentTime->setInputMask(QStringLiteral("99:99;0"));
    m_iptMomentTime->setText(QString());
    m_selKoku = new QComboBox(this);
    m_selKoku->setObjectName(QStringLiteral("selKoku"));
    for (int k = 0; k < TZEMTime::KokuCount; ++k) {
        m_selKoku->addItem(QStringLiteral("%1の刻 %2:00")
                               .arg(TZEMTime::kokuName(k))
                               .arg(2 * k, 2, 10, QLatin1Char('0')));
    }
    // One place for the two entries, as wide as the wider, so that a switch moves nothing.
    m_momentEntry = new QStackedWidget(this);
    m_momentEntry->addWidget(m_iptMomentTime);
    m_momentEntry->addWidget(m_selKoku);
    m_momentEntry->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    row->addWidget(m_momentEntry);

    m_selMomentRepeat = new QComboBox(this);
    m_selMomentRepeat->setObjectName(QStringLiteral("selMomentRepeat"));
    m_selMomentRepeat->addItems({QStringLiteral("一度だけ"), QStringLiteral("毎日")});
    row->addWidget(m_selMomentRepeat);
    row->addWidget(new QLabel(QStringLiteral("予告"), this));
    m_iptMomentLead = new QSpinBox(this);
    m_iptMomentLead->setObjectName(QStringLiteral("iptMomentLead"));
    m_iptMomentLead->setRange(0, AlarmSchedule::MaxLeadMinutes);
    m_iptMomentLead->setValue(3);
    m_iptMomentLead->setSuffix(QStringLiteral(" 分前"));
    row->addWidget(m_iptMomentLead);
    m_evtAlarmMoment = makeButton(this, "evtAlarmMoment", QStringLiteral("時刻にアラーム"));
    row->addWidget(m_evtAlarmMoment);
    row->addStretch();
    layout->addLayout(row);

    connect(m_selMomentKind, &QComboBox::currentIndexChanged, m_momentEntry,
            &QStackedWidget::setCurrentIndex);
    connect(m_iptMomentTime, &QLineEdit::returnPressed, this, &TZEMForm09::addMomentAlarm);
    connect(m_evtAlarmMoment, &QPushButton::clicked, this, &TZEMForm09::addMomentAlarm);
}

QString TZEMForm09::timeLeft(std::int64_t gameSeconds) const {
    return TZEMTime::formatRealTime(m_gameClock.realSecondsFor(gameSeconds));
}

void TZEMForm09::SelectPort() {
    if (WindowPlaces* places = WindowPlaces::shared()) {
        places->setValue(objectName(), FromKey, m_selFrom->currentText());
        places->setValue(objectName(), ToKey, m_selTo->currentText());
    }
    Messages::guarded([this] {
        m_viwJourneys->clear();
        showJourneys();
    });
}

void TZEMForm09::Timer1Timer() {
    Messages::guarded([this] {
        m_viwZEMTime->setText(DateTime::formatLongTime(m_gameClock.GameTime));
        showJourneys();
        refreshAlarmTimes();
    });
}

void TZEMForm09::showJourneys() {
    const QString from = m_selFrom->currentText();
    const QString to = m_selTo->currentText();
    m_journeys = m_planner.plan(from, to, m_gameClock.GameTime, JourneyCount);
    if (m_journeys.empty()) {
        m_viwNoRoute->setText(
            from == to ? QStringLiteral("出発港と到着港が同じです")
                       : QStringLiteral("%1 と %2 を結ぶ航路はありません").arg(from, to));
        m_viwNoRoute->show();
        m_viwJourneys->clear();
        m_viwJourneys->setEnabled(false);
        for (QPushButton* b : m_legButtons) {
            b->setEnabled(false);
        }
        return;
    }
    m_viwNoRoute->hide();
    m_viwJourneys->setEnabled(true);
    for (QPushButton* b : m_legButtons) {
        b->setEnabled(true);
    }
    // The rows stay while the ports do, so that a selected ship stays selected.
    const std::size_t legs = m_journeys.front().legs.size();
    if (m_viwJourneys->topLevelItemCount() != static_cast<int>(m_journeys.size())) {
        m_viwJourneys->clear();
        for (std::size_t j = 0; j < m_journeys.size(); ++j) {
            auto* item = new QTreeWidgetItem(m_viwJourneys, {JourneyNames.value(int(j))});
            for (std::size_t i = 0; i < legs; ++i) {
                new QTreeWidgetItem(item);
            }
            item->setExpanded(true);
        }
    }
    const auto format = [](const TZEMShipTimeItem* v, TDateTime TZEMShipTimeItem::*field) {
        return DateTime::formatLongTime(v->*field);
    };
    for (std::size_t j = 0; j < m_journeys.size(); ++j) {
        const Journey& journey = m_journeys[j];
        QTreeWidgetItem* item = m_viwJourneys->topLevelItem(int(j));
        item->setText(ColLea, format(journey.legs.front().voyage, &TZEMShipTimeItem::LeaTime));
        item->setText(ColLeaLeft, timeLeft(journey.departure()));
        item->setText(ColGen, format(journey.legs.back().voyage, &TZEMShipTimeItem::GenTime));
        item->setText(ColGenLeft, timeLeft(journey.landing()));
        item->setText(ColWait, QStringLiteral("所要 ") + timeLeft(journey.duration()));
        for (std::size_t i = 0; i < journey.legs.size(); ++i) {
            const JourneyLeg& leg = journey.legs[i];
            const TZEMShip& route = m_planner.route(leg.route);
            QTreeWidgetItem* child = item->child(int(i));
            const QString name = route.from() + QStringLiteral("→") + route.to();
            child->setText(ColName, name);
            child->setToolTip(ColName, name);
            child->setText(ColArr, format(leg.voyage, &TZEMShipTimeItem::ArrTime));
            child->setText(ColArrLeft,
                           leg.arrival > 0 ? timeLeft(leg.arrival) : QStringLiteral("停泊中"));
            child->setText(ColLea, format(leg.voyage, &TZEMShipTimeItem::LeaTime));
            child->setText(ColLeaLeft, timeLeft(leg.sailing));
            child->setText(ColGen, format(leg.voyage, &TZEMShipTimeItem::GenTime));
            child->setText(ColGenLeft, timeLeft(leg.landing));
            child->setText(
                ColWait,
                i == 0 ? QString() : QStringLiteral("待ち ") + timeLeft(journey.waitBefore(i)));
        }
    }
}

void TZEMForm09::addLegAlarm(int event) {
    Messages::guarded([this, event] {
        if (m_journeys.empty()) {
            return;
        }
        // The selected ship; a selected journey means its first ship, no selection the next.
        std::size_t journey = 0;
        std::size_t leg = 0;
        if (QTreeWidgetItem* item = m_viwJourneys->currentItem()) {
            if (QTreeWidgetItem* parent = item->parent()) {
                journey = std::size_t(m_viwJourneys->indexOfTopLevelItem(parent));
                leg = std::size_t(parent->indexOfChild(item));
            } else {
                journey = std::size_t(m_viwJourneys->indexOfTopLevelItem(item));
            }
        }
        journey = std::min(journey, m_journeys.size() - 1);
        leg = std::min(leg, m_journeys[journey].legs.size() - 1);
        const JourneyLeg& chosen = m_journeys[journey].legs[leg];
        ShipAlarm alarm;
        alarm.event = static_cast<AlarmEvent>(event);
        alarm.route = chosen.route;
        alarm.voyage = voyageIndex(m_planner.route(chosen.route), chosen.voyage);
        alarm.leadMinutes = m_iptLead->value();
        alarm.repeat = false;
        // This very ship, even when it lies in port already or sails after tomorrow's.
        const AlarmEvent what = alarm.event;
        alarm.due = m_alarms.realMomentIn(what == AlarmEvent::Arrival   ? chosen.arrival
                                          : what == AlarmEvent::Sailing ? chosen.sailing
                                                                        : chosen.landing);
        FlashNote::show(m_legButtons.at(std::size_t(event)), m_alarms.addRequested(alarm));
    });
}

void TZEMForm09::showComing() {
    if (!m_comingWindow) {
        m_comingWindow = new TZEMForm10(m_gameClock, m_alarms, this);
        WindowPlaces::placeBeside(m_comingWindow, this);
    }
    m_comingWindow->show();
    m_comingWindow->raise();
    m_comingWindow->activateWindow();
}

void TZEMForm09::addDayNightAlarm() {
    Messages::guarded([this] {
        ShipAlarm alarm;
        alarm.event = AlarmEvent::DayNight;
        alarm.voyage = -1;
        alarm.leadMinutes = m_iptLead->value();
        alarm.repeat = true;
        FlashNote::show(findChild<QPushButton*>(QStringLiteral("evtAlarmDayNight")),
                        m_alarms.addRequested(alarm));
    });
}

void TZEMForm09::addMomentAlarm() {
    Messages::guarded([this] {
        ShipAlarm alarm;
        if (m_selMomentKind->currentIndex() == 0) {
            // With the blank character 0 the text drops its zeros; the display keeps them.
            const QString typed = m_iptMomentTime->displayText();
            const std::optional<TDateTime> time = DateTime::parseTime(typed);
            if (!time) {
                throw TZEMError::notATime(typed);
            }
            alarm.event = AlarmEvent::GameTime;
            alarm.gameMinute = static_cast<int>(DateTime::secondsOfDay(*time) / 60);
        } else {
            alarm.event = AlarmEvent::Koku;
            alarm.koku = m_selKoku->currentIndex();
        }
        alarm.leadMinutes = m_iptMomentLead->value();
        alarm.repeat = m_selMomentRepeat->currentIndex() == 1;
        FlashNote::show(m_evtAlarmMoment, m_alarms.addRequested(alarm));
    });
}

void TZEMForm09::removeAlarm() {
    const int row = m_viwAlarms->currentRow();
    if (row >= 0) {
        m_alarms.remove(row);
    }
}

void TZEMForm09::showAlarms() {
    const auto& alarms = m_alarms.alarms();
    const QSignalBlocker block(m_viwAlarms);
    if (m_viwAlarms->rowCount() != static_cast<int>(alarms.size())) {
        const int keep = m_viwAlarms->currentRow();
        m_viwAlarms->setRowCount(0);
        m_viwAlarms->setRowCount(static_cast<int>(alarms.size()));
        for (int row = 0; row < static_cast<int>(alarms.size()); ++row) {
            auto* on = new QTableWidgetItem;
            on->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            m_viwAlarms->setItem(row, ColOn, on);
            m_viwAlarms->setItem(row, ColWhat, new QTableWidgetItem);
            m_viwAlarms->setItem(row, ColLeft, new QTableWidgetItem);
            m_viwAlarms->setItem(row, ColOutcome, new QTableWidgetItem);
            auto* lead = new QSpinBox(m_viwAlarms);
            lead->setObjectName(QStringLiteral("iptAlarmLead"));
            lead->setRange(0, AlarmSchedule::MaxLeadMinutes);
            lead->setSuffix(QStringLiteral(" 分前"));
            m_viwAlarms->setCellWidget(row, ColLead, lead);
            connect(lead, &QSpinBox::valueChanged, this,
                    [this, row](int minutes) { m_alarms.setLeadMinutes(row, minutes); });
            auto* repeat = new QComboBox(m_viwAlarms);
            repeat->setObjectName(QStringLiteral("selAlarmRepeat"));
            repeat->addItems({QStringLiteral("一度だけ"), QStringLiteral("毎回")});
            m_viwAlarms->setCellWidget(row, ColRepeat, repeat);
            connect(repeat, &QComboBox::currentIndexChanged, this,
                    [this, row](int index) { m_alarms.setRepeat(row, index == 1); });
        }
        m_viwAlarms->setCurrentCell(std::min(keep, m_viwAlarms->rowCount() - 1), ColWhat);
    }
    for (int row = 0; row < static_cast<int>(alarms.size()); ++row) {
        const ShipAlarm& a = alarms[std::size_t(row)];
        m_viwAlarms->item(row, ColOn)->setCheckState(a.enabled ? Qt::Checked : Qt::Unchecked);
        const QString what = m_alarms.describe(a);
        m_viwAlarms->item(row, ColWhat)->setText(what);
        m_viwAlarms->item(row, ColWhat)->setToolTip(what);
        auto* lead = static_cast<QSpinBox*>(m_viwAlarms->cellWidget(row, ColLead));
        if (lead->value() != a.leadMinutes) {
            const QSignalBlocker quiet(lead);
            lead->setValue(a.leadMinutes);
        }
        auto* repeat = static_cast<QComboBox*>(m_viwAlarms->cellWidget(row, ColRepeat));
        // A time of the game day comes back every game day.
        const bool daily = a.event == AlarmEvent::GameTime || a.event == AlarmEvent::Koku;
        repeat->setItemText(1, daily ? QStringLiteral("毎日") : QStringLiteral("毎回"));
        if (repeat->currentIndex() != (a.repeat ? 1 : 0)) {
            const QSignalBlocker quiet(repeat);
            repeat->setCurrentIndex(a.repeat ? 1 : 0);
        }
        m_viwAlarms->item(row, ColOutcome)
            ->setText(a.outcome == ShipAlarm::Outcome::Rung     ? QStringLiteral("通知済み")
                      : a.outcome == ShipAlarm::Outcome::Missed ? QStringLiteral("見逃し")
                                                                : QString());
    }
    refreshAlarmTimes();
}

void TZEMForm09::refreshAlarmTimes() {
    const auto& alarms = m_alarms.alarms();
    const int rows = std::min(m_viwAlarms->rowCount(), static_cast<int>(alarms.size()));
    for (int row = 0; row < rows; ++row) {
        const ShipAlarm& a = alarms[std::size_t(row)];
        m_viwAlarms->item(row, ColLeft)
            ->setText(a.enabled ? TZEMTime::formatRealTime(m_alarms.realMSecsLeft(a) / 1000)
                                : QStringLiteral("オフ"));
    }
}
