#pragma once
// What the print window and the PDF export window share: the fields of a
// label sheet entered by hand (label size, rows, columns, gaps, alignment or
// auto-centre), the range box and the batch options, the sheet preview, and
// the handlers that act on them alike in both windows. Each window builds the
// controls into its own layout and keeps what differs (the range maximum,
// the page, the jobs) to itself.
#include "core/util/BatchServices.h"
#include "print/SheetJob.h"

#include <QDialog>
#include <QSizeF>
#include <QString>

#include <functional>

class QCheckBox;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QToolButton;
class Sample_Preview;
class Stepper;

// Small pieces of the sheet windows and the new-label wizard.
namespace sheetui {

QString mm2(double v);                   // two decimals, C locale
double num(const QLineEdit* f);          // the field's leading number
int inum(const QLineEdit* f);            // the field's leading whole number
QString floatText(double v);             // shortest text that reads back as the same float
// Sets a stepper (may be null) and its field.
void setPair(QLineEdit* field, Stepper* stepper, double v, const QString& text);
QLineEdit* readOnlyField(int width = 0);
// A text field and its stepper side by side (a layout, so that enabling the
// box around them reaches each control); `floats` lets only numbers in.
QHBoxLayout* pairWidget(QLineEdit*& field, Stepper*& stepper, double min, double max, double step, bool floats,
                        int fieldWidth = 64);
// A size as typed, cleaned while typing: letters, spaces and characters that
// are no characters cut from both ends, ten characters at most.
QString Size_Field_Text(const QString& typed);

} // namespace sheetui

class Sheet_Window : public QDialog {
    Q_OBJECT
public:
    using QDialog::QDialog;

    // ---- Range and options ----
    void All_print_RD_Clicked();
    void Sel_Print_RD_Clicked();
    void From_Stepper_Changed(QObject* sender);
    void To_Stepper_Changed(QObject* sender);
    void Total_Val_Changed(QObject* sender);
    // The total and the range: `set_for` "TOT" sets the total, "TO" the last
    // row, "A" both; 0 counts as 1. Without batch values every field goes up
    // to 999999; with them the total to `maximum` and, in barcode mode, the
    // range to the rows (the total counts labels, each row repeated by its
    // print quantity; the range counts rows).
    void Set_Tot_Value(int value, int maximum, const QString& set_for);
    // Total, From or To typed: a whole number of at least 1, within what the
    // batch gives, the steppers following. False for any other field.
    bool Range_Text_Changed(QLineEdit* field);
    void Set_Enable_Diable_Range_Box();
    // The rows and labels of a job as the range box and the batch options
    // give them: All (every row of the source, as many labels as Total says)
    // or rows From..To, each repeated by its print quantity. `labels` is what
    // the job lays out at most; `total` the labels it will lay out (in barcode
    // mode with skipping, only the labels of rows that give a barcode). False
    // after "Please select valid range.".
    struct Job_Range {
        int start = 0;    // first row, 0-based
        int end = 0;      // the row after the last
        int labels = 0;
        int total = 0;
        // Skipping rows without a barcode: the labels of the rows that give one.
        int printable_label_count = 0;
    };
    bool Range_Of_Job(Job_Range& range) const;
    void Verify_Card_Count();
    void Capture_Last_Values();
    void Print_With_Batch_Changed();
    void Print_Qty_Checked();
    // Barcode mode with batch values: the total of labels, each row by its
    // print quantity when that box is on, else one a row.
    int Total_From_Quantity_Box();
    void Skip_Inavlid_Checked();
    void Show_Margin_Checked();
    void Set_Reset_Alignemnt_Image();
    void Refresh_Preview();

    // ---- Each window's own handlers of the sheet fields ----
    virtual void Horz_Margin_Changed(QObject* sender) = 0;
    virtual void Vert_Margin_Changed(QObject* sender) = 0;
    virtual void Width_Changed(QObject* sender) = 0;
    virtual void Height_Changed(QObject* sender) = 0;
    virtual void Row_Changed(QObject* sender) = 0;
    virtual void Col_Changed(QObject* sender) = 0;
    virtual void Auto_Center_Checked() = 0;
    virtual void Alignment_Clicked(int value) = 0;   // 1 top-left ... 9 bottom-right
    // A field typed in, and left.
    virtual void controlTextDidChange(QLineEdit* field) = 0;
    virtual void controlTextDidEndEditing(QLineEdit* field) {}

    // ---- Building ----
    // The range box (All with its Total, or Rows From..To) titled `title`.
    QGroupBox* Build_Range_Box(const QString& title);
    // card_align_box with the nine alignment buttons in align_Gp_Bx (icons
    // of `iconSize`) and the Auto Center box made; returns the box's row,
    // holding the buttons, for the window to complete.
    QHBoxLayout* Build_Alignment_Box(int iconSize);
    // The preview's scroll view and sheet, at least `minWidth` wide.
    QScrollArea* Build_Preview(int minWidth);
    // The range radios and the batch, quantity, skip and outline boxes to
    // their handlers.
    void Connect_Range_And_Options();
    // A field and its stepper: typing goes to controlTextDidChange, leaving
    // the field to controlTextDidEndEditing and then `changed`, a step to
    // `changed`.
    void Connect_Field(QLineEdit* field, Stepper* stepper, const std::function<void(QObject*)>& changed);
    // The label sheet's fields, the range fields, Auto Center and the nine
    // alignment buttons to their handlers.
    void Connect_Sheet_Fields();

    // ---- Opening ----
    // All labels, From 1, the From..To fields off.
    void Reset_Range_Fields();
    // Designing mode: the label is the card (the size fields fixed,
    // Barcode_Image the front of the card); a series or a spreadsheet binding
    // gives one card a row (a design bound to a spreadsheet only is a batch
    // too). The barcode options are hidden. Returns the label size.
    QSizeF Reset_For_Card_Label();

    // ---- Outlets ----
    QScrollArea* Print_sclview = nullptr;
    Sample_Preview* PrintView = nullptr;
    QLineEdit* l_mar_id = nullptr;
    QLineEdit* r_mar_id = nullptr;
    QLineEdit* t_mar_id = nullptr;
    QLineEdit* b_mar_id = nullptr;
    QPushButton* page_setup_btn = nullptr;

    QLineEdit* width_Text = nullptr;     Stepper* width_Stepper = nullptr;
    QLineEdit* height_Text = nullptr;    Stepper* height_Stepper = nullptr;
    QLineEdit* Row_Text = nullptr;       Stepper* Row_Stepper = nullptr;
    QLineEdit* Col_Text = nullptr;       Stepper* Col_Stepper = nullptr;
    QLineEdit* horz_mar_Text = nullptr;  Stepper* horz_mar_Stepper = nullptr;
    QLineEdit* vert_mar_Text = nullptr;  Stepper* vert_mar_Stepper = nullptr;
    QGroupBox* card_align_box = nullptr;
    QCheckBox* Auto_Center_chk_bx = nullptr;
    QGroupBox* align_Gp_Bx = nullptr;
    QToolButton* align_btn[9] = {};      // top_left_btn ... bot_rite_btn
    QCheckBox* Show_Margins = nullptr;

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

    // The rows of the window's jobs, taken when it opened (and again when
    // designing mode's batch box changes), and their count.
    Batch_Rows batchRows;
    Batch_Row_Count rowCount;
    // The window's sheet job: its controls write into it, its preview draws
    // it, and each job starts from a copy of it.
    Sheet_Job sheet;
    // Takes the rows of the sources as they stand now.
    void Take_Batch_Rows();

    // Kept values of the grid, given back when a one-label layout ends.
    float LAST_Side_Mar = 0, LAST_Horz_Mar = 0, LAST_Vert_Mar = 0;
    int LAST_Row = 1, LAST_Column = 1;

protected:
    // The pair of a field: its stepper, and the other way round.
    virtual void copyPair(QObject* sender, QLineEdit* field, Stepper* stepper, bool isInt, bool twoDecimals = false);
};
