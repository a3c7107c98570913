// Renders every picture of TAMU onto one contact sheet:
//   tamu_artwork_sheet <output.png>
//   tamu_artwork_sheet <output.png> <picture> [width height]   (one picture; a dial with hands)
// Tool-bar images at 1x and 2x, both dials with the hands at 12:50 laid over them the way the
// clock window shows them (key-coloured pixels left out), the application icon and the splash.
#include <QGuiApplication>
#include <QPainter>
#include <cstdio>

#include "common/Fonts.h"
#include "common/Messages.h"
#include "resources/Artwork.h"

namespace {

// Draws `picture` without its key-coloured pixels.
void drawKeyed(QPainter& painter, const QPoint& at, const QImage& picture) {
    QImage masked = picture.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < masked.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < masked.width(); ++x) {
            if (row[x] == Artwork::keyColor) {
                row[x] = qRgba(0, 0, 0, 0);
            }
        }
    }
    painter.drawImage(at, masked);
}

// The hand turned clockwise by `degrees` about the picture centre, nearest neighbour.
QImage turned(const QImage& hand, double degrees) {
    QImage out(hand.size(), QImage::Format_RGB32);
    out.fill(Artwork::keyColor);
    QPainter painter(&out);
    painter.translate(hand.width() / 2.0, hand.height() / 2.0);
    painter.rotate(degrees);
    painter.translate(-hand.width() / 2.0, -hand.height() / 2.0);
    painter.drawImage(0, 0, hand);
    return out;
}

QImage clockAt(const QString& dial, int hour, int minute) {
    const QSize size(512, 512);
    QImage face(size, QImage::Format_ARGB32);
    face.fill(Qt::transparent);
    QPainter painter(&face);
    drawKeyed(painter, QPoint(0, 0), Artwork::image(dial, size));
    drawKeyed(painter, QPoint(0, 0),
              turned(Artwork::image(QStringLiteral("hand_minute"), size), minute * 6.0));
    drawKeyed(painter, QPoint(0, 0),
              turned(Artwork::image(QStringLiteral("hand_hour"), size),
                     ((hour % 12) * 5 + minute / 12) * 6.0));
    drawKeyed(painter, QPoint(0, 0), Artwork::image(QStringLiteral("center"), size));
    return face;
}

void save(const QImage& image, const QString& file) {
    if (!image.save(file)) {
        throw TZEMError(QStringLiteral("%1 に書き込めません").arg(file));
    }
    std::printf("%s\n", qUtf8Printable(file));
}

void renderOne(const QString& file, const QString& name, QSize size) {
    if (name.startsWith(QLatin1String("dial_"))) {
        save(clockAt(name, 12, 50), file);
        return;
    }
    if (size.isEmpty()) {
        size = name == QLatin1String("splash") ? QSize(591, 591) : QSize(512, 512);
    }
    save(Artwork::image(name, size), file);
}

void render(const QString& file) {
    const int margin = 24;
    QImage sheet(margin * 3 + 512 * 2, 1300, QImage::Format_RGB32);
    sheet.fill(QColor(0xe8, 0xe4, 0xda));
    QPainter painter(&sheet);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setFont(Fonts::font(Fonts::PGothic, 14));
    painter.setPen(QColor(0x2b, 0x26, 0x22));

    // Tool-bar images: 1x on a light and a dark strip, then 2x.
    int y = margin;
    for (int row = 0; row < 2; ++row) {
        const QColor strip = row == 0 ? QColor(0xf0, 0xf0, 0xf0) : QColor(0x3c, 0x3f, 0x44);
        painter.fillRect(margin, y, Artwork::toolCount * 44 + 8, 48, strip);
        for (int i = 0; i < Artwork::toolCount; ++i) {
            painter.drawImage(margin + 8 + i * 44, y + 8,
                              Artwork::image(Artwork::toolImageName(i), QSize(32, 32)));
        }
        y += 56;
    }
    painter.fillRect(margin, y, sheet.width() - 2 * margin, 2 * 68 + 16, Qt::white);
    for (int i = 0; i < Artwork::toolCount; ++i) {
        const int col = i % 9, line = i / 9;
        const int x = margin + 8 + col * 112;
        const int top = y + 8 + line * 76;
        painter.drawImage(x, top, Artwork::image(Artwork::toolImageName(i), QSize(64, 64)));
        painter.drawText(x + 70, top + 36, QString::number(i));
    }
    y += 2 * 76 + 16;

    // The two dials at 12:50, as the clock window overlays them.
    painter.drawImage(margin, y, clockAt(QStringLiteral("dial_day"), 12, 50));
    painter.drawImage(margin * 2 + 512, y, clockAt(QStringLiteral("dial_night"), 12, 50));
    y += 512 + margin;

    // Application icon and splash (scaled to half).
    painter.drawImage(margin, y, Artwork::image(QStringLiteral("tamu"), QSize(128, 128)));
    painter.drawImage(margin, y + 140, Artwork::image(QStringLiteral("tamu"), QSize(48, 48)));
    painter.drawImage(margin + 60, y + 140, Artwork::image(QStringLiteral("tamu"), QSize(32, 32)));
    painter.drawImage(margin + 100, y + 140, Artwork::image(QStringLiteral("tamu"), QSize(16, 16)));
    const QImage splash = Artwork::image(QStringLiteral("splash"), QSize(591, 591));
    painter.drawImage(QRect(margin * 2 + 160, y, 400, 400), splash);
    painter.end();
    save(sheet, file);
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    Fonts::registerSubstitutions();
    Messages::setPresenters(Messages::Presenters{
        [](const QString& t) { std::fprintf(stderr, "error: %s\n", qUtf8Printable(t)); },
        [](const QString& t) { std::fprintf(stderr, "%s\n", qUtf8Printable(t)); },
        [](const QString&, const QString&) { return true; }});
    const QStringList args = QGuiApplication::arguments();
    const QString file = args.value(1, QStringLiteral("artwork_sheet.png"));
    return Messages::guarded([&] {
        if (args.size() > 2) {
            renderOne(file, args.at(2), QSize(args.value(3).toInt(), args.value(4).toInt()));
        } else {
            render(file);
        }
    })
               ? 0
               : 1;
}
