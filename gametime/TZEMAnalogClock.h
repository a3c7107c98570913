#pragma once

#include <QImage>
#include <array>
#include <cstdint>

#include "common/TDateTime.h"

// The two hands of the analog game clock, pre-rotated once into 60 pictures each (one per 6
// degrees), so that showing a time of day only picks a picture. Entry i is the hand turned
// clockwise by 6·i degrees; the hour hand steps once every 12 minutes.
//
// Rotation is nearest-neighbour inverse mapping in fixed point with 10 fraction bits: for each
// target pixel the source pixel is ((dx·C − dy·S) >> 10, (dx·S + dy·C) >> 10) about the centres,
// shifted arithmetically (floor), S and C being sin and cos of (360 − 6i)° times 1024, truncated.
// Pixels outside the source keep BackColor, the colour of the minute picture's top-left pixel.
class TZEMAnalogClock {
public:
    static constexpr int HandSteps = 60;

    TZEMAnalogClock(const QImage& hourImage, const QImage& minuteImage);
    ~TZEMAnalogClock();
    TZEMAnalogClock(const TZEMAnalogClock&) = delete;
    TZEMAnalogClock& operator=(const TZEMAnalogClock&) = delete;

    // Keeps the time of day of t; the date part is ignored.
    void SetClockTime(TDateTime t);
    const QImage& GetMinuteBitmap() const;
    const QImage& GetHourBitmap() const;

    const QImage& minuteBitmap(int index) const { return m_minuteBitmaps.at(index); }
    const QImage& hourBitmap(int index) const { return m_hourBitmaps.at(index); }

    QRgb BackColor = 0;
    std::uint16_t Hour = 0;
    std::uint16_t Min = 0;
    std::uint16_t Sec = 0;
    std::uint16_t MSec = 0;

    // The picture turned clockwise about its centre; a picture of the source's size and 32-bit
    // format (other formats are converted first). Rows are spread over `threads` threads; the
    // result does not depend on it.
    static QImage RotateBitmap(const QImage& source, int S, int C, QRgb backColor, int threads = 1);
    // S and C of entry i (sin and cos of (360 − 6i)° times 1024, truncated toward zero).
    static void handAngle(int index, int& S, int& C);
    // A picture in 32 bits per pixel, keeping its alpha if it has one.
    static QImage to32Bit(const QImage& image);

private:
    void MakeHandBitmaps(const QImage& hourImage, const QImage& minuteImage);

    std::array<QImage, HandSteps> m_hourBitmaps;
    std::array<QImage, HandSteps> m_minuteBitmaps;
};
