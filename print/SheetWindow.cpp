#include "print/SheetWindow.h"

#include "barcode/generation/panes/Stepper.h"
#include "core/canvas/LMNRenderingView.h"
#include "core/util/BatchServices.h"
#include "core/util/MainWindowServices.h"
#include "core/util/Helpers.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "platform/Numbers.h"
#include "print/PrintControls.h"
#include "print/Sample_Preview.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>

#include <algorithm>
#include <climits>

namespace sheetui {

QString mm2(double v) { return Format_Fixed_C(v, 2); }
double num(const QLineEdit* f) { return Leading_Double_C(f->text()); }
int inum(const QLineEdit* f) { return Leading_Int_C(f->text()); }

QString floatText(double v)
{
    const float f = float(v);
    for (int precision = 6; precision < 10; ++precision) {
        const QString t = QString::number(f, 'g', precision);
        if (t.toFloat() == f)
            return t;
    }
    return QString::number(f, 'g', 9);
}

void setPair(QLineEdit* field, Stepper* stepper, double v, const QString& text)
{
    if (stepper)
        stepper->setValue(v);
    field->setText(text);
}

QLineEdit* readOnlyField(int width)
{
    auto* f = new QLineEdit;
    f->setReadOnly(true);
    if (width)
        f->setFixedWidth(width);
    return f;
}

QHBoxLayout* pairWidget(QLineEdit*& field, Stepper*& stepper, double min, double max, double step, bool floats,
                        int fieldWidth)
{
    auto* h = new QHBoxLayout;
    h->setContentsMargins(0, 0, 0, 0);
    h->setSpacing(2);
    field = new QLineEdit;
    field->setFixedWidth(fieldWidth);
    stepper = new Stepper;
    stepper->setRange(min, max);
    stepper->setIncrement(step);
    if (floats)
        field->setValidator(new Float_Num_Formatter(field));
    h->addWidget(field);
    h->addWidget(stepper);
    h->addStretch();
    return h;
}

namespace {

QString trimEnds(const QString& s, bool (*in)(QChar))
{
    int a = 0, b = s.size();
    while (a < b && in(s[a]))
        ++a;
    while (b > a && in(s[b - 1]))
        --b;
    return s.mid(a, b - a);
}
bool isLetter(QChar c) { return c.isLetter(); }
bool isSpace(QChar c) { return c.isSpace(); }
bool isIllegal(QChar c) { return c.isNonCharacter() || c.category() == QChar::Other_NotAssigned; }

} // namespace

QString Size_Field_Text(const QString& typed)
{
    QString t = trimEnds(typed, isLetter);
    t = trimEnds(t, isSpace);
    t = trimEnds(t, isIllegal);
    if (t.size() > 10)
        t = t.left(10);
    return t;
}

} // namespace sheetui

using namespace sheetui;

void Sheet_Window::copyPair(QObject* sender, QLineEdit* field, Stepper* stepper, bool isInt, bool twoDecimals)
{
    if (sender == stepper) {
        if (isInt)
            field->setText(QString::number(stepper->intValue()));
        else
            field->setText(twoDecimals ? mm2(stepper->value()) : floatText(stepper->value()));
    } else {
        stepper->setValue(isInt ? double(inum(field)) : num(field));
    }
}

void Sheet_Window::All_print_RD_Clicked()
{
    All_print_rd->setChecked(true);
    Sel_print_rd->setChecked(false);
    for (QWidget* w : std::initializer_list<QWidget*>{tot_label, Total_Stepper, Total_Text})
        SetObjEnabled(w, true);
    for (QWidget* w : std::initializer_list<QWidget*>{from_Stepper, from_Text, from_label, To_Stepper, To_Text, to_label})
        SetObjEnabled(w, false);
}

void Sheet_Window::Sel_Print_RD_Clicked()
{
    Sel_print_rd->setChecked(true);
    All_print_rd->setChecked(false);
    for (QWidget* w : std::initializer_list<QWidget*>{tot_label, Total_Stepper, Total_Text})
        SetObjEnabled(w, false);
    for (QWidget* w : std::initializer_list<QWidget*>{from_Stepper, from_Text, from_label, To_Stepper, To_Text, to_label})
        SetObjEnabled(w, true);
}

void Sheet_Window::From_Stepper_Changed(QObject* sender)
{
    copyPair(sender, from_Text, from_Stepper, true);
}

void Sheet_Window::To_Stepper_Changed(QObject* sender)
{
    copyPair(sender, To_Text, To_Stepper, true);
}

void Sheet_Window::Total_Val_Changed(QObject* sender)
{
    copyPair(sender, Total_Text, Total_Stepper, true);
}

void Sheet_Window::Set_Enable_Diable_Range_Box()
{
    if (print_with_batch_chk->isChecked()) {
        SetObjEnabled(export_range_box, true);
        if (All_print_rd->isChecked())
            All_print_RD_Clicked();
        else
            Sel_Print_RD_Clicked();
    } else {
        SetObjEnabled(export_range_box, false);
        All_print_RD_Clicked();
        for (QWidget* w : std::initializer_list<QWidget*>{tot_label, Total_Stepper, Total_Text})
            SetObjEnabled(w, true);
    }
}

bool Sheet_Window::Range_Of_Job(Job_Range& range) const
{
    const bool designing = Designing_Mode_Active();
    const bool batch = print_with_batch_chk->isChecked();
    const bool pq = !designing && batch && print_qty_chk->isChecked();
    const bool skip = !designing && batch && skip_inavlid_chk->isChecked();
    auto copies = [&](int row) { return pq && batchRows ? batchRows->printQuantity(row) : 1; };
    auto labelsOf = [&](int start, int end, long long cap) {
        long long n = 0;
        for (int r = start; r < end && n < cap; ++r)
            n += copies(r);
        return int(std::min<long long>(n, cap));
    };
    if (All_print_rd->isChecked()) {
        range.start = 0;
        range.end = batch ? rowCount.rows() : 0;
        range.labels = std::max(0, inum(Total_Text));
    } else {
        const int from = inum(from_Text), to = inum(To_Text);
        if (from > to) {
            Show_MessageBox(QStringLiteral("Please select valid range."));
            return false;
        }
        range.start = std::max(0, from - 1);
        range.end = to;
        range.labels = labelsOf(range.start, range.end, INT_MAX);
    }
    range.total = range.labels;
    if (batch) {
        // The job ends with its rows, or at its label count.
        if (skip && batchRows)
            range.printable_label_count = batchRows->Count_Valid_Labels(pq, range.start, range.end, range.labels);
        range.total = skip && batchRows ? range.printable_label_count : labelsOf(range.start, range.end, range.labels);
    }
    return true;
}

void Sheet_Window::Take_Batch_Rows()
{
    batchRows = App_Services().Batch_Services ? App_Services().Batch_Services->Make_Batch_Rows() : nullptr;
    rowCount = batchRows ? batchRows->count() : Batch_Row_Count();
    rowCount.designing = Designing_Mode_Active();
    sheet.rows = batchRows;
    sheet.designing = rowCount.designing;
    sheet.Card_Shape = App_Services().Main_App_wnd ? App_Services().Main_App_wnd->Card_Shape : 0;
}

void Sheet_Window::Verify_Card_Count()
{
    Take_Batch_Rows();
}

void Sheet_Window::Capture_Last_Values()
{
    LAST_Side_Mar = 0;
    LAST_Horz_Mar = float(horz_mar_Stepper->value());
    LAST_Vert_Mar = float(vert_mar_Stepper->value());
    LAST_Row = Row_Stepper->intValue();
    LAST_Column = Col_Stepper->intValue();
}

void Sheet_Window::Print_With_Batch_Changed()
{
    const bool on = print_with_batch_chk->isChecked();
    int total = 1;
    if (Designing_Mode_Active()) {
        Verify_Card_Count();
        total = on ? rowCount.Total_Batch_Excel_Card : sheet.Print_Row * sheet.Print_Col;
    } else if (!on) {
        sheet.print_wd_pq_opt = 0;
        total = sheet.Print_Row * sheet.Print_Col;
        if (!print_qty_chk->isHidden()) {
            print_qty_chk->setChecked(false);
            print_qty_chk->setEnabled(false);
        }
    } else {
        if (!print_qty_chk->isHidden()) {
            print_qty_chk->setChecked(true);
            print_qty_chk->setEnabled(true);
        }
        total = Total_From_Quantity_Box();
    }
    Set_Tot_Value(total, total, QStringLiteral("A"));
    Set_Enable_Diable_Range_Box();
}

void Sheet_Window::Print_Qty_Checked()
{
    const int total = Total_From_Quantity_Box();
    Set_Tot_Value(total, total, QStringLiteral("A"));
    Refresh_Preview();
}

void Sheet_Window::Skip_Inavlid_Checked()
{
    sheet.skip_invalid_barcode = skip_inavlid_chk->isChecked() ? 1 : 0;
    Refresh_Preview();
}

void Sheet_Window::Show_Margin_Checked()
{
    sheet.Show_margin_rect = Show_Margins->isChecked() ? 1 : 0;
    Refresh_Preview();
}

void Sheet_Window::Set_Reset_Alignemnt_Image()
{
    if (sheet.label_align_val < 1 || sheet.label_align_val > 9)
        return;
    for (int k = 0; k < 9; ++k) {
        align_btn[k]->setIcon(Alignment_Picture(k + 1, k + 1 == sheet.label_align_val));
        align_btn[k]->setCheckable(true);
        align_btn[k]->setChecked(k + 1 == sheet.label_align_val);
    }
}

void Sheet_Window::Refresh_Preview()
{
    if (!PrintView)
        return;
    if (QScrollBar* bar = Print_sclview->verticalScrollBar())
        bar->setValue(0);
    PrintView->update();
}

void Sheet_Window::Reset_Range_Fields()
{
    All_print_rd->setChecked(true);
    Sel_print_rd->setChecked(false);
    for (QWidget* w : std::initializer_list<QWidget*>{tot_label, Total_Text, Total_Stepper})
        SetObjEnabled(w, true);
    setPair(from_Text, from_Stepper, 1, QStringLiteral("1"));
    for (QWidget* w : std::initializer_list<QWidget*>{from_Text, from_Stepper, from_label, To_Text, To_Stepper, to_label})
        SetObjEnabled(w, false);
}

QSizeF Sheet_Window::Reset_For_Card_Label()
{
    SetObjEnabled(width_Stepper, false);
    SetObjEnabled(height_Stepper, false);
    width_Text->setReadOnly(true);
    height_Text->setReadOnly(true);
    print_with_batch_chk->setChecked(false);
    print_with_batch_chk->setEnabled(false);
    print_with_batch_chk->setVisible(true);
    sheet.Barcode_Image = App_Services().Main_App_wnd
        ? LMNRenderingView::image_From_Card_Graphics(App_Services().Main_App_wnd->Get_Front_Controls_Array(), false)
        : PtImage();
    skip_inavlid_chk->setVisible(false);
    print_qty_chk->setVisible(false);
    if (rowCount.batch()) {
        print_with_batch_chk->setEnabled(true);
        print_with_batch_chk->setChecked(true);
        const int total = std::max(1, rowCount.Total_Batch_Excel_Card);
        Set_Tot_Value(total, total, QStringLiteral("A"));
    } else {
        Set_Tot_Value(1, 999999, QStringLiteral("A"));
    }
    return App_Services().Batch_Services ? App_Services().Batch_Services->Card_Size() : sheet.Barcode_Image.size();
}

QGroupBox* Sheet_Window::Build_Range_Box(const QString& title)
{
    export_range_box = new QGroupBox(title);
    auto* rg = new QGridLayout(export_range_box);
    All_print_rd = new QRadioButton(tr("All"));
    Sel_print_rd = new QRadioButton(tr("Rows"));
    tot_label = new QLabel(tr("Total"));
    from_label = new QLabel(tr("From"));
    to_label = new QLabel(tr("To"));
    rg->addWidget(All_print_rd, 0, 0);
    rg->addWidget(tot_label, 0, 1);
    rg->addLayout(pairWidget(Total_Text, Total_Stepper, 1, 999999, 1, false), 0, 2, 1, 3);
    rg->addWidget(Sel_print_rd, 1, 0);
    rg->addWidget(from_label, 1, 1);
    rg->addLayout(pairWidget(from_Text, from_Stepper, 1, 999999, 1, false), 1, 2);
    rg->addWidget(to_label, 1, 3);
    rg->addLayout(pairWidget(To_Text, To_Stepper, 1, 999999, 1, false), 1, 4);
    return export_range_box;
}

QHBoxLayout* Sheet_Window::Build_Alignment_Box(int iconSize)
{
    card_align_box = new QGroupBox(tr("Placement"));
    auto* ab = new QHBoxLayout(card_align_box);
    Auto_Center_chk_bx = new QCheckBox(tr("Auto Center"));
    align_Gp_Bx = new QGroupBox;
    align_Gp_Bx->setFlat(true);
    auto* ag = new QGridLayout(align_Gp_Bx);
    ag->setSpacing(1);
    for (int k = 0; k < 9; ++k) {
        align_btn[k] = new QToolButton;
        align_btn[k]->setIconSize(QSize(iconSize, iconSize));
        align_btn[k]->setAutoRaise(true);
        ag->addWidget(align_btn[k], k / 3, k % 3);
    }
    ab->addWidget(align_Gp_Bx);
    return ab;
}

QScrollArea* Sheet_Window::Build_Preview(int minWidth)
{
    Print_sclview = new QScrollArea;
    Print_sclview->setBackgroundRole(QPalette::Mid);
    Print_sclview->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    PrintView = new Sample_Preview;
    PrintView->setJob(&sheet);
    Print_sclview->setWidget(PrintView);
    Print_sclview->viewport()->installEventFilter(this);
    Print_sclview->setMinimumWidth(minWidth);
    return Print_sclview;
}

void Sheet_Window::Connect_Range_And_Options()
{
    connect(All_print_rd, &QRadioButton::clicked, this, &Sheet_Window::All_print_RD_Clicked);
    connect(Sel_print_rd, &QRadioButton::clicked, this, &Sheet_Window::Sel_Print_RD_Clicked);
    connect(print_with_batch_chk, &QCheckBox::clicked, this, &Sheet_Window::Print_With_Batch_Changed);
    connect(print_qty_chk, &QCheckBox::clicked, this, &Sheet_Window::Print_Qty_Checked);
    connect(skip_inavlid_chk, &QCheckBox::clicked, this, &Sheet_Window::Skip_Inavlid_Checked);
    connect(Show_Margins, &QCheckBox::clicked, this, &Sheet_Window::Show_Margin_Checked);
}

void Sheet_Window::Set_Tot_Value(int value, int maximum, const QString& set_for)
{
    int v = value == 0 ? 1 : value;
    int m = maximum;
    const bool batch = print_with_batch_chk->isChecked();
    if (!batch) {
        m = 999999;
        v = std::min(v, 999999);
    }
    m = std::max(1, m);
    for (Stepper* s : {Total_Stepper, To_Stepper, from_Stepper})
        s->setMaximum(m);
    if (batch && !Designing_Mode_Active()) {
        // The range counts rows, each repeated by its print quantity.
        const int rows = std::max(1, rowCount.Total_Barcode_Label_wd_Batch);
        To_Stepper->setMaximum(rows);
        from_Stepper->setMaximum(rows);
    }
    if (set_for == QLatin1String("TOT") || set_for == QLatin1String("A"))
        setPair(Total_Text, Total_Stepper, v, QString::number(v));
    if (set_for == QLatin1String("TO") || set_for == QLatin1String("A")) {
        const int to = std::min(v, int(To_Stepper->maximum()));
        setPair(To_Text, To_Stepper, to, QString::number(to));
    }
}

bool Sheet_Window::Range_Text_Changed(QLineEdit* field)
{
    if (field != Total_Text && field != To_Text && field != from_Text)
        return false;
    const QString trimmed = Trim_Str(field->text());
    int v = Leading_Int_C(trimmed);
    if (trimmed.isEmpty() || v == 0)
        v = 1;
    int cap = 0;
    const bool batch = print_with_batch_chk->isChecked();
    if (batch) {
        if (!Designing_Mode_Active()) {
            // The range counts rows; the total counts labels.
            cap = field == Total_Text ? Total_From_Quantity_Box() : rowCount.Total_Barcode_Label_wd_Batch;
        } else {
            cap = rowCount.Total_Batch_Excel_Card;
        }
        v = std::min(v, std::max(1, cap));
    }
    field->setText(QString::number(v));
    if (field == from_Text) {
        from_Stepper->setValue(v);
        return true;
    }
    if (!batch)
        cap = 999999;
    Set_Tot_Value(v, cap, field == Total_Text ? QStringLiteral("TOT") : QStringLiteral("TO"));
    return true;
}

void Sheet_Window::Connect_Field(QLineEdit* field, Stepper* stepper, const std::function<void(QObject*)>& changed)
{
    connect(field, &QLineEdit::editingFinished, this, [this, field, changed] {
        controlTextDidEndEditing(field);
        changed(field);
    });
    connect(field, &QLineEdit::textEdited, this, [this, field] { controlTextDidChange(field); });
    connect(stepper, &Stepper::stepped, this, [stepper, changed] { changed(stepper); });
}

void Sheet_Window::Connect_Sheet_Fields()
{
    Connect_Field(horz_mar_Text, horz_mar_Stepper, [this](QObject* s) { Horz_Margin_Changed(s); });
    Connect_Field(vert_mar_Text, vert_mar_Stepper, [this](QObject* s) { Vert_Margin_Changed(s); });
    Connect_Field(width_Text, width_Stepper, [this](QObject* s) { Width_Changed(s); });
    Connect_Field(height_Text, height_Stepper, [this](QObject* s) { Height_Changed(s); });
    Connect_Field(Row_Text, Row_Stepper, [this](QObject* s) { Row_Changed(s); });
    Connect_Field(Col_Text, Col_Stepper, [this](QObject* s) { Col_Changed(s); });
    Connect_Field(Total_Text, Total_Stepper, [this](QObject* s) { Total_Val_Changed(s); });
    Connect_Field(from_Text, from_Stepper, [this](QObject* s) { From_Stepper_Changed(s); });
    Connect_Field(To_Text, To_Stepper, [this](QObject* s) { To_Stepper_Changed(s); });
    connect(Auto_Center_chk_bx, &QCheckBox::clicked, this, [this] { Auto_Center_Checked(); });
    for (int k = 0; k < 9; ++k)
        connect(align_btn[k], &QToolButton::clicked, this, [this, k] { Alignment_Clicked(k + 1); });
}

int Sheet_Window::Total_From_Quantity_Box()
{
    sheet.print_wd_pq_opt = print_qty_chk->isChecked() ? 1 : 0;
    return print_qty_chk->isChecked() ? rowCount.Total_Label_Wd_PQ : rowCount.Total_Barcode_Label_wd_Batch;
}
