#pragma once

class QString;
class QWidget;

// A short note that an action worked ("…をコピーしました"), shown for a few seconds in the window
// beside the control that did it, over the window's own controls, never in a box that waits.
// One note per window: a newer one replaces the one still showing.
namespace FlashNote {

constexpr int ShowMSecs = 3000;

// Shows `text` just below `anchor` (above it where the window ends), inside anchor's window;
// nothing while that window is not shown.
void show(QWidget* anchor, const QString& text);

}  // namespace FlashNote
