#include "common/MessageBoxes.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QSpacerItem>

namespace MessageBoxes {
namespace {

QString applicationTitle() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("TAMU") : name;
}

bool haveGui() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

void showBox(QMessageBox::Icon icon, const QString& text) {
    if (!haveGui()) {
        qWarning("%s", qUtf8Printable(text));
        return;
    }
    QMessageBox box(icon, applicationTitle(), QString(), QMessageBox::Ok);
    setBoxText(box, text);
    box.exec();
}

void boxError(const QString& text) {
    showBox(QMessageBox::Critical, text);
}

void boxPlain(const QString& text) {
    showBox(QMessageBox::NoIcon, text);
}

bool boxConfirm(const QString& title, const QString& text) {
    if (!haveGui()) {
        return false;
    }
    QMessageBox box(QMessageBox::Warning, title, QString(), QMessageBox::NoButton);
    setBoxText(box, text);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

}  // namespace

void setBoxText(QMessageBox& box, const QString& text) {
    // A message box wraps its text at about 500 pixels, and Japanese text may break between any
    // two characters: a long path pushes part of a word onto the next line. A strut as wide as
    // the widest line, as far as the screen allows, widens the text's column to fit it whole.
    box.setTextFormat(Qt::PlainText);  // a path or a typed name may hold "<", shown as it is
    box.setText(text);
    const QFontMetrics metrics(box.font());
    int widest = 0;
    for (const QString& line :
         QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).split(u'\n')) {
        widest = qMax(widest, metrics.horizontalAdvance(line) + 2);
    }
    // The widest a box grows on this screen, less its icon and margins.
    const int screenWidth = box.screen() != nullptr ? box.screen()->availableGeometry().width() : 0;
    const int room = (screenWidth <= 1024 ? screenWidth : qMin(screenWidth - 480, 1000)) - 120;
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (grid == nullptr || label == nullptr || room <= 0) {
        return;
    }
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(grid->indexOf(label), &row, &column, &rowSpan, &columnSpan);
    grid->addItem(new QSpacerItem(qMin(widest, room), 0), grid->rowCount(), column);
}

Messages::Presenters presenters() {
    return Messages::Presenters{boxError, boxPlain, boxConfirm};
}

void install() {
    Messages::setPresenters(presenters());
}

}  // namespace MessageBoxes
