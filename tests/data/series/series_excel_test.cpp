// The spreadsheet dialogs: columns of a sheet to series files (one per
// column, or all into one) and to the series manager's value list.
#include "data/SeriesStore.h"
#include "data/series/BatchWizard.h"
#include "data/series/ExcelImport.h"
#include "data/series/SeriesAlerts.h"
#include "data/series/SeriesTestSupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QTableView>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace datatest;
using namespace seriestest;

namespace {

QStringList names(const QList<Excel_Column_Entry>& entries)
{
    QStringList out;
    for (const Excel_Column_Entry& e : entries)
        out << e.Extension;
    return out;
}

// A workbook of `count` sheets named S1, S2, ... whose one cell says which.
QString Many_Sheets(const QTemporaryDir& dir, int count)
{
    QByteArray sheets, rels, types;
    QList<QPair<QString, QByteArray>> parts;
    for (int i = 1; i <= count; ++i) {
        const QByteArray n = QByteArray::number(i);
        sheets += "<sheet name=\"S" + n + "\" sheetId=\"" + n + "\" r:id=\"rId" + n + "\"/>";
        rels += "<Relationship Id=\"rId" + n
              + "\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet\" "
                "Target=\"worksheets/sheet" + n + ".xml\"/>";
        types += "<Override PartName=\"/xl/worksheets/sheet" + n
               + ".xml\" ContentType=\"application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml\"/>";
        parts << qMakePair(QStringLiteral("xl/worksheets/sheet%1.xml").arg(i),
                           Sheet_Xml("<row r=\"1\"><c r=\"A1\" t=\"inlineStr\"><is><t>title" + n
                                     + "</t></is></c></row><row r=\"2\"><c r=\"A2\" t=\"inlineStr\"><is><t>value" + n
                                     + "</t></is></c></row>"));
    }
    parts << qMakePair(QStringLiteral("[Content_Types].xml"),
                       "<?xml version=\"1.0\"?><Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                       "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                       "<Default Extension=\"xml\" ContentType=\"application/xml\"/>" + types + "</Types>")
          << qMakePair(QStringLiteral("_rels/.rels"),
                       QByteArray("<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                                  "<Relationship Id=\"rId1\" Type=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument\" Target=\"xl/workbook.xml\"/>"
                                  "</Relationships>"))
          << qMakePair(QStringLiteral("xl/workbook.xml"),
                       "<?xml version=\"1.0\"?><workbook xmlns=\"http://schemas.openxmlformats.org/spreadsheetml/2006/main\" "
                       "xmlns:r=\"http://schemas.openxmlformats.org/officeDocument/2006/relationships\"><sheets>" + sheets
                           + "</sheets></workbook>")
          << qMakePair(QStringLiteral("xl/_rels/workbook.xml.rels"),
                       "<?xml version=\"1.0\"?><Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                           + rels + "</Relationships>");
    const QString path = dir.filePath(QStringLiteral("many.xlsx"));
    EXPECT_TRUE(Make_Zip(path, parts));
    return path;
}

} // namespace

class ColumnsToSeriesTest : public ::testing::Test {
protected:
    SeriesFolder folder;
    FakeMainWindow window;
    ScriptedMessages messages;
    Dialog_Driver alerts{messages};
    Import_Excel_DataSheet dialog;
    QTemporaryDir files;

    void open(const SheetTable& rows)
    {
        ASSERT_TRUE(dialog.Reset_Controls(Make_Workbook(files, "book.xlsx", rows)));
        dialog.setResult(-1);
    }
    void tick(const QStringList& columns)
    {
        auto* model = static_cast<Excel_Column_Model*>(dialog.ColList->model());
        for (int i = 0; i < model->entries().size(); ++i)
            if (columns.contains(model->entries().at(i).Extension))
                model->setData(model->index(i, Excel_Column_Model::StateColumn), Qt::Checked, Qt::CheckStateRole);
    }
    // Answers the keep-or-replace alerts in order: button index, Apply to All.
    void answerAlerts(QList<QPair<int, bool>> answers, QStringList* seen = nullptr)
    {
        alerts.on<Series_Alert_Box>([answers, seen, i = 0](Series_Alert_Box& box) mutable {
            if (seen)
                *seen << box.message_lbl->text();
            const auto a = i < answers.size() ? answers.at(i++) : qMakePair(0, false);
            box.apply_chk->setChecked(a.second);
            box.buttons.at(a.first)->click();
        });
    }
};

TEST_F(ColumnsToSeriesTest, EachColumnBecomesASeries)
{
    // An empty title is named by its column; the entry keeps its place.
    open({{"Name", "", "Code"}, {"Ann", "x", "1"}, {"Bob", "y", ""}, {"Cy", "z", "3"}});
    EXPECT_EQ(names(dialog.ListData_xl()), QStringList({"Name", "Untitled Column 2", "Code"}));
    EXPECT_TRUE(dialog.Each_col_RD->isChecked());
    EXPECT_TRUE(dialog.contains_header->isChecked());

    // Nothing ticked, then "Code" with the title row: one line per data row,
    // the empty cell an empty line.
    dialog.OKPressed();
    EXPECT_TRUE(messages.requests.back().text.contains("No column is selected."));
    tick({"Code"});
    dialog.OKPressed();
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(Read_Bytes(folder.path("Code.txt")), QByteArray("1\n\n3\n"));

    // Without the title row the first row's cell is the first value.
    open({{"Name", "", "Code"}, {"Ann", "x", "1"}});
    tick({"Name"});
    dialog.contains_header->setChecked(false);
    dialog.OKPressed();
    EXPECT_EQ(Read_Series_Values("Name"), QStringList({"Name", "Ann"}));

    // Titles are cleaned into names: A/B writes A_B, *Total* writes Total.
    open({{"A/B", "*Total*", "Rest"}, {"1", "2", "3"}});
    tick({"A/B", "*Total*"});
    dialog.OKPressed();
    EXPECT_EQ(Read_Series_Values("A_B"), QStringList({"1"}));
    EXPECT_EQ(Read_Series_Values("Total"), QStringList({"2"}));
    EXPECT_FALSE(Series_Exists("Rest"));
}

TEST_F(ColumnsToSeriesTest, BlankTitlesKeepEveryColumnInPlace)
{
    open({{"First", "   ", "Third", "Fourth"}, {"f", "s", "t", "u"}});
    EXPECT_EQ(names(dialog.ListData_xl()), QStringList({"First", "Untitled Column 2", "Third", "Fourth"}));
    tick({"Third", "Fourth"});
    dialog.OKPressed();
    EXPECT_EQ(Read_Series_Values("Third"), QStringList({"t"}));
    EXPECT_EQ(Read_Series_Values("Fourth"), QStringList({"u"}));

    // A series name edited to nothing is refused before anything is written.
    open({{"Only", "Other"}, {"o", "p"}});
    auto* model = static_cast<Excel_Column_Model*>(dialog.ColList->model());
    model->setData(model->index(0, Excel_Column_Model::HeaderColumn), "?*", Qt::EditRole);
    tick({"Only", "Other"});
    dialog.OKPressed();
    EXPECT_TRUE(messages.requests.back().text.contains("Please enter valid series name."));
    EXPECT_EQ(dialog.result(), -1);
    EXPECT_FALSE(Series_Exists("Other"));
}

TEST_F(ColumnsToSeriesTest, ExistingSeriesKeepReplaceCancelAndInUse)
{
    folder.write("a.txt", "old a\n");
    folder.write("b.txt", "old b\n");
    folder.write("c.txt", "old c\n");
    // "Keep Both" with "Apply to All" at the first alert: both kept beside, no second alert.
    QStringList seen;
    answerAlerts({{0, true}}, &seen);
    open({{"a", "b"}, {"1", "2"}});
    tick({"a", "b"});
    dialog.OKPressed();
    EXPECT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen.first().startsWith("File already exists\n\na\n\n"));
    EXPECT_EQ(Read_Bytes(folder.path("a (1).TXT")), QByteArray("1\n"));
    EXPECT_EQ(Read_Bytes(folder.path("b (1).TXT")), QByteArray("2\n"));
    EXPECT_EQ(Read_Bytes(folder.path("a.txt")), QByteArray("old a\n"));

    // "Cancel" leaves that series and goes on; "Replace" writes over.
    seen.clear();
    answerAlerts({{2, false}, {1, false}}, &seen);
    open({{"a", "b"}, {"x", "y"}});
    tick({"a", "b"});
    dialog.OKPressed();
    EXPECT_EQ(seen.size(), 2);
    EXPECT_EQ(Read_Bytes(folder.path("a.txt")), QByteArray("old a\n"));
    EXPECT_EQ(Read_Bytes(folder.path("b.txt")), QByteArray("y\n"));

    // A series in use is skipped after its alert; Apply to All silences the rest.
    window.barcodeModeSeries = {"a", "c"};
    seen.clear();
    alerts.on<Series_Alert_Box>([&](Series_Alert_Box& box) {
        seen << box.message_lbl->text();
        box.apply_chk->setChecked(true);
        box.buttons.first()->click();
    });
    open({{"a", "c", "d"}, {"1", "2", "3"}});
    tick({"a", "c", "d"});
    dialog.OKPressed();
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen.first(), "Series is in use\n\na\n\nBatch processing Series is already in use.");
    EXPECT_EQ(Read_Bytes(folder.path("c.txt")), QByteArray("old c\n"));
    EXPECT_EQ(Read_Bytes(folder.path("d.txt")), QByteArray("3\n"));
}

TEST_F(ColumnsToSeriesTest, FillModeNewReplaceAndAppend)
{
    open({{"p", "q", "r"}, {"1", "2", "3"}, {"4", "5", "6"}});
    dialog.Fill_Col_RD_Click();
    EXPECT_TRUE(dialog.ColList->isColumnHidden(Excel_Column_Model::HeaderColumn));
    tick({"p", "r"});
    dialog.OKPressed();
    EXPECT_TRUE(messages.requests.back().text.contains("Please enter list name."));
    dialog.list_name->setText("all");
    dialog.OKPressed();
    EXPECT_EQ(Read_Bytes(folder.path("all.txt")), QByteArray("1\n3\n4\n6\n"));

    // Append: after the existing lines.
    open({{"p", "q"}, {"7", "a"}, {"", "b"}, {"8", "c"}});
    dialog.Fill_Col_RD_Click();
    dialog.Fill_Type_CellClick(2);
    dialog.List_ComboBox->setCurrentText("all");
    tick({"p"});
    dialog.OKPressed();
    EXPECT_EQ(Read_Bytes(folder.path("all.txt")), QByteArray("1\n3\n4\n6\n7\n\n8\n"));

    // A new series under an existing name asks; No keeps it and the dialog open.
    open({{"p"}, {"9"}});
    dialog.Fill_Col_RD_Click();
    dialog.list_name->setText("ALL");
    tick({"p"});
    messages.push(1);
    dialog.OKPressed();
    EXPECT_TRUE(messages.requests.back().text.contains("already exists. Do you want to replace it?"));
    EXPECT_EQ(dialog.result(), -1);
    // Replace: without asking.
    dialog.Fill_Type_CellClick(1);
    dialog.List_ComboBox->setCurrentText("all");
    dialog.OKPressed();
    EXPECT_EQ(Read_Bytes(folder.path("all.txt")), QByteArray("9\n"));
    EXPECT_EQ(Series_Names(), QStringList({"all"}));

    // The next opening starts over: each column, a new series.
    open({{"p"}, {"1"}});
    EXPECT_TRUE(dialog.Each_col_RD->isChecked());
    EXPECT_EQ(dialog.fill_col_option, 0);
    EXPECT_TRUE(dialog.fill_new_rd->isChecked());
    EXPECT_FALSE(dialog.ColList->isColumnHidden(Excel_Column_Model::HeaderColumn));
}

TEST_F(ColumnsToSeriesTest, TheChosenSheetOfAReorderedWorkbook)
{
    // The sheet parts are numbered against the sheet order; the list shows
    // the real sheets and a choice reads the sheet it names.
    ASSERT_TRUE(dialog.Reset_Controls(Test_File("lo_reordered.xlsx")));
    ASSERT_EQ(dialog.Sheet_ComboBox->count(), 3);
    EXPECT_EQ(dialog.Sheet_ComboBox->itemText(1), "Second");
    EXPECT_EQ(names(dialog.ListData_xl()).mid(0, 2), QStringList({"Name", "Code"}));
    dialog.Sheet_ComboBox->setCurrentIndex(1);
    EXPECT_EQ(dialog.Excel_Sheet_Number, 2);
    EXPECT_EQ(names(dialog.ListData_xl()), QStringList({"x", "y"}));
    dialog.Select_ALL_Pressed();
    dialog.OKPressed();
    EXPECT_EQ(Read_Series_Values("x"), QStringList({"1"}));
    EXPECT_EQ(Read_Series_Values("y"), QStringList({"2"}));

    // Not a workbook: said, and the dialog is not run.
    const QString bad = files.filePath("bad.xlsx");
    testsupport::touch(bad, "not a zip");
    EXPECT_EQ(dialog.Open_excel_datasheet_Wnd(bad), 0);
    EXPECT_EQ(alerts.count, 0);
    EXPECT_FALSE(messages.requests.empty());
}

TEST_F(ColumnsToSeriesTest, AColumnThatCannotBeWrittenIsReported)
{
    folder.write("kept.txt", "old\n");
    answerAlerts({{1, false}});
    open({{"kept", "other"}, {"1", "2"}});
    tick({"kept", "other"});
    Read_Only_Path locked(Folders.Data_Folder_Path);
    ASSERT_TRUE(locked.ok());
    dialog.OKPressed();
    EXPECT_TRUE(messages.requests.back().text.contains("Error in file accessing."));
    EXPECT_TRUE(messages.requests.back().text.contains("kept\nother"));
    EXPECT_EQ(Read_Bytes(folder.path("kept.txt")), QByteArray("old\n"));
}

class ColumnsToValueListTest : public ::testing::Test {
protected:
    SeriesFolder folder;
    FakeMainWindow window;
    ScriptedMessages messages;
    BatchWizard manager;
    Import_Excel dialog;
    QTemporaryDir files;

    void SetUp() override
    {
        manager.AddNew_Btn_Clicked();
        dialog.BatchWizard_Window = &manager;
    }
};

TEST_F(ColumnsToValueListTest, TickedCellsRowByRow)
{
    const SheetTable rows = {{"Name", "Code", "", "City"}, {"a1", "b1", " ", "c1"}, {"a2", "b2", "z", ""}};
    ASSERT_TRUE(dialog.Reset_Controls(Make_Workbook(files, "v.xlsx", rows)));
    EXPECT_EQ(names(dialog.ListData_xl()), QStringList({"Name", "Code", "Untitled Column 3", "City"}));
    auto* model = static_cast<Excel_Column_Model*>(dialog.ColList->model());
    EXPECT_EQ(model->columnCount(), 2);
    // Select all, then clear all: every entry unticked, in the same order.
    dialog.Select_ALL_Pressed();
    dialog.Clear_All_Pressed();
    EXPECT_EQ(names(dialog.ListData_xl()), QStringList({"Name", "Code", "Untitled Column 3", "City"}));
    EXPECT_FALSE(dialog.Check_For_One_Extension_Selection());
    dialog.OKPressed();
    EXPECT_TRUE(messages.requests.back().text.contains("No column is selected."));

    model->setState(0, true);
    model->setState(2, true);
    model->setState(3, true);
    dialog.OKPressed();
    EXPECT_EQ(manager.ListData_value(), QStringList({"a1", "c1", "a2", "z"}));

    ASSERT_TRUE(dialog.Reset_Controls(Make_Workbook(files, "v2.xlsx", rows)));
    model->setState(0, true);
    model->setState(3, true);
    dialog.contains_header->setChecked(false);
    dialog.OKPressed();
    EXPECT_EQ(manager.ListData_value().mid(4), QStringList({"Name", "City", "a1", "c1", "a2"}));
}

// A workbook or sheet that cannot be read is said in the window, in words
// that say what to do; the value list keeps what it had.
TEST_F(ColumnsToValueListTest, WhatCannotBeReadIsSaidAndTheValuesKept)
{
    manager.Create_Value_List(QStringList({"kept"}));
    EXPECT_FALSE(dialog.Reset_Controls(Test_File("lo_password.xlsx")));
    EXPECT_EQ(messages.requests.back().text.trimmed(),
              "This workbook is protected by a password: save it without one and try again.");
    EXPECT_FALSE(dialog.Reset_Controls(Test_File("lo_old.xls")));
    EXPECT_EQ(messages.requests.back().text.trimmed(),
              "Old Excel files (.xls) cannot be read: save it as .xlsx and try again.");

    // The second sheet is damaged: choosing it says so and offers no column.
    auto parts = Workbook_Parts(Sheet_Xml("<row><c t=\"inlineStr\"><is><t>Code</t></is></c></row>"));
    parts << qMakePair(QStringLiteral("xl/worksheets/sheet2.xml"), Sheet_Xml("<row><c><v>1</v></row>"));
    for (auto& p : parts)
        if (p.first == "xl/workbook.xml")
            p.second.replace("</sheets>", "<sheet name=\"Broken\" sheetId=\"2\"/></sheets>");
    ASSERT_TRUE(Make_Zip(files.filePath("two.xlsx"), parts));
    ASSERT_TRUE(dialog.Reset_Controls(files.filePath("two.xlsx")));
    EXPECT_EQ(names(dialog.ListData_xl()), QStringList({"Code"}));
    const qsizetype said = messages.requests.size();
    dialog.Sheet_ComboBox->setCurrentIndex(1);
    ASSERT_EQ(messages.requests.size(), said + 1);
    EXPECT_TRUE(messages.requests.back().text.trimmed().startsWith("The sheet 'Broken' is damaged: mismatched tag"))
        << messages.requests.back().text.toStdString();
    EXPECT_TRUE(dialog.ListData_xl().isEmpty());
    dialog.OKPressed();
    EXPECT_TRUE(messages.requests.back().text.contains("There is no column."));
    EXPECT_EQ(manager.ListData_value(), QStringList({"kept"}));
}

TEST_F(ColumnsToValueListTest, TwelveSheetsInOrder)
{
    ASSERT_TRUE(dialog.Reset_Controls(Many_Sheets(files, 12)));
    ASSERT_EQ(dialog.Sheet_ComboBox->count(), 12);
    EXPECT_EQ(dialog.Sheet_ComboBox->itemText(0), "S1");
    EXPECT_EQ(dialog.Sheet_ComboBox->itemText(11), "S12");
    dialog.Sheet_ComboBox->setCurrentIndex(9);
    EXPECT_EQ(dialog.Excel_Sheet_Number, 10);
    EXPECT_EQ(names(dialog.ListData_xl()), QStringList({"title10"}));
    dialog.Select_ALL_Pressed();
    dialog.OKPressed();
    EXPECT_EQ(manager.ListData_value(), QStringList({"value10"}));
}
