#include "barcode/generation/BarcodeRoad.h"

#include "barcode/engines/SymbologyTable.h"
#include "barcode/engines/linear/ZBBarcode.h"
#include "barcode/engines/view/BarcodeImage.h"
#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/generation/BarcodeSettingsOwner.h"
#include "barcode/generation/TwoDSymbols.h"
#include "core/util/MessageBoxes.h"

#include <exception>

const QString invalid_barcode_msg = QStringLiteral("Invalid barcode value or value is too long.");

namespace {

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

// The symbol image of a 2D symbology; null when none is drawn.
PtImage Draw_2D_Symbol(const Symbology* sym, const BarcodeSettings& s, const QString& V,
                       QString* reason, QString* diagnostics)
{
    if (!sym)
        return {};
    switch (sym->id) {
    case SymbologyId::QRCode: return Draw_QR_Barcode(V, s, reason);
    case SymbologyId::PDF417: return Draw_PDF_417_Barcode(V, s, reason);
    case SymbologyId::DataMatrix: return Draw_DataMatrix_Barcode(V, s, diagnostics, reason);
    default: return {};
    }
}

} // namespace

void Set_Barcode_Type(BarcodeSettings& s, const QString& name)
{
    s.barcodeType = name;
    if (const Symbology* sym = Find_Symbology(name))
        s.liner_or_2D_font = sym->isTwoD() ? 1 : 0;
}

bool Is_TwoD_Branch(const BarcodeSettings& s)
{
    if (const Symbology* sym = Find_Symbology(s.barcodeType))
        return sym->isTwoD();
    return s.liner_or_2D_font != 0;
}

bool Get_Print_State(const BarcodeSettings& s)
{
    if (!s.caption_check_enabled)
        return false;
    return !s.hide_value;
}

QString Invalid_Value_Reason(const BarcodeSettings& s, const QString& value)
{
    if (value.isEmpty())
        return QStringLiteral("The value is empty.");
    const Symbology* sym = Find_Symbology(s.barcodeType);
    if (!sym)
        return QStringLiteral("\"%1\" is not a barcode type.").arg(s.barcodeType);
    if (!sym->isTwoD()) {
        // The engine names what is wrong with the value: the characters, the
        // length, a check digit, the rules of its symbology.
        const QString why = Linear_Invalid_Reason(sym->id, value);
        return why.isEmpty() ? QString::fromLatin1(sym->accepts) : why;
    }
    QString refused;
    for (QChar c : value) {
        if (sym->allows(c) || refused.contains(c))
            continue;
        refused += c;
        if (refused.size() >= 12)
            break;
    }
    if (!refused.isEmpty()) {
        QStringList shown;
        for (QChar c : refused) {
            if (c.unicode() < 32 || c.unicode() == 127)
                shown << QStringLiteral("U+%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toUpper();
            else if (c == QLatin1Char(' '))
                shown << QStringLiteral("space");
            else
                shown << QString(c);
        }
        return QStringLiteral("These characters cannot be encoded: %1. %2")
            .arg(shown.join(QStringLiteral(" ")), QString::fromLatin1(sym->accepts));
    }
    return QString::fromLatin1(sym->accepts);
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

PtImage Frame_2D(BarcodeSettings& s, const PtImage& image_2d, const QString& V, const QString& H,
                 const QString& F)
{
    if (image_2d.isNull())
        return {};
    Fill_2D_Settings(s, V, H, F, Get_Print_State(s));
    Set_2d_Barcode_Height(s, image_2d.size());
    Set_2d_Barcode_Width(s, image_2d.size());
    return imageFromBarcodeImage(image_2d, s);
}

BarcodeMakeResult Make_Barcode(const BarcodeSettings& settings, const QString& value,
                               const QString& header, const QString& footer, bool recordImage)
{
    BarcodeMakeResult r;
    r.settings = settings;
    BarcodeSettings& s = r.settings;
    // Settings come from the panes, from files and from callers of the road
    // alike: a length the panes would not take gives no barcode, with the
    // panes' message, before any size is computed from it.
    r.reason = Length_Out_Of_Range(s);
    if (!r.reason.isEmpty())
        return r;
    if (value.isEmpty()) {
        r.reason = Invalid_Value_Reason(s, value);
        return r;
    }
    try {
        const Symbology* sym = Find_Symbology(s.barcodeType);
        const bool P = Get_Print_State(s);
        if (Is_TwoD_Branch(s)) {
            s.liner_or_2D_font = 1;
            if (!sym && !Is_Accepted_2D_Title(s.barcodeType)) {
                r.reason = Invalid_Value_Reason(s, value);
                return r;
            }
            Fill_2D_Settings(s, value, header, footer, P);
            r.image_2d = Draw_2D_Symbol(sym, s, value, &r.reason, &r.diagnostics);
            if (!r.image_2d.isNull()) {
                r.image = Frame_2D(s, r.image_2d, value, header, footer);
                if (!r.image.isNull())
                    r.drawing = std::make_shared<const ZBBarcodeOffscreenView>(
                        ZBBarcodeOffscreenView::initWithBarcodeImage(r.image_2d, s));
            }
            if (r.image.isNull() && r.reason.isEmpty())
                r.reason = sym ? QStringLiteral("No symbol could be drawn for this value.")
                               : QStringLiteral("\"%1\" draws no symbol.").arg(s.barcodeType);
            return r;
        }
        s.liner_or_2D_font = 0;
        Convert_Margins(s);  // callers read the margins in points even without a symbol
        std::shared_ptr<ZBBarcode> b;
        if (sym)
            b = Make_Linear_Barcode(sym->id, value, P);
        if (!b || !b->isContentValid()) {
            r.reason = Invalid_Value_Reason(s, value);
            return r;
        }
        Lay_Out_Linear_Symbol(s, *b, header, footer, P);
        r.barcode = b;
        r.note = b->contentNote();
        auto view = std::make_shared<const ZBBarcodeOffscreenView>(ZBBarcodeOffscreenView::initWithBarcode(*b, s));
        if (view->bounds().isEmpty()) {
            r.reason = QStringLiteral("The symbol has no size.");
            return r;
        }
        r.drawing = view;
        if (recordImage)
            r.image = Image_Of_View(*view);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromLocal8Bit(e.what()));
        r.image = PtImage();
        r.drawing.reset();
        r.barcode.reset();
        r.reason = QString::fromLocal8Bit(e.what());
    }
    return r;
}

PtImage Make_Barcode_Image(const BarcodeSettings& settings, const QString& value,
                           const QString& header, const QString& footer)
{
    return Make_Barcode(settings, value, header, footer).image;
}
