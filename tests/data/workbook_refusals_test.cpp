// Workbooks refused at the edge of what is sound, each shown where the user
// meets it: a package with two entries of one name in any case, or with an
// entry whose data runs into the next entry's local header, is damage; the
// budget of a table read counts the workbook's texts and the blank rows
// before a row; the limits of the workbook's texts hold with the text that
// crosses them; and a workbook that fails to open lets go of its file and of
// its texts before anyone is told.
#include "barcode/generation/list_test_support.h"
#include "data/DataTestSupport.h"
#include "data/HeapPeak.h"
#include "data/HostileWorkbooks.h"
#include "data/ListImportMessages.h"
#include "data/barcodelist/ListDialogs.h"
#include "data/series/ExcelImport.h"
#include "data/series/SeriesTestSupport.h"
#include "fuzz/HostileFiles.h"
#include "platform/MessageSink.h"

#include <QCheckBox>

#include <ostream>

using namespace datatest;

namespace {

const QString kDamaged = QStringLiteral("The file is not a spreadsheet (.xlsx), or it is damaged (its directory is "
                                        "damaged: %1). Open it in your spreadsheet program, save it as .xlsx and "
                                        "try again.");

// The shared-strings part of `count` texts, each `bytes` letters long,
// followed by `tail` (its end tag included).
hostile::Part Shared_Texts(qint64 count, qint64 bytes, const QByteArray& tail = "</sst>")
{
    const QByteArray head = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                            "<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\">";
    return hostile::Part{hostile::kSharedPart, head, "<si><t>" + QByteArray(bytes, 'a') + "</t></si>", count, tail};
}

// A sheet part of `rows` repeated `times` times between `before` and `after`.
hostile::Part Sheet_Rows(const QByteArray& before, const QByteArray& rows, qint64 times, const QByteArray& after)
{
    return hostile::Part{hostile::kSheetPart, hostile::kSheetHead + before, rows, times, after + hostile::kSheetTail};
}

QString Made(const QTemporaryDir& dir, const QString& name, const hostile::Part& sheet, const hostile::Part& shared)
{
    const QString path = dir.filePath(name);
    EXPECT_TRUE(hostile::Make_Package(path, hostile::Workbook_With(sheet, shared)));
    return path;
}

// What the list's window keeps of a table read for it, the value taken
// from column A: two bytes a character and a row of its own.
Sheet_Keep Value_Kept()
{
    Sheet_Keep keep;
    keep.columns << 0;
    keep.bytesPerUnit = 2;
    keep.bytesPerRow = 16;
    return keep;
}

// The budget's refusal of a table, `what` naming the measure passed.
void Expect_Too_Large(const QString& error, const QString& what)
{
    EXPECT_TRUE(error.startsWith("The sheet 'Sheet1' is too large to read: ")) << error.toStdString();
    EXPECT_TRUE(error.contains(what)) << error.toStdString();
    EXPECT_TRUE(error.endsWith("Split it into smaller sheets or remove the columns you do not need, and try again."))
        << error.toStdString();
}

// ---- the directory records of a package, for editing them in place

quint32 Le(const QByteArray& b, qsizetype at, int bytes)
{
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i)
        v = v << 8 | quint8(b[at + i]);
    return v;
}

void Put32(QByteArray& b, qsizetype at, quint32 v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char((v >> (8 * i)) & 0xFF);
}

struct Record {
    QByteArray name;
    qsizetype at = 0;        // the directory record
    quint32 header = 0;      // its local header
    quint32 dataStart = 0;   // its packed data
};

std::vector<Record> Records(const QByteArray& bytes)
{
    std::vector<Record> records;
    const qsizetype end = bytes.lastIndexOf(QByteArray("PK\x05\x06", 4));
    for (qsizetype at = qsizetype(Le(bytes, end + 16, 4)); bytes.mid(at, 4) == QByteArray("PK\x01\x02", 4);) {
        Record r;
        const int nameBytes = int(Le(bytes, at + 28, 2));
        r.name = bytes.mid(at + 46, nameBytes);
        r.at = at;
        r.header = Le(bytes, at + 42, 4);
        r.dataStart = r.header + 30 + Le(bytes, r.header + 26, 2) + Le(bytes, r.header + 28, 2);
        records.push_back(r);
        at += 46 + nameBytes + qsizetype(Le(bytes, at + 30, 2)) + qsizetype(Le(bytes, at + 32, 2));
    }
    return records;
}

} // namespace

// Two entries whose names differ only in case are one name to the reader,
// which finds parts without regard to case: which of them it would take is
// chance, so the package is damage, in the workbook and the OpenDocument
// reader alike.
TEST(WorkbookRefusalsTest, TwoEntriesWhoseNamesDifferOnlyInCaseAreDamage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("cases.xlsx");
    ASSERT_TRUE(hostile_files::Write_Package(
        path, hostile_files::Workbook_Entries(hostile_files::Inline_Sheet("lower"), hostile_files::Shared_Part({}),
                                              {qMakePair(QStringLiteral("xl/worksheets/SHEET1.xml"),
                                                         hostile_files::Inline_Sheet("upper"))})));
    // Either of the two may be named.
    const QString expected = kDamaged.arg("two entries are named xl/worksheets/sheet1.xml");
    Xlsx_Workbook book;
    EXPECT_FALSE(book.open(path));
    EXPECT_EQ(book.lastError().compare(expected, Qt::CaseInsensitive), 0) << book.lastError().toStdString();
    EXPECT_EQ(book.sheetCount(), 0);

    // In the list's window: the message, and the list as it was.
    BarcodeListModel list;
    const std::vector<BarcodeRow> before = Three_Rows(list);
    const std::vector<Shown> shown = Import_Into_List(list, path);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown.front().text.compare(expected, Qt::CaseInsensitive), 0) << shown.front().text.toStdString();
    EXPECT_EQ(shown.front().open, 0);
    EXPECT_EQ(list.rows(), before);

    // Any two names: a part the reader never asks for as well.
    const QString other = dir.filePath("other.xlsx");
    ASSERT_TRUE(hostile_files::Write_Package(
        other, hostile_files::Workbook_Entries(hostile_files::Inline_Sheet("one"), hostile_files::Shared_Part({}),
                                               {qMakePair(QStringLiteral("docProps/Notes.xml"), QByteArray("<a/>")),
                                                qMakePair(QStringLiteral("docProps/notes.XML"), QByteArray("<b/>"))})));
    EXPECT_FALSE(book.open(other));
    EXPECT_EQ(book.lastError().compare(kDamaged.arg("two entries are named docProps/notes.xml"), Qt::CaseInsensitive), 0)
        << book.lastError().toStdString();

    // An OpenDocument spreadsheet whose content is entered in two cases.
    QList<QPair<QString, QByteArray>> ods;
    for (const PackagePart& p : Builtin_Ods_Template())
        ods << qMakePair(p.name, p.name == QLatin1String("content.xml")
                                     ? SpreadsheetWriter::ODS_Content_XML({{QStringLiteral("first")}})
                                     : p.bytes);
    ods << qMakePair(QStringLiteral("Content.XML"), SpreadsheetWriter::ODS_Content_XML({{QStringLiteral("second")}}));
    const QString odsPath = dir.filePath("cases.ods");
    ASSERT_TRUE(hostile_files::Write_Package(odsPath, ods));
    QString error;
    EXPECT_TRUE(SpreadsheetWriter::ReadODS(odsPath, &error).isEmpty());
    EXPECT_EQ(error.compare("The file is not an OpenDocument spreadsheet or it is damaged. Its directory is damaged: "
                            "two entries are named content.xml.",
                            Qt::CaseInsensitive),
              0)
        << error.toStdString();
}

// A directory record whose packed size reaches past the end of its data
// into the local header of the entry that follows it: the two records
// overlap, as in packages made to unpack one stretch of bytes twice. Damage,
// whether it reaches one byte into the header, into its name or up to the
// next entry's data; the sound package (the data ending where the next
// header begins) reads.
TEST(WorkbookRefusalsTest, AnEntryWhoseDataRunsIntoTheNextLocalHeaderIsDamage)
{
    QTemporaryDir dir;
    const QString sound = dir.filePath("sound.xlsx");
    ASSERT_TRUE(hostile_files::Write_Package(
        sound, hostile_files::Workbook_Entries(hostile_files::Inline_Sheet("kept"), hostile_files::Shared_Part({}))));
    const QByteArray bytes = Read_Bytes(sound);
    std::vector<Record> records = Records(bytes);
    ASSERT_GT(records.size(), 3u);
    std::sort(records.begin(), records.end(), [](const Record& a, const Record& b) { return a.header < b.header; });
    const auto sheet = std::find_if(records.begin(), records.end(),
                                    [](const Record& r) { return r.name == hostile_files::kSheetPart.toUtf8(); });
    ASSERT_NE(sheet, records.end());
    ASSERT_NE(sheet + 1, records.end()) << "the sheet is not the last entry";
    const Record& next = *(sheet + 1);
    const quint32 headerBytes = next.dataStart - next.header;
    ASSERT_GT(headerBytes, 30u + 4u);

    Xlsx_Workbook book;
    ASSERT_TRUE(book.open(sound)) << book.lastError().toStdString();
    EXPECT_EQ(book.readSheet(1).cell(0, 0), "kept");
    book.close();

    const QString fault = QStringLiteral("the data of %1 runs into %2")
                              .arg(hostile_files::kSheetPart, QString::fromUtf8(next.name));
    // Bytes past the next entry's local header: its signature, its last
    // fixed byte, the first and last byte of its name.
    for (const quint32 into : {1u, 30u, 31u, headerBytes - 1}) {
        SCOPED_TRACE(into);
        QByteArray overlapping = bytes;
        const quint32 packed = next.header - sheet->dataStart + into;
        Put32(overlapping, sheet->at + 20, packed);      // the directory record
        Put32(overlapping, sheet->header + 18, packed);  // and the local header agree
        const QString path = dir.filePath(QStringLiteral("into%1.xlsx").arg(into));
        testsupport::touch(path, overlapping);

        EXPECT_FALSE(book.open(path));
        EXPECT_EQ(book.lastError(), kDamaged.arg(fault));

        // Unpacked, nothing is written.
        SSZipError error;
        const QString out = dir.filePath(QStringLiteral("out%1").arg(into));
        EXPECT_FALSE(SSZipArchive::unzipFileAtPath(path, out, true, QString(), &error));
        EXPECT_EQ(error.code, SSZipErrorData);
        EXPECT_EQ(error.description, QStringLiteral("The package's directory is damaged: %1.").arg(fault));
        EXPECT_FALSE(QFileInfo::exists(out));

        if (into == 1) {
            BarcodeListModel list;
            const std::vector<BarcodeRow> before = Three_Rows(list);
            EXPECT_EQ(Import_Into_List(list, path), std::vector<Shown>({{kDamaged.arg(fault), 0}}));
            EXPECT_EQ(list.rows(), before);
        }
    }
}

// The workbook's texts are held as long as a table read from it is: the
// budget of a table read counts them. A table the list's window could keep
// beside small texts is refused beside 64 MB of them.
TEST(WorkbookRefusalsTest, TheTableBudgetCountsTheWorkbooksTexts)
{
    QTemporaryDir dir;
    // 90 rows of one cell, each the first text of the workbook (1 MB): the
    // list would keep 180 MB of it.
    const hostile::Part sheet = Sheet_Rows("", "<row><c t=\"s\"><v>0</v></c></row>", 90, "");
    const QString small = Made(dir, "small.xlsx", sheet, Shared_Texts(1, 1 << 20));
    const QString large = Made(dir, "large.xlsx", sheet, Shared_Texts(64, 1 << 20));

    Xlsx_Workbook book;
    ASSERT_TRUE(book.open(small)) << book.lastError().toStdString();
    const Sheet_Cells table = book.readSheet(1, {}, Value_Kept());
    EXPECT_TRUE(book.lastError().isEmpty()) << book.lastError().toStdString();
    EXPECT_EQ(table.rowCount(), 90);
    book.close();

    ASSERT_TRUE(book.open(large)) << book.lastError().toStdString();
    EXPECT_EQ(book.sharedStringCount(), 64);
    EXPECT_TRUE(book.readSheet(1, {}, Value_Kept()).isEmpty());
    Expect_Too_Large(book.lastError(), "MB of memory, more than the 224 MB a table can take");
    book.close();

    // In the list's window: the refusal, told once the workbook is let go,
    // and the list as it was.
    BarcodeListModel list;
    const std::vector<BarcodeRow> before = Three_Rows(list);
    const std::vector<Shown> shown = Import_Into_List(list, large);
    ASSERT_EQ(shown.size(), 1u);
    Expect_Too_Large(shown.front().text, "MB of memory, more than the 224 MB a table can take");
    EXPECT_EQ(shown.front().open, 0);
    EXPECT_EQ(list.rows(), before);
}

// Blank rows before a row with a text become rows of the table: the
// budget counts them among its cells (rows by columns) and its memory.
TEST(WorkbookRefusalsTest, TheTableBudgetCountsTheBlankRowsBeforeARow)
{
    QTemporaryDir dir;
    const QByteArray wide = "<row>" + QByteArray("<c><v>1</v></c>").repeated(9) + "</row>";
    const QByteArray blank = QByteArray("<row/>").repeated(100'000);

    // Cells: 800,000 blank rows and a row of nine: 7,200,009 cells, read.
    Xlsx_Workbook book;
    ASSERT_TRUE(book.open(Made(dir, "fits.xlsx", Sheet_Rows("", blank, 8, wide), hostile::Small_Shared())));
    const Sheet_Cells fits = book.readSheet(1);
    EXPECT_TRUE(book.lastError().isEmpty()) << book.lastError().toStdString();
    EXPECT_EQ(fits.rowCount(), 800'001);
    EXPECT_EQ(fits.cell(800'000, 8), "1");
    book.close();
    // A million blank rows and a row of nine: 9,000,009 cells, refused,
    // in the list's window too, with the list as it was.
    const QString tall = Made(dir, "tall.xlsx", Sheet_Rows("", blank, 10, wide), hostile::Small_Shared());
    ASSERT_TRUE(book.open(tall));
    EXPECT_TRUE(book.readSheet(1).isEmpty());
    Expect_Too_Large(book.lastError(), "cells (rows by columns), more than the 8,000,000 a table can have");
    book.close();
    BarcodeListModel list;
    const std::vector<BarcodeRow> before = Three_Rows(list);
    const std::vector<Shown> shown = Import_Into_List(list, tall);
    ASSERT_FALSE(shown.empty());
    Expect_Too_Large(shown.front().text, "cells (rows by columns), more than the 8,000,000 a table can have");
    EXPECT_EQ(list.rows(), before);

    // Memory: 73 rows of a text of 1 MB, kept by the list, come to 1 MB
    // below the budget; a million blank rows before the last take 4 MB.
    const QByteArray text = "<row><c t=\"inlineStr\"><is><t>" + QByteArray(1 << 20, 'a') + "</t></is></c></row>";
    ASSERT_TRUE(book.open(Made(dir, "below.xlsx", Sheet_Rows("", text, 73, ""), hostile::Small_Shared())));
    EXPECT_EQ(book.readSheet(1, {}, Value_Kept()).rowCount(), 73) << book.lastError().toStdString();
    book.close();
    ASSERT_TRUE(book.open(Made(dir, "past.xlsx", Sheet_Rows("", text, 72, blank.repeated(10) + text),
                               hostile::Small_Shared())));
    EXPECT_TRUE(book.readSheet(1, {}, Value_Kept()).isEmpty());
    Expect_Too_Large(book.lastError(), "MB of memory, more than the 224 MB a table can take");
}

// The workbook's texts are limited in number and in bytes; the text that
// would pass either limit is refused, the one that reaches it is read.
TEST(WorkbookRefusalsTest, TheLimitsOfTheWorkbooksTextsHoldWithTheTextThatCrossesThem)
{
    QTemporaryDir dir;
    const hostile::Part sheet = hostile::Small_Sheet();
    Xlsx_Workbook book;

    // 8,000,000 texts: read. One more: refused.
    const QByteArray empty = QByteArray("<si/>").repeated(200'000);
    hostile::Part count = Shared_Texts(0, 0);
    count.body = empty;
    count.times = 40;
    ASSERT_TRUE(book.open(Made(dir, "count.xlsx", sheet, count))) << book.lastError().toStdString();
    EXPECT_EQ(book.sharedStringCount(), Max_Shared_Strings);
    book.close();
    count.tail = "<si/></sst>";
    EXPECT_FALSE(book.open(Made(dir, "count1.xlsx", sheet, count)));
    EXPECT_EQ(book.lastError(), "The workbook holds more than 8,000,000 texts, more than can be read. Split it into "
                                "smaller workbooks and try again.");

    // 128 texts of 1 MB, 128 MB: read. A text of one letter more: refused.
    ASSERT_TRUE(book.open(Made(dir, "bytes.xlsx", sheet, Shared_Texts(128, 1 << 20))))
        << book.lastError().toStdString();
    EXPECT_EQ(book.sharedStringCount(), 128);
    EXPECT_EQ(book.sharedString(127).size(), 1 << 20);
    book.close();
    const QString over = Made(dir, "bytes1.xlsx", sheet, Shared_Texts(128, 1 << 20, "<si><t>b</t></si></sst>"));
    const QString refusal = QStringLiteral("The texts of the workbook are larger than 128 MB, more than can be read. "
                                           "Split it into smaller workbooks and try again.");
    EXPECT_FALSE(book.open(over));
    EXPECT_EQ(book.lastError(), refusal);

    // In the list's window: the refusal, with the list as it was.
    BarcodeListModel list;
    const std::vector<BarcodeRow> before = Three_Rows(list);
    EXPECT_EQ(Import_Into_List(list, over), std::vector<Shown>({{refusal, 0}}));
    EXPECT_EQ(list.rows(), before);
}

// A workbook refused after its package was opened (its workbook part or
// its texts damaged, no sheet in it, an OpenDocument package) lets go of
// the file and of the texts it read before the refusal is told: the
// reader holds no descriptor and no memory of it, the user may replace
// the file and open it again, and the windows that tell the refusal hold
// nothing of the file while they do.
TEST(WorkbookRefusalsTest, AWorkbookThatFailsToOpenLetsGoOfItsFileAndItsTexts)
{
    ASSERT_TRUE(heappeak::Counting());
    QTemporaryDir dir;
    const QByteArray cell = hostile_files::Inline_Sheet("sound");
    QList<QPair<QString, QByteArray>> noSheet;
    for (const auto& e : hostile_files::Workbook_Entries(cell, hostile_files::Shared_Part({})))
        if (e.first != hostile_files::kSheetPart && !e.first.startsWith("xl/workbook.xml"))
            noSheet << e;
    QList<QPair<QString, QByteArray>> ods;
    for (const PackagePart& p : Builtin_Ods_Template())
        ods << qMakePair(p.name, p.bytes);
    QList<QPair<QString, QByteArray>> workbookPart;
    for (auto e : hostile_files::Workbook_Entries(cell, hostile_files::Shared_Part({}))) {
        if (e.first == QLatin1String("xl/workbook.xml"))
            e.second.chop(12);  // its end cut off
        workbookPart << e;
    }

    struct Case {
        const char* name;
        std::function<bool(const QString&)> write;
        QString refusal;  // how it begins
    };
    const std::vector<Case> cases = {
        // 64 MB of texts read, then markup that does not close.
        {"texts.xlsx",
         [&](const QString& path) {
             return hostile::Make_Package(path, hostile::Workbook_With(hostile::Small_Sheet(),
                                                                       Shared_Texts(64, 1 << 20, "<si><t>x</si></sst>")));
         },
         "The texts of the workbook are damaged ("},
        {"workbook.xlsx", [&](const QString& path) { return hostile_files::Write_Package(path, workbookPart); },
         "The workbook is damaged: its part xl/workbook.xml cannot be read ("},
        {"nosheet.xlsx", [&](const QString& path) { return hostile_files::Write_Package(path, noSheet); },
         "The file is not a spreadsheet (.xlsx), or it is damaged (it holds no worksheet)."},
        {"content.xlsx", [&](const QString& path) { return hostile_files::Write_Package(path, ods); },
         "OpenDocument spreadsheets (.ods) cannot be read here"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(c.name);
        ASSERT_TRUE(c.write(path));

        // The reader, alive after the refusal.
        Xlsx_Workbook book;
        const qint64 held = heappeak::Current();
        EXPECT_FALSE(book.open(path));
        EXPECT_TRUE(book.lastError().startsWith(c.refusal)) << book.lastError().toStdString();
        EXPECT_FALSE(book.isOpen());
        EXPECT_EQ(testsupport::Open_Descriptors_On(path), 0);
        EXPECT_LT(heappeak::Current() - held, qint64(1) << 20);
        // The user mends the file where it lies and tries again.
        const QString aside = path + QStringLiteral(".refused");
        ASSERT_TRUE(QFile::rename(path, aside));
        ASSERT_TRUE(hostile_files::Write_Package(path, hostile_files::Workbook_Entries(cell, hostile_files::Shared_Part({}))));
        ASSERT_TRUE(book.open(path)) << book.lastError().toStdString();
        EXPECT_EQ(book.readSheet(1).cell(0, 0), "sound");
        book.close();
        ASSERT_TRUE(QFile::remove(path));
        ASSERT_TRUE(QFile::rename(aside, path));

        // The windows: the list's, the series import's and the value
        // list's; each tells the refusal with the file let go.
        BarcodeListModel list;
        const std::vector<BarcodeRow> before = Three_Rows(list);
        std::vector<Shown> shown = Import_Into_List(list, path);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_TRUE(shown.front().text.startsWith(c.refusal)) << shown.front().text.toStdString();
        EXPECT_EQ(shown.front().open, 0);
        EXPECT_EQ(list.rows(), before);
        EXPECT_EQ(testsupport::Open_Descriptors_On(path), 0);

        SeriesFolder folder;
        FakeMainWindow window;
        {
            Import_Excel_DataSheet series;
            shown = Messages_While(path, [&] { EXPECT_FALSE(series.Reset_Controls(path)); });
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_TRUE(shown.front().text.startsWith(c.refusal)) << shown.front().text.toStdString();
            EXPECT_EQ(shown.front().open, 0);
            EXPECT_EQ(testsupport::Open_Descriptors_On(path), 0);
        }
        {
            Import_Excel values;
            shown = Messages_While(path, [&] { EXPECT_FALSE(values.Reset_Controls(path)); });
            ASSERT_EQ(shown.size(), 1u);
            EXPECT_EQ(shown.front().open, 0);
            EXPECT_EQ(testsupport::Open_Descriptors_On(path), 0);
        }
        // The reader the import windows share.
        SpreadsheetWriter::ReadWorkbook(path, true);
        EXPECT_TRUE(SpreadsheetWriter::spreadsheet()->lastError.startsWith(c.refusal));
        EXPECT_EQ(testsupport::Open_Descriptors_On(path), 0);
    }
}
