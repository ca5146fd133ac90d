// Readers bounded per table, not only per cell: tiny files whose tables would
// take gigabytes (one long shared text used by thousands of cells, long
// inline texts, OpenDocument spaces repeated, element names of megabytes,
// tables at the legal cell limit) are read or refused within 300 MB (counted
// at the allocator) and 2 s, the refusal saying how large the table would be
// and what to do; in the windows that asked, with the list kept.
#include "barcode/generation/list_test_support.h"
#include "data/DataTestSupport.h"
#include "data/HeapPeak.h"
#include "data/HostileWorkbooks.h"
#include "data/XmlStream.h"
#include "data/ZipPackage.h"
#include "data/barcodelist/ListDialogs.h"
#include "data/series/BatchWizard.h"
#include "data/series/ExcelImport.h"
#include "data/series/SeriesTestSupport.h"
#include "fuzz/HostileFiles.h"
#include "platform/MessageSink.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTableView>

#include <cstdio>
#include <cstdlib>
#include <functional>

using namespace datatest;

namespace {

constexpr double kMaxMB = 300.0;
const qint64 kMaxMs = Time_Bound_Ms(2000);

const QByteArray kMegabyte(1 << 20, 'a');

// A workbook whose one shared text of 1 MB is used by `uses` cells, one a row.
QString Shared_Text_Used(const QTemporaryDir& dir, int uses)
{
    const QByteArray rows = QByteArray("<row><c t=\"s\"><v>0</v></c></row>").repeated(uses);
    const QString path = dir.filePath(QStringLiteral("shared%1.xlsx").arg(uses));
    EXPECT_TRUE(Make_Zip(path, Workbook_Parts(Sheet_Xml(rows), Shared_Xml({QString::fromLatin1(kMegabyte)}))));
    return path;
}

// What one read of a file cost and gave.
struct Cost {
    double mb = 0;
    qint64 ms = 0;
    QString error;
    qsizetype rows = 0;
    qint64 stored = 0;
};

// Opens the workbook and reads its first sheet as the list window does
// (header, then every row kept as strings) and as a table.
Cost Read_Workbook(const QString& path)
{
    Cost c;
    Cpu_Clock clock;
    Heap_Peak peak;
    {
        Xlsx_Workbook book;
        if (book.open(path)) {
            const SheetTable header = book.readHeader(1);
            QList<QStringList> kept;
            if (book.readRows(1, [&kept](QStringList& row) {
                    kept << row;
                    return true;
                })) {
                const Sheet_Cells table = book.readSheet(1);
                c.rows = table.rowCount();
                c.stored = table.storedBytes();
            }
        }
        c.error = book.lastError();
    }
    c.mb = peak.megabytes();
    c.ms = clock.milliseconds();
    return c;
}

void Expect_Bounded(const Cost& c)
{
    EXPECT_LT(c.mb, kMaxMB);
    EXPECT_LT(c.ms, kMaxMs);
}

void Expect_Budget_Refusal(const QString& error, const char* what)
{
    EXPECT_TRUE(error.startsWith("The sheet")) << error.toStdString();
    EXPECT_TRUE(error.contains("is too large to read: ")) << error.toStdString();
    EXPECT_TRUE(error.contains(what)) << error.toStdString();
    EXPECT_TRUE(error.endsWith("Split it into smaller sheets or remove the columns you do not need, and try again."))
        << error.toStdString();
}

} // namespace

TEST(TableBudgetTest, OneLongSharedTextUsedByThousandsOfCells)
{
    ASSERT_TRUE(heappeak::Counting());
    QTemporaryDir dir;
    // 5,000 uses of 1 MB: 5 GB as the user would receive it, from 3 KB.
    const QString five = Shared_Text_Used(dir, 5000);
    EXPECT_LT(QFileInfo(five).size(), 8 * 1024);
    const Cost c = Read_Workbook(five);
    RecordProperty("5000 uses", std::to_string(c.mb) + " MB");
    Expect_Bounded(c);
    Expect_Budget_Refusal(c.error, "its cells would hold about 4,");
    EXPECT_TRUE(c.error.contains("MB of text, more than the 100 MB a table can hold")) << c.error.toStdString();

    // 400 uses: refused as well, in as little.
    const Cost four = Read_Workbook(Shared_Text_Used(dir, 400));
    Expect_Bounded(four);
    Expect_Budget_Refusal(four.error, "MB of text");

    // 100 uses fit the budget: the table holds the text once, every cell
    // pointing at it, and rows made as strings share one copy.
    const QString hundred = Shared_Text_Used(dir, 100);
    const Cost h = Read_Workbook(hundred);
    Expect_Bounded(h);
    EXPECT_TRUE(h.error.isEmpty()) << h.error.toStdString();
    EXPECT_EQ(h.rows, 100);
    EXPECT_LT(h.stored, qint64(8) << 20);
    Xlsx_Workbook book;
    ASSERT_TRUE(book.open(hundred));
    QList<QStringList> kept;
    Heap_Peak rows;
    ASSERT_TRUE(book.readRows(1, [&kept](QStringList& row) {
        kept << row;
        return true;
    }));
    EXPECT_LT(rows.megabytes(), 16.0);
    ASSERT_EQ(kept.size(), 100);
    EXPECT_EQ(kept.first().first(), QString::fromLatin1(kMegabyte));
    EXPECT_TRUE(kept.first().first().isSharedWith(kept.last().first()));
}

TEST(TableBudgetTest, LongInlineTextsAndRepeatedSpaces)
{
    QTemporaryDir dir;
    // 200 inline texts of 1 MB each: 200 MB of text from a small file.
    const QString inlinePath = dir.filePath("inline.xlsx");
    ASSERT_TRUE(hostile::Make_Package(
        inlinePath, hostile::Workbook_With(hostile::Part{hostile::kSheetPart, hostile::kSheetHead,
                                                         "<row><c t=\"inlineStr\"><is><t>" + kMegabyte
                                                             + "</t></is></c></row>",
                                                         200, hostile::kSheetTail},
                                           hostile::Small_Shared())));
    EXPECT_LT(QFileInfo(inlinePath).size(), 512 * 1024);
    const Cost c = Read_Workbook(inlinePath);
    Expect_Bounded(c);
    Expect_Budget_Refusal(c.error, "MB of text, more than the 100 MB");
    RecordProperty("inline texts", std::to_string(c.mb) + " MB");

    // OpenDocument: a cell of 16 x 65,536 spaces written as <text:s>, in
    // 800 cells: 800 MB of text from a couple of kilobytes.
    const QByteArray cell = "<table:table-cell><text:p>" + QByteArray("<text:s text:c=\"65536\"/>").repeated(16)
        + "</text:p></table:table-cell>";
    const QByteArray content =
        "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
        " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
        " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:spreadsheet><table:table>"
        + QByteArray("<table:table-row>" + cell.repeated(8) + "</table:table-row>").repeated(100)
        + "</table:table></office:spreadsheet></office:body></office:document-content>";
    const QString ods = dir.filePath("spaces.ods");
    ASSERT_TRUE(Make_Zip(ods, {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"}, {"content.xml", content}}));
    EXPECT_LT(QFileInfo(ods).size(), 8 * 1024);
    Cpu_Clock clock;
    Heap_Peak peak;
    QString error;
    EXPECT_TRUE(SpreadsheetWriter::ReadODS(ods, &error).isEmpty());
    const Cost o{peak.megabytes(), clock.milliseconds(), error};
    Expect_Bounded(o);
    Expect_Budget_Refusal(error, "its cells would hold about 7");
    EXPECT_TRUE(error.contains("MB of text, more than the 100 MB")) << error.toStdString();
    RecordProperty("spaces", std::to_string(o.mb) + " MB");
}

// Element names of 16 MB are damage, refused as soon as a name passes 4 KB,
// however deep they are nested and whatever pieces they come in.
TEST(TableBudgetTest, ElementNamesOfMegabytesAreRefusedAtOnce)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("names.xlsx");
    // 48 elements nested, each named with 16 MB: 768 MB of part, a small file.
    const hostile::Part sheet{hostile::kSheetPart, hostile::kSheetHead + "<", QByteArray(16 << 20, 'n') + "><", 48,
                              "n/>" + hostile::kSheetTail};
    ASSERT_TRUE(hostile::Make_Package(path, hostile::Workbook_With(sheet, hostile::Small_Shared())));
    const Cost c = Read_Workbook(path);
    Expect_Bounded(c);
    EXPECT_TRUE(c.error.startsWith("The sheet 'Sheet1' is damaged: an element name is longer than 4 KB"))
        << c.error.toStdString();

    // The reader alone, fed 256 KB at a time: each nested element's name is
    // met once, never scanned again from its tag's start.
    class Counter : public Xml_Stream_Handler {
    public:
        int elements = 0;
        void startElement(const char*, const char**) override { ++elements; }
        void endElement(const char*) override {}
    } counter;
    Xml_Stream xml(counter);
    Cpu_Clock clock;
    Heap_Peak peak;
    const QByteArray piece(256 << 10, 'n');
    bool ok = xml.feed("<a><", 4);
    int fed = 0;
    while (ok && fed < 64) {
        ok = xml.feed(piece.constData(), piece.size());
        ++fed;
    }
    EXPECT_FALSE(ok);
    EXPECT_EQ(fed, 1);
    EXPECT_TRUE(xml.error().contains("an element name is longer than 4 KB")) << xml.error().toStdString();
    EXPECT_LT(peak.megabytes(), 8.0);

    // A long tag that is sound (a long attribute value) is scanned once:
    // 15 MB in pieces of 1 KB take no longer than a moment.
    Xml_Stream sound(counter);
    counter.elements = 0;
    const QByteArray value(1024, 'v');
    ok = sound.feed("<a b=\"", 6);
    for (int i = 0; ok && i < 15 * 1024; ++i)
        ok = sound.feed(value.constData(), value.size());
    ok = ok && sound.feed("\"/>", 3, true);
    EXPECT_TRUE(ok) << sound.error().toStdString();
    EXPECT_EQ(counter.elements, 1);
    EXPECT_LT(clock.milliseconds(), kMaxMs);
}

// A table at the legal cell limit is read, small as stored: eight million
// cells mostly empty, and a million rows of eight cells.
TEST(TableBudgetTest, TablesAtTheCellLimitAreReadCompactly)
{
    QTemporaryDir dir;
    // 488 rows from column A to XFD: 7,995,392 cells, two of each row with a text.
    const QString sparse = dir.filePath("sparse.xlsx");
    ASSERT_TRUE(Make_Zip(sparse, Workbook_Parts(Sheet_Xml(QByteArray("<row><c r=\"A1\"><v>1</v></c><c r=\"XFD1\"><v>2</v></c></row>")
                                                                .repeated(488)))));
    Cost c = Read_Workbook(sparse);
    Expect_Bounded(c);
    EXPECT_TRUE(c.error.isEmpty()) << c.error.toStdString();
    EXPECT_EQ(c.rows, 488);
    EXPECT_LT(c.stored, qint64(8) << 20);
    Xlsx_Workbook book;
    ASSERT_TRUE(book.open(sparse));
    const Sheet_Cells table = book.readSheet(1);
    EXPECT_EQ(table.columnCount(), 16384);
    EXPECT_EQ(table.cell(487, 16383), "2");
    EXPECT_EQ(table.cell(487, 100), "");
    EXPECT_EQ(table.row(3).size(), 16384);

    // A million rows of eight numbers: 8,000,000 cells.
    const QString dense = dir.filePath("dense.xlsx");
    const QByteArray row = "<row>" + QByteArray("<c><v>7</v></c>").repeated(8) + "</row>";
    const QByteArray body = row.repeated(10000);
    ASSERT_TRUE(hostile::Make_Package(
        dense, hostile::Workbook_With(hostile::Part{hostile::kSheetPart, hostile::kSheetHead, body, 100, hostile::kSheetTail},
                                      hostile::Small_Shared())));
    EXPECT_LT(QFileInfo(dense).size(), 1 << 20);
    Heap_Peak peak;
    Xlsx_Workbook big;
    ASSERT_TRUE(big.open(dense));
    const Sheet_Cells cells = big.readSheet(1);
    EXPECT_TRUE(big.lastError().isEmpty()) << big.lastError().toStdString();
    EXPECT_EQ(cells.rowCount(), 1'000'000);
    EXPECT_EQ(cells.columnCount(), 8);
    EXPECT_EQ(cells.cell(999'999, 7), "7");
    RecordProperty("a million rows of eight", std::to_string(peak.megabytes()) + " MB");
    EXPECT_LT(peak.megabytes(), kMaxMB);
    EXPECT_LT(cells.storedBytes(), qint64(128) << 20);
}

// What a user sees: the refusal in the window that asked, and nothing of
// the list or the values already there lost.
TEST(TableBudgetTest, TheRefusalIsShownInTheWindowThatAsked)
{
    QTemporaryDir dir;
    const QString path = Shared_Text_Used(dir, 5000);

    // The list's spreadsheet window.
    QStringList messages;
    const MessageResponder previous = Set_Message_Responder([&messages](const MessageRequest& r) {
        messages << r.text.trimmed();
        return 0;
    });
    BarcodeListModel list;
    for (int i = 0; i < 3; ++i)
        list.Create_Item_List(QStringLiteral("V%1").arg(i), QString(), QString(), QStringLiteral("1"), list.count());
    const std::vector<BarcodeRow> before = list.rows();
    Import_Excel_Barcode w;
    w.setList(&list);
    QStringList shown;
    const ModalRunner runner = Set_Modal_Runner([&](QDialog&) {
        shown = messages;
        w.chk_value->setChecked(true);
        w.OKPressed();
        return w.result();
    });
    Heap_Peak peak;
    w.Open_excel_Wnd(path);
    EXPECT_LT(peak.megabytes(), kMaxMB);
    Set_Modal_Runner(runner);
    ASSERT_FALSE(shown.isEmpty());
    Expect_Budget_Refusal(shown.first(), "MB of text");
    EXPECT_EQ(list.rows(), before);

    // The series import's spreadsheet window.
    SeriesFolder folder;
    FakeMainWindow window;
    Import_Excel_DataSheet series;
    messages.clear();
    series.Reset_Controls(path);
    ASSERT_FALSE(messages.isEmpty());
    Expect_Budget_Refusal(messages.last(), "MB of text");
    EXPECT_TRUE(series.ListData_xl().isEmpty());
    Set_Message_Responder(previous);
}

// Counts and sizes in a package's headers that no file of that size can
// hold are damage, and said so.
TEST(TableBudgetTest, HeadersThatLieAreNamedAsDamage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("five.xlsx");
    ASSERT_TRUE(Make_Zip(path, Workbook_Parts(Sheet_Xml("<row><c><v>1</v></c></row>"))));
    QByteArray bytes = Read_Bytes(path);
    const qsizetype end = bytes.lastIndexOf(QByteArray("PK\x05\x06", 4));
    ASSERT_GT(end, 0);

    // The end record claims 65,000 entries where a few stand.
    QByteArray many = bytes;
    for (int at : {8, 10}) {
        many[end + at] = char(65000 & 0xFF);
        many[end + at + 1] = char(65000 >> 8);
    }
    testsupport::touch(dir.filePath("many.xlsx"), many);
    Xlsx_Workbook book;
    EXPECT_FALSE(book.open(dir.filePath("many.xlsx")));
    EXPECT_TRUE(book.lastError().contains("its directory is damaged: it claims 65,000 entries"))
        << book.lastError().toStdString();

    // The sheet's directory record claims 4 GB unpacked from its few bytes.
    QByteArray huge = bytes;
    const QByteArray name = "xl/worksheets/sheet1.xml";
    qsizetype record = -1;
    for (qsizetype at = huge.indexOf(QByteArray("PK\x01\x02", 4)); at >= 0; at = huge.indexOf(QByteArray("PK\x01\x02", 4), at + 4))
        if (huge.mid(at + 46, name.size()) == name)
            record = at;
    ASSERT_GT(record, 0);
    for (int k = 0; k < 4; ++k)
        huge[record + 24 + k] = char(k == 0 ? 0xF0 : 0xFF);
    testsupport::touch(dir.filePath("huge.xlsx"), huge);
    ASSERT_TRUE(book.open(dir.filePath("huge.xlsx"))) << book.lastError().toStdString();
    EXPECT_TRUE(book.readSheet(1).isEmpty());
    EXPECT_TRUE(book.lastError().startsWith("The sheet 'Sheet1' is damaged: its header claims 4,294,967,280 bytes"))
        << book.lastError().toStdString();
    SSZipError error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(dir.filePath("huge.xlsx"), dir.filePath("out"), true, QString(), &error));
    EXPECT_TRUE(error.description.contains("is damaged: its header claims")) << error.description.toStdString();
}

// A workbook of a few kilobytes whose one shared text of 1 MB is used by a
// hundred cells fits the budget of a table read as the reader stores it, but
// a window that keeps each use as a string of its own would hold it a
// hundred times over. The budget counts what each window will keep: the
// list's window imports the column once and refuses it taken four times,
// the series windows write it or keep it, each within 300 MB.
TEST(TableBudgetTest, EveryWindowKeepsASmallWorkbookWithinItsMemory)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("shared-megabyte.xlsx");
    ASSERT_TRUE(hostile_files::Write_Shared_Text_Workbook(path));
    EXPECT_LT(QFileInfo(path).size(), 8 * 1024);
    In_Child_Process([&] {
        if (!Check(heappeak::Counting(), "the heap is counted"))
            return false;
        bool ok = true;
        QStringList messages;
        const MessageResponder previous = Set_Message_Responder([&messages](const MessageRequest& r) {
            messages << r.text.trimmed();
            return 0;
        });
        const QString megabyte(1 << 20, QLatin1Char('a'));

        // The list's window, the value taken from the column: the 99 rows
        // under the title row come in.
        for (const bool fourTimes : {false, true}) {
            BarcodeListModel list;
            list.Create_Item_List("kept", "", "", "1", 0);
            messages.clear();
            double mb = 0;
            {
                Import_Excel_Barcode w;
                w.setList(&list);
                const ModalRunner runner = Set_Modal_Runner([&](QDialog&) {
                    for (QCheckBox* box : {w.chk_value, w.chk_header, w.chk_footer, w.chk_pq})
                        box->setChecked(box == w.chk_value || fourTimes);
                    w.End_Radio_Pressed();
                    w.OKPressed();
                    return w.result();
                });
                Heap_Peak peak;
                w.Open_excel_Wnd(path);
                mb = peak.megabytes();
                Set_Modal_Runner(runner);
            }
            const std::string which = fourTimes ? "the list's window, four texts" : "the list's window, the value";
            std::fprintf(stderr, "%s: %.0f MB\n", which.c_str(), mb);
            ok = Check(mb < kMaxMB, which + " within 300 MB") && ok;
            if (!fourTimes) {
                ok = Check(messages.isEmpty(), which + ": no message") && ok;
                ok = Check(list.count() == 100 && list.textAt(1, 0) == megabyte && list.textAt(99, 0) == megabyte
                               && list.textAt(0, 0) == QLatin1String("kept"),
                           which + ": 99 rows of the text after the row that was there")
                    && ok;
            } else {
                ok = Check(messages.size() == 1
                               && messages.first().startsWith("The sheet 'Sheet1' is too large to read: it would take "
                                                              "about ")
                               && messages.first().contains("MB of memory, more than the 224 MB a table can take."),
                           which + ": refused, " + messages.join(" | ").toStdString())
                    && ok;
                ok = Check(list.count() == 1, which + ": the list as it was") && ok;
            }
        }

        // The series window, the column written as a series of its own.
        {
            SeriesFolder folder;
            FakeMainWindow window;
            Import_Excel_DataSheet series;
            Heap_Peak peak;
            series.Reset_Controls(path);
            series.contains_header->setChecked(false);
            series.Fill_Col_RD_Click();
            series.list_name->setText("Big");
            auto* model = static_cast<Excel_Column_Model*>(series.ColList->model());
            model->setState(0, true);
            series.OKPressed();
            const double mb = peak.megabytes();
            std::fprintf(stderr, "the series window: %.0f MB\n", mb);
            ok = Check(mb < kMaxMB, "the series window within 300 MB") && ok;
            QFile written(folder.path("Big.txt"));
            ok = Check(written.open(QIODevice::ReadOnly) && written.size() == 100 * ((1 << 20) + 1),
                       "the series window wrote 100 values")
                && ok;
        }

        // The value list of the series manager.
        {
            SeriesFolder folder;
            FakeMainWindow window;
            BatchWizard manager;
            manager.AddNew_Btn_Clicked();
            Import_Excel values;
            values.BatchWizard_Window = &manager;
            Heap_Peak peak;
            values.Reset_Controls(path);
            static_cast<Excel_Column_Model*>(values.ColList->model())->setState(0, true);
            values.OKPressed();
            const double mb = peak.megabytes();
            std::fprintf(stderr, "the value list: %.0f MB\n", mb);
            ok = Check(mb < kMaxMB, "the value list within 300 MB") && ok;
            ok = Check(manager.ListData_value().size() == 99, "the value list holds 99 values") && ok;
        }
        Set_Message_Responder(previous);
        return ok;
    });
}
