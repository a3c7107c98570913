// tamu_prerender_art <folder>: every picture the program draws, at every size it asks for,
// drawn from the SVG files into <folder>, with prerendered.qrc listing them, for a build of
// TAMU without an SVG renderer (Windows).
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>
#include <cstdio>

#include "common/TZEMError.h"
#include "resources/Artwork.h"
#include "resources/PrerenderedArt.h"

namespace {

void write(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw TZEMError::cannotWrite(path);
    }
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tamu_prerender_art <folder>\n");
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    try {
        if (!QDir().mkpath(folder.path())) {
            throw TZEMError::cannotWrite(folder.path());
        }
        QByteArray qrc = "<RCC>\n  <qresource prefix=\"/prerendered\">\n";
        for (const Artwork::Picture& picture : Artwork::programPictures()) {
            const QString name = PrerenderedArt::fileName(picture.name, picture.size);
            write(folder.filePath(name),
                  PrerenderedArt::encode(Artwork::image(picture.name, picture.size)));
            qrc += "    <file>" + name.toUtf8() + "</file>\n";
        }
        qrc += "  </qresource>\n</RCC>\n";
        write(folder.filePath(QStringLiteral("prerendered.qrc")), qrc);
    } catch (const TZEMError& e) {
        std::fprintf(stderr, "tamu_prerender_art: %s\n", qUtf8Printable(e.message()));
        return 1;
    }
    return 0;
}
