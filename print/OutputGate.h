#pragma once
// The print command of the main window, and the checks it shares with the
// PDF export command: what the job will draw on must exist before the window
// opens.
//
// Designing mode goes straight on. Barcode mode needs rows ("List is empty."
// otherwise, with the list focused), a typed value that encodes when the
// value is typed, and, when the list or a series feeds the value, a row that
// encodes: the first such row is selected so the job starts from it; when no
// row encodes the selection is put back and "Invalid barcode value or value is
// too long." is shown. Then a printer must exist ("No printer found."); the
// design is backed up, the window runs, and the design is restored.
#include <functional>

class Batch_Row_Source;

// Print_Button: the whole print command (Print_method in designing mode,
// Print_Barcode_Button in barcode mode).
void Print_Button();

// Designing mode: the print window with the design backed up around it.
void Print_method();

// Barcode mode: the barcode-mode checks, then Print_method.
void Print_Barcode_Button();

// What the print and PDF commands share: designing mode runs `designing` at
// once; barcode mode needs rows, redraws a typed 2D value, then runs
// `barcode`.
void Output_Command(const std::function<void()>& designing, const std::function<void()>& barcode);

// The barcode-mode checks (Print_Barcode_Button without its last step) on
// the rows of the job; false when the command ends. A typed value must
// encode; when batch values feed the value, the first row that encodes
// (Find_Valid_Barcode_Value_For_Batch_Processing) is shown. The rows are
// read without being shown, so the selection changes once or not at all.
bool Barcode_Output_Checks(const Batch_Row_Source& rows);

// No printer (when one is needed): "No printer found." and false. Else the
// design back-up, the window, and the restore. The PDF export passes no need
// of a printer (a PDF is laid out on a default page without one).
bool Run_Output_Window(const std::function<void()>& openWindow, bool needsPrinter = true);
