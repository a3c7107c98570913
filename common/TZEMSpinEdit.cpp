#include "common/TZEMSpinEdit.h"

#include <QApplication>
#include <QInputMethodEvent>
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

QString TZEMSpinEdit::accepted(const QString& text, bool* refused) {
    QString result;
    *refused = false;
    for (QChar c : text) {
        // The full-width forms that a Japanese input method commits stand for the same keys.
        if (c >= QChar(0xFF01) && c <= QChar(0xFF5E)) {
            c = QChar(c.unicode() - 0xFEE0);
        }
        if ((c >= u'0' && c <= u'9') || c == u'+' || c == u'-' || c == u'.') {
            result += c;
        } else {
            *refused = true;
        }
    }
    return result;
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
        bool refused = false;
        const QString text = accepted(typed, &refused);
        if (refused) {
            QApplication::beep();
            event->accept();
            return;
        }
        if (text != typed) {
            QKeyEvent plain(event->type(), event->key(), event->modifiers(), text,
                            event->isAutoRepeat(), static_cast<ushort>(event->count()));
            QAbstractSpinBox::keyPressEvent(&plain);
            event->setAccepted(plain.isAccepted());
            return;
        }
    }
    QAbstractSpinBox::keyPressEvent(event);
}

bool TZEMSpinEdit::event(QEvent* event) {
    if (event->type() != QEvent::InputMethod) {
        return QAbstractSpinBox::event(event);
    }
    // Text being composed shows as the input method draws it; committed text goes in as the
    // same characters typed one by one would, the refused ones left out with a beep.
    auto* composed = static_cast<QInputMethodEvent*>(event);
    bool refused = false;
    const QString text = accepted(composed->commitString(), &refused);
    if (refused) {
        QApplication::beep();
    }
    QInputMethodEvent filtered(composed->preeditString(), composed->attributes());
    filtered.setCommitString(text, composed->replacementStart(), composed->replacementLength());
    const bool handled = QAbstractSpinBox::event(&filtered);
    event->setAccepted(filtered.isAccepted());
    return handled;
}

void TZEMSpinEdit::focusOutEvent(QFocusEvent* event) {
    bool ok = false;
    const int typed = text().toInt(&ok);
    if (ok && corrected(typed) != typed) {
        setValue(typed);
    }
    QAbstractSpinBox::focusOutEvent(event);
}
