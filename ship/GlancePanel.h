#pragma once

#include <QWidget>
#include <memory>
#include <vector>

#include "ship/PanelSettings.h"

class AlarmSchedule;
class QLabel;
class QMenu;
class QTimer;
class QVBoxLayout;
class TZEMShip;
class TZEMTime;

// "時刻パネル": a small borderless panel that stays in front of the game, refreshed once a second:
// the game time and its 刻, day or night with the real time until it turns, the next alarm, and
// the next sailing of each route the player chose in its context menu. Dragged anywhere by the
// mouse; its place and routes are kept in TAMUPanel.ini.
class GlancePanel : public QWidget {
    Q_OBJECT

public:
    // folder: the DAT folder with its trailing separator; alarms may be null.
    GlancePanel(TZEMTime& gameClock, const AlarmSchedule* alarms, const QString& folder,
                QWidget* parent = nullptr);
    ~GlancePanel() override;

    PanelSettings& settings() { return m_settings; }
    // Reads the clock and shows what it says; the timer calls it once a second.
    void refresh();
    // The menu of routes to show and of closing, as the right button opens it.
    std::unique_ptr<QMenu> makeMenu();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void placeAtStart();
    void showSailings(int count);

    TZEMTime& m_gameClock;
    const AlarmSchedule* m_alarms;
    std::vector<std::unique_ptr<TZEMShip>> m_ships;
    PanelSettings m_settings;
    QTimer* m_timer = nullptr;
    QPoint m_dragOffset;
    bool m_dragging = false;

    QLabel* viwGameTime = nullptr;
    QLabel* viwKoku = nullptr;
    QLabel* viwDayNight = nullptr;
    QLabel* viwAlarm = nullptr;
    QVBoxLayout* m_sailingRows = nullptr;
    std::vector<QLabel*> viwSailings;
};
