#include "print/Printing_View.h"

#include "core/util/BarcodeSettings.h"
#include "core/util/BatchServices.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "platform/Fonts.h"
#include "print/LabelFit.h"
#include "print/LabelPrefetch.h"
#include "print/PaperCheck.h"

#include <QFontDatabase>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <limits>

const QString Preview_Sheet_Limit_Msg = QStringLiteral(
    "For Qualitative and Performance reason, previewer shows print previews of only first 50 "
    "sheets. However, printing has no such restriction.");

namespace {
constexpr int Preview_Sheet_Limit = 50;
}

void Draw_In_Cell(QPainter& painter, const QRectF& cell, const QRectF& drawn, const PtImage& image)
{
    if (Reaches_Past_Label(drawn, cell))
        image.draw(painter, drawn, 1.0, cell);
    else
        image.draw(painter, drawn, 1.0);
}

void Draw_In_Cell(QPainter& painter, const QRectF& cell, const QRectF& drawn, const std::function<void()>& draw)
{
    if (!Reaches_Past_Label(drawn, cell)) {
        draw();
        return;
    }
    painter.save();
    painter.setClipRect(cell, Qt::IntersectClip);
    draw();
    painter.restore();
}

Printing_View::Printing_View(const Sheet_Job& job, const QRectF& frame, bool preview)
    : Page_Size_rect(frame),
      m_print(!preview),
      m_job(job),
      m_geometry(job.Geometry(frame.size())),
      m_designing(job.designing),
      m_batch(job.Use_Data_Sheet_Values),
      m_excel(job.Use_Excel_Binding_Values),
      m_pq(job.print_wd_pq_opt != 0),
      m_skip(job.skip_invalid_barcode != 0),
      m_center(job.Use_Barocde_In_Center != 0),
      m_cropMarks(job.Enable_Crop_Marks != 0),
      m_predefined(job.Manual_or_Pre == 1),
      m_realHeight(job.Real_label_hight),
      m_rowStart(std::max(0, job.Print_Start)),
      m_rowEnd(std::max(0, job.Print_End)),
      m_labelCap(std::max(0, job.Total_Label_Real)),
      m_totalLabels(std::max(0, job.Total_Label)),
      m_sheetImage(Change_dpi_for_image(job.Barcode_Image))
{
    Restart();
}

Printing_View::~Printing_View() = default;

void Printing_View::Restart()
{
    m_prefetch.reset();

    count = m_rowStart;
    nPrint = 0;
    tempCount = -1;
    barcode_counter = 0;
    m_rowImage = PtImage();
    m_rowFetched = false;
    m_pending = false;
    m_pendingRow = -1;
    m_finished = false;
    m_pageNum = 0;
    m_pageLabels = 0;
    m_placed.clear();
}

int Printing_View::numberOfPages()
{
    numPages = Page_Count(m_totalLabels, m_geometry.rows, m_geometry.cols);
    if (!m_print && numPages > Preview_Sheet_Limit) {
        if (!m_noticeShown) {
            m_noticeShown = true;
            Show_MessageBox(Preview_Sheet_Limit_Msg);
        }
        numPages = Preview_Sheet_Limit;
    }
    return numPages;
}

QRectF Printing_View::rectForPage(int page)
{
    m_pageLabels = 0;
    m_pageNum = page;
    return Page_Size_rect;
}

PtImage Printing_View::Change_dpi_for_image(const PtImage& image) const
{
    if (!m_print || image.isNull() || image.isVector())
        return image;
    PtImage raised = MainWindowServices::Increase_DPI(image, 600);
    return raised.isNull() ? image : raised;
}

PtImage Printing_View::fetch(int row) const
{
    // A print's labels are made ahead on workers from the first row it
    // draws; a preview draws its few sheets itself.
    if (!m_prefetch && !m_finished && m_print && Labels_Made_Ahead(m_job.rows, m_designing, m_batch))
        m_prefetch = std::make_unique<Label_Prefetch>(m_job.rows, row, m_rowEnd);
    if (m_prefetch)
        return m_prefetch->image(row);
    return m_job.rows ? m_job.rows->image(row) : PtImage();
}

bool Printing_View::nextRow(int& row)
{
    if (m_pq && nPrint > 0 && tempCount >= 0) {
        --nPrint;
        row = tempCount;
        return true;
    }
    if (count >= m_rowEnd)
        return false;
    tempCount = count++;
    m_rowFetched = false;
    m_rowImage = PtImage();
    nPrint = 0;
    if (m_pq && m_job.rows)
        nPrint = std::max(1, m_job.rows->printQuantity(tempCount)) - 1;
    row = tempCount;
    return true;
}

bool Printing_View::Has_More_Labels()
{
    if (m_pending)
        return true;
    if (m_finished)
        return false;
    if (barcode_counter >= m_labelCap) {
        End_Job();
        return false;
    }
    if (!m_batch) {
        m_pending = true;
        m_pendingRow = -1;
        return true;
    }
    int row = -1;
    for (;;) {
        if (!nextRow(row)) {
            End_Job();
            return false;
        }
        if (!m_rowFetched) {
            m_rowImage = Change_dpi_for_image(fetch(row));
            m_rowFetched = true;
        }
        // A row without an image is left out with all its copies, using no
        // cell; in barcode mode without skipping it gets its cells captioned.
        if (m_rowImage.isNull() && (m_designing || m_skip)) {
            nPrint = 0;
            continue;
        }
        break;
    }
    m_pending = true;
    m_pendingRow = row;
    return true;
}

void Printing_View::End_Job()
{
    if (m_finished)
        return;
    m_finished = true;
    m_prefetch.reset();
    m_pending = false;
    m_rowImage = PtImage();
    if (!(m_batch || m_excel) || !App_Services().Batch_Services)
        return;
    if (!m_designing)
        App_Services().Batch_Services->Select_First_Value_For_Barcode_Setting_Mode();
    else if (m_job.Start_Card_Option != QLatin1String("G"))
        App_Services().Batch_Services->Create_Card_Design_Again();
}

void Printing_View::drawRect(QPainter& painter, const QRectF& rect)
{
    Page_Size_rect = rect;
    m_placed.clear();
    Sheet_Geometry& g = m_geometry;
    g.W = float(rect.width());
    g.H = float(rect.height());
    const double H = g.H;
    const float lw = g.lw, lh = g.lh;

    // Size of the last image taken; in designing mode always the cell.
    double w = m_sheetImage.size().width(), h = m_sheetImage.size().height();
    if (m_designing) {
        w = lw;
        h = lh;
    }

    painter.save();
    painter.setPen(Qt::black);
    for (int i = 1; i <= g.rows; ++i) {
        for (int j = 1; j <= g.cols; ++j) {
            if (!Has_More_Labels()) {
                painter.restore();
                return;
            }
            m_pending = false;
            PtImage image;
            Placed_Label placed;
            placed.cellNumber = (i - 1) * g.cols + j;
            if (m_batch) {
                image = m_rowImage;
                placed.dataRow = m_pendingRow;
                if (!image.isNull()) {
                    w = image.size().width();
                    h = image.size().height();
                    if (m_designing) {
                        w = lw;
                        h = lh;
                    }
                }
                ++m_pageLabels;
            } else {
                image = m_sheetImage;
            }

            const QPointF origin = Cell_Origin(g, i, j);
            const double x = origin.x(), y = origin.y();
            double px = x, py = y;
            if (m_center) {
                px = x + 0.5 * lw - w / 2;
                if (lh > h)
                    py = y + (lh - h) / 2;
            }
            if (m_designing) {
                if (lw > w) px += (lw - w) / 2;
                if (lh > h) py += (lh - h) / 2;
            }
            const QRectF cell(x, y, lw, lh);
            const QRectF imageRect(px, py, w, h);
            placed.cell = To_Top_Left(cell, H);

            if (!image.isNull()) {
                QRectF target = imageRect;
                if (m_designing) {
                    // At its natural size; on a predefined sheet the card's top
                    // edge lies on the cell's top edge.
                    double py2 = py;
                    if (m_predefined && m_realHeight != lh)
                        py2 = py - (double(m_realHeight) - lh);
                    target = QRectF(QPointF(px, py2), image.size());
                }
                const QRectF drawn = To_Top_Left(target, H);
                // A label larger than its cell is cut at the cell's edges: it
                // never paints over its neighbours.
                Draw_In_Cell(painter, placed.cell, drawn, image);
                placed.image = drawn;
                Draw_Margin_rect(painter, imageRect);
            } else {
                placed.invalid = true;
                Draw_In_Cell(painter, placed.cell, To_Top_Left(imageRect, H), [&] {
                    Draw_Label_String(painter, H, imageRect, QStringLiteral("Invalid Data"), i, j, g.cols);
                });
            }
            Draw_Margin_rect(painter, cell);
            m_placed << placed;
            ++barcode_counter;
        }
    }
    painter.restore();
}

void Printing_View::Draw_Label_String(QPainter& painter, double H, const QRectF& rect,
                                      const QString& text, int row, int col, int columns)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setBold(true);
    font.setPointSizeF(11);
    QString caption = text;
    QColor colour(Qt::red);
    if (text == QLatin1String("Label")) {
        caption = QStringLiteral("%1 %2").arg(text).arg((row - 1) * columns + col);
        colour = Qt::gray;
    }
    painter.save();
    painter.setFont(Font_In_Points(font, painter.device()));
    painter.setPen(colour);
    painter.drawText(To_Top_Left(rect, H), Qt::AlignCenter, caption);
    painter.restore();
}

void Printing_View::Draw_Line(QPainter& painter, double H, QPointF from, QPointF to)
{
    painter.save();
    QPen pen(Qt::black);
    pen.setWidthF(1.0);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(QPointF(from.x(), H - from.y()), QPointF(to.x(), H - to.y()));
    painter.restore();
}

void Printing_View::Draw_Margin_rect(QPainter& painter, const QRectF& rect) const
{
    if (!m_cropMarks)
        return;
    const double H = Page_Size_rect.height();
    for (const QLineF& l : Crop_Mark_Lines(rect))
        Draw_Line(painter, H, l.p1(), l.p2());
}

int Print_Sheets(QPagedPaintDevice& device, Printing_View& view,
                 const std::function<bool(int)>& afterSheet)
{
    view.Restart();
    QPainter painter;
    if (!painter.begin(&device))
        return -1;
    // One painter unit is one point, the origin the sheet's top-left corner.
    const double dpi = device.logicalDpiX() > 0 ? device.logicalDpiX() : 72.0;
    painter.scale(dpi / 72.0, dpi / 72.0);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);

    // The sheet in exact points (a driver's page is rounded to whole points).
    const QRectF sheet(QPointF(0, 0), Page_Size_Points(device.pageLayout()));
    const int limit = view.its_print_not_preview() ? std::numeric_limits<int>::max()
                                                   : view.numberOfPages();
    int sheets = 0;
    while (sheets < limit && view.Has_More_Labels()) {
        if (sheets > 0 && !device.newPage())
            break;
        ++sheets;
        view.rectForPage(sheets);
        view.drawRect(painter, QRectF(QPointF(0, 0), sheet.size()));
        if (afterSheet && !afterSheet(sheets))
            break;
    }
    painter.end();
    view.End_Job();
    return sheets;
}
