// The output commands of the main window's toolbar and the canvas menu:
// print, PDF export, image export, copy, e-mail and the picture tools, and
// saving the design as a user template. Each command checks the mode and
// hands over to the window of the subsystem that does the work.
#include "mainwindow/LMNWindowController.h"

#include "core/util/BatchServices.h"
#include "core/util/MessageBoxes.h"
#include "export/CopyBarcode.h"
#include "export/ExportDialogs.h"
#include "export/ExportTemplate.h"
#include "export/PdfExportWindow.h"
#include "export/mail/EmailSetting.h"
#include "export/mail/SendMail.h"
#include "imagetools/crop/Cropping_Tool.h"
#include "core/util/Helpers.h"
#include "mainwindow/files/ProjectCommands.h"
#include "mainwindow/BarcodeModeView.h"
#include "print/OutputGate.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include <exception>

namespace {

// Runs a command body, writing what it throws to the log.
template <class F>
void logged(F body)
{
    try {
        body();
    } catch (const std::exception& e) {
        Show_NSLog_Message(QString::fromUtf8(e.what()));
    }
}

} // namespace

bool LMNWindowController::installOutputAction(QAction* a, const QString& text)
{
    auto withMenu = [this, a](std::initializer_list<std::pair<QString, std::function<void()>>> entries) {
        auto* menu = new QMenu(this);
        for (const auto& [title, action] : entries)
            menu->addAction(title, this, action);
        a->setMenu(menu);
        if (auto* button = qobject_cast<QToolButton*>(main_toolbar->widgetForAction(a)))
            button->setPopupMode(QToolButton::MenuButtonPopup);
    };
    if (text == QLatin1String("Print")) {
        print_btn = a;
        a->setObjectName(QStringLiteral("print_btn"));
        a->setToolTip(tr("Print labels on sheets"));
        connect(a, &QAction::triggered, this, [this] { Print_Button(); });
    } else if (text == QLatin1String("PDF")) {
        pdf_btn = a;
        a->setObjectName(QStringLiteral("pdf_btn"));
        a->setToolTip(tr("Export labels as PDF files"));
        connect(a, &QAction::triggered, this, [this] { PDF_Export_Button(); });
    } else if (text == QLatin1String("Export")) {
        export_btn = a;
        a->setObjectName(QStringLiteral("export_btn"));
        a->setToolTip(tr("Export labels as picture files"));
        connect(a, &QAction::triggered, this, [this] { Export_Button(); });
        withMenu({{tr("Export Pictures..."), [this] { Export_Button(); }},
                  {tr("Save Design as Template..."), [this] { Export_As_Template_Clicked(); }}});
    } else if (text == QLatin1String("Copy")) {
        copy_btn = a;
        a->setObjectName(QStringLiteral("copy_btn"));
        a->setToolTip(tr("Copy the barcode to the clipboard"));
        connect(a, &QAction::triggered, this, [this] { Copy_Button(); });
    } else if (text == QLatin1String("E-mail")) {
        mail_btn = a;
        a->setObjectName(QStringLiteral("mail_btn"));
        a->setToolTip(tr("Send labels by e-mail"));
        connect(a, &QAction::triggered, this, [this] { Barcode_Mail_Send(); });
        withMenu({{tr("Send E-mail..."), [this] { Barcode_Mail_Send(); }},
                  {tr("E-mail Settings..."), [this] { Email_Settings_Clicked(); }}});
    } else if (text == QLatin1String("Pictures")) {
        pictures_btn = a;
        a->setObjectName(QStringLiteral("pictures_btn"));
        a->setToolTip(tr("Crop and resize pictures"));
        connect(a, &QAction::triggered, this, [this] { Cropping_Tool_Clicked(); });
    } else {
        return false;
    }
    return true;
}

void LMNWindowController::installOutputCommands()
{
    // The canvas menu offers what has a command here.
    Export_Command = [] { logged([] { ::Export_Command(); }); };
    Print_Command = [] { logged([] { ::Print_Button(); }); };
    Mail_Command = [this] { logged([] { Send_Mail::defaultInstance()->Open_Wnd(); }); };
    // Copy puts barcode mode's barcode on the clipboard.
    auto modeChanged = [this] {
        if (copy_btn)
            copy_btn->setEnabled(Barcode_mode_tab->currentWidget() == Barcode_setting_tab);
    };
    connect(Barcode_mode_tab, &QTabWidget::currentChanged, this, modeChanged);
    modeChanged();
}

void LMNWindowController::PDF_Export_Button()
{
    logged([] { ::PDF_Export_Button(); });
}

void LMNWindowController::Copy_Button()
{
    logged([this] {
        if (m_mode != 0)
            return;
        // A 2D symbol made while typing is made again at its DPI first.
        if (m_barcodeView->Preview_Is_Draft())
            goButtonActionPerformed();
        if (!m_barcodeView->Check_And_Validat_Barcode(true, true) || m_barcodeView->Preview_Is_Blank())
            return;
        Copy_Barcode_To_Clipboard(m_barcodeView->Preview_Image());
    });
}

void LMNWindowController::Cropping_Tool_Clicked()
{
    logged([this] {
        Cropping_Tool::defaultInstance()->Open_Wnd();
        // A batch may have written a series.
        Refresh_All_Series_Combobox();
    });
}

void LMNWindowController::Email_Settings_Clicked()
{
    // The mail windows read the settings from their store when they open.
    logged([] { Email_Setting::defaultInstance()->Open_Wnd(); });
}

QString LMNWindowController::Template_Opened_From() const
{
    // A design opened from the user templates' folder is that template.
    const QString& path = m_project->Project_File_Name;
    const QFileInfo file(Trim_Str(path));
    if (path.isEmpty() || !file.exists())
        return QString();
    if (QDir(file.absolutePath()) != QDir(User_Template_Folder()))
        return QString();
    return file.completeBaseName();
}

void LMNWindowController::Export_As_Template_Clicked()
{
    logged([this] {
        Save_Design_As_Template(Template_Opened_From(), [this](const QString& path) {
            return Save_project_file(path, true, QStringLiteral("T"));
        });
    });
}
