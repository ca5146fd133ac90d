#pragma once
// Whether the labels of a job fit their cells, and the question asked before
// a print or a PDF export when one does not.
//
// Every label is drawn clipped to its cell, so a barcode or card larger than
// its label loses its edges (a barcode may then not scan). The user is told
// both sizes and what to change before anything is printed or written, and
// may go on or go back.
#include "print/SheetJob.h"

#include <QRectF>
#include <QSizeF>
#include <QString>

struct Label_Overflow {
    bool larger = false;   // some label image reaches past its label
    bool outline = false;  // ... past the label's round or rounded outline only (it fits the cell)
    QSizeF image;          // the largest width and height found, points
    QSizeF cell;           // the cell, points
    Label_Shape shape;     // the label's outline
};

// How far past its label a picture may reach before it counts (points):
// half a point is lost in the printer's rounding anyway.
inline constexpr double Label_Overflow_Tolerance = 0.5;

// Whether a picture drawn into `drawn` (a rectangle) reaches past its label
// by more than the tolerance anywhere: past the label's `cell` and, inside
// it, past the label's own outline `label` (a circle, rounded corners). The
// question before a job names exactly the labels this answers true for
// against their cell (and, on a round or rounded label, those whose ink it
// answers true for against the outline), and a label is clipped to its cell
// exactly when it answers true for the cell.
bool Reaches_Past_Label(const QRectF& drawn, const QRectF& cell, const Label_Shape& label = {});

// The labels the job draws against their cell, and barcodes (their ink: the
// bars and texts as drawn, inside Sheet_Job::pictureMargins) against the
// outline of their labels too (Sheet_Job::labelShape; a card fills its
// rectangle whatever it shows, and one made for round stock is as large as
// the label): the job's one label image, or, with batch values in barcode
// mode, the rows of its first sheet and the rows with the longest value,
// header and footer (a barcode grows with its text). Each is placed as the
// printed sheet places it (Sheet_Job::Label_Image_Rect).
Label_Overflow Find_Label_Overflow(const Sheet_Job& job);

// What is measured, for the wording of the question.
enum class Label_Kind { Card, Linear_Barcode, TwoD_Barcode };
// The kind of label of the current mode.
Label_Kind Current_Label_Kind();

// The question: both sizes in millimetres and what to change.
QString Label_Overflow_Question(const Label_Overflow& overflow, Label_Kind kind);

// Asks the question when a label of the job is larger than its cell; true
// when every label fits or the user goes on.
bool Confirm_Labels_Fit_Cells(const Sheet_Job& job);
