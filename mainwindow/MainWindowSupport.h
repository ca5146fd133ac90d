#pragma once
// What the main window needs of the lower subsystems, gathered in one place:
// messages, folders, the canvas, placeholder pictures and the flags shared
// with the panels.
#include <QImage>
#include <QSize>
#include <QString>

class QWidget;

// Barcode type names in the order of the type popup.
QStringList Type_Popup_Names();

// The shipped resource folder.
QString Find_Resource_Path();

// A message box with "OK".
void Main_Show_Message(const QString& text);

// Points the series folder at `path`.
void Set_Data_Folder_Path(const QString& path);
QString Get_Data_Folder_Path();

// The main window's flag that suppresses regeneration and writing back while
// its controls load (the panes and panels reach it here; false and ignored
// while there is no main window).
void Not_Draw_Only_Prop_Change_Set(bool on);
bool Not_Draw_Only_Prop_Change_Get();

// Enables or disables a control and everything inside it.
void SetEnabled_Recursive(QWidget* widget, bool enabled);

// Creates the per-user folders and default files of a new project.
void Check_Path_And_Create_Files_Now();

// "in", "cm" or "mm" for a unit code.
QString Unit_Caption(int unit);
