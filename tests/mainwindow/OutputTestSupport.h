#pragma once
// Output commands run through the main window's toolbar as a user runs them:
// the windows they open answered by a script, a batch job waited for until
// its after-export box (or its last message) shows, and what that box said.
#include "core/util/MessageBoxes.h"
#include "export/PdfExportWindow.h"
#include "platform/MessageSink.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QStringList>
#include <QThread>

#include <functional>
#include <memory>

namespace outputtest {

// Modal windows run by a script for the object's lifetime: each is named in
// `seen` and handed to `on`; the after-export box is read and closed.
class Windows {
public:
    Windows()
    {
        m_previous = Set_Modal_Runner([this](QDialog& d) {
            seen << QString::fromLatin1(d.metaObject()->className());
            if (auto* box = qobject_cast<Open_Export_Log*>(&d)) {
                boxMessages << box->_open_log_message->text().trimmed();
                return 0;
            }
            if (on)
                on(d);
            return d.result();
        });
    }
    ~Windows() { Set_Modal_Runner(m_previous); }
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    QStringList seen;
    QStringList boxMessages;
    std::function<void(QDialog&)> on;

private:
    ModalRunner m_previous;
};

// Spins the GUI thread until `done` or a minute passes; false on time-out.
inline bool Wait_For(const std::function<bool()>& done, int seconds = 60)
{
    QDeadlineTimer deadline(seconds * 1000);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(2);
    }
    QCoreApplication::processEvents();
    return true;
}

// Exports from the PDF window into `folder` as `name`, waits until the job
// ends (at most `seconds`) and closes the window. The job, or null when the
// window started none; its `done` is false when it did not end in time.
inline std::shared_ptr<Job_Handle<Pdf_Export_Report>> Export_Pdf_And_Close(PDF_Export& pdf, const QString& name,
                                                               const QString& folder, int seconds = 60)
{
    pdf.file_name_save_txt->setText(name);
    pdf.chooseFolder = [folder] { return folder; };
    pdf.export_btn->click();
    std::shared_ptr<Job_Handle<Pdf_Export_Report>> job = pdf.lastJob();
    if (job)
        Wait_For([&] { return job->done.load(); }, seconds);
    pdf.cancel_btn->click();
    return job;
}

// Files directly in a folder, sorted by name.
inline QStringList Files_In(const QString& folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace outputtest
