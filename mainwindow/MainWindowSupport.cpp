#include "mainwindow/MainWindowSupport.h"

#include "barcode/engines/SymbologyTable.h"
#include "core/util/Helpers.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "mainwindow/LMNWindowController.h"
#include "platform/MessageSink.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFont>
#include <QPainter>
#include <QStringList>
#include <QWidget>

QStringList Type_Popup_Names() { return Symbology_Titles(); }

QString Find_Resource_Path() { return Default_Resource_Path(); }

void Main_Show_Message(const QString& text) { Show_MessageBox(text); }

void Set_Data_Folder_Path(const QString& path) { Folders.Data_Folder_Path = path; }
QString Get_Data_Folder_Path() { return Folders.Data_Folder_Path; }

void Not_Draw_Only_Prop_Change_Set(bool on)
{
    if (LMNWindowController* window = LMNWindowController::defaultInstance())
        window->notDrawOnlyPropChange = on;
}

bool Not_Draw_Only_Prop_Change_Get()
{
    const LMNWindowController* window = LMNWindowController::defaultInstance();
    return window && window->notDrawOnlyPropChange;
}

void SetEnabled_Recursive(QWidget* widget, bool enabled) { SetObjEnabled(widget, enabled); }

void Check_Path_And_Create_Files_Now() { Check_Path_And_Create_Files(); }

QString Unit_Caption(int unit)
{
    switch (unit) {
    case 1: return QStringLiteral("cm");
    case 2: return QStringLiteral("mm");
    default: return QStringLiteral("in");
    }
}
