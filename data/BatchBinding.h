#pragma once
// Batch binding of designing mode and the design back-up around batch jobs.
//
// The main window owns one Batch_Binding and forwards to it: it holds the
// spreadsheet rows of the design (with their source path) and the back-up of
// the design, counts the rows the design's bindings give, and makes the rows
// of a job.
//
// A job (print, PDF export, image export, e-mail) takes its own rows
// (Design_Rows): copies of the design's items and the values they read, made
// when the job is made; each row fills the job's copies and renders them. The
// live canvas items are never filled by a job: only
// Select_first_row_value_for_design fills them, to show the first row.
// Filling and rendering run on the GUI thread (a worker waits), so workers may
// ask for rows.
#include <QList>
#include <QMap>
#include <QMutex>
#include <QRectF>
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

// One entry of the series binding table: a series, loaded (its values) or
// not, and its position in the series folder.
struct Series_Column {
    QString name;
    bool loaded = false;
    QStringList values;
    int position = -1;
};

// The rows of a designing-mode job: copies of the design's front items and
// the values they are bound to (the bound series and spreadsheet columns),
// read on the GUI thread when the job is made. A row's card is the copies
// filled with that row's values and rendered on the GUI thread while the
// caller waits; the live items are never touched, and a series or a
// spreadsheet changed after the job was made changes nothing in it.
class Design_Rows : public Batch_Row_Source {
public:
    // Made by Batch_Binding::Make_Rows on the GUI thread: the archived front
    // items with the boxes their barcodes are centred in, and the values of
    // the sources the count says are in use.
    Design_Rows(const Batch_Row_Count& count, const QList<QByteArray>& archives, const QList<QRectF>& barcodeBoxes,
                const QList<Series_Column>& series, const QMap<int, QStringList>& excel);
    ~Design_Rows() override;

    Batch_Row_Texts texts(int) const override { return {}; }
    QString seriesValue(int row, const QString& series) const override;
    int printQuantity(int row) const override;
    PtImage image(int row) const override { return Set_data_table_value_to_card(row); }
    // The design as it was when the job was made (fresh copies, unfilled).
    PtImage currentImage() const override;

    // Fills the job's copies of the items with row `row` and renders the
    // card, the main window's Card_Value_In_Process set meanwhile; null when
    // no card could be made. Any thread.
    PtImage Set_data_table_value_to_card(int row) const;
    // Fills the given items with row `row` (GUI thread): the job's copies,
    // or the live items when the design shows its first row.
    void Assign_Batch_Values_To_Control(int row, const QList<LMNGraphic*>& items) const;
    // Renders items as a whole card (GUI thread).
    static PtImage Generate_Batch_Image_For_Differ_Value(const QList<LMNGraphic*>& items);
    // A cell of the spreadsheet rows read ("" past them or for a column no
    // item reads).
    QString Get_sel_row_col_value_of_Excel(int row, int col) const;
    // The job's copies, as the last row left them.
    QList<LMNGraphic*> Graphics_array_Batch() const;
    // The series the items read, with their values.
    const QList<Series_Column>& data_table_content() const { return m_series; }

private:
    // The value of a series at a row for a bound item, and its position.
    QString seriesValueAt(int row, const QString& name, int* position) const;
    QList<LMNGraphicPtr> decode() const;

    QList<QByteArray> m_archives;
    QList<QRectF> m_boxes;
    QList<Series_Column> m_series;
    QMap<int, QStringList> m_excel;
    QList<LMNGraphicPtr> m_copies;   // filled row by row on the GUI thread
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

    // ---- Counting the rows, and the rows of a job ----
    // The rows of the design as it stands: which sources the front items are
    // bound to and how many rows they give (Total_Batch_Excel_Card, at least
    // 1). Changes nothing; any thread (the items are read on the GUI thread).
    Batch_Row_Count Count_Rows() const;
    // The rows of a job with the sources `count` says are in use: copies of
    // the front items and the values they read, now. Any thread.
    std::shared_ptr<const Design_Rows> Make_Rows(const Batch_Row_Count& count) const;
    // Empties the spreadsheet rows.
    void Clear_Delete_Excel_table_rows();
    // Rows of the spreadsheet source.
    int Calculate_Excel_table_rows() const;

    // ---- Look-ups ----
    // Position of a series in a fresh series list (case-insensitive); -1.
    static int Get_Data_SetIndex_According_Name(const QString& name);
    // The first spreadsheet row's cell; " " for an empty value column; "" without rows.
    QString Get_First_Value_Of_Excel_Binding(int col) const;
    // Makes the rows of now and fills the live items with row 0, then
    // redraws the canvas: the design shows its first row.
    void Select_first_row_value_for_design();

    // ---- Combo boxes and the data-source panel ----
    // Every column title of the spreadsheet rows, position 0 included.
    void Fill_Excel_Col_Name_In_Combo(QComboBox* combo) const;
    // With exactly three entries, removes "Excel".
    static void Remove_Excel_Col_Name_In_Combo(QComboBox* combo);
    static void Add_Excel_Col_Name_In_Combo(QComboBox*) {}
    // The view button of a data-source panel: "Manual" does nothing; "Series"
    // opens the series viewer (`openSeries`) or says "Please select the
    // series."; any other choice opens the spreadsheet viewer on `sheetRows`.
    static void View_batch_Series_Button(const QString& sourceChoice, const QString& series,
                                         const std::function<void(const QString&)>& openSeries,
                                         Excel_Rows* sheetRows = nullptr);
    static void Data_Source_Help_Button();

    // ---- Design back-up ----
    // Archives every live item as the one element of the back-up list.
    void Create_Design_Backup_Array();
    // Designing mode: the back-up, then a redraw.
    void Set_Front_Back_Value_To_Print_Export_Mail();
    // Designing mode: rebuilds the canvas from the back-up on the GUI thread
    // (items that still equal it are kept) and leaves nothing selected.
    // Nothing happens without a back-up.
    void Create_Card_Design_Again();
    // Designing mode: the canvas redraws again (Card_Value_In_Process off);
    // with start option "G" shows the front side (`selectFrontSide`).
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
    // The steps of Count_Rows, on the GUI thread over the front items.
    // Whether a printed text, picture or barcode reads a series; whether
    // one of them (printed or not) reads the spreadsheet.
    static bool Check_Front_Side_Dataset_Is_Used(const QList<LMNGraphic*>& items);
    static bool Check_Front_Side_Excel_Binding_Is_Used(const QList<LMNGraphic*>& items);
    // The series binding: Use_Data_Sheet_Values and, while it is in use,
    // Data_table_rows.
    static void Check_Data_Sheet_Value_Use_or_Not(const QList<LMNGraphic*>& items, Batch_Row_Count& count);
    // The spreadsheet binding: Excel_table_rows, and Use_Excel_Binding_Values
    // when an item reads the spreadsheet and it holds rows.
    void Check_Excel_Binding_Value_Use_or_Not(const QList<LMNGraphic*>& items, Batch_Row_Count& count) const;
    // The series the items bound to a series read (a barcode also its header
    // and footer series), each once with its position in the series folder
    // and its values; a series not in the folder is left out.
    static QList<Series_Column> Create_Dataset_binding_table(const QList<LMNGraphic*>& items);
    // The rows of the longest series of the table; 0 for none.
    static int Calculate_data_table_rows(const QList<Series_Column>& table);

    mutable QMutex m_lock;      // source path, back-up
    Excel_Rows m_excel;
    QString m_excelSourcePath;
    bool m_excelBindingUse = false;
    QList<QList<QByteArray>> m_backup;  // Graphics_array_Batch_Front_Bkup
};
