#include "print/SheetOptionsPane.h"

#include "barcode/generation/BarcodeRoad.h"
#include "barcode/generation/panes/Stepper.h"
#include "core/canvas/LMNRenderingView.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "platform/MessageSink.h"
#include "platform/WindowFit.h"
#include "print/PrintControls.h"
#include "print/Sample_Preview.h"
#include "print/SheetFields.h"
#include "print/SheetJobBuilder.h"

#include <QCheckBox>
#include <QDialog>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>
#include <initializer_list>

using namespace sheetui;

Batch_Rows Current_Batch_Rows()
{
    return App_Services().Batch_Services ? App_Services().Batch_Services->Make_Batch_Rows() : nullptr;
}

Sheet_Job Current_Opening_Job()
{
    const bool designing = Designing_Mode_Active();
    BatchServices* services = App_Services().Batch_Services;
    MainWindowServices* main = App_Services().Main_App_wnd;
    Batch_Rows rows = Current_Batch_Rows();
    PtImage label;
    QSizeF size;
    if (designing) {
        label = main ? LMNRenderingView::image_From_Card_Graphics(main->Get_Front_Controls_Array(), false) : PtImage();
        size = services ? services->Card_Size() : label.size();
    } else {
        const BarcodeModeState state = services ? services->Barcode_Mode_State() : BarcodeModeState();
        label = services ? Make_Barcode_Image(state.settings, state.value, state.header, state.footer) : PtImage();
        size = label.size();
    }
    Sheet_Job job = Opening_Sheet_Job(std::move(rows), designing, label, size);
    job.Card_Shape = main ? main->Card_Shape : 0;
    return job;
}

bool Open_Sheet_Window(QDialog& window, const std::function<void()>& reset, bool runAfterFailure)
{
    try {
        reset();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
        Show_MessageBox(QString::fromUtf8(e.what()));
        if (!runAfterFailure)
            return false;
    }
    const int code = Run_Modal_Dialog(window);
    window.hide();
    return code == 0 || code == 1;
}

// ---------------------------------------------------------------------------
// Building

Sheet_Options_Pane::Sheet_Options_Pane(QWidget* window, const Sheet_Job* shown, Preview_Fit fit)
    : QObject(window), m_shown(shown), m_fit(fit)
{
    makeControls(window);
    connectControls();
}

void Sheet_Options_Pane::makeControls(QWidget* window)
{
    // The label's fields, laid out by Build_Label_Fields.
    m_labelPairs[Columns] = pairWidget(Col_Text, Col_Stepper, 1, 999, 1, false);
    m_labelPairs[Rows] = pairWidget(Row_Text, Row_Stepper, 1, 999, 1, false);
    m_labelPairs[Horizontal_Gap] = pairWidget(horz_mar_Text, horz_mar_Stepper, 0, 1000, 0.5, true);
    m_labelPairs[Vertical_Gap] = pairWidget(vert_mar_Text, vert_mar_Stepper, 0, 1000, 0.5, true);
    m_labelPairs[Width] = pairWidget(width_Text, width_Stepper, 0.1, 5000, 1, true);
    m_labelPairs[Height] = pairWidget(height_Text, height_Stepper, 0.1, 5000, 1, true);

    // Placement.
    card_align_box = new QGroupBox(tr("Placement"), window);
    m_alignRow = new QHBoxLayout(card_align_box);
    Auto_Center_chk_bx = new QCheckBox(tr("Auto Center"), window);
    align_Gp_Bx = new QGroupBox(card_align_box);
    align_Gp_Bx->setFlat(true);
    auto* buttons = new QGridLayout(align_Gp_Bx);
    buttons->setSpacing(1);
    QToolButton** const places[9] = {&top_left_btn, &top_center_btn, &top_rite_btn,
                                     &mid_left_btn, &mid_center_btn, &mid_rite_btn,
                                     &bot_left_btn, &bot_center_btn, &bot_rite_btn};
    for (int k = 0; k < 9; ++k) {
        *places[k] = new QToolButton;
        (*places[k])->setAutoRaise(true);
        buttons->addWidget(*places[k], k / 3, k % 3);
    }
    m_alignRow->addWidget(align_Gp_Bx);
    Show_Margins = new QCheckBox(tr("Show label outlines"), window);

    // Range.
    export_range_box = new QGroupBox(window);
    auto* range = new QGridLayout(export_range_box);
    All_print_rd = new QRadioButton(tr("All"));
    Sel_print_rd = new QRadioButton(tr("Rows"));
    tot_label = new QLabel(tr("Total"));
    from_label = new QLabel(tr("From"));
    to_label = new QLabel(tr("To"));
    range->addWidget(All_print_rd, 0, 0);
    range->addWidget(tot_label, 0, 1);
    range->addLayout(pairWidget(Total_Text, Total_Stepper, 1, No_Batch_Maximum, 1, false), 0, 2, 1, 3);
    range->addWidget(Sel_print_rd, 1, 0);
    range->addWidget(from_label, 1, 1);
    range->addLayout(pairWidget(from_Text, from_Stepper, 1, No_Batch_Maximum, 1, false), 1, 2);
    range->addWidget(to_label, 1, 3);
    range->addLayout(pairWidget(To_Text, To_Stepper, 1, No_Batch_Maximum, 1, false), 1, 4);
    for (QLineEdit* f : {Total_Text, To_Text, from_Text})
        f->setValidator(new QIntValidator(0, No_Batch_Maximum, f));

    // Batch boxes.
    m_batchBoxes = new QVBoxLayout;
    print_with_batch_chk = new QCheckBox(window);
    skip_inavlid_chk = new QCheckBox(tr("Skip invalid barcodes"), window);
    print_qty_chk = new QCheckBox(tr("Use print quantities"), window);
    for (QCheckBox* box : {print_with_batch_chk, skip_inavlid_chk, print_qty_chk})
        m_batchBoxes->addWidget(box);

    // Page margins.
    m_marginRow = new QHBoxLayout;
    const char* sides[4] = {"Margins L", "R", "T", "B"};
    QLineEdit** fields[4] = {&l_mar_id, &r_mar_id, &t_mar_id, &b_mar_id};
    for (int k = 0; k < 4; ++k) {
        *fields[k] = readOnlyField(56);
        m_marginRow->addWidget(new QLabel(tr(sides[k]), window));
        m_marginRow->addWidget(*fields[k]);
    }

    // Preview.
    Print_sclview = new QScrollArea(window);
    Print_sclview->setBackgroundRole(QPalette::Mid);
    Print_sclview->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    PrintView = new Sample_Preview;
    PrintView->setJob(m_shown);
    Print_sclview->setWidget(PrintView);
    Print_sclview->viewport()->installEventFilter(this);
}

void Sheet_Options_Pane::connectControls()
{
    const auto typed = [this](QLineEdit* f) { controlTextDidChange(f); };
    connectPair(this, horz_mar_Text, horz_mar_Stepper, [this](QObject* s) { Horz_Margin_Changed(s); }, typed);
    connectPair(this, vert_mar_Text, vert_mar_Stepper, [this](QObject* s) { Vert_Margin_Changed(s); }, typed);
    connectPair(this, width_Text, width_Stepper, [this](QObject* s) { Width_Changed(s); }, typed);
    connectPair(this, height_Text, height_Stepper, [this](QObject* s) { Height_Changed(s); }, typed);
    connectPair(this, Row_Text, Row_Stepper, [this](QObject* s) { Row_Changed(s); }, typed);
    connectPair(this, Col_Text, Col_Stepper, [this](QObject* s) { Col_Changed(s); }, typed);
    connectPair(this, Total_Text, Total_Stepper, [this](QObject* s) { Total_Val_Changed(s); }, typed);
    connectPair(this, from_Text, from_Stepper, [this](QObject* s) { From_Stepper_Changed(s); }, typed);
    connectPair(this, To_Text, To_Stepper, [this](QObject* s) { To_Stepper_Changed(s); }, typed);
    connect(Auto_Center_chk_bx, &QCheckBox::clicked, this, &Sheet_Options_Pane::Auto_Center_Checked);
    connect(top_left_btn, &QToolButton::clicked, this, &Sheet_Options_Pane::Top_left_btn_clicked);
    connect(top_center_btn, &QToolButton::clicked, this, &Sheet_Options_Pane::Top_center_btn_clicked);
    connect(top_rite_btn, &QToolButton::clicked, this, &Sheet_Options_Pane::Top_rite_btn_clicked);
    connect(mid_left_btn, &QToolButton::clicked, this, &Sheet_Options_Pane::Mid_left_btn_clicked);
    connect(mid_center_btn, &QToolButton::clicked, this, &Sheet_Options_Pane::Mid_center_btn_clicked);
    connect(mid_rite_btn, &QToolButton::clicked, this, &Sheet_Options_Pane::Mid_rite_btn_clicked);
    connect(bot_left_btn, &QToolButton::clicked, this, &Sheet_Options_Pane::Bot_left_btn_clicked);
    connect(bot_center_btn, &QToolButton::clicked, this, &Sheet_Options_Pane::Bot_center_btn_clicked);
    connect(bot_rite_btn, &QToolButton::clicked, this, &Sheet_Options_Pane::Bot_rite_btn_clicked);
    connect(All_print_rd, &QRadioButton::clicked, this, &Sheet_Options_Pane::All_print_RD_Clicked);
    connect(Sel_print_rd, &QRadioButton::clicked, this, &Sheet_Options_Pane::Sel_Print_RD_Clicked);
    connect(print_with_batch_chk, &QCheckBox::clicked, this, &Sheet_Options_Pane::Print_With_Batch_Changed);
    connect(print_qty_chk, &QCheckBox::clicked, this, &Sheet_Options_Pane::Print_Qty_Checked);
    connect(skip_inavlid_chk, &QCheckBox::clicked, this, &Sheet_Options_Pane::Skip_Inavlid_Checked);
    connect(Show_Margins, &QCheckBox::clicked, this, &Sheet_Options_Pane::Show_Margin_Checked);
}

QGridLayout* Sheet_Options_Pane::Build_Label_Fields(Label_Order order)
{
    struct Place {
        Label_Pair pair;
        const char* title;
    };
    static constexpr Place gridFirst[] = {{Columns, "Columns"}, {Rows, "Rows"},
                                          {Horizontal_Gap, "Horizontal gap"}, {Vertical_Gap, "Vertical gap"},
                                          {Width, "Width"}, {Height, "Height"}};
    static constexpr Place sizeFirst[] = {{Width, "Width"}, {Height, "Height"},
                                          {Rows, "Rows"}, {Columns, "Columns"},
                                          {Horizontal_Gap, "Horizontal gap"}, {Vertical_Gap, "Vertical gap"}};
    auto* grid = new QGridLayout;
    const Place* places = order == Label_Order::Grid_First ? gridFirst : sizeFirst;
    for (int k = 0; k < Label_Pair_Count; ++k) {
        grid->addWidget(new QLabel(tr(places[k].title)), k / 2, 2 * (k % 2));
        grid->addLayout(m_labelPairs[places[k].pair], k / 2, 2 * (k % 2) + 1);
    }
    return grid;
}

QHBoxLayout* Sheet_Options_Pane::Build_Alignment_Box(int iconSize)
{
    for (QToolButton* b : Alignment_Buttons())
        b->setIconSize(QSize(iconSize, iconSize));
    return m_alignRow;
}

QGroupBox* Sheet_Options_Pane::Build_Range_Box(const QString& title)
{
    export_range_box->setTitle(title);
    return export_range_box;
}

QVBoxLayout* Sheet_Options_Pane::Build_Batch_Boxes(const QString& batchTitle, bool keepRoom)
{
    print_with_batch_chk->setText(batchTitle);
    if (keepRoom) {
        Keep_Room_When_Hidden(skip_inavlid_chk);
        Keep_Room_When_Hidden(print_qty_chk);
    }
    return m_batchBoxes;
}

QHBoxLayout* Sheet_Options_Pane::Build_Margin_Fields()
{
    return m_marginRow;
}

QScrollArea* Sheet_Options_Pane::Build_Preview(int minWidth)
{
    Print_sclview->setMinimumWidth(minWidth);
    return Print_sclview;
}

// ---------------------------------------------------------------------------
// Face

void Sheet_Options_Pane::load(const Sheet_Job& job)
{
    m_rows = job.rows;
    m_designing = job.designing;
    m_cardShape = job.Card_Shape;
    // The label: in designing mode the card, whose size stays.
    for (Stepper* s : {width_Stepper, height_Stepper})
        SetObjEnabled(s, !m_designing);
    width_Text->setReadOnly(m_designing);
    height_Text->setReadOnly(m_designing);
    const double wmm = Points_To_MM(job.Real_label_width), hmm = Points_To_MM(job.Real_label_hight);
    setPair(width_Text, width_Stepper, wmm, mm2(wmm));
    setPair(height_Text, height_Stepper, hmm, mm2(hmm));
    // The grid, editable, and kept as it is.
    setPair(Row_Text, Row_Stepper, job.Print_Row, QString::number(job.Print_Row));
    setPair(Col_Text, Col_Stepper, job.Print_Col, QString::number(job.Print_Col));
    const double hg = Points_To_MM(job.horz_mar), vg = Points_To_MM(job.vert_mar);
    setPair(horz_mar_Text, horz_mar_Stepper, hg, mm2(hg));
    setPair(vert_mar_Text, vert_mar_Stepper, vg, mm2(vg));
    Capture_Last_Values();
    m_lock = Grid_Lock::Free;
    for (QLineEdit* f : {horz_mar_Text, vert_mar_Text, Row_Text, Col_Text})
        f->setReadOnly(false);
    SetObjEnabled(Row_Stepper, true);
    SetObjEnabled(Col_Stepper, true);
    // Placement and outlines.
    Auto_Center_chk_bx->setChecked(job.auto_center_flag != 0);
    SetObjEnabled(horz_mar_Stepper, !job.auto_center_flag);
    SetObjEnabled(vert_mar_Stepper, !job.auto_center_flag);
    SetObjEnabled(align_Gp_Bx, true);
    Enable_Placement(true);
    Set_Alignment(job.label_align_val);
    Show_Margins->setChecked(job.Show_margin_rect != 0);
    Show_Page_Margins(job.Page_Margins());
    loadBoxes(job);
}

void Sheet_Options_Pane::loadBoxes(const Sheet_Job& job)
{
    const Sheet_Boxes& b = job.boxes;
    const bool batch = job.Use_Data_Sheet_Values;
    print_with_batch_chk->setVisible(true);
    print_with_batch_chk->setEnabled(b.batchOffered);
    print_with_batch_chk->setChecked(batch);
    skip_inavlid_chk->setVisible(b.skipShown);
    skip_inavlid_chk->setChecked(job.skip_invalid_barcode != 0);
    print_qty_chk->setVisible(b.quantityShown);
    print_qty_chk->setEnabled(b.quantityShown && batch);
    print_qty_chk->setChecked(job.print_wd_pq_opt != 0);
    All_print_rd->setChecked(b.allLabels);
    Sel_print_rd->setChecked(!b.allLabels);
    for (Stepper* s : {Total_Stepper, To_Stepper, from_Stepper})
        s->setMaximum(b.totalMaximum);
    To_Stepper->setMaximum(b.rangeMaximum);
    from_Stepper->setMaximum(b.rangeMaximum);
    setPair(Total_Text, Total_Stepper, b.Total, QString::number(b.Total));
    setPair(from_Text, from_Stepper, b.From, QString::number(b.From));
    setPair(To_Text, To_Stepper, b.To, QString::number(b.To));
    Set_Enable_Diable_Range_Box();
}

void Sheet_Options_Pane::writeTo(Sheet_Job& job) const
{
    job.rows = m_rows;
    job.designing = m_designing;
    job.Card_Shape = m_cardShape;
    job.Real_label_width = job.label_width = MM_To_Points(float(width_Stepper->value()));
    job.Real_label_hight = job.label_hight = MM_To_Points(float(height_Stepper->value()));
    job.Print_Row = std::max(1, inum(Row_Text));
    job.Print_Col = std::max(1, inum(Col_Text));
    job.horz_mar = MM_To_Points(float(num(horz_mar_Text)));
    job.vert_mar = MM_To_Points(float(num(vert_mar_Text)));
    job.auto_center_flag = Auto_Center_chk_bx->isChecked() ? 1 : 0;
    job.label_align_val = m_alignment;
    job.Show_margin_rect = Show_Margins->isChecked() ? 1 : 0;
    job.Use_Data_Sheet_Values = print_with_batch_chk->isChecked();
    job.skip_invalid_barcode = skip_inavlid_chk->isChecked() ? 1 : 0;
    job.print_wd_pq_opt = print_qty_chk->isChecked() ? 1 : 0;
    Sheet_Boxes& b = job.boxes;
    b.batchOffered = print_with_batch_chk->isEnabled();
    b.skipShown = !skip_inavlid_chk->isHidden();
    b.quantityShown = !print_qty_chk->isHidden();
    b.allLabels = All_print_rd->isChecked();
    b.Total = std::max(0, inum(Total_Text));
    b.From = inum(from_Text);
    b.To = inum(To_Text);
    b.totalMaximum = int(Total_Stepper->maximum());
    b.rangeMaximum = int(To_Stepper->maximum());
}

void Sheet_Options_Pane::Follow_Need(Sheet_Need need, const std::function<void()>& layOut,
                                     const std::function<void()>& check)
{
    switch (need) {
    case Sheet_Need::Nothing:
        layOut();
        break;
    case Sheet_Need::Preview:
        layOut();
        Refresh_Preview();
        break;
    case Sheet_Need::Layout:
        check();
        break;
    case Sheet_Need::Cells:
        check();
        Total_Follows_Cells();
        check();
        break;
    }
}

Sheet_Job Sheet_Options_Pane::controls() const
{
    Sheet_Job job;
    writeTo(job);
    return job;
}

Batch_Row_Count Sheet_Options_Pane::rowCount() const
{
    return Row_Count_Of(controls());
}

int Sheet_Options_Pane::cells() const
{
    return m_shown ? m_shown->Print_Row * m_shown->Print_Col : 1;
}

// ---------------------------------------------------------------------------
// Range and batch

void Sheet_Options_Pane::showRange(bool all)
{
    All_print_rd->setChecked(all);
    Sel_print_rd->setChecked(!all);
    for (QWidget* w : std::initializer_list<QWidget*>{tot_label, Total_Stepper, Total_Text})
        SetObjEnabled(w, all);
    for (QWidget* w : std::initializer_list<QWidget*>{from_Stepper, from_Text, from_label, To_Stepper, To_Text, to_label})
        SetObjEnabled(w, !all);
}

void Sheet_Options_Pane::All_print_RD_Clicked()
{
    showRange(true);
    emit changed(Sheet_Need::Nothing);
}

void Sheet_Options_Pane::Sel_Print_RD_Clicked()
{
    showRange(false);
    emit changed(Sheet_Need::Nothing);
}

void Sheet_Options_Pane::From_Stepper_Changed(QObject* s) { pairChanged(s, from_Text, from_Stepper, Sheet_Need::Nothing); }
void Sheet_Options_Pane::To_Stepper_Changed(QObject* s) { pairChanged(s, To_Text, To_Stepper, Sheet_Need::Nothing); }
void Sheet_Options_Pane::Total_Val_Changed(QObject* s) { pairChanged(s, Total_Text, Total_Stepper, Sheet_Need::Nothing); }

void Sheet_Options_Pane::pairChanged(QObject* sender, QLineEdit* field, Stepper* stepper, Sheet_Need need)
{
    const bool whole = field == Row_Text || field == Col_Text || field == Total_Text || field == from_Text
        || field == To_Text;
    const bool length = field == width_Text || field == height_Text;
    copyPair(sender, field, stepper, whole, length);
    emit changed(need);
}

void Sheet_Options_Pane::Set_Tot_Value(int value, int maximum, const QString& set_for)
{
    Sheet_Job job = controls();
    ::Set_Tot_Value(job, value, maximum, set_for);
    const Sheet_Boxes& b = job.boxes;
    for (Stepper* s : {Total_Stepper, To_Stepper, from_Stepper})
        s->setMaximum(b.totalMaximum);
    To_Stepper->setMaximum(b.rangeMaximum);
    from_Stepper->setMaximum(b.rangeMaximum);
    if (set_for == QLatin1String("TOT") || set_for == QLatin1String("A"))
        setPair(Total_Text, Total_Stepper, b.Total, QString::number(b.Total));
    if (set_for == QLatin1String("TO") || set_for == QLatin1String("A"))
        setPair(To_Text, To_Stepper, b.To, QString::number(b.To));
}

void Sheet_Options_Pane::Set_Enable_Diable_Range_Box()
{
    const bool batch = print_with_batch_chk->isChecked();
    SetObjEnabled(export_range_box, batch);
    // Without batch values only the Total can be typed.
    showRange(!batch || All_print_rd->isChecked());
}

void Sheet_Options_Pane::Verify_Card_Count()
{
    m_rows = Current_Batch_Rows();
}

void Sheet_Options_Pane::Print_With_Batch_Changed()
{
    const bool on = print_with_batch_chk->isChecked();
    if (m_designing) {
        Verify_Card_Count();
    } else if (!print_qty_chk->isHidden()) {
        print_qty_chk->setChecked(on);
        print_qty_chk->setEnabled(on);
    }
    const int total = Batch_Box_Total(controls(), cells());
    Set_Tot_Value(total, total, QStringLiteral("A"));
    Set_Enable_Diable_Range_Box();
    emit changed(Sheet_Need::Nothing);
}

void Sheet_Options_Pane::Print_Qty_Checked()
{
    const int total = Total_From_Quantity_Box(controls());
    Set_Tot_Value(total, total, QStringLiteral("A"));
    emit changed(Sheet_Need::Preview);
}

void Sheet_Options_Pane::Skip_Inavlid_Checked()
{
    emit changed(Sheet_Need::Preview);
}

void Sheet_Options_Pane::Show_Margin_Checked()
{
    emit changed(Sheet_Need::Preview);
}

void Sheet_Options_Pane::controlTextDidChange(QLineEdit* field)
{
    if (field != Total_Text && field != To_Text && field != from_Text)
        return;
    int maximum = 0;
    const int v = Typed_Range_Value(controls(), field->text(), field == Total_Text, maximum);
    field->setText(QString::number(v));
    if (field == from_Text)
        from_Stepper->setValue(v);
    else
        Set_Tot_Value(v, maximum, field == Total_Text ? QStringLiteral("TOT") : QStringLiteral("TO"));
    emit changed(Sheet_Need::Nothing);
}

void Sheet_Options_Pane::Total_Follows_Cells()
{
    if (!print_with_batch_chk->isChecked())
        Set_Tot_Value(cells(), int(Total_Stepper->maximum()), QStringLiteral("A"));
}

// ---------------------------------------------------------------------------
// Label and placement

void Sheet_Options_Pane::Horz_Margin_Changed(QObject* s) { pairChanged(s, horz_mar_Text, horz_mar_Stepper, Sheet_Need::Layout); }
void Sheet_Options_Pane::Vert_Margin_Changed(QObject* s) { pairChanged(s, vert_mar_Text, vert_mar_Stepper, Sheet_Need::Layout); }
void Sheet_Options_Pane::Width_Changed(QObject* s) { pairChanged(s, width_Text, width_Stepper, Sheet_Need::Layout); }
void Sheet_Options_Pane::Height_Changed(QObject* s) { pairChanged(s, height_Text, height_Stepper, Sheet_Need::Layout); }
void Sheet_Options_Pane::Row_Changed(QObject* s) { pairChanged(s, Row_Text, Row_Stepper, Sheet_Need::Cells); }
void Sheet_Options_Pane::Col_Changed(QObject* s) { pairChanged(s, Col_Text, Col_Stepper, Sheet_Need::Cells); }

void Sheet_Options_Pane::Auto_Center_Checked()
{
    if (m_lock == Grid_Lock::Fit_To_Frame)
        return;
    const bool on = Auto_Center_chk_bx->isChecked();
    // A grid of one label keeps its gaps at 0 either way.
    if (m_lock == Grid_Lock::Free) {
        SetObjEnabled(horz_mar_Stepper, !on);
        SetObjEnabled(vert_mar_Stepper, !on);
    }
    SetObjEnabled(align_Gp_Bx, !on);
    emit changed(Sheet_Need::Layout);
}

void Sheet_Options_Pane::Top_left_btn_clicked()
{
    Set_Alignment(1);
    Alignment_Changed();
}

void Sheet_Options_Pane::Top_center_btn_clicked()
{
    Set_Alignment(2);
    Alignment_Changed();
}

void Sheet_Options_Pane::Top_rite_btn_clicked()
{
    Set_Alignment(3);
    Alignment_Changed();
}

void Sheet_Options_Pane::Mid_left_btn_clicked()
{
    Set_Alignment(4);
    Alignment_Changed();
}

void Sheet_Options_Pane::Mid_center_btn_clicked()
{
    Set_Alignment(5);
    Alignment_Changed();
}

void Sheet_Options_Pane::Mid_rite_btn_clicked()
{
    Set_Alignment(6);
    Alignment_Changed();
}

void Sheet_Options_Pane::Bot_left_btn_clicked()
{
    Set_Alignment(7);
    Alignment_Changed();
}

void Sheet_Options_Pane::Bot_center_btn_clicked()
{
    Set_Alignment(8);
    Alignment_Changed();
}

void Sheet_Options_Pane::Bot_rite_btn_clicked()
{
    Set_Alignment(9);
    Alignment_Changed();
}

void Sheet_Options_Pane::Alignment_Changed()
{
    emit changed(m_lock == Grid_Lock::Fit_To_Frame ? Sheet_Need::Nothing : Sheet_Need::Preview);
}

void Sheet_Options_Pane::Set_Alignment(int value)
{
    m_alignment = value;
    Set_Reset_Alignemnt_Image();
}

void Sheet_Options_Pane::Set_Reset_Alignemnt_Image()
{
    if (m_alignment < 1 || m_alignment > 9)
        return;
    const std::array<QToolButton*, 9> buttons = Alignment_Buttons();
    for (int k = 0; k < 9; ++k) {
        buttons[k]->setIcon(Alignment_Picture(k + 1, k + 1 == m_alignment));
        buttons[k]->setCheckable(true);
        buttons[k]->setChecked(k + 1 == m_alignment);
    }
}

void Sheet_Options_Pane::Capture_Last_Values()
{
    LAST_Side_Mar = 0;
    LAST_Horz_Mar = float(horz_mar_Stepper->value());
    LAST_Vert_Mar = float(vert_mar_Stepper->value());
    LAST_Row = Row_Stepper->intValue();
    LAST_Column = Col_Stepper->intValue();
}

void Sheet_Options_Pane::Disable_for_fit_or_duplex(Grid_Lock lock)
{
    m_lock = lock;
    SetObjEnabled(horz_mar_Stepper, false);
    SetObjEnabled(vert_mar_Stepper, false);
    setPair(horz_mar_Text, horz_mar_Stepper, 0, floatText(0));
    setPair(vert_mar_Text, vert_mar_Stepper, 0, floatText(0));
    SetObjEnabled(Row_Stepper, false);
    SetObjEnabled(Col_Stepper, false);
    setPair(Row_Text, Row_Stepper, 1, QStringLiteral("1"));
    setPair(Col_Text, Col_Stepper, 1, QStringLiteral("1"));
    for (QLineEdit* f : {horz_mar_Text, vert_mar_Text, Row_Text, Col_Text})
        f->setReadOnly(true);
}

void Sheet_Options_Pane::Normal_Printing_Is_Selected()
{
    m_lock = Grid_Lock::Free;
    Enable_Placement(true);
    const bool gapsFree = !Auto_Center_chk_bx->isChecked();
    SetObjEnabled(horz_mar_Stepper, gapsFree);
    SetObjEnabled(vert_mar_Stepper, gapsFree);
    setPair(horz_mar_Text, horz_mar_Stepper, LAST_Horz_Mar, floatText(LAST_Horz_Mar));
    setPair(vert_mar_Text, vert_mar_Stepper, LAST_Vert_Mar, floatText(LAST_Vert_Mar));
    SetObjEnabled(Row_Stepper, true);
    SetObjEnabled(Col_Stepper, true);
    setPair(Row_Text, Row_Stepper, LAST_Row, QString::number(LAST_Row));
    setPair(Col_Text, Col_Stepper, LAST_Column, QString::number(LAST_Column));
    for (QLineEdit* f : {horz_mar_Text, vert_mar_Text, Row_Text, Col_Text})
        f->setReadOnly(false);
}

void Sheet_Options_Pane::Enable_Placement(bool on)
{
    SetObjEnabled(card_align_box, on);
    if (on && Auto_Center_chk_bx->isChecked())
        SetObjEnabled(align_Gp_Bx, false);
}

void Sheet_Options_Pane::Show_Fitted_Grid(const Grid_Fit& fit)
{
    if (fit.colsLowered)
        setPair(Col_Text, Col_Stepper, fit.cols, QString::number(fit.cols));
    if (fit.rowsLowered)
        setPair(Row_Text, Row_Stepper, fit.rows, QString::number(fit.rows));
}

void Sheet_Options_Pane::Show_Page_Margins(const QMarginsF& margins)
{
    l_mar_id->setText(mm2(Points_To_MM(float(margins.left()))));
    r_mar_id->setText(mm2(Points_To_MM(float(margins.right()))));
    t_mar_id->setText(mm2(Points_To_MM(float(margins.top()))));
    b_mar_id->setText(mm2(Points_To_MM(float(margins.bottom()))));
}

// ---------------------------------------------------------------------------
// Preview

void Sheet_Options_Pane::Set_Preview_Sheet(QSizeF sheet)
{
    m_previewSheet = sheet;
    // The sheet across the preview (or the whole page in view), never larger
    // than 1.5 times its size.
    const double roomW = std::max(100, Print_sclview->viewport()->width() - 16);
    double scale = 1.0;
    if (m_fit == Preview_Fit::Whole_Page) {
        PrintView->setSheetSize(sheet);
        const double roomH = std::max(100, Print_sclview->viewport()->height() - 16);
        if (sheet.width() > 0 && sheet.height() > 0)
            scale = std::min({1.5, roomW / sheet.width(), roomH / sheet.height()});
    } else if (sheet.width() > 0) {
        scale = std::min(1.5, roomW / sheet.width());
    }
    PrintView->setDisplayScale(scale);
    PrintView->setFixedSize((sheet * scale).toSize().expandedTo(QSize(1, 1)));
}

void Sheet_Options_Pane::Refresh_Preview()
{
    if (QScrollBar* bar = Print_sclview->verticalScrollBar())
        bar->setValue(0);
    PrintView->update();
}

bool Sheet_Options_Pane::eventFilter(QObject* watched, QEvent* event)
{
    // The preview follows the room its scroll view gives it.
    if (watched == Print_sclview->viewport() && event->type() == QEvent::Resize && !m_previewSheet.isEmpty())
        Set_Preview_Sheet(m_previewSheet);
    return QObject::eventFilter(watched, event);
}
