#pragma once

#include <QColor>
#include <QFrame>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>

#include "status/PlotScale.h"
#include "status/StatusLevelModel.h"

// The plot of the level table: figures over the levels 1 to 60, one line per figure and build,
// the legend below. Resting the mouse on a line names the line and the level under it.
class LevelPlotWidget : public QFrame {
    Q_OBJECT

public:
    struct Line {
        QString name;
        QColor colour;
        bool dashed = false;
        int figure = 0;
        StatusLevelModel::Build build = StatusLevelModel::Build::B;
        QList<QPointF> points;  // (level, value)
    };

    explicit LevelPlotWidget(QWidget* parent = nullptr);

    // Draws these lines, in this order, with the value axis fitted to them.
    void setLines(QList<Line> lines);
    const QList<Line>& lines() const { return m_lines; }
    const PlotScale& scale() const { return m_scale; }
    // Where the value at a level is drawn, in widget coordinates.
    QPointF pointAt(qreal level, qreal value) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    // The mouse came onto a line, or moved along it to another level.
    void hovered(int figure, StatusLevelModel::Build build, int level);
    // The mouse left the line it was on.
    void hoverLeft();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    // The plot area and, for each line, where its legend entry stands, for the current size
    // and font.
    struct Arrangement {
        QRectF area;
        QList<QPointF> legend;  // left end of the sample stroke, on the text's middle line
        qreal labels = 0;       // where the value labels end
        qreal gap = 0;          // between a label and what it labels
        qreal sample = 0;       // length of a legend's sample stroke
    };
    Arrangement arrange() const;
    QPointF map(const QRectF& area, qreal level, qreal value) const;
    // The line nearest to the point near the given level, -1 when none is close enough.
    int lineNear(const QRectF& area, const QPointF& at, int level) const;
    void setHover(int line, int level);

    QList<Line> m_lines;
    PlotScale m_scale;
    int m_hoverLine = -1;
    int m_hoverLevel = 0;
};
