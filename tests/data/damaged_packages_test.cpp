// Packages damaged in ways that once read as sound: a directory that lists
// one part twice, a part whose data no longer matches its checksum; and
// sound parts read in pieces that cut them where the reader must carry what
// was cut (a line end, a name of the longest length allowed). What the user
// sees: the damaged-file message in the window that read the file, with the
// list and the file left as they were, or the cell as it was written.
#include "barcode/generation/list_test_support.h"
#include "data/DataTestSupport.h"
#include "data/ListImportMessages.h"
#include "data/XmlStream.h"
#include "data/barcodelist/ListDialogs.h"
#include "fuzz/HostileFiles.h"
#include "platform/MessageSink.h"

#include <QCheckBox>

#include <ostream>

using namespace datatest;

namespace {

// Bytes the zip reader hands on at a time: a part is read in pieces this long.
constexpr qsizetype kReadPiece = qsizetype(256) << 10;

// The parts of an .ods holding one cell, `content` given (or the one cell).
QList<QPair<QString, QByteArray>> Ods_Entries(const QByteArray& content)
{
    QList<QPair<QString, QByteArray>> entries;
    for (const PackagePart& p : Builtin_Ods_Template())
        entries << qMakePair(p.name, p.name == QLatin1String("content.xml") ? content : p.bytes);
    return entries;
}

QByteArray Ods_Content(const QByteArray& cell)
{
    return SpreadsheetWriter::ODS_Content_XML({{QString::fromUtf8(cell)}});
}

// A copy of the file with the first `from` in its bytes (the packed data of
// a part stored as it is) made `to`.
QString Altered(const QTemporaryDir& dir, const QString& path, const QByteArray& from, const QByteArray& to)
{
    QByteArray bytes = Read_Bytes(path);
    const qsizetype at = bytes.indexOf(from);
    EXPECT_GE(at, 0) << from.toStdString();
    EXPECT_EQ(bytes.indexOf(from, at + 1), -1) << "the text stands once in the file";
    bytes.replace(at, from.size(), to);
    const QString out = dir.filePath(QStringLiteral("altered-") + QFileInfo(path).fileName());
    testsupport::touch(out, bytes);
    return out;
}

} // namespace

TEST(DamagedPackagesTest, APartListedTwiceIsDamageInEveryReader)
{
    QTemporaryDir dir;
    const QString twice = dir.filePath("twice.xlsx"), relisted = dir.filePath("relisted.xlsx"),
                  renamed = dir.filePath("renamed.xlsx");
    ASSERT_TRUE(hostile_files::Write_Twice_Named_Workbook(twice));
    ASSERT_TRUE(hostile_files::Write_Relisted_Workbook(relisted));
    ASSERT_TRUE(hostile_files::Write_Relisted_Workbook(renamed, 9, true));
    const QString damaged = QStringLiteral("The file is not a spreadsheet (.xlsx), or it is damaged (its directory is "
                                           "damaged: %1). Open it in your spreadsheet program, save it as .xlsx and "
                                           "try again.");
    const struct {
        QString path;
        QString fault;
    } cases[] = {
        {twice, QStringLiteral("two entries are named xl/worksheets/sheet1.xml")},
        {relisted, QStringLiteral("two entries are named xl/worksheets/sheet1.xml")},
        {renamed, QStringLiteral("two of its records name the same data (xl/worksheets/sheet1.xml and "
                                 "xl/worksheets/sheet2.xml)")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        Xlsx_Workbook book;
        EXPECT_FALSE(book.open(c.path));
        EXPECT_EQ(book.lastError(), damaged.arg(c.fault));

        // Unpacked, nothing is written.
        SSZipError error;
        const QString out = dir.filePath("out");
        EXPECT_FALSE(SSZipArchive::unzipFileAtPath(c.path, out, true, QString(), &error));
        EXPECT_EQ(error.code, SSZipErrorData);
        EXPECT_EQ(error.description, QStringLiteral("The package's directory is damaged: %1.").arg(c.fault));
        EXPECT_FALSE(QFileInfo::exists(out));

        // In the list's window: the message, the file let go before it,
        // and the list as it was.
        BarcodeListModel list;
        const std::vector<BarcodeRow> before = Three_Rows(list);
        EXPECT_EQ(Import_Into_List(list, c.path), std::vector<Shown>({{damaged.arg(c.fault), 0}}));
        EXPECT_EQ(list.rows(), before);
    }

    // The same for an OpenDocument spreadsheet whose content is entered twice.
    const QString ods = dir.filePath("twice.ods");
    ASSERT_TRUE(hostile_files::Write_Package(
        ods, Ods_Entries(Ods_Content("first")) << qMakePair(QStringLiteral("content.xml"), Ods_Content("second"))));
    QString error;
    EXPECT_TRUE(SpreadsheetWriter::ReadODS(ods, &error).isEmpty());
    EXPECT_EQ(error, "The file is not an OpenDocument spreadsheet or it is damaged. Its directory is damaged: two "
                     "entries are named content.xml.");

    // Sound packages made the same way read as they were written.
    const QString sound = dir.filePath("sound.xlsx");
    ASSERT_TRUE(hostile_files::Write_Package(sound, hostile_files::Workbook_Entries(hostile_files::Inline_Sheet("once"),
                                                                                    hostile_files::Shared_Part({}))));
    Xlsx_Workbook book;
    ASSERT_TRUE(book.open(sound)) << book.lastError().toStdString();
    EXPECT_EQ(book.readSheet(1).cell(0, 0), "once");
    const QString soundOds = dir.filePath("sound.ods");
    ASSERT_TRUE(hostile_files::Write_Package(soundOds, Ods_Entries(Ods_Content("first"))));
    EXPECT_EQ(SpreadsheetWriter::ReadODS(soundOds, &error), SheetTable({{"first"}})) << error.toStdString();
}

// One byte changed in the packed data of a part (deflated into stored
// blocks, so the data still inflates, to other values): the part fails its
// checksum, and its altered values are never taken.
TEST(DamagedPackagesTest, APartThatFailsItsChecksumIsNeverTaken)
{
    QTemporaryDir dir;
    const QString xlsx = dir.filePath("book.xlsx");
    ASSERT_TRUE(hostile_files::Write_Package(
        xlsx,
        hostile_files::Workbook_Entries(hostile_files::Inline_Sheet("Code12345"), hostile_files::Shared_Part({"Title777"})),
        0));
    Xlsx_Workbook book;
    ASSERT_TRUE(book.open(xlsx)) << book.lastError().toStdString();
    EXPECT_EQ(book.readSheet(1).cell(0, 0), "Code12345");
    EXPECT_EQ(book.sharedString(0), "Title777");
    book.close();

    // The sheet's data.
    const QString sheet = Altered(dir, xlsx, "Code12345", "Code12945");
    ASSERT_TRUE(book.open(sheet)) << book.lastError().toStdString();
    EXPECT_TRUE(book.readSheet(1).isEmpty());
    EXPECT_EQ(book.lastError(), "The sheet 'Sheet1' is damaged: its data fails its checksum. Open the workbook in your "
                                "spreadsheet program, save it again as .xlsx and try again.");
    book.close();
    // In the list's window the sheet is read for its columns: the damage is
    // said then, and the list stays as it was.
    BarcodeListModel list;
    const std::vector<BarcodeRow> before = Three_Rows(list);
    const std::vector<Shown> shown = Import_Into_List(list, sheet);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.front().text, "The sheet 'Sheet1' is damaged: its data fails its checksum. Open the workbook in "
                                  "your spreadsheet program, save it again as .xlsx and try again.");
    EXPECT_EQ(list.rows(), before);

    // The workbook's texts.
    const QString texts = Altered(dir, xlsx, "Title777", "Title787");
    EXPECT_FALSE(book.open(texts));
    EXPECT_EQ(book.lastError(), "The texts of the workbook are damaged (its data fails its checksum). Open the workbook "
                                "in your spreadsheet program, save it again as .xlsx and try again.");

    // An OpenDocument spreadsheet's content.
    const QString ods = dir.filePath("book.ods");
    ASSERT_TRUE(hostile_files::Write_Package(ods, Ods_Entries(Ods_Content("Code12345")), 0));
    QString error;
    EXPECT_EQ(SpreadsheetWriter::ReadODS(ods, &error), SheetTable({{"Code12345"}})) << error.toStdString();
    EXPECT_TRUE(SpreadsheetWriter::ReadODS(Altered(dir, ods, "Code12345", "Code12945"), &error).isEmpty());
    EXPECT_EQ(error, "The sheet is damaged: the part content.xml fails its checksum.");
}

// The zip reader hands a part on in pieces of 256 KB: a sheet whose "\r\n"
// inside a cell is cut by a piece's end, and one whose element name of the
// longest length allowed ends where a piece ends, read as written.
TEST(DamagedPackagesTest, APieceThatEndsInsideALineEndOrAtANamesEndReadsAsWritten)
{
    QTemporaryDir dir;
    const QByteArray head = hostile_files::Sheet_Part("").chopped(QByteArray("</sheetData></worksheet>").size())
        + "<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>";
    // The cell's "\r" is the last byte of the first piece, its "\n" the first of the second.
    const QByteArray filler(kReadPiece - 1 - head.size(), 'f');
    const QByteArray lineEnd = head + filler + "\r\ng</t></is></c></row></sheetData></worksheet>";
    ASSERT_EQ(lineEnd.indexOf('\r'), kReadPiece - 1);
    ASSERT_TRUE(hostile_files::Write_Package(dir.filePath("cr.xlsx"),
                                             hostile_files::Workbook_Entries(lineEnd, hostile_files::Shared_Part({}))));
    Xlsx_Workbook book;
    ASSERT_TRUE(book.open(dir.filePath("cr.xlsx"))) << book.lastError().toStdString();
    const Sheet_Cells cells = book.readSheet(1);
    ASSERT_EQ(cells.rowCount(), 1) << book.lastError().toStdString();
    EXPECT_EQ(cells.cell(0, 0), QString::fromLatin1(filler) + "\ng");

    // An element the reader does not know, named with the longest name
    // allowed, ending with the first piece: sound. One byte longer: damage.
    for (const qsizetype extra : {qsizetype(0), qsizetype(1)}) {
        SCOPED_TRACE(extra);
        const QByteArray before = hostile_files::Sheet_Part("<row r=\"1\"><c r=\"A1\"><v>7</v></c></row>")
                                      .chopped(QByteArray("</worksheet>").size());
        const QByteArray pad = "<!--" + QByteArray(kReadPiece - before.size() - Xml_Stream::Max_Name_Bytes - 1 - 4 - 3, 'x')
            + "-->";
        const QByteArray name(Xml_Stream::Max_Name_Bytes + extra, 'n');
        const QByteArray part = before + pad + "<" + name + "/></worksheet>";
        ASSERT_EQ(part.indexOf(name) + Xml_Stream::Max_Name_Bytes, kReadPiece);
        ASSERT_TRUE(hostile_files::Write_Package(dir.filePath("name.xlsx"),
                                                 hostile_files::Workbook_Entries(part, hostile_files::Shared_Part({}))));
        ASSERT_TRUE(book.open(dir.filePath("name.xlsx"))) << book.lastError().toStdString();
        const Sheet_Cells table = book.readSheet(1);
        if (extra == 0) {
            EXPECT_TRUE(book.lastError().isEmpty()) << book.lastError().toStdString();
            EXPECT_EQ(table.cell(0, 0), "7");
        } else {
            EXPECT_TRUE(table.isEmpty());
            EXPECT_TRUE(book.lastError().startsWith("The sheet 'Sheet1' is damaged: an element name is longer than 4 KB"))
                << book.lastError().toStdString();
        }
    }
}
