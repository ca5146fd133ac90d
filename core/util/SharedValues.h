#pragma once
// Process-wide values shared by the drawing core and the subsystems above it:
// the series folder and file conventions, the program's folders and the page
// settings of the process. (What a batch job and its windows share lives in
// the job: core/util/JobControl.h, print/SheetJob.h.)
//
// They are owned higher up (data sources, export) but defined here, in the
// core, because the core's helpers and message boxes use them.
#include <QMarginsF>
#include <QPageLayout>
#include <QString>

#include <atomic>

// ---- The program's folders ----
// One value, set at start-up (the main window's set-up and
// Check_Path_And_Create_Files) before any window opens or job starts, and
// only read after that, on any thread. Process-wide because every layer
// names its files in these folders and no window owns them; tests point them
// at temporary folders.
struct Folder_Paths {
    QString Resource_Path;          // read-only shipped resources
    QString Created_Resource_Path;  // per-user data folder
    QString Data_Folder_Path;       // series folder: "DataSet" inside the data folder
    QString Cropped_Img_Path;       // "Cropped_Images" inside the data folder
    QString custom_label_path;      // "CustomProductLabel" inside the data folder
    QString print_profile_path;     // "PrintProfile" inside the data folder
};
extern Folder_Paths Folders;

// ---- Series ----
extern const QString batch_file_EXT;     // "txt", extension of series files
extern const QString default_file_name;  // "Untitled"

// The existing file of the series `name` in Data_Folder_Path, found whatever
// the case of its name and extension ("City (1).TXT" for "city (1)"), the
// exact spelling first; "" when there is none.
QString Existing_Series_File(const QString& name);
// Whether two series names are the same series (case does not count).
bool Same_Series_Name(const QString& a, const QString& b);

// ---- Messages ----
// Shown when a job cannot make or write its output folder (exports, the
// picture cropper's series).
extern const QString unable_saving_Msg;

// ---- Pictures ----
extern const int Crop_Image_Size;    // 800: longer side of picture thumbnails, pixels

// ---- Page settings of the process ----
// Paper, orientation, margins and where a job goes. Shared by the document,
// the print window and the PDF export window.
struct PrintInfo {
    QPageLayout pageLayout{QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)};
    QString printerName;          // empty: the default printer
    QString jobDisposition{QStringLiteral("spool")};  // "spool", "preview" or "save"
    QString savePath;             // for "save"

    bool operator==(const PrintInfo& o) const
    {
        return pageLayout == o.pageLayout && printerName == o.printerName
            && jobDisposition == o.jobDisposition && savePath == o.savePath;
    }
    bool operator!=(const PrintInfo& o) const { return !(*this == o); }
};
