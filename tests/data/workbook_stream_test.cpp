// Workbooks read as streams: small files whose parts unpack to hundreds of
// megabytes are refused within bounded memory (the peak counted at the
// allocator) and time, a million rows our writer wrote read back cell for cell,
// nothing lands in the temporary folder while a workbook is read, and the
// files the reader refuses say what to do about them.
#include "data/DataTestSupport.h"
#include "data/HeapPeak.h"
#include "data/HostileWorkbooks.h"
#include "data/ZipPackage.h"

#include <QDirIterator>

using namespace datatest;
using namespace hostile;

namespace {

// The process's temporary folder made a private, empty one for a while.
class Private_Temp {
public:
    Private_Temp() : m_old(qgetenv("TMPDIR")) { qputenv("TMPDIR", QFile::encodeName(m_dir.path())); }
    ~Private_Temp()
    {
        if (m_old.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", m_old);
    }
    QStringList entries() const
    {
        QStringList out;
        QDirIterator it(m_dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            out << it.next();
        return out;
    }
    QString path() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QByteArray m_old;
};

} // namespace

TEST(WorkbookStreamTest, SmallHostileWorkbooksAreRefusedWithinBoundedMemory)
{
    ASSERT_TRUE(heappeak::Counting());
    QTemporaryDir dir;
    for (const Hostile_Workbook& c : Hostile_Workbooks()) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name) + ".xlsx");
        ASSERT_TRUE(Make_Package(path, c.parts));
        // Small on disk, a quarter of a gigabyte unpacked.
        EXPECT_LT(QFileInfo(path).size(), 1 << 20);
        Zip_Package zip;
        ASSERT_TRUE(zip.open(path));
        qint64 unpacked = 0;
        for (const Zip_Package_Entry& e : zip.entries())
            unpacked += e.size;
        zip.close();
        EXPECT_GT(unpacked, 240'000'000);

        Cpu_Clock clock;
        Heap_Peak peak;
        Xlsx_Workbook book;
        SheetTable header;
        Sheet_Cells table;
        if (book.open(path)) {
            header = book.readHeader(1);
            table = book.readSheet(1);
        }
        const QString error = book.lastError();
        book.close();
        const double mb = peak.megabytes();
        const qint64 ms = clock.milliseconds();
        RecordProperty(c.name, std::to_string(mb) + " MB, " + std::to_string(ms) + " ms");
        EXPECT_LT(mb, 300.0);
        EXPECT_LT(ms, Time_Bound_Ms(2000));
        EXPECT_TRUE(header.isEmpty());
        EXPECT_TRUE(table.isEmpty());
        EXPECT_TRUE(error.startsWith(QLatin1String(c.refusal))) << error.toStdString();
        EXPECT_TRUE(error.contains("try again")) << error.toStdString();
    }

    // The OpenDocument reader keeps the same limits: a row of text repeated
    // across every column and down every row is refused, not built.
    const QByteArray content =
        "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
        " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
        " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:spreadsheet><table:table>"
        "<table:table-row table:number-rows-repeated=\"1048576\"><table:table-cell table:number-columns-repeated=\"16384\">"
        "<text:p>x</text:p></table:table-cell></table:table-row></table:table></office:spreadsheet></office:body>"
        "</office:document-content>";
    ASSERT_TRUE(Make_Zip(dir.filePath("many.ods"), {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                                                     {"content.xml", content}}));
    Heap_Peak peak;
    QString error;
    EXPECT_TRUE(SpreadsheetWriter::ReadODS(dir.filePath("many.ods"), &error).isEmpty());
    EXPECT_LT(peak.megabytes(), 300.0);
    EXPECT_TRUE(error.contains("too large")) << error.toStdString();
}

TEST(WorkbookStreamTest, AMillionRowsOurWriterWroteReadBackCellForCell)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("million.xlsx");
    constexpr qsizetype kRows = 1'000'000;
    const auto cells = [](qsizetype r, QStringList& out) {
        if (r == 0) {
            out = {"Barcode Value", "Barcode Header", "Barcode Footer", "Print Quantity"};
            return;
        }
        const QString n = QString::number(r);
        out = {QLatin1String("ZL") + n.rightJustified(8, QLatin1Char('0')), QLatin1String("Header & <") + n + QLatin1Char('>'),
               r % 7 == 0 ? QString() : QStringLiteral("Fuß ") + QString::number(r % 97), QString::number(1 + r % 999)};
    };
    QString error;
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, Sheet_Row_Source{kRows + 1, cells}, &error))
        << error.toStdString();

    Heap_Peak peak;
    Xlsx_Workbook book;
    ASSERT_TRUE(book.open(path)) << book.lastError().toStdString();
    qsizetype r = 0;
    int mismatches = 0;
    QStringList want;
    const bool read = book.readRows(1, [&](QStringList& row) {
        want.clear();
        cells(r, want);
        if (row != want && ++mismatches <= 5)
            ADD_FAILURE() << "row " << r << ": " << row.join(" | ").toStdString() << " for "
                          << want.join(" | ").toStdString();
        ++r;
        return true;
    });
    EXPECT_TRUE(read) << book.lastError().toStdString();
    EXPECT_EQ(r, kRows + 1);
    EXPECT_EQ(mismatches, 0);
    EXPECT_EQ(book.lastColumns(), 4);
    // Only the workbook's texts are held, never the sheet.
    EXPECT_LT(peak.megabytes(), 150.0);
    RecordProperty("peak", std::to_string(peak.megabytes()) + " MB");
}

TEST(WorkbookStreamTest, NothingIsWrittenToTheTemporaryFolderWhileReading)
{
    Private_Temp temp;
    ASSERT_EQ(QDir(QDir::tempPath()).canonicalPath(), QDir(temp.path()).canonicalPath());
    QStringList during;
    for (const char* name : {"lo_basic.xlsx", "lo_reordered.xlsx", "op_basic.xlsx", "lo_uppercase.xlsx"}) {
        SCOPED_TRACE(name);
        Xlsx_Workbook book;
        ASSERT_TRUE(book.open(Test_File(name)));
        for (int s = 1; s <= book.sheetCount(); ++s) {
            EXPECT_TRUE(book.readRows(s, [&](QStringList&) {
                during << temp.entries();
                return true;
            }));
            EXPECT_FALSE(book.readHeader(s).isEmpty());
        }
    }
    EXPECT_FALSE(SpreadsheetWriter::ReadODS(Test_File("lo_basic.ods")).isEmpty());
    EXPECT_TRUE(during.isEmpty()) << during.join(", ").toStdString();
    EXPECT_TRUE(temp.entries().isEmpty()) << temp.entries().join(", ").toStdString();
}

TEST(WorkbookStreamTest, FilesThatAreRefusedSayWhatToDo)
{
    QTemporaryDir dir;
    auto refusal = [](const QString& path) {
        Xlsx_Workbook book;
        EXPECT_FALSE(book.open(path)) << path.toStdString();
        return book.lastError();
    };
    // Saved with a password by a spreadsheet program: an encrypted package.
    EXPECT_EQ(refusal(Test_File("lo_password.xlsx")),
              "This workbook is protected by a password: save it without one and try again.");
    // An Excel 97-2003 file, whatever its name says.
    const QString oldExcel = "Old Excel files (.xls) cannot be read: save it as .xlsx and try again.";
    EXPECT_EQ(refusal(Test_File("lo_old.xls")), oldExcel);
    QFile::copy(Test_File("lo_old.xls"), dir.filePath("renamed.xlsx"));
    EXPECT_EQ(refusal(dir.filePath("renamed.xlsx")), oldExcel);
    // An OpenDocument spreadsheet.
    QFile::copy(Test_File("lo_basic.ods"), dir.filePath("ods.xlsx"));
    EXPECT_TRUE(refusal(dir.filePath("ods.xlsx")).startsWith("OpenDocument spreadsheets (.ods) cannot be read"));
    // Anything else.
    testsupport::touch(dir.filePath("text.xlsx"), "Code\n123\n");
    EXPECT_TRUE(refusal(dir.filePath("text.xlsx")).startsWith("The file is not a spreadsheet (.xlsx)"));

    // Damaged texts of the workbook, and a damaged sheet named by its name.
    ASSERT_TRUE(Make_Zip(dir.filePath("texts.xlsx"), Workbook_Parts(Sheet_Xml(""), "<sst><si><t>a</si></sst>")));
    EXPECT_TRUE(refusal(dir.filePath("texts.xlsx")).startsWith("The texts of the workbook are damaged"));
    auto parts = Workbook_Parts(Sheet_Xml("<row><c t=\"inlineStr\"><is><t>a</t></is></c></row><row>"));
    for (auto& p : parts)
        if (p.first == "xl/workbook.xml")
            p.second.replace("name=\"Sheet1\"", "name=\"Data\"");
    ASSERT_TRUE(Make_Zip(dir.filePath("sheet.xlsx"), parts));
    Xlsx_Workbook book;
    ASSERT_TRUE(book.open(dir.filePath("sheet.xlsx")));
    EXPECT_TRUE(book.readHeader(1).isEmpty());
    EXPECT_TRUE(book.lastError().startsWith("The sheet 'Data' is damaged: ")) << book.lastError().toStdString();
    EXPECT_TRUE(book.lastError().endsWith("save it again as .xlsx and try again."));
}
