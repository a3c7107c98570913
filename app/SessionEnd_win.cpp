#include <windows.h>

#include <QMetaObject>
#include <atomic>

#include "app/SessionEnd.h"

// Windows calls the console handler on a thread of its own and ends the process as soon as the
// handler returns from a close, logoff or shutdown event (after about five seconds at the most).
// So the handler hands the request to the GUI thread once and then waits until the close has
// saved: SessionEnd is destroyed after the event loop, when everything is written.
namespace {

std::atomic<SessionEnd*> watcher = nullptr;
std::atomic<bool> received = false;
HANDLE closed = nullptr;  // manual-reset: set once the close has run

BOOL WINAPI onConsoleEvent(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT:
        case CTRL_LOGOFF_EVENT:
        case CTRL_SHUTDOWN_EVENT:
            break;
        default:
            return FALSE;
    }
    if (!received.exchange(true)) {
        if (SessionEnd* target = watcher.load()) {
            QMetaObject::invokeMethod(target, &SessionEnd::requested, Qt::QueuedConnection);
        }
    }
    WaitForSingleObject(closed, 4500);
    return TRUE;
}

}  // namespace

void SessionEnd::watchPlatform() {
    closed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    watcher = this;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

// Windows waits in the handler for the close; once it has saved, the wait may end.
void SessionEnd::saved() {
    if (closed != nullptr) {
        SetEvent(closed);
    }
}

void SessionEnd::unwatchPlatform() {
    watcher = nullptr;
    if (closed != nullptr) {
        SetEvent(closed);
    }
    SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    received = false;
}
