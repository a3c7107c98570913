#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include "common/TZEMSpinEdit.h"
#include "status/TZEMForm03.h"
#include "support/MessageRecorder.h"

class WindowTest : public QObject {
    Q_OBJECT

private:
    TZEMStatusNow m_statusNow;
    QPointer<TZEMForm03> m_form;
    std::unique_ptr<MessageRecorder> m_messages;

    void open() {
        m_form = new TZEMForm03(m_statusNow);
        m_form->show();
        m_form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_form));
    }
    void closeWindow() {
        m_form->close();
        QTRY_VERIFY(m_form.isNull());
    }
    TZEMSpinEdit* box(const QString& name) const { return m_form->findChild<TZEMSpinEdit*>(name); }
    QComboBox* combo(const QString& name) const { return m_form->findChild<QComboBox*>(name); }
    QString label(const QString& name) const { return m_form->findChild<QLabel*>(name)->text(); }
    // Types over a box's whole text, as a user does; an empty text just deletes it.
    void type(const QString& name, const QString& text) {
        QTest::keyClick(box(name), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box(name), Qt::Key_Backspace);
        QTest::keyClicks(box(name), text);
    }
    // Picks an entry with the arrow keys of the closed combo box.
    void choose(const QString& name, int position) {
        QComboBox* c = combo(name);
        while (c->currentIndex() != position) {
            QTest::keyClick(c, c->currentIndex() < position ? Qt::Key_Down : Qt::Key_Up);
        }
    }
    QString bonusBoxes() const {
        QStringList texts;
        for (const char* n : {"iptPOW", "iptVIT", "iptDEX", "iptINT", "iptPHI"}) {
            texts << box(QString::fromLatin1(n))->text();
        }
        return texts.join(u' ');
    }
    QString stored() const {
        const TZEMStatusBon& b = m_statusNow.Bon;
        return QStringLiteral("%1 %2 %3 %4 %5")
            .arg(b.POW)
            .arg(b.VIT)
            .arg(b.DEX)
            .arg(b.INT)
            .arg(b.PHI);
    }
    // Everything the window shows.
    QStringList snapshot() const {
        QStringList all;
        for (const QLabel* l : m_form->findChildren<QLabel*>()) {
            all << l->objectName() + u'=' + l->text();
        }
        for (const TZEMSpinEdit* b : m_form->findChildren<TZEMSpinEdit*>()) {
            all << b->objectName() + u'=' + b->text();
        }
        for (const QComboBox* c : m_form->findChildren<QComboBox*>()) {
            all << c->objectName() + u'=' + c->currentText();
        }
        return all;
    }

private Q_SLOTS:
    void init() {
        m_statusNow = TZEMStatusNow();
        m_messages = std::make_unique<MessageRecorder>();
        open();
    }
    void cleanup() {
        closeWindow();
        QVERIFY2(m_messages->errors.isEmpty(), qPrintable(m_messages->errors.join(u'\n')));
        m_messages.reset();
    }

    void firstOpening() {
        QCOMPARE(combo("iptINF")->currentText() + combo("iptJOB")->currentText(), "上杉侍");
        QCOMPARE(bonusBoxes(), "0 0 0 0 0");
        QCOMPARE(box("iptLV")->text(), "1");
        QCOMPARE(label("viwLastBonus"), "残り 10");
        for (const auto& [name, value] : {std::pair{"viwNHP", "34"},
                                          {"viwNMP", "28"},
                                          {"viwNPOW", "7"},
                                          {"viwNMWT", "53"},
                                          {"viwNNEX", "10"},
                                          {"viwBPOW", "7"},
                                          {"viwNHIT", "3"}}) {
            QCOMPARE(label(name), value);
        }
        QCOMPARE(m_statusNow.Src.POW, 7);  // computed and copied back to the controller
        QCOMPARE(combo("iptINF")->itemText(10), "伊賀忍");
        QCOMPARE(TZEMForm03::factionCodeAt(10), 13);
    }

    void bonusEntry_data() {
        QTest::addColumn<int>("job");
        QTest::addColumn<int>("faction");    // list position
        QTest::addColumn<QString>("steps");  // box=typed ...
        QTest::addColumn<QString>("boxes");
        QTest::addColumn<QString>("left");
        QTest::newRow("侍 上杉: 5 in 腕力") << 0 << 0 << "iptPOW=5"
                                            << "3 0 0 0 0"
                                            << "残り 7";
        QTest::newRow("pool runs out on 魅力") << 0 << 0 << "iptDEX=4 iptINT=4 iptPHI=5"
                                               << "0 0 4 4 2"
                                               << "残り 0";
        QTest::newRow("陰陽師 今川: 9 in 耐久力") << 3 << 3 << "iptVIT=9"
                                                  << "0 8 0 0 0"
                                                  << "残り 2";
        QTest::newRow("lowering frees the pool")
            << 0 << 0 << "iptVIT=5 iptDEX=5 iptPHI=3 iptVIT=1 iptPHI=3"
            << "0 1 5 0 3"
            << "残り 1";
    }
    void bonusEntry() {
        QFETCH(int, job);
        QFETCH(int, faction);
        QFETCH(QString, steps);
        choose("iptJOB", job);
        choose("iptINF", faction);
        for (const QString& step : steps.split(u' ')) {
            type(step.section(u'=', 0, 0), step.section(u'=', 1));
        }
        QTEST(bonusBoxes(), "boxes");
        QTEST(stored(), "boxes");
        QTEST(label("viwLastBonus"), "left");
        QCOMPARE(label("viwBPOW"), QString::number(m_statusNow.Src.POW + m_statusNow.Bon.POW));
        QCOMPARE(label("viwNINT"), QString::number(m_statusNow.GetINT()));
    }

    void factionChangeClearsBonuses() {
        type("iptPOW", "2");
        type("iptPHI", "4");
        type("iptLV", "30");
        choose("iptINF", 1);  // 武田
        QCOMPARE(int{m_statusNow.Src.INF}, 4);
        QCOMPARE(bonusBoxes(), "0 0 0 0 0");
        QCOMPARE(stored(), "0 0 0 0 0");
        QCOMPARE(label("viwLastBonus"), "残り 10");
        QCOMPARE(box("iptLV")->text(), "30");
        QCOMPARE(label("viwBPOW"), "6");  // 侍 5 + 武田 1
    }

    void typedChoice_data() {
        QTest::addColumn<QString>("comboName");
        QTest::addColumn<QString>("typed");   // replaces the text; "+x" appends x
        QTest::addColumn<QString>("choice");  // faction and job codes afterwards
        QTest::addColumn<QString>("shown");
        QTest::newRow("unknown faction text") << "iptINF"
                                              << "x"
                                              << "0 0"
                                              << "上杉";
        QTest::newRow("faction name appended to") << "iptINF"
                                                  << "+z"
                                                  << "0 0"
                                                  << "上杉";
        QTest::newRow("pasted faction name") << "iptINF"
                                             << "北条"
                                             << "6 0"
                                             << "北条";
        QTest::newRow("pasted job name") << "iptJOB"
                                         << "陰陽師"
                                         << "0 3"
                                         << "陰陽師";
    }
    void typedChoice() {
        QFETCH(QString, comboName);
        QFETCH(QString, typed);
        type("iptDEX", "3");
        QComboBox* c = combo(comboName);
        if (typed.startsWith(u'+')) {
            QTest::keyClick(c, Qt::Key_End);
            QTest::keyClicks(c, typed.mid(1));
        } else {
            QApplication::clipboard()->setText(typed);  // a whole name arrives by pasting
            QTest::keyClick(c, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(c, Qt::Key_V, Qt::ControlModifier);
        }
        QTEST(QStringLiteral("%1 %2").arg(m_statusNow.Src.INF).arg(m_statusNow.Src.JOB), "choice");
        QTEST(c->currentText(), "shown");
        QCOMPARE(bonusBoxes(), "0 0 0 0 0");
        QCOMPARE(stored(), "0 0 0 0 0");
    }

    void level_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("expected");  // box, level, 攻撃消費気合, 現在経験値, 次回
        QTest::newRow("0 becomes 1") << "0"
                                     << "1 1 10 0 10";
        QTest::newRow("75 becomes 60") << "75"
                                       << "60 60 0 0 0";
        QTest::newRow("57") << "57"
                            << "57 57 0 690000000 0";
        QTest::newRow("58") << "58"
                            << "58 58 0 0 0";
        QTest::newRow("not a number counts as 1") << "-"
                                                  << "- 1 10 0 10";
    }
    void level() {
        QFETCH(QString, typed);
        type("iptLV", "20");
        type("iptLV", typed);
        QTEST(QStringList({box("iptLV")->text(), QString::number(m_statusNow.LV), label("viwNAMP"),
                           label("viwNEXP"), label("viwNNEX")})
                  .join(u' '),
              "expected");
    }

    // A Japanese input method commits full-width digits: the level takes them as the digits
    // they are, and text that is no number is refused.
    void levelFromInputMethod() {
        type("iptLV", "");
        for (const QString& committed : {QStringLiteral("あ"), QStringLiteral("３０")}) {
            QInputMethodEvent commit;
            commit.setCommitString(committed);
            QApplication::sendEvent(box("iptLV"), &commit);
        }
        QCOMPARE(box("iptLV")->text(), "30");
        QCOMPARE(m_statusNow.LV, 30);
    }

    // The level box names no font of its own: it shows the window's, like the values beside it.
    void fonts() {
        QCOMPARE(box("iptLV")->font(), m_form->findChild<QLabel*>("viwNHP")->font());
        QCOMPARE(box("iptLV")->font().pixelSize(), 12);
        QCOMPARE(box("iptPOW")->font().pixelSize(), 13);
        QVERIFY(box("iptPOW")->font().family() != box("iptLV")->font().family());
    }

    void emptiedBoxWaitsForDexExit() {
        type("iptINT", "3");
        box("iptINT")->setFocus(Qt::TabFocusReason);
        type("iptINT", "");
        const QStringList emptied = snapshot();
        QCOMPARE(m_statusNow.Bon.INT, 3);
        QCOMPARE(label("viwBINT"), "6");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // to 魅力, then the level
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(box("iptLV")->hasFocus());
        QCOMPARE(snapshot(), emptied);

        type("iptLV", "");
        box("iptDEX")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // leaves 器用さ
        QCOMPARE(box("iptINT")->text(), "0");
        QCOMPARE(box("iptLV")->text(), "1");
        QCOMPARE(m_statusNow.Bon.INT, 0);
        QCOMPARE(label("viwBINT"), "3");
    }

    void refusedKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("letter") << int{Qt::Key_A} << "a";
        QTest::newRow("space") << int{Qt::Key_Space} << " ";
        QTest::newRow("kana") << int{Qt::Key_unknown} << "あ";
        QTest::newRow("enter") << int{Qt::Key_Return} << "\r";
    }
    void refusedKeys() {
        QFETCH(int, key);
        QFETCH(QString, text);
        type("iptLV", "12");
        const QStringList before = snapshot();
        QTest::sendKeyEvent(QTest::Click, box("iptLV"), Qt::Key(key), text, Qt::NoModifier);
        QCOMPARE(snapshot(), before);
    }

    void tabOrder() {
        combo("iptINF")->setFocus(Qt::TabFocusReason);
        QStringList visited;
        for (int i = 0; i < 8; ++i) {
            QWidget* w = QApplication::focusWidget();
            while (w->objectName().isEmpty()) {
                w = w->parentWidget();
            }
            visited << w->objectName();
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited.join(u' '), "iptINF iptJOB iptPOW iptVIT iptDEX iptINT iptPHI iptLV");
    }

    void reopenKeepsTheCharacter() {
        choose("iptJOB", 4);
        choose("iptINF", 10);
        type("iptDEX", "1");
        type("iptPHI", "6");
        type("iptLV", "26");
        const QStringList before = snapshot();
        closeWindow();
        open();
        QCOMPARE(snapshot(), before);
        QCOMPARE(combo("iptINF")->currentText() + combo("iptJOB")->currentText(), "伊賀忍忍者");
        QCOMPARE(bonusBoxes(), "0 0 1 0 6");
        QCOMPARE(label("viwLastBonus"), "残り 3");
    }
};

QTEST_MAIN(WindowTest)
#include "tst_form03.moc"
