#pragma once
// Message boxes, the log line and the program's small dialogs.
//
// Every box goes through the platform's message sink (platform/MessageSink.h)
// and is answered on the GUI thread; a worker that raises one waits until the
// user has answered. The dialogs are built in code, one controller class per
// window; Open_* resets the controls and runs the dialog through
// Run_Modal_Dialog() (tests install a runner that presses buttons).
// defaultInstance() makes the one box on the GUI thread from any thread; it
// is null only while the application is quitting.
#include "platform/MainThread.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <functional>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTextBrowser;
class Job_Control;

// ---- Log and alerts ----
// Writes a non-empty text to the log.
void Show_NSLog_Message(const QString& text);
// "OK" box; the text is shown one line down (a line break before it).
void Show_MessageBox(const QString& text);
// The same box; kept under its own name for callers on the GUI thread.
void Show_MessageBox_No_Thread(const QString& text);
// "Yes" (default) and "No"; true only for "Yes".
bool Show_YES_NO_MessageBox(const QString& text);
// The same box with the default button chosen: No for a question whose Yes
// spoils the output, so that Enter goes back.
enum class Default_Button { Yes, No };
bool Show_YES_NO_MessageBox(const QString& text, Default_Button defaultButton);
// "Yes", "No", "Cancel": 1000, 1001, 1002 (closing the box counts as Cancel).
int Show_YES_NO_Cancel_MessageBox(const QString& text);

constexpr int Alert_First_Button = 1000;
constexpr int Alert_Second_Button = 1001;
constexpr int Alert_Third_Button = 1002;

// Light background of the program's own small dialogs.
void Apply_Dialog_Background(QWidget* window);

// ---- Long-text box (help texts of the barcode settings) ----
class Long_SMS_Dlg : public QDialog {
    Q_OBJECT
public:
    explicit Long_SMS_Dlg(QWidget* parent = nullptr);
    static Long_SMS_Dlg* defaultInstance();

    // Loads the controls, runs the box and returns 1 (first button) or 0.
    int Open_Long_sms_Dialog();
    // Runs the box as it stands (nothing opens it this way in the program).
    int open_box_in_main_threard();
    // Step one of opening: fills and shows or hides the controls.
    void Reset_Controls();

    void OKPressed();
    void CancelPressed();
    void reject() override;

    QLabel* _Msg_Title = nullptr;
    QTextBrowser* _Msg_Val = nullptr;
    QCheckBox* apply_chk = nullptr;
    QPushButton* yes_button = nullptr;
    QPushButton* no_button = nullptr;

    QString title_val;        // null: the help form, Cutom_Msg_Title and Cutom_Msg_Val
    QString Cutom_Msg_Title;
    QString Cutom_Msg_Val;
    QString msg_val_str;
    bool apply_chk_show = false;
    bool show_single_button = false;
    // "Apply to all": the caller sets it before opening, the box leaves the
    // user's choice in it.
    bool apply_all = false;

private:
    static QPointer<Long_SMS_Dlg> s_instance;
};

// The path to write after the job's keep-or-replace answer
// (job.replace_keep_file_flag): Keep gives a free name beside `path`, Replace
// `path` itself; Cancel (or no answer) stops the job and gives "".
QString Path_After_Keep_Or_Replace(const QString& path, Job_Control& job);

// Asks whether the file at `path`, when there is one, is kept (the new one
// gets a numbered name beside it) or replaced, unless an earlier "apply to
// all" of the job answered already; the box shows over `parent` (null: the
// window in front). Returns the path to write, or "" after Cancel, which
// stops the job. Any thread; a worker waits for the answer.
QString Ask_Keep_Or_Replace(const QString& path, bool show_apply_all, QWidget* parent, Job_Control& job);

// ---- Keep-or-replace box of a file that already exists ----
class Replcae_Confirm_Box : public QDialog {
    Q_OBJECT
public:
    explicit Replcae_Confirm_Box(QWidget* parent = nullptr);
    static Replcae_Confirm_Box* defaultInstance();

    // Opens the box on the GUI thread and waits; the answer goes into the
    // job: its replace_keep_file_flag and Msg_Apply_All_Chk, and its stop
    // request after Cancel. When the application is quitting and the box
    // cannot be shown, the answer is a Cancel. `prepare` fills the texts in
    // the same turn of the GUI thread, so two jobs asking at once never see
    // each other's file.
    void Open_box_in_thread(Job_Control& job, const std::function<void()>& prepare = {});
    // Runs the box (GUI thread); the answer is left in `answer` and `apply_all`.
    int Open_Replace_Dialog();
    void Reset_Controls();

    void Keep_Pressed();
    void Replace_Pressed();
    void CancelPressed();
    void Apply_all_chked() {}
    void reject() override;

    QLabel* _Msg_Title = nullptr;
    QLabel* _Msg_Val = nullptr;
    QLineEdit* path_control = nullptr;
    QCheckBox* apply_chk = nullptr;
    QPushButton* keep_button = nullptr;
    QPushButton* replace_button = nullptr;
    QPushButton* cancel_button = nullptr;

    QWidget* parent_window_id = nullptr;
    bool apply_chk_show = false;
    QString title_val;
    QString msg_val_str;
    QString file_path_str;
    // The answer (0 replace, 1 keep, 2 replace all, 3 keep all, 4 cancel)
    // and "Apply to all", which the box starts from.
    int answer = 4;
    bool apply_all = false;

private:
    static QPointer<Replcae_Confirm_Box> s_instance;
};

// ---- Image message box (Yes / No / Cancel; nothing opens it) ----
class Image_Validation_msg : public QDialog {
    Q_OBJECT
public:
    explicit Image_Validation_msg(QWidget* parent = nullptr);
    static Image_Validation_msg* defaultInstance();

    int Open_Image_Msg_Dialog();
    void Reset_Controls();
    void YESPressed();
    void NOPressed();
    void CancelPressed();

    QLabel* _Msg_Title = nullptr;
    QLabel* _Msg_Val = nullptr;
    QLineEdit* path_control = nullptr;
    QString title_val;
    QString msg_val_str;
    QString file_path_str;

private:
    static QPointer<Image_Validation_msg> s_instance;
};

// ---- Number-information box (Yes / No / Cancel; nothing opens it) ----
class Load_Num_Info : public QDialog {
    Q_OBJECT
public:
    explicit Load_Num_Info(QWidget* parent = nullptr);
    void YESPressed();
    void NOPressed();
    void CancelPressed();
};

// ---- After-export box ----
// Tells where the export went and offers to open it.
class Open_Export_Log : public QDialog {
    Q_OBJECT
public:
    explicit Open_Export_Log(QWidget* parent = nullptr);
    static Open_Export_Log* defaultInstance();

    // Fills the controls from Export_File_Path and Export_File_Message.
    void Reset_Controls();
    // OK: opens Export_File_Path when the box is ticked; ends with 1.
    void OKPressed();
    // What the box tells: the file or folder written and the message.
    QString Export_File_Path;
    QString Export_File_Message;
    // Cancel: ends with 0.
    void CancelPressed();

    QCheckBox* _open_log_chk = nullptr;
    QLineEdit* _open_log_path = nullptr;
    QLabel* _open_log_message = nullptr;

private:
    // The one after-export box, made on first use.
    static QPointer<Open_Export_Log> Open_Export_Files;
};

// ---- Please-wait sheet ----
// "It may take a while, Please wait.." over a window while work runs on the
// GUI thread. The main window has one (defaultInstance); a dialog that works
// on files for a while has its own, made with the dialog as its parent.
class Please_Wait_Sheet : public QDialog {
    Q_OBJECT
public:
    explicit Please_Wait_Sheet(QWidget* parent = nullptr);
    static Please_Wait_Sheet* defaultInstance();
    QLabel* modeless_msg_lbl = nullptr;

    // Shows the sheet window-modal on its parent and draws it at once, so it
    // is seen while the caller goes on working; End hides it.
    void Begin();
    void End();

private:
    static QPointer<Please_Wait_Sheet> s_instance;
};

// The window the program's sheets and boxes belong to (the main window when
// there is one).
QWidget* Dialog_Parent_Window();

// Runs a window of the program application-modal and hides it after;
// returns its result code.
int Run_Window_Modal(QDialog& window);

// The one window of a kind kept in `slot`: made on the GUI thread, as a child
// of Dialog_Parent_Window(), the first time any thread asks for it.
template <class Window>
Window* Gui_Window_Instance(QPointer<Window>& slot)
{
    Window* window = nullptr;
    Run_On_Main_Thread_And_Wait([&] {
        if (!slot)
            slot = new Window(Dialog_Parent_Window());
        window = slot;
    });
    return window;
}
