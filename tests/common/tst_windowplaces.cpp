// Where the windows that TAMU places itself open: a remembered place kept on the screens that are
// there, a first place clear of the controller, and TAMUWindows.ini kept line for line.
#include <QDir>
#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>
#include <memory>

#include "common/IniProfile.h"
#include "common/ScreenAreas.h"
#include "common/TZEMError.h"
#include "common/WindowPlaces.h"
#include "support/MessageRecorder.h"

using Screens = QList<ScreenAreas::Screen>;
Q_DECLARE_METATYPE(Screens)

namespace {

const ScreenAreas::Screen Primary{{0, 0, 1280, 1024}, {0, 0, 1280, 994}};
const ScreenAreas::Screen RightOfIt{{1280, 0, 1920, 1080}, {1280, 0, 1920, 1080}};
// The controller where it opens by default on the primary screen (no frame offscreen).
const QRect Controller(980, 929, 290, 55);

void writeFile(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

}  // namespace

class WindowPlacesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { ScreenAreas::reset(); }

    void restoredFrame_data() {
        QTest::addColumn<Screens>("screens");
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<QSize>("minimum");
        QTest::addColumn<QRect>("expected");
        const Screens one{Primary};
        const Screens two{Primary, RightOfIt};
        const QSize none(100, 100);
        const QRect onRight(2000, 300, 600, 500);
        QTest::newRow("on the screen")
            << one << QRect(100, 100, 600, 500) << none << QRect(100, 100, 600, 500);
        QTest::newRow("on the second monitor") << two << onRight << none << onRight;
        QTest::newRow("across both monitors")
            << two << QRect(1000, 100, 600, 500) << none << QRect(1000, 100, 600, 500);
        QTest::newRow("second monitor gone") << one << onRight << none << QRect(680, 300, 600, 500);
        QTest::newRow("left monitor gone")
            << one << QRect(-1000, 300, 600, 500) << none << QRect(0, 300, 600, 500);
        QTest::newRow("under the task bar")
            << one << QRect(100, 700, 600, 500) << none << QRect(100, 494, 600, 500);
        // Below the primary's work area, but mostly on the taller monitor beside it.
        QTest::newRow("hanging below the shorter monitor")
            << two << QRect(1000, 600, 600, 450) << none << QRect(1280, 600, 600, 450);
        QTest::newRow("larger than the screen")
            << one << QRect(-50, -50, 2000, 1500) << none << QRect(0, 0, 1280, 994);
        QTest::newRow("smaller than the window allows")
            << one << QRect(2000, 300, 300, 200) << QSize(400, 300) << QRect(880, 300, 400, 300);
        QTest::newRow("far from every screen")
            << two << QRect(-90000, 90000, 600, 500) << none << QRect(0, 494, 600, 500);
    }
    void restoredFrame() {
        QFETCH(Screens, screens);
        QFETCH(QRect, saved);
        QFETCH(QSize, minimum);
        QFETCH(QRect, expected);
        QCOMPARE(WindowPlaces::restoredFrame(saved, minimum, screens), expected);
    }

    void firstFrame_data() {
        QTest::addColumn<Screens>("screens");
        QTest::addColumn<QRect>("controller");
        QTest::addColumn<QSize>("frame");
        QTest::addColumn<QRect>("expected");
        const Screens one{Primary};
        QTest::newRow("above the controller")
            << one << Controller << QSize(700, 540) << QRect(570, 381, 700, 540);
        QTest::newRow("too tall for above: left of it")
            << one << Controller << QSize(600, 950) << QRect(372, 34, 600, 950);
        QTest::newRow("controller at the top left: below it")
            << one << QRect(10, 10, 290, 55) << QSize(700, 540) << QRect(0, 73, 700, 540);
        QTest::newRow("controller at the top right: left of it")
            << one << QRect(980, 10, 290, 55) << QSize(700, 540) << QRect(272, 0, 700, 540);
        QTest::newRow("controller on the second monitor")
            << Screens{Primary, RightOfIt} << QRect(2900, 1015, 290, 55) << QSize(700, 540)
            << QRect(2490, 467, 700, 540);
        QTest::newRow("larger than the work area")
            << one << Controller << QSize(1400, 1100) << QRect(0, 0, 1280, 994);
    }
    void firstFrame() {
        QFETCH(Screens, screens);
        QFETCH(QRect, controller);
        QFETCH(QSize, frame);
        QFETCH(QRect, expected);
        const QRect placed = WindowPlaces::firstFrame(frame, controller, screens);
        QCOMPARE(placed, expected);
        const bool fits = frame.width() <= 1280 && frame.height() <= 994;
        QCOMPARE(placed.intersects(controller), !fits);
    }

    // Only four whole numbers make a place; anything else is as if nothing was remembered.
    void readsOnlyWholePlaces_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<QRect>("expected");  // null: no place
        const QByteArray head = "[TZEMForm09]\n";
        const QByteArray size = "Width=300\nHeight=200\n";
        QTest::newRow("whole") << head + "Left=10\nTop=20\n" + size << QRect(10, 20, 300, 200);
        QTest::newRow("hexadecimal, other letter case")
            << QByteArray("[tzemform09]\nLEFT=0x10\ntop=-1200\n") + size
            << QRect(16, -1200, 300, 200);
        QTest::newRow("not a number") << head + "Left=abc\nTop=20\n" + size << QRect();
        QTest::newRow("no height") << head + "Left=10\nTop=20\nWidth=300\n" << QRect();
        QTest::newRow("no size at all") << head + "Left=10\nTop=20\nWidth=0\nHeight=200\n"
                                        << QRect();
        QTest::newRow("negative size") << head + "Left=10\nTop=20\nWidth=300\nHeight=-5\n"
                                       << QRect();
        QTest::newRow("beyond any desktop") << head + "Left=2147483647\nTop=20\n" + size << QRect();
        QTest::newRow("another window's") << "[TZEMForm082]\nLeft=10\nTop=20\n" + size << QRect();
        QTest::newRow("binary noise around it")
            << QByteArray("\x00\xff\n", 3) + head + "Left=10\nTop=20\n" + size + "\xfe\x01"
            << QRect(10, 20, 300, 200);
        QTest::newRow("control character in a value")
            << head + "Left=1\x01\nTop=20\n" + size << QRect();
    }
    void readsOnlyWholePlaces() {
        QFETCH(QByteArray, content);
        QFETCH(QRect, expected);
        QTemporaryDir dir;
        writeFile(dir.filePath(WindowPlaces::FileName), content);
        const auto place = WindowPlaces(dir.path() + u'/').place(QStringLiteral("TZEMForm09"));
        QCOMPARE(place ? QRect(place->frameTopLeft, place->size) : QRect(), expected);
    }

    // A write changes the lines of the keys that changed and adds the new ones; comments, other
    // sections, other keys and the line ends stay.
    void roundTripKeepsOtherLines() {
        QTemporaryDir dir;
        const QString folder = dir.path() + u'/';
        const QString file = folder + WindowPlaces::FileName;
        writeFile(file, "; windows\r\n[Other]\r\nKeep=1\r\n[TZEMForm09]\r\nLeft=5\r\nTop=40\r\n");
        int writes = 0;
        IniProfile::setReplaceHook([&](const QString&) { ++writes; });
        {
            WindowPlaces places(folder);
            places.setPlace(QStringLiteral("TZEMForm09"), {{30, 40}, {700, 540}});
            places.setValue(QStringLiteral("TZEMForm09"), QStringLiteral("From"),
                            QStringLiteral("尾張"));
            places.setPlace(QStringLiteral("TZEMForm082"), {{-900, 0}, {600, 596}});
            places.save();
            places.save();  // nothing changed since
        }
        QCOMPARE(writes, 1);
        QCOMPARE(
            readFile(file),
            QByteArray("; windows\r\n[Other]\r\nKeep=1\r\n[TZEMForm09]\r\nLeft=30\r\nTop=40\r\n"
                       "Width=700\r\nHeight=540\r\nFrom=尾張\r\n[TZEMForm082]\r\nLeft=-900\r\n"
                       "Top=0\r\nWidth=600\r\nHeight=596\r\n"));
        WindowPlaces again(folder);
        QCOMPARE(again.place(QStringLiteral("TZEMForm082")),
                 (WindowPlaces::Place{{-900, 0}, {600, 596}}));
        QCOMPARE(again.value(QStringLiteral("tzemform09"), QStringLiteral("FROM"), {}),
                 QStringLiteral("尾張"));
        // The same values again: no write.
        again.setPlace(QStringLiteral("TZEMForm09"), {{30, 40}, {700, 540}});
        again.save();
        QCOMPARE(writes, 1);
        IniProfile::setReplaceHook({});
    }

    // Kept in memory until saved: a folder that cannot be written fails only then, once.
    void unwritableFolderFailsOnlyOnSave() {
        QTemporaryDir dir;
        MessageRecorder messages;
        WindowPlaces places(dir.path() + QStringLiteral("/missing/"));
        places.setPlace(QStringLiteral("TZEMForm09"), {{1, 2}, {300, 200}});
        QCOMPARE(places.place(QStringLiteral("TZEMForm09")),
                 (WindowPlaces::Place{{1, 2}, {300, 200}}));
        try {
            places.save();
            QFAIL("saved into a missing folder");
        } catch (const TZEMError& e) {
            QCOMPARE(e.message(),
                     dir.path() + QStringLiteral("/missing/TAMUWindows.ini に書き込めません"));
        }
        QCOMPARE(messages.errors, QStringList());
    }

    // A tracked window opens clear of the controller, is remembered where it closed, and the
    // next one of its class opens there at that size; one opened while it is still there opens a
    // step aside.
    void trackedWindowReopensWhereItWasLeft() {
        ScreenAreas::inject(Primary.geometry, Primary.workArea);
        QTemporaryDir dir;
        QWidget controller;
        controller.setGeometry(Controller);
        WindowPlaces places(dir.path() + u'/');
        places.setController(&controller);
        const auto open = [&] {
            auto* w = new QWidget;
            w->setObjectName(QStringLiteral("TZEMForm09"));
            w->setAttribute(Qt::WA_DeleteOnClose);
            w->resize(700, 540);
            places.track(w);
            return w;
        };
        QPointer<QWidget> first = open();
        QCOMPARE(first->pos(), QPoint(570, 381));
        first->show();
        QTRY_VERIFY(first->frameGeometry() != first->geometry());  // framed (2 pixels here)
        QVERIFY(!first->frameGeometry().intersects(Controller));
        first->move(100, 120);
        first->resize(640, 500);
        QTRY_COMPARE(first->frameGeometry().topLeft(), QPoint(100, 120));
        first->close();
        QCOMPARE(places.place(QStringLiteral("TZEMForm09")),
                 (WindowPlaces::Place{{100, 120}, {640, 500}}));
        QTRY_VERIFY(!first);

        std::unique_ptr<QWidget> second(open());
        QCOMPARE(second->pos(), QPoint(100, 120));
        QCOMPARE(second->size(), QSize(640, 500));
        second->show();
        QTRY_COMPARE(second->frameGeometry().topLeft(), QPoint(100, 120));
        std::unique_ptr<QWidget> third(open());
        QCOMPARE(third->pos(), QPoint(124, 144));
    }
};

QTEST_MAIN(WindowPlacesTest)
#include "tst_windowplaces.moc"
