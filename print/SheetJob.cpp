#include "print/SheetJob.h"

#include "print/LabelFit.h"

#include <algorithm>

Sheet_Geometry Sheet_Job::Geometry(QSizeF sheet) const
{
    Sheet_Geometry g;
    g.W = float(sheet.width());
    g.H = float(sheet.height());
    g.L = Left_Mar;
    g.R = Rite_Mar;
    g.T = Top_Mar;
    g.B = Bot_Mar;
    g.lw = label_width;
    g.lh = label_hight;
    g.hg = horz_mar;
    g.vg = vert_mar;
    g.rows = std::max(1, Print_Row);
    g.cols = std::max(1, Print_Col);
    g.align = label_align_val;
    g.autoCenter = auto_center_flag != 0;
    return g;
}

QSizeF Sheet_Job::Sheet_Size() const
{
    if (Manual_or_Pre == 1 && predef_page_wdt > 0 && predef_page_hgt > 0)
        return QSizeF(predef_page_wdt, predef_page_hgt);
    return paper;
}

QRectF Sheet_Job::Cell_Rect(QSizeF sheet, int row, int col) const
{
    return ::Cell_Rect(Geometry(sheet), row, col);
}

QSizeF Sheet_Job::Label_Image_Size() const
{
    return Barcode_Image.isNull() ? QSizeF(Real_label_width, Real_label_hight) : Barcode_Image.size();
}

QRectF Sheet_Job::Label_Image_Rect(const QRectF& cell, QSizeF image) const
{
    const double w = image.width(), h = image.height();
    if (designing) {
        // At its natural size; on a catalogue sheet the card's top edge lies
        // on the cell's top edge, else its foot on the cell's foot.
        const bool topOnTop = Manual_or_Pre == 1 && Real_label_hight != label_hight;
        return QRectF(cell.left(), topOnTop ? cell.top() : cell.bottom() - h, w, h);
    }
    double x = cell.left(), top = cell.bottom() - h;
    if (Use_Barocde_In_Center) {
        x = cell.center().x() - w / 2;
        if (cell.height() > h)
            top = cell.top() + (cell.height() - h) / 2;
    }
    return QRectF(x, top, w, h);
}

bool Sheet_Job::Image_Larger_Than_Cell() const
{
    const QRectF cell(QPointF(0, 0), Cell_Size());
    return Reaches_Past_Label(Label_Image_Rect(cell, Label_Image_Size()), cell);
}
