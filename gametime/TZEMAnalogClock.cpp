#include "gametime/TZEMAnalogClock.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <thread>

#include "common/Extended.h"

namespace {

std::int64_t floorDiv(std::int64_t a, std::int64_t b) {
    const std::int64_t q = a / b;
    return (a % b != 0 && ((a < 0) != (b < 0))) ? q - 1 : q;
}

std::int64_t ceilDiv(std::int64_t a, std::int64_t b) {
    return -floorDiv(-a, b);
}

// The columns x (narrowed from [first, last]) for which lo <= a + x·k <= hi.
void narrow(std::int64_t a, std::int64_t k, std::int64_t lo, std::int64_t hi, std::int64_t& first,
            std::int64_t& last) {
    if (k == 0) {
        if (a < lo || a > hi) {
            last = first - 1;
        }
        return;
    }
    const std::int64_t from = k > 0 ? ceilDiv(lo - a, k) : ceilDiv(hi - a, k);
    const std::int64_t to = k > 0 ? floorDiv(hi - a, k) : floorDiv(lo - a, k);
    first = std::max(first, from);
    last = std::min(last, to);
}

// The smallest rectangle outside which every pixel has the background colour (empty if all do).
QRect drawnArea(const QImage& source, QRgb back) {
    int left = source.width();
    int right = -1;
    int top = -1;
    int bottom = -1;
    for (int y = 0; y < source.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        const auto* end = row + source.width();
        const auto* first = std::find_if(row, end, [back](QRgb p) { return p != back; });
        if (first == end) {
            continue;
        }
        const auto last =
            std::find_if(std::make_reverse_iterator(end), std::make_reverse_iterator(first),
                         [back](QRgb p) { return p != back; });
        left = std::min(left, static_cast<int>(first - row));
        right = std::max(right, static_cast<int>(last.base() - row) - 1);
        if (top < 0) {
            top = y;
        }
        bottom = y;
    }
    return top < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Rows [y0, y1) of the rotation. Along a row the fixed-point source position grows by C and S
// per column, so the sums equal the products of the plain formula exactly. The columns whose
// source pixel lies inside the drawn area form one run per row (the position is monotone in x);
// it is solved for first, so the copy loop needs no bounds test and every pixel is written
// once. Outside the drawn area every source pixel is the background colour, so writing that
// colour directly gives the same picture as copying it.
void rotateRows(const QImage& source, const QRect& drawn, QImage& target, int S, int C, QRgb back,
                int y0, int y1) {
    const int w = target.width();
    const int h = target.height();
    const int scx = source.width() / 2;
    const int scy = source.height() / 2;
    const qsizetype stride = source.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
    const QRgb* centre = reinterpret_cast<const QRgb*>(source.constBits()) + scy * stride + scx;
    // floor(v / 1024) + centre lies in [a, b]  <=>  v in [(a − centre)·1024, (b + 1 −
    // centre)·1024).
    const bool empty = drawn.isEmpty();
    const std::int64_t xLo = std::int64_t{drawn.left() - scx} * 1024;
    const std::int64_t xHi = std::int64_t{drawn.right() + 1 - scx} * 1024 - 1;
    const std::int64_t yLo = std::int64_t{drawn.top() - scy} * 1024;
    const std::int64_t yHi = std::int64_t{drawn.bottom() + 1 - scy} * 1024 - 1;
    for (int y = y0; y < y1; ++y) {
        auto* row = reinterpret_cast<QRgb*>(target.scanLine(y));
        const int dy = y - h / 2;
        const int dx0 = -(w / 2);
        const int ax0 = dx0 * C - dy * S;  // dx·C − dy·S at x = 0
        const int ay0 = dx0 * S + dy * C;  // dx·S + dy·C at x = 0
        std::int64_t first = 0;
        std::int64_t last = empty ? -1 : w - 1;
        narrow(ax0, C, xLo, xHi, first, last);
        narrow(ay0, S, yLo, yHi, first, last);
        if (first > last) {
            first = w;
            last = w - 1;
        }
        const int begin = static_cast<int>(first);
        const int end = static_cast<int>(last) + 1;
        std::fill(row, row + begin, back);
        int ax = ax0 + begin * C;
        int ay = ay0 + begin * S;
        for (int x = begin; x < end; ++x, ax += C, ay += S) {
            row[x] = centre[(ay >> 10) * stride + (ax >> 10)];
        }
        std::fill(row + end, row + w, back);
    }
}

QImage rotate(const QImage& src, const QRect& drawn, int S, int C, QRgb back, int threads) {
    QImage target(src.size(), src.isNull() ? QImage::Format_RGB32 : src.format());
    if (target.isNull()) {
        return target;
    }
    const int h = target.height();
    if (threads <= 1 || h < 2) {
        rotateRows(src, drawn, target, S, C, back, 0, h);
        return target;
    }
    // Whole rows per thread; each writes only its own rows.
    const int half = h / 2;
    std::thread lower([&] { rotateRows(src, drawn, target, S, C, back, half, h); });
    rotateRows(src, drawn, target, S, C, back, 0, half);
    lower.join();
    return target;
}

}  // namespace

TZEMAnalogClock::TZEMAnalogClock(const QImage& hourImage, const QImage& minuteImage) {
    const QImage minute = to32Bit(minuteImage);
    BackColor = minute.isNull() ? QRgb{0} : minute.pixel(0, 0);
    MakeHandBitmaps(to32Bit(hourImage), minute);
}

TZEMAnalogClock::~TZEMAnalogClock() = default;

QImage TZEMAnalogClock::to32Bit(const QImage& image) {
    switch (image.format()) {
        case QImage::Format_RGB32:
        case QImage::Format_ARGB32:
            return image;
        default:
            return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                 : QImage::Format_RGB32);
    }
}

void TZEMAnalogClock::handAngle(int index, int& S, int& C) {
    const Extended theta =
        static_cast<Extended>(360 - 6 * index) * std::numbers::pi_v<Extended> / 180.0L;
    S = static_cast<int>(std::sin(theta) * 1024.0L);
    C = static_cast<int>(std::cos(theta) * 1024.0L);
}

QImage TZEMAnalogClock::RotateBitmap(const QImage& source, int S, int C, QRgb backColor,
                                     int threads) {
    const QImage src = to32Bit(source);
    return rotate(src, drawnArea(src, backColor), S, C, backColor, threads);
}

void TZEMAnalogClock::MakeHandBitmaps(const QImage& hourImage, const QImage& minuteImage) {
    std::array<int, HandSteps> sines{};
    std::array<int, HandSteps> cosines{};
    for (int i = 0; i < HandSteps; ++i) {
        handAngle(i, sines.at(i), cosines.at(i));
    }
    const QRect hourDrawn = drawnArea(hourImage, BackColor);
    const QRect minuteDrawn = drawnArea(minuteImage, BackColor);
    // The hour hands on a second thread, the minute hands here: two cores, two halves.
    std::thread hours([&] {
        for (int i = 0; i < HandSteps; ++i) {
            m_hourBitmaps.at(i) =
                rotate(hourImage, hourDrawn, sines.at(i), cosines.at(i), BackColor, 1);
        }
    });
    for (int i = 0; i < HandSteps; ++i) {
        m_minuteBitmaps.at(i) =
            rotate(minuteImage, minuteDrawn, sines.at(i), cosines.at(i), BackColor, 1);
    }
    hours.join();
}

void TZEMAnalogClock::SetClockTime(TDateTime t) {
    const std::int64_t ms = DateTime::msecsOfDay(t);
    Hour = static_cast<std::uint16_t>(ms / 3'600'000);
    Min = static_cast<std::uint16_t>(ms / 60'000 % 60);
    Sec = static_cast<std::uint16_t>(ms / 1000 % 60);
    MSec = static_cast<std::uint16_t>(ms % 1000);
}

const QImage& TZEMAnalogClock::GetMinuteBitmap() const {
    return m_minuteBitmaps.at(Min);
}

const QImage& TZEMAnalogClock::GetHourBitmap() const {
    return m_hourBitmaps.at(static_cast<std::size_t>(Min / 12 + (Hour % 12) * 5));
}
