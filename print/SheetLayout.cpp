#include "print/SheetLayout.h"

#include "core/util/Helpers.h"

#include <algorithm>
#include <cmath>

QPointF Cell_Origin(const Sheet_Geometry& g, int row, int col)
{
    const float r = float(g.rows), c = float(g.cols);
    const float U = g.W - g.L - g.R;
    const float V = g.H - g.T - g.B;
    const float BW = c * g.lw + (c - 1) * g.hg;
    const float BH = r * g.lh + (r - 1) * g.vg;

    float y1, x1;
    if (g.autoCenter) {
        y1 = BH - g.lh + g.vg + g.B;
        x1 = g.L + g.hg;
    } else {
        switch (g.align) {
        case 4: case 5: case 6: y1 = (V - BH) / 2 + g.B + BH - g.lh; break;
        case 7: case 8: case 9: y1 = BH - g.lh + g.B; break;
        default: y1 = g.H - g.lh - g.T; break;
        }
        switch (g.align) {
        case 2: case 5: case 8: x1 = g.L + (U - BW) / 2; break;
        case 3: case 6: case 9: x1 = g.W - BW - g.R; break;
        default: x1 = g.L; break;
        }
    }
    // Each row lies one cell and one gap under the one above it; each column
    // one cell and one gap right of the one before it.
    const float y = y1 - float(row - 1) * (g.lh + g.vg);
    const float x = x1 + float(col - 1) * (g.lw + g.hg);
    return QPointF(x, y);
}

QRectF Cell_Rect(const Sheet_Geometry& g, int row, int col)
{
    return QRectF(Cell_Origin(g, row, col), QSizeF(g.lw, g.lh));
}

QRectF To_Top_Left(const QRectF& r, double H)
{
    return QRectF(r.x(), H - r.y() - r.height(), r.width(), r.height());
}

QList<QLineF> Crop_Mark_Lines(const QRectF& r)
{
    const double x = r.x(), y = r.y(), w = r.width(), h = r.height();
    return {
        QLineF(x, y, x - 20, y),         QLineF(x, y, x, y - 20),
        QLineF(x + w, y, x + w + 20, y), QLineF(x + w, y, x + w, y - 20),
        QLineF(x, y + h, x - 20, y + h), QLineF(x, y + h, x, y + h + 20),
        QLineF(x + w, y + h, x + w + 20, y + h), QLineF(x + w, y + h, x + w, y + h + 20),
    };
}

namespace {

// How many cells of `cell` with gaps `gap` fit into `room` (the room counts
// one gap more than the cells need). A grid that ends within a hundredth of a
// millimetre of the paper's edge fits: three 70 mm labels fill 210 mm.
int cellsThatFit(double room, double cell, double gap, int entered)
{
    const double pitch = cell + gap;
    if (!(pitch > 0.0) || !std::isfinite(pitch))
        return entered;
    const double q = (room + Sheet_Fit_Tolerance_Points) / pitch;
    if (!std::isfinite(q) || q > 1e6)
        return entered;
    return int(std::floor(q));
}

} // namespace

Grid_Fit Fit_Grid_To_Paper(const Sheet_Geometry& g, bool autoCenter)
{
    Grid_Fit fit;
    int c = std::max(1, g.cols), r = std::max(1, g.rows);
    const float U = g.W - g.L - g.R;
    const float V = g.H - g.T - g.B;
    float hg = g.hg, vg = g.vg;

    if (autoCenter) {
        const float h = (U - float(c) * g.lw) / float(c + 1);
        if (h > 0) {
            hg = h;
        } else {
            const int n = g.lw > 0 ? cellsThatFit(U, g.lw, 0, c) : c;
            const int nc = n < 1 ? 1 : std::min(c, n);
            fit.colsLowered = nc != c;
            c = nc;
            hg = 0;
        }
        const float v = (V - float(r) * g.lh) / float(r + 1);
        if (v > 0) {
            vg = v;
        } else {
            const int n = g.lh > 0 ? cellsThatFit(V, g.lh, 0, r) : r;
            const int nr = n < 1 ? 1 : std::min(r, n);
            fit.rowsLowered = nr != r;
            r = nr;
            vg = 0;
        }
    } else {
        if ((U - float(c) * g.lw - float(c - 1) * hg) / float(c + 1) <= 0) {
            const int n = cellsThatFit(double(g.W) + hg - g.L - g.R, g.lw, hg, c);
            const int nc = n < 1 ? 1 : std::min(c, n);
            fit.colsLowered = nc < c;
            c = nc;
        }
        if ((V - float(r) * g.lh - float(r - 1) * vg) / float(r + 1) <= 0) {
            const int n = cellsThatFit(double(g.H) + vg - g.T - g.B, g.lh, vg, r);
            const int nr = n < 1 ? 1 : std::min(r, n);
            fit.rowsLowered = nr < r;
            r = nr;
        }
    }
    fit.rows = r;
    fit.cols = c;
    fit.hg = hg;
    fit.vg = vg;
    return fit;
}

int Page_Count(int labels, int rows, int cols)
{
    const long long perSheet = (long long)std::max(1, rows) * std::max(1, cols);
    if (labels <= 0)
        return 0;
    return int(labels / perSheet + (labels % perSheet ? 1 : 0));
}

QString Find_Papaer_Name_From_Size(const QString& width, const QString& height)
{
    struct Entry { const char* size; const char* name; };
    static const Entry table[] = {
        {"297.00 x 420.00", "A3"},
        {"210.00 x 297.00", "A4"},
        {"148.00 x 210.00", "A5"},
        {"176.00 x 250.00", "B5"},
        {"105.00 x 241.00", "Envelope #10"},
        {"120.00 x 235.00", "Envelope Choukei 3"},
        {"110.00 x 220.00", "Envelope DL"},
        {"182.00 x 257.00", "JIS B5"},
        {"197.00 x 273.00", "ROC 16K"},
        {"330.00 x 483.00", "Super B/A3"},
        {"279.00 x 432.00", "Tabloid"},
        {"305.00 x 457.00", "Tabloid Oversize"},
        {"216.00 x 356.00", "US Legal"},
        {"216.00 x 279.00", "US Letter"},
        {"215.90 x 279.40", "Letter"},
        {"100.00 x 148.00", "Postcard"},
        {"184.00 x 267.00", "Executive"},
        {"105.00 x 148.00", "A6"},
    };
    QString name;
    if (width.isEmpty() || height.isEmpty())
        return name;
    for (const Entry& e : table) {
        const QString size = QString::fromLatin1(e.size);
        if (size.contains(width) && size.contains(height))
            name = QString::fromLatin1(e.name);
    }
    return name;
}

double Catalogue_Unit_Factor(const QString& unit)
{
    const QString u = Trim_Str(unit.toLower());
    if (u == QLatin1String("emu")) return 36000.0;
    if (u == QLatin1String("mm")) return 1.0;
    if (u == QLatin1String("in")) return 0.0393701;
    if (u == QLatin1String("cm")) return 0.1;
    return 1.0;
}

float MM_To_Points(float mm)
{
    return float(double(mm) * MM_To_Points_Factor);
}

float Points_To_MM(float points)
{
    return float(double(points) * Points_To_MM_Factor);
}
