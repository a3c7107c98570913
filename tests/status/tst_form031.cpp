#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QToolTip>

#include "common/Fonts.h"
#include "common/TZEMSpinEdit.h"
#include "status/LevelPlotWidget.h"
#include "status/StatusFigures.h"
#include "status/TZEMForm03.h"
#include "status/TZEMForm031.h"
#include "support/FlashNotes.h"
#include "support/MessageRecorder.h"
#include "support/WindowChecks.h"

namespace {

int figure(const char* view) {
    return StatusFigures::indexOf(view);
}

// The CSV as written for these tables: no field needs quoting.
QList<QStringList> parseCsv(const QString& text) {
    QList<QStringList> rows;
    for (const QString& line : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
        rows << line.split(u',');
    }
    return rows;
}

}  // namespace

class LevelWindowTest : public QObject {
    Q_OBJECT

private:
    TZEMStatusNow m_statusNow;
    QPointer<TZEMForm03> m_status;
    std::unique_ptr<MessageRecorder> m_messages;

    static TZEMForm031* planner() { return TZEMForm031::openWindow(); }
    int planners() const {
        int n = 0;
        for (QWidget* w : QApplication::topLevelWidgets()) {
            n += qobject_cast<TZEMForm031*>(w) && w->isVisible() ? 1 : 0;
        }
        return n;
    }
    TZEMForm031* openPlanner() {
        QTest::mouseClick(m_status->findChild<QPushButton*>(QStringLiteral("evtLevelTable")),
                          Qt::LeftButton);
        return planner();
    }
    void type(const char* name, const QString& text) {
        auto* box = m_status->findChild<TZEMSpinEdit*>(QString::fromLatin1(name));
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(box, Qt::Key_Backspace);
        QTest::keyClicks(box, text);
    }
    QString shown(const char* view) const {
        return m_status->findChild<QLabel*>(QString::fromLatin1(view))->text();
    }
    static QString cell(TZEMForm031* p, int row, const char* view) {
        return p->model().index(row, figure(view)).data().toString();
    }

private Q_SLOTS:
    void initTestCase() { Fonts::setApplicationFont(); }
    void init() {
        m_statusNow = TZEMStatusNow();
        m_messages = std::make_unique<MessageRecorder>();
        m_status = new TZEMForm03(m_statusNow);
        m_status->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_status));
    }
    void cleanup() {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            if (qobject_cast<TZEMForm031*>(w) || qobject_cast<TZEMForm03*>(w)) {
                w->close();
            }
        }
        QTRY_VERIFY(m_status.isNull() && !planner());
        QVERIFY2(m_messages->errors.isEmpty(), qPrintable(m_messages->errors.join(u'\n')));
        m_messages.reset();
    }

    // The columns are worded as the status window's headings beside the same values.
    void headingsAreTheStatusWindows() {
        TZEMForm031* p = openPlanner();
        QVERIFY(p);
        QCOMPARE(p->windowTitle(), "レベル別一覧");
        for (int f = 0; f < StatusFigures::Count; ++f) {
            const auto& fig = StatusFigures::all()[f];
            QCOMPARE(p->model().headerData(f, Qt::Horizontal).toString(),
                     m_status->findChild<QLabel*>(QString::fromLatin1(fig.label))->text());
        }
    }

    // The inputs keep their tab order; the button comes after the level.
    void buttonAfterTheLevelInTabOrder() {
        auto* level = m_status->findChild<TZEMSpinEdit*>(QStringLiteral("iptLV"));
        level->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget()->objectName(), "evtLevelTable");
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
        QVERIFY(planner());
    }

    // Walking the level box through 1 to 60 shows in the status window what the table holds.
    void rowsEqualTheStatusWindow() {
        QTest::keyClick(m_status->findChild<QComboBox*>(QStringLiteral("iptJOB")), Qt::Key_Down);
        type("iptVIT", QStringLiteral("3"));
        type("iptINT", QStringLiteral("4"));
        TZEMForm031* p = openPlanner();
        for (int level = 1; level <= 60; ++level) {
            type("iptLV", QString::number(level));
            for (const auto& fig : StatusFigures::all()) {
                QCOMPARE(cell(p, level - 1, fig.view), shown(fig.view));
            }
        }
    }

    void followsTheStatusWindow() {
        TZEMForm031* p = openPlanner();
        QCOMPARE(cell(p, 0, "viwNHP"), "34");
        type("iptVIT", QStringLiteral("3"));
        QCOMPARE(cell(p, 0, "viwNHP"), "38");
        QCOMPARE(p->findChild<QLabel*>(QStringLiteral("viwBuildB"))->text(),
                 "侍・上杉　ボーナス 耐久力 3");
        QTest::keyClick(m_status->findChild<QComboBox*>(QStringLiteral("iptJOB")), Qt::Key_Down);
        QCOMPARE(p->model().current().Src.JOB, 1);  // 僧, bonus cleared
        QCOMPARE(cell(p, 59, "viwNMWT"), shown("viwNMWT"));
        QCOMPARE(p->model().current().Bon.Total(), 0);

        // A second press brings the same window forward.
        QCOMPARE(openPlanner(), p);
        QCOMPARE(planners(), 1);

        // Closing the status window leaves the table as it was; the status window opened next
        // takes over at once.
        m_status->close();
        QTRY_VERIFY(m_status.isNull());
        QCOMPARE(p->model().current().Src.JOB, 1);
        m_status = new TZEMForm03(m_statusNow);
        m_status->show();
        type("iptPOW", QStringLiteral("2"));
        QCOMPARE(p->model().current().Bon.POW, 2);
    }

    void pinAndCompare() {
        TZEMForm031* p = openPlanner();
        auto* mode = p->findChild<QComboBox*>(QStringLiteral("selMode"));
        QCOMPARE(p->findChild<QLabel*>(QStringLiteral("viwBuildA"))->text(), "未固定");
        QTest::mouseClick(p->findChild<QPushButton*>(QStringLiteral("evtPin")), Qt::LeftButton);
        QCOMPARE(mode->currentIndex(), 2);  // the difference
        QCOMPARE(p->findChild<QLabel*>(QStringLiteral("viwBuildA"))->text(),
                 "侍・上杉　ボーナス なし");
        QCOMPARE(cell(p, 0, "viwNSLT"), "なし");

        type("iptINT", QStringLiteral("4"));
        QCOMPARE(cell(p, 0, "viwNSLT"), "9");
        QCOMPARE(cell(p, 9, "viwNSLT"), "+1");
        QCOMPARE(cell(p, 12, "viwNSLT"), "0");
        QCOMPARE(p->model().pinned().Bon.INT, 0);  // A stays as pinned

        QTest::mouseClick(p->findChild<QPushButton*>(QStringLiteral("evtUnpin")), Qt::LeftButton);
        QCOMPARE(mode->currentIndex(), 0);
        QCOMPARE(p->model().rowCount(), 60);
    }

    void copyAndHiddenColumns() {
        TZEMForm031* p = openPlanner();
        for (int f = 0; f < StatusFigures::Count; ++f) {
            p->setFigureVisible(f, f == figure("viwNHP") || f == figure("viwNNEX"));
        }
        QTest::mouseClick(p->findChild<QPushButton*>(QStringLiteral("evtCopy")), Qt::LeftButton);
        const QStringList lines = QApplication::clipboard()->text().split(u'\n');
        QCOMPARE(lines.size(), 62);  // heading, 60 levels, the final line end
        QCOMPARE(lines[0], "レベル\t生命\t次回必要経験値");
        QCOMPARE(lines[1], "1\t34\t10");
        QCOMPARE(lines[60], "60\t2040\t0");
        QCOMPARE(shownNote(p), QStringLiteral("表をコピーしました"));

        // Ctrl+C in the table copies the selected cells only.
        auto* view = p->findChild<QTableView*>(QStringLiteral("viwTable"));
        view->setFocus();
        view->setCurrentIndex(p->model().index(1, figure("viwNHP")));
        QTest::keyClick(view, Qt::Key_C, Qt::ControlModifier);
        QCOMPARE(QApplication::clipboard()->text(), "レベル\t生命\n2\t68\n");
    }

    void csvRoundTrip() {
        TZEMForm031* p = openPlanner();
        QTest::mouseClick(p->findChild<QPushButton*>(QStringLiteral("evtPin")), Qt::LeftButton);
        type("iptDEX", QStringLiteral("3"));
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("比較.csv"));
        p->setFileChooser([&] { return file; });
        QTest::mouseClick(p->findChild<QPushButton*>(QStringLiteral("evtSaveCsv")), Qt::LeftButton);
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("\xEF\xBB\xBF"));
        const QList<QStringList> rows = parseCsv(QString::fromUtf8(bytes.mid(3)));
        QCOMPARE(rows, p->model().sheet());
        QCOMPARE(rows[0].mid(0, 3), QStringList({"レベル", "生命", "気合"}));
        QCOMPARE(rows[1][1 + figure("viwNDEX")], "1");  // differs from level 1
        QCOMPARE(shownNote(p), QStringLiteral("比較.csv に保存しました"));

        // Cancelling the dialog writes nothing; a folder that does not exist is an error.
        f.remove();
        p->setFileChooser([] { return QString(); });
        QTest::mouseClick(p->findChild<QPushButton*>(QStringLiteral("evtSaveCsv")), Qt::LeftButton);
        QVERIFY(!QFile::exists(file));
        p->setFileChooser([&] { return dir.filePath(QStringLiteral("ない/x.csv")); });
        QTest::mouseClick(p->findChild<QPushButton*>(QStringLiteral("evtSaveCsv")), Qt::LeftButton);
        QCOMPARE(m_messages->errors.size(), 1);
        QVERIFY(m_messages->errors.first().contains(QStringLiteral("書き込めません")));
        m_messages->clear();
    }

    void plotLinesAndHover() {
        using Build = StatusLevelModel::Build;
        type("iptLV", QStringLiteral("40"));
        TZEMForm031* p = openPlanner();
        p->findChild<QTabWidget*>(QStringLiteral("pgcPlanner"))->setCurrentIndex(1);
        auto* plot = p->findChild<LevelPlotWidget*>(QStringLiteral("viwChart"));
        QCOMPARE(plot->lines().size(), 1);  // 生命 of B
        p->setFigurePlotted(figure("viwNPOW"), true);
        QTest::mouseClick(p->findChild<QPushButton*>(QStringLiteral("evtPin")), Qt::LeftButton);
        QStringList names;
        for (const LevelPlotWidget::Line& line : plot->lines()) {
            names << line.name + (line.dashed ? QStringLiteral(" dashed") : QString());
        }
        QCOMPARE(names,
                 QStringList({"生命（B）", "生命（A） dashed", "腕力（B）", "腕力（A） dashed"}));
        QCOMPARE(plot->lines()[2].colour, plot->lines()[3].colour);  // one colour per figure
        QVERIFY(plot->lines()[0].colour != plot->lines()[2].colour);

        // Only 腕力 from here on, so that the axis fits it and B and A lie pixels apart.
        type("iptPOW", QStringLiteral("3"));
        p->setFigurePlotted(figure("viwNHP"), false);
        QCOMPARE(plot->lines().size(), 2);
        const LevelPlotWidget::Line powB = plot->lines()[0];
        QCOMPARE(powB.points.size(), 60);
        QCOMPARE(powB.points[39].y(), p->model().table(Build::B).value(40, figure("viwNPOW")));
        QCOMPARE(plot->scale().to(), 250.0);  // B reaches 236 at level 60

        // The mouse on a line at level 40 names its exact value, here and as a tooltip.
        auto* hover = p->findChild<QLabel*>(QStringLiteral("viwHover"));
        const qreal powA = p->model().table(Build::A).value(40, figure("viwNPOW"));
        const QList<std::pair<qreal, QString>> targets{
            {powB.points[39].y(), QStringLiteral("腕力（B）　レベル 40：%1").arg(shown("viwNPOW"))},
            {powA, QStringLiteral("腕力（A）　レベル 40：%1").arg(powA)}};
        for (const auto& [value, text] : targets) {
            QTest::mouseMove(plot, plot->pointAt(40.3, value).toPoint() + QPoint(0, 1));
            QCOMPARE(hover->text(), text);
            QTRY_VERIFY(QToolTip::isVisible());
            QCOMPARE(QToolTip::text(), text);
        }
        // Off the lines the tooltip goes; the label keeps the last value.
        QTest::mouseMove(plot, plot->pointAt(40, plot->scale().to()).toPoint());
        QTRY_VERIFY(!QToolTip::isVisible());
        QCOMPARE(hover->text(), targets.last().second);
    }

    // The plot's scale and legend, its tips and the column menu are in the one proportional
    // Gothic of the boxes and menus.
    void chartInTheBoxesFace() {
        TZEMForm031* p = openPlanner();
        p->findChild<QTabWidget*>(QStringLiteral("pgcPlanner"))->setCurrentIndex(1);
        const QFont boxes = Fonts::font(Fonts::PGothic, 12);
        const QFontMetrics metrics(boxes);
        QVERIFY(metrics.horizontalAdvance(u'i') < metrics.horizontalAdvance(u'W'));
        const QMenu* columns = p->findChild<QToolButton*>(QStringLiteral("evtColumns"))->menu();
        for (const QFont& font :
             {p->findChild<LevelPlotWidget*>(QStringLiteral("viwChart"))->font(), QToolTip::font(),
              columns->font()}) {
            QCOMPARE(QFontInfo(font).family(), QFontInfo(boxes).family());
            QCOMPARE(font.pixelSize(), 12);
        }
    }

    // First beside the status window where there is room, later where it was left, even with
    // room beside; the table takes what the window grows by.
    void opensBesideOrWhereItWasLeft() {
        const QRect wide(0, 0, 2560, 1440);
        ScreenAreas::inject(wide, wide.adjusted(0, 0, 0, -30));
        m_status->move(50, 100);
        QTRY_COMPARE(m_status->pos(), QPoint(50, 100));
        TZEMForm031* p = openPlanner();
        QCOMPARE(p->pos(), m_status->frameGeometry().topRight() + QPoint(8, 0));
        QCOMPARE(WindowChecks::growthProblems(p, {"viwTable"}, {"evtPin", "selMode"}), QString());
        p->close();
        QTRY_VERIFY(!planner());
        ScreenAreas::reset();
        QCOMPARE(WindowChecks::reopenProblems(
                     QStringLiteral("TZEMForm031"), QSize(860, 580),
                     [this] { return openPlanner(); }, wide),
                 QString());
    }
};

QTEST_MAIN(LevelWindowTest)
#include "tst_form031.moc"
