#pragma once
// Names of exported files and the keep-or-replace decision.
//
// The export dialogs write the naming settings into the process-wide values
// below on the GUI thread; a job takes an Export_Naming snapshot of them when
// it starts and builds every path from that snapshot on its worker.
//
// Tags: "<DEF>" (base "Label" or "Barcode", numbered by the counter), card
// tags "<SN>", "<SV>", "<SNV>", barcode tags "<BS>", "<BV>", "<BSV>", "<BH>",
// "<BF>", or any other text as a custom name (numbered like "<DEF>").
#include <QString>

#include <atomic>

// ---- Process-wide naming settings of the running export ----
extern QString file_name_exported;    // the tag, or the cleaned custom name
extern QString file_prefix_exported;  // "" when the prefix and suffix box is off
extern QString file_sufix_exported;
extern QString file_series_exported;  // the series that names card files
extern QString file_export_Path;      // destination folder, or the job's export folder
extern QString file_path_ext;         // "jpg", "tiff", "bmp", "png", "eps", "gif"
extern std::atomic<int> export_card_counter;  // names built in this export
extern std::atomic<bool> Export_Any_File;     // a file was written in this export
extern std::atomic<bool> invalid_barcode_image_flag;
extern QString export_card_side;      // "F": only the front can be exported

// Resets what every export starts from (the export command does this before
// its dialog opens): counter 0, keep-or-replace answer 0, apply-to-all off,
// nothing exported yet.
void Reset_Export_State();

// The naming settings of one job, with its own counter.
struct Export_Naming {
    QString tag, prefix, suffix, series, folder, ext;
    int counter = 0;

    // A snapshot of the process-wide settings (GUI thread).
    static Export_Naming fromGlobals();
    // Writes the counter back (GUI thread, or once the job has ended).
    void storeCounter() const;

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
// or replaced, unless an earlier "apply to all" answered already. Returns
// the path to write, or "" after Cancel (which sets Stop_Processing_Now).
// Replacing never deletes the old file: the writer replaces it atomically.
QString Check_And_Show_Keep_Replace_File_Msg(const QString& path, bool show_apply_all);
