#include "core/util/MessageBoxes.h"

#include "core/util/BarcodeServices.h"
#include "core/util/DesktopOpen.h"
#include "core/util/Helpers.h"
#include "core/util/JobControl.h"
#include "core/util/MainWindowServices.h"
#include "core/util/SharedValues.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"

#include <QApplication>
#include <QCheckBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

#include <exception>
#include <functional>
#include <mutex>

namespace {

void installParentProvider()
{
    // Once, on the first box (a thread-safe one-time initialisation).
    static const bool installed = [] {
        Set_Message_Parent_Provider([] { return Dialog_Parent_Window(); });
        return true;
    }();
    (void)installed;
}

QString boxTitle()
{
    return QCoreApplication::applicationName();
}

// Raises a box titled with the application name; the first button is the
// default unless `defaultButton` names another.
int raiseBox(MessageKind kind, const QString& text, const QStringList& buttons, int escapeButton,
             int defaultButton = 0)
{
    installParentProvider();
    MessageRequest r;
    r.kind = kind;
    r.title = boxTitle();
    r.text = text;
    r.buttons = buttons;
    r.defaultButton = defaultButton;
    r.escapeButton = escapeButton;
    return Raise_Message(r);
}

// Titles a box of our own with the application name and gives it the dialog background.
void setUpBox(QDialog* box)
{
    box->setWindowTitle(boxTitle());
    Apply_Dialog_Background(box);
}

// The one box of each kind, made on first use. The slot is only touched on
// the GUI thread, so workers asking at once get the same box. Null only when
// the application no longer serves the GUI thread (it is quitting).
template <class Box>
Box* sharedBox(QPointer<Box>& slot)
{
    Box* box = nullptr;
    Run_On_Main_Thread_And_Wait([&] {
        if (!slot) slot = new Box(Dialog_Parent_Window());
        box = slot;
    });
    return box;
}

QLabel* newBoldLabel()
{
    auto* label = new QLabel;
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

// Makes a dialog a sheet of the main window when there is one.
void prepareSheet(QDialog* dialog)
{
    QWidget* parent = Dialog_Parent_Window();
    if (parent && dialog->parentWidget() != parent)
        dialog->setParent(parent, dialog->windowFlags() | Qt::Dialog);
    dialog->setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
}

QPushButton* addButton(QHBoxLayout* row, const QString& title)
{
    auto* b = new QPushButton(title);
    b->setAutoDefault(false);
    row->addWidget(b);
    return b;
}

// Cancel, No and Yes at the right of the row, wired to the box's handlers; returns Yes.
template <class Box>
QPushButton* addYesNoCancel(Box* box, QHBoxLayout* row)
{
    row->addStretch();
    auto* cancel = addButton(row, QStringLiteral("Cancel"));
    auto* no = addButton(row, QStringLiteral("No"));
    auto* yes = addButton(row, QStringLiteral("Yes"));
    QObject::connect(yes, &QPushButton::clicked, box, &Box::YESPressed);
    QObject::connect(no, &QPushButton::clicked, box, &Box::NOPressed);
    QObject::connect(cancel, &QPushButton::clicked, box, &Box::CancelPressed);
    return yes;
}

// Fills the box, raises it as a sheet on the GUI thread and waits for its result.
int runRaisedSheet(QDialog* box, const std::function<void()>& reset)
{
    int code = 0;
    Run_On_Main_Thread_And_Wait([&] {
        reset();
        prepareSheet(box);
        box->raise();
        box->activateWindow();
        code = Run_Modal_Dialog(*box);
        box->hide();
    });
    return code;
}

} // namespace

QWidget* Dialog_Parent_Window()
{
    return App_Services().Main_App_wnd ? App_Services().Main_App_wnd->mainWidget() : nullptr;
}

void Apply_Dialog_Background(QWidget* window)
{
    if (!window) return;
    QPalette pal = window->palette();
    pal.setColor(QPalette::Window, QColor::fromRgbF(0.9450980392156862f, 0.9568627450980393f, 0.9803921568627451f, 1.0f));
    window->setPalette(pal);
    window->setAutoFillBackground(true);
}

// ---------------------------------------------------------------- alerts

void Show_NSLog_Message(const QString& text)
{
    if (text.isEmpty()) return;
    Log_Message(text);
}

void Show_MessageBox(const QString& text)
{
    try {
        raiseBox(MessageKind::Information, QStringLiteral("\n") + text, {QStringLiteral("OK")}, 0);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Show_MessageBox_No_Thread(const QString& text)
{
    Show_MessageBox(text);
}

bool Show_YES_NO_MessageBox(const QString& text)
{
    return Show_YES_NO_MessageBox(text, Default_Button::Yes);
}

bool Show_YES_NO_MessageBox(const QString& text, Default_Button defaultButton)
{
    // The answer is given on the GUI thread; a worker waits for it here.
    const bool yes_no_msg_val = raiseBox(MessageKind::Question, text, {QStringLiteral("Yes"), QStringLiteral("No")}, 1,
                                         defaultButton == Default_Button::No ? 1 : 0)
        == 0;
    return yes_no_msg_val;
}

int Show_YES_NO_Cancel_MessageBox(const QString& text)
{
    const int answer = raiseBox(MessageKind::Warning, text,
                                {QStringLiteral("Yes"), QStringLiteral("No"), QStringLiteral("Cancel")}, 2);
    if (answer == 0) return Alert_First_Button;
    if (answer == 1) return Alert_Second_Button;
    return Alert_Third_Button;
}

// ---------------------------------------------------------------- long-text box

QPointer<Long_SMS_Dlg> Long_SMS_Dlg::s_instance;

Long_SMS_Dlg::Long_SMS_Dlg(QWidget* parent) : QDialog(parent)
{
    setUpBox(this);
    auto* col = new QVBoxLayout(this);
    _Msg_Title = newBoldLabel();
    _Msg_Title->setWordWrap(true);
    col->addWidget(_Msg_Title);
    _Msg_Val = new QTextBrowser;
    _Msg_Val->setOpenExternalLinks(false);
    _Msg_Val->setMinimumSize(420, 220);
    col->addWidget(_Msg_Val);
    auto* row = new QHBoxLayout;
    apply_chk = new QCheckBox(QStringLiteral("Apply to all"));
    row->addWidget(apply_chk);
    row->addStretch();
    no_button = addButton(row, QStringLiteral("No"));
    yes_button = addButton(row, QStringLiteral("OK"));
    yes_button->setDefault(true);
    col->addLayout(row);
    connect(yes_button, &QPushButton::clicked, this, &Long_SMS_Dlg::OKPressed);
    connect(no_button, &QPushButton::clicked, this, &Long_SMS_Dlg::CancelPressed);
}

Long_SMS_Dlg* Long_SMS_Dlg::defaultInstance()
{
    return sharedBox(s_instance);
}

void Long_SMS_Dlg::Reset_Controls()
{
    if (!title_val.isNull()) {
        _Msg_Title->setText(title_val);
        _Msg_Val->setPlainText(msg_val_str);
        if (show_single_button) {
            no_button->setVisible(false);
            yes_button->setText(QStringLiteral("OK"));
        } else {
            no_button->setVisible(true);
            yes_button->setText(QStringLiteral("Yes"));
        }
    } else {
        _Msg_Title->setText(Cutom_Msg_Title);
        _Msg_Val->setPlainText(Cutom_Msg_Val);
        no_button->setVisible(false);
        yes_button->setText(QStringLiteral("OK"));
    }
    if (apply_chk_show) {
        apply_chk->setVisible(true);
        apply_chk->setChecked(apply_all);
    } else {
        apply_chk->setVisible(false);
    }
}

int Long_SMS_Dlg::Open_Long_sms_Dialog()
{
    int code = 0;
    Run_On_Main_Thread_And_Wait([&] {
        Reset_Controls();
        code = open_box_in_main_threard();
    });
    return code;
}

int Long_SMS_Dlg::open_box_in_main_threard()
{
    prepareSheet(this);
    const int code = Run_Modal_Dialog(*this);
    hide();
    return code;
}

namespace {

// Keeps the "Apply to all" tick for the caller, then ends the box.
void endLongBox(Long_SMS_Dlg* box, int code)
{
    box->apply_all = box->apply_chk->isChecked();
    box->done(code);
}

} // namespace

void Long_SMS_Dlg::OKPressed()
{
    endLongBox(this, 1);
}

void Long_SMS_Dlg::CancelPressed()
{
    endLongBox(this, 0);
}

void Long_SMS_Dlg::reject()
{
    CancelPressed();
}

// ---------------------------------------------------------------- keep-or-replace box

QPointer<Replcae_Confirm_Box> Replcae_Confirm_Box::s_instance;

Replcae_Confirm_Box::Replcae_Confirm_Box(QWidget* parent) : QDialog(parent)
{
    setUpBox(this);
    auto* col = new QVBoxLayout(this);
    _Msg_Title = newBoldLabel();
    col->addWidget(_Msg_Title);
    _Msg_Val = new QLabel;
    _Msg_Val->setWordWrap(true);
    _Msg_Val->setTextFormat(Qt::PlainText);
    _Msg_Val->setMinimumWidth(380);
    col->addWidget(_Msg_Val);
    path_control = new QLineEdit;
    path_control->setReadOnly(true);
    path_control->setVisible(false);
    col->addWidget(path_control);
    apply_chk = new QCheckBox(QStringLiteral("Apply to all"));
    col->addWidget(apply_chk);
    auto* row = new QHBoxLayout;
    row->addStretch();
    cancel_button = addButton(row, QStringLiteral("Cancel"));
    keep_button = addButton(row, QStringLiteral("Keep"));
    replace_button = addButton(row, QStringLiteral("Replace"));
    replace_button->setDefault(true);
    col->addLayout(row);
    connect(keep_button, &QPushButton::clicked, this, &Replcae_Confirm_Box::Keep_Pressed);
    connect(replace_button, &QPushButton::clicked, this, &Replcae_Confirm_Box::Replace_Pressed);
    connect(cancel_button, &QPushButton::clicked, this, &Replcae_Confirm_Box::CancelPressed);
    connect(apply_chk, &QCheckBox::clicked, this, &Replcae_Confirm_Box::Apply_all_chked);
}

Replcae_Confirm_Box* Replcae_Confirm_Box::defaultInstance()
{
    return sharedBox(s_instance);
}

void Replcae_Confirm_Box::Open_box_in_thread(Job_Control& job, const std::function<void()>& prepare)
{
    // A box that can no longer be shown (the application is quitting) is a
    // Cancel: the job stops instead of writing on unasked.
    int given = 4;
    bool all = job.Msg_Apply_All_Chk;
    Run_On_Main_Thread_And_Wait([&] {
        if (prepare)
            prepare();
        apply_all = all;
        answer = 4;
        Open_Replace_Dialog();
        given = answer;
        all = apply_all;
    });
    job.Msg_Apply_All_Chk = all;
    job.replace_keep_file_flag = given;
    if (given == 4)
        job.Stop_Processing_Now = true;
}

void Replcae_Confirm_Box::Reset_Controls()
{
    _Msg_Title->setText(title_val);
    _Msg_Val->setText(msg_val_str);
    path_control->setText(file_path_str);
    path_control->setVisible(false);
    apply_chk->setVisible(apply_chk_show);
    apply_chk->setChecked(apply_all);
}

int Replcae_Confirm_Box::Open_Replace_Dialog()
{
    return runRaisedSheet(this, [this] { Reset_Controls(); });
}

void Replcae_Confirm_Box::Keep_Pressed()
{
    apply_all = apply_chk->isChecked();
    answer = apply_all ? 3 : 1;
    done(1);
}

void Replcae_Confirm_Box::Replace_Pressed()
{
    apply_all = apply_chk->isChecked();
    answer = apply_all ? 2 : 0;
    done(0);
}

void Replcae_Confirm_Box::CancelPressed()
{
    apply_all = apply_chk->isChecked();
    answer = 4;
    done(0);
}

void Replcae_Confirm_Box::reject()
{
    // Closing the box is a Cancel: the job must not go on unasked.
    CancelPressed();
}

// ---------------------------------------------------------------- image message box

QPointer<Image_Validation_msg> Image_Validation_msg::s_instance;

Image_Validation_msg::Image_Validation_msg(QWidget* parent) : QDialog(parent)
{
    setUpBox(this);
    auto* col = new QVBoxLayout(this);
    _Msg_Title = new QLabel;
    col->addWidget(_Msg_Title);
    _Msg_Val = new QLabel;
    _Msg_Val->setWordWrap(true);
    col->addWidget(_Msg_Val);
    path_control = new QLineEdit;
    path_control->setVisible(false);
    col->addWidget(path_control);
    auto* row = new QHBoxLayout;
    addYesNoCancel(this, row)->setDefault(true);
    col->addLayout(row);
}

Image_Validation_msg* Image_Validation_msg::defaultInstance()
{
    return sharedBox(s_instance);
}

void Image_Validation_msg::Reset_Controls()
{
    _Msg_Title->setText(title_val);
    _Msg_Val->setText(msg_val_str);
    path_control->setText(file_path_str);
    path_control->setVisible(false);
}

int Image_Validation_msg::Open_Image_Msg_Dialog()
{
    return runRaisedSheet(this, [this] { Reset_Controls(); });
}

void Image_Validation_msg::YESPressed() { done(1); }
void Image_Validation_msg::NOPressed() { done(0); }
void Image_Validation_msg::CancelPressed() { done(0); }

// ---------------------------------------------------------------- number information

Load_Num_Info::Load_Num_Info(QWidget* parent) : QDialog(parent)
{
    setUpBox(this);
    addYesNoCancel(this, new QHBoxLayout(this));
}

void Load_Num_Info::YESPressed() { done(1); }
void Load_Num_Info::NOPressed() { done(0); }
void Load_Num_Info::CancelPressed() { done(0); }

// ---------------------------------------------------------------- after-export box

QPointer<Open_Export_Log> Open_Export_Log::Open_Export_Files;

Open_Export_Log::Open_Export_Log(QWidget* parent) : QDialog(parent)
{
    setUpBox(this);
    auto* col = new QVBoxLayout(this);
    _open_log_message = new QLabel;
    _open_log_message->setWordWrap(true);
    _open_log_message->setTextFormat(Qt::PlainText);
    col->addWidget(_open_log_message);
    _open_log_path = new QLineEdit;
    _open_log_path->setReadOnly(true);
    _open_log_path->setMinimumWidth(380);
    col->addWidget(_open_log_path);
    _open_log_chk = new QCheckBox(QStringLiteral("Open exported file."));
    _open_log_chk->setChecked(true);
    col->addWidget(_open_log_chk);
    auto* row = new QHBoxLayout;
    row->addStretch();
    auto* cancel = addButton(row, QStringLiteral("Cancel"));
    auto* ok = addButton(row, QStringLiteral("OK"));
    ok->setDefault(true);
    col->addLayout(row);
    connect(ok, &QPushButton::clicked, this, &Open_Export_Log::OKPressed);
    connect(cancel, &QPushButton::clicked, this, &Open_Export_Log::CancelPressed);
}

Open_Export_Log* Open_Export_Log::defaultInstance()
{
    return sharedBox(Open_Export_Files);
}

void Open_Export_Log::Reset_Controls()
{
    const bool folder = QFileInfo(Export_File_Path).isDir();
    _open_log_chk->setText(folder ? QStringLiteral("Open containing folder.") : QStringLiteral("Open exported file."));
    _open_log_path->setText(Export_File_Path);
    _open_log_message->setText(Export_File_Message);
}

void Open_Export_Log::OKPressed()
{
    const bool open = _open_log_chk->isChecked() && !Export_File_Path.isEmpty();
    _open_log_chk->setChecked(true);
    done(1);
    // After the box has closed, so that a message about it stands alone.
    if (open)
        Open_With_Desktop(Export_File_Path, QFileInfo(Export_File_Path).isDir() ? QStringLiteral("The export folder")
                                                                                 : QStringLiteral("The exported file"));
}

void Open_Export_Log::CancelPressed()
{
    _open_log_chk->setChecked(true);
    done(0);
}

// ---------------------------------------------------------------- please-wait sheet

QPointer<Please_Wait_Sheet> Please_Wait_Sheet::s_instance;

Please_Wait_Sheet::Please_Wait_Sheet(QWidget* parent) : QDialog(parent)
{
    setUpBox(this);
    auto* col = new QVBoxLayout(this);
    modeless_msg_lbl = new QLabel;
    modeless_msg_lbl->setMinimumWidth(300);
    modeless_msg_lbl->setAlignment(Qt::AlignCenter);
    col->addWidget(modeless_msg_lbl);
}

Please_Wait_Sheet* Please_Wait_Sheet::defaultInstance()
{
    return sharedBox(s_instance);
}

void Please_Wait_Sheet::Begin()
{
    modeless_msg_lbl->setText(QStringLiteral("It may take a while, Please wait.."));
    setWindowModality(parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
    show();
    raise();
    // The work that follows holds the GUI thread: let the sheet be drawn first.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void Please_Wait_Sheet::End()
{
    hide();
}

int Run_Window_Modal(QDialog& window)
{
    window.setWindowModality(Qt::ApplicationModal);
    const int code = Run_Modal_Dialog(window);
    window.hide();
    return code;
}

QString Path_After_Keep_Or_Replace(const QString& path, Job_Control& job)
{
    switch (job.replace_keep_file_flag.load()) {
    case 1:
    case 3:
        return Check_Exist_Path_and_Create_New(path);
    case 0:
    case 2:
        return path;
    default:
        job.Stop_Processing_Now = true;
        return QString();
    }
}

QString Ask_Keep_Or_Replace(const QString& path, bool show_apply_all, QWidget* parent, Job_Control& job)
{
    if (!QFileInfo::exists(path))
        return path;
    const int earlier = job.replace_keep_file_flag;
    if (earlier == 2)
        return path;  // replace all: the writer puts the new file over it atomically
    if (earlier == 3)
        return Check_Exist_Path_and_Create_New(path);
    Replcae_Confirm_Box* box = Replcae_Confirm_Box::defaultInstance();
    if (!box) {
        job.replace_keep_file_flag = 4;
        job.Stop_Processing_Now = true;
        return QString();
    }
    box->Open_box_in_thread(job, [&] {
        box->title_val = QStringLiteral("File already exists :");
        box->msg_val_str = QFileInfo(path).fileName()
            + QStringLiteral("\n\nFile already exists in this location.\n\nDo you want to Keep or Replace it?");
        box->apply_chk_show = show_apply_all;
        box->file_path_str = path;
        box->parent_window_id = parent ? parent : Dialog_Parent_Window();
    });
    return Path_After_Keep_Or_Replace(path, job);
}
