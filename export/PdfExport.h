#pragma once
// The PDF export writer: lays the labels of a job out as PDF pages in one of
// four layouts and writes the files.
//
//   option 0  one file, a page per sheet of rows x columns labels
//   option 1  a file per sheet
//   option 2  a file per label
//   option 3  one file, a page per label
//
// Sheet pages have the paper's size and use the cell grid of the printed
// sheet (print/SheetLayout.h). Options 2 and 3 put one label on a page: on
// the paper, placed by the alignment (middle-centre with auto-centre), or,
// with the label-size setting, on a page as large as the label's image,
// rounded up to whole points so that it holds the whole label. Labels come
// from the job's rows, each repeated by its print quantity; a row without an
// image is left out (skip-invalid) or shows the invalid-data image. Without
// batch values every label is the one label image of the window.
//
// The writer works on a value of the job (Pdf_Export_Job) made on the GUI
// thread when the job is accepted; it never changes the window's sheet job,
// so the window is as it was after every job. Files
// go through QSaveFile: a failed or replaced file never loses the old one.
#include "core/util/JobControl.h"
#include "export/JobRunner.h"
#include "platform/PtImage.h"
#include "print/SheetJob.h"
#include "print/SheetLayout.h"

#include <QList>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>

class QPainter;
class QWidget;

// The folder made inside the chosen destination.
extern const QString pdf_export_folder_name;  // "Zorv PDF Label"

// One job, as the window accepted it: its sheet job (range, options, the
// grid on the page, the label image, the rows) and the files to write.
struct Pdf_Export_Job {
    int option = 0;              // after the 1 x 1 conversion (0 -> 3, 1 -> 2)
    Sheet_Job sheet;             // `paper` is the page; PDF_Use_Label_Size, skipping, quantities...
    QString folder;              // the export folder ("Zorv PDF Label")
    QString baseName;            // the file name as typed

    // The grid of cells on the page.
    Sheet_Geometry geometry() const { return sheet.Geometry(sheet.paper); }
};

struct Pdf_Export_Report {
    int labels = 0;          // labels laid out
    int pages = 0;           // pages written
    int failed = 0;          // files that could not be written
    QStringList files;       // files written, in order
    QList<int> pagesPerFile; // pages of each written file
    QList<int> skippedRows;  // 1-based rows left out
    bool stopped = false;    // Stop, or Cancel in the keep-or-replace box
    bool cancelled = false;  // Cancel in the keep-or-replace box
    QString message;         // what the user was told at the end
};

// The name of the k-th file of a job (k from 0): the base name, then
// "base (k)"; cleaned of reserved characters, with the extension "PDF".
QString Pdf_File_Path(const QString& folder, const QString& baseName, int k);

// Lays out and writes the job on the calling thread under `control` (a
// control of its own when null): its curr_card_count counts the labels
// attempted, its keep-or-replace answers decide existing files, and the job
// stops before the next label once its Stop_Processing_Now is set; a stopped
// file keeps its finished pages and is closed as a valid file.
Pdf_Export_Report Run_Pdf_Export(const Pdf_Export_Job& job, Job_Control* control = nullptr);

// The worker of the window's OK: shows the progress window on `host`, runs
// the job, shows the first row or the design again (batch values or a
// spreadsheet binding), hides the progress window and shows the after-export
// box for the folder. Runs on a worker (export/JobRunner.h) and returns at
// once (GUI thread).
std::shared_ptr<Job_Handle<Pdf_Export_Report>> Export_PDF_File(const Pdf_Export_Job& job, QWidget* host);

// Writes images as one PDF, a page of each image's own size rounded up to
// whole points (the e-mail attachment of a card or barcode). False when it
// could not be written.
bool Write_Image_Pages_Pdf(const QString& path, const QList<PtImage>& images, QString* error = nullptr);
