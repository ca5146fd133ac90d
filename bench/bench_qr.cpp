// QR Code encoding: a full version-40-L symbol and a typical 150-byte symbol
// at level M, mask choice and error correction included.
#include "barcode/engines/qr/QR_Encode.h"
#include "barcode/engines/qr/QREncoder.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

std::string Bytes(size_t n)
{
    std::string s(n, ' ');
    for (size_t i = 0; i < n; ++i)
        s[i] = char(0x20 + (i * 7919 + 13) % 95);  // printable ASCII, mixed classes
    return s;
}

void BM_QR_Version40L_2953Bytes(benchmark::State& state)
{
    const std::string data = Bytes(2953);
    auto encoder = std::make_unique<CQR_Encode>();
    for (auto _ : state) {
        const bool ok = encoder->EncodeData(0, 0, true, -1, data.data(), int64_t(data.size()));
        benchmark::DoNotOptimize(ok);
        if (!ok || encoder->m_nVersion != 40)
            state.SkipWithError("not a version 40 symbol");
    }
}
BENCHMARK(BM_QR_Version40L_2953Bytes)->Unit(benchmark::kMillisecond);

void BM_QR_150Bytes_LevelM(benchmark::State& state)
{
    const std::string data = Bytes(150);
    auto encoder = std::make_unique<CQR_Encode>();
    for (auto _ : state) {
        const bool ok = encoder->EncodeData(1, 0, true, -1, data.data(), int64_t(data.size()));
        benchmark::DoNotOptimize(ok);
        if (!ok)
            state.SkipWithError("encoding failed");
    }
}
BENCHMARK(BM_QR_150Bytes_LevelM)->Unit(benchmark::kMicrosecond);

// The same through the facade: a fresh encoder and a grid copy every time.
void BM_QR_150Bytes_LevelM_Grid(benchmark::State& state)
{
    const QByteArray data = QByteArray::fromStdString(Bytes(150));
    for (auto _ : state) {
        auto grid = QREncoder::encodeBytesWithECLevel(1, 0, data);
        benchmark::DoNotOptimize(grid.get());
    }
}
BENCHMARK(BM_QR_150Bytes_LevelM_Grid)->Unit(benchmark::kMicrosecond);

void BM_QR_Version40L_2953Bytes_Grid(benchmark::State& state)
{
    const QByteArray data = QByteArray::fromStdString(Bytes(2953));
    for (auto _ : state) {
        auto grid = QREncoder::encodeBytesWithECLevel(0, 0, data);
        benchmark::DoNotOptimize(grid.get());
    }
}
BENCHMARK(BM_QR_Version40L_2953Bytes_Grid)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
