#include "export/mail/EmailSetting.h"

#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "export/mail/MailPreferences.h"
#include "export/mail/MailScript.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QThread>
#include <QVBoxLayout>

#include <atomic>
#include <exception>
#include <thread>

QPointer<Email_Setting> Email_Setting::s_instance;

Email_Setting::Email_Setting(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("E-mail Settings"));
    Apply_Dialog_Background(this);
    setAutoFillBackground(true);
    auto* col = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    _send_mail_sender_mail = new QLineEdit;
    _send_mail_password = new QLineEdit;
    _send_mail_password->setEchoMode(QLineEdit::Password);
    _send_mail_smtp = new QLineEdit;
    _send_mail_port = new QLineEdit;
    _send_mail_port->setMaximumWidth(90);
    form->addRow(tr("Sender e-mail:"), _send_mail_sender_mail);
    form->addRow(tr("Password:"), _send_mail_password);
    form->addRow(tr("SMTP server:"), _send_mail_smtp);
    form->addRow(tr("Port:"), _send_mail_port);
    auto* security = new QHBoxLayout;
    _send_mail_ssl = new QRadioButton(tr("SSL"));
    _send_mail_tls = new QRadioButton(tr("TLS"));
    auto* group = new QButtonGroup(this);
    group->addButton(_send_mail_ssl);
    group->addButton(_send_mail_tls);
    security->addWidget(_send_mail_ssl);
    security->addWidget(_send_mail_tls);
    security->addStretch();
    form->addRow(tr("Secure connection:"), security);
    col->addLayout(form);

    auto* testForm = new QFormLayout;
    _send_mail_to = new QLineEdit;
    _send_mail_test_mail = new QLineEdit(this);
    _send_mail_test_mail->setVisible(false);
    testForm->addRow(tr("Test recipient:"), _send_mail_to);
    col->addLayout(testForm);
    _send_mail_result_status = new QLabel;
    _send_mail_result_status->setWordWrap(true);
    _send_mail_result_status->setMinimumWidth(380);
    col->addWidget(_send_mail_result_status);

    auto* buttons = new QHBoxLayout;
    reset_btn = new QPushButton(tr("Reset"));
    test_btn = new QPushButton(tr("Send Test Mail"));
    close_btn = new QPushButton(tr("Close"));
    save_btn = new QPushButton(tr("Save"));
    for (QPushButton* b : {reset_btn, test_btn, close_btn})
        b->setAutoDefault(false);
    save_btn->setDefault(true);
    buttons->addWidget(reset_btn);
    buttons->addWidget(test_btn);
    buttons->addStretch();
    buttons->addWidget(close_btn);
    buttons->addWidget(save_btn);
    col->addLayout(buttons);

    plz_wait_Window = new Please_Wait_Sheet(this);
    plz_wait_Window->setObjectName(QStringLiteral("plz_wait_Window"));

    connect(save_btn, &QPushButton::clicked, this, [this] { Save_Button(); });
    connect(close_btn, &QPushButton::clicked, this, [this] { Close_Button(); });
    connect(test_btn, &QPushButton::clicked, this, [this] { Send_Test_Email(); });
    connect(reset_btn, &QPushButton::clicked, this, [this] { Reset_Button(); });
    connect(_send_mail_ssl, &QRadioButton::clicked, this, [this] { SSL_Selected(); });
    connect(_send_mail_tls, &QRadioButton::clicked, this, [this] { TLS_Selected(); });
}

Email_Setting* Email_Setting::defaultInstance()
{
    return Gui_Window_Instance(s_instance);
}

void Email_Setting::loadPreferences()
{
    const auto prefs = PreferencesStore::sharedInstance();
    _send_mail_to->setText(prefs->send_email_Recipient());
    _send_mail_sender_mail->setText(prefs->send_email_SenderEmail());
    _send_mail_smtp->setText(prefs->send_email_SMTP_server());
    _send_mail_port->setText(prefs->send_email_PORT_num());
    _send_mail_password->setText(prefs->send_email_Password());
    const bool ssl = prefs->send_email_enable_ssl() == QLatin1String("Y");
    _send_mail_ssl->setChecked(ssl);
    _send_mail_tls->setChecked(!ssl);
    _send_mail_result_status->clear();
}

// The status may run to several wrapped lines: the window grows to show them
// all rather than squeezing the fields above.
void Email_Setting::Show_Result_Status(const QString& text)
{
    _send_mail_result_status->setText(text);
    if (!layout())
        return;
    layout()->activate();
    const int needed = layout()->hasHeightForWidth() ? layout()->totalHeightForWidth(width())
                                                     : layout()->totalSizeHint().height();
    if (needed > height())
        resize(width(), needed);
}

QString Email_Setting::sslFlag() const
{
    return _send_mail_ssl->isChecked() && !_send_mail_tls->isChecked() ? QStringLiteral("Y") : QStringLiteral("N");
}

bool Email_Setting::flushPreferences()
{
    const auto prefs = PreferencesStore::sharedInstance();
    prefs->setsend_email_Recipient(_send_mail_to->text());
    prefs->setsend_email_SenderEmail(_send_mail_sender_mail->text());
    prefs->setsend_email_SMTP_server(_send_mail_smtp->text());
    prefs->setsend_email_PORT_num(_send_mail_port->text());
    prefs->setsend_email_Password(_send_mail_password->text());
    prefs->setsend_email_enable_ssl(sslFlag());
    QString error;
    if (!prefs->flush(&error)) {
        Show_MessageBox(QStringLiteral("The e-mail settings could not be saved.\n\n%1").arg(error));
        return false;
    }
    return true;
}

int Email_Setting::Open_Wnd()
{
    loadPreferences();
    return Run_Window_Modal(*this);
}

bool Email_Setting::Check_Validation(bool withRecipient)
{
    auto fail = [](const char* text, QLineEdit* field) {
        Show_MessageBox(QString::fromLatin1(text));
        field->setFocus();
        return false;
    };
    const QString sender = _send_mail_sender_mail->text().toLower();
    if (Trim_Str(sender).isEmpty())
        return fail("Please enter sender E-mail.", _send_mail_sender_mail);
    if (!isValidEmail(sender))
        return fail("Please enter valid sender E-mail address.", _send_mail_sender_mail);
    if (_send_mail_password->text().isEmpty())
        return fail("Please enter password.", _send_mail_password);
    if (Trim_Str(_send_mail_smtp->text()).isEmpty())
        return fail("Please enter SMTP server.", _send_mail_smtp);
    if (Trim_Str(_send_mail_port->text()).isEmpty())
        return fail("Please enter port number.", _send_mail_port);
    if (withRecipient) {
        const QString to = _send_mail_to->text().toLower();
        if (Trim_Str(to).isEmpty())
            return fail("Please enter recipient E-mail address.", _send_mail_to);
        if (!isValidEmail(to))
            return fail("Please enter valid recipient E-mail address.", _send_mail_to);
    }
    return true;
}

void Email_Setting::Save_Button()
{
    try {
        if (Check_Validation(false) && flushPreferences())
            done(1);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Email_Setting::Close_Button()
{
    done(0);
}

void Email_Setting::SSL_Selected()
{
    _send_mail_ssl->setChecked(true);
    _send_mail_tls->setChecked(false);
}

void Email_Setting::TLS_Selected()
{
    _send_mail_tls->setChecked(true);
    _send_mail_ssl->setChecked(false);
}

void Email_Setting::Send_Test_Email()
{
    try {
        if (!Check_Validation(true))
            return;
        const QString app = QCoreApplication::applicationName();
        MailRequest request;
        request.recipient = Trim_Str(_send_mail_to->text().toLower());
        request.sender = Trim_Str(_send_mail_sender_mail->text().toLower());
        request.password = _send_mail_password->text();
        request.server = _send_mail_smtp->text();
        request.port = _send_mail_port->text();
        request.enable_ssl = sslFlag();
        request.subject = app + QStringLiteral(" Test Mail");
        request.body = QStringLiteral("This is test mail sent by ") + app + QLatin1Char('.');
        Show_Result_Status(QStringLiteral("It may take a while, Please wait..."));
        plz_wait_Window->Begin();
        setEnabled(false);
        // The script runs beside the GUI thread, which keeps drawing meanwhile.
        std::atomic<bool> done{false};
        MailSendResult result;
        std::thread worker([&] {
            result = sendEmail_pyth(request);
            done = true;
        });
        while (!done)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 50);
        worker.join();
        plz_wait_Window->End();
        setEnabled(true);
        const QString text = result.sent
            ? QStringLiteral("E-mail has been sent successfully.")
            : mail_send_err_msg + QStringLiteral("\n\nCould not send email.");
        Show_Result_Status(result.sent || result.error.isEmpty()
                               ? text
                               : text + QStringLiteral("\n(") + result.error + QLatin1Char(')'));
        Show_MessageBox(text);
    } catch (const std::exception& e) {
        plz_wait_Window->End();
        setEnabled(true);
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Email_Setting::Reset_Button()
{
    if (!Show_YES_NO_MessageBox(QStringLiteral("Are you sure you want to reset current email settings?")))
        return;
    QFile::remove(PreferencesStore::Preferences_Path());
    for (QLineEdit* f : {_send_mail_to, _send_mail_sender_mail, _send_mail_smtp, _send_mail_port,
                         _send_mail_password, _send_mail_test_mail})
        f->clear();
    TLS_Selected();
}
