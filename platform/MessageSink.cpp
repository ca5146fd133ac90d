#include "platform/MessageSink.h"

#include "platform/MainThread.h"

#include <QAbstractButton>
#include <QDialog>
#include <QMessageBox>
#include <QMutex>
#include <QMutexLocker>
#include <QPushButton>
#include <QWidget>

#include <vector>

namespace {

// Process-wide by design: every box of every layer goes through this one
// sink, and tests answer them by installing a responder and a modal runner.
QMutex g_lock;
MessageResponder g_responder;
ModalRunner g_runner;
std::function<QWidget*()> g_parentProvider;

QMessageBox::Icon iconFor(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Warning: return QMessageBox::Warning;
    case MessageKind::Critical: return QMessageBox::Critical;
    case MessageKind::Question: return QMessageBox::Question;
    case MessageKind::Information: break;
    }
    return QMessageBox::Information;
}

int showMessageBox(const MessageRequest& request)
{
    QMessageBox box(Message_Parent());
    box.setIcon(iconFor(request.kind));
    box.setWindowTitle(request.title);
    box.setText(request.text);
    box.setInformativeText(request.informativeText);
    std::vector<QPushButton*> buttons;
    for (const QString& title : request.buttons)
        buttons.push_back(box.addButton(title, QMessageBox::ActionRole));
    if (buttons.empty())
        buttons.push_back(box.addButton(QMessageBox::Ok));
    if (request.defaultButton >= 0 && request.defaultButton < int(buttons.size()))
        box.setDefaultButton(buttons[size_t(request.defaultButton)]);
    if (request.escapeButton >= 0 && request.escapeButton < int(buttons.size()))
        box.setEscapeButton(buttons[size_t(request.escapeButton)]);
    box.exec();
    QAbstractButton* clicked = box.clickedButton();
    for (size_t i = 0; i < buttons.size(); ++i)
        if (buttons[i] == clicked)
            return int(i);
    return -1;
}

} // namespace

MessageResponder Set_Message_Responder(MessageResponder responder)
{
    QMutexLocker lock(&g_lock);
    std::swap(g_responder, responder);
    return responder;
}

int Raise_Message(const MessageRequest& request)
{
    int answer = -1;
    Run_On_Main_Thread_And_Wait([&]() {
        MessageResponder responder;
        {
            QMutexLocker lock(&g_lock);
            responder = g_responder;
        }
        answer = responder ? responder(request) : showMessageBox(request);
    });
    return answer;
}

void Set_Message_Parent_Provider(std::function<QWidget*()> provider)
{
    QMutexLocker lock(&g_lock);
    g_parentProvider = std::move(provider);
}

QWidget* Message_Parent()
{
    std::function<QWidget*()> provider;
    {
        QMutexLocker lock(&g_lock);
        provider = g_parentProvider;
    }
    return provider ? provider() : nullptr;
}

ModalRunner Set_Modal_Runner(ModalRunner runner)
{
    QMutexLocker lock(&g_lock);
    std::swap(g_runner, runner);
    return runner;
}

int Run_Modal_Dialog(QDialog& dialog)
{
    ModalRunner runner;
    {
        QMutexLocker lock(&g_lock);
        runner = g_runner;
    }
    return runner ? runner(dialog) : dialog.exec();
}

void Log_Message(const QString& text)
{
    qInfo("%s", qUtf8Printable(text));
}
