// What the batch jobs (print, PDF and image export, e-mail) and the
// neighbouring windows ask of the main window in designing mode: the batch
// binding of the design (the design view's Batch_Binding), the
// design back-up around a job, the card size, the picture library and the
// design file writer. A worker that calls one of them waits while the GUI
// thread does the work.
#include "mainwindow/LMNWindowController.h"

#include "core/canvas/LMNGraphicView.h"
#include "core/util/MessageBoxes.h"
#include "data/BatchBinding.h"
#include "data/series/View_Data_Series.h"
#include "imagetools/library/Image_Library.h"
#include "imagetools/picture/Thumbnails.h"
#include "mainwindow/BarcodeListSide.h"
#include "mainwindow/BarcodeModeView.h"
#include "mainwindow/design/DesignModeView.h"
#include "mainwindow/files/DesignFile.h"
#include "mainwindow/files/ProjectCommands.h"
#include "platform/MainThread.h"

#include <algorithm>
#include <exception>

Batch_Binding* LMNWindowController::binding() const
{
    return m_designView ? m_designView->batchBinding() : nullptr;
}

Batch_Row_Count LMNWindowController::Check_Series_Or_Excel_Use_or_not() const
{
    Batch_Row_Count count;
    Run_On_Main_Thread_And_Wait([&] {
        if (m_mode == 0)
            count = m_barcodeView->listSide()->Count_Rows();
        else if (binding())
            count = binding()->Count_Rows();
        else
            count.designing = true;
    });
    return count;
}

Batch_Rows LMNWindowController::Make_Batch_Rows_Of(bool series, bool excel) const
{
    Batch_Rows rows;
    Run_On_Main_Thread_And_Wait([&] {
        if (m_mode == 0)
            rows = m_barcodeView->listSide()->Make_Rows(m_barcodeView->Job_Settings());
        else if (binding())
            rows = binding()->Make_Rows(binding()->Count_Rows().only(series, excel));
    });
    return rows;
}

void LMNWindowController::Open_Series_Value_Box(const QString& name)
{
    Run_On_Main_Thread_And_Wait([&] {
        View_Data_Series* viewer = View_Data_Series::defaultInstance();
        viewer->file_name = name;
        viewer->Open_Wnd();
    });
}

void LMNWindowController::Select_first_row_value_for_design()
{
    if (binding())
        binding()->Select_first_row_value_for_design();
}

void LMNWindowController::Set_Front_Back_Value_To_Print_Export_Mail()
{
    if (binding())
        binding()->Set_Front_Back_Value_To_Print_Export_Mail();
}

void LMNWindowController::Create_Card_Design_Again()
{
    if (!binding())
        return;
    binding()->Create_Card_Design_Again();
    // The restore leaves nothing selected: the card panel shows, so that the
    // panel and the selection agree (without a back-up nothing changed and
    // the selection's panel stays).
    if (m_mode != 0)
        Run_On_Main_Thread_And_Wait([this] {
            LMNGraphicView* view = graphicView();
            Show_RHS_Properties(view ? view->_Selected_Graphic : nullptr);
        });
}

void LMNWindowController::Set_Graphic_Array_According_Side()
{
    // Designs have one side; a design whose start option is "G" is shown
    // on its front again.
    if (binding())
        binding()->Set_Graphic_Array_According_Side([this] {
            if (m_designView)
                m_designView->Select_front_side();
        });
}

bool LMNWindowController::Save_project_file(const QString& path, bool showMessage, const QString& logOrTemplate)
{
    // The design file writer of the file commands, to a given path; "T"
    // writes a user template (start option "T", no spreadsheet part, the
    // items' bindings cleared in the file; the open design keeps them).
    bool written = false;
    Run_On_Main_Thread_And_Wait([&] {
        try {
            const bool asTemplate = logOrTemplate == QLatin1String("T");
            const QVariantList elements = Design_File_Elements(m_project->Current_Design(), asTemplate);
            QString why;
            if (!Write_Design_Elements(path, elements, &why)) {
                Show_NSLog_Message(why);
                if (showMessage)
                    Show_MessageBox(QStringLiteral("The design could not be saved:\n%1\n%2").arg(path, why));
                return;
            }
            written = true;
            if (showMessage)
                Show_MessageBox(asTemplate ? QStringLiteral("Template has been saved successfully.")
                                           : QStringLiteral("Barcode Label Design has been saved successfully."));
        } catch (const std::exception& e) {
            Show_NSLog_Message(QString::fromUtf8(e.what()));
            if (showMessage)
                Show_MessageBox(QString::fromUtf8(e.what()));
        }
    });
    return written;
}

QSizeF LMNWindowController::Card_Size() const
{
    QSizeF size;
    Run_On_Main_Thread_And_Wait([&] { size = graphicViewBounds().size(); });
    return size;
}

void LMNWindowController::SetDocumentCanvasSize(QSizeF points)
{
    Run_On_Main_Thread_And_Wait([&] { m_designView->Apply_Card_Size(points); });
}

QString LMNWindowController::Open_Image_Library_Window(const QString& mode)
{
    QString chosen;
    Run_On_Main_Thread_And_Wait([&] {
        Image_Library* picker = Image_Library::defaultInstance();
        picker->control_or_BG = mode;
        if (picker->Open_Library_Window() == 1)
            chosen = picker->selected_image;
    });
    return chosen;
}

QWidget* LMNWindowController::Main_wnd() const
{
    return const_cast<LMNWindowController*>(this);
}
