// Importing an Access item database, without the Access file: 160,000 items (half raw
// materials, half products needing one to seven materials each) through the in-memory reader
// into a new TAMU_Item.db. Budget: under 2 s.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <random>

#include "mdbimport/ItemDbImport.h"
#include "tests/support/MemoryAccessSource.h"

namespace {

constexpr int Items = 160000;

MemoryAccessSource makeSource() {
    const QStringList kinds{"刀剣", "兜", "胴丸", "薬", "素材"};
    const QStringList classes{"武器", "頭", "胴", "その他", "その他"};
    const QStringList jobs{"鍛冶屋", "薬師", "裁縫師", "大工", "料理人"};
    QList<QVariantList> kindRows, infos, creators, relations;
    for (int k = 0; k < kinds.size(); ++k) {
        kindRows << QVariantList{kinds[k], classes[k]};
    }
    std::mt19937 random(17);
    const int raw = Items / 2;
    const auto name = [raw](int i) {
        return i < raw ? QStringLiteral("素材%1").arg(i + 1, 6, 10, QChar(u'0'))
                       : QStringLiteral("製品%1").arg(i - raw + 1, 6, 10, QChar(u'0'));
    };
    for (int i = 0; i < Items; ++i) {
        const bool product = i >= raw;
        infos << QVariantList{name(i),
                              (i % 7 == 0) ? QVariant() : QVariant(QStringLiteral("ふりがな")),
                              QStringLiteral("壱の章"),
                              kinds[product ? i % 4 : 4],
                              i % 1000,
                              i % 1000 + 10};
        if (product) {
            creators << QVariantList{name(i),
                                     jobs[i % 5],
                                     QStringLiteral("目録"),
                                     QStringLiteral("MOKUROKU"),
                                     QStringLiteral("一"),
                                     QStringLiteral("ICHI"),
                                     1 + i % 3,
                                     QStringLiteral("壱の章")};
            const int materials = 1 + int(random() % 7);
            for (int m = 0; m < materials; ++m) {
                relations << QVariantList{name(i), name(int(random() % unsigned(i))), 1 + m};
            }
        }
    }
    return MemoryAccessSource::items(kindRows, infos, creators, relations);
}

void importItems(benchmark::State& state) {
    const MemoryAccessSource prototype = makeSource();
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("TAMU_Item.db"));
    std::int64_t rows = 0;
    for (auto _ : state) {
        MemoryAccessSource source = prototype;
        rows = 0;
        for (const ItemDbImport::TableCount& c : ItemDbImport::run(source, target)) {
            rows += c.rows;
        }
        state.PauseTiming();
        QFile::remove(target);
        state.ResumeTiming();
    }
    state.counters["rows"] = double(rows);
}
BENCHMARK(importItems)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
