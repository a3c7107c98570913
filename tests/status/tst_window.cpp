#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QTest>

#include "common/TZEMSpinEdit.h"
#include "status/TZEMForm03.h"
#include "support/MessageRecorder.h"

namespace {

// QTest::keyClicks only knows ASCII; other characters arrive as text-only key events.
void typeText(QWidget* w, const QString& text) {
    for (QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(w, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

const QStringList boxNames{"iptPOW", "iptVIT", "iptDEX", "iptINT", "iptPHI"};

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

private:
    TZEMStatusNow m_statusNow;
    QPointer<TZEMForm03> m_form;
    MessageRecorder* m_messages = nullptr;

    TZEMForm03* open() {
        m_form = new TZEMForm03(m_statusNow);
        m_form->show();
        m_form->activateWindow();
        if (!QTest::qWaitForWindowActive(m_form)) {
            qWarning("window not active");
        }
        return m_form;
    }
    void closeWindow() {
        if (m_form) {
            m_form->close();
            QTRY_VERIFY(m_form.isNull());
        }
    }

    TZEMSpinEdit* box(const QString& name) const { return m_form->findChild<TZEMSpinEdit*>(name); }
    QComboBox* combo(const QString& name) const { return m_form->findChild<QComboBox*>(name); }
    QString label(const QString& name) const {
        const QLabel* l = m_form->findChild<QLabel*>(name);
        return l ? l->text() : QStringLiteral("<missing %1>").arg(name);
    }

    // Types into a spin box as a user does: everything selected first, then the characters.
    void typeInto(const QString& name, const QString& text) {
        TZEMSpinEdit* b = box(name);
        QVERIFY(b);
        QTest::keyClick(b, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty()) {
            QTest::keyClick(b, Qt::Key_Backspace);
        } else {
            QTest::keyClicks(b, text);
        }
    }

    // Picks a list entry with the arrow keys, as a user does with a closed combo box.
    void choose(const QString& name, int position) {
        QComboBox* c = combo(name);
        while (c->currentIndex() < position) {
            QTest::keyClick(c, Qt::Key_Down);
        }
        while (c->currentIndex() > position) {
            QTest::keyClick(c, Qt::Key_Up);
        }
        QCOMPARE(c->currentIndex(), position);
    }

    QStringList bonusTexts() const {
        QStringList texts;
        for (const QString& name : boxNames) {
            texts << box(name)->text();
        }
        return texts;
    }
    QList<int> bonuses() const {
        const TZEMStatusBon& b = m_statusNow.Bon;
        return {b.POW, b.VIT, b.DEX, b.INT, b.PHI};
    }

    // Everything the window shows, for comparing two openings.
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
        m_messages = new MessageRecorder;
        open();
    }
    void cleanup() {
        closeWindow();
        QVERIFY2(m_messages->errors.isEmpty(), qPrintable(m_messages->errors.join(u'\n')));
        delete m_messages;
    }

    void firstOpening() {
        QCOMPARE(m_form->windowTitle(), QStringLiteral("ステータス計算機"));
        QCOMPARE(combo("iptINF")->currentText(), QStringLiteral("上杉"));
        QCOMPARE(combo("iptINF")->currentIndex(), 0);
        QCOMPARE(combo("iptJOB")->currentText(), QStringLiteral("侍"));
        QCOMPARE(bonusTexts(), QStringList(5, QStringLiteral("0")));
        QCOMPARE(box("iptLV")->text(), QStringLiteral("1"));
        QCOMPARE(label("viwLastBonus"), QStringLiteral("残り 10"));
        QCOMPARE(label("viwNHP"), QStringLiteral("34"));
        QCOMPARE(label("viwNMP"), QStringLiteral("28"));
        QCOMPARE(label("viwNPOW"), QStringLiteral("7"));
        QCOMPARE(label("viwNMWT"), QStringLiteral("53"));
        QCOMPARE(label("viwNNEX"), QStringLiteral("10"));
        QCOMPARE(label("viwBPOW"), QStringLiteral("7"));
        QCOMPARE(label("viwBFIR"), QStringLiteral("5"));
        // The controller's character was computed and copied back.
        QCOMPARE(m_statusNow.Src.POW, 7);
    }

    void factionList() {
        const QStringList expected{"上杉",   "武田", "北条", "今川",   "徳川", "織田", "斎藤",
                                   "本願寺", "浅井", "朝倉", "伊賀忍", "足利", "三好", "雑賀衆"};
        QComboBox* inf = combo("iptINF");
        QCOMPARE(inf->count(), expected.size());
        for (int i = 0; i < inf->count(); ++i) {
            QCOMPARE(inf->itemText(i), expected[i]);
            QCOMPARE(QString::fromUtf8(TZEMStatusSrc::factionName(TZEMForm03::factionCodeAt(i))),
                     expected[i]);
            QCOMPARE(TZEMForm03::factionPosition(TZEMForm03::factionCodeAt(i)), i);
        }
        QCOMPARE(combo("iptJOB")->count(), 7);
        QCOMPARE(combo("iptJOB")->itemText(3), QStringLiteral("陰陽師"));
    }

    void bonusEntry_data() {
        QTest::addColumn<int>("job");
        QTest::addColumn<int>("factionPosition");
        QTest::addColumn<QStringList>("steps");  // box=typed text
        QTest::addColumn<QStringList>("boxes");
        QTest::addColumn<QList<int>>("stored");
        QTest::addColumn<QString>("left");
        QTest::newRow("侍 上杉: 5 in 腕力 stores 3")
            << 0 << 0 << QStringList{"iptPOW=5"} << QStringList{"3", "0", "0", "0", "0"}
            << QList<int>{3, 0, 0, 0, 0} << QStringLiteral("残り 7");
        QTest::newRow("pool runs out on 魅力")
            << 0 << 0 << QStringList{"iptDEX=4", "iptINT=4", "iptPHI=5"}
            << QStringList{"0", "0", "4", "4", "2"} << QList<int>{0, 0, 4, 4, 2}
            << QStringLiteral("残り 0");
        QTest::newRow("陰陽師 今川: 9 in 耐久力 ends at the box's 8")
            << 3 << 3 << QStringList{"iptVIT=9"} << QStringList{"0", "8", "0", "0", "0"}
            << QList<int>{0, 8, 0, 0, 0} << QStringLiteral("残り 2");
        QTest::newRow("陰陽師 今川: 知力 8 caps at 2")
            << 3 << 3 << QStringList{"iptINT=7"} << QStringList{"0", "0", "0", "2", "0"}
            << QList<int>{0, 0, 0, 2, 0} << QStringLiteral("残り 8");
        QTest::newRow("lowering frees the pool")
            << 0 << 0 << QStringList{"iptVIT=5", "iptDEX=5", "iptPHI=3", "iptVIT=1", "iptPHI=3"}
            << QStringList{"0", "1", "5", "0", "3"} << QList<int>{0, 1, 5, 0, 3}
            << QStringLiteral("残り 1");
        QTest::newRow("a sign alone counts as 0")
            << 0 << 0 << QStringList{"iptDEX=4", "iptDEX=-"} << QStringList{"0", "0", "0", "0", "0"}
            << QList<int>{0, 0, 0, 0, 0} << QStringLiteral("残り 10");
    }
    void bonusEntry() {
        QFETCH(int, job);
        QFETCH(int, factionPosition);
        QFETCH(QStringList, steps);
        choose(QStringLiteral("iptJOB"), job);
        choose(QStringLiteral("iptINF"), factionPosition);
        for (const QString& step : steps) {
            typeInto(step.section(u'=', 0, 0), step.section(u'=', 1));
        }
        QTEST(bonusTexts(), "boxes");
        QTEST(bonuses(), "stored");
        QTEST(label("viwLastBonus"), "left");
        const TZEMStatusSrc& src = m_statusNow.Src;
        QCOMPARE(label("viwBPOW"), QString::number(src.POW + m_statusNow.Bon.POW));
        QCOMPARE(label("viwBVIT"), QString::number(src.VIT + m_statusNow.Bon.VIT));
        QCOMPARE(label("viwNINT"), QString::number(m_statusNow.GetINT()));
        QCOMPARE(label("viwNHIT"), label("viwNDEX"));
        QCOMPARE(label("viwNAVD"), label("viwNDEX"));
    }

    void samuraiStoresThreeOnPow() {
        typeInto(QStringLiteral("iptPOW"), QStringLiteral("5"));
        QCOMPARE(label("viwBPOW"), QStringLiteral("10"));
    }

    void onmyojiTakedaLevel50() {
        choose(QStringLiteral("iptJOB"), 3);
        choose(QStringLiteral("iptINF"), 1);
        typeInto(QStringLiteral("iptDEX"), QStringLiteral("2"));
        typeInto(QStringLiteral("iptINT"), QStringLiteral("3"));
        typeInto(QStringLiteral("iptPHI"), QStringLiteral("5"));
        typeInto(QStringLiteral("iptLV"), QStringLiteral("50"));
        const QStringList names{"viwNHP",  "viwNMP",  "viwNPOW", "viwNVIT", "viwNDEX", "viwNINT",
                                "viwNPHI", "viwNSOL", "viwNSLT", "viwNHPG", "viwNMPG", "viwNAMP",
                                "viwNMWT", "viwNEAT", "viwNEXP", "viwNNEX"};
        QStringList shown;
        for (const QString& n : names) {
            shown << label(n);
        }
        QCOMPARE(shown, (QStringList{"1220", "2000", "103", "97", "136", "200", "179", "178", "11",
                                     "49", "90", "144", "51", "50", "170000000", "200000000"}));
        QCOMPARE(label("viwLastBonus"), QStringLiteral("残り 0"));
    }

    void factionChangeClearsBonuses() {
        typeInto(QStringLiteral("iptPOW"), QStringLiteral("2"));
        typeInto(QStringLiteral("iptPHI"), QStringLiteral("4"));
        typeInto(QStringLiteral("iptLV"), QStringLiteral("30"));
        QCOMPARE(label("viwLastBonus"), QStringLiteral("残り 4"));
        choose(QStringLiteral("iptINF"), 1);  // 武田
        QCOMPARE(m_statusNow.Src.INF, std::uint8_t{4});
        QCOMPARE(bonusTexts(), QStringList(5, QStringLiteral("0")));
        QCOMPARE(bonuses(), QList<int>(5, 0));
        QCOMPARE(label("viwLastBonus"), QStringLiteral("残り 10"));
        QCOMPARE(box("iptLV")->text(), QStringLiteral("30"));
        QCOMPARE(m_statusNow.LV, 30);
        QCOMPARE(label("viwBPOW"), QStringLiteral("6"));  // 侍 5 + 武田 1
    }

    void typedChoice_data() {
        QTest::addColumn<QString>("comboName");
        QTest::addColumn<QString>("how");  // over: replaces the text, end: appended, paste
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("faction");
        QTest::addColumn<int>("job");
        QTest::addColumn<QString>("shown");
        QTest::newRow("unknown faction text") << "iptINF"
                                              << "over"
                                              << "x" << 0 << 0 << "上杉";
        QTest::newRow("faction name appended to") << "iptINF"
                                                  << "end"
                                                  << "z" << 0 << 0 << "上杉";
        QTest::newRow("unknown job text") << "iptJOB"
                                          << "over"
                                          << "ab" << 0 << 0 << "侍";
        QTest::newRow("exact job name") << "iptJOB"
                                        << "over"
                                        << "僧" << 0 << 1 << "僧";
        QTest::newRow("pasted faction name") << "iptINF"
                                             << "paste"
                                             << "北条" << 6 << 0 << "北条";
        QTest::newRow("pasted unknown name") << "iptINF"
                                             << "paste"
                                             << "織田家" << 0 << 0 << "上杉";
    }
    void typedChoice() {
        QFETCH(QString, comboName);
        QFETCH(QString, how);
        QFETCH(QString, typed);
        typeInto(QStringLiteral("iptDEX"), QStringLiteral("3"));
        QComboBox* c = combo(comboName);
        if (how == u"end") {
            QTest::keyClick(c, Qt::Key_End);
            QTest::keyClicks(c, typed);
        } else if (how == u"paste") {
            QGuiApplication::clipboard()->setText(typed);
            QTest::keyClick(c, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(c, Qt::Key_V, Qt::ControlModifier);
        } else {
            QTest::keyClick(c, Qt::Key_A, Qt::ControlModifier);
            typeText(c, typed);
        }
        QTEST(int{m_statusNow.Src.INF}, "faction");
        QTEST(int{m_statusNow.Src.JOB}, "job");
        QTEST(c->currentText(), "shown");
        QCOMPARE(bonuses(), QList<int>(5, 0));
        QCOMPARE(bonusTexts(), QStringList(5, QStringLiteral("0")));
    }

    void level_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("level");
        QTest::addColumn<QString>("attack");
        QTest::addColumn<QString>("experience");
        QTest::addColumn<QString>("next");
        QTest::newRow("0 becomes 1") << "0"
                                     << "1" << 1 << "10"
                                     << "0"
                                     << "10";
        QTest::newRow("75 becomes 60") << "75"
                                       << "60" << 60 << "0"
                                       << "0"
                                       << "0";
        QTest::newRow("56") << "56"
                            << "56" << 56 << "160"
                            << "570000000"
                            << "690000000";
        QTest::newRow("57") << "57"
                            << "57" << 57 << "0"
                            << "690000000"
                            << "0";
        QTest::newRow("58") << "58"
                            << "58" << 58 << "0"
                            << "0"
                            << "0";
        QTest::newRow("not a number counts as 1") << "-"
                                                  << "-" << 1 << "10"
                                                  << "0"
                                                  << "10";
    }
    void level() {
        QFETCH(QString, typed);
        typeInto(QStringLiteral("iptLV"), QStringLiteral("20"));
        typeInto(QStringLiteral("iptLV"), typed);
        QTEST(box("iptLV")->text(), "shown");
        QTEST(m_statusNow.LV, "level");
        QTEST(label("viwNAMP"), "attack");
        QTEST(label("viwNEXP"), "experience");
        QTEST(label("viwNNEX"), "next");
    }

    void emptiedBoxWaitsForDexExit() {
        typeInto(QStringLiteral("iptINT"), QStringLiteral("3"));
        typeInto(QStringLiteral("iptLV"), QStringLiteral("40"));
        const QStringList before = snapshot();
        box(QStringLiteral("iptINT"))->setFocus(Qt::TabFocusReason);
        typeInto(QStringLiteral("iptINT"), QString());
        QCOMPARE(box(QStringLiteral("iptINT"))->text(), QString());
        QCOMPARE(m_statusNow.Bon.INT, 3);
        QCOMPARE(label("viwBINT"), QStringLiteral("6"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // on to 魅力
        QVERIFY(box(QStringLiteral("iptPHI"))->hasFocus());
        QCOMPARE(box(QStringLiteral("iptINT"))->text(), QString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // on to the level
        QCOMPARE(box(QStringLiteral("iptINT"))->text(), QString());
        QCOMPARE(snapshot().size(), before.size());
        QCOMPARE(m_statusNow.Bon.INT, 3);

        box(QStringLiteral("iptDEX"))->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);  // leaves 器用さ
        QCOMPARE(box(QStringLiteral("iptINT"))->text(), QStringLiteral("0"));
        QCOMPARE(m_statusNow.Bon.INT, 0);
        QCOMPARE(label("viwBINT"), QStringLiteral("3"));
        QCOMPARE(label("viwLastBonus"), QStringLiteral("残り 10"));
    }

    void dexExitFillsEveryEmptyBox() {
        typeInto(QStringLiteral("iptLV"), QString());
        typeInto(QStringLiteral("iptPOW"), QString());
        box(QStringLiteral("iptDEX"))->setFocus(Qt::TabFocusReason);
        typeInto(QStringLiteral("iptDEX"), QString());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(box(QStringLiteral("iptLV"))->text(), QStringLiteral("1"));
        QCOMPARE(bonusTexts(), QStringList(5, QStringLiteral("0")));
    }

    void refusedKeys_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::newRow("letter") << int{Qt::Key_A} << "a";
        QTest::newRow("star") << int{Qt::Key_Asterisk} << "*";
        QTest::newRow("space") << int{Qt::Key_Space} << " ";
        QTest::newRow("kana") << int{Qt::Key_unknown} << "あ";
        QTest::newRow("enter") << int{Qt::Key_Return} << "\r";
    }
    void refusedKeys() {
        QFETCH(int, key);
        QFETCH(QString, text);
        typeInto(QStringLiteral("iptLV"), QStringLiteral("12"));
        TZEMSpinEdit* lv = box(QStringLiteral("iptLV"));
        const QStringList before = snapshot();
        QTest::sendKeyEvent(QTest::Click, lv, Qt::Key(key), text, Qt::NoModifier);
        QCOMPARE(lv->text(), QStringLiteral("12"));
        QCOMPARE(snapshot(), before);
        TZEMSpinEdit* pow = box(QStringLiteral("iptPOW"));
        QTest::keyClick(pow, Qt::Key_Backspace);
        QTest::sendKeyEvent(QTest::Click, pow, Qt::Key(key), text, Qt::NoModifier);
        QCOMPARE(pow->text(), QString());
    }

    void tabOrder() {
        combo(QStringLiteral("iptINF"))->setFocus(Qt::TabFocusReason);
        QStringList visited;
        for (int i = 0; i < 8; ++i) {
            QWidget* w = QApplication::focusWidget();
            while (w && w->objectName().isEmpty()) {
                w = w->parentWidget();
            }
            visited << (w ? w->objectName() : QString());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        }
        QCOMPARE(visited, (QStringList{"iptINF", "iptJOB", "iptPOW", "iptVIT", "iptDEX", "iptINT",
                                       "iptPHI", "iptLV"}));
    }

    void reopenKeepsTheCharacter() {
        choose(QStringLiteral("iptJOB"), 4);
        choose(QStringLiteral("iptINF"), 10);
        typeInto(QStringLiteral("iptDEX"), QStringLiteral("1"));
        typeInto(QStringLiteral("iptPHI"), QStringLiteral("6"));
        typeInto(QStringLiteral("iptLV"), QStringLiteral("26"));
        const QStringList before = snapshot();
        closeWindow();
        open();
        QCOMPARE(snapshot(), before);
        QCOMPARE(combo(QStringLiteral("iptINF"))->currentText(), QStringLiteral("伊賀忍"));
        QCOMPARE(combo(QStringLiteral("iptJOB"))->currentText(), QStringLiteral("忍者"));
        QCOMPARE(bonusTexts(), (QStringList{"0", "0", "1", "0", "6"}));
        QCOMPARE(label("viwLastBonus"), QStringLiteral("残り 3"));

        // A new run starts from the constructed character again.
        closeWindow();
        m_statusNow = TZEMStatusNow();
        open();
        QCOMPARE(combo(QStringLiteral("iptINF"))->currentText(), QStringLiteral("上杉"));
        QCOMPARE(box(QStringLiteral("iptLV"))->text(), QStringLiteral("1"));
        QCOMPARE(label("viwLastBonus"), QStringLiteral("残り 10"));
    }
};

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
