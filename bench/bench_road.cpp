// The generation road: preview after a keystroke (validate, encode, lay out,
// draw at screen resolution) for every linear symbology and a 500-byte QR
// Code, a 600 DPI Code 128 of 3 x 1 inch, and the peak memory of making a
// 600 DPI symbol image compared with its pixel buffer.
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/BarcodeRoad.h"
#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/SettingsOwnerRoad.h"
#include "barcode/generation/TwoDSymbols.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QStringList>
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

// ---- Heap accounting: every malloc of the process passes here ----
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void __libc_free(void*);
void* __libc_memalign(size_t, size_t);
}

namespace {
std::atomic<long long> heapNow{0};
std::atomic<long long> heapPeak{0};
std::atomic<bool> counting{false};

void Count(long long delta)
{
    if (!counting.load(std::memory_order_relaxed))
        return;
    const long long now = heapNow.fetch_add(delta) + delta;
    long long peak = heapPeak.load();
    while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
    }
}
} // namespace

extern "C" {
void* malloc(size_t n)
{
    void* p = __libc_malloc(n);
    if (p)
        Count((long long)malloc_usable_size(p));
    return p;
}
void* calloc(size_t a, size_t b)
{
    void* p = __libc_calloc(a, b);
    if (p)
        Count((long long)malloc_usable_size(p));
    return p;
}
void* realloc(void* old, size_t n)
{
    const long long before = old ? (long long)malloc_usable_size(old) : 0;
    void* p = __libc_realloc(old, n);
    if (p)
        Count((long long)malloc_usable_size(p) - before);
    else if (n == 0)
        Count(-before);
    return p;
}
void free(void* p)
{
    if (p)
        Count(-(long long)malloc_usable_size(p));
    __libc_free(p);
}
int posix_memalign(void** out, size_t align, size_t n)
{
    void* p = __libc_memalign(align, n);
    if (!p)
        return 12;  // ENOMEM
    Count((long long)malloc_usable_size(p));
    *out = p;
    return 0;
}
void* aligned_alloc(size_t align, size_t n)
{
    void* p = __libc_memalign(align, n);
    if (p)
        Count((long long)malloc_usable_size(p));
    return p;
}
}

namespace {

QGuiApplication* app()
{
    static int argc = 1;
    static char name[] = "bench_road";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* a = new QGuiApplication(argc, argv);
    return a;
}

QString Sample(const QString& type)
{
    return Find_Symbology(type)->sampleValue();
}

// The sample with its last three digits replaced by those of n % 1000.
QString Variant(const QString& sample, int n)
{
    QString v = sample;
    int k = n % 1000;
    for (qsizetype i = v.size() - 1, left = 3; i >= 0 && left > 0; --i) {
        if (v[i].isDigit()) {
            v[i] = QLatin1Char(char('0' + k % 10));
            k /= 10;
            --left;
        }
    }
    return v;
}

// The preview of one keystroke: the road regenerates and the visible part of
// the preview (a view of 900 x 300 screen pixels at 96 DPI) is painted, as
// the preview widget does.
void Keystroke(SettingsOwnerRoad& road)
{
    road.goButtonActionPerformed();
    static QImage screen(900, 300, QImage::Format_ARGB32_Premultiplied);
    screen.fill(Qt::white);
    QPainter p(&screen);
    p.setRenderHint(QPainter::Antialiasing, true);
    const double k = 96.0 / 72.0;
    if (const auto drawing = road.previewDrawing()) {
        p.scale(k, k);
        drawing->drawRect(p);
    } else if (!road.previewIsBlank()) {
        road.previewImage().draw(p, QRectF(QPointF(0, 0), road.previewImage().size() * k));
    }
    benchmark::DoNotOptimize(screen.constBits());
}

void BM_PreviewLinear(benchmark::State& state)
{
    app();
    const QString type = Symbology_At(int(state.range(0)))->name();
    SettingsOwnerRoad road;
    Set_Barcode_Type(road.settings(), type);
    // Every keystroke gives a new value: its last three digits change, among
    // the variants the symbology accepts (UPC-E refuses some).
    const QString sample = Sample(type);
    QStringList values;
    for (int k = 0; k < 1000 && values.size() < 100; ++k) {
        const QString v = Variant(sample, k);
        if (Invalid_Value_Reason(road.settings(), v).isEmpty())
            values.append(v);
    }
    if (values.isEmpty())
        values.append(sample);
    qsizetype n = 0;
    for (auto _ : state) {
        road.settings().dataText = values.at(n++ % values.size());
        Keystroke(road);
    }
    if (road.previewIsBlank())
        state.SkipWithError("no image");
    state.SetLabel(type.toStdString());
}
BENCHMARK(BM_PreviewLinear)->DenseRange(0, 18)->Unit(benchmark::kMicrosecond);

void BM_PreviewQr500(benchmark::State& state)
{
    app();
    SettingsOwnerRoad road;
    Set_Barcode_Type(road.settings(), QStringLiteral("QR Code"));
    QString value;
    for (int i = 0; value.size() < 500; ++i)
        value += QStringLiteral("Zorv label %1; ").arg(i);
    value.truncate(500);
    road.settings().dataText_2D = value;
    road.settings().qr_size = 200;
    int n = 0;
    for (auto _ : state) {
        road.settings().Type_draw_2d_flag = true;  // the user is typing
        road.settings().dataText_2D = Variant(value, n++);
        Keystroke(road);
    }
    if (road.previewIsBlank())
        state.SkipWithError("no image");
}
BENCHMARK(BM_PreviewQr500)->Unit(benchmark::kMicrosecond);

// The road alone for a Code 128 value of n characters: engine, layout and
// the vector picture of the symbol.
void BM_MakeLongCode128(benchmark::State& state)
{
    app();
    BarcodeSettings s;
    Set_Barcode_Type(s, QStringLiteral("Code 128"));
    QString value;
    for (int i = 0; value.size() < state.range(0); ++i)
        value += QStringLiteral("Zorv-%1 ").arg(i);
    value.truncate(state.range(0));
    for (auto _ : state) {
        const PtImage img = Make_Barcode_Image(s, value, s.HeaderText, s.FooterText);
        benchmark::DoNotOptimize(img.size());
    }
}
BENCHMARK(BM_MakeLongCode128)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

BarcodeSettings Code128_3x1()
{
    BarcodeSettings s;
    Set_Barcode_Type(s, QStringLiteral("Code 128"));
    s.unit = Unit_Inch;
    s.bar_height = 1.0f;
    s.TB_mar = s.LR_mar = s.val_mar = s.hdr_mar = s.ftr_mar = 0.0f;
    s.hide_value = s.hide_header = s.hide_footer = true;
    // "ZORV-0042-LABEL" has 200 modules with start, check and stop: 15 mils
    // make 3 inches.
    s.bar_width_mils = 15.0f;
    return s;
}

void BM_Code128At600Dpi(benchmark::State& state)
{
    app();
    const BarcodeSettings s = Code128_3x1();
    QSize px;
    for (auto _ : state) {
        const PtImage img = Make_Barcode_Image(s, QStringLiteral("ZORV-0042-LABEL"), {}, {});
        QImage out = img.toImage(600.0);
        px = out.size();
        benchmark::DoNotOptimize(out.constBits());
    }
    state.counters["width_px"] = px.width();
    state.counters["height_px"] = px.height();
}
BENCHMARK(BM_Code128At600Dpi)->Unit(benchmark::kMillisecond);

// Peak heap growth while a 600 DPI symbol image is made, as a multiple of its
// pixel buffer (4 bytes a pixel).
void Peak_Of(benchmark::State& state, const BarcodeSettings& s, const QString& value)
{
    app();
    double ratio = 0.0;
    for (auto _ : state) {
        heapNow = 0;
        heapPeak = 0;
        counting = true;
        long long bytes = 0;
        {
            const PtImage img = Make_Barcode_Image(s, value, s.HeaderText, s.FooterText);
            QImage out = img.toImage(600.0);
            bytes = out.sizeInBytes();
        }
        counting = false;
        ratio = double(heapPeak.load()) / double(std::max<long long>(1, bytes));
    }
    state.counters["peak_over_buffer"] = ratio;
}

void BM_PeakMemoryCode128(benchmark::State& state)
{
    Peak_Of(state, Code128_3x1(), QStringLiteral("ZORV-0042-LABEL"));
}
BENCHMARK(BM_PeakMemoryCode128)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_PeakMemoryQr(benchmark::State& state)
{
    BarcodeSettings s;
    Set_Barcode_Type(s, QStringLiteral("QR Code"));
    s.qr_size = 144;
    Peak_Of(state, s, QStringLiteral("https://zorv.example/label?id=42"));
}
BENCHMARK(BM_PeakMemoryQr)->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_PeakMemoryDataMatrix(benchmark::State& state)
{
    BarcodeSettings s;
    Set_Barcode_Type(s, QStringLiteral("DataMatrix"));
    s.dm_module = 4;
    Peak_Of(state, s, QStringLiteral("Zorv Data Matrix 0042"));
}
BENCHMARK(BM_PeakMemoryDataMatrix)->Iterations(3)->Unit(benchmark::kMillisecond);

// The largest Data Matrix the controls allow at 600 DPI, and the same at
// 2400 DPI (refused): time and peak heap of the road, in megabytes.
void BM_LargestDataMatrix(benchmark::State& state)
{
    app();
    BarcodeSettings s;
    Set_Barcode_Type(s, QStringLiteral("DataMatrix"));
    s.dm_module = kDmModuleMax;   // the control's largest
    s.USED_DPI_VALUE = int(state.range(0));
    bool made = false;
    for (auto _ : state) {
        heapNow = 0;
        heapPeak = 0;
        counting = true;
        made = !Make_Barcode_Image(s, QStringLiteral("Zorv Data Matrix 0042"), s.HeaderText, s.FooterText).isNull();
        counting = false;
    }
    state.counters["peak_MB"] = double(heapPeak.load()) / 1.0e6;
    state.SetLabel(made ? "made" : "refused");
}
BENCHMARK(BM_LargestDataMatrix)->Arg(600)->Arg(2400)->Iterations(3)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
