#include "print/PaperCheck.h"

#include <QPageLayout>
#include <QRectF>

#include <cmath>

namespace {

bool Same_Length(double a, double b)
{
    return std::isfinite(a) && std::isfinite(b) && std::abs(a - b) <= Paper_Tolerance_Points + 1e-9;
}

bool Fits(double needed, double room)
{
    return std::isfinite(needed) && std::isfinite(room) && needed <= room + Paper_Tolerance_Points + 1e-9;
}

} // namespace

QSizeF Page_Size_Points(const QPageLayout& layout)
{
    return layout.fullRect(QPageLayout::Millimeter).size() * (72.0 / 25.4);
}

bool Paper_Is_Sheet_Size(QSizeF paper, QSizeF sheet)
{
    if (!(paper.width() > 0) || !(paper.height() > 0) || !(sheet.width() > 0) || !(sheet.height() > 0))
        return false;
    return Same_Length(paper.width(), sheet.width()) && Same_Length(paper.height(), sheet.height());
}

bool Label_Fits_Paper(QSizeF paper, QSizeF label, const QMarginsF& margins, QSizeF gaps)
{
    return Fits(label.width() + margins.left() + margins.right() + gaps.width(), paper.width())
        && Fits(label.height() + margins.top() + margins.bottom() + gaps.height(), paper.height());
}
