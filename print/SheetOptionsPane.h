#pragma once
// The sheet options the print window and the PDF export window share: the
// label entered by hand (width, height, rows, columns and gaps, in
// millimetres), where the grid sits (the nine alignment buttons or Auto
// Center), the range (All with its Total, or rows From..To), the batch boxes
// (one label a row, skip rows without a barcode, print quantities), the
// label outlines, the page margins shown and the sheet preview.
//
// The pane owns these controls, the alignment and the grid it keeps while a
// layout forces one label. Each window places the boxes the pane builds in
// its own layout and keeps what differs to itself (the printer, copies,
// label-sheet catalogue and fit to frame; the page, file layouts and
// label-sized pages). The pane's face: load() shows a sheet job, writeTo()
// writes the controls into one, and changed() says what a change by the
// user needs of the window. The window's sheet job is what the pane wrote,
// laid out on the window's page; the preview draws that job and every print
// or PDF job starts from it (print/SheetJobBuilder.h).
#include "core/util/BatchServices.h"
#include "print/SheetJob.h"
#include "print/SheetLayout.h"

#include <QMarginsF>
#include <QObject>
#include <QSizeF>
#include <QString>

#include <array>
#include <functional>

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLayout;
class QLabel;
class QLineEdit;
class QRadioButton;
class QScrollArea;
class QToolButton;
class QVBoxLayout;
class QWidget;
class Sample_Preview;
class Stepper;

// What a change in the pane needs of its window.
enum class Sheet_Need {
    Nothing,   // a value the sheet does not show changed (the range, the Total)
    Preview,   // the sheet is drawn again (an option, the alignment)
    Layout,    // the cells are laid out on the page again (label size, gaps, Auto Center)
    Cells,     // the rows or columns changed: laid out again, the Total following the cells
};

// Why the grid is held at one label.
enum class Grid_Lock {
    Free,          // the grid as entered
    One_Label,     // one label a page (the PDF's layouts of a label a file or a page): Auto Center still places it
    Fit_To_Frame,  // one label filling the printable area: Auto Center and the alignment wait
};

// The rows of the batch as the main window has them now (null without a
// main window).
Batch_Rows Current_Batch_Rows();
// The sheet job a window opens with (Opening_Sheet_Job) in the main window's
// mode: its rows, the card's shape, and the label without batch values: the
// front of the card at the card's size, or the typed barcode.
Sheet_Job Current_Opening_Job();

class QDialog;

// Opens a sheet window: `reset` (an exception is logged and shown; the
// window then runs only when `runAfterFailure`), then the window modally.
// True when it ended normally (code 0 or 1).
bool Open_Sheet_Window(QDialog& window, const std::function<void()>& reset, bool runAfterFailure);

class Sheet_Options_Pane : public QObject {
    Q_OBJECT
public:
    // How the preview fits its sheet into its room: the paper's width across
    // (the sheet scrolls), or the whole page in view.
    enum class Preview_Fit { Width, Whole_Page };
    // The controls are made in `window`, which places them with the
    // Build_ functions below; the preview draws `shown`, the window's job.
    Sheet_Options_Pane(QWidget* window, const Sheet_Job* shown, Preview_Fit fit);

    // ---- Face ----
    // What a window does for a need of its pane: `layOut` writes the pane
    // into the window's job and lays the cells out on the window's page;
    // `check` does that and draws the sheet again (Check_Max_Cell_Value).
    // The Total follows new cells (Total_Follows_Cells) when there are no
    // batch values.
    void Follow_Need(Sheet_Need need, const std::function<void()>& layOut, const std::function<void()>& check);
    // Shows the job: its label, grid, placement, outlines, page margins,
    // batch boxes and range; the kept grid becomes the job's. Emits nothing.
    void load(const Sheet_Job& job);
    // The controls into a job: the rows and mode loaded, the label (its
    // cells as entered), the grid and gaps as entered, the placement, the
    // outlines, the batch boxes and the range as typed.
    void writeTo(Sheet_Job& job) const;
    // The count of the rows loaded (or taken again by Verify_Card_Count).
    Batch_Row_Count rowCount() const;

    // ---- Building (each once, into the window's layout) ----
    // The label's fields, two a row: the grid first (columns and rows, gaps,
    // width and height), or the size first (width and height, rows and
    // columns, gaps).
    enum class Label_Order { Grid_First, Size_First };
    QGridLayout* Build_Label_Fields(Label_Order order);
    // card_align_box with the nine buttons (icons of `iconSize`) in
    // align_Gp_Bx; the window completes its row with Auto Center.
    QHBoxLayout* Build_Alignment_Box(int iconSize);
    QGroupBox* Build_Range_Box(const QString& title);
    // The batch box (titled `batchTitle`), skip invalid and print quantities;
    // with `keepRoom` the two boxes one mode hides keep their room in the
    // other.
    QVBoxLayout* Build_Batch_Boxes(const QString& batchTitle, bool keepRoom);
    // "Margins L [] R [] T [] B []".
    QHBoxLayout* Build_Margin_Fields();
    QScrollArea* Build_Preview(int minWidth);

    // ---- Range and batch ----
    void All_print_RD_Clicked();
    void Sel_Print_RD_Clicked();
    void From_Stepper_Changed(QObject* sender);
    void To_Stepper_Changed(QObject* sender);
    void Total_Val_Changed(QObject* sender);
    void Set_Tot_Value(int value, int maximum, const QString& set_for);
    void Set_Enable_Diable_Range_Box();
    void Verify_Card_Count();
    void Print_With_Batch_Changed();
    void Print_Qty_Checked();
    void Skip_Inavlid_Checked();
    void Show_Margin_Checked();
    // Total, From or To typed: a whole number of at least 1, within what the
    // batch gives, the steppers following.
    void controlTextDidChange(QLineEdit* field);
    // Without batch values the Total becomes the cells of the shown sheet.
    void Total_Follows_Cells();

    // ---- Label and placement ----
    void Horz_Margin_Changed(QObject* sender);
    void Vert_Margin_Changed(QObject* sender);
    void Width_Changed(QObject* sender);
    void Height_Changed(QObject* sender);
    void Row_Changed(QObject* sender);
    void Col_Changed(QObject* sender);
    void Auto_Center_Checked();
    // The nine placement buttons: each sets its placement (1 top-left ...
    // 9 bottom-right) and refreshes the preview.
    void Top_left_btn_clicked();
    void Top_center_btn_clicked();
    void Top_rite_btn_clicked();
    void Mid_left_btn_clicked();
    void Mid_center_btn_clicked();
    void Mid_rite_btn_clicked();
    void Bot_left_btn_clicked();
    void Bot_center_btn_clicked();
    void Bot_rite_btn_clicked();
    // The alignment (label_align_val) without a redraw.
    int alignment() const { return m_alignment; }
    void Set_Alignment(int value);
    void Set_Reset_Alignemnt_Image();
    // The grid kept while a layout holds one label, and given back after.
    void Capture_Last_Values();
    // One label: gaps 0, one row and one column, none of them editable.
    void Disable_for_fit_or_duplex(Grid_Lock lock);
    // The grid kept before, editable again (the gaps while Auto Center is off).
    void Normal_Printing_Is_Selected();
    // The placement box on or off (the alignment off while Auto Center is on).
    void Enable_Placement(bool on);
    // The rows and columns the page holds, where fewer than entered.
    void Show_Fitted_Grid(const Grid_Fit& fit);
    // The page margins shown (points).
    void Show_Page_Margins(const QMarginsF& margins);

    // ---- Preview ----
    // The preview shows a sheet of this size (points), scaled to its room.
    void Set_Preview_Sheet(QSizeF sheet);
    void Refresh_Preview();

    // ---- Outlets ----
    QLineEdit* width_Text = nullptr;     Stepper* width_Stepper = nullptr;
    QLineEdit* height_Text = nullptr;    Stepper* height_Stepper = nullptr;
    QLineEdit* Row_Text = nullptr;       Stepper* Row_Stepper = nullptr;
    QLineEdit* Col_Text = nullptr;       Stepper* Col_Stepper = nullptr;
    QLineEdit* horz_mar_Text = nullptr;  Stepper* horz_mar_Stepper = nullptr;
    QLineEdit* vert_mar_Text = nullptr;  Stepper* vert_mar_Stepper = nullptr;
    QGroupBox* card_align_box = nullptr;
    QCheckBox* Auto_Center_chk_bx = nullptr;
    QGroupBox* align_Gp_Bx = nullptr;
    QToolButton* top_left_btn = nullptr;
    QToolButton* top_center_btn = nullptr;
    QToolButton* top_rite_btn = nullptr;
    QToolButton* mid_left_btn = nullptr;
    QToolButton* mid_center_btn = nullptr;
    QToolButton* mid_rite_btn = nullptr;
    QToolButton* bot_left_btn = nullptr;
    QToolButton* bot_center_btn = nullptr;
    QToolButton* bot_rite_btn = nullptr;
    // The nine placement buttons in placement order, top-left first.
    std::array<QToolButton*, 9> Alignment_Buttons() const
    {
        return {top_left_btn, top_center_btn, top_rite_btn, mid_left_btn, mid_center_btn,
                mid_rite_btn, bot_left_btn, bot_center_btn, bot_rite_btn};
    }
    QCheckBox* Show_Margins = nullptr;
    QLineEdit* l_mar_id = nullptr;
    QLineEdit* r_mar_id = nullptr;
    QLineEdit* t_mar_id = nullptr;
    QLineEdit* b_mar_id = nullptr;

    QGroupBox* export_range_box = nullptr;
    QRadioButton* All_print_rd = nullptr;
    QRadioButton* Sel_print_rd = nullptr;
    QLabel* tot_label = nullptr;
    QLabel* from_label = nullptr;
    QLabel* to_label = nullptr;
    QLineEdit* Total_Text = nullptr;     Stepper* Total_Stepper = nullptr;
    QLineEdit* from_Text = nullptr;      Stepper* from_Stepper = nullptr;
    QLineEdit* To_Text = nullptr;        Stepper* To_Stepper = nullptr;
    QCheckBox* print_with_batch_chk = nullptr;
    QCheckBox* skip_inavlid_chk = nullptr;
    QCheckBox* print_qty_chk = nullptr;

    QScrollArea* Print_sclview = nullptr;
    Sample_Preview* PrintView = nullptr;

    // The grid kept while a layout holds one label.
    float LAST_Side_Mar = 0, LAST_Horz_Mar = 0, LAST_Vert_Mar = 0;
    int LAST_Row = 1, LAST_Column = 1;

signals:
    void changed(Sheet_Need need);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void makeControls(QWidget* window);
    void connectControls();
    void loadBoxes(const Sheet_Job& job);
    // A field and its stepper agree after `sender` changed; the window hears
    // what that needs.
    void pairChanged(QObject* sender, QLineEdit* field, Stepper* stepper, Sheet_Need need);
    // All with its Total, or the rows From..To, enabled accordingly.
    void showRange(bool all);
    // The controls as a job (writeTo into a fresh one).
    Sheet_Job controls() const;
    // Cells of the shown sheet: its rows times its columns.
    int cells() const;
    // After a placement button: the preview, unless fit to frame places the
    // picture.
    void Alignment_Changed();

    // Layouts made with the controls, handed to the window by Build_.
    enum Label_Pair { Columns, Rows, Horizontal_Gap, Vertical_Gap, Width, Height, Label_Pair_Count };
    QLayout* m_labelPairs[Label_Pair_Count] = {};
    QHBoxLayout* m_alignRow = nullptr;
    QVBoxLayout* m_batchBoxes = nullptr;
    QHBoxLayout* m_marginRow = nullptr;

    const Sheet_Job* m_shown = nullptr;
    Preview_Fit m_fit = Preview_Fit::Width;
    QSizeF m_previewSheet;
    Batch_Rows m_rows;
    bool m_designing = false;
    int m_cardShape = 0;
    int m_alignment = 1;
    Grid_Lock m_lock = Grid_Lock::Free;
};
