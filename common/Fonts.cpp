#include "common/Fonts.h"

#include <QStringList>

namespace Fonts {

void registerSubstitutions() {
    const QStringList cjkFallbacks = {QStringLiteral("Noto Sans CJK JP"),
                                      QStringLiteral("Noto Serif CJK JP"),
                                      QStringLiteral("VL Gothic"), QStringLiteral("TakaoGothic")};
    QFont::insertSubstitutions(
        PGothic,
        QStringList{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")} + cjkFallbacks);
    QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"),
                               QStringList{QStringLiteral("IPAGothic")} + cjkFallbacks);
    QFont::insertSubstitutions(
        Mincho,
        QStringList{QStringLiteral("IPAMincho"), QStringLiteral("IPAPMincho")} + cjkFallbacks);
    QFont::insertSubstitutions(
        PMincho,
        QStringList{QStringLiteral("IPAPMincho"), QStringLiteral("IPAMincho")} + cjkFallbacks);
}

QFont font(const QString& windowsName, int pixelSize, bool bold) {
    QFont f(windowsName);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    return f;
}

}  // namespace Fonts
