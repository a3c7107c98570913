#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QTabWidget>
#include <QTest>

#include "common/TZEMSpinEdit.h"
#include "status/PotentialBar.h"
#include "status/TZEMForm04.h"
#include "support/MessageRecorder.h"

namespace {

const QColor Green(0, 251, 0);

// Which cells of a bar show a green box, read from the rendered widget.
QList<bool> greenCells(PotentialBar* bar) {
    const QImage image = bar->grab().toImage();
    QList<bool> green;
    for (int c = 0; c < PotentialBar::ColumnCount; ++c) {
        green << (image.pixelColor(bar->cellRect(c).center()) == Green);
    }
    return green;
}

bool anyGreen(QWidget* w) {
    const QImage image = w->grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) == Green) {
                return true;
            }
        }
    }
    return false;
}

QList<bool> firstCells(int count) {
    QList<bool> cells(PotentialBar::ColumnCount, false);
    for (int c = 0; c < count; ++c) {
        cells[c] = true;
    }
    return cells;
}

}  // namespace

class PotentialTest : public QObject {
    Q_OBJECT

private:
    QPointer<TZEMForm04> m_form;
    MessageRecorder* m_messages = nullptr;

    QTabWidget* pages() const { return m_form->findChild<QTabWidget*>("PageControl1"); }
    PotentialBar* bar(const QString& name) const { return m_form->findChild<PotentialBar*>(name); }
    void clickCell(PotentialBar* b, int column) {
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->cellRect(column).center());
    }
    QStringList labelTexts() const {
        QStringList texts;
        for (const QLabel* l : m_form->findChildren<QLabel*>()) {
            texts << l->text();
        }
        return texts;
    }

private Q_SLOTS:
    void init() {
        m_messages = new MessageRecorder;
        m_form = new TZEMForm04;
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
    }
    void cleanup() {
        m_form->close();
        QTRY_VERIFY(m_form.isNull());
        QVERIFY(m_messages->errors.isEmpty());
        delete m_messages;
    }

    void tabs() {
        QCOMPARE(m_form->windowTitle(), QStringLiteral("潜在能力計算機"));
        QCOMPARE(m_form->size(), QSize(428, 469));
        QTabWidget* p = pages();
        QCOMPARE(p->count(), 3);
        QCOMPARE(p->currentIndex(), 0);
        const QStringList names{"TabSheet2", "TabSheet1", "TabSheet3"};
        const QStringList titles{"基本", "戦闘", "生産"};
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(p->widget(i)->objectName(), names[i]);
            QCOMPARE(p->tabText(i), titles[i]);
        }
        QCOMPARE(m_form->findChildren<PotentialBar*>().size(), 63);
    }

    void bars_data() {
        QTest::addColumn<QString>("page");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QPoint>("place");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("脚力") << "TabSheet2"
                              << "DrawGrid8"
                              << "脚力" << QPoint(96, 8) << true;
        QTest::newRow("応用力") << "TabSheet2"
                                << "DrawGrid13"
                                << "応用力" << QPoint(96, 168) << true;
        QTest::newRow("握力") << "TabSheet2"
                              << "DrawGrid14"
                              << "握力" << QPoint(252, 196) << true;
        QTest::newRow("山登り 基本") << "TabSheet2"
                                     << "DrawGrid3"
                                     << "山登り素養" << QPoint(252, 416) << true;
        QTest::newRow("狩人の眼力") << "TabSheet1"
                                    << "drw01Foot"
                                    << "狩人の眼力" << QPoint(100, 8) << true;
        QTest::newRow("剣術素養") << "TabSheet1"
                                  << "drw09Technic"
                                  << "剣術素養" << QPoint(100, 168) << true;
        QTest::newRow("商談 戦闘") << "TabSheet1"
                                   << "drw19Buss"
                                   << "商談" << QPoint(256, 376) << true;
        QTest::newRow("腹持ち 戦闘") << "TabSheet1"
                                     << "DrawGrid1"
                                     << "腹持ち素養" << QPoint(256, 396) << true;
        QTest::newRow("力自慢") << "TabSheet3"
                                << "DrawGrid29"
                                << "力自慢" << QPoint(100, 8) << false;
        QTest::newRow("宝飾職人の心") << "TabSheet3"
                                      << "DrawGrid35"
                                      << "宝飾職人の心" << QPoint(256, 196) << false;
        QTest::newRow("山登り 生産") << "TabSheet3"
                                     << "DrawGrid24"
                                     << "山登り素養" << QPoint(256, 416) << false;
    }
    void bars() {
        QFETCH(QString, page);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QPoint, place);
        QFETCH(bool, enabled);
        PotentialBar* b = bar(name);
        QVERIFY(b);
        QCOMPARE(b->parentWidget()->objectName(), page);
        QCOMPARE(b->pos(), place);
        QCOMPARE(b->isEnabled(), enabled);
        QVERIFY(qAbs(b->width() - 160) <= 4 && qAbs(b->height() - 19) <= 1);
        // Its label stands just left of it, on its row, fully inside the page.
        const QLabel* found = nullptr;
        for (const QLabel* l :
             b->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
            if (l->text() == caption && qAbs(l->y() - b->y()) <= 4 && l->x() < b->x()) {
                found = l;
            }
        }
        QVERIFY(found);
        QVERIFY(found->geometry().right() < b->x() && b->x() - found->geometry().right() <= 8);
        QVERIFY(found->x() >= 0);
        QVERIFY(b->geometry().bottom() < b->parentWidget()->height());
    }

    void informationGroups() {
        const QStringList captions{"基本潜在能力 情報", "戦闘潜在能力 情報", "生産潜在能力 情報"};
        const QStringList spins{"SpinEdit2", "SpinEdit1", "SpinEdit3"};
        const QStringList checks{"CheckBox2", "CheckBox1", "CheckBox3"};
        for (int i = 0; i < 3; ++i) {
            QWidget* page = pages()->widget(i);
            QStringList groupTitles;
            for (const QGroupBox* g : page->findChildren<QGroupBox*>()) {
                groupTitles << g->title();
            }
            QVERIFY(groupTitles.contains(captions[i]));
            QVERIFY(groupTitles.contains(QStringLiteral("ステータス 反映結果")));
            auto* spin = page->findChild<TZEMSpinEdit*>(spins[i]);
            QVERIFY(spin);
            QCOMPARE(spin->text(), QStringLiteral("0"));
            QVERIFY(!spin->hasBounds());
            spin->setValue(75);  // no bound applies
            QCOMPARE(spin->text(), QStringLiteral("75"));
            auto* check = page->findChild<QCheckBox*>(checks[i]);
            QVERIFY(check);
            QVERIFY(!check->isChecked());
            QCOMPARE(check->text(), QStringLiteral("潜在能力 使用制限"));
        }
    }

    void legBarFills_data() {
        QTest::addColumn<QList<int>>("clicks");
        QTest::addColumn<int>("filled");
        QTest::newRow("fourth") << QList<int>{3} << 4;
        QTest::newRow("fourth then first") << QList<int>{3, 0} << 1;
        QTest::newRow("last") << QList<int>{9} << 10;
        QTest::newRow("last then sixth") << QList<int>{9, 5} << 6;
    }
    void legBarFills() {
        QFETCH(QList<int>, clicks);
        PotentialBar* leg = bar(QStringLiteral("DrawGrid8"));
        QCOMPARE(greenCells(leg), firstCells(0));
        for (int column : clicks) {
            clickCell(leg, column);
        }
        QTEST(static_cast<int>(greenCells(leg).count(true)), "filled");
        QFETCH(int, filled);
        QCOMPARE(greenCells(leg), firstCells(filled));
        // Qt repaints at will; the boxes must survive it.
        leg->repaint();
        QCOMPARE(greenCells(leg), firstCells(filled));
    }

    void legBarByKeyboard() {
        PotentialBar* leg = bar(QStringLiteral("DrawGrid8"));
        leg->setFocus();
        QTest::keyClick(leg, Qt::Key_Right);
        QTest::keyClick(leg, Qt::Key_Right);
        QCOMPARE(greenCells(leg), firstCells(3));
        QTest::keyClick(leg, Qt::Key_End);
        QCOMPARE(greenCells(leg), firstCells(10));
        QTest::keyClick(leg, Qt::Key_Home);
        QCOMPARE(greenCells(leg), firstCells(1));
        QTest::keyClick(leg, Qt::Key_Left);  // already first: nothing chosen
        QCOMPARE(greenCells(leg), firstCells(1));
    }

    void boxesHaveWhiteOutline() {
        PotentialBar* leg = bar(QStringLiteral("DrawGrid8"));
        clickCell(leg, 0);
        const QImage image = leg->grab().toImage();
        const QRect cell = leg->cellRect(0);
        QCOMPARE(image.pixelColor(cell.topLeft()), QColor(Qt::white));
        QCOMPARE(image.pixelColor(cell.left() + 7, cell.top()), QColor(Qt::white));
        QCOMPARE(image.pixelColor(cell.center()), Green);
    }

    void otherBarsDrawNothing() {
        for (int tab = 0; tab < 3; ++tab) {
            pages()->setCurrentIndex(tab);
            for (PotentialBar* b : pages()->widget(tab)->findChildren<PotentialBar*>()) {
                if (b->objectName() == u"DrawGrid8") {
                    continue;
                }
                clickCell(b, 4);
                QVERIFY2(!anyGreen(b), qPrintable(b->objectName()));
                QCOMPARE(b->filledTo(), -1);
            }
        }
        QVERIFY(!anyGreen(bar(QStringLiteral("DrawGrid8"))));
    }

    void valueLabelsNeverChange() {
        const QStringList before = labelTexts();
        QCOMPARE(before.count(QStringLiteral("9999999")), 3);
        QCOMPARE(before.count(QStringLiteral("999")), 3 * 3 + 2 * 15 + 8);
        clickCell(bar(QStringLiteral("DrawGrid8")), 6);
        for (QCheckBox* c : m_form->findChildren<QCheckBox*>()) {
            c->click();
        }
        for (TZEMSpinEdit* s : m_form->findChildren<TZEMSpinEdit*>()) {
            QTest::keyClicks(s, "5");
        }
        QCOMPARE(labelTexts(), before);
    }
};

QTEST_MAIN(PotentialTest)
#include "tst_potential.moc"
