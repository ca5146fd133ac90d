#include "export/ExportJobs.h"

#include "core/util/BatchServices.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "export/ExportWriter.h"
#include "export/ProgressWindow.h"
#include "platform/MainThread.h"
#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QThreadPool>

#include <deque>
#include <future>

namespace {

// One row on its way to the disk.
struct PendingRow {
    int row = 0;  // 0-based
    std::shared_future<QByteArray> bytes;
    std::function<QString()> path;  // builds the name, in row order
};

// The part of a job that both kinds share: the folder, the progress window,
// the parallel encoding and the ordered writing.
class RowPipeline {
public:
    RowPipeline(ExportJobReport& report, const QString& ext, Job_Control& control)
        : m_report(report), m_control(control), m_probe(QStringLiteral("x.") + ext)
    {
        const int cores = std::max(1, QThread::idealThreadCount());
        m_pool.setMaxThreadCount(cores);
        m_lookahead = 2 * cores;
    }
    ~RowPipeline() { m_pool.waitForDone(); }

    // Queues the encoding of a row's image and writes finished rows while
    // too many are in flight.
    void add(int row, const PtImage& image, bool increaseDpi, std::function<QString()> path)
    {
        auto promise = std::make_shared<std::promise<QByteArray>>();
        PendingRow p;
        p.row = row;
        p.bytes = promise->get_future().share();
        p.path = std::move(path);
        const QString probe = m_probe;
        m_pool.start([promise, image, increaseDpi, probe] {
            try {
                promise->set_value(Encode_Export_File(image, probe, increaseDpi));
            } catch (...) {
                promise->set_value(QByteArray());
            }
        });
        m_pending.push_back(std::move(p));
        while (!m_report.cancelled && m_pending.size() > size_t(m_lookahead))
            writeFront();
    }

    // Writes what is still pending, in order.
    void finish()
    {
        while (!m_report.cancelled && !m_pending.empty())
            writeFront();
        m_pending.clear();
        m_pool.waitForDone();
    }

    bool cancelled() const { return m_report.cancelled; }

private:
    void writeFront()
    {
        PendingRow p = std::move(m_pending.front());
        m_pending.pop_front();
        const QByteArray bytes = p.bytes.get();
        // The folder may have gone since the job began.
        if (!QFileInfo(m_report.folder).isDir())
            Create_Folder(m_report.folder);
        const QString path = p.path();
        QString written;
        switch (Export_Encoded_File(path, bytes, false, &written, nullptr, &m_control)) {
        case ExportWriteResult::Written:
            ++m_report.written;
            m_report.files << written;
            break;
        case ExportWriteResult::Failed:
            ++m_report.failed;
            Show_NSLog_Message(QStringLiteral("Could not write %1").arg(written));
            break;
        case ExportWriteResult::Cancelled:
            m_report.cancelled = true;
            m_report.stopped = true;
            m_pending.clear();
            break;
        }
    }

    ExportJobReport& m_report;
    Job_Control& m_control;
    QString m_probe;
    QThreadPool m_pool;
    int m_lookahead = 4;
    std::deque<PendingRow> m_pending;
};

QString rowList(const QList<int>& rows)
{
    QStringList parts;
    for (int r : rows) {
        if (parts.size() == 10) { parts << QStringLiteral("..."); break; }
        parts << QString::number(r);
    }
    return parts.join(QStringLiteral(", "));
}

// What the user is told at the end: the Part's message only when every row
// went to disk; otherwise what was written, what failed and what was left out.
QString reportMessage(const ExportJobReport& r, const QString& kind, const QString& skipReason)
{
    const bool complete = r.failed == 0 && r.skipped.isEmpty() && !r.stopped;
    if (complete)
        return QStringLiteral("Label has been exported successfully.");
    QStringList lines;
    lines << QStringLiteral("%1 of %2 %3 exported.").arg(r.written).arg(r.rows).arg(kind);
    if (r.failed > 0)
        lines << QStringLiteral("%1 of %2 files could not be written.").arg(r.failed).arg(r.written + r.failed);
    if (!r.skipped.isEmpty())
        lines << QStringLiteral("%1 rows skipped: %2 (rows %3).")
                     .arg(r.skipped.size())
                     .arg(skipReason, rowList(r.skipped));
    if (r.cancelled)
        lines << QStringLiteral("The export was cancelled.");
    else if (r.stopped)
        lines << QStringLiteral("The export was stopped.");
    return lines.join(QLatin1Char('\n'));
}

// Shows the report: the after-export box for the folder when anything was
// written (and not cancelled at the first file), else a message box.
void finishReport(ExportJobReport& r, const QString& kind, const QString& skipReason, Job_Control& control)
{
    r.message = reportMessage(r, kind, skipReason);
    if (r.written > 0) {
        Run_On_Main_Thread_And_Wait([&] {
            control.Export_File_Path = r.folder;
            control.Export_File_Message = r.message;
        });
        Show_Export_Done(r.folder, r.message);
    } else if (!r.cancelled) {
        Show_MessageBox(r.message);
    }
}

bool makeExportFolder(ExportJobReport& report, const QString& destination, const QString& name)
{
    report.folder = Path_Join(destination, name);
    if (destination.trimmed().isEmpty() || !Create_Folder(report.folder)) {
        report.folderFailed = true;
        report.message = unable_saving_Msg;
        Show_MessageBox(unable_saving_Msg);
        return false;
    }
    return true;
}

} // namespace

// ---------------------------------------------------------------- cards

ExportJobReport Run_Card_Export(const CardExportJob& job)
{
    const Job_Control_Ptr owned = job.control ? job.control : New_Job_Control();
    Job_Control& control = *owned;
    ExportJobReport report;
    report.rows = std::max(0, job.Total_Label - job.Print_Start);
    if (!makeExportFolder(report, job.destination, QStringLiteral("Zorv Label")))
        return report;

    Export_Naming naming = job.naming;
    naming.file_export_Path = report.folder;

    control.show_count = report.rows;
    control.curr_card_count = 0;
    Batch_Job_Frame frame(job.host);
    frame.Show(report.rows, QStringLiteral("%d / %d "), {owned, true});
    {
        RowPipeline pipeline(report, naming.file_path_ext, control);
        for (int r = job.Print_Start; r < job.Total_Label && !pipeline.cancelled(); ++r) {
            if (control.Stop_Processing_Now) { report.stopped = true; break; }
            ++control.curr_card_count;
            const QString value =
                job.rows ? Trim_Str(job.rows->seriesValue(r, naming.file_series_exported)) : QString();
            const PtImage card = job.rows ? job.rows->image(r) : PtImage();
            if (card.isNull()) {
                report.skipped << r + 1;
                continue;
            }
            pipeline.add(r, card, true, [&naming, value, r] {
                return naming.Export_Name_With_Options(value, naming.file_series_exported, r + 1);
            });
        }
        pipeline.finish();
    }
    frame.Hide();
    Run_On_Main_Thread_And_Wait([&] {
        // The main window as it is now (it may have gone meanwhile).
        if (App_Services().Batch_Services) {
            App_Services().Batch_Services->Create_Card_Design_Again();
            App_Services().Batch_Services->Set_Graphic_Array_According_Side();
        }
    });
    finishReport(report, QStringLiteral("cards"), QStringLiteral("no card could be made of them"), control);
    return report;
}

// ---------------------------------------------------------------- barcodes

ExportJobReport Run_Barcode_Export(const BarcodeExportJob& job)
{
    const Job_Control_Ptr owned = job.control ? job.control : New_Job_Control();
    Job_Control& control = *owned;
    ExportJobReport report;
    report.rows = std::max(0, job.Total_Label - job.Print_Start);
    if (!makeExportFolder(report, job.destination, QStringLiteral("Zorv Barcode")))
        return report;

    Export_Naming naming = job.naming;
    naming.file_export_Path = report.folder;
    naming.file_path_ext = naming.file_path_ext.toUpper();

    control.show_count = report.rows;
    control.curr_card_count = 0;
    Batch_Job_Frame frame(job.host);
    frame.Show(report.rows, QStringLiteral("%d / %d Barcode"), {owned, true});
    {
        RowPipeline pipeline(report, naming.file_path_ext, control);
        for (int r = job.Print_Start; r < job.Total_Label && !pipeline.cancelled(); ++r) {
            if (control.Stop_Processing_Now) { report.stopped = true; break; }
            ++control.curr_card_count;
            // The barcode is made here, from the job's own rows.
            PtImage image = job.rows ? job.rows->image(r) : PtImage();
            bool increaseDpi = true;
            if (image.isNull()) {
                if (job.skipInvalid || job.invalidImage.isNull()) {
                    report.skipped << r + 1;
                    continue;
                }
                report.invalid << r + 1;
                image = job.invalidImage;
                increaseDpi = false;
            }
            const Batch_Row_Texts texts = job.rows ? job.rows->texts(r) : Batch_Row_Texts();
            const QString series = job.seriesName;
            pipeline.add(r, image, increaseDpi, [&naming, texts, series, r] {
                return naming.Export_Barcode_Name_With_Options(texts.value, texts.header, texts.footer, series, r + 1);
            });
        }
        pipeline.finish();
    }
    frame.Hide();
    Run_On_Main_Thread_And_Wait([&] {
        if (App_Services().Batch_Services)
            App_Services().Batch_Services->Select_First_Value_For_Barcode_Setting_Mode();
    });
    finishReport(report, QStringLiteral("barcodes"), QStringLiteral("their values give no barcode"), control);
    return report;
}

std::shared_ptr<Job_Handle<ExportJobReport>> Export_Batch_File(const CardExportJob& job)
{
    return Start_Job<ExportJobReport>(job.control, [copy = job](const Job_Control_Ptr& control) mutable {
        copy.control = control;
        return Run_Card_Export(copy);
    });
}

std::shared_ptr<Job_Handle<ExportJobReport>> Export_Batch_File_Barcode(const BarcodeExportJob& job)
{
    return Start_Job<ExportJobReport>(job.control, [copy = job](const Job_Control_Ptr& control) mutable {
        copy.control = control;
        return Run_Barcode_Export(copy);
    });
}
