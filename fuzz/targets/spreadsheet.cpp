// Spreadsheets (.xlsx): opened, every sheet and its header read (also with
// what a window keeps of it counted in the budget).
#include "data/Spreadsheet.h"
#include "fuzz/FuzzSupport.h"

#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("book.xlsx"));
    {
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(Fuzz_Bytes(data, size));
    }
    Xlsx_Workbook book;
    if (!book.open(path))
        return 0;
    for (qint64 i = 0; i < std::min<qint64>(book.sharedStringCount(), 64); ++i)
        (void)book.sharedString(i);
    const int sheets = std::min(book.sheetCount(), 8);
    for (int n = 1; n <= sheets; ++n) {
        const Sheet_Cells table = book.readSheet(n);
        Fuzz_Check(qint64(table.rowCount()) * table.columnCount() <= Max_Sheet_Cells, "a table keeps the cell limit");
        Fuzz_Check(table.storedBytes() <= Max_Table_Stored_Bytes + (qint64(16) << 20), "a table keeps its budget");
        for (qsizetype r = 0; r < std::min<qsizetype>(table.rowCount(), 64); ++r)
            Fuzz_Check(table.row(r).size() == table.columnCount(), "a row is as wide as its table");
        // As the list's window reads it: the column taken twice, its texts
        // counted as the list will keep them.
        Sheet_Keep keep;
        keep.columns = {0, 0};
        keep.bytesPerUnit = 2;
        keep.bytesPerRow = 16;
        const Sheet_Cells kept = book.readSheet(n, {}, keep);
        Fuzz_Check(kept.isEmpty() || kept.rowCount() == table.rowCount(), "what the caller keeps only refuses");
        (void)book.readHeader(n);
        qint64 rows = 0;
        book.readRows(n, [&rows](QStringList& row) {
            Fuzz_Check(row.size() <= Max_Sheet_Columns, "a row keeps the column limit");
            return ++rows < 1000;
        });
    }
    return 0;
}
