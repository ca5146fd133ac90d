#include "mainwindow/files/FrameHooks.h"

#include "core/model/LMNGraphic.h"
#include "core/util/BarcodeServices.h"
#include "data/BatchBinding.h"
#include "data/ExcelRows.h"
#include "mainwindow/LMNWindowController.h"
#include "mainwindow/files/ProjectCommands.h"
#include "mainwindow/files/NewLabelFlow.h"
#include "mainwindow/files/ToolPalette.h"
#include "print/Card_Wizard.h"
#include "print/PrintControls.h"

#include <QComboBox>
#include <QLineEdit>

namespace {

std::optional<New_Card_Choice> Card_Wizard_Choice()
{
    Card_Wizard* wizard = Card_Wizard::defaultInstance();
    if (!wizard || wizard->Open_Wnd() != 1)
        return std::nullopt;
    const New_Label_Choice c = wizard->Choice();
    New_Card_Choice n;
    n.shape = c.shape;
    n.stock = wizard->Label_ComboBox->currentText();
    if (c.productIndex >= 0)
        n.category = wizard->Product_num_ComboBox->itemText(c.productIndex);
    n.widthMM = c.widthMM;
    n.heightMM = c.heightMM;
    n.name = c.name;
    n.border = c.border;
    n.borderColour = c.borderColour;
    n.borderWidth = c.borderWidth;
    n.borderStyle = c.borderStyle;
    n.fillColour = c.fillColour;
    n.fillKind = c.fillKind;
    n.gradient1 = c.gradient1;
    n.gradient2 = c.gradient2;
    n.gradientValue = c.gradientValue;
    n.hatchBackground = c.hatchBackground;
    if (c.hatchIndex >= 0)
        n.hatchStyle = wizard->Card_hatch_style->itemText(c.hatchIndex);
    // The wizard's own field, a fraction or a percentage; the flow settles it.
    n.transparency = wizard->Card_alpha_Stepper->value();
    n.imagePath = c.imagePath;
    return n;
}

} // namespace

void Install_File_Command_Hooks(LMNWindowController& window)
{
    window.projectCommands()->Run_Card_Wizard = Card_Wizard_Choice;
    // A barcode record without a picture is drawn by the barcode dialog's
    // renderer from the item's own settings (no widget is touched).
    window.projectCommands()->Render_Barcode_Item = [&window](const LMNGraphic& item, const QString& value) {
        BarcodeDialogServices* barcodes = window.Barcode_Dialog();
        if (!barcodes)
            return PtImage();
        barcodes->Set_Barcode_Prop_To_Control(const_cast<LMNGraphic*>(&item));
        return barcodes->Get_Image_From_Val(value, item.header_val, item.footer_val);
    };
    // The spreadsheet binding a design file stores is the design's one binding.
    Project_Commands* project = window.projectCommands();
    project->Read_Design_Sheet = [&window] {
        Design_Sheet s;
        if (Batch_Binding* b = window.binding()) {
            s.use = b->Excel_Binding_Use();
            s.path = b->Excel_Source_Path();
            s.titles = b->excelRows().columnTitles();
            for (const ExcelRow& row : b->excelRows().ListData()) {
                QVariantMap m;
                for (auto it = row.cbegin(); it != row.cend(); ++it)
                    m.insert(it.key(), it.value());
                s.rows << m;
            }
        }
        return s;
    };
    project->Write_Design_Sheet = [&window](const Design_Sheet& s) {
        Batch_Binding* b = window.binding();
        if (!b)
            return;
        b->setExcel_Binding_Use(s.use);
        b->setExcel_Source_Path(s.path);
        QList<ExcelRow> rows;
        for (const QVariant& r : s.rows) {
            const QVariantMap m = r.toMap();
            ExcelRow row;
            for (auto it = m.cbegin(); it != m.cend(); ++it)
                row.insert(it.key(), it.value().toString());
            rows << row;
        }
        b->excelRows().Restore(s.titles, rows);
    };
    // The picture library of the picture-library tool.
    if (Tool_Palette* tools = window.toolPalette()) {
        tools->Open_Image_Library_Window = [&window] { return window.Open_Image_Library_Window(QStringLiteral("C")); };
        tools->Refresh_Tools();
    }
}
