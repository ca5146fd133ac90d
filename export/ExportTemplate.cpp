#include "export/ExportTemplate.h"

#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "platform/MessageSink.h"
#include "platform/Paths.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <exception>

QPointer<Export_Template> Export_Template::s_instance;

QString User_Template_Folder()
{
    return User_Resource_Folder(QStringLiteral("Templates/User"));
}

QString User_Template_Path(const QString& name)
{
    return Path_Join(User_Template_Folder(), name + QStringLiteral(".dbs"));
}

Export_Template::Export_Template(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Save as Template"));
    Apply_Dialog_Background(this);
    auto* col = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    template_name = new QLineEdit;
    template_name->setMinimumWidth(260);
    template_passed = new QLineEdit;
    template_passed->setReadOnly(true);
    form->addRow(tr("Template name:"), template_name);
    form->addRow(tr("Opened from:"), template_passed);
    col->addLayout(form);
    auto* row = new QHBoxLayout;
    row->addStretch();
    cancel_btn = new QPushButton(tr("Cancel"));
    cancel_btn->setAutoDefault(false);
    ok_btn = new QPushButton(tr("Save"));
    ok_btn->setDefault(true);
    row->addWidget(cancel_btn);
    row->addWidget(ok_btn);
    col->addLayout(row);
    connect(ok_btn, &QPushButton::clicked, this, &Export_Template::OKPressed);
    connect(cancel_btn, &QPushButton::clicked, this, &Export_Template::CancelPressed);
}

Export_Template* Export_Template::defaultInstance()
{
    if (!s_instance)
        s_instance = new Export_Template(Dialog_Parent_Window());
    return s_instance;
}

int Export_Template::Open_Wnd()
{
    template_name->clear();
    template_name->setFocus();
    setResult(0);
    // The row of the passed name shows only when there is one.
    template_passed->setVisible(!Trim_Str(template_passed->text()).isEmpty());
    const int code = Run_Modal_Dialog(*this);
    hide();
    return code;
}

void Export_Template::OKPressed()
{
    try {
        const QString name = Remove_Reserve_Char_In_File_Name(Trim_Str(template_name->text()));
        if (name.isEmpty()) {
            Show_MessageBox(QStringLiteral("Please enter template name."));
            return;
        }
        const QString passed = Trim_Str(template_passed->text());
        const bool exists = QFileInfo::exists(User_Template_Path(name));
        if (passed.isEmpty()) {
            if (exists
                && !Show_YES_NO_MessageBox(QStringLiteral(
                    "Template with this name already exists, Do you want to replace the existing template?")))
                return;
        } else if (passed != name && exists) {
            Show_MessageBox(QStringLiteral("Template with this name already exists."));
            return;
        }
        export_template_name = Remove_Reserve_Char_In_File_Name(name);
        done(1);
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

void Export_Template::CancelPressed()
{
    template_name->clear();
    done(0);
}

bool Save_Design_As_Template(const QString& openedFrom, const std::function<bool(const QString& path)>& save)
{
    try {
        Export_Template* dialog = Export_Template::defaultInstance();
        dialog->template_passed->setText(openedFrom);
        if (dialog->Open_Wnd() != 1)
            return false;
        if (!Create_Folder(User_Template_Folder())) {
            Show_MessageBox(QStringLiteral("The template folder could not be made:\n%1").arg(User_Template_Folder()));
            return false;
        }
        return save && save(User_Template_Path(dialog->export_template_name));
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
    return false;
}
