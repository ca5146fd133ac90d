#include "mainwindow/panels/ItemPanels.h"

#include "core/model/LMNGraphic.h"
#include "core/model/LMNLine.h"
#include "core/util/Helpers.h"
#include "mainwindow/Stepper.h"
#include "mainwindow/units/Units.h"
#include "platform/Numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>

// ---------------------------------------------------------------- alignment

AlignmentPanel::AlignmentPanel(QWidget* parent) : PropertyPanel(QStringLiteral("aligmnt_tab"), parent)
{
    sel_control_name = new QLabel(this);
    sel_control_name->setObjectName(QStringLiteral("sel_control_name"));
    sel_control_name->hide();

    addAlignButtons();
    addPositionFields();

    print_object_chk = new QCheckBox(tr("Leave out of printing and export"), this);
    print_object_chk->setObjectName(QStringLiteral("print_object_chk"));
    connect(print_object_chk, &QCheckBox::clicked, this, &AlignmentPanel::printFlagChanged);
    column()->addWidget(print_object_chk);
    column()->addStretch(1);
}

// The twelve commands, two by row.
void AlignmentPanel::addAlignButtons()
{
    auto* align = addBox(tr("Align"), QStringLiteral("align_box"));
    auto* grid = new QGridLayout(align);
    grid->setContentsMargins(6, 6, 6, 6);
    grid->setSpacing(4);
    const struct { const char* title; const char* action; const char* name; } commands[] = {
        {"Left edges", "alignLeftEdges", "align_left_btn"},
        {"Right edges", "alignRightEdges", "align_right_btn"},
        {"Top edges", "alignTopEdges", "align_top_btn"},
        {"Bottom edges", "alignBottomEdges", "align_bottom_btn"},
        {"Centres across", "alignHorizontalCenters", "align_horzontal_btn"},
        {"Centres down", "alignVerticalCenters", "align_vertical_btn"},
        {"Centre on label", "alignformCenter", "align_center_btn"},
        {"To the grid", "alignWithGrid", "Align_with_grid_btn"},
        {"Same width", "makeSameWidth", "Make_same_width_btn"},
        {"Same height", "makeSameHeight", "Make_same_height_btn"},
        {"Fit to label", "makeSameAsLabelSize", "fit_to_label_btn"},
        {"Natural size", "makeNaturalSize", "Make_natural_size_btn"},
    };
    int i = 0;
    for (const auto& c : commands) {
        auto* b = new QPushButton(tr(c.title), align);
        const QString action = QString::fromLatin1(c.action);
        b->setObjectName(action);
        b->setProperty("outlet", QString::fromLatin1(c.name));
        connect(b, &QPushButton::clicked, this, [this, action] { emit commandRequested(action); });
        grid->addWidget(b, i / 2, i % 2);
        m_buttons << b;
        ++i;
    }
    align_left_btn = m_buttons[0];
    align_right_btn = m_buttons[1];
    align_top_btn = m_buttons[2];
    align_bottom_btn = m_buttons[3];
    align_horzontal_btn = m_buttons[4];
    align_vertical_btn = m_buttons[5];
    align_center_btn = m_buttons[6];
    Align_with_grid_btn = m_buttons[7];
    Make_same_width_btn = m_buttons[8];
    Make_same_height_btn = m_buttons[9];
    fit_to_label_btn = m_buttons[10];
    Make_natural_size_btn = m_buttons[11];
}

// X and Y in points, width and height in the unit, each a field and its arrows.
void AlignmentPanel::addPositionFields()
{
    position_box = addBox(tr("Position and size"), QStringLiteral("position_box"));
    auto* g = Panel_Grid(position_box);
    auto field = [&](int row, const QString& caption, const QString& name, QLineEdit** text, Stepper** stepper,
                     QLabel** unit, QWidget* parent, QGridLayout* layout, int which, double step) {
        layout->addWidget(new QLabel(caption, parent), row, 0);
        auto* t = new QLineEdit(parent);
        t->setObjectName(name);
        // Room for a length with four decimals.
        t->setFixedWidth(std::max(72, t->fontMetrics().horizontalAdvance(QStringLiteral("1000.0000")) + 14));
        t->setAlignment(Qt::AlignRight);
        auto* s = new Stepper(parent);
        s->setObjectName(name + QStringLiteral("_val"));
        s->setRange(-100000, 100000);
        s->setIncrement(step);
        auto* u = new QLabel(parent);
        layout->addWidget(t, row, 1);
        layout->addWidget(s, row, 2, Qt::AlignLeft);
        layout->addWidget(u, row, 3);
        *text = t;
        *stepper = s;
        *unit = u;
        connect(t, &QLineEdit::editingFinished, this, [this, t, s, which] {
            if (!t->isModified())
                return;
            t->setModified(false);
            s->setValue(Leading_Double_C(t->text()));
            emit fieldChanged(which);
        });
        connect(s, &Stepper::stepped, this, [this, t, s, which] {
            // X and Y are points whatever the unit; width and height follow it.
            t->setText(which < 2 ? Points_Field_Text(s->value()) : Length_Field_Text(s->value(), m_unit));
            emit fieldChanged(which);
        });
    };
    field(0, tr("X"), QStringLiteral("frame_main_pic_X_pos"), &frame_main_pic_X_pos, &frame_main_pic_X_pos_val,
          &ctrl_x_pos_unit_lbl, position_box, g, 0, 1);
    field(1, tr("Y"), QStringLiteral("frame_main_pic_Y_pos"), &frame_main_pic_Y_pos, &frame_main_pic_Y_pos_val,
          &ctrl_y_pos_unit_lbl, position_box, g, 1, 1);
    ctrl_width_height_box = new QWidget(position_box);
    ctrl_width_height_box->setObjectName(QStringLiteral("ctrl_width_height_box"));
    auto* wh = new QGridLayout(ctrl_width_height_box);
    wh->setContentsMargins(0, 0, 0, 0);
    wh->setHorizontalSpacing(6);
    wh->setColumnStretch(3, 1);
    field(0, tr("Width"), QStringLiteral("frame_main_pic_width"), &frame_main_pic_width, &frame_main_pic_width_val,
          &ctrl_width_unit_lbl, ctrl_width_height_box, wh, 2, 0.1);
    field(1, tr("Height"), QStringLiteral("frame_main_pic_height"), &frame_main_pic_height,
          &frame_main_pic_height_val, &ctrl_height_unit_lbl, ctrl_width_height_box, wh, 3, 0.1);
    frame_main_pic_width_val->setRange(0, 100000);
    frame_main_pic_height_val->setRange(0, 100000);
    g->addWidget(ctrl_width_height_box, 2, 0, 1, 4);
}

void AlignmentPanel::setUnit(int unit)
{
    m_unit = unit;
    const QString caption = Unit_Field_Caption(unit);
    for (QLabel* l : {ctrl_width_unit_lbl, ctrl_height_unit_lbl})
        l->setText(caption);
    for (Stepper* s : {frame_main_pic_width_val, frame_main_pic_height_val})
        s->setIncrement(Length_Field_Step(unit));
    // The position is in points in every unit.
    for (QLabel* l : {ctrl_x_pos_unit_lbl, ctrl_y_pos_unit_lbl})
        l->setText(QStringLiteral("(pt)"));
    for (Stepper* s : {frame_main_pic_X_pos_val, frame_main_pic_Y_pos_val})
        s->setIncrement(1);
}

QPushButton* AlignmentPanel::button(const QString& action) const
{
    for (QPushButton* b : m_buttons)
        if (b->objectName() == action)
            return b;
    return nullptr;
}

// ---------------------------------------------------------------- lock

LockPanel::LockPanel(QWidget* parent) : PropertyPanel(QStringLiteral("Lock_tab"), parent)
{
    m_what = new QLabel(this);
    m_what->setWordWrap(true);
    column()->addWidget(m_what);
    m_unlock = new QPushButton(tr("Unlock"), this);
    m_unlock->setObjectName(QStringLiteral("Unlock_btn"));
    column()->addWidget(m_unlock, 0, Qt::AlignLeft);
    column()->addStretch(1);
    connect(m_unlock, &QPushButton::clicked, this, &LockPanel::unlockRequested);
}

void LockPanel::load(const LMNGraphic& item, const QString& title)
{
    m_what->setText(tr("%1: locked at %2, %3 pt. Unlock it to change it.")
                        .arg(title)
                        .arg(item.bounds().x(), 0, 'f', 1)
                        .arg(item.bounds().y(), 0, 'f', 1));
}
