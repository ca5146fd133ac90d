// The .xlsx writer (parts as specified, read back by our reader), the shipped
// template, and the XML Spreadsheet 2003 and OpenDocument readers and writers.
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "data/DataTestSupport.h"
#include "data/TextImport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QUrl>

#include <pugixml.hpp>

using namespace datatest;

namespace {

// The unpacked parts of a written workbook.
struct Unpacked {
    QTemporaryDir dir;
    QString part(const QString& name) const { return QString::fromUtf8(Read_Bytes(dir.filePath(name))); }
};

std::unique_ptr<Unpacked> Unpack(const QString& xlsx)
{
    auto u = std::make_unique<Unpacked>();
    EXPECT_TRUE(SSZipArchive::unzipFileAtPath(xlsx, u->dir.path()));
    return u;
}

SheetTable Read_Back(const QString& path)
{
    Xlsx_Workbook book;
    EXPECT_TRUE(book.open(path)) << book.lastError().toStdString();
    return book.readSheet(1).toTable();
}

// The same table as a reader gives it: every row as wide as the widest.
SheetTable Padded(SheetTable t)
{
    qsizetype w = 0;
    for (const QStringList& r : t)
        w = std::max(w, r.size());
    for (QStringList& r : t)
        while (r.size() < w)
            r << QString();
    return t;
}

class ResourceFolder {
public:
    explicit ResourceFolder(const QString& path) : m_old(Folders.Resource_Path) { Folders.Resource_Path = path; }
    ~ResourceFolder() { Folders.Resource_Path = m_old; }

private:
    QString m_old;
};

} // namespace

TEST(SpreadsheetWriterTest, ValueListExampleAndNumbersOnlyWhenPlain)
{
    Init_Program_Paths();
    QTemporaryDir dir;
    const QString path = dir.filePath("list.xlsx");
    const SheetTable table = {{"Batch Value"}, {"12"}, {"ABC"}, {"0012"}, {"3,5"}, {"-0"}, {"1.50"},
                              {"1234567890123456"}, {"-7.25"}};
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, table, true));
    const auto u = Unpack(path);
    const QString sheet = u->part("xl/worksheets/sheet1.xml");
    // Compact: no white space between elements.
    EXPECT_TRUE(sheet.contains("<row r=\"1\" spans=\"1:1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>"))
        << sheet.toStdString();
    EXPECT_TRUE(sheet.contains("<c r=\"A2\"><v>12</v></c>"));
    EXPECT_TRUE(sheet.contains("<c r=\"A3\" t=\"s\"><v>1</v></c>"));
    // Leading zeros, a comma, "-0", a trailing zero and 16 digits stay text.
    EXPECT_TRUE(sheet.contains("<c r=\"A4\" t=\"s\"><v>2</v></c>"));
    for (const char* ref : {"A5", "A6", "A7", "A8"})
        EXPECT_TRUE(sheet.contains(QStringLiteral("<c r=\"%1\" t=\"s\">").arg(ref))) << ref;
    EXPECT_TRUE(sheet.contains("<c r=\"A9\"><v>-7.25</v></c>"));
    EXPECT_FALSE(sheet.contains("\n  "));
    Xlsx_Workbook book;
    ASSERT_TRUE(book.open(path));
    QStringList strings;
    for (qint64 i = 0; i < book.sharedStringCount(); ++i)
        strings << book.sharedString(i);
    EXPECT_EQ(strings, QStringList({"Batch Value", "ABC", "0012", "3,5", "-0", "1.50", "1234567890123456"}));
    EXPECT_EQ(Read_Back(path), table);
}

TEST(SpreadsheetWriterTest, DimensionSelectionSpansAndReferences)
{
    QTemporaryDir dir;
    SheetTable table;
    for (int r = 0; r < 11; ++r)
        table << QStringList({"a", "b", "c", "d"});
    table[5] << "extra";  // a longer row keeps all its cells
    QStringList strings;
    const QString sheet = QString::fromUtf8(SpreadsheetWriter::Worksheet_XML(table, strings));
    EXPECT_TRUE(sheet.contains("<dimension ref=\"A1:D11\"/>"));
    EXPECT_TRUE(sheet.contains("<selection activeCell=\"D11\" sqref=\"D11\"/>"));
    EXPECT_EQ(sheet.count("spans=\"1:4\""), 11);
    EXPECT_TRUE(sheet.contains("<c r=\"E6\" t=\"s\">"));

    SheetTable wide = {{}};
    for (int c = 0; c < 30; ++c)
        wide[0] << QStringLiteral("t%1").arg(c);
    const QString w = QString::fromUtf8(SpreadsheetWriter::Worksheet_XML(wide, strings));
    EXPECT_TRUE(w.contains("<c r=\"AD1\" t=\"s\">"));
    EXPECT_FALSE(w.contains("AE1"));

    // Only numbers: a shared-strings part with no counts and no entries.
    SpreadsheetWriter::Worksheet_XML({{"1", "2"}}, strings);
    EXPECT_TRUE(strings.isEmpty());
    const QByteArray sst = SpreadsheetWriter::Shared_Strings_XML(strings);
    EXPECT_TRUE(sst.contains("<sst xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\"/>"));
    EXPECT_FALSE(sst.contains("count"));
    // Every part we write is well-formed XML.
    for (const QByteArray& xml : {SpreadsheetWriter::Worksheet_XML(table, strings), SpreadsheetWriter::Shared_Strings_XML(strings),
                                  SpreadsheetWriter::Workbook_XML("A & <B>"), SpreadsheetWriter::ODS_Content_XML(table)}) {
        pugi::xml_document doc;
        EXPECT_TRUE(doc.load_buffer(xml.constData(), size_t(xml.size()))) << xml.left(200).toStdString();
    }
}

TEST(SpreadsheetWriterTest, WhatWeWriteReadsBackTheSame)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("round.xlsx");
    const SheetTable table = {
        {"Barcode Value", "Barcode Header", "Barcode Footer", "Print Quantity"},
        {"0012345", "  leading and trailing  ", "A & B <c> \"d\"", "1"},
        {"東京 😀", "tab\there", "line\nbreak\r\nend", "12"},
        {"ctl\x01\x1f" "char", "_x0041_ literal", "", "3"},
        {"", "", "", ""},
        {"last", "", "", "999"},
    };
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, table, true));
    EXPECT_EQ(Read_Back(path), table);
    // Other programs keep outer spaces only when they are marked; control
    // characters travel as escapes.
    const auto u = Unpack(path);
    const QString sst = u->part("xl/sharedStrings.xml");
    EXPECT_TRUE(sst.contains("<si><t xml:space=\"preserve\">  leading and trailing  </t></si>"));
    EXPECT_TRUE(sst.contains("<t>ctl_x0001__x001F_char</t>")) << sst.toStdString();
    EXPECT_TRUE(sst.contains("<t>_x005F_x0041_ literal</t>"));
    // Our own file and another existing one are replaced.
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, {{"x"}}, true));
    EXPECT_EQ(Read_Back(path), SheetTable({{"x"}}));
    // An unpaired surrogate cannot be stored: it becomes U+FFFD.
    QString broken = "a";
    broken += QChar(0xD800);
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, {{broken}}, true));
    EXPECT_EQ(Read_Back(path), SheetTable({{QStringLiteral("a\uFFFD")}}));
}

// Another program reads what we write: openpyxl, cell for cell (numbers as
// numbers, texts with their spaces, a literal escape and characters outside
// the Basic Multilingual Plane; control characters are left out, since
// openpyxl keeps the escapes of characters it does not hold).
TEST(SpreadsheetWriterTest, OpenpyxlReadsWhatWeWrite)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("for openpyxl.xlsx");
    SheetTable table = {
        {"Barcode Value", "Barcode Header", "Barcode Footer", "Print Quantity"},
        {"0012345", "  leading and trailing  ", "A & B <c> \"d\"", "1"},
        {"東京 😀", "tab\there", "line\nbreak", "12"},
        {"ctl char", "_x0041_ literal", "", "-7.25"},
        {"", "", "", ""},
    };
    QStringList wide;
    for (int c = 0; c < 30; ++c)
        wide << QStringLiteral("w%1").arg(c);
    table << wide;
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, table, true));
    QProcess python;
    python.start(QStringLiteral("/usr/bin/python3"),
                 {QStringLiteral("-c"), QStringLiteral(
                      "import json, sys, openpyxl\n"
                      "ws = openpyxl.load_workbook(sys.argv[1]).active\n"
                      "def text(v):\n"
                      "    if v is None: return ''\n"
                      "    if isinstance(v, float) and v.is_integer(): return str(int(v))\n"
                      "    return str(v)\n"
                      "print(json.dumps([[text(v) for v in row] for row in ws.iter_rows(values_only=True)]))\n"),
                  path});
    ASSERT_TRUE(python.waitForFinished(60000));
    ASSERT_EQ(python.exitCode(), 0) << python.readAllStandardError().toStdString();
    const QJsonArray rows = QJsonDocument::fromJson(python.readAllStandardOutput()).array();
    SheetTable read;
    for (const QJsonValue& r : rows) {
        QStringList cells;
        for (const QJsonValue& c : r.toArray())
            cells << c.toString();
        read << cells;
    }
    EXPECT_EQ(read, Padded(table));
}

// The two spreadsheet programs read what we write too: LibreOffice Calc
// and Gnumeric, each turning our workbook into CSV, cell for cell (numbers
// as numbers, texts with their spaces, line breaks, tabs and characters
// outside the Basic Multilingual Plane).
TEST(SpreadsheetWriterTest, LibreOfficeAndGnumericReadWhatWeWrite)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("ours.xlsx");
    SheetTable table = {
        {"Barcode Value", "Barcode Header", "Barcode Footer", "Print Quantity"},
        {"0012345", "  leading and trailing  ", "A & B <c> \"d\", e", "1"},
        {"東京 😀", "tab\there", "line\nbreak", "12"},
        {"Fuß", "_x0041_ literal", "", "-7.25"},
        {"", "", "", ""},
    };
    QStringList wide;
    for (int c = 0; c < 30; ++c)
        wide << QStringLiteral("w%1").arg(c);
    table << wide;
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, table, true));
    // Rows without their empty cells at the end, and no empty rows at the end.
    auto trimmed = [](SheetTable t) {
        for (QStringList& row : t)
            while (!row.isEmpty() && row.last().isEmpty())
                row.removeLast();
        while (!t.isEmpty() && t.last().isEmpty())
            t.removeLast();
        return t;
    };
    auto csvOf = [&](const QString& program, const QStringList& arguments, const QString& csvPath) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.setStandardInputFile(QProcess::nullDevice());
        p.start(program, arguments);
        EXPECT_TRUE(p.waitForFinished(180000)) << program.toStdString();
        EXPECT_EQ(p.exitCode(), 0) << program.toStdString() << ": " << p.readAll().toStdString();
        QString text;
        EXPECT_TRUE(Decode_Text_File(Read_Bytes(csvPath), &text)) << csvPath.toStdString();
        return trimmed(Parse_CSV(text));
    };
    const QString profile = QString::fromLatin1(QUrl::fromLocalFile(dir.filePath("profile")).toEncoded());
    const SheetTable libreOffice = csvOf(
        QStringLiteral("soffice"),
        {"-env:UserInstallation=" + profile, "--headless", "--norestore", "--convert-to",
         "csv:Text - txt - csv (StarCalc):44,34,76,1", "--outdir", dir.filePath("lo"), path},
        dir.filePath("lo/ours.csv"));
    EXPECT_EQ(libreOffice, trimmed(table));
    // Gnumeric keeps the escape that stands for a literal "_x" as it is.
    SheetTable forGnumeric = trimmed(table);
    forGnumeric[3][1] = QStringLiteral("_x005F_x0041_ literal");
    const SheetTable gnumeric =
        csvOf(QStringLiteral("ssconvert"), {path, dir.filePath("gnumeric.csv")}, dir.filePath("gnumeric.csv"));
    EXPECT_EQ(gnumeric, forGnumeric);
}

TEST(SpreadsheetWriterTest, FailuresAreReportedAndKeepTheOldFile)
{
    QTemporaryDir dir;
    QString error;
    EXPECT_FALSE(SpreadsheetWriter::WriteWorkbook(dir.filePath("no/such/folder/x.xlsx"), {{"a"}}, true, &error));
    EXPECT_FALSE(error.isEmpty());
    const QString path = dir.filePath("keep.xlsx");
    testsupport::touch(path, "old");
    QStringList tooWide;
    for (int c = 0; c <= Max_Sheet_Columns; ++c)
        tooWide << "x";
    EXPECT_FALSE(SpreadsheetWriter::WriteWorkbook(path, {tooWide}, true, &error));
    EXPECT_EQ(Read_Bytes(path), QByteArray("old"));
}

TEST(SpreadsheetWriterTest, ShippedTemplateIsOurOwnAndAMissingOneIsNoLoss)
{
    Init_Program_Paths();
    const QString shipped = Resolve_Resource_File("Template.xlsx");
    ASSERT_TRUE(QFileInfo(shipped).isFile()) << shipped.toStdString();
    // The shipped template is exactly the built-in parts, packed.
    QTemporaryDir out;
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(shipped, out.path()));
    for (const PackagePart& p : Builtin_Xlsx_Template())
        EXPECT_EQ(Read_Bytes(out.filePath(p.name)), p.bytes) << p.name.toStdString();

    // Without a usable template the writer still makes a whole workbook.
    QTemporaryDir resources;
    testsupport::touch(resources.filePath("Template.xlsx"), "damaged");
    ResourceFolder folder(resources.path());
    const QString path = resources.filePath("w.xlsx");
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(path, {{"Batch Value"}, {"7"}}, true));
    Xlsx_Workbook book;
    ASSERT_TRUE(book.open(path));
    EXPECT_EQ(book.sheetNames(), QStringList({"Sheet1"}));
    EXPECT_EQ(book.readSheet(1).toTable(), SheetTable({{"Batch Value"}, {"7"}}));
}

TEST(OtherFormatsTest, RealProgramFilesRead)
{
    const QJsonObject expected = QJsonDocument::fromJson(Read_Bytes(Test_File("expected.json"))).object();
    for (const char* name : {"lo_basic.ods", "lo_basic.xml"}) {
        SCOPED_TRACE(name);
        SheetTable want;
        for (const QJsonValue& r : expected[name].toObject()["tables"].toObject()["Main"].toArray()) {
            QStringList row;
            for (const QJsonValue& c : r.toArray())
                row << c.toString();
            want << row;
        }
        QString error;
        const SheetTable got = QString(name).endsWith(".ods") ? SpreadsheetWriter::ReadODS(Test_File(name), &error)
                                                              : SpreadsheetWriter::ReadWorksheetXML2004(Test_File(name), &error);
        EXPECT_EQ(got, want) << error.toStdString();
    }
}

TEST(OtherFormatsTest, BothFormatsRoundTripATable)
{
    QTemporaryDir dir;
    const SheetTable table = {{"Name", "Code", "Qty"},
                              {"Ann", "0012", "12"},
                              {"  two  spaces", "tab\tin", "a\nb"},
                              {"東京 & <x>", "", "3.5"}};
    const QString xml = dir.filePath("t.xml");
    ASSERT_TRUE(SpreadsheetWriter::WriteWorksheetXML2004(xml, table));
    EXPECT_EQ(Padded(SpreadsheetWriter::ReadWorksheetXML2004(xml)), table);
    EXPECT_TRUE(QString::fromUtf8(Read_Bytes(xml)).contains("<Data ss:Type=\"String\">0012</Data>"));

    const QString ods = dir.filePath("t.ods");
    ASSERT_TRUE(SpreadsheetWriter::WriteODS(ods, table, true));
    EXPECT_EQ(Padded(SpreadsheetWriter::ReadODS(ods)), table);
    // The package: mimetype first and stored, nothing left from an earlier one.
    QTemporaryDir unpacked;
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(ods, unpacked.path()));
    const QByteArray bytes = Read_Bytes(ods);
    EXPECT_EQ(bytes.mid(30, 8), QByteArray("mimetype"));
    EXPECT_EQ(bytes.mid(38, 46), QByteArray("application/vnd.oasis.opendocument.spreadsheet"));
    EXPECT_EQ(QDir(unpacked.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot, QDir::Name),
              QStringList({"META-INF", "content.xml", "mimetype", "styles.xml"}));
}

TEST(OtherFormatsTest, RepeatsAreCappedAndIndexesPlaceCells)
{
    QTemporaryDir dir;
    const QByteArray content =
        "<office:document-content xmlns:office=\"urn:oasis:names:tc:opendocument:xmlns:office:1.0\""
        " xmlns:table=\"urn:oasis:names:tc:opendocument:xmlns:table:1.0\""
        " xmlns:text=\"urn:oasis:names:tc:opendocument:xmlns:text:1.0\"><office:body><office:spreadsheet><table:table>"
        "<table:table-row><table:table-cell table:number-columns-repeated=\"1073741824\"><text:p>x</text:p></table:table-cell></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"2\"><table:table-cell><text:p>same</text:p></table:table-cell>"
        "<table:table-cell table:number-columns-repeated=\"1073741824\"/></table:table-row>"
        "<table:table-row table:number-rows-repeated=\"1048000\"><table:table-cell/></table:table-row>"
        "</table:table></office:spreadsheet></office:body></office:document-content>";
    ASSERT_TRUE(Make_Zip(dir.filePath("r.ods"), {{"mimetype", "application/vnd.oasis.opendocument.spreadsheet"},
                                                  {"content.xml", content}}));
    QString error;
    const SheetTable t = SpreadsheetWriter::ReadODS(dir.filePath("r.ods"), &error);
    ASSERT_EQ(t.size(), 3) << error.toStdString();
    EXPECT_EQ(t[0].size(), Max_Sheet_Columns);
    EXPECT_EQ(t[1], QStringList({"same"}));
    EXPECT_EQ(t[2], QStringList({"same"}));

    const QByteArray xml =
        "<?xml version=\"1.0\"?><Workbook xmlns=\"urn:schemas-microsoft-com:office:spreadsheet\""
        " xmlns:ss=\"urn:schemas-microsoft-com:office:spreadsheet\"><Worksheet><Table>"
        "<Row><Cell><Data>a</Data></Cell><Cell ss:Index=\"4\"><Data>d</Data></Cell><Cell ss:Index=\"2\"><Data>e</Data></Cell></Row>"
        "<Row><Cell ss:MergeAcross=\"2\"><Data>m</Data></Cell><Cell><Data>n</Data></Cell><Cell ss:Index=\"1073741824\"/></Row>"
        "</Table></Worksheet><Worksheet><Table><Row><Cell><Data>second sheet</Data></Cell></Row></Table></Worksheet></Workbook>";
    testsupport::touch(dir.filePath("x.xml"), xml);
    EXPECT_EQ(SpreadsheetWriter::ReadWorksheetXML2004(dir.filePath("x.xml")),
              SheetTable({{"a", "", "", "d", "e"}, {"m", "", "", "n"}}));
    // A text placed past the last column is not dropped without a word.
    testsupport::touch(dir.filePath("far.xml"), QByteArray(xml).replace("ss:Index=\"1073741824\"/>",
                                                                        "ss:Index=\"1073741824\"><Data>far</Data></Cell>"));
    EXPECT_TRUE(SpreadsheetWriter::ReadWorksheetXML2004(dir.filePath("far.xml"), &error).isEmpty());
    EXPECT_TRUE(error.contains("XFD")) << error.toStdString();
    testsupport::touch(dir.filePath("bad.xml"), "<Workbook><Worksheet><Table><Row>");
    error.clear();
    EXPECT_TRUE(SpreadsheetWriter::ReadWorksheetXML2004(dir.filePath("bad.xml"), &error).isEmpty());
    EXPECT_FALSE(error.isEmpty());
}
