#include "data/series/Generate_List.h"

#include "core/util/Helpers.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "data/SeriesStore.h"
#include "data/series/BatchWizard.h"
#include "data/series/SeriesGenerator.h"
#include "data/series/SeriesJob.h"
#include "platform/MainThread.h"
#include "platform/MessageSink.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QSaveFile>
#include <QToolButton>
#include <QVBoxLayout>

QPointer<Generate_List> Generate_List::s_instance;

namespace {

enum Rule { SequentialRule = 0, ConstantRule = 1, RandomRule = 2 };

// One value is one line of a series file: a line break typed into a field
// (by pasting) must not make two.
QString oneLine(QString s)
{
    s.replace(QLatin1String("\r\n"), QLatin1String(" "));
    s.replace(QLatin1Char('\n'), QLatin1Char(' '));
    s.replace(QLatin1Char('\r'), QLatin1Char(' '));
    return s;
}

qint64 fieldInt(const QLineEdit* field)
{
    bool ok = false;
    const qint64 v = Trim_Str(field->text()).toLongLong(&ok);
    return ok ? v : 0;
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

// ---------------------------------------------------------------- dialog

Generate_List::Generate_List(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Generate Series"));
    Apply_Dialog_Background(this);
    auto* col = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    col->addLayout(grid);

    auto* digits = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("\\d*")), this);
    auto* integer = new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[+-]?\\d{0,18}")), this);
    auto lineEdit = [](QValidator* v = nullptr) {
        auto* e = new QLineEdit;
        if (v)
            e->setValidator(v);
        return e;
    };
    auto nameField = [&](int row) {
        auto* label = new QLabel(QStringLiteral("Series name:"));
        auto* field = lineEdit();
        grid->addWidget(label, row, 1);
        grid->addWidget(field, row, 2, 1, 3);
        m_nameRow << label << field;
        return field;
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
    seq_file_name = nameField(r++);

    radioButton_Constant = new QRadioButton(QStringLiteral("Constant"));
    grid->addWidget(radioButton_Constant, r++, 0, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("Value:")), r, 1);
    grid->addWidget(value_txt = lineEdit(), r++, 2, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("Count:")), r, 1);
    {
        auto* row = new QHBoxLayout;
        row->addWidget(count_txt = lineEdit(digits));
        row->addWidget(count_stepper = new Series_Stepper(1, Max_Generator_Count));
        row->addStretch();
        grid->addLayout(row, r++, 2);
    }
    const_file_name = nameField(r++);

    radioButton_Random = new QRadioButton(QStringLiteral("Random"));
    grid->addWidget(radioButton_Random, r++, 0, 1, 5);
    grid->addWidget(new QLabel(QStringLiteral("Prefix:")), r, 1);
    grid->addWidget(rand_prefix_txt = lineEdit(), r, 2);
    grid->addWidget(new QLabel(QStringLiteral("Suffix:")), r, 3);
    grid->addWidget(rand_suffix_txt = lineEdit(), r++, 4);
    grid->addWidget(new QLabel(QStringLiteral("Length:")), r, 1);
    {
        auto* row = new QHBoxLayout;
        row->addWidget(rand_length_txt = lineEdit(digits));
        row->addWidget(rand_length_stepper = new Series_Stepper(1, Max_Random_Length));
        row->addStretch();
        grid->addLayout(row, r, 2);
    }
    grid->addWidget(new QLabel(QStringLiteral("Count:")), r, 3);
    {
        auto* row = new QHBoxLayout;
        row->addWidget(rand_count_txt = lineEdit(digits));
        row->addWidget(rand_count_stepper = new Series_Stepper(1, Max_Generator_Count));
        row->addStretch();
        grid->addLayout(row, r++, 4);
    }
    rndm_file_name = nameField(r++);
    grid->setColumnMinimumWidth(0, 12);
    for (QLineEdit* f : {count_txt, rand_length_txt, rand_count_txt})
        f->setMaximumWidth(70);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cancel_btn = new QPushButton(QStringLiteral("Cancel"));
    ok_btn = new QPushButton(QStringLiteral("OK"));
    cancel_btn->setAutoDefault(false);
    ok_btn->setAutoDefault(false);
    buttons->addWidget(cancel_btn);
    buttons->addWidget(ok_btn);
    col->addLayout(buttons);

    connect(radioButton_Sequntial, &QRadioButton::clicked, this, &Generate_List::Sequintial_Radio_Pressed);
    connect(radioButton_Constant, &QRadioButton::clicked, this, &Generate_List::Constant_Radio_Pressed);
    connect(radioButton_Random, &QRadioButton::clicked, this, &Generate_List::Random_Radio_Pressed);
    connect(ok_btn, &QPushButton::clicked, this, &Generate_List::OKPressed);
    connect(cancel_btn, &QPushButton::clicked, this, &Generate_List::CancelPressed);
    connect(help_btn, &QPushButton::clicked, this, &Generate_List::Help_btn_Pressed);
    for (QLineEdit* f : {count_txt, rand_length_txt, rand_count_txt})
        connect(f, &QLineEdit::textEdited, this, [this, f] { controlTextDidChange(f); });
    connect(count_stepper, &Series_Stepper::stepped, this, [this] { Count_Stepper_Pressed(true); });
    connect(rand_length_stepper, &Series_Stepper::stepped, this, [this] { Random_Length_Stepper_Pressed(true); });
    connect(rand_count_stepper, &Series_Stepper::stepped, this, [this] { Random_Count_Stepper_Pressed(true); });
}

Generate_List* Generate_List::defaultInstance()
{
    Generate_List* g = nullptr;
    Run_On_Main_Thread_And_Wait([&] {
        if (!s_instance)
            s_instance = new Generate_List(Dialog_Parent_Window());
        g = s_instance;
    });
    return g;
}

int Generate_List::Open_Wnd()
{
    Reset_Controls();
    const int code = Run_Modal_Dialog(*this);
    hide();
    return code;
}

void Generate_List::Reset_Controls()
{
    try {
        for (QLineEdit* f : {seq_file_name, const_file_name, rndm_file_name})
            f->clear();
        const bool named = file_name_required == 1;
        if (named)
            seq_file_name->setText(default_file_name);
        for (QWidget* w : m_nameRow)
            w->setVisible(named);
        manage_digit_chk->setChecked(false);
        for (QLineEdit* f : {prefix_txt, suffix_txt, from_txt, to_txt, value_txt, rand_prefix_txt, rand_suffix_txt})
            f->clear();
        for (QLineEdit* f : {count_txt, rand_length_txt, rand_count_txt})
            f->setText(QStringLiteral("1"));
        for (Series_Stepper* s : {count_stepper, rand_length_stepper, rand_count_stepper})
            s->setValue(1);
        radioButton_Sequntial->setChecked(true);
        enableFor(SequentialRule);
        prefix_txt->setFocus();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Generate_List::enableFor(int rule)
{
    radioButton_Sequntial->setChecked(rule == SequentialRule);
    radioButton_Constant->setChecked(rule == ConstantRule);
    radioButton_Random->setChecked(rule == RandomRule);
    for (QWidget* w : std::initializer_list<QWidget*>{seq_file_name, prefix_txt, suffix_txt, from_txt, to_txt,
                                                       help_btn, manage_digit_chk})
        SetObjEnabled(w, rule == SequentialRule);
    for (QWidget* w : std::initializer_list<QWidget*>{const_file_name, value_txt, count_txt, count_stepper})
        SetObjEnabled(w, rule == ConstantRule);
    for (QWidget* w : std::initializer_list<QWidget*>{rndm_file_name, rand_prefix_txt, rand_suffix_txt,
                                                       rand_length_txt, rand_length_stepper, rand_count_txt,
                                                       rand_count_stepper})
        SetObjEnabled(w, rule == RandomRule);
}

void Generate_List::fillEmptyName(QLineEdit* field)
{
    if (Trim_Str(field->text()).isEmpty())
        field->setText(default_file_name);
}

void Generate_List::Sequintial_Radio_Pressed()
{
    fillEmptyName(seq_file_name);
    enableFor(SequentialRule);
}

void Generate_List::Constant_Radio_Pressed()
{
    fillEmptyName(const_file_name);
    enableFor(ConstantRule);
}

void Generate_List::Random_Radio_Pressed()
{
    fillEmptyName(rndm_file_name);
    enableFor(RandomRule);
}

// ---------------------------------------------------------------- fields and steppers

void Generate_List::controlTextDidChange(QLineEdit* field)
{
    try {
        Series_Stepper* stepper = field == count_txt         ? count_stepper
                                  : field == rand_count_txt  ? rand_count_stepper
                                  : field == rand_length_txt ? rand_length_stepper
                                                             : nullptr;
        if (!stepper)
            return;
        const bool length = field == rand_length_txt;
        const int maxChars = length ? 1 : 5;
        const qint64 maxValue = length ? Max_Random_Length : Max_Generator_Count;
        const QString t = Trim_Str(field->text());
        bool ok = false;
        const qint64 v = t.toLongLong(&ok);
        if (t.isEmpty() || !ok || v < 1)
            field->setText(QStringLiteral("1"));
        else if (t.size() > maxChars)
            field->setText(t.left(maxChars));
        if (fieldInt(field) > maxValue)
            field->setText(QString::number(maxValue));
        if (fieldInt(field) < 1)
            field->setText(QStringLiteral("1"));
        stepper->setValue(int(fieldInt(field)));
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
    }
}

void Generate_List::Count_Stepper_Pressed(bool fromStepper)
{
    if (fromStepper)
        count_txt->setText(QString::number(count_stepper->value()));
    else
        count_stepper->setValue(int(fieldInt(count_txt)));
}

void Generate_List::Random_Length_Stepper_Pressed(bool fromStepper)
{
    if (fromStepper)
        rand_length_txt->setText(QString::number(rand_length_stepper->value()));
    else
        rand_length_stepper->setValue(int(fieldInt(rand_length_txt)));
}

void Generate_List::Random_Count_Stepper_Pressed(bool fromStepper)
{
    if (fromStepper)
        rand_count_txt->setText(QString::number(rand_count_stepper->value()));
    else
        rand_count_stepper->setValue(int(fieldInt(rand_count_txt)));
}

void Generate_List::Help_btn_Pressed()
{
    MessageRequest r;
    r.kind = MessageKind::Information;
    r.text = QStringLiteral("Maintain number of Digits By adding 0's before smaller values. ");
    r.informativeText = QStringLiteral(
        "For example:\r\nIf you have to generate a series having values from '0' to '200', this option "
        "automatically converts small values such as '1' to '001' and '11' to '011' to maintain number of digits "
        "same as the highest value in the series.\r\n\r\nSimilarly, if you have selected a series starting from "
        "'001' to '00200', this option automatically converts small values such as '001' to '00001' and '0011' "
        "to '00011' to maintain number of digits same as the highest value in the series.");
    r.buttons = {QStringLiteral("OK")};
    Raise_Message(r);
}

// ---------------------------------------------------------------- generation

bool Generate_List::focusAfter(const QString& message, QLineEdit* field)
{
    Show_MessageBox(message);
    field->setFocus();
    return false;
}

void Generate_List::CancelPressed()
{
    done(0);
}

void Generate_List::OKPressed()
{
    Generator_Spec spec;
    QString typedName;
    if (radioButton_Sequntial->isChecked()) {
        const QString from = from_txt->text();
        const QString to = to_txt->text();
        qint64 a = 0, b = 0;
        if (from.isEmpty() || !Parse_Integer_Field(from, &a)) {
            focusAfter(QStringLiteral("Please enter valid 'From' value."), from_txt);
            return;
        }
        if (to.isEmpty() || !Parse_Integer_Field(to, &b)) {
            focusAfter(QStringLiteral("Please enter valid 'To' value."), to_txt);
            return;
        }
        if (a >= b) {
            focusAfter(QStringLiteral("'From' value must be smaller than 'To' value."), from_txt);
            return;
        }
        spec.rule = Generator_Spec::Sequential;
        spec.sequence = {oneLine(prefix_txt->text()), oneLine(suffix_txt->text()), a, b,
                         manage_digit_chk->isChecked(), int(qMax(from.size(), to.size()))};
        typedName = seq_file_name->text();
    } else if (radioButton_Constant->isChecked()) {
        if (value_txt->text().isEmpty()) {
            focusAfter(QStringLiteral("Please enter valid 'Value'."), value_txt);
            return;
        }
        const qint64 count = fieldInt(count_txt);
        if (count_txt->text().isEmpty() || count < 1 || count > Max_Generator_Count) {
            focusAfter(QStringLiteral("Please enter valid 'Count' value."), count_txt);
            return;
        }
        spec.rule = Generator_Spec::Constant;
        spec.constantValue = oneLine(value_txt->text());
        spec.count = count;
        typedName = const_file_name->text();
    } else {
        const qint64 count = fieldInt(rand_count_txt);
        if (rand_count_txt->text().isEmpty() || count < 1 || count > Max_Generator_Count) {
            focusAfter(QStringLiteral("Please enter valid 'Count' value."), rand_count_txt);
            return;
        }
        const qint64 length = fieldInt(rand_length_txt);
        if (rand_length_txt->text().isEmpty() || length < 1 || length > Max_Random_Length) {
            focusAfter(QStringLiteral("Please enter valid 'Length' value."), rand_length_txt);
            return;
        }
        spec.rule = Generator_Spec::Random;
        spec.randomPrefix = oneLine(rand_prefix_txt->text());
        spec.randomSuffix = oneLine(rand_suffix_txt->text());
        spec.randomLength = QString::number(length);
        spec.count = count;
        typedName = rndm_file_name->text();
    }

    try {
        const bool toFile = file_name_required == 1;
        QString path;
        if (toFile) {
            const QString name = Series_Target_Name(typedName, false, false);
            if (name.isNull())
                return;
            path = Series_File_Path(name);
            if (!Create_Folder(QFileInfo(path).path())) {
                Show_MessageBox(QStringLiteral("Error in file accessing."));
                return;
            }
        } else if (!Check_Value_List_Room(BatchWizard_Window ? BatchWizard_Window->ListData_value().size() : 0,
                                          spec.valueCount())) {
            return;
        }

        bool written = false;
        QStringList values;
        const bool finished = Run_Series_Job(this, QStringLiteral("Generating the series, Please wait.."),
                                             [&](Series_Progress& p) {
            if (!toFile) {
                Generate_Values(spec, &p, [&](const QString& v) {
                    values << v;
                    return true;
                });
                return;
            }
            // The old series stays until the whole new one is written.
            QSaveFile file(path);
            if (!file.open(QIODevice::WriteOnly))
                return;
            QByteArray chunk;
            bool failed = false;
            const bool complete = Generate_Values(spec, &p, [&](const QString& v) {
                chunk += v.toUtf8();
                chunk += '\n';
                if (chunk.size() >= (1 << 20)) {
                    failed = file.write(chunk) != chunk.size();
                    chunk.clear();
                }
                return !failed;
            });
            if (!complete || failed || file.write(chunk) != chunk.size()) {
                file.cancelWriting();
                return;
            }
            written = file.commit();
        });
        if (!finished)
            return;  // stopped: nothing written, the dialog stays open
        if (toFile && !written) {
            Show_MessageBox(QStringLiteral("Error in file accessing."));
            return;
        }
        if (!toFile && BatchWizard_Window)
            BatchWizard_Window->Create_Value_List(values);
        if (file_name_Insert == 1 && BatchWizard_Window)
            BatchWizard_Window->Fill_List();
        done(1);
    } catch (const std::exception& e) {
        Show_MessageBox(QString::fromUtf8(e.what()));
        done(1);
    }
}
