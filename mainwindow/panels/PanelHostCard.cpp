// The card panel: loading it from the front card model, writing it back at
// every change, the fill kinds, the background picture, the fonts and
// colour of all texts, the watermark, and the card size in the designing unit.
#include "mainwindow/panels/PropertyPanels.h"

#include "core/canvas/LMNGraphicView.h"
#include "core/model/Card_Property.h"
#include "core/model/LMNGraphic.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "mainwindow/MainWindowSupport.h"
#include "mainwindow/Stepper.h"
#include "mainwindow/files/NewLabelFlow.h"
#include "mainwindow/units/Units.h"
#include "platform/MessageSink.h"
#include "platform/Numbers.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

#include <algorithm>
#include <exception>

namespace {

// The largest card side, in points (as the design files allow).
constexpr double Max_Card_Side_Points = 14400.0;

QColor With_Alpha(QColor c, float alpha)
{
    c.setAlphaF(std::clamp(alpha, 0.0f, 1.0f));
    return c;
}

} // namespace

void PropertyPanelHost::wireCardPanels()
{
    CardInfoPanel* info = card_info_tab;
    CardSizePanel* size = card_size_tab;
    CardBackgroundPanel* bkgd = card_bkgd_tab;
    CardBorderPanel* border = card_brdr_tab;

    for (PropertyPanel* p : {static_cast<PropertyPanel*>(info), static_cast<PropertyPanel*>(bkgd),
                             static_cast<PropertyPanel*>(border)}) {
        connect(p, &PropertyPanel::changed, this, &PropertyPanelHost::Update_Card_Graphics);
        // The card's colour wells colour the card only: the selected items
        // (a rubber-band selection stays selected under the card panel) keep theirs.
        connect(p, &PropertyPanel::colorChosen, this, &PropertyPanelHost::Update_Card_Graphics);
    }
    connect(info, &CardInfoPanel::shapeChosen, this, [this] {
        m_services.Card_Shape = card_info_tab->shapeRow();
        Update_Card_Graphics();
        m_services.Refresh_Canvas();
    });
    connect(info, &CardInfoPanel::contentFontWanted, this, &PropertyPanelHost::Content_Font_Clicked);
    connect(info, &CardInfoPanel::contentColorChosen, this, &PropertyPanelHost::Update_All_Card_Content);
    connect(info, &CardInfoPanel::watermarkFontWanted, this, &PropertyPanelHost::WM_Text_Font_Changed);
    connect(info, &CardInfoPanel::textEdited, this, &PropertyPanelHost::controlTextDidChange);
    connect(info->wm_alignment_combo, &QComboBox::activated, this,
            [this] { comboBoxSelectionDidChange(card_info_tab->wm_alignment_combo); });

    connect(bkgd, &CardBackgroundPanel::fillCheckClicked, this, [this] {
        const Card_Property* card = m_services.Front_card_Prop();
        card_bkgd_tab->Card_Fill_Chk_Box(card ? card->Card_fill_style : QStringLiteral("S"));
    });
    connect(bkgd, &CardBackgroundPanel::browseWanted, this, &PropertyPanelHost::Card_Image_Browse_Btn);
    connect(bkgd, &CardBackgroundPanel::libraryWanted, this, &PropertyPanelHost::Card_Image_Library_Btn);
    connect(bkgd, &CardBackgroundPanel::layoutChosen, this,
            [this] { comboBoxSelectionDidChange(card_bkgd_tab->Card_image_layout); });
    connect(bkgd->Card_hatch_style, &QComboBox::activated, this,
            [this] { comboBoxSelectionDidChange(card_bkgd_tab->Card_hatch_style); });
    connect(border->Card_border_style, &QComboBox::activated, this,
            [this] { comboBoxSelectionDidChange(card_brdr_tab->Card_border_style); });

    connect(size, &CardSizePanel::labelChosen, this, [this] { comboBoxSelectionDidChange(card_size_tab->Label_ComboBox); });
    connect(size, &CardSizePanel::productChosen, this,
            [this] { comboBoxSelectionDidChange(card_size_tab->Product_num_ComboBox); });
    connect(size, &CardSizePanel::widthStepped, this, &PropertyPanelHost::Card_Width_Changed);
    connect(size, &CardSizePanel::heightStepped, this, &PropertyPanelHost::Card_Height_Changed);
    connect(size, &CardSizePanel::sizeTextEdited, this, &PropertyPanelHost::controlTextDidChange);
    connect(size, &CardSizePanel::sizeEditingEnded, this, &PropertyPanelHost::controlTextDidEndEditing);
    connect(size, &CardSizePanel::applyWanted, this, &PropertyPanelHost::Apply_Size_Clicked);
    connect(size, &CardSizePanel::pageFromPrinterWanted, this, &PropertyPanelHost::Page_From_Printer_Click);
    connect(size, &CardSizePanel::presetSizeWanted, this, &PropertyPanelHost::Preset_Size_Click);
    connect(size, &CardSizePanel::unitsWanted, this, &PropertyPanelHost::unitsWanted);
}

// ---------------------------------------------------------------- loading

void PropertyPanelHost::Load_Card_and_Label_Properties(const LMNGraphic* item)
{
    if (item)
        return;
    Card_Property* card = m_services.Front_card_Prop();
    if (!card)
        return;
    try {
        Loading_Guard loading;
        Disable_Standard_Button_For_Card();
        Last_Selected_Graphic = nullptr;
        CardBorderPanel* border = card_brdr_tab;
        border->Card_border_chk->setChecked(card->Card_border_chk);
        border->Card_bordr_clr->setColor(card->Card_bordr_clr);
        border->Card_bor->setValue(card->Card_bor_Stepper);
        Select_Border_Style(border->Card_border_style, card->Card_border_style);

        CardBackgroundPanel* bkgd = card_bkgd_tab;
        bkgd->Card_fill_chk->setChecked(card->Card_fill_chk);
        bkgd->Card_fill_clr->setColor(card->Card_fill_clr);
        const QString style = card->Card_fill_style;
        bkgd->Card_fill_Grd_1_clr->setColor(card->Card_fill_Grd_1_clr);
        bkgd->Card_fill_Grd_2_clr->setColor(card->Card_fill_Grd_2_clr);
        bkgd->Card_grad->setValue(card->Card_grad_Stepper);
        bkgd->Card_hatch_bk_clr->setColor(card->Card_hatch_bk_clr);
        if (style == QLatin1String("H")) {
            if (card->Card_hatch_style.isEmpty())
                bkgd->Card_hatch_style->setCurrentIndex(-1);
            else
                Select_Combo_Text(bkgd->Card_hatch_style, card->Card_hatch_style);
        }
        const int percent = std::min(100, static_cast<int>(card->Card_alpha_Stepper * 100.0f));
        bkgd->Card_alpha->setValue(percent);
        bkgd->Card_Image_path->setText(card->Card_BG_Image_Path);
        const int layout = bkgd->Card_image_layout->findText(card->Card_BG_Image_Layout);
        if (layout >= 0)
            bkgd->Card_image_layout->setCurrentIndex(layout);

        CardInfoPanel* info = card_info_tab;
        info->All_Text_clr->setColor(card->Card_Content_clr);
        info->All_Text_font = card->Card_Content_font;
        info->All_Text_font_value->setText(Font_Label_Text(info->All_Text_font));
        info->All_Text_font_COPY = info->All_Text_font;
        info->All_Text_clr_COPY = info->All_Text_clr->color();
        m_services.Card_Shape = card->Card_Shape == QLatin1String("R") ? 0 : (card->Card_Shape == QLatin1String("RR") ? 1 : 2);
        info->setShapeRow(m_services.Card_Shape);
        info->card_name->setText(card->Card_Name);

        const QRectF bounds = m_services.graphicViewBounds();
        card->Card_Location = bounds.topLeft();
        card->Card_Size = bounds.size();

        CardSizePanel* size = card_size_tab;
        Select_Combo_Text(size->Label_ComboBox, card->Card_Preset);
        if (card->Card_Preset == QLatin1String("Custom")) {
            size->Product_num_ComboBox->setCurrentIndex(-1);
            Set_Card_Size_In_Control(MainWindowServices::Points_to_MM_Convert(float(card->Card_Size.width())),
                                     MainWindowServices::Points_to_MM_Convert(float(card->Card_Size.height())));
            Enable_Disable_Size_Param_Acc_To_Label_Selection(true);
        } else {
            // The products of the card's own label stock, so that its product
            // is shown (and kept by the next write).
            if (m_productsVendor != card->Card_Preset) {
                size->Product_num_ComboBox->clear();
                prod_list.clear();
                m_productsVendor = card->Card_Preset;
                ::Read_XML_File(Catalogue_File_Path(card->Card_Preset), QString(), QString(), false, prod_list,
                                size->Product_num_ComboBox);
            }
            size->Product_num_ComboBox->setEnabled(true);
            Select_Combo_Text(size->Product_num_ComboBox, card->Card_Category);
            Enable_Disable_Size_Param_Acc_To_Label_Selection(false);
        }

        info->enable_watermark_chk->setChecked(card->Watermark_Used);
        info->wm_alignment_combo->setCurrentIndex(
            card->Watermark_Alignment >= 0 && card->Watermark_Alignment < 3 ? card->Watermark_Alignment : -1);
        const double wm = std::min(100.0, double(card->Watermark_Transp) * 100.0);
        info->wm_transp_slider->setFraction(wm);
        info->wm_transp_val->setText(Slider_Label_Text(wm));
        info->watermark_text->setText(card->Watermark_Text);
        info->watermark_color->setColor(card->Watermark_Color);
        info->WM_Text_font = card->Watermark_Font;
        info->Enable_Watermark_Clicked();
        info->wm_font_value->setText(Font_Label_Text(info->WM_Text_font));

        bkgd->card_prop_set(style, card->Card_fill_chk);
        SetObjEnabled(border->Card_Border_Box, card->Card_border_chk);
        card_setting_tab->load(*card);
        sett_tab->update();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

// ---------------------------------------------------------------- writing

void PropertyPanelHost::Update_Card_Graphics()
{
    if (Not_Draw_Only_Prop_Change_Get())
        return;
    Card_Property* card = m_services.Front_card_Prop();
    if (!card)
        return;
    CardBorderPanel* border = card_brdr_tab;
    CardBackgroundPanel* bkgd = card_bkgd_tab;
    CardInfoPanel* info = card_info_tab;
    const float opacity = static_cast<float>(bkgd->Card_alpha->value() / 100.0);

    card->Card_border_chk = border->Card_border_chk->isChecked();
    if (card->Card_border_chk) {
        card->Card_bordr_clr = border->Card_bordr_clr->color();
        card->Card_bor_Stepper = border->Card_bor->intValue();
    }
    const int borderStyle = border->Card_border_style->currentIndex();
    if (borderStyle >= 0 && borderStyle <= 4)
        card->Card_border_style = Return_Border_Style_Str_On_index(borderStyle);
    card->Card_fill_chk = bkgd->Card_fill_chk->isChecked();
    if (card->Card_fill_chk)
        card->Card_fill_clr = With_Alpha(bkgd->Card_fill_clr->color(), opacity);
    card->Card_fill_style = bkgd->fillStyle();
    card->Card_fill_Grd_1_clr = bkgd->Card_fill_Grd_1_clr->color();
    card->Card_fill_Grd_2_clr = bkgd->Card_fill_Grd_2_clr->color();
    card->Card_grad_Stepper = static_cast<qint32>(bkgd->Card_grad->value());
    card->Card_hatch_bk_clr = With_Alpha(bkgd->Card_hatch_bk_clr->color(), opacity);
    card->Card_hatch_style = bkgd->Card_hatch_style->currentIndex() >= 0 ? bkgd->Card_hatch_style->currentText()
                                                                         : QString();
    card->Card_BG_Image_Path = bkgd->Card_Image_path->text();
    card->Card_BG_Image_Layout = bkgd->Card_image_layout->currentText();
    card->Card_alpha_Stepper = opacity;
    card->Card_Content_clr = info->All_Text_clr->color();
    card->Card_Content_font = info->All_Text_font;
    Set_Card_Comman_Properties();
    card->Watermark_Used = info->enable_watermark_chk->isChecked();
    card->Watermark_Alignment = info->wm_alignment_combo->currentIndex();
    card->Watermark_Transp = static_cast<float>(info->wm_transp_slider->fraction() / 100.0);
    card->Watermark_Text = info->watermark_text->text();
    card->Watermark_Color = info->watermark_color->color();
    card->Watermark_Font = info->WM_Text_font;
    m_services.Refresh_Canvas();
}

void PropertyPanelHost::Set_Card_Comman_Properties()
{
    Card_Property* card = m_services.Front_card_Prop();
    if (!card)
        return;
    card->Card_Side = QStringLiteral("1");
    card->Card_Side_Name = QStringLiteral("F");
    card->Card_Shape = m_services.Card_Shape == 0 ? QStringLiteral("R") : (m_services.Card_Shape == 1 ? QStringLiteral("RR") : QStringLiteral("E"));
    QString name = Trim_Str(card_info_tab->card_name->text());
    if (name.isEmpty())
        name = default_file_name;
    card->Card_Name = name;
    const QRectF bounds = m_services.graphicViewBounds();
    card->Card_Location = bounds.topLeft();
    card->Card_Size = bounds.size();
    card->Card_Preset = card_size_tab->Label_ComboBox->currentText();
    card->Card_Category = card_size_tab->Product_num_ComboBox->currentIndex() >= 0
                              ? card_size_tab->Product_num_ComboBox->currentText()
                              : QString();
    card->Card_Sub_Category = name;
    card->Card_Cat_index = 0;
    card->Card_Create_Mode = QStringLiteral("W");
}

// The font and colour of all texts, when changed since the panel was loaded,
// go to every text item; one undo step when a text changed.
void PropertyPanelHost::Update_All_Card_Content()
{
    if (Not_Draw_Only_Prop_Change_Get())
        return;
    CardInfoPanel* info = card_info_tab;
    const bool colourChanged = info->All_Text_clr->color() != info->All_Text_clr_COPY;
    const bool fontChanged = info->All_Text_font != info->All_Text_font_COPY;
    bool changed = false;
    for (LMNGraphic* g : m_services.Get_Front_Controls_Array()) {
        if (!g || g->kind() != LMNKind::Text || g->ctrl_is_locked)
            continue;
        if (colourChanged && g->txt_clr != info->All_Text_clr->color()) {
            g->txt_clr = info->All_Text_clr->color();
            changed = true;
        }
        if (fontChanged && g->text_ctrl_font != info->All_Text_font) {
            g->text_ctrl_font = info->All_Text_font;
            changed = true;
        }
    }
    Update_Card_Graphics();
    if (changed)
        m_services.Insert_In_Undo_Redo();
}

// ---------------------------------------------------------------- commands

void PropertyPanelHost::Content_Font_Clicked()
{
    openFontPanel(2, card_info_tab->All_Text_font);
}

void PropertyPanelHost::changeAllTextFont(const QFont& font)
{
    try {
        card_info_tab->All_Text_font = font;
        card_info_tab->All_Text_font_value->setText(Font_Label_Text(font));
        Update_All_Card_Content();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void PropertyPanelHost::WM_Text_Font_Changed()
{
    openFontPanel(3, card_info_tab->WM_Text_font);
}

void PropertyPanelHost::changewmTextFont(const QFont& font)
{
    try {
        card_info_tab->WM_Text_font = font;
        card_info_tab->wm_font_value->setText(Font_Label_Text(font));
        Update_Card_Graphics();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void PropertyPanelHost::Card_Width_Changed()
{
    card_size_tab->width_Text->setText(Length_Field_Text(card_size_tab->width_Stepper->value(), Measument_Unit_Is));
}

void PropertyPanelHost::Card_Height_Changed()
{
    card_size_tab->height_Text->setText(Length_Field_Text(card_size_tab->height_Stepper->value(), Measument_Unit_Is));
}

void PropertyPanelHost::Apply_Size_Clicked()
{
    Apply_unit_Chaneg_Values();
    if (Set_Canvas_to_100_percent)
        Set_Canvas_to_100_percent();
    const float w = static_cast<float>(Leading_Double_C(card_size_tab->width_Text->text()));
    const float h = static_cast<float>(Leading_Double_C(card_size_tab->height_Text->text()));
    const float f = Get_Unit_Convertor(Measument_Unit_Is, 2);
    const double minimum = MainWindowServices::MM_to_Points_Convert(0.1f * f);
    const double width = std::clamp(double(MainWindowServices::MM_to_Points_Convert(w * f)), minimum, Max_Card_Side_Points);
    const double height = std::clamp(double(MainWindowServices::MM_to_Points_Convert(h * f)), minimum, Max_Card_Side_Points);
    if (Apply_Card_Size)
        Apply_Card_Size(QSizeF(width, height));
    if (LMNGraphicView* canvas = canvasView())
        canvas->Refresh_ScrollView();
    Update_All_Card_Content();
}

void PropertyPanelHost::Page_From_Printer_Click()
{
    PrintInfo info = MainWindowServices::printInfo();
    if (!Page_Layout_Panel || !Page_Layout_Panel(info))
        return;
    MainWindowServices::setPrintInfo(info);
    // The paper in millimetres as its size is defined (its size in points is
    // rounded to whole points).
    const QSizeF paper = info.pageLayout.fullRect(QPageLayout::Millimeter).size();
    Set_Card_Size_In_Control(paper.width(), paper.height());
}

void PropertyPanelHost::Preset_Size_Click()
{
    // The preset card sizes: the one chosen becomes the label's size at once.
    New_Label_Dialog presets(m_services.mainWidget());
    presets.Size_Only();
    if (Run_Modal_Dialog(presets) != 1)
        return;
    const New_Card_Choice c = presets.Choice();
    Set_Card_Size_In_Control(c.widthMM, c.heightMM);
    Apply_Size_Clicked();
}

void PropertyPanelHost::Card_Image_Browse_Btn()
{
    const QString path = Choose_File ? Choose_File(tr("Choose a Background Picture"), Allowed_Picture_Extensions())
                                     : QString();
    if (path.isEmpty())
        return;
    MainWindowServices::Image_Is_Over_Size(path, true, false);
    set_Front_BG_Image(path);
    Update_Card_Graphics();
    Select_Tab(card_bkgd_tab);
}

void PropertyPanelHost::Card_Image_Library_Btn()
{
    if (Open_Image_Library_Window(QStringLiteral("B")) == 1)
        set_Front_BG_Image(lib_window_sel_file);
    Update_Card_Graphics();
    Select_Tab(card_bkgd_tab);
}

void PropertyPanelHost::set_Front_BG_Image(const QString& path)
{
    card_bkgd_tab->Card_Image_path->setText(path);
    Card_Property* card = m_services.Front_card_Prop();
    if (path.isEmpty() || !card)
        return;
    card->Card_BG_Image = MainWindowServices::Get_Image_For_Path(path, false, true);
    card->Card_fill_chk = true;
    card->Card_fill_style = QStringLiteral("I");
    card->Card_BG_Image_Path = path;
    Show_RHS_Properties(nullptr);
    m_services.Refresh_Canvas();
}

// ---------------------------------------------------------------- size fields

void PropertyPanelHost::Set_Card_Size_In_Control(double widthMM, double heightMM)
{
    try {
        CardSizePanel* size = card_size_tab;
        size->width_Text->setText(Format_Double_C(float(widthMM)));
        size->width_Stepper->setValue(float(widthMM));
        size->height_Text->setText(Format_Double_C(float(heightMM)));
        size->height_Stepper->setValue(float(heightMM));
        last_unit_val = 2;
        Apply_unit_Chaneg_Values();
        last_unit_val = Measument_Unit_Is;
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
}

void PropertyPanelHost::Apply_unit_Chaneg_Values()
{
    CardSizePanel* size = card_size_tab;
    const float f = Get_Unit_Convertor(last_unit_val, Measument_Unit_Is);
    const float w = Convert_Unit_Text(size->width_Text->text(), f);
    size->width_Text->setText(Length_Field_Text(w, Measument_Unit_Is));
    size->width_Stepper->setValue(w);
    const float h = Convert_Unit_Text(size->height_Text->text(), f);
    size->height_Text->setText(Length_Field_Text(h, Measument_Unit_Is));
    size->height_Stepper->setValue(h);
}

void PropertyPanelHost::Enable_Disable_Size_Param_Acc_To_Label_Selection(bool enabled)
{
    try {
        CardSizePanel* size = card_size_tab;
        for (QLineEdit* t : {size->width_Text, size->height_Text}) {
            t->setReadOnly(!enabled);
            t->setEnabled(enabled);
        }
        size->width_Stepper->setEnabled(enabled);
        size->height_Stepper->setEnabled(enabled);
        size->page_frm_printer_btn->setEnabled(enabled);
        size->preset_size_btn->setEnabled(enabled);
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
}

void PropertyPanelHost::_setLabels()
{
    const QString caption = Unit_Field_Caption(Measument_Unit_Is);
    const QString unit = Measument_Unit_Is == 0 ? QStringLiteral("in")
                         : Measument_Unit_Is == 1 ? QStringLiteral("cm")
                                                  : QStringLiteral("mm");
    card_size_tab->card_size_box->setTitle(QStringLiteral("Label Size (%1)").arg(unit));
    for (QLabel* l : {card_size_tab->unit_width_label, card_size_tab->unit_height_label})
        l->setText(caption);
    // The arrange tab's position and size, all four in the unit.
    aligmnt_tab->setUnit(Measument_Unit_Is);
    for (Stepper* s : {card_size_tab->width_Stepper, card_size_tab->height_Stepper})
        s->setIncrement(Length_Field_Step(Measument_Unit_Is));
}
