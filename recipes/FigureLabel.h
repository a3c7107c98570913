#pragma once

#include <QLabel>

// A label for a figure: a number wider than the label is drawn condensed, as far as it needs,
// so that every digit shows and the columns of figures keep their places.
class FigureLabel : public QLabel {
    Q_OBJECT

public:
    using QLabel::QLabel;

    // The font the text is drawn in: the label's own, narrowed when the text would not fit.
    QFont shownFont() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};
