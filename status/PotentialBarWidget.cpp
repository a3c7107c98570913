#include "status/PotentialBarWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>
#include <cmath>

namespace {

constexpr int Border = 1;
constexpr int Pitch = PotentialBarWidget::CellSize + 1;  // a cell and its grid line
const QColor BoxGreen(0, 251, 0);
const QColor GridLine(192, 192, 192);

}  // namespace

PotentialBarWidget::PotentialBarWidget(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::StrongFocus);
    resize(sizeHint());
}

QSize PotentialBarWidget::sizeHint() const {
    return {2 * Border + ColumnCount * Pitch, 2 * Border + Pitch + 1};
}

QRect PotentialBarWidget::cellRect(int column) const {
    return {Border + column * Pitch, Border, CellSize, CellSize};
}

void PotentialBarWidget::setCurrentColumn(int column) {
    m_current = qBound(0, column, ColumnCount - 1);
}

void PotentialBarWidget::choose(int column) {
    setCurrentColumn(column);
    Q_EMIT clicked();
}

void PotentialBarWidget::fillTo(int column) {
    m_filledTo = qBound(0, column, ColumnCount - 1);
    update();
}

void PotentialBarWidget::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QColor window = palette().color(QPalette::Base);
    p.fillRect(rect(), window);
    p.setPen(GridLine);
    for (int c = 0; c < ColumnCount; ++c) {
        const int x = Border + c * Pitch + CellSize;
        p.drawLine(x, Border, x, Border + CellSize);
    }
    p.drawLine(Border, Border + CellSize, width() - Border - 1, Border + CellSize);
    p.setPen(palette().color(QPalette::Dark));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    if (m_filledTo < 0) {
        return;
    }
    // Every cell is cleared first: the fill covers the whole cell, its edges included, so the
    // cells after the chosen one come out blank.
    for (int c = 0; c < ColumnCount; ++c) {
        p.fillRect(cellRect(c), window);
    }
    // A rectangle covers its cell's 15 pixels, so the outline goes one pixel in from the right
    // and bottom edges of the cell. The rounded rectangle over it adds its corner arcs; its
    // fill is the same green.
    p.setBrush(BoxGreen);
    p.setPen(Qt::white);
    for (int c = 0; c <= m_filledTo; ++c) {
        const QRect box = cellRect(c).adjusted(0, 0, -1, -1);
        p.drawRect(box);
        p.drawPoints(roundedOutline(cellRect(c), CornerEllipse));
    }
}

QPolygon PotentialBarWidget::roundedOutline(const QRect& cell, int ellipse) {
    // Aliased painting of a rounded rectangle rounds the four corners differently; the pixels
    // of one corner's quarter ellipse are worked out here and mirrored into the other three.
    const double radius = (ellipse - 1) / 2.0;  // between the centres of the end pixels
    QPolygon points;
    const auto mirrored = [&](int dx, int dy) {
        points << QPoint(cell.left() + dx, cell.top() + dy)
               << QPoint(cell.right() - dx, cell.top() + dy)
               << QPoint(cell.left() + dx, cell.bottom() - dy)
               << QPoint(cell.right() - dx, cell.bottom() - dy);
    };
    for (int i = 0; i <= radius; ++i) {
        const double across = radius - i;
        const int in = qRound(radius - std::sqrt(radius * radius - across * across));
        mirrored(i, in);
        mirrored(in, i);
    }
    // The straight edges between the corners.
    const int corner = ellipse / 2;
    for (int x = cell.left() + corner; x <= cell.right() - corner; ++x) {
        points << QPoint(x, cell.top()) << QPoint(x, cell.bottom());
    }
    for (int y = cell.top() + corner; y <= cell.bottom() - corner; ++y) {
        points << QPoint(cell.left(), y) << QPoint(cell.right(), y);
    }
    return points;
}

void PotentialBarWidget::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const int x = event->position().toPoint().x() - Border;
    if (x >= 0 && x < ColumnCount * Pitch) {
        choose(x / Pitch);
    }
}

void PotentialBarWidget::keyPressEvent(QKeyEvent* event) {
    int column = m_current;
    switch (event->key()) {
        case Qt::Key_Left:
            column = m_current - 1;
            break;
        case Qt::Key_Right:
            column = m_current + 1;
            break;
        case Qt::Key_Home:
            column = 0;
            break;
        case Qt::Key_End:
            column = ColumnCount - 1;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    column = qBound(0, column, ColumnCount - 1);
    if (column != m_current) {
        choose(column);
    }
}
