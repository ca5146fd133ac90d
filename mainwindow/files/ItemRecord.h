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
// Reading is strict: a record that is too short, holds an element of the
// wrong type, an unknown kind, a number that is not one (or not finite, or
// out of its range) or a picture blob that is no picture throws
// File_Format_Error, and the design reader refuses the whole file.
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
// A barcode picture as file data: "ZLPI", a version byte, a kind byte (0 no
// picture, 1 PNG pixels), the size in points and the bytes. A vector picture
// is written as no picture: the reader draws the barcode again from the
// record's settings (drawing commands from a file are never played back).
QByteArray Barcode_Picture_To_Data(const PtImage& image);
// Throws for data that is no picture of this form; an empty picture for kind 0.
PtImage Barcode_Picture_From_Data(const QByteArray& data);

// The record of one item (the item is not changed). A signature item without
// a file path is written with the sample picture's path.
QVariantList Get_Control_Prop_To_Array(const LMNGraphic& item);

// A new item of the record's kind filled from the record. A picture item
// gets its picture loaded from its path; a barcode record without a picture
// is rendered again through the context.
std::unique_ptr<LMNGraphic> Create_Control_From_Array(const QVariantList& record,
                                                      const Item_Record_Context& context = {});

// The binding fields of a record cleared, as a template stores them: data
// source 0, spreadsheet binding off with column -1, and series -1 and "".
void Clear_Record_Binding(QVariantList& record);
