#include "app/TrayIcon.h"

#include <QApplication>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>
#ifdef Q_OS_WIN
#include <windows.h>
#endif

#include "common/Messages.h"
#include "ship/GlanceFacts.h"
#include "ship/TZEMShip.h"

namespace {

// Wine's own tray takes the icon, but the program then crashes as it ends (Wine 8, Qt 6.4): under
// Wine TAMU keeps out of the tray, as on a desktop without one.
bool underWine() {
#ifdef Q_OS_WIN
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
#else
    return false;
#endif
}

}  // namespace

std::unique_ptr<TrayIcon> TrayIcon::makeIfAvailable(TZEMTime& gameClock,
                                                    const AlarmSchedule* alarms,
                                                    const QList<QAction*>& tools, QAction* end,
                                                    QWidget* controller) {
    if (!QSystemTrayIcon::isSystemTrayAvailable() || underWine()) {
        return nullptr;
    }
    return std::make_unique<TrayIcon>(gameClock, alarms, tools, end, controller);
}

TrayIcon::TrayIcon(TZEMTime& gameClock, const AlarmSchedule* alarms, const QList<QAction*>& tools,
                   QAction* end, QWidget* controller)
    : m_gameClock(gameClock), m_alarms(alarms), m_menu(std::make_unique<QMenu>()) {
    m_menu->setObjectName(QStringLiteral("mnuTray"));
    m_menu->addActions(tools);
    m_menu->addSeparator();
    m_menu->addAction(end);
    m_icon = new QSystemTrayIcon(QApplication::windowIcon(), this);
    m_icon->setObjectName(QStringLiteral("trayTAMU"));
    m_icon->setContextMenu(m_menu.get());
    connect(m_icon, &QSystemTrayIcon::activated, controller,
            [controller](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger) {
                    controller->showNormal();
                    controller->raise();
                    controller->activateWindow();
                }
            });
    m_timer = new QTimer(this);
    m_timer->setInterval(1000);
    connect(m_timer, &QTimer::timeout, this, [this] { Messages::guarded([this] { refresh(); }); });
    m_timer->start();
    refresh();
    m_icon->show();
}

// The icon goes before the menu it shows.
TrayIcon::~TrayIcon() {
    delete m_icon;
}

void TrayIcon::shutDown() {
    m_timer->stop();
    m_icon->hide();
}

void TrayIcon::refresh() {
    const std::vector<std::unique_ptr<TZEMShip>> noRoutes;
    m_icon->setToolTip(GlanceFacts::read(m_gameClock, m_alarms, noRoutes, {}).toolTip());
}
