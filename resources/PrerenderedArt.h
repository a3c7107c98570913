#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Pictures drawn ahead, stored to the bit: a header (the mark "TAMUIMG1", width, height and
// QImage format as 32-bit big-endian numbers) and the compressed rows. PNG would not do: it
// keeps colours without their premultiplied alpha, and the round trip changes them.
namespace PrerenderedArt {

// `compression` is zlib's level: 9 for what is built once, lower for what is written at run time.
QByteArray encode(const QImage& image, int compression = 9);
// The picture, or a TZEMError naming `what` when the bytes are not one.
QImage decode(const QByteArray& bytes, const QString& what);

// "<name>_<width>x<height>.img"
QString fileName(const QString& name, const QSize& size);

// The picture `name` at `size` from `folder` (":/prerendered" in the program): the stored one of
// that size, else the nearest larger one (the largest if none is larger) scaled to it, smoothly,
// or pixel for pixel where `keyed` so that the key colour stays exact. TZEMError when the
// folder has no picture of that name.
QImage load(const QString& folder, const QString& name, const QSize& size, bool keyed);

}  // namespace PrerenderedArt
