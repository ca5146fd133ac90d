// PDF export: 1,000 barcode labels (each made by the generation road, as the
// main window makes a list row's barcode) accepted by the PDF export window
// and written by its writer: sheets of 65 in one file, a file per sheet, and
// one file of label-sized pages. Goal: 1,000 labels under 2 s, with the PDF
// small (bars stay vector paths).
#include "BenchMain.h"
#include "BenchBarcodes.h"
#include "core/util/MainWindowServices.h"
#include "export/PdfExportWindow.h"
#include "platform/MessageSink.h"
#include "print/PrintControls.h"
#include "print/SheetJob.h"
#include "print/PrinterList.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QRadioButton>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int Rows = 1000;

qint64 Folder_Bytes(const QString& folder)
{
    qint64 bytes = 0;
    for (const QFileInfo& f : QDir(folder).entryInfoList(QDir::Files))
        bytes += f.size();
    return bytes;
}

// Accepts and writes the job the window holds, as OK does, on this thread.
void Run(benchmark::State& state, int option, bool labelSize)
{
    Set_Message_Responder([](const MessageRequest& r) { return r.defaultButton; });
    Set_Printer_Names_Provider([] { return QStringList{"Bench"}; });
    MainWindowServices::setPrintInfo(PrintInfo());
    QTemporaryDir dir;
    Bench_Barcode_Batch rows(Rows, true);
    PDF_Export w;
    w.Reset_For_Opening();
    if (option <= 1)
        Bench_Sheet_Of_65(w);
    w.pdf_option[option]->click();
    if (labelSize)
        w.use_label_size_chk_box->click();
    Pdf_Export_Report report;
    for (auto _ : state) {
        QDir(dir.path()).removeRecursively();
        QDir().mkpath(dir.path());
        if (!w.Execute_Exporting()) {
            state.SkipWithError("the job was refused");
            break;
        }
        Pdf_Export_Job job = w.acceptedJob();
        job.folder = dir.path();
        Job_Control control;
        report = Run_Pdf_Export(job, &control);
    }
    state.counters["labels"] = report.labels;
    state.counters["files"] = report.files.size();
    state.counters["pages"] = report.pages;
    state.counters["pdf_MB"] = double(Folder_Bytes(dir.path())) / (1024.0 * 1024.0);
}

void BM_Pdf1000LabelsSheetsInOneFile(benchmark::State& state) { Run(state, 0, false); }
void BM_Pdf1000LabelsFilePerSheet(benchmark::State& state) { Run(state, 1, false); }
void BM_Pdf1000LabelSizedPages(benchmark::State& state) { Run(state, 3, true); }

BENCHMARK(BM_Pdf1000LabelsSheetsInOneFile)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pdf1000LabelsFilePerSheet)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Pdf1000LabelSizedPages)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return Run_Benchmarks_In_Offscreen_App(argc, argv);
}
