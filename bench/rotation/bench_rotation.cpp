// The clock face's start-up cost: 60 rotated copies of each of the two 512×512 hands.
#include <benchmark/benchmark.h>

#include <QImage>
#include <array>

#include "gametime/TZEMAnalogClock.h"

namespace {

QImage hand(int length) {
    QImage image(512, 512, QImage::Format_RGB32);
    image.fill(0xFFFF0000);
    for (int y = 256 - length; y <= 259; ++y) {
        for (int x = 245; x <= 266; ++x) {
            image.setPixel(x, y, 0xFF202020);
        }
    }
    return image;
}

void allHands(benchmark::State& state) {
    const QImage hour = hand(128);
    const QImage minute = hand(229);
    for (auto _ : state) {
        TZEMAnalogClock clock(hour, minute);
        benchmark::DoNotOptimize(clock.GetHourBitmap().constBits());
    }
    state.SetLabel("120 rotations, 2 threads");
}
BENCHMARK(allHands)->Unit(benchmark::kMillisecond)->MinTime(2.0);
// The same, with the CPU time of both threads: on an idle two-core machine the wall time is
// about half of it.
BENCHMARK(allHands)->Unit(benchmark::kMillisecond)->MinTime(2.0)->MeasureProcessCPUTime();

// The floor under the rotations: 120 fresh 1 MiB pictures filled with one colour, as the
// rotation writes every pixel once.
void allocationFloor(benchmark::State& state) {
    for (auto _ : state) {
        std::array<QImage, 120> images;
        for (QImage& image : images) {
            image = QImage(512, 512, QImage::Format_RGB32);
            image.fill(0xFFFF0000);
        }
        benchmark::DoNotOptimize(images.front().constBits());
    }
}
BENCHMARK(allocationFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0);

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
