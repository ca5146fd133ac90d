// Reading and writing workbooks.
// Goals: a workbook of 100,000 rows by 5 columns read into a table in at
// most 0.3 s with a peak of at most 100 MB (peak_MB, the resident size's
// high-water mark above where the read began) and written in under 1 s; one
// of 1,000,000 rows by 5 columns read into a table within 250 MB; each of
// the three small hostile workbooks (parts unpacking to about 250 MB)
// refused or read within 2 s and 300 MB; a workbook of 1,000,000 rows our
// writer wrote streamed back row by row (figures only).
#include "core/util/Helpers.h"
#include "data/HostileWorkbooks.h"
#include "data/Spreadsheet.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <malloc.h>
#include <string>

namespace {

// Rows of five columns: a name, a number, a code with leading zeros (a
// text), a city and a price.
void Five_Columns(qsizetype r, QStringList& out)
{
    if (r == 0) {
        out = {"Name", "Number", "Code", "City", "Price"};
        return;
    }
    --r;
    out = {QStringLiteral("Customer %1").arg(r), QString::number(r), QStringLiteral("00%1").arg(r),
           QStringLiteral("東京 %1").arg(r % 97), QStringLiteral("%1.25").arg(r % 1000)};
}

SheetTable Big_Table()
{
    SheetTable t;
    t.reserve(100001);
    for (qsizetype r = 0; r <= 100000; ++r) {
        QStringList row;
        Five_Columns(r, row);
        t << row;
    }
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
    // What earlier work freed goes back to the system first, so the read
    // measured cannot hide in it.
    malloc_trim(0);
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
        const Sheet_Cells rows = book.readSheet(1);
        if (rows.rowCount() != 100001 || rows.columnCount() != 5 || rows.cell(100000, 2) != "0099999")
            state.SkipWithError("wrong table");
        benchmark::DoNotOptimize(rows);
        state.PauseTiming();
        peak = std::max(peak, Peak_MB() - base);
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_ReadWorkbook_100k_x5)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_ReadWorkbook_1M_x5(benchmark::State& state)
{
    const QString path = Folder().filePath("million5.xlsx");
    SpreadsheetWriter::WriteWorkbook(path, Sheet_Row_Source{1000001, Five_Columns});
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Reset_Peak();
        const double base = Peak_MB();
        state.ResumeTiming();
        Xlsx_Workbook book;
        if (!book.open(path))
            state.SkipWithError("open failed");
        const Sheet_Cells rows = book.readSheet(1);
        if (rows.rowCount() != 1000001 || rows.columnCount() != 5 || rows.cell(1000000, 0) != "Customer 999999")
            state.SkipWithError("wrong table");
        benchmark::DoNotOptimize(rows);
        state.counters["stored_MB"] = double(rows.storedBytes()) / (1 << 20);
        state.PauseTiming();
        peak = std::max(peak, Peak_MB() - base);
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peak;
    state.counters["file_MB"] = double(QFile(path).size()) / (1 << 20);
}
BENCHMARK(BM_ReadWorkbook_1M_x5)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_ReadHostileWorkbook(benchmark::State& state)
{
    const hostile::Hostile_Workbook book = hostile::Hostile_Workbooks().at(size_t(state.range(0)));
    state.SetLabel(book.name);
    const QString path = Folder().filePath(QStringLiteral("hostile%1.xlsx").arg(state.range(0)));
    if (!hostile::Make_Package(path, book.parts))
        state.SkipWithError("cannot make the workbook");
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Reset_Peak();
        const double base = Peak_MB();
        state.ResumeTiming();
        Xlsx_Workbook reader;
        if (reader.open(path)) {
            benchmark::DoNotOptimize(reader.readHeader(1));
            benchmark::DoNotOptimize(reader.readSheet(1));
        }
        if (!reader.lastError().startsWith(QLatin1String(book.refusal)))
            state.SkipWithError("not refused as it should be");
        state.PauseTiming();
        peak = std::max(peak, Peak_MB() - base);
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peak;
    state.counters["file_MB"] = double(QFile(path).size()) / (1 << 20);
}
BENCHMARK(BM_ReadHostileWorkbook)->DenseRange(0, 2)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ReadWorkbook_1M_Rows(benchmark::State& state)
{
    const QString path = Folder().filePath("million.xlsx");
    const auto cells = [](qsizetype r, QStringList& out) {
        if (r == 0) {
            out = {"Barcode Value", "Barcode Header", "Barcode Footer", "Print Quantity"};
            return;
        }
        out = {QStringLiteral("ZL%1").arg(r, 8, 10, QLatin1Char('0')), QStringLiteral("Header %1").arg(r),
               QStringLiteral("Footer %1").arg(r % 97), QString::number(1 + r % 9)};
    };
    SpreadsheetWriter::WriteWorkbook(path, Sheet_Row_Source{1000001, cells});
    double peak = 0;
    for (auto _ : state) {
        state.PauseTiming();
        Reset_Peak();
        const double base = Peak_MB();
        state.ResumeTiming();
        Xlsx_Workbook book;
        qint64 rows = 0;
        if (!book.open(path) || !book.readRows(1, [&rows](QStringList&) {
                ++rows;
                return true;
            }) || rows != 1000001)
            state.SkipWithError("wrong table");
        state.PauseTiming();
        peak = std::max(peak, Peak_MB() - base);
        state.ResumeTiming();
    }
    state.counters["peak_MB"] = peak;
    state.counters["file_MB"] = double(QFile(path).size()) / (1 << 20);
}
BENCHMARK(BM_ReadWorkbook_1M_Rows)->Unit(benchmark::kMillisecond)->Iterations(2);

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
