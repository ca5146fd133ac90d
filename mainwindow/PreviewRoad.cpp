#include "mainwindow/PreviewRoad.h"

#include "barcode/engines/linear/ZBBarcode.h"
#include "barcode/engines/view/BarcodeImage.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/BarcodeRoad.h"
#include "barcode/generation/BarcodeTypes.h"

PreviewRoad::PreviewRoad() = default;
PreviewRoad::~PreviewRoad() = default;

void PreviewRoad::forgetLinear() { m_linear.reset(); }

bool PreviewRoad::linearContentValid() const { return m_linear && m_linear->isContentValid(); }


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
    Lay_Out_Linear_Symbol(s, *m_linear, s.HeaderText, s.FooterText, Get_Print_State(s));
    return imageFromBarcode(*m_linear, s);
}

PtImage PreviewRoad::reframe2D(BarcodeSettings& s)
{
    return Reframe_2D(s, m_image2d);
}
