#include "imagetools/crop/Cropping_Tool.h"

#include "core/util/BatchServices.h"
#include "core/util/DesktopOpen.h"
#include "core/util/FileChoosers.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/ServiceInterfaces.h"
#include "core/util/SharedValues.h"
#include "data/SeriesStore.h"
#include "imagetools/crop/CropOperations.h"
#include "imagetools/picture/PictureDecoder.h"
#include "imagetools/selection/MSSCanvas.h"
#include "imagetools/selection/MSSScaledImageView.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTableWidget>
#include <QThread>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include <chrono>
#include <exception>

// ---------------------------------------------------------------- cropping

QString Cropping_Tool::Cropped_File_Name()
{
    const QString base = output_option_matrix->checkedId() == 1 ? output_custom_name->text()
                                                                : QFileInfo(Crop_Input_Path).completeBaseName();
    const QString path = Crop_Output_Name(Crop_Output_Path, base, crop_num, output_format_combo->currentIndex());
    ++crop_num;
    return path;
}

Cropping_Tool::CropInput Cropping_Tool::snapshot() const
{
    CropInput in;
    in.path = Crop_Input_Path;
    in.bySelection = cropping_option_matrix->checkedId() == 0;
    in.selection = Crop_Rect;
    in.ratio = Modified_image->imageRatio();
    in.previewSize = User_Picture.size();
    in.width = width_Stepper->value();
    in.height = height_Stepper->value();
    in.keepAspect = aspect_ratio_chk->isChecked();
    return in;
}

QImage Cropping_Tool::makeOutput(const CropInput& in, QString* reason) const
{
    if (in.previewSize.isEmpty()) {
        *reason = QStringLiteral("There is no image to crop.");
        return {};
    }
    QRect source;
    QSizeF target;
    if (in.bySelection) {
        if (!(in.ratio.width() > 0) || !(in.ratio.height() > 0)) {
            *reason = QStringLiteral("The picture is not shown.");
            return {};
        }
        const QRectF preview(in.selection.x() / in.ratio.width(), in.selection.y() / in.ratio.height(),
                             in.selection.width() / in.ratio.width(), in.selection.height() / in.ratio.height());
        if (!(preview.width() > 0) || !(preview.height() > 0)) {
            *reason = QStringLiteral("The selection is empty.");
            return {};
        }
        // Cut from the whole picture, not from the preview.
        const DecodedPicture whole = Decode_Picture_File(in.path, 0);
        if (!whole.ok()) {
            *reason = Picture_Status_Message(whole.status);
            return {};
        }
        source = Crop_Full_Rect(preview, in.previewSize, whole.image.size());
        if (source.isEmpty()) {
            *reason = QStringLiteral("The selection lies outside the picture.");
            return {};
        }
        return whole.image.copy(source);
    }
    const DecodedPicture whole = Decode_Picture_File(in.path, 0);
    if (!whole.ok()) {
        *reason = Picture_Status_Message(whole.status);
        return {};
    }
    target = Crop_Resize_Size(whole.image.size(), in.width, in.height, in.keepAspect);
    const QSize size(int(std::lround(target.width())), int(std::lround(target.height())));
    if (size.width() <= 0 || size.height() <= 0) {
        *reason = QStringLiteral("The size is empty.");
        return {};
    }
    if (qint64(size.width()) * size.height() > Picture_Pixel_Limit) {
        *reason = Picture_Status_Message(PictureStatus::TooLarge);
        return {};
    }
    QImage out = whole.image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    out.setDotsPerMeterX(whole.image.dotsPerMeterX());
    out.setDotsPerMeterY(whole.image.dotsPerMeterY());
    return out;
}

bool Cropping_Tool::cropAndWrite(const CropInput& in, const QString& name, bool askKeepReplace, Job_Control& job)
{
    // A crop of one picture runs under the please-wait sheet, which is taken
    // down before any box (and put up again for the writing after a question).
    const bool waiting = !m_jobRunning && plz_wait_Window && plz_wait_Window->isVisible();
    QString reason;
    const QImage out = makeOutput(in, &reason);
    if (out.isNull()) {
        Show_NSLog_Message(QStringLiteral("%1: %2").arg(in.path, reason));
        if (!m_jobRunning) {
            Hide_Destroy_Modeless_plz_wt();
            Show_MessageBox(reason);
        }
        return false;
    }
    QString path = name.isEmpty() ? Cropped_File_Name() : name;
    if (askKeepReplace && QFileInfo::exists(path)) {
        if (waiting)
            Hide_Destroy_Modeless_plz_wt();
        // "Apply to all" is offered when a batch crops several pictures.
        path = Ask_Keep_Or_Replace(path, m_jobRunning.load(), this, job);
        if (path.isEmpty())
            return false;
        if (waiting)
            Show_Create_Modeless_plz_wt();
    }
    QString error;
    if (!Write_Cropped_Picture(path, out, &error)) {
        Show_NSLog_Message(QStringLiteral("Could not write %1: %2").arg(path, error));
        if (!m_jobRunning) {
            Hide_Destroy_Modeless_plz_wt();
            Show_MessageBox(QStringLiteral("The cropped picture could not be written to %1.\n%2").arg(path, error));
        }
        return false;
    }
    croped_file = path;
    return true;
}

void Cropping_Tool::showAfterCropBox()
{
    if (m_job->Stop_Processing_Now)
        return;
    Open_Export_Log* box = Open_Export_Log::defaultInstance();
    if (!box)
        return;
    box->Export_File_Path = m_job->Export_File_Path;
    box->Export_File_Message = m_job->Export_File_Message;
    box->Reset_Controls();
    // The wizard's own wording of the box: a cropped picture is a file.
    if (!QFileInfo(box->Export_File_Path).isDir())
        box->_open_log_chk->setText(QStringLiteral("Open file."));
    Run_Modal_Dialog(*box);
    box->hide();
}

void Cropping_Tool::Show_Create_Modeless_plz_wt()
{
    plz_wait_Window->Begin();
}

void Cropping_Tool::Hide_Destroy_Modeless_plz_wt()
{
    if (plz_wait_Window)
        plz_wait_Window->End();
}

void Cropping_Tool::Crop_All_Clicked()
{
    if (m_jobRunning)
        return;
    m_job = New_Job_Control();
    if (cropping_option_matrix->checkedId() == 0
        && (!canvasController->hasSelectors() || !canvasController->currentSelector())) {
        Show_MessageBox(QStringLiteral("Please select area to crop."));
        return;
    }
    joinWorker();
    m_jobRunning = true;
    m_workerFinished = false;
    m_worker = std::thread([this] { Crop_All_Thread(); m_workerFinished = true; });
}

void Cropping_Tool::joinWorker()
{
    if (m_worker.joinable()) {
        if (Is_Main_Thread()) {
            // The worker may be waiting for the GUI thread; keep serving it.
            while (!m_workerFinished)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        }
        m_worker.join();
    }
}

void Cropping_Tool::Wait_For_Job()
{
    joinWorker();
}

void Cropping_Tool::showProgress()
{
    // The one progress window of batch jobs; without it (the image tools on
    // their own) the job runs without a window.
    m_sharedProgress = App_Services().Send_Modeless_Var
        && App_Services().Send_Modeless_Var->Begin_Job_Progress(this, m_job, QStringLiteral("%d / %d"));
}

void Cropping_Tool::hideProgress()
{
    if (m_sharedProgress && App_Services().Send_Modeless_Var)
        App_Services().Send_Modeless_Var->End_Job_Progress();
    m_sharedProgress = false;
}
