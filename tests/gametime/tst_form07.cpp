#include <QActionGroup>
#include <QFontInfo>
#include <QMenu>
#include <QMouseEvent>
#include <QPointer>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "common/Fonts.h"
#include "common/ScreenAreas.h"
#include "common/TDateTime.h"
#include "gametime/ClockOptions.h"
#include "gametime/ClockPictureWidget.h"
#include "gametime/MMTimerUnit.h"
#include "gametime/TZEMAnalogClock.h"
#include "gametime/TZEMForm07.h"
#include "gametime/TZEMTime.h"
#include "resources/Artwork.h"
#include "support/FixedNow.h"
#include "support/MessageRecorder.h"

namespace {

constexpr QRgb Key = 0xFFFF0000;

QImage hand(int length) {
    QImage image(64, 64, QImage::Format_RGB32);
    image.fill(Key);
    for (int y = 32 - length; y <= 33; ++y) {
        for (int x = 30; x <= 33; ++x) {
            image.setPixel(x, y, 0xFF202020);
        }
    }
    return image;
}

// The shared objects the controller would own, and one clock window on them.
struct Fixture {
    explicit Fixture(ClockOptions* options = nullptr) {
        clock.Timer()->SetEnabled(false);
        window = new TZEMForm07(clock, face, options);
    }
    ~Fixture() { delete window.data(); }
    Fixture(const Fixture&) = delete;
    Fixture& operator=(const Fixture&) = delete;

    ClockPictureWidget* picture(const char* name) const {
        return window->findChild<ClockPictureWidget*>(QString::fromLatin1(name));
    }
    QAction* action(const char* name) const {
        return window->findChild<QAction*>(QString::fromLatin1(name));
    }
    bool dayDialShown() const { return !picture("imgBaseNoon")->isHidden(); }

    void mouse(QEvent::Type type, Qt::MouseButton button, const QPoint& local) const {
        ClockPictureWidget* center = picture("imgCenter");
        const QPoint global = window->pos() + local;
        const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
        QMouseEvent event(type, QPointF(local), QPointF(global), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(center, &event);
    }

    MessageRecorder messages;
    TZEMTime clock;
    TZEMAnalogClock face{hand(16), hand(28)};
    QPointer<TZEMForm07> window;
};

}  // namespace

Q_DECLARE_METATYPE(ScreenAreas::Screen)

class TestClockWindow : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void cleanup() { ScreenAreas::reset(); }

    void opening() {
        FixedNow now(DateTime::encodeDate(2026, 12, 8) + DateTime::encodeTime(3, 12, 0));
        Fixture f;
        f.clock.SetGameTime(DateTime::encodeTime(21, 0, 0));
        QCOMPARE(f.window->windowTitle(), QStringLiteral("時間・タイマー"));
        QVERIFY(f.window->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(f.window->testAttribute(Qt::WA_DeleteOnClose));
        QCOMPARE(f.window->size(), QSize(512, 512));
        // Bottom to top, all covering the whole window.
        const QStringList order{"imgBaseNight", "imgBaseNoon", "imgMin", "imgHour", "imgCenter"};
        QStringList found;
        for (QObject* child : f.window->children()) {
            if (auto* p = qobject_cast<ClockPictureWidget*>(child)) {
                found << p->objectName();
                QCOMPARE(p->geometry(), QRect(0, 0, 512, 512));
            }
        }
        QCOMPARE(found, order);
        QVERIFY(f.action("actLarge")->isChecked());
        QVERIFY(!f.action("actMidum")->isChecked());
        QVERIFY(!f.action("actSmall")->isChecked());
        QCOMPARE(f.action("actFormClose")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_W));
        auto* timer = f.window->findChild<QTimer*>(QStringLiteral("Timer1"));
        QVERIFY(timer != nullptr && timer->isActive());
        QCOMPARE(timer->interval(), 1000);
        // Until the first tick the hands show the computer's time of day (03:12).
        QCOMPARE(f.picture("imgMin")->picture().cacheKey(), f.face.minuteBitmap(12).cacheKey());
        QCOMPARE(f.picture("imgHour")->picture().cacheKey(), f.face.hourBitmap(16).cacheKey());
        // The dial already follows the game's night.
        QVERIFY(!f.dayDialShown());
        QVERIFY(f.messages.errors.isEmpty());
    }

    void dial_data() {
        QTest::addColumn<double>("gameTime");
        QTest::addColumn<bool>("day");
        QTest::newRow("06:59:59") << DateTime::encodeTime(6, 59, 59) << false;
        QTest::newRow("07:00:00") << DateTime::encodeTime(7, 0, 0) << true;
        QTest::newRow("17:59:59") << DateTime::encodeTime(17, 59, 59) << true;
        QTest::newRow("18:00:00") << DateTime::encodeTime(18, 0, 0) << false;
        QTest::newRow("07:00:00 many days on") << 238'417.0 + DateTime::encodeTime(7, 0, 0) << true;
    }
    void dial() {
        QFETCH(double, gameTime);
        QFETCH(bool, day);
        Fixture f;
        f.clock.SetGameTime(gameTime);
        f.window->Timer1Timer();
        QCOMPARE(f.dayDialShown(), day);
        // And back on the next tick across the boundary.
        f.clock.SetGameTime(DateTime::encodeTime(day ? 23 : 12, 0, 0));
        f.window->Timer1Timer();
        QCOMPARE(f.dayDialShown(), !day);
    }

    // The window's own one-second timer moves the hands to the game time.
    void handsFollowTheGameClock() {
        FixedNow now(DateTime::encodeTime(0, 0, 0));
        Fixture f;
        f.clock.SetGameTime(DateTime::encodeTime(9, 45, 30));
        QCOMPARE(f.picture("imgMin")->picture().cacheKey(), f.face.minuteBitmap(0).cacheKey());
        QTRY_COMPARE_WITH_TIMEOUT(f.picture("imgMin")->picture().cacheKey(),
                                  f.face.minuteBitmap(45).cacheKey(), 3000);
        QCOMPARE(f.picture("imgHour")->picture().cacheKey(),
                 f.face.hourBitmap(45 / 12 + 9 * 5).cacheKey());
        QVERIFY(f.dayDialShown());
    }

    // Hands and the mouse catcher do not draw their background colour; changing the hand
    // picture reuses the same buffer.
    void handsDrawnTransparently() {
        FixedNow now(DateTime::encodeTime(12, 0, 0));
        Fixture f;
        ClockPictureWidget* minute = f.picture("imgMin");
        QCOMPARE(minute->keyColor().value_or(0), Key);
        QCOMPARE(qAlpha(minute->shown().pixel(0, 0)), 0);
        QCOMPARE(minute->shown().pixel(31, 10), 0xFF202020);
        const uchar* buffer = minute->shown().constBits();
        f.clock.SetGameTime(DateTime::encodeTime(4, 30, 0));
        f.window->Timer1Timer();
        QCOMPARE(minute->picture().cacheKey(), f.face.minuteBitmap(30).cacheKey());
        QCOMPARE(minute->shown().constBits(), buffer);
        QCOMPARE(minute->shown().pixel(31, 50), 0xFF202020);
        QCOMPARE(qAlpha(minute->shown().pixel(31, 10)), 0);
        const QImage& center = f.picture("imgCenter")->shown();
        for (const QPoint p : {QPoint(0, 0), QPoint(256, 256), QPoint(511, 511)}) {
            QCOMPARE(qAlpha(center.pixel(p)), 0);
        }
    }

    // A face that keeps only the hands' drawn parts (as on a high-density screen) paints the
    // same pixels as one that keeps the whole squares, at every size of the window, in less
    // than half the memory.
    void drawnPartsPaintAsTheWholeSquares_data() {
        QTest::addColumn<int>("square");
        QTest::addColumn<int>("shown");
        for (const int square : {1024, 768}) {
            for (const int shown : {512, 386, 256}) {
                QTest::addRow("%d px hands in %d px", square, shown) << square << shown;
            }
        }
    }
    void drawnPartsPaintAsTheWholeSquares() {
        QFETCH(int, square);
        QFETCH(int, shown);
        const QSize size(square, square);
        const QImage hourHand = Artwork::image(QStringLiteral("hand_hour"), size);
        const QImage minuteHand = Artwork::image(QStringLiteral("hand_minute"), size);
        const TZEMAnalogClock whole(hourHand, minuteHand);
        const TZEMAnalogClock part(hourHand, minuteHand, TZEMAnalogClock::Storage::DrawnPart);
        QCOMPARE(part.minuteSize(), size);
        QCOMPARE(part.hourSize(), size);
        qint64 partPixels = 0;
        for (int i = 0; i < TZEMAnalogClock::HandSteps; ++i) {
            QCOMPARE(whole.minutePlace(i), QRect(QPoint(0, 0), size));
            QVERIFY(QRect(QPoint(0, 0), size).contains(part.minutePlace(i)));
            QCOMPARE(part.minuteBitmap(i).size(), part.minutePlace(i).size());
            QCOMPARE(part.hourBitmap(i).size(), part.hourPlace(i).size());
            partPixels += part.minuteBitmap(i).width() * qint64(part.minuteBitmap(i).height()) +
                          part.hourBitmap(i).width() * qint64(part.hourBitmap(i).height());
        }
        QVERIFY2(partPixels * 2 < qint64(square) * square * 2 * TZEMAnalogClock::HandSteps,
                 qPrintable(QString::number(partPixels)));
        for (const int i : {0, 7, 15, 22, 38, 44, 59}) {
            for (const bool minute : {true, false}) {
                ClockPictureWidget a;
                ClockPictureWidget b;
                a.setKeyColor(whole.BackColor);
                b.setKeyColor(part.BackColor);
                if (minute) {
                    a.setPicture(whole.minuteBitmap(i));
                    b.setPicture(part.minuteBitmap(i), part.minutePlace(i), part.minuteSize());
                } else {
                    a.setPicture(whole.hourBitmap(i));
                    b.setPicture(part.hourBitmap(i), part.hourPlace(i), part.hourSize());
                }
                a.resize(shown, shown);
                b.resize(shown, shown);
                QCOMPARE(b.grab().toImage(), a.grab().toImage());
            }
        }
    }

    void sizes_data() {
        QTest::addColumn<QString>("actionName");
        QTest::addColumn<int>("size");
        QTest::newRow("中") << QStringLiteral("actMidum") << 386;
        QTest::newRow("小") << QStringLiteral("actSmall") << 256;
        QTest::newRow("大") << QStringLiteral("actLarge") << 512;
    }
    void sizes() {
        QFETCH(QString, actionName);
        QFETCH(int, size);
        Fixture f;
        f.window->show();
        // Away from the start size first, so that every row changes something.
        f.action(size == 256 ? "actMidum" : "actSmall")->trigger();
        f.window->findChild<QAction*>(actionName)->trigger();
        QCOMPARE(f.window->clockSize(), size);
        QCOMPARE(f.window->size(), QSize(size, size));
        for (auto* p : f.window->findChildren<ClockPictureWidget*>()) {
            QCOMPARE(p->geometry(), QRect(0, 0, size, size));
        }
        QVERIFY(f.window->findChild<QAction*>(actionName)->isChecked());
        int checked = 0;
        for (const char* name : {"actLarge", "actMidum", "actSmall"}) {
            checked += f.action(name)->isChecked() ? 1 : 0;
        }
        QCOMPARE(checked, 1);
        // The see-through corners: outside the dial nothing shows or takes the mouse.
        const QRegion mask = f.window->mask();
        const int last = size - 1;
        for (const QPoint corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last),
                                    QPoint(last, last), QPoint(size / 10, size / 10)}) {
            QVERIFY2(!mask.contains(corner),
                     qPrintable(QStringLiteral("%1,%2").arg(corner.x()).arg(corner.y())));
        }
        for (const QPoint inside : {QPoint(size / 2, size / 2), QPoint(size / 2, 8),
                                    QPoint(8, size / 2), QPoint(size / 2, last - 8)}) {
            QVERIFY(mask.contains(inside));
        }
        QVERIFY(QRect(0, 0, size, size).contains(mask.boundingRect()));
        QVERIFY(mask.boundingRect().width() >= size * 9 / 10);
    }

    // 常に手前に表示 sets the window's flag and the options, and keeps the clock's place, size and
    // see-through shape; a clock opened later starts in front.
    void stayOnTop() {
        ScreenAreas::inject(QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040));
        QTemporaryDir dir;
        ClockOptions options(dir.path() + u'/');
        Fixture f(&options);
        f.window->show();
        f.window->move(300, 200);
        f.action("actMidum")->trigger();
        const QRect where = f.window->geometry();
        const QRegion shape = f.window->mask();
        for (const bool on : {true, false, true}) {
            f.action("actStayOnTop")->trigger();
            QCOMPARE(f.action("actStayOnTop")->isChecked(), on);
            QCOMPARE(f.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint), on);
            QVERIFY(f.window->windowFlags().testFlag(Qt::FramelessWindowHint));
            QVERIFY(f.window->isVisible());
            QCOMPARE(f.window->geometry(), where);
            QCOMPARE(f.window->mask(), shape);
            QCOMPARE(options.stayOnTop(), on);
        }
        Fixture later(&options);
        QVERIFY(later.window->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        QVERIFY(later.action("actStayOnTop")->isChecked());
        QCOMPARE(later.window->size(), QSize(512, 512));
        QVERIFY(!later.window->testAttribute(Qt::WA_Moved));  // at the system's default place
    }

    void ctrlWCloses_data() {
        QTest::addColumn<bool>("byKey");
        QTest::newRow("Ctrl+W") << true;
        QTest::newRow("閉じる in the menu") << false;
    }
    void ctrlWCloses() {
        QFETCH(bool, byKey);
        Fixture f;
        bool destroyed = false;
        connect(f.window.data(), &QObject::destroyed, this, [&] { destroyed = true; });
        f.window->show();
        QApplication::setActiveWindow(f.window);
        f.window->setFocus();
        QVERIFY(QTest::qWaitForWindowActive(f.window));
        if (byKey) {
            QTest::keyClick(f.window, Qt::Key_W, Qt::ControlModifier);
        } else {
            f.action("actFormClose")->trigger();
        }
        QTRY_VERIFY(f.window.isNull());
        QVERIFY(destroyed);
    }

    // After a drag the clock is kept on the screen: left edge to the desktop, top to the work area.
    void keptOnScreen_data() {
        QTest::addColumn<QList<ScreenAreas::Screen>>("screens");
        QTest::addColumn<QPoint>("start");
        QTest::addColumn<QPoint>("drag");
        QTest::addColumn<QPoint>("end");
        using Screens = QList<ScreenAreas::Screen>;
        const Screens one{{QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040)}};
        QTest::newRow("inside stays")
            << one << QPoint(100, 100) << QPoint(50, 20) << QPoint(150, 120);
        QTest::newRow("past the right edge")
            << one << QPoint(1300, 100) << QPoint(300, 0) << QPoint(1920 - 512, 100);
        QTest::newRow("past the left edge")
            << one << QPoint(10, 300) << QPoint(-200, 0) << QPoint(0, 300);
        QTest::newRow("above the top")
            << one << QPoint(500, 10) << QPoint(0, -100) << QPoint(500, 0);
        QTest::newRow("over the task bar")
            << one << QPoint(500, 500) << QPoint(0, 200) << QPoint(500, 1040 - 512);
        QTest::newRow("corner") << one << QPoint(1800, 900) << QPoint(0, 0)
                                << QPoint(1920 - 512, 1040 - 512);
        const Screens topBar{{QRect(0, 0, 1920, 1080), QRect(0, 40, 1920, 1040)}};
        QTest::newRow("task bar at the top")
            << topBar << QPoint(500, 100) << QPoint(0, -90) << QPoint(500, 40);
        QTest::newRow("task bar at the top, bottom")
            << topBar << QPoint(500, 500) << QPoint(0, 300) << QPoint(500, 1080 - 512);
        const QRect left(-1280, 0, 1280, 1024);
        QTest::newRow("screen left of the origin")
            << Screens{{left, left}} << QPoint(-1000, 100) << QPoint(900, 0) << QPoint(-512, 100);
        // Two monitors: the clock stays on the one it is dropped on (the one holding its centre).
        const Screens sideBySide{{QRect(0, 0, 1280, 1024), QRect(0, 0, 1280, 994)},
                                 {QRect(1280, 0, 1920, 1080), QRect(1280, 0, 1920, 1080)}};
        QTest::newRow("onto the right monitor stays")
            << sideBySide << QPoint(600, 100) << QPoint(1000, 50) << QPoint(1600, 150);
        QTest::newRow("right monitor, past its right edge")
            << sideBySide << QPoint(2000, 100) << QPoint(900, 0) << QPoint(3200 - 512, 100);
        QTest::newRow("right monitor, over its bottom")
            << sideBySide << QPoint(2000, 100) << QPoint(0, 900) << QPoint(2000, 1080 - 512);
        QTest::newRow("left monitor keeps its task bar")
            << sideBySide << QPoint(100, 100) << QPoint(0, 800) << QPoint(100, 994 - 512);
        QTest::newRow("dropped mostly on the left one")
            << sideBySide << QPoint(600, 100) << QPoint(300, 0) << QPoint(1280 - 512, 100);
        const Screens stacked{{QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040)},
                              {QRect(0, 1080, 1280, 1024), QRect(0, 1080, 1280, 1024)}};
        QTest::newRow("onto the lower monitor stays")
            << stacked << QPoint(100, 300) << QPoint(0, 1000) << QPoint(100, 1300);
        QTest::newRow("lower monitor, past its (narrower) right edge")
            << stacked << QPoint(100, 1300) << QPoint(900, 0) << QPoint(1280 - 512, 1300);
        QTest::newRow("lower monitor, past the bottom")
            << stacked << QPoint(100, 1300) << QPoint(0, 500) << QPoint(100, 2104 - 512);
        QTest::newRow("centre in the gap beside the lower monitor")
            << stacked << QPoint(1000, 800) << QPoint(400, 500) << QPoint(1280 - 512, 1300);
    }
    void keptOnScreen() {
        QFETCH(QList<ScreenAreas::Screen>, screens);
        QFETCH(QPoint, start);
        QFETCH(QPoint, drag);
        QFETCH(QPoint, end);
        ScreenAreas::inject(screens);
        Fixture f;
        f.window->show();
        f.window->move(start);
        QCOMPARE(f.window->pos(), start);
        const QPoint grip(256, 300);
        f.mouse(QEvent::MouseButtonPress, Qt::LeftButton, grip);
        f.mouse(QEvent::MouseMove, Qt::LeftButton, grip + drag);
        f.mouse(QEvent::MouseButtonRelease, Qt::LeftButton, grip + drag);
        QCOMPARE(f.window->pos(), end);
    }

    // The second press of a quick double click is a press like any other: it opens the menu or
    // starts a drag.
    void secondPressOfADoubleClick_data() {
        QTest::addColumn<int>("button");
        QTest::newRow("right opens the menu") << int(Qt::RightButton);
        QTest::newRow("left drags") << int(Qt::LeftButton);
    }
    void secondPressOfADoubleClick() {
        QFETCH(int, button);
        const auto b = static_cast<Qt::MouseButton>(button);
        ScreenAreas::inject(QRect(0, 0, 1920, 1080), QRect(0, 0, 1920, 1040));
        Fixture f;
        f.window->show();
        f.window->move(20, 30);
        auto* menu = f.window->findChild<QMenu*>(QStringLiteral("popTimer"));
        const QPoint at(100, 120);
        f.mouse(QEvent::MouseButtonPress, Qt::MiddleButton, at);
        f.mouse(QEvent::MouseButtonRelease, Qt::MiddleButton, at);
        f.mouse(QEvent::MouseButtonDblClick, b, at);
        if (b == Qt::RightButton) {
            QTRY_VERIFY(menu->isVisible());
            QCOMPARE(menu->pos(), QPoint(120, 150));
            menu->close();
        } else {
            f.mouse(QEvent::MouseMove, b, at + QPoint(40, 10));
            f.mouse(QEvent::MouseButtonRelease, b, at + QPoint(40, 10));
            QCOMPARE(f.window->pos(), QPoint(60, 40));
        }
    }

    void keyboardOpensTheMenu_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::newRow("Menu key") << int(Qt::Key_Menu) << int(Qt::NoModifier);
        QTest::newRow("Shift+F10") << int(Qt::Key_F10) << int(Qt::ShiftModifier);
    }
    void keyboardOpensTheMenu() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        Fixture f;
        f.window->show();
        f.window->move(20, 30);
        f.window->activateWindow();
        f.window->setFocus();
        auto* menu = f.window->findChild<QMenu*>(QStringLiteral("popTimer"));
        QTest::keyClick(f.window.data(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QTRY_VERIFY(menu->isVisible());
        // In the middle of the clock, where the eye is.
        QVERIFY(QRect(f.window->pos(), f.window->size()).contains(menu->pos()));
        menu->close();
        QTest::keyClick(f.window.data(), Qt::Key_F10);  // F10 alone is not the menu's key
        QVERIFY(!menu->isVisible());
    }

    void rightClickOpensTheMenuThere() {
        Fixture f;
        f.window->show();
        f.window->move(20, 30);
        auto* menu = f.window->findChild<QMenu*>(QStringLiteral("popTimer"));
        QVERIFY(menu != nullptr);
        f.mouse(QEvent::MouseButtonPress, Qt::MiddleButton, QPoint(100, 120));
        QVERIFY(!menu->isVisible());
        QCOMPARE(f.window->pos(), QPoint(20, 30));
        f.mouse(QEvent::MouseButtonPress, Qt::RightButton, QPoint(100, 120));
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->pos(), QPoint(120, 150));
        const QList<QAction*> items = menu->actions();
        QCOMPARE(items.size(), 4);
        QCOMPARE(items.at(0)->text(), QStringLiteral("表示サイズ(&S)"));
        QCOMPARE(items.at(0)->menu()->actions().size(), 3);
        QCOMPARE(items.at(1)->text(), QStringLiteral("常に手前に表示(&T)"));
        QVERIFY(items.at(1)->isCheckable() && !items.at(1)->isChecked());
        QVERIFY(items.at(2)->isSeparator());
        QCOMPARE(items.at(3)->text(), QStringLiteral("閉じる(&W)"));
        menu->close();
    }

    // The menu and its size menu are in the proportional Gothic of every box, as the program
    // sets it up, not in a font of the platform's.
    void menuInTheBoxesFace() {
        QApplication::setFont(QFont(QStringLiteral("ＭＳ ゴシック"), 9), "QMenu");
        Fonts::setApplicationFont();
        Fixture f;
        f.window->show();
        auto* menu = f.window->findChild<QMenu*>(QStringLiteral("popTimer"));
        f.mouse(QEvent::MouseButtonPress, Qt::RightButton, QPoint(100, 120));
        QTRY_VERIFY(menu->isVisible());
        const QString face = QFontInfo(Fonts::font(Fonts::PGothic, 12)).family();
        for (const QMenu* shown : {menu, menu->actions().at(0)->menu()}) {
            QCOMPARE(QFontInfo(shown->font()).family(), face);
            QCOMPARE(shown->font().pixelSize(), 12);
        }
        menu->close();
    }
};

QTEST_MAIN(TestClockWindow)
#include "tst_form07.moc"
