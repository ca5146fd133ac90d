#include "print/SheetJob.h"

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

bool Sheet_Job::Image_Larger_Than_Cell() const
{
    const QSizeF image = Label_Image_Size();
    return image.width() > label_width + 0.5 || image.height() > label_hight + 0.5;
}
