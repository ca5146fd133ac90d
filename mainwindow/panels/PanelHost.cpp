// The host of the property side: its tabs, the wiring of the panels, the
// switcher that shows and loads the panel of the selection, the button
// states, the alignment commands and the position and size fields.
#include "mainwindow/panels/PropertyPanels.h"

#include "core/canvas/LMNGraphicView.h"
#include "core/canvas/LMNGrid.h"
#include "core/model/Card_Property.h"
#include "core/model/LMNGraphic.h"
#include "core/util/FileChoosers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/BatchServices.h"
#include "core/util/Helpers.h"
#include "core/util/MessageBoxes.h"
#include "barcode/generation/panes/BarcodeSettingsPane.h"
#include "core/model/BarcodeItemImage.h"
#include "data/BatchBinding.h"
#include "data/series/View_Data_Series.h"
#include "imagetools/crop/Cropping_Tool.h"
#include "imagetools/filters/ImageProcesser.h"
#include "mainwindow/MainWindowSupport.h"
#include "mainwindow/Stepper.h"
#include "mainwindow/units/Units.h"
#include "platform/Fonts.h"
#include "platform/MessageSink.h"
#include "platform/Numbers.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPageSetupDialog>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScopeGuard>
#include <QTabWidget>
#include <QVBoxLayout>

#include <exception>
#include <functional>
#include <tuple>

namespace {

QString Default_Choose_File(QWidget* parent, const QString& title, const QStringList& extensions)
{
    QStringList patterns;
    for (const QString& e : extensions)
        patterns << QStringLiteral("*.") + e;
    return Choose_Open_File(parent, title, QObject::tr("Pictures (%1)").arg(patterns.join(QLatin1Char(' '))));
}

bool Default_Page_Layout(QWidget* parent, PrintInfo& info)
{
    QPrinter printer;
    printer.setPageLayout(info.pageLayout);
    QPageSetupDialog dialog(&printer, parent);
    if (Run_Modal_Dialog(dialog) != QDialog::Accepted)
        return false;
    info.pageLayout = printer.pageLayout();
    return true;
}

// Runs `act` on the canvas's selection and redraws; one undo step when it
// moved or resized something.
void Act_On_Selection(MainWindowServices& services, LMNGraphicView* canvas, const std::function<void()>& act)
{
    const QList<LMNGraphic*> selected = canvas->selectedGraphics();
    // What these actions change: the frame, and a picture's flips (natural size).
    const auto state = [](const LMNGraphic* g) {
        return std::make_tuple(g->bounds(), g->_isFlippedHorizontally, g->_isFlippedVertically);
    };
    QList<decltype(state(nullptr))> before;
    for (LMNGraphic* g : selected)
        before << state(g);
    act();
    services.Refresh_Canvas();
    bool changed = false;
    for (int i = 0; i < selected.size(); ++i)
        if (state(selected.at(i)) != before.at(i))
            changed = true;
    if (changed)
        services.Insert_In_Undo_Redo();
}

} // namespace

PropertyPanelHost::PropertyPanelHost(MainWindowServices& services, QWidget* parent)
    : QWidget(parent), m_services(services)
{
    setObjectName(QStringLiteral("PropertyPanelHost"));
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    properties_title = new QLabel(this);
    properties_title->setObjectName(QStringLiteral("properties_title"));
    QFont f = properties_title->font();
    f.setBold(true);
    properties_title->setFont(f);
    v->addWidget(properties_title);
    sett_tab = new QTabWidget(this);
    sett_tab->setObjectName(QStringLiteral("sett_tab"));
    sett_tab->setUsesScrollButtons(true);
    v->addWidget(sett_tab, 1);

    card_setting_tab = new CardSettingPanel;
    card_info_tab = new CardInfoPanel;
    card_size_tab = new CardSizePanel;
    card_bkgd_tab = new CardBackgroundPanel;
    card_brdr_tab = new CardBorderPanel;
    line_tab = new LinePanel;
    shape_tab = new ShapePanel;
    text_edtng_tab = new TextEditingPanel;
    text_prop_tab = new TextPropertiesPanel;
    image_tab = new PicturePanel;
    sign_tab = new SignaturePanel;
    datasource_tab = new DataSourcePanel;
    aligmnt_tab = new AlignmentPanel;
    barcode_tab = new BarcodeItemPanel;
    Lock_tab = new LockPanel;
    // The panels not shown belong to the host (and go with it).
    for (QWidget* w : tabItems()) {
        w->setParent(this);
        w->hide();
    }

    Choose_File = [this](const QString& title, const QStringList& extensions) {
        return Default_Choose_File(m_services.mainWidget(), title, extensions);
    };
    Page_Layout_Panel = [this](PrintInfo& info) { return Default_Page_Layout(m_services.mainWidget(), info); };
    // Barcode items drawn again from their own settings, through the road
    // the application installs for items.
    Draw_Barcode_Item = [](const LMNGraphic& item) { return Barcode_Item_Image(item); };
    // The picture tools and the series viewer.
    Crop_Picture = [](const QString& path) -> QString {
        Cropping_Tool* tool = Cropping_Tool::defaultInstance();
        return tool && tool->Open_Wnd_Direct_To_Crop(path) == 1 ? tool->Crop_Direct_Path : QString();
    };
    Crop_Series = [](const QString& series) -> QString {
        Cropping_Tool* tool = Cropping_Tool::defaultInstance();
        return tool && tool->Open_Wnd_Direct_Crop_Series(series) == 1 ? tool->Crop_Direct_Series : QString();
    };
    Open_Series_Value_Box = [](const QString& series) {
        if (View_Data_Series* viewer = View_Data_Series::defaultInstance()) {
            viewer->file_name = series;
            viewer->Open_Wnd();
        }
    };

    // Hatch pattern names (the pattern pictures the program has).
    const QStringList hatches = Hatch_Style_Names();
    shape_tab->shape_hatch_style->addItems(hatches);
    shape_tab->shape_hatch_style->setCurrentIndex(-1);
    card_bkgd_tab->Card_hatch_style->addItems(hatches);
    card_bkgd_tab->Card_hatch_style->setCurrentIndex(-1);

    wireItemPanels();
    wireCardPanels();
    connect(sett_tab, &QTabWidget::currentChanged, this, &PropertyPanelHost::tabView_didSelectTabViewItem);
    _setLabels();
}

PropertyPanelHost::~PropertyPanelHost()
{
    if (m_fontPanel)
        delete m_fontPanel.data();
}

QList<QWidget*> PropertyPanelHost::tabItems() const
{
    return {card_setting_tab, card_info_tab, card_size_tab, card_bkgd_tab, card_brdr_tab, line_tab, shape_tab,
            text_edtng_tab, text_prop_tab, image_tab, sign_tab, datasource_tab, aligmnt_tab, barcode_tab, Lock_tab};
}

QStringList PropertyPanelHost::shownTabTitles() const
{
    QStringList out;
    for (int i = 0; i < sett_tab->count(); ++i)
        out << sett_tab->widget(i)->objectName();
    return out;
}

void PropertyPanelHost::Select_Tab(QWidget* tab)
{
    ++m_tabsByProgram;
    sett_tab->setCurrentWidget(tab);
    --m_tabsByProgram;
}

void PropertyPanelHost::tabView_didSelectTabViewItem(int index)
{
    if (m_tabsByProgram > 0 || Not_Draw_Only_Prop_Change_Get())
        return;
    if (sett_tab->count() != 4 || sett_tab->widget(0) != card_info_tab)
        return;   // not the card panel
    Last_Card_Sel_Tab = sett_tab->widget(index);
    if (Last_Card_Sel_Tab == card_size_tab)
        card_size_tab->Product_num_ComboBox->setFocus(Qt::TabFocusReason);
}

void PropertyPanelHost::Remove_All_Tab_Items()
{
    while (sett_tab->count() > 0) {
        QWidget* w = sett_tab->widget(0);
        sett_tab->removeTab(0);
        w->setParent(this);
        w->hide();
    }
}

void PropertyPanelHost::insertTab(QWidget* tab, const QString& label, int at)
{
    if (at < 0 || at > sett_tab->count())
        sett_tab->addTab(tab, label);
    else
        sett_tab->insertTab(at, tab, label);
}

void PropertyPanelHost::Fill_Card_Prop_Tab()
{
    properties_title->setText(QStringLiteral("Label Properties"));
    Remove_All_Tab_Items();
    insertTab(card_info_tab, tr("Info"), 0);
    insertTab(card_size_tab, tr("Size"), 1);
    insertTab(card_bkgd_tab, tr("Background"), 2);
    insertTab(card_brdr_tab, tr("Border"), 3);
}

// ---------------------------------------------------------------- wiring

void PropertyPanelHost::wireItemPanels()
{
    // Each panel's change runs its update.
    connect(shape_tab, &PropertyPanel::changed, this, [this] { Update_Shape_Graphics(); });
    connect(line_tab, &PropertyPanel::changed, this, [this] { Update_Line_Graphics(); });
    connect(text_edtng_tab, &PropertyPanel::changed, this, [this] { Update_Text_Graphics(); });
    connect(text_prop_tab, &PropertyPanel::changed, this, [this] { Update_Text_Graphics(); });
    connect(image_tab, &PropertyPanel::changed, this, [this] { Update_Image_Graphics(); });
    connect(sign_tab, &PropertyPanel::changed, this, [this] { Update_Sign_Graphics(); });
    // The opacity stepper of the shape panel hides the handles for a moment.
    connect(shape_tab->shape_alpha, &Number_Pair::edited, this, [this] {
        if (LMNGraphicView* v = canvasView())
            v->hideHandlesMomentarily();
    });

    // A colour well's colour goes to every selected item (a fillable one is
    // filled with it), then the panel's own kind is written again.
    connect(shape_tab, &PropertyPanel::colorChosen, this,
            [this](const QColor& c) { Update_Shape_Graphics(colorWellChanged(c)); });
    connect(line_tab, &PropertyPanel::colorChosen, this,
            [this](const QColor& c) { Update_Line_Graphics(colorWellChanged(c)); });
    connect(text_edtng_tab, &PropertyPanel::colorChosen, this,
            [this](const QColor& c) { Update_Text_Graphics(colorWellChanged(c)); });
    connect(image_tab, &PropertyPanel::colorChosen, this,
            [this](const QColor& c) { Update_Image_Graphics(colorWellChanged(c)); });
    connect(sign_tab, &PropertyPanel::colorChosen, this,
            [this](const QColor& c) { Update_Sign_Graphics(colorWellChanged(c)); });
    // The text panel's letters, border and fill wells hand their colour on
    // (its shadow well does not: the panel answers it with changed()).
    connect(text_prop_tab, &PropertyPanel::colorChosen, this,
            [this](const QColor& c) { Update_Text_Graphics(colorWellChanged(c)); });

    connect(text_edtng_tab, &TextEditingPanel::fontPanelWanted, this, &PropertyPanelHost::Text_Font_Changed);
    connect(image_tab, &PicturePanel::resetWanted, this, &PropertyPanelHost::Image_reset_Button);
    connect(image_tab, &PicturePanel::cropWanted, this, &PropertyPanelHost::Cropping_Selected_Image_clicked);
    connect(sign_tab, &SignaturePanel::browseWanted, this, &PropertyPanelHost::Sign_Browse_Btn);
    connect(barcode_tab, &BarcodeItemPanel::propertiesWanted, this, [this] {
        emit barcodePropertiesWanted();
        m_services.Open_Barcode_Window();
    });

    connect(datasource_tab, &DataSourcePanel::sourceChosen, this,
            [this] { comboBoxSelectionDidChange(datasource_tab->Data_source_type); });
    connect(datasource_tab, &DataSourcePanel::seriesChosen, this,
            [this] { comboBoxSelectionDidChange(datasource_tab->Batch_Series); });
    connect(datasource_tab, &DataSourcePanel::viewSeriesWanted, this, [this] {
        Batch_Binding::View_batch_Series_Button(datasource_tab->Data_source_type->currentText(),
                                                datasource_tab->Batch_Series->currentText(), Open_Series_Value_Box,
                                                batchBinding ? &batchBinding->excelRows() : nullptr);
    });
    connect(datasource_tab, &DataSourcePanel::helpWanted, this, &PropertyPanelHost::Data_Source_Help_Button);
    connect(datasource_tab, &DataSourcePanel::browseWanted, this, &PropertyPanelHost::Manual_Image_Browse_Btn);
    connect(datasource_tab, &DataSourcePanel::libraryWanted, this, &PropertyPanelHost::Manual_Library_Browse_Btn);
    connect(datasource_tab, &DataSourcePanel::editorTextEdited, this,
            [this] { textDidChange(datasource_tab->Text_value_Edit); });
    connect(datasource_tab, &DataSourcePanel::insertDateWanted, this, &PropertyPanelHost::Text_Insert_Date);
    connect(datasource_tab, &DataSourcePanel::insertTimeWanted, this, &PropertyPanelHost::Text_Insert_Time);

    connect(aligmnt_tab, &AlignmentPanel::commandRequested, this, &PropertyPanelHost::Align_Action);
    connect(aligmnt_tab, &AlignmentPanel::fieldChanged, this, &PropertyPanelHost::Position_Field_Changed);
    connect(aligmnt_tab, &AlignmentPanel::printFlagChanged, this, &PropertyPanelHost::Print_object_chk_changed);
}

bool PropertyPanelHost::colorWellChanged(const QColor& color)
{
    return Fill_And_Set_Color_Event_Generator(color);
}

void PropertyPanelHost::Data_Source_Help_Button()
{
    Show_Barcode_Help(QStringLiteral("Batch Processing Settings Help :"),
                      QStringLiteral("Select Data Source as 'Manual' to enter value manually.\nSelect 'Series' to "
                                     "fetch the value from the list of existing Batch Processing Series."));
}

// ---------------------------------------------------------------- switcher

void PropertyPanelHost::Show_RHS_Properties(LMNGraphic* item)
{
    LMNGraphicView* canvas = canvasView();
    // The tabs change here by the program's choice, not the user's.
    ++m_tabsByProgram;
    const auto byProgramEnds = qScopeGuard([this] { --m_tabsByProgram; });
    try {
        if (Not_Draw_Only_Prop_Change_Get()) {
            // A load is under way: only the card tabs may be put in place.
            if (!item)
                Fill_Card_Prop_Tab();
            if (canvas)
                canvas->setFocus();
            return;
        }
        m_services.Set_Selected_Control_Tool(0);
        if (!item) {
            // The card panel on its first tab, with nothing selected: the
            // toolbar then offers nothing for an item. A rubber band's
            // selection stays (it leaves the canvas without a current item,
            // and the card panel is its panel); any other is cleared.
            Fill_Card_Prop_Tab();
            if (canvas) {
                const bool bandSelection = !canvas->_Selected_Graphic && !canvas->selectionIndexes().isEmpty();
                canvas->_Selected_Graphic = nullptr;
                if (!bandSelection)
                    canvas->Clear_Control_Selection();
            }
            sett_tab->setCurrentWidget(card_info_tab);
            Load_Card_and_Label_Properties(nullptr);
            if (canvas)
                canvas->setFocus();
            return;
        }
        Enable_Standard_Button_For_Control();
        if (item->ctrl_is_locked)
            Disable_Standard_Button_For_Lock();
        else
            Enable_Standard_Button_For_Unlock();
        // The same item again: nothing to load, unless its lock changed.
        const bool showsLock = sett_tab->count() > 0 && sett_tab->widget(0) == Lock_tab;
        if (item == Last_Selected_Graphic && sett_tab->count() > 0 && showsLock == item->ctrl_is_locked) {
            // A picture dragged across by a handle was flipped on the canvas:
            // its panel shows the flips it has now.
            if (item->kind() == LMNKind::Image && !item->ctrl_is_locked) {
                Loading_Guard loading;
                image_tab->load(*item);
            }
            if (canvas)
                canvas->setFocus();
            return;
        }
        Last_Selected_Graphic = item;
        const bool barcode = item->kind() == LMNKind::Barcode;
        aligmnt_tab->Make_natural_size_btn->setEnabled(!barcode);
        aligmnt_tab->fit_to_label_btn->setEnabled(!barcode);
        Remove_All_Tab_Items();
        aligmnt_tab->print_object_chk->setChecked(item->print_object != 0);
        aligmnt_tab->sel_control_name->setText(QStringLiteral("NONE"));
        {
            Loading_Guard loading;
            aligmnt_tab->ctrl_width_height_box->show();
            loadItem(*item);
        }
        if (!item->ctrl_is_locked)
            insertTab(aligmnt_tab, tr("Arrange"));
        sett_tab->setCurrentIndex(0);
        if (canvas)
            canvas->setFocus();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void PropertyPanelHost::loadItem(LMNGraphic& item)
{
    const bool locked = item.ctrl_is_locked;
    const bool dataTab = Design_Start_Option() != QLatin1String("V") && Design_Start_Option() != QLatin1String("G");
    auto lockTab = [&](const QString& title) {
        Lock_tab->load(item, title);
        insertTab(Lock_tab, title, 0);
    };
    // A kind with one panel of its own: its title, the lock or its tab, its size.
    auto showKindPanel = [&](const QString& title, auto* panel, const QString& tabName) {
        properties_title->setText(title);
        if (locked)
            lockTab(title);
        else
            insertTab(panel, tabName, 0);
        sett_tab->setCurrentIndex(0);
        Set_Control_Pos_And_Size(item);
        panel->load(item);
    };
    switch (item.kind()) {
    case LMNKind::Text:
        properties_title->setText(QStringLiteral("Text Properties"));
        if (locked)
            lockTab(QStringLiteral("Text Properties"));
        loadTextPanel(item, locked, dataTab);
        break;
    case LMNKind::Image:
        properties_title->setText(QStringLiteral("Image Properties"));
        if (locked)
            lockTab(QStringLiteral("Image Properties"));
        loadPicturePanel(item, locked, dataTab);
        break;
    case LMNKind::Line:
        showKindPanel(QStringLiteral("Line Properties"), line_tab, tr("Line"));
        break;
    case LMNKind::Signature:
        aligmnt_tab->sel_control_name->setText(item.Sign_Or_FP_Val());
        showKindPanel(QStringLiteral("Signature Properties"), sign_tab, tr("Signature"));
        break;
    case LMNKind::Barcode:
        showKindPanel(QStringLiteral("Barcode Properties"), barcode_tab, tr("Barcode"));
        break;
    default: {
        properties_title->setText(QStringLiteral("Shape Properties"));
        const QString title = ShapePanel::Shape_Title(item.Get_shape_type());
        if (locked)
            lockTab(title.isEmpty() ? QStringLiteral("Shape Properties") : title);
        else
            insertTab(shape_tab, tr("General"), 0);
        sett_tab->setCurrentIndex(0);
        Set_Control_Pos_And_Size(item);
        shape_tab->load(item, locked);
        break;
    }
    }
}

void PropertyPanelHost::loadTextPanel(const LMNGraphic& item, bool locked, bool dataTab)
{
    image_tab->image_error_label->hide();
    aligmnt_tab->sel_control_name->setText(QStringLiteral("T"));
    DataSourcePanel* ds = datasource_tab;
    if (!locked) {
        insertTab(text_edtng_tab, tr("Text"), 0);
        insertTab(text_prop_tab, tr("Style"), 1);
    }
    if (dataTab) {
        if (!locked)
            insertTab(ds, tr("Source"), 2);
        ds->data_source_title->setText(QStringLiteral("Text Source"));
        ds->manual_brws_box->hide();
        for (QWidget* w : {static_cast<QWidget*>(ds->Text_Date_Time_Box), static_cast<QWidget*>(ds->Text_value_Edit),
                           static_cast<QWidget*>(ds->text_value_lbl)})
            w->show();
    } else {
        ds->Text_value_Edit->setReadOnly(true);
        for (QWidget* w : {static_cast<QWidget*>(ds->Text_Date_Time_Box), static_cast<QWidget*>(ds->Text_value_Edit),
                           static_cast<QWidget*>(ds->text_value_lbl)})
            w->hide();
    }
    sett_tab->setCurrentIndex(0);
    Set_Control_Pos_And_Size(item);
    ds->setEditorText(item._Text_contents ? item._Text_contents->string : item.Text_Value);
    if (dataTab)
        loadSourceChooser(item, false);
    text_edtng_tab->load(item);
    text_prop_tab->load(item);
}

void PropertyPanelHost::loadPicturePanel(const LMNGraphic& item, bool locked, bool dataTab)
{
    aligmnt_tab->ctrl_width_height_box->hide();
    aligmnt_tab->sel_control_name->setText(QStringLiteral("I"));
    DataSourcePanel* ds = datasource_tab;
    if (!locked) {
        if (dataTab) {
            insertTab(ds, tr("Source"), 0);
            insertTab(image_tab, tr("Picture"), 1);
        } else {
            insertTab(image_tab, tr("Picture"), 0);
        }
    }
    if (dataTab) {
        ds->data_source_title->setText(QStringLiteral("Image Source"));
        ds->manual_brws_box->show();
        for (QWidget* w : {static_cast<QWidget*>(ds->Text_Date_Time_Box), static_cast<QWidget*>(ds->Text_value_Edit),
                           static_cast<QWidget*>(ds->text_value_lbl)})
            w->hide();
    }
    sett_tab->setCurrentIndex(0);
    Set_Control_Pos_And_Size(item);
    ds->Manual_image_path->setText(item._file_path);
    if (dataTab)
        loadSourceChooser(item, true);
    image_tab->load(item);
    image_tab->crop_btn->setEnabled(Crop_Picture != nullptr);
    // A picture whose file is gone shows the error label.
    image_tab->image_error_label->setVisible(item._contents_with_settings.isNull() || item._file_path.isEmpty()
                                             || !QFileInfo::exists(item._file_path));
}

// The item's source in the chooser, the chooser's handler run as a user's
// choice runs it (which fills the value list for that source), then the
// item's series or column chosen in the list.
void PropertyPanelHost::loadSourceChooser(const LMNGraphic& item, bool picture)
{
    QComboBox* type = datasource_tab->Data_source_type;
    QComboBox* list = datasource_tab->Batch_Series;
    const int source = item.data_source_type;
    if (batchBinding ? batchBinding->Offers_Spreadsheet_Source(source) : source == 2) {
        if (type->findText(QStringLiteral("Excel")) < 0)
            type->addItem(QStringLiteral("Excel"));
    } else {
        Batch_Binding::Remove_Excel_Col_Name_In_Combo(type);
    }
    type->setCurrentIndex(source >= 0 && source < type->count() ? source : 0);
    comboBoxSelectionDidChange(type);
    if (source == 1) {
        if (item.batch_list_name.isEmpty())
            list->setCurrentIndex(-1);
        else
            Select_Combo_Text(list, item.batch_list_name);
    } else if (source == 2) {
        if (!picture || item.excel_col_indx != -1)
            list->setCurrentIndex(item.excel_col_indx < list->count() ? item.excel_col_indx : -1);
    }
}

void PropertyPanelHost::Set_Control_Pos_And_Size(const LMNGraphic& item)
{
    AlignmentPanel* a = aligmnt_tab;
    const bool barcode = item.kind() == LMNKind::Barcode;
    a->frame_main_pic_width->setEnabled(!barcode);
    a->frame_main_pic_height->setEnabled(!barcode);
    a->frame_main_pic_width_val->setEnabled(!barcode);
    a->frame_main_pic_height_val->setEnabled(!barcode);
    // X and Y in points as they are; width and height in the designing unit.
    const int unit = Measument_Unit_Is;
    a->setUnit(unit);
    const float f = Get_Unit_Convertor(2, unit);
    const QRectF b = item.bounds();
    const float x = static_cast<float>(b.x());
    const float y = static_cast<float>(b.y());
    const float w = MainWindowServices::Points_to_MM_Convert(static_cast<float>(b.width())) * f;
    const float h = MainWindowServices::Points_to_MM_Convert(static_cast<float>(b.height())) * f;
    a->frame_main_pic_X_pos->setText(Points_Field_Text(x));
    a->frame_main_pic_X_pos_val->setValue(x);
    a->frame_main_pic_Y_pos->setText(Points_Field_Text(y));
    a->frame_main_pic_Y_pos_val->setValue(y);
    a->frame_main_pic_width->setText(Length_Field_Text(w, unit));
    a->frame_main_pic_width_val->setValue(w);
    a->frame_main_pic_height->setText(Length_Field_Text(h, unit));
    a->frame_main_pic_height_val->setValue(h);
}

// ---------------------------------------------------------------- buttons

void PropertyPanelHost::Enable_Standard_Button_For_Control()
{
    auto on = [](QAction* a, bool enabled) {
        if (a)
            a->setEnabled(enabled);
    };
    on(Cut_btn, true);
    on(Copy_btn, true);
    Set_Paste_Button_Status();
    for (QAction* a : {Delete_btn, Begin_Front_btn, Send_Back_btn, Lock_btn})
        on(a, true);
    on(Unlock_btn, false);
    for (QPushButton* b : {aligmnt_tab->align_left_btn, aligmnt_tab->align_right_btn, aligmnt_tab->align_top_btn,
                           aligmnt_tab->align_bottom_btn, aligmnt_tab->align_center_btn,
                           aligmnt_tab->align_horzontal_btn, aligmnt_tab->align_vertical_btn})
        b->setEnabled(true);
}

void PropertyPanelHost::Enable_Standard_Button_For_Unlock()
{
    Enable_Standard_Button_For_Control();
}

void PropertyPanelHost::Disable_Standard_Button_For_Lock()
{
    for (QAction* a : {Cut_btn, Paste_btn, Delete_btn, Begin_Front_btn, Send_Back_btn, Lock_btn})
        if (a)
            a->setEnabled(false);
    if (Unlock_btn)
        Unlock_btn->setEnabled(true);
    for (QPushButton* b : {aligmnt_tab->align_left_btn, aligmnt_tab->align_right_btn, aligmnt_tab->align_top_btn,
                           aligmnt_tab->align_bottom_btn, aligmnt_tab->align_center_btn,
                           aligmnt_tab->align_horzontal_btn, aligmnt_tab->align_vertical_btn})
        b->setEnabled(false);
}

void PropertyPanelHost::Disable_Standard_Button_For_Card()
{
    for (QAction* a : {Cut_btn, Copy_btn, Delete_btn, Begin_Front_btn, Send_Back_btn, Lock_btn, Unlock_btn})
        if (a)
            a->setEnabled(false);
    Set_Paste_Button_Status();
    for (QPushButton* b : {aligmnt_tab->align_left_btn, aligmnt_tab->align_right_btn, aligmnt_tab->align_top_btn,
                           aligmnt_tab->align_bottom_btn, aligmnt_tab->align_center_btn,
                           aligmnt_tab->align_horzontal_btn, aligmnt_tab->align_vertical_btn})
        b->setEnabled(false);
}

void PropertyPanelHost::Set_Paste_Button_Status()
{
    if (!Paste_btn)
        return;
    Paste_btn->setEnabled(LMNGraphicView::Clipboard_Offers_Paste());
}

void PropertyPanelHost::Print_object_chk_changed()
{
    LMNGraphicView* canvas = canvasView();
    if (!canvas)
        return;
    const int state = aligmnt_tab->print_object_chk->isChecked() ? 1 : 0;
    bool changed = false;
    for (LMNGraphic* g : canvas->selectedGraphics())
        if (!g->ctrl_is_locked && g->print_object != state)
            changed = true;
    canvas->print_contol_or_not(state);
    if (changed)
        m_services.Insert_In_Undo_Redo();
}

int PropertyPanelHost::printObjectState() const
{
    return aligmnt_tab->print_object_chk->isChecked() ? 1 : 0;
}

// ---------------------------------------------------------------- alignment

void PropertyPanelHost::Align_Action(const QString& action)
{
    LMNGraphicView* canvas = canvasView();
    if (!canvas)
        return;
    const QList<LMNGraphic*> selected = canvas->selectedGraphics();
    if ((action == QLatin1String("makeSameWidth") || action == QLatin1String("makeSameHeight"))
        && selected.size() < 2) {
        Show_MessageBox(QStringLiteral("Please select more than one control."));
        return;
    }
    if (action == QLatin1String("alignWithGrid") && !(canvas->grid() && canvas->grid()->isAlwaysShown())) {
        Show_MessageBox(QStringLiteral("Please use grid option first."));
        return;
    }
    Act_On_Selection(m_services, canvas, [&] { canvas->performAction(action); });
    if (Last_Selected_Graphic && selected.contains(Last_Selected_Graphic)) {
        Set_Control_Pos_And_Size(*Last_Selected_Graphic);
        // Natural size clears a picture's flips: its panel shows them off.
        if (Last_Selected_Graphic->kind() == LMNKind::Image && !Last_Selected_Graphic->ctrl_is_locked) {
            Loading_Guard loading;
            image_tab->load(*Last_Selected_Graphic);
        }
    }
}

void PropertyPanelHost::Position_Field_Changed(int which)
{
    LMNGraphicView* canvas = canvasView();
    if (!canvas || Not_Draw_Only_Prop_Change_Get())
        return;
    if (which < 0 || which > 3)
        return;
    AlignmentPanel* a = aligmnt_tab;
    Act_On_Selection(m_services, canvas, [&] {
        switch (which) {
        case 0:
            canvas->Frame_main_Pic_X_Pos_Changed(a->frame_main_pic_X_pos_val->value());
            break;
        case 1:
            canvas->Frame_main_Pic_Y_Pos_Changed(a->frame_main_pic_Y_pos_val->value());
            break;
        case 2:
            canvas->Frame_main_Pic_Wdith_Changed(a->frame_main_pic_width_val->value()
                                                 / Get_Unit_Convertor(2, Measument_Unit_Is));
            break;
        default:
            canvas->Frame_main_Pic_Height_Changed(a->frame_main_pic_height_val->value()
                                                  / Get_Unit_Convertor(2, Measument_Unit_Is));
            break;
        }
    });
}

// ---------------------------------------------------------------- fonts

QFontDialog* PropertyPanelHost::fontPanel()
{
    if (!m_fontPanel) {
        m_fontPanel = new QFontDialog(m_services.mainWidget());
        m_fontPanel->setObjectName(QStringLiteral("fontPanel"));
        m_fontPanel->setOption(QFontDialog::NoButtons, true);
        m_fontPanel->setModal(false);
        connect(m_fontPanel, &QFontDialog::currentFontChanged, this, [this](const QFont& font) {
            switch (m_fontTarget) {
            case 1: changeTextFont(font); break;
            case 2: changeAllTextFont(font); break;
            case 3: changewmTextFont(font); break;
            default: break;
            }
        });
    }
    return m_fontPanel;
}

void PropertyPanelHost::openFontPanel(int target, const QFont& font)
{
    QFontDialog* panel = fontPanel();
    m_fontTarget = 0;   // setting the font from code is not a choice
    panel->setCurrentFont(Font_For_Font_Panel(font));
    m_fontTarget = target;
    panel->show();
    panel->raise();
}
