#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QSystemTrayIcon>
#include <QtGlobal>
#ifndef Q_OS_WIN
#include <QDBusConnection>
#endif

class QLabel;
class QScrollArea;

class QWidget;

// Tells the user that an alarm rang: on Linux a desktop notification through the freedesktop
// notification service on the session bus (with the desktop's alarm sound as a hint); where no
// service answers, and on Windows, the tray icon's message; where there is no tray either, a
// small window of its own that stays on top. The bus is asked without waiting, so a hung service
// never freezes the program: its failure reply brings the fallback. The desktop path is in
// AlarmNotifier_dbus.cpp and AlarmNotifier_win.cpp.
class AlarmNotifier : public QObject {
    Q_OBJECT
public:
    enum class Path { Desktop, Tray, Window };
    Q_ENUM(Path)

    explicit AlarmNotifier(QObject* parent = nullptr);  // the session bus, where there is one
#ifndef Q_OS_WIN
    AlarmNotifier(const QDBusConnection& bus, QObject* parent = nullptr);
#endif
    ~AlarmNotifier() override;

    void notify(const QString& title, const QString& text);

    // The stay-on-top window of the last fallback, if it is open.
    QWidget* window() const {
        return m_window;
    }
    // The program's own tray icon, for the tray's messages (else the notifier makes one).
    void useTray(QSystemTrayIcon* tray) {
        m_tray = tray;
    }
    // Whether the tray may be used; off in tests that want the window.
    void setTrayAllowed(bool allowed) {
        m_trayAllowed = allowed;
    }

Q_SIGNALS:
    // How a notification reached the user.
    void delivered(AlarmNotifier::Path path);

private:
    void fallBack(const QString& title, const QString& text);
    // Sizes the window to its messages, at most the work area's height, in its top right corner.
    void placeWindow();

#ifndef Q_OS_WIN
    QDBusConnection m_bus;
#endif
    bool m_trayAllowed = true;
    QPointer<QSystemTrayIcon> m_tray;
    QPointer<QWidget> m_window;
    QLabel* m_windowText = nullptr;
    QScrollArea* m_windowScroll = nullptr;
};
