#pragma once

#include <QFont>
#include <QString>

// The windows name the fonts of a Japanese Windows system; these are mapped onto the installed
// IPA fonts (any CJK font as a fall-back), keeping the pixel sizes.
namespace Fonts {

inline const QString PGothic = QStringLiteral("ＭＳ Ｐゴシック");
inline const QString Mincho = QStringLiteral("ＭＳ 明朝");
inline const QString PMincho = QStringLiteral("ＭＳ Ｐ明朝");

// Registers the substitutions once; safe to call again.
void registerSubstitutions();

QFont font(const QString& windowsName, int pixelSize, bool bold = false);

}  // namespace Fonts
