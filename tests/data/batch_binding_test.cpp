// Batch binding: counting a job's rows, filling one card per row from series
// and spreadsheet rows (on copies, never on the live items), the spreadsheet
// rows and their viewer, and the design back-up around a job.
#include "core/FakeMainWindow.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/model/LMNBarcode.h"
#include "core/model/LMNDocument.h"
#include "core/model/LMNImage.h"
#include "core/model/LMNText.h"
#include "core/util/BatchServices.h"
#include "common/FakeBatchServices.h"
#include "data/BatchBinding.h"
#include "data/Data_From_Excel.h"
#include "data/DataTestSupport.h"
#include "data/SeriesStore.h"

#include <QComboBox>
#include <QLabel>
#include <QPainter>
#include <QTableView>

#include <thread>

using namespace datatest;

namespace {

// A main window whose front items live in a real document shown by a real canvas.
class CanvasWindow : public FakeMainWindow {
public:
    CanvasWindow()
    {
        view.bindGraphics(&document);
        view.setCardSize(QSizeF(300, 200));
        canvasBounds = QRectF(0, 0, 300, 200);
    }
    ~CanvasWindow() override { view.unbindGraphics(); }
    LMNGraphicView* graphicView() const override { return const_cast<LMNGraphicView*>(&view); }
    QList<LMNGraphic*> Get_Front_Controls_Array() const override { return view.graphics(); }
    void add(std::unique_ptr<LMNGraphic> item)
    {
        document.insertGraphic(LMNGraphicPtr(item.release()), int(document.graphics().size()));
    }
    LMNGraphic* at(int i) const { return view.graphics().at(i); }

    LMNDocument document;
    LMNGraphicView view;
};

std::unique_ptr<LMNGraphic> Text_Item(const QString& text, int source, const QString& series = {}, int column = 0)
{
    auto t = std::make_unique<LMNText>();
    t->_bounds = QRectF(10, 10, 100, 20);
    t->ctrl_is_visible = true;
    t->Set_text_value(text);
    t->data_source_type = source;
    t->batch_list_name = series;
    t->batch_list_index = 99;  // remembered positions are looked up again by name
    t->excel_col_indx = column;
    return t;
}

std::unique_ptr<LMNGraphic> Barcode_Item(const QString& series)
{
    auto b = std::make_unique<LMNBarcode>();
    b->_bounds = QRectF(50, 50, 120, 60);
    b->bar_image_ctrl_bounds = QRectF(40, 40, 200, 100);
    b->ctrl_is_visible = true;
    b->data_source_type = 1;
    b->batch_list_name = series;
    b->linear_font_val = "OWN";
    b->header_val = "OWN-H";
    b->footer_val = "OWN-F";
    return b;
}

struct Job {
    Job() { main.mode = 1; }
    FakeBatchServices main;   // the main window, in designing mode
    SeriesFolder folder;
    CanvasWindow window;
    FakeBarcodeDialog dialog;
    Batch_Binding binding;
};

} // namespace

TEST(BatchBindingTest, SeriesOfThreeAndFiveAndFourSpreadsheetRowsGiveFiveCards)
{
    Job job;
    job.folder.write("three.txt", "a1\na2\na3\n");
    job.folder.write("Five.txt", "b1\nb2\nb3\nb4\nb5\n");
    job.window.add(Text_Item("T3", 1, "THREE"));  // names in another case still bind
    job.window.add(Text_Item("T5", 1, "five"));
    job.window.add(Text_Item("TX", 2, {}, 2));
    job.binding.excelRows().Set_Columns({"Name", "City"});
    for (int r = 1; r <= 4; ++r)
        job.binding.excelRows().Create_List_By_Array({QStringLiteral("n%1").arg(r), QStringLiteral(" c%1 ").arg(r)}, 2);

    const Batch_Row_Count count = job.binding.Count_Rows();
    EXPECT_TRUE(count.Use_Data_Sheet_Values);
    EXPECT_TRUE(count.Use_Excel_Binding_Values);
    EXPECT_EQ(count.Data_table_rows, 5);
    EXPECT_EQ(count.Excel_table_rows, 4);
    EXPECT_EQ(count.Total_Batch_Excel_Card, 5);
    const auto rows = job.binding.Make_Rows(count);
    EXPECT_EQ(rows->rowCount(), 5);

    const QStringList want3 = {"a1", "a2", "a3", "", ""};
    const QStringList want5 = {"b1", "b2", "b3", "b4", "b5"};
    const QStringList wantX = {"c1", "c2", "c3", "c4", ""};
    for (int row = 0; row < 5; ++row) {
        SCOPED_TRACE(row);
        const PtImage card = rows->image(row);
        EXPECT_FALSE(card.isNull());
        EXPECT_EQ(card.size(), QSizeF(300, 200));
        const QList<LMNGraphic*> copies = rows->Graphics_array_Batch();
        ASSERT_EQ(copies.size(), 3);
        EXPECT_EQ(copies[0]->Text_Value, want3[row]);
        EXPECT_EQ(copies[1]->Text_Value, want5[row]);
        EXPECT_EQ(copies[2]->Text_Value, wantX[row]);
    }
    // The live design is as the user made it.
    EXPECT_EQ(job.window.at(0)->Text_Value, "T3");
    EXPECT_EQ(job.window.at(1)->Text_Value, "T5");
    EXPECT_EQ(job.window.at(2)->Text_Value, "TX");
    EXPECT_EQ(job.window.at(0)->batch_list_index, 99);
}

TEST(BatchBindingTest, CountsFollowWhatIsBoundAndPrinted)
{
    Job job;
    job.folder.write("s.txt", "1\n2\n3\n");
    // No bound item: one card showing the design as it is.
    job.window.add(Text_Item("plain", 0));
    EXPECT_EQ(job.binding.Count_Rows().Total_Batch_Excel_Card, 1);
    EXPECT_FALSE(job.binding.Count_Rows().Use_Data_Sheet_Values);

    // The only series-bound item is not printed: no series binding, not filled.
    auto hidden = Text_Item("hidden", 1, "s");
    hidden->print_object = 1;
    job.window.add(std::move(hidden));
    EXPECT_FALSE(job.binding.Count_Rows().Use_Data_Sheet_Values);
    EXPECT_EQ(job.binding.Count_Rows().Total_Batch_Excel_Card, 1);
    auto rows = job.binding.Make_Rows(job.binding.Count_Rows());
    rows->image(0);
    EXPECT_EQ(rows->Graphics_array_Batch()[1]->Text_Value, "hidden");

    // Spreadsheet-bound with no rows: the binding is off and the item keeps its text.
    job.window.add(Text_Item("sheet", 2, {}, 1));
    EXPECT_FALSE(job.binding.Count_Rows().Use_Excel_Binding_Values);
    rows = job.binding.Make_Rows(job.binding.Count_Rows());
    rows->image(0);
    EXPECT_EQ(rows->Graphics_array_Batch()[2]->Text_Value, "sheet");
}

TEST(BatchBindingTest, BarcodesFallBackToTheirOwnValuesAndBlankOnEmptyRows)
{
    Job job;
    job.folder.write("vals.txt", "111\n\n333\n");
    job.folder.write("gone.txt", "x\n");
    job.window.add(Barcode_Item("vals"));
    job.window.add(Barcode_Item("gone"));
    EXPECT_EQ(job.binding.Count_Rows().Total_Batch_Excel_Card, 3);
    // A series deleted before the job is made: its item shows its own texts.
    Delete_Series_File("gone");
    const auto rows = job.binding.Make_Rows(job.binding.Count_Rows());

    rows->image(0);
    QList<LMNGraphic*> copies = rows->Graphics_array_Batch();
    EXPECT_EQ(job.dialog.values, QStringList({"111", "OWN"}));
    EXPECT_EQ(job.dialog.headers, QStringList({"OWN-H", "OWN-H"}));
    EXPECT_EQ(job.dialog.footers, QStringList({"OWN-F", "OWN-F"}));
    // The image is centred in the item's box.
    EXPECT_EQ(copies[0]->_bounds, QRectF(80, 60, 120, 60));
    EXPECT_EQ(copies[1]->batch_list_index, -1);

    // An empty middle line: no image on that row.
    job.dialog.values.clear();
    rows->image(1);
    copies = rows->Graphics_array_Batch();
    EXPECT_EQ(copies[0]->width(), 0);
    EXPECT_EQ(job.dialog.values, QStringList({"OWN"}));
    // The dialog only ever saw the copies.
    for (LMNGraphic* loaded : job.dialog.loadedItems)
        EXPECT_FALSE(job.window.view.graphics().contains(loaded));
}

TEST(BatchBindingTest, AJobOnAWorkerNeverTouchesTheLiveItems)
{
    Job job;
    job.folder.write("s.txt", "one\ntwo\nthree\n");
    job.window.add(Text_Item("design", 1, "s"));
    job.window.add(Barcode_Item("s"));
    const QList<QByteArray> before = {job.window.at(0)->encodeWithCoder(), job.window.at(1)->encodeWithCoder()};

    std::atomic<bool> done = false;
    QList<PtImage> cards;
    std::thread worker([&] {
        const auto rows = job.binding.Make_Rows(job.binding.Count_Rows());
        for (int row = 0; row < rows->rowCount(); ++row)
            cards << rows->image(row);
        done = true;
    });
    testsupport::pumpUntil(done);
    worker.join();
    ASSERT_EQ(cards.size(), 3);
    for (const PtImage& c : cards)
        EXPECT_FALSE(c.isNull());
    EXPECT_EQ(job.window.at(0)->encodeWithCoder(), before[0]);
    EXPECT_EQ(job.window.at(1)->encodeWithCoder(), before[1]);
    EXPECT_EQ(job.dialog.values, QStringList({"one", "two", "three"}));
    // The window's canvas is not redrawn while a card is filled, and is again after.
    EXPECT_EQ(job.dialog.whileFilling, QList<bool>({true, true, true}));
    EXPECT_FALSE(job.window.Card_Value_In_Process);

    // Showing the first row is the one fill of the live design.
    job.binding.Select_first_row_value_for_design();
    EXPECT_EQ(job.window.at(0)->Text_Value, "one");
}

TEST(BatchBindingTest, LookUpsAndFirstValues)
{
    Job job;
    job.folder.write("Beta.txt", "b\n");
    job.folder.write("alpha.txt", "a\n");
    EXPECT_EQ(Batch_Binding::Get_Data_SetIndex_According_Name("ALPHA"), 0);
    EXPECT_EQ(Batch_Binding::Get_Data_SetIndex_According_Name("beta"), 1);
    EXPECT_EQ(Batch_Binding::Get_Data_SetIndex_According_Name(""), -1);
    EXPECT_EQ(Batch_Binding::Get_Data_SetIndex_According_Name("none"), -1);

    Excel_Rows& rows = job.binding.excelRows();
    EXPECT_EQ(job.binding.Get_First_Value_Of_Excel_Binding(1), "");
    rows.Set_Columns({"Name", "City"});
    rows.Create_List_By_Array({"Ann", ""}, 2);
    EXPECT_EQ(job.binding.Get_First_Value_Of_Excel_Binding(0), "1");
    EXPECT_EQ(job.binding.Get_First_Value_Of_Excel_Binding(1), "Ann");
    EXPECT_EQ(job.binding.Get_First_Value_Of_Excel_Binding(2), " ");

    QComboBox combo;
    job.binding.Fill_Excel_Col_Name_In_Combo(&combo);
    EXPECT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.itemText(2), "City");
    QComboBox source;
    source.addItems({"Manual", "Series", "Excel"});
    Batch_Binding::Remove_Excel_Col_Name_In_Combo(&source);
    EXPECT_EQ(source.count(), 2);
    Batch_Binding::Remove_Excel_Col_Name_In_Combo(&source);
    EXPECT_EQ(source.count(), 2);

    ScriptedMessages messages;
    QStringList opened;
    auto open = [&](const QString& s) { opened << s; };
    Batch_Binding::View_batch_Series_Button("Manual", "x", open);
    Batch_Binding::View_batch_Series_Button("Series", " <--Select--> ", open);
    Batch_Binding::View_batch_Series_Button("Series", " alpha ", open);
    EXPECT_EQ(opened, QStringList({"alpha"}));
    ASSERT_EQ(messages.requests.size(), 1u);
    EXPECT_TRUE(messages.requests[0].text.contains("Please select the series."));
    Batch_Binding::View_batch_Series_Button("Excel", "", open);
    EXPECT_EQ(messages.dialogsRun, 1);
}

TEST(BatchBindingTest, SpreadsheetRowsAndTheirViewer)
{
    Excel_Rows rows;
    rows.Set_Columns({"Name", "City"});
    EXPECT_TRUE(rows.Create_List_By_Array({"Ann", "  Rome  "}, 2));
    EXPECT_FALSE(rows.Create_List_By_Array({"short"}, 2));
    EXPECT_EQ(rows.row(0), ExcelRow({{"Extension", "1"}, {"Column1", "Ann"}, {"Column2", "Rome"}}));
    EXPECT_EQ(rows.Get_Item_Text(0, 0), "1");
    EXPECT_EQ(rows.Get_Item_Text(0, 2), "Rome");
    EXPECT_EQ(rows.Get_Item_Text(5, 1), "");
    rows.Clear_Rows();
    for (int i = 0; i < 3; ++i)
        rows.Create_List_By_Array({"a", "b"}, 2);
    EXPECT_EQ(rows.Get_Item_Text(2, 0), "3");

    // Filled from a read sheet: chosen columns, title row skipped.
    rows.Fill_From_Columns({"Code", "Name"}, {{"Name", "x", "Code"}, {"Ann", "", "7"}, {"Bob"}}, {2, 0}, 1);
    EXPECT_EQ(rows.columnTitles(), QStringList({Excel_Row_Number_Title, "Code", "Name"}));
    EXPECT_EQ(rows.rowCount(), 2);
    EXPECT_EQ(rows.Get_Item_Text(1, 1), "");
    EXPECT_EQ(rows.Get_Item_Text(1, 2), "Bob");

    // As a design file restores them.
    const QList<ExcelRow> stored = rows.ListData();
    Excel_Rows restored;
    restored.Restore({"#", "Code", "Name"}, stored);
    EXPECT_EQ(restored.columnTitles(), rows.columnTitles());
    EXPECT_EQ(restored.ListData(), stored);

    // The viewer of 2 chosen columns and 5 rows shows 5 rows and 3 columns.
    Excel_Rows five;
    five.Set_Columns({"Name", "City"});
    for (int i = 0; i < 5; ++i)
        five.Create_List_By_Array({QStringLiteral("n%1").arg(i), "c"}, 2);
    FakeMainWindow window;
    ScriptedMessages messages;
    messages.onDialog = [](QDialog& d) { static_cast<Data_From_Excel&>(d).OK_Click(); };
    Data_From_Excel* viewer = Data_From_Excel::defaultInstance();
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(Data_From_Excel::Data_From_Excel_Window(), viewer);
    viewer->setRows(&five);
    EXPECT_EQ(viewer->Open_Wnd(), 1);
    EXPECT_EQ(viewer->rows_count->text(), "5");
    EXPECT_EQ(viewer->column_count->text(), "3");
    EXPECT_EQ(viewer->ColList->model()->headerData(2, Qt::Horizontal).toString(), "City");
    EXPECT_EQ(viewer->ColList->model()->index(4, 1).data().toString(), "n4");
    viewer->Mark_List_New_Selection(3);
    EXPECT_EQ(viewer->ColList->selectionModel()->selectedRows().value(0).row(), 3);
    viewer->setRows(nullptr);
}

TEST(BatchBindingTest, TheBackUpRestoresTheDesign)
{
    Job job;
    // No back-up yet: a restore changes nothing.
    job.window.add(Text_Item("first", 0));
    job.window.add(Barcode_Item(""));
    job.window.add(Text_Item("third", 0));
    LMNGraphic* firstLive = job.window.at(0);
    job.binding.Create_Card_Design_Again();
    EXPECT_EQ(job.window.at(0), firstLive);

    job.binding.Set_Front_Back_Value_To_Print_Export_Mail();
    ASSERT_TRUE(job.binding.Has_Design_Backup());
    EXPECT_EQ(job.binding.Design_Backup().size(), 3);
    // Unchanged items stay the same objects; nothing stays selected.
    job.window.view.changeSelectionIndexes({0, 2});
    job.window.view._Selected_Graphic = firstLive;
    job.binding.Create_Card_Design_Again();
    EXPECT_EQ(job.window.at(0), firstLive);
    EXPECT_TRUE(job.window.view.selectionIndexes().isEmpty());
    EXPECT_EQ(job.window.view._Selected_Graphic, nullptr);

    // Shown rows and edits since the back-up are undone, in stacking order.
    job.window.document.undoManager().removeAllActions();
    job.window.at(0)->Set_text_value("row three");
    job.window.at(1)->_bounds = QRectF(1, 2, 30, 40);
    job.window.view.changeSelectionIndexes({1});
    job.binding.Create_Card_Design_Again();
    ASSERT_EQ(job.window.view.graphics().size(), 3);
    EXPECT_TRUE(job.window.view.selectionIndexes().isEmpty());
    EXPECT_EQ(job.window.at(0)->Text_Value, "first");
    EXPECT_EQ(job.window.at(2)->Text_Value, "third");
    EXPECT_EQ(job.window.at(1)->kind(), LMNKind::Barcode);
    // A barcode keeps its image bounds.
    EXPECT_EQ(job.window.at(1)->_bounds, QRectF(50, 50, 120, 60));
    EXPECT_EQ(job.window.at(1)->bar_image_ctrl_bounds, QRectF(50, 50, 120, 60));
    // The restore is no undo step.
    EXPECT_FALSE(job.window.document.undoManager().canUndo());

    // From a worker too.
    job.window.at(2)->Set_text_value("changed");
    std::atomic<bool> done = false;
    std::thread worker([&] {
        job.binding.Create_Card_Design_Again();
        done = true;
    });
    testsupport::pumpUntil(done);
    worker.join();
    EXPECT_EQ(job.window.at(2)->Text_Value, "third");

    // Barcode mode keeps its hands off.
    job.main.mode = 0;
    job.window.at(2)->Set_text_value("changed");
    job.binding.Create_Card_Design_Again();
    EXPECT_EQ(job.window.at(2)->Text_Value, "changed");
}

TEST(BatchBindingTest, SmallServicesAroundJobs)
{
    QTemporaryDir dir;
    testsupport::touch(dir.filePath("file"));
    EXPECT_TRUE(Batch_Binding::Check_Dir_Is_Exist(dir.path()));
    EXPECT_FALSE(Batch_Binding::Check_Dir_Is_Exist(dir.filePath("file")));
    EXPECT_FALSE(Batch_Binding::Check_Dir_Is_Exist(dir.filePath("missing")));
    EXPECT_FALSE(Batch_Binding::Check_Dir_Is_Exist(""));

    // Only a 2D value typed by hand is made again.
    int regenerated = 0;
    Batch_Binding::Draw_2d_barcode_again_for_manual(true, false, [&] { ++regenerated; });
    Batch_Binding::Draw_2d_barcode_again_for_manual(false, false, [&] { ++regenerated; });
    Batch_Binding::Draw_2d_barcode_again_for_manual(true, true, [&] { ++regenerated; });
    EXPECT_EQ(regenerated, 1);

    FakeBatchServices main;
    main.mode = 1;
    FakeMainWindow window;
    Batch_Binding binding;
    int fronts = 0;
    main.startOption = "G";
    window.Card_Value_In_Process = true;   // left by a job that ended early
    binding.Set_Graphic_Array_According_Side([&] { ++fronts; });
    EXPECT_FALSE(window.Card_Value_In_Process);
    main.startOption = "W";
    binding.Set_Graphic_Array_According_Side([&] { ++fronts; });
    EXPECT_EQ(fronts, 1);
}
