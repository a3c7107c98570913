#pragma once

#include <QList>

// The value axis of a plot: from the lowest value (or 0 when none is negative) to just above the
// highest, in whole steps of 1, 2 or 5 times a power of ten, at most six of them, so that every
// label is a round integer.
class PlotScale {
public:
    PlotScale() = default;
    PlotScale(double low, double high);

    double from() const { return m_from; }
    double to() const { return m_to; }
    double step() const { return m_step; }
    // The labelled values, from() to to().
    QList<double> ticks() const;

    static constexpr int MaxSteps = 6;

private:
    double m_from = 0;
    double m_to = 1;
    double m_step = 1;
};
