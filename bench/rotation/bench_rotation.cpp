// The clock face's start-up cost: 60 rotated copies of each of the two hands, 512×512 pixels,
// and 768 and 1024 pixels a side as on a screen at 150 % and 200 %.
#include <benchmark/benchmark.h>

#include <QImage>
#include <array>

#include "gametime/TZEMAnalogClock.h"

namespace {

// A hand of the artwork's proportions (22 px wide at 512) on a picture `side` pixels a side.
QImage hand(int length, int side = 512) {
    QImage image(side, side, QImage::Format_RGB32);
    image.fill(0xFFFF0000);
    const int centre = side / 2;
    for (int y = centre - length * side / 512; y <= centre + 3 * side / 512; ++y) {
        for (int x = centre - 11 * side / 512; x <= centre + 10 * side / 512; ++x) {
            image.setPixel(x, y, 0xFF202020);
        }
    }
    return image;
}

void allHands(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const QImage hour = hand(128, side);
    const QImage minute = hand(229, side);
    for (auto _ : state) {
        TZEMAnalogClock clock(hour, minute);
        benchmark::DoNotOptimize(clock.GetHourBitmap().constBits());
    }
    state.SetLabel("120 rotations, 2 threads");
}
BENCHMARK(allHands)->Unit(benchmark::kMillisecond)->MinTime(2.0)->Arg(512)->Arg(768)->Arg(1024);
// The same, with the CPU time of both threads: on an idle two-core machine the wall time is
// about half of it.
BENCHMARK(allHands)->Unit(benchmark::kMillisecond)->MinTime(2.0)->MeasureProcessCPUTime()->Arg(512);

// As on a high-density screen: the drawn parts alone, with the memory they take.
void drawnParts(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    const QImage hour = hand(128, side);
    const QImage minute = hand(229, side);
    double bytes = 0;
    for (auto _ : state) {
        TZEMAnalogClock clock(hour, minute, TZEMAnalogClock::Storage::DrawnPart);
        benchmark::DoNotOptimize(clock.GetHourBitmap().constBits());
        bytes = 0;
        for (int i = 0; i < TZEMAnalogClock::HandSteps; ++i) {
            bytes +=
                double(clock.hourBitmap(i).sizeInBytes() + clock.minuteBitmap(i).sizeInBytes());
        }
    }
    state.counters["MiB"] = bytes / (1024.0 * 1024.0);
    state.counters["whole_MiB"] = 120.0 * side * side * 4 / (1024.0 * 1024.0);
}
BENCHMARK(drawnParts)->Unit(benchmark::kMillisecond)->MinTime(2.0)->Arg(768)->Arg(1024);

// The floor under the rotations: 120 fresh 1 MiB pictures filled with one colour, as the
// rotation writes every pixel once.
void allocationFloor(benchmark::State& state) {
    const int side = static_cast<int>(state.range(0));
    for (auto _ : state) {
        std::array<QImage, 120> images;
        for (QImage& image : images) {
            image = QImage(side, side, QImage::Format_RGB32);
            image.fill(0xFFFF0000);
        }
        benchmark::DoNotOptimize(images.front().constBits());
    }
}
BENCHMARK(allocationFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0)->Arg(512)->Arg(1024);

void oneRotation(benchmark::State& state) {
    const QImage minute = hand(229);
    int S = 0;
    int C = 0;
    TZEMAnalogClock::handAngle(7, S, C);
    for (auto _ : state) {
        QImage out = TZEMAnalogClock::RotateBitmap(minute, S, C, 0xFFFF0000);
        benchmark::DoNotOptimize(out.constBits());
    }
}
BENCHMARK(oneRotation)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
