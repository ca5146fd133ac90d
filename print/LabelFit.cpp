#include "print/LabelFit.h"

#include "core/util/BatchServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "platform/Numbers.h"
#include "print/SheetJob.h"
#include "print/SheetLayout.h"

#include <QImage>
#include <QList>
#include <QPainter>
#include <QPointF>

#include <algorithm>
#include <cmath>
#include <set>

namespace {

// Rows of the first sheet looked at, at most.
constexpr int First_Rows_Looked_At = 200;

// The corners of a rectangle.
QList<QPointF> Corners(const QRectF& r)
{
    return {r.topLeft(), r.topRight(), r.bottomLeft(), r.bottomRight()};
}

// Whether `p` lies inside the label outline `shape` of `cell` grown by `t`.
bool Inside_Grown(QPointF p, const QRectF& cell, const Label_Shape& shape, double t)
{
    if (!cell.adjusted(-t, -t, t, t).contains(p))
        return false;
    switch (shape.kind) {
    case Label_Shape::Rectangle:
        return true;
    case Label_Shape::Rounded: {
        const double c = std::clamp(shape.radius, 0.0, std::min(cell.width(), cell.height()) / 2);
        const QPointF q(std::clamp(p.x(), cell.left() + c, cell.right() - c),
                        std::clamp(p.y(), cell.top() + c, cell.bottom() - c));
        return std::hypot(p.x() - q.x(), p.y() - q.y()) <= c + t;
    }
    case Label_Shape::Ellipse: {
        const double a = cell.width() / 2 + t, b = cell.height() / 2 + t;
        if (a <= 0 || b <= 0)
            return false;
        const double dx = (p.x() - cell.center().x()) / a, dy = (p.y() - cell.center().y()) / b;
        return dx * dx + dy * dy <= 1.0 + 1e-12;
    }
    }
    return true;
}

// Pixels a point the ink of a picture is looked at with, and the most pixels
// one picture is drawn into for it.
constexpr double Ink_Pixels_A_Point = 4.0;
constexpr double Ink_Pixels_At_Most = 4.0e6;

// Whether the ink of `image` drawn into `drawn` (its pixels that show on white
// paper, within `inkBox`: the picture without its blank edges) lies inside
// the label outline `shape` of `cell`, grown by the tolerance. Only the
// leftmost and rightmost ink of each pixel row is looked at: every label
// outline is convex, so the ink between them lies inside when they do. A
// pixel counts by its centre.
bool Ink_Inside_Outline(const PtImage& image, const QRectF& drawn, const QRectF& inkBox, const QRectF& cell,
                        const Label_Shape& shape)
{
    const double area = std::max(1.0, drawn.width() * drawn.height());
    const double k = std::min(Ink_Pixels_A_Point, std::sqrt(Ink_Pixels_At_Most / area));
    const QSize pixels(std::max(1, int(std::ceil(drawn.width() * k))), std::max(1, int(std::ceil(drawn.height() * k))));
    QImage canvas(pixels, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    {
        QPainter p(&canvas);
        p.setRenderHint(QPainter::Antialiasing);
        p.setRenderHint(QPainter::TextAntialiasing);
        p.scale(k, k);
        image.draw(p, QRectF(QPointF(0, 0), drawn.size()));
    }
    const QRectF box = inkBox.translated(-drawn.topLeft());
    const int x0 = std::max(0, int(std::floor(box.left() * k))), x1 = std::min(pixels.width(), int(std::ceil(box.right() * k)));
    const int y0 = std::max(0, int(std::floor(box.top() * k))), y1 = std::min(pixels.height(), int(std::ceil(box.bottom() * k)));
    const auto inked = [](QRgb px) { return std::min({qRed(px), qGreen(px), qBlue(px)}) < 224; };
    const auto inside = [&](int x, int y) {
        const QPointF p(drawn.left() + (x + 0.5) / k, drawn.top() + (y + 0.5) / k);
        return Inside_Grown(p, cell, shape, Label_Overflow_Tolerance);
    };
    for (int y = y0; y < y1; ++y) {
        const QRgb* line = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        int left = x0;
        while (left < x1 && !inked(line[left]))
            ++left;
        if (left == x1)
            continue;
        int right = x1 - 1;
        while (right > left && !inked(line[right]))
            --right;
        if (!inside(left, y) || !inside(right, y))
            return false;
    }
    return true;
}

QString shapeWord(const Label_Shape& shape, QSizeF cell)
{
    switch (shape.kind) {
    case Label_Shape::Rectangle:
        return QString();
    case Label_Shape::Rounded:
        return QStringLiteral(", rounded corners");
    case Label_Shape::Ellipse:
        return std::abs(cell.width() - cell.height()) < 0.01 ? QStringLiteral(", round") : QStringLiteral(", oval");
    }
    return QString();
}

QString mmSize(QSizeF points)
{
    return Format_Fixed_C(Points_To_MM(float(points.width())), 2) + QStringLiteral(" x ")
        + Format_Fixed_C(Points_To_MM(float(points.height())), 2) + QStringLiteral(" mm");
}

} // namespace

bool Reaches_Past_Label(const QRectF& drawn, const QRectF& cell, const Label_Shape& label)
{
    const double t = Label_Overflow_Tolerance;
    // The common case first: a rectangle inside a rectangle.
    if (drawn.left() < cell.left() - t || drawn.top() < cell.top() - t || drawn.right() > cell.right() + t
        || drawn.bottom() > cell.bottom() + t)
        return true;
    if (label.kind == Label_Shape::Rectangle)
        return false;
    // Every label outline is convex: a rectangle lies inside it when its
    // corners do.
    const QList<QPointF> corners = Corners(drawn);
    return std::any_of(corners.begin(), corners.end(),
                       [&](QPointF p) { return !Inside_Grown(p, cell, label, t); });
}

Label_Overflow Find_Label_Overflow(const Sheet_Job& job)
{
    Label_Overflow o;
    o.cell = job.Cell_Size();
    o.shape = job.designing ? Label_Shape() : job.labelShape;
    const QRectF cell(QPointF(0, 0), o.cell);
    double w = 0, h = 0;
    bool pastCell = false, pastOutline = false;
    const auto consider = [&](const PtImage& image, QSizeF size) {
        w = std::max(w, size.width());
        h = std::max(h, size.height());
        const QRectF drawn = job.Label_Image_Rect(cell, size);
        if (Reaches_Past_Label(drawn, cell)) {
            pastCell = true;
        } else if (o.shape.kind != Label_Shape::Rectangle && !pastOutline) {
            // What must stay on a round or rounded label is the barcode
            // itself: its bars and texts, inside the picture's blank edges.
            // When their box leaves the outline, its corners may still be
            // blank (above and below the bars, beside a short text): the ink
            // itself is measured.
            QRectF ink = drawn.marginsRemoved(job.pictureMargins);
            if (!ink.isValid())
                ink = drawn;
            if (Reaches_Past_Label(ink, cell, o.shape)
                && (image.isNull() || !Ink_Inside_Outline(image, drawn, ink, cell, o.shape)))
                pastOutline = true;
        }
    };
    if (!job.designing && job.Use_Data_Sheet_Values && job.rows) {
        const Batch_Row_Source& rows = *job.rows;
        const int start = std::max(0, job.Print_Start);
        const int end = std::min(job.Print_End, rows.rowCount());
        std::set<int> looked;
        const int cells = std::max(1, job.Print_Row) * std::max(1, job.Print_Col);
        for (int r = start; r < end && r < start + std::min(cells, First_Rows_Looked_At); ++r)
            looked.insert(r);
        // The longest texts give the widest barcodes.
        int longest[3] = {-1, -1, -1};
        qsizetype length[3] = {-1, -1, -1};
        for (int r = start; r < end; ++r) {
            const Batch_Row_Texts t = rows.texts(r);
            const qsizetype l[3] = {t.value.size(), t.header.size(), t.footer.size()};
            for (int k = 0; k < 3; ++k)
                if (l[k] > length[k]) {
                    length[k] = l[k];
                    longest[k] = r;
                }
        }
        for (int r : longest)
            if (r >= 0)
                looked.insert(r);
        for (int r : looked) {
            const PtImage image = rows.image(r);
            if (!image.isNull())
                consider(image, image.size());
        }
    } else {
        consider(job.Barcode_Image, job.Label_Image_Size());
    }
    o.image = QSizeF(w, h);
    o.larger = pastCell || pastOutline;
    o.outline = !pastCell && pastOutline;
    return o;
}

Label_Kind Current_Label_Kind()
{
    if (Designing_Mode_Active())
        return Label_Kind::Card;
    if (App_Services().Batch_Services && !App_Services().Batch_Services->Barcode_Mode_State().linear)
        return Label_Kind::TwoD_Barcode;
    return Label_Kind::Linear_Barcode;
}

QString Label_Overflow_Question(const Label_Overflow& overflow, Label_Kind kind)
{
    const bool card = kind == Label_Kind::Card;
    const QString what = card ? QStringLiteral("card") : QStringLiteral("barcode");
    QString change;
    switch (kind) {
    case Label_Kind::Card:
        change = QStringLiteral("To fit, make the card smaller (its width and height), or make the label larger, "
                                "or choose a label sheet whose labels are as large as the card.");
        break;
    case Label_Kind::Linear_Barcode:
        change = QStringLiteral("To fit, make the bars narrower (Bar Width on the Size tab) or the margins smaller, "
                                "or make the label larger (its Width and Height here), or choose a label sheet "
                                "with larger labels.");
        break;
    case Label_Kind::TwoD_Barcode:
        change = QStringLiteral("To fit, make the symbol smaller (its size on the Size tab) or the margins "
                                "smaller, or make the label larger (its Width and Height here), or choose a label "
                                "sheet with larger labels.");
        break;
    }
    const QString loss = card ? QStringLiteral("part of the card will not be printed.")
                              : QStringLiteral("the barcode's edges will be missing and it may not scan.");
    const QString sizes = QStringLiteral("%1: %2\nLabel: %3%4")
                              .arg(card ? QStringLiteral("Card") : QStringLiteral("Barcode"), mmSize(overflow.image),
                                   mmSize(overflow.cell), shapeWord(overflow.shape, overflow.cell));
    if (overflow.outline) {
        // Within the cell, but its corners leave a round or rounded label
        // (only barcodes are measured against the outline).
        const QString lost = QStringLiteral("the barcode's edges are printed off the label and it may not scan.");
        return QStringLiteral("The %1 does not fit inside its label.\n\n%2\n\n"
                              "Its corners reach past the label's edge, so %3 %4\n\nDo you want to continue?")
            .arg(what, sizes, lost, change);
    }
    return QStringLiteral("The %1 is larger than its label.\n\n%2\n\n"
                          "Each label is cut at the edges of its cell, so %3 %4\n\nDo you want to continue?")
        .arg(what, sizes, loss, change);
}

bool Confirm_Labels_Fit_Cells(const Sheet_Job& job)
{
    const Label_Overflow overflow = Find_Label_Overflow(job);
    if (!overflow.larger)
        return true;
    // Enter goes back: Yes prints labels that may not scan.
    return Show_YES_NO_MessageBox(Label_Overflow_Question(overflow, Current_Label_Kind()), Default_Button::No);
}
