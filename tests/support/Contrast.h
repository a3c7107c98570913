#pragma once

#include <QHash>
#include <QImage>
#include <QRect>
#include <algorithm>
#include <cmath>

// Contrast of text as drawn, from a picture of it, by the WCAG formula: (L1 + 0.05) / (L2 + 0.05)
// of the relative luminances. Ordinary text needs 4.5 : 1.
namespace Contrast {

inline double luminance(QRgb colour) {
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(colour)) + 0.7152 * linear(qGreen(colour)) +
           0.0722 * linear(qBlue(colour));
}

inline double ratio(QRgb a, QRgb b) {
    const double la = luminance(a);
    const double lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// Within the area: the most frequent colour is the background, the pixel that differs from it
// most in luminance is the text; 1 where the area holds one colour only.
inline double ofText(const QImage& picture, const QRect& area) {
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    const QRect inside = area.intersected(image.rect());
    QHash<QRgb, int> counts;
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            ++counts[image.pixel(x, y)];
        }
    }
    QRgb background = 0;
    int most = 0;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    }
    double best = 1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        best = std::max(best, ratio(background, it.key()));
    }
    return best;
}

}  // namespace Contrast
