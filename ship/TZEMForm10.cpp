#include "ship/TZEMForm10.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <iterator>

#include "common/FlashNote.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "common/ToolWindow.h"
#include "gametime/TZEMTime.h"
#include "ship/TZEMShip.h"

void ComingEventsModel::setEvents(std::vector<ComingEvents::Event> events) {
    // One event read a moment later: a day's repetitions of a moment lie an hour apart in real
    // time, far more than the minute allowed here for a late refresh.
    const auto same = [](const ComingEvents::Event& before, const ComingEvents::Event& now) {
        const std::int64_t passed = before.realSeconds - now.realSeconds;
        return passed >= 0 && passed <= 60 && before.isAlarm == now.isAlarm &&
               before.gameTime == now.gameTime && before.what == now.what &&
               before.port == now.port;
    };
    // The usual second: the events before, less some passed at the top, more some come at the
    // bottom. Rows then go and come as such and only the times left change, so that the view
    // keeps its selection; anything else (a filter, an alarm set) makes the rows anew.
    std::size_t passed = 0;
    while (passed < m_events.size() && (events.empty() || !same(m_events[passed], events.front()))) {
        ++passed;
    }
    const std::size_t kept = m_events.size() - passed;
    if (kept > events.size() ||
        !std::equal(m_events.begin() + std::ptrdiff_t(passed), m_events.end(), events.begin(), same)) {
        beginResetModel();
        m_events = std::move(events);
        endResetModel();
        return;
    }
    if (passed > 0) {
        beginRemoveRows({}, 0, int(passed) - 1);
        m_events.erase(m_events.begin(), m_events.begin() + std::ptrdiff_t(passed));
        endRemoveRows();
    }
    std::move(events.begin(), events.begin() + std::ptrdiff_t(kept), m_events.begin());
    if (kept > 0) {
        Q_EMIT dataChanged(index(0, ColLeft), index(int(kept) - 1, ColLeft), {Qt::DisplayRole});
    }
    if (events.size() > kept) {
        beginInsertRows({}, int(kept), int(events.size()) - 1);
        std::move(events.begin() + std::ptrdiff_t(kept), events.end(), std::back_inserter(m_events));
        endInsertRows();
    }
}

int ComingEventsModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_events.size());
}

int ComingEventsModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ComingEventsModel::data(const QModelIndex& index, int role) const {
    if (!checkIndex(index, CheckIndexOption::IndexIsValid)) {
        return {};
    }
    const ComingEvents::Event& e = at(index.row());
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
            case ColLeft:
                return ComingEvents::leftText(e);
            case ColGameTime:
                return e.gameTime;
            case ColWhat:
                return e.what;
            case ColPort:
                return e.port;
            default:
                return e.isAlarm ? QStringLiteral("設定済み") : QStringLiteral("アラーム");
        }
    }
    if (role == Qt::TextAlignmentRole && index.column() == ColLeft) {
        return QVariant(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    }
    if (role == Qt::ToolTipRole && index.column() == ColAlarm && !e.isAlarm) {
        return QStringLiteral("クリックでこの予定にアラーム");
    }
    return {};
}

QVariant ComingEventsModel::headerData(int section, Qt::Orientation orientation, int role) const {
    static const char* const heads[] = {"あと", "ゲーム時刻", "予定", "港", "アラーム"};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < ColumnCount) {
        return QString::fromUtf8(heads[section]);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

TZEMForm10::TZEMForm10(TZEMTime& gameClock, AlarmSchedule& alarms, QWidget* parent)
    : QWidget(parent), m_gameClock(gameClock), m_alarms(alarms) {
    setObjectName(QStringLiteral("TZEMForm10"));
    ToolWindow::setupResizable(this, QStringLiteral("これからの予定"), QSize(620, 480));
    setFont(Fonts::font(Fonts::PGothic, 12));
    auto* layout = new QVBoxLayout(this);
    auto* filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QStringLiteral("港"), this));
    selPort = new QComboBox(this);
    selPort->setObjectName(QStringLiteral("selPort"));
    selPort->addItem(QStringLiteral("全て"));
    for (const auto& route : m_alarms.routes()) {
        for (const QString& port : {route->from(), route->to()}) {
            if (selPort->findText(port) < 0) {
                selPort->addItem(port);
            }
        }
    }
    filters->addWidget(selPort);
    filters->addSpacing(12);
    chkArrival = new QCheckBox(QStringLiteral("出発港到着"), this);
    chkSailing = new QCheckBox(QStringLiteral("出航"), this);
    chkLanding = new QCheckBox(QStringLiteral("目的地到着"), this);
    for (auto [box, name] :
         {std::pair{chkArrival, "chkArrival"}, std::pair{chkSailing, "chkSailing"},
          std::pair{chkLanding, "chkLanding"}}) {
        box->setObjectName(QString::fromLatin1(name));
        box->setChecked(true);
        filters->addWidget(box);
        connect(box, &QCheckBox::toggled, this,
                [this] { Messages::guarded([this] { refresh(); }); });
    }
    filters->addStretch(1);
    layout->addLayout(filters);

    viwEvents = new QTableView(this);
    viwEvents->setObjectName(QStringLiteral("viwEvents"));
    viwEvents->setModel(&m_model);
    viwEvents->verticalHeader()->hide();
    viwEvents->verticalHeader()->setDefaultSectionSize(20);
    viwEvents->setSelectionBehavior(QAbstractItemView::SelectRows);
    viwEvents->setEditTriggers(QAbstractItemView::NoEditTriggers);
    viwEvents->setWordWrap(false);
    viwEvents->setColumnWidth(ComingEventsModel::ColLeft, 64);
    viwEvents->setColumnWidth(ComingEventsModel::ColGameTime, 72);
    viwEvents->setColumnWidth(ComingEventsModel::ColWhat, 260);
    viwEvents->setColumnWidth(ComingEventsModel::ColPort, 80);
    viwEvents->horizontalHeader()->setStretchLastSection(true);
    layout->addWidget(viwEvents, 1);

    connect(selPort, &QComboBox::currentIndexChanged, this,
            [this] { Messages::guarded([this] { refresh(); }); });
    connect(viwEvents, &QTableView::clicked, this, [this](const QModelIndex& index) {
        if (index.column() == ComingEventsModel::ColAlarm) {
            Messages::guarded([this, row = index.row()] { setAlarmAt(row); });
        }
    });
    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("Timer1"));
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, [this] { Messages::guarded([this] { refresh(); }); });
    m_timer->start();
    refresh();
}

void TZEMForm10::refresh() {
    ComingEvents::Choice choice;
    choice.arrivals = chkArrival->isChecked();
    choice.sailings = chkSailing->isChecked();
    choice.landings = chkLanding->isChecked();
    choice.port = selPort->currentIndex() > 0 ? selPort->currentText() : QString();
    // The list is read anew each second; the view stays where the player scrolled it.
    const int scrolled = viwEvents->verticalScrollBar()->value();
    m_model.setEvents(ComingEvents::read(m_gameClock, m_alarms, choice));
    viwEvents->verticalScrollBar()->setValue(scrolled);
}

void TZEMForm10::setAlarmAt(int row) {
    if (row < 0 || row >= m_model.rowCount()) {
        return;
    }
    const ComingEvents::Event& e = m_model.at(row);
    if (e.isAlarm) {
        return;
    }
    ShipAlarm alarm = e.alarm;
    alarm.due = m_alarms.realMomentIn(e.gameSeconds);
    const QString note = m_alarms.addRequested(alarm);
    refresh();
    FlashNote::show(viwEvents, note);
}
