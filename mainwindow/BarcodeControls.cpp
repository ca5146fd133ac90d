// Barcode mode of the main window: the settings controls, the symbology
// choice with its option panes, and the preview.
#include "mainwindow/LMNWindowController.h"

#include "barcode/engines/linear/ZBBarcode.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/TwoDSymbols.h"
#include "core/util/BarcodeServices.h"
#include "core/util/MessageBoxes.h"
#include "mainwindow/MainWindowSupport.h"
#include "mainwindow/Stepper.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabWidget>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <exception>

namespace {
bool isTwoDName(const QString& t)
{
    return t == QLatin1String("QR Code") || t == QLatin1String("PDF417") || t == QLatin1String("DataMatrix");
}

// Integer value of a text the way a field reads it: leading number, else 0.
int intOf(const QString& text)
{
    bool ok = false;
    const double d = text.trimmed().toDouble(&ok);
    return ok ? static_cast<int>(d) : 0;
}

float floatOf(const QString& text)
{
    bool ok = false;
    const float f = text.trimmed().toFloat(&ok);
    return ok ? f : 0.0f;
}
} // namespace

// ---------------------------------------------------------------- wiring

void LMNWindowController::connectBarcodeControls()
{
    connect(barcodeTypePopup, QOverload<int>::of(&QComboBox::activated), this, [this] { barcodeTypeChanged(); });
    connect(Linear_Barcode_RD, &QRadioButton::clicked, this, [this] { Linear_Barcode_Select(); });
    connect(TwoD_Barcode_RD, &QRadioButton::clicked, this, [this] { TwoD_Barcode_Select(); });
    connect(encode_btn, &QPushButton::clicked, this, [this] { Encode_btn(); });

    for (QLineEdit* f : {dataText, HeaderText, FooterText})
        connect(f, &QLineEdit::textEdited, this, [this, f] { controlTextDidChange(f); });
    connect(dataText_2D, &QPlainTextEdit::textChanged, this, [this] { controlTextDidChange(dataText_2D); });

    connect(val_font_btn, &QPushButton::clicked, this, [this] { Value_Font_Changed(); });
    connect(hdr_font_btn, &QPushButton::clicked, this, [this] { Header_Font_Changed(); });
    connect(ftr_font_btn, &QPushButton::clicked, this, [this] { Footer_Font_Changed(); });

    for (ColorWell* w : {barcode_clr, bar_back_clr, bar_val_clr})
        connect(w, &ColorWell::colorChanged, this, [this] { Set_Font_Clr(); });
    for (ColorWell* w : {bar_hdr_clr, bar_ftr_clr})
        connect(w, &ColorWell::colorChanged, this, [this] { Header_Color_Changed(); });
    connect(brcd_bk_clr_rd, &QRadioButton::clicked, this, [this] { Barcode_Back_Color_rd_clicked(); });
    connect(brcd_bk_clr_trnsp_rd, &QRadioButton::clicked, this, [this] { Barcode_Back_Color_Transp_rd_clicked(); });
    connect(transparent_bkgnd, &QCheckBox::clicked, this, [this] { Transparent_Bkngd_Clicked(); });

    connect(captionCheckbox, &QCheckBox::clicked, this, [this] { captionChanged(); });
    connect(showinTopCheckbox, &QCheckBox::clicked, this, [this] { showinTopChanged(); });
    connect(hideHeaderCheckbox, &QCheckBox::clicked, this, [this] { hideHeaderChanged(); });
    connect(hideFooterCheckbox, &QCheckBox::clicked, this, [this] { hideFooterChanged(); });
    connect(kerning_value_Checkbox, &QCheckBox::clicked, this, [this] { kerningChanged(); });

    // A pair answers to its text field (when editing ends) and to its stepper.
    auto pair = [this](QLineEdit* text, Stepper* stepper, void (LMNWindowController::*handler)(QObject*)) {
        connect(text, &QLineEdit::editingFinished, this, [this, text, handler] {
            if (text->isModified()) {
                text->setModified(false);
                (this->*handler)(text);
            }
        });
        connect(stepper, &Stepper::stepped, this, [this, stepper, handler] { (this->*handler)(stepper); });
    };
    pair(val_mar_Text, val_mar_Stepper, &LMNWindowController::Value_Margin_Changed);
    pair(hdr_mar_Text, hdr_mar_Stepper, &LMNWindowController::Header_Margin_Changed);
    pair(ftr_mar_Text, ftr_mar_Stepper, &LMNWindowController::Footer_Margin_Changed);
    pair(TB_mar_Text, TB_mar_Stepper, &LMNWindowController::TB_Margin_Changed);
    pair(LR_mar_Text, LR_mar_Stepper, &LMNWindowController::LR_Margin_Changed);
    pair(HeightText, HeightStepper, &LMNWindowController::heightChanged);
    pair(HeightText_2D, HeightStepper_2D, &LMNWindowController::heightChanged);
    pair(widthText, widthStepper, &LMNWindowController::widthChanged);
    pair(Pdf_widthText_2D, Pdf_widthStepper_2D, &LMNWindowController::widthChanged);
    pair(pdf_HeightText_2D, pdf_HeightStepper_2D, &LMNWindowController::pdf_heightChanged);
    pair(pdf_row_Text, pdf_row_Stepper, &LMNWindowController::PDF_Row_Changed);
    pair(pdf_col_Text, pdf_col_Stepper, &LMNWindowController::PDF_Col_Changed);
    pair(pdf_ec_lvl_Text, pdf_ec_lvl_Stepper, &LMNWindowController::PDF_EC_Lvl_Changed);
    pair(dm_widthText_2D, dm_widthStepper_2D, &LMNWindowController::dm_widthChanged);
    pair(dm_HeightText_2D, dm_HeightStepper_2D, &LMNWindowController::dm_heightChanged);
    pair(dm_moduleText_2D, dm_moduleStepper_2D, &LMNWindowController::dm_modulesizeChanged);
    pair(dpi_Text, dpi_Stepper, &LMNWindowController::DPI_Value_Changed);

    for (QComboBox* c : {DPI_ComboBox, qr_enc_mode_ComboBox, qr_version_ComboBox, qr_ec_lvl_ComboBox,
                         dm_format_ComboBox, dm_encoding_ComboBox, align_hdr_combo, align_ftr_combo,
                         bar_align_combo, bar_orient_combo})
        connect(c, QOverload<int>::of(&QComboBox::activated), this, [this, c] { comboBoxSelectionDidChange(c); });
}

// ---------------------------------------------------------------- settings value

bool LMNWindowController::Settings_Loading() const { return Not_Draw_Only_Prop_Change_Get(); }

QString LMNWindowController::Barcode_Type_Name() const { return barcodeTypePopup->currentText(); }

void LMNWindowController::Write_Controls_To_Settings()
{
    if (Settings_Loading())
        return;
    BarcodeSettings& s = m_settings;
    s.setBarcodeType(Barcode_Type_Name());
    s.liner_or_2D_font = liner_or_2D_font;
    s.dataText = dataText->text();
    s.dataText_2D = dataText_2D->toPlainText();
    s.HeaderText = HeaderText->text();
    s.FooterText = FooterText->text();
    s.hide_value = captionCheckbox->isChecked();
    s.hide_header = hideHeaderCheckbox->isChecked();
    s.hide_footer = hideFooterCheckbox->isChecked();
    s.caption_check_enabled = captionCheckbox->isEnabled();
    s.bar_width_enabled = widthText->isEnabled();
    s.bar_height_enabled = HeightText->isEnabled();

    s.unit = Measument_Unit_Is_Barcode;
    s.bar_height = floatOf(HeightText->text());
    s.bar_width_mils = floatOf(widthText->text());
    s.val_mar = floatOf(val_mar_Text->text());
    s.hdr_mar = floatOf(hdr_mar_Text->text());
    s.ftr_mar = floatOf(ftr_mar_Text->text());
    s.TB_mar = floatOf(TB_mar_Text->text());
    s.LR_mar = floatOf(LR_mar_Text->text());

    s.value_font = value_font;
    s.header_font = header_font;
    s.footer_font = footer_font;
    s.barcode_clr = barcode_clr->color();
    s.bar_back_clr = bar_back_clr->color();
    s.bar_val_clr = bar_val_clr->color();
    s.bar_hdr_clr = bar_hdr_clr->color();
    s.bar_ftr_clr = bar_ftr_clr->color();
    s.align_hdr = align_hdr_combo->currentText();
    s.align_ftr = align_ftr_combo->currentText();
    s.showinTop = showinTopCheckbox->isChecked() ? 1 : 0;
    // A disabled kerning box (UPC and EAN) means no kerning, whatever its tick.
    s.kerning_value = (kerning_value_Checkbox->isChecked() && kerning_value_Checkbox->isEnabled()) ? 1 : 0;
    s.fill_transparent = liner_or_2D_font ? transparent_bkgnd->isChecked() : brcd_bk_clr_trnsp_rd->isChecked();

    s.qr_size = intOf(HeightText_2D->text());
    s.qr_version = qr_version_ComboBox->currentIndex();
    s.qr_ec_level = std::max(0, qr_ec_lvl_ComboBox->currentIndex());
    s.pdf_width = intOf(Pdf_widthText_2D->text());
    s.pdf_height = intOf(pdf_HeightText_2D->text());
    s.pdf_rows = intOf(pdf_row_Text->text());
    s.pdf_cols = intOf(pdf_col_Text->text());
    s.pdf_ec_level = pdf_ec_lvl_Stepper->intValue();
    s.dm_module = intOf(dm_moduleText_2D->text());
    s.dm_format = std::max(0, dm_format_ComboBox->currentIndex());
    s.dm_encoding = std::max(0, dm_encoding_ComboBox->currentIndex());
    s.dm_frame_border = true;
    s.dpi_choice = std::max(0, DPI_ComboBox->currentIndex());
    s.custom_dpi = dpi_Stepper->intValue();
    s.dpi = USED_DPI_VALUE;
    s.typing_2d = Type_draw_2d_flag != 0;
    publishSettings();
}

BarcodeSettings LMNWindowController::Barcode_Settings() const
{
    if (QThread::currentThread() == thread())
        return m_settings;
    std::lock_guard<std::mutex> lock(m_publishedMutex);
    return m_published;
}

void LMNWindowController::publishSettings()
{
    std::lock_guard<std::mutex> lock(m_publishedMutex);
    m_published = m_settings;
}

// ---------------------------------------------------------------- preview road

void LMNWindowController::goButtonActionPerformed()
{
    if (Settings_Loading())
        return;
    try {
        Run_On_Main_Thread_And_Wait([this] { Generate_Barcode_Thread_Function(); });
    } catch (const std::exception& e) {
        Log_Message(QString::fromUtf8(e.what()));
    }
}

void LMNWindowController::Generate_Barcode_Thread_Function()
{
    if (!Check_And_Validat_Barcode(false, false))
        return;
    Write_Controls_To_Settings();
    const QString value = liner_or_2D_font ? dataText_2D->toPlainText() : dataText->text();
    const PtImage image = m_road.encode(m_settings, value, HeaderText->text(), FooterText->text());
    if (liner_or_2D_font)
        Type_draw_2d_flag = 0;
    if (image.isNull())
        Set_Blank_Image();
    else
        Set_Barcode_On_Panel(image);
}

bool LMNWindowController::Check_And_Validat_Barcode(bool showMessage, bool checkImage)
{
    barcode_error_label->setVisible(false);
    const QString value = liner_or_2D_font ? dataText_2D->toPlainText() : dataText->text();
    auto fail = [&] {
        Set_Blank_Image();
        if (showMessage)
            Main_Show_Message(QStringLiteral("Invalid barcode value or value is too long."));
        return false;
    };
    if (value.isEmpty())
        return fail();
    if (liner_or_2D_font == 0) {
        for (QChar c : value)
            if (c.unicode() > 127)
                return fail();
    }
    if (!checkImage)
        return true;
    if (m_road.hasLinear() && liner_or_2D_font == 0 && !m_road.linearContentValid())
        return fail();
    if (m_previewImage.isNull())
        return fail();
    return true;
}

int LMNWindowController::Get_Print_State()
{
    if (!captionCheckbox->isEnabled())
        return 0;
    if (captionCheckbox->isChecked()) {
        showinTopCheckbox->setEnabled(false);
        return 0;
    }
    showinTopCheckbox->setEnabled(true);
    return 1;
}

void LMNWindowController::Set_Barcode_On_Panel(const PtImage& image)
{
    m_previewImage = image;
    showPreviewPixmap();
    barcode_error_label->setVisible(false);
    ++m_drawCount;
    publishSettings();   // the road filled in margins and frame in points
    emit previewChanged();
}

// Shows the preview image at the size it prints (a point is 1/72 inch on
// screen too), drawn for the screen's pixels rather than resampled, in a view
// at least as large as the visible area.
void LMNWindowController::showPreviewPixmap()
{
    const QSize viewport = image_scroll->viewport()->size();
    if (m_previewImage.isNull()) {
        barcodeImage->clear();
        barcodeImage->resize(viewport);
        return;
    }
    const qreal dpr = std::max<qreal>(1.0, devicePixelRatioF());
    double scale = std::max(1.0, logicalDpiX() / 72.0) * dpr;
    // A very large symbol is shown smaller rather than filling the memory.
    constexpr double kMaxPreviewPixels = 40e6;
    const double points = std::max(1.0, m_previewImage.size().width() * m_previewImage.size().height());
    scale = std::min(scale, std::sqrt(kMaxPreviewPixels / points));
    QPixmap pm = QPixmap::fromImage(m_previewImage.toImage(72.0 * scale));
    pm.setDevicePixelRatio(dpr);
    const QSizeF logical = m_previewImage.size() * (scale / dpr);
    barcodeImage->setPixmap(pm);
    barcodeImage->resize(std::max(qCeil(logical.width()), viewport.width()),
                         std::max(qCeil(logical.height()), viewport.height()));
}

void LMNWindowController::Set_Blank_Image()
{
    m_road.forget2D();
    m_previewImage = PtImage();
    showPreviewPixmap();
    barcode_error_label->setVisible(true);
    emit previewChanged();
}

bool LMNWindowController::Preview_Is_Blank() const { return m_previewImage.isNull(); }

void LMNWindowController::Redraw_Linear()
{
    if (liner_or_2D_font != 0 || !m_road.hasLinear())
        return;
    // The kept symbol belongs to the last value that encoded: once the field
    // is emptied (or holds what no linear symbology takes) it must not come back.
    if (!Check_And_Validat_Barcode(false, false))
        return;
    Write_Controls_To_Settings();
    const PtImage image = m_road.redrawLinear(m_settings);
    if (image.isNull())
        Set_Blank_Image();
    else
        Set_Barcode_On_Panel(image);
}

void LMNWindowController::Get_2d_barcode_from_image(bool draw)
{
    if (liner_or_2D_font == 0)
        return;
    Write_Controls_To_Settings();
    const PtImage image = m_road.reframe2D(m_settings);
    if (image.isNull()) {
        Set_Blank_Image();
        return;
    }
    if (draw)
        Set_Barcode_On_Panel(image);
}

void LMNWindowController::Refresh_Look()
{
    if (liner_or_2D_font)
        Get_2d_barcode_from_image(true);
    else
        Redraw_Linear();
}

void LMNWindowController::Remeasure_And_Redraw() { Refresh_Look(); }

// ---------------------------------------------------------------- fonts

void LMNWindowController::Value_Font_Changed()
{
    val_font_btn->setFocus();
    if (!fontPanel) {
        fontPanel = new QFontDialog(this);
        fontPanel->setOption(QFontDialog::NoButtons, true);
        fontPanel->setWindowTitle(tr("Fonts"));
        connect(fontPanel, &QFontDialog::currentFontChanged, this, [this](const QFont& f) {
            switch (m_fontTarget) {
            case 1: header_changeFont(f); break;
            case 2: footer_changeFont(f); break;
            default: changeFont(f); break;
            }
        });
    }
    m_fontTarget = 0;
    QSignalBlocker block(fontPanel);
    fontPanel->setCurrentFont(value_font);
    fontPanel->show();
    fontPanel->raise();
}

void LMNWindowController::Header_Font_Changed()
{
    Value_Font_Changed();
    hdr_font_btn->setFocus();
    m_fontTarget = 1;
    QSignalBlocker block(fontPanel);
    fontPanel->setCurrentFont(header_font);
}

void LMNWindowController::Footer_Font_Changed()
{
    Value_Font_Changed();
    ftr_font_btn->setFocus();
    m_fontTarget = 2;
    QSignalBlocker block(fontPanel);
    fontPanel->setCurrentFont(footer_font);
}

void LMNWindowController::changeFont(const QFont& font)
{
    value_font = font;
    setFontLabel(value_font_value, value_font);
    Refresh_Look();
}

void LMNWindowController::header_changeFont(const QFont& font)
{
    header_font = font;
    setFontLabel(header_font_value, header_font);
    Refresh_Look();
}

void LMNWindowController::footer_changeFont(const QFont& font)
{
    footer_font = font;
    setFontLabel(footer_font_value, footer_font);
    Refresh_Look();
}

// ---------------------------------------------------------------- colours

void LMNWindowController::Set_Font_Clr() { Refresh_Look(); }

void LMNWindowController::Header_Color_Changed() { Set_Font_Clr(); }

void LMNWindowController::Barcode_Back_Color_rd_clicked()
{
    brcd_bk_clr_rd->setChecked(true);
    bar_back_clr->setEnabled(true);
    bar_back_clr->setColor(Qt::white);
    Set_Font_Clr();
}

void LMNWindowController::Barcode_Back_Color_Transp_rd_clicked()
{
    brcd_bk_clr_trnsp_rd->setChecked(true);
    bar_back_clr->setEnabled(false);
    bar_back_clr->setColor(Qt::transparent);
    Set_Font_Clr();
}

void LMNWindowController::Transparent_Bkngd_Clicked()
{
    const bool on = transparent_bkgnd->isChecked();
    bar_bk_clr_label->setEnabled(!on);
    bar_back_clr->setEnabled(!on);
    m_settings.fill_transparent = on;
    publishSettings();
    Refresh_Look();
}

// ---------------------------------------------------------------- pairs

QString LMNWindowController::pairText(const Stepper* stepper, bool whole)
{
    return whole ? QString::number(stepper->intValue()) : QString::number(stepper->value(), 'g', 6);
}

void LMNWindowController::syncPair(QObject* sender, QLineEdit* text, Stepper* stepper, bool whole)
{
    if (sender == stepper) {
        text->setText(pairText(stepper, whole));
        return;
    }
    const double typed = whole ? intOf(text->text()) : floatOf(text->text());
    stepper->setValue(typed);
    // The settings are read from the fields: a number outside the stepper's
    // range (or no number at all) is shown as the value the stepper kept.
    if (stepper->value() != typed || text->text().trimmed().isEmpty())
        text->setText(pairText(stepper, whole));
}

void LMNWindowController::Value_Margin_Changed(QObject* sender)
{
    syncPair(sender, val_mar_Text, val_mar_Stepper, false);
    if (liner_or_2D_font == 0)
        Remeasure_And_Redraw();
}

void LMNWindowController::Header_Margin_Changed(QObject* sender)
{
    syncPair(sender, hdr_mar_Text, hdr_mar_Stepper, false);
    Remeasure_And_Redraw();
}

void LMNWindowController::Footer_Margin_Changed(QObject* sender)
{
    syncPair(sender, ftr_mar_Text, ftr_mar_Stepper, false);
    Remeasure_And_Redraw();
}

void LMNWindowController::TB_Margin_Changed(QObject* sender)
{
    syncPair(sender, TB_mar_Text, TB_mar_Stepper, false);
    Remeasure_And_Redraw();
}

void LMNWindowController::LR_Margin_Changed(QObject* sender)
{
    syncPair(sender, LR_mar_Text, LR_mar_Stepper, false);
    Remeasure_And_Redraw();
}

void LMNWindowController::heightChanged(QObject* sender)
{
    if (sender == HeightText_2D || sender == HeightStepper_2D)
        syncPair(sender, HeightText_2D, HeightStepper_2D, true);
    else
        syncPair(sender, HeightText, HeightStepper, false);
    if (liner_or_2D_font)
        Regenerate();
    else
        Remeasure_And_Redraw();
}

void LMNWindowController::widthChanged(QObject* sender)
{
    if (sender == Pdf_widthText_2D || sender == Pdf_widthStepper_2D)
        syncPair(sender, Pdf_widthText_2D, Pdf_widthStepper_2D, true);
    else
        syncPair(sender, widthText, widthStepper, false);
    if (liner_or_2D_font)
        Regenerate();
    else
        Remeasure_And_Redraw();
}

void LMNWindowController::pdf_heightChanged(QObject* sender)
{
    syncPair(sender, pdf_HeightText_2D, pdf_HeightStepper_2D, true);
    Regenerate();
}

void LMNWindowController::PDF_Row_Changed(QObject* sender)
{
    syncPair(sender, pdf_row_Text, pdf_row_Stepper, true);
    Regenerate();
}

void LMNWindowController::PDF_Col_Changed(QObject* sender)
{
    syncPair(sender, pdf_col_Text, pdf_col_Stepper, true);
    Regenerate();
}

void LMNWindowController::PDF_EC_Lvl_Changed(QObject* sender)
{
    syncPair(sender, pdf_ec_lvl_Text, pdf_ec_lvl_Stepper, true);
    Regenerate();
}

void LMNWindowController::dm_widthChanged(QObject* sender)
{
    syncPair(sender, dm_widthText_2D, dm_widthStepper_2D, true);
    Regenerate();
}

void LMNWindowController::dm_heightChanged(QObject* sender)
{
    syncPair(sender, dm_HeightText_2D, dm_HeightStepper_2D, true);
    Regenerate();
}

void LMNWindowController::dm_modulesizeChanged(QObject* sender)
{
    syncPair(sender, dm_moduleText_2D, dm_moduleStepper_2D, true);
    if (sender == dm_moduleStepper_2D)
        data_matrix_barcode_size_acc_format();
    Regenerate();
}

// Grows the Data Matrix width and height to the chosen symbol size ("C12X26":
// 12 rows, 26 columns) at the module size; larger values stay.
void LMNWindowController::data_matrix_barcode_size_acc_format()
{
    const int m = dm_moduleStepper_2D->intValue();
    int b = 0, a = 0;   // columns, rows
    DM_Size_From_Format(dm_format_ComboBox->currentText(), b, a);
    if (dm_widthStepper_2D->intValue() < b * m) {
        dm_widthStepper_2D->setValue(b * m);
        dm_widthText_2D->setText(QString::number(b * m));
    }
    if (dm_HeightStepper_2D->intValue() < a * m) {
        dm_HeightStepper_2D->setValue(a * m);
        dm_HeightText_2D->setText(QString::number(a * m));
    }
}

void LMNWindowController::DPI_Value_Changed(QObject* sender)
{
    if (sender == dpi_Stepper) {
        dpi_Text->setText(QString::number(dpi_Stepper->intValue()));
    } else {
        dpi_Stepper->setValue(intOf(dpi_Text->text()));
        dpi_Text->setText(QString::number(dpi_Stepper->intValue()));
    }
    USED_DPI_VALUE = dpi_Stepper->intValue();
    m_settings.dpi = USED_DPI_VALUE;
    m_settings.custom_dpi = USED_DPI_VALUE;
    publishSettings();
}

// The QR symbol of version v has 4 (v - 1) + 21 modules a side; the image is
// never smaller than one point a module.
void LMNWindowController::Check_And_Set_QR_size_Acc_Version(int position)
{
    const int s = QR_Min_Size_For_Version(position);
    HeightStepper_2D->setMinimum(s);
    if (intOf(HeightText_2D->text()) < s) {
        HeightStepper_2D->setValue(s);
        HeightText_2D->setText(QString::number(s));
    }
}

// ---------------------------------------------------------------- switches

void LMNWindowController::captionChanged()
{
    if (liner_or_2D_font) {
        Get_2d_barcode_from_image(true);
        return;
    }
    Get_Print_State();
    Redraw_Linear();
}

void LMNWindowController::showinTopChanged() { Redraw_Linear(); }

void LMNWindowController::hideHeaderChanged() { Refresh_Look(); }

void LMNWindowController::hideFooterChanged() { Refresh_Look(); }

void LMNWindowController::kerningChanged() { Redraw_Linear(); }

// ---------------------------------------------------------------- delegates

void LMNWindowController::comboBoxSelectionDidChange(QComboBox* combo)
{
    const QString text = combo->currentText();
    if (combo == DPI_ComboBox) {
        const bool custom = text == QLatin1String("Custom");
        dpi_Stepper->setVisible(custom);
        dpi_Text->setVisible(custom);
        // "Auto" 600, "Custom" the stepper's value, any other item its own number.
        USED_DPI_VALUE = DPI_For_Choice(DPI_ComboBox->currentIndex(), dpi_Stepper->intValue());
        m_settings.dpi = USED_DPI_VALUE;
        m_settings.dpi_choice = DPI_ComboBox->currentIndex();
        publishSettings();
        return;
    }
    if (combo == align_hdr_combo || combo == align_ftr_combo || combo == bar_orient_combo) {
        Redraw_Linear();
        return;
    }
    if (combo == bar_align_combo) {
        static const QMap<QString, Qt::Alignment> codes{
            {"Center", Qt::AlignCenter},
            {"Top", Qt::AlignTop | Qt::AlignHCenter},
            {"TopLeft", Qt::AlignTop | Qt::AlignLeft},
            {"TopRight", Qt::AlignTop | Qt::AlignRight},
            {"Left", Qt::AlignLeft | Qt::AlignVCenter},
            {"Bottom", Qt::AlignBottom | Qt::AlignHCenter},
            {"BottomLeft", Qt::AlignBottom | Qt::AlignLeft},
            {"BottomRight", Qt::AlignBottom | Qt::AlignRight},
            {"Right", Qt::AlignRight | Qt::AlignVCenter}};
        if (codes.contains(text))
            barcodeImage->setAlignment(codes.value(text));
        return;
    }
    if (liner_or_2D_font == 0)
        return;
    if (combo == qr_enc_mode_ComboBox || combo == qr_ec_lvl_ComboBox || combo == dm_encoding_ComboBox) {
        Regenerate();
    } else if (combo == qr_version_ComboBox) {
        Check_And_Set_QR_size_Acc_Version(qr_version_ComboBox->currentIndex());
        Regenerate();
    } else if (combo == dm_format_ComboBox) {
        data_matrix_barcode_size_acc_format();
        Regenerate();
    }
}

void LMNWindowController::controlTextDidChange(QObject* field)
{
    if (Settings_Loading())
        return;
    if (field != dataText && field != HeaderText && field != FooterText && field != dataText_2D)
        return;
    if (liner_or_2D_font == 0) {
        Regenerate();
        return;
    }
    if (field == dataText_2D) {
        Type_draw_2d_flag = 1;
        Regenerate();
    } else if (field == HeaderText || field == FooterText) {
        Get_2d_barcode_from_image(true);
    }
}

// ---------------------------------------------------------------- symbology

void LMNWindowController::barcodeTypeChanged()
{
    const QString t = Barcode_Type_Name();
    QString v;
    if (isTwoDName(t)) {
        dataText_2D->moveCursor(QTextCursor::Start);
        liner_or_2D_font = 1;
        two_d_barcode_Opt_Select();
        v = dataText_2D->toPlainText();
    } else {
        liner_or_2D_font = 0;
        Liner_Barcode_Opt_Select();
        v = dataText->text();
        for (QWidget* w : std::initializer_list<QWidget*>{
                 HeightStepper, HeightText, widthStepper, widthText, captionCheckbox,
                 hideHeaderCheckbox, hideFooterCheckbox, FooterText, val_mar_Text, hdr_mar_Text,
                 ftr_mar_Text, val_mar_Stepper, hdr_mar_Stepper, ftr_mar_Stepper, align_hdr_combo,
                 align_ftr_combo, showinTopCheckbox, kerning_value_Checkbox})
            w->setEnabled(true);
    }
    if (v.isEmpty()) {
        Set_Blank_Image();
        return;
    }
    // UPC and EAN captions have fixed digit groups: no letter spacing.
    if (t == QLatin1String("UPCE") || t == QLatin1String("UPCA") || t == QLatin1String("EAN-8")
        || t == QLatin1String("EAN-13"))
        kerning_value_Checkbox->setEnabled(false);
    Regenerate();
}

void LMNWindowController::Liner_Barcode_Opt_Select()
{
    liner_or_2D_font = 0;
    Linear_Barcode_RD->setChecked(true);
    const bool valueFromSeries = data_source_chkbox->isChecked() && barcode_value_chk->isChecked()
        && Data_Set_Sheet_RD->isChecked();
    if (!valueFromSeries) {
        dataText->setEnabled(true);
        dataText->setVisible(true);
        dataText_2D->setVisible(false);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{
             showinTopCheckbox, captionCheckbox, val_mar_Text, val_mar_Stepper, val_mar_label,
             val_font_label, val_font_btn, value_font_value, barcode_clr, bar_back_clr, bar_val_clr,
             val_clr_label, bar_clr_label, bar_bk_clr_label, linear_sett_box, brcd_bk_clr_rd,
             brcd_bk_clr_trnsp_rd})
        w->setVisible(true);
    for (QWidget* w : std::initializer_list<QWidget*>{transparent_bkgnd, two_d_sett_box,
                                                     pdf_2d_sett_box, dm_2d_sett_box})
        w->setVisible(false);
    // The DPI choice concerns 2D symbols only.
    const int dpi = sett_tab_barcode->indexOf(dpi_tab_item);
    if (dpi >= 0)
        sett_tab_barcode->removeTab(dpi);
    sett_tab_barcode->setCurrentIndex(0);
}

void LMNWindowController::two_d_barcode_Opt_Select()
{
    liner_or_2D_font = 1;
    TwoD_Barcode_RD->setChecked(true);
    const bool valueFromSeries = data_source_chkbox->isChecked() && barcode_value_chk->isChecked()
        && Data_Set_Sheet_RD->isChecked();
    if (!valueFromSeries) {
        dataText->setVisible(false);
        dataText_2D->setVisible(true);
    }
    for (QWidget* w : std::initializer_list<QWidget*>{
             showinTopCheckbox, captionCheckbox, val_mar_Text, val_mar_Stepper, val_mar_label,
             val_font_label, val_font_btn, value_font_value, barcode_clr, bar_back_clr, bar_val_clr,
             val_clr_label, bar_clr_label, bar_bk_clr_label, brcd_bk_clr_rd, brcd_bk_clr_trnsp_rd,
             linear_sett_box})
        w->setVisible(false);
    transparent_bkgnd->setVisible(true);
    const QString t = Barcode_Type_Name();
    if (t == QLatin1String("QR Code") || t == QLatin1String("PDF417") || t == QLatin1String("DataMatrix")) {
        two_d_sett_box->setVisible(t == QLatin1String("QR Code"));
        pdf_2d_sett_box->setVisible(t == QLatin1String("PDF417"));
        dm_2d_sett_box->setVisible(t == QLatin1String("DataMatrix"));
    }
    if (sett_tab_barcode->indexOf(dpi_tab_item) < 0)
        sett_tab_barcode->addTab(dpi_tab_item, tr("DPI"));
}

void LMNWindowController::Linear_Barcode_Select()
{
    Liner_Barcode_Opt_Select();
    dataText->setFocus();
    Regenerate();
}

void LMNWindowController::TwoD_Barcode_Select()
{
    two_d_barcode_Opt_Select();
    Regenerate();
}

// ---------------------------------------------------------------- help

void LMNWindowController::showHelp(const QString& title, const QString& text)
{
    Cutom_Msg_Title = title;
    Cutom_Msg_Val = text;
    Long_SMS_Dlg* box = Long_SMS_Dlg::defaultInstance();
    box->title_val = QString();
    box->apply_chk_show = false;
    box->Open_Long_sms_Dialog();
}

QWidget* LMNWindowController::helpButton(QWidget* parent, void (LMNWindowController::*handler)())
{
    auto* b = new QPushButton(QStringLiteral("?"), parent);
    b->setFixedSize(22, 22);
    b->setToolTip(tr("Help"));
    connect(b, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    return b;
}

void LMNWindowController::Barcode_Data_Source_Help_Button()
{
    showHelp(QStringLiteral("Batch Processing Settings Help :"),
             QStringLiteral("Select Data Source to enter barcode value.\nSelect Data Source as 'Manual' to enter "
                            "barcode value manually, Select 'Batch Processing Series' to fetch the barcode value "
                            "from the list of existing Batch Processing Series."));
}

void LMNWindowController::Batch_Help_Button()
{
    showHelp(QStringLiteral("Batch Processing Settings Help :"),
             QStringLiteral("Select these option to fetch the barcode value from the list of existing Batch "
                            "Processing Series.\nor\nRemained unselect to enter barcode value manually. "));
}

void LMNWindowController::QR_Version_Help_Btn()
{
    showHelp(QStringLiteral("Version :"),
             QStringLiteral("Version is configuration or number of modules (combination of black and white dots)."));
}

void LMNWindowController::QR_EC_Lvl_Help_Btn()
{
    showHelp(QStringLiteral("Error correction (EC) level :"),
             QStringLiteral("An error-correction mechanism is built in each symbol so that the symbol can still "
                            "be decoded even if it is damaged."));
}

void LMNWindowController::PDF_row_Help_btn()
{
    showHelp(QStringLiteral("PDF Rows :"), QStringLiteral("Number of rows in the PDF barcode."));
}

void LMNWindowController::PDF_col_Help_btn()
{
    showHelp(QStringLiteral("PDF Columns :"), QStringLiteral("Number of columns in the PDF barcode."));
}

void LMNWindowController::PDF_ec_lvl_Help_btn()
{
    showHelp(QStringLiteral("PDF EC Level :"),
             QStringLiteral("An error-correction mechanism is built in each symbol so that the symbol can still "
                            "be decoded even if it is damaged in PDF barcode."));
}

void LMNWindowController::DM_format_Help_btn()
{
    showHelp(QStringLiteral("Preferred Format :"),
             QStringLiteral("Preferred Mode determines the smallest size of the symbol."));
}

void LMNWindowController::DM_Encoding_Help_btn()
{
    showHelp(QStringLiteral("Encoding Mode :"),
             QStringLiteral("Encoding Mode is mode of compaction to encode data in the symbol."));
}

void LMNWindowController::DPI_Help_Label()
{
    showHelp(DPI_Help_Title(), DPI_Help_Text());
}
