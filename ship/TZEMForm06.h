#pragma once

#include <QWidget>
#include <array>
#include <memory>
#include <vector>

#include "ship/TZEMShip.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTimer;
class AlarmSchedule;
class TZEMTime;
class TZEMTimeConfig;

// The ship timetable tool window "船発着時刻表": the game time and its zodiac hour, the next
// arrival, sailing and landing of the chosen route with the real time left until each, the
// route's daily timetable, and the field where the user sets the game clock. It reads the
// controller's game clock and clock state and owns only its eight routes. Given the alarm
// schedule, its popup menu sets an alarm on the next arrival, sailing or landing of the route.
class TZEMForm06 : public QWidget {
    Q_OBJECT
public:
    TZEMForm06(TZEMTime& gameClock, TZEMTimeConfig& timeConfig, AlarmSchedule* alarms = nullptr,
               QWidget* parent = nullptr);
    ~TZEMForm06() override;

    // The route shown, in selector order; -1 when the selector names no route.
    int selectedIndex() const { return m_selectedIndex; }

public Q_SLOTS:
    void SelectPort();
    void Timer1Timer();
    void btnResetTimeClick();

private:
    void createControls();
    void ShowNextTimes(const TZEMShip& route);
    void ShowTimeTable(const TZEMShip& route);
    void createAlarmMenu();

    TZEMTime& m_gameClock;
    TZEMTimeConfig& m_timeConfig;
    AlarmSchedule* m_alarms = nullptr;
    std::vector<std::unique_ptr<TZEMShip>> m_routes;
    int m_selectedIndex = 0;

    QLineEdit* m_viwKoku = nullptr;
    QLabel* m_viwZEMTime = nullptr;
    QLineEdit* m_iptTime = nullptr;
    QPushButton* m_btnResetTime = nullptr;
    QComboBox* m_selShip = nullptr;
    QComboBox* m_selShipStart = nullptr;
    QComboBox* m_selShipEnd = nullptr;
    QLabel* m_viwState = nullptr;
    QLabel* m_viwArTime = nullptr;
    QLabel* m_viwArLast = nullptr;
    QLabel* m_viwLeTime = nullptr;
    QLabel* m_viwLeLast = nullptr;
    QLabel* m_viwDaTime = nullptr;
    QLabel* m_viwDaLast = nullptr;
    std::array<QLabel*, 6> m_viwSpArr{};
    std::array<QLabel*, 6> m_viwSpLea{};
    std::array<QLabel*, 6> m_viwSpGen{};
    QTimer* m_timer1 = nullptr;
};
