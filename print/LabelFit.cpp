#include "print/LabelFit.h"

#include "core/util/BatchServices.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "platform/Numbers.h"
#include "print/SheetJob.h"
#include "print/SheetLayout.h"

#include <algorithm>
#include <set>

namespace {

// Rows of the first sheet looked at, at most.
constexpr int First_Rows_Looked_At = 200;

QString mmSize(QSizeF points)
{
    return Format_Fixed_C(Points_To_MM(float(points.width())), 2) + QStringLiteral(" x ")
        + Format_Fixed_C(Points_To_MM(float(points.height())), 2) + QStringLiteral(" mm");
}

} // namespace

Label_Overflow Find_Label_Overflow(const Sheet_Job& job)
{
    Label_Overflow o;
    o.cell = job.Cell_Size();
    double w = 0, h = 0;
    const auto consider = [&](QSizeF size) {
        w = std::max(w, size.width());
        h = std::max(h, size.height());
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
                consider(image.size());
        }
    } else {
        consider(job.Label_Image_Size());
    }
    o.image = QSizeF(w, h);
    o.larger = w > o.cell.width() + Label_Overflow_Tolerance || h > o.cell.height() + Label_Overflow_Tolerance;
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
    return QStringLiteral("The %1 is larger than its label.\n\n%2: %3\nLabel: %4\n\n"
                          "Each label is cut at the edges of its cell, so %5 %6\n\nDo you want to continue?")
        .arg(what, card ? QStringLiteral("Card") : QStringLiteral("Barcode"), mmSize(overflow.image),
             mmSize(overflow.cell), loss, change);
}

bool Confirm_Labels_Fit_Cells(const Sheet_Job& job)
{
    const Label_Overflow overflow = Find_Label_Overflow(job);
    if (!overflow.larger)
        return true;
    return Show_YES_NO_MessageBox(Label_Overflow_Question(overflow, Current_Label_Kind()));
}
