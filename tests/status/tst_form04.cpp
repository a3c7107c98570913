#include <QCheckBox>
#include <QLabel>
#include <QPointer>
#include <QTabWidget>
#include <QTest>

#include "common/TZEMSpinEdit.h"
#include "status/PotentialBarWidget.h"
#include "status/TZEMForm04.h"
#include "support/MessageRecorder.h"

namespace {

const QColor Green(0, 251, 0);

// Which cells of a bar show a green box, read from the rendered widget ("1110000000").
QString greenCells(PotentialBarWidget* bar) {
    const QImage image = bar->grab().toImage();
    QString cells;
    for (int c = 0; c < PotentialBarWidget::ColumnCount; ++c) {
        cells += image.pixelColor(bar->cellRect(c).center()) == Green ? u'1' : u'0';
    }
    return cells;
}

// Which cells of a bar are wholly the background colour, outline included ("0001111111").
QString blankCells(PotentialBarWidget* bar) {
    const QImage image = bar->grab().toImage();
    const QColor background = bar->palette().color(QPalette::Base);
    QString cells;
    for (int c = 0; c < PotentialBarWidget::ColumnCount; ++c) {
        const QRect cell = bar->cellRect(c);
        bool blank = true;
        for (int y = cell.top(); y <= cell.bottom(); ++y) {
            for (int x = cell.left(); x <= cell.right(); ++x) {
                blank = blank && image.pixelColor(x, y) == background;
            }
        }
        cells += blank ? u'1' : u'0';
    }
    return cells;
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

}  // namespace

class PotentialTest : public QObject {
    Q_OBJECT

private:
    QPointer<TZEMForm04> m_form;
    std::unique_ptr<MessageRecorder> m_messages;

    QTabWidget* pages() const { return m_form->findChild<QTabWidget*>("PageControl1"); }
    PotentialBarWidget* bar(const QString& name) const {
        return m_form->findChild<PotentialBarWidget*>(name);
    }
    static void clickCell(PotentialBarWidget* b, int column) {
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->cellRect(column).center());
    }

private Q_SLOTS:
    void init() {
        m_messages = std::make_unique<MessageRecorder>();
        m_form = new TZEMForm04;
        m_form->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_form));
    }
    void cleanup() {
        m_form->close();
        QTRY_VERIFY(m_form.isNull());
        QVERIFY(m_messages->errors.isEmpty());
    }

    void tabs() {
        QStringList tabs;
        for (int i = 0; i < pages()->count(); ++i) {
            tabs << pages()->widget(i)->objectName() + u'=' + pages()->tabText(i);
        }
        QCOMPARE(tabs.join(u' '), "TabSheet2=基本 TabSheet1=戦闘 TabSheet3=生産");
        QCOMPARE(pages()->currentIndex(), 0);
        QCOMPARE(m_form->findChildren<PotentialBarWidget*>().size(), 63);
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
        QTest::newRow("山登り 基本") << "TabSheet2"
                                     << "DrawGrid3"
                                     << "山登り素養" << QPoint(252, 416) << true;
        QTest::newRow("剣術素養") << "TabSheet1"
                                  << "drw09Technic"
                                  << "剣術素養" << QPoint(100, 168) << true;
        QTest::newRow("商談 戦闘") << "TabSheet1"
                                   << "drw19Buss"
                                   << "商談" << QPoint(256, 376) << true;
        QTest::newRow("宝飾職人の心") << "TabSheet3"
                                      << "DrawGrid35"
                                      << "宝飾職人の心" << QPoint(256, 196) << false;
    }
    void bars() {
        QFETCH(QString, page);
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QPoint, place);
        QFETCH(bool, enabled);
        PotentialBarWidget* b = bar(name);
        QVERIFY(b);
        QCOMPARE(b->parentWidget()->objectName(), page);
        QCOMPARE(b->pos(), place);
        QCOMPARE(b->isEnabled(), enabled);
        QVERIFY(qAbs(b->width() - 160) <= 4 && qAbs(b->height() - 19) <= 1);
        QVERIFY(b->geometry().bottom() < b->parentWidget()->height());
        // Its label stands just left of it on its row, inside the page.
        int labels = 0;
        for (const QLabel* l : b->parentWidget()->findChildren<QLabel*>()) {
            const int gap = b->x() - l->geometry().right();
            labels += l->text() == caption && qAbs(l->y() - b->y()) <= 4 && gap > 0 && gap <= 8 &&
                      l->x() >= 0;
        }
        QCOMPARE(labels, 1);
    }

    void legBar_data() {
        QTest::addColumn<QString>("clicks");  // cells clicked in turn, or keys L R H E
        QTest::addColumn<QString>("green");
        QTest::newRow("fourth") << "3"
                                << "1111000000";
        QTest::newRow("fourth then first") << "30"
                                           << "1000000000";
        QTest::newRow("last then sixth") << "95"
                                         << "1111110000";
        QTest::newRow("keys") << "RR"
                              << "1110000000";
        QTest::newRow("end then home") << "EH"
                                       << "1000000000";
        QTest::newRow("left on the first chooses nothing") << "L"
                                                           << "0000000000";
    }
    void legBar() {
        QFETCH(QString, clicks);
        PotentialBarWidget* leg = bar("DrawGrid8");
        QCOMPARE(greenCells(leg), "0000000000");
        const QString keys = QStringLiteral("LRHE");
        const Qt::Key keyCodes[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Home, Qt::Key_End};
        for (QChar c : clicks) {
            if (c.isDigit()) {
                clickCell(leg, c.digitValue());
            } else {
                QTest::keyClick(leg, keyCodes[keys.indexOf(c)]);
            }
        }
        QFETCH(QString, green);
        QString blank = green;
        blank.replace(u'1', u'x').replace(u'0', u'1').replace(u'x', u'0');
        QCOMPARE(greenCells(leg), green);
        QCOMPARE(blankCells(leg), blank);  // the cells after the chosen one show nothing
        leg->repaint();                    // Qt repaints at will; the boxes must survive it
        QCOMPARE(greenCells(leg), green);
        QCOMPARE(blankCells(leg), blank);
    }

    // Each box is its cell's square outline with rounded corners of 8 x 8 ellipses inside,
    // the same at all four corners, and nothing drawn outside the cell.
    void boxesAreSymmetric() {
        PotentialBarWidget* leg = bar("DrawGrid8");
        clickCell(leg, 2);
        const QImage image = leg->grab().toImage();
        const QColor white(Qt::white);
        for (int c = 0; c <= 2; ++c) {
            const QRect cell = leg->cellRect(c);
            QString picture;  // for the failure message: W white, G green, . other
            bool symmetric = true;
            for (int y = 0; y < cell.height(); ++y) {
                for (int x = 0; x < cell.width(); ++x) {
                    const QColor p = image.pixelColor(cell.topLeft() + QPoint(x, y));
                    picture += p == white ? u'W' : p == Green ? u'G' : u'.';
                    const int mx = cell.width() - 1 - x, my = cell.height() - 1 - y;
                    symmetric = symmetric &&
                                p == image.pixelColor(cell.topLeft() + QPoint(mx, y)) &&
                                p == image.pixelColor(cell.topLeft() + QPoint(x, my));
                }
                picture += u'\n';
            }
            QVERIFY2(symmetric, qPrintable(picture));
            const QStringList rows = picture.split(u'\n');
            QCOMPARE(rows[0], QString(cell.width(), u'W'));    // the rectangle's outline
            QCOMPARE(rows[1].left(3), QStringLiteral("WWG"));  // the corner's arc inside it
            QCOMPARE(rows[2].left(3), QStringLiteral("WGG"));
            QCOMPARE(rows[7].mid(6, 3), QStringLiteral("GGG"));
            for (const QPoint outside :
                 {cell.bottomRight() + QPoint(1, 1), cell.topRight() + QPoint(1, 0),
                  cell.bottomLeft() + QPoint(0, 1)}) {
                QVERIFY(image.pixelColor(outside) != white && image.pixelColor(outside) != Green);
            }
        }
    }

    // No other bar on any tab draws, and no value label ever changes.
    void everythingElseStaysAsDesigned() {
        QStringList before;
        for (const QLabel* l : m_form->findChildren<QLabel*>()) {
            before << l->text();
        }
        QCOMPARE(before.count("9999999"), 3);
        QCOMPARE(before.count("999"), 3 * 3 + 2 * 15 + 8);
        for (int tab = 0; tab < 3; ++tab) {
            pages()->setCurrentIndex(tab);
            for (PotentialBarWidget* b :
                 pages()->widget(tab)->findChildren<PotentialBarWidget*>()) {
                if (b->objectName() != u"DrawGrid8") {
                    clickCell(b, 4);
                    QVERIFY2(!anyGreen(b), qPrintable(b->objectName()));
                }
            }
        }
        QVERIFY(!anyGreen(bar("DrawGrid8")));
        for (QCheckBox* c : m_form->findChildren<QCheckBox*>()) {
            c->click();
        }
        for (TZEMSpinEdit* s : m_form->findChildren<TZEMSpinEdit*>()) {
            QTest::keyClicks(s, "75");
            QCOMPARE(s->text(), "075");  // no bound applies
        }
        QStringList after;
        for (const QLabel* l : m_form->findChildren<QLabel*>()) {
            after << l->text();
        }
        after.sort();  // showing a tab reorders the pages
        before.sort();
        QCOMPARE(after, before);
    }
};

QTEST_MAIN(PotentialTest)
#include "tst_form04.moc"
