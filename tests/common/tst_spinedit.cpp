#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QtTest>

#include "common/TZEMSpinEdit.h"

class SpinEditTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void typedKeys_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("text");
        QTest::newRow("digits") << "12"
                                << "12";
        QTest::newRow("letters refused") << "1a2"
                                         << "12";
        QTest::newRow("signs and point accepted") << "+-."
                                                  << "+-.";
    }
    void typedKeys() {
        QFETCH(QString, typed);
        QFETCH(QString, text);
        TZEMSpinEdit box;
        box.setBounds(0, 0);
        box.setText(QString());
        QTest::keyClicks(&box, typed);
        QCOMPARE(box.text(), text);
    }

    // What an input method commits is taken as typed keys would be: full-width digits as the
    // digits they are, anything else refused. A key that carries a full-width digit likewise.
    void inputMethodText_data() {
        QTest::addColumn<QString>("committed");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("kana refused") << "あ"
                                      << "" << 1;
        QTest::newRow("full-width digit") << "７"
                                          << "7" << 7;
        QTest::newRow("full-width digits") << "３０"
                                           << "30" << 30;
        QTest::newRow("full-width minus") << "－５"
                                          << "-5" << -5;
        QTest::newRow("mixed: digits kept") << "３日"
                                            << "3" << 3;
        QTest::newRow("ideographic space refused") << "　"
                                                   << "" << 1;
    }
    void inputMethodText() {
        QFETCH(QString, committed);
        QFETCH(QString, text);
        QFETCH(int, value);
        TZEMSpinEdit box;
        box.setBounds(1, 60);
        box.setText(QString());
        QInputMethodEvent composing(committed, {});
        QApplication::sendEvent(&box, &composing);
        QCOMPARE(box.text(), QString());
        QInputMethodEvent commit;
        commit.setCommitString(committed);
        QApplication::sendEvent(&box, &commit);
        QCOMPARE(box.text(), text);
        QCOMPARE(box.value(), value);

        if (committed.size() == 1) {
            box.setText(QString());
            QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, committed);
            QApplication::sendEvent(&box, &press);
            QCOMPARE(box.text(), text);
        }
    }

    void valueAndBounds_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("afterLeaving");
        QTest::newRow("in range") << "5" << 5 << "5";
        QTest::newRow("above") << "75" << 75 << "60";
        QTest::newRow("below") << "0" << 0 << "1";
        QTest::newRow("empty stays empty") << "" << 1 << "";
        QTest::newRow("not a number is the minimum") << "-" << 1 << "-";
    }
    void valueAndBounds() {
        QFETCH(QString, text);
        QFETCH(int, value);
        QFETCH(QString, afterLeaving);
        QWidget window;
        auto* box = new TZEMSpinEdit(&window);
        box->setBounds(1, 60);
        auto* other = new QLineEdit(&window);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        box->setFocus();
        box->setText(text);
        QCOMPARE(box->value(), value);
        other->setFocus();
        QCOMPARE(box->text(), afterLeaving);
    }

    void changeReportedOnlyWhenTextChanges() {
        TZEMSpinEdit box;
        box.setBounds(0, 8);
        box.setValue(3);
        QSignalSpy spy(&box, &TZEMSpinEdit::changed);
        box.setValue(3);
        QCOMPARE(spy.count(), 0);
        box.setValue(12);  // bound-corrected
        QCOMPARE(box.text(), QStringLiteral("8"));
        QCOMPARE(spy.count(), 1);
    }

    void arrowsStepWithinBounds() {
        TZEMSpinEdit box;
        box.setBounds(0, 8);
        box.setValue(8);
        QTest::keyClick(&box, Qt::Key_Up);
        QCOMPARE(box.text(), QStringLiteral("8"));
        QTest::keyClick(&box, Qt::Key_Down);
        QCOMPARE(box.text(), QStringLiteral("7"));
    }

    void enterIsRefused() {
        TZEMSpinEdit box;
        box.setText(QStringLiteral("4"));
        QSignalSpy spy(&box, &TZEMSpinEdit::changed);
        QTest::keyClick(&box, Qt::Key_Return);
        QCOMPARE(box.text(), QStringLiteral("4"));
        QCOMPARE(spy.count(), 0);
    }
};

QTEST_MAIN(SpinEditTest)
#include "tst_spinedit.moc"
