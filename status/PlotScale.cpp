#include "status/PlotScale.h"

#include <algorithm>
#include <cmath>

PlotScale::PlotScale(double low, double high) {
    if (!std::isfinite(low) || !std::isfinite(high)) {
        return;
    }
    low = std::min(low, 0.0);
    high = std::max(high, low + 1);
    // Steps are whole numbers: the figures are integers and so are the labels.
    const double smallest =
        std::max(1.0, std::pow(10.0, std::floor(std::log10((high - low) / 10))));
    for (double magnitude = smallest;; magnitude *= 10) {
        for (double factor : {1.0, 2.0, 5.0}) {
            const double step = factor * magnitude;
            const double from = std::floor(low / step) * step;
            const double to = std::ceil(high / step) * step;
            if ((to - from) / step <= MaxSteps + 0.5) {
                m_from = from;
                m_to = to;
                m_step = step;
                return;
            }
        }
    }
}

QList<double> PlotScale::ticks() const {
    QList<double> values;
    const auto steps = std::lround((m_to - m_from) / m_step);
    for (long i = 0; i <= steps; ++i) {
        values.append(m_from + static_cast<double>(i) * m_step);
    }
    return values;
}
