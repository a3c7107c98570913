#pragma once

#include <QString>

#include "common/Messages.h"

class QMessageBox;

// The message boxes behind Messages: the program installs them at start-up, a test of a window
// that must see a real box installs them too.
namespace MessageBoxes {

Messages::Presenters presenters();
void install();

// Gives a box its text so that no line of it breaks inside a word while it fits the screen.
void setBoxText(QMessageBox& box, const QString& text);

}  // namespace MessageBoxes
