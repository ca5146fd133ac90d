#pragma once
// Sending mails: the e-mail window of the main window's mail command, the
// small window that mails one given file, and the job both run.
//
// A job runs on a worker under the progress window: one mail per recipient,
// or one card or barcode per data row (to every recipient, or row i to
// recipient i), each card or barcode attached as a one-page PDF made in a
// private temporary folder. It can pause after every so many mails; Stop
// ends a pause and a running script at once. At the end it says how many
// mails were not sent.
#include "core/util/BatchServices.h"
#include "core/util/JobControl.h"
#include "export/JobRunner.h"
#include "export/RangeFields.h"
#include "export/mail/MailScript.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QVBoxLayout;

enum class MailCase { WithoutCard, CardNoBatch, AllToEveryone, Range, OnePerRecipient };

// Everything a mailing needs, taken on the GUI thread when it starts.
struct MailJob {
    bool designing = false;        // designing mode (cards) or barcode mode
    MailCase kase = MailCase::WithoutCard;
    QString sender, recipients, subject, body;
    QString password, server, port, enable_ssl;
    QString fileName = QStringLiteral("ZorvBarcode");  // base name of the PDF attachment
    QString attachment;            // the user's file (without card)
    bool pauseOn = false;
    int pauseEvery = 1;            // mails between pauses
    long long pauseMs = 0;
    // The clock of the pauses: waits up to the milliseconds asked and says
    // how many went by. Empty: the real clock. A test gives one that need not
    // wait (and may let more time go by than asked).
    std::function<long long(int ms)> pauseClock;
    int Print_Start = 0;           // first row, 0-based
    int Print_End = 1;             // last row, 1-based
    int rows = 1;                  // rows of the source (B)
    Batch_Rows batchRows;          // the labels of the rows, and the one without batch values
    bool restoreDesign = false;    // restore the design from its back-up at the end
    bool selectFirst = false;      // barcode mode: show row 1 again at the end
    bool stopOnFailure = true;     // the mail window's rule; the direct mail goes on
    QString successText = QStringLiteral("E-mail has been sent successfully.");
};

struct MailJobReport {
    int planned = 0;
    int sent = 0;
    int skippedRows = 0;
    bool stopped = false;
    bool checksFailed = false;     // the job ended at a check before sending
    QStringList recipients;        // the recipients kept
    QString message;
};

// The job's body on the calling thread under `control` (a new one when
// null), and the same on a worker (export/JobRunner.h) under the handle's
// control.
MailJobReport Run_Mail_Job(const MailJob& job, QWidget* host, Job_Control_Ptr control = nullptr);
std::shared_ptr<Job_Handle<MailJobReport>> Start_Mail_Job(const MailJob& job, QWidget* host);

class Send_Mail : public QDialog {
    Q_OBJECT
public:
    explicit Send_Mail(QWidget* parent = nullptr);
    static Send_Mail* defaultInstance();

    // Resets the window and runs it (the mail command of the main window).
    int Open_Wnd();
    void Reset_Controls();
    // Starts the mailing; the window stays open. Returns the job, or null
    // when a check refused it.
    std::shared_ptr<Job_Handle<MailJobReport>> Send_Button();
    void Close_Button();
    void Setting_Button();
    void browse_att_Button();
    void clear_att_Button();
    void Without_barcode_rd_select();
    void send_barcode_rd_select();
    void send_with_batch_chk_select();
    void Set_Enable_Diable_Range_Box();
    void all_rd_select();
    void obo_rd_select();
    void Sel_Print_RD_Clicked();
    void delayed_delv_chk_select();
    void Set_Tot_Value(int value, int max, const QString& set_for);
    Range_Fields rangeFields() const;

    QLineEdit* from_txt = nullptr;
    QPlainTextEdit* to_txt = nullptr;
    QLineEdit* subject_txt = nullptr;
    QPlainTextEdit* message_txt = nullptr;
    QRadioButton* rd_without_barcode = nullptr;
    QRadioButton* rd_mail_curr_barcode = nullptr;
    QGroupBox* send_sett_box = nullptr;
    QLineEdit* file_name_txt = nullptr;
    QCheckBox* send_with_batch_chk = nullptr;
    QGroupBox* export_range_box = nullptr;
    QRadioButton* rd_all_to_every = nullptr;
    QRadioButton* rd_one_per_recp = nullptr;
    QRadioButton* Sel_print_rd = nullptr;
    QSpinBox* from_Text = nullptr;
    QSpinBox* To_Text = nullptr;
    QSpinBox* Total_Text = nullptr;
    QLabel* from_label = nullptr;
    QLabel* to_label = nullptr;
    QLabel* tot_label = nullptr;
    QLineEdit* attachment = nullptr;
    QPushButton* browse_att = nullptr;
    QPushButton* clear_att = nullptr;
    QCheckBox* delayed_delv_chk = nullptr;
    QGroupBox* delayed_box = nullptr;
    QSpinBox* mail_count_txt = nullptr;
    QSpinBox* hour_txt = nullptr;
    QSpinBox* min_text = nullptr;
    QSpinBox* sec_txt = nullptr;
    QPushButton* send_btn = nullptr;
    QPushButton* setting_btn = nullptr;
    QPushButton* close_btn = nullptr;

    // The file chooser; a test may set it instead.
    std::function<QString()> chooseFile;
    // The clock of the pauses between mails (MailJob::pauseClock); empty for
    // the real one.
    std::function<long long(int ms)> pauseClock;
    // The rows of the sources, counted when the window opened (and when the
    // label choice or the batch box changes).
    Batch_Row_Count rowCount;

private:
    void buildHeader(QVBoxLayout* col);
    QGroupBox* buildPauseBox();

    static QPointer<Send_Mail> s_instance;
};

// The window that mails one given file (the visitor details) to a list of
// recipients. The caller sets file_path before sending.
class Direct_Mail : public QDialog {
    Q_OBJECT
public:
    explicit Direct_Mail(QWidget* parent = nullptr);
    static Direct_Mail* defaultInstance();

    int Open_Wnd();
    std::shared_ptr<Job_Handle<MailJobReport>> Send_Button();
    void Setting_Button();
    void Close_Button();

    QLineEdit* from_txt = nullptr;
    QLineEdit* to_txt = nullptr;
    QString file_path;
    QPushButton* send_btn = nullptr;
    QPushButton* setting_btn = nullptr;
    QPushButton* close_btn = nullptr;

private:
    static QPointer<Direct_Mail> s_instance;
};
