// What the batch jobs (print, PDF and image export, e-mail) ask of the main
// window in barcode mode, answered by the barcode tab and its list side.
// Every operation runs on the GUI thread; a worker that calls one waits.
#include "mainwindow/LMNWindowController.h"

#include "core/util/MessageBoxes.h"
#include "mainwindow/BarcodeListSide.h"
#include "mainwindow/BarcodeModeView.h"
#include "platform/MainThread.h"

#include <QCheckBox>
#include <QRadioButton>

#include <type_traits>

namespace {

// Runs `f` on the GUI thread and hands back its answer.
template <class F>
auto On_Gui(F&& f) -> decltype(f())
{
    using R = decltype(f());
    if constexpr (std::is_void_v<R>) {
        Run_On_Main_Thread_And_Wait([&] { f(); });
    } else {
        R r{};
        Run_On_Main_Thread_And_Wait([&] { r = f(); });
        return r;
    }
}

} // namespace

BarcodeListModel& LMNWindowController::ListData_barcode()
{
    return m_barcodeView->listSide()->list();
}

void LMNWindowController::Select_First_Value_For_Barcode_Setting_Mode()
{
    On_Gui([&] { m_barcodeView->listSide()->Select_First_Value_For_Barcode_Setting_Mode(); });
}

BarcodeModeState LMNWindowController::Barcode_Mode_State() const
{
    return On_Gui([&] {
        BarcodeModeState state;
        m_barcodeView->listSide()->Fill_Mode_State(state);
        return state;
    });
}

PtImage LMNWindowController::Invalid_Barcode_Data_Image() const
{
    return On_Gui([this] { return Invalid_Barcode_Data_Image_Picture; });
}

bool LMNWindowController::Check_And_Validat_Barcode(bool showMessage, bool checkImage)
{
    return On_Gui([&] { return m_barcodeView->Check_And_Validat_Barcode(showMessage, checkImage); });
}

void LMNWindowController::Draw_2d_barcode_again_for_manual()
{
    // A typed 2D value may show as a draft made while typing: it is made
    // again at the chosen resolution before a job takes it.
    On_Gui([&] {
        BarcodeListSide* list = m_barcodeView->listSide();
        const bool fromSource =
            list->Check_Data_Sheet_Value_Use_or_Not_Barcode() && list->barcode_value_chk->isChecked();
        if (m_barcodeView->liner_or_2D_font != 0 && !fromSource)
            m_barcodeView->goButtonActionPerformed();
    });
}

int LMNWindowController::Selected_Barcode_Row() const
{
    return On_Gui([&] {
        BarcodeListSide* list = m_barcodeView->listSide();
        return list->Custom_Sheet_RD->isChecked() ? list->Selected_Row() : list->Last_Selected_Index;
    });
}

void LMNWindowController::Select_Valid_Value_For_Barcode_Setting_Mode(int row)
{
    On_Gui([&] { m_barcodeView->listSide()->Select_Valid_Value_For_Barcode_Setting_Mode(row); });
}

void LMNWindowController::Focus_Barcode_List()
{
    On_Gui([&] { m_barcodeView->listSide()->Focus_Barcode_List(); });
}
