// The barcode tab of the main window: the settings panes, the symbology
// choice and the preview of barcode mode.
#include "mainwindow/BarcodeModeView.h"

#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/panes/BarcodePreview.h"
#include "barcode/generation/panes/ColourPane.h"
#include "barcode/generation/panes/SizePanes.h"
#include "barcode/generation/panes/SymbologyPane.h"
#include "barcode/generation/panes/TextPane.h"
#include "barcode/generation/panes/ValuePane.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "mainwindow/BarcodeListSide.h"
#include "mainwindow/MainWindowSupport.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QThread>
#include <QVBoxLayout>

#include <exception>


namespace {
// Width of the settings side: the widest pane, without squashing.
constexpr int kSettingsWidth = 470;
} // namespace

BarcodeModeView::BarcodeModeView(QWidget* parent) : QWidget(parent)
{
    buildTab();
    m_road.setPreviewListener([this] { showPreview(); });
    m_road.setRowSource(m_list);
    connectPanes(this, [this](PaneNeed need) { paneChanged(need); }, [this] { barcodeTypeChanged(); },
                 [this](PaneNeed need) { editingEnded(need); });

    // The defaults of barcode mode in every control.
    BarcodeSettings s;
    s.value_font = s.header_font = s.footer_font = QFont(Text_Ctrl_Font_Family(), 10);
    Set_Barcode_Type(s, Symbology_Table().front().name());
    s.unit = Measument_Unit_Is_Barcode;
    m_road.setSettings(s);
    for (BarcodeSettingsPane* p : panes())
        p->load(s);
    setKind(false);

    // Barcode mode owns the settings of mode 0. Engines may ask from a worker
    // thread; they get the copy published after the last change.
    publishSettings();
    Set_Barcode_Settings_Source(0, [this] { return Barcode_Settings(); });
}

BarcodeModeView::~BarcodeModeView()
{
    Set_Barcode_Settings_Source(0, nullptr);
    m_road.setPreviewListener(nullptr);
    m_road.setRowSource(nullptr);
}


// ---------------------------------------------------------------- layout

void BarcodeModeView::buildTab()
{
    auto* outer = new QHBoxLayout(this);

    // ---- Left: the settings side, scrolling when the window is low ----
    settings_scroll = new QScrollArea(this);
    settings_scroll->setObjectName("settings_scroll");
    settings_scroll->setWidgetResizable(true);
    settings_scroll->setFrameShape(QFrame::NoFrame);
    settings_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    settings_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    auto* left = new QWidget;
    left->setObjectName("barcode_settings_side");
    auto* col = new QVBoxLayout(left);
    col->setContentsMargins(0, 0, 4, 0);

    auto* typeBox = new QGroupBox(tr("Barcode type"), left);
    auto* typeLay = new QVBoxLayout(typeBox);
    m_symbology = new SymbologyPane(true, typeBox);
    typeLay->addWidget(m_symbology);
    col->addWidget(typeBox);

    auto* textBox = new QGroupBox(tr("Barcode value"), left);
    auto* textLay = new QVBoxLayout(textBox);
    m_value = new ValuePane(textBox);
    textLay->addWidget(m_value);
    col->addWidget(textBox);

    sett_tab_barcode = new QTabWidget(left);
    sett_tab_barcode->setObjectName("sett_tab_barcode");
    buildSettingsTabs(sett_tab_barcode, true);
    dpi_tab_item = m_dpi;
    col->addWidget(sett_tab_barcode);

    // Sources of the texts and the barcode list (the list side).
    m_list = new BarcodeListSide(this, m_source);
    batch_chk_Gp_Bx = m_list->batch_chk_Gp_Bx;
    data_Sheet_Gp_Bx = m_list->data_Sheet_Gp_Bx;
    data_source_chkbox = m_list->data_source_chkbox;
    barcode_value_chk = m_list->barcode_value_chk;
    barcode_header_chk = m_list->barcode_header_chk;
    barcode_footer_chk = m_list->barcode_footer_chk;
    Custom_Sheet_RD = m_list->Custom_Sheet_RD;
    Data_Set_Sheet_RD = m_list->Data_Set_Sheet_RD;
    col->addWidget(m_list->batchBox());
    col->addStretch(1);
    settings_scroll->setWidget(left);
    // As wide as the panes want, plus room for the scroll bar.
    left->setFixedWidth(kSettingsWidth);
    settings_scroll->setFixedWidth(kSettingsWidth
                                   + settings_scroll->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 2);
    outer->addWidget(settings_scroll);

    // ---- Right: the preview above the barcode list ----
    auto* right = new QSplitter(Qt::Vertical, this);
    right->setObjectName("barcode_right_side");
    right->setChildrenCollapsible(false);
    auto* previewBox = new QGroupBox(tr("Preview"), right);
    auto* pv = new QVBoxLayout(previewBox);
    m_preview = new BarcodePreview(previewBox);
    pv->addWidget(m_preview);
    right->addWidget(previewBox);
    right->addWidget(m_list->listBox());
    right->setStretchFactor(0, 1);
    right->setStretchFactor(1, 1);
    outer->addWidget(right, 1);
}

// ---------------------------------------------------------------- start-up

void BarcodeModeView::awakeFromNib()
{
    liner_or_2D_font = 0;
    const bool wasLoading = Not_Draw_Only_Prop_Change_Get();
    Not_Draw_Only_Prop_Change_Set(true);

    def_barcode_hdr_str = QStringLiteral("HEADER");
    Measument_Unit_Is_Barcode = 1;
    last_unit_val_Barcode = 1;
    BarcodeSettings s = m_road.settings();
    const QString defValue = tr("123456789012");
    s.dataText = defValue;
    s.dataText_2D = defValue;
    s.HeaderText = def_barcode_hdr_str;
    s.FooterText = QStringLiteral("FOOTER");
    s.unit = Measument_Unit_Is_Barcode;
    m_road.setSettings(s);
    for (BarcodeSettingsPane* p : panes())
        p->load(s);
    _setLabels_Barcode();
    Liner_Barcode_Opt_Select();
    // Manual entry at start: the list and the series wait for the data source switch.
    m_list->data_source_chkbox->setChecked(false);
    m_list->Show_Hide_Datasheet_Control();
    Not_Draw_Only_Prop_Change_Set(wasLoading);
    publishSettings();
}

void BarcodeModeView::_setLabels_Barcode()
{
    m_linear->setUnit(Measument_Unit_Is_Barcode);
    m_margins->setUnit(Measument_Unit_Is_Barcode);
}

// ---------------------------------------------------------------- settings value

bool BarcodeModeView::Settings_Loading() const { return Not_Draw_Only_Prop_Change_Get(); }

QString BarcodeModeView::Barcode_Type_Name() const { return m_symbology->Barcode_Type_Name(); }

void BarcodeModeView::writeControls()
{
    BarcodeSettings& s = m_road.settings();
    writeTo(s);
    s.unit = Measument_Unit_Is_Barcode;
}

BarcodeSettings BarcodeModeView::Barcode_Settings() const
{
    if (QThread::currentThread() != thread()) {
        std::lock_guard<std::mutex> lock(m_publishedMutex);
        return m_published;
    }
    // The derived fields (2D texts, frame, text metrics) of the last
    // generation, the controls as they stand, the margins in points.
    BarcodeSettings s = m_road.lastSettings();
    writeTo(s);
    s.unit = Measument_Unit_Is_Barcode;
    s.Type_draw_2d_flag = m_road.settings().Type_draw_2d_flag;
    Convert_Margins(s);
    Apply_DPI_Choice(s);
    return s;
}

void BarcodeModeView::publishSettings()
{
    const BarcodeSettings s = Barcode_Settings();
    std::lock_guard<std::mutex> lock(m_publishedMutex);
    m_published = s;
}

void BarcodeModeView::Load_Barcode_Settings(const BarcodeSettings& settings)
{
    const bool wasLoading = Not_Draw_Only_Prop_Change_Get();
    Not_Draw_Only_Prop_Change_Set(true);
    BarcodeSettings s = settings;
    s.Type_draw_2d_flag = false;
    Measument_Unit_Is_Barcode = s.unit;
    last_unit_val_Barcode = s.unit;
    m_road.setSettings(s);
    for (BarcodeSettingsPane* p : panes())
        p->load(s);
    _setLabels_Barcode();
    if (Is_TwoD_Branch(s))
        two_d_barcode_Opt_Select();
    else
        Liner_Barcode_Opt_Select();
    const Symbology* sym = Find_Symbology(s.barcodeType);
    if (!Is_TwoD_Branch(s))
        m_text->setKerningAllowed(!(sym && sym->fixedCaption && !s.dataText.isEmpty()));
    Not_Draw_Only_Prop_Change_Set(wasLoading);
    writeControls();
    Regenerate();
    publishSettings();
}

// ---------------------------------------------------------------- changes

void BarcodeModeView::paneChanged(PaneNeed need)
{
    if (Settings_Loading())
        return;
    writeControls();
    switch (need) {
    case PaneNeed::EncodeTyping:
        m_road.settings().Type_draw_2d_flag = true;
        Regenerate();
        break;
    case PaneNeed::Encode:
        Regenerate();
        break;
    case PaneNeed::Redraw:
        Refresh_Look();
        break;
    case PaneNeed::Nothing:
        break;
    }
    publishSettings();
}

void BarcodeModeView::editingEnded(PaneNeed)
{
    // Every keystroke made its preview already; a 2D symbol typed last was a
    // draft at screen resolution and is made again at the chosen DPI.
    if (Settings_Loading() || !m_road.previewIsDraft())
        return;
    writeControls();
    Regenerate();
    publishSettings();
}

// ---------------------------------------------------------------- preview road

void BarcodeModeView::goButtonActionPerformed()
{
    try {
        Run_On_Main_Thread_And_Wait([this] {
            if (!Settings_Loading())
                Generate_Barcode_Thread_Function();
        });
    } catch (const std::exception& e) {
        Log_Message(QString::fromUtf8(e.what()));
    }
}

void BarcodeModeView::Generate_Barcode_Thread_Function()
{
    writeControls();
    m_road.goButtonActionPerformed();
    publishSettings();
}

bool BarcodeModeView::Check_And_Validat_Barcode(bool showMessage, bool checkImage)
{
    writeControls();
    return m_road.Check_And_Validat_Barcode(showMessage, checkImage);
}

int BarcodeModeView::Get_Print_State() { return m_text->Get_Print_State(); }

void BarcodeModeView::Set_Blank_Image() { m_road.Set_Blank_Image(); }

void BarcodeModeView::Refresh_Look()
{
    writeControls();
    if (liner_or_2D_font)
        m_road.Get_2d_barcode_from_image(true);
    else
        m_road.Redraw_Linear();
}

void BarcodeModeView::showPreview()
{
    if (QThread::currentThread() != thread()) {
        Run_On_Main_Thread_And_Wait([this] { showPreview(); });
        return;
    }
    showRoadPreview(m_road);
    emit previewChanged();
}

BarcodeSettings BarcodeModeView::Job_Settings()
{
    writeControls();
    BarcodeSettings s = m_road.settings();
    s.Type_draw_2d_flag = false;
    Apply_DPI_Choice(s);
    return s;
}

QString BarcodeModeView::Preview_Notice() const { return m_preview->notice(); }

// ---------------------------------------------------------------- symbology

void BarcodeModeView::barcodeTypeChanged()
{
    if (Settings_Loading())
        return;
    writeControls();
    const Symbology* sym = Find_Symbology(Barcode_Type_Name());
    const bool twoD = sym && sym->isTwoD();
    if (twoD) {
        m_value->scrollToOrigin();
        two_d_barcode_Opt_Select();
    } else {
        Liner_Barcode_Opt_Select();
        enableLinearControls();
    }
    writeControls();
    if (m_value->typedValue().isEmpty()) {
        m_road.Set_Blank_Image(Invalid_Value_Reason(m_road.settings(), QString()));
        publishSettings();
        return;
    }
    // UPC and EAN captions stand in digit groups: no letter spacing.
    if (!twoD && sym && sym->fixedCaption)
        m_text->setKerningAllowed(false);
    writeControls();
    Regenerate();
    publishSettings();
}

void BarcodeModeView::setKind(bool twoD)
{
    liner_or_2D_font = twoD ? 1 : 0;
    showKind(twoD);
}

void BarcodeModeView::Liner_Barcode_Opt_Select()
{
    const bool valueFromSeries = data_source_chkbox->isChecked() && barcode_value_chk->isChecked()
        && Data_Set_Sheet_RD->isChecked();
    m_value->setSeriesManaged(valueFromSeries);
    setKind(false);
    // The DPI choice concerns 2D symbols only.
    const int dpi = sett_tab_barcode->indexOf(dpi_tab_item);
    if (dpi >= 0)
        sett_tab_barcode->removeTab(dpi);
    sett_tab_barcode->setCurrentIndex(0);
}

void BarcodeModeView::two_d_barcode_Opt_Select()
{
    const bool valueFromSeries = data_source_chkbox->isChecked() && barcode_value_chk->isChecked()
        && Data_Set_Sheet_RD->isChecked();
    m_value->setSeriesManaged(valueFromSeries);
    setKind(true);
    if (sett_tab_barcode->indexOf(dpi_tab_item) < 0)
        sett_tab_barcode->addTab(dpi_tab_item, tr("DPI"));
}

// ---------------------------------------------------------------- help

void BarcodeModeView::Barcode_Data_Source_Help_Button()
{
    Show_Barcode_Help(QStringLiteral("Batch Processing Settings Help :"),
                      QStringLiteral("Select Data Source to enter barcode value.\nSelect Data Source as 'Manual' "
                                     "to enter barcode value manually, Select 'Batch Processing Series' to fetch "
                                     "the barcode value from the list of existing Batch Processing Series."));
}

void BarcodeModeView::Batch_Help_Button()
{
    Show_Barcode_Help(QStringLiteral("Batch Processing Settings Help :"),
                      QStringLiteral("Select these option to fetch the barcode value from the list of existing "
                                     "Batch Processing Series.\nor\nRemained unselect to enter barcode value "
                                     "manually. "));
}
