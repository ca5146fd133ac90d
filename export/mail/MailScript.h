#pragma once
// The mail script: one run of resources/pyth_mail.py sends one mail.
//
// The script runs under python3, looked up on "/bin:/usr/bin:/usr/local/bin",
// with a fixed small environment. Its arguments are the sender, the server,
// the port, the sender again, the recipient, the subject, the body, the
// secure-connection flag and the attachment paths; the password goes only
// through its standard input (UTF-8, followed by a line break and the word
// "Description"), never on a command line. A run has a time-out and, when
// given a job's stop request, ends as soon as it is set.
#include <QString>
#include <QStringList>

#include <atomic>

// The shared failure text of the mail windows.
extern const QString mail_send_err_msg;

// Trimmed, at least 6 characters, exactly one "@" and at least one ".".
bool isValidEmail(const QString& address);

struct MailSendResult {
    bool sent = false;       // exit status 0
    int exitStatus = -1;     // the script's status; -1 when it did not end by itself
    bool timedOut = false;
    bool stopped = false;    // ended by Stop
    bool notStarted = false; // python3 or the script is missing
    QString error;           // one line: what went wrong
};

struct MailRequest {
    QString recipient, subject, sender, password, server, port, body;
    QString enable_ssl;      // "Y" SSL, anything else "N"
    QStringList attachments;
    int timeoutMs = 120000;  // the script is ended after this long
};

// Runs the script once and waits for it (on the calling thread). With
// `stop` (a job's Stop_Processing_Now) the run ends at once when it is set.
MailSendResult sendEmail_pyth(const MailRequest& request, const std::atomic<bool>* stop = nullptr);

// The script and the interpreter.
QString Mail_Script_Path();
QString Mail_Python_Path();
