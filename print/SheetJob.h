#pragma once
// One sheet job: everything the printed sheet, the PDF pages and the sheet
// preview need to lay labels out. The print window and the PDF export window
// each keep one, edit it from their controls and hand it (or a copy) to their
// preview and to the print and PDF roads; nothing of it is shared between
// windows or outlives the window that made it.
//
// Lengths are points (1/72 inch) held as 32-bit floats, as the window's
// fields give them.
#include "core/util/BatchServices.h"
#include "platform/PtImage.h"
#include "print/SheetLayout.h"

#include <QMarginsF>
#include <QRectF>
#include <QSizeF>
#include <QString>

// The outline of a label: a rectangle, a rectangle with rounded corners, or
// an ellipse (a round label is a circle).
struct Label_Shape {
    enum Kind { Rectangle, Rounded, Ellipse };
    Kind kind = Rectangle;
    double radius = 0;   // corner radius of a rounded rectangle, points
    bool operator==(const Label_Shape&) const = default;
};

struct Sheet_Job {
    // ---- Mode and window ----
    bool designing = false;          // cards (designing mode) or barcodes
    int PDF_View_Not_Print = 0;      // 1: the PDF export window lays the sheet out
    int Card_Shape = 0;              // outline of a card's cell: 0 rectangle, 1 rounded, 2 ellipse
    Label_Shape labelShape;          // outline of the labels of the sheet (a catalogue product's)
    QMarginsF pictureMargins;        // blank edges of a barcode's picture (its margins), points

    // ---- Label-sheet geometry ----
    float label_width = 0.0f;        // cell size used for the layout
    float label_hight = 0.0f;
    float Real_label_width = 0.0f;   // size of the card itself (the manual label)
    float Real_label_hight = 0.0f;
    float Left_Mar = 0.0f;           // page margins of the grid
    float Rite_Mar = 0.0f;
    float Top_Mar = 0.0f;
    float Bot_Mar = 0.0f;
    float horz_mar = 0.0f;           // gap between columns
    float vert_mar = 0.0f;           // gap between rows
    int Print_Row = 1;               // rows and columns of cells a sheet (at least 1)
    int Print_Col = 1;
    float predef_page_wdt = 0.0f;    // page of the chosen predefined sheet, whole points
    float predef_page_hgt = 0.0f;
    int Manual_or_Pre = 0;           // 0 manual label, 1 predefined sheet
    int label_align_val = 1;         // 1 top-left ... 9 bottom-right
    int auto_center_flag = 0;        // cells spread evenly over the printable area
    QSizeF paper;                    // the paper of the print settings (the print window's sheet)

    // ---- Options ----
    int Show_margin_rect = 1;        // label outlines in the sheet preview
    int Enable_Crop_Marks = 0;       // crop marks around cells
    int Fit_Picture_To_Frame = 0;    // one label filling the printable area
    int skip_invalid_barcode = 0;    // barcode mode: leave out rows without a barcode
    int print_wd_pq_opt = 0;         // repeat each row by its print quantity
    int Use_Barocde_In_Center = 0;   // centre the image across its cell (barcode mode)
    int PDF_Use_Label_Size = 0;      // the PDF pages of one label have its size

    // ---- Range and counts ----
    bool Use_Data_Sheet_Values = false;     // one label a row of `rows`
    bool Use_Excel_Binding_Values = false;  // the design reads spreadsheet rows
    int Print_Start = 0;             // first row, 0-based
    int Print_End = 0;               // the row after the last
    int Total_Label = 1;             // labels the job lays out (sheets, progress)
    int Total_Label_Real = 1;        // labels to lay out at most

    // ---- Labels ----
    PtImage Barcode_Image;           // the label without batch values
    PtImage invalidImage;            // stands in for a row that gives no label (PDF)
    Batch_Rows rows;                 // the rows of the job
    QString Start_Card_Option;       // the design's start option when the job was made

    // The grid of cells on a sheet of `sheet` points.
    Sheet_Geometry Geometry(QSizeF sheet) const;
    // The sheet the print window lays out: the paper, or the page of a
    // predefined sheet.
    QSizeF Sheet_Size() const;
    // Where the label of a cell (row and column from 1) lies on a sheet of
    // `sheet` points, in sheet coordinates (origin bottom-left).
    QRectF Cell_Rect(QSizeF sheet, int row, int col) const;
    // The cell's size, and the size of the label's image (the barcode image,
    // or the card in designing mode): the two sizes a label is checked by.
    QSizeF Cell_Size() const { return QSizeF(label_width, label_hight); }
    QSizeF Label_Image_Size() const;
    // Where a label's image of `image` points lies when it is drawn into
    // `cell` (top-left coordinates): a barcode across the middle of its cell
    // and upright in the middle or on its foot, a card from the cell's corner
    // (on a catalogue sheet with its top on the cell's top).
    QRectF Label_Image_Rect(const QRectF& cell, QSizeF image) const;
    // Whether the label's image reaches past its cell (by more than half a
    // point anywhere).
    bool Image_Larger_Than_Cell() const;
};
