#include "status/LevelPlotWidget.h"

#include <QFontMetricsF>
#include <QLineF>
#include <QMouseEvent>
#include <QPainter>
#include <QPen>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace {

constexpr int Levels = StatusLevelTable::Levels;
constexpr int LevelStep = 10;  // a labelled level every ten
constexpr qreal LineWidth = 2;
constexpr qreal HoverReach = 6;  // pixels from a line that still count as on it

QString label(double value) {
    return QString::number(std::llround(value));
}

QPen linePen(const LevelPlotWidget::Line& line) {
    QPen pen(line.colour, LineWidth);
    pen.setStyle(line.dashed ? Qt::DashLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

qreal distanceToSegment(const QPointF& p, const QPointF& a, const QPointF& b) {
    const QPointF ab = b - a;
    const qreal length2 = QPointF::dotProduct(ab, ab);
    const qreal t =
        length2 > 0 ? std::clamp(QPointF::dotProduct(p - a, ab) / length2, 0.0, 1.0) : 0.0;
    return QLineF(p, a + t * ab).length();
}

// Opaque rather than translucent: solid lines paint without blending.
QColor mix(const QColor& from, const QColor& to, float share) {
    return QColor::fromRgbF(from.redF() + (to.redF() - from.redF()) * share,
                            from.greenF() + (to.greenF() - from.greenF()) * share,
                            from.blueF() + (to.blueF() - from.blueF()) * share);
}

// A grid line, one pixel wide, on whole pixels, so that it stays sharp.
qreal crisp(qreal coordinate) {
    return std::round(coordinate) + 0.5;
}

}  // namespace

LevelPlotWidget::LevelPlotWidget(QWidget* parent) : QFrame(parent) {
    setFrameShape(QFrame::StyledPanel);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize LevelPlotWidget::sizeHint() const {
    return QSize(520, 360);
}

QSize LevelPlotWidget::minimumSizeHint() const {
    return QSize(240, 160);
}

void LevelPlotWidget::setLines(QList<Line> lines) {
    m_lines = std::move(lines);
    double low = std::numeric_limits<double>::max();
    double high = std::numeric_limits<double>::lowest();
    for (const Line& line : std::as_const(m_lines)) {
        for (const QPointF& p : line.points) {
            low = std::min(low, p.y());
            high = std::max(high, p.y());
        }
    }
    m_scale = low <= high ? PlotScale(low, high) : PlotScale();
    // The value shown for the line under the mouse is no longer current, and the indices may
    // name other lines now; the next mouse move finds its line again.
    setHover(-1, 0);
    update();
}

LevelPlotWidget::Arrangement LevelPlotWidget::arrange() const {
    const QFontMetricsF fm(font());
    const qreal h = fm.height();
    const qreal pad = std::round(h * 0.6);
    Arrangement a;
    a.gap = std::round(h / 3);
    a.sample = std::round(h * 2);

    // The legend: entries side by side in centred rows, as many rows as the width needs.
    const QRectF inside = contentsRect();
    const qreal room = inside.width() - 2 * pad;
    const qreal rowHeight = h + a.gap;
    QList<qreal> entryWidths;
    QList<int> rowOf;
    QList<qreal> rowWidths;
    for (const Line& line : m_lines) {
        const qreal entry = a.sample + a.gap + fm.horizontalAdvance(line.name);
        if (rowWidths.isEmpty() || rowWidths.last() + h + entry > room) {
            rowWidths.append(entry);
        } else {
            rowWidths.last() += h + entry;
        }
        entryWidths.append(entry);
        rowOf.append(static_cast<int>(rowWidths.size()) - 1);
    }
    const qreal legendTop =
        inside.bottom() + 1 - pad - static_cast<qreal>(rowWidths.size()) * rowHeight;
    qreal x = 0;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        if (i == 0 || rowOf[i] != rowOf[i - 1]) {
            x = inside.left() + pad + std::max(0.0, (room - rowWidths[rowOf[i]]) / 2);
        }
        a.legend.append(QPointF(x, legendTop + (rowOf[i] + 0.5) * rowHeight));
        x += entryWidths[i] + h;
    }

    qreal widest = 0;
    for (double value : m_scale.ticks()) {
        widest = std::max(widest, fm.horizontalAdvance(label(value)));
    }
    a.labels = inside.left() + pad + widest;
    const qreal left = a.labels + a.gap;
    const qreal right = inside.right() + 1 - pad - fm.horizontalAdvance(label(Levels)) / 2;
    const qreal top = inside.top() + pad + h / 2;
    // Below the area: the level labels, the axis title, then the legend.
    const qreal bottom = legendTop - (rowWidths.isEmpty() ? 0 : 2 * a.gap) - 2 * h - 3 * a.gap;
    a.area = QRectF(left, top, std::max(1.0, right - left), std::max(1.0, bottom - top));
    return a;
}

QPointF LevelPlotWidget::map(const QRectF& area, qreal level, qreal value) const {
    return QPointF(
        area.left() + (level - 1) / (Levels - 1) * area.width(),
        area.bottom() - (value - m_scale.from()) / (m_scale.to() - m_scale.from()) * area.height());
}

QPointF LevelPlotWidget::pointAt(qreal level, qreal value) const {
    return map(arrange().area, level, value);
}

void LevelPlotWidget::paintEvent(QPaintEvent*) {
    const QColor paper = palette().color(QPalette::Base);
    const QColor ink = palette().color(QPalette::Text);
    QPainter p(this);
    p.fillRect(rect(), paper);
    drawFrame(&p);
    p.setPen(ink);
    const Arrangement a = arrange();
    const QRectF& area = a.area;
    const QFontMetricsF fm(font());
    const qreal h = fm.height();

    QList<QLineF> grid;
    for (double value : m_scale.ticks()) {
        const qreal y = crisp(map(area, 1, value).y());
        grid << QLineF(area.left(), y, area.right(), y);
        p.drawText(QRectF(0, y - h, a.labels, 2 * h), Qt::AlignRight | Qt::AlignVCenter,
                   label(value));
    }
    for (int level = LevelStep; level <= Levels; level += LevelStep) {
        const qreal x = crisp(map(area, level, 0).x());
        grid << QLineF(x, area.top(), x, area.bottom());
        p.drawText(QRectF(x - 2 * h, area.bottom() + a.gap, 4 * h, h),
                   Qt::AlignHCenter | Qt::AlignTop, label(level));
    }
    p.setPen(QPen(mix(paper, ink, 0.12f), 1));
    p.drawLines(grid);
    const QPointF origin(crisp(area.left()), crisp(area.bottom()));
    p.setPen(QPen(mix(paper, ink, 0.45f), 1));
    p.drawLines({QLineF(origin, QPointF(origin.x(), area.top())),
                 QLineF(origin, QPointF(area.right(), origin.y()))});
    p.setPen(ink);
    p.drawText(QRectF(area.left(), area.bottom() + 2 * a.gap + h, area.width(), h),
               Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("レベル"));

    p.setRenderHint(QPainter::Antialiasing);
    for (const Line& line : std::as_const(m_lines)) {
        QPolygonF polyline;
        polyline.reserve(line.points.size());
        for (const QPointF& point : line.points) {
            polyline << map(area, point.x(), point.y());
        }
        p.setPen(linePen(line));
        p.drawPolyline(polyline);
    }
    const qreal middle = (fm.ascent() - fm.descent()) / 2;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QPointF at = a.legend[i];
        p.setPen(linePen(m_lines[i]));
        p.drawLine(at, at + QPointF(a.sample, 0));
        p.setPen(ink);
        p.drawText(at + QPointF(a.sample + a.gap, middle), m_lines[i].name);
    }
}

int LevelPlotWidget::lineNear(const QRectF& area, const QPointF& at, int level) const {
    int nearest = -1;
    qreal nearestDistance = HoverReach;
    for (qsizetype i = 0; i < m_lines.size(); ++i) {
        const QList<QPointF>& points = m_lines[i].points;
        for (qsizetype k = 0; k + 1 < points.size(); ++k) {
            // The two stretches of the line that meet at the level.
            if (points[k].x() < level - 1 || points[k + 1].x() > level + 1) {
                continue;
            }
            const qreal distance =
                distanceToSegment(at, map(area, points[k].x(), points[k].y()),
                                  map(area, points[k + 1].x(), points[k + 1].y()));
            if (distance <= nearestDistance) {
                nearest = static_cast<int>(i);
                nearestDistance = distance;
            }
        }
    }
    return nearest;
}

void LevelPlotWidget::mouseMoveEvent(QMouseEvent* event) {
    const QRectF area = arrange().area;
    const QPointF at = event->position();
    const qreal along = (at.x() - area.left()) / area.width();
    const int level = std::clamp(qRound(1 + along * (Levels - 1)), 1, Levels);
    const bool inside =
        area.adjusted(-HoverReach, -HoverReach, HoverReach, HoverReach).contains(at);
    setHover(inside ? lineNear(area, at, level) : -1, level);
    QWidget::mouseMoveEvent(event);
}

void LevelPlotWidget::leaveEvent(QEvent* event) {
    setHover(-1, 0);
    QWidget::leaveEvent(event);
}

void LevelPlotWidget::setHover(int line, int level) {
    if (line == m_hoverLine && (line < 0 || level == m_hoverLevel)) {
        return;
    }
    const bool wasOnLine = m_hoverLine >= 0;
    m_hoverLine = line;
    m_hoverLevel = level;
    if (line >= 0) {
        Q_EMIT hovered(m_lines[line].figure, m_lines[line].build, level);
    } else if (wasOnLine) {
        Q_EMIT hoverLeft();
    }
}
