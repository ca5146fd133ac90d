#pragma once
// The barcode list of the print and PDF benchmarks: `rows` Code 128 rows
// ("ZL-000001", ...) each drawn by the generation road, as the main window's
// list gives them, and the sheet of 65 labels both windows lay them out on.
#include "barcode/generation/BarcodeRoad.h"
#include "common/FakeBatchServices.h"
#include "core/util/BarcodeSettings.h"
#include "core/util/SharedValues.h"

#include <QLineEdit>

inline QString Bench_Value(int row)
{
    return QStringLiteral("ZL-%1").arg(row + 1, 6, 10, QLatin1Char('0'));
}

struct Bench_Barcode_Batch {
    // `listFeeds`: the list (not a series) gives the values.
    Bench_Barcode_Batch(int rows, bool listFeeds)
    {
        BarcodeSettings s;
        Set_Barcode_Type(s, QStringLiteral("Code 128"));
        batch.state.settings = s;
        batch.state.value = Bench_Value(0);
        batch.state.dataSource = batch.state.valueChecked = true;
        batch.state.listFeeds = listFeeds;
        for (int r = 0; r < rows; ++r)
            batch.list << BarcodeListRow{{"Value", Bench_Value(r)}, {"PQ", "1"}};
        batch.barcodeRows = rows;
        batch.rowImage = [s](int row) { return Make_Barcode_Image(s, Bench_Value(row), QString(), QString()); };
    }
    FakeBatchServices batch;
};

// A sheet of 5 x 13 labels of 38.1 x 21.2 mm, typed into a sheet window.
template <class Window>
void Bench_Sheet_Of_65(Window& w)
{
    w.sheetPane->width_Text->setText("38.1");
    w.sheetPane->Width_Changed(w.sheetPane->width_Text);
    w.sheetPane->height_Text->setText("21.2");
    w.sheetPane->Height_Changed(w.sheetPane->height_Text);
    w.sheetPane->Col_Text->setText("5");
    w.sheetPane->Col_Changed(w.sheetPane->Col_Text);
    w.sheetPane->Row_Text->setText("13");
    w.sheetPane->Row_Changed(w.sheetPane->Row_Text);
}
