#pragma once
#include "core/util/Services.h"
// What the drawing core uses of the export and e-mail subsystem (the e-mail
// settings store and the progress window) and of the image tools (picture
// thumbnails). The owning subsystems implement the interfaces and install
// them at start-up; tests install fakes.
#include "core/util/JobControl.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

class QWidget;

// ---- E-mail settings store ----
class Preferences {
public:
    virtual ~Preferences();
    virtual QString send_email_SenderEmail() const = 0;
    virtual QString send_email_Password() const = 0;
    virtual QString send_email_SMTP_server() const = 0;
    virtual QString send_email_PORT_num() const = 0;
    virtual QString send_email_enable_ssl() const = 0;  // "Y" or "N"

    // The store, reloaded from its file (created when missing) at every call;
    // null until the e-mail subsystem has installed its loader.
    static std::shared_ptr<Preferences> sharedInstance();
    using Loader = std::function<std::shared_ptr<Preferences>()>;
    static void Set_Loader(Loader loader);
};

// ---- Progress window of batch jobs ----
class Send_Modeless {
public:
    virtual ~Send_Modeless();
    // The window shown as a sheet while a job runs (the main window's
    // Send_Models_Window).
    virtual QWidget* Send_Models_Window() = 0;
    // For jobs of the subsystems beside export (batch cropping): shows the
    // window on `host` for a job whose rows begun and total are read from its
    // control every half second (its Stop asks the job to stop), the first
    // text a "%d / %d" format. False when the window does not offer this; the
    // job then shows its own. GUI thread.
    virtual bool Begin_Job_Progress(QWidget* host, const Job_Control_Ptr& job, const QString& firstText)
    {
        return false;
    }
    // Stops the refresh and hides the window. GUI thread.
    virtual void End_Job_Progress() {}
};
// The one progress window controller is App_Services().Send_Modeless_Var.

// ---- Picture thumbnails ----
namespace QuickLook {
// A thumbnail of the picture file whose longer side is at most size.width()
// pixels, turned upright by the file's orientation and made from the full
// picture (an embedded thumbnail is not used); the file's icon at that size
// when no thumbnail can be made. `asIcon` is not used.
QImage imageWithPreviewOfFileAtPath(const QString& path, QSize size, bool asIcon);
// The same from picture data.
QImage imageWithPreviewOfFile_With_Data(const QByteArray& data, QSize size, bool asIcon);

// The image tools install their thumbnails here at start-up; until then (and
// in the core's own tests) the plain readers above answer.
using FileProvider = std::function<QImage(const QString& path, QSize size)>;
using DataProvider = std::function<QImage(const QByteArray& data, QSize size)>;
void Set_Providers(FileProvider file, DataProvider data);
}
