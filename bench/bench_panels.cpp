// A property panel change applied to the selection: 200 selected items take
// the panel's fields, the undo step is recorded and the canvas is painted
// again. Goal: within one frame (16 ms).
#include "BenchWindow.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/model/LMNDocument.h"
#include "core/model/LMNGraphic.h"
#include "mainwindow/LMNWindowController.h"
#include "mainwindow/design/DesignModeView.h"
#include "mainwindow/panels/PropertyPanels.h"

#include <QApplication>
#include <QCheckBox>
#include <benchmark/benchmark.h>


namespace {

LMNWindowController& window()
{
    return Bench_Window([](LMNWindowController& win) {
        win.resize(1366, 768);
        win.show();
        win.Designing_Mode_Select();
        QApplication::processEvents();
    });
}

// `count` items of a kind on a 100 mm card, all selected, the last one's panel shown.
void Place_Items(LMNWindowController& win, LMNKind kind, int count)
{
    DesignModeView* design = win.designModeView();
    LMNGraphicView* canvas = win.graphicView();
    canvas->delete_all_control();
    QList<int> all;
    for (int i = 0; i < count; ++i) {
        LMNGraphicPtr item(LMNGraphic::newOfKind(kind));
        if (kind == LMNKind::Shape)
            item->Set_Shape_Type(i % 2 ? QStringLiteral("RR") : QStringLiteral("S"));
        if (kind == LMNKind::Text)
            item->Set_text_value(QStringLiteral("Label text %1").arg(i));
        item->_bounds = QRectF(5 + (i % 20) * 13, 5 + (i / 20) * 26, 40, 20);
        design->document()->insertGraphic(item, 0);
        all << i;
    }
    canvas->changeSelectionIndexes(all);
    canvas->_Selected_Graphic = canvas->selectedGraphics().last();
    win.Show_RHS_Properties(canvas->_Selected_Graphic);
    QApplication::processEvents();
    design->Ucontrol.clear();
}

void BM_Panel_Change_200(benchmark::State& state, LMNKind kind, QCheckBox* (*check)(PropertyPanelHost&))
{
    LMNWindowController& win = window();
    Place_Items(win, kind, 200);
    PropertyPanelHost* host = win.designModeView()->panels;
    QCheckBox* box = check(*host);
    LMNGraphicView* canvas = win.graphicView();
    int steps = 0;
    const int undoBefore = int(win.designModeView()->Ucontrol.size());
    for (auto _ : state) {
        box->click();           // the panel writes 200 items and records the undo step
        canvas->repaint();      // the canvas is painted again, now
        if (++steps == 50) {
            state.PauseTiming();
            win.designModeView()->Ucontrol.clear();
            steps = 0;
            state.ResumeTiming();
        }
    }
    state.counters["items"] = double(canvas->selectedGraphics().size());
    state.counters["undo_steps"] = double(int(win.designModeView()->Ucontrol.size()) - undoBefore);
    state.counters["visible"] = canvas->isVisible() ? 1 : 0;
    state.counters["painted_px"] = double(canvas->lastPaintedRegion().boundingRect().width()
                                          * canvas->lastPaintedRegion().boundingRect().height());
}

QCheckBox* Shape_Fill(PropertyPanelHost& h) { return h.shape_tab->Shape_fill_chk; }
QCheckBox* Text_Shadow(PropertyPanelHost& h) { return h.text_prop_tab->draw_shadow_chkbox; }

void BM_Shape_Panel_200(benchmark::State& state) { BM_Panel_Change_200(state, LMNKind::Shape, Shape_Fill); }
void BM_Text_Panel_200(benchmark::State& state) { BM_Panel_Change_200(state, LMNKind::Text, Text_Shadow); }

BENCHMARK(BM_Shape_Panel_200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Text_Panel_200)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Close_Bench_Window();
    return 0;
}
