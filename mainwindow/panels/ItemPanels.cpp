#include "mainwindow/panels/ItemPanels.h"

#include "core/model/LMNGraphic.h"
#include "core/model/LMNLine.h"
#include "core/util/Helpers.h"
#include "mainwindow/panels/ItemPanelParts.h"
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

QLabel* Bold_Label(QWidget* parent, const QString& name)
{
    auto* l = new QLabel(parent);
    l->setObjectName(name);
    QFont f = l->font();
    f.setBold(true);
    l->setFont(f);
    return l;
}


// A slider of whole degrees with its value label.
QSlider* Rotation_Slider(QWidget* parent, const QString& name)
{
    auto* s = new QSlider(Qt::Horizontal, parent);
    s->setObjectName(name);
    s->setRange(-180, 180);
    s->setPageStep(15);
    return s;
}

// ---------------------------------------------------------------- base

PropertyPanel::PropertyPanel(const QString& objectName, QWidget* parent) : QWidget(parent)
{
    setObjectName(objectName);
    m_column = new QVBoxLayout(this);
    m_column->setContentsMargins(6, 6, 6, 6);
    m_column->setSpacing(6);
}

QGroupBox* PropertyPanel::addBox(const QString& title, const QString& objectName)
{
    auto* box = new QGroupBox(title, this);
    box->setObjectName(objectName);
    m_column->addWidget(box);
    return box;
}

ColorWell* PropertyPanel::newWell(QWidget* parent, const QString& objectName, const QColor& color)
{
    auto* well = new ColorWell(color, parent);
    well->setObjectName(objectName);
    connect(well, &ColorWell::colorChanged, this, [this](const QColor& c) { emit colorChosen(c); });
    return well;
}

QCheckBox* PropertyPanel::newCheck(QWidget* parent, const QString& objectName, const QString& text,
                                   const std::function<void()>& action)
{
    auto* c = new QCheckBox(text, parent);
    c->setObjectName(objectName);
    connect(c, &QCheckBox::clicked, this, [action] { action(); });
    return c;
}

QRadioButton* PropertyPanel::newRadio(QWidget* parent, const QString& objectName, const QString& text,
                                      const std::function<void()>& action)
{
    auto* r = new QRadioButton(text, parent);
    r->setObjectName(objectName);
    r->setAutoExclusive(false);   // the actions set all the radio buttons of a group
    connect(r, &QRadioButton::clicked, this, [action] { action(); });
    return r;
}

QComboBox* PropertyPanel::watchCombo(QComboBox* combo, const std::function<void()>& action)
{
    connect(combo, &QComboBox::activated, this, [action](int) { action(); });
    return combo;
}

PropertyPanel::Border_Controls PropertyPanel::addBorderControls(QGroupBox* box, const QString& prefix)
{
    auto emitChanged = [this] { emit changed(); };
    Border_Controls c;
    QGridLayout* g = Panel_Grid(box);
    c.colour = newWell(box, prefix + QStringLiteral("bordr_clr"));
    c.width = newPair(box, prefix + QStringLiteral("bor"), 0, 50, 1, true, emitChanged);
    c.style = watchCombo(New_Border_Style_Combo(box, prefix + QStringLiteral("border_style")), emitChanged);
    g->addWidget(Panel_Caption(box, tr("Colour")), 0, 0);
    g->addWidget(c.colour, 0, 1);
    g->addWidget(Panel_Caption(box, tr("Width (pt)")), 1, 0);
    g->addLayout(c.width->row(), 1, 1, 1, 2);
    g->addWidget(Panel_Caption(box, tr("Style")), 2, 0);
    g->addWidget(c.style, 2, 1, 1, 2);
    return c;
}

Number_Pair* PropertyPanel::newPair(QWidget* box, const QString& name, double min, double max, double step,
                                    bool whole, const std::function<void()>& action)
{
    auto* p = new Number_Pair(box, name, min, max, step, whole);
    connect(p, &Number_Pair::edited, this, [action] { action(); });
    return p;
}
