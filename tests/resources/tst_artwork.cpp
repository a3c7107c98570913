#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <cmath>

#include "common/TZEMError.h"
#include "resources/Artwork.h"
#include "resources/PrerenderedArt.h"

namespace {

constexpr QRgb red = 0xFFFF0000;

// Red enough to be taken for the key at a glance or by a tolerant colour key.
bool nearRed(QRgb c) {
    return c != red && qRed(c) >= 150 && qGreen(c) <= 90 && qBlue(c) <= 90;
}

int luma(QRgb c) {
    return (299 * qRed(c) + 587 * qGreen(c) + 114 * qBlue(c)) / 1000;
}

QRect drawnBounds(const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != red) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

}  // namespace

class TestArtwork : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // Drawn copies go to a cache folder of the test's own.
    void initTestCase() { qputenv("XDG_CACHE_HOME", QFile::encodeName(m_cache.path())); }
    // A feature the SVG renderer does not support is only warned about and left out of the
    // picture: any warning fails.
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".+"))); }

    void rendersAtItsSize_data();
    void rendersAtItsSize();
    void hands_data();
    void hands();
    void handsShowOnBothDials_data();
    void handsShowOnBothDials();
    void dials_data();
    void dials();
    void centerIsAllKey_data();
    void centerIsAllKey();
    void toolImagesAreDistinctShapes();
    void toolIcons();
    void refusesBadRequests_data();
    void refusesBadRequests();
    void refusesToolIndexOutOfRange_data();
    void refusesToolIndexOutOfRange();
    void drawnCopiesKept_data();
    void drawnCopiesKept();

private:
    QTemporaryDir m_cache;
};

void TestArtwork::rendersAtItsSize_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("format");

    const int rgb = QImage::Format_RGB32;
    const int argb = QImage::Format_ARGB32_Premultiplied;
    for (const char* name : {"dial_day", "dial_night", "center", "hand_hour", "hand_minute"}) {
        QTest::addRow("%s", name) << QString::fromLatin1(name) << QSize(512, 512) << rgb;
    }
    QTest::newRow("splash") << QStringLiteral("splash") << QSize(591, 591) << rgb;
    QTest::newRow("splash odd size") << QStringLiteral("splash") << QSize(301, 173) << rgb;
    QTest::newRow("icon 256") << QStringLiteral("tamu") << QSize(256, 256) << argb;
    QTest::newRow("icon 16") << QStringLiteral("tamu") << QSize(16, 16) << argb;
    for (int i = 0; i < Artwork::toolCount; ++i) {
        QTest::addRow("tool %d", i) << Artwork::toolImageName(i) << QSize(32, 32) << argb;
    }
}

void TestArtwork::rendersAtItsSize() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QFETCH(int, format);

    const QImage image = Artwork::image(name, size);
    QCOMPARE(image.size(), size);
    QCOMPARE(int(image.format()), format);

    // Something is drawn: more than a couple of colours (the mouse catcher is meant to be blank).
    QSet<QRgb> colours;
    for (int y = 0; y < size.height() && colours.size() <= 8; ++y) {
        for (int x = 0; x < size.width() && colours.size() <= 8; ++x) {
            colours.insert(image.pixel(x, y));
        }
    }
    if (name == QLatin1String("center")) {
        QCOMPARE(colours.size(), 1);
    } else {
        QVERIFY2(colours.size() > 8, qPrintable(name));
    }
}

void TestArtwork::hands_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("top");

    QTest::newRow("hour") << QStringLiteral("hand_hour") << 131;
    QTest::newRow("minute") << QStringLiteral("hand_minute") << 30;
}

// The hand pictures are rotated pixel by pixel about (256,256) with the top-left colour as
// background, so the geometry and the clean key are exact requirements.
void TestArtwork::hands() {
    QFETCH(QString, name);
    QFETCH(int, top);

    const QImage hand = Artwork::image(name, QSize(512, 512));
    QCOMPARE(hand.pixel(0, 0), red);
    QCOMPARE(drawnBounds(hand), QRect(QPoint(245, top), QPoint(266, 259)));

    for (int y = 0; y < 512; ++y) {
        for (int x = 0; x < 512; ++x) {
            const QRgb c = hand.pixel(x, y);
            if (nearRed(c)) {
                QFAIL(qPrintable(
                    QStringLiteral("near-red pixel %1 at %2,%3").arg(c, 8, 16).arg(x).arg(y)));
            }
        }
    }
    // Full width at the pivot end (a row near the pivot spans all 22 columns), and one piece
    // from the tip down past the pivot.
    bool fullWidth = false;
    for (int y = 230; y <= 259 && !fullWidth; ++y) {
        fullWidth = true;
        for (int x = 245; x <= 266; ++x) {
            fullWidth = fullWidth && hand.pixel(x, y) != red;
        }
    }
    QVERIFY(fullWidth);
    for (int y = top; y <= 259; ++y) {
        QVERIFY2(hand.pixel(255, y) != red || hand.pixel(256, y) != red,
                 qPrintable(QString::number(y)));
    }
}

void TestArtwork::handsShowOnBothDials_data() {
    QTest::addColumn<QString>("hand");
    QTest::addColumn<QString>("dial");
    QTest::addColumn<int>("size");

    for (const char* hand : {"hand_hour", "hand_minute"}) {
        for (const char* dial : {"dial_day", "dial_night"}) {
            for (int size : {512, 386, 256}) {
                QTest::addRow("%s on %s at %d", hand, dial, size)
                    << QString::fromLatin1(hand) << QString::fromLatin1(dial) << size;
            }
        }
    }
}

// Most of the hand must stand out from the face beneath it, by day and by night, also where
// the clock window shrinks the 512-pixel hand to a smaller dial.
void TestArtwork::handsShowOnBothDials() {
    QFETCH(QString, hand);
    QFETCH(QString, dial);
    QFETCH(int, size);

    QImage h = Artwork::image(hand, QSize(512, 512)).convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < h.height(); ++y) {
        auto* row = reinterpret_cast<QRgb*>(h.scanLine(y));
        for (int x = 0; x < h.width(); ++x) {
            row[x] = row[x] == red ? qRgba(0, 0, 0, 0) : row[x];
        }
    }
    h = h.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QImage d = Artwork::image(dial, QSize(size, size));
    int drawn = 0, standing = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (qAlpha(h.pixel(x, y)) < 255) {
                continue;
            }
            ++drawn;
            if (std::abs(luma(h.pixel(x, y)) - luma(d.pixel(x, y))) >= 80) {
                ++standing;
            }
        }
    }
    QVERIFY(drawn > 0);
    QVERIFY2(standing * 20 >= drawn * 9,
             qPrintable(QStringLiteral("%1 of %2 pixels stand out").arg(standing).arg(drawn)));
}

void TestArtwork::dials_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::addColumn<bool>("day");

    for (int size : {512, 386, 256}) {
        QTest::addRow("day %d", size) << QStringLiteral("dial_day") << size << true;
        QTest::addRow("night %d", size) << QStringLiteral("dial_night") << size << false;
    }
}

void TestArtwork::dials() {
    QFETCH(QString, name);
    QFETCH(int, size);
    QFETCH(bool, day);

    const QImage dial = Artwork::image(name, QSize(size, size));
    for (const QPoint corner :
         {QPoint(0, 0), QPoint(size - 1, 0), QPoint(0, size - 1), QPoint(size - 1, size - 1)}) {
        QCOMPARE(dial.pixel(corner), red);
    }
    QVERIFY(dial.pixel(size / 2, size / 2) != red);

    // A disc: red outside its rim, never red inside, nothing reddish anywhere.
    const double centre = size / 2.0;
    const double rim = size * 250.0 / 512.0;
    long long faceLuma = 0, faceGreen = 0, faceBlue = 0, faceRed = 0, facePixels = 0;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const QRgb c = dial.pixel(x, y);
            const double r = std::hypot(x + 0.5 - centre, y + 0.5 - centre);
            if (r > rim + 1.0 && c != red) {
                QFAIL(qPrintable(QStringLiteral("drawn outside the disc at %1,%2").arg(x).arg(y)));
            }
            if (r < rim - 1.0 && c == red) {
                QFAIL(qPrintable(
                    QStringLiteral("key colour inside the disc at %1,%2").arg(x).arg(y)));
            }
            if (nearRed(c)) {
                QFAIL(qPrintable(
                    QStringLiteral("near-red pixel %1 at %2,%3").arg(c, 8, 16).arg(x).arg(y)));
            }
            if (r < rim * 0.8) {
                faceLuma += luma(c);
                faceRed += qRed(c);
                faceGreen += qGreen(c);
                faceBlue += qBlue(c);
                ++facePixels;
            }
        }
    }
    // By day a pale green face, by night a dark blue one.
    const long long n = facePixels;
    if (day) {
        QVERIFY(faceLuma / n >= 170);
        QVERIFY(faceGreen > faceRed && faceGreen > faceBlue);
    } else {
        QVERIFY(faceLuma / n <= 90);
        QVERIFY(faceBlue > faceRed && faceBlue > faceGreen);
    }
}

void TestArtwork::centerIsAllKey_data() {
    QTest::addColumn<int>("size");
    for (int size : {512, 386, 256}) {
        QTest::addRow("%d", size) << size;
    }
}

void TestArtwork::centerIsAllKey() {
    QFETCH(int, size);
    const QImage center = Artwork::image(QStringLiteral("center"), QSize(size, size));
    QCOMPARE(center.size(), QSize(size, size));
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if (center.pixel(x, y) != red) {
                QFAIL(qPrintable(QStringLiteral("not key at %1,%2").arg(x).arg(y)));
            }
        }
    }
}

// Each tool-bar image is a shape on a see-through ground, and no two look alike.
void TestArtwork::toolImagesAreDistinctShapes() {
    QList<QImage> images;
    for (int i = 0; i < Artwork::toolCount; ++i) {
        const QImage image = Artwork::image(Artwork::toolImageName(i), QSize(32, 32));
        int opaque = 0;
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                opaque += qAlpha(image.pixel(x, y)) >= 128 ? 1 : 0;
            }
        }
        QVERIFY2(opaque >= 32 * 32 / 8 && opaque <= 32 * 32 * 9 / 10,
                 qPrintable(QStringLiteral("image %1 covers %2 pixels").arg(i).arg(opaque)));
        images << image;
    }
    for (int i = 0; i < images.size(); ++i) {
        for (int j = i + 1; j < images.size(); ++j) {
            int differing = 0;
            for (int y = 0; y < 32; ++y) {
                for (int x = 0; x < 32; ++x) {
                    const QRgb a = images[i].pixel(x, y), b = images[j].pixel(x, y);
                    const int d = std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b)) +
                                  std::abs(qBlue(a) - qBlue(b)) + std::abs(qAlpha(a) - qAlpha(b));
                    differing += d > 96 ? 1 : 0;
                }
            }
            QVERIFY2(differing >= 32 * 32 / 10,
                     qPrintable(QStringLiteral("images %1 and %2 differ in only %3 pixels")
                                    .arg(i)
                                    .arg(j)
                                    .arg(differing)));
        }
    }
}

void TestArtwork::toolIcons() {
    for (int i = 0; i < Artwork::toolCount; ++i) {
        const QIcon icon = Artwork::toolIcon(i);
        QVERIFY(!icon.isNull());
        QVERIFY(icon.availableSizes().contains(QSize(32, 32)));
        const QImage shown = icon.pixmap(QSize(32, 32))
                                 .toImage()
                                 .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        QCOMPARE(shown, Artwork::image(Artwork::toolImageName(i), QSize(32, 32)));
    }
}

void TestArtwork::refusesBadRequests_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QSize>("size");

    QTest::newRow("unknown picture") << QStringLiteral("dial_noon") << QSize(512, 512);
    QTest::newRow("empty name") << QString() << QSize(32, 32);
    QTest::newRow("path outside the artwork") << QStringLiteral("../art/tool_00") << QSize(32, 32);
    QTest::newRow("file extension") << QStringLiteral("tool_00.svg") << QSize(32, 32);
    QTest::newRow("zero width") << QStringLiteral("dial_day") << QSize(0, 512);
    QTest::newRow("negative size") << QStringLiteral("tool_00") << QSize(-32, -32);
    QTest::newRow("invalid size") << QStringLiteral("splash") << QSize();
    QTest::newRow("beyond any screen") << QStringLiteral("dial_night") << QSize(512, 100000);
}

void TestArtwork::refusesBadRequests() {
    QFETCH(QString, name);
    QFETCH(QSize, size);
    QVERIFY_THROWS_EXCEPTION(TZEMError, Artwork::image(name, size));
}

void TestArtwork::refusesToolIndexOutOfRange_data() {
    QTest::addColumn<int>("index");
    QTest::newRow("below") << -1;
    QTest::newRow("above") << Artwork::toolCount;
}

void TestArtwork::refusesToolIndexOutOfRange() {
    QFETCH(int, index);
    QVERIFY_THROWS_EXCEPTION(TZEMError, Artwork::toolIcon(index));
}

// A large picture drawn once is kept to the bit in the cache folder and read from there; a copy
// that is damaged, of another size, or cannot be kept never changes the picture.
void TestArtwork::drawnCopiesKept_data() {
    QTest::addColumn<QString>("damage");
    for (const char* damage : {"none", "garbage", "truncated", "another size", "no folder"}) {
        QTest::newRow(damage) << QString::fromLatin1(damage);
    }
}

void TestArtwork::drawnCopiesKept() {
#ifdef Q_OS_WIN
    QSKIP("The Windows build brings its pictures drawn ahead");
#endif
    QFETCH(QString, damage);
    const QString folder = m_cache.path() + QStringLiteral("/TAMU-art");
    QDir(folder).removeRecursively();
    QFile::remove(folder);
    const QSize size(300, 300);
    const QImage drawn = Artwork::image(QStringLiteral("splash"), size);
    const QStringList copies =
        QDir(folder).entryList({QStringLiteral("splash_300x300_*.img")}, QDir::Files);
    QCOMPARE(copies.size(), 1);
    const QString copy = folder + u'/' + copies.front();
    QFile file(copy);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray kept = file.readAll();
    file.close();
    QCOMPARE(PrerenderedArt::decode(kept, copy), drawn);
    if (damage == QStringLiteral("no folder")) {
        QVERIFY(QDir(folder).removeRecursively());
        QFile blocker(folder);
        QVERIFY(blocker.open(QIODevice::WriteOnly));
    } else if (damage != QStringLiteral("none")) {
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        if (damage == QStringLiteral("garbage")) {
            file.write("TAMUIMG1 not a picture");
        } else if (damage == QStringLiteral("truncated")) {
            file.write(kept.left(kept.size() / 2));
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^qUncompress")));
        } else {
            QImage other(10, 10, QImage::Format_RGB32);
            other.fill(Qt::blue);
            file.write(PrerenderedArt::encode(other));
        }
        file.close();
    }
    QCOMPARE(Artwork::image(QStringLiteral("splash"), size), drawn);
    if (damage != QStringLiteral("no folder")) {
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), kept);  // a damaged copy is replaced
    }
    // Small pictures are drawn each time; the lock's private folder ~/.cache/TAMU is not made.
    Artwork::image(QStringLiteral("tool_00"), QSize(32, 32));
    QVERIFY(QDir(folder).entryList({QStringLiteral("tool_*")}, QDir::Files).isEmpty());
    QVERIFY(!QFileInfo::exists(m_cache.path() + QStringLiteral("/TAMU")));
}

QTEST_MAIN(TestArtwork)
#include "tst_artwork.moc"
