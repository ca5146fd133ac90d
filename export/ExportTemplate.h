#pragma once
// User templates: the dialog that asks for the name under which the open
// design is kept as a user template, and the command that writes it.
//
// User templates are design files named <name>.dbs in the "Templates/User"
// folder of the per-user data folder (the shipped resources are never
// written). A new template asks before it replaces one of the same name; a
// copy of a template under another name that is taken is refused; saving a
// design over the template it came from asks nothing.
#include <QDialog>
#include <QPointer>
#include <QString>

#include <functional>

class QLineEdit;
class QPushButton;

// The folder of user templates, and the file of one.
QString User_Template_Folder();
QString User_Template_Path(const QString& name);

class Export_Template : public QDialog {
    Q_OBJECT
public:
    explicit Export_Template(QWidget* parent = nullptr);
    static Export_Template* defaultInstance();

    // Empties the name (the passed name is set by the caller) and runs the
    // dialog: 1 after an accepted name (in export_template_name), 0 after Cancel.
    int Open_Wnd();
    // The name the dialog accepted last.
    QString export_template_name;

    void OKPressed();
    void CancelPressed();
    void reject() override { CancelPressed(); }

    QLineEdit* template_name = nullptr;
    QLineEdit* template_passed = nullptr;   // the template the design came from, or ""
    QPushButton* ok_btn = nullptr;
    QPushButton* cancel_btn = nullptr;

private:
    static QPointer<Export_Template> s_instance;
};

// The save-as-template command: the dialog, then the design written as a
// user template through `save` (the design file writer in its template
// mode; it says what went wrong). `openedFrom` names the template the
// design came from, or is empty. True when a template was written.
bool Save_Design_As_Template(const QString& openedFrom,
                             const std::function<bool(const QString& path)>& save);
