#include "mainwindow/design/GridWizard.h"

#include "core/util/MessageBoxes.h"
#include "mainwindow/Stepper.h"
#include "platform/MessageSink.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

QPointer<Grid_Wizard> Grid_Wizard::s_instance;

Grid_Wizard::Grid_Wizard(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Grid_Wizard"));
    setWindowTitle(tr("Grid"));
    Apply_Dialog_Background(this);
    if (!s_instance)
        s_instance = this;

    auto* v = new QVBoxLayout(this);
    Show_hide_grid_chk = new QCheckBox(tr("Show grid"), this);
    Show_hide_grid_chk->setObjectName(QStringLiteral("Show_hide_grid_chk"));
    v->addWidget(Show_hide_grid_chk);

    Grid_Opt_box = new QGroupBox(tr("Grid lines"), this);
    Grid_Opt_box->setObjectName(QStringLiteral("Grid_Opt_box"));
    auto* form = new QFormLayout(Grid_Opt_box);
    Grid_clr = new ColorWell(Qt::lightGray, Grid_Opt_box);
    Grid_clr->setObjectName(QStringLiteral("Grid_clr"));
    form->addRow(tr("Colour:"), Grid_clr);
    auto* spacingRow = new QHBoxLayout;
    Grid_Space_slidr = new QSlider(Qt::Horizontal, Grid_Opt_box);
    Grid_Space_slidr->setObjectName(QStringLiteral("Grid_Space_slidr"));
    Grid_Space_slidr->setRange(kMinSpacing, kMaxSpacing);
    Grid_Space_slidr->setMinimumWidth(160);
    Grid_Space_val = new QLabel(Grid_Opt_box);
    Grid_Space_val->setMinimumWidth(44);
    spacingRow->addWidget(Grid_Space_slidr, 1);
    spacingRow->addWidget(Grid_Space_val);
    form->addRow(tr("Spacing:"), spacingRow);
    v->addWidget(Grid_Opt_box);
    connect(Grid_Space_slidr, &QSlider::valueChanged, this,
            [this](int value) { Grid_Space_val->setText(tr("%1 pt").arg(value)); });

    Snap_to_grid_chk = new QCheckBox(tr("Snap items to the grid"), this);
    Snap_to_grid_chk->setObjectName(QStringLiteral("Snap_to_grid_chk"));
    v->addWidget(Snap_to_grid_chk);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    v->addWidget(buttons);
    connect(buttons->button(QDialogButtonBox::Ok), &QPushButton::clicked, this, &Grid_Wizard::OK_Btn_Clicked);
    connect(buttons->button(QDialogButtonBox::Cancel), &QPushButton::clicked, this,
            &Grid_Wizard::Cancel_Btn_Clicked);
}

Grid_Wizard::~Grid_Wizard()
{
    if (s_instance == this)
        s_instance = nullptr;
}

Grid_Wizard* Grid_Wizard::defaultInstance()
{
    if (!s_instance)
        new Grid_Wizard(Dialog_Parent_Window());
    return s_instance;
}

int Grid_Wizard::Open_Wnd()
{
    setWindowModality(parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
    const int code = Run_Modal_Dialog(*this);
    hide();
    return code;
}

void Grid_Wizard::OK_Btn_Clicked()
{
    done(1);
}

void Grid_Wizard::Cancel_Btn_Clicked()
{
    done(0);
}
