#pragma once
// Barcode settings files: barcode mode's whole state in the design file's
// container, kind "<BAR>": the symbology, the texts with their list sources,
// every size, margin, font, colour and DPI setting, the unit and the barcode
// list (elements 0..55). The older form starts with "ZORVMACBARCODE", has no
// kind element and ends with the list (48 elements); it is read with the
// custom list as the source and no series chosen.
//
// Like design files, a barcode settings file is read into a
// Barcode_File_Content first; what is open changes only after a whole read.
#include <QString>
#include <QVariant>
#include <QVariantList>

#include <optional>

#include "core/util/BarcodeSettings.h"

// Element counts of the two forms.
inline constexpr int Barcode_File_Element_Count = 56;
inline constexpr int Older_Barcode_File_Element_Count = 48;
// Most barcode list rows a file may hold.
inline constexpr int Barcode_File_Max_Rows = 1000000;

struct Barcode_File_Content {
    BarcodeSettings settings;        // type, texts, flags, sizes, fonts, colours, DPI, unit
    bool dataSource = false;         // the batch box (data_source_chkbox)
    bool valueFromList = false;      // barcode_value_chk
    bool headerFromList = false;     // barcode_header_chk
    bool footerFromList = false;     // barcode_footer_chk
    QVariantList list;               // rows: maps of "Value", "Header", "Footer", "PQ"
    bool customList = true;          // the custom list (not the series) is the source
    // Series and item chosen for the value, header and footer ("" none).
    QString valueSeries, valueItem;
    QString headerSeries, headerItem;
    QString footerSeries, footerItem;
    bool older = false;              // read from the older form
};

// Colour elements: a small archive of one colour (alpha included, so the
// clear background comes back as clear).
QByteArray Colour_To_Data(const QColor& colour);
QColor Colour_From_Data(const QByteArray& data);   // throws File_Format_Error

// The 56 elements of the current form. The series of a source whose box is
// off are written as "".
QVariantList Barcode_File_Elements(const Barcode_File_Content& content);

struct Barcode_File_Read {
    bool ok = false;
    QString reason;
    Barcode_File_Content content;
};

// Reads a parsed root of either form (the caller has classified it).
Barcode_File_Read Read_Barcode_Content(const QVariant& root);

bool Write_Barcode_Elements(const QString& path, const QVariantList& elements, QString* error = nullptr);
