#pragma once
// The one road every message box takes.
//
// Code that wants to ask or tell the user builds a MessageRequest and calls
// Raise_Message(). The request is answered on the GUI thread (a worker blocks
// until the answer is in). The application answers with a QMessageBox; a test
// installs a responder that answers from a script, so no modal loop runs.
//
// Dialog windows of our own go through Run_Modal_Dialog() for the same reason.
#include <QString>
#include <QStringList>

#include <functional>

class QDialog;
class QWidget;

enum class MessageKind { Information, Warning, Critical, Question };

struct MessageRequest {
    MessageKind kind = MessageKind::Information;
    QString title;             // window title (may be empty)
    QString text;              // main message text
    QString informativeText;   // second text under the main one
    QStringList buttons;       // button titles, left to right as added
    int defaultButton = 0;     // index into buttons
    int escapeButton = -1;     // index answered by Escape / closing; -1: none
};

// Answers a request with the index of the chosen button, or -1 when the box
// was closed without a button. Always called on the GUI thread.
using MessageResponder = std::function<int(const MessageRequest&)>;

// Installs the responder (an empty function restores the QMessageBox one) and
// returns the previous one.
MessageResponder Set_Message_Responder(MessageResponder responder);

// Shows the request (on the GUI thread, waiting there when called from a
// worker) and returns the index of the chosen button, or -1.
int Raise_Message(const MessageRequest& request);

// The window message boxes and sheets are made modal to; none by default.
void Set_Message_Parent_Provider(std::function<QWidget*()> provider);
QWidget* Message_Parent();

// Runs a dialog modally and returns its result code. The application runs
// exec(); tests install a runner that presses the buttons they want.
using ModalRunner = std::function<int(QDialog&)>;
ModalRunner Set_Modal_Runner(ModalRunner runner);
int Run_Modal_Dialog(QDialog& dialog);

// Writes one line to the log (informational, "%s" of the text).
void Log_Message(const QString& text);
