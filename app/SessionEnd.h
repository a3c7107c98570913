#pragma once

#include <QObject>

class QSocketNotifier;

// Turns the ways a desktop session or the system ends a program into one request on the GUI
// thread: the session manager's request to save (logout and shutdown on every desktop, Windows'
// end of session among them), the application's quit, and the platform's own: on Linux SIGTERM
// (shutdown), SIGHUP (the terminal or session going away) and SIGINT (Ctrl+C); on Windows the
// console's Ctrl+C, Ctrl+Break, close, logoff and shutdown events. The program answers it by
// closing as its end button does.
class SessionEnd : public QObject {
    Q_OBJECT

public:
    explicit SessionEnd(QObject* parent = nullptr);
    ~SessionEnd() override;  // the platform's default handling again
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

    // The close has written every file: from now on a further end signal ends the program at
    // once. Until then the signals after the first are ignored, so that a logout's second signal
    // or a double Ctrl+C cannot end it half way through its save.
    void saved();

Q_SIGNALS:
    void requested();

private:
    // In SessionEnd_unix.cpp and SessionEnd_win.cpp.
    void watchPlatform();
    void unwatchPlatform();
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
};
