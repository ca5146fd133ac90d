#include "mainwindow/units/Units.h"

#include "core/util/BarcodeSettings.h"
#include "mainwindow/BarcodeModeView.h"
#include "platform/MessageSink.h"
#include "platform/Numbers.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>


float Get_Unit_Convertor(int from, int into)
{
    // Row: from; column: into.
    static const float table[3][3] = {
        {1.0f, 2.54f, 25.4f},
        {0.39370078f, 1.0f, 10.0f},
        {0.03937008f, 0.1f, 1.0f},
    };
    if (from < 0 || from > 2 || into < 0 || into > 2)
        return 1.0f;
    return table[from][into];
}

QString Unit_Field_Caption(int unit)
{
    switch (unit) {
    case 0: return QStringLiteral("(in)");
    case 1: return QStringLiteral("(cm)");
    default: return QStringLiteral("(mm)");
    }
}

float Convert_Unit_Text(const QString& text, float factor)
{
    return static_cast<float>(Leading_Double_C(text)) * factor;
}

Unit_PrefWindow::Unit_PrefWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Unit_PrefWindow"));
    setWindowTitle(tr("Units"));
    auto* v = new QVBoxLayout(this);
    v->addWidget(new QLabel(tr("Measure lengths in:"), this));
    unit_matrix = new QButtonGroup(this);
    unit_matrix->setObjectName(QStringLiteral("unit_matrix"));
    inch_rd = new QRadioButton(tr("Inches"), this);
    cm_rd = new QRadioButton(tr("Centimetres"), this);
    mm_rd = new QRadioButton(tr("Millimetres"), this);
    int row = 0;
    for (QRadioButton* r : {inch_rd, cm_rd, mm_rd}) {
        unit_matrix->addButton(r, row++);
        v->addWidget(r);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &Unit_PrefWindow::prefsOkay);
    connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(0); });
    v->addWidget(buttons);
    selectRow(2);
}

int Unit_PrefWindow::selectedRow() const
{
    return unit_matrix->checkedId();
}

void Unit_PrefWindow::selectRow(int row)
{
    if (QAbstractButton* b = unit_matrix->button(row))
        b->setChecked(true);
}

void Unit_PrefWindow::prefsOkay()
{
    hide();
    done(1);
}

int Run_Units_Window(QWidget* parent, int current)
{
    Unit_PrefWindow window(parent);
    window.selectRow(current);
    if (Run_Modal_Dialog(window) != 1)
        return -1;
    return window.selectedRow();
}

void OK_Unit_Change_For_Barcode(BarcodeModeView& view, int unit)
{
    BarcodeSettings s = view.Barcode_Settings();
    const float f = Get_Unit_Convertor(view.last_unit_val_Barcode, unit);
    for (float* length : {&s.val_mar, &s.hdr_mar, &s.ftr_mar, &s.LR_mar, &s.TB_mar, &s.bar_height})
        *length = *length * f;
    s.unit = unit;
    view.Measument_Unit_Is_Barcode = unit;
    view.last_unit_val_Barcode = unit;
    // Shows the lengths in the new unit with its captions and makes the barcode again.
    view.Load_Barcode_Settings(s);
}
