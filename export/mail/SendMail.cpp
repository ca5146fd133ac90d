#include "export/mail/SendMail.h"

#include "core/canvas/LMNRenderingView.h"
#include "core/util/BarcodeSettings.h"
#include "core/util/BatchServices.h"
#include "core/util/FileChoosers.h"
#include "core/util/Helpers.h"
#include "core/util/JobControl.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "export/PdfExport.h"
#include "export/ProgressWindow.h"
#include "export/RangeFields.h"
#include "export/mail/EmailSetting.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"
#include "platform/Paths.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QThread>
#include <QVBoxLayout>

#include <algorithm>
#include <climits>
#include <exception>


namespace {

constexpr int noBatchMaximum = 999999;

// The recipients of a mailing, or "" and the message that refuses them.
QStringList parseRecipients(const QString& text, QString* refusal)
{
    const QString trimmed = Trim_Str(text);
    if (trimmed.isEmpty()) {
        *refusal = QStringLiteral("Please specify the Recipient E-mail address.");
        return {};
    }
    const QStringList pieces = trimmed.toLower().split(QLatin1Char(','));
    QStringList kept;
    for (const QString& p : pieces)
        if (isValidEmail(p))
            kept << Trim_Str(p);
    if (!isValidEmail(pieces.last())) {
        *refusal = QStringLiteral("Recipient E-mail address is invalid or incomplete.");
        return {};
    }
    return kept;
}

class MailRun {
public:
    MailRun(const MailJob& job, QWidget* host, Job_Control_Ptr control)
        : m_job(job), m_frame(host), m_owned(control ? std::move(control) : New_Job_Control()), m_control(*m_owned)
    {
    }

    MailJobReport run()
    {
        const QString sender = Trim_Str(m_job.sender.toLower());
        // The boxes name what is missing after the general advice.
        if (sender.isEmpty())
            return refuse(mail_send_err_msg
                          + QStringLiteral("\n\nThe sender's E-mail address (From) is empty."));
        if (Trim_Str(m_job.server).isEmpty() || Trim_Str(m_job.port).isEmpty())
            return refuse(mail_send_err_msg
                          + QStringLiteral("\n\nNo SMTP server or port is set: enter them in E-mail Settings and save."));
        QString refusal;
        m_recipients = parseRecipients(m_job.recipients, &refusal);
        if (m_recipients.isEmpty())
            return refuse(refusal);
        m_report.recipients = m_recipients;
        const bool card = m_job.kase != MailCase::WithoutCard;
        QString base = QStringLiteral("ZorvBarcode");
        if (card) {
            base = Trim_Str(Remove_Reserve_Char_In_File_Name(m_job.fileName));
            if (base.isEmpty())
                return refuse(QStringLiteral("Please enter valid file name."));
        }
        if (!m_tmp.isValid())
            return refuse(QStringLiteral("No temporary folder can be made for the attachment."));
        m_attachment = Path_Join(m_tmp.path(), base + QStringLiteral(".pdf"));
        m_request.sender = sender;
        m_request.subject = m_job.subject;
        m_request.body = m_job.body;
        m_request.password = m_job.password;
        m_request.server = m_job.server;
        m_request.port = m_job.port;
        m_request.enable_ssl = m_job.enable_ssl;

        const int R = int(m_recipients.size());
        const int B = m_job.rows;
        int total = R;
        switch (m_job.kase) {
        case MailCase::WithoutCard:
        case MailCase::CardNoBatch: m_report.planned = R; break;
        case MailCase::AllToEveryone: total = B; m_report.planned = B * R; break;
        case MailCase::Range:
            total = std::max(0, m_job.Print_End - m_job.Print_Start);
            m_report.planned = total * R;
            break;
        case MailCase::OnePerRecipient: m_report.planned = std::min(R, B); break;
        }
        // The passes that can mail: a batch ends at its last row, before the
        // end of the range or of the recipients.
        switch (m_job.kase) {
        case MailCase::WithoutCard:
        case MailCase::CardNoBatch: m_mailingPasses = R; break;
        case MailCase::AllToEveryone: m_mailingPasses = B; break;
        case MailCase::Range: m_mailingPasses = std::max(0, std::min(m_job.Print_End, B) - m_job.Print_Start); break;
        case MailCase::OnePerRecipient: m_mailingPasses = std::min(R, B); break;
        }
        m_control.show_count = total;
        m_control.curr_card_count = 0;
        m_control.Pause_Delay_Time = -1;
        m_frame.Show(total, QStringLiteral("%d / %d"), {m_owned, false, true});
        try {
            loop(R, B);
        } catch (const std::exception& e) {
            Show_NSLog_Message(QString::fromUtf8(e.what()));
        }
        if (m_control.Stop_Processing_Now)
            m_report.stopped = m_report.stopped || m_report.sent < m_report.planned;
        finish();
        return m_report;
    }

private:
    MailJobReport refuse(const QString& text)
    {
        m_report.checksFailed = true;
        m_report.message = text;
        Show_MessageBox(text);
        return m_report;
    }

    void log(const char* withCard, const char* designText, const char* barcodeText)
    {
        Q_UNUSED(withCard);
        Show_NSLog_Message(QString::fromLatin1(m_job.designing ? designText : barcodeText));
    }

    // One call of the script; counts what went.
    bool send(const QString& recipient, bool withAttachment)
    {
        m_request.recipient = recipient;
        m_request.attachments.clear();
        if (withAttachment)
            m_request.attachments << m_attachment;
        else if (!Trim_Str(m_job.attachment).isEmpty() && QFileInfo(Trim_Str(m_job.attachment)).isFile())
            m_request.attachments << Trim_Str(m_job.attachment);
        Show_NSLog_Message(recipient);
        const MailSendResult r = sendEmail_pyth(m_request, &m_control.Stop_Processing_Now);
        if (r.sent)
            ++m_report.sent;
        else
            Show_NSLog_Message(QStringLiteral("error in mail"));
        return r.sent;
    }

    // Writes an image as the one-page PDF attachment, a page of its own size
    // (the PDF export writer's label-sized page).
    bool writeAttachment(const PtImage& image)
    {
        QString error;
        if (image.isNull() || !Write_Image_Pages_Pdf(m_attachment, {image}, &error)) {
            if (!error.isEmpty())
                Show_NSLog_Message(error);
            return false;
        }
        return true;
    }

    PtImage rowImage(int row) { return m_job.batchRows ? m_job.batchRows->image(row) : PtImage(); }

    PtImage currentImage() { return m_job.batchRows ? m_job.batchRows->currentImage() : PtImage(); }

    // The pause after every so many passes that mailed; none after the last
    // pass that can mail, so the job ends at once. Stop cuts it short.
    void pauseAfterPass()
    {
        if (!m_job.pauseOn)
            return;
        if (++m_passes < m_job.pauseEvery || m_control.curr_card_count >= m_mailingPasses)
            return;
        m_passes = 0;
        const long long total = m_job.pauseMs;
        QElapsedTimer since;
        since.start();
        long long gone = 0;
        m_control.Pause_Delay_Time = int(std::min<long long>(total, INT_MAX));
        while (gone < total && !m_control.Stop_Processing_Now) {
            const int step = int(std::min<long long>(total - gone, 20));
            if (m_job.pauseClock) {
                gone += std::max(0LL, m_job.pauseClock(step));
            } else {
                QThread::msleep(step);
                gone = since.elapsed();
            }
            m_control.Pause_Delay_Time = int(std::clamp<long long>(total - gone, 0, INT_MAX));
        }
        m_control.Pause_Delay_Time = -1;
    }

    void loop(int R, int B)
    {
        const bool stopOnFailure = m_job.stopOnFailure;
        switch (m_job.kase) {
        case MailCase::WithoutCard:
            for (int i = 0; i < R && !m_control.Stop_Processing_Now; ++i) {
                m_control.curr_card_count = i + 1;
                log(nullptr, "send without card.", "send without barcode.");
                if (!send(m_recipients[i], false) && stopOnFailure)
                    break;
                pauseAfterPass();
            }
            break;
        case MailCase::CardNoBatch: {
            PtImage card;
            for (int i = 0; i < R && !m_control.Stop_Processing_Now; ++i) {
                m_control.curr_card_count = i + 1;
                log(nullptr, "send Label no batch.", "send barcode no batch.");
                if (i == 0 || !m_job.designing) {
                    card = currentImage();
                    if (!writeAttachment(card)) {
                        Show_NSLog_Message(QStringLiteral("Invalid image"));
                        break;
                    }
                }
                if (!send(m_recipients[i], true) && stopOnFailure)
                    break;
                pauseAfterPass();
            }
            break;
        }
        case MailCase::AllToEveryone:
        case MailCase::Range: {
            const int first = m_job.kase == MailCase::Range ? m_job.Print_Start : 0;
            const int end = m_job.kase == MailCase::Range ? m_job.Print_End : B;
            for (int row = first; row < end && !m_control.Stop_Processing_Now; ++row) {
                m_control.curr_card_count = row - first + 1;
                if (row >= B) {
                    m_control.curr_card_count = m_control.show_count.load();
                    break;
                }
                log(nullptr, "send Label with batch to all image to everyone",
                    "send barcode with batch to all image to everyone");
                if (!writeAttachment(rowImage(row))) {
                    ++m_report.skippedRows;
                    continue;
                }
                for (int i = 0; i < R && !m_control.Stop_Processing_Now; ++i)
                    if (!send(m_recipients[i], true) && stopOnFailure)
                        break;  // the next row is sent all the same
                pauseAfterPass();
            }
            break;
        }
        case MailCase::OnePerRecipient:
            for (int i = 0; i < R && !m_control.Stop_Processing_Now; ++i) {
                m_control.curr_card_count = i + 1;
                if (i >= B) {
                    m_control.curr_card_count = m_control.show_count.load();
                    break;
                }
                log(nullptr, "send Label with batch to one to one", "send barcode with batch to one to one");
                if (!writeAttachment(rowImage(i))) {
                    ++m_report.skippedRows;
                    continue;
                }
                if (!send(m_recipients[i], true) && stopOnFailure)
                    break;
                pauseAfterPass();
            }
            break;
        }
    }

    void finish()
    {
        if (m_job.restoreDesign || m_job.selectFirst) {
            // The main window as it is now (it may have gone meanwhile).
            Run_On_Main_Thread_And_Wait([&] {
                BatchServices* main = App_Services().Batch_Services;
                if (!main)
                    return;
                if (m_job.restoreDesign) {
                    main->Create_Card_Design_Again();
                    main->Set_Graphic_Array_According_Side();
                }
                if (m_job.selectFirst)
                    main->Select_First_Value_For_Barcode_Setting_Mode();
            });
        }
        Delete_File(m_attachment);
        m_frame.Hide();
        m_control.Pause_Delay_Time = -1;
        if (m_report.planned > 0 && m_report.sent == m_report.planned) {
            m_report.message = m_job.successText;
        } else {
            const QString failure = m_job.designing || m_job.kase == MailCase::WithoutCard
                ? mail_send_err_msg + QStringLiteral("\n\nCould not send email.")
                : QStringLiteral("Could not send email message.\nEither Label not generated.\nOR\n") + mail_send_err_msg;
            m_report.message = QStringLiteral("%1 of %2 not sent.").arg(m_report.planned - m_report.sent).arg(m_report.planned)
                + (m_report.stopped ? QStringLiteral("\n\nSending was stopped.") : QStringLiteral("\n\n") + failure);
        }
        Show_MessageBox(m_report.message);
    }

    MailJob m_job;
    Batch_Job_Frame m_frame;
    Job_Control_Ptr m_owned;
    Job_Control& m_control;
    MailJobReport m_report;
    QStringList m_recipients;
    QTemporaryDir m_tmp;
    QString m_attachment;
    MailRequest m_request;
    int m_passes = 0;          // passes since the last pause
    int m_mailingPasses = 0;   // passes that can mail
};

} // namespace

MailJobReport Run_Mail_Job(const MailJob& job, QWidget* host, Job_Control_Ptr control)
{
    MailRun run(job, host, std::move(control));
    return run.run();
}

std::shared_ptr<Job_Handle<MailJobReport>> Start_Mail_Job(const MailJob& job, QWidget* host)
{
    QPointer<QWidget> hostPtr(host);
    return Start_Job<MailJobReport>(New_Job_Control(), [job, hostPtr](const Job_Control_Ptr& control) {
        return Run_Mail_Job(job, hostPtr.data(), control);
    });
}

// ---------------------------------------------------------------- e-mail window

QPointer<Send_Mail> Send_Mail::s_instance;

// The sender, the recipients, the subject and the message, and the choice
// of sending the label or not.
void Send_Mail::buildHeader(QVBoxLayout* col)
{
    auto* head = new QFormLayout;
    from_txt = new QLineEdit;
    from_txt->setReadOnly(true);
    to_txt = new QPlainTextEdit;
    to_txt->setPlaceholderText(tr("Addresses separated by commas"));
    to_txt->setMaximumHeight(56);
    subject_txt = new QLineEdit;
    message_txt = new QPlainTextEdit;
    message_txt->setMaximumHeight(90);
    head->addRow(tr("From:"), from_txt);
    head->addRow(tr("To:"), to_txt);
    head->addRow(tr("Subject:"), subject_txt);
    head->addRow(tr("Message:"), message_txt);
    col->addLayout(head);

    auto* choice = new QHBoxLayout;
    rd_mail_curr_barcode = new QRadioButton(tr("Send the current label"));
    rd_without_barcode = new QRadioButton(tr("Send without label"));
    auto* choiceGroup = new QButtonGroup(this);
    choiceGroup->addButton(rd_mail_curr_barcode);
    choiceGroup->addButton(rd_without_barcode);
    choice->addWidget(rd_mail_curr_barcode);
    choice->addWidget(rd_without_barcode);
    choice->addStretch();
    col->addLayout(choice);
}

// The pause after every so many mails.
QGroupBox* Send_Mail::buildPauseBox()
{
    delayed_box = new QGroupBox;
    auto* pause = new QHBoxLayout(delayed_box);
    mail_count_txt = New_Count_Box(1, 9999);
    hour_txt = New_Count_Box(0, 99);
    min_text = New_Count_Box(0, 59);
    sec_txt = New_Count_Box(0, 59);
    pause->addWidget(new QLabel(tr("After")));
    pause->addWidget(mail_count_txt);
    pause->addWidget(new QLabel(tr("mails, pause for")));
    pause->addWidget(hour_txt);
    pause->addWidget(new QLabel(tr("h")));
    pause->addWidget(min_text);
    pause->addWidget(new QLabel(tr("min")));
    pause->addWidget(sec_txt);
    pause->addWidget(new QLabel(tr("s")));
    pause->addStretch();
    return delayed_box;
}

Send_Mail::Send_Mail(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Send E-mail"));
    Apply_Dialog_Background(this);
    setAutoFillBackground(true);
    auto* col = new QVBoxLayout(this);
    buildHeader(col);

    send_sett_box = new QGroupBox(tr("Label"));
    auto* sett = new QVBoxLayout(send_sett_box);
    auto* nameRow = new QHBoxLayout;
    file_name_txt = new QLineEdit;
    nameRow->addWidget(new QLabel(tr("Attachment name:")));
    nameRow->addWidget(file_name_txt, 1);
    nameRow->addWidget(new QLabel(QStringLiteral(".pdf")));
    sett->addLayout(nameRow);
    send_with_batch_chk = new QCheckBox(tr("One label per data row"));
    sett->addWidget(send_with_batch_chk);
    export_range_box = new QGroupBox;
    auto* range = new QGridLayout(export_range_box);
    rd_all_to_every = new QRadioButton(tr("All rows to every recipient"));
    rd_one_per_recp = new QRadioButton(tr("Row 1 to recipient 1, row 2 to recipient 2..."));
    Sel_print_rd = new QRadioButton(tr("Rows"));
    auto* rangeGroup = new QButtonGroup(this);
    for (QRadioButton* r : {rd_all_to_every, rd_one_per_recp, Sel_print_rd})
        rangeGroup->addButton(r);
    tot_label = new QLabel(tr("Total:"));
    Total_Text = New_Count_Box(1, noBatchMaximum);
    from_label = new QLabel(tr("From:"));
    from_Text = New_Count_Box(1, noBatchMaximum);
    to_label = new QLabel(tr("To:"));
    To_Text = New_Count_Box(1, noBatchMaximum);
    range->addWidget(rd_all_to_every, 0, 0, 1, 3);
    range->addWidget(tot_label, 0, 3);
    range->addWidget(Total_Text, 0, 4);
    range->addWidget(rd_one_per_recp, 1, 0, 1, 5);
    range->addWidget(Sel_print_rd, 2, 0);
    range->addWidget(from_label, 2, 1);
    range->addWidget(from_Text, 2, 2);
    range->addWidget(to_label, 2, 3);
    range->addWidget(To_Text, 2, 4);
    sett->addWidget(export_range_box);
    col->addWidget(send_sett_box);

    auto* att = new QHBoxLayout;
    attachment = new QLineEdit;
    browse_att = new QPushButton(tr("Browse..."));
    clear_att = new QPushButton(tr("Clear"));
    att->addWidget(new QLabel(tr("Attachment:")));
    att->addWidget(attachment, 1);
    att->addWidget(browse_att);
    att->addWidget(clear_att);
    col->addLayout(att);

    delayed_delv_chk = new QCheckBox(tr("Pause between mails"));
    col->addWidget(delayed_delv_chk);
    col->addWidget(buildPauseBox());

    auto* buttons = new QHBoxLayout;
    setting_btn = new QPushButton(tr("Settings..."));
    close_btn = new QPushButton(tr("Close"));
    send_btn = new QPushButton(tr("Send"));
    for (QPushButton* b : {setting_btn, close_btn, browse_att, clear_att})
        b->setAutoDefault(false);
    send_btn->setDefault(true);
    buttons->addWidget(setting_btn);
    buttons->addStretch();
    buttons->addWidget(close_btn);
    buttons->addWidget(send_btn);
    col->addLayout(buttons);

    connect(send_btn, &QPushButton::clicked, this, [this] { Send_Button(); });
    connect(close_btn, &QPushButton::clicked, this, [this] { Close_Button(); });
    connect(setting_btn, &QPushButton::clicked, this, [this] { Setting_Button(); });
    connect(browse_att, &QPushButton::clicked, this, [this] { browse_att_Button(); });
    connect(clear_att, &QPushButton::clicked, this, [this] { clear_att_Button(); });
    connect(rd_without_barcode, &QRadioButton::clicked, this, [this] { Without_barcode_rd_select(); });
    connect(rd_mail_curr_barcode, &QRadioButton::clicked, this, [this] { send_barcode_rd_select(); });
    connect(send_with_batch_chk, &QCheckBox::clicked, this, [this] { send_with_batch_chk_select(); });
    connect(rd_all_to_every, &QRadioButton::clicked, this, [this] { all_rd_select(); });
    connect(rd_one_per_recp, &QRadioButton::clicked, this, [this] { obo_rd_select(); });
    connect(Sel_print_rd, &QRadioButton::clicked, this, [this] { Sel_Print_RD_Clicked(); });
    connect(delayed_delv_chk, &QCheckBox::toggled, this, [this] { delayed_delv_chk_select(); });
}

Send_Mail* Send_Mail::defaultInstance()
{
    return Gui_Window_Instance(s_instance);
}

Range_Fields Send_Mail::rangeFields() const
{
    return {tot_label, Total_Text, from_label, from_Text, to_label, To_Text};
}

void Send_Mail::Set_Tot_Value(int value, int max, const QString& set_for)
{
    rangeFields().setTotal(value, max, set_for, send_with_batch_chk->isChecked());
}

void Send_Mail::Reset_Controls()
{
    from_txt->setText(MainWindowServices::Get_Email_Details().sender_email);
    to_txt->clear();
    rd_all_to_every->setChecked(true);
    Total_Text->setVisible(false);
    tot_label->setVisible(false);
    from_Text->setValue(1);
    rd_mail_curr_barcode->setChecked(true);
    SetObjEnabled(send_sett_box, true);
    file_name_txt->setText(QStringLiteral("ZorvBarcode"));
    rowCount = App_Services().Batch_Services ? App_Services().Batch_Services->Check_Series_Or_Excel_Use_or_not() : Batch_Row_Count();
    // One label a row is offered as print, PDF and export offer it: for the
    // bound series and for the spreadsheet alike.
    send_with_batch_chk->setVisible(Design_Start_Option() != QLatin1String("V"));
    send_with_batch_chk->setEnabled(Design_Start_Option() != QLatin1String("V") && rowCount.batch());
    send_with_batch_chk->setChecked(false);
    Set_Tot_Value(rowCount.Total_Batch_Excel_Card, rowCount.batch() ? rowCount.Total_Batch_Excel_Card : noBatchMaximum,
                  QStringLiteral("A"));
    Set_Enable_Diable_Range_Box();
    rd_all_to_every->setChecked(true);
    subject_txt->clear();
    message_txt->clear();
    attachment->clear();
    browse_att->setEnabled(false);
    clear_att->setEnabled(false);
    attachment->setEnabled(false);
    delayed_delv_chk->setChecked(false);
    SetObjEnabled(delayed_box, false);
    mail_count_txt->setValue(1);
    hour_txt->setValue(0);
    min_text->setValue(0);
    sec_txt->setValue(0);
}

int Send_Mail::Open_Wnd()
{
    Reset_Controls();
    return Run_Window_Modal(*this);
}

void Send_Mail::Close_Button()
{
    done(0);
}

void Send_Mail::Setting_Button()
{
    Email_Setting::defaultInstance()->Open_Wnd();
    from_txt->setText(MainWindowServices::Get_Email_Details().sender_email);
}

void Send_Mail::browse_att_Button()
{
    const QString file = chooseFile ? chooseFile() : Choose_Open_File(this, tr("Attachment"));
    if (!file.isEmpty())
        attachment->setText(file);
}

void Send_Mail::clear_att_Button()
{
    attachment->clear();
}

void Send_Mail::Without_barcode_rd_select()
{
    rd_without_barcode->setChecked(true);
    SetObjEnabled(send_sett_box, false);
    for (QWidget* w : {static_cast<QWidget*>(attachment), static_cast<QWidget*>(browse_att),
                       static_cast<QWidget*>(clear_att)})
        w->setEnabled(true);
}

void Send_Mail::send_barcode_rd_select()
{
    if (App_Services().Batch_Services)
        rowCount = App_Services().Batch_Services->Check_Series_Or_Excel_Use_or_not();
    rd_mail_curr_barcode->setChecked(true);
    SetObjEnabled(send_sett_box, true);
    send_with_batch_chk->setEnabled(rowCount.batch());
    if (!rowCount.batch())
        send_with_batch_chk->setChecked(false);
    for (QWidget* w : {static_cast<QWidget*>(attachment), static_cast<QWidget*>(browse_att),
                       static_cast<QWidget*>(clear_att)})
        w->setEnabled(false);
    Set_Enable_Diable_Range_Box();
}

void Send_Mail::send_with_batch_chk_select()
{
    if (App_Services().Batch_Services)
        rowCount = App_Services().Batch_Services->Check_Series_Or_Excel_Use_or_not();
    const int totalLabel = send_with_batch_chk->isChecked() ? rowCount.rows() : 1;
    Set_Tot_Value(totalLabel, totalLabel, QStringLiteral("A"));
    Set_Enable_Diable_Range_Box();
}

void Send_Mail::Set_Enable_Diable_Range_Box()
{
    const bool on = send_with_batch_chk->isChecked() && send_with_batch_chk->isEnabled();
    SetObjEnabled(export_range_box, on);
    if (!on)
        return;
    if (rd_all_to_every->isChecked())
        all_rd_select();
    else if (rd_one_per_recp->isChecked())
        obo_rd_select();
    else
        Sel_Print_RD_Clicked();
}

void Send_Mail::all_rd_select()
{
    rd_all_to_every->setChecked(true);
    rangeFields().enable(true, false);
}

void Send_Mail::obo_rd_select()
{
    rd_one_per_recp->setChecked(true);
    rangeFields().enable(false, false);
}

void Send_Mail::Sel_Print_RD_Clicked()
{
    Sel_print_rd->setChecked(true);
    rangeFields().enable(false, true);
}

void Send_Mail::delayed_delv_chk_select()
{
    SetObjEnabled(delayed_box, delayed_delv_chk->isChecked());
}

std::shared_ptr<Job_Handle<MailJobReport>> Send_Mail::Send_Button()
{
    try {
        BatchServices* main = App_Services().Batch_Services;
        const bool designing = Designing_Mode_Active();
        const bool batch = send_with_batch_chk->isChecked() && send_with_batch_chk->isEnabled();
        // The job's own rows, read now; the window's count is what it showed.
        MailJob job;
        job.batchRows = main ? main->Make_Batch_Rows() : nullptr;
        const Batch_Row_Count count = job.batchRows ? job.batchRows->count() : Batch_Row_Count();
        if (designing && main)
            main->Set_Front_Back_Value_To_Print_Export_Mail();
        if (Sel_print_rd->isChecked() && batch) {
            if (from_Text->value() > To_Text->value()) {
                Show_MessageBox(QStringLiteral("Please select valid range."));
                return nullptr;
            }
            job.Print_Start = from_Text->value() - 1;
            job.Print_End = To_Text->value();
        }
        job.designing = designing;
        job.rows = count.rows();
        if (rd_without_barcode->isChecked())
            job.kase = MailCase::WithoutCard;
        else if (!batch)
            job.kase = MailCase::CardNoBatch;
        else if (rd_one_per_recp->isChecked())
            job.kase = MailCase::OnePerRecipient;
        else if (Sel_print_rd->isChecked())
            job.kase = MailCase::Range;
        else
            job.kase = MailCase::AllToEveryone;
        job.sender = from_txt->text();
        job.recipients = to_txt->toPlainText();
        job.subject = subject_txt->text();
        job.body = message_txt->toPlainText();
        // The settings as their store holds them now.
        const Email_Details mail = MainWindowServices::Get_Email_Details();
        job.password = mail.sender_pwd;
        job.server = mail.sending_server;
        job.port = mail.sending_port;
        job.enable_ssl = mail.send_enable_ssl;
        job.fileName = file_name_txt->text();
        job.attachment = attachment->text();
        job.pauseOn = delayed_delv_chk->isChecked();
        job.pauseEvery = mail_count_txt->value();
        job.pauseMs = hour_txt->value() * 3600000LL + min_text->value() * 60000LL + sec_txt->value() * 1000LL;
        job.pauseClock = pauseClock;
        const bool sources = (batch && count.Use_Data_Sheet_Values) || count.Use_Excel_Binding_Values;
        job.restoreDesign = designing && ((job.kase != MailCase::WithoutCard && batch)
                                          || (sources && Design_Start_Option() != QLatin1String("G")));
        job.selectFirst = !designing && sources;
        return Start_Mail_Job(job, this);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
    return nullptr;
}

// ---------------------------------------------------------------- direct mail

QPointer<Direct_Mail> Direct_Mail::s_instance;

Direct_Mail::Direct_Mail(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Send Visitor Details"));
    Apply_Dialog_Background(this);
    setAutoFillBackground(true);
    auto* col = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    from_txt = new QLineEdit;
    from_txt->setReadOnly(true);
    to_txt = new QLineEdit;
    to_txt->setMinimumWidth(320);
    form->addRow(tr("From:"), from_txt);
    form->addRow(tr("To:"), to_txt);
    col->addLayout(form);
    auto* buttons = new QHBoxLayout;
    setting_btn = new QPushButton(tr("Settings..."));
    close_btn = new QPushButton(tr("Close"));
    send_btn = new QPushButton(tr("Send"));
    setting_btn->setAutoDefault(false);
    close_btn->setAutoDefault(false);
    send_btn->setDefault(true);
    buttons->addWidget(setting_btn);
    buttons->addStretch();
    buttons->addWidget(close_btn);
    buttons->addWidget(send_btn);
    col->addLayout(buttons);
    connect(send_btn, &QPushButton::clicked, this, [this] { Send_Button(); });
    connect(setting_btn, &QPushButton::clicked, this, [this] { Setting_Button(); });
    connect(close_btn, &QPushButton::clicked, this, [this] { Close_Button(); });
}

Direct_Mail* Direct_Mail::defaultInstance()
{
    return Gui_Window_Instance(s_instance);
}

int Direct_Mail::Open_Wnd()
{
    from_txt->setText(MainWindowServices::Get_Email_Details().sender_email);
    to_txt->clear();
    return Run_Window_Modal(*this);
}

void Direct_Mail::Setting_Button()
{
    Email_Setting::defaultInstance()->Open_Wnd();
    from_txt->setText(MainWindowServices::Get_Email_Details().sender_email);
}

void Direct_Mail::Close_Button()
{
    done(0);
}

std::shared_ptr<Job_Handle<MailJobReport>> Direct_Mail::Send_Button()
{
    if (Trim_Str(file_path).isEmpty() || !QFileInfo(file_path).isFile()) {
        Show_MessageBox(QStringLiteral("Please select valid file path."));
        return nullptr;
    }
    const QString app = QCoreApplication::applicationName();
    MailJob job;
    job.kase = MailCase::WithoutCard;
    job.designing = true;
    job.sender = from_txt->text();
    job.recipients = to_txt->text();
    job.subject = QStringLiteral("Visitor Details");
    job.body = QStringLiteral("Visitor Details sent by ") + app + QLatin1Char('.');
    const Email_Details mail = MainWindowServices::Get_Email_Details();
    job.password = mail.sender_pwd;
    job.server = mail.sending_server;
    job.port = mail.sending_port;
    job.enable_ssl = mail.send_enable_ssl;
    job.attachment = file_path;
    job.stopOnFailure = false;
    return Start_Mail_Job(job, this);
}
