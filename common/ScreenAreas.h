#pragma once

#include <QRect>

// The primary screen's desktop rectangle and work area (desktop minus task bars). Tests inject
// their own rectangles.
namespace ScreenAreas {

QRect desktop();
QRect workArea();

void inject(const QRect& desktop, const QRect& workArea);
void reset();

}  // namespace ScreenAreas
