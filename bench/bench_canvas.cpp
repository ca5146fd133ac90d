// Repainting the design canvas: a card of 200 items at 100 % zoom.
#include "core/canvas/CardDrawing.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/canvas/LMNGrid.h"
#include "core/model/Card_Property.h"
#include "core/model/LMNDocument.h"
#include "core/model/LMNLine.h"
#include "core/model/LMNText.h"
#include "core/model/Shape_Control.h"
#include "core/util/MainWindowServices.h"
#include "core/FakeMainWindow.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

QApplication& App()
{
    static int argc = 1;
    static char name[] = "bench_canvas";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

class BenchWindow : public FakeMainWindow {
public:
    QRectF graphicViewBounds() const override { return view ? view->bounds() : QRectF(); }
    void Card_Base_Drawing(QPainter& p, const QRectF&) override { ::Card_Base_Drawing(p, card, graphicViewBounds(), 1); }
    void Card_Border_Drawing(QPainter& p, const QRectF&) override
    {
        ::Card_Border_Drawing(p, card, graphicViewBounds(), 1);
    }
};

void BM_RepaintCard200Items(benchmark::State& state)
{
    App();
    BenchWindow win;
    win.card.Card_fill_style = QStringLiteral("G");
    win.card.Card_fill_Grd_1_clr = QColor(230, 240, 255);
    win.card.Card_fill_Grd_2_clr = Qt::white;
    win.card.Card_border_chk = true;
    win.card.Card_bor_Stepper = 2;
    win.card.Card_border_style = QStringLiteral("DA");
    win.card.Watermark_Used = true;
    LMNDocument doc;
    LMNGraphicView view(win);
    win.view = &view;
    view.setCardSize(QSizeF(600, 400));
    view.bindGraphics(&doc);
    LMNGrid grid;
    grid.setAlwaysShown(true);
    view.setGrid(&grid);
    QList<LMNGraphicPtr> items;
    QList<int> indexes;
    for (int i = 0; i < 200; ++i) {
        const QRectF r(10 + (i % 20) * 29, 10 + (i / 20) * 38, 26, 30);
        LMNGraphicPtr g;
        switch (i % 4) {
        case 0: {
            auto s = std::make_shared<Shape_Control>();
            static const char* codes[] = {"R", "C", "RR", "T", "D", "S", "DS", "P"};
            s->Set_Shape_Type(QString::fromLatin1(codes[(i / 4) % 8]));
            s->_fillColor = QColor::fromHsv((i * 17) % 360, 200, 220);
            s->text_rotation = (i * 7) % 90;
            g = s;
            break;
        }
        case 1: {
            auto l = std::make_shared<LMNLine>();
            l->setBeginPoint(r.topLeft());
            l->setEndPoint(r.bottomRight());
            l->_strokeWidth = 2;
            g = l;
            break;
        }
        case 2: {
            auto t = std::make_shared<LMNText>();
            t->Set_text_value(QStringLiteral("T%1").arg(i));
            g = t;
            break;
        }
        default: {
            auto s = std::make_shared<Shape_Control>();
            s->_fill_type = QStringLiteral("G");
            s->_fill_Grad_clr1 = Qt::yellow;
            s->_fill_Grad_clr2 = Qt::blue;
            s->_stroke_border_type = QStringLiteral("DO");
            g = s;
            break;
        }
        }
        g->_bounds = r;
        items.append(g);
        indexes.append(i);
    }
    doc.insertGraphics(items, indexes);
    view.selectAll();
    QImage image(600, 400, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing, true);
        view.drawRect(painter, view.bounds());
        painter.end();
        benchmark::DoNotOptimize(image.constBits());
    }
    view.unbindGraphics();
    win.view = nullptr;
    App_Services().Main_App_wnd = nullptr;
}
BENCHMARK(BM_RepaintCard200Items)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
