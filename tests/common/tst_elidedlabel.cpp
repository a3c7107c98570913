// A label too narrow for its text: cut after a whole character with "…", the whole text its
// tooltip, text() unchanged.
#include <QComboBox>
#include <QHelpEvent>
#include <QLineEdit>
#include <QToolTip>
#include <QtTest>

#include "common/Controls.h"
#include "common/ElidedLabel.h"
#include "common/Fonts.h"

class ElidedLabelTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { Fonts::registerSubstitutions(); }

    void cutsAtAWholeCharacter_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("elided");
        const QString name = QStringLiteral("見本：知行とほかの目録に載る品");
        QTest::newRow("fits") << QStringLiteral("刀") << 130 << false;
        QTest::newRow("long name") << name << 130 << true;
        QTest::newRow("just wide enough") << name << 0 << false;  // 0: the text's own width
        // A character outside the Basic Multilingual Plane is two code units: never split.
        QTest::newRow("surrogate pairs")
            << QStringLiteral("𠮷𠮷𠮷𠮷𠮷𠮷𠮷𠮷𠮷𠮷𠮷𠮷") << 70 << true;
        QTest::newRow("combining marks") << QStringLiteral("か\u3099").repeated(12) << 50 << true;
    }
    void cutsAtAWholeCharacter() {
        QFETCH(QString, text);
        QFETCH(int, width);
        QFETCH(bool, elided);
        ElidedLabel label;
        label.setFont(Fonts::font(Fonts::Mincho, 16));
        label.setText(text);
        label.setToolTip(QStringLiteral("own tip"));
        label.resize(width > 0 ? width : label.fontMetrics().horizontalAdvance(text), 20);
        QCOMPARE(label.text(), text);
        QCOMPARE(label.isElided(), elided);
        const QString shown = label.shownText();
        QCOMPARE(label.effectiveToolTip(), elided ? text : QStringLiteral("own tip"));
        if (!elided) {
            QCOMPARE(shown, text);
            return;
        }
        QVERIFY(shown.endsWith(u'…'));
        const QString kept = shown.chopped(1);
        QVERIFY(!kept.isEmpty());
        QVERIFY(text.startsWith(kept));
        QVERIFY(!kept.back().isHighSurrogate());
        QVERIFY(!text.at(kept.size()).isLowSurrogate());
        QVERIFY(text.at(kept.size()).category() != QChar::Mark_NonSpacing);
        QVERIFY(label.fontMetrics().horizontalAdvance(shown) <= label.width());
        // A layout may make it narrower than its text.
        QVERIFY(label.minimumSizeHint().width() < label.fontMetrics().horizontalAdvance(text));
    }

    void showsTheWholeTextAsTooltipWhileCut() {
        ElidedLabel label(QStringLiteral("見本：知行とほかの目録に載る品"));
        label.resize(80, 20);
        label.show();
        QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), label.mapToGlobal(QPoint(5, 5)));
        QCoreApplication::sendEvent(&label, &tip);
        QTRY_COMPARE(QToolTip::text(), label.text());
        QToolTip::hideText();
        label.resize(600, 20);
        QCoreApplication::sendEvent(&label, &tip);
        QTRY_VERIFY(!QToolTip::isVisible());
    }

    // Labels laid out by hand: exactly where they are put, in their font, centred vertically.
    void placedLabels_data() {
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("name");
        QTest::newRow("left, unnamed")
            << int(Qt::AlignLeft) << int(Qt::AlignLeft | Qt::AlignVCenter) << QString();
        QTest::newRow("right, named")
            << int(Qt::AlignRight) << int(Qt::AlignRight | Qt::AlignVCenter) << "outFigure";
        QTest::newRow("centred") << int(Qt::AlignHCenter)
                                 << int(Qt::AlignHCenter | Qt::AlignVCenter) << "outMiddle";
    }
    void placedLabels() {
        QFETCH(int, alignment);
        QFETCH(int, expected);
        QFETCH(QString, name);
        QWidget parent;
        const QFont font = Fonts::font(Fonts::Mincho, 16);
        const QRect place(12, 34, 56, 22);
        auto* label = Controls::label<ElidedLabel>(&parent, QStringLiteral("生産費用："), place,
                                                   font, name, Qt::Alignment(alignment));
        QCOMPARE(label->parentWidget(), &parent);
        QCOMPARE(label->text(), QStringLiteral("生産費用："));
        QCOMPARE(label->objectName(), name);
        QCOMPARE(label->geometry(), place);
        QCOMPARE(label->font().pixelSize(), 16);
        QCOMPARE(int(label->alignment()), expected);
    }

    // A label put at a point is as large as its text, so a longer text gets a wider label.
    void labelsAtAPointFitTheirText() {
        QWidget parent;
        parent.setFont(Fonts::font(Fonts::PGothic, 12));
        QLabel* shortOne = Controls::label(&parent, QStringLiteral("の刻"), QPoint(84, 56),
                                           QStringLiteral("Label1"));
        QLabel* longOne =
            Controls::label(&parent, QStringLiteral("出発港到着まで"), QPoint(4, 208));
        QCOMPARE(shortOne->objectName(), QStringLiteral("Label1"));
        QCOMPARE(shortOne->pos(), QPoint(84, 56));
        QCOMPARE(shortOne->size(), shortOne->sizeHint());
        QCOMPARE(longOne->pos(), QPoint(4, 208));
        QCOMPARE(longOne->size(), longOne->sizeHint());
        QVERIFY(longOne->width() > shortOne->width());
        QLabel* inLayout =
            Controls::label(&parent, QStringLiteral("原材料"), Fonts::font(Fonts::Mincho, 16),
                            QStringLiteral("outTotal"));
        QCOMPARE(inLayout->font().pixelSize(), 16);
        QCOMPARE(inLayout->objectName(), QStringLiteral("outTotal"));
    }

    // Typed text that matches no entry stays typed text: it never becomes an entry.
    void comboBoxesTakeTypedTextWithoutAddingIt() {
        QWidget parent;
        QComboBox* box =
            Controls::comboBox(&parent, QStringLiteral("iptJob"), QRect(46, 6, 140, 22));
        box->addItems({QStringLiteral("全て"), QStringLiteral("鍛冶屋")});
        QCOMPARE(box->objectName(), QStringLiteral("iptJob"));
        QCOMPARE(box->geometry(), QRect(46, 6, 140, 22));
        QVERIFY(box->isEditable());
        box->lineEdit()->setText(QStringLiteral("大工"));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        QCOMPARE(box->count(), 2);
        QCOMPARE(box->currentText(), QStringLiteral("大工"));
    }
};

QTEST_MAIN(ElidedLabelTest)
#include "tst_elidedlabel.moc"
