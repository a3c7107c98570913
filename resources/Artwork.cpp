#include "resources/Artwork.h"

#include <QFile>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QRegularExpression>
#include <mutex>
#include "resources/PrerenderedArt.h"
#ifndef TAMU_PRERENDERED_ART
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <optional>
#endif

#include "common/Fonts.h"
#include "common/TZEMError.h"

// The .qrc lives in this static library; referencing its initialiser keeps the linker from
// dropping it. The splash names the Windows fonts, which are mapped onto the installed ones.
static void initArtwork() {
#ifdef TAMU_PRERENDERED_ART
    Q_INIT_RESOURCE(prerendered);
#else
    Q_INIT_RESOURCE(artwork);
#endif
    Fonts::registerSubstitutions();
}

namespace Artwork {

namespace {

// A clock picture is drawn with a transparent surround; what is at least half covered becomes
// the drawing, composited over `matte` (the colour of its outermost stroke), and the rest the
// key colour. The silhouette is thus hard-edged against the key while the inside stays smooth.
struct KeyedPicture {
    const char* name;
    QRgb matte;
};

constexpr KeyedPicture keyedPictures[] = {
    {"dial_day", 0xFF3A2A1E},  {"dial_night", 0xFF151A2C},  {"center", 0xFF000000},
    {"hand_hour", 0xFF1C1814}, {"hand_minute", 0xFF1C1814},
};

const KeyedPicture* keyedPicture(const QString& name) {
    for (const KeyedPicture& picture : keyedPictures) {
        if (name == QLatin1String(picture.name)) {
            return &picture;
        }
    }
    return nullptr;
}

// Larger than any screen; a bigger request is a mistake, not a picture to allocate.
constexpr int maxSide = 8192;

// Raises TZEMError unless `name` is a plain picture name and `size` one that can be drawn.
void checkRequest(const QString& name, const QSize& size) {
    static std::once_flag once;
    std::call_once(once, initArtwork);

    if (size.isEmpty() || size.width() > maxSide || size.height() > maxSide) {
        throw TZEMError(QStringLiteral("画像「%1」の大きさ %2×%3 は描けません")
                            .arg(name)
                            .arg(size.width())
                            .arg(size.height()));
    }
    // Only plain picture names: nothing that could lead out of the artwork folder.
    static const QRegularExpression plainName(QStringLiteral("^[a-z0-9_]+$"));
    if (!plainName.match(name).hasMatch()) {
        throw TZEMError(QStringLiteral("画像「%1」がありません").arg(name));
    }
}

#ifndef TAMU_PRERENDERED_ART
QByteArray svgText(const QString& name) {
    QFile file(QStringLiteral(":/art/%1.svg").arg(name));
    if (!file.open(QIODevice::ReadOnly)) {
        throw TZEMError(QStringLiteral("画像「%1」がありません").arg(name));
    }
    return file.readAll();
}

QImage renderSvg(const QString& name, const QByteArray& svg, const QSize& size) {
    QSvgRenderer renderer(svg);
    if (!renderer.isValid()) {
        throw TZEMError(QStringLiteral("画像「%1」を読み込めません").arg(name));
    }
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) {
        throw TZEMError(QStringLiteral("画像「%1」を描くメモリが足りません").arg(name));
    }
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(size)));
    painter.end();
    return image;
}

// Drawing a large picture from its SVG takes tens of milliseconds (the splash with its text
// most), at every start: a copy drawn once is kept to the bit in the user's cache folder, named
// by the picture, its size and a hash of its SVG text, so that changed artwork is drawn anew. A
// copy that cannot be read is drawn again; one that cannot be written is simply not kept.
constexpr int cachedFromPixels = 128 * 128;

QString cachedCopy(const QString& name, const QByteArray& svg, const QSize& size) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (folder.isEmpty()) {
        return QString();
    }
    const QByteArray hash =
        QCryptographicHash::hash(svg, QCryptographicHash::Sha1).toHex().left(16);
    // Not under ~/.cache/TAMU, which may be the private folder of the single-instance lock.
    return QStringLiteral("%1/TAMU-art/%2_%3.img")
        .arg(folder, PrerenderedArt::fileName(name, size).chopped(4), QString::fromLatin1(hash));
}

std::optional<QImage> readCachedCopy(const QString& path, const QSize& size) {
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    try {
        QImage image = PrerenderedArt::decode(file.readAll(), path);
        if (image.size() == size) {
            return image;
        }
    } catch (const TZEMError&) {
    }
    return std::nullopt;
}

void keepCachedCopy(const QString& path, const QImage& image) {
    if (path.isEmpty() || !QDir().mkpath(QFileInfo(path).path())) {
        return;
    }
    QSaveFile file(path);
    if (file.open(QIODevice::WriteOnly)) {
        file.write(PrerenderedArt::encode(image, 1));  // quick: it is written during a start
        file.commit();
    }
}

// Close enough to the key to read as red at a glance, or to be caught by a tolerant key.
bool nearKey(QRgb c) {
    return qRed(c) >= 160 && qGreen(c) <= 72 && qBlue(c) <= 72;
}

QImage applyKey(const QImage& drawn, QRgb matte) {
    QImage out(drawn.size(), QImage::Format_RGB32);
    const int mr = qRed(matte), mg = qGreen(matte), mb = qBlue(matte);
    for (int y = 0; y < drawn.height(); ++y) {
        const auto* src = reinterpret_cast<const QRgb*>(drawn.constScanLine(y));
        auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb p = src[x];
            const int a = qAlpha(p);
            if (a < 128) {
                dst[x] = keyColor;
                continue;
            }
            // Premultiplied source over the matte.
            const int rest = 255 - a;
            QRgb c = qRgb(qRed(p) + (mr * rest + 127) / 255, qGreen(p) + (mg * rest + 127) / 255,
                          qBlue(p) + (mb * rest + 127) / 255);
            if (nearKey(c)) {
                c = matte;
            }
            dst[x] = c;
        }
    }
    return out;
}
#endif

}  // namespace

bool isKeyed(const QString& name) {
    return keyedPicture(name) != nullptr;
}

QImage image(const QString& name, const QSize& size) {
    checkRequest(name, size);
#ifdef TAMU_PRERENDERED_ART
    return PrerenderedArt::load(QStringLiteral(":/prerendered"), name, size, isKeyed(name));
#else
    const QByteArray svg = svgText(name);
    const bool cached = qint64(size.width()) * size.height() >= cachedFromPixels;
    const QString copy = cached ? cachedCopy(name, svg, size) : QString();
    if (std::optional<QImage> kept = readCachedCopy(copy, size)) {
        return *kept;
    }
    QImage drawn = renderSvg(name, svg, size);
    if (const KeyedPicture* keyed = keyedPicture(name)) {
        drawn = applyKey(drawn, keyed->matte);
    } else if (name == QLatin1String("splash")) {
        QImage opaque(size, QImage::Format_RGB32);
        opaque.fill(Qt::black);
        QPainter painter(&opaque);
        painter.drawImage(0, 0, drawn);
        painter.end();
        drawn = opaque;
    }
    if (cached) {
        keepCachedCopy(copy, drawn);
    }
    return drawn;
#endif
}

QList<Picture> programPictures() {
    QList<Picture> pictures;
    const auto add = [&pictures](const QString& name, int side) {
        const Picture picture{name, QSize(side, side)};
        for (const Picture& p : pictures) {
            if (p.name == picture.name && p.size == picture.size) {
                return;
            }
        }
        pictures.append(picture);
    };
    for (const qreal ratio : {1.0, 1.25, 1.5, 2.0}) {
        const auto at = [ratio](int side) { return qRound(side * ratio); };
        for (int i = 0; i < toolCount; ++i) {
            add(toolImageName(i), toolSize);
            add(toolImageName(i), 2 * toolSize);
            add(toolImageName(i), at(toolSize));
        }
        add(QStringLiteral("splash"), at(splashSize));
        add(QStringLiteral("hand_hour"), at(handSize));
        add(QStringLiteral("hand_minute"), at(handSize));
        for (const QString& dial : {QStringLiteral("dial_day"), QStringLiteral("dial_night")}) {
            add(dial, at(clockLargeSize));
            add(dial, at(clockSmallSize));
        }
    }
    add(QStringLiteral("center"), clockLargeSize);
    add(QStringLiteral("tamu"), iconSize);
    return pictures;
}

qreal deviceRatio() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr
               ? qGuiApp->devicePixelRatio()
               : 1.0;
}

QSize devicePixels(const QSize& size) {
    const qreal ratio = deviceRatio();
    return QSize(qRound(size.width() * ratio), qRound(size.height() * ratio));
}

QImage deviceImage(const QString& name, const QSize& size) {
    QImage drawn = image(name, devicePixels(size));
    drawn.setDevicePixelRatio(deviceRatio());
    return drawn;
}

QString toolImageName(int index) {
    if (index < 0 || index >= toolCount) {
        throw TZEMError(QStringLiteral("ツールバーの画像 %1 はありません").arg(index));
    }
    return QStringLiteral("tool_%1").arg(index, 2, 10, QLatin1Char('0'));
}

QIcon toolIcon(int index) {
    const QString name = toolImageName(index);
    QIcon icon;
    for (const int side : {toolSize, 2 * toolSize, qRound(toolSize * deviceRatio())}) {
        if (icon.availableSizes().contains(QSize(side, side))) {
            continue;
        }
        icon.addPixmap(QPixmap::fromImage(image(name, QSize(side, side))));
    }
    return icon;
}

}  // namespace Artwork
