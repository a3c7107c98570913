#pragma once

#include <QSize>
#include <QString>

class QWidget;

// Tool windows: a small caption with a close box, freed when closed, the program's default font,
// a fixed client size. The controller finds an open one by its caption.
namespace ToolWindow {

void setup(QWidget* window, const QString& caption, const QSize& clientSize);

}  // namespace ToolWindow
