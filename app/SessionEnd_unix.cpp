#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>

#include "app/SessionEnd.h"

// The signal handler only writes to a pipe that the event loop watches. Signals that come while
// that close runs are ignored; once it has saved, a further one ends the program at once.
namespace {

constexpr std::array<int, 3> EndSignals{SIGTERM, SIGHUP, SIGINT};

enum State : int { Running, Closing, Saved };

int pipeFds[2] = {-1, -1};
volatile std::sig_atomic_t state = Running;

// Async-signal-safe: one byte into the pipe, nothing else.
void onSignal(int signal) {
    if (state == Saved) {
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    if (state == Closing) {
        return;
    }
    state = Closing;
    const int savedErrno = errno;
    const char byte = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], &byte, 1);
    errno = savedErrno;
}

}  // namespace

void SessionEnd::watchPlatform() {
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    m_notifier = new QSocketNotifier(pipeFds[0], QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SessionEnd::readSignal);
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int s : EndSignals) {
        sigaction(s, &action, nullptr);
    }
}

void SessionEnd::unwatchPlatform() {
    for (const int s : EndSignals) {
        std::signal(s, SIG_DFL);
    }
    delete m_notifier;
    m_notifier = nullptr;
    for (int& fd : pipeFds) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
    state = Running;
}

void SessionEnd::saved() {
    state = Saved;
}

void SessionEnd::readSignal() {
    char byte = 0;
    while (::read(pipeFds[0], &byte, 1) == 1) {
    }
    Q_EMIT requested();
}
