#include "gametime/TZEMAnalogClock.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <thread>

#include "common/Extended.h"
#include "gametime/PictureBlock.h"

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

// One hand turned by one angle. Along a row the fixed-point source position grows by C and S per
// column, so the sums equal the products of the plain formula exactly. The columns whose source
// pixel lies inside the drawn area form one run per row (the position is monotone in x); it is
// solved for first, so the copy loop needs no bounds test and every pixel is written once.
// Outside the drawn area every source pixel is the background colour, so writing that colour
// directly gives the same picture as copying it.
class Rotation {
public:
    Rotation(const QImage& source, const QRect& drawn, int S, int C, QRgb back)
        : m_source(source), m_S(S), m_C(C), m_back(back), m_empty(drawn.isEmpty()) {
        const int scx = source.width() / 2;
        const int scy = source.height() / 2;
        m_stride = source.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
        m_centre = reinterpret_cast<const QRgb*>(source.constBits()) + scy * m_stride + scx;
        // floor(v / 1024) + centre lies in [a, b]  <=>  v in [(a − centre)·1024, (b + 1 −
        // centre)·1024).
        m_xLo = std::int64_t{drawn.left() - scx} * 1024;
        m_xHi = std::int64_t{drawn.right() + 1 - scx} * 1024 - 1;
        m_yLo = std::int64_t{drawn.top() - scy} * 1024;
        m_yHi = std::int64_t{drawn.bottom() + 1 - scy} * 1024 - 1;
    }

    // The columns [first, last] of row y of the square whose source pixel lies in the drawn
    // area; first > last when there are none.
    void run(int y, std::int64_t& first, std::int64_t& last) const {
        const int w = m_source.width();
        const int dy = y - m_source.height() / 2;
        const int dx0 = -(w / 2);
        first = 0;
        last = m_empty ? -1 : w - 1;
        narrow(dx0 * m_C - dy * m_S, m_C, m_xLo, m_xHi, first, last);
        narrow(dx0 * m_S + dy * m_C, m_S, m_yLo, m_yHi, first, last);
    }

    // The smallest rectangle of the square outside which the turned picture is all background,
    // widened by `margin` pixels within the square; empty when the picture is.
    QRect area(int margin) const {
        QRect area;
        for (int y = 0; y < m_source.height(); ++y) {
            std::int64_t first = 0;
            std::int64_t last = 0;
            run(y, first, last);
            if (first <= last) {
                area |= QRect(static_cast<int>(first), y, static_cast<int>(last - first) + 1, 1);
            }
        }
        return area.isEmpty()
                   ? area
                   : area.adjusted(-margin, -margin, margin, margin).intersected(m_source.rect());
    }

    // Rows [y0, y1) of the square into `target`, which holds the part `place` of it.
    void rows(QImage& target, const QRect& place, int y0, int y1) const {
        const int w = m_source.width();
        const int dx0 = -(w / 2);
        for (int y = y0; y < y1; ++y) {
            auto* row = reinterpret_cast<QRgb*>(target.scanLine(y - place.top())) - place.left();
            const int dy = y - m_source.height() / 2;
            std::int64_t first = 0;
            std::int64_t last = 0;
            run(y, first, last);
            first = std::max<std::int64_t>(first, place.left());
            last = std::min<std::int64_t>(last, place.right());
            if (first > last) {
                first = place.right() + 1;
                last = place.right();
            }
            const int begin = static_cast<int>(first);
            const int end = static_cast<int>(last) + 1;
            std::fill(row + place.left(), row + begin, m_back);
            int ax = dx0 * m_C - dy * m_S + begin * m_C;
            int ay = dx0 * m_S + dy * m_C + begin * m_S;
            for (int x = begin; x < end; ++x, ax += m_C, ay += m_S) {
                row[x] = m_centre[(ay >> 10) * m_stride + (ax >> 10)];
            }
            std::fill(row + end, row + place.right() + 1, m_back);
        }
    }

private:
    const QImage& m_source;
    int m_S;
    int m_C;
    QRgb m_back;
    bool m_empty;
    qsizetype m_stride = 0;
    const QRgb* m_centre = nullptr;
    std::int64_t m_xLo = 0;
    std::int64_t m_xHi = 0;
    std::int64_t m_yLo = 0;
    std::int64_t m_yHi = 0;
};

QImage rotate(const QImage& src, const QRect& drawn, int S, int C, QRgb back, int threads) {
    QImage target(src.size(), src.isNull() ? QImage::Format_RGB32 : src.format());
    if (target.isNull()) {
        return target;
    }
    const Rotation rotation(src, drawn, S, C, back);
    const int h = target.height();
    if (threads <= 1 || h < 2) {
        rotation.rows(target, target.rect(), 0, h);
        return target;
    }
    // Whole rows per thread; each writes only its own rows.
    const int half = h / 2;
    std::thread lower([&] { rotation.rows(target, target.rect(), half, h); });
    rotation.rows(target, target.rect(), 0, half);
    lower.join();
    return target;
}

// The 60 turns of one hand, each into its picture over the shared block.
struct HandTurns {
    const QImage& source;
    QRect drawn;
    std::array<QImage, TZEMAnalogClock::HandSteps>& pictures;
    std::array<QRect, TZEMAnalogClock::HandSteps>& places;
};

}  // namespace

TZEMAnalogClock::TZEMAnalogClock(const QImage& hourImage, const QImage& minuteImage,
                                 Storage storage, const std::atomic<bool>* stop) {
    const QImage minute = to32Bit(minuteImage);
    BackColor = minute.isNull() ? QRgb{0} : minute.pixel(0, 0);
    const QImage hour = to32Bit(hourImage);
    m_minuteSize = minute.size();
    m_hourSize = hour.size();
    MakeHandBitmaps(hour, minute, storage, stop);
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

void TZEMAnalogClock::MakeHandBitmaps(const QImage& hourImage, const QImage& minuteImage,
                                      Storage storage, const std::atomic<bool>* stop) {
    std::array<int, HandSteps> sines{};
    std::array<int, HandSteps> cosines{};
    for (int i = 0; i < HandSteps; ++i) {
        handAngle(i, sines.at(i), cosines.at(i));
    }
    const std::array<HandTurns, 2> hands{
        HandTurns{hourImage, drawnArea(hourImage, BackColor), m_hourBitmaps, m_hourPlaces},
        HandTurns{minuteImage, drawnArea(minuteImage, BackColor), m_minuteBitmaps, m_minutePlaces}};
    // Where each picture lies in its square, then one block for all of them.
    std::size_t bytes = 0;
    for (const HandTurns& hand : hands) {
        for (int i = 0; i < HandSteps; ++i) {
            QRect& place = hand.places.at(i);
            if (hand.source.isNull()) {
                place = QRect();
            } else if (storage == Storage::Whole) {
                place = hand.source.rect();
            } else {
                // The margin keeps a smoothly stretched picture the same at its edges.
                place = Rotation(hand.source, hand.drawn, sines.at(i), cosines.at(i), BackColor)
                            .area(1);
            }
            bytes += std::size_t(place.width()) * std::size_t(place.height()) * sizeof(QRgb);
        }
    }
    m_pixels = std::make_unique<PictureBlock>(bytes);
    uchar* next = m_pixels->data();
    for (const HandTurns& hand : hands) {
        for (int i = 0; i < HandSteps; ++i) {
            const QRect& place = hand.places.at(i);
            if (place.isEmpty()) {
                hand.pictures.at(i) = QImage();
                continue;
            }
            hand.pictures.at(i) =
                QImage(next, place.width(), place.height(), place.width() * qsizetype(sizeof(QRgb)),
                       hand.source.format());
            next += std::size_t(place.width()) * std::size_t(place.height()) * sizeof(QRgb);
        }
    }
    const auto turn = [&](const HandTurns& hand) {
        for (int i = 0; i < HandSteps; ++i) {
            if (stop != nullptr && stop->load(std::memory_order_relaxed)) {
                return;
            }
            const QRect& place = hand.places.at(i);
            if (!place.isEmpty()) {
                Rotation(hand.source, hand.drawn, sines.at(i), cosines.at(i), BackColor)
                    .rows(hand.pictures.at(i), place, place.top(), place.bottom() + 1);
            }
        }
    };
    // The hour hands on a second thread, the minute hands here: two cores, two halves.
    std::thread hours([&] { turn(hands[0]); });
    turn(hands[1]);
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
    return m_minuteBitmaps.at(minuteIndex());
}

const QImage& TZEMAnalogClock::GetHourBitmap() const {
    return m_hourBitmaps.at(hourIndex());
}
