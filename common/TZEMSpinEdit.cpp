#include "common/TZEMSpinEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <algorithm>

TZEMSpinEdit::TZEMSpinEdit(QWidget* parent) : QAbstractSpinBox(parent) {
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setKeyboardTracking(true);
    lineEdit()->setText(QStringLiteral("0"));
    connect(lineEdit(), &QLineEdit::textChanged, this, &TZEMSpinEdit::changed);
}

void TZEMSpinEdit::setBounds(int minValue, int maxValue) {
    m_min = minValue;
    m_max = maxValue;
}

int TZEMSpinEdit::corrected(int value) const {
    return hasBounds() ? std::clamp(value, m_min, m_max) : value;
}

int TZEMSpinEdit::value() const {
    bool ok = false;
    const int v = text().toInt(&ok);
    return ok ? v : m_min;
}

void TZEMSpinEdit::setValue(int value) {
    setText(QString::number(corrected(value)));
}

QString TZEMSpinEdit::text() const {
    return lineEdit()->text();
}

void TZEMSpinEdit::setText(const QString& text) {
    if (lineEdit()->text() != text) {
        lineEdit()->setText(text);
    }
}

void TZEMSpinEdit::setMaxLength(int length) {
    lineEdit()->setMaxLength(length);
}

void TZEMSpinEdit::stepBy(int steps) {
    setValue(value() + steps);
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled TZEMSpinEdit::stepEnabled() const {
    if (isReadOnly() || !isEnabled()) {
        return StepNone;
    }
    if (!hasBounds()) {
        return StepUpEnabled | StepDownEnabled;
    }
    StepEnabled enabled = StepNone;
    if (value() < m_max) {
        enabled |= StepUpEnabled;
    }
    if (value() > m_min) {
        enabled |= StepDownEnabled;
    }
    return enabled;
}

QValidator::State TZEMSpinEdit::validate(QString&, int&) const {
    return QValidator::Acceptable;
}

void TZEMSpinEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        QApplication::beep();
        event->accept();
        return;
    }
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
    if (printable) {
        const QChar c = typed.at(0);
        const bool allowed = (c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.';
        if (!allowed) {
            QApplication::beep();
            event->accept();
            return;
        }
    }
    QAbstractSpinBox::keyPressEvent(event);
}

void TZEMSpinEdit::focusOutEvent(QFocusEvent* event) {
    bool ok = false;
    const int typed = text().toInt(&ok);
    if (ok && corrected(typed) != typed) {
        setValue(typed);
    }
    QAbstractSpinBox::focusOutEvent(event);
}
