#include "recipes/FigureLabel.h"

#include <QFontMetrics>
#include <QPainter>

QFont FigureLabel::shownFont() const {
    QFont shown = font();
    const int room = contentsRect().width();
    const int needed = fontMetrics().horizontalAdvance(text());
    if (needed <= room || needed <= 0) {
        return shown;
    }
    // The width of a stretched font is not exactly proportional: narrow until it fits.
    for (int stretch = room * 100 / needed; stretch > 0; --stretch) {
        shown.setStretch(stretch);
        if (QFontMetrics(shown).horizontalAdvance(text()) <= room) {
            break;
        }
    }
    return shown;
}

void FigureLabel::paintEvent(QPaintEvent* event) {
    const QFont shown = shownFont();
    if (shown == font()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    painter.setFont(shown);
    painter.setPen(palette().color(foregroundRole()));
    painter.drawText(contentsRect(), static_cast<int>(alignment()), text());
}
