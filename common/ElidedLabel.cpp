#include "common/ElidedLabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QToolTip>
#include <algorithm>

ElidedLabel::ElidedLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
}

ElidedLabel::ElidedLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setTextFormat(Qt::PlainText);
}

QRect ElidedLabel::textRect() const {
    const int m = margin();
    return contentsRect().adjusted(m, m, -m, -m);
}

QString ElidedLabel::shownText() const {
    // elidedText cuts between whole characters (grapheme clusters), never inside a glyph.
    return fontMetrics().elidedText(text(), Qt::ElideRight, textRect().width());
}

QString ElidedLabel::effectiveToolTip() const {
    return isElided() ? text() : toolTip();
}

QSize ElidedLabel::minimumSizeHint() const {
    const QSize full = QLabel::minimumSizeHint();
    const int ellipsis = fontMetrics().horizontalAdvance(QStringLiteral("…"));
    const int frame = width() - textRect().width();
    return {std::min(full.width(), ellipsis + std::max(frame, 0)), full.height()};
}

bool ElidedLabel::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const QString tip = effectiveToolTip();
        if (tip.isEmpty()) {
            QToolTip::hideText();
            event->ignore();
        } else {
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), tip, this);
        }
        return true;
    }
    return QLabel::event(event);
}

void ElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, textRect(), int(alignment()) | Qt::TextSingleLine, palette(),
                          isEnabled(), shownText(), foregroundRole());
}
