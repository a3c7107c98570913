#pragma once

#include <QImage>
#include <QRect>
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>

#include "common/TDateTime.h"

class PictureBlock;

// The two hands of the analog game clock, pre-rotated once into 60 pictures each (one per 6
// degrees), so that showing a time of day only picks a picture. Entry i is the hand turned
// clockwise by 6·i degrees; the hour hand steps once every 12 minutes.
//
// Rotation is nearest-neighbour inverse mapping in fixed point with 10 fraction bits: for each
// target pixel the source pixel is ((dx·C − dy·S) >> 10, (dx·S + dy·C) >> 10) about the centres,
// shifted arithmetically (floor), S and C being sin and cos of (360 − 6i)° times 1024, truncated.
// Pixels outside the source keep BackColor, the colour of the minute picture's top-left pixel.
//
// The 120 pictures share one block of memory. Stored Whole, each is the hand's square; stored
// as DrawnPart (for high-density screens, where a square takes four times the memory and more),
// each keeps only the rectangle of the square outside which every pixel is BackColor, with a
// margin of one pixel, and its place says where it lies in the square.
class TZEMAnalogClock {
public:
    static constexpr int HandSteps = 60;
    enum class Storage { Whole, DrawnPart };

    // With `stop`, the turning ends early once it is set (the face is then incomplete, only to
    // be thrown away).
    TZEMAnalogClock(const QImage& hourImage, const QImage& minuteImage,
                    Storage storage = Storage::Whole, const std::atomic<bool>* stop = nullptr);
    ~TZEMAnalogClock();
    TZEMAnalogClock(const TZEMAnalogClock&) = delete;
    TZEMAnalogClock& operator=(const TZEMAnalogClock&) = delete;

    // Keeps the time of day of t; the date part is ignored.
    void SetClockTime(TDateTime t);
    const QImage& GetMinuteBitmap() const;
    const QImage& GetHourBitmap() const;

    const QImage& minuteBitmap(int index) const { return m_minuteBitmaps.at(index); }
    const QImage& hourBitmap(int index) const { return m_hourBitmaps.at(index); }
    // Where the pictures of the getters lie in the hand's square.
    QRect minutePlace() const { return m_minutePlaces.at(minuteIndex()); }
    QRect hourPlace() const { return m_hourPlaces.at(hourIndex()); }
    QRect minutePlace(int index) const { return m_minutePlaces.at(index); }
    QRect hourPlace(int index) const { return m_hourPlaces.at(index); }
    // The squares the places lie in: the sizes of the pictures given.
    QSize minuteSize() const { return m_minuteSize; }
    QSize hourSize() const { return m_hourSize; }

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
    void MakeHandBitmaps(const QImage& hourImage, const QImage& minuteImage, Storage storage,
                         const std::atomic<bool>* stop);
    std::size_t minuteIndex() const { return Min; }
    std::size_t hourIndex() const { return static_cast<std::size_t>(Min / 12 + (Hour % 12) * 5); }

    // Declared before the pictures, so that it is freed after them.
    std::unique_ptr<PictureBlock> m_pixels;
    std::array<QImage, HandSteps> m_hourBitmaps;
    std::array<QImage, HandSteps> m_minuteBitmaps;
    std::array<QRect, HandSteps> m_hourPlaces;
    std::array<QRect, HandSteps> m_minutePlaces;
    QSize m_minuteSize;
    QSize m_hourSize;
};
