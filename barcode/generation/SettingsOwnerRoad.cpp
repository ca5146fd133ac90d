#include "barcode/generation/SettingsOwnerRoad.h"

#include "barcode/engines/SymbologyTable.h"
#include "barcode/engines/linear/ZBBarcode.h"
#include "barcode/engines/view/BarcodeImage.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "core/util/Helpers.h"
#include "core/util/MessageBoxes.h"

#include <algorithm>
#include <exception>

namespace {

bool Has_Ascii_Form(const QString& value)
{
    return std::all_of(value.begin(), value.end(), [](QChar c) { return c.unicode() < 128; });
}

} // namespace

SettingsOwnerRoad::SettingsOwnerRoad() = default;
SettingsOwnerRoad::~SettingsOwnerRoad() = default;

void SettingsOwnerRoad::notify()
{
    if (m_listener)
        m_listener();
}

BarcodeMakeResult SettingsOwnerRoad::make(const QString& V, const QString& H, const QString& F,
                                          bool recordImage)
{
    ++m_encodeCount;
    BarcodeSettings s = m_settings;
    Apply_DPI_Choice(s);
    BarcodeMakeResult r = Make_Barcode(s, V, H, F, recordImage);
    m_last = r.settings;
    m_lastReason = r.reason;
    return r;
}

std::shared_ptr<ZBBarcode> SettingsOwnerRoad::Generate_Barcode_Variable(
    bool draw, const QString& V, const QString& H, const QString& F, bool fromBatch)
{
    if (Not_Draw_Only_Prop_Change)
        return m_testBarcode;
    if (V.isEmpty())
        return nullptr;
    try {
        if (draw) {
            m_preview = PtImage();
            m_drawing.reset();
        }
        m_errorLabelVisible = false;
        const bool twoD = Is_TwoD_Branch(m_settings);
        const bool typing = m_settings.Type_draw_2d_flag;
        m_image2d = PtImage();
        // The preview paints a linear symbol from its drawing.
        BarcodeMakeResult r = make(V, H, F, !draw);
        if (twoD) {
            const Symbology* sym = Find_Symbology(m_settings.barcodeType);
            m_moduleSize = 1;
            if (sym && sym->id == SymbologyId::PDF417)
                m_moduleSize = m_settings.pdf_height;
            else if (sym && sym->id == SymbologyId::DataMatrix)
                m_moduleSize = m_last.dm_module;
            m_image2d = r.image_2d;
            m_settings.Type_draw_2d_flag = false;   // cleared after every 2D generation
            if (draw) {
                if (r.image.isNull()) {
                    Set_Blank_Image(r.reason);
                } else {
                    m_draft = typing;
                    m_previewNote = r.note;
                    Set_Barcode_On_Panel(r.image);
                }
            }
            return nullptr;
        }
        if (!r.barcode || !r.drawing) {
            if (draw)
                Set_Blank_Image(r.reason);
            return nullptr;
        }
        if (draw) {
            m_draft = false;
            m_previewNote = r.note;
            Set_Barcode_On_Panel(r.drawing);
        }
        return r.barcode;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromLocal8Bit(e.what()));
        return nullptr;
    }
}

void SettingsOwnerRoad::goButtonActionPerformed()
{
    if (Not_Draw_Only_Prop_Change)
        return;
    try {
        if (!Check_And_Validat_Barcode(false, false))
            return;
        m_testBarcode = Generate_Barcode_Variable(true, m_settings.typedValue(), m_settings.HeaderText,
                                                  m_settings.FooterText, false);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromLocal8Bit(e.what()));
    }
}

bool SettingsOwnerRoad::Check_And_Validat_Barcode(bool show, bool checkImage)
{
    m_errorLabelVisible = false;
    const QString value = m_settings.typedValue();
    auto fail = [&](const QString& reason) {
        Set_Blank_Image(reason);
        if (show)
            Show_MessageBox(reason.isEmpty() ? invalid_barcode_msg
                                             : invalid_barcode_msg + QLatin1Char('\n') + reason);
        return false;
    };
    const bool twoD = Is_TwoD_Branch(m_settings);
    if (value.isEmpty() || (!twoD && !Has_Ascii_Form(value)))
        return fail(Invalid_Value_Reason(m_settings, value));
    if (!checkImage)
        return true;
    if (!twoD && m_testBarcode && !m_testBarcode->isContentValid())
        return fail(Invalid_Value_Reason(m_settings, value));
    if (previewIsBlank())
        return fail(m_lastReason.isEmpty() ? Invalid_Value_Reason(m_settings, value) : m_lastReason);
    return true;
}

PtImage SettingsOwnerRoad::Get_Image_From_Barcode(const std::shared_ptr<ZBBarcode>& barcode,
                                                  bool draw, bool fromBatch)
{
    if (!barcode)
        return {};
    if (!fromBatch && !Check_And_Validat_Barcode(false, false))
        return {};
    BarcodeSettings s = m_settings;
    Apply_DPI_Choice(s);
    Lay_Out_Linear_Symbol(s, *barcode, s.HeaderText, s.FooterText, Get_Print_State(s));
    m_last = s;
    auto view = std::make_shared<const ZBBarcodeOffscreenView>(ZBBarcodeOffscreenView::initWithBarcode(*barcode, s));
    if (draw) {
        if (view->bounds().isEmpty())
            Set_Blank_Image();
        else
            Set_Barcode_On_Panel(view);
        return {};
    }
    return Image_Of_View(*view);
}

PtImage SettingsOwnerRoad::Redraw_Linear()
{
    if (Is_TwoD_Branch(m_settings) || !m_testBarcode)
        return {};
    return Get_Image_From_Barcode(m_testBarcode, true, false);
}

PtImage SettingsOwnerRoad::Get_2d_barcode_from_image(bool draw)
{
    if (m_image2d.isNull()) {
        Set_Blank_Image(m_lastReason);
        return {};
    }
    if (!Is_TwoD_Branch(m_settings))
        return {};
    BarcodeSettings s = m_settings;
    Apply_DPI_Choice(s);
    const PtImage framed = Frame_2D(s, m_image2d, s.dataText_2D, s.HeaderText, s.FooterText);
    m_last = s;
    if (draw) {
        if (framed.isNull())
            Set_Blank_Image();
        else
            Set_Barcode_On_Panel(framed);
    }
    return framed;
}

void SettingsOwnerRoad::Set_Barcode_On_Panel(const PtImage& image)
{
    m_drawing.reset();
    m_preview = image;
    m_errorLabelVisible = image.isNull();
    m_blankReason.clear();
    ++m_drawCount;
    notify();
}

void SettingsOwnerRoad::Set_Barcode_On_Panel(const std::shared_ptr<const ZBBarcodeOffscreenView>& drawing)
{
    m_drawing = drawing;
    m_preview = PtImage();
    m_errorLabelVisible = !drawing;
    m_blankReason.clear();
    ++m_drawCount;
    notify();
}

const PtImage& SettingsOwnerRoad::previewImage() const
{
    if (m_preview.isNull() && m_drawing)
        m_preview = Image_Of_View(*m_drawing);
    return m_preview;
}

void SettingsOwnerRoad::Set_Blank_Image(const QString& reason)
{
    m_image2d = PtImage();
    m_preview = PtImage();
    m_drawing.reset();
    m_errorLabelVisible = true;
    m_draft = false;
    m_blankReason = reason;
    notify();
}

PtImage SettingsOwnerRoad::Get_Image_From_Val(const QString& value, const QString& header,
                                              const QString& footer)
{
    if (value.isEmpty() || Not_Draw_Only_Prop_Change)
        return {};
    BarcodeMakeResult r = make(value, header, footer);
    m_testBarcodeExp = r.barcode;
    if (Is_TwoD_Branch(m_settings))
        m_image2d = r.image_2d;
    return r.image;
}

PtImage SettingsOwnerRoad::Get_Image_From_List_Val(int row)
{
    invalid_barcode_image_flag = false;
    m_testBarcodeExp.reset();
    try {
        QString value, header, footer;
        const int total = m_rows ? m_rows->rowCount() : 0;
        if (row >= total) {
            // Past the last row: the typed barcode, the texts the preview is made from.
            value = m_settings.typedValue();
            header = m_settings.HeaderText;
            footer = m_settings.FooterText;
        } else {
            if (row < 0 || !m_rows->rowTexts(row, value, header, footer))
                return {};
            value = Trim_Str(value);
            header = Trim_Str(header);
            footer = Trim_Str(footer);
        }
        if (value.isEmpty())
            return {};
        // The job's image comes from a copy of the settings and is its own:
        // the preview, its symbol and its settings stay as they are, and
        // nothing the preview paints is handed to the job's thread (a picture
        // played by two threads at once comes out torn).
        BarcodeSettings s = m_settings;
        s.Type_draw_2d_flag = false;  // a job never takes a draft made while typing
        Apply_DPI_Choice(s);
        BarcodeMakeResult r = Make_Barcode(s, value, header, footer);
        m_testBarcodeExp = r.barcode;
        return r.image;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromLocal8Bit(e.what()));
    }
    return {};
}
