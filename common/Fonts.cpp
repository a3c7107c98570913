#include "common/Fonts.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QStringList>
#include <atomic>

namespace Fonts {

namespace {

// A TAMU for Windows brings the IPA fonts in fonts/ beside the program, for a Windows without
// Japanese fonts; where Windows has the ＭＳ fonts, the windows use those.
void registerShippedFonts() {
    static std::atomic<bool> registered = false;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr ||
        registered.exchange(true)) {
        return;
    }
    const QDir folder(QCoreApplication::applicationDirPath() + QStringLiteral("/fonts"));
    const QStringList files = folder.entryList(
        {QStringLiteral("*.ttf"), QStringLiteral("*.ttc"), QStringLiteral("*.otf")}, QDir::Files,
        QDir::Name);
    for (const QString& file : files) {
        QFontDatabase::addApplicationFont(folder.filePath(file));
    }
}

}  // namespace

void registerSubstitutions() {
    registerShippedFonts();
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

QFont figures(int pixelSize) {
    QFont f = font(Mincho, pixelSize);
    f.setFamilies(FigureFaces + QStringList{Mincho});
    return f;
}

void setApplicationFont() {
    registerSubstitutions();
    // Without a class name this also drops the fonts the platform gave single classes (a
    // Windows menu font, message box font, tooltip font), so that every box, menu and tip
    // takes this one.
    QApplication::setFont(font(PGothic, 12));
}

}  // namespace Fonts
