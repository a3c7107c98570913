#include <QtTest>

#include "app/DesktopPlatform.h"

class DesktopPlatformTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void choose_data() {
        QTest::addColumn<QByteArray>("qpa");
        QTest::addColumn<QByteArray>("wayland");
        QTest::addColumn<QByteArray>("display");
        QTest::addColumn<QByteArray>("session");
        QTest::addColumn<QByteArray>("chosen");
        QTest::newRow("X session") << QByteArray() << QByteArray() << QByteArray(":0")
                                   << QByteArray("x11") << QByteArray();
        QTest::newRow("Wayland with XWayland")
            << QByteArray() << QByteArray("wayland-0") << QByteArray(":0") << QByteArray("wayland")
            << QByteArray("xcb");
        QTest::newRow("Wayland display only")
            << QByteArray() << QByteArray("wayland-1") << QByteArray(":1") << QByteArray()
            << QByteArray("xcb");
        QTest::newRow("Wayland without XWayland")
            << QByteArray() << QByteArray("wayland-0") << QByteArray() << QByteArray("wayland")
            << QByteArray("wayland");
        QTest::newRow("user's choice stands")
            << QByteArray("wayland") << QByteArray("wayland-0") << QByteArray(":0")
            << QByteArray("wayland") << QByteArray();
        QTest::newRow("nothing known")
            << QByteArray() << QByteArray() << QByteArray() << QByteArray() << QByteArray();
    }
    void choose() {
        QFETCH(QByteArray, qpa);
        QFETCH(QByteArray, wayland);
        QFETCH(QByteArray, display);
        QFETCH(QByteArray, session);
        QFETCH(QByteArray, chosen);
        QCOMPARE(DesktopPlatform::choose({qpa, wayland, display, session}), chosen);
    }
};

QTEST_GUILESS_MAIN(DesktopPlatformTest)
#include "tst_desktopplatform.moc"
