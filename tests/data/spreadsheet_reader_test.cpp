// The .xlsx reader on workbooks written by real programs (committed files,
// compared with what each producer was given) and on hand-made parts that
// probe one rule or one kind of damage each.
#include "data/DataTestSupport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

using namespace datatest;

namespace {

SheetTable Json_Table(const QJsonArray& rows)
{
    SheetTable t;
    for (const QJsonValue& r : rows) {
        QStringList row;
        for (const QJsonValue& c : r.toArray())
            row << c.toString();
        t << row;
    }
    return t;
}

QJsonObject Expected()
{
    return QJsonDocument::fromJson(Read_Bytes(Test_File("expected.json"))).object();
}

std::string Show(const SheetTable& t)
{
    std::string s;
    for (const QStringList& r : t)
        s += "[" + r.join(" | ").toStdString() + "]\n";
    return s;
}

} // namespace

TEST(SpreadsheetReaderTest, WorkbooksOfRealProgramsReadAsTheyWereGiven)
{
    ASSERT_FALSE(Files_Folder().isEmpty()) << "tests/data/files not found";
    const QJsonObject expected = Expected();
    int checked = 0;
    for (auto it = expected.begin(); it != expected.end(); ++it) {
        if (!it.key().endsWith(".xlsx"))
            continue;
        SCOPED_TRACE(it.key().toStdString());
        const QJsonObject want = it.value().toObject();
        Xlsx_Workbook book;
        ASSERT_TRUE(book.open(Test_File(it.key()))) << book.lastError().toStdString();
        QStringList names;
        for (const QJsonValue& v : want["sheets"].toArray())
            names << v.toString();
        EXPECT_EQ(book.sheetNames(), names);
        const QJsonObject tables = want["tables"].toObject();
        for (int s = 0; s < names.size(); ++s) {
            SCOPED_TRACE(names[s].toStdString());
            const SheetTable table = book.readSheet(s + 1).toTable();
            const SheetTable wanted = Json_Table(tables[names[s]].toArray());
            EXPECT_EQ(table, wanted) << Show(table) << "wanted\n" << Show(wanted);
            EXPECT_TRUE(book.lastError().isEmpty()) << book.lastError().toStdString();
            ++checked;
        }
    }
    EXPECT_GE(checked, 30);
}

TEST(SpreadsheetReaderTest, ImportWindowsRoadThroughTheSharedReader)
{
    // Prepare, list, pick the third sheet, read its header, then its rows.
    SpreadsheetWriter::ReadWorkbook(Test_File("lo_reordered.xlsx"), true);
    EXPECT_EQ(SpreadsheetWriter::spreadsheet()->Excel_Sheet_Columns, 1);
    EXPECT_EQ(SpreadsheetWriter::Read_Sheet_Name(), QStringList({"Main", "Second", "Third"}));
    const SheetTable header = SpreadsheetWriter::ReadData_only_column(1);
    ASSERT_EQ(header.size(), 1);
    EXPECT_EQ(SpreadsheetWriter::spreadsheet()->Excel_Sheet_Columns, 27);
    EXPECT_EQ(header[0][0], "Name");
    EXPECT_EQ(header[0][5], "Untitled Column 6");
    EXPECT_EQ(header[0][26], "Far");
    const SheetTable rows = SpreadsheetWriter::ReadWorkbook(Test_File("lo_reordered.xlsx"), false);
    ASSERT_EQ(rows.size(), 4);
    EXPECT_EQ(rows[1][1], "0012");
    EXPECT_EQ(rows[1][5], "");

    // Writing a workbook meanwhile does not end the prepared one.
    QTemporaryDir dir;
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(dir.filePath("w.xlsx"), {{"Batch Value"}, {"1"}}, true));
    EXPECT_EQ(SpreadsheetWriter::ReadWorkbook(Test_File("lo_reordered.xlsx"), false, 3), SheetTable({{"only"}}));

    // A file that is no workbook: nothing, with a reason.
    testsupport::touch(dir.filePath("text.xlsx"), "not a zip at all");
    SpreadsheetWriter::ReadWorkbook(dir.filePath("text.xlsx"), true);
    EXPECT_FALSE(SpreadsheetWriter::spreadsheet()->lastError.isEmpty());
    EXPECT_TRUE(SpreadsheetWriter::ReadWorkbook(dir.filePath("text.xlsx"), false).isEmpty());
    EXPECT_TRUE(SpreadsheetWriter::Read_Sheet_Name().isEmpty());
}

TEST(SpreadsheetReaderTest, CellReferences)
{
    EXPECT_EQ(Get_Column_Char_Str("D12"), "D");
    EXPECT_EQ(Get_Column_Char_Str("AB7"), "AB");
    EXPECT_EQ(Get_Col_index("A", 65), 0);
    EXPECT_EQ(Get_Col_index("Z", 65), 25);
    EXPECT_EQ(Get_Col_index("AA", 65), 26);
    EXPECT_EQ(Get_Col_index("AZ", 65), 51);
    EXPECT_EQ(Get_Col_index("AB", 64), 28);
    EXPECT_EQ(Get_Col_index("ZZ", 64), 702);
    EXPECT_EQ(Get_Col_index("AAA", 64), 703);
    EXPECT_EQ(Get_Col_index("XFD", 64), 16384);
    EXPECT_EQ(Get_Col_index("XFE", 64), -1);
    EXPECT_EQ(Get_Col_index("ABCD", 64), -1);
    EXPECT_EQ(Get_Col_index("", 64), -1);
    EXPECT_EQ(Asc_Val("A"), 65);
    for (int n : {1, 26, 27, 52, 53, 702, 703, 16384})
        EXPECT_EQ(Get_Col_index(Column_Letters(n), 64), n) << n;
    EXPECT_EQ(Column_Letters(30), "AD");
}

TEST(SpreadsheetReaderTest, ColumnsAreThoseThatHoldCellsWhateverTheDimensionSays)
{
    QTemporaryDir dir;
    // A1:C5 with cells in A and B: two columns; B2 fills entry 1 of the second row.
    SheetTable t = Read_Sheet(dir, Sheet_Xml(R"(<row r="1"><c r="A1"><v>1</v></c></row><row r="2"><c r="B2"><v>2</v></c></row>)",
                                              "A1:C5"));
    EXPECT_EQ(t, SheetTable({{"1", ""}, {"", "2"}}));
    // Columns before the first used one stay in their places.
    t = Read_Sheet(dir, Sheet_Xml(R"(<row r="10"><c r="C10"><v>x</v></c></row>)", "C10:E40"));
    EXPECT_EQ(t, SheetTable({{"", "", "x"}}));
    // No dimension, or one that is too small, takes the cells in use too.
    t = Read_Sheet(dir, Sheet_Xml(R"(<row><c r="A1"><v>a</v></c><c r="D1"><v>d</v></c></row>)"));
    EXPECT_EQ(t, SheetTable({{"a", "", "", "d"}}));
    t = Read_Sheet(dir, Sheet_Xml(R"(<row><c r="A1"><v>a</v></c><c r="D1"><v>d</v></c></row>)", "A1:B2"));
    EXPECT_EQ(t, SheetTable({{"a", "", "", "d"}}));
    // Styled cells without a text hold nothing.
    t = Read_Sheet(dir, Sheet_Xml(R"(<row><c r="A1"><v>a</v></c><c r="Z1" s="3"/></row>)"));
    EXPECT_EQ(t, SheetTable({{"a"}}));
    // A single-cell dimension with only A1 used reads that cell (an empty sheet reads nothing).
    t = Read_Sheet(dir, Sheet_Xml(R"(<row r="1"><c r="A1"><v>only</v></c></row>)", "A1"));
    EXPECT_EQ(t, SheetTable({{"only"}}));
    t = Read_Sheet(dir, Sheet_Xml("", "A1"));
    EXPECT_TRUE(t.isEmpty());
    // A sheet that declares the whole grid but holds one cell offers one
    // column, and many rows of one column stay one column wide.
    QFile::remove(dir.filePath("made.xlsx"));
    ASSERT_TRUE(Make_Zip(dir.filePath("made.xlsx"),
                         Workbook_Parts(Sheet_Xml(R"(<row r="1"><c r="A1" t="inlineStr"><is><t>Code</t></is></c></row>)",
                                                  "A1:XFD1048576"))));
    Xlsx_Workbook book;
    ASSERT_TRUE(book.open(dir.filePath("made.xlsx")));
    EXPECT_EQ(book.readHeader(1), SheetTable({{"Code"}}));
    QByteArray rows;
    for (int r = 1; r <= 1000; ++r)
        rows += "<row r=\"" + QByteArray::number(r) + "\"><c r=\"A" + QByteArray::number(r) + "\"><v>1</v></c></row>";
    t = Read_Sheet(dir, Sheet_Xml(rows, "A1:XFD1048576"));
    ASSERT_EQ(t.size(), 1000);
    EXPECT_EQ(t[0].size(), 1);
}

TEST(SpreadsheetReaderTest, CellValues)
{
    QTemporaryDir dir;
    const QByteArray shared = Shared_Xml({"zero", "one", "two"}).replace(
        "<si><t>one</t></si>",
        "<si><r><rPr><b/></rPr><t>o</t></r><r><t xml:space=\"preserve\">ne </t></r><rPh><t>PH</t></rPh></si>");
    const SheetTable t = Read_Sheet(dir, Sheet_Xml(
        // shared strings, rich text, index past the end, a garbage index
        R"(<row r="1"><c r="A1" t="s"><v>0</v></c><c r="B1" t="s"><v>1</v></c><c r="C1" t="s"><v>3</v></c><c r="D1" t="s"><v>x</v></c><c r="E1" t="s"><v>1099511627776</v></c></row>)"
        // a formula by its cached value, a string formula, an inline rich string, a boolean, an error
        R"(<row r="2"><c r="A2"><f>A1*2</f><v>24</v></c><c r="B2" t="str"><f>"a"&amp;"b"</f><v>ab</v></c><c r="C2" t="inlineStr"><is><r><t>in</t></r><r><t>line</t></r></is></c><c r="D2" t="b"><v>1</v></c><c r="E2" t="e"><v>#DIV/0!</v></c></row>)"
        // cells without references follow the cell before; escapes decoded; a space kept
        R"(<row r="3"><c r="B3" t="inlineStr"><is><t>b</t></is></c><c t="inlineStr"><is><t>c_x000D_d</t></is></c><c><v>7</v></c><c r="E3" t="inlineStr"><is><t xml:space="preserve"> </t></is></c></row>)"),
        shared);
    ASSERT_EQ(t.size(), 3) << Show(t);
    EXPECT_EQ(t[0], QStringList({"zero", "one ", "", "", ""}));
    EXPECT_EQ(t[1], QStringList({"24", "ab", "inline", "1", "#DIV/0!"}));
    EXPECT_EQ(t[2], QStringList({"", "b", "c\rd", "7", " "}));
}

TEST(SpreadsheetReaderTest, RowsStandInDocumentOrder)
{
    QTemporaryDir dir;
    // Rows 1, 2 and 5: three rows, the third holding row 5. A row number of
    // 2^40 is only a number; empty rows at the end are no data.
    const SheetTable t = Read_Sheet(dir, Sheet_Xml(
        R"(<row r="1"><c r="A1"><v>1</v></c></row><row r="2"><c r="A2"><v>2</v></c></row>)"
        R"(<row r="5"><c r="A5"><v>5</v></c></row><row r="1099511627776"><c r="A1099511627776"><v>big</v></c></row>)"
        R"(<row r="6" s="3" customFormat="1"/><row r="7"><c r="A7" s="2"/></row>)"));
    EXPECT_EQ(t, SheetTable({{"1"}, {"2"}, {"5"}, {"big"}}));

    Xlsx_Workbook book;
    ASSERT_TRUE(book.open(dir.filePath("made.xlsx")));
    EXPECT_EQ(book.readHeader(1), SheetTable({{"1"}}));
}

TEST(SpreadsheetReaderTest, DamagedWorkbooksGiveNothingAndAReason)
{
    QTemporaryDir dir;
    QString error;
    // Malformed sheet markup.
    EXPECT_TRUE(Read_Sheet(dir, "<worksheet><sheetData><row><c><v>1</v></row>", {}, &error).isEmpty());
    EXPECT_TRUE(error.startsWith("The sheet 'Sheet1' is damaged: mismatched tag at byte ")) << error.toStdString();
    EXPECT_TRUE(error.contains("save it again")) << error.toStdString();
    // Cells far out of range in many rows: refused, not gigabytes.
    QByteArray rows;
    for (int r = 1; r <= 600; ++r)
        rows += "<row><c r=\"XFD" + QByteArray::number(r) + "\"><v>x</v></c></row>";
    error.clear();
    EXPECT_TRUE(Read_Sheet(dir, Sheet_Xml(rows), {}, &error).isEmpty());
    EXPECT_TRUE(error.contains("too large")) << error.toStdString();
    // A cell past XFD, the last column, is not dropped without a word: the
    // sheet is refused as damaged, by its name.
    for (const QByteArray& past : {QByteArray(R"(<c r="XFE1"><v>x</v></c>)"), QByteArray(R"(<c r="ABCD1"><v>x</v></c>)")}) {
        error.clear();
        EXPECT_TRUE(Read_Sheet(dir, Sheet_Xml(R"(<row><c r="A1"><v>a</v></c>)" + past + "</row>"), {}, &error).isEmpty());
        EXPECT_TRUE(error.contains("'Sheet1' is damaged") && error.contains("XFD")) << error.toStdString();
    }

    // A package without a workbook part or a sheet.
    Xlsx_Workbook book;
    ASSERT_TRUE(Make_Zip(dir.filePath("none.xlsx"), {{"docProps/app.xml", "<x/>"}}));
    EXPECT_FALSE(book.open(dir.filePath("none.xlsx")));
    EXPECT_FALSE(book.lastError().isEmpty());
    // A workbook naming a sheet whose part is missing.
    auto parts = Workbook_Parts(Sheet_Xml(""));
    parts.removeIf([](const auto& p) { return p.first == "xl/worksheets/sheet1.xml"; });
    ASSERT_TRUE(Make_Zip(dir.filePath("nosheet.xlsx"), parts));
    ASSERT_TRUE(book.open(dir.filePath("nosheet.xlsx")));
    EXPECT_TRUE(book.readSheet(1).isEmpty());
    EXPECT_FALSE(book.lastError().isEmpty());
    EXPECT_TRUE(book.readSheet(7).isEmpty());
    // A relationship that climbs out of the package names nothing.
    parts = Workbook_Parts(Sheet_Xml(R"(<row><c r="A1"><v>1</v></c></row>)"));
    for (auto& p : parts)
        if (p.first == "xl/_rels/workbook.xml.rels")
            p.second.replace("Target=\"worksheets/sheet1.xml\"", "Target=\"../../../../etc/passwd\"");
    ASSERT_TRUE(Make_Zip(dir.filePath("climb.xlsx"), parts));
    ASSERT_TRUE(book.open(dir.filePath("climb.xlsx")));
    EXPECT_TRUE(book.readSheet(1).isEmpty());
}
