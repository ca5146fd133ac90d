#pragma once
// The geometry of a printed label sheet as plain functions: where each cell
// of the grid lies, how rows, columns and gaps are fitted to the paper, the
// crop marks of a cell, the page count of a job, the names of paper sizes and
// the length units of the catalogue.
//
// Sheet coordinates are points with the origin at the bottom-left corner of
// the paper and y growing upwards; row 1 is the top row, column 1 the left
// column. To_Top_Left() turns a rectangle into Qt's top-left coordinates.
#include <QLineF>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>

struct Sheet_Geometry {
    float W = 0, H = 0;           // paper
    float L = 0, R = 0, T = 0, B = 0;  // page margins
    float lw = 0, lh = 0;         // cell size
    float hg = 0, vg = 0;         // gaps between columns, between rows
    int rows = 1, cols = 1;
    int align = 1;                // 1 top-left ... 9 bottom-right; others as 1
    bool autoCenter = false;      // cells spread evenly; the alignment is not used
};

// Bottom-left corner of the cell in row `row` and column `col` (1-based).
QPointF Cell_Origin(const Sheet_Geometry& g, int row, int col);
QRectF Cell_Rect(const Sheet_Geometry& g, int row, int col);

// A rectangle of sheet coordinates in top-left coordinates of a sheet `H` high.
QRectF To_Top_Left(const QRectF& r, double H);

// The eight crop-mark lines of 20 points at the corners of `r`, in the order
// they are drawn (sheet coordinates).
QList<QLineF> Crop_Mark_Lines(const QRectF& r);

// The grid fitted to the paper: rows, columns and gaps, and whether the
// entered counts had to be lowered.
struct Grid_Fit {
    int rows = 1, cols = 1;
    float hg = 0, vg = 0;
    bool rowsLowered = false, colsLowered = false;
};
// How far a grid may reach past the paper and still fit: a hundredth of a
// millimetre, in points (lengths typed in millimetres, paper sizes from
// their own units, and single-precision points all round a little).
inline constexpr double Sheet_Fit_Tolerance_Points = 0.01 * 72.0 / 25.4;

// `autoCenter`: the gaps are spread evenly (manual source, fit to frame off).
// Otherwise the entered gaps stay and counts that do not fit are lowered to
// the number of cells the paper holds (never below 1).
Grid_Fit Fit_Grid_To_Paper(const Sheet_Geometry& g, bool autoCenter);

// Sheets needed for `labels` labels of rows x cols a sheet (rows and columns
// below 1 count as 1).
int Page_Count(int labels, int rows, int cols);

// The paper name of a size given as two "%.2f" texts in millimetres (either
// orientation), or "" when the table has none.
QString Find_Papaer_Name_From_Size(const QString& width, const QString& height);

// Lengths of a catalogue product are divided by this factor to give
// millimetres: "emu" 36000, "mm" 1, "in" 0.0393701, "cm" 0.1, others 1. The
// word is lower-cased and trimmed first.
double Catalogue_Unit_Factor(const QString& unit);

// Millimetres and points.
float MM_To_Points(float mm);
float Points_To_MM(float points);
