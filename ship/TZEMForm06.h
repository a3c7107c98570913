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

    QLineEdit* viwKoku = nullptr;
    QLabel* viwZEMTime = nullptr;
    QLineEdit* iptTime = nullptr;
    QPushButton* btnResetTime = nullptr;
    QComboBox* selShip = nullptr;
    QComboBox* selShipStart = nullptr;
    QComboBox* selShipEnd = nullptr;
    QLabel* viwState = nullptr;
    QLabel* viwArTime = nullptr;
    QLabel* viwArLast = nullptr;
    QLabel* viwLeTime = nullptr;
    QLabel* viwLeLast = nullptr;
    QLabel* viwDaTime = nullptr;
    QLabel* viwDaLast = nullptr;
    std::array<QLabel*, 6> viwSpArr{};
    std::array<QLabel*, 6> viwSpLea{};
    std::array<QLabel*, 6> viwSpGen{};
    QTimer* Timer1 = nullptr;
};
