#pragma once

#include <QSize>
#include <QString>

class QWidget;

// Tool windows: a small caption with a close box, freed when closed, the program's default font,
// a fixed client size. The controller finds an open one by its caption.
namespace ToolWindow {

void setup(QWidget* window, const QString& caption, const QSize& clientSize);
// The same for a window that the user may resize, opening at the given client size.
void setupResizable(QWidget* window, const QString& caption, const QSize& initialSize);
// For a window that no other window owns: it is freed when the program ends, if not before.
void freeAtQuit(QWidget* window);

}  // namespace ToolWindow
