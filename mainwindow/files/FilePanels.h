#pragma once
// The open and save panels of the file commands, through one replaceable
// runner: the application shows a file dialog, tests answer with a path.
#include <QString>
#include <QStringList>

#include <functional>

struct File_Panel_Request {
    enum Kind { Open, Save } kind = Open;
    QString title;
    QStringList extensions;   // allowed extensions without the dot, e.g. {"dbs"}
    QString directory;        // where the panel starts ("" where choosers start, Chooser_Start_Folder)
    QString name;             // suggested file name of a save panel
    QString filterName;       // what the extensions are ("Zorv Label files" when empty)
};

// Answers the chosen path, or "" when the panel was cancelled.
using File_Panel_Runner = std::function<QString(const File_Panel_Request&)>;

// Installs a runner (an empty one restores the file dialog) and returns the previous one.
File_Panel_Runner Set_File_Panel_Runner(File_Panel_Runner runner);
QString Run_File_Panel(const File_Panel_Request& request);
