#include <QTemporaryDir>
#include <QtTest>

#include "common/TZEMError.h"
#include "resources/Artwork.h"
#include "resources/PrerenderedArt.h"

// The pictures a build without an SVG renderer brings along: stored and read back, each is the
// SVG rendering to the bit, and sizes drawn ahead of none still keep the clock's key colour.
class PrerenderedTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() {
        QVERIFY(m_dir.isValid());
        for (const Artwork::Picture& p : Artwork::programPictures()) {
            QFile file(m_dir.filePath(PrerenderedArt::fileName(p.name, p.size)));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(PrerenderedArt::encode(Artwork::image(p.name, p.size)));
        }
    }

    void everyPictureReadsBackToTheBit() {
        const QList<Artwork::Picture> pictures = Artwork::programPictures();
        QVERIFY(pictures.size() > 4 * Artwork::toolCount);
        for (const Artwork::Picture& p : pictures) {
            const QImage stored =
                PrerenderedArt::load(m_dir.path(), p.name, p.size, Artwork::isKeyed(p.name));
            const QImage drawn = Artwork::image(p.name, p.size);
            QCOMPARE(stored.format(), drawn.format());
            QVERIFY2(stored == drawn, qPrintable(p.name));
        }
    }

    // A 175 % screen asks for sizes drawn ahead of none.
    void otherSizesKeepTheKey_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("side");
        QTest::newRow("day dial at 175 %") << QStringLiteral("dial_day") << 896;
        QTest::newRow("small night dial at 175 %") << QStringLiteral("dial_night") << 448;
        QTest::newRow("hour hand larger than any") << QStringLiteral("hand_hour") << 1100;
    }
    void otherSizesKeepTheKey() {
        QFETCH(QString, name);
        QFETCH(int, side);
        const QImage image = PrerenderedArt::load(m_dir.path(), name, QSize(side, side), true);
        QCOMPARE(image.size(), QSize(side, side));
        QCOMPARE(image.pixel(0, 0), Artwork::keyColor);
        for (int y = 0; y < image.height(); y += 7) {
            for (int x = 0; x < image.width(); x += 7) {
                const QRgb c = image.pixel(x, y);
                QVERIFY(c == Artwork::keyColor ||
                        !(qRed(c) >= 160 && qGreen(c) <= 72 && qBlue(c) <= 72));
            }
        }
    }

    void damagedPicturesAreRefused_data() {
        QTest::addColumn<QByteArray>("bytes");
        const QByteArray good = PrerenderedArt::encode(
            Artwork::image(QStringLiteral("tool_00"), QSize(Artwork::toolSize, Artwork::toolSize)));
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("header only") << good.left(20);
        QTest::newRow("cut short") << good.left(good.size() - 10);
        QByteArray wide = good;
        wide[11] = '\x7f';  // width beyond any screen
        QTest::newRow("absurd width") << wide;
        QTest::newRow("not a picture") << QByteArray("PNG\r\n\x1a\nsomething else");
    }
    void damagedPicturesAreRefused() {
        QFETCH(QByteArray, bytes);
        QVERIFY_THROWS_EXCEPTION(TZEMError, PrerenderedArt::decode(bytes, QStringLiteral("x")));
    }

    void missingPictureNamesIt() {
        try {
            PrerenderedArt::load(m_dir.path(), QStringLiteral("nothing"), QSize(8, 8), false);
            QFAIL("no error");
        } catch (const TZEMError& e) {
            QCOMPARE(e.message(), QStringLiteral("画像「nothing」がありません"));
        }
    }

private:
    QTemporaryDir m_dir;
};

QTEST_MAIN(PrerenderedTest)
#include "tst_prerendered.moc"
