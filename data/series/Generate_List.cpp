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
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSaveFile>
#include <QVBoxLayout>

QPointer<Generate_List> Generate_List::s_instance;

Generate_List::Generate_List(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Generate Series"));
    Apply_Dialog_Background(this);
    auto* col = new QVBoxLayout(this);
    pane = new Generator_Rules_Pane;
    col->addWidget(pane);
    radioButton_Sequntial = pane->radioButton_Sequntial;
    radioButton_Constant = pane->radioButton_Constant;
    radioButton_Random = pane->radioButton_Random;
    prefix_txt = pane->prefix_txt;
    suffix_txt = pane->suffix_txt;
    from_txt = pane->from_txt;
    to_txt = pane->to_txt;
    manage_digit_chk = pane->manage_digit_chk;
    help_btn = pane->help_btn;
    value_txt = pane->value_txt;
    count_txt = pane->count_txt;
    count_stepper = pane->count_stepper;
    rand_prefix_txt = pane->rand_prefix_txt;
    rand_suffix_txt = pane->rand_suffix_txt;
    rand_length_txt = pane->rand_length_txt;
    rand_length_stepper = pane->rand_length_stepper;
    rand_count_txt = pane->rand_count_txt;
    rand_count_stepper = pane->rand_count_stepper;

    // A series name under each rule, shown when a series file is made.
    QLineEdit** names[3] = {&seq_file_name, &const_file_name, &rndm_file_name};
    for (int k = 0; k < 3; ++k) {
        auto* row = new QWidget;
        auto* layout = new QHBoxLayout(row);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(new QLabel(QStringLiteral("Series name:")));
        *names[k] = new QLineEdit;
        layout->addWidget(*names[k], 1);
        pane->setRuleExtra(Generator_Spec::Rule(k), row);
        m_nameRow << row;
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    cancel_btn = new QPushButton(QStringLiteral("Cancel"));
    ok_btn = new QPushButton(QStringLiteral("OK"));
    cancel_btn->setAutoDefault(false);
    ok_btn->setAutoDefault(false);
    buttons->addWidget(cancel_btn);
    buttons->addWidget(ok_btn);
    col->addLayout(buttons);

    // The radios fill an empty series name of their rule.
    connect(pane, &Generator_Rules_Pane::ruleSelected, this, [this](int rule) {
        QLineEdit* field = rule == Generator_Spec::Constant ? const_file_name
                           : rule == Generator_Spec::Random ? rndm_file_name
                                                            : seq_file_name;
        if (!m_resetting)
            fillEmptyName(field);
    });
    connect(ok_btn, &QPushButton::clicked, this, &Generate_List::OKPressed);
    connect(cancel_btn, &QPushButton::clicked, this, &Generate_List::CancelPressed);
}

Generate_List* Generate_List::defaultInstance()
{
    return Gui_Window_Instance(s_instance);
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
        m_resetting = true;
        for (QLineEdit* f : {seq_file_name, const_file_name, rndm_file_name})
            f->clear();
        const bool named = file_name_required == 1;
        if (named)
            seq_file_name->setText(default_file_name);
        for (QWidget* w : m_nameRow)
            w->setVisible(named);
        pane->reset();
        m_resetting = false;
        prefix_txt->setFocus();
    } catch (const std::exception& e) {
        m_resetting = false;
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Generate_List::fillEmptyName(QLineEdit* field)
{
    if (Trim_Str(field->text()).isEmpty())
        field->setText(default_file_name);
}

void Generate_List::Sequintial_Radio_Pressed() { pane->selectRule(Generator_Spec::Sequential); }
void Generate_List::Constant_Radio_Pressed() { pane->selectRule(Generator_Spec::Constant); }
void Generate_List::Random_Radio_Pressed() { pane->selectRule(Generator_Spec::Random); }

void Generate_List::controlTextDidChange(QLineEdit* field) { pane->controlTextDidChange(field); }
void Generate_List::Count_Stepper_Pressed(bool fromStepper) { pane->Count_Stepper_Pressed(fromStepper); }
void Generate_List::Random_Length_Stepper_Pressed(bool fromStepper) { pane->Random_Length_Stepper_Pressed(fromStepper); }
void Generate_List::Random_Count_Stepper_Pressed(bool fromStepper) { pane->Random_Count_Stepper_Pressed(fromStepper); }
void Generate_List::Help_btn_Pressed() { pane->Help_btn_Pressed(); }

// ---------------------------------------------------------------- generation

void Generate_List::CancelPressed()
{
    done(0);
}

void Generate_List::OKPressed()
{
    Generator_Spec spec;
    if (!pane->readSpec(&spec))
        return;
    const QString typedName = spec.rule == Generator_Spec::Constant ? const_file_name->text()
                              : spec.rule == Generator_Spec::Random ? rndm_file_name->text()
                                                                    : seq_file_name->text();

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
