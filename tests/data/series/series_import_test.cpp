// The import wizard: values of text, CSV and RTF files, pasted text and
// picture folders, written as series files or added to the value list.
#include "data/SeriesStore.h"
#include "data/series/BatchWizard.h"
#include "data/series/ExcelImport.h"
#include "data/series/Import_Wizard.h"
#include "data/series/SeriesImport.h"
#include "data/series/SeriesTestSupport.h"
#include "fuzz/HostileFiles.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRandomGenerator>

using namespace datatest;
using namespace seriestest;

namespace {
QStringList valuesOf(const QByteArray& bytes, const QString& name, Import_Read_Result expected = Import_Read_Result::Ok)
{
    QStringList values;
    EXPECT_EQ(Import_Series_Bytes_Values(bytes, name, &values), expected) << name.toStdString();
    return values;
}
} // namespace

TEST(SeriesImportTest, TextCsvAndRtfValues)
{
    // Any line ending gives the same values; each line cleaned on its own.
    const QStringList expected = {"one", "two", "xy", "three"};
    EXPECT_EQ(valuesOf("one\r\ntwo\r\n\r\n {x\\y} \r\n three \r\n", "a.txt"), expected);
    EXPECT_EQ(valuesOf("one\ntwo\n\n {x\\y} \n three \n", "a.txt"), expected);
    EXPECT_EQ(valuesOf("one\rtwo\r\r {x\\y} \r three \r", "a.TXT"), expected);
    // A line that happens to hold "NSFont = " is a value like any other.
    EXPECT_EQ(valuesOf("a\nNSFont = Helvetica\nb", "f.txt"), QStringList({"a", "NSFont = Helvetica", "b"}));
    // Text that is not UTF-8 is Windows-1252; a byte-order mark names its encoding.
    EXPECT_EQ(valuesOf("caf\xe9\n\x80 5", "w.txt"), QStringList({QString::fromUtf8("café"), QString::fromUtf8("€ 5")}));
    EXPECT_EQ(valuesOf(QByteArray("\xff\xfe" "a\0\n\0b\0", 8), "u.txt"), QStringList({"a", "b"}));
    // Nothing to read: refused.
    valuesOf(" \r\n\t\n", "e.txt", Import_Read_Result::Invalid);
    valuesOf(QByteArray("bin\0ary", 7), "b.txt", Import_Read_Result::Invalid);

    // CSV as the standard has it: a quoted comma stays inside its value, a
    // record of one field gives its value, cells are cleaned one by one.
    EXPECT_EQ(valuesOf("a,b\r\nc\r\n\"d, e\",{f}\r\n,,\r\n", "list.CSV"), QStringList({"a", "b", "c", "d, e", "f"}));
    EXPECT_EQ(valuesOf("a,b\nc\n", "list.csv"), QStringList({"a", "b", "c"}));

    // RTF: every run of the document, not the first one only.
    const QByteArray rtf =
        "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl\\f0\\fswiss Helvetica;}{\\colortbl;\\red255\\green0\\blue0;}\n"
        "{\\*\\expandedcolortbl;;}\\f0\\fs24 first \\b bold\\b0\\par\n"
        "second {\\cf1 red} run\\par\n"
        "caf\\'e9 \\u8364? \\{k\\}\\par\n"
        "{\\i last}}";
    EXPECT_EQ(valuesOf(rtf, "doc.rtf"),
              QStringList({"first bold", "second red run", QString::fromUtf8("café € k"), "last"}));
    valuesOf("not rich text", "doc.RTF", Import_Read_Result::Invalid);
    // The raw bytes of a picture are skipped whole, braces and letters in them too.
    EXPECT_EQ(valuesOf("{\\rtf1 one\\par{\\pict\\bin5 ab}cd}two\\par}", "p.rtf"), QStringList({"one", "two"}));
}

TEST(SeriesImportTest, DamagedFilesGiveCleanValuesOnly)
{
    QRandomGenerator rng(7);
    const QByteArray samples[] = {"{\\rtf1 a\\par {\\b b}\\par\\u8364?\\par}", "\"a,b\",c\r\n\"d\"\"e\",f\n",
                                  "line\r\n {x} \rline\n"};
    const char* names[] = {"x.rtf", "x.csv", "x.txt"};
    for (int i = 0; i < 3000; ++i) {
        QByteArray bytes = samples[i % 3];
        for (int k = 0; k < 4; ++k) {
            static const char pieces[] = "\\{}'\"\r\n,u-9*x\0\xe9 ";
            bytes.insert(qsizetype(rng.bounded(quint32(bytes.size()))), pieces[rng.bounded(int(sizeof(pieces) - 1))]);
        }
        QStringList values;
        if (Import_Series_Bytes_Values(bytes, names[i % 3], &values) != Import_Read_Result::Ok)
            continue;
        for (const QString& v : values) {
            ASSERT_FALSE(v.isEmpty());
            ASSERT_FALSE(v.contains('\\') || v.contains('{') || v.contains('}')) << v.toStdString();
            ASSERT_FALSE(v.endsWith('\n') || v.endsWith('\r') || v.startsWith('\n')) << v.toStdString();
        }
    }
}

TEST(SeriesImportTest, PictureFoldersAndPastedLines)
{
    QTemporaryDir dir;
    for (const char* f : {"a.JPG", "b.txt", "d.tiff", "e.Png", "noext"})
        testsupport::touch(dir.filePath(f));
    QDir().mkpath(dir.filePath("c.png"));
    EXPECT_EQ(Picture_Folder_Values(dir.path()),
              QStringList({dir.filePath("a.JPG"), dir.filePath("d.tiff"), dir.filePath("e.Png")}));
    EXPECT_TRUE(Picture_Folder_Values(dir.filePath("a.JPG")).isEmpty());
    EXPECT_TRUE(Picture_Folder_Values(dir.filePath("missing")).isEmpty());

    EXPECT_EQ(Manual_Paste_Lines("a\r\n  b  \n\nc"), QStringList({"a", "  b  ", "", "c"}));
    EXPECT_TRUE(Has_Unpaired_Surrogate(QString(QChar(0xD800)) + "x"));
    EXPECT_FALSE(Has_Unpaired_Surrogate(QString::fromUtf8("emoji 😀")));
}

class ImportWizardTest : public ::testing::Test {
protected:
    SeriesFolder folder;
    FakeMainWindow window;
    ScriptedMessages messages;
    Import_Wizard wizard;
    QTemporaryDir files;

    void open(int required, int insert = 0)
    {
        wizard.file_name_required = required;
        wizard.file_name_Insert = insert;
        wizard.Reset_Controls();
        wizard.setResult(-1);
    }
    QString file(const QString& name, const QByteArray& bytes)
    {
        testsupport::touch(files.filePath(name), bytes);
        return files.filePath(name);
    }
};

TEST_F(ImportWizardTest, TextFilesBecomeSeries)
{
    open(1);
    EXPECT_EQ(wizard.import_option, 0);
    wizard.Text_RD_Pressed();
    EXPECT_EQ(wizard.Text_file_name->text(), "Untitled");
    EXPECT_FALSE(wizard.Excel_path->isEnabled());

    // Chosen through the browse button, the import starts at once.
    const QString crlf = file("crlf.txt", "one\r\n {t\\wo} \r\n\r\nthree\r\n");
    wizard.Text_file_name->setText("*lines/crlf?");
    wizard.chooseText = [&] { return crlf; };
    wizard.Browse_Text_Pressed();
    EXPECT_EQ(wizard.result(), 1);
    EXPECT_EQ(Read_Bytes(folder.path("lines_crlf.txt")), QByteArray("one\ntwo\nthree\n"));

    // The same name with the reserved characters around it is the same series.
    open(1);
    wizard.Text_RD_Pressed();
    wizard.Text_path->setText(file("lf.txt", "one\ntwo\nthree\n"));
    wizard.Text_file_name->setText("/lines/crlf*");
    messages.push(1);  // No: keep the old series
    wizard.OKPressed();
    EXPECT_TRUE(messages.requests.back().text.contains("already exists. Do you want to replace it?"));
    EXPECT_EQ(wizard.result(), -1);

    // Refusals leave the wizard open with nothing written.
    struct Case {
        QString path;
        QString name;
        const char* message;
    };
    const Case cases[] = {
        {files.filePath("missing.txt"), "x", "Please select valid file path."},
        {files.path(), "x", "Please select a valid file."},
        {file("blank.txt", "  \r\n\r\n"), "x", "Either file is corrupted or selected file contains invalid characters."},
        {file("bad.rtf", "plain"), "x", "Either file is corrupted or selected file contains invalid characters."},
        {crlf, "?*|", "Please enter valid series name."},
    };
    for (const Case& c : cases) {
        wizard.Text_path->setText(c.path);
        wizard.Text_file_name->setText(c.name);
        wizard.OKPressed();
        EXPECT_TRUE(messages.requests.back().text.contains(c.message)) << c.message;
        EXPECT_EQ(wizard.result(), -1);
    }
    EXPECT_EQ(Series_Names(), QStringList({"lines_crlf"}));
}

TEST_F(ImportWizardTest, BytesThatAreNotUtf8AreImportedAndTheirLinesNamed)
{
    open(1);
    wizard.Text_RD_Pressed();
    wizard.Text_path->setText(file("names.txt", "Zo\xc3\xab\nRen\xe9" "e\nJos\xc3\xa9\n"));
    wizard.Text_file_name->setText("Names");
    wizard.OKPressed();
    EXPECT_EQ(wizard.result(), 1);
    EXPECT_EQ(Read_Bytes(folder.path("Names.txt")), QByteArray("Zo\xc3\xab\nRen\xef\xbf\xbd" "e\nJos\xc3\xa9\n"));
    EXPECT_EQ(messages.requests.back().text.trimmed(), "Line 2 holds bytes that are not UTF-8: they were read as \uFFFD.");
}

TEST_F(ImportWizardTest, PastedTextAndPictureFolders)
{
    open(1);
    wizard.Manual_RD_Pressed();
    wizard.ManualEdit->setPlainText("  a b  \n\n c\n\n");
    wizard.Manual_file_name->setText("pasted");
    wizard.OKPressed();
    EXPECT_EQ(wizard.result(), 1);
    // The whole text is trimmed; each non-empty line is written as typed.
    EXPECT_EQ(Read_Bytes(folder.path("pasted.txt")), QByteArray("a b  \n c\n"));
    open(1);
    wizard.Manual_RD_Pressed();
    wizard.ManualEdit->setPlainText(" \n ");
    wizard.OKPressed();
    EXPECT_TRUE(messages.requests.back().text.contains("Please enter some data."));

    QTemporaryDir pictures;
    for (const char* f : {"a.JPG", "b.txt", "d.tiff"})
        testsupport::touch(pictures.filePath(f));
    QDir().mkpath(pictures.filePath("c.png"));
    open(1);
    wizard.Image_RD_Pressed();
    wizard.Image_file_name->setText("pics");
    wizard.chooseFolder = [&] { return pictures.path(); };
    wizard.Browse_Image_Pressed();
    EXPECT_EQ(wizard.result(), 1);
    EXPECT_EQ(Read_Series_Values("pics"), QStringList({pictures.filePath("a.JPG"), pictures.filePath("d.tiff")}));

    // A folder without pictures (here a file's path) writes nothing: even
    // after "Yes" to replacing, the series that was there stays.
    open(1);
    wizard.Image_RD_Pressed();
    wizard.Image_file_name->setText("pics");
    wizard.Image_path->setText(pictures.filePath("b.txt"));
    messages.push(0);
    wizard.OKPressed();
    EXPECT_TRUE(messages.requests.back().text.contains("does not contains any image with supported extension."));
    EXPECT_EQ(wizard.result(), -1);
    EXPECT_EQ(Read_Series_Values("pics").size(), 2);
}

TEST_F(ImportWizardTest, ValuesGoToTheManagersList)
{
    BatchWizard manager;
    manager.AddNew_Btn_Clicked();
    wizard.BatchWizard_Window = &manager;
    manager.Create_Value_List("kept");
    open(0, 1);
    EXPECT_TRUE(wizard.Text_file_name->isHidden());
    wizard.Manual_RD_Pressed();
    wizard.ManualEdit->setPlainText(" x \n\n   \ny");
    wizard.OKPressed();
    EXPECT_EQ(wizard.result(), 1);
    EXPECT_EQ(manager.ListData_value(), QStringList({"kept", "x", "y"}));

    open(0, 1);
    wizard.Text_RD_Pressed();
    wizard.Text_path->setText(file("v.csv", "1,2\r\n3\r\n"));
    wizard.OKPressed();
    EXPECT_EQ(manager.ListData_value(), QStringList({"kept", "x", "y", "1", "2", "3"}));
    EXPECT_TRUE(Series_Names().isEmpty());
}

TEST_F(ImportWizardTest, ASpreadsheetOpensTheColumnsDialogOfTheMode)
{
    const QString book = Make_Workbook(files, "book.xlsx", {{"Name", "Code"}, {"a", "1"}, {"b", "2"}});
    Dialog_Driver driver(messages);
    QStringList seen;
    driver.on<Import_Excel_DataSheet>([&](Import_Excel_DataSheet& d) {
        seen << "series";
        d.Select_ALL_Pressed();
        d.OKPressed();
    });
    driver.on<Import_Excel>([&](Import_Excel& d) {
        seen << "values";
        d.Select_ALL_Pressed();
        d.OKPressed();
    });
    open(1);
    wizard.chooseExcel = [&] { return book; };
    wizard.Browse_Excel_Pressed();
    EXPECT_EQ(wizard.result(), 1);
    EXPECT_EQ(Read_Series_Values("Code"), QStringList({"1", "2"}));

    BatchWizard manager;
    manager.AddNew_Btn_Clicked();
    wizard.BatchWizard_Window = &manager;
    open(0, 1);
    wizard.Excel_path->setText(book);
    wizard.OKPressed();
    EXPECT_EQ(seen, QStringList({"series", "values"}));
    EXPECT_EQ(manager.ListData_value(), QStringList({"a", "1", "b", "2"}));
}

// Whether a text file holds anything once trimmed is told of the whole
// text: the same verdict (and values) however the pieces of the read cut
// it, the control characters and spaces at a piece's ends included.
TEST(SeriesImportTest, TheVerdictIsTheSameWhereverTheReadPiecesEnd)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("values.txt"));
    auto verdict = [&](const QByteArray& bytes, qsizetype piece, QStringList* values) {
        if (testsupport::readAll(path) != bytes)
            testsupport::touch(path, bytes);
        return Import_Series_File_Values(path, values, nullptr, nullptr, piece);
    };
    // A space between two control characters is kept by Trim_Str: the file
    // holds text (its one value is that space).
    const QByteArray small = hostile_files::Control_Space_Control();
    const QByteArray large = hostile_files::Control_Spaces_Control();
    for (const QByteArray& bytes : {small, large}) {
        SCOPED_TRACE(bytes.size());
        QStringList whole;
        ASSERT_EQ(Import_Series_Bytes_Values(bytes, dir.filePath("values.txt"), &whole), Import_Read_Result::Ok);
        EXPECT_EQ(whole, QStringList({QString(bytes.size() - 2, QLatin1Char(' '))}));
        const std::vector<qsizetype> pieces = bytes.size() < 8
            ? std::vector<qsizetype>{1, 2, 3, Text_Piece_Bytes}
            : std::vector<qsizetype>{4095, Text_Piece_Bytes - 1, Text_Piece_Bytes, Text_Piece_Bytes + 1};
        for (qsizetype piece : pieces) {
            QStringList cut;
            EXPECT_EQ(verdict(bytes, piece, &cut), Import_Read_Result::Ok) << piece;
            EXPECT_EQ(cut, whole) << piece;
        }
    }

    // Texts of white space (some of it control characters, some not),
    // control characters and a letter, in every order up to three: the
    // verdict in pieces of one and two bytes is the whole one.
    const QList<QByteArray> parts = {"\x05", " ", "\t", "\xC2\xA0", "\xE2\x80\x8B", "x"};
    std::vector<QByteArray> level = {""}, texts;
    for (int length = 1; length <= 3; ++length) {
        std::vector<QByteArray> next;
        for (const QByteArray& t : level)
            for (const QByteArray& p : parts)
                next.push_back(t + p);
        texts.insert(texts.end(), next.begin(), next.end());
        level = std::move(next);
    }
    int checked = 0;
    for (const QByteArray& t : texts) {
        if (t.isEmpty())
            continue;
        const Import_Read_Result whole = Import_Series_Bytes_Values(t, dir.filePath("values.txt"), nullptr);
        for (qsizetype piece : {qsizetype(1), qsizetype(2)}) {
            ASSERT_EQ(verdict(t, piece, nullptr), whole) << t.toHex().toStdString() << " in pieces of " << piece;
            ++checked;
        }
    }
    EXPECT_EQ(checked, 2 * (6 + 36 + 216));
}
