#pragma once
// The e-mail settings window: sender, password, server, port, SSL or TLS,
// and a recipient for a test mail. Save checks and writes the settings file;
// Test sends one mail with what is typed; Reset empties everything.
#include <QDialog>
#include <QPointer>

class Please_Wait_Sheet;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class Email_Setting : public QDialog {
    Q_OBJECT
public:
    explicit Email_Setting(QWidget* parent = nullptr);
    static Email_Setting* defaultInstance();

    // Loads the settings file into the fields and runs the window: 1 after Save, 0 after Close.
    int Open_Wnd();
    void loadPreferences();
    // Writes the fields; false (after saying so) when the file could not be written.
    bool flushPreferences();

    void Save_Button();
    void Close_Button();
    void Send_Test_Email();
    // Puts a text under the fields, the window growing to show all of it.
    void Show_Result_Status(const QString& text);
    void Reset_Button();
    void SSL_Selected();
    void TLS_Selected();
    // The checks of Save (without the recipient) and of a test mail (with it).
    bool Check_Validation(bool withRecipient);
    // "Y" when SSL is chosen and TLS is not, else "N".
    QString sslFlag() const;

    QLineEdit* _send_mail_to = nullptr;
    QLineEdit* _send_mail_sender_mail = nullptr;
    QLineEdit* _send_mail_password = nullptr;
    QLineEdit* _send_mail_smtp = nullptr;
    QLineEdit* _send_mail_port = nullptr;
    QLineEdit* _send_mail_test_mail = nullptr;
    QLabel* _send_mail_result_status = nullptr;
    QRadioButton* _send_mail_ssl = nullptr;
    QRadioButton* _send_mail_tls = nullptr;
    QPushButton* save_btn = nullptr;
    QPushButton* close_btn = nullptr;
    QPushButton* test_btn = nullptr;
    QPushButton* reset_btn = nullptr;
    // "Please wait" over the window while a test mail is on its way.
    Please_Wait_Sheet* plz_wait_Window = nullptr;

private:
    static QPointer<Email_Setting> s_instance;
};
