#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>
#include <QToolTip>
#include <QtTest>
#include <functional>

#include "common/Fonts.h"
#include "common/MessageBoxes.h"

namespace {

QString face(const QFont& font) {
    return QFontInfo(font).family();
}

// A proportional face gives "i" less room than "W"; a fixed-width one gives both a half cell,
// and its "O" reads as "0".
bool proportional(const QFont& font) {
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(u'i') < metrics.horizontalAdvance(u'W');
}

}  // namespace

class FontsTest : public QObject {
    Q_OBJECT

    QString m_face;

private Q_SLOTS:
    void initTestCase() {
        // What a platform may hand single classes: a Japanese locale's fixed-width Gothic for
        // the boxes, other fonts for menus and tips.
        const QFont fixed(QStringLiteral("ＭＳ ゴシック"), 9);
        QApplication::setFont(fixed);
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10), "QMenu");
        QApplication::setFont(QFont(QStringLiteral("DejaVu Serif"), 8), "QMessageBox");
        QApplication::setFont(QFont(QStringLiteral("DejaVu Sans"), 11), "QTipLabel");
        Fonts::setApplicationFont();
        MessageBoxes::install();
        m_face = face(Fonts::font(Fonts::PGothic, 12));
        QVERIFY(proportional(Fonts::font(Fonts::PGothic, 12)));
        QVERIFY(!proportional(QFont(QStringLiteral("ＭＳ ゴシック"), 9)));
    }

    // Every box the program shows, each of its parts, takes the one proportional Gothic.
    void boxes_data() {
        QTest::addColumn<std::function<void()>>("show");
        QTest::newRow("error") << std::function<void()>(
            [] { Messages::showError(QStringLiteral("DBの接続に失敗しました。")); });
        QTest::newRow("plain") << std::function<void()>(
            [] { Messages::showPlain(QStringLiteral("該当アイテムが見つかりませんでした。")); });
        QTest::newRow("warning with OK and キャンセル") << std::function<void()>([] {
            Messages::confirm(QStringLiteral("警告"),
                              QStringLiteral("検索に時間がかかりますが\r\nよろしいですか？"));
        });
    }
    void boxes() {
        QFETCH(std::function<void()>, show);
        QStringList faces;
        int buttons = 0;
        bool allProportional = true;
        bool seen = false;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) {
                return;
            }
            seen = true;
            faces << face(box->font());
            faces << face(box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"))->font());
            for (QPushButton* button : box->findChildren<QPushButton*>()) {
                faces << face(button->font()) + u'/' + QString::number(button->font().pixelSize());
                allProportional = allProportional && proportional(button->font());
                ++buttons;
            }
            box->reject();
        });
        show();
        QVERIFY(seen);
        QVERIFY(buttons >= 1);
        QVERIFY(allProportional);
        QStringList expected(2, m_face);
        expected << QStringList(buttons, m_face + QStringLiteral("/12"));
        QCOMPARE(faces, expected);
    }

    // Menus, tips, dialogs and a window that names no font take it as well.
    void otherClasses() {
        QMenu menu;
        menu.addAction(QStringLiteral("閉じる(&W)"));
        QProgressDialog progress;
        QWidget plain;
        for (const QFont& font : {menu.font(), QToolTip::font(), progress.font(), plain.font()}) {
            QCOMPARE(face(font), m_face);
            QCOMPARE(font.pixelSize(), 12);
        }
    }
};

QTEST_MAIN(FontsTest)
#include "tst_fonts.moc"
