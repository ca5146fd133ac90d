#pragma once
// Where barcode mode's value, header and footer come from, as one value:
// typed by hand, or, with batch data on, the barcode list (each row by its
// print quantity) or three series, one for each text, with their rows read
// once when chosen; which of the three texts the batch feeds; and the row
// chosen among the series' rows.
//
// Barcode mode's view owns one. Its controls show it and write every change
// into it at once (the switches, the series chosen, the row chosen in an
// item list), so nothing reads a control back. The counts, the rows of a job
// and the search for the first row that encodes are worked out from the
// value alone. The barcode list itself is not part of the value (it is the
// list's own, and a view kept here would make every edit copy it): the
// functions that need its rows are handed them.
#include "barcode/generation/list/BarcodeRowStore.h"
#include "core/util/BatchServices.h"

#include <QString>
#include <QStringList>

#include <array>

// One series of the source: its name and its values.
struct Barcode_Series {
    QString name;       // "" while none is chosen ("<--Select-->")
    QStringList rows;   // the values read when it was chosen, padded with
                        // empty ones to the longest series in use
};

// What a barcode settings file keeps of the sources.
struct Barcode_Source_State {
    bool dataSource = false;      // data_source_chkbox
    bool valueChecked = false;    // barcode_value_chk
    bool headerChecked = false;   // barcode_header_chk
    bool footerChecked = false;   // barcode_footer_chk
    bool customList = true;       // Custom_Sheet_RD (else series)
    QString valueSeries, valueItem;
    QString headerSeries, headerItem;
    QString footerSeries, footerItem;
};

struct Barcode_Source {
    enum class Kind { List, Series };

    bool dataSource = false;           // data_source_chkbox: batch data on
    Kind kind = Kind::List;            // Custom_Sheet_RD (the list) or Data_Set_Sheet_RD (series)
    std::array<bool, 3> fed{};         // barcode_value_chk, barcode_header_chk, barcode_footer_chk
    std::array<Barcode_Series, 3> series;   // of the value, the header and the footer
    // The row chosen among the series' rows, which every item list shows;
    // -1 while none is (the lists then show their first row).
    int Last_Selected_Index = -1;

    bool listFeeds() const { return kind == Kind::List; }
    bool seriesFeeds() const { return kind == Kind::Series; }
    // Use_Data_Sheet_Values of barcode mode: batch data on and at least one
    // of value, header and footer taken from it.
    bool Check_Data_Sheet_Value_Use_or_Not_Barcode() const;
    // Whether text `which` (0 value, 1 header, 2 footer) takes its series:
    // fed, with a series chosen.
    bool seriesInUse(int which) const;
    // The rows of the series in use: the most any of them has (0 for none).
    int seriesRowCount() const;
    // Pads every series in use with empty values to the longest of them
    // (Balance_Datasheet_Combo_Max_Count) and answers that length. A chosen
    // row past it is let go.
    int balance();

    // Value `row` of the series of text `which`; "" past its values.
    QString itemText(int which, int row) const;
    // The row the item list of text `which` shows: the chosen row when the
    // series has it, else its first; -1 for a series without values.
    int shownRow(int which) const;
    // The value of the series of text `which` at the row shown ("" none).
    QString seriesText(int which) const { return itemText(which, shownRow(which)); }

    // Names of the series in use while series feed the batch.
    QStringList Series_Names_In_Use() const;
    // The switches and the series chosen, as a settings file keeps them
    // (each item: the value at the row shown).
    Barcode_Source_State Source_State() const;
    // The switches and the series chosen, as the batch jobs read them.
    void Fill_Mode_State(BarcodeModeState& state) const;

    // ---- Counts (`list`: the rows of the barcode list) ----
    // Rows of a batch: the list's rows or the series' while the batch feeds
    // the texts, else 1 (the typed barcode).
    int Get_Barcode_Batch_Count(const BarcodeRowsView& list) const;
    // Copies of a row: its print quantity while the list feeds the batch (an
    // empty or bad one counts as 1; 0 past the rows), else 1.
    int Get_PQ_Count_Of_Index(const BarcodeRowsView& list, int row) const;
    // Labels of a batch: every list row by its quantity; one a row otherwise.
    int Get_Total_Count_With_PQ(const BarcodeRowsView& list) const;
    Batch_Row_Count Count_Rows(const BarcodeRowsView& list) const;

    // ---- Rows ----
    // Value, header and footer of a row as the batch gives them, untrimmed:
    // the row's own where the batch feeds that text, else the typed one
    // (`typed` in, the row's texts out). False for a list row that does not
    // exist or a row below 0.
    bool rowTexts(const BarcodeRowsView& list, int row, Batch_Row_Texts& texts) const;
    // The rows of a job made with `settings`, read now: the list's rows are
    // shared as they are, a series' values are copied; `typed` are the texts
    // of the value pane.
    Batch_Rows Make_Rows(const BarcodeRowsView& list, const BarcodeSettings& settings,
                         const Batch_Row_Texts& typed) const;
};

// The row a barcode job starts from when batch values feed the value: the
// first row whose value encodes (Check_Barcode_Value_is_Valid_in_Series, as
// givesImage answers it); -1 when none does.
int Find_Valid_Barcode_Value_For_Batch_Processing(const Batch_Row_Source& rows);
