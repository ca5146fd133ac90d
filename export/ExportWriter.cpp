#include "export/ExportWriter.h"

#include "core/util/JobControl.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "export/ExportNaming.h"
#include "platform/EpsWriter.h"
#include "platform/ImageWriter.h"
#include "platform/MainThread.h"

#include <QFileInfo>
#include <QPainter>

QByteArray Encode_Export_File(const PtImage& image, const QString& path, bool increase_dpi, QString* error)
{
    if (image.isNull()) {
        if (error) *error = QStringLiteral("Invalid image");
        return {};
    }
    const QString ext = QFileInfo(path).suffix().toUpper();
    if (ext == QLatin1String("EPS"))
        return Eps_Data_Of_Image(image, error);

    ImageFileFormat format = Image_Format_For_Path(path);
    if (format == ImageFileFormat::Unknown || format == ImageFileFormat::PDF)
        format = format == ImageFileFormat::PDF ? format : ImageFileFormat::PNG;
    QImage pixels;
    double dpi = Export_DPI;
    if (increase_dpi || image.isVector()) {
        pixels = image.toImage(Export_DPI);
    } else {
        pixels = image.raster();
        dpi = PtImage_Native_Dpi(image);
    }
    if (pixels.isNull()) {
        if (error) {
            const QString tooLarge = image.Raster_Refusal(dpi);
            *error = tooLarge.isEmpty() ? QStringLiteral("Invalid image") : tooLarge;
        }
        return {};
    }
    if (format != ImageFileFormat::PNG && format != ImageFileFormat::PDF && pixels.hasAlphaChannel()) {
        QImage flat(pixels.size(), QImage::Format_RGB32);
        flat.fill(Qt::white);
        QPainter p(&flat);
        p.drawImage(0, 0, pixels);
        p.end();
        pixels = flat;
    }
    // JPEG at full quality: the bars must keep their edges.
    const int quality = format == ImageFileFormat::JPEG ? 100 : -1;
    return Encode_Image(pixels, format, dpi, error, quality);
}

namespace {

// The keep-or-replace decision of `job` (a one-file job of its own without one).
QString keepOrReplace(const QString& path, Job_Control* job)
{
    Job_Control own;
    return Check_And_Show_Keep_Replace_File_Msg(path, true, job ? *job : own).trimmed();
}

} // namespace

ExportWriteResult Export_Encoded_File(const QString& path, const QByteArray& bytes, bool skip_keep_replace_msg,
                                      QString* writtenPath, QString* error, Job_Control* job)
{
    QString target = path;
    if (!skip_keep_replace_msg) {
        target = keepOrReplace(path, job);
        if (target.isEmpty())
            return ExportWriteResult::Cancelled;
    }
    if (writtenPath) *writtenPath = target;
    if (bytes.isEmpty())
        return ExportWriteResult::Failed;
    if (!Write_File_Atomically(target, bytes, error))
        return ExportWriteResult::Failed;
    if (job)
        job->Export_Any_File = true;
    return ExportWriteResult::Written;
}

ExportWriteResult Export_File_Function(const QString& path, const PtImage& original, bool show_msg,
                                       bool skip_keep_replace_msg, bool increase_dpi, QString* writtenPath,
                                       QString* error, Job_Control* job)
{
    QString target = path;
    if (!skip_keep_replace_msg) {
        target = keepOrReplace(path, job);
        if (target.isEmpty())
            return ExportWriteResult::Cancelled;
    }
    const QByteArray bytes = Encode_Export_File(original, target, increase_dpi, error);
    const ExportWriteResult r = Export_Encoded_File(target, bytes, true, writtenPath, error, job);
    if (r == ExportWriteResult::Written && show_msg && App_Services().Main_App_wnd)
        App_Services().Main_App_wnd->Open_Export_File_Box(target, QStringLiteral("Label has been exported successfully."));
    return r;
}

void Show_Export_Done(const QString& path, const QString& message)
{
    Run_On_Main_Thread_And_Wait([&] {
        if (App_Services().Main_App_wnd)
            App_Services().Main_App_wnd->Open_Export_File_Box(path, message);
        else
            Show_MessageBox(message);
    });
}
