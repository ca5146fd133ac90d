// PDF417 encoding speed: a 1000-byte symbol with its error correction.
// The binary sample avoids printable bytes, whose runs would become text
// segments and no longer fit 1000 bytes into one symbol.
#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QRandomGenerator>

#include "barcode/engines/grid/ModuleGridImage.h"
#include "barcode/engines/pdf417/Pdf417.h"

using namespace pdf417;

namespace {

QByteArray sample(int kind, int len)
{
    QRandomGenerator rng(7);
    QByteArray d(len, '\0');
    for (int i = 0; i < len; ++i)
        d[i] = kind == 0 ? char(128 + rng.bounded(128)) : kind == 1 ? char(32 + rng.bounded(95)) : char('0' + rng.bounded(10));
    return d;
}

void encode(benchmark::State& state, int kind, int len, int level = 2)
{
    const QByteArray data = sample(kind, len);
    pdf417param p;
    for (auto _ : state) {
        pdf417init(&p);
        p.text = data.constData();
        p.lenText = int(data.size());
        p.options = PDF417_USE_ERROR_LEVEL | PDF417_INVERT_BITMAP;
        p.errorLevel = level;
        p.aspectRatio = 1.0f;
        paintCode(&p);
        if (p.error)
            state.SkipWithError("encoding failed");
        benchmark::DoNotOptimize(p.outBits);
        pdf417free(&p);
    }
    state.counters["ec_level"] = p.errorLevel;
    state.counters["codewords"] = p.lenCodewords;
}

void BM_Pdf417_Binary1000(benchmark::State& s) { encode(s, 0, 1000); }
void BM_Pdf417_Binary1000_Level5(benchmark::State& s) { encode(s, 0, 1000, 5); }
void BM_Pdf417_Text1000(benchmark::State& s) { encode(s, 1, 1000); }
void BM_Pdf417_Digits1000(benchmark::State& s) { encode(s, 2, 1000); }
void BM_Pdf417_Text100(benchmark::State& s) { encode(s, 1, 100); }

void BM_GridPng_DataMatrix144(benchmark::State& state)
{
    std::vector<unsigned char> grid(144 * 144);
    for (size_t i = 0; i < grid.size(); ++i)
        grid[i] = (i * 2654435761u) >> 31;
    for (auto _ : state) {
        grid::Image* img = grid::ImageFromModuleGrid(grid.data(), 144, 144, 4, true);
        QByteArray png = grid::ImagePNGData(img, -1, -1, "bench", 9);
        benchmark::DoNotOptimize(png.data());
        grid::ImageFree(img);
    }
}

} // namespace

BENCHMARK(BM_Pdf417_Binary1000);
BENCHMARK(BM_Pdf417_Binary1000_Level5);
BENCHMARK(BM_Pdf417_Text1000);
BENCHMARK(BM_Pdf417_Digits1000);
BENCHMARK(BM_Pdf417_Text100);
BENCHMARK(BM_GridPng_DataMatrix144);

BENCHMARK_MAIN();
