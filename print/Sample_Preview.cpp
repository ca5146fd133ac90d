#include "print/Sample_Preview.h"

#include "core/util/BarcodeSettings.h"
#include "core/util/MainWindowServices.h"
#include "print/PrintGlobals.h"
#include "print/Printing_View.h"
#include "print/SheetLayout.h"

#include <QPainter>
#include <QPainterPath>

Sample_Preview::Sample_Preview(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

QSizeF Sample_Preview::Sheet_Size()
{
    if (Manual_or_Pre == 1 && predef_page_wdt > 0 && predef_page_hgt > 0)
        return QSizeF(predef_page_wdt, predef_page_hgt);
    return MainWindowServices::printInfo().pageLayout.fullRect(QPageLayout::Point).size();
}

void Sample_Preview::Draw_Margin_rect(QPainter& painter, double H, const QRectF& rect) const
{
    if (Show_margin_rect) {
        painter.save();
        QPen pen(Qt::darkGray);
        pen.setWidthF(1.0);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        if (Barcode_Setting_Or_Designing_Mode != 0) {
            const QRectF shape = To_Top_Left(rect, H);
            if (Card_Shape == 1)
                painter.drawRoundedRect(shape, 10, 10);
            else if (Card_Shape == 2)
                painter.drawEllipse(shape);
            else
                painter.drawRect(shape);
        } else {
            painter.drawRect(To_Top_Left(QRectF(rect.x(), rect.y(), label_width, label_hight), H));
        }
        painter.restore();
    }
    if (Enable_Crop_Marks)
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
    if (toScreen) {
        // The page margins: in the print window for a manual label; in the
        // PDF window unless the pages are label-sized.
        if (PDF_View_Not_Print ? !PDF_Use_Label_Size : Manual_or_Pre != 1) {
            QPen pen(Qt::darkGray);
            pen.setWidthF(1.0);
            painter.setPen(pen);
            const QRectF margins(Left_Mar, Bot_Mar, W - (Rite_Mar + Left_Mar), H - (Top_Mar + Bot_Mar));
            painter.drawRect(To_Top_Left(margins, H));
        }
        const Sheet_Geometry g = Sheet_Geometry::From_Globals(sheet);
        const QString caption = Barcode_Image.isNull() ? QStringLiteral("Invalid Data")
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
