#include "resources/PrerenderedArt.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <memory>
#include <utility>

#include "common/TZEMError.h"

namespace PrerenderedArt {
namespace {

const QByteArray Mark = QByteArrayLiteral("TAMUIMG1");
constexpr int MaxSide = 8192;

QImage read(const QString& path, const QString& what) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throw TZEMError(QStringLiteral("画像「%1」がありません").arg(what));
    }
    return decode(file.readAll(), what);
}

}  // namespace

QByteArray encode(const QImage& image, int compression) {
    QByteArray rows;
    rows.reserve(qsizetype(image.width()) * image.height() * 4);
    const int rowBytes = image.width() * image.depth() / 8;
    for (int y = 0; y < image.height(); ++y) {
        rows.append(reinterpret_cast<const char*>(image.constScanLine(y)), rowBytes);
    }
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.writeRawData(Mark.constData(), int(Mark.size()));
    out << qint32(image.width()) << qint32(image.height()) << qint32(image.format());
    const QByteArray packed = qCompress(rows, compression);
    out.writeRawData(packed.constData(), int(packed.size()));
    return bytes;
}

QImage decode(const QByteArray& bytes, const QString& what) {
    const auto damaged = [&what] {
        return TZEMError(QStringLiteral("画像「%1」を読み込めません").arg(what));
    };
    if (!bytes.startsWith(Mark) || bytes.size() < Mark.size() + 12) {
        throw damaged();
    }
    QDataStream in(bytes.mid(Mark.size(), 12));
    qint32 width = 0, height = 0, format = 0;
    in >> width >> height >> format;
    const auto imageFormat = static_cast<QImage::Format>(format);
    if (width <= 0 || height <= 0 || width > MaxSide || height > MaxSide ||
        (imageFormat != QImage::Format_RGB32 && imageFormat != QImage::Format_ARGB32 &&
         imageFormat != QImage::Format_ARGB32_Premultiplied)) {
        throw damaged();
    }
    // The image takes over the inflated rows: a second copy of a 200 % splash (5.6 MB) would be
    // faulted in page by page again at every start.
    const qsizetype rowBytes = qsizetype(width) * 4;
    const qsizetype head = Mark.size() + 12;
    auto rows = std::make_unique<QByteArray>(
        qUncompress(reinterpret_cast<const uchar*>(bytes.constData()) + head, bytes.size() - head));
    if (rows->size() != rowBytes * height) {
        throw damaged();
    }
    uchar* pixels = reinterpret_cast<uchar*>(rows->data());
    QImage image(
        pixels, width, height, rowBytes, imageFormat,
        [](void* kept) { delete static_cast<QByteArray*>(kept); }, rows.get());
    if (image.isNull()) {
        throw damaged();
    }
    rows.release();
    return image;
}

QString fileName(const QString& name, const QSize& size) {
    return QStringLiteral("%1_%2x%3.img").arg(name).arg(size.width()).arg(size.height());
}

QImage load(const QString& folder, const QString& name, const QSize& size, bool keyed) {
    const QDir dir(folder);
    const QString exact = fileName(name, size);
    if (dir.exists(exact)) {
        return read(dir.filePath(exact), name);
    }
    // The smallest stored size that covers the request loses least when scaled down; without one,
    // the largest.
    static const QRegularExpression sizePattern(QStringLiteral("_(\\d+)x(\\d+)\\.img$"));
    const auto rank = [&size](const QSize& stored) {
        const bool covers = stored.boundedTo(size) == size;
        return std::pair(covers ? 0 : 1, covers ? stored.width() : -stored.width());
    };
    QString best;
    std::pair<int, int> bestRank;
    for (const QString& file : dir.entryList({name + QStringLiteral("_*.img")}, QDir::Files)) {
        const QRegularExpressionMatch m = sizePattern.match(file);
        const QSize stored(m.captured(1).toInt(), m.captured(2).toInt());
        if (!m.hasMatch() || file != fileName(name, stored)) {
            continue;  // another picture whose name starts with this one's
        }
        if (best.isEmpty() || rank(stored) < bestRank) {
            best = file;
            bestRank = rank(stored);
        }
    }
    if (best.isEmpty()) {
        throw TZEMError(QStringLiteral("画像「%1」がありません").arg(name));
    }
    return read(dir.filePath(best), name)
        .scaled(size, Qt::IgnoreAspectRatio,
                keyed ? Qt::FastTransformation : Qt::SmoothTransformation);
}

}  // namespace PrerenderedArt
