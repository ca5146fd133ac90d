// The barcode properties dialog of designing mode: editing one barcode item
// with the settings panes of barcode mode, its series and spreadsheet
// bindings, and drawing barcode items for everyone else.
#include "barcode/generation/Barcode_Gen.h"

#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/BarcodeRoad.h"
#include "barcode/generation/panes/BarcodePreview.h"
#include "barcode/generation/panes/ColourPane.h"
#include "barcode/generation/panes/SizePanes.h"
#include "barcode/generation/panes/SymbologyPane.h"
#include "barcode/generation/panes/TextPane.h"
#include "barcode/generation/panes/ValuePane.h"
#include "core/model/BarcodeItemImage.h"
#include "core/model/LMNGraphic.h"
#include "core/util/BatchServices.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QTabWidget>
#include <QThread>
#include <QVBoxLayout>

QPointer<Barcode_Gen> Barcode_Gen::s_instance;

namespace {

const QString kSelect = QStringLiteral("<--Select-->");
const QString kManual = QStringLiteral("Manual");
const QString kSeries = QStringLiteral("Batch Processing Series");
const QString kExcel = QStringLiteral("Excel");

// The item settings each thread took last (the renderer's two-call road: load
// an item, then draw values with its settings). Per thread, never shared.
struct Loaded_Item {
    BarcodeSettings settings;
    bool loaded = false;
};
thread_local Loaded_Item t_render;

int Align_Index(const QString& name)
{
    if (name == QLatin1String("Left"))
        return 0;
    if (name == QLatin1String("Right"))
        return 2;
    return 1;
}

// The dialog's defaults: the barcode of a new item, sizes in millimetres.
BarcodeSettings Dialog_Defaults()
{
    BarcodeSettings s;
    s.value_font = s.header_font = s.footer_font = QFont(Text_Ctrl_Font_Family(), 10);
    Set_Barcode_Type(s, Symbology_Titles().value(0));
    s.dataText = s.dataText_2D = QStringLiteral("0123");
    s.HeaderText = QStringLiteral("HEADER");
    s.FooterText = QStringLiteral("FOOTER");
    s.unit = 2;
    s.dm_frame_border = false;
    return s;
}

} // namespace

void Store_Barcode_Settings_In_Item(const BarcodeSettings& s, const QStringList& typeNames, LMNGraphic& g)
{
    g.linear_or_2d = s.liner_or_2D_font != 0 ? 1 : 0;
    g.barcode_font_index = std::max(0, int(typeNames.indexOf(s.barcodeType)));
    g.linear_font_val = s.dataText;
    g.two_d_font_val = s.dataText_2D;
    g.header_val = s.HeaderText;
    g.footer_val = s.FooterText;
    g.show_hide_hdr = s.hide_header ? 1 : 0;
    g.show_hide_ftr = s.hide_footer ? 1 : 0;
    g.show_hide_val = s.hide_value ? 1 : 0;
    g.show_val_on_top = s.showinTop != 0 ? 1 : 0;
    g._isDrawingFill = s.fill_transparent;
    g._fillColor = s.fill_transparent ? QColor(Qt::transparent)
                   : s.liner_or_2D_font != 0 ? QColor(Qt::white)
                                             : s.bar_back_clr;
    g.align_hdr_index = Align_Index(s.align_hdr);
    g.align_ftr_index = Align_Index(s.align_ftr);
    g.linear_height_val = s.bar_height;
    g.linear_width_val = s.bar_width_mils;
    g.qr_size_val = s.qr_size;
    g.qr_version_index = s.QR_Version_Val;
    g.qr_ec_index = s.QR_EC_Level_Val;
    g.pdf_hgt_val = s.pdf_height;
    g.pdf_wdt_val = s.pdf_width;
    g.pdf_ec_val = s.pdf_ec_level;
    g.dm_module_val = s.dm_module;
    g.dm_format_index = s.dm_format;
    g.dm_encoding_index = s.dm_encoding;
    g.hdr_margin_val = s.hdr_mar;
    g.ftr_margin_val = s.ftr_mar;
    g.val_margin_val = s.val_mar;
    g.TB_marging_val = s.TB_mar;
    g.LR_margin_val = s.LR_mar;
    g.value_font_val = s.value_font;
    g.header_font_val = s.header_font;
    g.footer_font_val = s.footer_font;
    g.barcode_hdr_clr_val = s.bar_hdr_clr;
    g.barcode_ftr_clr_val = s.bar_ftr_clr;
    g.barcode_val_clr_val = s.bar_val_clr;
    g.barcode_back_clr_val = s.bar_back_clr;
    g.barcode_clr_val = s.barcode_clr;
    g.dpi_val_index = s.dpi_choice;
    // The custom DPI field means something only while "Custom" is chosen.
    if (s.dpi_choice == int(DPI_Choice_Items().size()) - 1)
        g.dpi_custom_val = QString::number(s.custom_dpi);
}

void Copy_Barcode_Item_Fields(const LMNGraphic& f, LMNGraphic& t)
{
    t.linear_or_2d = f.linear_or_2d;
    t.barcode_font_index = f.barcode_font_index;
    t.linear_font_val = f.linear_font_val;
    t.two_d_font_val = f.two_d_font_val;
    t.header_val = f.header_val;
    t.footer_val = f.footer_val;
    t.show_hide_hdr = f.show_hide_hdr;
    t.show_hide_ftr = f.show_hide_ftr;
    t.show_hide_val = f.show_hide_val;
    t.show_val_on_top = f.show_val_on_top;
    t._isDrawingFill = f._isDrawingFill;
    t._fillColor = f._fillColor;
    t.align_hdr_index = f.align_hdr_index;
    t.align_ftr_index = f.align_ftr_index;
    t.data_source_type = f.data_source_type;
    t.batch_list_name = f.batch_list_name;
    t.batch_list_index = f.batch_list_index;
    t.batch_hdr_list_name = f.batch_hdr_list_name;
    t.batch_hdr_list_index = f.batch_hdr_list_index;
    t.batch_ftr_list_name = f.batch_ftr_list_name;
    t.batch_ftr_list_index = f.batch_ftr_list_index;
    t.excel_binding = f.excel_binding;
    t.excel_col_indx = f.excel_col_indx;
    t.linear_height_val = f.linear_height_val;
    t.linear_width_val = f.linear_width_val;
    t.qr_size_val = f.qr_size_val;
    t.qr_version_index = f.qr_version_index;
    t.qr_ec_index = f.qr_ec_index;
    t.pdf_hgt_val = f.pdf_hgt_val;
    t.pdf_wdt_val = f.pdf_wdt_val;
    t.pdf_ec_val = f.pdf_ec_val;
    t.dm_module_val = f.dm_module_val;
    t.dm_format_index = f.dm_format_index;
    t.dm_encoding_index = f.dm_encoding_index;
    t.hdr_margin_val = f.hdr_margin_val;
    t.ftr_margin_val = f.ftr_margin_val;
    t.val_margin_val = f.val_margin_val;
    t.TB_marging_val = f.TB_marging_val;
    t.LR_margin_val = f.LR_margin_val;
    t.value_font_val = f.value_font_val;
    t.header_font_val = f.header_font_val;
    t.footer_font_val = f.footer_font_val;
    t.barcode_hdr_clr_val = f.barcode_hdr_clr_val;
    t.barcode_ftr_clr_val = f.barcode_ftr_clr_val;
    t.barcode_val_clr_val = f.barcode_val_clr_val;
    t.barcode_back_clr_val = f.barcode_back_clr_val;
    t.barcode_clr_val = f.barcode_clr_val;
    t.dpi_val_index = f.dpi_val_index;
    t.dpi_custom_val = f.dpi_custom_val;
}

// ================================================================ the dialog

Barcode_Gen::Barcode_Gen(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Barcode Properties"));
    Apply_Dialog_Background(this);
    auto* outer = new QVBoxLayout(this);
    auto* body = new QHBoxLayout;
    outer->addLayout(body, 1);

    // ---- Left: type, texts and their sources, the settings tabs ----
    auto* scroll = new QScrollArea(this);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* left = new QWidget;
    auto* col = new QVBoxLayout(left);
    col->setContentsMargins(0, 0, 4, 0);
    auto* typeBox = new QGroupBox(tr("Barcode type"), left);
    (new QVBoxLayout(typeBox))->addWidget(m_symbology = new SymbologyPane(false, typeBox));
    col->addWidget(typeBox);
    auto* textBox = new QGroupBox(tr("Barcode value"), left);
    auto* tv = new QVBoxLayout(textBox);
    tv->addWidget(m_value = new ValuePane(textBox));
    col->addWidget(textBox);

    auto* sourceBox = new QGroupBox(tr("Data source"), left);
    sourceBox->setObjectName("data_source_box");
    auto* sg = new QGridLayout(sourceBox);
    Data_source_type = new QComboBox(sourceBox);
    Data_source_type->setObjectName("Data_source_type");
    sg->addWidget(new QLabel(tr("Source:"), sourceBox), 0, 0);
    sg->addWidget(Data_source_type, 0, 1, 1, 2);
    auto row = [&](int r, const QString& label, const char* check, const char* combo, const char* view,
                   QCheckBox*& c, QComboBox*& b, QPushButton*& v) {
        c = new QCheckBox(label, sourceBox);
        c->setObjectName(check);
        b = new QComboBox(sourceBox);
        b->setObjectName(combo);
        b->setMinimumWidth(180);
        v = new QPushButton(tr("View"), sourceBox);
        v->setObjectName(view);
        sg->addWidget(c, r, 0);
        sg->addWidget(b, r, 1);
        sg->addWidget(v, r, 2);
    };
    row(1, tr("Value"), "use_value_series_chk", "Batch_Series", "view_series_btn", use_value_series_chk, Batch_Series,
        view_series_btn);
    row(2, tr("Header"), "use_hdr_series_chk", "hdr_combo_list", "view_hdr_series_btn", use_hdr_series_chk,
        hdr_combo_list, view_hdr_series_btn);
    row(3, tr("Footer"), "use_ftr_series_chk", "ftr_combo_list", "view_ftr_series_btn", use_ftr_series_chk,
        ftr_combo_list, view_ftr_series_btn);
    sg->setColumnStretch(1, 1);
    col->addWidget(sourceBox);
    m_seriesControls = {view_series_btn, Batch_Series, hdr_combo_list, ftr_combo_list, view_hdr_series_btn,
                        view_ftr_series_btn, use_value_series_chk, use_hdr_series_chk, use_ftr_series_chk};

    sett_tab = new QTabWidget(left);
    sett_tab->setObjectName("sett_tab");
    buildSettingsTabs(sett_tab, false);
    dpi_tab_item = m_dpi;
    col->addWidget(sett_tab);
    col->addStretch(1);
    scroll->setWidget(left);
    left->setFixedWidth(470);
    scroll->setFixedWidth(470 + 18);
    body->addWidget(scroll);

    // ---- Right: the preview ----
    auto* previewBox = new QGroupBox(tr("Preview"), this);
    (new QVBoxLayout(previewBox))->addWidget(m_preview = new BarcodePreview(previewBox));
    previewBox->setMinimumWidth(320);
    body->addWidget(previewBox, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cancel_btn = new QPushButton(tr("Cancel"));
    cancel_btn->setObjectName("cancel_btn");
    ok_btn = new QPushButton(tr("OK"));
    ok_btn->setObjectName("ok_btn");
    ok_btn->setDefault(true);
    buttons->addWidget(cancel_btn);
    buttons->addWidget(ok_btn);
    outer->addLayout(buttons);
    resize(900, 640);

    // ---- Wiring ----
    m_road.setPreviewListener([this] { showPreview(); });
    connectPanes(this, [this](PaneNeed need) { paneChanged(need); }, [this] { barcodeTypeChanged(); },
                 [this](PaneNeed need) { editingEnded(need); });
    connect(Data_source_type, QOverload<int>::of(&QComboBox::activated), this, [this] { Data_Source_Changed(); });
    connect(Batch_Series, QOverload<int>::of(&QComboBox::activated), this, [this] { Batch_Series_Changed(); });
    connect(hdr_combo_list, QOverload<int>::of(&QComboBox::activated), this, [this] { Hdr_Series_Changed(); });
    connect(ftr_combo_list, QOverload<int>::of(&QComboBox::activated), this, [this] { Ftr_Series_Changed(); });
    connect(use_value_series_chk, &QCheckBox::clicked, this, [this] { Use_Value_Series_Chk(); });
    connect(use_hdr_series_chk, &QCheckBox::clicked, this, [this] { Use_Hedaer_Series_Chk(); });
    connect(use_ftr_series_chk, &QCheckBox::clicked, this, [this] { Use_Footer_Series_Chk(); });
    connect(view_series_btn, &QPushButton::clicked, this, [this] { View_batch_Series_Button(); });
    connect(view_hdr_series_btn, &QPushButton::clicked, this, [this] { View_Hedaer_Series_Button(); });
    connect(view_ftr_series_btn, &QPushButton::clicked, this, [this] { View_Footer_Series_Button(); });
    connect(ok_btn, &QPushButton::clicked, this, [this] { OK_Btn_Clicked(); });
    connect(cancel_btn, &QPushButton::clicked, this, [this] { Cancel_Btn_Clicked(); });

    // Defaults, and the settings source of designing mode.
    m_loading = true;
    const BarcodeSettings s = Dialog_Defaults();
    m_road.setSettings(s);
    for (BarcodeSettingsPane* p : panes())
        p->load(s);
    m_linear->setUnit(2);
    m_margins->setUnit(2);
    setKind(Is_TwoD_Branch(s));
    Data_source_type->addItem(kManual);
    Show_Hide_Series_Control(true);
    m_loading = false;
    publishSettings();
    Set_Barcode_Settings_Source(1, [this] {
        std::lock_guard<std::mutex> lock(m_publishedMutex);
        return m_published;
    });
    App_Services().Barcode_Gen_Var = this;
}

Barcode_Gen::~Barcode_Gen()
{
    if (App_Services().Barcode_Gen_Var == this)
        App_Services().Barcode_Gen_Var = nullptr;
    Set_Barcode_Settings_Source(1, nullptr);
    m_road.setPreviewListener(nullptr);
}

Barcode_Gen* Barcode_Gen::defaultInstance()
{
    return Gui_Window_Instance(s_instance);
}

// ---------------------------------------------------------------- renderer

void Barcode_Gen::Set_Barcode_Prop_To_Control(LMNGraphic* item)
{
    if (!item)
        return;
    t_render.settings = Barcode_Settings_Of_Item(*item, Symbology_Titles());
    if (!Find_Symbology(t_render.settings.barcodeType))
        Set_Barcode_Type(t_render.settings, Symbology_Titles().value(0));
    t_render.settings.dm_frame_border = false;
    t_render.loaded = true;
}

PtImage Barcode_Gen::Get_Image_From_Val(const QString& value, const QString& header, const QString& footer)
{
    if (value.isEmpty())
        return {};
    BarcodeSettings s = t_render.loaded ? t_render.settings : Dialog_Defaults();
    Apply_DPI_Choice(s);
    return Make_Barcode(s, value, header, footer).image;
}

// ---------------------------------------------------------------- settings value

void Barcode_Gen::writeControls()
{
    BarcodeSettings& s = m_road.settings();
    writeTo(s);
    s.unit = 2;
    s.dm_frame_border = false;
}

BarcodeSettings Barcode_Gen::Dialog_Settings() const
{
    BarcodeSettings s = m_road.settings();
    writeTo(s);
    s.unit = 2;
    s.dm_frame_border = false;
    return s;
}

void Barcode_Gen::publishSettings()
{
    BarcodeSettings s = Dialog_Settings();
    Convert_Margins(s);
    Apply_DPI_Choice(s);
    std::lock_guard<std::mutex> lock(m_publishedMutex);
    m_published = s;
}

void Barcode_Gen::setKind(bool twoD)
{
    showKind(twoD);
    // The DPI choice concerns 2D symbols only.
    const int dpi = sett_tab->indexOf(dpi_tab_item);
    if (!twoD && dpi >= 0)
        sett_tab->removeTab(dpi);
    else if (twoD && dpi < 0)
        sett_tab->addTab(dpi_tab_item, tr("DPI"));
    if (!twoD)
        sett_tab->setCurrentIndex(0);
}

// ---------------------------------------------------------------- regeneration

void Barcode_Gen::paneChanged(PaneNeed need)
{
    if (m_loading)
        return;
    writeControls();
    switch (need) {
    case PaneNeed::EncodeTyping:
        m_road.settings().Type_draw_2d_flag = true;
        goButtonActionPerformed();
        break;
    case PaneNeed::Encode:
        goButtonActionPerformed();
        break;
    case PaneNeed::Redraw:
        if (Is_TwoD_Branch(m_road.settings()))
            m_road.Get_2d_barcode_from_image(true);
        else
            m_road.Redraw_Linear();
        break;
    case PaneNeed::Nothing:
        break;
    }
    publishSettings();
}

void Barcode_Gen::editingEnded(PaneNeed)
{
    if (m_loading || !m_road.previewIsDraft())
        return;
    goButtonActionPerformed();
}

bool Barcode_Gen::seriesChoiceValid(QComboBox* combo) const
{
    const QString n = Trim_Str(combo->currentText());
    return combo->currentIndex() >= 0 && !n.isEmpty() && n != kSelect;
}

QString Barcode_Gen::sourceText() const
{
    return Data_source_type->currentIndex() >= 0 ? Data_source_type->currentText() : QString();
}

bool Barcode_Gen::Check_And_Validat_Barcode(bool showMessage, bool checkImage)
{
    writeControls();
    if (!m_road.Check_And_Validat_Barcode(showMessage, checkImage))
        return false;
    // A value fed by a series needs the series.
    const QString source = sourceText();
    if (!source.isEmpty() && source != kManual && use_value_series_chk->isChecked()
        && !seriesChoiceValid(Batch_Series)) {
        m_road.Set_Blank_Image(QStringLiteral("No series is chosen for the value."));
        if (showMessage)
            Show_MessageBox(invalid_barcode_msg + QStringLiteral("\nNo series is chosen for the value."));
        return false;
    }
    return true;
}

void Barcode_Gen::goButtonActionPerformed()
{
    if (m_loading)
        return;
    writeControls();
    if (Check_And_Validat_Barcode(false, false))
        m_road.goButtonActionPerformed();
    publishSettings();
}

void Barcode_Gen::showPreview()
{
    if (QThread::currentThread() != thread())
        return;
    showRoadPreview(m_road);
}

void Barcode_Gen::barcodeTypeChanged()
{
    if (m_loading)
        return;
    writeControls();
    const Symbology* sym = Find_Symbology(m_symbology->Barcode_Type_Name());
    const bool twoD = sym && sym->isTwoD();
    if (twoD) {
        m_value->scrollToOrigin();
    } else {
        enableLinearControls();
    }
    setKind(twoD);
    writeControls();
    if (m_value->typedValue().isEmpty()) {
        Show_MessageBox(QStringLiteral("Please enter barcode value"));
        m_road.Set_Blank_Image(Invalid_Value_Reason(m_road.settings(), QString()));
        return;
    }
    if (!twoD && sym && sym->fixedCaption)
        m_text->setKerningAllowed(false);
    goButtonActionPerformed();
}

// ---------------------------------------------------------------- editing an item

void Barcode_Gen::Prepare_Source_Combo(int itemSource)
{
    Data_source_type->clear();
    Data_source_type->addItem(kManual);
    if (Design_Start_Option() == QLatin1String("V")) {
        Batch_Series->setVisible(false);
        view_series_btn->setVisible(false);
        return;
    }
    Data_source_type->addItem(kSeries);
    if (hooks.offersSpreadsheet && hooks.offersSpreadsheet(itemSource))
        Data_source_type->addItem(kExcel);
    Batch_Series->setVisible(true);
    view_series_btn->setVisible(true);
}

QStringList Barcode_Gen::seriesNames() const
{
    return hooks.seriesNames ? hooks.seriesNames() : MainWindowServices::Get_datasheet_File_Name_Array();
}

void Barcode_Gen::fillSeriesCombos()
{
    const QStringList names = seriesNames();
    for (QComboBox* c : {Batch_Series, hdr_combo_list, ftr_combo_list}) {
        c->clear();
        c->setEditText(QString());
        c->addItem(kSelect);
        c->addItems(names);
    }
}

void Barcode_Gen::selectStoredSeries(QComboBox* combo, const QString& name)
{
    if (name.isEmpty() || name == kSelect) {
        combo->setCurrentIndex(combo->count() > 0 ? 0 : -1);
        return;
    }
    for (int i = 0; i < combo->count(); ++i)
        if (combo->itemText(i).compare(name, Qt::CaseInsensitive) == 0) {
            combo->setCurrentIndex(i);
            return;
        }
}

void Barcode_Gen::Load_Item(const LMNGraphic& item)
{
    m_loading = true;
    m_road.Not_Draw_Only_Prop_Change = true;
    m_item = item.copyWithZone();
    m_output = PtImage();
    BarcodeSettings s = Barcode_Settings_Of_Item(item, Symbology_Titles());
    if (!Find_Symbology(s.barcodeType))
        Set_Barcode_Type(s, Symbology_Titles().value(0));
    s.dm_frame_border = false;
    s.Type_draw_2d_flag = false;
    m_road.setSettings(s);
    for (BarcodeSettingsPane* p : panes())
        p->load(s);
    m_linear->setUnit(2);
    m_margins->setUnit(2);
    const bool twoD = Is_TwoD_Branch(s);
    setKind(twoD);
    if (!twoD) {
        const Symbology* sym = Find_Symbology(s.barcodeType);
        m_text->setKerningAllowed(!(sym && sym->fixedCaption && !s.dataText.isEmpty()));
    }

    // The sources: the series lists, then the item's choices in them.
    const int type = item.data_source_type;
    fillSeriesCombos();
    if (type == 2) {
        Batch_Series->clear();
        Batch_Series->addItems(hooks.spreadsheetColumns ? hooks.spreadsheetColumns() : QStringList());
    }
    auto apply = [&](QCheckBox* check, QComboBox* combo, const QString& name, bool considered) {
        const bool on = considered && !name.isEmpty() && name != kSelect;
        check->setChecked(on);
        if (on)
            selectStoredSeries(combo, name);
        else
            combo->setCurrentIndex(combo->count() > 0 && type != 2 ? 0 : -1);
    };
    apply(use_value_series_chk, Batch_Series, item.batch_list_name, type == 1);
    apply(use_hdr_series_chk, hdr_combo_list, item.batch_hdr_list_name, true);
    apply(use_ftr_series_chk, ftr_combo_list, item.batch_ftr_list_name, true);
    if (type == 2 && item.excel_col_indx != -1 && item.excel_col_indx < Batch_Series->count())
        Batch_Series->setCurrentIndex(item.excel_col_indx);
    Data_source_type->setCurrentIndex(type >= 0 && type < Data_source_type->count() ? type : 0);
    const QString source = sourceText();
    if (source == kManual) {
        Enable_Disable_Series_Control(false);
        Show_Hide_Series_Control(true);
    } else {
        Show_Hide_Series_Control(false);
        Enable_Disable_Series_Control(true);
        useSeries(use_value_series_chk, Batch_Series, view_series_btn, 0);
        useSeries(use_hdr_series_chk, hdr_combo_list, view_hdr_series_btn, 1);
        useSeries(use_ftr_series_chk, ftr_combo_list, view_ftr_series_btn, 2);
        if (source == kExcel) {
            use_hdr_series_chk->setEnabled(false);
            use_ftr_series_chk->setEnabled(false);
        }
    }
    m_road.Not_Draw_Only_Prop_Change = false;
    m_loading = false;
    goButtonActionPerformed();
}

std::unique_ptr<LMNGraphic> Barcode_Gen::Open_Wnd(const LMNGraphic& item)
{
    Prepare_Source_Combo(item.data_source_type);
    Load_Item(item);
    const int code = Run_Modal_Dialog(*this);
    hide();
    return Take_Result(code);
}

std::unique_ptr<LMNGraphic> Barcode_Gen::Take_Result(int code)
{
    if (code != 1 || !m_item) {
        m_output = PtImage();
        return nullptr;
    }
    const BarcodeSettings s = Dialog_Settings();
    Store_Barcode_Settings_In_Item(s, Symbology_Titles(), *m_item);
    const QString source = sourceText();
    const int type = source == kSeries ? 1 : source == kExcel ? 2 : 0;
    // An unchanged source leaves the item's binding fields as they were.
    const bool bound = !m_item->batch_list_name.isEmpty() || !m_item->batch_hdr_list_name.isEmpty()
                       || !m_item->batch_ftr_list_name.isEmpty();
    if (type != m_item->data_source_type || (type == 0 && bound))
        m_item->Set_Data_source_type(type);
    if (type == 1) {
        // A text whose box is off takes no series.
        auto bound = [this](QCheckBox* check, QComboBox* combo, QString* name, int* index) {
            const bool on = check->isChecked() && combo->currentIndex() > 0 && seriesChoiceValid(combo);
            if (on) {
                *name = combo->currentText();
                *index = combo->currentIndex() - 1;
            } else if (!name->isEmpty()) {
                name->clear();
                *index = -1;
            }
        };
        bound(use_value_series_chk, Batch_Series, &m_item->batch_list_name, &m_item->batch_list_index);
        bound(use_hdr_series_chk, hdr_combo_list, &m_item->batch_hdr_list_name, &m_item->batch_hdr_list_index);
        bound(use_ftr_series_chk, ftr_combo_list, &m_item->batch_ftr_list_name, &m_item->batch_ftr_list_index);
    } else if (type == 2) {
        m_item->Set_Excel_binding(true);
        m_item->Set_Excel_binding_Index(Batch_Series->currentIndex());
    }
    return std::move(m_item);
}

bool Barcode_Gen::OK_Btn_Clicked()
{
    if (!Check_And_Validat_Barcode(true, false))
        return false;
    if (Data_source_type->currentIndex() < 0) {
        Show_MessageBox(QStringLiteral("Please select datasource."));
        return false;
    }
    if (sourceText() != kManual && !use_value_series_chk->isChecked() && !use_hdr_series_chk->isChecked()
        && !use_ftr_series_chk->isChecked()) {
        if (!Show_YES_NO_MessageBox(QStringLiteral(
                "There is no Batch Series select for barcode value, header and footer. This work as manual "
                "datasource for barcode.\n\nclick on 'YES' button to continue with manual data source option or "
                "click 'No' to select any batch series to proceed?")))
            return false;
        Data_source_type->setCurrentIndex(0);
    }
    if (sourceText() != kManual) {
        const struct {
            QCheckBox* check;
            QComboBox* combo;
            const char* what;
        } bindings[] = {{use_value_series_chk, Batch_Series, "value"},
                        {use_hdr_series_chk, hdr_combo_list, "header"},
                        {use_ftr_series_chk, ftr_combo_list, "footer"}};
        for (const auto& b : bindings)
            if (b.check->isChecked() && !seriesChoiceValid(b.combo)) {
                Show_MessageBox(QStringLiteral("Please select series for barcode %1.").arg(QLatin1String(b.what)));
                return false;
            }
    }
    m_output = m_road.previewImage();
    if (m_output.isNull()) {
        const QString reason = m_road.lastReason();
        Show_MessageBox(reason.isEmpty() ? invalid_barcode_msg : invalid_barcode_msg + QLatin1Char('\n') + reason);
        return false;
    }
    done(1);
    return true;
}

void Barcode_Gen::Cancel_Btn_Clicked()
{
    m_output = PtImage();
    done(0);
}

// ---------------------------------------------------------------- data sources

void Barcode_Gen::Enable_Disable_Series_Control(bool on)
{
    m_value->setFieldReadOnly(ValuePane::Field::Value, on);
    m_value->setFieldReadOnly(ValuePane::Field::Value2D, on);
    m_value->setFieldReadOnly(ValuePane::Field::Header, on);
    m_value->setFieldReadOnly(ValuePane::Field::Footer, on);
    for (QWidget* w : m_seriesControls)
        w->setEnabled(on);
}

void Barcode_Gen::Show_Hide_Series_Control(bool hide)
{
    for (QWidget* w : m_seriesControls)
        w->setVisible(!hide);
    if (!hide && Design_Start_Option() == QLatin1String("V")) {
        Batch_Series->setVisible(false);
        view_series_btn->setVisible(false);
    }
}

void Barcode_Gen::Data_Source_Changed()
{
    if (Design_Start_Option() == QLatin1String("V") || Data_source_type->currentIndex() < 0 || !m_item)
        return;
    const QString source = sourceText();
    if (source == kManual) {
        Enable_Disable_Series_Control(false);
        Show_Hide_Series_Control(true);
        m_item->Set_Data_source_type(0);
        goButtonActionPerformed();
        return;
    }
    if (source == kSeries) {
        Enable_Disable_Series_Control(true);
        Show_Hide_Series_Control(false);
        if (m_item->data_source_type == 0) {
            // A manual item starts with value and footer from series, the header typed.
            use_value_series_chk->setChecked(true);
            use_hdr_series_chk->setChecked(true);
            use_ftr_series_chk->setChecked(true);
            hdr_combo_list->setCurrentIndex(-1);
            use_hdr_series_chk->setChecked(false);
            use_hdr_series_chk->setEnabled(false);
            Use_Hedaer_Series_Chk();
        }
        fillSeriesCombos();
        if (seriesNames().isEmpty()) {
            if (use_value_series_chk->isChecked()) {
                m_value->setFieldText(ValuePane::Field::Value, QString());
                m_value->setFieldText(ValuePane::Field::Value2D, QString());
            }
            return;
        }
        selectStoredSeries(Batch_Series, m_item->batch_list_name);
        selectStoredSeries(hdr_combo_list, m_item->batch_hdr_list_name);
        selectStoredSeries(ftr_combo_list, m_item->batch_ftr_list_name);
        m_item->Set_Data_source_type(1);
        // Each text follows its box again (a value box now off leaves its field editable).
        useSeries(use_value_series_chk, Batch_Series, view_series_btn, 0);
        useSeries(use_ftr_series_chk, ftr_combo_list, view_ftr_series_btn, 2);
        goButtonActionPerformed();
        return;
    }
    // The spreadsheet column of the value.
    view_series_btn->setEnabled(true);
    Batch_Series->setEnabled(true);
    m_value->setFieldReadOnly(ValuePane::Field::Value, true);
    m_value->setFieldReadOnly(ValuePane::Field::Value2D, true);
    Batch_Series->clear();
    Batch_Series->addItems(hooks.spreadsheetColumns ? hooks.spreadsheetColumns() : QStringList());
    if (m_item->excel_col_indx >= 0 && m_item->excel_col_indx < Batch_Series->count())
        Batch_Series->setCurrentIndex(m_item->excel_col_indx);
    m_item->Set_Data_source_type(2);
    goButtonActionPerformed();
}

void Barcode_Gen::seriesChosen(QComboBox* combo, int field)
{
    if (!m_item)
        return;
    if (field == 0 && Design_Start_Option() == QLatin1String("V"))
        return;
    const QString source = sourceText();
    if (source.isEmpty() || source == kManual || combo->currentIndex() < 0)
        return;
    const QString n = Trim_Str(combo->currentText());
    const int i = combo->currentIndex();
    if (n.isEmpty() || n == kSelect)
        return;
    QString v;
    if (source == kSeries) {
        m_item->Set_Data_source_type(1);
        if (field == 0) {
            m_item->Set_Batch_List_Name(n);
            m_item->Set_Batch_List_Index(i - 1);
        } else if (field == 1) {
            m_item->Set_Hdr_Batch_List_Name(n);
            m_item->Set_Hdr_Batch_List_Index(i - 1);
        } else {
            m_item->Set_Ftr_Batch_List_Name(n);
            m_item->Set_Ftr_Batch_List_Index(i - 1);
        }
        v = hooks.firstValueOfSeries ? hooks.firstValueOfSeries(n) : QString();
    } else if (source == kExcel && field == 0) {
        m_item->Set_Data_source_type(2);
        m_item->Set_Excel_binding_Index(i);
        v = hooks.firstValueOfColumn ? hooks.firstValueOfColumn(i) : QString();
    } else {
        return;
    }
    QCheckBox* check = field == 0 ? use_value_series_chk : field == 1 ? use_hdr_series_chk : use_ftr_series_chk;
    if (check->isChecked()) {
        if (field == 0) {
            m_value->setFieldText(ValuePane::Field::Value, v);
            m_value->setFieldText(ValuePane::Field::Value2D, v);
        } else {
            m_value->setFieldText(field == 1 ? ValuePane::Field::Header : ValuePane::Field::Footer, v);
        }
    }
    goButtonActionPerformed();
    if (App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Refresh_Canvas();
}

void Barcode_Gen::Batch_Series_Changed() { seriesChosen(Batch_Series, 0); }
void Barcode_Gen::Hdr_Series_Changed() { seriesChosen(hdr_combo_list, 1); }
void Barcode_Gen::Ftr_Series_Changed() { seriesChosen(ftr_combo_list, 2); }

void Barcode_Gen::useSeries(QCheckBox* check, QComboBox* combo, QPushButton* view, int field)
{
    const bool on = check->isChecked();
    if (field == 0) {
        m_value->setFieldReadOnly(ValuePane::Field::Value, on);
        m_value->setFieldReadOnly(ValuePane::Field::Value2D, on);
    } else {
        m_value->setFieldReadOnly(field == 1 ? ValuePane::Field::Header : ValuePane::Field::Footer, on);
    }
    combo->setEnabled(on);
    view->setEnabled(on);
    // The bound text shows the series' first value again.
    if (on && combo->currentIndex() > 0 && !m_loading)
        seriesChosen(combo, field);
    m_preview->setFocus();
}

void Barcode_Gen::Use_Value_Series_Chk() { useSeries(use_value_series_chk, Batch_Series, view_series_btn, 0); }
void Barcode_Gen::Use_Hedaer_Series_Chk() { useSeries(use_hdr_series_chk, hdr_combo_list, view_hdr_series_btn, 1); }
void Barcode_Gen::Use_Footer_Series_Chk() { useSeries(use_ftr_series_chk, ftr_combo_list, view_ftr_series_btn, 2); }

void Barcode_Gen::viewSeries(QComboBox* combo)
{
    const QString source = sourceText();
    if (source.isEmpty() || source == kManual)
        return;
    if (source == kSeries) {
        const QString name = Trim_Str(combo->currentText());
        if (combo->currentIndex() < 0 || name.isEmpty() || name == kSelect) {
            Show_MessageBox(QStringLiteral("Please select the series."));
            return;
        }
        if (hooks.openSeries)
            hooks.openSeries(name);
        return;
    }
    if (hooks.openSpreadsheet)
        hooks.openSpreadsheet();
}

void Barcode_Gen::View_batch_Series_Button() { viewSeries(Batch_Series); }
void Barcode_Gen::View_Hedaer_Series_Button() { viewSeries(hdr_combo_list); }
void Barcode_Gen::View_Footer_Series_Button() { viewSeries(ftr_combo_list); }
