// The list side of barcode mode in the real main window: the source
// switches and bindings, the list commands and their selections, the rows
// the batch jobs walk (images made from a worker and read back by a
// decoder), the skip-invalid count, the series source, and import and
// export through the window's commands.
#include "MainWindowFixture.h"
#include "OutputTestSupport.h"

#include "barcode/generation/list_test_support.h"
#include "barcode/generation/panes/ValuePane.h"
#include "common/ScopedFolders.h"
#include "common/TestSupport.h"
#include "core/util/BatchServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "data/barcodelist/ListDialogs.h"
#include "print/PrinterList.h"
#include "mainwindow/BarcodeListSide.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QToolButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>

#include <atomic>
#include <thread>

namespace {

// Modal windows answered by a script for the test's lifetime.
class ModalScript {
public:
    explicit ModalScript(std::function<int(QDialog&)> run) : m_previous(Set_Modal_Runner(std::move(run))) {}
    ~ModalScript() { Set_Modal_Runner(m_previous); }

private:
    ModalRunner m_previous;
};

std::vector<BarcodeRow> Five()
{
    std::vector<BarcodeRow> rows;
    for (int i = 0; i < 5; ++i)
        rows.push_back({QStringLiteral("V%1").arg(i), QStringLiteral("H%1").arg(i), QStringLiteral("F%1").arg(i),
                        QString::number(i + 1)});
    return rows;
}

void Batch_On(BarcodeListSide& side)
{
    side.data_source_chkbox->setChecked(true);
    side.barcodeData_SourceChanged();
}

// Batch on with series as the source, their names listed afresh.
void Series_On(BarcodeListSide& side, LMNWindowController& window)
{
    Batch_On(side);
    side.Data_Set_Sheet_RD->setChecked(true);
    side.Data_Set_Sheet_Check();
    window.Refresh_All_Series_Combobox();
}

void Select_Rows(BarcodeListSide& side, const QList<int>& rows)
{
    side.List->clearSelection();
    for (int r : rows)
        side.List->selectionModel()->select(side.list().index(r, 0),
                                            QItemSelectionModel::Select | QItemSelectionModel::Rows);
}

} // namespace

TEST_F(MainWindowTest, ListSourceSwitchesOnAndOff)
{
    BarcodeModeView& v = makeBarcode();
    BarcodeListSide& side = *v.listSide();
    ValuePane& value = *v.valuePane();
    EXPECT_EQ(side.data_source_txt_box->text(), "Manual");
    EXPECT_FALSE(side.List->isEnabled());
    EXPECT_FALSE(side.Custom_Sheet_RD->isEnabled());

    // Batch on with an empty list: the three texts ticked, a default row
    // added and shown, the fields read-only.
    Batch_On(side);
    EXPECT_EQ(side.data_source_txt_box->text(), "Batch Processing");
    EXPECT_TRUE(side.barcode_value_chk->isChecked() && side.barcode_header_chk->isChecked()
                && side.barcode_footer_chk->isChecked());
    ASSERT_EQ(side.list().count(), 1);
    EXPECT_EQ(side.list().rows()[0], (BarcodeRow{"123456789012", "Header", "Footer", "1"}));
    EXPECT_EQ(side.Selected_Row(), 0);
    EXPECT_EQ(value.fieldText(ValuePane::Field::Value), "123456789012");
    EXPECT_EQ(value.fieldText(ValuePane::Field::Header), "Header");
    EXPECT_TRUE(value.fieldReadOnly(ValuePane::Field::Value));
    EXPECT_TRUE(side.Check_Data_Sheet_Value_Use_or_Not_Barcode());
    EXPECT_FALSE(v.Preview_Is_Blank());

    // A text the list no longer feeds becomes editable and keeps its text.
    side.barcode_footer_chk->setChecked(false);
    side.Batch_Footer_Check();
    EXPECT_FALSE(value.fieldReadOnly(ValuePane::Field::Footer));

    // Back to manual with empty fields: the defaults come back, editable.
    for (auto f : {ValuePane::Field::Value, ValuePane::Field::Value2D, ValuePane::Field::Header, ValuePane::Field::Footer})
        value.setFieldText(f, QString());
    side.data_source_chkbox->setChecked(false);
    side.barcodeData_SourceChanged();
    EXPECT_EQ(value.fieldText(ValuePane::Field::Value), "123456789012");
    EXPECT_EQ(value.fieldText(ValuePane::Field::Header), "HEADER");
    EXPECT_EQ(value.fieldText(ValuePane::Field::Footer), "FOOTER");
    EXPECT_FALSE(value.fieldReadOnly(ValuePane::Field::Value));
    EXPECT_FALSE(side.Check_Data_Sheet_Value_Use_or_Not_Barcode());
    EXPECT_EQ(side.data_source_txt_box->text(), "Manual");
}

TEST_F(MainWindowTest, ListCommandsKeepASensibleSelection)
{
    BarcodeModeView& v = makeBarcode();
    BarcodeListSide& side = *v.listSide();
    side.list().Load_Rows(Five());
    Batch_On(side);
    // Rows 3 and 4 of 5 deleted: row 0 is selected.
    Select_Rows(side, {3, 4});
    side.Del_Sel_Row_Menu();
    EXPECT_EQ(side.list().count(), 3);
    EXPECT_EQ(side.Selected_Rows(), QList<int>({0}));
    // Row 1 deleted: the row that moved into its place is selected and shown.
    Select_Rows(side, {1});
    side.Del_Sel_Row_Menu();
    EXPECT_EQ(side.Selected_Rows(), QList<int>({1}));
    EXPECT_EQ(v.valuePane()->fieldText(ValuePane::Field::Value), "V2");
    EXPECT_EQ(side.tot_row_count->text(), "Total Rows : 2");

    // No selection: top and up stay enabled and change nothing.
    side.List->clearSelection();
    side.List_Operation_Button_State();
    EXPECT_TRUE(side.move_top_list_btn->isEnabled());
    EXPECT_TRUE(side.move_up_list_btn->isEnabled());
    side.Move_Top_List_Button();
    side.Move_Up_List_Button();
    EXPECT_EQ(side.list().rows()[0].Value, "V0");
    side.Del_Sel_Row_Menu();
    EXPECT_TRUE(sawMessage("Please select at least one record from the list to continue."));
    // The last row selected: down and last disabled; moving it to the top swaps.
    Select_Rows(side, {1});
    side.List_Operation_Button_State();
    EXPECT_FALSE(side.move_down_list_btn->isEnabled());
    side.Move_Top_List_Button();
    EXPECT_EQ(side.list().rows()[0].Value, "V2");
    EXPECT_EQ(side.Selected_Row(), 0);

    // Adding below the selection; no blank row to delete; then all rows go.
    side.Add_Row_Selection_Menu();
    EXPECT_EQ(side.list().rows()[1], Default_Barcode_Row());
    EXPECT_EQ(side.Selected_Row(), 1);
    side.Del_Empty_Row_Menu();
    EXPECT_TRUE(sawMessage("There is no blank record in list."));
    side.Del_All_Row_Menu();   // the script answers Yes
    EXPECT_TRUE(side.list().isEmpty());
    EXPECT_FALSE(side.delete_list_btn->isEnabled());
    messages.clear();
    side.Clear_Bar_Value_Menu();
    side.Del_Sel_Row_Menu();
    EXPECT_EQ(messages.size(), 2);
    EXPECT_TRUE(sawMessage("List is empty."));
    // Exporting an empty list says so and opens no panel.
    bool asked = false;
    side.transfer().chooseExportFile = [&] { asked = true; return QString(); };
    side.Export_List_Button();
    EXPECT_FALSE(asked);
}

TEST_F(MainWindowTest, BatchRowsForPrintExportAndMail)
{
    BarcodeModeView& v = makeBarcode();
    BarcodeListSide& side = *v.listSide();
    chooseType("Code 128");
    side.list().Load_Rows({{"ROW-ZERO", "h0", "f0", "2"}, {"ROW-ONE", "h1", "f1", "3"}, {"", "h2", "f2", "4"}});
    ASSERT_EQ(App_Services().Batch_Services, static_cast<BatchServices*>(window.get()));
    // Manual entry: one label of the typed barcode, quantities not used.
    Batch_Rows rows = App_Services().Batch_Services->Make_Batch_Rows();
    EXPECT_FALSE(rows->count().Use_Data_Sheet_Values);
    EXPECT_EQ(rows->rowCount(), 1);
    EXPECT_EQ(rows->printQuantity(0), 1);
    Batch_On(side);
    rows = App_Services().Batch_Services->Make_Batch_Rows();
    const Batch_Row_Count& count = rows->count();
    EXPECT_TRUE(count.Use_Data_Sheet_Values);
    EXPECT_FALSE(count.seriesFeeds);
    EXPECT_EQ(count.Total_Barcode_Label_wd_Batch, 3);   // rows
    EXPECT_EQ(count.Total_Label_Wd_PQ, 9);              // labels
    EXPECT_EQ(rows->printQuantity(1), 3);
    EXPECT_EQ(rows->printQuantity(7), 0);
    EXPECT_EQ(rows->texts(1).header, "h1");
    const BarcodeModeState state = App_Services().Batch_Services->Barcode_Mode_State();
    EXPECT_TRUE(state.dataSource && state.listFeeds && state.valueChecked);

    // The rows are the job's: a list changed afterwards, row by row or
    // whole, changes nothing in them.
    side.list().Replace_Item_List("EDITED", "", "", "7", 0);
    side.list().Remove_Rows({1});
    EXPECT_EQ(rows->texts(0).value, "ROW-ZERO");
    EXPECT_EQ(rows->printQuantity(0), 2);
    EXPECT_EQ(rows->texts(1).value, "ROW-ONE");
    side.list().Load_Rows({{"OTHER", "", "", "1"}});
    EXPECT_EQ(rows->texts(0).value, "ROW-ZERO");
    EXPECT_EQ(rows->rowCount(), 3);

    // A worker makes row 1 itself and it reads back.
    std::atomic<bool> done{false};
    PtImage image, empty, past, current;
    std::thread worker([&] {
        image = rows->image(1);
        empty = rows->image(2);
        past = rows->image(3);
        current = rows->currentImage();
        done = true;
    });
    testsupport::pumpUntil(done);
    worker.join();
    ASSERT_FALSE(image.isNull());
    EXPECT_TRUE(empty.isNull());            // an empty value gives no barcode
    EXPECT_TRUE(past.isNull());             // past the rows: nothing
    EXPECT_FALSE(current.isNull());         // the typed barcode
    QTemporaryDir dir;
    QImage px = image.toImage(300);
    QImage flat(px.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    {
        QPainter p(&flat);
        p.drawImage(0, 0, px);
    }
    const QString file = dir.filePath("row1.png");
    ASSERT_TRUE(flat.save(file));
    if (!testsupport::Tool_Available("ZXingReader"))
        FAIL() << "ZXingReader missing";
    EXPECT_TRUE(testsupport::ZXing_Decode(file).contains("ROW-ONE"));

    // The series source counts one label a row, whatever the quantities.
    side.Data_Set_Sheet_RD->setChecked(true);
    side.Data_Set_Sheet_Check();
    const Batch_Row_Count series = App_Services().Batch_Services->Check_Series_Or_Excel_Use_or_not();
    EXPECT_TRUE(series.seriesFeeds);
    EXPECT_EQ(series.Total_Label_Wd_PQ, series.Total_Barcode_Label_wd_Batch);
}

TEST_F(MainWindowTest, SkipInvalidCountUsesAScratchSymbol)
{
    BarcodeModeView& v = makeBarcode();
    BarcodeListSide& side = *v.listSide();
    chooseType("EAN-13");
    side.list().Load_Rows({{"590123412345", "", "", "2"},
                           {"123", "", "", "3"},
                           {QStringLiteral("59012341234é"), "", "", "4"},
                           {"400638133393", "", "", "5"},
                           {"", "h", "", "6"}});
    Batch_On(side);
    Select_Rows(side, {0});
    const auto previewBarcode = v.road().testBarcode();
    const int draws = v.Draw_Count();
    const int encodes = v.Encode_Count();
    const Batch_Rows rows = App_Services().Batch_Services->Make_Batch_Rows();
    EXPECT_EQ(rows->Calculate_Valid_Barcode_for_skip_invalid(true, 0, 5, 100), 7);
    EXPECT_EQ(rows->Calculate_Valid_Barcode_for_skip_invalid(false, 0, 5, 100), 2);
    EXPECT_EQ(rows->Calculate_Valid_Barcode_for_skip_invalid(true, 0, 5, 3), 3);   // at most the labels asked for
    // Rows 1 to 2 hold nothing valid.
    EXPECT_EQ(rows->Calculate_Valid_Barcode_for_skip_invalid(true, 1, 3, 100), 0);
    // The preview's barcode was neither used nor replaced.
    EXPECT_EQ(v.road().testBarcode(), previewBarcode);
    EXPECT_EQ(v.Draw_Count(), draws);
    EXPECT_EQ(v.Encode_Count(), encodes);
    EXPECT_TRUE(rows->givesImage(3));
    EXPECT_FALSE(rows->givesImage(1));
}

TEST_F(MainWindowTest, SeriesSourceKeepsTheRowsInStep)
{
    QTemporaryDir dir;
    const QString old = Folders.Data_Folder_Path;
    BarcodeModeView& v = makeBarcode();
    Folders.Data_Folder_Path = dir.path();
    auto write = [&](const char* name, const QByteArray& bytes) {
        QFile f(dir.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    write("Codes.txt", "C1\nC2\nC3\nC4\nC5\n");
    write("heads.txt", "h1\nh2\nh3\n");
    BarcodeListSide& side = *v.listSide();
    chooseType("Code 128");
    Series_On(side, *window);
    EXPECT_TRUE(side.series_box->isVisibleTo(&v));
    EXPECT_FALSE(v.valuePane()->fieldShown(ValuePane::Field::Value));
    ASSERT_EQ(side.val_combo_list->count(), 3);
    EXPECT_EQ(side.val_combo_list->itemText(0), "<--Select-->");
    side.val_combo_list->setCurrentIndex(side.val_combo_list->findText("Codes"));
    side.Series_Name_Chosen(0);
    side.hdr_combo_list->setCurrentIndex(side.hdr_combo_list->findText("heads"));
    side.Series_Name_Chosen(1);
    // Both item lists as long as the longer series; the shorter padded with empty items.
    ASSERT_EQ(side.val_combo_value->count(), 5);
    ASSERT_EQ(side.hdr_combo_value->count(), 5);
    EXPECT_EQ(side.hdr_combo_value->itemText(4), "");
    EXPECT_EQ(v.valuePane()->fieldText(ValuePane::Field::Value), "C1");
    // Choosing value item 4 chooses header item 4 (empty).
    v.source().Last_Selected_Index = -1;
    side.val_combo_value->setCurrentIndex(4);
    side.Series_Item_Chosen(0);
    EXPECT_EQ(side.hdr_combo_value->currentIndex(), 4);
    EXPECT_EQ(v.valuePane()->fieldText(ValuePane::Field::Value), "C5");
    EXPECT_EQ(v.valuePane()->fieldText(ValuePane::Field::Header), "");
    EXPECT_EQ(App_Services().Batch_Services->Check_Series_Or_Excel_Use_or_not().Total_Barcode_Label_wd_Batch, 5);
    EXPECT_EQ(window->Barcode_Mode_Series_Names(), QStringList({"Codes", "heads"}));
    // A series that went away leaves "<--Select-->" after a refresh.
    QFile::remove(dir.filePath("heads.txt"));
    window->Refresh_All_Series_Combobox();
    EXPECT_EQ(side.hdr_combo_list->currentIndex(), 0);
    EXPECT_EQ(side.val_combo_list->currentText(), "Codes");
    // The settings file's view of the sources, restored into a fresh state.
    const Barcode_Source_State saved = side.Source_State();
    EXPECT_FALSE(saved.customList);
    EXPECT_EQ(saved.valueSeries, "Codes");
    EXPECT_EQ(saved.valueItem, "C5");
    side.data_source_chkbox->setChecked(false);
    side.barcodeData_SourceChanged();
    side.Restore_Source_State(saved, Five());
    EXPECT_TRUE(side.data_source_chkbox->isChecked());
    EXPECT_TRUE(side.Data_Set_Sheet_RD->isChecked());
    EXPECT_EQ(side.val_combo_value->currentText(), "C5");
    EXPECT_EQ(side.list().count(), 5);
    Folders.Data_Folder_Path = old;
}

// The three series lists stay on the row the user chose last, in whichever
// list: the fields show that row, a series chosen later joins it, and the
// PDF window opens on the first row whose value encodes, in every list.
TEST_F(MainWindowTest, TheSeriesListsFollowTheRowTheUserChoseLast)
{
    QTemporaryDir dir;
    testsupport::Scoped_Folders folders;
    BarcodeModeView& v = makeBarcode();
    folders->Data_Folder_Path = dir.path();
    testsupport::touch(dir.filePath("Codes.txt"), QStringLiteral("ñ1\nñ2\nC3\nC4\nC5\n").toUtf8());
    testsupport::touch(dir.filePath("feet.txt"), "f1\nf2\nf3\nf4\n");
    testsupport::touch(dir.filePath("heads.txt"), "h1\nh2\nh3\n");
    BarcodeListSide& side = *v.listSide();
    chooseType("Code 128");
    Series_On(side, *window);
    auto choose = [&](QComboBox* combo, int which, const QString& name) {
        combo->setCurrentIndex(combo->findText(name));
        side.Series_Name_Chosen(which);
    };
    auto pick = [&](QComboBox* items, int which, int row) {
        items->setCurrentIndex(row);
        side.Series_Item_Chosen(which);
    };
    // What the user sees: the row of each item list, and the three fields.
    auto shown = [&] {
        return QStringLiteral("%1 %2 %3 | %4/%5/%6")
            .arg(side.val_combo_value->currentIndex())
            .arg(side.hdr_combo_value->currentIndex())
            .arg(side.ftr_combo_value->currentIndex())
            .arg(v.valuePane()->fieldText(ValuePane::Field::Value), v.valuePane()->fieldText(ValuePane::Field::Header),
                 v.valuePane()->fieldText(ValuePane::Field::Footer))
            .toStdString();
    };
    choose(side.val_combo_list, 0, "Codes");
    choose(side.hdr_combo_list, 1, "heads");
    pick(side.val_combo_value, 0, 2);
    EXPECT_EQ(shown(), "2 2 -1 | C3/h3/");
    pick(side.hdr_combo_value, 1, 4);
    EXPECT_EQ(shown(), "4 4 -1 | C5//");
    pick(side.val_combo_value, 0, 3);
    EXPECT_EQ(shown(), "3 3 -1 | C4//");
    // A series chosen now joins the row; the others stay on it.
    choose(side.ftr_combo_list, 2, "feet");
    EXPECT_EQ(shown(), "3 3 3 | C4//f4");

    // The PDF window opens on the first row whose value encodes (row 2:
    // Code 128 takes no "ñ"), shown in every list and field.
    Set_Printer_Names_Provider([] { return QStringList(); });
    outputtest::Windows windows;
    std::string whenOpened;
    windows.on = [&](QDialog&) { whenOpened = shown(); };
    window->pdf_btn->trigger();
    Set_Printer_Names_Provider({});
    EXPECT_EQ(windows.seen, QStringList{"PDF_Export"});
    EXPECT_EQ(whenOpened, "2 2 2 | C3/h3/f3");
}

TEST_F(MainWindowTest, TypedTwoDValueStaysWhenTheListFeedsOnlyTheHeader)
{
    BarcodeModeView& v = makeBarcode();
    BarcodeListSide& side = *v.listSide();
    chooseType("QR Code");
    v.valuePane()->setFieldText(ValuePane::Field::Value2D, QStringLiteral("typed 2D value"));
    side.list().Load_Rows(Five());
    Batch_On(side);
    side.barcode_value_chk->setChecked(false);
    side.Batch_Value_Check();
    // The list fed the value while it was ticked; typed again, it stays.
    EXPECT_EQ(v.valuePane()->fieldText(ValuePane::Field::Value2D), "V0");
    EXPECT_FALSE(v.valuePane()->fieldReadOnly(ValuePane::Field::Value2D));
    v.valuePane()->setFieldText(ValuePane::Field::Value2D, QStringLiteral("typed 2D value"));
    Select_Rows(side, {3});
    EXPECT_EQ(v.valuePane()->fieldText(ValuePane::Field::Header), "H3");
    EXPECT_EQ(v.valuePane()->fieldText(ValuePane::Field::Value2D), "typed 2D value");
    EXPECT_FALSE(v.Preview_Is_Blank());
}

TEST_F(MainWindowTest, ListImportAndExportThroughTheWindow)
{
    QTemporaryDir dir;
    BarcodeModeView& v = makeBarcode();
    BarcodeListSide& side = *v.listSide();
    side.list().Load_Rows({{"keep", "", "", "1"}});
    Batch_On(side);
    // The options box answers: all four texts, after the last row.
    ModalScript script([](QDialog& d) {
        if (auto* box = qobject_cast<Import_From_Txt_File*>(&d)) {
            for (QCheckBox* c : {box->chk_value, box->chk_header, box->chk_footer, box->chk_pq})
                c->setChecked(true);
            box->End_Radio_Pressed();
            box->OKPressed();
            return box->result();
        }
        return 1;   // the after-export box: OK
    });
    const QString file = dir.filePath("in.txt");
    testsupport::touch(file, "\tH-A\tF-A\t4\nB\tH-B\tF-B\t5\n");
    side.transfer().chooseImportFile = [&] { return file; };
    side.Import_List_Button();
    ASSERT_EQ(side.list().count(), 3);
    EXPECT_EQ(side.list().rows()[1], (BarcodeRow{"", "H-A", "F-A", "4"}));
    EXPECT_EQ(side.Selected_Row(), 0);
    EXPECT_EQ(v.valuePane()->fieldText(ValuePane::Field::Value), "keep");

    // A file that is not text: the user is told, the rows stay.
    const QString bad = dir.filePath("bad.txt");
    testsupport::touch(bad, QByteArray("\x00\x01\x02\x03\x04", 5));
    side.transfer().chooseImportFile = [&] { return bad; };
    messages.clear();
    side.Import_List_Button();
    EXPECT_TRUE(sawMessage("Either file is corrupted or selected file contains invalid characters."));
    EXPECT_EQ(side.list().count(), 3);

    // Export as text: the after-export box follows the written file.
    side.transfer().chooseExportFile = [&] { return dir.filePath("out"); };
    side.Export_List_Button();
    EXPECT_EQ(Open_Export_Log::defaultInstance()->Export_File_Path, dir.filePath("out.txt"));
    EXPECT_EQ(Open_Export_Log::defaultInstance()->Export_File_Message, "Record has been exported successfully.");
    QFile out(dir.filePath("out.txt"));
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    EXPECT_EQ(out.readAll(), QByteArray("keep\t\t\t1\n\tH-A\tF-A\t4\nB\tH-B\tF-B\t5\n"));
}

namespace {

// Each showing and hiding of a please-wait sheet, with its text and what
// `state` says at that moment.
class Sheet_Watch : public QObject {
public:
    Sheet_Watch(Please_Wait_Sheet* sheet, std::function<QString()> state)
        : m_sheet(sheet), m_state(std::move(state))
    {
        sheet->installEventFilter(this);
    }
    ~Sheet_Watch() override
    {
        if (m_sheet)
            m_sheet->removeEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show)
            seen << QStringLiteral("shown %1 | %2").arg(m_sheet->modeless_msg_lbl->text(), m_state());
        else if (e->type() == QEvent::Hide)
            seen << QStringLiteral("hidden | %1").arg(m_state());
        return false;
    }
    QStringList seen;

private:
    QPointer<Please_Wait_Sheet> m_sheet;
    std::function<QString()> m_state;
};

QAction* List_Command(BarcodeListSide& side, const char* text)
{
    for (QAction* a : side.list_menu->actions())
        if (a->text() == QLatin1String(text))
            return a;
    ADD_FAILURE() << "no list command " << text;
    return nullptr;
}

const QString kWait = QStringLiteral("It may take a while, Please wait..");

} // namespace

// The list commands that work through the whole list do it under the
// window's please-wait sheet: up before the list changes, down after.
TEST_F(MainWindowTest, LongListCommandsRunUnderThePleaseWaitSheet)
{
    QTemporaryDir dir;
    BarcodeModeView& v = makeBarcode();
    BarcodeListSide& side = *v.listSide();
    side.list().Load_Rows({{"A", "h", "f", "2"}, {"", "", "", "1"}, {"B", "", "", "3"}});
    Batch_On(side);
    Please_Wait_Sheet* sheet = Please_Wait_Sheet::defaultInstance();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->parentWidget(), window.get()) << "a sheet of the main window";
    const auto rows = [&] {
        QStringList out;
        for (const BarcodeRow& r : side.list().rows())
            out << r.Value + "/" + r.Header + "/" + r.PQ;
        return out.join(QLatin1Char(' '));
    };
    Sheet_Watch watch(sheet, rows);

    List_Command(side, "Delete blank rows")->trigger();
    EXPECT_EQ(watch.seen, QStringList({"shown " + kWait + " | A/h/2 //1 B//3", "hidden | A/h/2 B//3"}));
    watch.seen.clear();
    List_Command(side, "Clear print quantities")->trigger();
    EXPECT_EQ(watch.seen, QStringList({"shown " + kWait + " | A/h/2 B//3", "hidden | A/h/ B//"}));
    watch.seen.clear();
    List_Command(side, "Clear headers")->trigger();
    EXPECT_EQ(watch.seen, QStringList({"shown " + kWait + " | A/h/ B//", "hidden | A//1 B//1"}));
    EXPECT_FALSE(sheet->isVisible());

    // The export: the file is written while the sheet is up.
    const QString path = dir.filePath("list.txt");
    Sheet_Watch writing(sheet, [&] { return QString::number(QFileInfo::exists(path)); });
    ModalScript afterExport([](QDialog&) { return 1; });
    side.transfer().chooseExportFile = [&] { return path; };
    side.Export_List_Button();
    EXPECT_EQ(writing.seen, QStringList({"shown " + kWait + " | 0", "hidden | 1"}));
    EXPECT_EQ(Open_Export_Log::defaultInstance()->Export_File_Path, path);
    // A failed export takes the sheet down before it says so.
    writing.seen.clear();
    side.transfer().chooseExportFile = [&] { return dir.filePath("no/such/folder/list.txt"); };
    messages.clear();
    side.Export_List_Button();
    EXPECT_EQ(writing.seen.size(), 2);
    EXPECT_TRUE(sawMessage("Error in file accessing."));
    EXPECT_FALSE(sheet->isVisible());
}

// Importing over existing rows (the start choice): what the file gives
// replaces the row's texts, and the texts not ticked are left empty.
TEST_F(MainWindowTest, ImportingOverRowsLeavesTheUntickedTextsEmpty)
{
    QTemporaryDir dir;
    BarcodeModeView& v = makeBarcode();
    BarcodeListSide& side = *v.listSide();
    side.list().Load_Rows(Five());
    Batch_On(side);
    bool headers = false;
    ModalScript script([&headers](QDialog& d) {
        auto* box = qobject_cast<Import_From_Txt_File*>(&d);
        if (!box)
            return 1;
        box->chk_value->setChecked(true);
        box->chk_header->setChecked(headers);
        box->Start_Radio_Pressed();
        box->OKPressed();
        return box->result();
    });
    const QString file = dir.filePath("values.txt");
    testsupport::touch(file, "new0\tnh0\nnew1\t\tx\n");
    side.transfer().chooseImportFile = [&] { return file; };
    side.Import_List_Button();
    ASSERT_EQ(side.list().count(), 5);
    EXPECT_EQ(side.list().rows()[0], (BarcodeRow{"new0", "", "", "1"}));
    EXPECT_EQ(side.list().rows()[1], (BarcodeRow{"new1", "", "", "1"}));
    EXPECT_EQ(side.list().rows()[2], Five()[2]) << "rows past the file stay";
    EXPECT_EQ(v.valuePane()->fieldText(ValuePane::Field::Header), "") << "row 0 shown as it now is";
    // With the header ticked too, an empty header field keeps the row's header.
    side.list().Load_Rows(Five());
    headers = true;
    side.Import_List_Button();
    EXPECT_EQ(side.list().rows()[0], (BarcodeRow{"new0", "nh0", "", "1"}));
    EXPECT_EQ(side.list().rows()[1], (BarcodeRow{"new1", "H1", "", "1"}));
}

// The texts a job reads of the list's rows: those the list feeds from the
// row, the others as typed, all trimmed; an empty or bad quantity gives one
// label.
TEST_F(MainWindowTest, AJobReadsTheFedTextsOfEachRowAndTheTypedOthers)
{
    BarcodeModeView& v = makeBarcode();
    BarcodeListSide& side = *v.listSide();
    chooseType("Code 128");
    side.list().Load_Rows({{"A1", "h1", "f1", "3"}, {"B2", "h2", "f2", "1"}, {"C3", "h3", "f3", "1"}});
    side.list().Clear_Column(3);   // "Clear print quantities"
    Batch_On(side);
    side.barcode_header_chk->setChecked(true);
    side.Batch_Header_Check();
    side.barcode_footer_chk->setChecked(false);
    side.Batch_Footer_Check();
    v.valuePane()->setFieldText(ValuePane::Field::Footer, QStringLiteral("  typed foot  "));
    side.list().setData(side.list().index(1, 0), QStringLiteral("  B2  "));
    const Batch_Rows rows = App_Services().Batch_Services->Make_Batch_Rows();
    ASSERT_EQ(rows->rowCount(), 3);
    EXPECT_EQ(rows->count().Total_Label_Wd_PQ, 3);
    for (int r = 0; r < 3; ++r) {
        SCOPED_TRACE(r);
        const Batch_Row_Texts t = rows->texts(r);
        EXPECT_EQ(t.value, QStringLiteral("ABC").mid(r, 1) + QString::number(r + 1));
        EXPECT_EQ(t.header, QStringLiteral("h%1").arg(r + 1));
        EXPECT_EQ(t.footer, "typed foot");
        EXPECT_EQ(rows->printQuantity(r), 1);
    }
    EXPECT_EQ(rows->Calculate_Valid_Barcode_for_skip_invalid(true, 0, 3, 100), 3);
}


// A list file that cannot be imported is let go before the user is told:
// while the message shows, the program holds the file no more (the user may
// move, mend or delete it), and the list is as it was.
TEST_F(MainWindowTest, AListFileThatIsNotTextIsLetGoBeforeItsMessage)
{
    QTemporaryDir dir;
    BarcodeModeView& v = makeBarcode();
    BarcodeListSide& side = *v.listSide();
    side.list().Load_Rows(Five());
    ModalScript script([](QDialog& d) {
        auto* box = qobject_cast<Import_From_Txt_File*>(&d);
        if (!box)
            return 1;
        box->chk_value->setChecked(true);
        box->OKPressed();
        return box->result();
    });
    const QString bad = dir.filePath("picture.txt");
    testsupport::touch(bad, QByteArray("\x89PNG\r\n\x1a\n\x00\x00\x00\x0dIHDR", 16));
    side.transfer().chooseImportFile = [&] { return bad; };
    QStringList shown;
    QList<int> openWhileShown;
    const MessageResponder previous = Set_Message_Responder([&](const MessageRequest& r) {
        shown << r.text.trimmed();
        openWhileShown << testsupport::Open_Descriptors_On(bad);
        return 0;
    });
    side.Import_List_Button();
    Set_Message_Responder(previous);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown.first(), "Either file is corrupted or selected file contains invalid characters.\n"
                             "The file is not a text file.");
    EXPECT_EQ(openWhileShown, QList<int>({0}));
    EXPECT_EQ(side.list().rows(), Five());
}
