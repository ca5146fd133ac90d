// Barcode list files: the text, CSV and RTF imports with their options, the
// encodings and line endings met in practice, damaged and oversized input,
// and the export in both formats read back.
#include "data/DataTestSupport.h"
#include "barcode/generation/list_test_support.h"
#include "data/barcodelist/BarcodeListFiles.h"

#include <QStringEncoder>

using namespace datatest;

namespace {

List_Import_Options Opts(bool v, bool h, bool f, bool q, bool overwrite = false)
{
    List_Import_Options o;
    o.value = v;
    o.header = h;
    o.footer = f;
    o.pq = q;
    o.overwrite_text_load_row = overwrite;
    return o;
}

QString Write(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    testsupport::touch(path, bytes);
    return path;
}

std::vector<BarcodeRow> Import(BarcodeListModel& m, const QString& path, const List_Import_Options& o,
                               QString* message = nullptr, bool expectOk = true)
{
    QString msg;
    EXPECT_EQ(Import_List_File_Now(m, path, o, &msg), expectOk) << msg.toStdString();
    if (message)
        *message = msg;
    return m.rows();
}

void Fill(BarcodeListModel& m, int n)
{
    for (int i = 0; i < n; ++i)
        m.Create_Item_List(QStringLiteral("V%1").arg(i), QStringLiteral("H%1").arg(i), QStringLiteral("F%1").arg(i),
                           QString::number(i + 2), m.count());
}

QByteArray Encode(const QString& text, QStringConverter::Encoding e, bool bom)
{
    QStringEncoder enc(e, bom ? QStringConverter::Flag::WriteBom : QStringConverter::Flag::Default);
    return enc.encode(text);
}

} // namespace

TEST(ListFiles, TextLinesFillTheTickedTexts)
{
    QTemporaryDir dir;
    BarcodeListModel m;
    // Two fields with value, header and footer ticked: the footer takes the field read last.
    Import(m, Write(dir, "ab.txt", "A\tB\n"), Opts(true, true, true, false));
    ASSERT_EQ(m.count(), 1);
    EXPECT_EQ(m.rows()[0], (BarcodeRow{"A", "B", "B", "1"}));
    // One field with all four ticked: X everywhere, X fails the quantity rule.
    Import(m, Write(dir, "x.txt", "X\n"), Opts(true, true, true, true));
    EXPECT_EQ(m.rows()[1], (BarcodeRow{"X", "X", "X", "1"}));
    // A first line starting with a tab keeps its empty value; fields are
    // trimmed one by one; an empty line is skipped.
    BarcodeListModel t;
    Import(t, Write(dir, "tab.txt", "\tH1\tF1\t3\n\n v2 \t H2 \tF2\t4\r\n"), Opts(true, true, true, true));
    ASSERT_EQ(t.count(), 2);
    EXPECT_EQ(t.rows()[0], (BarcodeRow{"", "H1", "F1", "3"}));
    EXPECT_EQ(t.rows()[1], (BarcodeRow{"v2", "H2", "F2", "4"}));
    // An appended line with an empty header field gets an empty header.
    Import(t, Write(dir, "gap.txt", "v3\t\tF3\n"), Opts(true, true, true, false));
    EXPECT_EQ(t.rows()[2], (BarcodeRow{"v3", "", "F3", "1"}));
}

TEST(ListFiles, OverwritingTakesTheFileAndEmptiesTheUntickedTexts)
{
    QTemporaryDir dir;
    BarcodeListModel m;
    Fill(m, 5);
    // Start choice: rows 0 and 1 overwritten, 2 to 4 kept; an empty header
    // field keeps row 0's header, the unticked quantity is empty (and, the
    // row not being empty, reads "1").
    Import(m, Write(dir, "two.txt", "a\t\tfa\nb\thb\tfb\n"), Opts(true, true, true, false, true));
    ASSERT_EQ(m.count(), 5);
    EXPECT_EQ(m.rows()[0], (BarcodeRow{"a", "H0", "fa", "1"}));
    EXPECT_EQ(m.rows()[1], (BarcodeRow{"b", "hb", "fb", "1"}));
    EXPECT_EQ(m.rows()[2], (BarcodeRow{"V2", "H2", "F2", "4"}));
    // Only headers ticked: the value, footer and quantity go.
    Import(m, Write(dir, "hdr.txt", "new header\n"), Opts(false, true, false, false, true));
    EXPECT_EQ(m.rows()[0], (BarcodeRow{"", "new header", "", "1"}));
    // More lines than rows: the rest are added.
    Import(m, Write(dir, "seven.txt", "1\n2\n3\n4\n5\n6\n7\n"), Opts(true, false, false, false, true));
    ASSERT_EQ(m.count(), 7);
    EXPECT_EQ(m.rows()[6], (BarcodeRow{"7", "", "", "1"}));
    EXPECT_EQ(m.rows()[4], (BarcodeRow{"5", "", "", "1"}));
    // A CSV cell over a row alike: only the ticked texts.
    Import(m, Write(dir, "cells.csv", "c0,c1\r"), Opts(false, false, true, false, true));
    EXPECT_EQ(m.rows()[0], (BarcodeRow{"", "", "c0", "1"}));
    EXPECT_EQ(m.rows()[1], (BarcodeRow{"", "", "c1", "1"}));
}

TEST(ListFiles, SameRowsFromEveryLineEndingAndEncoding)
{
    QTemporaryDir dir;
    const QString text = QStringLiteral("Café\tH€\tF\t2\nplain\t\t\t\n\tonly header\n");
    // A short line's later ticked texts take the field read last.
    const std::vector<BarcodeRow> expected{
        {"Café", "H€", "F", "2"}, {"plain", "", "", "1"}, {"", "only header", "only header", "1"}};
    int n = 0;
    for (const char* eol : {"\n", "\r\n", "\r"}) {
        QString t = text;
        t.replace(QLatin1Char('\n'), QString::fromLatin1(eol));
        struct Form { const char* name; QByteArray bytes; };
        QByteArray cp1252 = t.toLatin1();
        for (qsizetype i = 0; i < cp1252.size(); ++i)
            if (t.at(i) == QChar(0x20AC))
                cp1252[i] = char(0x80);
        const Form forms[] = {
            {"utf8", Encode(t, QStringConverter::Utf8, false)},
            {"utf8-bom", Encode(t, QStringConverter::Utf8, true)},
            {"utf16le-bom", Encode(t, QStringConverter::Utf16LE, true)},
            {"utf16be-bom", Encode(t, QStringConverter::Utf16BE, true)},
            {"utf16le", Encode(t, QStringConverter::Utf16LE, false)},
            {"utf16be", Encode(t, QStringConverter::Utf16BE, false)},
            {"cp1252", cp1252},
        };
        for (const Form& f : forms) {
            SCOPED_TRACE(std::string(f.name) + " eol " + QByteArray(eol).toHex().toStdString());
            BarcodeListModel m;
            Import(m, Write(dir, QStringLiteral("f%1.txt").arg(n++), f.bytes), Opts(true, true, true, true));
            EXPECT_EQ(m.rows(), expected);
        }
    }
}

TEST(ListFiles, RtfGivesItsWholeText)
{
    QTemporaryDir dir;
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0 Helvetica;}{\\f1 Times;}}{\\colortbl;\\red255\\green0\\blue0;}\n"
        "\\pard\\f0 Caf\\'e9 {\\b bold}\\tab {\\i H}\\cf1 1\\par\n"
        "\\uc1\\u26481?\\u20140?{\\f1 run}\\tab F\\par\n"
        "{\\*\\generator hidden}last\\par}";
    BarcodeListModel m;
    Import(m, Write(dir, "doc.RTF", rtf), Opts(true, true, false, false));
    ASSERT_EQ(m.count(), 3);
    EXPECT_EQ(m.rows()[0], (BarcodeRow{"Café bold", "H1", "", "1"}));
    EXPECT_EQ(m.rows()[1], (BarcodeRow{QStringLiteral("東京run"), "F", "", "1"}));
    EXPECT_EQ(m.rows()[2], (BarcodeRow{"last", "last", "", "1"}));

    // Unbalanced braces and a huge \binN: what is sound before them is read.
    BarcodeListModel d;
    QByteArray bin = "{\\rtf1 {{one\\par}}}} two\\par {\\bin999999999999 \x01\x02garbage\\par";
    Import(d, Write(dir, "damaged.rtf", bin), Opts(true, false, false, false));
    ASSERT_EQ(d.count(), 2);
    EXPECT_EQ(d.rows()[0].Value, "one");
    EXPECT_EQ(d.rows()[1].Value, "two");
    // Groups nested far deeper than any document: no stack of them is kept.
    BarcodeListModel deep;
    Import(deep, Write(dir, "deep.rtf", "{\\rtf1 " + QByteArray(200000, '{') + "deep\\par"), Opts(true, false, false, false));
    ASSERT_EQ(deep.count(), 1);
    EXPECT_EQ(deep.rows()[0].Value, "deep");
}

TEST(ListFiles, CsvCellsFollowTheStandard)
{
    QTemporaryDir dir;
    BarcodeListModel m;
    // Every non-empty cell is a row; quoted commas, doubled quotes and line
    // breaks stay in their cell; any line ending.
    const QByteArray csv = "a,b,,c\r\n\"x, y\",\"say \"\"hi\"\"\"\n\"two\nlines\"\rsingle\n";
    Import(m, Write(dir, "list.csv", csv), Opts(true, false, false, false));
    QStringList values;
    for (const BarcodeRow& r : m.rows())
        values << r.Value;
    EXPECT_EQ(values, QStringList({"a", "b", "c", "x, y", "say \"hi\"", "two\nlines", "single"}));
    // A ticked text takes the cell, quantities follow the rule.
    BarcodeListModel q;
    Import(q, Write(dir, "q.CSV", "7,z\n"), Opts(false, true, false, true));
    ASSERT_EQ(q.count(), 2);
    EXPECT_EQ(q.rows()[0], (BarcodeRow{"", "7", "", "7"}));
    EXPECT_EQ(q.rows()[1], (BarcodeRow{"", "z", "", "1"}));
    // An unterminated quote: the records before it are read and the user is told.
    BarcodeListModel u;
    QString note;
    Import(u, Write(dir, "open.csv", "ok1,ok2\n\"never closed,\nrest\n"), Opts(true, false, false, false), &note);
    EXPECT_GE(u.count(), 2);
    EXPECT_EQ(u.rows()[0].Value, "ok1");
    EXPECT_TRUE(note.contains("line 2")) << note.toStdString();
}

TEST(ListFiles, DamagedOrOversizedInputKeepsTheList)
{
    QTemporaryDir dir;
    BarcodeListModel m;
    Fill(m, 3);
    const std::vector<BarcodeRow> before = m.rows();
    QString msg;
    // Not text, empty, missing, separator only, not RTF: nothing changes, the user is told why.
    for (const auto& bad : QList<QPair<QString, QByteArray>>{{"bin.txt", QByteArray("\x01\x00\x02\x00\x00\x07", 6)},
                                                           {"empty.txt", ""},
                                                           {"sep.txt", QByteArray(76, '=') + "\n"},
                                                           {"fake.rtf", "not rtf at all"}}) {
        SCOPED_TRACE(bad.first.toStdString());
        Import(m, Write(dir, bad.first, bad.second), Opts(true, true, true, true, true), &msg, false);
        EXPECT_TRUE(msg.startsWith(List_File_Invalid_Message)) << msg.toStdString();
        EXPECT_EQ(m.rows(), before);
    }
    Import(m, dir.filePath("missing.txt"), Opts(true, false, false, false), &msg, false);
    EXPECT_EQ(m.rows(), before);
    // A line of a million characters is left out and counted; the others come in.
    const QByteArray longLine = "first\n" + QByteArray(1000000, 'Z') + "\nlast\n";
    Import(m, Write(dir, "long.txt", longLine), Opts(true, false, false, false), &msg);
    ASSERT_EQ(m.count(), 5);
    EXPECT_EQ(m.rows()[3].Value, "first");
    EXPECT_EQ(m.rows()[4].Value, "last");
    EXPECT_TRUE(msg.contains("1 line")) << msg.toStdString();
}

TEST(ListFiles, ListStopsAtItsLargestSize)
{
    QTemporaryDir dir;
    QByteArray many;
    many.reserve(8 * (Barcode_List_Max_Rows + 10));
    for (int i = 0; i < Barcode_List_Max_Rows + 5; ++i)
        many += QByteArray::number(i) + '\n';
    BarcodeListModel m;
    QString msg;
    Import(m, Write(dir, "many.txt", many), Opts(true, false, false, false), &msg);
    EXPECT_EQ(m.count(), Barcode_List_Max_Rows);
    EXPECT_EQ(m.rows().back().Value, QString::number(Barcode_List_Max_Rows - 1));
    EXPECT_TRUE(msg.contains("at most")) << msg.toStdString();
}

TEST(ListFiles, ExportThenImportGivesTheSameRows)
{
    QTemporaryDir dir;
    BarcodeListModel m;
    m.Load_Rows({{"", "first has no value", "f", "2"}, {"B", "", "", "1"}, {"C", "tab\tinside", "x", "999"}});
    m.Replace_Item_List("", "", "", "", 1);   // a row of empty texts: no quantity
    m.Replace_Item_List("D", "h", "f", "7", 1);
    QString error;
    ASSERT_TRUE(Export_Barcode_List(dir.filePath("list.txt"), m.rows(), &error)) << error.toStdString();
    // UTF-8 without a mark, one line a row, tabs inside texts written as spaces.
    const QByteArray bytes = Read_Bytes(dir.filePath("list.txt"));
    EXPECT_EQ(bytes, QByteArray("\tfirst has no value\tf\t2\nD\th\tf\t7\nC\ttab inside\tx\t999\n"));

    BarcodeListModel back;
    back.Load_Rows({{"old", "row", "", "1"}});
    Import(back, dir.filePath("list.txt"), Opts(true, true, true, true, true));
    std::vector<BarcodeRow> expected = m.rows();
    expected[2].Header = "tab inside";
    EXPECT_EQ(back.rows(), expected);

    // The workbook: a title row, then the rows as text cells.
    ASSERT_TRUE(Export_Barcode_List(dir.filePath("list.XLSX"), m.rows(), &error)) << error.toStdString();
    Xlsx_Workbook wb;
    ASSERT_TRUE(wb.open(dir.filePath("list.XLSX"))) << wb.lastError().toStdString();
    const SheetTable table = wb.readSheet(1).toTable();
    ASSERT_EQ(table.size(), 4);
    EXPECT_EQ(table[0], QStringList({"Barcode Value", "Barcode Header", "Barcode Footer", "Print Quantity"}));
    EXPECT_EQ(table[1], QStringList({"", "first has no value", "f", "2"}));
    EXPECT_EQ(table[3], QStringList({"C", "tab\tinside", "x", "999"}));

    // Another extension gets ".txt"; a path that cannot be written says so and keeps the old file.
    bool workbook = true;
    EXPECT_EQ(List_Export_Path(dir.filePath("list.csv"), &workbook), dir.filePath("list.csv.txt"));
    EXPECT_FALSE(workbook);
    EXPECT_FALSE(Export_Barcode_List(dir.filePath("no/such/folder/list.txt"), m.rows(), &error));
    EXPECT_FALSE(error.isEmpty());
}

// A text of 32,767 characters is the longest a list text may be: such a
// text is imported, one character more and its line is left out and said
// so, in every kind of file and in every field of a line.
TEST(ListFiles, ATextOfTheLongestLengthComesInAndOneLongerIsLeftOut)
{
    QTemporaryDir dir;
    const int limit = List_File_Reader::Max_Field_Length;
    ASSERT_EQ(limit, 32767);
    const QByteArray at(limit, 'L'), past(limit + 1, 'P');
    const QString kept = QString::fromLatin1(at);
    const QString note = QStringLiteral("1 line holding a text longer than 32767 characters was left out.");
    const struct {
        const char* name;
        QByteArray bytes;
        std::vector<BarcodeRow> rows;  // with all four texts ticked
    } files[] = {
        // Each field at the limit (the line as long as a line may be), then
        // a footer past it.
        {"fields.txt", at + "\t" + at + "\t" + at + "\t" + at + "\n" + "V\tH\t" + past + "\n" + "last\n",
         {{kept, kept, kept, "1"}, {"last", "last", "last", "1"}}},
        {"values.txt", at + "\n" + past + "\tH\n", {{kept, kept, kept, "1"}}},
        // Spaces around a text are not part of it.
        {"trimmed.txt", "  " + at + "  \n " + past + "\n", {{kept, kept, kept, "1"}}},
        {"cells.csv", at + "," + "\"" + at + "\"\r\n" + past + "\r\nlast\r\n",
         {{kept, kept, kept, "1"}, {kept, kept, kept, "1"}, {"last", "last", "last", "1"}}},
        {"document.rtf", "{\\rtf1\\ansi " + at + "\\par " + past + "\\par last}",
         {{kept, kept, kept, "1"}, {"last", "last", "last", "1"}}},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.name);
        BarcodeListModel m;
        QString msg;
        Import(m, Write(dir, QString::fromLatin1(f.name), f.bytes), Opts(true, true, true, true), &msg);
        EXPECT_EQ(m.rows(), f.rows);
        EXPECT_EQ(msg, note) << msg.toStdString();
    }
}

// A file that cannot be imported is let go before the user is told, while
// the reader that failed lives on.
TEST(ListFiles, AReaderThatFailsLetsGoOfItsFile)
{
    QTemporaryDir dir;
    for (const auto& bad : QList<QPair<QString, QByteArray>>{{"binary.txt", QByteArray("\x01\x00\x02\x00\x00\x07", 6)},
                                                           {"fake.rtf", "not rtf at all"}}) {
        SCOPED_TRACE(bad.first.toStdString());
        const QString path = Write(dir, bad.first, bad.second);
        List_File_Reader reader;
        EXPECT_FALSE(reader.open(path));
        EXPECT_FALSE(reader.error().isEmpty());
        EXPECT_EQ(testsupport::Open_Descriptors_On(path), 0);
    }
    // A file that opens is held until it is read through.
    const QString good = Write(dir, "good.txt", "a\nb\n");
    List_File_Reader reader;
    ASSERT_TRUE(reader.open(good));
    EXPECT_EQ(testsupport::Open_Descriptors_On(good), 1);
    std::vector<List_Line> lines;
    while (reader.readLines(lines, 10)) {
    }
    EXPECT_EQ(lines.size(), 2u);
    EXPECT_EQ(testsupport::Open_Descriptors_On(good), 0);
}
