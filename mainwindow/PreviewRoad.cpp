#include "mainwindow/PreviewRoad.h"

#include "barcode/engines/linear/ZBBarcode.h"
#include "barcode/engines/view/BarcodeImage.h"
#include "barcode/engines/view/BarcodeText.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/BarcodeRoad.h"
#include "barcode/generation/BarcodeSettingsOwner.h"
#include "barcode/generation/BarcodeTypes.h"
#include "barcode/generation/TwoDSymbols.h"

PreviewRoad::PreviewRoad() = default;
PreviewRoad::~PreviewRoad() = default;

void PreviewRoad::forgetLinear() { m_linear.reset(); }

bool PreviewRoad::linearContentValid() const { return m_linear && m_linear->isContentValid(); }

namespace {
// Texts, visibility, module width, text sizes and outer size of a linear
// symbol from the settings, laid out as the generation road lays out a new
// one; the symbol keeps its content and bars.
void Lay_Out_Linear(BarcodeSettings& s, ZBBarcode& b)
{
    Convert_Margins(s);
    const bool caption = Get_Print_State(s);
    b.setSettings(s);
    b.setHeader(s.HeaderText);
    b.setFooter(s.FooterText);
    b.setPrintsCaption(caption);
    b.setPrintsHeader(!s.hide_header);
    b.setPrintsFooter(!s.hide_footer);
    if (s.bar_width_enabled)
        b.setBarWidth(Mils_To_Points(s.bar_width_mils));
    b.setCaptionFontSize(Font_Point_Size(s.value_font));
    b.setHeaderFontSize(Font_Point_Size(s.header_font));
    b.setFooterFontSize(Font_Point_Size(s.footer_font));
    b.setCaptionHeight(float(zbtext::Text_Height_Inches(s.value_font)));
    b.setHeaderHeight(float(zbtext::Text_Height_Inches(s.header_font)));
    b.setFooterHeight(float(zbtext::Text_Height_Inches(s.footer_font)));
    b.setHeaderWidth(float(zbtext::Text_Size(b.header(), s.header_font).width()));
    b.setFooterWidth(float(zbtext::Text_Size(b.footer(), s.footer_font).width()));
    if (s.bar_height_enabled)
        Set_Barcode_Height(s, b);
    b.setSettings(s);
    b.calculateWidth();
    b.setWidth(Set_Linear_Barcode_Width(s, b));
}

PtImage Frame_2D(BarcodeSettings& s, const PtImage& image)
{
    if (image.isNull())
        return PtImage();
    s.content = s.dataText_2D;
    s.header = s.HeaderText;
    s.footer = s.FooterText;
    s.printsCaption = Get_Print_State(s);
    s.printsHeader = !s.hide_header;
    s.printsFooter = !s.hide_footer;
    setCaptionFontSize(s, Font_Point_Size(s.value_font));
    setHeaderFontSize(s, Font_Point_Size(s.header_font));
    setFooterFontSize(s, Font_Point_Size(s.footer_font));
    Set_2d_Barcode_Height(s, image.size());
    Set_2d_Barcode_Width(s, image.size());
    return imageFromBarcodeImage(image, s);
}
} // namespace

PtImage PreviewRoad::encode(BarcodeSettings& s, const QString& value, const QString& header,
                            const QString& footer)
{
    if (value.isEmpty())
        return PtImage();
    ++m_encodeCount;
    s.HeaderText = header;
    s.FooterText = footer;
    if (s.liner_or_2D_font)
        s.dataText_2D = value;
    else
        s.dataText = value;
    Apply_DPI_Choice(s);
    BarcodeMakeResult r = Make_Barcode(s, value, header, footer);
    s = r.settings;
    m_linear = s.liner_or_2D_font ? nullptr : r.barcode;
    m_image2d = s.liner_or_2D_font ? r.image_2d : PtImage();
    return r.image;
}

PtImage PreviewRoad::redrawLinear(BarcodeSettings& s)
{
    if (!m_linear)
        return PtImage();
    Lay_Out_Linear(s, *m_linear);
    return imageFromBarcode(*m_linear, s);
}

PtImage PreviewRoad::reframe2D(BarcodeSettings& s)
{
    return Frame_2D(s, m_image2d);
}
