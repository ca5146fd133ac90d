#pragma once
// The small files of the print window: custom label sheets (15 strings) in
// the folder "CustomProductLabel" and print profiles (22 strings) in the
// folder "PrintProfile", each a property-list array of strings with the
// extension "zvp", named after the product number or the profile.
//
// Writes are atomic: a failed write keeps the file that was there.
#include <QString>
#include <QStringList>

#include <optional>

constexpr int Custom_Sheet_String_Count = 15;
constexpr int Print_Profile_String_Count = 22;
extern const QString Sheet_File_EXT;  // "zvp"

// The names (without extension) of the files of a folder whose lower-cased
// extension is "zvp", by name.
QStringList List_Sheet_Files(const QString& folder);

// The path of a named file in a folder.
QString Sheet_File_Path(const QString& folder, const QString& name);

// Reads an array of at least `count` strings and answers its first `count`;
// nothing when the file is missing, unreadable, too short or holds
// something other than strings there.
std::optional<QStringList> Read_Sheet_Strings(const QString& path, int count);

// Writes the strings as an XML property-list array, atomically; false when
// the file could not be written (the old one, if any, stays).
bool Write_Sheet_Strings(const QString& path, const QStringList& strings, QString* error = nullptr);
