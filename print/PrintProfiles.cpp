// The print window's custom label sheets and print profiles.
#include "print/Print_Wnd.h"

#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "barcode/generation/panes/Stepper.h"
#include "platform/MessageSink.h"
#include "platform/Numbers.h"
#include "print/LabelSheetFiles.h"
#include "print/PrintDialogs.h"
#include "print/PrinterList.h"
#include "print/SheetFields.h"
#include "print/SheetOptionsPane.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>

using namespace sheetui;

namespace {

QString yn(const QCheckBox* c) { return c->isChecked() ? QStringLiteral("Y") : QStringLiteral("N"); }

} // namespace

// ---------------------------------------------------------------------------
// Custom label sheets

void Print_Wnd::Save_Label_Pressed()
{
    custom_prod_window->prod_number->setText(Product_num_ComboBox->currentText());
    const int result = Run_Modal_Dialog(*custom_prod_window);
    custom_prod_window->hide();
    if (result != 1)
        return;
    const QString custom_prod_name = custom_prod_window->custom_prod_name;
    const QString path = Sheet_File_Path(Folders.custom_label_path, custom_prod_name);
    const QStringList strings{
        Col_Text_pre->text(), Row_Text_pre->text(), left_mar_pre->text(), top_mar_pre->text(),
        horz_mar_Text_pre->text(), vert_mar_Text_pre->text(), width_Text_pre->text(),
        height_Text_pre->text(), paper_used_pre->text(), orientation_pre->text(),
        page_size_pre->text(), page_width_pre->text(), page_height_pre->text(),
        layout_group_pre->text(), description_pre->text()};
    QString error;
    if (Folders.custom_label_path.isEmpty() || !Write_Sheet_Strings(path, strings, &error)) {
        Show_NSLog_Message(error);
        Show_MessageBox(QStringLiteral("Custom Product Number could not be saved.\n\n%1").arg(
            error.isEmpty() ? QStringLiteral("The folder cannot be written.") : error));
        return;
    }
    Refresh_And_Reload_Product_Number_Combo(custom_prod_name);
    Show_MessageBox(QStringLiteral("Custom Product Number has been saved successfully."));
}

void Print_Wnd::Delete_Label_Pressed()
{
    if (Product_num_ComboBox->currentIndex() < 0) {
        Show_MessageBox(QStringLiteral("There is no 'Custom Product Number' to delete."));
        return;
    }
    if (!Show_YES_NO_MessageBox(QStringLiteral("Are you sure want to delete selected 'Custom Product Number'?")))
        return;
    Delete_File(Sheet_File_Path(Folders.custom_label_path, Product_num_ComboBox->currentText()));
    Refresh_And_Reload_Product_Number_Combo(QString());
}

void Print_Wnd::Refresh_And_Reload_Product_Number_Combo(const QString& name)
{
    {
        QSignalBlocker block(Product_num_ComboBox);
        Product_num_ComboBox->clear();
        Product_num_ComboBox->addItems(List_Sheet_Files(Folders.custom_label_path));
        const int i = name.isEmpty() ? -1 : Product_num_ComboBox->findText(name);
        Product_num_ComboBox->setCurrentIndex(i >= 0 ? i : (Product_num_ComboBox->count() ? 0 : -1));
    }
    if (cus_or_pre == QLatin1String("C") && name.isEmpty()) {
        Lock_Predefined_Fields(false);
        save_label_btn->setVisible(true);
        delete_label_btn->setVisible(true);
    }
    Check_delete_label_buttom_status();
    comboBoxSelectionDidChange(Product_num_ComboBox);
}

void Print_Wnd::Check_delete_label_buttom_status()
{
    delete_label_btn->setEnabled(Product_number_count() >= 2);
}

int Print_Wnd::Product_number_count() const
{
    return Product_num_ComboBox->count();
}

// ---------------------------------------------------------------------------
// Print profiles

void Print_Wnd::Load_Print_Profile()
{
    {
        QSignalBlocker block(List_profile);
        ListData_profile.clear();
        List_profile->clear();
    }
    for (const QString& name : List_Sheet_Files(Folders.print_profile_path))
        Create_Profile_List(name);
    Make_select_on_index(0);
}

void Print_Wnd::Create_Profile_List(const QString& name)
{
    const QString trimmed = Trim_Str(name);
    if (trimmed.isEmpty())
        return;
    ListData_profile << QVariantMap{{QStringLiteral("List"), trimmed}};
    QSignalBlocker block(List_profile);
    List_profile->addItem(trimmed);
}

QString Print_Wnd::Get_List_Name_Text(int row) const
{
    if (row < 0 || row >= ListData_profile.size())
        return {};
    return Trim_Str(ListData_profile[row].value(QStringLiteral("List")).toString());
}

void Print_Wnd::tableViewSelectionDidChange()
{
    if (ListData_profile.isEmpty())
        return;
    const int row = List_profile->currentRow();
    if (row < 0) {
        Show_NSLog_Message(QStringLiteral("No print profile is selected."));
        return;
    }
    const QString name = Get_List_Name_Text(row);
    Delete_profile_btn->setEnabled(name != QLatin1String("Default"));
    Read_and_load_profile_info(name);
}

bool Print_Wnd::Save_Print_Profile(const QString& name, const QString& printer)
{
    const QString path = Sheet_File_Path(Folders.print_profile_path, name);
    const QRectF paper = printInfo().pageLayout.fullRect(QPageLayout::Millimeter);
    const Sheet_Options_Pane& o = *sheetPane;
    const QStringList strings{
        o.Col_Text->text(), o.Row_Text->text(), o.horz_mar_Text->text(), o.vert_mar_Text->text(),
        o.l_mar_id->text(), o.t_mar_id->text(), o.r_mar_id->text(), o.b_mar_id->text(),
        QString::number(o.alignment()), yn(o.Auto_Center_chk_bx), printer, Paper_id->text(),
        Size_id->text(), mm2(paper.width()), mm2(paper.height()), Orient_ComboBox->currentText(),
        yn(o.Show_Margins), yn(o.skip_inavlid_chk), yn(o.print_qty_chk), yn(o.print_with_batch_chk),
        yn(crop_mark_chk), yn(fit_frame_chk)};
    QString error;
    if (Folders.print_profile_path.isEmpty() || !Write_Sheet_Strings(path, strings, &error)) {
        Show_NSLog_Message(error);
        Show_MessageBox(QStringLiteral("Print Profile could not be saved.\n\n%1").arg(
            error.isEmpty() ? QStringLiteral("The folder cannot be written.") : error));
        return false;
    }
    Show_MessageBox(QStringLiteral("Print Profile has been saved successfully."));
    Load_Print_Profile();
    return true;
}

void Print_Wnd::Read_and_load_profile_info(const QString& name)
{
    const std::optional<QStringList> s =
        Read_Sheet_Strings(Sheet_File_Path(Folders.print_profile_path, name), Print_Profile_String_Count);
    if (!s) {
        Show_NSLog_Message(QStringLiteral("The print profile \"%1\" cannot be read.").arg(name));
        return;
    }
    const QStringList& v = *s;
    Sheet_Options_Pane& o = *sheetPane;
    setPair(o.Col_Text, o.Col_Stepper, Leading_Int_C(v[0]), v[0]);
    setPair(o.Row_Text, o.Row_Stepper, Leading_Int_C(v[1]), v[1]);
    setPair(o.horz_mar_Text, o.horz_mar_Stepper, Leading_Double_C(v[2]), v[2]);
    setPair(o.vert_mar_Text, o.vert_mar_Stepper, Leading_Double_C(v[3]), v[3]);
    o.Set_Alignment(Leading_Int_C(v[8]));
    o.Auto_Center_chk_bx->setChecked(v[9] == QLatin1String("Y"));
    o.Auto_Center_Checked();
    const int printerIndex = Printer_ComboBox->findText(v[10]);
    if (printerIndex >= 0)
        Printer_ComboBox->setCurrentIndex(printerIndex);
    Paper_id->setText(v[11]);
    Size_id->setText(v[12]);
    o.Show_Margins->setChecked(v[16] == QLatin1String("Y"));
    if (v[19] == QLatin1String("Y"))
        o.print_with_batch_chk->setChecked(o.rowCount().batch());
    crop_mark_chk->setChecked(v[20] == QLatin1String("Y"));
    fit_frame_chk->setChecked(v[21] == QLatin1String("Y"));

    // The profile's printer (when this system has it), paper and orientation.
    PrintInfo info = printInfo();
    if (printerIndex >= 0) {
        info.printerName = v[10];
        if (info.jobDisposition == QLatin1String("save"))
            info.jobDisposition = QStringLiteral("spool");
    }
    const double pw = Leading_Double_C(v[13]), ph = Leading_Double_C(v[14]);
    if (pw > 0 && ph > 0) {
        const bool landscape = v[15] == QLatin1String("Landscape");
        const QSizeF portrait(std::min(pw, ph), std::max(pw, ph));
        info.pageLayout.setPageSize(QPageSize(portrait, QPageSize::Millimeter, QString(),
                                              QPageSize::FuzzyMatch));
        info.pageLayout.setOrientation(landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        o.Set_Preview_Sheet(QSizeF(Page_Points_Rounded_Up(pw), Page_Points_Rounded_Up(ph)));
    }
    info.pageLayout = Printer_Page_Layout(info.printerName, info.pageLayout);
    setPrintInfo(info);
    o.Set_Enable_Diable_Range_Box();
    Set_values_From_Printer();
    Check_Max_Cell_Value();
}

void Print_Wnd::Add_Edit_Print_Profile(const QString& mode)
{
    QString name;
    int row = -1;
    if (mode != QLatin1String("A")) {
        row = List_profile->currentRow();
        if (row < 0)
            return;
        name = Get_List_Name_Text(row);
    }
    prnt_prof_wnd->Reset_Printers();
    prnt_prof_wnd->Profile_name->setText(name);
    prnt_prof_wnd->pass_profile_name->setText(name);
    const int result = Run_Modal_Dialog(*prnt_prof_wnd);
    prnt_prof_wnd->hide();
    if (result != 1)
        return;
    const QString custom_profile_Printer = prnt_prof_wnd->custom_profile_Printer;
    const QString custom_print_profile_name = prnt_prof_wnd->custom_print_profile_name;
    PrintInfo info = printInfo();
    info.printerName = custom_profile_Printer;
    if (info.jobDisposition == QLatin1String("save"))
        info.jobDisposition = QStringLiteral("spool");
    info.pageLayout = Printer_Page_Layout(info.printerName, info.pageLayout);
    setPrintInfo(info);
    Set_values_From_Printer();
    if (!Save_Print_Profile(custom_print_profile_name, custom_profile_Printer))
        return;
    // A renamed profile leaves its old file only once the new one is written;
    // "Default" is never removed.
    if (!name.isEmpty() && name != QLatin1String("Default") && name != custom_print_profile_name) {
        Delete_File(Sheet_File_Path(Folders.print_profile_path, name));
        Load_Print_Profile();
    }
    if (mode == QLatin1String("E"))
        Make_select_on_index(std::min(row, List_profile->count() - 1));
}

void Print_Wnd::Save_profile_btn_clicked()
{
    const int row = List_profile->currentRow();
    if (row < 0)
        return;
    if (Save_Print_Profile(Get_List_Name_Text(row), Printer_ComboBox->currentText()))
        Make_select_on_index(row);
}

void Print_Wnd::Delete_profile_btn_clicked()
{
    const int row = List_profile->currentRow();
    const QString name = Get_List_Name_Text(row);
    if (name.isEmpty() || name == QLatin1String("Default"))
        return;
    if (!Show_YES_NO_MessageBox(QStringLiteral("Are you sure want to delete selected 'Print Profile'?")))
        return;
    Delete_File(Sheet_File_Path(Folders.print_profile_path, name));
    Load_Print_Profile();
}

