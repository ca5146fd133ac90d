#include "core/model/BarcodeItemImage.h"

#include "core/model/LMNGraphic.h"
#include "core/util/SharedServices.h"

#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <cmath>

namespace {

float Within(float v, float lo, float hi, float fallback)
{
    return std::isfinite(v) ? std::clamp(v, lo, hi) : fallback;
}

QFont Font_Within(QFont f, const QFont& fallback)
{
    const double size = f.pointSizeF();
    if (!(size > 0))
        return fallback;
    if (size > 400)
        f.setPointSizeF(400);
    return f;
}

QColor Color_Or(const QColor& c, const QColor& fallback) { return c.isValid() ? c : fallback; }

} // namespace

BarcodeSettings Barcode_Settings_Of_Item(const LMNGraphic& g, const QStringList& typeNames)
{
    BarcodeSettings s;
    const BarcodeSettings defaults;
    // The type name at the item's position of the popup; the item's own
    // linear / 2D flag goes with it.
    s.barcodeType = typeNames.value(g.barcode_font_index);
    s.liner_or_2D_font = g.linear_or_2d != 0 ? 1 : 0;
    s.dataText = g.linear_font_val;
    s.dataText_2D = g.two_d_font_val;
    s.HeaderText = g.header_val;
    s.FooterText = g.footer_val;
    s.hide_header = g.show_hide_hdr != 0;
    s.hide_footer = g.show_hide_ftr != 0;
    s.hide_value = g.show_hide_val != 0;
    s.showinTop = g.show_val_on_top != 0 ? 1 : 0;
    s.fill_transparent = g._isDrawingFill;
    static const QStringList alignments{QStringLiteral("Left"), QStringLiteral("Center"), QStringLiteral("Right")};
    s.align_hdr = alignments.value(g.align_hdr_index, QStringLiteral("Center"));
    s.align_ftr = alignments.value(g.align_ftr_index, QStringLiteral("Center"));
    // The dialog's linear pane enables every linear control; kerning is not
    // stored per item.
    s.caption_check_enabled = true;
    s.bar_width_enabled = true;
    s.bar_height_enabled = true;
    s.kerning_value = 0;

    // The dialog loads an item's sizes in millimetres.
    s.unit = 2;
    s.bar_height = Within(g.linear_height_val, 0.1f, 100.0f, defaults.bar_height);
    s.bar_width_mils = Within(g.linear_width_val, 5.0f, 200.0f, defaults.bar_width_mils);
    s.val_mar = Within(g.val_margin_val, 0.0f, 20.0f, 0.0f);
    s.hdr_mar = Within(g.hdr_margin_val, 0.0f, 20.0f, 0.0f);
    s.ftr_mar = Within(g.ftr_margin_val, 0.0f, 20.0f, 0.0f);
    s.TB_mar = Within(g.TB_marging_val, 0.0f, 20.0f, 0.0f);
    s.LR_mar = Within(g.LR_margin_val, 0.0f, 20.0f, 0.0f);

    s.qr_size = std::clamp(g.qr_size_val, 21, 2000);
    s.QR_Version_Val = std::clamp(g.qr_version_index, 0, 40);
    s.QR_EC_Level_Val = std::clamp(g.qr_ec_index, 0, 3);
    s.pdf_height = std::clamp(g.pdf_hgt_val, 5, 1000);
    s.pdf_width = std::clamp(g.pdf_wdt_val, 20, 2000);
    s.pdf_ec_level = std::clamp(g.pdf_ec_val, 0, 8);
    // The module sizes the Data Matrix control takes (a larger one was drawn
    // at the largest of them).
    s.dm_module = std::clamp(g.dm_module_val, 1, 20);
    s.dm_format = std::clamp(g.dm_format_index, 0, 30);
    s.dm_encoding = std::clamp(g.dm_encoding_index, 0, 4);
    s.dm_frame_border = false;

    s.value_font = Font_Within(g.value_font_val, defaults.value_font);
    s.header_font = Font_Within(g.header_font_val, defaults.header_font);
    s.footer_font = Font_Within(g.footer_font_val, defaults.footer_font);
    s.bar_hdr_clr = Color_Or(g.barcode_hdr_clr_val, defaults.bar_hdr_clr);
    s.bar_ftr_clr = Color_Or(g.barcode_ftr_clr_val, defaults.bar_ftr_clr);
    s.bar_val_clr = Color_Or(g.barcode_val_clr_val, defaults.bar_val_clr);
    s.bar_back_clr = Color_Or(g.barcode_back_clr_val, defaults.bar_back_clr);
    s.barcode_clr = Color_Or(g.barcode_clr_val, defaults.barcode_clr);

    s.dpi_choice = std::max(0, g.dpi_val_index);
    bool ok = false;
    const int custom = g.dpi_custom_val.trimmed().toInt(&ok);
    s.custom_dpi = ok ? std::clamp(custom, 72, 2400) : defaults.custom_dpi;
    s.Type_draw_2d_flag = false;
    return s;
}

void Install_Barcode_Item_Road(Barcode_Item_Road road, const QStringList& typeNames)
{
    Change_Shared_Services([&](Shared_Services& s) {
        s.barcodeItemRoad = std::move(road);
        s.barcodeTypeNames = typeNames;
    });
}

PtImage Barcode_Item_Image(const LMNGraphic& item)
{
    const Shared_Services services = Current_Shared_Services();
    if (!services.barcodeItemRoad)
        return {};
    const BarcodeSettings s = Barcode_Settings_Of_Item(item, services.barcodeTypeNames);
    return services.barcodeItemRoad(s, s.typedValue(), s.HeaderText, s.FooterText);
}
