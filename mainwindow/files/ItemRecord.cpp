#include "mainwindow/files/ItemRecord.h"

#include "barcode/engines/SymbologyTable.h"
#include "core/model/LMNBarcode.h"
#include "core/model/LMNGraphic.h"
#include "core/model/LMNImage.h"
#include "core/model/LMNLine.h"
#include "core/model/LMNSignature.h"
#include "core/model/LMNText.h"
#include "core/model/Shape_Control.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"

#include <QBuffer>
#include <QDataStream>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr qint64 kIntMin = std::numeric_limits<qint32>::min();
constexpr qint64 kIntMax = std::numeric_limits<qint32>::max();
// Plain reals of items (opacities, filters, margins, shadows, kerning).
constexpr double kRealLimit = 1.0e6;
// Largest picture a record may carry, in pixels.
constexpr qint64 kMaxPicturePixels = 100'000'000;

QString codeOfKind(LMNKind kind)
{
    switch (kind) {
    case LMNKind::Line: return QStringLiteral("L");
    case LMNKind::Text: return QStringLiteral("T");
    case LMNKind::Shape: return QStringLiteral("D");
    case LMNKind::Image: return QStringLiteral("I");
    case LMNKind::Barcode: return QStringLiteral("B");
    case LMNKind::Signature: return QStringLiteral("S");
    case LMNKind::Graphic: break;
    }
    return QString("");
}

bool hasBinding(LMNKind kind)
{
    return kind == LMNKind::Text || kind == LMNKind::Image || kind == LMNKind::Barcode;
}

// ---- Writing ----
struct Writer {
    QVariantList r;
    void text(const QString& v) { r << QVariant(v.isNull() ? QString("") : v); }
    void flag(bool v) { r << Flag_Text(v); }
    void integer(qint64 v) { r << Int_Text(v); }
    void real(double v) { r << Real_Text(v); }
    void colour(const QColor& c) { r << Convert_Color_to_String(c); }
    void font(const QFont& f) { r << Convert_Font_to_String(f); }
};

// ---- Reading ----
struct Reader {
    const QVariantList& r;
    int i = 0;
    bool more() const { return i < r.size(); }
    QString next(const char* what)
    {
        if (i >= r.size())
            throw File_Format_Error(QStringLiteral("the item record ends before %1").arg(QLatin1String(what)));
        return Element_String(r.at(i++), what);
    }
    QString text(const char* what) { return next(what); }
    bool flag(const char* what) { return Read_Flag(next(what)); }
    int integer(const char* what, qint64 lo = kIntMin, qint64 hi = kIntMax)
    {
        return int(Read_Int(next(what), lo, hi, what));
    }
    float real(const char* what, double lo = -kRealLimit, double hi = kRealLimit)
    {
        return float(Read_Real(next(what), lo, hi, what));
    }
    QColor colour(const char* what) { return Convert_String_to_Color(next(what)); }
    QFont font(const char* what) { return Convert_String_to_Font(next(what)); }
    QRectF rect(const char* what) { return Read_Rect(next(what), Record_Max_Extent, what); }
    QByteArray data(const char* what)
    {
        if (i >= r.size())
            throw File_Format_Error(QStringLiteral("the item record ends before %1").arg(QLatin1String(what)));
        const QVariant& v = r.at(i++);
        if (v.typeId() != QMetaType::QByteArray)
            throw File_Format_Error(QStringLiteral("%1: picture data was expected").arg(QLatin1String(what)));
        return v.toByteArray();
    }
};

// What LMNImage::setFilePath does, with the decoded picture shared between
// the items of one read that show the same file.
void Give_Picture(LMNImage& item, const QString& path, QHash<QString, PtImage>* cache)
{
    if (!cache) {
        item.setFilePath(path);
        return;
    }
    const QString resolved = Rebase_Picture_Path(path);
    auto it = cache->find(resolved);
    if (it == cache->end()) {
        // Only a plain file is read: a path in a file from elsewhere may name
        // a pipe or a device, which would never end.
        const bool plain = QFileInfo(resolved).isFile();
        it = cache->insert(resolved, plain ? Load_Picture_Preview(resolved) : PtImage());
    }
    item.Set_Control_File_path(resolved);
    item._contents = it.value();
    item._contents_with_settings = it.value();
    if (!it.value().isNull()) {
        const QImage adjusted = Filtered_Picture(item);
        if (!adjusted.isNull())
            item._contents_with_settings = PtImage(adjusted, it.value().size());
    }
}

} // namespace

// ---------------------------------------------------------------- barcode picture

// Barcode pictures have few colours: with at most 256 the pixels are stored
// with a palette (one bit a pixel for two colours), which is small and fast
// to write and read. Other pictures keep all their colours.
static QImage Palette_Form(const QImage& source)
{
    const bool premultiplied = source.format() == QImage::Format_ARGB32_Premultiplied;
    const QImage argb = premultiplied || source.format() == QImage::Format_ARGB32
                            || source.format() == QImage::Format_RGB32
                        ? source
                        : source.convertToFormat(QImage::Format_ARGB32);
    const int width = argb.width(), height = argb.height();
    const auto colour = [premultiplied](QRgb px) { return premultiplied ? qUnpremultiply(px) : px; };
    const auto finish = [&source](QImage img) {
        img.setDotsPerMeterX(source.dotsPerMeterX());
        img.setDotsPerMeterY(source.dotsPerMeterY());
        return img;
    };

    // Two colours at most: one pass straight into one-bit rows.
    {
        QImage mono(width, height, QImage::Format_Mono);
        if (mono.isNull())
            return {};
        const QRgb c0 = reinterpret_cast<const QRgb*>(argb.constScanLine(0))[0];
        QRgb c1 = c0;
        bool second = false, fits = true;
        for (int y = 0; y < height && fits; ++y) {
            const QRgb* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
            uchar* out = mono.scanLine(y);
            for (int x = 0; x < width; x += 8) {
                uchar bits = 0;
                const int end = std::min(width, x + 8);
                for (int k = x; k < end; ++k) {
                    const QRgb px = in[k];
                    if (px == c0)
                        continue;
                    if (!second) {
                        c1 = px;
                        second = true;
                    } else if (px != c1) {
                        fits = false;
                        break;
                    }
                    bits |= uchar(0x80 >> (k - x));
                }
                if (!fits)
                    break;
                out[x >> 3] = bits;
            }
        }
        if (fits) {
            mono.setColorTable({colour(c0), colour(c1)});
            return finish(mono);
        }
    }

    // Up to 256 colours: a palette of bytes.
    QList<QRgb> table;
    QRgb last = 0;
    int lastIndex = -1;
    QImage indexed(width, height, QImage::Format_Indexed8);
    if (indexed.isNull())
        return {};
    for (int y = 0; y < height; ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        uchar* out = indexed.scanLine(y);
        for (int x = 0; x < width; ++x) {
            const QRgb px = in[x];
            if (lastIndex < 0 || px != last) {
                lastIndex = int(table.indexOf(px));
                if (lastIndex < 0) {
                    if (table.size() == 256)
                        return {};
                    table << px;
                    lastIndex = int(table.size() - 1);
                }
                last = px;
            }
            out[x] = uchar(lastIndex);
        }
    }
    for (QRgb& c : table)
        c = colour(c);
    indexed.setColorTable(table);
    return finish(indexed);
}

// A palette picture as premultiplied ARGB pixels (Qt's own conversion of
// one-bit pictures takes several times longer).
static QImage Expanded(const QImage& img)
{
    if (img.format() != QImage::Format_Mono && img.format() != QImage::Format_Indexed8)
        return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QList<QRgb> table = img.colorTable();
    if (table.isEmpty())
        return img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (QRgb& c : table)
        c = qPremultiply(c);
    while (table.size() < 256)
        table << table.last();
    QImage out(img.size(), QImage::Format_ARGB32_Premultiplied);
    if (out.isNull())
        return {};
    const int width = img.width(), height = img.height();
    const bool mono = img.format() == QImage::Format_Mono;
    const QRgb* t = table.constData();
    for (int y = 0; y < height; ++y) {
        const uchar* in = img.constScanLine(y);
        QRgb* px = reinterpret_cast<QRgb*>(out.scanLine(y));
        if (mono) {
            const QRgb c0 = t[0], c1 = t[1];
            int x = 0;
            for (; x + 8 <= width; x += 8) {
                const uchar b = in[x >> 3];
                if (b == 0x00 || b == 0xff) {
                    std::fill_n(px + x, 8, b ? c1 : c0);
                    continue;
                }
                for (int k = 0; k < 8; ++k)
                    px[x + k] = (b & (0x80 >> k)) ? c1 : c0;
            }
            for (; x < width; ++x)
                px[x] = (in[x >> 3] >> (7 - (x & 7))) & 1 ? c1 : c0;
        } else {
            for (int x = 0; x < width; ++x)
                px[x] = t[in[x]];
        }
    }
    out.setDotsPerMeterX(img.dotsPerMeterX());
    out.setDotsPerMeterY(img.dotsPerMeterY());
    return out;
}

QByteArray Barcode_Picture_To_Data(const PtImage& image)
{
    QByteArray out("ZLPI");
    out.append(char(Barcode_Picture_Form));
    QByteArray payload;
    quint8 kind = 0;
    // A vector drawing is not stored: drawing commands from a file are never
    // played back (a crafted one could do anything), and the barcode is drawn
    // again from the record's own settings when it is read.
    if (!image.isNull() && !image.isVector()) {
        {
            QBuffer buf(&payload);
            buf.open(QIODevice::WriteOnly);
            QImageWriter w(&buf, "png");
            const QImage few = Palette_Form(image.raster());
            if (few.isNull())
                w.setQuality(50);   // a quick deflate for a picture of many colours
            if (w.write(few.isNull() ? image.raster() : few))
                kind = 1;
            else
                payload.clear();
        }
    }
    out.append(char(kind));
    QDataStream ds(&out, QIODevice::Append);
    ds.setByteOrder(QDataStream::LittleEndian);
    ds.setFloatingPointPrecision(QDataStream::DoublePrecision);
    ds << double(kind ? image.size().width() : 0.0) << double(kind ? image.size().height() : 0.0);
    ds << quint32(payload.size());
    out.append(payload);
    return out;
}

PtImage Barcode_Picture_From_Data(const QByteArray& data, int* version)
{
    const auto bad = [](const char* why) {
        throw File_Format_Error(QStringLiteral("barcode picture: %1").arg(QLatin1String(why)));
    };
    constexpr int header = 4 + 1 + 1 + 8 + 8 + 4;
    if (data.size() < header || !data.startsWith("ZLPI"))
        bad("not a picture");
    const quint8 form = quint8(data.at(4));
    if (form != 1 && form != Barcode_Picture_Form)
        bad("unknown version");
    if (version)
        *version = form;
    const quint8 kind = quint8(data.at(5));
    QDataStream ds(data.mid(6, 20));
    ds.setByteOrder(QDataStream::LittleEndian);
    ds.setFloatingPointPrecision(QDataStream::DoublePrecision);
    double w = 0, h = 0;
    quint32 n = 0;
    ds >> w >> h >> n;
    if (ds.status() != QDataStream::Ok || qint64(n) != qint64(data.size()) - header)
        bad("damaged length");
    if (kind == 0) {
        if (n != 0 || w != 0 || h != 0)
            bad("damaged empty picture");
        return PtImage();
    }
    if (!std::isfinite(w) || !std::isfinite(h) || w <= 0 || h <= 0 || w > Record_Max_Extent
        || h > Record_Max_Extent)
        bad("size out of range");
    const QByteArray payload = data.mid(header);
    if (kind == 1) {
        QBuffer buf;
        buf.setData(payload);
        buf.open(QIODevice::ReadOnly);
        QImageReader reader(&buf, "png");
        const QSize px = reader.size();
        if (!px.isValid() || px.isEmpty() || qint64(px.width()) * px.height() > kMaxPicturePixels)
            bad("pixel size out of range");
        QImage img;
        if (!reader.read(&img) || img.isNull())
            bad("the pixels cannot be read");
        // Pictures are drawn from the form the barcode code makes them in.
        img = Expanded(img);
        return PtImage(img, QSizeF(w, h));
    }
    bad("unknown kind");
    return PtImage();
}

// ---------------------------------------------------------------- writer

namespace {

// The fields of a text item, in record order.
void Write_Text_Fields(Writer& w, const LMNGraphic& g)
{
    w.font(g.text_ctrl_font);
    w.colour(g.txt_clr);
    w.integer(g.text_alignmnet_Vert);
    w.integer(g.text_alignmnet);
    w.integer(g.text_transfrom_case);
    w.real(g.text_kerning);
    w.text(g.Text_Value);
    w.flag(g.Drawing_Shadow);
    w.colour(g.Shadow_Color);
    w.real(g.Shadow_offset_X);
    w.real(g.Shadow_offset_Y);
    w.real(g.Shadow_blur);
    w.real(g.Shadow_transparency);
    w.integer(g.text_rotation);
}

// The fields of a barcode item after its picture, in record order.
void Write_Barcode_Fields(Writer& w, const LMNGraphic& g)
{
    w.integer(g.linear_or_2d);
    w.integer(g.barcode_font_index);
    w.text(g.linear_font_val);
    w.text(g.two_d_font_val);
    w.text(g.header_val);
    w.text(g.footer_val);
    w.integer(g.show_hide_hdr);
    w.integer(g.show_hide_ftr);
    w.integer(g.show_hide_val);
    w.integer(g.show_val_on_top);
    w.integer(g.align_hdr_index);
    w.integer(g.align_ftr_index);
    w.real(g.linear_height_val);
    w.real(g.linear_width_val);
    w.integer(g.qr_size_val);
    w.integer(g.qr_version_index);
    w.integer(g.qr_ec_index);
    w.integer(g.pdf_hgt_val);
    w.integer(g.pdf_wdt_val);
    w.integer(g.pdf_ec_val);
    w.integer(g.dm_module_val);
    w.integer(g.dm_format_index);
    w.integer(g.dm_encoding_index);
    w.real(g.hdr_margin_val);
    w.real(g.ftr_margin_val);
    w.real(g.val_margin_val);
    w.real(g.TB_marging_val);
    w.real(g.LR_margin_val);
    w.font(g.value_font_val);
    w.font(g.header_font_val);
    w.font(g.footer_font_val);
    w.colour(g.barcode_hdr_clr_val);
    w.colour(g.barcode_ftr_clr_val);
    w.colour(g.barcode_val_clr_val);
    w.colour(g.barcode_back_clr_val);
    w.colour(g.barcode_clr_val);
    w.integer(g.dpi_val_index);
    w.text(g.dpi_custom_val);
    w.integer(g.barcode_unit_val);
}

} // namespace

QVariantList Get_Control_Prop_To_Array(const LMNGraphic& g, Record_Pictures pictures)
{
    Writer w;
    const LMNKind kind = g.kind();
    w.text(codeOfKind(kind));
    w.r << Rect_Text(g._bounds);
    w.flag(g.ctrl_is_locked);
    w.flag(g._isDrawingFill);
    w.colour(g._fillColor);
    w.flag(g._isDrawingStroke);
    w.colour(g._strokeColor);
    w.real(g._strokeWidth);
    w.text(g._stroke_border_type);
    w.text(g._fill_type);
    w.colour(g._fill_Grad_clr1);
    w.colour(g._fill_Grad_clr2);
    w.real(g._fill_grad_angle);
    w.colour(g._fill_htch_clr);
    w.text(g._fill_hatch_type);
    w.real(g.alpha_val);
    w.real(g.alpha_val_stroke);
    w.flag(g.print_object != 0);
    w.text(g.control_ID);
    w.flag(g.ctrl_is_visible);

    if (hasBinding(kind)) {
        w.integer(g.data_source_type);
        w.text(g.batch_list_name);
        w.integer(g.batch_list_index);
        w.flag(g.excel_binding);
        w.integer(g.excel_col_indx);
        w.text(g.batch_hdr_list_name);
        w.integer(g.batch_hdr_list_index);
        w.text(g.batch_ftr_list_name);
        w.integer(g.batch_ftr_list_index);
    }

    switch (kind) {
    case LMNKind::Line: {
        const auto& line = static_cast<const LMNLine&>(g);
        w.integer(g._line_ori);
        w.integer(g._line_cap_style);
        w.flag(line._pointsRight);
        w.flag(line._pointsDown);
        break;
    }
    case LMNKind::Shape:
        w.text(g._shape_type);
        w.real(g.cor_rad_val);
        w.integer(g.double_star_type);
        w.integer(g.polygon_type);
        w.integer(g.text_rotation);
        break;
    case LMNKind::Signature:
        w.text(g.sign_or_fingureprint);
        // Without a path, the sample picture of the item's own kind (a
        // fingerprint keeps showing a fingerprint).
        w.text(Picture_Path_To_Store(g._file_path.isEmpty() ? LMNSignature::Sample_Path(g.sign_or_fingureprint)
                                                             : g._file_path));
        break;
    case LMNKind::Text:
        Write_Text_Fields(w, g);
        break;
    case LMNKind::Image: {
        w.flag(g._isFlippedHorizontally);
        w.flag(g._isFlippedVertically);
        w.flag(g.invert_clr);
        w.flag(g.gray_Scale);
        w.flag(g.Sepia);
        w.real(g.img_trnsp_val);
        w.real(g.hue_val);
        w.real(g.sat_val);
        w.real(g.brt_val);
        w.real(g.con_val);
        w.real(g.srp_val);
        w.real(g.ev_val);
        w.real(g.blr_val);
        w.real(g.rotate_image);
        // A shipped picture is stored relative to the resource folder. The
        // value of an unbound picture is its path ("Text here", the value of a
        // new item, reads as the path too, so it is written as the path).
        const QString path = Picture_Path_To_Store(g._file_path);
        w.text(path);
        const bool isPath = g.Text_Value == g._file_path || g.Text_Value == QLatin1String("Text here");
        w.text(isPath ? path : g.Text_Value);
        break;
    }
    case LMNKind::Barcode:
        w.r << (pictures == Record_Pictures::Included ? Barcode_Picture_To_Data(g._barcode_image) : QByteArray());
        Write_Barcode_Fields(w, g);
        break;
    case LMNKind::Graphic:
        break;
    }
    return w.r;
}

void Clear_Record_Binding(QVariantList& record)
{
    if (record.isEmpty() || record.size() < 29)
        return;
    const QString code = record.at(0).toString();
    if (code != QLatin1String("T") && code != QLatin1String("I") && code != QLatin1String("B"))
        return;
    record[20] = QStringLiteral("0");
    record[21] = QString("");
    record[22] = QStringLiteral("-1");
    record[23] = Flag_Text(false);
    record[24] = QStringLiteral("-1");
    record[25] = QString("");
    record[26] = QStringLiteral("-1");
    record[27] = QString("");
    record[28] = QStringLiteral("-1");
}

// ---------------------------------------------------------------- reader

namespace {

QString kindName(LMNKind kind)
{
    switch (kind) {
    case LMNKind::Line: return QStringLiteral("line");
    case LMNKind::Text: return QStringLiteral("text");
    case LMNKind::Shape: return QStringLiteral("shape");
    case LMNKind::Image: return QStringLiteral("picture");
    case LMNKind::Barcode: return QStringLiteral("barcode");
    case LMNKind::Signature: return QStringLiteral("signature");
    case LMNKind::Graphic: break;
    }
    return QStringLiteral("item");
}

// What the reading of one record found on the way.
struct Record_State {
    bool pathRead = false;           // a picture's path was taken
    QString path;
    bool valueRead = false;          // a picture's value was taken (or the record ended after the path)
    QString value;
    PtImage barcodePicture;
    int pictureVersion = 0;          // 0: no picture element of ours (the type index is in today's order)
    QString pictureProblem;
};

// The fields of a barcode item, its picture first, in record order.
void Read_Barcode_Fields(Reader& in, LMNGraphic& g, Record_State& st)
{
    // A picture this program cannot read (another program's form, or
    // damaged) is drawn again from the record's settings.
    if (!in.more())
        in.data("barcode picture");   // the record ends here
    try {
        st.barcodePicture = Barcode_Picture_From_Data(in.data("barcode picture"), &st.pictureVersion);
    } catch (const File_Format_Error& err) {
        st.pictureProblem = err.reason();
        st.pictureVersion = 0;
    }
    g.linear_or_2d = in.integer("linear or 2D", 0, 1);
    const int maxType = int(Symbology_Table().size()) - 1;
    const int type = in.integer("symbology", 0, maxType);
    // Records written by earlier builds of this program (picture form 1)
    // count the types in the former order.
    g.barcode_font_index = st.pictureVersion == 1 ? Symbology_Index_From_Former_Order(type) : type;
    g.linear_font_val = in.text("linear value");
    g.two_d_font_val = in.text("2D value");
    g.header_val = in.text("header");
    g.footer_val = in.text("footer");
    g.show_hide_hdr = in.integer("hide header", 0, 1);
    g.show_hide_ftr = in.integer("hide footer", 0, 1);
    g.show_hide_val = in.integer("hide value", 0, 1);
    g.show_val_on_top = in.integer("value on top", 0, 1);
    g.align_hdr_index = in.integer("header alignment", -1, 2);
    g.align_ftr_index = in.integer("footer alignment", -1, 2);
    g.linear_height_val = in.real("bar height", 0, 100000);
    g.linear_width_val = in.real("bar width", 0, 100000);
    g.qr_size_val = in.integer("QR size", 0, 100000);
    g.qr_version_index = in.integer("QR version", -1, 40);
    g.qr_ec_index = in.integer("QR level", -1, 3);
    g.pdf_hgt_val = in.integer("PDF417 height", 0, 100000);
    g.pdf_wdt_val = in.integer("PDF417 width", 0, 100000);
    g.pdf_ec_val = in.integer("PDF417 level", -1, 8);
    g.dm_module_val = in.integer("Data Matrix module", 0, 10000);
    g.dm_format_index = in.integer("Data Matrix size", -1, 1000);
    g.dm_encoding_index = in.integer("Data Matrix encoding", -1, 1000);
    g.hdr_margin_val = in.real("margin", -100000, 100000);
    g.ftr_margin_val = in.real("margin", -100000, 100000);
    g.val_margin_val = in.real("margin", -100000, 100000);
    g.TB_marging_val = in.real("margin", -100000, 100000);
    g.LR_margin_val = in.real("margin", -100000, 100000);
    g.value_font_val = in.font("value font");
    g.header_font_val = in.font("header font");
    g.footer_font_val = in.font("footer font");
    g.barcode_hdr_clr_val = in.colour("header colour");
    g.barcode_ftr_clr_val = in.colour("footer colour");
    g.barcode_val_clr_val = in.colour("value colour");
    g.barcode_back_clr_val = in.colour("background colour");
    g.barcode_clr_val = in.colour("bar colour");
    g.dpi_val_index = in.integer("DPI choice", -1, 1000);
    g.dpi_custom_val = in.text("DPI");
    g.barcode_unit_val = in.integer("unit", 0, 2);
}

// The fields of a record after its kind code, in record order. Throws
// File_Format_Error at the first element that cannot be taken: what was
// taken before stays in the item.
void Read_Fields(Reader& in, LMNGraphic& g, Record_State& st)
{
    const LMNKind kind = g.kind();
    g._bounds = in.rect("item bounds");
    g.ctrl_is_locked = in.flag("locked");
    g._isDrawingFill = in.flag("fill on");
    g._fillColor = in.colour("fill colour");
    g._isDrawingStroke = in.flag("border on");
    g._strokeColor = in.colour("border colour");
    g._strokeWidth = in.real("border width", 0, 10000);
    g._stroke_border_type = in.text("border style");
    g._fill_type = in.text("fill kind");
    g._fill_Grad_clr1 = in.colour("gradient colour 1");
    g._fill_Grad_clr2 = in.colour("gradient colour 2");
    g._fill_grad_angle = in.real("gradient angle");
    g._fill_htch_clr = in.colour("hatch colour");
    g._fill_hatch_type = in.text("hatch pattern");
    g.alpha_val = in.real("fill opacity");
    g.alpha_val_stroke = in.real("border opacity");
    g.print_object = in.flag("print flag") ? 1 : 0;
    g.control_ID = in.text("identifier");
    g.ctrl_is_visible = in.flag("visible");

    if (hasBinding(kind)) {
        g.data_source_type = in.integer("data source", 0, 2);
        g.batch_list_name = in.text("series");
        g.batch_list_index = in.integer("series index");
        g.excel_binding = in.flag("spreadsheet binding");
        g.excel_col_indx = in.integer("spreadsheet column", -1, 100000);
        g.batch_hdr_list_name = in.text("header series");
        g.batch_hdr_list_index = in.integer("header series index");
        g.batch_ftr_list_name = in.text("footer series");
        g.batch_ftr_list_index = in.integer("footer series index");
    }

    switch (kind) {
    case LMNKind::Line: {
        auto& line = static_cast<LMNLine&>(g);
        g._line_ori = in.integer("line orientation", -1000, 1000);
        g._line_cap_style = in.integer("line cap", 0, 2);
        line._pointsRight = in.flag("line direction");
        line._pointsDown = in.flag("line direction");
        break;
    }
    case LMNKind::Shape:
        g._shape_type = in.text("shape");
        g.cor_rad_val = in.real("corner radius", 0, Record_Max_Extent);
        g.double_star_type = in.integer("star points", -1000, 1000);
        g.polygon_type = in.integer("polygon sides", -1000, 1000);
        g.text_rotation = in.integer("rotation");
        break;
    case LMNKind::Signature:
        g.sign_or_fingureprint = in.text("signature kind");
        st.path = in.text("signature path");
        st.pathRead = true;
        break;
    case LMNKind::Text:
        g.text_ctrl_font = in.font("text font");
        g.txt_clr = in.colour("text colour");
        g.text_alignmnet_Vert = in.integer("vertical alignment", -1000, 1000);
        g.text_alignmnet = in.integer("alignment", -1000, 1000);
        g.text_transfrom_case = in.integer("case", -1000, 1000);
        g.text_kerning = in.real("kerning", -1000, 1000);
        g.Text_Value = in.text("text");
        g.Drawing_Shadow = in.flag("shadow");
        g.Shadow_Color = in.colour("shadow colour");
        g.Shadow_offset_X = in.real("shadow offset");
        g.Shadow_offset_Y = in.real("shadow offset");
        g.Shadow_blur = in.real("shadow blur", 0, 1000);
        g.Shadow_transparency = in.real("shadow opacity");
        g.text_rotation = in.integer("rotation");
        break;
    case LMNKind::Image:
        g._isFlippedHorizontally = in.flag("flip");
        g._isFlippedVertically = in.flag("flip");
        g.invert_clr = in.flag("invert");
        g.gray_Scale = in.flag("grey scale");
        g.Sepia = in.flag("sepia");
        g.img_trnsp_val = in.real("picture opacity");
        g.hue_val = in.real("hue");
        g.sat_val = in.real("saturation");
        g.brt_val = in.real("brightness");
        g.con_val = in.real("contrast");
        g.srp_val = in.real("sharpness");
        g.ev_val = in.real("exposure");
        g.blr_val = in.real("blur", 0, 1000);
        g.rotate_image = in.real("picture rotation");
        st.path = in.text("picture path");
        st.pathRead = true;
        // Older files end with the path.
        st.value = in.more() ? in.text("picture value") : QString();
        st.valueRead = true;
        break;
    case LMNKind::Barcode:
        Read_Barcode_Fields(in, g, st);
        break;
    case LMNKind::Graphic:
        break;
    }
}

// A barcode item's picture: the stored one, or one drawn again from the
// item's settings (also for a record cut short: the item stays visible and
// can be edited).
void Finish_Barcode(LMNGraphic& g, const Record_State& st, const Item_Record_Context& ctx)
{
    g._barcode_image = st.barcodePicture;
    g.Set_Barcode_image_control_bounds();
    if (!st.barcodePicture.isNull())
        return;
    QString value;
    if (g.data_source_type == 1 && ctx.firstSeriesValue)
        value = Trim_Str(ctx.firstSeriesValue(g.batch_list_name));
    else if (g.data_source_type == 2 && ctx.firstSheetValue)
        value = Trim_Str(ctx.firstSheetValue(g.excel_col_indx));
    if (value.isEmpty())
        value = Trim_Str(g.linear_or_2d ? g.two_d_font_val : g.linear_font_val);
    if (!ctx.renderBarcode)
        return;
    const PtImage rendered = ctx.renderBarcode(g, value);
    if (rendered.isNull())
        return;
    g._barcode_image = rendered;
    QRectF b = g._bounds;
    b.setSize(rendered.size());
    g._bounds = b;
    g.Set_Barcode_image_control_bounds();
}

} // namespace

Item_Record_Read Read_Item_Record(const QVariantList& record, const Item_Record_Context& ctx)
{
    Item_Record_Read out;
    Reader in{record};
    QString code;
    try {
        code = in.text("item kind");
    } catch (const File_Format_Error& err) {
        out.problem = QStringLiteral("%1; no item was made").arg(err.reason());
        return out;
    }
    std::unique_ptr<LMNGraphic> item;
    if (code == QLatin1String("L")) item = std::make_unique<LMNLine>();
    else if (code == QLatin1String("T")) item = std::make_unique<LMNText>();
    else if (code == QLatin1String("D")) item = std::make_unique<Shape_Control>();
    else if (code == QLatin1String("I")) item = std::make_unique<LMNImage>();
    else if (code == QLatin1String("B")) item = std::make_unique<LMNBarcode>();
    else if (code == QLatin1String("S")) item = std::make_unique<LMNSignature>();
    if (!item) {
        out.problem = QStringLiteral("\"%1\" is no kind of item; no item was made").arg(code.left(10));
        return out;
    }

    LMNGraphic& g = *item;
    const LMNKind kind = g.kind();
    Record_State st;
    QStringList problems;
    try {
        Read_Fields(in, g, st);
    } catch (const File_Format_Error& err) {
        problems << QStringLiteral("%1; the rest of the %2 keeps the values of a new one")
                        .arg(err.reason(), kindName(kind));
    }
    if (!st.pictureProblem.isEmpty())
        problems.prepend(QStringLiteral("%1; the barcode was drawn again from its settings").arg(st.pictureProblem));

    switch (kind) {
    case LMNKind::Image:
        if (st.pathRead) {
            // A stored "Text here" (the value of a new item), or none, means the path.
            if (!st.valueRead || st.value.isNull() || st.value == QLatin1String("Text here"))
                g.Text_Value = Rebase_Picture_Path(st.path);
            else
                g.Text_Value = st.value == st.path ? Rebase_Picture_Path(st.path) : st.value;
            Give_Picture(static_cast<LMNImage&>(g), st.path, ctx.pictures.get());
        }
        break;
    case LMNKind::Signature:
        // The picture is loaded by the drawing from this path.
        if (st.pathRead)
            g._file_path = Rebase_Picture_Path(st.path);
        break;
    case LMNKind::Barcode:
        Finish_Barcode(g, st, ctx);
        break;
    default:
        break;
    }
    out.item = std::move(item);
    out.problem = problems.join(QStringLiteral("; "));
    return out;
}

std::unique_ptr<LMNGraphic> Create_Control_From_Array(const QVariantList& record, const Item_Record_Context& ctx)
{
    return Read_Item_Record(record, ctx).item;
}
