#pragma once
// The file and folder choosers of every window, in one place. A chooser
// starts in the folder it is given when that exists, else in the last folder
// the user chose in any chooser (kept from one run to the next), else in the
// user's Documents folder, else the home folder; never in the process's
// working folder. Choosers run through Run_Modal_Dialog, so tests answer them.
#include <QString>

class QFileDialog;
class QWidget;

// The folder a chooser starts in; `preferred` (a folder, or a file whose
// folder is meant) wins when it exists.
QString Chooser_Start_Folder(const QString& preferred = QString());

// Remembers where the user chose `path` (a folder itself, or a file's folder).
void Remember_Chosen_Path(const QString& path);

// Starts `dialog` in Chooser_Start_Folder(preferred), runs it and answers the
// first path chosen ("" when cancelled), remembering its folder.
QString Run_Chooser(QFileDialog& dialog, const QString& preferred = QString());

// An existing file; `filter` as QFileDialog takes it ("Pictures (*.png *.jpg)").
QString Choose_Open_File(QWidget* parent, const QString& title, const QString& filter = QString(),
                         const QString& preferred = QString());
// An existing folder.
QString Choose_Folder(QWidget* parent, const QString& title, const QString& preferred = QString());
