#include "mainwindow/files/BarcodeFile.h"

#include "barcode/generation/BarcodeDimensions.h"
#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/TwoDSymbols.h"
#include "core/model/KeyedArchive.h"
#include "mainwindow/files/DesignFile.h"
#include "mainwindow/files/RecordText.h"
#include "mainwindow/files/SafeSave.h"
#include "platform/Plist.h"

#include <algorithm>

namespace {

// Field texts (sizes and margins) a file may hold, in any unit.
constexpr double kFieldLimit = 1.0e6;

const char* const kRowKeys[] = {"Value", "Header", "Footer", "PQ"};

QString bm(bool on) { return on ? QStringLiteral("B") : QStringLiteral("M"); }
QString hs(bool on) { return on ? QStringLiteral("H") : QStringLiteral("S"); }

int alignIndex(const QString& a)
{
    if (a == QLatin1String("Left")) return 0;
    if (a == QLatin1String("Right")) return 2;
    return 1;
}

QString alignName(int i)
{
    switch (i) {
    case 0: return QStringLiteral("Left");
    case 2: return QStringLiteral("Right");
    default: return QStringLiteral("Center");
    }
}

QString fieldText(double v) { return QString::number(v, 'g', 6); }

// A font's display name: the family, with the style words of a styled face.
QString displayName(const QFont& f)
{
    QString name = f.family();
    if (f.bold() && f.italic())
        name += QStringLiteral(" Bold Italic");
    else if (f.bold())
        name += QStringLiteral(" Bold");
    else if (f.italic())
        name += QStringLiteral(" Italic");
    return name;
}

QFont fontOf(QString name, double size)
{
    bool bold = false, italic = false;
    for (const auto& [suffix, b, i] : {std::tuple{" Bold Italic", true, true}, std::tuple{" Bold", true, false},
                                        std::tuple{" Italic", false, true}}) {
        const QLatin1String suf(suffix);
        if (name.size() > suf.size() && name.endsWith(suf)) {
            name.chop(suf.size());
            bold = b;
            italic = i;
            break;
        }
    }
    QFont f(name);
    f.setPointSizeF(size);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

struct Elements {
    const QVariantList& list;
    int i = 0;
    const QVariant& next(const char* what)
    {
        if (i >= list.size())
            throw File_Format_Error(QStringLiteral("the file ends before %1").arg(QLatin1String(what)));
        return list.at(i++);
    }
    QString text(const char* what) { return Element_String(next(what), what); }
    bool bmFlag(const char* what) { return text(what) == QLatin1String("B"); }
    bool hsFlag(const char* what) { return text(what) == QLatin1String("H"); }
    int integer(const char* what, qint64 lo, qint64 hi) { return int(Read_Int(text(what), lo, hi, what)); }
    // A position in a list: -1 (nothing chosen) reads as the first entry.
    int index(const char* what, int count) { return std::max(0, integer(what, -1, count - 1)); }
    double field(const char* what) { return Read_Field_Number(text(what), kFieldLimit, what); }
    QColor colour(const char* what)
    {
        const QVariant& v = next(what);
        if (v.typeId() != QMetaType::QByteArray)
            throw File_Format_Error(QStringLiteral("%1: colour data was expected").arg(QLatin1String(what)));
        return Colour_From_Data(v.toByteArray());
    }
    QFont font(const char* nameWhat, const char* sizeWhat)
    {
        const QString name = text(nameWhat);
        const double size = Read_Real(text(sizeWhat), 0.01, 4000, sizeWhat);
        return fontOf(name, size);
    }
};

} // namespace

QByteArray Colour_To_Data(const QColor& colour)
{
    KeyedArchiver a(QStringLiteral("NSColor"), 64);
    a.encodeColor("NSColor", colour.isValid() ? colour : QColor(Qt::black));
    return a.finish();
}

QColor Colour_From_Data(const QByteArray& data)
{
    KeyedUnarchiver u;
    QColor c;
    if (!u.open(data) || u.className() != QLatin1String("NSColor") || !u.contains("NSColor")
        || !u.decodeColor("NSColor", c) || !c.isValid())
        throw File_Format_Error(QStringLiteral("a colour cannot be read"));
    return c;
}

QVariantList Barcode_File_Elements(const Barcode_File_Content& c)
{
    const BarcodeSettings& s = c.settings;
    QVariantList out;
    out << Design_File_Magic << Barcode_Kind;
    out << s.barcodeType << bm(c.dataSource) << bm(c.valueFromList) << bm(c.headerFromList) << bm(c.footerFromList);
    out << s.dataText << s.dataText_2D << s.HeaderText << s.FooterText;
    out << hs(s.hide_header) << hs(s.hide_footer) << hs(s.hide_value) << hs(s.showinTop != 0);
    out << QString::number(alignIndex(s.align_hdr)) << QString::number(alignIndex(s.align_ftr));
    out << QString::number(s.liner_or_2D_font);
    out << fieldText(s.bar_height) << fieldText(s.bar_width_mils);
    out << QString::number(s.qr_size) << QString::number(s.QR_Version_Val) << QString::number(s.QR_EC_Level_Val);
    out << QString::number(s.pdf_height) << QString::number(s.pdf_width) << QString::number(s.pdf_ec_level);
    out << QString::number(s.dm_module) << QString::number(s.dm_format) << QString::number(s.dm_encoding);
    out << fieldText(s.hdr_mar) << fieldText(s.ftr_mar) << fieldText(s.val_mar) << fieldText(s.TB_mar)
        << fieldText(s.LR_mar);
    for (const QFont* f : {&s.value_font, &s.header_font, &s.footer_font}) {
        double size = f->pointSizeF();
        if (!(size > 0))
            size = 10;
        out << displayName(*f) << Real_Text(size);
    }
    // A transparent background is stored as a clear colour that keeps the
    // opaque colour's red, green and blue (the plain clear colour when the
    // well holds it, as the transparent radio button leaves it).
    QColor back = s.bar_back_clr.isValid() ? s.bar_back_clr : QColor(Qt::white);
    if (s.fill_transparent)
        back.setAlpha(0);
    else if (back.alpha() == 0)
        back.setAlpha(255);
    out << Colour_To_Data(s.bar_hdr_clr) << Colour_To_Data(s.bar_ftr_clr) << Colour_To_Data(s.bar_val_clr)
        << Colour_To_Data(back) << Colour_To_Data(s.barcode_clr);
    out << QString::number(s.dpi_choice) << QString::number(s.custom_dpi) << QString::number(s.unit);
    QVariantList rows;
    rows.reserve(c.list.size());
    for (const QVariant& r : c.list) {
        const QVariantMap m = r.toMap();
        QVariantMap row;
        for (const char* k : kRowKeys)
            row.insert(QLatin1String(k), m.value(QLatin1String(k)).toString());
        rows << row;
    }
    out << QVariant(rows);
    out << (c.customList ? QStringLiteral("C") : QStringLiteral("U"));
    const auto pair = [&out](bool on, const QString& series, const QString& item) {
        out << (on ? series : QString("")) << (on ? item : QString(""));
    };
    pair(c.valueFromList, c.valueSeries, c.valueItem);
    pair(c.headerFromList, c.headerSeries, c.headerItem);
    pair(c.footerFromList, c.footerSeries, c.footerItem);
    for (QVariant& v : out)
        if (v.typeId() == QMetaType::QString && v.toString().isNull())
            v = QString("");
    return out;
}

Barcode_File_Read Read_Barcode_Content(const QVariant& root)
{
    Barcode_File_Read result;
    const Design_File_Kind kind = Classify_Design_Root(root);
    if (kind != Design_File_Kind::Barcode && kind != Design_File_Kind::OlderBarcode) {
        result.reason = QStringLiteral("the file holds no barcode settings");
        return result;
    }
    const QVariantList list = root.toList();
    Barcode_File_Content& c = result.content;
    BarcodeSettings& s = c.settings;
    c.older = kind == Design_File_Kind::OlderBarcode;
    const int needed = c.older ? Older_Barcode_File_Element_Count : Barcode_File_Element_Count;
    if (list.size() < needed) {
        result.reason = QStringLiteral("the file holds %1 elements, not %2").arg(list.size()).arg(needed);
        return result;
    }
    Elements e{list, c.older ? 1 : 2};
    try {
        s.barcodeType = e.text("the barcode type");
        if (!Find_Symbology(s.barcodeType))
            throw File_Format_Error(QStringLiteral("unknown barcode type \"%1\"").arg(s.barcodeType.left(40)));
        c.dataSource = e.bmFlag("the batch box");
        c.valueFromList = e.bmFlag("the value source");
        c.headerFromList = e.bmFlag("the header source");
        c.footerFromList = e.bmFlag("the footer source");
        s.dataText = e.text("the value");
        s.dataText_2D = e.text("the 2D value");
        s.HeaderText = e.text("the header");
        s.FooterText = e.text("the footer");
        s.hide_header = e.hsFlag("hide header");
        s.hide_footer = e.hsFlag("hide footer");
        s.hide_value = e.hsFlag("hide value");
        s.showinTop = e.hsFlag("value on top") ? 1 : 0;
        s.align_hdr = alignName(e.index("header alignment", 3));
        s.align_ftr = alignName(e.index("footer alignment", 3));
        s.liner_or_2D_font = e.integer("linear or 2D", 0, 1);
        s.bar_height = float(e.field("bar height"));
        s.bar_width_mils = float(e.field("bar width"));
        s.qr_size = int(e.field("QR size"));
        s.QR_Version_Val = e.index("QR version", int(QR_Version_Items().size()));
        s.QR_EC_Level_Val = e.index("QR level", int(QR_EC_Level_Items().size()));
        s.pdf_height = int(e.field("PDF417 height"));
        s.pdf_width = int(e.field("PDF417 width"));
        s.pdf_ec_level = int(e.field("PDF417 level"));
        s.dm_module = int(e.field("Data Matrix module"));
        s.dm_format = e.index("Data Matrix size", int(DM_Format_Items().size()));
        s.dm_encoding = e.index("Data Matrix encoding", int(DM_Encoding_Items().size()));
        s.hdr_mar = float(e.field("header margin"));
        s.ftr_mar = float(e.field("footer margin"));
        s.val_mar = float(e.field("value margin"));
        s.TB_mar = float(e.field("top and bottom margin"));
        s.LR_mar = float(e.field("left and right margin"));
        s.value_font = e.font("value font", "value font size");
        s.header_font = e.font("header font", "header font size");
        s.footer_font = e.font("footer font", "footer font size");
        s.bar_hdr_clr = e.colour("header colour");
        s.bar_ftr_clr = e.colour("footer colour");
        s.bar_val_clr = e.colour("value colour");
        QColor back = e.colour("background colour");
        s.barcode_clr = e.colour("bar colour");
        // A clear background colour means a transparent background (the
        // drawing leaves the background untouched). The well keeps the
        // colour's red, green and blue opaque, or the plain clear colour as
        // the transparent radio button sets it, so the file writes back the
        // same.
        s.fill_transparent = back.alpha() == 0;
        if (s.fill_transparent && back.rgba() != 0)
            back.setAlpha(255);
        s.bar_back_clr = back;
        s.dpi_choice = e.index("DPI choice", int(DPI_Choice_Items().size()));
        s.custom_dpi = std::clamp(int(e.field("DPI")), 72, 2400);
        s.unit = e.integer("unit", 0, 2);
        const QVariant& rowsValue = e.next("the barcode list");
        if (rowsValue.typeId() != QMetaType::QVariantList)
            throw File_Format_Error(QStringLiteral("the barcode list is not a list"));
        const QVariantList rows = rowsValue.toList();
        if (rows.size() > Barcode_File_Max_Rows)
            throw File_Format_Error(QStringLiteral("the barcode list is too long"));
        c.list.reserve(rows.size());
        for (const QVariant& r : rows) {
            if (r.typeId() != QMetaType::QVariantMap)
                throw File_Format_Error(QStringLiteral("a barcode list row is not a row"));
            const QVariantMap m = r.toMap();
            QVariantMap row;
            for (const char* k : kRowKeys) {
                const QVariant v = m.value(QLatin1String(k), QString(""));
                if (v.typeId() != QMetaType::QString)
                    throw File_Format_Error(QStringLiteral("a barcode list cell is not a text"));
                row.insert(QLatin1String(k), v.toString());
            }
            c.list << row;
        }
        if (!c.older) {
            c.customList = e.text("the list source") == QLatin1String("C");
            c.valueSeries = e.text("the value series");
            c.valueItem = e.text("the value item");
            c.headerSeries = e.text("the header series");
            c.headerItem = e.text("the header item");
            c.footerSeries = e.text("the footer series");
            c.footerItem = e.text("the footer item");
        }
        result.ok = true;
    } catch (const File_Format_Error& err) {
        result.reason = err.reason();
        result.content = Barcode_File_Content();
    }
    return result;
}

bool Write_Barcode_Elements(const QString& path, const QVariantList& elements, QString* error)
{
    const QByteArray bytes = Plist_Serialize(QVariant(elements), PlistFormat::Xml);
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("the settings cannot be stored as a property list");
        return false;
    }
    return Save_File_Atomically(path, bytes, error);
}
