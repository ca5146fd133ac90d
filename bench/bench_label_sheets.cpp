// Barcode labels on a common office sheet: Avery 5160 (3 x 10 labels of
// 66.675 x 25.4 mm on Letter) filled with Code 128 barcodes of 17-mil bars and
// their text, a barcode that fits its label (189 x 72 points: the picture is
// 72.044 points tall, within the half point the larger-than-label question
// allows, so no question is asked and no label is clipped), written to PDF
// through the real windows, as a user does it:
//   print   the values imported into the main window's list, Print, the
//           catalogue product chosen in the print window, Print into a file
//   export  the same list, PDF, the same sheet typed into the PDF export
//           window, Export (sheets in one file), the job on its worker
// The main window is as it starts (barcode mode and its settings, captions in
// its font) with Code 128 and 17-mil bars chosen; its list holds one row a
// label. Each job runs in a process of its own (this program started again),
// so its peak memory is the job's alone. Message boxes are answered with
// their default button, as Enter answers them; a job that asks anything fails.
// Reported: the peak ("peak_MB"), the memory of the window with its list
// before Print or PDF is pressed ("list_MB") and what the job adds to it
// ("job_MB"); the processor time of the job, all its threads together
// ("job_cpu_s"), and the pages of memory it faulted in ("job_faults"); the
// file ("pdf_KB"), its page content inflated ("content_KB") and the clip paths
// in it ("clips": none while every label fits its cell); the labels of the
// first and the last sheet that zbarimg reads back ("decoded_pct", 100 when
// every one scans).
// Goals: 1,000 labels in at most 0.5 s and 600 KB; 10,000 in at most 5 s;
// 100,000 with a peak of at most 100 MB and a job_MB within 10 % of 10,000's
// (the list itself grows with its rows); 1,000,000 within 60 s and a peak of
// at most 100 MB on two processors (taskset -c 0,1). Every caption must be
// found as text in the PDF (pdftotext), every label read back.
// Instructions of one job alone: run its child under callgrind with
// collection off at the start; the child turns it on from the output window's
// button to the written file (the print road whole; the PDF window's job runs
// on a pool thread started before, whose work is not counted):
// (one command line)
//   valgrind --tool=callgrind --collect-atstart=no
//     build-bench/bench/bench_label_sheets --label-job print 10000 /tmp/l.pdf notext
#include "BenchMain.h"
#include "app/AppServices.h"
#include "barcode/generation/list/BarcodeList.h"
#include "barcode/generation/panes/SizePanes.h"
#include "barcode/generation/panes/SymbologyPane.h"
#include "core/util/MainWindowServices.h"
#include "core/util/SharedValues.h"
#include "data/barcodelist/ListDialogs.h"
#include "export/PdfExport.h"
#include "export/PdfExportWindow.h"
#include "mainwindow/AppLifetime.h"
#include "mainwindow/BarcodeListSide.h"
#include "mainwindow/BarcodeModeView.h"
#include "mainwindow/LMNWindowController.h"
#include "platform/MessageSink.h"
#include "print/PrinterList.h"
#include "print/Print_Wnd.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QThread>
#include <benchmark/benchmark.h>
#include <zlib.h>

#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#define ZL_JOB_COUNTING_ON() CALLGRIND_TOGGLE_COLLECT
#define ZL_JOB_COUNTING_OFF() CALLGRIND_TOGGLE_COLLECT
#else
#define ZL_JOB_COUNTING_ON()
#define ZL_JOB_COUNTING_OFF()
#endif

#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

int Questions_Asked = 0;

// The value of a row: ZL-000000 to ZL-999999, one length for every row of a
// million, so that each barcode fits its label (a seventh digit would make it
// wider than the cell).
QString Value_Of(int row)
{
    return QStringLiteral("ZL-%1").arg(row, 6, 10, QLatin1Char('0'));
}

// Resident memory now, in kB.
long Resident_Kb()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.value(1).toLong() * (sysconf(_SC_PAGESIZE) / 1024);
}

// The print window: Avery 5160 chosen from the catalogue, Print.
bool Print_In(Print_Wnd& w, int labels)
{
    w.Predefined_Label_Changed();
    w.Label_ComboBox->setCurrentText(QStringLiteral("Avery"));
    w.comboBoxSelectionDidChange(w.Label_ComboBox);
    w.Product_num_ComboBox->setCurrentText(QStringLiteral("5160"));
    w.comboBoxSelectionDidChange(w.Product_num_ComboBox);
    if (w.sheet.Print_Col != 3 || w.sheet.Print_Row != 10) {
        std::fprintf(stderr, "the sheet is %d x %d\n", w.sheet.Print_Col, w.sheet.Print_Row);
        return false;
    }
    w.print_btn->click();
    if (w.last_job_sheets != (labels + 29) / 30) {
        std::fprintf(stderr, "%d sheets printed\n", w.last_job_sheets);
        return false;
    }
    return true;
}

// The PDF export window: the same sheet typed in, every sheet in one file,
// Export into `folder`; waits for the job's worker.
bool Export_In(PDF_Export& w, int labels, const QString& folder)
{
    w.pdf_option[0]->click();
    const auto type = [&w](QLineEdit* field, const char* text, void (Sheet_Options_Pane::*changed)(QObject*)) {
        field->setText(QString::fromLatin1(text));
        (w.sheetPane->*changed)(field);
    };
    type(w.sheetPane->width_Text, "66.675", &Sheet_Options_Pane::Width_Changed);
    type(w.sheetPane->height_Text, "25.4", &Sheet_Options_Pane::Height_Changed);
    type(w.sheetPane->horz_mar_Text, "3.9688", &Sheet_Options_Pane::Horz_Margin_Changed);
    type(w.sheetPane->Col_Text, "3", &Sheet_Options_Pane::Col_Changed);
    type(w.sheetPane->Row_Text, "10", &Sheet_Options_Pane::Row_Changed);
    if (w.sheet.Print_Col != 3 || w.sheet.Print_Row != 10)
        return false;
    w.chooseFolder = [folder] { return folder; };
    w.export_btn->click();
    const auto job = w.lastJob();
    if (!job)
        return false;
    while (!job->done) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return job->report().labels == labels && job->report().files.size() == 1;
}

// A text file of the first `labels` values, one a line.
bool Write_Values(const QString& path, int labels)
{
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        return false;
    for (int r = 0; r < labels; ++r)
        f.write(Value_Of(r).toLatin1() + '\n');
    return true;
}

// Processor seconds (all threads) and page faults of the process so far.
struct Usage {
    double cpu = 0;
    long faults = 0;
};
Usage Usage_Now()
{
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return {double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6,
            u.ru_minflt + u.ru_majflt};
}

// The job of the child process: the main window with `labels` rows in its
// list, then Print or PDF from its toolbar. Answers the seconds from the
// output window's button to the written file; `beforeKb` is the memory
// before the output window opened, `job` what the job took of processors
// and page faults.
double Window_Job(const QString& road, int labels, const QString& pdf, long* beforeKb, Usage* job)
{
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    QApplication::setApplicationName(QStringLiteral("Zorv Label"));
    QApplication::setOrganizationName(QStringLiteral("Zorv"));
    Set_Message_Responder([](const MessageRequest& r) {
        if (r.buttons.size() >= 2) {
            std::fprintf(stderr, "asked: %s\n", qPrintable(r.text));
            ++Questions_Asked;
        }
        return r.defaultButton;
    });
    Set_Printer_Names_Provider([] { return QStringList{QStringLiteral("Bench")}; });
    App_Services().Terminate_Application_Hook = [](int) {};
    Install_Application_Services();

    LMNWindowController window;
    if (!window.startupSucceeded())
        return -1;
    window.show();
    window.barcodeModeView()->symbologyPane()->chooseType(QStringLiteral("Code 128"));
    // Bars of 17 mils: the barcode fits the label.
    LinearPane* bars = window.barcodeModeView()->linearPane();
    auto* barWidth = bars->findChild<QLineEdit*>(QStringLiteral("widthText"));
    if (!barWidth)
        return -1;
    barWidth->setText(QStringLiteral("17"));
    bars->widthChanged(barWidth);
    BarcodeListSide& side = *window.barcodeModeView()->listSide();
    // The values imported from a text file, as a user fills the list.
    const QString list = QDir(home.path()).filePath(QStringLiteral("values.txt"));
    if (!Write_Values(list, labels))
        return -1;
    Set_Modal_Runner([](QDialog& d) {
        if (auto* box = qobject_cast<Import_From_Txt_File*>(&d)) {
            box->chk_value->setChecked(true);
            box->OKPressed();
        }
        return d.result();
    });
    side.transfer().chooseImportFile = [list] { return list; };
    side.Import_List_Button();
    if (side.list().count() != labels) {
        std::fprintf(stderr, "the list holds %d rows\n", side.list().count());
        return -1;
    }
    side.data_source_chkbox->setChecked(true);
    side.barcodeData_SourceChanged();
    QCoreApplication::processEvents();

    PrintInfo info;
    info.pageLayout = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0));
    info.jobDisposition = QStringLiteral("save");
    info.savePath = pdf;
    MainWindowServices::setPrintInfo(info);
    *beforeKb = Resident_Kb();

    QTemporaryDir exportFolder(QFileInfo(pdf).absolutePath() + QStringLiteral("/export-XXXXXX"));
    QElapsedTimer timer;
    bool ok = false;
    qint64 nsecs = 0;
    Set_Modal_Runner([&](QDialog& d) {
        const Usage start = Usage_Now();
        if (auto* p = qobject_cast<Print_Wnd*>(&d)) {
            timer.start();
            ZL_JOB_COUNTING_ON();
            ok = Print_In(*p, labels);
            ZL_JOB_COUNTING_OFF();
            nsecs = timer.nsecsElapsed();
            p->cancel_btn->click();
        } else if (auto* e = qobject_cast<PDF_Export*>(&d)) {
            timer.start();
            ZL_JOB_COUNTING_ON();
            ok = Export_In(*e, labels, exportFolder.path());
            ZL_JOB_COUNTING_OFF();
            nsecs = timer.nsecsElapsed();
            e->cancel_btn->click();
        }
        const Usage end = Usage_Now();
        job->cpu = end.cpu - start.cpu;
        job->faults = end.faults - start.faults;
        return d.result();
    });
    (road == QLatin1String("print") ? window.print_btn : window.pdf_btn)->trigger();
    QCoreApplication::processEvents();
    Set_Modal_Runner({});
    if (!ok || Questions_Asked > 0)
        return -1;
    if (road != QLatin1String("print")) {
        const QDir sub(QDir(exportFolder.path()).filePath(pdf_export_folder_name));
        const QStringList inside = sub.entryList({QStringLiteral("*.pdf")}, QDir::Files);
        if (inside.size() != 1)
            return -1;
        QFile::remove(pdf);
        if (!QFile::rename(sub.filePath(inside.first()), pdf))
            return -1;
    }
    return nsecs / 1e9;
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
    static const QRegularExpression value(QStringLiteral("ZL-\\d+"));
    for (auto it = value.globalMatch(text); it.hasNext();)
        found.insert(it.next().captured());
    int missing = 0;
    for (int r = 0; r < labels; ++r)
        missing += found.contains(Value_Of(r)) ? 0 : 1;
    return missing;
}

// The page content of a PDF: the streams its pages name as /Contents,
// inflated. Answers their bytes and the clip paths in them ("W n", "W* n").
struct Page_Content {
    qint64 bytes = 0;
    qint64 clips = 0;
};

Page_Content Content_Of(const QString& pdf)
{
    Page_Content c;
    QFile f(pdf);
    if (!f.open(QIODevice::ReadOnly))
        return c;
    const QByteArray file = f.readAll();
    static const QRegularExpression contents(QStringLiteral("/Contents\\s+(\\d+)\\s+0\\s+R"));
    const QString latin = QString::fromLatin1(file);
    std::vector<char> out(1 << 20);
    for (auto it = contents.globalMatch(latin); it.hasNext();) {
        const QByteArray head = "\n" + it.next().captured(1).toLatin1() + " 0 obj";
        const qsizetype obj = file.indexOf(head);
        const qsizetype stream = obj < 0 ? -1 : file.indexOf("stream", obj);
        const qsizetype end = stream < 0 ? -1 : file.indexOf("endstream", stream);
        if (end < 0)
            continue;
        qsizetype from = stream + 6;
        if (file.at(from) == '\r')
            ++from;
        if (file.at(from) == '\n')
            ++from;
        z_stream z{};
        if (inflateInit(&z) != Z_OK)
            continue;
        z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(file.constData() + from));
        z.avail_in = uInt(end - from);
        int rc = Z_OK;
        QByteArray tail;   // the end of the last piece, for a "W* n" across pieces
        while (rc == Z_OK) {
            z.next_out = reinterpret_cast<Bytef*>(out.data());
            z.avail_out = uInt(out.size());
            rc = inflate(&z, Z_NO_FLUSH);
            const qsizetype got = qsizetype(out.size() - z.avail_out);
            c.bytes += got;
            const QByteArray piece = tail + QByteArray(out.data(), got);
            const auto clipsIn = [](const QByteArray& b) { return b.count("W n") + b.count("W* n"); };
            c.clips += clipsIn(piece) - clipsIn(tail);
            tail = piece.right(3);
        }
        inflateEnd(&z);
    }
    return c;
}

// The labels of a sheet that zbarimg reads back (values of rows `first` on).
int Decoded_On_Page(const QString& pdf, int page, int first, int count)
{
    QTemporaryDir dir;
    const QString base = dir.filePath(QStringLiteral("page"));
    QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("200"), QStringLiteral("-f"),
                                                    QString::number(page), QStringLiteral("-l"), QString::number(page),
                                                    QStringLiteral("-singlefile"), QStringLiteral("-png"), pdf, base});
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("-q"), base + QStringLiteral(".png")});
    if (!zbar.waitForFinished(120000))
        return 0;
    const QStringList read = QString::fromLatin1(zbar.readAllStandardOutput()).split(QLatin1Char('\n'));
    int found = 0;
    for (int r = first; r < first + count; ++r)
        found += read.contains(Value_Of(r)) ? 1 : 0;
    return found;
}

// The child: one job, then "seconds bytes peak-kB missing before-kB cpu-s
// faults content-bytes clips decoded-percent" on standard output.
int Run_Child(const QString& road, int labels, const QString& pdf, bool checkText)
{
    long beforeKb = 0;
    Usage job;
    const double seconds = Window_Job(road, labels, pdf, &beforeKb, &job);
    if (seconds < 0)
        return 1;
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    const int missing = checkText ? Missing_Captions(pdf, labels) : -1;
    const Page_Content content = Content_Of(pdf);
    // The first and the last sheet read back.
    const int sheets = (labels + 29) / 30;
    const int onLast = labels - (sheets - 1) * 30;
    int decoded = Decoded_On_Page(pdf, 1, 0, std::min(30, labels));
    int tried = std::min(30, labels);
    if (sheets > 1) {
        decoded += Decoded_On_Page(pdf, sheets, (sheets - 1) * 30, onLast);
        tried += onLast;
    }
    std::printf("%.6f %lld %ld %d %ld %.3f %ld %lld %lld %.1f\n", seconds,
                static_cast<long long>(QFileInfo(pdf).size()), usage.ru_maxrss, missing, beforeKb, job.cpu,
                job.faults, static_cast<long long>(content.bytes), static_cast<long long>(content.clips),
                100.0 * decoded / std::max(1, tried));
    return 0;
}

QString Self_Path;

void BM_Avery5160(benchmark::State& state, const char* road)
{
    const int labels = int(state.range(0));
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("labels.pdf"));
    double kb = 0, peakMb = 0, beforeMb = 0, cpu = 0, faults = 0, contentKb = 0, clips = 0, decodedPct = 0;
    int missing = 0;
    for (auto _ : state) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(Self_Path, {QStringLiteral("--label-job"), QString::fromLatin1(road), QString::number(labels),
                                pdf, QStringLiteral("text")});
        if (!child.waitForFinished(3600000) || child.exitCode() != 0) {
            state.SkipWithError("the job failed");
            break;
        }
        const QStringList out = QString::fromLatin1(child.readAllStandardOutput()).split(QLatin1Char(' '));
        if (out.size() < 10) {
            state.SkipWithError("the job said nothing");
            break;
        }
        state.SetIterationTime(out[0].toDouble());
        kb = out[1].toDouble() / 1024.0;
        peakMb = out[2].toDouble() / 1024.0;
        missing = out[3].toInt();
        beforeMb = out[4].toDouble() / 1024.0;
        cpu = out[5].toDouble();
        faults = out[6].toDouble();
        contentKb = out[7].toDouble() / 1024.0;
        clips = out[8].toDouble();
        decodedPct = out[9].trimmed().toDouble();
    }
    state.counters["pdf_KB"] = kb;
    state.counters["peak_MB"] = peakMb;
    state.counters["list_MB"] = beforeMb;
    state.counters["job_MB"] = peakMb - beforeMb;
    state.counters["job_cpu_s"] = cpu;
    state.counters["job_faults"] = faults;
    state.counters["content_KB"] = contentKb;
    state.counters["clips"] = clips;
    state.counters["decoded_pct"] = decodedPct;
    state.counters["captions_missing"] = missing;
}

void BM_Avery5160_Code128_17mil_Fits_Print(benchmark::State& state) { BM_Avery5160(state, "print"); }
void BM_Avery5160_Code128_17mil_Fits_PdfExport(benchmark::State& state) { BM_Avery5160(state, "export"); }

BENCHMARK(BM_Avery5160_Code128_17mil_Fits_Print)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)->UseManualTime()
    ->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Avery5160_Code128_17mil_Fits_PdfExport)->Arg(1000)->Arg(10000)->Arg(100000)->Arg(1000000)
    ->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 6 && std::strcmp(argv[1], "--label-job") == 0) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        Set_Heap_Policy();   // as the application starts
        QApplication app(argc, argv);
        return Run_Child(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]), QString::fromLocal8Bit(argv[4]),
                         std::strcmp(argv[5], "text") == 0);
    }
    Self_Path = QString::fromLocal8Bit(argv[0]);
    return Run_Benchmarks_In_Offscreen_App(argc, argv);
}
