#pragma once
// Names of exported files and the keep-or-replace decision.
//
// The export dialogs fill an Export_Naming value from their controls on the
// GUI thread; a job takes it with its counter and builds every path from it
// on its worker.
//
// Tags: "<DEF>" (base "Label" or "Barcode", numbered by the counter), card
// tags "<SN>", "<SV>", "<SNV>", barcode tags "<BS>", "<BV>", "<BSV>", "<BH>",
// "<BF>", or any other text as a custom name (numbered like "<DEF>").
#include <QString>

class Job_Control;

// The naming settings of one job, with its own counter.
struct Export_Naming {
    QString file_name_exported;     // the tag, or the cleaned custom name
    QString file_prefix_exported;   // "" when the prefix and suffix box is off
    QString file_sufix_exported;
    QString file_series_exported;   // the series that names card files
    QString file_export_Path;       // the chosen destination, then the job's export folder
    QString file_path_ext;          // "jpg", "tiff", "bmp", "png", "eps", "gif"
    int export_card_counter = 0;    // the names built so far

    // The full path of a card file for a row (1-based row number).
    QString Export_Name_With_Options(const QString& value, const QString& seriesName, int row);
    // The full path of a barcode file for a row (value untrimmed).
    QString Export_Barcode_Name_With_Options(const QString& value, const QString& header,
                                             const QString& footer, const QString& seriesName,
                                             int row);
    // folder / cleaned name . ext; the counter goes up for every path; with
    // `useCounter` the first free numbered name.
    QString Create_And_Check_File_Name(const QString& folder, const QString& name, bool useCounter);

private:
    QString withPrefixSuffix(const QString& name) const;
    QString numbered(const QString& name) const;
};

// Check_Exist_Path_and_Create_New (the first free numbered name) is in
// core/util/Helpers.h.

// Asks whether an existing file is kept (the new one gets a numbered name)
// or replaced, unless an earlier "apply to all" of the job answered already.
// Returns the path to write, or "" after Cancel (which stops the job).
// Replacing never deletes the old file: the writer replaces it atomically.
QString Check_And_Show_Keep_Replace_File_Msg(const QString& path, bool show_apply_all, Job_Control& job);
