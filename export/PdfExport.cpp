#include "export/PdfExport.h"

#include "core/util/BatchServices.h"
#include "core/util/Helpers.h"
#include "core/util/JobControl.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "export/ExportNaming.h"
#include "export/ExportWriter.h"
#include "export/ProgressWindow.h"
#include "platform/Heap.h"
#include "platform/MainThread.h"
#include "platform/Paths.h"
#include "print/LabelPrefetch.h"
#include "print/PdfFontTags.h"
#include "print/Printing_View.h"

#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPointer>
#include <QPdfWriter>
#include <QSaveFile>

#include <algorithm>
#include <cmath>
#include <optional>

const QString pdf_export_folder_name = QStringLiteral("Zorv PDF Label");

namespace {

// ---------------------------------------------------------------- labels

struct Label {
    PtImage image;   // null: the row gave no image
    int row = -1;    // 0-based data row; -1 without batch values
};

// The labels of a job in order: each row repeated by its print quantity, a
// row without an image left out (skip-invalid) or kept as an invalid label,
// at most labelCap labels. Without batch values, labelCap copies of the
// window's label image.
class LabelStream {
public:
    LabelStream(const Pdf_Export_Job& job, Pdf_Export_Report& report, const Job_Control& control)
        : m_job(job), m_report(report), m_control(control), m_count(job.sheet.Print_Start)
    {
        // The rows' labels are made ahead on workers; this thread writes them.
        if (Labels_Made_Ahead(job.sheet.rows, job.sheet.designing, job.sheet.Use_Data_Sheet_Values))
            m_prefetch = std::make_unique<Label_Prefetch>(job.sheet.rows, job.sheet.Print_Start, job.sheet.Print_End);
    }

    // Whether another label follows (fetches rows ahead past left-out ones).
    bool hasMore()
    {
        if (m_pending)
            return true;
        if (m_emitted >= m_job.sheet.Total_Label_Real)
            return false;
        if (!m_job.sheet.Use_Data_Sheet_Values) {
            m_next = Label{m_job.sheet.Barcode_Image, -1};
            m_pending = true;
            return true;
        }
        for (;;) {
            if (m_copiesLeft > 0 && m_rowImage) {
                --m_copiesLeft;
                m_next = Label{*m_rowImage, m_row};
                m_pending = true;
                return true;
            }
            if (m_count >= m_job.sheet.Print_End)
                return false;
            if (m_control.Stop_Processing_Now)
                return false;
            m_row = m_count++;
            int copies = 1;
            if (m_job.sheet.print_wd_pq_opt && m_job.sheet.rows)
                copies = std::max(1, m_job.sheet.rows->printQuantity(m_row));
            const PtImage image = fetch(m_row);
            if (image.isNull() && m_job.sheet.skip_invalid_barcode) {
                m_report.skippedRows << m_row + 1;
                m_rowImage.reset();
                m_copiesLeft = 0;
                continue;
            }
            m_rowImage = image;
            m_copiesLeft = copies;
        }
    }

    // Takes the next label; false when there is none.
    bool next(Label& out)
    {
        if (!hasMore())
            return false;
        out = m_next;
        m_pending = false;
        m_next = Label();
        ++m_emitted;
        return true;
    }

private:
    PtImage fetch(int row) const
    {
        if (m_prefetch)
            return m_prefetch->image(row);
        return m_job.sheet.rows ? m_job.sheet.rows->image(row) : PtImage();
    }

    const Pdf_Export_Job& m_job;
    Pdf_Export_Report& m_report;
    const Job_Control& m_control;
    int m_count;                       // next row to fetch
    int m_row = -1;                    // the row being repeated
    int m_copiesLeft = 0;
    std::optional<PtImage> m_rowImage; // the image of m_row
    bool m_pending = false;
    Label m_next;
    int m_emitted = 0;
    std::unique_ptr<Label_Prefetch> m_prefetch;
};

// ---------------------------------------------------------------- files

// A page that holds the whole of a label of `size` points. The PDF writer
// sizes its pages in whole points, rounding to the nearest: a label of 144.3
// points would get a page of 144 and lose its edge, so each side is rounded
// up instead (a side already whole, give or take the noise of a unit
// conversion, stays as it is).
QSizeF Page_Holding(QSizeF size)
{
    const auto up = [](double v) {
        const double whole = std::round(v);
        return std::abs(v - whole) < 1e-6 ? whole : std::ceil(v);
    };
    return QSizeF(up(size.width()), up(size.height()));
}

// One PDF file being written: a QSaveFile under a QPdfWriter (its fonts
// tagged as the subsets they are), pages added with their own sizes,
// committed only when closed.
class PdfFile {
public:
    explicit PdfFile(const QString& path) : m_file(path) {}

    bool open()
    {
        if (!m_file.open(QIODevice::WriteOnly))
            return false;
        m_tags = std::make_unique<Pdf_Font_Tag_Device>(&m_file);
        return true;
    }

    // Begins a page of `size` points; the painter's unit is then one point,
    // its origin the page's top-left corner.
    QPainter* beginPage(QSizeF size)
    {
        const QPageLayout layout(QPageSize(size, QPageSize::Point, QString(), QPageSize::ExactMatch),
                                 QPageLayout::Portrait, QMarginsF(0, 0, 0, 0), QPageLayout::Point);
        if (!m_writer) {
            m_writer = std::make_unique<QPdfWriter>(m_tags.get());
            m_writer->setCreator(QStringLiteral("Zorv Label"));
            m_writer->setTitle(QFileInfo(m_file.fileName()).completeBaseName());
            m_writer->setPageLayout(layout);
            if (!m_painter.begin(m_writer.get()))
                return nullptr;
        } else {
            m_writer->setPageLayout(layout);
            if (!m_writer->newPage())
                return nullptr;
        }
        m_painter.resetTransform();
        const double dpi = m_writer->resolution();
        m_painter.scale(dpi / 72.0, dpi / 72.0);
        m_painter.setRenderHint(QPainter::Antialiasing, true);
        m_painter.setRenderHint(QPainter::TextAntialiasing, true);
        m_painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        ++m_pages;
        return &m_painter;
    }

    int pages() const { return m_pages; }

    // Ends the document and puts the file in place; false when it could not
    // be written (an old file of that name is then unchanged).
    bool close()
    {
        if (m_painter.isActive())
            m_painter.end();
        m_writer.reset();
        const bool written = m_tags && (m_tags->close(), m_tags->ok());
        m_tags.reset();
        if (m_pages == 0 || !written) {
            m_file.cancelWriting();
            m_file.commit();
            return false;
        }
        return m_file.commit();
    }

    QString errorString() const { return m_file.errorString(); }

private:
    QSaveFile m_file;
    std::unique_ptr<Pdf_Font_Tag_Device> m_tags;
    std::unique_ptr<QPdfWriter> m_writer;
    QPainter m_painter;
    int m_pages = 0;
};

// ---------------------------------------------------------------- drawing

void drawLabel(QPainter& p, const Sheet_Geometry& g, int row, int col, const Label& label,
               const Pdf_Export_Job& job)
{
    const QPointF origin = Cell_Origin(g, row, col);
    const double x = origin.x(), y = origin.y();
    const double lw = g.lw, lh = g.lh;
    QRectF target;
    const PtImage* image = &label.image;
    if (label.image.isNull()) {
        // The invalid-data image in the label's place.
        image = &job.sheet.invalidImage;
        target = QRectF(x, y, lw, lh);
    } else if (job.sheet.designing) {
        // The card fills its cell.
        target = QRectF(x, y, lw, lh);
    } else {
        const double w = label.image.size().width(), h = label.image.size().height();
        const double px = job.sheet.Use_Barocde_In_Center ? x + lw / 2 - w / 2 : x;
        target = QRectF(px, y, w, h);
    }
    if (image->isNull())
        return;
    const QRectF drawn = To_Top_Left(target, g.H);
    // A label larger than its cell is cut at the cell's edges.
    Draw_In_Cell(p, To_Top_Left(QRectF(x, y, lw, lh), g.H), drawn, *image);
}

// The geometry of a page that holds one label (options 2 and 3 on paper):
// a single cell, placed by the alignment or in the middle with auto-centre;
// in barcode mode with batch values the cell is the size of the label.
Sheet_Geometry singleLabelGeometry(const Pdf_Export_Job& job, const Label& label)
{
    Sheet_Geometry g = job.geometry();
    g.rows = g.cols = 1;
    g.hg = g.vg = 0;
    if (g.autoCenter) {
        g.autoCenter = false;
        g.align = 5;
    }
    if (!job.sheet.designing && job.sheet.Use_Data_Sheet_Values) {
        const PtImage& image = label.image.isNull() ? job.sheet.invalidImage : label.image;
        if (!image.isNull()) {
            g.lw = float(image.size().width());
            g.lh = float(image.size().height());
        }
    }
    return g;
}

bool Per_Label(const Pdf_Export_Job& job) { return job.option == 2 || job.option == 3; }

bool Label_Sized_Pages(const Pdf_Export_Job& job) { return Per_Label(job) && job.sheet.PDF_Use_Label_Size; }

// The grid of a page on paper: the job's sheet, or one cell without gaps
// when each label has a page of its own.
Sheet_Geometry Page_Sheet(const Pdf_Export_Job& job)
{
    Sheet_Geometry sheet = job.geometry();
    if (Per_Label(job)) {
        sheet.rows = sheet.cols = 1;
        sheet.hg = sheet.vg = 0;
    }
    return sheet;
}

// Lays the next labels of `labels` out on one page of `sheet`, row by row.
// `before` runs before each label is taken and may end the page (false);
// `taken` runs after each. Returns the labels drawn, or -1 when the job
// ended on this page (no more labels, or `before` said stop).
template <class Before, class Taken>
int Draw_Pdf_Layout(QPainter& p, const Sheet_Geometry& sheet, LabelStream& labels, const Pdf_Export_Job& job,
                    Before before, Taken taken)
{
    int drawn = 0;
    for (int i = 1; i <= sheet.rows; ++i) {
        for (int j = 1; j <= sheet.cols; ++j) {
            if (!before())
                return -1;
            Label label;
            if (!labels.next(label))
                return -1;
            taken();
            const Sheet_Geometry g = (sheet.rows == 1 && sheet.cols == 1 && Per_Label(job))
                ? singleLabelGeometry(job, label) : sheet;
            drawLabel(p, g, i, j, label, job);
            ++drawn;
        }
    }
    return drawn;
}

// A page exactly as large as its label (the label-size setting).
QSizeF Label_Page_Size(const Pdf_Export_Job& job, const Label& label)
{
    const PtImage& image = label.image.isNull() ? job.sheet.invalidImage : label.image;
    return image.isNull() ? QSizeF(job.geometry().lw, job.geometry().lh) : image.size();
}

void Draw_Label_Page(QPainter& p, const Pdf_Export_Job& job, const Label& label)
{
    const PtImage& image = label.image.isNull() ? job.sheet.invalidImage : label.image;
    if (!image.isNull())
        image.draw(p, QRectF(QPointF(0, 0), Label_Page_Size(job, label)), 1.0);
}

// ---------------------------------------------------------------- the job

class PdfJob {
public:
    PdfJob(const Pdf_Export_Job& job, Job_Control& control)
        : m_job(job), m_control(control), m_labels(job, m_report, control) {}

    Pdf_Export_Report run()
    {
        const bool imagePages = Label_Sized_Pages(m_job);
        const bool oneFile = m_job.option == 0 || m_job.option == 3;
        if (imagePages)
            runImagePages(oneFile);
        else
            runSheets(oneFile);
        return m_report;
    }

private:
    bool stop() const { return m_control.Stop_Processing_Now.load(); }

    void countLabel()
    {
        ++m_report.labels;
        ++m_control.curr_card_count;
    }

    // The path of the next file after the keep-or-replace decision; empty
    // after Cancel (the job then ends).
    QString nextPath()
    {
        if (!QFileInfo(m_job.folder).isDir())
            Create_Folder(m_job.folder);
        const QString path = Pdf_File_Path(m_job.folder, m_job.baseName, m_fileNumber);
        const QString chosen = Trim_Str(Check_And_Show_Keep_Replace_File_Msg(path, true, m_control));
        if (chosen.isEmpty()) {
            m_report.cancelled = true;
            m_report.stopped = true;
        }
        return chosen;
    }

    std::unique_ptr<PdfFile> openFile()
    {
        const QString path = nextPath();
        if (path.isEmpty())
            return nullptr;
        auto file = std::make_unique<PdfFile>(path);
        if (!file->open()) {
            Show_NSLog_Message(QStringLiteral("Could not write %1: %2").arg(path, file->errorString()));
            ++m_report.failed;
            ++m_fileNumber;
            return nullptr;
        }
        m_currentPath = path;
        return file;
    }

    void closeFile(std::unique_ptr<PdfFile>& file)
    {
        if (!file)
            return;
        const int pages = file->pages();
        if (pages > 0) {
            if (file->close()) {
                m_report.files << m_currentPath;
                m_report.pagesPerFile << pages;
                m_report.pages += pages;
                m_control.Export_Any_File = true;
            } else {
                Show_NSLog_Message(QStringLiteral("Could not write %1: %2").arg(m_currentPath, file->errorString()));
                ++m_report.failed;
            }
            ++m_fileNumber;
        } else {
            file->close();
        }
        file.reset();
    }

    // One page of labels on the paper; false when the job ended on it.
    bool drawSheet(QPainter& p, const Sheet_Geometry& sheet)
    {
        const auto before = [this] {
            if (!stop())
                return true;
            m_report.stopped = true;
            return false;
        };
        return Draw_Pdf_Layout(p, sheet, m_labels, m_job, before, [this] { countLabel(); }) >= 0;
    }

    // Options 0 and 1, and 2 and 3 on paper.
    void runSheets(bool oneFile)
    {
        const Sheet_Geometry sheet = Page_Sheet(m_job);
        const QSizeF paper(sheet.W, sheet.H);
        std::unique_ptr<PdfFile> file;
        while (!stop() && m_labels.hasMore()) {
            if (!file) {
                file = openFile();
                if (!file)
                    return;   // Cancel, or a file that cannot be made: nothing more can be written
            }
            QPainter* p = file->beginPage(paper);
            if (!p) {
                closeFile(file);
                ++m_report.failed;
                return;
            }
            const bool more = drawSheet(*p, sheet);
            if (!oneFile)
                closeFile(file);
            if (!more)
                break;
        }
        if (stop())
            m_report.stopped = true;
        closeFile(file);
    }

    // Options 2 and 3 with the label-size setting: a page of each label's size.
    void runImagePages(bool oneFile)
    {
        std::unique_ptr<PdfFile> file;
        Label label;
        while (!stop() && m_labels.hasMore()) {
            if (!file) {
                file = openFile();
                if (!file)
                    return;
            }
            if (!m_labels.next(label))
                break;
            countLabel();
            QPainter* p = file->beginPage(Page_Holding(Label_Page_Size(m_job, label)));
            if (!p) {
                closeFile(file);
                ++m_report.failed;
                return;
            }
            Draw_Label_Page(*p, m_job, label);
            if (!oneFile)
                closeFile(file);
        }
        if (stop())
            m_report.stopped = true;
        closeFile(file);
    }

    const Pdf_Export_Job& m_job;
    Job_Control& m_control;
    Pdf_Export_Report m_report;
    LabelStream m_labels;
    int m_fileNumber = 0;
    QString m_currentPath;
};

QString reportMessage(const Pdf_Export_Report& r)
{
    if (r.failed == 0 && !r.stopped && !r.files.isEmpty())
        return QStringLiteral("Label has been exported successfully.");
    if (r.files.isEmpty() && r.failed == 0 && !r.stopped)
        return QStringLiteral("There is no barcode to export.");
    QStringList lines;
    lines << QStringLiteral("%1 labels were exported in %2 files.").arg(r.labels).arg(r.files.size());
    if (r.failed > 0)
        lines << QStringLiteral("%1 of %2 files could not be written.").arg(r.failed).arg(r.failed + r.files.size());
    if (r.cancelled)
        lines << QStringLiteral("The export was cancelled.");
    else if (r.stopped)
        lines << QStringLiteral("The export was stopped.");
    return lines.join(QLatin1Char('\n'));
}

// The end of a job: the stop flag stays set until the next job, the progress
// window goes, and the user is told what was written: the after-export box
// for the folder when a file was written, else a message (none after Cancel
// in the keep-or-replace box).
void Cancel_And_Stop_Fun(const Pdf_Export_Job& job, const Pdf_Export_Report& report, Job_Control& control,
                         Batch_Job_Frame& frame)
{
    control.Stop_Processing_Now = true;
    frame.Hide();
    Run_On_Main_Thread_And_Wait([&] {
        control.Export_File_Path = job.folder;
        control.Export_File_Message = report.message;
    });
    if (!report.files.isEmpty())
        Show_Export_Done(job.folder, report.message);
    else if (!report.cancelled)
        Show_MessageBox(report.message);
}

} // namespace

QString Pdf_File_Path(const QString& folder, const QString& baseName, int k)
{
    const QString name = k == 0 ? baseName : QStringLiteral("%1 (%2)").arg(baseName).arg(k);
    return Path_Join(folder, Remove_Reserve_Char_In_File_Name(name)) + QStringLiteral(".PDF");
}

Pdf_Export_Report Run_Pdf_Export(const Pdf_Export_Job& job, Job_Control* control)
{
    Job_Control own;
    PdfJob run(job, control ? *control : own);
    Pdf_Export_Report report = run.run();
    report.message = reportMessage(report);
    return report;
}

std::shared_ptr<Job_Handle<Pdf_Export_Report>> Export_PDF_File(const Pdf_Export_Job& job, QWidget* host)
{
    QPointer<QWidget> hostWindow(host);
    return Start_Job<Pdf_Export_Report>(New_Job_Control(), [job, hostWindow](const Job_Control_Ptr& owned) {
        Job_Control& control = *owned;
        control.curr_card_count = 0;
        control.show_count = std::max(1, job.sheet.Total_Label);
        Batch_Job_Frame frame(hostWindow);
        frame.Show(control.show_count, QStringLiteral("%d / %d "), {owned, true});

        const Pdf_Export_Report report = Run_Pdf_Export(job, &control);
        Give_Back_Free_Heap();

        // The main window shows its first row or its design again (the
        // window as it is then: it may have gone meanwhile).
        if ((job.sheet.Use_Data_Sheet_Values || job.sheet.Use_Excel_Binding_Values) && !report.cancelled) {
            Run_On_Main_Thread_And_Wait([&job] {
                if (!App_Services().Batch_Services)
                    return;
                if (!job.sheet.designing)
                    App_Services().Batch_Services->Select_First_Value_For_Barcode_Setting_Mode();
                else if (job.sheet.Start_Card_Option != QLatin1String("G"))
                    App_Services().Batch_Services->Create_Card_Design_Again();
            });
        }
        Cancel_And_Stop_Fun(job, report, control, frame);
        return report;
    });
}

bool Write_Image_Pages_Pdf(const QString& path, const QList<PtImage>& images, QString* error)
{
    PdfFile file(path);
    if (!file.open()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    for (const PtImage& image : images) {
        if (image.isNull() || image.size().isEmpty())
            continue;
        QPainter* p = file.beginPage(Page_Holding(image.size()));
        if (!p)
            break;
        image.draw(*p, QRectF(QPointF(0, 0), image.size()), 1.0);
    }
    if (!file.close()) {
        if (error)
            *error = file.pages() == 0 ? QStringLiteral("There is no image to write.") : file.errorString();
        return false;
    }
    return true;
}
