// A label too narrow for its text: cut after a whole character with "…", the whole text its
// tooltip, text() unchanged.
#include <QHelpEvent>
#include <QToolTip>
#include <QtTest>

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
};

QTEST_MAIN(ElidedLabelTest)
#include "tst_elidedlabel.moc"
