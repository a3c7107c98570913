#pragma once

class QWidget;

// A control that is disabled only because it shows data the user is not to change (a grid of a
// recipe's materials, a fixed drop-down choice): it keeps taking no input, but draws its text,
// and a grid its background, in the colours of an enabled control, so that it reads like one
// instead of grey on grey. The colours follow later changes of the application's palette.
namespace ReadOnlyLook {

void apply(QWidget* widget);

}  // namespace ReadOnlyLook
