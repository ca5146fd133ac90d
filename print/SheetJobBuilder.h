#pragma once
// The sheet-job builder: what the range box and the batch boxes of the print
// and PDF windows mean, as functions of a sheet job and nothing else. A
// window opens with the job Opening_Sheet_Job gives for its rows and label;
// while the user changes the options its sheet-options pane keeps the totals
// by Set_Tot_Value and the functions beside it; the cells are laid out on the
// window's page by Fit_Sheet_Job; and every print or PDF job is what
// Range_Of_Job makes of the window's job (the rows and labels of the range,
// which options hold). No widget, service or message box is used here.
#include "core/util/BatchServices.h"
#include "platform/PtImage.h"
#include "print/SheetJob.h"
#include "print/SheetLayout.h"

#include <QSizeF>
#include <QString>

// The most labels a window counts without batch values.
inline constexpr int No_Batch_Maximum = 999999;

// The count of the job's rows in the job's mode (no rows: none, one label
// of the typed barcode or of the card as it is).
Batch_Row_Count Row_Count_Of(const Sheet_Job& job);

// The job a window opens with in a mode, for `rows` (null: none) and the
// label without batch values (`label`, drawn at `labelSize` points): one
// label of that size a sheet, top-left, no gaps, not centred, outlines
// shown, every label (All) from row 1. With batch values (a bound series or
// spreadsheet in designing mode, the list or a series in barcode mode) the
// batch box is offered and ticked and the Total is every row, counted by
// print quantity where the list feeds the values; barcode mode skips rows
// that give no barcode. Without them one label, up to 999999.
Sheet_Job Opening_Sheet_Job(Batch_Rows rows, bool designing, const PtImage& label, QSizeF labelSize);

// Writes a total into the range box: `set_for` "TOT" the Total, "TO" the
// last row, "A" both. A value of 0 counts as 1. Without batch values (the
// batch box not ticked) the maximum is 999999 and a larger value becomes it;
// with them the Total goes up to `maximum` and, in barcode mode, a range up
// to the rows (the Total counts labels, each row by its print quantity; a
// range counts rows).
void Set_Tot_Value(Sheet_Job& job, int value, int maximum, const QString& set_for);

// Barcode mode with batch values: the labels of every row, each by its print
// quantity when that box is ticked, else one a row.
int Total_From_Quantity_Box(const Sheet_Job& job);

// The Total when the batch box is ticked or not: every row of the batch, or
// without it `cells` (one sheet of the same label).
int Batch_Box_Total(const Sheet_Job& job, int cells);

// A Total (`total`) or a From or To typed as `typed`: a whole number of at
// least 1 ("" and 0 give 1); with batch values no more than the labels there
// are (Total) or the rows (From, To). `maximum` receives the maximum the
// value is written with (Set_Tot_Value).
int Typed_Range_Value(const Sheet_Job& job, const QString& typed, bool total, int& maximum);

// Lays the job's cells out on a page of `page` points with the job's
// margins: rows and columns lowered to what fits, the gaps evened out when
// `centre`. The job takes the fitted grid and gaps; the answer says what was
// lowered.
Grid_Fit Fit_Sheet_Job(Sheet_Job& job, QSizeF page, bool centre);

// Why a job cannot start.
enum class Sheet_Job_Refusal {
    None,
    Invalid_Range,   // From after To: "Please select valid range."
    No_Labels,       // nothing to lay out: "There is no barcode to print." (or "to export.")
};

// The job a window's options make: All (every row of the batch, as many
// labels as the Total says) or the rows From..To, each repeated by its print
// quantity; with invalid rows skipped (barcode mode), only the labels of the
// rows that give a barcode. Sets Print_Start, Print_End, Total_Label (the
// labels laid out), Total_Label_Real (the labels walked at most), and the
// options as they hold for the mode and the batch box.
Sheet_Job_Refusal Range_Of_Job(Sheet_Job& job);
