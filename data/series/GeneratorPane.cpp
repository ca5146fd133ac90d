#include "data/series/GeneratorPane.h"

#include "core/util/Helpers.h"
#include "core/util/MessageBoxes.h"
#include "platform/MessageSink.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QToolButton>
#include <QVBoxLayout>

const QString Series_Generator_Help_Text = QStringLiteral(
    "For example:\r\nIf you have to generate a series having values from '0' to '200', this option automatically "
    "converts small values such as '1' to '001' and '11' to '011' to maintain number of digits same as the highest "
    "value in the series.\r\n\r\nSimilarly, if you have selected a series starting from '001' to '00200', this "
    "option automatically converts small values such as '001' to '00001' and '0011' to '00011' to maintain number "
    "of digits same as the highest value in the series.");

namespace {

qint64 fieldInt(const QLineEdit* field)
{
    bool ok = false;
    const qint64 v = Trim_Str(field->text()).toLongLong(&ok);
    return ok ? v : 0;
}

// One value is one line of a series file: a line break pasted into a field
// must not make two.
QString oneLine(QString s)
{
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return s;
}

bool refuse(const QString& message, QLineEdit* field)
{
    Show_MessageBox(message);
    field->setFocus();
    return false;
}

} // namespace

// ---------------------------------------------------------------- stepper

Series_Stepper::Series_Stepper(int minimum, int maximum, QWidget* parent)
    : QWidget(parent), m_min(minimum), m_max(maximum), m_value(minimum)
{
    auto* col = new QVBoxLayout(this);
    col->setContentsMargins(0, 0, 0, 0);
    col->setSpacing(0);
    up = new QToolButton;
    up->setArrowType(Qt::UpArrow);
    down = new QToolButton;
    down->setArrowType(Qt::DownArrow);
    for (QToolButton* b : {up, down}) {
        b->setFixedSize(18, 12);
        b->setAutoRepeat(true);
        col->addWidget(b);
    }
    connect(up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(down, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

void Series_Stepper::setValue(int value)
{
    m_value = qBound(m_min, value, m_max);
}

void Series_Stepper::stepBy(int steps)
{
    setValue(m_value + steps);
    emit stepped(m_value);
}

// ---------------------------------------------------------------- field rule

QString Generator_Field_Rule(const QString& text, bool length)
{
    const int maxChars = length ? 1 : 5;
    const qint64 maxValue = length ? Max_Random_Length : Max_Generator_Count;
    QString t = Trim_Str(text);
    bool ok = false;
    const qint64 v = t.toLongLong(&ok);
    if (t.isEmpty() || !ok || v < 1)
        return QStringLiteral("1");
    if (t.size() > maxChars)
        t = t.left(maxChars);
    const qint64 kept = t.toLongLong();
    if (kept > maxValue)
        return QString::number(maxValue);
    if (kept < 1)
        return QStringLiteral("1");
    return t;
}

// ---------------------------------------------------------------- pane

Generator_Rules_Pane::Generator_Rules_Pane(QWidget* parent) : QWidget(parent), helpText(Series_Generator_Help_Text)
{
    m_grid = new QGridLayout(this);
    m_grid->setContentsMargins(0, 0, 0, 0);
    QGridLayout* grid = m_grid;
    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), this);
    auto* integer = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[+-]?\\d{0,18}")), this);
    auto lineEdit = [](QValidator* v = nullptr) {
        auto* e = new QLineEdit;
        if (v)
            e->setValidator(v);
        return e;
    };
    auto steppedField = [&](QLineEdit*& field, Series_Stepper*& stepper, int maximum) {
        auto* row = new QHBoxLayout;
        field = lineEdit(digits);
        field->setMaximumWidth(70);
        stepper = new Series_Stepper(1, maximum);
        row->addWidget(field);
        row->addWidget(stepper);
        row->addStretch();
        return row;
    };
    int r = 0;

    radioButton_Sequntial = new QRadioButton(QStringLiteral("Sequential"));
    grid->addWidget(radioButton_Sequntial, r++, 0, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("Prefix:")), r, 1);
    grid->addWidget(prefix_txt = lineEdit(), r, 2);
    grid->addWidget(new QLabel(QStringLiteral("Suffix:")), r, 3);
    grid->addWidget(suffix_txt = lineEdit(), r++, 4);
    grid->addWidget(new QLabel(QStringLiteral("From:")), r, 1);
    grid->addWidget(from_txt = lineEdit(integer), r, 2);
    grid->addWidget(new QLabel(QStringLiteral("To:")), r, 3);
    grid->addWidget(to_txt = lineEdit(integer), r++, 4);
    {
        auto* row = new QHBoxLayout;
        manage_digit_chk = new QCheckBox(QStringLiteral("Maintain number of digits"));
        help_btn = new QPushButton(QStringLiteral("?"));
        help_btn->setAutoDefault(false);
        help_btn->setFixedWidth(28);
        row->addWidget(manage_digit_chk);
        row->addWidget(help_btn);
        row->addStretch();
        grid->addLayout(row, r++, 1, 1, 4);
    }
    m_extraRow[Generator_Spec::Sequential] = r++;

    radioButton_Constant = new QRadioButton(QStringLiteral("Constant"));
    grid->addWidget(radioButton_Constant, r++, 0, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("Value:")), r, 1);
    grid->addWidget(value_txt = lineEdit(), r++, 2, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Count:")), r, 1);
    grid->addLayout(steppedField(count_txt, count_stepper, Max_Generator_Count), r++, 2);
    m_extraRow[Generator_Spec::Constant] = r++;

    radioButton_Random = new QRadioButton(QStringLiteral("Random"));
    grid->addWidget(radioButton_Random, r++, 0, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("Prefix:")), r, 1);
    grid->addWidget(rand_prefix_txt = lineEdit(), r, 2);
    grid->addWidget(new QLabel(QStringLiteral("Suffix:")), r, 3);
    grid->addWidget(rand_suffix_txt = lineEdit(), r++, 4);
    grid->addWidget(new QLabel(QStringLiteral("Length:")), r, 1);
    grid->addLayout(steppedField(rand_length_txt, rand_length_stepper, Max_Random_Length), r, 2);
    grid->addWidget(new QLabel(QStringLiteral("Count:")), r, 3);
    grid->addLayout(steppedField(rand_count_txt, rand_count_stepper, Max_Generator_Count), r++, 4);
    m_extraRow[Generator_Spec::Random] = r++;
    grid->setColumnMinimumWidth(0, 12);

    connect(radioButton_Sequntial, &QRadioButton::clicked, this, [this] { selectRule(Generator_Spec::Sequential); });
    connect(radioButton_Constant, &QRadioButton::clicked, this, [this] { selectRule(Generator_Spec::Constant); });
    connect(radioButton_Random, &QRadioButton::clicked, this, [this] { selectRule(Generator_Spec::Random); });
    connect(help_btn, &QPushButton::clicked, this, &Generator_Rules_Pane::Help_btn_Pressed);
    for (QLineEdit* f : {count_txt, rand_length_txt, rand_count_txt})
        connect(f, &QLineEdit::textEdited, this, [this, f] { controlTextDidChange(f); });
    connect(count_stepper, &Series_Stepper::stepped, this, [this] { Count_Stepper_Pressed(true); });
    connect(rand_length_stepper, &Series_Stepper::stepped, this, [this] { Random_Length_Stepper_Pressed(true); });
    connect(rand_count_stepper, &Series_Stepper::stepped, this, [this] { Random_Count_Stepper_Pressed(true); });
}

void Generator_Rules_Pane::reset()
{
    manage_digit_chk->setChecked(false);
    for (QLineEdit* f : {prefix_txt, suffix_txt, from_txt, to_txt, value_txt, rand_prefix_txt, rand_suffix_txt})
        f->clear();
    for (QLineEdit* f : {count_txt, rand_length_txt, rand_count_txt})
        f->setText(QStringLiteral("1"));
    for (Series_Stepper* s : {count_stepper, rand_length_stepper, rand_count_stepper})
        s->setValue(1);
    selectRule(Generator_Spec::Sequential);
}

void Generator_Rules_Pane::setRuleExtra(Generator_Spec::Rule rule, QWidget* widget)
{
    m_grid->addWidget(widget, m_extraRow[rule], 1, 1, 4);
    m_extra[rule] << widget;
    SetObjEnabled(widget, this->rule() == rule);
}

Generator_Spec::Rule Generator_Rules_Pane::rule() const
{
    if (radioButton_Constant->isChecked())
        return Generator_Spec::Constant;
    if (radioButton_Random->isChecked())
        return Generator_Spec::Random;
    return Generator_Spec::Sequential;
}

void Generator_Rules_Pane::selectRule(Generator_Spec::Rule rule)
{
    radioButton_Sequntial->setChecked(rule == Generator_Spec::Sequential);
    radioButton_Constant->setChecked(rule == Generator_Spec::Constant);
    radioButton_Random->setChecked(rule == Generator_Spec::Random);
    const std::initializer_list<QWidget*> controls[3] = {
        {prefix_txt, suffix_txt, from_txt, to_txt, help_btn, manage_digit_chk},
        {value_txt, count_txt, count_stepper},
        {rand_prefix_txt, rand_suffix_txt, rand_length_txt, rand_length_stepper, rand_count_txt, rand_count_stepper},
    };
    for (int k = 0; k < 3; ++k) {
        for (QWidget* w : controls[k])
            SetObjEnabled(w, k == rule);
        for (QWidget* w : m_extra[k])
            SetObjEnabled(w, k == rule);
    }
    emit ruleSelected(rule);
}

void Generator_Rules_Pane::controlTextDidChange(QLineEdit* field)
{
    try {
        Series_Stepper* stepper = field == count_txt         ? count_stepper
                                  : field == rand_count_txt  ? rand_count_stepper
                                  : field == rand_length_txt ? rand_length_stepper
                                                             : nullptr;
        if (!stepper)
            return;
        const QString kept = Generator_Field_Rule(field->text(), field == rand_length_txt);
        if (kept != field->text())
            field->setText(kept);
        stepper->setValue(int(fieldInt(field)));
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
}

void Generator_Rules_Pane::Count_Stepper_Pressed(bool fromStepper)
{
    if (fromStepper)
        count_txt->setText(QString::number(count_stepper->value()));
    else
        count_stepper->setValue(int(fieldInt(count_txt)));
}

void Generator_Rules_Pane::Random_Length_Stepper_Pressed(bool fromStepper)
{
    if (fromStepper)
        rand_length_txt->setText(QString::number(rand_length_stepper->value()));
    else
        rand_length_stepper->setValue(int(fieldInt(rand_length_txt)));
}

void Generator_Rules_Pane::Random_Count_Stepper_Pressed(bool fromStepper)
{
    if (fromStepper)
        rand_count_txt->setText(QString::number(rand_count_stepper->value()));
    else
        rand_count_stepper->setValue(int(fieldInt(rand_count_txt)));
}

void Generator_Rules_Pane::Help_btn_Pressed()
{
    MessageRequest r;
    r.kind = MessageKind::Information;
    r.text = QStringLiteral("Maintain number of Digits By adding 0's before smaller values. ");
    r.informativeText = helpText;
    r.buttons = {QStringLiteral("OK")};
    Raise_Message(r);
}

bool Generator_Rules_Pane::readSpec(Generator_Spec* spec)
{
    Generator_Spec s;
    s.rule = rule();
    switch (s.rule) {
    case Generator_Spec::Sequential: {
        const QString from = from_txt->text();
        const QString to = to_txt->text();
        qint64 a = 0, b = 0;
        if (from.isEmpty() || !Parse_Integer_Field(from, &a))
            return refuse(QStringLiteral("Please enter valid 'From' value."), from_txt);
        if (to.isEmpty() || !Parse_Integer_Field(to, &b))
            return refuse(QStringLiteral("Please enter valid 'To' value."), to_txt);
        if (a >= b)
            return refuse(QStringLiteral("'From' value must be smaller than 'To' value."), from_txt);
        s.sequence = {oneLine(prefix_txt->text()), oneLine(suffix_txt->text()), a, b, manage_digit_chk->isChecked(),
                      int(qMax(from.size(), to.size()))};
        break;
    }
    case Generator_Spec::Constant: {
        if (value_txt->text().isEmpty())
            return refuse(QStringLiteral("Please enter valid 'Value'."), value_txt);
        const qint64 count = fieldInt(count_txt);
        if (count_txt->text().isEmpty() || count < 1 || count > Max_Generator_Count)
            return refuse(QStringLiteral("Please enter valid 'Count' value."), count_txt);
        s.constantValue = oneLine(value_txt->text());
        s.count = count;
        break;
    }
    case Generator_Spec::Random: {
        const qint64 count = fieldInt(rand_count_txt);
        if (rand_count_txt->text().isEmpty() || count < 1 || count > Max_Generator_Count)
            return refuse(QStringLiteral("Please enter valid 'Count' value."), rand_count_txt);
        const qint64 length = fieldInt(rand_length_txt);
        if (rand_length_txt->text().isEmpty() || length < 1 || length > Max_Random_Length)
            return refuse(QStringLiteral("Please enter valid 'Length' value."), rand_length_txt);
        s.randomPrefix = oneLine(rand_prefix_txt->text());
        s.randomSuffix = oneLine(rand_suffix_txt->text());
        s.randomLength = QString::number(length);
        s.count = count;
        break;
    }
    }
    if (spec)
        *spec = s;
    return true;
}
