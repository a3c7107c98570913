#pragma once

#include <QFont>
#include <QString>
#include <QStringList>

// The windows name the fonts of a Japanese Windows system; these are mapped onto the installed
// IPA fonts (any CJK font as a fall-back), keeping the pixel sizes.
namespace Fonts {

inline const QString PGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString Mincho = QStringLiteral("ＭＳ 明朝");
inline const QString PMincho = QStringLiteral("ＭＳ Ｐ明朝");
// The face of the profit calculator's figures: a narrow serif like Mincho, but its figure one has
// a flag and a foot, where the Mincho substitute's reads as a lower-case L ("ll24" for 1124). A
// font database that names faces by their typographic family knows it as "DejaVu Serif"; where
// only the regular width is installed, that one does as well.
inline const QStringList FigureFaces = {QStringLiteral("DejaVu Serif Condensed"),
                                        QStringLiteral("DejaVu Serif")};

// Registers the substitutions once; safe to call again.
void registerSubstitutions();

QFont font(const QString& windowsName, int pixelSize, bool bold = false);

// The figures of a window drawn in Mincho: a figure face at the same pixel size, Mincho for any
// character it lacks (and where none is installed).
QFont figures(int pixelSize);

// Registers the substitutions and makes "ＭＳ Ｐゴシック" of 12 pixels the font of every message
// box, menu, tooltip and dialog, and of any window that names no font of its own. It replaces
// the fonts the platform gives such classes, which differ from one another (a Japanese locale
// picks a fixed-width Gothic there). Call it once the application object exists.
void setApplicationFont();

}  // namespace Fonts
