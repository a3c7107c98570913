#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>
#include <vector>

#include "ship/JourneyPlanner.h"

class AlarmSchedule;
class QBoxLayout;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QStackedWidget;
class QTableWidget;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class TZEMForm10;
class TZEMTime;

// The journey planner tool window "航路案内": from a departure port to a destination port, the
// next three journeys from the current game time (for each ship: when it comes in, sails and
// lands, in game time and as the real time left, the wait between ships and the real time of
// the whole journey), refreshed once a second. Alarms are set per ship from here, and the list
// of all alarms is kept here, with alarms on the game day's own times (a game time, a 刻). It reads
// the controller's game clock and alarm schedule.
class TZEMForm09 : public QWidget {
    Q_OBJECT
public:
    static constexpr int JourneyCount = 3;

    TZEMForm09(TZEMTime& gameClock, AlarmSchedule& alarms, QWidget* parent = nullptr);
    ~TZEMForm09() override;

    const std::vector<Journey>& journeys() const { return m_journeys; }

public Q_SLOTS:
    void SelectPort();
    void Timer1Timer();

private:
    void createControls();
    void showJourneys();
    void showAlarms();
    void refreshAlarmTimes();
    void addLegAlarm(int event);
    void addDayNightAlarm();
    void showComing();
    void addMomentAlarm();
    void createMomentRow(QBoxLayout* layout);
    void removeAlarm();
    QString timeLeft(std::int64_t gameSeconds) const;

    TZEMTime& m_gameClock;
    AlarmSchedule& m_alarms;
    QPointer<TZEMForm10> m_comingWindow;
    std::vector<std::unique_ptr<TZEMShip>> m_routes;
    JourneyPlanner m_planner;
    std::vector<Journey> m_journeys;

    QComboBox* m_selFrom = nullptr;
    QComboBox* m_selTo = nullptr;
    QLabel* m_viwZEMTime = nullptr;
    QLabel* m_viwNoRoute = nullptr;
    QTreeWidget* m_viwJourneys = nullptr;
    QSpinBox* m_iptLead = nullptr;
    std::vector<QPushButton*> m_legButtons;
    QTableWidget* m_viwAlarms = nullptr;
    QComboBox* m_selMomentKind = nullptr;
    QStackedWidget* m_momentEntry = nullptr;
    QLineEdit* m_iptMomentTime = nullptr;
    QComboBox* m_selKoku = nullptr;
    QComboBox* m_selMomentRepeat = nullptr;
    QSpinBox* m_iptMomentLead = nullptr;
    QPushButton* m_evtAlarmMoment = nullptr;
    QTimer* m_timer1 = nullptr;
};
