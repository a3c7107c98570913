#include "common/Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <utility>

namespace Messages {
namespace {

QString applicationTitle() {
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("TAMU") : name;
}

bool haveGui() {
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

void boxError(const QString& text) {
    if (!haveGui()) {
        qWarning("%s", qUtf8Printable(text));
        return;
    }
    QMessageBox box(QMessageBox::Critical, applicationTitle(), text, QMessageBox::Ok);
    box.exec();
}

void boxPlain(const QString& text) {
    if (!haveGui()) {
        qWarning("%s", qUtf8Printable(text));
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok);
    box.exec();
}

bool boxConfirm(const QString& title, const QString& text) {
    if (!haveGui()) {
        return false;
    }
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton);
    QPushButton* ok = box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(ok);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == ok;
}

Presenters& current() {
    static Presenters presenters = defaultPresenters();
    return presenters;
}

}  // namespace

Presenters defaultPresenters() {
    return Presenters{boxError, boxPlain, boxConfirm};
}

Presenters setPresenters(Presenters presenters) {
    return std::exchange(current(), std::move(presenters));
}

void showError(const QString& text) {
    current().error(text);
}
void showPlain(const QString& text) {
    current().plain(text);
}
bool confirm(const QString& title, const QString& text) {
    return current().confirm(title, text);
}

}  // namespace Messages
