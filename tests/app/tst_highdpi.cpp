// Pictures at device pixels on a high-density screen. CTest runs this at the plain ratio and
// again with QT_SCALE_FACTOR 2 and 1.5.
#include <QAction>
#include <QLabel>
#include <QtTest>

#include "app/TZEMsplash.h"
#include "gametime/ClockPictureWidget.h"
#include "gametime/TZEMAnalogClock.h"
#include "resources/Artwork.h"
#include "support/ControllerSandbox.h"
#include "support/MessageRecorder.h"

class HighDpiTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { qInfo("device pixel ratio %g", Artwork::deviceRatio()); }

    // Dials and hands come at device pixels; the see-through shape is the disc, and no pixel
    // inside it shows the key colour.
    void clockAtDevicePixels_data() {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("size");
        QTest::newRow("大") << QStringLiteral("actLarge") << 512;
        QTest::newRow("中") << QStringLiteral("actMidum") << 386;
        QTest::newRow("小") << QStringLiteral("actSmall") << 256;
    }
    void clockAtDevicePixels() {
        QFETCH(QString, action);
        QFETCH(int, size);
        const ControllerSandbox sandbox;
        MessageRecorder messages;
        auto controller = ControllerSandbox::start();
        QCOMPARE(controller->analogClock()->minuteSize(), Artwork::devicePixels(QSize(512, 512)));
        controller->findChild<QAction*>(QStringLiteral("SaS05Timer"))->trigger();
        QWidget* clock = ControllerSandbox::window(QStringLiteral("時間・タイマー"));
        QVERIFY(clock);
        clock->findChild<QAction*>(action)->trigger();
        QCOMPARE(clock->size(), QSize(size, size));
        const QSize pixels = Artwork::devicePixels(QSize(size, size));
        const QImage dial =
            clock->findChild<ClockPictureWidget*>(QStringLiteral("imgBaseNoon"))->picture();
        QCOMPARE(dial.size(), pixels);

        const QRegion mask = clock->mask();
        const qreal ratio = Artwork::deviceRatio();
        const QImage shown = clock->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(shown.size(), pixels);
        qint64 inMask = 0;
        qint64 onDisc = 0;
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                const bool in = mask.contains(QPoint(int(x / ratio), int(y / ratio)));
                inMask += in ? 1 : 0;
                onDisc += dial.pixel(x, y) != Artwork::keyColor ? 1 : 0;
                if (in && shown.pixel(x, y) == Artwork::keyColor) {
                    QFAIL(qPrintable(QStringLiteral("key colour shows at %1,%2").arg(x).arg(y)));
                }
            }
        }
        // The shape covers the disc to within its rim: less than 1 % of difference.
        QVERIFY2(qAbs(inMask - onDisc) * 100 < onDisc,
                 qPrintable(QStringLiteral("shape %1, disc %2").arg(inMask).arg(onDisc)));
        controller->close();
    }

    void splashAndToolBarAtDevicePixels() {
        MessageRecorder messages;
        TZEMsplash splash;
        QCOMPARE(splash.size(), QSize(591, 591));
        const QPixmap picture = splash.findChild<QLabel*>(QStringLiteral("Image1"))->pixmap();
        QCOMPARE(picture.size(), Artwork::devicePixels(QSize(591, 591)));
        QCOMPARE(picture.devicePixelRatio(), Artwork::deviceRatio());
        // Each tool-bar image is drawn at the device size, not scaled from another one.
        const QSize device = Artwork::devicePixels(QSize(32, 32));
        for (int i = 0; i < Artwork::toolCount; ++i) {
            QImage icon = Artwork::toolIcon(i)
                              .pixmap(QSize(32, 32), Artwork::deviceRatio())
                              .toImage()
                              .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QCOMPARE(icon.size(), device);
            icon.setDevicePixelRatio(1);
            QCOMPARE(icon, Artwork::image(Artwork::toolImageName(i), device));
        }
    }
};

QTEST_MAIN(HighDpiTest)
#include "tst_highdpi.moc"
