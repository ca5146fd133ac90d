// Encoding speed of the linear symbologies: object creation from the typed
// value (with its check character), the validity test and the bar string.
#include "barcode/engines/linear/ZBClassicBarcodes.h"
#include "barcode/engines/linear/ZBCode128Barcode.h"
#include "barcode/engines/linear/ZBPostalBarcode.h"
#include "barcode/engines/linear/ZBUPCEANBarcode.h"

#include <benchmark/benchmark.h>

namespace {

template <class Symbol, class... Args>
void Encode(benchmark::State& state, const QString& value, Args... args)
{
    std::string bars;
    for (auto _ : state) {
        Symbol b(value, true, args...);
        const bool valid = b.isContentValid();
        b.completeBarcode(bars);
        benchmark::DoNotOptimize(valid);
        benchmark::DoNotOptimize(bars.data());
        benchmark::DoNotOptimize(b.checkDigit());
    }
}

// The same with a fresh bar string each time.
template <class Symbol, class... Args>
void Encode_Fresh(benchmark::State& state, const QString& value, Args... args)
{
    for (auto _ : state) {
        Symbol b(value, true, args...);
        const bool valid = b.isContentValid();
        std::string bars = b.completeBarcode();
        benchmark::DoNotOptimize(valid);
        benchmark::DoNotOptimize(bars.data());
        benchmark::DoNotOptimize(b.checkDigit());
    }
}

const QString kEan13 = QStringLiteral("400638133393");
const QString kCode128 = QStringLiteral("Zorv Label 2024/07 lot 0042-AB: shelf 17");    // 40 characters

void BM_EAN13(benchmark::State& s) { Encode<ZBEAN13Barcode>(s, kEan13); }
void BM_EAN13_FreshString(benchmark::State& s) { Encode_Fresh<ZBEAN13Barcode>(s, kEan13); }
void BM_Code128Auto40(benchmark::State& s) { Encode<ZBCode128Barcode>(s, kCode128, int(ZBCode128Barcode::Automatic)); }
void BM_Code128Auto40_FreshString(benchmark::State& s) { Encode_Fresh<ZBCode128Barcode>(s, kCode128, int(ZBCode128Barcode::Automatic)); }
void BM_Code128Auto40Digits(benchmark::State& s) { Encode<ZBCode128Barcode>(s, QString(40, QLatin1Char('7')), int(ZBCode128Barcode::Automatic)); }
void BM_Code39_20(benchmark::State& s) { Encode<ZBCode39Barcode>(s, QStringLiteral("ZORV-LABEL 123456789")); }
void BM_UPCA(benchmark::State& s) { Encode<ZBUPCABarcode>(s, QStringLiteral("03600029145")); }
void BM_RoyalMail(benchmark::State& s) { Encode<ZBRoyalMailBarcode>(s, QStringLiteral("SN34RD1A")); }
void BM_JapanPost(benchmark::State& s) { Encode<JapanPostBarcode>(s, QStringLiteral("1234567-12-3")); }

} // namespace

BENCHMARK(BM_EAN13);
BENCHMARK(BM_EAN13_FreshString);
BENCHMARK(BM_Code128Auto40);
BENCHMARK(BM_Code128Auto40_FreshString);
BENCHMARK(BM_Code128Auto40Digits);
BENCHMARK(BM_Code39_20);
BENCHMARK(BM_UPCA);
BENCHMARK(BM_RoyalMail);
BENCHMARK(BM_JapanPost);

BENCHMARK_MAIN();
