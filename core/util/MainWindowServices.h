#pragma once
// What the drawing core and the barcode engines use of the main window.
//
// The main window controller of the application derives from this class and
// stores itself in Main_App_wnd while it initialises; every lower subsystem
// reaches the main window through that pointer. The helper methods that the
// whole program shares (unit conversion, images, folders, placement of new
// items) are implemented here in the core; the operations that need the real
// window are virtual, with harmless defaults, and the main window overrides
// them. Tests install a fake (tests/core/FakeMainWindow.h).
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

class LMNGraphic;
class LMNGraphicView;
class LMNDocument;
class Card_Property;
class QPainter;

// ---- Process-wide values set by the main window ----
extern QString Resource_Path;          // read-only shipped resources
extern QString Created_Resource_Path;  // per-user data folder
extern QString Text_Ctrl_Font;         // default font of text content
extern int Text_Ctrl_Font_Size;        // 12
extern unsigned char Card_Value_In_Process;  // set while a batch job binds rows
extern int Card_Shape;                 // 0 rectangle, 1 rounded, 2 ellipse
extern QString Library_Selected_Image; // picture for the next picture or signature item
extern unsigned char Use_Org_image_Or_Shred_it;

// ---- Placement cascade of new items (points) ----
extern float last_ctrl_X;
extern float last_ctrl_Y;
extern float last_ctrl_X_Exeed_Count;
extern float last_ctrl_Y_Exeed_Count;

class MainWindowServices {
public:
    virtual ~MainWindowServices();

    // ---- Implemented by the main window (defaults do nothing) ----
    virtual LMNGraphicView* graphicView() const { return nullptr; }   // _graphicView
    virtual Card_Property* Front_card_Prop() const { return nullptr; }
    virtual int Selected_Control_Tool() const { return 0; }
    virtual void Set_Selected_Control_Tool(int tool) {}
    virtual double zoomFactor() const { return 1.0; }

    virtual QFont All_Text_font() const;
    virtual QColor All_Text_clr() const { return Qt::black; }

    virtual QImage no_image() const { return {}; }
    virtual QImage barcode_sample_img() const { return {}; }
    virtual QImage sign_sample_img() const { return {}; }
    virtual QImage fp_sample_img() const { return {}; }

    virtual void Card_Base_Drawing(QPainter& painter, const QRectF& rect) {}
    virtual void Card_Border_Drawing(QPainter& painter, const QRectF& rect) {}
    virtual void Refresh_Canvas() {}
    virtual QList<LMNGraphic*> Get_Front_Controls_Array() const { return {}; }
    virtual int Get_Front_Control_Count() const { return 0; }
    virtual QImage Get_Image_With_Update_Settings(LMNGraphic* item) { return {}; }
    virtual void Reset_Image_Editing_Controls() {}
    virtual void Set_Control_Pos_And_Size(LMNGraphic* item) {}
    virtual void Insert_In_Undo_Redo() {}
    virtual void Undo_Action_Perform() {}
    virtual void Redo_Action_Perform() {}
    virtual void Show_RHS_Properties(LMNGraphic* item) {}
    virtual void Open_Barcode_Window() {}
    virtual void Set_Paste_Button_Status() {}
    virtual void Set_Align_Buttons_Enabled(bool sameWidth, bool sameHeight, bool alignGrid) {}
    virtual void Card_Prop_Clicked() {}
    virtual void Card_Bckgrnd_Clicked() {}
    virtual void Lock_Clicked() {}
    virtual void Unlock_Clicked() {}
    virtual void Export_Button() {}
    virtual void Print_Button() {}
    virtual void Barcode_Mail_Send() {}

    // Whether a series is in use by barcode mode or a bound item of the front side.
    virtual bool Check_Batch_File_In_Use_Validation(const QString& seriesName) const { return false; }

    // ---- Shared helper methods, implemented in the core ----
    QString App_Name() const;

    // Path inside another installation's resource folder re-based onto ours.
    QString Check_Path_For_App_Resources(const QString& path) const;

    // Position for the next new or pasted item on the cascade.
    QPointF Control_New_Point(const QString& side);
};

// The one main window (or a test's fake); null until one exists.
extern MainWindowServices* Main_App_wnd;
