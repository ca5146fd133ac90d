// The item panels' updates and their own commands: text (fonts, date and
// time), pictures (browse, library, reset, crop, the displayed picture),
// signatures and barcodes.
#include "mainwindow/panels/PropertyPanels.h"

#include "core/canvas/LMNGraphicView.h"
#include "core/model/LMNGraphic.h"
#include "core/model/LMNImage.h"
#include "core/model/LMNSignature.h"
#include "core/util/BatchServices.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "barcode/generation/Barcode_Gen.h"
#include "core/model/BarcodeItemImage.h"
#include "data/BatchBinding.h"
#include "data/SeriesStore.h"
#include "mainwindow/MainWindowSupport.h"

#include <QComboBox>
#include <QFileInfo>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextCursor>

#include <exception>


QStringList Allowed_Picture_Extensions()
{
    return {"jpg", "jpeg", "jpe", "jfif", "gif", "bmp", "png", "tif", "tiff"};
}

namespace {

bool Start_Option_Hides_Source()
{
    return Design_Start_Option() == QLatin1String("V") || Design_Start_Option() == QLatin1String("G");
}

} // namespace

// ---------------------------------------------------------------- walks

LMNGraphicView* PropertyPanelHost::canvasView() const
{
    return m_services.graphicView();
}

LMNGraphic* PropertyPanelHost::Get_Selected_Graphic() const
{
    LMNGraphicView* canvas = canvasView();
    return canvas ? canvas->_Selected_Graphic : nullptr;
}

QList<LMNGraphic*> PropertyPanelHost::Selected_Items() const
{
    LMNGraphicView* canvas = canvasView();
    return canvas ? canvas->selectedGraphics() : QList<LMNGraphic*>();
}

int PropertyPanelHost::Selected_Count() const
{
    return int(Selected_Items().size());
}

bool PropertyPanelHost::Update_Selected_Of_Kind(LMNKind kind, const std::function<void(LMNGraphic&)>& write,
                                                bool othersChanged)
{
    if (Not_Draw_Only_Prop_Change_Get())
        return false;
    const QList<LMNGraphic*> selected = Selected_Items();
    if (selected.isEmpty())
        return false;
    bool changed = othersChanged;
    for (LMNGraphic* item : selected) {
        if (!item || item->kind() != kind || item->ctrl_is_locked)
            continue;
        write(*item);
        changed = true;
    }
    if (changed) {
        m_services.Refresh_Canvas();
        m_services.Insert_In_Undo_Redo();
    }
    return changed;
}

bool PropertyPanelHost::Fill_And_Set_Color_Event_Generator(const QColor& color)
{
    if (Not_Draw_Only_Prop_Change_Get())
        return false;
    bool any = false;
    for (LMNGraphic* item : Selected_Items()) {
        if (!item || item->ctrl_is_locked)
            continue;
        item->setColor(color);
        any = true;
    }
    return any;
}

// ---------------------------------------------------------------- updates

void PropertyPanelHost::Update_Shape_Graphics(bool othersChanged)
{
    Update_Selected_Of_Kind(
        LMNKind::Shape,
        [this](LMNGraphic& g) {
            shape_tab->writeTo(g);
            g.print_object = printObjectState();
        },
        othersChanged);
}

void PropertyPanelHost::Update_Line_Graphics(bool othersChanged)
{
    Update_Selected_Of_Kind(
        LMNKind::Line,
        [this](LMNGraphic& g) {
            line_tab->writeTo(g);
            g.print_object = printObjectState();
        },
        othersChanged);
    line_tab->Direction_Applied();
}

void PropertyPanelHost::Update_Text_Graphics(bool othersChanged)
{
    // The editor's text goes into the item only when one item is selected:
    // several texts keep their own.
    const bool single = Selected_Count() == 1;
    const QString text = datasource_tab->Text_value_Edit->toPlainText();
    Update_Selected_Of_Kind(
        LMNKind::Text,
        [&](LMNGraphic& g) {
            g.print_object = printObjectState();
            text_prop_tab->writeTo(g);
            text_edtng_tab->writeTo(g);
            if (single)
                g.Set_text_value(text);
        },
        othersChanged);
}

void PropertyPanelHost::Update_Image_Graphics(bool othersChanged)
{
    const bool single = Selected_Count() == 1;
    const bool takePath = single && !Start_Option_Hides_Source();
    const QString path = datasource_tab->Manual_image_path->text();
    Update_Selected_Of_Kind(
        LMNKind::Image,
        [&](LMNGraphic& g) {
            g.print_object = printObjectState();
            image_tab->writeTo(g);
            if (takePath)
                g._file_path = path;
            const QImage shown = Get_Image_With_Update_Settings(&g);
            g._contents_with_settings = shown.isNull() ? g._contents : PtImage(shown, g._contents.size());
        },
        othersChanged);
}

void PropertyPanelHost::Update_Sign_Graphics(bool othersChanged)
{
    // The picture chosen with the browse button goes to every selected
    // signature; any other change leaves each signature its own picture.
    const QString path = sign_tab->Sign_image_path->text();
    const bool filePicked = m_signFileChosen;
    m_signFileChosen = false;
    Update_Selected_Of_Kind(
        LMNKind::Signature,
        [&](LMNGraphic& g) {
            g.print_object = printObjectState();
            sign_tab->writeTo(g);
            if (filePicked || (Selected_Count() == 1 && g._file_path != path)) {
                g._file_path = path;
                static_cast<LMNSignature&>(g).setFilePath(path);
            }
        },
        othersChanged);
}

void PropertyPanelHost::Update_Barcode_Graphics(const LMNGraphic& result, const PtImage& Barcode_output_image)
{
    if (Not_Draw_Only_Prop_Change_Get())
        return;
    LMNGraphic* current = Get_Selected_Graphic();
    QList<LMNGraphic*> selected = Selected_Items();
    if (current && !selected.contains(current))
        selected << current;
    if (selected.isEmpty())
        return;
    bool changed = false;
    for (LMNGraphic* g : selected) {
        if (!g || g->kind() != LMNKind::Barcode || g->ctrl_is_locked)
            continue;
        g->print_object = printObjectState();
        if (g != &result)
            Copy_Barcode_Item_Fields(result, *g);
        changed = true;
        // Each barcode written is drawn again from its own new settings (the
        // dialog's own picture serves the item it edited when the items' road
        // cannot draw it); it keeps its centre.
        PtImage picture = Draw_Barcode_Item ? Draw_Barcode_Item(*g) : PtImage();
        if (picture.isNull() && g == current)
            picture = Barcode_output_image;
        if (!picture.isNull()) {
            const QPointF centre = g->bounds().center();
            g->Set_Barcode_image(picture);
            g->setXPosition(centre.x() - g->width() / 2);
            g->setYPosition(centre.y() - g->height() / 2);
            g->Set_Barcode_image_control_bounds();
        }
    }
    if (changed) {
        m_services.Refresh_Canvas();
        m_services.Insert_In_Undo_Redo();
    }
    if (Last_Selected_Graphic && Last_Selected_Graphic->kind() == LMNKind::Barcode) {
        barcode_tab->load(*Last_Selected_Graphic);
        Set_Control_Pos_And_Size(*Last_Selected_Graphic);
    }
}

// ---------------------------------------------------------------- text

void PropertyPanelHost::insertIntoEditor(const QString& text)
{
    QPlainTextEdit* editor = datasource_tab->Text_value_Edit;
    const QSignalBlocker block(editor);
    QTextCursor cursor = editor->textCursor();
    cursor.insertText(text);
    editor->setTextCursor(cursor);
}

void PropertyPanelHost::Text_Insert_Date()
{
    const QString pattern = Trim_Str(datasource_tab->Text_Date_style->currentText());
    if (pattern.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select Date format."));
        return;
    }
    insertIntoEditor(MainWindowServices::Get_date_Value(pattern));
    Update_Text_Graphics();
}

void PropertyPanelHost::Text_Insert_Time()
{
    const QString pattern = Trim_Str(datasource_tab->Text_Time_style->currentText());
    if (pattern.isEmpty()) {
        Show_MessageBox(QStringLiteral("Please select Time format."));
        return;
    }
    insertIntoEditor(MainWindowServices::Get_time_Value(pattern));
    Update_Text_Graphics();
}

void PropertyPanelHost::Text_Font_Changed()
{
    // Opening the chooser changes nothing: the texts change when a font is chosen.
    openFontPanel(1, text_edtng_tab->Text_font);
}

void PropertyPanelHost::changeTextFont(const QFont& font)
{
    try {
        text_edtng_tab->changeTextFont(font);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

// ---------------------------------------------------------------- pictures

QImage PropertyPanelHost::Get_Image_With_Update_Settings(LMNGraphic* item)
{
    if (!item)
        return {};
    QImage shown;
    if (Has_Picture_Display_Filter())
        shown = Filtered_Picture(*item);
    else if (!item->_contents.isNull())
        shown = item->_contents.toImage(72.0);
    Displayed_Picture_Made(*item, !shown.isNull() && !shown.size().isEmpty());
    return shown;
}

void PropertyPanelHost::Displayed_Picture_Made(const LMNGraphic& item, bool shown)
{
    const bool fine = shown && !item._file_path.isEmpty() && QFileInfo::exists(item._file_path);
    image_tab->image_error_label->setVisible(!fine);
}

void PropertyPanelHost::Reset_Image_Editing_Controls()
{
    image_tab->Reset_Image_Editing_Controls();
}

bool PropertyPanelHost::Check_Multiple_Image_Selection(const QString& action)
{
    try {
        int pictures = 0;
        for (LMNGraphic* g : Selected_Items())
            if (g && g->kind() == LMNKind::Image)
                ++pictures;
        if (pictures >= 2) {
            Show_MessageBox(QStringLiteral("Please select only one image control to '%1 Image'.").arg(action));
            return true;
        }
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
    return false;
}

bool PropertyPanelHost::Browse_User_Image_Manually()
{
    QStringList both = Allowed_Picture_Extensions();
    for (const QString& e : Allowed_Picture_Extensions())
        both << e.toUpper();
    const QString path = Choose_File ? Choose_File(tr("Choose a Picture"), both) : QString();
    if (path.isEmpty()) {
        m_services.Library_Selected_Image.clear();
        return false;
    }
    m_services.Library_Selected_Image = path;
    datasource_tab->Manual_image_path->setText(path);
    return true;
}

// The chosen picture into the canvas's picture item, then the update.
void PropertyPanelHost::Manual_Image_Browse_Btn()
{
    if (Check_Multiple_Image_Selection(QStringLiteral("Browse")))
        return;
    if (!Browse_User_Image_Manually())
        return;
    LMNGraphic* item = Get_Selected_Graphic();
    if (item && item->kind() == LMNKind::Image && !item->ctrl_is_locked) {
        static_cast<LMNImage*>(item)->setFilePath(m_services.Library_Selected_Image);
        item->Set_text_value(m_services.Library_Selected_Image);
    }
    Update_Image_Graphics();
}

int PropertyPanelHost::Open_Image_Library_Window(const QString& mode)
{
    if (!Picture_Library)
        return 0;
    const QString chosen = Picture_Library(mode);
    if (chosen.isEmpty())
        return 0;
    lib_window_sel_file = chosen;
    return 1;
}

void PropertyPanelHost::Manual_Library_Browse_Btn()
{
    if (Check_Multiple_Image_Selection(QStringLiteral("Select")))
        return;
    if (Open_Image_Library_Window(QStringLiteral("C")) != 1)
        return;
    m_services.Library_Selected_Image = lib_window_sel_file;
    datasource_tab->Manual_image_path->setText(m_services.Library_Selected_Image);
    LMNGraphic* item = Get_Selected_Graphic();
    if (item && item->kind() == LMNKind::Image && !item->ctrl_is_locked) {
        static_cast<LMNImage*>(item)->setFilePath(m_services.Library_Selected_Image);
        item->Set_text_value(m_services.Library_Selected_Image);
    }
    Update_Image_Graphics();
}

void PropertyPanelHost::Image_reset_Button()
{
    if (!Show_YES_NO_MessageBox(QStringLiteral("Are you sure you want to continue?")))
        return;
    Reset_Image_Editing_Controls();
    const QList<LMNGraphic*> selected = Selected_Items();
    if (selected.isEmpty())
        return;
    for (LMNGraphic* g : selected)
        if (g && g->kind() == LMNKind::Image && !g->ctrl_is_locked)
            static_cast<LMNImage*>(g)->setFilePath(g->_file_path);
    Update_Image_Graphics();
}

void PropertyPanelHost::Cropping_Selected_Image_clicked()
{
    if (Check_Multiple_Image_Selection(QStringLiteral("Crop")))
        return;
    LMNGraphic* item = Get_Selected_Graphic();
    if (!item || item->kind() != LMNKind::Image || item->ctrl_is_locked)
        return;
    QString path = item->_file_path;
    if (!QFileInfo::exists(path)) {
        Show_MessageBox(QStringLiteral("The selected control does not contains any image with supported extension."));
        return;
    }
    if (!item->Text_Value.isEmpty() && QFileInfo::exists(item->Text_Value))
        path = item->Text_Value;
    auto* image = static_cast<LMNImage*>(item);
    if (item->data_source_type == 1) {
        if (!Crop_Series)
            return;
        const QString series = Crop_Series(item->batch_list_name);
        if (series.isEmpty())
            return;
        auto refill = [&] {
            Loading_Guard loading;
            QComboBox* list = datasource_tab->Batch_Series;
            list->clear();
            list->addItem(QStringLiteral("<--Select-->"));
            list->addItems(Series_Names());
            Select_Combo_Text(list, series);
        };
        refill();
        item->Set_Batch_List_Name(series);
        item->Set_Batch_List_Index(datasource_tab->Batch_Series->currentIndex());
        m_services.Library_Selected_Image = Get_First_Value_Of_Dataset(series);
        datasource_tab->Manual_image_path->setText(m_services.Library_Selected_Image);
        image->setFilePath(m_services.Library_Selected_Image);
        Update_Image_Graphics();
        refill();
    } else if (item->data_source_type == 0) {
        if (!Crop_Picture)
            return;
        const QString cropped = Crop_Picture(path);
        if (cropped.isEmpty())
            return;
        m_services.Library_Selected_Image = cropped;
        datasource_tab->Manual_image_path->setText(cropped);
        image->setFilePath(cropped);
        Update_Image_Graphics();
    }
}

// ---------------------------------------------------------------- signatures

void PropertyPanelHost::Sign_Browse_Btn()
{
    const QString path = Choose_File ? Choose_File(tr("Choose a Signature Picture"), {"png", "PNG"}) : QString();
    if (path.isEmpty())
        return;
    sign_tab->Sign_image_path->setText(path);
    m_signFileChosen = true;
    Update_Sign_Graphics();
}
