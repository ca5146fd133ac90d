// The print window driven through its handlers: opening by mode and data,
// the range and options, the label sheet sources and their checks, custom
// label sheets and print profiles.
#include "barcode/generation/panes/Stepper.h"
#include "print/LabelSheetFiles.h"
#include "print/PrintControls.h"
#include "print/PrintTestSupport.h"
#include "print/Print_Wnd.h"
#include "print/Sample_Preview.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPageSetupDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>

using namespace printtest;

namespace {

class PrintWindowTest : public PrintToPdfTest {
protected:
    std::unique_ptr<Print_Wnd> open()
    {
        auto w = std::make_unique<Print_Wnd>();
        w->Reset_For_Opening();
        return w;
    }

    void list(int rows)
    {
        batch.list.clear();
        for (int i = 0; i < rows; ++i)
            batch.list << BarcodeListRow{{"Value", QString::number(i)}, {"PQ", "1"}};
        batch.state.dataSource = batch.state.valueChecked = true;
        batch.barcodeRows = rows;
        batch.rowImage = [](int) { return Colour_Label(QSizeF(90, 40), Qt::black); };
    }

    // Chooses a catalogue product in the predefined box.
    static void chooseProduct(Print_Wnd& w, const QString& vendor, const QString& product)
    {
        w.Predefined_Label_Changed();
        w.Label_ComboBox->setCurrentText(vendor);
        w.comboBoxSelectionDidChange(w.Label_ComboBox);
        w.Product_num_ComboBox->setCurrentText(product);
        w.comboBoxSelectionDidChange(w.Product_num_ComboBox);
    }

    // Accepts the page set-up dialogs of profiles as they stand.
    void acceptPageSetup()
    {
        onDialog([](QDialog& d) { return qobject_cast<QPageSetupDialog*>(&d) ? int(QDialog::Accepted) : 0; });
    }
};

} // namespace

TEST_F(PrintWindowTest, OpensInBarcodeModeForTheTypedBarcode)
{
    auto w = open();
    EXPECT_EQ(w->sheetPane->Total_Text->text(), "1");
    EXPECT_FALSE(w->sheetPane->print_with_batch_chk->isEnabled());
    EXPECT_FALSE(w->sheetPane->print_with_batch_chk->isChecked());
    EXPECT_TRUE(w->sheetPane->skip_inavlid_chk->isHidden());
    EXPECT_TRUE(w->sheetPane->print_qty_chk->isHidden());
    EXPECT_TRUE(w->crop_mark_chk->isHidden());
    EXPECT_TRUE(w->sheetPane->Total_Text->isEnabled());
    EXPECT_FALSE(w->sheetPane->from_Text->isEnabled());
    EXPECT_FALSE(w->sheetPane->To_Text->isEnabled());
    // The manual label is the barcode's size; one cell, no gaps.
    ASSERT_FALSE(w->sheet.Barcode_Image.isNull());
    EXPECT_NEAR(w->sheetPane->width_Stepper->value(), w->sheet.Barcode_Image.size().width() * 0.3527777777778, 1e-4);
    EXPECT_EQ(w->sheetPane->Col_Text->text(), "1");
    EXPECT_EQ(w->sheet.Print_Row * w->sheet.Print_Col, 1);
    EXPECT_EQ(w->Printer_ComboBox->currentText(), "Test Printer");
    EXPECT_EQ(w->Paper_id->text(), "A4");
    EXPECT_EQ(w->Size_id->text(), "210.00 x 297.00");
}

TEST_F(PrintWindowTest, ABatchLimitsTheRangeAndTurningItOffCountsOneSheet)
{
    list(120);
    auto w = open();
    EXPECT_TRUE(w->sheetPane->print_with_batch_chk->isChecked());
    EXPECT_EQ(w->sheetPane->Total_Text->text(), "120");
    EXPECT_DOUBLE_EQ(w->sheetPane->To_Stepper->maximum(), 120);
    EXPECT_DOUBLE_EQ(w->sheetPane->from_Stepper->maximum(), 120);
    w->sheetPane->Sel_Print_RD_Clicked();
    w->sheetPane->To_Text->setText("500");
    w->sheetPane->controlTextDidChange(w->sheetPane->To_Text);
    EXPECT_EQ(w->sheetPane->To_Text->text(), "120");

    w->sheetPane->Row_Text->setText("4");
    w->sheetPane->Row_Changed(w->sheetPane->Row_Text);
    w->sheetPane->Col_Text->setText("2");
    w->sheetPane->Col_Changed(w->sheetPane->Col_Text);
    w->sheetPane->print_with_batch_chk->setChecked(false);
    w->sheetPane->Print_With_Batch_Changed();
    EXPECT_FALSE(w->sheetPane->print_qty_chk->isChecked());
    EXPECT_FALSE(w->sheetPane->print_qty_chk->isEnabled());
    EXPECT_EQ(w->sheetPane->Total_Text->text(), "8");
    EXPECT_TRUE(w->sheetPane->All_print_rd->isChecked());
    EXPECT_TRUE(w->sheetPane->Total_Text->isEnabled());
    EXPECT_FALSE(w->sheetPane->from_Text->isEnabled());
    EXPECT_DOUBLE_EQ(w->sheetPane->Total_Stepper->maximum(), 999999);
}

TEST_F(PrintWindowTest, TotalsAreAtLeastOneAndAtMost999999)
{
    auto w = open();
    w->sheetPane->Set_Tot_Value(0, 50, "A");
    EXPECT_EQ(w->sheetPane->Total_Text->text(), "1");
    EXPECT_EQ(w->sheetPane->To_Text->text(), "1");
    w->sheetPane->Set_Tot_Value(1000000, 5, "TOT");
    EXPECT_EQ(w->sheetPane->Total_Text->text(), "999999");
    w->sheetPane->Total_Text->setText("");
    w->sheetPane->controlTextDidChange(w->sheetPane->Total_Text);
    EXPECT_EQ(w->sheetPane->Total_Text->text(), "1");
}

TEST_F(PrintWindowTest, TypingIntoADesignBatchStopsAtItsRows)
{
    batch.mode = 1;
    batch.designRows(40);
    auto w = open();
    EXPECT_FALSE(w->sheetPane->width_Stepper->isEnabled());
    w->sheetPane->Total_Text->setText("50");
    w->sheetPane->controlTextDidChange(w->sheetPane->Total_Text);
    EXPECT_EQ(w->sheetPane->Total_Text->text(), "40");
}

TEST_F(PrintWindowTest, FitToFrameGivesBackTheGridItReplaced)
{
    auto w = open();
    w->sheetPane->Row_Text->setText("3");
    w->sheetPane->Row_Changed(w->sheetPane->Row_Text);
    w->sheetPane->horz_mar_Text->setText("2.5");
    w->sheetPane->Horz_Margin_Changed(w->sheetPane->horz_mar_Text);
    w->fit_frame_chk->setChecked(true);
    w->Fit_To_Frame_clicked();
    EXPECT_EQ(w->sheetPane->Row_Text->text(), "1");
    EXPECT_FALSE(w->sheetPane->Row_Stepper->isEnabled());
    EXPECT_FLOAT_EQ(w->sheet.label_width, 595);   // the printable area of a PDF page
    w->fit_frame_chk->setChecked(false);
    w->Fit_To_Frame_clicked();
    EXPECT_EQ(w->sheetPane->Row_Text->text(), "3");
    EXPECT_DOUBLE_EQ(w->sheetPane->horz_mar_Stepper->value(), 2.5);
    EXPECT_TRUE(w->sheetPane->Row_Stepper->isEnabled());
}

TEST_F(PrintWindowTest, AutoCentreDisablesGapsAndPlacementButNotForASheet)
{
    auto w = open();
    w->sheetPane->Auto_Center_chk_bx->setChecked(true);
    w->sheetPane->Auto_Center_Checked();
    EXPECT_EQ(w->sheet.auto_center_flag, 1);
    EXPECT_FALSE(w->sheetPane->horz_mar_Stepper->isEnabled());
    EXPECT_FALSE(w->sheetPane->mid_center_btn->isEnabled());
    w->sheetPane->Mid_rite_btn_clicked();
    EXPECT_EQ(w->sheet.label_align_val, 6);
    EXPECT_TRUE(w->sheetPane->mid_rite_btn->isChecked());

    // A label sheet keeps its own grid: top-left, no centring.
    chooseProduct(*w, "Herma", "4103");
    EXPECT_EQ(w->sheet.label_align_val, 1);
    EXPECT_EQ(w->sheet.auto_center_flag, 0);
    w->Manual_Label_Changed();
    EXPECT_EQ(w->sheet.label_align_val, 6);
}

TEST_F(PrintWindowTest, ACatalogueProductSetsTheSheet)
{
    auto w = open();
    chooseProduct(*w, "Herma", "4103");
    EXPECT_EQ(w->cus_or_pre, "P");
    EXPECT_EQ(w->width_Text_pre->text(), "63.5");
    EXPECT_EQ(w->height_Text_pre->text(), "38.1");
    EXPECT_EQ(w->Row_Text_pre->text(), "7");
    EXPECT_EQ(w->Col_Text_pre->text(), "3");
    EXPECT_EQ(w->paper_used_pre->text(), "A4");
    EXPECT_EQ(w->orientation_pre->text(), "Portrait");
    EXPECT_EQ(w->left_mar_pre->text(), "6.75");
    EXPECT_TRUE(w->width_Text_pre->isReadOnly());
    EXPECT_TRUE(w->save_label_btn->isHidden());
    EXPECT_EQ(w->sheet.Print_Row, 7);
    EXPECT_EQ(w->sheet.Print_Col, 3);
    EXPECT_FLOAT_EQ(w->sheet.predef_page_wdt, 596);
    EXPECT_FLOAT_EQ(w->sheet.predef_page_hgt, 842);
    EXPECT_FLOAT_EQ(w->sheet.Left_Mar, 6.75f * 2.834645669291f);
    EXPECT_EQ(w->sheet.Rite_Mar, 0);
}

TEST_F(PrintWindowTest, PaperAndSizeAreCheckedBeforeAJob)
{
    usePdf(pdf, QPageSize(QPageSize::Letter));
    auto w = open();
    chooseProduct(*w, "Herma", "4103");
    answer(false);
    w->Execute_Printing(false);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].contains("Please change paper"));
    EXPECT_FALSE(QFile::exists(pdf));

    // Printer margins of 5 mm: a 100 mm label passes, a 205 mm one is asked about.
    messages.clear();
    PrintInfo info = MainWindowServices::printInfo();
    info.pageLayout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                  QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
    MainWindowServices::setPrintInfo(info);
    w->Manual_Label_Changed();
    w->sheetPane->width_Text->setText("100");
    w->sheetPane->Width_Changed(w->sheetPane->width_Text);
    w->Execute_Printing(false);
    EXPECT_TRUE(messages.isEmpty()) << messages.join("|").toStdString();
    EXPECT_TRUE(QFile::exists(pdf));
    w->sheetPane->width_Text->setText("205");
    w->sheetPane->Width_Changed(w->sheetPane->width_Text);
    answer(false);
    w->Execute_Printing(false);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("'Label Size' is bigger"));
}

TEST_F(PrintWindowTest, SheetFieldsTrimWhatIsTyped)
{
    auto w = open();
    w->Predefined_Label_Changed();
    struct Case { const char* typed; const char* kept; } cases[] = {
        {"12mm", "12"}, {"a1b2", "1b2"}, {" 7.5 ", "7.5"}, {"123456789012", "1234567890"}};
    for (const Case& c : cases) {
        w->width_Text_pre->setText(c.typed);
        w->controlTextDidChange(w->width_Text_pre);
        EXPECT_EQ(w->width_Text_pre->text(), c.kept) << c.typed;
    }
    for (const char* bad : {"0", "-3"}) {
        w->height_Text_pre->setText(bad);
        w->controlTextDidEndEditing(w->height_Text_pre);
        EXPECT_EQ(w->height_Text_pre->text(), "0.10") << bad;
    }
    w->height_Text_pre->setText("12.345");
    w->controlTextDidEndEditing(w->height_Text_pre);
    EXPECT_EQ(w->height_Text_pre->text(), "12.35");
    EXPECT_DOUBLE_EQ(w->height_Stepper_pre->value(), 12.35);
}

TEST_F(PrintWindowTest, CustomSheetsAreSavedListedAndDeleted)
{
    Write_Sheet_Strings(Sheet_File_Path(Folders.custom_label_path, "Custom1"),
                        {"2", "5", "10.00", "13.50", "10", "5", "90", "50", "A4", "Portrait",
                         "210.00 x 297.00", "210.00", "297.00", "Custom", "Custom"});
    auto w = open();
    w->Predefined_Label_Changed();
    EXPECT_EQ(w->Product_num_ComboBox->currentText(), "Custom1");
    EXPECT_EQ(w->Col_Text_pre->text(), "2");
    EXPECT_EQ(w->sheet.Print_Col, 2);
    EXPECT_FALSE(w->delete_label_btn->isEnabled());   // the last sheet cannot go

    // An empty name is refused and the dialog stays; Cancel writes nothing.
    onDialog([this](QDialog& d) {
        auto* dlg = static_cast<Custom_Product_Label*>(&d);
        dlg->prod_number->setText("  ");
        dlg->OKPressed();
        EXPECT_TRUE(saw("Please enter product number."));
        dlg->CancelPressed();
        return d.result();
    });
    w->Save_Label_Pressed();
    EXPECT_EQ(List_Sheet_Files(Folders.custom_label_path), QStringList{"Custom1"});

    // A "/" inside becomes "_"; the new sheet is selected; existing names are replaced.
    w->Col_Text_pre->setText("4");
    onDialog([](QDialog& d) {
        auto* dlg = static_cast<Custom_Product_Label*>(&d);
        dlg->prod_number->setText("/Shop/Front*");
        dlg->OKPressed();
        return d.result();
    });
    w->Save_Label_Pressed();
    EXPECT_TRUE(saw("Custom Product Number has been saved successfully."));
    EXPECT_EQ(List_Sheet_Files(Folders.custom_label_path), QStringList({"Custom1", "Shop_Front"}));
    EXPECT_EQ(w->Product_num_ComboBox->currentText(), "Shop_Front");
    EXPECT_EQ(Read_Sheet_Strings(Sheet_File_Path(Folders.custom_label_path, "Shop_Front"), 15)->at(0), "4");
    EXPECT_TRUE(w->delete_label_btn->isEnabled());

    answer(true);
    w->Delete_Label_Pressed();
    EXPECT_TRUE(saw("Are you sure want to delete selected 'Custom Product Number'?"));
    EXPECT_EQ(List_Sheet_Files(Folders.custom_label_path), QStringList{"Custom1"});
}

// A custom sheet saved and chosen again in a window opened afresh lays its
// labels out as it was saved: the gap between columns and the gap between
// rows keep their values, in their fields and on the sheet.
TEST_F(PrintWindowTest, ACustomSheetKeepsItsGapsWhenOpenedAgain)
{
    Write_Sheet_Strings(Sheet_File_Path(Folders.custom_label_path, "Custom1"),
                        {"2", "5", "10.00", "13.50", "0", "0", "90", "50", "A4", "Portrait",
                         "210.00 x 297.00", "210.00", "297.00", "Custom", "Custom"});
    const auto type = [](QLineEdit* field, const char* text) {
        field->setText(QString::fromLatin1(text));
        emit field->editingFinished();
    };
    {
        auto w = open();
        w->Predefined_Label_Changed();
        ASSERT_EQ(w->Product_num_ComboBox->currentText(), "Custom1");
        type(w->width_Text_pre, "50");
        type(w->height_Text_pre, "30");
        type(w->Col_Text_pre, "3");
        type(w->Row_Text_pre, "4");
        type(w->horz_mar_Text_pre, "3.5");
        type(w->vert_mar_Text_pre, "7.25");
        onDialog([](QDialog& d) {
            auto* dlg = static_cast<Custom_Product_Label*>(&d);
            dlg->prod_number->setText("Gaps");
            dlg->OKPressed();
            return d.result();
        });
        w->Save_Label_Pressed();
        ASSERT_TRUE(saw("Custom Product Number has been saved successfully."));
    }
    auto w = open();
    w->Predefined_Label_Changed();
    w->Product_num_ComboBox->setCurrentText("Gaps");
    w->comboBoxSelectionDidChange(w->Product_num_ComboBox);
    EXPECT_EQ(w->horz_mar_Text_pre->text(), "3.5");
    EXPECT_EQ(w->vert_mar_Text_pre->text(), "7.25");
    EXPECT_DOUBLE_EQ(w->horz_mar_Stepper_pre->value(), 3.5);
    EXPECT_DOUBLE_EQ(w->vert_mar_Stepper_pre->value(), 7.25);
    // The cells of the sheet: 50 x 30 mm, 3.5 mm apart side by side and
    // 7.25 mm apart one above the other.
    EXPECT_EQ(w->sheet.Print_Col, 3);
    EXPECT_EQ(w->sheet.Print_Row, 4);
    const QSizeF page = w->sheet.Sheet_Size();
    const QRectF first = w->sheet.Cell_Rect(page, 1, 1);
    const QRectF right = w->sheet.Cell_Rect(page, 1, 2);
    const QRectF below = w->sheet.Cell_Rect(page, 2, 1);
    EXPECT_NEAR(Points_To_MM(float(first.width())), 50, 0.01);
    EXPECT_NEAR(Points_To_MM(float(right.left() - first.right())), 3.5, 0.01);
    EXPECT_NEAR(Points_To_MM(float(std::abs(below.top() - first.top()) - first.height())), 7.25, 0.01);
}

TEST_F(PrintWindowTest, ProfilesKeepTheWindowsSettings)
{
    QStringList def(22, QString());
    def[0] = def[1] = "1";
    def[8] = "1";
    Write_Sheet_Strings(Sheet_File_Path(Folders.print_profile_path, "Default"), def);
    auto w = open();
    ASSERT_EQ(w->List_profile->count(), 1);
    EXPECT_FALSE(w->Delete_profile_btn->isEnabled());

    // "Default" cannot be taken as a new name.
    onDialog([this](QDialog& d) {
        auto* dlg = static_cast<Add_Print_Profile*>(&d);
        dlg->Profile_name->setText("Default");
        dlg->OKPressed();
        EXPECT_TRUE(saw("This is a Default profile name."));
        dlg->CancelPressed();
        return d.result();
    });
    w->Add_Edit_Print_Profile("A");
    EXPECT_EQ(List_Sheet_Files(Folders.print_profile_path), QStringList{"Default"});

    // A profile with auto-centre, a grid, landscape Letter and batch "Y".
    w->sheetPane->Auto_Center_chk_bx->setChecked(true);
    w->sheetPane->Auto_Center_Checked();
    w->sheetPane->Col_Text->setText("2");
    w->sheetPane->Col_Changed(w->sheetPane->Col_Text);
    PrintInfo info = MainWindowServices::printInfo();
    info.pageLayout = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF());
    MainWindowServices::setPrintInfo(info);
    w->Set_values_From_Printer();
    w->sheetPane->print_with_batch_chk->setChecked(true);
    onDialog([](QDialog& d) {
        auto* dlg = static_cast<Add_Print_Profile*>(&d);
        dlg->Profile_name->setText("Shop/A");
        dlg->OKPressed();
        return d.result();
    });
    acceptPageSetup();
    w->Add_Edit_Print_Profile("A");
    EXPECT_TRUE(saw("Print Profile has been saved successfully."));
    const auto saved = Read_Sheet_Strings(Sheet_File_Path(Folders.print_profile_path, "Shop_A"), 22);
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->at(0), "2");
    EXPECT_EQ(saved->at(9), "Y");
    EXPECT_EQ(saved->at(10), "Test Printer");
    EXPECT_EQ(saved->at(13), "279.40");
    EXPECT_EQ(saved->at(15), "Landscape");

    // Back to A4 portrait, then the profile again.
    info.pageLayout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    MainWindowServices::setPrintInfo(info);
    w->sheetPane->Auto_Center_chk_bx->setChecked(false);
    w->sheetPane->Auto_Center_Checked();
    w->Make_select_on_index(0);
    w->Make_select_on_index(w->List_profile->count() - 1);
    EXPECT_EQ(w->Get_List_Name_Text(w->List_profile->currentRow()), "Shop_A");
    EXPECT_TRUE(w->sheetPane->Auto_Center_chk_bx->isChecked());
    EXPECT_FALSE(w->sheetPane->horz_mar_Stepper->isEnabled());
    EXPECT_FALSE(w->sheetPane->top_left_btn->isEnabled());
    EXPECT_EQ(w->sheetPane->Col_Text->text(), "2");
    EXPECT_EQ(w->Orient_ComboBox->currentText(), "Landscape");
    EXPECT_EQ(w->Size_id->text(), "279.40 x 215.90");
    EXPECT_FALSE(w->sheetPane->print_with_batch_chk->isChecked());   // no batch is bound
    EXPECT_TRUE(w->Delete_profile_btn->isEnabled());
}

TEST_F(PrintWindowTest, ARenameThatCannotBeWrittenKeepsTheOldProfile)
{
    QStringList p(22, QStringLiteral("1"));
    Write_Sheet_Strings(Sheet_File_Path(Folders.print_profile_path, "Old"), p);
    // Something that is not a profile file stands where the new one would go.
    QDir().mkpath(Sheet_File_Path(Folders.print_profile_path, "New"));
    auto w = open();
    ASSERT_EQ(w->List_profile->count(), 1);
    ASSERT_EQ(w->Get_List_Name_Text(w->List_profile->currentRow()), "Old");
    onDialog([](QDialog& d) {
        auto* dlg = static_cast<Add_Print_Profile*>(&d);
        dlg->Profile_name->setText("New");
        dlg->OKPressed();
        return d.result();
    });
    acceptPageSetup();
    w->Add_Edit_Print_Profile("E");
    EXPECT_TRUE(saw("Print Profile could not be saved."));
    EXPECT_FALSE(saw("saved successfully"));
    EXPECT_TRUE(Read_Sheet_Strings(Sheet_File_Path(Folders.print_profile_path, "Old"), 22).has_value());

    // Deleting asks first; "No" keeps the file.
    answer(false);
    w->Delete_profile_btn_clicked();
    EXPECT_TRUE(QFile::exists(Sheet_File_Path(Folders.print_profile_path, "Old")));
    answer(true);
    w->Delete_profile_btn_clicked();
    EXPECT_FALSE(QFile::exists(Sheet_File_Path(Folders.print_profile_path, "Old")));
}

TEST_F(PrintWindowTest, PrinterAndOrientationFollowTheCombos)
{
    Set_Printer_Names_Provider([] { return QStringList{"First", "Second"}; });
    auto w = open();
    EXPECT_EQ(w->Printer_ComboBox->count(), 2);
    w->Printer_ComboBox->setCurrentIndex(1);
    w->comboBoxSelectionDidChange(w->Printer_ComboBox);
    EXPECT_EQ(MainWindowServices::printInfo().printerName, "Second");
    w->Orient_ComboBox->setCurrentIndex(1);
    w->comboBoxSelectionDidChange(w->Orient_ComboBox);
    EXPECT_EQ(w->Size_id->text(), "297.00 x 210.00");
    EXPECT_EQ(MainWindowServices::printInfo().pageLayout.orientation(), QPageLayout::Landscape);
}

// The window opens with the first printer of the list, whichever the print
// settings named before; paper and orientation stay.
TEST_F(PrintWindowTest, OpensWithTheFirstPrinterOfTheList)
{
    Set_Printer_Names_Provider([] { return QStringList{"First", "Second"}; });
    PrintInfo info = MainWindowServices::printInfo();
    info.printerName = "Second";
    info.pageLayout = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF());
    MainWindowServices::setPrintInfo(info);
    auto w = open();
    EXPECT_EQ(w->Printer_ComboBox->currentIndex(), 0);
    EXPECT_EQ(w->Printer_ComboBox->currentText(), "First");
    EXPECT_EQ(MainWindowServices::printInfo().printerName, "First");
    EXPECT_EQ(MainWindowServices::printInfo().pageLayout.pageSize().id(), QPageSize::Letter);
    EXPECT_EQ(w->Orient_ComboBox->currentText(), "Landscape");
}

// Three 70 mm labels fill a 210 mm page exactly: A4, or a custom page of
// 210 mm, with and without Auto Center, give three columns; 70.01 mm gives
// two. The preview shows the columns the job prints.
TEST_F(PrintWindowTest, AnExactFitKeepsItsLastColumn)
{
    const QPageSize pages[] = {QPageSize(QPageSize::A4), QPageSize(QSizeF(210, 297), QPageSize::Millimeter)};
    for (const QPageSize& page : pages) {
        for (bool centre : {false, true}) {
            SCOPED_TRACE(page.name().toStdString() + (centre ? " centred" : ""));
            usePdf(pdf, page);
            auto w = open();
            w->sheetPane->Auto_Center_chk_bx->setChecked(centre);
            w->sheetPane->Auto_Center_Checked();
            w->sheetPane->width_Text->setText("70");
            w->sheetPane->Width_Changed(w->sheetPane->width_Text);
            w->sheetPane->Col_Text->setText("3");
            w->sheetPane->Col_Changed(w->sheetPane->Col_Text);
            EXPECT_EQ(w->sheet.Print_Col, 3);
            EXPECT_EQ(w->sheetPane->Col_Text->text(), "3");
            EXPECT_EQ(w->sheetPane->PrintView->job()->Geometry(w->sheetPane->PrintView->Sheet_Size()).cols, 3);
            w->sheetPane->width_Text->setText("70.01");
            w->sheetPane->Width_Changed(w->sheetPane->width_Text);
            w->sheetPane->Col_Text->setText("3");
            w->sheetPane->Col_Changed(w->sheetPane->Col_Text);
            EXPECT_EQ(w->sheet.Print_Col, 2);
        }
    }
}

TEST_F(PrintWindowTest, TheShippedDefaultProfileKeepsThePrintersPaper)
{
    ASSERT_TRUE(QFile::copy(QDir(Folders.Resource_Path).filePath("PrintProfile/Default.zvp"),
                            Sheet_File_Path(Folders.print_profile_path, "Default")));
    PrintInfo info = MainWindowServices::printInfo();
    info.pageLayout = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF());
    MainWindowServices::setPrintInfo(info);

    auto w = open();
    ASSERT_EQ(w->Get_List_Name_Text(w->List_profile->currentRow()), "Default");
    const QPageLayout kept = MainWindowServices::printInfo().pageLayout;
    EXPECT_EQ(kept.pageSize().id(), QPageSize::Letter);
    EXPECT_EQ(kept.orientation(), QPageLayout::Landscape);
    EXPECT_EQ(w->Orient_ComboBox->currentText(), "Landscape");
    EXPECT_EQ(w->Size_id->text(), "279.40 x 215.90");
    EXPECT_FALSE(w->Paper_id->text().isEmpty());
    // The rest of the profile still applies: one label a page, centred, its
    // outline shown in the preview.
    EXPECT_EQ(w->sheetPane->Col_Text->text(), "1");
    EXPECT_TRUE(w->sheetPane->Auto_Center_chk_bx->isChecked());
    EXPECT_TRUE(w->sheetPane->Show_Margins->isChecked());
    EXPECT_EQ(w->sheet.Show_margin_rect, 1);
}
