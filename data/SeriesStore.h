#pragma once
// Series: named lists of text values, one UTF-8 text file each in the series
// folder (Folders.Data_Folder_Path), every value followed by a line feed.
//
// Names are matched without regard to case, the extension included, so a
// series is found whatever case its file name has and is never listed twice.
// Every write goes through QSaveFile: a failed write keeps the old file.
// All functions run on the calling thread; none raises.
#include <QString>
#include <QStringList>

#include <functional>

class QComboBox;

// ---- Paths and names ----
// The file of a series: an existing file whose name matches case-insensitively
// (an exact match first), else Folders.Data_Folder_Path/<name>.txt.
QString Series_File_Path(const QString& name);
// True when a series file of that name exists (any case).
bool Series_Exists(const QString& name);
// The series names of the folder, sorted, each once (the first spelling met
// in name order wins); empty when the folder is missing.
QStringList Series_Names();
// The name a kept copy gets beside an existing series: "<name> (n)" for the
// smallest n = 1, 2, ... whose file does not exist; the file takes the
// extension in capitals (Series_Keep_Both_Path).
QString Series_Keep_Both_Name(const QString& name);
QString Series_Keep_Both_Path(const QString& name);

// ---- Reading ----
// The values: the whole text trimmed (Trim_Str), split on line feeds. Empty
// for a missing file or one that is not UTF-8; one empty value for an
// existing file that is empty after trimming. `exists` tells whether a
// readable series was there.
QStringList Read_Series_Values(const QString& name, bool* exists = nullptr);
// 0 for a missing or unreadable file, else the number of values.
int Get_Data_Set_Series_Item_Count(const QString& name);
// The first value; empty for a missing or unreadable file.
QString Get_First_Value_Of_Dataset(const QString& name);

// Fills a combo box with the values of a series: deselects, removes every
// item, adds each value and selects the first. For a missing series only a
// value-list combo of barcode mode (`isValueListCombo`) is emptied; any
// other combo is left as it was.
void Fille_Data_Set_Values_In_Combo(QComboBox* combo, const QString& name, bool isValueListCombo);

// ---- Writing ----
// How a writer treats the values it is given.
enum class SeriesValues {
    AsGiven,          // every value as formed (generator, picture paths)
    TrimKeepEmpty,    // trimmed; an empty value stays an empty line (spreadsheet columns)
    TrimDropEmpty,    // trimmed; values empty after trimming left out (series manager)
    DropEmpty,        // as given; empty values left out (text import)
};
// The values as the policy gives them (a line feed inside a value would
// split it: it becomes a space).
QStringList Series_Values_For_Writing(const QStringList& values, SeriesValues policy);
// The bytes of a series file: each value's UTF-8 followed by "\n".
QByteArray Series_File_Bytes(const QStringList& values);

// Writes (replacing) the file of `name` with the values, atomically. False
// when it could not be written (the old file is kept).
bool Write_Series_File(const QString& name, const QStringList& values);
// The same at a given path (a kept copy's capital extension, a renamed series).
bool Write_Series_File_At(const QString& path, const QStringList& values);
// Adds the values after the last record of the series (creating it when
// missing), atomically. False when it could not be written.
bool Append_Series_File(const QString& name, const QStringList& values);
// Values given one at a time (value i by `at(i)`), so that a writer that
// takes them from a large table holds one value at a time, not all of them.
struct Series_Value_Source {
    qsizetype count = 0;
    std::function<QString(qsizetype)> at;
};
// Writes the values as Series_Values_For_Writing gives them, straight into
// the file (replacing it, or after its last record with `append`),
// atomically. False when it could not be written (the old file is kept).
bool Write_Series_Values_At(const QString& path, const Series_Value_Source& values, SeriesValues policy,
                            bool append = false);
// Removes the series file; failures are logged.
void Delete_Series_File(const QString& name);

// Whether the series is in use (Check_Batch_File_In_Use_Validation of the
// main window), asked for the name as given and for the spelling its file has.
bool Series_In_Use(const QString& name);

// The checks a writer makes on the GUI thread before it writes a series from
// a typed name: the cleaned name, refused when empty ("Please enter valid
// series name."); the in-use test ("... can't be create ..." or, with
// `updating`, "... can't be update ..."); and, for an existing series, the
// question "Batch Processing Series already exists. Do you want to replace
// it?" (No refuses). Returns the cleaned name, or a null string when refused.
// `checkInUseAlways` off tests the in-use rule only for an existing series.
QString Series_Target_Name(const QString& typedName, bool updating = false, bool checkInUseAlways = true);

// The whole road of a writer that creates a series from a typed name:
// cleans the name (Remove_Reserve_Char_In_File_Name) and refuses an empty one
// with "Please enter valid series name."; refuses a series in use with
// "Batch Processing Series can't be create because it is currently in use."
// (`updating`: "... can't be update ..."); asks before replacing an existing
// series ("Batch Processing Series already exists. Do you want to replace
// it?", No writes nothing); writes, or says "Error in file accessing.".
// Returns the cleaned name written, or a null string when nothing was written.
// `checkInUseAlways` off checks the in-use rule only when the series exists.
QString Save_Series(const QString& typedName, const QStringList& values, SeriesValues policy,
                    bool updating = false, bool checkInUseAlways = true);
