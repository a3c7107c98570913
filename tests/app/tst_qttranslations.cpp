// Qt's own dialogs and menus speak Japanese once the program has installed Qt's translations:
// the file dialog of the CSV exports, the standard buttons of the boxes, the edit menu of a field.
#include <QAbstractButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QtTest>
#include <memory>

#include "app/QtTranslations.h"

namespace {

bool isJapanese(const QString& text) {
    for (const QChar c : text) {
        if (c.script() == QChar::Script_Han || c.script() == QChar::Script_Hiragana ||
            c.script() == QChar::Script_Katakana) {
            return true;
        }
    }
    return false;
}

}  // namespace

class TestQtTranslations : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QVERIFY(QtTranslations::install(*qApp)); }
    void fileDialog_data();
    void fileDialog();
    void standardButtons();
    void editMenu();
};

void TestQtTranslations::fileDialog_data() {
    QTest::addColumn<QString>("label");
    QTest::newRow("look in") << "lookInLabel";
    QTest::newRow("file name") << "fileNameLabel";
    QTest::newRow("file type") << "fileTypeLabel";
}

void TestQtTranslations::fileDialog() {
    QFETCH(QString, label);
    // The dialog the CSV exports open (Qt's own, as on a desktop without a native one).
    QFileDialog dialog(nullptr, QStringLiteral("CSV で保存"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    const auto* shown = dialog.findChild<QLabel*>(label);
    QVERIFY(shown);
    QVERIFY2(isJapanese(shown->text()), qPrintable(shown->text()));
    const auto* buttons = dialog.findChild<QDialogButtonBox*>();
    QVERIFY(buttons);
    for (const QAbstractButton* button : buttons->buttons()) {
        QVERIFY2(isJapanese(button->text()), qPrintable(button->text()));
    }
}

void TestQtTranslations::standardButtons() {
    QMessageBox box(QMessageBox::Question, QStringLiteral("TAMU"), QStringLiteral("保存しますか"),
                    QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(box.button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
    for (const QAbstractButton* button : box.buttons()) {
        QVERIFY2(isJapanese(button->text()), qPrintable(button->text()));
    }
}

void TestQtTranslations::editMenu() {
    QLineEdit field(QStringLiteral("尾張"));
    const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
    int entries = 0;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            QVERIFY2(isJapanese(action->text()), qPrintable(action->text()));
            ++entries;
        }
    }
    QCOMPARE(entries, 7);  // undo, redo, cut, copy, paste, delete, select all
}

QTEST_MAIN(TestQtTranslations)
#include "tst_qttranslations.moc"
