#include <QLabel>
#include <QMessageBox>
#include <QtTest>

#include "common/MessageBoxes.h"

class MessagesTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    // A long path must not push part of the Japanese sentence onto a line of its own: each line
    // of the message stays whole, and only a line wider than the screen wraps.
    void linesStayWhole_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("lines");
        QTest::newRow("missing database")
            << QStringLiteral(
                   "Access DB：/home/someone/.local/share/TAMU/DAT/TAMU_Item.db が存在しません")
            << 1;
        QTest::newRow("two lines")
            << QStringLiteral("検索に時間がかかりますが\r\nよろしいですか？") << 2;
        QTest::newRow("markup shown as typed") << QStringLiteral("<b>太字</b> & 〈記号〉") << 1;
        QTest::newRow("wider than the screen wraps")
            << QStringLiteral("Access DB：/%1 が存在しません").arg(QString(400, u'x')) << -1;
    }
    void linesStayWhole() {
        QFETCH(QString, text);
        QFETCH(int, lines);
        QMessageBox box(QMessageBox::Critical, QStringLiteral("TAMU"), QString(), QMessageBox::Ok);
        MessageBoxes::setBoxText(box, text);
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
        QVERIFY(label);
        const int lineHeight = label->fontMetrics().lineSpacing();
        QCOMPARE(label->text(), text);
        QCOMPARE(label->textFormat(), Qt::PlainText);
        if (lines > 0) {
            QCOMPARE((label->height() + lineHeight / 2) / lineHeight, lines);
        } else {
            QVERIFY(label->height() / lineHeight > 1);
            QVERIFY(box.width() <= box.screen()->availableGeometry().width());
        }
        box.close();
    }
};

QTEST_MAIN(MessagesTest)
#include "tst_messages.moc"
