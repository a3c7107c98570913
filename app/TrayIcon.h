#pragma once

#include <QList>
#include <QObject>
#include <memory>

class AlarmSchedule;
class QAction;
class QMenu;
class QSystemTrayIcon;
class QTimer;
class QWidget;
class TZEMTime;

// TAMU in the desktop's tray, where it has one: the tooltip tells the game time, its 刻, the real
// time until day or night turns and the next alarm, refreshed once a second; the menu opens and
// closes each tool as its button does and ends TAMU as the end button does. A click shows the
// controller.
class TrayIcon : public QObject {
    Q_OBJECT

public:
    // Null where the desktop has no tray.
    static std::unique_ptr<TrayIcon> makeIfAvailable(TZEMTime& gameClock,
                                                     const AlarmSchedule* alarms,
                                                     const QList<QAction*>& tools, QAction* end,
                                                     QWidget* controller);
    TrayIcon(TZEMTime& gameClock, const AlarmSchedule* alarms, const QList<QAction*>& tools,
             QAction* end, QWidget* controller);
    ~TrayIcon() override;

    QSystemTrayIcon* icon() const { return m_icon; }
    QMenu* menu() const { return m_menu.get(); }
    void refresh();
    // Stops reading the clock and the alarms and leaves the tray, for a program that is ending;
    // the icon itself goes with this object, once nothing is being handled any more.
    void shutDown();

private:
    TZEMTime& m_gameClock;
    const AlarmSchedule* m_alarms;
    std::unique_ptr<QMenu> m_menu;
    QSystemTrayIcon* m_icon = nullptr;
    QTimer* m_timer = nullptr;
};
