// Barcode labels on a common office sheet: Avery 5160 (3 x 10 labels of
// 66.675 x 25.4 mm on Letter) filled with Code 128 barcodes and their text,
// each made by the generation road as the main window makes a list row's
// barcode, written to PDF through the two roads the windows run:
//   print  the print window with the catalogue product, printing into a file
//   export the PDF export window with the same sheet typed in, sheets in one file
// Each job runs in a process of its own (this program started again), so its
// peak memory is the job's alone.
// Goals: 1,000 labels in at most 0.5 s and 600 KB; 10,000 in at most 5 s;
// 100,000 with a peak memory of at most 150 MB, within 10 % of 10,000's.
// Every caption must be found as text in the PDF (pdftotext).
#include "BenchMain.h"
#include "barcode/generation/BarcodeRoad.h"
#include "common/FakeBatchServices.h"
#include "core/util/BarcodeSettings.h"
#include "core/util/MainWindowServices.h"
#include "core/util/SharedValues.h"
#include "export/PdfExport.h"
#include "export/PdfExportWindow.h"
#include "platform/MessageSink.h"
#include "platform/Paths.h"
#include "print/SheetJob.h"
#include "print/PrinterList.h"
#include "print/Print_Wnd.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <sys/resource.h>

#include <cstdio>
#include <cstring>

namespace {

QString Value_Of(int row)
{
    return QStringLiteral("ZL-%1").arg(row + 1, 6, 10, QLatin1Char('0'));
}

// The list as the jobs see it: values and print quantities come from the
// row number, so the memory measured is the job's, not the list's.
struct Label_Rows {
    explicit Label_Rows(int rows)
    {
        BarcodeSettings s;
        Set_Barcode_Type(s, QStringLiteral("Code 128"));
        batch.state.settings = s;
        batch.state.value = Value_Of(0);
        batch.state.dataSource = batch.state.valueChecked = true;
        batch.state.listFeeds = true;
        batch.barcodeRows = rows;
        batch.printQuantity = [](int) { return 1; };
        batch.rowImage = [s](int row) { return Make_Barcode_Image(s, Value_Of(row), QString(), QString()); };
    }
    FakeBatchServices batch;
};

PrintInfo Letter_Into(const QString& path)
{
    PrintInfo info;
    info.pageLayout = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
    info.jobDisposition = QStringLiteral("save");
    info.savePath = path;
    return info;
}

// The print window: Avery 5160 chosen from the catalogue, printed into `pdf`.
bool Print_Road(int labels, const QString& pdf)
{
    MainWindowServices::setPrintInfo(Letter_Into(pdf));
    Label_Rows rows(labels);
    Print_Wnd w;
    w.Reset_For_Opening();
    w.Predefined_Label_Changed();
    w.Label_ComboBox->setCurrentText(QStringLiteral("Avery"));
    w.comboBoxSelectionDidChange(w.Label_ComboBox);
    w.Product_num_ComboBox->setCurrentText(QStringLiteral("5160"));
    w.comboBoxSelectionDidChange(w.Product_num_ComboBox);
    if (w.sheet.Print_Col != 3 || w.sheet.Print_Row != 10) {
        std::fprintf(stderr, "the sheet is %d x %d\n", w.sheet.Print_Col, w.sheet.Print_Row);
        return false;
    }
    w.Execute_Printing(false);
    if (w.last_job_sheets != (labels + 29) / 30) {
        std::fprintf(stderr, "%d sheets printed\n", w.last_job_sheets);
        return false;
    }
    return true;
}

// The PDF export window: the same sheet typed in, every sheet in one file.
bool Export_Road(int labels, const QString& pdf)
{
    MainWindowServices::setPrintInfo(Letter_Into(pdf));
    Label_Rows rows(labels);
    PDF_Export w;
    w.Reset_For_Opening();
    w.pdf_option[0]->click();
    const auto type = [&w](QLineEdit* field, const char* text, void (PDF_Export::*changed)(QObject*)) {
        field->setText(QString::fromLatin1(text));
        (w.*changed)(field);
    };
    type(w.width_Text, "66.675", &PDF_Export::Width_Changed);
    type(w.height_Text, "25.4", &PDF_Export::Height_Changed);
    type(w.horz_mar_Text, "3.9688", &PDF_Export::Horz_Margin_Changed);
    type(w.Col_Text, "3", &PDF_Export::Col_Changed);
    type(w.Row_Text, "10", &PDF_Export::Row_Changed);
    if (w.sheet.Print_Col != 3 || w.sheet.Print_Row != 10 || !w.Execute_Exporting())
        return false;
    QTemporaryDir folder(QFileInfo(pdf).absolutePath() + QStringLiteral("/export-XXXXXX"));
    Pdf_Export_Job job = w.acceptedJob();
    job.folder = folder.path();
    std::atomic<int> progress{0};
    const Pdf_Export_Report report = Run_Pdf_Export(job, &progress);
    if (report.files.size() != 1 || report.labels != labels)
        return false;
    QFile::remove(pdf);
    return QFile::rename(report.files.first(), pdf);
}

// Captions of the job that pdftotext does not find.
int Missing_Captions(const QString& pdf, int labels)
{
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-q"), pdf, QStringLiteral("-")});
    if (!p.waitForFinished(600000))
        return labels;
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    QSet<QString> found;
    static const QRegularExpression value(QStringLiteral("ZL-\\d{6}"));
    for (auto it = value.globalMatch(text); it.hasNext();)
        found.insert(it.next().captured());
    int missing = 0;
    for (int r = 0; r < labels; ++r)
        missing += found.contains(Value_Of(r)) ? 0 : 1;
    return missing;
}

// The child: one job, then "seconds bytes peak-kB missing" on standard output.
int Run_Child(const QString& road, int labels, const QString& pdf, bool checkText)
{
    Set_Message_Responder([](const MessageRequest& r) { return r.defaultButton; });
    Set_Printer_Names_Provider([] { return QStringList{QStringLiteral("Bench")}; });
    Folders.Resource_Path = Default_Resource_Path();
    QElapsedTimer timer;
    timer.start();
    const bool ok = road == QLatin1String("print") ? Print_Road(labels, pdf) : Export_Road(labels, pdf);
    const double seconds = timer.nsecsElapsed() / 1e9;
    if (!ok)
        return 1;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const int missing = checkText ? Missing_Captions(pdf, labels) : -1;
    std::printf("%.6f %lld %ld %d\n", seconds, static_cast<long long>(QFileInfo(pdf).size()),
                usage.ru_maxrss, missing);
    return 0;
}

QString Self_Path;

void BM_Avery5160(benchmark::State& state, const char* road)
{
    const int labels = int(state.range(0));
    const bool checkText = labels <= 10000;
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
    double kb = 0, peakMb = 0;
    int missing = 0;
    for (auto _ : state) {
        QProcess child;
        child.start(Self_Path, {QStringLiteral("--label-job"), QString::fromLatin1(road), QString::number(labels),
                                pdf, checkText ? QStringLiteral("text") : QStringLiteral("notext")});
        if (!child.waitForFinished(3600000) || child.exitCode() != 0) {
            state.SkipWithError("the job failed");
            break;
        }
        const QStringList out = QString::fromLatin1(child.readAllStandardOutput()).split(QLatin1Char(' '));
        if (out.size() < 4) {
            state.SkipWithError("the job said nothing");
            break;
        }
        state.SetIterationTime(out[0].toDouble());
        kb = out[1].toDouble() / 1024.0;
        peakMb = out[2].toDouble() / 1024.0;
        missing = out[3].trimmed().toInt();
    }
    state.counters["pdf_KB"] = kb;
    state.counters["peak_MB"] = peakMb;
    if (checkText)
        state.counters["captions_missing"] = missing;
}

void BM_Avery5160_Print(benchmark::State& state) { BM_Avery5160(state, "print"); }
void BM_Avery5160_PdfExport(benchmark::State& state) { BM_Avery5160(state, "export"); }

BENCHMARK(BM_Avery5160_Print)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Avery5160_PdfExport)->Arg(1000)->Arg(10000)->Arg(100000)->UseManualTime()->Iterations(1)
    ->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 6 && std::strcmp(argv[1], "--label-job") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        return Run_Child(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]), QString::fromLocal8Bit(argv[4]),
                         std::strcmp(argv[5], "text") == 0);
    }
    Self_Path = QString::fromLocal8Bit(argv[0]);
    return Run_Benchmarks_In_Offscreen_App(argc, argv);
}
