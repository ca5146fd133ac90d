// Workbooks read as streams: small files whose parts unpack to hundreds of
// megabytes are refused within bounded memory (the peak counted at the
// allocator), a million rows our writer wrote read back cell for cell,
// nothing lands in the temporary folder while a workbook is read, and the
// files the reader refuses say what to do about them.
#include "data/DataTestSupport.h"
#include "data/HeapPeak.h"
#include "data/ZipPackage.h"

#include <QDirIterator>

#include <zlib.h>

extern "C" {
#include <minizip/zip.h>
}

using namespace datatest;

namespace {

// A part of a package: `head`, then `body` `times` times, then `tail`.
struct Part {
    QString name;
    QByteArray head;
    QByteArray body;
    qint64 times = 0;
    QByteArray tail;
};

// A body of whole repeats of `pattern`, about a megabyte long.
QByteArray Megabyte_Of(const QByteArray& pattern)
{
    return pattern.repeated((1 << 20) / pattern.size());
}

// The part whose unpacked size is about `bytes`.
Part Repeated(const QString& name, const QByteArray& head, const QByteArray& pattern, qint64 bytes,
              const QByteArray& tail)
{
    const QByteArray body = Megabyte_Of(pattern);
    return Part{name, head, body, bytes / body.size(), tail};
}

// Writes the package. Each piece is deflated once, ending in a full flush
// after which the compressor starts afresh, so the compressed bytes of the
// body are the same for every repeat: hundreds of megabytes of part take a
// few hundred kilobytes and a moment to make.
bool Make_Package(const QString& path, const QList<Part>& parts)
{
    zipFile zf = zipOpen64(QFile::encodeName(path).constData(), APPEND_STATUS_CREATE);
    if (!zf)
        return false;
    bool ok = true;
    for (const Part& p : parts) {
        z_stream z{};
        if (deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY) != Z_OK)
            return false;
        std::vector<unsigned char> out(size_t(4) << 20);
        auto squeeze = [&](const QByteArray& in, int flush) {
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(in.constData()));
            z.avail_in = uInt(in.size());
            QByteArray result;
            do {
                z.next_out = out.data();
                z.avail_out = uInt(out.size());
                deflate(&z, flush);
                result.append(reinterpret_cast<const char*>(out.data()), qsizetype(out.size() - z.avail_out));
            } while (z.avail_out == 0);
            return result;
        };
        const QByteArray head = squeeze(p.head, Z_FULL_FLUSH);
        const QByteArray body = p.times > 0 ? squeeze(p.body, Z_FULL_FLUSH) : QByteArray();
        const QByteArray tail = squeeze(p.tail, Z_FINISH);
        deflateEnd(&z);
        auto crcOf = [](const QByteArray& b) {
            return crc32(0, reinterpret_cast<const Bytef*>(b.constData()), uInt(b.size()));
        };
        uLong crc = crcOf(p.head);
        const uLong bodyCrc = crcOf(p.body);
        for (qint64 i = 0; i < p.times; ++i)
            crc = crc32_combine64(crc, bodyCrc, p.body.size());
        crc = crc32_combine64(crc, crcOf(p.tail), p.tail.size());
        const qint64 size = p.head.size() + p.times * p.body.size() + p.tail.size();
        zip_fileinfo zi{};
        const QByteArray name = p.name.toUtf8();
        ok = ok
            && zipOpenNewFileInZip2_64(zf, name.constData(), &zi, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED, 9, 1, 1)
                == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zf, head.constData(), unsigned(head.size())) == ZIP_OK;
        for (qint64 i = 0; ok && i < p.times; ++i)
            ok = zipWriteInFileInZip(zf, body.constData(), unsigned(body.size())) == ZIP_OK;
        ok = ok && zipWriteInFileInZip(zf, tail.constData(), unsigned(tail.size())) == ZIP_OK;
        ok = ok && zipCloseFileInZipRaw64(zf, ZPOS64_T(size), crc) == ZIP_OK;
    }
    return zipClose(zf, nullptr) == ZIP_OK && ok;
}

// The parts of a one-sheet workbook with the given sheet and shared strings.
QList<Part> Workbook_With(const Part& sheet, const Part& shared)
{
    QList<Part> parts;
    for (const PackagePart& p : Builtin_Xlsx_Template()) {
        if (p.name == sheet.name)
            parts << sheet;
        else if (p.name == shared.name)
            parts << shared;
        else
            parts << Part{p.name, p.bytes, {}, 0, {}};
    }
    return parts;
}

const QByteArray kSheetHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                              "<worksheet xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"><sheetData>";
const QByteArray kSheetTail = "</sheetData></worksheet>";
const QString kSheetPart = QStringLiteral("xl/worksheets/sheet1.xml");
const QString kSharedPart = QStringLiteral("xl/sharedStrings.xml");
constexpr qint64 kUnpacked = 250'000'000;

Part Small_Sheet()
{
    return Part{kSheetPart, kSheetHead + "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>" + kSheetTail, {}, 0, {}};
}

Part Small_Shared()
{
    return Part{kSharedPart, SpreadsheetWriter::Shared_Strings_XML({"one"}), {}, 0, {}};
}

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
    const struct {
        const char* name;
        QList<Part> parts;
        const char* refusal;
    } cases[] = {
        {"fifty million empty shared strings",
         Workbook_With(Small_Sheet(),
                       Repeated(kSharedPart,
                                "<?xml version=\"1.0\"?><sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">",
                                "<si/>", kUnpacked, "</sst>")),
         "The workbook holds more than 8,000,000 texts"},
        {"one row of very many cells",
         Workbook_With(Repeated(kSheetPart, kSheetHead + "<row r=\"1\">", "<c/>", kUnpacked, "</row>" + kSheetTail),
                       Small_Shared()),
         "The sheet 'Sheet1' is damaged: it holds cells beyond column XFD"},
        {"forty-one million empty rows",
         Workbook_With(Repeated(kSheetPart, kSheetHead, "<row/>", kUnpacked, kSheetTail), Small_Shared()),
         "The sheet 'Sheet1' is damaged: it has more than 1,048,576 rows"},
    };
    for (const auto& c : cases) {
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

        Heap_Peak peak;
        Xlsx_Workbook book;
        SheetTable header, table;
        if (book.open(path)) {
            header = book.readHeader(1);
            table = book.readSheet(1);
        }
        const QString error = book.lastError();
        book.close();
        const double mb = peak.megabytes();
        RecordProperty(c.name, std::to_string(mb) + " MB");
        EXPECT_LT(mb, 300.0);
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
