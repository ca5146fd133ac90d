#pragma once
// The label-sheet catalogue: one XML file per vendor in the resources'
// "/Formats/pages/" folder, one "product" element per label sheet, read into
// Product_Details records.
//
// The reader matches element names by case-insensitive containment
// ("prodname", "desc", "masterPanel", "sheetGrid", "sheet", "locName",
// "panel") and attribute names exactly; every value stays the string found in
// the file. The same reader serves the card panel of the main window, the
// print window and the new-card wizard.
#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

class QComboBox;

// One product of the catalogue (all strings; a missing value is a null string).
class Product_Details {
public:
    QString Unit;            // unit word of every length
    QString paper_number;    // product name, or "<description group> - <id>"
    QString paperWidth, paperHeight;
    QString labelHeight, labelWidth;
    QString rows, cols;
    QString topM, leftM;
    QString horigap, vertigap;
    QString productID;
    QString layoutGroup;     // upper-cased, "_" made " "
    QString Prod_name_group;
    QString desc_name_group; // upper-cased, "_" made " "
    QString desc_name_val;
    QString master_id, master_height, master_width, master_shape;
    QString master_bottomMargin, master_leftMargin, master_rightMargin, master_topMargin;
    QString master_centerContent;
    QString master_cornerRadius;  // of a rounded rectangle
    QString manual_paper_name;  // "1" when paper_number was made from the description group
};

// The folder of the catalogue files (Folders.Resource_Path + "/Formats/pages/").
QString Catalogue_Folder();
// The vendor list of the combos: "Custom", then the base name of every file
// of the catalogue folder whose lower-cased extension is "xml", by name.
QStringList Catalogue_Vendor_Names();
// The file of a vendor.
QString Catalogue_File_Path(const QString& vendor);

// Reads every product of a catalogue file in document order. With a
// non-empty `vendor` the label size is left empty (as the reader's callers
// rely on). A missing or malformed file gives an empty list.
QList<Product_Details> Read_Catalogue_File(const QString& path, const QString& vendor = QString());

// The combo items for the products: the product name, or "<name> - <id>"
// when an earlier item already reads the same.
QStringList Catalogue_Combo_Items(const QList<Product_Details>& products);

// Read_XML_File:pagenumber:vendor:manual_paper_name_chk: of the three
// windows: replaces `prod_list` with the file's products and adds one combo
// item per product (the caller empties the combo before and selects after).
void Read_XML_File(const QString& path, const QString& pagenumber, const QString& vendor,
                   bool manual_paper_name_chk, QList<Product_Details>& prod_list,
                   QComboBox* Product_num_ComboBox);

// A product's label size in millimetres (an empty value counts as 0).
QSizeF Product_Label_Size_MM(const Product_Details& p);

// What a catalogue product gives the print window's predefined fields.
struct Predefined_Sheet {
    QString cols, rows;                   // texts of the grid
    double leftMM = 0, topMM = 0;         // grid position
    double hgapMM = 0, vgapMM = 0;
    double widthMM = 0, heightMM = 0;     // label
    double pageWidthMM = 0, pageHeightMM = 0;
    QString paper;                        // paper name, or "Custom"
    QString orientation;                  // "Portrait" or "Landscape"
    QString pageSize;                     // "%.2f x %.2f"
    QString layoutGroup;                  // "<group> - <id>"
    QString description;
    QString shape;                        // the label's outline: "rectangle", "rounded" or "ellipse" (round too)
    double cornerRadiusMM = 0;            // of "rounded"
};
Predefined_Sheet Predefined_Sheet_From_Product(const Product_Details& p);

// Page size in whole points (rounded up) of a size in millimetres.
float Page_Points_Rounded_Up(double mm);
