#include "print/Sample_Preview.h"

#include "print/Printing_View.h"
#include "print/SheetJob.h"
#include "print/SheetLayout.h"

#include <QPainter>
#include <QPainterPath>

Sample_Preview::Sample_Preview(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

QSizeF Sample_Preview::Sheet_Size() const
{
    return m_job ? m_job->Sheet_Size() : QSizeF();
}

void Sample_Preview::Draw_Margin_rect(QPainter& painter, double H, const QRectF& rect) const
{
    if (!m_job)
        return;
    const Sheet_Job& j = *m_job;
    if (j.Show_margin_rect) {
        painter.save();
        QPen pen(Qt::darkGray);
        pen.setWidthF(1.0);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        if (j.designing) {
            const QRectF shape = To_Top_Left(rect, H);
            if (j.Card_Shape == 1)
                painter.drawRoundedRect(shape, 10, 10);
            else if (j.Card_Shape == 2)
                painter.drawEllipse(shape);
            else
                painter.drawRect(shape);
        } else {
            painter.drawRect(To_Top_Left(QRectF(rect.x(), rect.y(), j.label_width, j.label_hight), H));
        }
        painter.restore();
    }
    if (j.Enable_Crop_Marks)
        for (const QLineF& l : Crop_Mark_Lines(rect))
            Printing_View::Draw_Line(painter, H, l.p1(), l.p2());
}

void Sample_Preview::drawSheet(QPainter& painter, const QSizeF& sheet, bool toScreen) const
{
    const double W = sheet.width(), H = sheet.height();
    painter.save();
    painter.fillRect(QRectF(0, 0, W, H), Qt::white);
    painter.setPen(Qt::black);
    painter.drawRect(QRectF(0.5, 0.5, W - 1, H - 1));
    if (toScreen && m_job) {
        const Sheet_Job& j = *m_job;
        // The page margins: in the print window for a manual label; in the
        // PDF window unless the pages are label-sized.
        if (j.PDF_View_Not_Print ? !j.PDF_Use_Label_Size : j.Manual_or_Pre != 1) {
            QPen pen(Qt::darkGray);
            pen.setWidthF(1.0);
            painter.setPen(pen);
            const QRectF margins(j.Left_Mar, j.Bot_Mar, W - (j.Rite_Mar + j.Left_Mar), H - (j.Top_Mar + j.Bot_Mar));
            painter.drawRect(To_Top_Left(margins, H));
        }
        const Sheet_Geometry g = j.Geometry(sheet);
        const QString caption = j.Barcode_Image.isNull() ? QStringLiteral("Invalid Data")
                                                         : QStringLiteral("Label");
        for (int i = 1; i <= g.rows; ++i)
            for (int j = 1; j <= g.cols; ++j) {
                const QRectF cell = Cell_Rect(g, i, j);
                Printing_View::Draw_Label_String(painter, H, cell, caption, i, j, g.cols);
                Draw_Margin_rect(painter, H, cell);
            }
    }
    painter.restore();
}

QImage Sample_Preview::imageRepresentation() const
{
    const QSizeF sheet = shownSheetSize();
    if (sheet.isEmpty())
        return {};
    QImage image(sheet.toSize().expandedTo(QSize(1, 1)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    drawSheet(p, sheet, true);
    return image;
}

void Sample_Preview::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing, true);
    p.setRenderHint(QPainter::TextAntialiasing, true);
    p.scale(m_scale, m_scale);
    drawSheet(p, shownSheetSize(), true);
}
