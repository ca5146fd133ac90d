#include "AllWindows.h"

#include "barcode/generation/Barcode_Gen.h"
#include "core/model/LMNGraphic.h"
#include "core/util/MessageBoxes.h"
#include "data/Data_From_Excel.h"
#include "data/barcodelist/ListDialogs.h"
#include "data/series/BatchWizard.h"
#include "data/series/ExcelImport.h"
#include "data/series/Generate_List.h"
#include "data/series/Import_Wizard.h"
#include "data/series/SeriesAlerts.h"
#include "data/series/SeriesJob.h"
#include "data/series/View_Data_Series.h"
#include "export/ExportDialogs.h"
#include "export/ExportTemplate.h"
#include "export/PdfExportWindow.h"
#include "export/ProgressWindow.h"
#include "export/mail/EmailSetting.h"
#include "export/mail/SendMail.h"
#include "imagetools/crop/Cropping_Tool.h"
#include "imagetools/library/Image_Library.h"
#include "mainwindow/LMNWindowController.h"
#include "mainwindow/ShareWindows.h"
#include "mainwindow/design/GridWizard.h"
#include "mainwindow/files/NewLabelFlow.h"
#include "mainwindow/help/HelpWindows.h"
#include "mainwindow/units/Units.h"
#include "print/Card_Wizard.h"
#include "print/Print_Wnd.h"

#include <QFileDialog>

void Visit_Every_Window(LMNWindowController& main, const std::function<void(const Window_Visit&)>& visit)
{
    QWidget* parent = &main;
    const auto see = [&visit](QWidget& w, const char* id, bool opened = true) {
        visit(Window_Visit{QString::fromLatin1(id), &w, opened});
    };

    // ---- The main window in its two modes ----
    main.Barcode_Mode_Select();
    see(main, "main-barcode");
    main.Designing_Mode_Select();
    see(main, "main-designing");
    main.Barcode_Mode_Select();

    // ---- Windows of the main window ----
    {
        Unit_PrefWindow units(parent);
        see(units, "units");
        Grid_Wizard grid(parent);
        see(grid, "grid");
        New_Label_Dialog presets(parent);
        presets.Size_Only();
        see(presets, "preset-sizes");
        Help_Support help(parent);
        help.Refresh_Links();
        see(help, "help-support");
        Promotion_Form promotion(parent);
        see(promotion, "promotion");
        Share_It_Dlg share(parent);
        see(share, "share");
        QFileDialog exportList(parent, QObject::tr("Export List"));
        exportList.setOption(QFileDialog::DontUseNativeDialog, true);
        see(exportList, "export-list");
        Long_SMS_Dlg longText(parent);
        longText.title_val = QStringLiteral("Help");
        longText.msg_val_str = QStringLiteral("A longer help text of the barcode settings.");
        longText.Reset_Controls();
        see(longText, "help-text");
    }

    // ---- Printing and the new label ----
    {
        Card_Wizard wizard(parent);
        wizard.Reset_For_Opening();
        see(wizard, "new-label-size");
        wizard.Reset_For_Opening();
        wizard.OK_Click();
        see(wizard, "new-label-look");
        Print_Wnd print(parent);
        print.Reset_For_Opening();
        see(print, "print");
        Custom_Product_Label custom(parent);
        see(custom, "custom-sheet");
        Add_Print_Profile profile(parent);
        profile.Reset_Printers();
        see(profile, "print-profile");
    }

    // ---- Export and e-mail ----
    {
        PDF_Export pdf(parent);
        pdf.Reset_For_Opening();
        see(pdf, "pdf-export");
        PDF_Help pdfHelp(parent);
        see(pdfHelp, "pdf-help");
        ExportWindow exportLabel(parent);
        exportLabel.Reset_Controls();
        see(exportLabel, "export-label");
        Export_Barcode exportBarcode(parent);
        exportBarcode.Reset_Controls();
        see(exportBarcode, "export-barcode");
        Export_Template exportTemplate(parent);
        see(exportTemplate, "save-template");
        Send_Modeless_Dialog progress(parent);
        progress.Prepare(10, QStringLiteral("Exporting"));
        see(progress, "progress");
        Email_Setting mailSettings(parent);
        see(mailSettings, "email-settings");
        Send_Mail mail(parent);
        mail.Reset_Controls();
        see(mail, "send-mail");
        Direct_Mail direct(parent);
        see(direct, "direct-mail", false);
    }

    // ---- Series, lists and spreadsheets ----
    {
        BatchWizard batch(parent);
        batch.Reset_Controls();
        see(batch, "series-manager");
        Update_Ex_Num update(&batch, parent);
        see(update, "series-value");
        Generate_List generate(parent);
        generate.Reset_Controls();
        see(generate, "series-generator");
        Import_Wizard import(parent);
        import.Reset_Controls();
        see(import, "series-import");
        View_Data_Series view(parent);
        view.Reset_Controls();
        see(view, "series-values");
        Import_Excel_DataSheet sheet(parent);
        see(sheet, "spreadsheet-columns");
        Import_Excel excel(parent);
        see(excel, "series-from-spreadsheet");
        Series_Alert_Box alert(QStringLiteral("Series is in use\n\nName"), {QStringLiteral("OK")}, parent);
        see(alert, "series-alert");
        Series_Job_Sheet job(parent);
        see(job, "series-job");
        Data_From_Excel rows(parent);
        rows.Reset_Controls();
        see(rows, "spreadsheet-rows");
        Import_From_Txt_File text(parent);
        see(text, "list-import");
        Update_List_Details details(parent);
        see(details, "list-row");
        Generate_List_Barcode generateList(parent);
        generateList.Reset_Controls();
        see(generateList, "list-generator");
        Import_Excel_Barcode excelList(parent);
        see(excelList, "list-from-spreadsheet");
    }

    // ---- Pictures and barcode items ----
    {
        Cropping_Tool crop(parent);
        crop.Reset_For_Open(0, QString());
        see(crop, "crop-wizard");
        Image_Library library(parent);
        library.control_or_BG = QStringLiteral("C");
        library.Prepare_For_Open();
        see(library, "picture-library");
        library.control_or_BG = QStringLiteral("B");
        library.Prepare_For_Open();
        see(library, "background-library");
        Barcode_Gen barcode(parent);
        LMNGraphicPtr item(LMNGraphic::newOfKind(LMNKind::Barcode));
        barcode.Load_Item(*item);
        see(barcode, "barcode-properties");
    }
}
