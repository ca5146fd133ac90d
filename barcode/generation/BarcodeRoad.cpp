#include "barcode/generation/BarcodeRoad.h"

#include "barcode/engines/linear/ZBBarcode.h"
#include "barcode/engines/view/BarcodeImage.h"
#include "barcode/engines/view/BarcodeText.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/BarcodeSettingsOwner.h"
#include "barcode/generation/BarcodeTypes.h"
#include "barcode/generation/TwoDSymbols.h"
#include "core/util/Helpers.h"
#include "core/util/MessageBoxes.h"

#include <exception>

const QString invalid_barcode_msg = QStringLiteral("Invalid barcode value or value is too long.");

namespace {

bool Has_Ascii_Form(const QString& value)
{
    for (QChar c : value)
        if (c.unicode() >= 128)
            return false;
    return true;
}

// Writes the texts, print flags and font sizes of a 2D symbol into the copy.
void Fill_2D_Settings(BarcodeSettings& s, const QString& V, const QString& H, const QString& F,
                      bool printsCaption)
{
    s.content = V;
    s.header = H;
    s.footer = F;
    s.printsCaption = printsCaption;
    s.printsHeader = !s.hide_header;
    s.printsFooter = !s.hide_footer;
    // The header and footer widths are measured from the texts just set.
    setCaptionFontSize(s, Font_Point_Size(s.value_font));
    setHeaderFontSize(s, Font_Point_Size(s.header_font));
    setFooterFontSize(s, Font_Point_Size(s.footer_font));
}

// The symbol image of the chosen 2D symbology; null when none is drawn.
PtImage Draw_2D_Symbol(const BarcodeSettings& s, const QString& V, QString* diagnostics,
                       int* moduleSize)
{
    const QString& T = s.barcodeType;
    *moduleSize = 1;
    if (T == QLatin1String("QR Code"))
        return Draw_QR_Barcode(V, s);
    if (T == QLatin1String("PDF417")) {
        *moduleSize = s.pdf_height;
        return Draw_PDF_417_Barcode(V, s);
    }
    if (T == QLatin1String("DataMatrix")) {
        *moduleSize = s.dm_module;
        return Draw_DataMatrix_Barcode(V, s, diagnostics);
    }
    return {};
}

} // namespace

// Sizes the frame around the symbol (height before width) and frames it.
PtImage Frame_2D(BarcodeSettings& s, const PtImage& image_2d)
{
    if (image_2d.isNull())
        return {};
    Set_2d_Barcode_Height(s, image_2d.size());
    Set_2d_Barcode_Width(s, image_2d.size());
    return imageFromBarcodeImage(image_2d, s);
}


PtImage Reframe_2D(BarcodeSettings& s, const PtImage& image_2d)
{
    if (image_2d.isNull())
        return {};
    Fill_2D_Settings(s, s.dataText_2D, s.HeaderText, s.FooterText, Get_Print_State(s));
    return Frame_2D(s, image_2d);
}

bool Get_Print_State(const BarcodeSettings& s)
{
    if (!s.caption_check_enabled)
        return false;
    return !s.hide_value;
}

void Lay_Out_Linear_Symbol(BarcodeSettings& s, ZBBarcode& b, const QString& H, const QString& F,
                           bool printsCaption)
{
    Convert_Margins(s);
    b.setSettings(s);
    b.setHeader(H);
    b.setFooter(F);
    b.setPrintsCaption(printsCaption);
    b.setPrintsHeader(!s.hide_header);
    b.setPrintsFooter(!s.hide_footer);
    if (s.bar_width_enabled)
        b.setBarWidth(Mils_To_Points(s.bar_width_mils));
    b.setCaptionFontSize(Font_Point_Size(s.value_font));
    b.setHeaderFontSize(Font_Point_Size(s.header_font));
    b.setFooterFontSize(Font_Point_Size(s.footer_font));
    if (s.bar_height_enabled)
        Set_Barcode_Height(s, b);
    // The bars are placed with the margins in points.
    b.setSettings(s);
    b.calculateWidth();
    b.setWidth(Set_Linear_Barcode_Width(s, b));
}

std::shared_ptr<ZBBarcode> Make_Linear_Symbol(BarcodeSettings& s, const QString& V,
                                              const QString& H, const QString& F,
                                              bool printsCaption)
{
    Convert_Margins(s);  // the caller reads the margins in points even without a symbol
    std::shared_ptr<ZBBarcode> b(Make_Linear_Barcode(s.barcodeType, V, printsCaption));
    if (!b || !b->isContentValid())
        return nullptr;
    Lay_Out_Linear_Symbol(s, *b, H, F, printsCaption);
    return b;
}

BarcodeMakeResult Make_Barcode(const BarcodeSettings& settings, const QString& value,
                               const QString& header, const QString& footer)
{
    BarcodeMakeResult r;
    r.settings = settings;
    BarcodeSettings& s = r.settings;
    if (value.isEmpty())
        return r;
    try {
        const bool P = Get_Print_State(s);
        if (s.liner_or_2D_font != 0) {
            if (!Is_Accepted_2D_Title(s.barcodeType))
                return r;
            Fill_2D_Settings(s, value, header, footer, P);
            int module = 1;
            r.image_2d = Draw_2D_Symbol(s, value, &r.diagnostics, &module);
            r.image = Frame_2D(s, r.image_2d);
            s.typing_2d = false;
            return r;
        }
        r.barcode = Make_Linear_Symbol(s, value, header, footer, P);
        if (r.barcode)
            r.image = imageFromBarcode(*r.barcode, s);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromLocal8Bit(e.what()));
        r.image = PtImage();
        r.barcode.reset();
    }
    return r;
}

PtImage Make_Barcode_Image(const BarcodeSettings& settings, const QString& value,
                           const QString& header, const QString& footer)
{
    return Make_Barcode(settings, value, header, footer).image;
}

PtImage Make_Barcode_Image(const BarcodeSettings& settings)
{
    return Make_Barcode_Image(settings, settings.typedValue(), settings.HeaderText,
                              settings.FooterText);
}

QSizeF Preview_Size_For_Image(QSizeF image, QSizeF frame, bool* horizontalScroller,
                              bool* verticalScroller)
{
    double w = frame.width();
    const bool wide = image.width() >= frame.width();
    if (wide)
        w = image.width();
    if (horizontalScroller)
        *horizontalScroller = wide;
    if (verticalScroller)
        *verticalScroller = !wide;
    const double h = std::max(image.height(), frame.height()) + 10.0;
    return {w, h};
}

// ---- Barcode_Generation_Road ----

Barcode_Generation_Road::Barcode_Generation_Road() = default;
Barcode_Generation_Road::~Barcode_Generation_Road() = default;

std::shared_ptr<ZBBarcode> Barcode_Generation_Road::Generate_Barcode_Variable(
    bool draw, const QString& V, const QString& H, const QString& F, bool fromBatch)
{
    if (Not_Draw_Only_Prop_Change)
        return m_testBarcode;
    if (V.isEmpty())
        return nullptr;
    try {
        if (draw)
            m_preview = PtImage();
        m_errorLabelVisible = false;
        BarcodeSettings s = m_settings;
        const bool P = Get_Print_State(s);

        if (s.liner_or_2D_font != 0) {
            if (!Is_Accepted_2D_Title(s.barcodeType)) {
                if (draw)
                    Set_Blank_Image();
                return nullptr;
            }
            Fill_2D_Settings(s, V, H, F, P);
            m_image2d = PtImage();
            QString diagnostics;
            m_image2d = Draw_2D_Symbol(s, V, &diagnostics, &m_moduleSize);
            m_last = s;
            if (draw)
                Get_2d_barcode_from_image(draw);
            else if (m_image2d.isNull())
                Set_Blank_Image();
            m_settings.typing_2d = false;
            return nullptr;
        }

        std::shared_ptr<ZBBarcode> b = Make_Linear_Symbol(s, V, H, F, P);
        m_last = s;
        if (!b) {
            if (draw)
                Set_Blank_Image();
            return nullptr;
        }
        if (draw)
            Get_Image_From_Barcode(b, draw, fromBatch);
        return b;
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromLocal8Bit(e.what()));
        return nullptr;
    }
}

void Barcode_Generation_Road::goButtonActionPerformed()
{
    try {
        if (!Check_And_Validat_Barcode(false, false))
            return;
        m_testBarcode = Generate_Barcode_Variable(true, m_settings.typedValue(),
                                                  m_settings.HeaderText, m_settings.FooterText,
                                                  false);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromLocal8Bit(e.what()));
    }
}

bool Barcode_Generation_Road::Check_And_Validat_Barcode(bool show, bool checkImage)
{
    m_errorLabelVisible = false;
    const QString value = m_settings.typedValue();
    auto fail = [&]() {
        Set_Blank_Image();
        if (show)
            Show_MessageBox(invalid_barcode_msg);
        return false;
    };
    if (value.isEmpty())
        return fail();
    if (m_settings.liner_or_2D_font == 0 && !Has_Ascii_Form(value))
        return fail();
    if (!checkImage)
        return true;
    if (m_testBarcode && !m_testBarcode->isContentValid())
        return fail();
    if (m_preview.isNull())
        return fail();
    return true;
}

PtImage Barcode_Generation_Road::Get_Image_From_Barcode(const std::shared_ptr<ZBBarcode>& barcode,
                                                        bool draw, bool fromBatch)
{
    if (!barcode)
        return {};
    if (!fromBatch && !Check_And_Validat_Barcode(false, false))
        return {};
    PtImage image = imageFromBarcode(*barcode, barcode->settings());
    if (draw)
        Set_Barcode_On_Panel(image);
    return image;
}

PtImage Barcode_Generation_Road::Get_2d_barcode_from_image(bool draw)
{
    if (m_image2d.isNull()) {
        Set_Blank_Image();
        return {};
    }
    if (m_settings.liner_or_2D_font != 1)
        return {};
    return Get_Image_From_barcode_image(m_image2d, draw);
}

BarcodeSettings Barcode_Generation_Road::framingSettings() const
{
    // The texts of the generation that drew the symbol; the look (fonts,
    // colours, margins, alignments, visibility) as the controls hold it now,
    // so a change of look frames the kept symbol anew without encoding.
    BarcodeSettings s = m_settings;
    Fill_2D_Settings(s, m_last.content, m_last.header, m_last.footer, Get_Print_State(m_settings));
    return s;
}

PtImage Barcode_Generation_Road::Frame_Kept_2D()
{
    m_last = framingSettings();
    return Frame_2D(m_last, m_image2d);
}

PtImage Barcode_Generation_Road::Get_Image_From_barcode_image(const PtImage& image, bool draw)
{
    if (m_image2d.isNull()) {
        Set_Blank_Image();
        return {};
    }
    m_last = framingSettings();
    PtImage framed = Frame_2D(m_last, image);
    if (draw)
        Set_Barcode_On_Panel(framed);
    return framed;
}

void Barcode_Generation_Road::Set_Barcode_On_Panel(const PtImage& image)
{
    m_preview = image;
    m_errorLabelVisible = image.isNull();
}

void Barcode_Generation_Road::Set_Blank_Image()
{
    m_image2d = PtImage();
    m_preview = PtImage();
    m_errorLabelVisible = true;
}

PtImage Barcode_Generation_Road::Get_Image_From_Val(const QString& value, const QString& header,
                                                    const QString& footer)
{
    // An empty value gives no image, whatever the previous generation left.
    if (value.isEmpty() && !Not_Draw_Only_Prop_Change)
        return {};
    m_testBarcodeExp = Generate_Barcode_Variable(false, value, header, footer, false);
    if (m_settings.liner_or_2D_font != 0) {
        if (Not_Draw_Only_Prop_Change || m_image2d.isNull())
            return {};
        return Frame_Kept_2D();
    }
    if (!m_testBarcodeExp)
        return {};
    return imageFromBarcode(*m_testBarcodeExp, m_testBarcodeExp->settings());
}

PtImage Barcode_Generation_Road::Get_Image_From_List_Val(int row)
{
    invalid_barcode_image_flag = false;
    m_batchImage = PtImage();
    m_testBarcodeExp = m_testBarcode;
    try {
        const int total = m_rows ? m_rows->rowCount() : 0;
        if (row >= total) {
            // Past the last row: the current barcode.
            if (m_settings.liner_or_2D_font == 0) {
                if (m_testBarcode)
                    m_batchImage = imageFromBarcode(*m_testBarcode, m_testBarcode->settings());
            } else if (!m_image2d.isNull()) {
                m_batchImage = Frame_Kept_2D();
            }
            return m_batchImage;
        }
        QString value, header, footer;
        if (row < 0 || !m_rows->rowTexts(row, value, header, footer))
            return {};
        value = Trim_Str(value);
        header = Trim_Str(header);
        footer = Trim_Str(footer);
        if (value.isEmpty())
            return {};
        if (m_settings.liner_or_2D_font != 0)
            m_image2d = PtImage();
        m_testBarcodeExp = Generate_Barcode_Variable(false, value, header, footer, true);
        if (m_settings.liner_or_2D_font != 0)
            m_batchImage = Get_2d_barcode_from_image(true);
        else if (m_testBarcodeExp)
            m_batchImage = Get_Image_From_Barcode(m_testBarcodeExp, true, true);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromLocal8Bit(e.what()));
        m_batchImage = PtImage();
    }
    return m_batchImage;
}
