#include "print/OutputGate.h"

#include "barcode/generation/BarcodeRoad.h"
#include "barcode/generation/BarcodeSource.h"
#include "core/util/BarcodeSettings.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/util/BatchServices.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "print/PrinterList.h"
#include "print/Print_Wnd.h"

void Print_Button()
{
    Output_Command(Print_method, Print_Barcode_Button);
}

void Print_method()
{
    Run_Output_Window([] {
        if (Print_Wnd* w = Print_Wnd::defaultInstance())
            w->Open_Print_Wnd();
    });
}

void Print_Barcode_Button()
{
    if (!App_Services().Batch_Services)
        return;
    const Batch_Rows rows = App_Services().Batch_Services->Make_Batch_Rows();
    if (rows && Barcode_Output_Checks(*rows))
        Print_method();
}

void Output_Command(const std::function<void()>& designing, const std::function<void()>& barcode)
{
    try {
        if (!App_Services().Batch_Services)
            return;
        if (Designing_Mode_Active()) {
            designing();
            return;
        }
        const Batch_Row_Count count = App_Services().Batch_Services->Check_Series_Or_Excel_Use_or_not();
        if (count.Total_Barcode_Label_wd_Batch == 0) {
            Show_MessageBox(QStringLiteral("List is empty."));
            App_Services().Batch_Services->Focus_Barcode_List();
            return;
        }
        App_Services().Batch_Services->Draw_2d_barcode_again_for_manual();
        barcode();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

bool Barcode_Output_Checks(const Batch_Row_Source& rows)
{
    const BarcodeModeState state = App_Services().Batch_Services->Barcode_Mode_State();
    if (!rows.count().Use_Data_Sheet_Values || !state.valueChecked) {
        // The value is typed: it must encode (the validator says why not).
        return App_Services().Batch_Services->Check_And_Validat_Barcode(true, true);
    }
    // The rows are read, not shown: the first that encodes is then shown
    // whole, its value, header and footer together.
    const int row = Find_Valid_Barcode_Value_For_Batch_Processing(rows);
    if (row < 0) {
        Show_MessageBox(invalid_barcode_msg);
        return false;
    }
    App_Services().Batch_Services->Select_Valid_Value_For_Barcode_Setting_Mode(row);
    return true;
}

bool Run_Output_Window(const std::function<void()>& openWindow, bool needsPrinter)
{
    if (needsPrinter && Printer_Names().isEmpty()) {
        Show_MessageBox(QStringLiteral("No printer found."));
        return false;
    }
    if (!App_Services().Batch_Services)
        return false;
    App_Services().Batch_Services->Set_Front_Back_Value_To_Print_Export_Mail();
    if (openWindow)
        openWindow();
    App_Services().Batch_Services->Create_Card_Design_Again();
    App_Services().Batch_Services->Set_Graphic_Array_According_Side();
    // The restore leaves nothing selected: the card panels show again.
    if (App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Show_RHS_Properties(nullptr);
    return true;
}
