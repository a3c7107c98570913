// The passing note after an action: beside the control that did it, inside the window whatever
// the control's place, replaced by a newer one, gone by itself.
#include <QPushButton>
#include <QtTest>

#include "common/FlashNote.h"
#include "support/FlashNotes.h"

class TestFlashNote : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void placedInsideTheWindow_data();
    void placedInsideTheWindow();
    void newerReplacesAndItGoesByItself();
};

void TestFlashNote::placedInsideTheWindow_data() {
    QTest::addColumn<QRect>("button");
    QTest::addColumn<bool>("below");
    QTest::newRow("top left") << QRect(8, 8, 80, 24) << true;
    QTest::newRow("bottom right") << QRect(300, 270, 90, 24) << false;
    QTest::newRow("wider than the window's right edge") << QRect(380, 100, 20, 24) << true;
}

void TestFlashNote::placedInsideTheWindow() {
    QFETCH(QRect, button);
    QFETCH(bool, below);
    QWidget window;
    window.resize(400, 300);
    auto* anchor = new QPushButton(QStringLiteral("コピー"), &window);
    anchor->setGeometry(button);
    window.show();
    FlashNote::show(anchor, QStringLiteral("材料集計をコピーしました"));
    QCOMPARE(shownNote(&window), QStringLiteral("材料集計をコピーしました"));
    const auto* note = window.findChild<QLabel*>(QStringLiteral("FlashNote"));
    QVERIFY(window.rect().contains(note->geometry()));
    QCOMPARE(note->y() > button.bottom(), below);
    QVERIFY(!note->geometry().intersects(button));
}

void TestFlashNote::newerReplacesAndItGoesByItself() {
    QWidget window;
    window.resize(400, 300);
    auto* first = new QPushButton(&window);
    auto* second = new QPushButton(&window);
    second->move(0, 100);
    window.show();
    FlashNote::show(first, QStringLiteral("表をコピーしました"));
    FlashNote::show(second, QStringLiteral("レベル別一覧.csv に保存しました"));
    QCOMPARE(window.findChildren<QLabel*>(QStringLiteral("FlashNote")).size(), 1);
    QCOMPARE(shownNote(&window), QStringLiteral("レベル別一覧.csv に保存しました"));
    QTest::qWait(FlashNote::ShowMSecs / 2);
    QVERIFY(!shownNote(&window).isEmpty());
    QTRY_VERIFY_WITH_TIMEOUT(shownNote(&window).isEmpty(), FlashNote::ShowMSecs * 2);
}

QTEST_MAIN(TestFlashNote)
#include "tst_flashnote.moc"
