#pragma once

#include <QString>
#include <exception>
#include <functional>

#include "common/TZEMError.h"

// Everything the program says to the user in a modal box goes through here, so that tests can
// replace the boxes with recorders and pre-answered questions.
namespace Messages {

struct Presenters {
    std::function<void(const QString& text)> error;  // error box, OK button
    std::function<void(const QString& text)> plain;  // no icon, OK button, application title
    std::function<bool(const QString& title, const QString& text)> confirm;  // OK / キャンセル
};

// Installs new presenters and returns the previous ones (for restoring). Until the first call
// messages go to the log, so that logic and its tests need no widgets; the program installs
// the boxes of MessageBoxes.
Presenters setPresenters(Presenters presenters);

void showError(const QString& text);
void showPlain(const QString& text);
bool confirm(const QString& title, const QString& text);

// Runs a top-level body (an event handler, a timer tick, a start-up step); an error it raises is
// shown in the error box and the program carries on. Returns false when the body failed.
template <class Body>
bool guarded(Body&& body) noexcept {
    try {
        body();
        return true;
    } catch (const TZEMError& e) {
        showError(e.message());
    } catch (const std::exception& e) {
        showError(QString::fromUtf8(e.what()));
    } catch (...) {
        showError(QStringLiteral("予期しないエラーが発生しました"));
    }
    return false;
}

}  // namespace Messages
