#include "print/SheetJobBuilder.h"

#include "core/util/Helpers.h"
#include "platform/Numbers.h"

#include <algorithm>
#include <climits>

Batch_Row_Count Row_Count_Of(const Sheet_Job& job)
{
    Batch_Row_Count count = job.rows ? job.rows->count() : Batch_Row_Count();
    count.designing = job.designing;
    return count;
}

Sheet_Job Opening_Sheet_Job(Batch_Rows rows, bool designing, const PtImage& label, QSizeF labelSize)
{
    Sheet_Job job;
    job.designing = designing;
    job.rows = std::move(rows);
    job.Barcode_Image = label;
    job.label_width = job.Real_label_width = float(labelSize.width());
    job.label_hight = job.Real_label_hight = float(labelSize.height());
    const Batch_Row_Count count = Row_Count_Of(job);
    Sheet_Boxes& boxes = job.boxes;
    // Designing mode: a bound series or spreadsheet gives one card a row.
    // Barcode mode: the list or a series gives one barcode a row.
    const bool batch = designing ? count.batch() : count.Use_Data_Sheet_Values;
    boxes.batchOffered = batch;
    job.Use_Data_Sheet_Values = batch;
    boxes.skipShown = !designing && batch;
    boxes.quantityShown = boxes.skipShown && !count.seriesFeeds;
    job.skip_invalid_barcode = boxes.skipShown ? 1 : 0;
    // The print-quantity option follows its box: on with the list, off with
    // a series, whose rows count once each either way.
    job.print_wd_pq_opt = boxes.quantityShown ? 1 : 0;
    if (!batch) {
        Set_Tot_Value(job, 1, No_Batch_Maximum, QStringLiteral("A"));
    } else {
        const int total = designing ? std::max(1, count.Total_Batch_Excel_Card) : Total_From_Quantity_Box(job);
        Set_Tot_Value(job, total, total, QStringLiteral("A"));
    }
    job.Total_Label = boxes.Total;
    return job;
}

void Set_Tot_Value(Sheet_Job& job, int value, int maximum, const QString& set_for)
{
    Sheet_Boxes& boxes = job.boxes;
    int v = value == 0 ? 1 : value;
    int m = maximum;
    const bool batch = job.Use_Data_Sheet_Values;
    if (!batch) {
        m = No_Batch_Maximum;
        v = std::min(v, No_Batch_Maximum);
    }
    m = std::max(1, m);
    boxes.totalMaximum = boxes.rangeMaximum = m;
    // The range counts rows, each repeated by its print quantity.
    if (batch && !job.designing)
        boxes.rangeMaximum = std::max(1, Row_Count_Of(job).Total_Barcode_Label_wd_Batch);
    if (set_for == QLatin1String("TOT") || set_for == QLatin1String("A"))
        boxes.Total = v;
    if (set_for == QLatin1String("TO") || set_for == QLatin1String("A"))
        boxes.To = std::min(v, boxes.rangeMaximum);
}

int Total_From_Quantity_Box(const Sheet_Job& job)
{
    const Batch_Row_Count count = Row_Count_Of(job);
    return job.print_wd_pq_opt ? count.Total_Label_Wd_PQ : count.Total_Barcode_Label_wd_Batch;
}

int Batch_Box_Total(const Sheet_Job& job, int cells)
{
    if (!job.Use_Data_Sheet_Values)
        return cells;
    return job.designing ? Row_Count_Of(job).Total_Batch_Excel_Card : Total_From_Quantity_Box(job);
}

int Typed_Range_Value(const Sheet_Job& job, const QString& typed, bool total, int& maximum)
{
    const QString trimmed = Trim_Str(typed);
    int v = Leading_Int_C(trimmed);
    if (trimmed.isEmpty() || v == 0)
        v = 1;
    maximum = No_Batch_Maximum;
    if (job.Use_Data_Sheet_Values) {
        const Batch_Row_Count count = Row_Count_Of(job);
        if (!job.designing) {
            // The range counts rows; the total counts labels.
            maximum = total ? Total_From_Quantity_Box(job) : count.Total_Barcode_Label_wd_Batch;
        } else {
            maximum = count.Total_Batch_Excel_Card;
        }
        v = std::min(v, std::max(1, maximum));
    }
    return v;
}

Grid_Fit Fit_Sheet_Job(Sheet_Job& job, QSizeF page, bool centre)
{
    const Grid_Fit fit = Fit_Grid_To_Paper(job.Geometry(page), centre);
    job.auto_center_flag = centre ? 1 : 0;
    job.Print_Row = fit.rows;
    job.Print_Col = fit.cols;
    job.horz_mar = fit.hg;
    job.vert_mar = fit.vg;
    return fit;
}

Sheet_Job_Refusal Range_Of_Job(Sheet_Job& job)
{
    const Batch_Row_Count count = Row_Count_Of(job);
    const Sheet_Boxes& boxes = job.boxes;
    const bool designing = job.designing;
    const bool batch = job.Use_Data_Sheet_Values;
    const bool pq = !designing && batch && job.print_wd_pq_opt;
    const bool skip = !designing && batch && job.skip_invalid_barcode;
    const Batch_Rows& rows = job.rows;
    auto copies = [&](int row) { return pq && rows ? rows->printQuantity(row) : 1; };
    auto labelsOf = [&](int start, int end, long long cap) {
        long long n = 0;
        for (int r = start; r < end && n < cap; ++r)
            n += copies(r);
        return int(std::min<long long>(n, cap));
    };
    int start = 0, end = 0, labels = 0;
    if (boxes.allLabels) {
        end = batch ? count.rows() : 0;
        labels = std::max(0, boxes.Total);
    } else {
        if (boxes.From > boxes.To)
            return Sheet_Job_Refusal::Invalid_Range;
        start = std::max(0, boxes.From - 1);
        end = boxes.To;
        labels = labelsOf(start, end, INT_MAX);
    }
    // The labels laid out: with batch values the job ends with its rows, or
    // at its label count, and skipping leaves the rows that give a barcode.
    int printable_label_count = labels;
    if (batch) {
        if (skip && rows)
            printable_label_count = rows->Calculate_Valid_Barcode_for_skip_invalid(pq, start, end, labels);
        else
            printable_label_count = labelsOf(start, end, labels);
    }
    job.print_wd_pq_opt = pq ? 1 : 0;
    job.skip_invalid_barcode = skip ? 1 : 0;
    job.Use_Excel_Binding_Values = count.Use_Excel_Binding_Values;
    job.Use_Barocde_In_Center = designing ? 0 : 1;
    job.Print_Start = batch ? start : 0;
    job.Print_End = batch ? end : 0;
    job.Total_Label = printable_label_count;
    job.Total_Label_Real = labels;
    return printable_label_count == 0 ? Sheet_Job_Refusal::No_Labels : Sheet_Job_Refusal::None;
}
