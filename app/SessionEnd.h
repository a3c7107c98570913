#pragma once

#include <QObject>

class QSocketNotifier;

// Turns the ways a desktop session or the system ends a program into one request on the GUI
// thread: SIGTERM (shutdown), SIGHUP (the terminal or session going away), SIGINT (Ctrl+C), the
// session manager's request to save, and the application's quit. The program answers it by
// closing as its end button does. The signal handler only writes to a pipe that the event loop
// watches; a second signal while that close runs ends the program at once.
class SessionEnd : public QObject {
    Q_OBJECT

public:
    explicit SessionEnd(QObject* parent = nullptr);
    ~SessionEnd() override;  // the signals' default actions again
    SessionEnd(const SessionEnd&) = delete;
    SessionEnd& operator=(const SessionEnd&) = delete;

Q_SIGNALS:
    void requested();

private:
    void readSignal();

    QSocketNotifier* m_notifier = nullptr;
};
