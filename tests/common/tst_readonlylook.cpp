#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>
#include <QtTest>
#include <memory>

#include "common/ReadOnlyLook.h"

namespace {

std::unique_ptr<QWidget> make(const QString& kind) {
    if (kind == QLatin1String("grid")) {
        auto grid = std::make_unique<QTableWidget>(2, 2);
        grid->setHorizontalHeaderLabels({QStringLiteral("必要材料名"), QStringLiteral("必要数")});
        grid->setItem(0, 0, new QTableWidgetItem(QStringLiteral("砂鉄")));
        return grid;
    }
    auto box = std::make_unique<QComboBox>();
    box->addItems({QStringLiteral("産物商"), QStringLiteral("店")});
    return box;
}

}  // namespace

class ReadOnlyLookTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void normalColours_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("grid") << QStringLiteral("grid");
        QTest::newRow("drop-down list") << QStringLiteral("box");
    }

    // A disabled control draws its text and background in the enabled colours, and keeps doing so
    // when the desktop's colours change; its enabled colours are still the application's.
    void normalColours() {
        QFETCH(QString, kind);
        const QPalette original = QApplication::palette();
        QWidget window;
        auto widget = make(kind);
        widget->setParent(&window);
        widget->setEnabled(false);
        ReadOnlyLook::apply(widget.get());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(!widget->isEnabled());
        const auto check = [&](const QPalette& expected) {
            const QPalette& drawn = widget->palette();
            for (const QPalette::ColorRole role :
                 {QPalette::WindowText, QPalette::Text, QPalette::ButtonText, QPalette::Base}) {
                QCOMPARE(drawn.color(QPalette::Disabled, role),
                         expected.color(QPalette::Active, role));
                QCOMPARE(drawn.color(QPalette::Active, role),
                         expected.color(QPalette::Active, role));
            }
            // Parts other than text and background still look disabled.
            QCOMPARE(drawn.color(QPalette::Disabled, QPalette::Button),
                     expected.color(QPalette::Disabled, QPalette::Button));
        };
        check(original);
        QVERIFY(original.color(QPalette::Disabled, QPalette::Text) !=
                original.color(QPalette::Active, QPalette::Text));

        QPalette contrast = original;
        contrast.setColor(QPalette::Active, QPalette::Text, QColor(0, 0, 128));
        contrast.setColor(QPalette::Active, QPalette::ButtonText, QColor(0, 96, 0));
        contrast.setColor(QPalette::Active, QPalette::Base, QColor(255, 255, 224));
        contrast.setColor(QPalette::Disabled, QPalette::Button, QColor(200, 200, 255));
        QApplication::setPalette(contrast);
        QCoreApplication::processEvents();
        check(QApplication::palette(widget.get()));
        QCOMPARE(widget->palette().color(QPalette::Disabled, QPalette::Text), QColor(0, 0, 128));
        if (auto* grid = qobject_cast<QTableWidget*>(widget.get())) {
            // The column heads are the grid's children and take its colours.
            QCOMPARE(
                grid->horizontalHeader()->palette().color(QPalette::Disabled, QPalette::ButtonText),
                QColor(0, 96, 0));
        }
        QApplication::setPalette(original);
        QCoreApplication::processEvents();
        check(QApplication::palette(widget.get()));
    }
};

QTEST_MAIN(ReadOnlyLookTest)
#include "tst_readonlylook.moc"
