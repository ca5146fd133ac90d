#include "mainwindow/files/DesignFile.h"

#include "mainwindow/files/SafeSave.h"
#include "core/util/MainWindowServices.h"
#include "platform/Plist.h"

#include <QFile>

#include <algorithm>

namespace {

constexpr qint64 kIntMin = std::numeric_limits<qint32>::min();
constexpr qint64 kIntMax = std::numeric_limits<qint32>::max();

// A cursor over the root array that counts what it took.
struct Elements {
    const QVariantList& list;
    int taken = 0;
    const QVariant& next(const char* what)
    {
        if (taken >= list.size())
            throw File_Format_Error(QStringLiteral("the file ends before %1").arg(QLatin1String(what)));
        return list.at(taken++);
    }
    QString text(const char* what) { return Element_String(next(what), what); }
    bool flag(const char* what) { return Read_Flag(text(what)); }
    qint32 integer(const char* what, qint64 lo = kIntMin, qint64 hi = kIntMax)
    {
        return qint32(Read_Int(text(what), lo, hi, what));
    }
    float real(const char* what, double lo, double hi) { return float(Read_Real(text(what), lo, hi, what)); }
    QColor colour(const char* what) { return Convert_String_to_Color(text(what)); }
    QFont font(const char* what) { return Convert_String_to_Font(text(what)); }
    QVariantList array(const char* what)
    {
        const QVariant& v = next(what);
        if (v.typeId() != QMetaType::QVariantList)
            throw File_Format_Error(QStringLiteral("%1: a list was expected").arg(QLatin1String(what)));
        return v.toList();
    }
};

void checkStrings(const QVariantMap& row)
{
    for (auto it = row.cbegin(); it != row.cend(); ++it)
        if (it.value().typeId() != QMetaType::QString)
            throw File_Format_Error(QStringLiteral("a spreadsheet cell is not a text"));
}

} // namespace

Design_File_Kind Classify_Design_Root(const QVariant& root)
{
    if (root.typeId() != QMetaType::QVariantList)
        return Design_File_Kind::Corrupt;
    const QVariantList list = root.toList();
    if (list.isEmpty() || list.at(0).typeId() != QMetaType::QString)
        return Design_File_Kind::Corrupt;
    const QString magic = list.at(0).toString();
    const QString kind = list.size() > 1 && list.at(1).typeId() == QMetaType::QString ? list.at(1).toString()
                                                                                      : QString();
    if (magic == Older_Barcode_File_Magic)
        return kind == Design_Kind ? Design_File_Kind::Corrupt : Design_File_Kind::OlderBarcode;
    if (magic == Design_File_Magic)
        return kind == Barcode_Kind ? Design_File_Kind::Barcode : Design_File_Kind::Design;
    return Design_File_Kind::Corrupt;
}

std::optional<QVariant> Read_Design_Root(const QString& path, QString* reason)
{
    return Plist_Read_File(path, reason);
}

QString First_Sheet_Value(const QVariantList& rows, int column)
{
    if (rows.isEmpty() || rows.first().typeId() != QMetaType::QVariantMap)
        return QString("");
    const QVariantMap row = rows.first().toMap();
    const QString key = column == 0 ? QStringLiteral("Extension") : QStringLiteral("Column%1").arg(column);
    const QString v = row.value(key).toString();
    return v.isEmpty() ? QStringLiteral(" ") : v;
}

Design_File_Read Read_Design_Content(const QVariant& root, const Item_Record_Context& context, bool readSheet)
{
    Design_File_Read result;
    if (root.typeId() != QMetaType::QVariantList) {
        result.reason = QStringLiteral("the file is no list");
        return result;
    }
    const QVariantList list = root.toList();
    Elements e{list};
    Design_File_Content& d = result.content;
    try {
        if (e.text("the magic") != Design_File_Magic)
            throw File_Format_Error(QStringLiteral("the file is no design"));
        e.text("the kind");   // anything but "<BAR>" is read as a design
        d.startOption = e.text("the start option");

        Card_Property& c = d.card;
        c.Card_border_chk = e.flag("card border");
        c.Card_bordr_clr = e.colour("card border colour");
        c.Card_bor_Stepper = e.integer("card border width", 0, 10000);
        c.Card_border_style = e.text("card border style");
        c.Card_fill_chk = e.flag("card fill");
        c.Card_fill_style = e.text("card fill kind");
        c.Card_fill_clr = e.colour("card fill colour");
        c.Card_fill_Grd_1_clr = e.colour("card gradient colour");
        c.Card_fill_Grd_2_clr = e.colour("card gradient colour");
        c.Card_grad_Stepper = e.integer("card gradient angle", -1000000, 1000000);
        c.Card_hatch_style = e.text("card hatch pattern");
        c.Card_hatch_bk_clr = e.colour("card hatch colour");
        c.Card_alpha_Stepper = e.real("card opacity", 0, 1.0e6);
        c.Card_Side = e.text("card sides");
        c.Card_Side_Name = e.text("card side");
        c.Card_Shape = e.text("card shape");
        c.Card_Name = e.text("design name");
        c.Card_Location = Read_Point(e.text("card origin"), Record_Max_Extent, "card origin");
        c.Card_Size = Read_Size(e.text("card size"), Design_Max_Card_Side, "card size");
        c.Card_Preset = e.text("label preset");
        c.Card_Category = e.text("label category");
        c.Card_Sub_Category = e.text("label product");
        c.Card_Cat_index = e.integer("label category index");
        c.Card_Create_Mode = e.text("start mode");
        c.Card_BG_Image_Path = e.text("background picture");
        c.Card_BG_Image_Layout = e.text("background layout");
        c.Card_Content_clr = e.colour("text colour");
        c.Card_Content_font = e.font("text font");
        c.Watermark_Used = e.flag("watermark");
        c.Watermark_Alignment = e.integer("watermark position", -1000, 1000);
        c.Watermark_Transp = e.real("watermark opacity", 0, 1.0e6);
        c.Watermark_Text = e.text("watermark text");
        c.Watermark_Color = e.colour("watermark colour");
        c.Watermark_Font = e.font("watermark font");

        d.excelBindingUse = e.flag("spreadsheet binding");
        d.excelSourcePath = e.text("spreadsheet path");
        const QVariantList titles = e.array("spreadsheet columns");
        if (titles.size() > Design_Max_Columns)
            throw File_Format_Error(QStringLiteral("too many spreadsheet columns"));
        for (const QVariant& t : titles)
            d.columnTitles << Element_String(t, "spreadsheet column title");
        const QVariantList rows = e.array("spreadsheet rows");
        if (rows.size() > Design_Max_Rows)
            throw File_Format_Error(QStringLiteral("too many spreadsheet rows"));
        for (const QVariant& r : rows) {
            if (r.typeId() != QMetaType::QVariantMap)
                throw File_Format_Error(QStringLiteral("a spreadsheet row is not a table row"));
            checkStrings(r.toMap());
        }
        d.sheetRows = rows;

        // Element 41 counts the records that follow. A count that cannot be
        // read, or that counts more records than the file holds, is told and
        // the records there are read.
        const QString countText = e.text("the item count");
        const qint64 present = list.size() - e.taken;
        qint64 n = present;
        try {
            n = Read_Int(countText, 0, Design_Max_Items, "the item count");
            if (n > present) {
                result.itemProblems << QStringLiteral("The design counts %1 items but holds %2.").arg(n).arg(present);
                n = present;
            }
        } catch (const File_Format_Error&) {
            n = std::min<qint64>(present, Design_Max_Items);
            result.itemProblems << QStringLiteral("The number of items (\"%1\") cannot be read; the %2 items "
                                                  "the file holds were read.")
                                       .arg(countText.left(20))
                                       .arg(n);
        }

        Item_Record_Context ctx = context;
        if (!ctx.pictures)
            ctx.pictures = std::make_shared<QHash<QString, PtImage>>();
        if (readSheet) {
            const QVariantList staged = d.sheetRows;
            ctx.firstSheetValue = [staged](int column) { return First_Sheet_Value(staged, column); };
        }
        d.items.reserve(int(n));
        // A damaged record gives a partly filled item, or none, and reading
        // goes on; each one is told by its number.
        for (qint64 i = 0; i < n; ++i) {
            const QVariant& rec = e.next("an item record");
            if (rec.typeId() != QMetaType::QVariantList) {
                result.itemProblems << QStringLiteral("Item %1 is not an item record; it was left out.").arg(i + 1);
                continue;
            }
            Item_Record_Read read = Read_Item_Record(rec.toList(), ctx);
            if (!read.problem.isEmpty())
                result.itemProblems << QStringLiteral("Item %1: %2.").arg(i + 1).arg(read.problem);
            if (read.item)
                d.items << LMNGraphicPtr(std::move(read.item));
        }
        result.ok = true;
    } catch (const File_Format_Error& err) {
        result.reason = err.reason();
        result.content = Design_File_Content();
        result.itemProblems.clear();
    } catch (const std::exception& err) {
        result.reason = QString::fromUtf8(err.what());
        result.content = Design_File_Content();
        result.itemProblems.clear();
    }
    result.elementsTaken = e.taken;
    return result;
}

QVariantList Design_File_Elements(const QString& startOption, const Card_Property& c, bool excelBindingUse,
                                  const QString& excelSourcePath, const QStringList& columnTitles,
                                  const QVariantList& sheetRows, const QList<LMNGraphic*>& items,
                                  bool asTemplate, Record_Pictures pictures)
{
    const auto text = [](const QString& s) { return QVariant(s.isNull() ? QString("") : s); };
    QVariantList out;
    out << Design_File_Magic << Design_Kind;
    out << (asTemplate ? QStringLiteral("T") : text(startOption).toString());
    out << Flag_Text(c.Card_border_chk) << Convert_Color_to_String(c.Card_bordr_clr)
        << Int_Text(c.Card_bor_Stepper) << text(c.Card_border_style) << Flag_Text(c.Card_fill_chk)
        << text(c.Card_fill_style) << Convert_Color_to_String(c.Card_fill_clr)
        << Convert_Color_to_String(c.Card_fill_Grd_1_clr) << Convert_Color_to_String(c.Card_fill_Grd_2_clr)
        << Int_Text(c.Card_grad_Stepper) << text(c.Card_hatch_style) << Convert_Color_to_String(c.Card_hatch_bk_clr)
        << Real_Text(c.Card_alpha_Stepper)
        // A saved design is a one-sided design.
        << QStringLiteral("1") << text(c.Card_Side_Name) << text(c.Card_Shape) << text(c.Card_Name)
        << Point_Text(c.Card_Location) << Size_Text(c.Card_Size) << text(c.Card_Preset) << text(c.Card_Category)
        << text(c.Card_Sub_Category) << Int_Text(c.Card_Cat_index) << text(c.Card_Create_Mode)
        // The background picture path only matters for a picture fill.
        << (c.Card_fill_style == QLatin1String("I") ? text(Picture_Path_To_Store(c.Card_BG_Image_Path))
                                                    : QVariant(QString("")))
        << text(c.Card_BG_Image_Layout) << Convert_Color_to_String(c.Card_Content_clr)
        << Convert_Font_to_String(c.Card_Content_font) << Flag_Text(c.Watermark_Used)
        << Int_Text(c.Watermark_Alignment) << Real_Text(c.Watermark_Transp) << text(c.Watermark_Text)
        << Convert_Color_to_String(c.Watermark_Color) << Convert_Font_to_String(c.Watermark_Font);
    out << Flag_Text(excelBindingUse) << text(excelSourcePath);
    if (asTemplate) {
        out << QVariant(QVariantList()) << QVariant(QVariantList());
    } else {
        QVariantList titles;
        for (const QString& t : columnTitles)
            titles << text(t);
        out << QVariant(titles) << QVariant(sheetRows);
    }
    QVariantList records;
    records.reserve(items.size());
    for (const LMNGraphic* g : items) {
        if (!g)
            continue;
        QVariantList r = Get_Control_Prop_To_Array(*g, pictures);
        if (asTemplate)
            Clear_Record_Binding(r);
        records << QVariant(r);
    }
    // The count is that of the records really written.
    out << QString::number(records.size());
    out << records;
    return out;
}

QVariantList Design_File_Elements(const Design_File_Content& d, bool asTemplate, Record_Pictures pictures)
{
    QList<LMNGraphic*> items;
    for (const LMNGraphicPtr& g : d.items)
        items << g.get();
    return Design_File_Elements(d.startOption, d.card, d.excelBindingUse, d.excelSourcePath, d.columnTitles,
                                d.sheetRows, items, asTemplate, pictures);
}

bool Write_Design_Elements(const QString& path, const QVariantList& elements, QString* error)
{
    const QByteArray bytes = Plist_Serialize(QVariant(elements), PlistFormat::Xml);
    if (bytes.isEmpty()) {
        if (error)
            *error = QStringLiteral("the design cannot be stored as a property list");
        return false;
    }
    return Save_File_Atomically(path, bytes, error);
}
