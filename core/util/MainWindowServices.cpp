#include "core/util/MainWindowServices.h"
#include "core/util/BarcodeServices.h"

#include <QCoreApplication>

QString Resource_Path;
QString Created_Resource_Path;
QString Text_Ctrl_Font;
int Text_Ctrl_Font_Size = 12;
unsigned char Card_Value_In_Process = 0;
int Card_Shape = 0;
QString Library_Selected_Image;
unsigned char Use_Org_image_Or_Shred_it = 0;

float last_ctrl_X = 10.0f;
float last_ctrl_Y = 10.0f;
float last_ctrl_X_Exeed_Count = 2.0f;
float last_ctrl_Y_Exeed_Count = 2.0f;

MainWindowServices* Main_App_wnd = nullptr;
BarcodeDialogServices* Barcode_Gen_Var = nullptr;
QString Cutom_Msg_Title;
QString Cutom_Msg_Val;

MainWindowServices::~MainWindowServices() = default;

QFont MainWindowServices::All_Text_font() const
{
    return QFont(Text_Ctrl_Font.isEmpty() ? QStringLiteral("Helvetica") : Text_Ctrl_Font, Text_Ctrl_Font_Size);
}

QString MainWindowServices::App_Name() const
{
    return QCoreApplication::applicationName();
}

// TODO(foundation): real bodies.
QString MainWindowServices::Check_Path_For_App_Resources(const QString& path) const
{
    return path;
}

QPointF MainWindowServices::Control_New_Point(const QString& side)
{
    return QPointF(last_ctrl_X, last_ctrl_Y);
}
