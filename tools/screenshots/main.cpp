// Renders every window of TAMU offscreen into PNG files:
//   tamu_screenshots [output folder] [scene name ...]
#include <QApplication>
#include <QBitmap>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <map>
#include <string>

#include "common/DataFolder.h"
#include "common/Fonts.h"
#include "common/Messages.h"
#include "tools/screenshots/Shots.h"

namespace {

std::map<std::string, ShotScene>& scenes() {
    static std::map<std::string, ShotScene> registry;
    return registry;
}

void settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
    }
}

}  // namespace

ShotRegistrar::ShotRegistrar(const char* name, ShotScene scene) {
    scenes()[name] = std::move(scene);
}

void ShotContext::save(QWidget* widget, const QString& name, bool transparent) const {
    widget->show();
    settle();
    QImage image = widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    if (transparent && !widget->mask().isEmpty()) {
        // The mask is in window pixels, the picture in device pixels.
        const QRegion mask = widget->mask();
        const qreal ratio = image.devicePixelRatio();
        for (int y = 0; y < image.height(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                if (!mask.contains(QPoint(int(x / ratio), int(y / ratio)))) {
                    row[x] = qRgba(0, 0, 0, 0);
                }
            }
        }
    }
    write(image, name);
}

void ShotContext::saveWithToolTip(QWidget* widget, const QString& name) const {
    widget->show();
    settle();
    QImage image = widget->grab().toImage().convertToFormat(QImage::Format_ARGB32);
    for (QWidget* tip : QApplication::topLevelWidgets()) {
        if (tip->inherits("QTipLabel") && tip->isVisible()) {
            QPainter painter(&image);
            painter.drawPixmap(tip->geometry().topLeft() - widget->geometry().topLeft(),
                               tip->grab());
        }
    }
    write(image, name);
}

void ShotContext::write(const QImage& image, const QString& name) const {
    const QString file = QDir(outputFolder).filePath(name + QStringLiteral(".png"));
    if (!image.save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qUtf8Printable(file));
    } else {
        std::printf("%s\n", qUtf8Printable(file));
    }
}

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("TAMU"));
    Fonts::setApplicationFont();
    // Errors of a scene go to the console instead of a modal box.
    Messages::setPresenters(Messages::Presenters{
        [](const QString& t) { std::fprintf(stderr, "error: %s\n", qUtf8Printable(t)); },
        [](const QString& t) { std::fprintf(stderr, "message: %s\n", qUtf8Printable(t)); },
        [](const QString&, const QString&) { return true; }});

    const QStringList args = QCoreApplication::arguments().mid(1);
    ShotContext ctx;
    ctx.outputFolder = args.value(0, QStringLiteral("docs/screenshots"));
    QDir().mkpath(ctx.outputFolder);

    QTemporaryDir scratch;
    ctx.dataFolder = scratch.path() + QStringLiteral("/DAT/");
    QDir().mkpath(ctx.dataFolder);
    ctx.itemDatabase = ctx.dataFolder + QStringLiteral("TAMU_Item.db");
    const QString sample =
        QCoreApplication::applicationDirPath() + QStringLiteral("/DAT/TAMU_Item.db");
    QFile::copy(sample, ctx.itemDatabase);
    DataFolder::setOverride(ctx.dataFolder);

    const QStringList wanted = args.mid(1);
    int failures = 0;
    for (auto& [name, scene] : scenes()) {
        if (!wanted.isEmpty() && !wanted.contains(QString::fromStdString(name))) {
            continue;
        }
        if (!Messages::guarded([&] { scene(ctx); })) {
            ++failures;
        }
        settle();
    }
    return failures == 0 ? 0 : 1;
}
