#include <QPainter>
#include <QtTest>
#include <cmath>
#include <limits>
#include <numbers>

#include "common/TDateTime.h"
#include "common/TZEMError.h"
#include "gametime/ClockFaceMaker.h"
#include "gametime/PictureBlock.h"
#include "gametime/TZEMAnalogClock.h"

namespace {

constexpr QRgb Back = 0xFFFF0000;
constexpr QRgb Hand = 0xFF102030;

// A hand pointing up from the centre of a w×h picture, on the red background, with a marked
// tip so that the direction can be read back.
QImage handPicture(int w, int h, int length, QImage::Format format = QImage::Format_RGB32) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Back);
    for (int y = h / 2 - length; y <= h / 2; ++y) {
        for (int x = w / 2 - 2; x <= w / 2 + 2; ++x) {
            image.setPixel(x, y, Hand);
        }
    }
    image.setPixel(w / 2, h / 2 - length, 0xFF00FF00);
    return image.convertToFormat(format);
}

// Noise, so that every source pixel differs and any wrong mapping shows.
QImage noisePicture(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    quint32 state = 12345;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            state = state * 1664525u + 1013904223u;
            image.setPixel(x, y, 0xFF000000u | (state >> 8));
        }
    }
    image.setPixel(0, 0, Back);
    return image;
}

// The rotation written plainly, pixel by pixel, with the products of the formula.
QImage plainRotation(const QImage& source, int S, int C, QRgb back) {
    const QImage src = source.convertToFormat(QImage::Format_RGB32);
    QImage out(src.size(), QImage::Format_RGB32);
    out.fill(back);
    const int w = out.width();
    const int h = out.height();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const int dx = x - w / 2;
            const int dy = y - h / 2;
            const int px = dx * C - dy * S;
            const int py = dx * S + dy * C;
            // Floor division by 1024, written without shifts.
            const int sx = static_cast<int>(std::floor(px / 1024.0)) + src.width() / 2;
            const int sy = static_cast<int>(std::floor(py / 1024.0)) + src.height() / 2;
            if (sx >= 0 && sx < src.width() && sy >= 0 && sy < src.height()) {
                out.setPixel(x, y, src.pixel(sx, sy));
            }
        }
    }
    return out;
}

// Where the marked tip ended up, relative to the centre.
QPoint tipOf(const QImage& image) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == 0xFF00FF00) {
                return QPoint(x - image.width() / 2, y - image.height() / 2);
            }
        }
    }
    return QPoint(9999, 9999);
}

}  // namespace

class TestAnalogClock : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void anglesAtRightAngles() {
        int S = 0;
        int C = 0;
        TZEMAnalogClock::handAngle(0, S, C);
        QCOMPARE(S, 0);
        QCOMPARE(C, 1024);
        TZEMAnalogClock::handAngle(15, S, C);
        QCOMPARE(S, -1024);
        QVERIFY(std::abs(C) <= 1);
    }

    // The fast rotation (incremental, and split over threads) equals the plain loop.
    void sameAsPlainLoop_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("threads");
        for (int i = 0; i < 60; ++i) {
            QTest::addRow("64x64 #%d", i) << 64 << 64 << i << 1;
            QTest::addRow("37x23 #%d", i) << 37 << 23 << i << 2;
            QTest::addRow("20x41 #%d", i) << 20 << 41 << i << 1;
        }
        QTest::newRow("64x64 #7 2 threads") << 64 << 64 << 7 << 2;
        QTest::newRow("1x1") << 1 << 1 << 20 << 2;
        QTest::newRow("512x512 #13") << 512 << 512 << 13 << 2;
    }
    void sameAsPlainLoop() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, index);
        QFETCH(int, threads);
        const QImage source = noisePicture(width, height);
        int S = 0;
        int C = 0;
        TZEMAnalogClock::handAngle(index, S, C);
        const QImage fast = TZEMAnalogClock::RotateBitmap(source, S, C, Back, threads);
        QCOMPARE(fast.size(), source.size());
        QCOMPARE(fast.depth(), 32);
        QCOMPARE(fast, plainRotation(source, S, C, Back));
    }

    void entryZeroIsTheSource_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("format");
        QTest::newRow("even, 32 bit") << 64 << 64 << int(QImage::Format_RGB32);
        QTest::newRow("odd, 24 bit") << 33 << 21 << int(QImage::Format_RGB888);
    }
    void entryZeroIsTheSource() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, format);
        const QImage hour =
            handPicture(width, height, height / 4, static_cast<QImage::Format>(format));
        const QImage minute =
            noisePicture(width, height).convertToFormat(static_cast<QImage::Format>(format));
        TZEMAnalogClock clock(hour, minute);
        QCOMPARE(clock.BackColor, Back);
        QCOMPARE(clock.hourBitmap(0), hour.convertToFormat(QImage::Format_RGB32));
        QCOMPARE(clock.minuteBitmap(0), minute.convertToFormat(QImage::Format_RGB32));
    }

    // Entry i turns the hand clockwise by 6·i degrees, about (w div 2, h div 2).
    void handDirections_data() {
        QTest::addColumn<int>("width");
        QTest::addColumn<int>("height");
        QTest::addColumn<int>("index");
        QTest::addColumn<QPoint>("tip");
        QTest::newRow("12 o'clock") << 65 << 65 << 0 << QPoint(0, -20);
        QTest::newRow("3 o'clock") << 65 << 65 << 15 << QPoint(20, 0);
        QTest::newRow("6 o'clock") << 65 << 65 << 30 << QPoint(0, 20);
        QTest::newRow("9 o'clock") << 65 << 65 << 45 << QPoint(-20, 0);
        QTest::newRow("even size, 3 o'clock") << 64 << 64 << 15 << QPoint(20, 0);
        QTest::newRow("odd, wide, 6 o'clock") << 67 << 49 << 30 << QPoint(0, 20);
    }
    void handDirections() {
        QFETCH(int, width);
        QFETCH(int, height);
        QFETCH(int, index);
        QFETCH(QPoint, tip);
        const QImage hand = handPicture(width, height, 20);
        TZEMAnalogClock clock(hand, hand);
        const QPoint found = tipOf(clock.hourBitmap(index));
        // Nearest-neighbour rounding may move the tip by a pixel.
        QVERIFY2((found - tip).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("%1,%2").arg(found.x()).arg(found.y())));
        // The pivot stays where it was.
        QCOMPARE(clock.hourBitmap(index).pixel(width / 2, height / 2), Hand);
    }

    // The face made on a thread of its own has the pictures of one made here, whole or in drawn
    // parts; one dropped before it is done ends without waiting for all the turns.
    void madeOnItsOwnThread_data() {
        QTest::addColumn<bool>("parts");
        QTest::newRow("whole") << false;
        QTest::newRow("drawn parts") << true;
    }
    void madeOnItsOwnThread() {
        QFETCH(bool, parts);
        const auto storage =
            parts ? TZEMAnalogClock::Storage::DrawnPart : TZEMAnalogClock::Storage::Whole;
        const QImage hour = handPicture(96, 96, 30);
        const QImage minute = noisePicture(96, 96);
        const TZEMAnalogClock here(hour, minute, storage);
        ClockFaceMaker maker(hour, minute, storage);
        TZEMAnalogClock& made = maker.face();
        QCOMPARE(&maker.face(), &made);
        for (int i = 0; i < TZEMAnalogClock::HandSteps; ++i) {
            QCOMPARE(made.hourBitmap(i), here.hourBitmap(i));
            QCOMPARE(made.minuteBitmap(i), here.minuteBitmap(i));
            QCOMPARE(made.hourPlace(i), here.hourPlace(i));
        }
        QElapsedTimer clock;
        clock.start();
        { ClockFaceMaker dropped(noisePicture(512, 512), noisePicture(512, 512), storage); }
        const qint64 dropMs = clock.restart();
        { TZEMAnalogClock whole(noisePicture(512, 512), noisePicture(512, 512), storage); }
        QVERIFY2(
            dropMs < clock.elapsed(),
            qPrintable(QStringLiteral("%1 ms against %2 ms").arg(dropMs).arg(clock.elapsed())));
    }

    // A block there is no room for is refused with a message, not a crash.
    void noRoomForThePictures() {
        try {
            PictureBlock block(std::numeric_limits<std::size_t>::max() / 2);
            QFAIL("a block of half the address space was made");
        } catch (const TZEMError& e) {
            QCOMPARE(e.message(), QStringLiteral("時計の針の画像を作るメモリが足りません"));
        }
        const PictureBlock none(0);
        QCOMPARE(none.size(), std::size_t{0});
    }

    void picks_data() {
        QTest::addColumn<double>("time");
        QTest::addColumn<int>("minuteEntry");
        QTest::addColumn<int>("hourEntry");
        QTest::newRow("00:00") << DateTime::encodeTime(0, 0, 0) << 0 << 0;
        QTest::newRow("12:00") << DateTime::encodeTime(12, 0, 0) << 0 << 0;
        QTest::newRow("23:59:59.999") << DateTime::encodeTime(23, 59, 59, 999) << 59 << 59;
        QTest::newRow("03:00") << DateTime::encodeTime(3, 0, 0) << 0 << 15;
        QTest::newRow("03:11") << DateTime::encodeTime(3, 11, 59) << 11 << 15;
        QTest::newRow("03:12") << DateTime::encodeTime(3, 12, 0) << 12 << 16;
        QTest::newRow("15:12") << DateTime::encodeTime(15, 12, 0) << 12 << 16;
        QTest::newRow("many days on") << 238'417.0 + DateTime::encodeTime(3, 12, 0) << 12 << 16;
    }
    void picks() {
        QFETCH(double, time);
        QFETCH(int, minuteEntry);
        QFETCH(int, hourEntry);
        const QImage hand = handPicture(32, 32, 10);
        TZEMAnalogClock clock(hand, noisePicture(32, 32));
        clock.SetClockTime(time);
        QCOMPARE(&clock.GetMinuteBitmap(), &clock.minuteBitmap(minuteEntry));
        QCOMPARE(&clock.GetHourBitmap(), &clock.hourBitmap(hourEntry));
        const QTime t = DateTime::toQTime(time);
        QCOMPARE(int(clock.Hour), t.hour());
        QCOMPARE(int(clock.Min), t.minute());
        QCOMPARE(int(clock.Sec), t.second());
        QCOMPARE(int(clock.MSec), t.msec());
    }
};

QTEST_GUILESS_MAIN(TestAnalogClock)
#include "tst_analogclock.moc"
