#include "mainwindow/panels/PanelSupport.h"

#include "core/util/Helpers.h"
#include "mainwindow/MainWindowSupport.h"
#include "mainwindow/Stepper.h"
#include "platform/Numbers.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QHBoxLayout>
#include <QLineEdit>

#include <cmath>

Loading_Guard::Loading_Guard() : m_previous(Not_Draw_Only_Prop_Change_Get())
{
    Not_Draw_Only_Prop_Change_Set(true);
}

Loading_Guard::~Loading_Guard()
{
    Not_Draw_Only_Prop_Change_Set(m_previous);
}

namespace {
const QStringList& Border_Codes()
{
    static const QStringList codes = {QStringLiteral("S"), QStringLiteral("DA"), QStringLiteral("DO"),
                                      QStringLiteral("DD"), QStringLiteral("DDD")};
    return codes;
}
} // namespace

QString Return_Border_Style_Str_On_index(int index)
{
    return index >= 0 && index < Border_Codes().size() ? Border_Codes().at(index) : QStringLiteral("S");
}

int Border_Style_Index(const QString& code)
{
    return int(Border_Codes().indexOf(code));
}

QComboBox* New_Border_Style_Combo(QWidget* parent, const QString& objectName)
{
    return New_List_Combo(parent, objectName,
                          {QObject::tr("Solid"), QObject::tr("Dashed"), QObject::tr("Dotted"),
                           QObject::tr("Dash-dot"), QObject::tr("Dash-dot-dot")});
}

void Select_Border_Style(QComboBox* combo, const QString& code)
{
    const int at = Border_Style_Index(code);
    if (at >= 0)
        combo->setCurrentIndex(at);
}

QGridLayout* Panel_Grid(QWidget* box)
{
    auto* g = new QGridLayout(box);
    g->setContentsMargins(8, 6, 8, 6);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(4);
    g->setColumnStretch(2, 1);
    return g;
}

QLabel* Panel_Caption(QWidget* parent, const QString& text)
{
    return new QLabel(text, parent);
}

Picture_Path_Row Add_Picture_Path_Row(QWidget* box, QGridLayout* g, const QString& pathName,
                                      const QString& browseName, const QString& libraryName)
{
    Picture_Path_Row row;
    row.path = new QLineEdit(box);
    row.path->setObjectName(pathName);
    row.path->setReadOnly(true);
    g->addWidget(row.path, 0, 0, 1, 3);
    row.browse = new QPushButton(QObject::tr("Browse..."), box);
    row.browse->setObjectName(browseName);
    row.library = new QPushButton(QObject::tr("Library..."), box);
    row.library->setObjectName(libraryName);
    g->addWidget(row.browse, 1, 0);
    g->addWidget(row.library, 1, 1);
    return row;
}

QComboBox* New_List_Combo(QWidget* parent, const QString& objectName, const QStringList& entries)
{
    auto* combo = new QComboBox(parent);
    combo->setObjectName(objectName);
    combo->addItems(entries);
    combo->setCurrentIndex(entries.isEmpty() ? -1 : 0);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    combo->setMinimumContentsLength(6);
    return combo;
}

void Select_Combo_Text(QComboBox* combo, const QString& text)
{
    combo->setCurrentIndex(combo->findText(text));
}

// ---------------------------------------------------------------- number pair

Number_Pair::Number_Pair(QWidget* box, const QString& name, double min, double max, double step, bool whole,
                         int fieldWidth)
    : QObject(box), m_whole(whole)
{
    text = new QLineEdit(box);
    text->setObjectName(name + QStringLiteral("_Text"));
    text->setFixedWidth(fieldWidth);
    text->setAlignment(Qt::AlignRight);
    stepper = new Stepper(box);
    stepper->setObjectName(name + QStringLiteral("_Stepper"));
    stepper->setRange(min, max);
    stepper->setIncrement(step);
    m_row = new QHBoxLayout;
    m_row->setSpacing(2);
    m_row->addWidget(text);
    m_row->addWidget(stepper);
    m_row->addStretch(1);
    mirror();
    connect(stepper, &Stepper::stepped, this, [this] {
        mirror();
        emit edited();
    });
    connect(text, &QLineEdit::editingFinished, this, &Number_Pair::commitText);
}

double Number_Pair::value() const
{
    return stepper->value();
}

int Number_Pair::intValue() const
{
    return stepper->intValue();
}

void Number_Pair::setValue(double v)
{
    stepper->setValue(v);
    mirror();
}

void Number_Pair::mirror()
{
    const double v = stepper->value();
    text->setText(m_whole ? QString::number(static_cast<int>(v)) : Format_Double_C(double(float(v))));
    text->setModified(false);
}

void Number_Pair::setVisible(bool visible)
{
    text->setVisible(visible);
    stepper->setVisible(visible);
}

// A typed value reaches the stepper (within its range) before the action runs.
void Number_Pair::commitText()
{
    if (!text->isModified())
        return;
    bool ok = false;
    const double typed = Parse_Double_C(text->text().trimmed(), &ok);
    if (!ok || !std::isfinite(typed)) {
        mirror();
        return;
    }
    stepper->setValue(typed);
    mirror();
    emit edited();
}

// ---------------------------------------------------------------- slider

Fraction_Slider::Fraction_Slider(QWidget* parent, const QString& name, double min, double max, int scale)
    : QSlider(Qt::Horizontal, parent), m_scale(scale)
{
    setObjectName(name);
    setRange(static_cast<int>(std::lround(min * scale)), static_cast<int>(std::lround(max * scale)));
    setSingleStep(1);
    setPageStep(std::max(1, scale));
    // Only what the user does reaches the items: a key or a click on the
    // groove at once, a drag when the slider is let go (its label follows
    // the drag). Values set from code are set with the signals blocked.
    connect(this, &QSlider::valueChanged, this, [this](int) {
        if (isSliderDown())
            emit dragging();
        else
            emit moved();
    });
    connect(this, &QSlider::sliderReleased, this, [this] { emit moved(); });
}

void Fraction_Slider::setFraction(double v)
{
    const QSignalBlocker block(this);
    setValue(static_cast<int>(std::lround(v * m_scale)));
}

QString Slider_Label_Text(double value)
{
    return Format_Fixed_C(value, 2);
}
