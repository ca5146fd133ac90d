#pragma once
// Process-wide values of printing: the label-sheet geometry that the print
// window edits and the printed page and the sheet preview read, the job
// options and counters, and the names the small naming dialogs leave behind.
//
// Lengths are points (1/72 inch) held as 32-bit floats. Everything here is
// used on the GUI thread only; one print job runs at a time.
#include "platform/PtImage.h"

#include <QString>

// ---- Which window drives the sheet preview (0 the print window) ----
extern int PDF_View_Not_Print;
// The PDF export window makes one page of each label's size (options 2 and 3).
extern int PDF_Use_Label_Size;

// ---- The one image printed on every label when no batch is used ----
extern PtImage Barcode_Image;

// ---- Label-sheet geometry (points) ----
extern float label_width;        // cell size used for the layout
extern float label_hight;
extern float Real_label_width;   // size of the card itself (the manual label)
extern float Real_label_hight;
extern float Left_Mar;           // page margins of the grid
extern float Rite_Mar;
extern float Top_Mar;
extern float Bot_Mar;
extern float horz_mar;           // gap between columns
extern float vert_mar;           // gap between rows
extern int Print_Row;            // rows and columns of cells a sheet (at least 1)
extern int Print_Col;
extern float predef_page_wdt;    // page of the chosen predefined sheet, whole points
extern float predef_page_hgt;
extern int Manual_or_Pre;        // 0 manual label, 1 predefined sheet
extern QString cus_or_pre;       // "C" custom sheet, "P" catalogue product
extern int label_align_val;      // 1 top-left ... 9 bottom-right
extern int label_align_val_bkup; // alignment kept while the predefined source is on
extern int auto_center_flag;     // cells spread evenly over the printable area

// ---- Options of the job ----
extern int Show_margin_rect;       // label outlines in the sheet preview
extern int Enable_Crop_Marks;      // crop marks around cells
extern int Fit_Picture_To_Frame;   // one label filling the printable area
extern int skip_invalid_barcode;   // barcode mode: leave out rows without a barcode
extern int print_wd_pq_opt;        // repeat each row by its print quantity
extern int Use_Barocde_In_Center;  // centre the image in its cell (barcode mode)

// ---- Counts of the job (Total_Label, Print_Start and Print_End are shared
// with the other batch jobs, core/util/BatchServices.h) ----
extern int Total_Label_Real;       // labels to process before drawing stops
extern int printable_label_count;  // labels that give a barcode (skip invalid)

// ---- Names accepted by the naming dialogs ----
extern QString custom_prod_name;           // product number of a custom sheet
extern QString custom_profile_Printer;     // printer chosen for a profile
extern QString custom_print_profile_name;  // name of a profile
