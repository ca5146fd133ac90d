#include "barcode/generation/BarcodeSource.h"

#include "barcode/generation/BarcodeRows.h"
#include "barcode/generation/list/BarcodeList.h"
#include "core/util/Helpers.h"

#include <algorithm>
#include <climits>

bool Barcode_Source::Check_Data_Sheet_Value_Use_or_Not_Barcode() const
{
    return dataSource && (fed[0] || fed[1] || fed[2]);
}

bool Barcode_Source::seriesInUse(int which) const
{
    return which >= 0 && which < 3 && fed[size_t(which)] && !series[size_t(which)].name.isEmpty();
}

int Barcode_Source::seriesRowCount() const
{
    int n = 0;
    for (int i = 0; i < 3; ++i)
        if (seriesInUse(i))
            n = std::max(n, int(series[size_t(i)].rows.size()));
    return n;
}

int Barcode_Source::balance()
{
    const int max = seriesRowCount();
    for (int i = 0; i < 3; ++i) {
        if (!seriesInUse(i))
            continue;
        QStringList& rows = series[size_t(i)].rows;
        while (rows.size() < max)
            rows.append(QString());
    }
    if (Last_Selected_Index >= max)
        Last_Selected_Index = -1;
    return max;
}

QString Barcode_Source::itemText(int which, int row) const
{
    if (which < 0 || which > 2)
        return {};
    const QStringList& rows = series[size_t(which)].rows;
    return row >= 0 && row < rows.size() ? rows[row] : QString();
}

int Barcode_Source::shownRow(int which) const
{
    if (which < 0 || which > 2 || series[size_t(which)].rows.isEmpty())
        return -1;
    const int n = int(series[size_t(which)].rows.size());
    return Last_Selected_Index >= 0 && Last_Selected_Index < n ? Last_Selected_Index : 0;
}

QStringList Barcode_Source::Series_Names_In_Use() const
{
    QStringList names;
    if (!dataSource || !seriesFeeds())
        return names;
    for (int i = 0; i < 3; ++i)
        if (seriesInUse(i))
            names << series[size_t(i)].name;
    return names;
}

Barcode_Source_State Barcode_Source::Source_State() const
{
    Barcode_Source_State s;
    s.dataSource = dataSource;
    s.valueChecked = fed[0];
    s.headerChecked = fed[1];
    s.footerChecked = fed[2];
    s.customList = listFeeds();
    s.valueSeries = series[0].name;
    s.valueItem = seriesText(0);
    s.headerSeries = series[1].name;
    s.headerItem = seriesText(1);
    s.footerSeries = series[2].name;
    s.footerItem = seriesText(2);
    return s;
}

void Barcode_Source::Fill_Mode_State(BarcodeModeState& state) const
{
    state.dataSource = dataSource;
    state.listFeeds = listFeeds();
    state.seriesFeeds = seriesFeeds();
    state.valueChecked = fed[0];
    state.headerChecked = fed[1];
    state.footerChecked = fed[2];
    state.valueSeries = series[0].name;
    state.headerSeries = series[1].name;
    state.footerSeries = series[2].name;
}

// ---------------------------------------------------------------- counts

int Barcode_Source::Get_Barcode_Batch_Count(const BarcodeRowsView& list) const
{
    if (!Check_Data_Sheet_Value_Use_or_Not_Barcode())
        return 1;
    return listFeeds() ? int(list.size()) : seriesRowCount();
}

int Barcode_Source::Get_PQ_Count_Of_Index(const BarcodeRowsView& list, int row) const
{
    // The quantities count only while the list feeds the batch.
    if (!Check_Data_Sheet_Value_Use_or_Not_Barcode() || !listFeeds())
        return 1;
    if (row < 0 || row >= int(list.size()))
        return 0;
    return Row_Copies(list.text(row, 3).toString());
}

int Barcode_Source::Get_Total_Count_With_PQ(const BarcodeRowsView& list) const
{
    const int n = Get_Barcode_Batch_Count(list);
    if (!Check_Data_Sheet_Value_Use_or_Not_Barcode() || !listFeeds())
        return n;
    long long sum = 0;
    for (int r = 0; r < n; ++r)
        sum += Get_PQ_Count_Of_Index(list, r);
    return int(std::min<long long>(sum, INT_MAX));
}

Batch_Row_Count Barcode_Source::Count_Rows(const BarcodeRowsView& list) const
{
    Batch_Row_Count count;
    count.designing = false;
    count.Use_Data_Sheet_Values = Check_Data_Sheet_Value_Use_or_Not_Barcode();
    count.seriesFeeds = count.Use_Data_Sheet_Values && seriesFeeds();
    count.Total_Barcode_Label_wd_Batch = Get_Barcode_Batch_Count(list);
    count.Total_Batch_Excel_Card = std::max(1, count.Total_Barcode_Label_wd_Batch);
    count.Total_Label_Wd_PQ = Get_Total_Count_With_PQ(list);
    return count;
}

// ---------------------------------------------------------------- rows

bool Barcode_Source::rowTexts(const BarcodeRowsView& list, int row, Batch_Row_Texts& texts) const
{
    if (!Check_Data_Sheet_Value_Use_or_Not_Barcode())
        return row >= 0;
    QString* out[3] = {&texts.value, &texts.header, &texts.footer};
    if (listFeeds()) {
        if (row < 0 || row >= int(list.size()))
            return false;
        for (int i = 0; i < 3; ++i)
            if (fed[size_t(i)])
                *out[i] = list.text(row, i).toString();
        return true;
    }
    for (int i = 0; i < 3; ++i)
        if (fed[size_t(i)])
            *out[i] = itemText(i, row);
    return row >= 0;
}

Batch_Rows Barcode_Source::Make_Rows(const BarcodeRowsView& list, const BarcodeSettings& settings,
                                     const Batch_Row_Texts& typed) const
{
    const Batch_Row_Count count = Count_Rows(list);
    const bool drives = count.Use_Data_Sheet_Values;
    const std::array<bool, 3> feeds{drives && fed[0], drives && fed[1], drives && fed[2]};
    // The list's rows go to the job as they are, shared and not copied.
    if (drives && listFeeds())
        return std::make_shared<Barcode_Rows>(count, settings, list, feeds, typed);
    const int n = std::max(0, count.Total_Barcode_Label_wd_Batch);
    std::vector<Batch_Row_Texts> rows;
    rows.reserve(size_t(n));
    for (int r = 0; r < n; ++r) {
        QString texts[3] = {typed.value, typed.header, typed.footer};
        for (int i = 0; i < 3; ++i)
            if (feeds[size_t(i)])
                texts[i] = itemText(i, r);
        rows.push_back({Trim_Str(texts[0]), Trim_Str(texts[1]), Trim_Str(texts[2])});
    }
    return std::make_shared<Barcode_Rows>(count, settings, std::move(rows), std::vector<int>(), typed);
}

int Find_Valid_Barcode_Value_For_Batch_Processing(const Batch_Row_Source& rows)
{
    for (int row = 0; row < rows.rowCount(); ++row)
        if (rows.givesImage(row))
            return row;
    return -1;
}
