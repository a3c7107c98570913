#pragma once

#include <QAbstractSpinBox>

// An integer spin box that behaves as the game-tool windows expect: its value is its text read
// as an integer (text that is not a number counts as the minimum); the text may be emptied while
// typing; every change of the text is reported; bounds apply to the arrows, to values set by the
// program and, for a typed number, on leaving the box. Digits, "+", "-", "." and editing keys are
// accepted, from the keyboard or committed by an input method, their full-width forms as the same
// characters; any other character and Enter are refused with a beep. Bounds of 0 and 0 mean none.
class TZEMSpinEdit : public QAbstractSpinBox {
    Q_OBJECT

public:
    explicit TZEMSpinEdit(QWidget* parent = nullptr);

    void setBounds(int minValue, int maxValue);
    int minValue() const { return m_min; }
    int maxValue() const { return m_max; }
    bool hasBounds() const { return m_min != 0 || m_max != 0; }

    int value() const;
    // Writes the bound-corrected number into the text; reports a change only if the text changes.
    void setValue(int value);

    QString text() const;
    void setText(const QString& text);
    void setMaxLength(int length);

    int corrected(int value) const;

Q_SIGNALS:
    void changed();

protected:
    void stepBy(int steps) override;
    StepEnabled stepEnabled() const override;
    QValidator::State validate(QString& input, int& pos) const override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // The characters of `text` that the box takes, full-width forms made plain; `refused` tells
    // whether any other character was left out.
    static QString accepted(const QString& text, bool* refused);

    int m_min = 0;
    int m_max = 0;
};
