// The barcode list of barcode mode with 100,000 rows.
// Goals: a text file of 100,000 rows imported into the list (read on the
// worker, rows placed on the GUI thread, the table attached) under 300 ms;
// a text file of 1,000,000 lines imported into the list in at most 1 s with
// a peak of at most 200 MB (peak_MB, the resident size's high-water mark
// above where the import began), for lines of a value alone and of all four
// texts;
// the list exported as a workbook under 1 s; selecting a row (the row shown
// in the fields and its barcode made) and scrolling a page of the table each
// within a frame (16 ms), wherever the row lies;
// the main window holding 1,000,000 rows of a ten-character value (imported
// from a text file, as a user fills the list) takes at most 50 MB more than
// with an empty list ("list_MB": the resident size after the import less the
// size before it, in a process of its own started as the application starts).
#include "BenchWindow.h"
#include "app/AppServices.h"
#include "data/barcodelist/BarcodeListFiles.h"
#include "data/barcodelist/ListDialogs.h"
#include "mainwindow/BarcodeListSide.h"
#include "mainwindow/LMNWindowController.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTableView>
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <malloc.h>
#include <string>


namespace {
constexpr int kRows = 100000;

LMNWindowController& window()
{
    return Bench_Window([](LMNWindowController& win) {
        win.resize(1366, 768);
        win.show();
        BarcodeListSide* side = win.barcodeModeView()->listSide();
        side->data_source_chkbox->setChecked(true);
        side->barcodeData_SourceChanged();
    });
}

BarcodeListSide& Side() { return *window().barcodeModeView()->listSide(); }

std::vector<BarcodeRow> Rows()
{
    std::vector<BarcodeRow> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i)
        rows.push_back({QStringLiteral("ZL%1").arg(i, 8, 10, QLatin1Char('0')), QStringLiteral("Header %1").arg(i),
                        QStringLiteral("Footer %1").arg(i % 97), QString::number(1 + i % 9)});
    return rows;
}

QString Text_File()
{
    static QString path;
    if (path.isEmpty()) {
        path = Bench_Home().filePath("rows.txt");
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(Barcode_List_Text_Bytes(Rows()));
    }
    return path;
}

void BM_ImportText_100k_IntoTheList(benchmark::State& state)
{
    BarcodeListSide& side = Side();
    const QString file = Text_File();
    Set_Modal_Runner([](QDialog& d) {
        auto* box = qobject_cast<Import_From_Txt_File*>(&d);
        if (!box)
            return 0;
        for (QCheckBox* c : {box->chk_value, box->chk_header, box->chk_footer, box->chk_pq})
            c->setChecked(true);
        box->OKPressed();
        return box->result();
    });
    for (auto _ : state) {
        state.PauseTiming();
        side.list().Remove_All_Rows();
        QApplication::processEvents();
        state.ResumeTiming();
        side.Load_text_file_Func(file);
        QApplication::processEvents();
    }
    Set_Modal_Runner(nullptr);
    if (side.list().count() != kRows)
        state.SkipWithError("not every row came in");
    state.counters["rows"] = side.list().count();
}
BENCHMARK(BM_ImportText_100k_IntoTheList)->Unit(benchmark::kMillisecond)->Iterations(5);

// Peak resident memory of the process in MB (VmHWM), and its reset.
double Peak_MB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}
void Reset_Peak()
{
    // What the last round freed goes back to the system first, so the
    // round measured cannot hide in it.
    malloc_trim(0);
    std::ofstream("/proc/self/clear_refs") << "5";
}

QString Million_Lines_File(bool allTexts)
{
    const QString path = Bench_Home().filePath(allTexts ? "million4.txt" : "million1.txt");
    if (!QFile::exists(path)) {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        QByteArray chunk;
        for (int i = 0; i < Barcode_List_Max_Rows; ++i) {
            chunk += "ZL" + QByteArray::number(i).rightJustified(8, '0');
            if (allTexts)
                chunk += "\tHeader " + QByteArray::number(i) + "\tFooter " + QByteArray::number(i % 97) + "\t"
                    + QByteArray::number(1 + i % 9);
            chunk += '\n';
            if (chunk.size() > (1 << 20)) {
                f.write(chunk);
                chunk.clear();
            }
        }
        f.write(chunk);
    }
    return path;
}

void BM_ImportText_1M_IntoTheList(benchmark::State& state)
{
    const bool allTexts = state.range(0) == 1;
    state.SetLabel(allTexts ? "value, header, footer, quantity" : "value");
    BarcodeListSide& side = Side();
    const QString file = Million_Lines_File(allTexts);
    Set_Modal_Runner([allTexts](QDialog& d) {
        auto* box = qobject_cast<Import_From_Txt_File*>(&d);
        if (!box)
            return 0;
        box->chk_value->setChecked(true);
        for (QCheckBox* c : {box->chk_header, box->chk_footer, box->chk_pq})
            c->setChecked(allTexts);
        box->OKPressed();
        return box->result();
    });
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        side.list().Remove_All_Rows();
        QApplication::processEvents();
        Reset_Peak();
        const double base = Peak_MB();
        state.ResumeTiming();
        side.Load_text_file_Func(file);
        QApplication::processEvents();
        state.PauseTiming();
        peak = std::max(peak, Peak_MB() - base);
        state.ResumeTiming();
    }
    Set_Modal_Runner(nullptr);
    if (side.list().count() != Barcode_List_Max_Rows)
        state.SkipWithError("not every line came in");
    state.counters["rows"] = side.list().count();
    state.counters["peak_MB"] = peak;
    side.list().Remove_All_Rows();
    QApplication::processEvents();
}
BENCHMARK(BM_ImportText_1M_IntoTheList)->DenseRange(0, 1)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ExportWorkbook_100k(benchmark::State& state)
{
    const std::vector<BarcodeRow> rows = Rows();
    const QString path = Bench_Home().filePath("rows.xlsx");
    for (auto _ : state) {
        QString error;
        if (!Export_Barcode_List(path, rows, &error))
            state.SkipWithError(error.toStdString().c_str());
    }
    state.counters["file_MB"] = double(QFile(path).size()) / (1 << 20);
}
BENCHMARK(BM_ExportWorkbook_100k)->Unit(benchmark::kMillisecond)->Iterations(3);

void Fill_List()
{
    BarcodeListSide& side = Side();
    if (side.list().count() != kRows) {
        side.list().Load_Rows(Rows());
        QApplication::processEvents();
    }
}

void BM_SelectRow_Of_100k(benchmark::State& state)
{
    Fill_List();
    BarcodeListSide& side = Side();
    QRandomGenerator rng(7);
    for (auto _ : state) {
        side.Mark_List_New_Selection_barcode(int(rng.bounded(kRows)));
        side.List->viewport()->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_SelectRow_Of_100k)->Unit(benchmark::kMillisecond);

void BM_ScrollPage_Of_100k(benchmark::State& state)
{
    Fill_List();
    QScrollBar* bar = Side().List->verticalScrollBar();
    int position = 0;
    for (auto _ : state) {
        position = (position + bar->pageStep()) % std::max(1, bar->maximum());
        bar->setValue(position);
        Side().List->viewport()->repaint();
        QApplication::processEvents();
    }
}
BENCHMARK(BM_ScrollPage_Of_100k)->Unit(benchmark::kMillisecond);

// Resident memory now, in kB.
long Resident_Kb()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

// The child of BM_List_Memory: the main window as the application starts,
// its resident size, `rows` ten-character values imported into its list from
// a text file, its resident size again. Prints "before-kB after-kB rows".
int List_Memory_Child(int rows)
{
    Set_Heap_Policy();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "bench_list";
    char* argv[] = {name, nullptr};
    QApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("XDG_DATA_HOME", home.path().toLocal8Bit());
    QApplication::setApplicationName(QStringLiteral("Zorv Label"));
    QApplication::setOrganizationName(QStringLiteral("Zorv"));
    Set_Message_Responder([](const MessageRequest& r) { return r.defaultButton; });
    App_Services().Terminate_Application_Hook = [](int) {};
    Install_Application_Services();
    const QString path = QDir(home.path()).filePath(QStringLiteral("values.txt"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 1;
        QByteArray chunk;
        for (int i = 0; i < rows; ++i) {
            chunk += "ZL" + QByteArray::number(i).rightJustified(8, '0') + '\n';
            if (chunk.size() > (1 << 20)) {
                f.write(chunk);
                chunk.clear();
            }
        }
        f.write(chunk);
    }
    long before = 0, after = 0;
    {
        LMNWindowController win;
        if (!win.startupSucceeded())
            return 1;
        win.resize(1366, 768);
        win.show();
        QApplication::processEvents();
        BarcodeListSide& side = *win.barcodeModeView()->listSide();
        before = Resident_Kb();
        Set_Modal_Runner([](QDialog& d) {
            if (auto* box = qobject_cast<Import_From_Txt_File*>(&d)) {
                box->chk_value->setChecked(true);
                box->OKPressed();
            }
            return d.result();
        });
        side.transfer().chooseImportFile = [path] { return path; };
        side.Import_List_Button();
        QApplication::processEvents();
        Set_Modal_Runner(nullptr);
        after = Resident_Kb();
        std::printf("%ld %ld %d\n", before, after, side.list().count());
        std::fflush(stdout);
    }
    return 0;
}

QString Self_Path;

void BM_List_Memory(benchmark::State& state)
{
    const int rows = int(state.range(0));
    double listMb = 0, emptyMb = 0;
    for (auto _ : state) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(Self_Path, {QStringLiteral("--list-memory"), QString::number(rows)});
        if (!child.waitForFinished(600000) || child.exitCode() != 0) {
            state.SkipWithError("the window failed");
            break;
        }
        const QStringList out = QString::fromLatin1(child.readAllStandardOutput()).split(QLatin1Char(' '));
        if (out.size() < 3 || out[2].trimmed().toInt() != rows) {
            state.SkipWithError("not every row came in");
            break;
        }
        emptyMb = out[0].toDouble() / 1024.0;
        listMb = (out[1].toDouble() - out[0].toDouble()) / 1024.0;
    }
    state.counters["empty_window_MB"] = emptyMb;
    state.counters["list_MB"] = listMb;
    state.counters["bytes_per_row"] = listMb * 1024 * 1024 / rows;
}
BENCHMARK(BM_List_Memory)->Arg(1000000)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], "--list-memory") == 0)
        return List_Memory_Child(std::atoi(argv[2]));
    Self_Path = QString::fromLocal8Bit(argv[0]);
    window();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    Close_Bench_Window();
    return 0;
}
