#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "app/TZEMBaseConfig.h"
#include "common/ScreenAreas.h"
#include "common/TZEMError.h"

namespace {

// A 1280 x 1024 screen with a 30-pixel task bar at the bottom: the work area ends at 994.
const QRect Desktop(0, 0, 1280, 1024);
const QRect WorkArea(0, 0, 1280, 994);

}  // namespace

class BaseConfigTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void init() { ScreenAreas::inject(Desktop, WorkArea); }
    void cleanup() { ScreenAreas::reset(); }

    void load_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("left");
        QTest::newRow("saved position kept")
            << QByteArray("[Controler]\nTop=812\nLeft=1013\n") << 812 << 1013;
        QTest::newRow("top at the work area's bottom kept")
            << QByteArray("[Controler]\nTop=994\nLeft=10\n") << 994 << 10;
        QTest::newRow("top below the work area drops both")
            << QByteArray("[Controler]\nTop=995\nLeft=1013\n") << -1 << -1;
        QTest::newRow("left at the right edge kept")
            << QByteArray("[Controler]\nTop=10\nLeft=1280\n") << 10 << 1280;
        QTest::newRow("left beyond the right edge drops both")
            << QByteArray("[Controler]\nTop=10\nLeft=1281\n") << -1 << -1;
        QTest::newRow("dragged above the screen kept")
            << QByteArray("[Controler]\nTop=-300\nLeft=20\n") << -300 << 20;
        QTest::newRow("text reads as missing")
            << QByteArray("[Controler]\nTop=abc\nLeft=20\n") << -1 << 20;
        QTest::newRow("hexadecimal")
            << QByteArray("[Controler]\nTop=0x32C\nLeft=0X3F5\n") << 812 << 1013;
        QTest::newRow("no file") << QByteArray() << -1 << -1;
        QTest::newRow("huge garbage line")
            << (QByteArray("[Controler]\nTop=") + QByteArray(100000, '9') + "\nLeft=5\n") << -1
            << 5;
    }
    void load() {
        QFETCH(QByteArray, content);
        QFETCH(int, top);
        QFETCH(int, left);
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        if (!content.isEmpty()) {
            QFile f(folder + QStringLiteral("TAMU.ini"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(content);
        }
        const TZEMBaseConfig config(folder);
        QCOMPARE(config.FileName, folder + QStringLiteral("TAMU.ini"));
        QCOMPARE(config.Top, top);
        QCOMPARE(config.Left, left);
    }

    // With several monitors the work area spans them all: a position on any of them is kept.
    void loadOnSeveralMonitors_data() {
        QTest::addColumn<bool>("stacked");
        QTest::addColumn<int>("top");
        QTest::addColumn<int>("left");
        QTest::addColumn<bool>("kept");
        QTest::newRow("on the right monitor") << false << 300 << 2500 << true;
        QTest::newRow("beyond the right monitor") << false << 300 << 3201 << false;
        QTest::newRow("on the lower monitor") << true << 1500 << 100 << true;
        QTest::newRow("beyond the lower monitor") << true << 2106 << 100 << false;
    }
    void loadOnSeveralMonitors() {
        QFETCH(bool, stacked);
        QFETCH(int, top);
        QFETCH(int, left);
        QFETCH(bool, kept);
        const QRect second = stacked ? QRect(0, 1024, 1920, 1081) : QRect(1280, 0, 1920, 1080);
        ScreenAreas::inject({{Desktop, WorkArea}, {second, second}});
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        QFile f(folder + QStringLiteral("TAMU.ini"));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QStringLiteral("[Controler]\nTop=%1\nLeft=%2\n").arg(top).arg(left).toLatin1());
        f.close();
        const TZEMBaseConfig config(folder);
        QCOMPARE(config.Top, kept ? top : -1);
        QCOMPARE(config.Left, kept ? left : -1);
    }

    void saveWritesBothKeysAndKeepsTheRest() {
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        {
            QFile f(folder + QStringLiteral("TAMU.ini"));
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write("[Mine]\nKeep=1\n");
        }
        TZEMBaseConfig config(folder);
        config.Save(812, 1013);
        QCOMPARE(config.Top, -1);  // the fields stay as loaded
        QFile f(folder + QStringLiteral("TAMU.ini"));
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), QByteArray("[Mine]\nKeep=1\n[Controler]\nTop=812\nLeft=1013\n"));
        config.Load();
        QCOMPARE(config.Top, 812);
        QCOMPARE(config.Left, 1013);
    }

    void saveIntoMissingFolderRaisesTheMessage() {
        QTemporaryDir dir;
        const QString folder = dir.path() + QStringLiteral("/DAT/");
        TZEMBaseConfig config(folder);
        try {
            config.Save(1, 2);
            QFAIL("expected a write error");
        } catch (const TZEMError& e) {
            QCOMPARE(e.message(), folder + QStringLiteral("TAMU.ini に書き込めません"));
        }
    }
};

QTEST_MAIN(BaseConfigTest)
#include "tst_baseconfig.moc"
