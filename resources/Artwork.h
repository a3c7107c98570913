#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QSize>
#include <QString>

// TAMU's pictures: SVG files compiled into the program (:/art/<name>.svg), rendered on demand at
// exactly the size asked for. The Windows build has no SVG renderer: it brings the pictures of
// programPictures() drawn ahead on the build machine, the same to the bit, and makes any other
// size from the nearest larger one.
//
// The clock pictures ("dial_day", "dial_night", "center", "hand_hour", "hand_minute") come out
// in 24-bit colour (Format_RGB32) on the clock's key colour, pure red: every pixel outside the
// dial or hand is exactly (255, 0, 0) and no pixel of the drawing is red or close to it, so a
// colour-keyed window shows a clean edge. "splash" is opaque (Format_RGB32); the tool-bar
// images and the application icon "tamu" have a transparent background
// (Format_ARGB32_Premultiplied).
//
// A name that has no picture, or an empty size or one beyond 8192 pixels a side, raises
// TZEMError.
namespace Artwork {

inline constexpr int toolCount = 19;  // tool-bar images 0..18
inline constexpr int toolSize = 32;
// The sides, in window pixels, at which the windows show their pictures.
inline constexpr int splashSize = 591;
inline constexpr int handSize = 512;
inline constexpr int clockLargeSize = 512;
inline constexpr int clockSmallSize = 256;
inline constexpr int iconSize = 256;

// One picture at one size in device pixels.
struct Picture {
    QString name;
    QSize size;
};
// Every picture the program draws, at every size it asks for on screens of 100 %, 125 %, 150 %
// and 200 %: what a build without an SVG renderer brings along, drawn ahead.
QList<Picture> programPictures();

QImage image(const QString& name, const QSize& size);

// Device pixels per window pixel: the highest ratio of the screens (2 on a 200 % screen or with
// QT_SCALE_FACTOR=2), 1 without a GUI application.
qreal deviceRatio();
// A size in window pixels as device pixels, rounded.
QSize devicePixels(const QSize& size);
// The picture drawn at device pixels for `size` window pixels, marked with the ratio, so that a
// label or an icon shows it sharp instead of magnified.
QImage deviceImage(const QString& name, const QSize& size);

// The tool-bar image of the given index as an icon (32x32, with versions at 2x and at the
// screens' device ratio).
QIcon toolIcon(int index);

// The picture name of tool-bar image `index` ("tool_00" .. "tool_17").
QString toolImageName(int index);

// The key colour of the clock pictures.
inline constexpr QRgb keyColor = 0xFFFF0000;

// Whether `name` is one of the clock pictures drawn on the key colour.
bool isKeyed(const QString& name);

}  // namespace Artwork
