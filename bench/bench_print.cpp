// Printing: 1,000 barcode labels (each made by the generation road, as the
// main window makes a list row's barcode) laid out on sheets of 65 and
// printed to PDF through the print window's job; the PDF must stay small
// (bars as vector paths). And the preview: one sheet of 65 barcodes drawn as
// the print preview draws a page, and the window's on-screen sheet.
// Goals: 1,000 labels under 2 s with a PDF under 2 MB; a preview sheet of 65
// barcodes under 30 ms.
#include "BenchMain.h"
#include "BenchBarcodes.h"
#include "core/util/MainWindowServices.h"
#include "platform/MessageSink.h"
#include "print/SheetJob.h"
#include "print/PrinterList.h"
#include "print/Print_Wnd.h"
#include "print/Printing_View.h"
#include "print/Sample_Preview.h"

#include <QApplication>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

void BM_Print1000BarcodeLabelsToPdf(benchmark::State& state)
{
    Set_Message_Responder([](const MessageRequest& r) { return r.defaultButton; });
    Set_Printer_Names_Provider([] { return QStringList{"Bench"}; });
    QTemporaryDir dir;
    PrintInfo info;
    info.jobDisposition = QStringLiteral("save");
    info.savePath = dir.filePath("labels.pdf");
    MainWindowServices::setPrintInfo(info);
    Bench_Barcode_Batch rows(1000, false);
    Print_Wnd w;
    w.Reset_For_Opening();
    Bench_Sheet_Of_65(w);
    for (auto _ : state)
        w.Execute_Printing(false);
    state.counters["sheets"] = w.last_job_sheets;
    state.counters["pdf_MB"] = double(QFileInfo(info.savePath).size()) / (1024.0 * 1024.0);
    state.counters["labels_per_s"] = benchmark::Counter(1000, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Print1000BarcodeLabelsToPdf)->Unit(benchmark::kMillisecond);

// One page of the preview: 65 barcodes made and drawn as they are.
// The sheet job of both: 13 x 5 labels of 38.1 x 21.2 mm on an A4 page.
Sheet_Job Sheet_Of_65()
{
    Sheet_Job job;
    job.paper = QSizeF(595, 842);
    job.Print_Row = 13;
    job.Print_Col = 5;
    job.label_width = 38.1f * 2.834645669291f;
    job.label_hight = 21.2f * 2.834645669291f;
    job.Left_Mar = job.Top_Mar = 20;
    job.Print_End = 65;
    job.Total_Label = job.Total_Label_Real = 65;
    job.Use_Barocde_In_Center = 1;
    return job;
}

void BM_PreviewSheetOf65Barcodes(benchmark::State& state)
{
    Bench_Barcode_Batch rows(65, false);
    Sheet_Job job = Sheet_Of_65();
    job.rows = rows.batch.Make_Batch_Rows();
    job.Use_Data_Sheet_Values = true;
    QImage page(595, 842, QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        page.fill(Qt::white);
        Printing_View view(job, QRectF(0, 0, 595, 842), true);
        QPainter p(&page);
        view.drawRect(p, QRectF(0, 0, 595, 842));
        benchmark::DoNotOptimize(view.sheetLabels().size());
    }
}
BENCHMARK(BM_PreviewSheetOf65Barcodes)->Unit(benchmark::kMillisecond);

// The window's sheet of 65 cells with outlines and crop marks.
void BM_SampleSheetOf65Cells(benchmark::State& state)
{
    Sheet_Job job = Sheet_Of_65();
    job.Show_margin_rect = 1;
    job.Enable_Crop_Marks = 1;
    Sample_Preview view;
    view.setJob(&job);
    for (auto _ : state)
        benchmark::DoNotOptimize(view.imageRepresentation());
}
BENCHMARK(BM_SampleSheetOf65Cells)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return Run_Benchmarks_In_Offscreen_App(argc, argv);
}
