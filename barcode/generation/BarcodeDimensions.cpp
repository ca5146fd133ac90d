#include "barcode/generation/BarcodeDimensions.h"

#include "barcode/engines/linear/ZBBarcode.h"

#include <algorithm>

float Unit_To_Points(float value, int unit)
{
    const double v = value;
    switch (unit) {
    case Unit_Centimetre:
        return float(v * 0.393701 * 72.0);
    case Unit_Millimetre:
        return float(v * 0.393701 * 72.0 / 10.0);
    default:
        return float(v * 72.0);
    }
}

float Mils_To_Points(float mils)
{
    return float(double(mils / 1000.0f) * 72.0);
}

void Convert_Margins(BarcodeSettings& s)
{
    s.value_margin = s.hide_value ? 0.0f : Unit_To_Points(s.val_mar, s.unit);
    s.header_margin = s.hide_header ? 0.0f : Unit_To_Points(s.hdr_mar, s.unit);
    s.footer_margin = s.hide_footer ? 0.0f : Unit_To_Points(s.ftr_mar, s.unit);
    s.LR_margin = Unit_To_Points(s.LR_mar, s.unit);
    s.TB_margin = Unit_To_Points(s.TB_mar, s.unit);
}

void Set_Barcode_Height(BarcodeSettings& s, ZBBarcode& b)
{
    Convert_Margins(s);
    double h = Unit_To_Points(s.bar_height, s.unit);
    // The four-state postal bars keep their own lengths whatever the bar
    // height: a lower height would push the header into the bars.
    if (b.isFourState()) {
        const std::string bars = b.completeBarcode();
        for (size_t i = 0; i < bars.size(); ++i)
            if (bars[i] == '1')
                h = std::max(h, double(b.barTop(int(i))));
    }
    if (b.printsCaption())
        h = h + double(b.captionHeight()) * 72.0 + s.value_margin;
    b.setHeight(float(h));
    h = b.height();
    if (b.printsHeader())
        h = h + double(b.headerHeight()) * 72.0 + s.header_margin;
    b.setHeight(float(h));
    h = b.height();
    if (b.printsFooter())
        h = h + double(b.footerHeight()) * 72.0 + s.footer_margin;
    b.setHeight(float(h));
    b.setHeight(float(double(b.height()) + 2.0 * s.TB_margin));
}

namespace {

float Framed_Width(BarcodeSettings& s, double w, double hw, double fw)
{
    s.LR_margin = Unit_To_Points(s.LR_mar, s.unit);
    double total = std::max({hw, fw, w}) + 2.0 * s.LR_margin;
    if (s.LR_margin > 0.0f)
        total += 15.0;
    return float(total);
}

} // namespace

float Set_Linear_Barcode_Width(BarcodeSettings& s, const ZBBarcode& b)
{
    const double hw = b.printsHeader() ? b.headerWidth() : 0.0;
    const double fw = b.printsFooter() ? b.footerWidth() : 0.0;
    return Framed_Width(s, b.width(), hw, fw);
}

void Set_2d_Barcode_Height(BarcodeSettings& s, QSizeF imageSize)
{
    Convert_Margins(s);
    const double hh = s.printsHeader ? double(s.headerHeight) * 72.0 : 0.0;
    const double fh = s.printsFooter ? double(s.footerHeight) * 72.0 : 0.0;
    const double hm = s.printsHeader ? s.header_margin : 0.0f;
    const double fm = s.printsFooter ? s.footer_margin : 0.0f;
    s.height = float(imageSize.height() + hh + hm + fh + fm + 2.0 * s.TB_margin);
}

void Set_2d_Barcode_Width(BarcodeSettings& s, QSizeF imageSize)
{
    const double hw = s.printsHeader ? s.headerWidth : 0.0f;
    const double fw = s.printsFooter ? s.footerWidth : 0.0f;
    s.width = Framed_Width(s, imageSize.width(), hw, fw);
}

const QStringList& DPI_Choice_Items()
{
    static const QStringList items{
        QStringLiteral("Auto"), QStringLiteral("72"), QStringLiteral("150"),
        QStringLiteral("300"), QStringLiteral("600"), QStringLiteral("1200"),
        QStringLiteral("Custom"),
    };
    return items;
}

int Clamp_Dpi(int dpi)
{
    return std::clamp(dpi, kMinCustomDpi, kMaxCustomDpi);
}

int DPI_For_Choice(int choice, int customDpi)
{
    const QStringList& items = DPI_Choice_Items();
    if (choice <= 0 || choice >= items.size())
        return 600;
    if (choice == items.size() - 1)
        return Clamp_Dpi(customDpi);
    return items[choice].toInt();
}

void Apply_DPI_Choice(BarcodeSettings& s)
{
    s.dpi = DPI_For_Choice(s.dpi_choice, s.custom_dpi);
}

QString DPI_Help_Title()
{
    return QStringLiteral("DPI (Dots Per Inch) :");
}

QString DPI_Help_Text()
{
    return QStringLiteral(
        "Dots per inch is a measure of the resolution of printers in terms of Print Quality.\n\n"
        "Bigger the DPI, Better the Print Quality. But File size of image also increases, as you "
        "choose bigger DPI.");
}
