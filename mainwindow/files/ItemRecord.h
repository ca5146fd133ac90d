#pragma once
// The control record of one canvas item in a design file: a positional list
// whose element 0 is the kind code ("L" line, "T" text, "D" shape, "I"
// picture, "B" barcode, "S" signature or fingerprint) and whose other
// elements are the item's fields as text (the barcode picture as data).
//
//   common fields        1..19  (every kind)
//   binding fields      20..28  (text, picture and barcode only)
//   the kind's fields   from 20 (L, D, S) or 29 (T, I, B)
//   lengths             L 24, T 43, D 25, I 45 (44 accepted), B 69, S 22
//
// Reading takes the elements in order and stops at the first one it cannot
// take (the record ends, an element of the wrong type, a number that is not
// one, not finite or out of its range): the item keeps what was read and the
// values of a new item for the rest, and the reason is reported. A record
// whose kind code is unknown makes no item. A barcode picture this program
// cannot read is drawn again from the record's settings.
//
// Shipped pictures (the resource folder's) are stored relative to the
// resource folder; other picture paths as they are. Paths are re-based on
// reading (Rebase_Picture_Path).
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QVariantList>

#include <functional>
#include <memory>

#include "mainwindow/files/RecordText.h"
#include "platform/PtImage.h"

class LMNGraphic;

// Record lengths by kind.
inline constexpr int Record_Length_Line = 24;
inline constexpr int Record_Length_Text = 43;
inline constexpr int Record_Length_Shape = 25;
inline constexpr int Record_Length_Image = 45;
inline constexpr int Record_Length_Barcode = 69;
inline constexpr int Record_Length_Signature = 22;

// Largest coordinate or side of an item in a file, in points.
inline constexpr double Record_Max_Extent = 100000.0;

// What reading a record may need from the rest of the program. Every member
// may be empty.
struct Item_Record_Context {
    // First value of a series (blank when none).
    std::function<QString(const QString& series)> firstSeriesValue;
    // First value of a spreadsheet column position of the rows being loaded.
    std::function<QString(int column)> firstSheetValue;
    // Renders a barcode item from its own settings with the value given
    // (header and footer are the item's); a null image when it cannot.
    std::function<PtImage(const LMNGraphic& item, const QString& value)> renderBarcode;
    // Pictures already loaded during this read, by resolved path: a picture
    // used by many items is decoded once. Null: every item loads its own.
    std::shared_ptr<QHash<QString, PtImage>> pictures;
};

// ---- The barcode picture element ----
// A barcode picture as file data: "ZLPI", a form byte, a kind byte (0 no
// picture, 1 PNG pixels), the size in points and the bytes. A vector picture
// is written as no picture: the reader draws the barcode again from the
// record's settings (drawing commands from a file are never played back).
//
// The form byte also dates the record's type index (element 31): form 1 was
// written by earlier builds of this program, which counted the symbologies
// in another order (Symbology_Index_From_Former_Order); form 2 records, and
// records of other programs, count them in the type popup's order.
inline constexpr int Barcode_Picture_Form = 2;
QByteArray Barcode_Picture_To_Data(const PtImage& image);
// Throws for data that is no picture of this form; an empty picture for kind
// 0. `version`, when given, receives the form byte.
PtImage Barcode_Picture_From_Data(const QByteArray& data, int* version = nullptr);

// Whether a record carries the barcode picture; left out, element 29 is empty
// data (for comparing designs: the picture follows from the settings).
enum class Record_Pictures { Included, LeftOut };

// The record of one item (the item is not changed). A signature item without
// a file path is written with the sample picture's path.
QVariantList Get_Control_Prop_To_Array(const LMNGraphic& item, Record_Pictures pictures = Record_Pictures::Included);

// What reading one record gave.
struct Item_Record_Read {
    std::unique_ptr<LMNGraphic> item;   // null when the record makes no item
    QString problem;                    // why it was not read whole; "" when it was
};

// A new item of the record's kind filled from the record. A picture item
// gets its picture loaded from its path; a barcode record without a picture
// (or with one that cannot be read) is rendered again through the context.
// Never throws.
Item_Record_Read Read_Item_Record(const QVariantList& record, const Item_Record_Context& context = {});
// The item alone (null for an unknown kind).
std::unique_ptr<LMNGraphic> Create_Control_From_Array(const QVariantList& record,
                                                      const Item_Record_Context& context = {});

// The binding fields of a record cleared, as a template stores them: data
// source 0, spreadsheet binding off with column -1, and series -1 and "".
void Clear_Record_Binding(QVariantList& record);
