#include "common/Messages.h"

#include <QCoreApplication>
#include <utility>

namespace Messages {
namespace {

// Until the program installs its boxes (and in a program without any), messages go to the log
// and a question is answered no.
void logMessage(const QString& text) {
    qWarning("%s", qUtf8Printable(text));
}

Presenters& current() {
    static Presenters presenters{logMessage, logMessage, [](const QString&, const QString& text) {
                                     logMessage(text);
                                     return false;
                                 }};
    return presenters;
}

}  // namespace

Presenters setPresenters(Presenters presenters) {
    return std::exchange(current(), std::move(presenters));
}

void showError(const QString& text) {
    current().error(text);
}
void showPlain(const QString& text) {
    current().plain(text);
}
bool confirm(const QString& title, const QString& text) {
    return current().confirm(title, text);
}

}  // namespace Messages
