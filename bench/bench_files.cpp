// Saving and opening a design of 500 mixed items: texts, lines, shapes,
// pictures (from eight picture files), signatures and barcodes (half linear
// Code 128 symbols, whose vector pictures are drawn again from their settings
// when the file is read, half 2D symbols of 500 x 500 pixels kept as pixels).
#include "barcode/generation/BarcodeRoad.h"
#include "core/model/LMNBarcode.h"
#include "core/model/LMNImage.h"
#include "core/model/LMNLine.h"
#include "core/model/LMNSignature.h"
#include "core/model/LMNText.h"
#include "core/model/Shape_Control.h"
#include "mainwindow/files/DesignFile.h"

#include <QApplication>
#include <QFileInfo>
#include <QPainter>
#include <QPicture>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

void Ensure_App()
{
    static int argc = 1;
    static char name[] = "bench_files";
    static char* argv[] = {name, nullptr};
    if (!QApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        new QApplication(argc, argv);
    }
}

// The linear barcodes are Code 128 symbols drawn by the one barcode road.
PtImage Linear_Barcode(const LMNGraphic& item, const QString& value)
{
    BarcodeSettings s;
    Set_Barcode_Type(s, QStringLiteral("Code 128"));
    return Make_Barcode_Image(s, value, item.header_val, item.footer_val);
}

struct Fixture {
    QTemporaryDir dir;
    Design_File_Content design;
    QString path;

    Fixture()
    {
        QStringList pictures;
        for (int k = 0; k < 8; ++k) {
            QImage img(320, 240, QImage::Format_RGB32);
            img.fill(QColor::fromHsv(k * 40, 160, 220));
            QPainter p(&img);
            p.drawEllipse(20 + k * 10, 20, 200, 160);
            p.end();
            const QString f = dir.filePath(QStringLiteral("picture%1.png").arg(k));
            img.save(f);
            pictures << f;
        }
        QImage qr(500, 500, QImage::Format_ARGB32);
        qr.fill(Qt::white);
        {
            QPainter p(&qr);
            for (int y = 0; y < 25; ++y)
                for (int x = 0; x < 25; ++x)
                    if ((x * 7 + y * 13) % 3 == 0)
                        p.fillRect(x * 20, y * 20, 20, 20, Qt::black);
        }
        design.card.Card_Size = QSizeF(242, 153);
        design.startOption = QStringLiteral("W");
        for (int i = 0; i < 500; ++i) {
            const QRectF r(i % 200, i % 150, 40 + i % 30, 20 + i % 10);
            LMNGraphicPtr g;
            switch (i % 6) {
            case 0: {
                auto t = std::make_shared<LMNText>();
                t->Text_Value = QStringLiteral("Text item %1").arg(i);
                g = t;
                break;
            }
            case 1: {
                auto l = std::make_shared<LMNLine>();
                l->setBeginPoint(r.topLeft());
                l->setEndPoint(r.bottomRight());
                g = l;
                break;
            }
            case 2: {
                auto s = std::make_shared<Shape_Control>();
                s->_shape_type = QStringLiteral("RR");
                g = s;
                break;
            }
            case 3: {
                auto m = std::make_shared<LMNImage>();
                m->setFilePath(pictures.at(i % pictures.size()));
                g = m;
                break;
            }
            case 4: {
                auto b = std::make_shared<LMNBarcode>();
                if (i % 12 == 4) {
                    b->linear_font_val = QStringLiteral("ZL%1").arg(100000 + i);
                    b->Set_Barcode_image(Linear_Barcode(*b, b->linear_font_val));
                } else
                    b->Set_Barcode_image(PtImage(qr, QSizeF(60, 60)));
                g = b;
                break;
            }
            default: {
                auto s = std::make_shared<LMNSignature>();
                s->_file_path = pictures.at(0);
                g = s;
                break;
            }
            }
            if (g->kind() != LMNKind::Line && g->kind() != LMNKind::Barcode)
                g->_bounds = r;
            design.items << g;
        }
        path = dir.filePath(QStringLiteral("bench.dbs"));
        Write_Design_Elements(path, Design_File_Elements(design, false));
    }
};

Fixture& Shared()
{
    Ensure_App();
    static Fixture f;
    return f;
}

void BM_SaveDesign500(benchmark::State& state)
{
    Fixture& f = Shared();
    const QString out = f.dir.filePath(QStringLiteral("saved.dbs"));
    for (auto _ : state) {
        const bool ok = Write_Design_Elements(out, Design_File_Elements(f.design, false));
        state.counters["bytes"] = double(QFileInfo(out).size());
        benchmark::DoNotOptimize(ok);
        if (!ok)
            state.SkipWithError("save failed");
    }
}
BENCHMARK(BM_SaveDesign500)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_OpenDesign500(benchmark::State& state)
{
    Fixture& f = Shared();
    for (auto _ : state) {
        const auto root = Read_Design_Root(f.path);
        Item_Record_Context ctx;
        ctx.renderBarcode = Linear_Barcode;
        Design_File_Read r = Read_Design_Content(*root, ctx, true);
        if (!r.ok || r.content.items.size() != 500)
            state.SkipWithError("open failed");
        // Dropping the items is not part of opening.
        state.PauseTiming();
        r.content.items.clear();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenDesign500)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
