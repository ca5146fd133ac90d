#pragma once
#include "core/util/Services.h"
// What the drawing core and the barcode engines use of the main window.
//
// The main window controller of the application derives from this class and
// stores itself in App_Services().Main_App_wnd while it initialises; every lower subsystem
// reaches the main window through that pointer. The helper methods that the
// whole program shares (unit conversion, images, folders, placement of new
// items) are implemented here in the core; the operations that need the real
// window are pure, so the window implements every one of them. Tests install
// a fake (tests/core/FakeMainWindow.h) that implements them all too.
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>
#include <QUrl>

#include "core/util/SharedValues.h"
#include "platform/PtImage.h"

class LMNGraphic;
class LMNGraphicView;
class LMNDocument;
class Card_Property;
class QPainter;
class QWidget;

inline constexpr int Text_Ctrl_Font_Size = 12;  // default size of text content

// The e-mail settings a mailing takes, read from their store.
struct Email_Details {
    QString sender_email;
    QString sender_pwd;
    QString sending_server;
    QString sending_port;
    QString send_enable_ssl;   // "Y" or "N"
};

// Commands of the canvas's contextual menu that the main window carries out;
// each is offered only while the window can do it.
enum class WindowCommand { CardProperties, CardBackground, Export, Mail, Print };

class MainWindowServices {
public:
    virtual ~MainWindowServices();

    // ---- Implemented by the main window (every one: a missing one does not compile) ----
    virtual LMNGraphicView* graphicView() const = 0;   // _graphicView
    virtual Card_Property* Front_card_Prop() const = 0;
    virtual int Selected_Control_Tool() const = 0;
    virtual void Set_Selected_Control_Tool(int tool) = 0;
    virtual double zoomFactor() const = 0;

    virtual QFont All_Text_font() const = 0;
    // The default font family of text content (the family of the window's
    // menu font); "" for none.
    virtual QString Text_Ctrl_Font() const = 0;
    virtual QColor All_Text_clr() const = 0;

    virtual QImage no_image() const = 0;
    virtual QImage barcode_sample_img() const = 0;
    virtual QImage sign_sample_img() const = 0;
    virtual QImage fp_sample_img() const = 0;

    // The card's base (below the items) and its watermark and border (above
    // them), drawn over the canvas bounds whatever rectangle is passed.
    virtual void Card_Base_Drawing(QPainter& painter, const QRectF& rect) = 0;
    virtual void Card_Border_Drawing(QPainter& painter, const QRectF& rect) = 0;
    virtual void Refresh_Canvas() = 0;
    virtual QList<LMNGraphic*> Get_Front_Controls_Array() const = 0;
    virtual int Get_Front_Control_Count() const = 0;
    virtual QImage Get_Image_With_Update_Settings(LMNGraphic* item) = 0;
    virtual void Reset_Image_Editing_Controls() = 0;
    virtual void Set_Control_Pos_And_Size(LMNGraphic* item) = 0;
    virtual void Insert_In_Undo_Redo() = 0;
    virtual void Undo_Action_Perform() = 0;
    virtual void Redo_Action_Perform() = 0;
    virtual void Show_RHS_Properties(LMNGraphic* item) = 0;
    virtual void Open_Barcode_Window() = 0;
    virtual void Set_Paste_Button_Status() = 0;
    virtual void Set_Align_Buttons_Enabled(bool sameWidth, bool sameHeight, bool alignGrid) = 0;
    virtual void Card_Prop_Clicked() = 0;
    virtual void Card_Bckgrnd_Clicked() = 0;
    virtual void Lock_Clicked() = 0;
    virtual void Unlock_Clicked() = 0;
    virtual void Export_Button() = 0;
    virtual void Print_Button() = 0;
    virtual void Barcode_Mail_Send() = 0;
    // Whether the window can carry out a contextual-menu command now; the
    // canvas disables the item otherwise.
    virtual bool isWindowCommandAvailable(WindowCommand command) const = 0;

    // The main window as a widget (host of sheets and message boxes).
    virtual QWidget* mainWidget() const = 0;
    // Bounds of the canvas view in points (empty when there is none).
    virtual QRectF graphicViewBounds() const = 0;
    // The window of the progress window.
    virtual QWidget* Send_Models_Window() const = 0;
    // Series names the barcode-mode data-source controls use: when the
    // data-source box and the series option are on, the selected series of
    // the value, header and footer whose box is ticked, in that order.
    virtual QStringList Barcode_Mode_Series_Names() const = 0;

    // ---- The window's working state that the drawing core reads and writes (GUI thread) ----
    int Card_Shape = 0;                  // 0 rectangle, 1 rounded, 2 ellipse
    QString Library_Selected_Image;      // picture for the next picture or signature item
    // Set while a batch job fills a card with a row's values: the window's
    // Refresh_Canvas does nothing meanwhile.
    bool Card_Value_In_Process = false;
    // The answer of the over-size test for a picture: 0, use the picture
    // unaltered (no picture is too large); a picture item made from
    // Library_Selected_Image takes it.
    unsigned char Use_Org_image_Or_Shred_it = 0;
    // Placement cascade of new items (points).
    float last_ctrl_X = 10.0f;
    float last_ctrl_Y = 10.0f;
    float last_ctrl_X_Exeed_Count = 2.0f;
    float last_ctrl_Y_Exeed_Count = 2.0f;
    // The cascade starts again at the top left.
    void Reset_Placement_Cascade()
    {
        last_ctrl_X = last_ctrl_Y = 10.0f;
        last_ctrl_X_Exeed_Count = last_ctrl_Y_Exeed_Count = 2.0f;
    }

    // ---- Shared helper methods, implemented in the core ----
    // Whether a series is in use by barcode mode or a bound item of the front
    // side. Names match without regard to case, and the series file is found
    // whatever the case of its name and extension.
    bool Check_Batch_File_In_Use_Validation(const QString& seriesName) const;

    // ---- Sheets and boxes (run on the GUI thread; a worker waits) ----
    // The please-wait sheet: "It may take a while, Please wait..".
    void Show_Create_Modeless();
    void Hide_Destroy_Modeless();
    // The progress window as a sheet.
    void Show_One_By_One_Modeless();
    void Hide_One_By_One_Modeless();
    // The after-export box for the file or folder written and the message;
    // returns 1 for OK, 0 for Cancel. Any thread (a worker waits).
    int Open_Export_File_Box(const QString& Export_File_Path, const QString& Export_File_Message);

    // ---- Units ----
    static float Points_to_MM_Convert(float points);
    static float MM_to_Points_Convert(float mm);

    // ---- Images ----
    // The image redrawn into ceil(dpi * points / 72) pixels a side, keeping
    // its size in points; null for a null image, a bad DPI or an image of
    // more than 100 million pixels.
    static PtImage Increase_DPI(const PtImage& image, double dpi);
    // Writes the image in the format the path's extension names (png, jpg,
    // jpeg, tif, tiff, bmp, gif, pdf; PNG for any other), atomically, with
    // the image's resolution recorded. False when the file could not be written.
    static bool Save_gen_image(const PtImage& image, const QString& path);
    // Does nothing (the generation road's scratch images are not written).
    static void Save_Barcode_gen_image(const PtImage& image, const QString& fileName) {}
    // Null when no file is at the path; with org_or_crop false a thumbnail
    // whose longer side is at most Crop_Image_Size pixels, else the whole
    // picture (its size in points from its resolution).
    static PtImage Get_Image_For_Path(const QString& path, bool asIcon, bool org_or_crop);
    static PtImage Get_Image_For_Data(const QByteArray& data, bool asIcon);
    // No picture is too large: answers false, and the main window's
    // Use_Org_image_Or_Shred_it becomes 0 (use the picture unaltered).
    static bool Image_Is_Over_Size(const QString& path, bool show_msg, bool org_or_crop);
    static quint64 Get_File_Size_At_Path(const QString& path);
    static void Create_Camera_Path_File() {}

    // ---- Files and folders (listing order sorted by name) ----
    static QStringList Get_Folder_Array_At_Path(const QString& path);
    static QStringList Get_Files_Array_At_Path(const QString& path, bool del_ext);
    static QStringList Get_Folders_And_Sub_Folder_Array_At_Path(const QString& path);
    static QStringList Get_Files_And_Folder_Array_At_Path(const QString& path);
    // Series names: files in Folders.Data_Folder_Path with the extension batch_file_EXT (any case).
    static QStringList Get_datasheet_File_Name_Array();
    // True when the (trimmed) path is empty or names nothing; then says
    // "Please select valid file path.".
    static bool Check_And_Validate_File_Path(const QString& path);
    static QString Convert_Path_From_URL(const QUrl& url);
    // Removes the private temporary folder of spreadsheet unpacking.
    static void Delete_Excel_File_Temp_Folder();
    // The private temporary folder of the process (made on first use), for
    // the scratch files that had fixed names in the shared temporary folder.
    static QString Private_Temp_Folder();

    // ---- Texts and settings ----
    // The current date and time in a date pattern ("yyyy-MM-dd", "EEEE", "hh:mm a"...).
    static QString Get_date_Value(const QString& pattern);
    static QString Get_time_Value(const QString& pattern);
    // A toolkit version above every threshold the drawing code tests.
    static int Get_OS_Version();
    // The e-mail settings as their store holds them now.
    static Email_Details Get_Email_Details();

    // ---- Page settings of the process ----
    // Setting settings that differ from those held tells the listeners,
    // on the thread that set them, once the new settings are in place.
    static void setPrintInfo(const PrintInfo& info);
    static PrintInfo printInfo();
    static int addPrintInfoListener(std::function<void(const PrintInfo&)> listener);
    static void removePrintInfoListener(int id);

    // ---- More shared helpers ----
    QString App_Name() const;

    // Path inside another installation's resource folder re-based onto ours
    // (Rebase_Picture_Path).
    QString Check_Path_For_App_Resources(const QString& path) const;

    // Position for the next new or pasted item on the cascade.
    QPointF Control_New_Point(const QString& side);
};

// The one main window (or a test's fake) is App_Services().Main_App_wnd.

// The default font family of text content: the main window's, Helvetica
// while there is none (or it names none, or the question comes from a worker).
QString Text_Ctrl_Font_Family();

// The main window when asked on the GUI thread; null on any other thread. An
// item a job makes on its worker starts from the defaults (it is filled from
// the design it copies); asking the GUI thread there could wait on a thread
// that waits for the job.
MainWindowServices* Main_Window_On_This_Thread();

// The main window's please-wait sheet for as long as it lives, around work
// that holds the GUI thread.
class Please_Wait_While {
public:
    Please_Wait_While()
    {
        if (App_Services().Main_App_wnd)
            App_Services().Main_App_wnd->Show_Create_Modeless();
    }
    ~Please_Wait_While()
    {
        if (App_Services().Main_App_wnd)
            App_Services().Main_App_wnd->Hide_Destroy_Modeless();
    }
    Please_Wait_While(const Please_Wait_While&) = delete;
    Please_Wait_While& operator=(const Please_Wait_While&) = delete;
};

// ---- Picture paths in design files ----
// A picture path read from a design file, made to point into this
// installation. A relative path names a file of the resource folder (or of
// its per-user twin in the data folder, where the user's own library and
// background pictures live). A path that ends in the relative path of one of
// our resources and points into another installation's resource folder is
// re-based onto ours: one inside an application bundle's resources
// (".app/Contents/Resources/") or an installed data folder ("zorv-label")
// always; one inside a folder named "resources" (a build tree) or named as
// our data folder only when the file it names is missing, so a user's own
// existing folder of that name is left alone. Other paths are unchanged.
QString Rebase_Picture_Path(const QString& path);
// The form a picture path is stored in: relative to the resource folder for
// a file inside it (so the design opens with any installation), else as it is.
QString Picture_Path_To_Store(const QString& path);
