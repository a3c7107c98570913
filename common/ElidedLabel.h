#pragma once

#include <QLabel>

// A one-line label that shows as much of its text as fits, cut after a whole character and
// ended with "…", and the whole text as its tooltip while it is cut. text() is always the whole
// text, so code that reads the label gets what was set.
class ElidedLabel : public QLabel {
    Q_OBJECT

public:
    explicit ElidedLabel(QWidget* parent = nullptr);
    explicit ElidedLabel(const QString& text, QWidget* parent = nullptr);

    // The text as drawn at the label's present width.
    QString shownText() const;
    bool isElided() const { return shownText() != text(); }
    // The tooltip the label shows: the whole text while it is cut, else its own tooltip.
    QString effectiveToolTip() const;

    // As narrow as "…": a layout may give the label less room than its text.
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textRect() const;
};
