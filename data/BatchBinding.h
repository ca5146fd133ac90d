#pragma once
// Batch binding of designing mode and the design back-up around batch jobs.
//
// The main window owns one Batch_Binding and forwards to it: it holds the
// series binding table, the spreadsheet rows of the design (with their source
// path), the row counts of the current job, the copies of the design's items
// that a job fills, and the back-up of the design.
//
// A job (print, PDF export, image export, e-mail) first counts its rows
// (Check_Series_Or_Excel_Use_or_not), which also takes copies of the design's
// items; then Set_data_table_value_to_card fills the copies with one row's
// values and renders them. The live canvas items are never filled by a job:
// only Select_first_row_value_for_design fills them, to show the first row.
// Filling and rendering run on the GUI thread (a worker waits), so workers may
// call every operation here.
#include <QList>
#include <QMutex>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

#include "core/model/LMNGraphic.h"
#include "core/util/BatchServices.h"
#include "data/ExcelRows.h"
#include "platform/PtImage.h"

class QComboBox;
class QWidget;

// The last barcode image made for a bound barcode item (GUI thread).
extern PtImage Barcode_output_image;

// One entry of the series binding table: the series at that position of the
// series list, loaded (its values) or not.
struct Series_Column {
    QString name;
    bool loaded = false;
    QStringList values;
};

class Batch_Binding {
public:
    Batch_Binding();
    ~Batch_Binding();
    Batch_Binding(const Batch_Binding&) = delete;
    Batch_Binding& operator=(const Batch_Binding&) = delete;

    // ---- The spreadsheet source of the design ----
    Excel_Rows& excelRows() { return m_excel; }
    const Excel_Rows& excelRows() const { return m_excel; }
    // Path of the spreadsheet the rows came from, and whether the design uses
    // them (the design file stores both).
    QString Excel_Source_Path() const;
    void setExcel_Source_Path(const QString& path);
    bool Excel_Binding_Use() const;
    void setExcel_Binding_Use(bool use);
    // Whether the spreadsheet is a source to offer for an item whose source
    // is `itemSource`: while the design holds rows (they come with its design
    // file) or the item is bound to it; otherwise it would list no columns.
    bool Offers_Spreadsheet_Source(int itemSource) const;

    // ---- Counting the rows ----
    // The rows of the design as it stands: which sources the front items are
    // bound to and how many rows they give (Total_Batch_Excel_Card, at least
    // 1). Changes nothing; any thread (the items are read on the GUI thread).
    Batch_Row_Count Count_Rows() const;
    // For the job that follows: takes copies of the front items, the values
    // of their series and the count of now (the design back-up calls it).
    void Prepare_Job_Rows();
    // Whether the copies of the job hold items bound to a series, to the spreadsheet.
    bool Check_Front_Side_Dataset_Is_Used() const;
    bool Check_Front_Side_Excel_Binding_Is_Used() const;

    void Create_Dataset_binding_table();
    void Add_dataset_col_in_binding_table(const QString& name, int index);
    void Calculate_data_table_rows();
    int Calculate_Excel_table_rows();
    // Empties the spreadsheet rows.
    void Clear_Delete_Excel_table_rows();
    int Data_table_rows() const;
    int Excel_table_rows() const;
    QList<Series_Column> data_table_content() const;

    // ---- Look-ups ----
    // Position of a series in a fresh series list (case-insensitive); -1.
    static int Get_Data_SetIndex_According_Name(const QString& name);
    // A row of a loaded table entry; "" outside the table, for an unloaded
    // entry or past the series' end.
    QString Get_sel_row_col_value_of_dataset(int row, int col) const;
    // A spreadsheet cell ("" past the counted rows).
    QString Get_sel_row_col_value_of_Excel(int row, int col) const;
    // The first spreadsheet row's cell; " " for an empty value column; "" without rows.
    QString Get_First_Value_Of_Excel_Binding(int col) const;

    // ---- Filling ----
    // Fills copies of the design's items with row `row` and renders the card
    // (null when rendering failed). `side` and `printBox` change nothing.
    PtImage Set_data_table_value_to_card(int row, const QString& side = QStringLiteral("F"),
                                         bool printBox = true);
    // Fills the given items with row `row` (GUI thread).
    void Assign_Batch_Values_To_Control(int row, const QList<LMNGraphic*>& items);
    // Renders the items as a whole card (GUI thread).
    PtImage Generate_Batch_Image_For_Differ_Value(const QList<LMNGraphic*>& items);
    // Counts, then fills the live items with row 0 and redraws the canvas.
    void Select_first_row_value_for_design();
    // The copies the current job fills (taken by the count).
    QList<LMNGraphic*> Graphics_array_Batch() const;
    // Takes new copies of the live front items (runs on the GUI thread).
    void Take_Batch_Copies();

    // ---- Combo boxes and the data-source panel ----
    // Every column title of the spreadsheet rows, position 0 included.
    void Fill_Excel_Col_Name_In_Combo(QComboBox* combo) const;
    // With exactly three entries, removes "Excel".
    static void Remove_Excel_Col_Name_In_Combo(QComboBox* combo);
    static void Add_Excel_Col_Name_In_Combo(QComboBox*) {}
    // The view button of a data-source panel: "Manual" does nothing; "Series"
    // opens the series viewer (`openSeries`) or says "Please select the
    // series."; any other choice opens the spreadsheet viewer.
    static void View_batch_Series_Button(const QString& sourceChoice, const QString& series,
                                         const std::function<void(const QString&)>& openSeries);
    static void Data_Source_Help_Button();

    // ---- Design back-up ----
    // Archives every live item as the one element of the back-up list.
    void Create_Design_Backup_Array();
    // Designing mode: the back-up, then a redraw.
    void Set_Front_Back_Value_To_Print_Export_Mail();
    // Designing mode: rebuilds the canvas from the back-up on the GUI thread.
    // Nothing happens without a back-up, or when the items still equal it.
    void Create_Card_Design_Again();
    // Designing mode: clears Card_Value_In_Process; with start option "G"
    // shows the front side (`selectFrontSide`).
    void Set_Graphic_Array_According_Side(const std::function<void()>& selectFrontSide = {});
    // Barcode mode before a job: regenerates (`regenerate`) a 2D symbol typed
    // by hand (not taken from the batch), so the job starts from a
    // full-resolution symbol.
    static void Draw_2d_barcode_again_for_manual(bool twoD, bool fromBatch, const std::function<void()>& regenerate);
    // True only for an existing folder.
    static bool Check_Dir_Is_Exist(const QString& path);
    static void SetFocus(QWidget* control);
    bool Has_Design_Backup() const;
    QList<QByteArray> Design_Backup() const;

private:
    // The value of a series at a row for a bound item, and its position.
    QString seriesValue(int row, const QString& name, int* position) const;
    void takeCopiesOnGuiThread();
    QList<LMNGraphic*> frontItems() const;

    mutable QMutex m_lock;      // counts, table, copies, back-up
    Excel_Rows m_excel;
    QString m_excelSourcePath;
    bool m_excelBindingUse = false;
    QList<Series_Column> m_table;
    int m_dataRows = 0;
    int m_excelRows = 0;
    QList<LMNGraphicPtr> m_copies;
    bool m_haveCopies = false;
    Batch_Row_Count m_jobCount;   // the sources the copies are filled from
    QList<QList<QByteArray>> m_backup;  // Graphics_array_Batch_Front_Bkup
};

// The main window's binding (set by the constructor, cleared by the destructor).
extern Batch_Binding* Batch_Binding_Var;
