#include "barcode/generation/BarcodeSettingsOwner.h"

#include "barcode/engines/view/BarcodeText.h"

float Font_Point_Size(const QFont& font)
{
    return float(zbtext::Font_Points(font));
}

void setCaptionFontSize(BarcodeSettings& s, float size)
{
    s.caption_fontSize = size;
    s.captionHeight = float(zbtext::Text_Height_Inches(s.value_font));
}

void setHeaderFontSize(BarcodeSettings& s, float size)
{
    s.header_fontSize = size;
    s.headerHeight = float(zbtext::Text_Height_Inches(s.header_font));
    s.headerWidth = float(zbtext::Text_Size(s.header, s.header_font).width());
}

void setFooterFontSize(BarcodeSettings& s, float size)
{
    s.footer_fontSize = size;
    s.footerHeight = float(zbtext::Text_Height_Inches(s.footer_font));
    s.footerWidth = float(zbtext::Text_Size(s.footer, s.footer_font).width());
}
