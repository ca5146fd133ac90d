#pragma once
// Program-wide helper functions: strings with fixed edge behaviour, cleaning
// of user-typed file names, folders and files, the program's folders, the
// help document, enabling controls and length units.
//
// Lengths and indexes count UTF-16 units. A null QString stands for "nil".
#include <QString>
#include <QStringList>
#include <QStringView>

#include <functional>

class QWidget;

// ---- Strings ----
// Removes white space and line breaks from both ends, then, in a second pass,
// control characters from both ends.
QString Trim_Str(const QString& s);
// True when Trim_Str would give the text back as it is.
bool Is_Trimmed(const QString& s);
// What Trim_Str keeps, as a piece of the text itself.
QStringView Trim_View(QStringView s);
// Whether Trim_Str of a text given in pieces, in order, would leave
// anything: the same answer however the text is cut.
class Trim_Str_Watch {
public:
    void feed(QStringView piece);
    // True while Trim_Str of all that was fed is empty.
    bool empty() const { return !m_kept; }

private:
    bool m_kept = false;
    bool m_inner = false;  // a character that is not white space has come
    bool m_space = false;  // since then, white space that is not a control character
};
QString Replace_Char_For_Valid(const QString& s);  // Trim_Str
QString Replace_Char_For_valid(const QString& s);  // Trim_Str
// First n characters (n < 0 counts as 0; n >= length gives s itself).
QString Left_Str_substringToIndex(const QString& s, int n);
// Last n characters (n < 0 counts as 0; n >= length gives s itself).
QString Right_Str_substringFromIndex(const QString& s, int n);
// Characters from index i to the end; "" when i < 0 or i > length.
QString Read_Str_FromIndex(const QString& s, int i);
// First i characters; "" when i < 0 or i > length.
QString Read_Str_Upto_Index(const QString& s, int i);
// Every occurrence of a replaced by b (literal, case-sensitive).
QString Replace_char_in_string(const QString& s, const QString& a, const QString& b);
// Replaces every character for which `inSet` holds by r. A replacement that
// itself holds such characters is applied once, left to right.
QString stringByReplaceCharacterSet(const QString& s, const std::function<bool(QChar)>& inSet,
                                    const QString& r);
// t occurs in s (case-sensitive); false for an empty t or a null s.
bool Find_Str(const QString& s, const QString& t);
// t occurs in s ignoring case; false for a null s or t, or an empty t.
bool Find_Str_Case_Insensitive(const QString& s, const QString& t);

// ---- File names, folders and files ----
// The reserved characters / \ ? % * | " < > (not the colon).
bool Is_Reserved_File_Name_Char(QChar c);
// Reserved characters stripped from both ends, every remaining '/' made '_',
// NUL characters removed, then Trim_Str.
QString Remove_Reserve_Char_In_File_Name(const QString& name);
// Creates the folder and its missing parents (with the user's umask). True
// when a folder is there afterwards; false when creation fails or a plain
// file stands at the path.
bool Create_Folder(const QString& path);
// Removes the folder with its contents, or the file (a link itself, never
// what it points to). Failures are ignored.
void Delete_Folder(const QString& path);
// Removes the item when its folder lets us. Failures are ignored.
void Delete_File(const QString& path);
// The path with its extension in capitals when nothing of that name is
// there, else the first free "name (n).EXT". A name counts as taken when a
// file with that name and the extension in any of its usual cases exists.
QString Check_Exist_Path_and_Create_New(const QString& path);
// The user help shipped with the program: Folders.Resource_Path/"Help.pdf".
QString Help_File_Path();
// Opens the user help in the desktop's PDF viewer, or says "Help file does
// not exist!"; when no program can show it, says where the file is.
void Open_Help_File();

// Sets the program's folders (Folders.Resource_Path, Folders.Created_Resource_Path and
// Folders.Data_Folder_Path) to their defaults where they are still empty.
void Init_Program_Paths();
// Creates the program's folders and copies the default custom label sheet and
// print profile into the data folder when they are missing there. Folders
// the program fills inside the resources get their per-user twin in the data
// folder (the resources are never written).
void Check_Path_And_Create_Files();
// The per-user twin of a resource sub-folder ("Background", "LibraryImage"...).
QString User_Resource_Folder(const QString& subFolder);
// The shipped folder and its per-user twin, to be listed together.
QStringList Resource_Folder_Paths(const QString& subFolder);
// A resource file by relative path: the user's twin when it exists there,
// else the shipped one.
QString Resolve_Resource_File(const QString& relativePath);

// ---- Controls ----
// Enables or disables a control. A plain group box is not disabled itself:
// the call passes to the controls inside it (nested group boxes entered the
// same way), so single controls can be enabled again later.
void SetObjEnabled(QWidget* object, bool enabled);

// ---- Lengths (points inside; unit codes 0 inch, 1 centimetre, 2 millimetre) ----
constexpr double MM_To_Points_Factor = 2.834645669291;
constexpr double Points_To_MM_Factor = 0.3527777777778;
// Factor from millimetres to the unit.
double MM_To_Unit_Factor(int unit);
double Points_To_Unit(double points, int unit);
double Unit_To_Points(double value, int unit);
// A length as a unit field shows it: four decimals in inches, two in
// centimetres and millimetres (10 mm is "0.3937", "1.00" and "10.00"), so a
// typed value comes back as typed; in the C locale.
QString Length_Field_Text(double value, int unit);
// A position in points as its field shows it: two decimals, C locale.
QString Points_Field_Text(double points);
// The step of a unit field's arrows: 0.01 in, 0.1 cm or 1 mm.
double Length_Field_Step(int unit);
