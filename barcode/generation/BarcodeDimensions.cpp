#include "barcode/generation/BarcodeDimensions.h"

#include "barcode/engines/linear/ZBBarcode.h"
#include "barcode/generation/TwoDSymbols.h"

#include <algorithm>
#include <cmath>

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

QString Unit_Name(int unit)
{
    switch (unit) {
    case Unit_Centimetre: return QStringLiteral("cm");
    case Unit_Millimetre: return QStringLiteral("mm");
    default: return QStringLiteral("in");
    }
}

QString Range_Message(const QString& what, double min, double max, const QString& unitName)
{
    return QStringLiteral("The %1 must be between %2 and %3 %4")
        .arg(what, QString::number(min, 'g', 6), QString::number(max, 'g', 6), unitName);
}

QString Length_Out_Of_Range(const BarcodeSettings& s)
{
    // Checked before any length is converted: a number beyond the ranges
    // (or not a number) would overflow the sizes computed from it.
    const QString unit = Unit_Name(s.unit);
    const QString points = QStringLiteral("pt");
    struct Length {
        const char* what;
        double value, min, max;
        const QString& unit;
    };
    const QString mils = QStringLiteral("mils");
    const Length lengths[] = {
        {"bar height", s.bar_height, kBarHeightMin, kBarHeightMax, unit},
        {"bar width", s.bar_width_mils, kBarWidthMilsMin, kBarWidthMilsMax, mils},
        {"value margin", s.val_mar, kMarginMin, kMarginMax, unit},
        {"header margin", s.hdr_mar, kMarginMin, kMarginMax, unit},
        {"footer margin", s.ftr_mar, kMarginMin, kMarginMax, unit},
        {"top and bottom margin", s.TB_mar, kMarginMin, kMarginMax, unit},
        {"left and right margin", s.LR_mar, kMarginMin, kMarginMax, unit},
        {"QR Code size", double(s.qr_size), kQrSizeMin, kQrSizeMax, points},
        {"PDF417 width", double(s.pdf_width), kPdfWidthMin, kPdfWidthMax, points},
        {"PDF417 height", double(s.pdf_height), kPdfHeightMin, kPdfHeightMax, points},
        {"Data Matrix width", double(s.dm_width), kDmSideMin, kDmSideMax, points},
        {"Data Matrix height", double(s.dm_height), kDmSideMin, kDmSideMax, points},
        {"Data Matrix module size", double(s.dm_module), kDmModuleMin, kDmModuleMax, points},
    };
    for (const Length& l : lengths) {
        // The limits are floats: compare with them as floats.
        const double v = l.value;
        const bool within = std::isfinite(v) && v >= double(float(l.min)) && v <= double(float(l.max));
        if (!within)
            return Range_Message(QString::fromLatin1(l.what), double(float(l.min)), double(float(l.max)), l.unit)
                   + QLatin1Char('.');
    }
    return {};
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
    s.USED_DPI_VALUE = DPI_For_Choice(s.dpi_choice, s.custom_dpi);
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
