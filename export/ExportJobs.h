#pragma once
// Batch export of cards (designing mode) and barcodes (barcode mode) as image
// files, one file per data row, on a worker under the progress window.
//
// The worker takes the rows in order through App_Services().Batch_Services (the main window
// renders copies of the design's items, never the live ones), has the 600 DPI
// redraw and the encoding of several rows done at once on the other cores,
// and names and writes the files in row order, asking keep-or-replace where a
// file exists. Stop ends the job after the row in work; Cancel in the
// keep-or-replace box writes nothing more. At the end the report says what
// was written, what failed and which rows were skipped.
#include "core/util/BatchServices.h"
#include "core/util/JobControl.h"
#include "export/ExportNaming.h"
#include "export/JobRunner.h"
#include "platform/PtImage.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <QString>
#include <QStringList>

#include <memory>

struct ExportJobReport {
    int rows = 0;          // rows in the range
    int written = 0;       // files written
    int failed = 0;        // files that could not be written
    QList<int> skipped;    // 1-based rows left out (no image)
    QList<int> invalid;    // 1-based rows written as the invalid-data image
    bool stopped = false;  // Stop or Cancel ended the job early
    bool cancelled = false;  // Cancel in the keep-or-replace box
    bool folderFailed = false;
    QString folder;        // the export folder
    QStringList files;     // paths written, in order
    QString message;       // what the user was told at the end
};

// A card batch: rows [Print_Start, Total_Label) of the bound sources.
struct CardExportJob {
    QString destination;   // the chosen folder; files go into "Zorv Label" inside it
    int Print_Start = 0;   // first row, 0-based
    int Total_Label = 1;   // end of the loop, exclusive
    Export_Naming naming;  // tag, prefix, suffix, series, extension, counter
    Batch_Rows rows;       // the cards, and the series values that name them
    QPointer<QWidget> host;  // the window the progress window is shown on
    Job_Control_Ptr control;  // stop, progress, keep-or-replace (a new one when null)
};

// A barcode batch: rows [Print_Start, Total_Label) of the list or series.
// Names and images come from the same rows.
struct BarcodeExportJob {
    QString destination;   // files go into "Zorv Barcode" inside it
    int Print_Start = 0;
    int Total_Label = 1;
    Export_Naming naming;
    QString seriesName;    // the series that names files ("<BS>", "<BSV>"), or ""
    bool skipInvalid = false;
    PtImage invalidImage;  // written for a row without a barcode unless skipped
    Batch_Rows rows;       // the texts and barcodes of the rows
    QPointer<QWidget> host;
    Job_Control_Ptr control;
};

// Starts the jobs on a worker (export/JobRunner.h) under the job's control
// and returns at once (GUI thread).
std::shared_ptr<Job_Handle<ExportJobReport>> Export_Batch_File(const CardExportJob& job);
std::shared_ptr<Job_Handle<ExportJobReport>> Export_Batch_File_Barcode(const BarcodeExportJob& job);

// The jobs' bodies, run on the calling thread (the workers above call them).
ExportJobReport Run_Card_Export(const CardExportJob& job);
ExportJobReport Run_Barcode_Export(const BarcodeExportJob& job);
