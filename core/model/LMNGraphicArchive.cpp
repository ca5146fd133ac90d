#include "core/model/LMNGraphicArchive.h"

#include "core/model/BarcodeItemImage.h"
#include "core/model/KeyedArchive.h"
#include "core/model/LMNImage.h"
#include "core/model/LMNLine.h"
#include "core/model/Shape_Control.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "platform/Plist.h"

#include <QFileInfo>

#include <exception>


namespace {

// One walk over the field groups serves both directions: the writer records
// each field, the reader fills it. Keys are counted as they are attempted.
struct Writer {
    KeyedArchiver& a;
    int graphic_decode_count = 0;   // keys attempted so far
    QString graphic_decode_class;   // the class of the item written
    void rect(const char* k, QRectF& v) { ++graphic_decode_count; a.encodeRect(k, v); }
    void boolean(const char* k, bool& v) { ++graphic_decode_count; a.encodeBool(k, v); }
    void int32(const char* k, int& v) { ++graphic_decode_count; a.encodeInt32(k, v); }
    void int32Max(const char* k, int& v, int) { int32(k, v); }
    void flt(const char* k, float& v) { ++graphic_decode_count; a.encodeFloat(k, v); }
    void dbl(const char* k, double& v) { ++graphic_decode_count; a.encodeFloat(k, float(v)); }
    void string(const char* k, QString& v) { ++graphic_decode_count; a.encodeString(k, v); }
    void color(const char* k, QColor& v) { ++graphic_decode_count; a.encodeColor(k, v); }
    void font(const char* k, QFont& v) { ++graphic_decode_count; a.encodeFont(k, v); }
    void image(const char* k, PtImage& v) { ++graphic_decode_count; a.encodeImage(k, v); }
    // A barcode's picture travels as a reference: its owner can make it anew.
    void barcodeImage(const char* k, PtImage& v)
    {
        ++graphic_decode_count;
        a.encodeImage(k, v, KeyedArchiver::ImageForm::Reference);
    }
    void text(const char* k, std::unique_ptr<LMNTextStorage>& v)
    {
        ++graphic_decode_count;
        a.encodeTextStorage(k, v.get());
    }
};

struct Reader {
    KeyedUnarchiver& u;
    int graphic_decode_count = 0;   // keys attempted so far
    QString graphic_decode_class;   // the class of the item read
    bool ok = true;
    const char* failedKey = nullptr;
    template <class F>
    void step(const char* k, F f)
    {
        if (!ok)
            return;
        ++graphic_decode_count;
        if (!f()) {
            ok = false;
            failedKey = k;
        }
    }
    void rect(const char* k, QRectF& v) { step(k, [&] { return u.decodeRect(k, v); }); }
    void boolean(const char* k, bool& v) { step(k, [&] { return u.decodeBool(k, v); }); }
    void int32(const char* k, int& v) { step(k, [&] { return u.decodeInt32(k, v); }); }
    // A count above `max` is refused and leaves the field as it was.
    void int32Max(const char* k, int& v, int max)
    {
        step(k, [&] {
            int read = v;
            if (!u.decodeInt32(k, read) || read > max)
                return false;
            v = read;
            return true;
        });
    }
    void flt(const char* k, float& v) { step(k, [&] { return u.decodeFloat(k, v); }); }
    void dbl(const char* k, double& v) { step(k, [&] { return u.decodeDouble(k, v); }); }
    void string(const char* k, QString& v) { step(k, [&] { return u.decodeString(k, v); }); }
    void color(const char* k, QColor& v) { step(k, [&] { return u.decodeColor(k, v); }); }
    void font(const char* k, QFont& v) { step(k, [&] { return u.decodeFont(k, v); }); }
    void image(const char* k, PtImage& v) { step(k, [&] { return u.decodeImage(k, v); }); }
    bool barcodeImageUnresolved = false;
    void barcodeImage(const char* k, PtImage& v) { step(k, [&] { return u.decodeImage(k, v, &barcodeImageUnresolved); }); }
    void text(const char* k, std::unique_ptr<LMNTextStorage>& v) { step(k, [&] { return u.decodeTextStorage(k, v); }); }
};

bool Has_Binding_Group(LMNKind k)
{
    return k == LMNKind::Text || k == LMNKind::Image || k == LMNKind::Barcode;
}

template <class C>
void Visit_Groups(C& c, LMNGraphic& g)
{
    // Common group.
    c.rect("_bounds", g._bounds);
    c.boolean("ctrl_is_locked", g.ctrl_is_locked);
    c.boolean("_isDrawingFill", g._isDrawingFill);
    c.color("_fillColor", g._fillColor);
    c.boolean("_isDrawingStroke", g._isDrawingStroke);
    c.color("_strokeColor", g._strokeColor);
    c.dbl("_strokeWidth", g._strokeWidth);
    c.string("_stroke_border_type", g._stroke_border_type);
    c.string("_fill_type", g._fill_type);
    c.color("_fill_Grad_clr1", g._fill_Grad_clr1);
    c.color("_fill_Grad_clr2", g._fill_Grad_clr2);
    c.dbl("_fill_grad_angle", g._fill_grad_angle);
    c.color("_fill_htch_clr", g._fill_htch_clr);
    c.string("_fill_hatch_type", g._fill_hatch_type);
    c.flt("alpha_val", g.alpha_val);
    c.flt("alpha_val_stroke", g.alpha_val_stroke);
    c.int32("print_object", g.print_object);
    c.string("control_ID", g.control_ID);
    c.boolean("ctrl_is_visible", g.ctrl_is_visible);

    const LMNKind kind = g.kind();
    if (Has_Binding_Group(kind)) {
        c.int32("data_source_type", g.data_source_type);
        c.string("batch_list_name", g.batch_list_name);
        c.int32("batch_list_index", g.batch_list_index);
        c.boolean("excel_binding", g.excel_binding);
        c.int32("excel_col_indx", g.excel_col_indx);
        c.string("batch_hdr_list_name", g.batch_hdr_list_name);
        c.int32("batch_hdr_list_index", g.batch_hdr_list_index);
        c.string("batch_ftr_list_name", g.batch_ftr_list_name);
        c.int32("batch_ftr_list_index", g.batch_ftr_list_index);
    }

    switch (kind) {
    case LMNKind::Line: {
        auto& line = static_cast<LMNLine&>(g);
        c.int32("_line_ori", g._line_ori);
        c.int32("_line_cap_style", g._line_cap_style);
        c.boolean("_pointsRight", line._pointsRight);
        c.boolean("_pointsDown", line._pointsDown);
        break;
    }
    case LMNKind::Text:
        c.font("text_ctrl_font", g.text_ctrl_font);
        c.color("txt_clr", g.txt_clr);
        c.text("_Text_contents", g._Text_contents);
        c.int32("text_alignmnet_Vert", g.text_alignmnet_Vert);
        c.int32("text_alignmnet", g.text_alignmnet);
        c.int32("text_transfrom_case", g.text_transfrom_case);
        c.flt("text_kerning", g.text_kerning);
        c.string("Text_Value", g.Text_Value);
        c.boolean("Drawing_Shadow", g.Drawing_Shadow);
        c.color("Shadow_Color", g.Shadow_Color);
        c.flt("Shadow_offset_X", g.Shadow_offset_X);
        c.flt("Shadow_offset_Y", g.Shadow_offset_Y);
        c.flt("Shadow_blur", g.Shadow_blur);
        c.flt("Shadow_transparency", g.Shadow_transparency);
        c.int32("text_rotation", g.text_rotation);
        break;
    case LMNKind::Shape:
        c.string("_shape_type", g._shape_type);
        c.flt("cor_rad_val", g.cor_rad_val);
        c.int32Max("double_star_type", g.double_star_type, Shape_Max_Point_Count);
        c.int32Max("polygon_type", g.polygon_type, Shape_Max_Point_Count);
        c.int32("text_rotation", g.text_rotation);
        break;
    case LMNKind::Image:
        c.boolean("_isFlippedHorizontally", g._isFlippedHorizontally);
        c.boolean("_isFlippedVertically", g._isFlippedVertically);
        c.boolean("invert_clr", g.invert_clr);
        c.boolean("gray_Scale", g.gray_Scale);
        c.boolean("Sepia", g.Sepia);
        c.flt("img_trnsp_val", g.img_trnsp_val);
        c.flt("hue_val", g.hue_val);
        c.flt("sat_val", g.sat_val);
        c.flt("brt_val", g.brt_val);
        c.flt("con_val", g.con_val);
        c.flt("srp_val", g.srp_val);
        c.flt("ev_val", g.ev_val);
        c.flt("blr_val", g.blr_val);
        c.flt("rotate_image", g.rotate_image);
        c.string("_file_path", g._file_path);
        c.string("Text_Value", g.Text_Value);
        c.image("_contents", g._contents);
        c.image("_contents_with_settings", g._contents_with_settings);
        break;
    case LMNKind::Barcode:
        c.barcodeImage("_barcode_image", g._barcode_image);
        c.int32("linear_or_2d", g.linear_or_2d);
        c.int32("barcode_font_index", g.barcode_font_index);
        c.string("linear_font_val", g.linear_font_val);
        c.string("two_d_font_val", g.two_d_font_val);
        c.string("header_val", g.header_val);
        c.string("footer_val", g.footer_val);
        c.int32("show_hide_hdr", g.show_hide_hdr);
        c.int32("show_hide_ftr", g.show_hide_ftr);
        c.int32("show_hide_val", g.show_hide_val);
        c.int32("show_val_on_top", g.show_val_on_top);
        c.int32("align_hdr_index", g.align_hdr_index);
        c.int32("align_ftr_index", g.align_ftr_index);
        c.flt("linear_height_val", g.linear_height_val);
        c.flt("linear_width_val", g.linear_width_val);
        c.int32("qr_size_val", g.qr_size_val);
        c.int32("qr_version_index", g.qr_version_index);
        c.int32("qr_ec_index", g.qr_ec_index);
        c.int32("pdf_hgt_val", g.pdf_hgt_val);
        c.int32("pdf_wdt_val", g.pdf_wdt_val);
        c.int32("pdf_ec_val", g.pdf_ec_val);
        c.int32("dm_module_val", g.dm_module_val);
        c.int32("dm_format_index", g.dm_format_index);
        c.int32("dm_encoding_index", g.dm_encoding_index);
        c.flt("hdr_margin_val", g.hdr_margin_val);
        c.flt("ftr_margin_val", g.ftr_margin_val);
        c.flt("val_margin_val", g.val_margin_val);
        c.flt("TB_marging_val", g.TB_marging_val);
        c.flt("LR_margin_val", g.LR_margin_val);
        c.font("value_font_val", g.value_font_val);
        c.font("header_font_val", g.header_font_val);
        c.font("footer_font_val", g.footer_font_val);
        c.color("barcode_hdr_clr_val", g.barcode_hdr_clr_val);
        c.color("barcode_ftr_clr_val", g.barcode_ftr_clr_val);
        c.color("barcode_val_clr_val", g.barcode_val_clr_val);
        c.color("barcode_back_clr_val", g.barcode_back_clr_val);
        c.color("barcode_clr_val", g.barcode_clr_val);
        c.int32("dpi_val_index", g.dpi_val_index);
        c.string("dpi_custom_val", g.dpi_custom_val);
        c.int32("barcode_unit_val", g.barcode_unit_val);
        break;
    case LMNKind::Signature:
        c.string("sign_or_fingureprint", g.sign_or_fingureprint);
        c.string("_file_path", g._file_path);
        c.image("_contents", g._contents);
        break;
    case LMNKind::Graphic:
        break;
    }
}

} // namespace

QByteArray LMNGraphic::encodeWithCoder() const
{
    KeyedArchiver archiver(className());
    Writer w{archiver, 0, className()};
    try {
        // The writer only reads the fields; the walk is shared with the reader.
        Visit_Groups(w, const_cast<LMNGraphic&>(*this));
    } catch (const std::exception& e) {
        // The archive keeps the keys written before the failure.
        Show_NSLog_Message(QStringLiteral("NSException in ENCODEING:\n\n %1 - \n%2\n\n%3 - %4")
                               .arg(w.graphic_decode_count)
                               .arg(QString::fromUtf8(e.what()), _file_path, w.graphic_decode_class));
    }
    return archiver.finish();
}

std::unique_ptr<LMNGraphic> LMNGraphic::initWithCoder(const QByteArray& archive, QString* error)
{
    KeyedUnarchiver u;
    if (!u.open(archive, error))
        return nullptr;
    std::unique_ptr<LMNGraphic> item = newBlankOfClass(u.className());
    if (!item) {
        if (error)
            *error = QStringLiteral("unknown item kind \"%1\"").arg(u.className());
        return nullptr;
    }
    Reader r{u, 0, u.className()};
    Visit_Groups(r, *item);
    if (!r.ok) {
        // A damaged value ends the reading there: the item keeps what was
        // read before it, and a picture shows its own picture with the
        // settings read so far.
        if (error)
            *error = QStringLiteral("wrong value for key \"%1\"").arg(QString::fromLatin1(r.failedKey));
        if (item->kind() == LMNKind::Image && App_Services().Main_App_wnd && !item->_contents.isNull()) {
            const QImage adjusted = App_Services().Main_App_wnd->Get_Image_With_Update_Settings(item.get());
            item->_contents_with_settings =
                adjusted.isNull() ? item->_contents : PtImage(adjusted, item->_contents.size());
        }
    }
    // A barcode picture this process does not hold is made again from the
    // item's settings and texts.
    if (r.barcodeImageUnresolved)
        item->_barcode_image = Barcode_Item_Image(*item);
    return item;
}

QStringList Item_Archive_Keys(const QByteArray& archive)
{
    KeyedUnarchiver u;
    if (!u.open(archive))
        return {};
    return u.keys();
}

QList<QByteArray> LMNGraphic::propertiesWithGraphics(const QList<LMNGraphic*>& graphics)
{
    QList<QByteArray> out;
    out.reserve(graphics.size());
    for (const LMNGraphic* g : graphics)
        out.append(g->encodeWithCoder());
    return out;
}

QByteArray LMNGraphic::pasteboardDataWithGraphics(const QList<LMNGraphic*>& graphics)
{
    QVariantList list;
    list.reserve(graphics.size());
    for (const QByteArray& a : propertiesWithGraphics(graphics))
        list.append(a);
    return Plist_Serialize(list, PlistFormat::Binary);
}

QList<LMNGraphicPtr> LMNGraphic::graphicsWithProperties(const QList<QByteArray>& archives, int* skipped)
{
    QList<LMNGraphicPtr> items;
    items.reserve(archives.size());
    int missed = 0;
    for (const QByteArray& a : archives) {
        std::unique_ptr<LMNGraphic> item = initWithCoder(a);
        if (!item) {
            // No item at all (not an archive, or a kind we do not know):
            // the others are pasted all the same.
            ++missed;
            continue;
        }
        item->control_ID = QStringLiteral("");
        item->ctrl_is_locked = false;
        if (item->kind() == LMNKind::Image && QFileInfo(item->_file_path).isFile())
            static_cast<LMNImage*>(item.get())->setFilePath(item->_file_path);
        items.append(LMNGraphicPtr(std::move(item)));
    }
    if (skipped)
        *skipped = missed;
    return items;
}

QList<LMNGraphicPtr> LMNGraphic::graphicsWithPasteboardData(const QByteArray& data, LMNError* error, int* skipped)
{
    if (skipped)
        *skipped = 0;
    const std::optional<QVariant> root = Plist_Parse(data);
    if (!root || root->typeId() != QMetaType::QVariantList) {
        if (error)
            *error = LMNErrorWithCode(2);
        return {};
    }
    const QVariantList list = root->toList();
    QList<QByteArray> archives;
    archives.reserve(list.size());
    int notData = 0;
    for (const QVariant& v : list) {
        if (v.typeId() == QMetaType::QByteArray)
            archives.append(v.toByteArray());
        else
            ++notData;
    }
    QList<LMNGraphicPtr> items = graphicsWithProperties(archives, skipped);
    if (skipped)
        *skipped += notData;
    return items;
}
