#pragma once

#include <functional>

class QObject;

// A modal dialog or a menu runs an event loop of its own inside the handler that opened it; a
// window closed from within that loop would be destroyed under the handler (and a dialog on its
// stack with it). ModalUnwind closes the pop-up menus and ends every open modal dialog as its
// Escape key would, and calls `then` once the dialogs' loops have returned to their handlers, or
// after `patienceMSecs` whatever a dialog does. With no dialog open it calls `then` at once.
namespace ModalUnwind {

void endAllThen(QObject* context, std::function<void()> then, int patienceMSecs = 2000);

}  // namespace ModalUnwind
