// The saved-builds window of the status calculator and the builds of the level table.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "common/Fonts.h"
#include "common/TZEMSpinEdit.h"
#include "status/StatusBuildBook.h"
#include "status/TZEMForm03.h"
#include "status/TZEMForm031.h"
#include "status/TZEMForm032.h"
#include "support/MessageRecorder.h"

class BuildsWindowTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<StatusBuildBook> m_book;
    TZEMStatusNow m_statusNow;
    QPointer<TZEMForm03> m_status;
    std::unique_ptr<MessageRecorder> m_messages;

    template <class T>
    T* in(QWidget* window, const char* name) {
        return window->findChild<T*>(QString::fromLatin1(name));
    }
    void click(QWidget* window, const char* name) {
        QTest::mouseClick(in<QPushButton>(window, name), Qt::LeftButton);
    }
    void type(const char* name, const QString& text) {
        auto* box = in<TZEMSpinEdit>(m_status, name);
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
    QString shown(const char* name) { return in<QLabel>(m_status, name)->text(); }
    // What the calculator's inputs show: faction, job, five bonus boxes, level, points left.
    QStringList inputs() {
        QStringList texts{in<QComboBox>(m_status, "iptINF")->currentText(),
                          in<QComboBox>(m_status, "iptJOB")->currentText()};
        for (const char* box : {"iptPOW", "iptVIT", "iptDEX", "iptINT", "iptPHI", "iptLV"}) {
            texts << in<TZEMSpinEdit>(m_status, box)->text();
        }
        return texts << shown("viwLastBonus");
    }
    TZEMForm032* openBuilds() {
        click(m_status, "evtBuilds");
        return m_status->findChild<TZEMForm032*>();
    }
    static void choose(QComboBox* box, const QString& text) {
        const int i = box->findText(text);
        QVERIFY(i >= 0);
        box->setCurrentIndex(i);
        Q_EMIT box->activated(i);
    }

private Q_SLOTS:
    void initTestCase() { Fonts::setApplicationFont(); }
    void init() {
        m_dir = std::make_unique<QTemporaryDir>();
        m_book = std::make_unique<StatusBuildBook>(m_dir->path() + u'/');
        m_statusNow = TZEMStatusNow();
        m_messages = std::make_unique<MessageRecorder>();
        m_status = new TZEMForm03(m_statusNow, m_book.get());
        m_status->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_status));
    }
    void cleanup() {
        if (TZEMForm031* table = TZEMForm031::openWindow()) {
            table->close();
        }
        m_status->close();  // and its window of saved builds
        QTRY_VERIFY(m_status.isNull() && !TZEMForm031::openWindow());
        m_book.reset();
        m_messages.reset();
    }

    void saveLoadRenameDelete() {
        type("iptINT", QStringLiteral("4"));
        type("iptLV", QStringLiteral("30"));
        const QStringList saved = inputs();
        const QString mp = shown("viwNMP");
        TZEMForm032* builds = openBuilds();
        QVERIFY(builds);
        in<QLineEdit>(builds, "iptBuildName")->setText(QStringLiteral("知力型"));
        click(builds, "evtSave");
        QCOMPARE(m_book->entries().size(), 1);
        QCOMPARE(in<QListWidget>(builds, "viwBuilds")->count(), 1);

        type("iptINT", QStringLiteral("0"));
        type("iptLV", QStringLiteral("5"));
        QVERIFY(inputs() != saved);
        click(builds, "evtLoad");
        QCOMPARE(inputs(), saved);
        QCOMPARE(m_statusNow.Bon.INT, 4);  // handed on to the controller too
        QCOMPARE(shown("viwNMP"), mp);

        // Saving over a build asks first; no is no.
        type("iptLV", QStringLiteral("6"));
        m_messages->answerNext(false);
        click(builds, "evtSave");
        QCOMPARE(m_messages->questions.size(), 1);
        QCOMPARE(m_book->entries()[0].build.level, 30);

        in<QLineEdit>(builds, "iptBuildName")->setText(QStringLiteral("改名"));
        click(builds, "evtRename");
        QCOMPARE(m_book->entries()[0].name, "改名");
        QVERIFY(in<QListWidget>(builds, "viwBuilds")->item(0)->text().startsWith("改名"));

        click(builds, "evtDelete");
        QVERIFY(m_book->entries().isEmpty());
        QVERIFY(!in<QPushButton>(builds, "evtLoad")->isEnabled());
        QVERIFY(m_messages->errors.isEmpty());
    }

    // A code copied and pasted brings the build back; a refused one says why and changes nothing.
    void shareCodes() {
        QTest::keyClick(in<QComboBox>(m_status, "iptJOB"), Qt::Key_Down);
        type("iptDEX", QStringLiteral("2"));
        type("iptLV", QStringLiteral("44"));
        const QStringList copied = inputs();
        TZEMForm032* builds = openBuilds();
        click(builds, "evtCopyCode");
        const QString code = QApplication::clipboard()->text();
        QCOMPARE(in<QLabel>(builds, "viwCode")->text(), code);

        type("iptDEX", QStringLiteral("0"));
        const QStringList before = inputs();
        for (const QString& bad : {code.chopped(1), QStringLiteral("TAMU9-") + code.mid(6)}) {
            QApplication::clipboard()->setText(bad);
            click(builds, "evtPasteCode");
            QCOMPARE(inputs(), before);
            QCOMPARE(m_statusNow.Bon.DEX, 0);
        }
        QCOMPARE(m_messages->errors.size(), 2);
        QVERIFY(m_messages->errors[1].contains(QStringLiteral("第 9 版")));

        QApplication::clipboard()->setText(QStringLiteral("これ使って ") + code);
        click(builds, "evtPasteCode");
        QCOMPARE(inputs(), copied);
    }

    // Either build of the level table may be a saved build or the calculator's character.
    void levelTableBuilds() {
        m_book->save(QStringLiteral("A案"), {3, 4, {0, 0, 2, 3, 5}, 1});
        m_book->save(QStringLiteral("B案"), {0, 0, {3, 0, 0, 0, 0}, 1});
        click(m_status, "evtLevelTable");
        TZEMForm031* table = TZEMForm031::openWindow();
        auto* selA = in<QComboBox>(table, "selBuildA");
        auto* selB = in<QComboBox>(table, "selBuildB");
        choose(selA, QStringLiteral("A案"));
        QCOMPARE(table->model().pinned().Src.JOB, 3);
        QCOMPARE(table->model().mode(), StatusLevelModel::Mode::Difference);
        QCOMPARE(in<QLabel>(table, "viwBuildA")->text(),
                 "陰陽師・武田　ボーナス 器用さ 2・知力 3・魅力 5");
        type("iptVIT", QStringLiteral("2"));
        QCOMPARE(table->model().current().Bon.VIT, 2);  // B follows the calculator

        choose(selB, QStringLiteral("B案"));
        type("iptVIT", QStringLiteral("1"));
        QCOMPARE(table->model().current().Bon.POW, 3);
        QCOMPARE(table->model().current().Bon.VIT, 0);
        choose(selA, QStringLiteral("ステータス計算機"));
        type("iptVIT", QStringLiteral("4"));
        QCOMPARE(table->model().pinned().Bon.VIT, 4);

        m_book->rename(QStringLiteral("B案"), QStringLiteral("B改"));
        QCOMPARE(selB->currentText(), "B改");
        QCOMPARE(table->model().current().Bon.POW, 3);
        m_book->remove(QStringLiteral("B改"));
        QCOMPARE(selB->currentText(), "ステータス計算機");
        QCOMPARE(table->model().current().Bon.VIT, 4);

        choose(selA, QStringLiteral("A案"));
        m_book->remove(QStringLiteral("A案"));
        QCOMPARE(selA->currentText(), "固定");
        QCOMPARE(table->model().pinned().Src.JOB, 3);  // kept as it was
        QVERIFY(m_messages->errors.isEmpty());
    }
};

QTEST_MAIN(BuildsWindowTest)
#include "tst_form032.moc"
