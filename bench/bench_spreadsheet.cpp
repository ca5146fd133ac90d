// Reading and writing a workbook of 100,000 rows by 5 columns.
// Goals: each under 1 s; the read's peak memory under 300 MB (peak_MB).
#include "core/util/Helpers.h"
#include "data/Spreadsheet.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <string>

namespace {

SheetTable Big_Table()
{
    SheetTable t;
    t.reserve(100001);
    t << QStringList({"Name", "Number", "Code", "City", "Price"});
    for (int r = 0; r < 100000; ++r)
        t << QStringList({QStringLiteral("Customer %1").arg(r), QString::number(r), QStringLiteral("00%1").arg(r),
                          QStringLiteral("東京 %1").arg(r % 97), QStringLiteral("%1.25").arg(r % 1000)});
    return t;
}

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
    std::ofstream("/proc/self/clear_refs") << "5";
}

QTemporaryDir& Folder()
{
    static QTemporaryDir dir;
    return dir;
}

void BM_WriteWorkbook_100k_x5(benchmark::State& state)
{
    const SheetTable table = Big_Table();
    const QString path = Folder().filePath("write.xlsx");
    for (auto _ : state) {
        if (!SpreadsheetWriter::WriteWorkbook(path, table, true))
            state.SkipWithError("write failed");
    }
    state.counters["file_MB"] = double(QFile(path).size()) / (1 << 20);
}
BENCHMARK(BM_WriteWorkbook_100k_x5)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadWorkbook_100k_x5(benchmark::State& state)
{
    const QString path = Folder().filePath("read.xlsx");
    SpreadsheetWriter::WriteWorkbook(path, Big_Table(), true);
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Reset_Peak();
        const double base = Peak_MB();
        state.ResumeTiming();
        Xlsx_Workbook book;
        if (!book.open(path))
            state.SkipWithError("open failed");
        const SheetTable rows = book.readSheet(1);
        if (rows.size() != 100001 || rows.last().size() != 5)
            state.SkipWithError("wrong table");
        benchmark::DoNotOptimize(rows);
        state.PauseTiming();
        peak = std::max(peak, Peak_MB() - base);
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_ReadWorkbook_100k_x5)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Init_Program_Paths();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
