#pragma once
#include "core/util/Services.h"
// What the batch jobs (printing, PDF and image export, e-mail, batch cropping)
// and the data windows use of the main window: the rows of barcode mode, the
// filling of a card with one row of bound values, the design back-up around a
// job, and the commands that open windows of a neighbouring subsystem.
//
// The main window implements it and stores itself in App_Services().Batch_Services; the
// subsystems below the main window reach it only through this pointer. Tests
// install a fake (tests/common/FakeBatchServices.h).
//
// Threads: the count and the rows of a job may be asked for from a worker
// (the GUI thread does the reading while the caller waits); a job's rows are
// then its own (Batch_Row_Source). Everything else is called on the GUI
// thread.
#include "core/util/BarcodeSettings.h"
#include "platform/PtImage.h"

#include <QList>
#include <QMap>
#include <QString>
#include <QSizeF>
#include <QStringList>

#include <algorithm>
#include <atomic>
#include <memory>

class QWidget;

// One row of the barcode list: "Value", "Header", "Footer", "PQ".
using BarcodeListRow = QMap<QString, QString>;

// What the batch jobs read of barcode mode, as one value taken on the GUI thread.
struct BarcodeModeState {
    bool linear = true;              // liner_or_2D_font == 0
    bool dataSource = false;         // data_source_chkbox: values come from the list or a series
    bool listFeeds = true;           // Custom_Sheet_RD: the list is the source
    bool seriesFeeds = false;        // Data_Set_Sheet_RD: a series is the source
    bool valueChecked = false;       // barcode_value_chk
    bool headerChecked = false;      // barcode_header_chk
    bool footerChecked = false;      // barcode_footer_chk
    QString valueSeries, headerSeries, footerSeries;  // chosen series names ("" none)
    QString value, header, footer;   // the typed texts (2D value for 2D symbologies)
    bool transparentBackground = false;  // brcd_bk_clr_trnsp_rd
    BarcodeSettings settings;        // the settings of barcode mode
};

// The rows of the batch as a window sees them when it opens: counted afresh
// from the sources in use, written nowhere. Rows and labels are held apart:
// a label is a row repeated by its print quantity.
struct Batch_Row_Count {
    bool designing = false;                // counted in designing mode
    bool Use_Data_Sheet_Values = false;    // batch values in use: bound series (designing), the list or a series (barcode)
    bool Use_Excel_Binding_Values = false; // designing: items take values from the spreadsheet rows
    bool seriesFeeds = false;              // barcode mode: a series feeds the values (one label a row)
    int Total_Barcode_Label_wd_Batch = 0;  // barcode mode: rows of the list or the series, 1 without batch values
    int Total_Batch_Excel_Card = 1;        // rows of the current source, at least 1
    int Total_Label_Wd_PQ = 1;             // labels: each row by its print quantity (barcode mode, the list)
    int Data_table_rows = 0;               // designing: rows of the bound series (the longest)
    int Excel_table_rows = 0;              // designing: rows of the spreadsheet

    // One label a row is possible (the batch boxes of the windows).
    bool batch() const { return Use_Data_Sheet_Values || Use_Excel_Binding_Values; }
    // The rows a job of this mode walks.
    int rows() const { return designing ? Total_Batch_Excel_Card : Total_Barcode_Label_wd_Batch; }
    // Designing mode: the rows of the sources in use, the larger of their
    // row counts and at least 1 (a source not in use counts no rows).
    void Get_total_Card_count()
    {
        const int n = std::max(Use_Data_Sheet_Values ? Data_table_rows : 0,
                               Use_Excel_Binding_Values ? Excel_table_rows : 0);
        Total_Batch_Excel_Card = Total_Label_Wd_PQ = std::max(1, n);
    }
    // Designing mode: the count of a job that takes only the sources whose
    // box is on (the export sheet's boxes).
    Batch_Row_Count only(bool series, bool excel) const
    {
        Batch_Row_Count c = *this;
        c.Use_Data_Sheet_Values = Use_Data_Sheet_Values && series;
        c.Use_Excel_Binding_Values = Use_Excel_Binding_Values && excel;
        c.Get_total_Card_count();
        return c;
    }
};

// The texts of one row of a barcode batch, trimmed: from the list, the
// chosen series or the typed fields, as the batch switches say.
struct Batch_Row_Texts {
    QString value, header, footer;
};

// The rows of one job, read once on the GUI thread when the job is made and
// shared by pointer by the job's window, its preview and its worker. What a
// source answers never changes while it lives; image() may be called from any
// thread (a designing-mode source fills its own copies of the design's items
// on the GUI thread while the caller waits).
class Batch_Row_Source {
public:
    explicit Batch_Row_Source(const Batch_Row_Count& count) : m_count(count) {}
    virtual ~Batch_Row_Source();
    Batch_Row_Source(const Batch_Row_Source&) = delete;
    Batch_Row_Source& operator=(const Batch_Row_Source&) = delete;

    // The count the source was made with.
    const Batch_Row_Count& count() const { return m_count; }
    // Rows of the job: the rows of the count.
    int rowCount() const { return m_count.rows(); }

    // Barcode mode: the texts of row `row` ("" past the rows).
    virtual Batch_Row_Texts texts(int row) const = 0;
    // Designing mode: row `row` of the series `series` as the job read it
    // (names the files of a card export); "" without it.
    virtual QString seriesValue(int row, const QString& series) const { return {}; }
    // Copies of the row: its print quantity while the list feeds the batch
    // (an empty or bad one counts as 1), else 1; 0 past the rows.
    virtual int printQuantity(int row) const = 0;
    // The label of the row; null when the row gives none.
    virtual PtImage image(int row) const = 0;
    // The label without batch values: the typed barcode, the card as it is.
    virtual PtImage currentImage() const = 0;
    // Whether the row gives a label, found as cheaply as the kind allows.
    virtual bool givesImage(int row) const { return !image(row).isNull(); }
    // Whether image() may run on several threads at once, none of them the
    // GUI thread's business: a job may then make its rows ahead on workers
    // while it draws (barcode mode's rows, made by the road alone).
    virtual bool imagesOnAnyThread() const { return false; }
    // Labels among rows `start` .. `end` - 1 whose rows give a label, each
    // repeated by its copies when `withPQ`; counting stops at `cap`.
    virtual int Calculate_Valid_Barcode_for_skip_invalid(bool withPQ, int start, int end, int cap) const;

protected:
    Batch_Row_Count m_count;
};
using Batch_Rows = std::shared_ptr<const Batch_Row_Source>;

class BatchServices {
public:
    virtual ~BatchServices();

    // ---- The rows ----
    // Counts the rows of the sources in use (both modes), afresh; changes
    // nothing. Any thread (a worker waits for the GUI thread).
    virtual Batch_Row_Count Check_Series_Or_Excel_Use_or_not() const = 0;
    // The rows of a job, counted and read now: barcode mode copies the
    // settings and the rows' texts and makes each image with the road on the
    // caller's thread; designing mode takes copies of the design's items and
    // the values they are bound to. Any thread.
    Batch_Rows Make_Batch_Rows() const { return Make_Batch_Rows_Of(true, true); }
    // The same with only the sources whose box is on (designing mode: the
    // bound series, the spreadsheet).
    virtual Batch_Rows Make_Batch_Rows_Of(bool series, bool excel) const = 0;

    // ---- Barcode mode ----
    // Shows row 1 of the batch in the main window.
    virtual void Select_First_Value_For_Barcode_Setting_Mode() = 0;
    // The barcode-mode state, read on the GUI thread.
    virtual BarcodeModeState Barcode_Mode_State() const = 0;
    // The invalid-data picture of barcode mode (Invalid_Barcode_Data_Image),
    // written for a row that gives no barcode when such rows are not skipped.
    virtual PtImage Invalid_Barcode_Data_Image() const = 0;

    // ---- Checks of the print and PDF commands in barcode mode ----
    // Validates the typed value (and, with checkImage, the current barcode
    // and its preview); with showMessage says "Invalid barcode value or
    // value is too long." when it fails.
    virtual bool Check_And_Validat_Barcode(bool showMessage, bool checkImage) = 0;
    // Draws a typed 2D value again when no list feeds the value.
    virtual void Draw_2d_barcode_again_for_manual() = 0;
    // The selected row: of the list table when the list is the source, else
    // Last_Selected_Index of the series combos (-1 none).
    virtual int Selected_Barcode_Row() const = 0;
    // Selects a row of the source (list table or series combos) and shows
    // its barcode; -1 clears the series selection.
    virtual void Select_Valid_Value_For_Barcode_Setting_Mode(int row) = 0;
    // Gives the barcode list the keyboard focus.
    virtual void Focus_Barcode_List() = 0;

    // ---- Batch binding of designing mode ----
    // Opens the series value viewer on a series.
    virtual void Open_Series_Value_Box(const QString& name) = 0;
    // Fills the live design with row 0 so the canvas shows the first row.
    virtual void Select_first_row_value_for_design() = 0;

    // ---- Design back-up around a job ----
    virtual void Set_Front_Back_Value_To_Print_Export_Mail() = 0;
    virtual void Create_Card_Design_Again() = 0;
    virtual void Set_Graphic_Array_According_Side() = 0;

    // ---- Design, card and windows of neighbours ----
    // Writes the open design to `path` ("L" a design, "T" a user template).
    virtual bool Save_project_file(const QString& path, bool showMessage,
                                   const QString& logOrTemplate) = 0;
    // The card size in points.
    virtual QSizeF Card_Size() const = 0;
    // Sizes the document and the card canvas (points), as the card-size
    // apply button does (Set_Document_Size, SetDocumentCanvasSize).
    virtual void SetDocumentCanvasSize(QSizeF points) = 0;
    // Opens the picture library ("C" item pictures, "B" backgrounds); the
    // chosen path, or "" when none was chosen.
    virtual QString Open_Image_Library_Window(const QString& mode) = 0;
    // The window that hosts sheets and the progress window.
    virtual QWidget* Main_wnd() const = 0;

    // ---- Mode ----
    // The main window's mode: 0 barcode mode (the main window owns the
    // barcode settings), 1 designing mode (the barcode dialog owns them).
    virtual int Barcode_Setting_Or_Designing_Mode() const = 0;
    // The design's start option: "T" template, "W" wizard, "L" design file,
    // "V" and "G" the two batch starts ("" after a new project).
    virtual QString Start_Card_Option() const = 0;
};

// The main window's Start_Card_Option; "T" while there is no main window.
QString Design_Start_Option();

// Whether the main window is in designing mode; barcode mode while there is
// no main window.
bool Designing_Mode_Active();

// The one main window as the batch jobs see it is App_Services().Batch_Services.
