// Archiving and reading back a canvas of 1000 mixed items: the whole-canvas
// undo snapshot that every change takes, and its restore.
#include "core/model/LMNBarcode.h"
#include "core/model/LMNGraphicArchive.h"
#include "core/model/LMNImage.h"
#include "core/model/LMNLine.h"
#include "core/model/LMNSignature.h"
#include "core/model/LMNText.h"
#include "core/model/Shape_Control.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPicture>

#include <benchmark/benchmark.h>

namespace {

void Ensure_App()
{
    static int argc = 1;
    static char name[] = "bench_archive";
    static char* argv[] = {name, nullptr};
    if (!QGuiApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        new QGuiApplication(argc, argv);
    }
}

// 1000 items, the six kinds in turn; pictures carry a 64 x 64 loaded and
// displayed picture, barcodes a vector barcode picture.
std::vector<std::unique_ptr<LMNGraphic>> Mixed_Canvas(int n = 1000)
{
    QImage pixels(64, 64, QImage::Format_ARGB32_Premultiplied);
    pixels.fill(Qt::darkCyan);
    QPicture bars;
    {
        QPainter p(&bars);
        for (int x = 0; x < 100; x += 3)
            p.fillRect(QRectF(x, 0, 1.5, 40), Qt::black);
    }
    std::vector<std::unique_ptr<LMNGraphic>> items;
    for (int i = 0; i < n; ++i) {
        const QRectF r(i % 200, i % 150, 40 + i % 30, 20 + i % 10);
        switch (i % 6) {
        case 0: {
            auto t = std::make_unique<LMNText>();
            t->Set_text_value(QStringLiteral("Text item %1").arg(i));
            t->Text_contents();
            t->_bounds = r;
            items.push_back(std::move(t));
            break;
        }
        case 1: {
            auto l = std::make_unique<LMNLine>();
            l->setBeginPoint(r.topLeft());
            l->setEndPoint(r.bottomRight());
            items.push_back(std::move(l));
            break;
        }
        case 2: {
            auto s = std::make_unique<Shape_Control>();
            s->_shape_type = QStringLiteral("S");
            s->_bounds = r;
            items.push_back(std::move(s));
            break;
        }
        case 3: {
            auto p = std::make_unique<LMNImage>();
            p->_bounds = r;
            p->_contents = PtImage(pixels);
            p->_contents_with_settings = PtImage(pixels);
            items.push_back(std::move(p));
            break;
        }
        case 4: {
            auto b = std::make_unique<LMNBarcode>();
            b->_barcode_image = PtImage(bars, QSizeF(100, 40));
            b->_bounds = QRectF(r.topLeft(), QSizeF(100, 40));
            items.push_back(std::move(b));
            break;
        }
        default: {
            auto s = std::make_unique<LMNSignature>();
            s->_bounds = r;
            items.push_back(std::move(s));
            break;
        }
        }
    }
    return items;
}

QList<LMNGraphic*> Pointers(const std::vector<std::unique_ptr<LMNGraphic>>& items)
{
    QList<LMNGraphic*> out;
    for (const auto& i : items)
        out << i.get();
    return out;
}

void BM_ArchiveAndRestore1000(benchmark::State& state)
{
    Ensure_App();
    const auto items = Mixed_Canvas();
    const QList<LMNGraphic*> ptrs = Pointers(items);
    for (auto _ : state) {
        const QList<QByteArray> snapshot = LMNGraphic::propertiesWithGraphics(ptrs);
        std::vector<std::unique_ptr<LMNGraphic>> back;
        back.reserve(size_t(snapshot.size()));
        for (const QByteArray& a : snapshot)
            back.push_back(LMNGraphic::initWithCoder(a));
        benchmark::DoNotOptimize(back.data());
    }
}
BENCHMARK(BM_ArchiveAndRestore1000)->Unit(benchmark::kMillisecond);

void BM_Archive1000(benchmark::State& state)
{
    Ensure_App();
    const auto items = Mixed_Canvas();
    const QList<LMNGraphic*> ptrs = Pointers(items);
    for (auto _ : state)
        benchmark::DoNotOptimize(LMNGraphic::propertiesWithGraphics(ptrs));
}
BENCHMARK(BM_Archive1000)->Unit(benchmark::kMillisecond);

void BM_PasteboardRoundTrip1000(benchmark::State& state)
{
    Ensure_App();
    const auto items = Mixed_Canvas();
    const QList<LMNGraphic*> ptrs = Pointers(items);
    for (auto _ : state) {
        const QByteArray data = LMNGraphic::pasteboardDataWithGraphics(ptrs);
        benchmark::DoNotOptimize(LMNGraphic::graphicsWithPasteboardData(data));
    }
}
BENCHMARK(BM_PasteboardRoundTrip1000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
