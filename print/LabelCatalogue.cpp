#include "print/LabelCatalogue.h"

#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "platform/Numbers.h"
#include "platform/Paths.h"
#include "print/SheetLayout.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <pugixml.hpp>

#include <cmath>
#include <sstream>

namespace {

bool nameHas(const pugi::xml_node& n, const char* word)
{
    return Find_Str_Case_Insensitive(QString::fromUtf8(n.name()), QString::fromLatin1(word));
}

// An attribute's value; a null string when the attribute is absent.
QString attr(const pugi::xml_node& n, const char* name)
{
    const pugi::xml_attribute a = n.attribute(name);
    return a ? QString::fromUtf8(a.value()) : QString();
}

// The text of a node: its value, or the text of everything inside it.
QString textOf(const pugi::xml_node& n)
{
    if (n.type() == pugi::node_pcdata || n.type() == pugi::node_cdata)
        return QString::fromUtf8(n.value());
    QString out;
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        out += textOf(c);
    return out;
}

// The node as XML text.
QString xmlOf(const pugi::xml_node& n)
{
    std::ostringstream s;
    n.print(s, "", pugi::format_raw);
    return QString::fromStdString(s.str());
}

// The node that follows `n` in document order: its first child, else its
// next sibling, else the next sibling of the nearest ancestor that has one.
pugi::xml_node followingNode(const pugi::xml_node& n)
{
    if (n.first_child())
        return n.first_child();
    for (pugi::xml_node p = n; p; p = p.parent())
        if (p.next_sibling())
            return p.next_sibling();
    return {};
}

QString groupName(const QString& s)
{
    return s.isNull() ? s : Replace_char_in_string(s.toUpper(), QStringLiteral("_"), QStringLiteral(" "));
}

// The text of the first child whose XML text holds locale="all; null when none.
QString localeAllText(const pugi::xml_node& n)
{
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        if (Find_Str_Case_Insensitive(xmlOf(c), QStringLiteral("locale=\"all")))
            return textOf(c);
    return {};
}

int childCount(const pugi::xml_node& n)
{
    int k = 0;
    for (pugi::xml_node c = n.first_child(); c; c = c.next_sibling())
        ++k;
    return k;
}

struct Working {
    QString name, nameGroup, descGroup, descText;
    Product_Details d;
};

void takeGrid(const pugi::xml_node& n, Working& w, bool labelSize, bool sizeOnlyWhenPresent)
{
    if (labelSize) {
        if (!sizeOnlyWhenPresent || n.attribute("cellHeight"))
            w.d.labelHeight = attr(n, "cellHeight");
        if (!sizeOnlyWhenPresent || n.attribute("cellWidth"))
            w.d.labelWidth = attr(n, "cellWidth");
    }
    w.d.rows = attr(n, "numDown");
    w.d.cols = attr(n, "numAcross");
    w.d.topM = attr(n, "posY");
    w.d.leftM = attr(n, "posX");
    w.d.horigap = attr(n, "horizGap");
    w.d.vertigap = attr(n, "vertGap");
}

Product_Details readProduct(const pugi::xml_node& product, bool labelSize)
{
    Working w;
    w.d.productID = attr(product, "productID");
    w.d.layoutGroup = groupName(attr(product, "layoutGroup"));
    w.d.Unit = attr(product, "units");

    for (pugi::xml_node child = product.first_child(); child; child = child.next_sibling()) {
        const pugi::xml_node x = followingNode(child);
        if (x && nameHas(x, "locName")) {
            w.name = textOf(x);
            if (nameHas(child, "prodname") && childCount(child) >= 2) {
                const QString all = localeAllText(child);
                if (!all.isNull())
                    w.name = all;
            }
        }
        if (nameHas(child, "prodname")) {
            w.nameGroup = attr(child, "nameGroup");
        } else if (nameHas(child, "desc")) {
            w.descGroup = groupName(attr(child, "descGroup"));
            const QString all = localeAllText(child);
            w.descText = all.isNull() ? w.descGroup : all;
        } else if (nameHas(child, "masterPanel")) {
            w.d.master_id = attr(child, "masterID");
            w.d.master_height = attr(child, "height");
            w.d.master_width = attr(child, "width");
            w.d.master_shape = attr(child, "shape");
            w.d.master_cornerRadius = attr(child, "cornerRadius");
            w.d.master_bottomMargin = attr(child, "bottomMargin");
            w.d.master_leftMargin = attr(child, "leftMargin");
            w.d.master_rightMargin = attr(child, "rightMargin");
            w.d.master_topMargin = attr(child, "topMargin");
            w.d.master_centerContent = attr(child, "centerContent");
            if (labelSize) {
                w.d.labelHeight = w.d.master_height;
                w.d.labelWidth = w.d.master_width;
            }
        } else if (nameHas(child, "sheetGrid")) {
            takeGrid(child, w, labelSize, false);
        } else if (nameHas(child, "sheet")) {
            w.d.paperHeight = attr(child, "height");
            w.d.paperWidth = attr(child, "width");
            const pugi::xml_node inner = child.first_child();
            const bool marginsEmpty = w.d.topM.isEmpty() && w.d.leftM.isEmpty();
            if (inner && marginsEmpty) {
                if (nameHas(inner, "panel")) {
                    w.d.topM = attr(inner, "posY");
                    w.d.leftM = attr(inner, "posX");
                } else if (nameHas(inner, "sheetGrid")) {
                    takeGrid(inner, w, labelSize, true);
                }
            }
        }
    }

    Product_Details& d = w.d;
    if (w.name.isEmpty()) {
        d.paper_number = QStringLiteral("%1 - %2").arg(w.descGroup, d.productID);
        d.manual_paper_name = QStringLiteral("1");
    } else {
        d.paper_number = w.name;
    }
    if (d.paperHeight.isEmpty() && d.paperWidth.isEmpty()) {
        d.paperHeight = d.master_height;
        d.paperWidth = d.master_width;
    }
    d.Prod_name_group = w.nameGroup;
    d.desc_name_group = w.descGroup;
    d.desc_name_val = w.descText;
    return d;
}

QString orZero(const QString& s) { return s.isEmpty() ? QStringLiteral("0") : s; }
QString orOne(const QString& s) { return s.isEmpty() ? QStringLiteral("1") : s; }

} // namespace

QString Catalogue_Folder()
{
    return Path_Join(Folders.Resource_Path, QStringLiteral("Formats/pages"));
}

QStringList Catalogue_Vendor_Names()
{
    QStringList names{QStringLiteral("Custom")};
    const QFileInfoList files = QDir(Catalogue_Folder()).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo& f : files)
        if (f.suffix().toLower() == QLatin1String("xml"))
            names << f.completeBaseName();
    return names;
}

QString Catalogue_File_Path(const QString& vendor)
{
    return Path_Join(Catalogue_Folder(), vendor + QStringLiteral(".xml"));
}

QList<Product_Details> Read_Catalogue_File(const QString& path, const QString& vendor)
{
    QList<Product_Details> out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    const QByteArray bytes = f.readAll();
    pugi::xml_document doc;
    if (!doc.load_buffer(bytes.constData(), size_t(bytes.size())))
        return out;
    const bool labelSize = vendor.isEmpty();
    for (const pugi::xpath_node& p : doc.select_nodes("//product"))
        out << readProduct(p.node(), labelSize);
    return out;
}

QStringList Catalogue_Combo_Items(const QList<Product_Details>& products)
{
    QStringList items;
    for (const Product_Details& p : products)
        items << (items.contains(p.paper_number)
                      ? QStringLiteral("%1 - %2").arg(p.paper_number, p.productID)
                      : p.paper_number);
    return items;
}

void Read_XML_File(const QString& path, const QString& pagenumber, const QString& vendor,
                   bool manual_paper_name_chk, QList<Product_Details>& prod_list,
                   QComboBox* Product_num_ComboBox)
{
    Q_UNUSED(pagenumber);
    Q_UNUSED(manual_paper_name_chk);
    prod_list = Read_Catalogue_File(path, vendor);
    if (!Product_num_ComboBox)
        return;
    QStringList existing;
    for (int i = 0; i < Product_num_ComboBox->count(); ++i)
        existing << Product_num_ComboBox->itemText(i);
    for (const Product_Details& p : prod_list) {
        const QString item = existing.contains(p.paper_number)
            ? QStringLiteral("%1 - %2").arg(p.paper_number, p.productID)
            : p.paper_number;
        existing << item;
        Product_num_ComboBox->addItem(item);
    }
}

QSizeF Product_Label_Size_MM(const Product_Details& p)
{
    const double f = Catalogue_Unit_Factor(p.Unit);
    return QSizeF(Leading_Double_C(orZero(p.labelWidth)) / f,
                  Leading_Double_C(orZero(p.labelHeight)) / f);
}

float Page_Points_Rounded_Up(double mm)
{
    // Rounded up to a whole point, with a little room for the error of the
    // conversion itself (210 mm stays 596 points, 72 points stay 72).
    return float(std::ceil(mm * MM_To_Points_Factor - 1e-6));
}

Predefined_Sheet Predefined_Sheet_From_Product(const Product_Details& p)
{
    Predefined_Sheet s;
    const QString pw = orZero(p.paperWidth), ph = orZero(p.paperHeight);
    const QString lw = orZero(p.labelWidth), lh = orZero(p.labelHeight);
    s.cols = orOne(p.cols);
    s.rows = orOne(p.rows);
    if (pw == lw && ph == lh) {
        // The label is the whole page.
        s.cols = s.rows = QStringLiteral("1");
    }
    const double f = Catalogue_Unit_Factor(p.Unit);
    s.pageWidthMM = Leading_Double_C(pw) / f;
    s.pageHeightMM = Leading_Double_C(ph) / f;
    s.widthMM = Leading_Double_C(lw) / f;
    s.heightMM = Leading_Double_C(lh) / f;
    s.topMM = Leading_Double_C(orZero(p.topM)) / f;
    s.leftMM = Leading_Double_C(orZero(p.leftM)) / f;
    s.hgapMM = Leading_Double_C(orZero(p.horigap)) / f;
    s.vgapMM = Leading_Double_C(orZero(p.vertigap)) / f;
    s.orientation = s.pageWidthMM > s.pageHeightMM ? QStringLiteral("Landscape")
                                                   : QStringLiteral("Portrait");
    const QString w = Format_Fixed_C(s.pageWidthMM, 2), h = Format_Fixed_C(s.pageHeightMM, 2);
    s.pageSize = w + QStringLiteral(" x ") + h;
    const QString paper = Find_Papaer_Name_From_Size(w, h);
    s.paper = paper.isEmpty() ? QStringLiteral("Custom") : paper;
    s.layoutGroup = QStringLiteral("%1 - %2").arg(p.layoutGroup, p.productID);
    s.description = p.desc_name_val;
    const QString shape = p.master_shape.trimmed().toLower();
    if (shape == QLatin1String("round") || shape == QLatin1String("ellipse") || shape == QLatin1String("cd"))
        s.shape = QStringLiteral("ellipse");
    else if (shape == QLatin1String("roundedrectangle"))
        s.shape = QStringLiteral("rounded");
    else
        s.shape = QStringLiteral("rectangle");
    s.cornerRadiusMM = Leading_Double_C(orZero(p.master_cornerRadius)) / f;
    return s;
}
