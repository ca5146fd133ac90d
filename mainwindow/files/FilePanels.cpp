#include "mainwindow/files/FilePanels.h"

#include "core/util/FileChoosers.h"
#include "platform/MessageSink.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>

namespace {

QString Dialog_Panel(const File_Panel_Request& r)
{
    QFileDialog panel(Message_Parent(), r.title);
    panel.setOption(QFileDialog::DontUseNativeDialog, true);
    QStringList patterns;
    for (const QString& e : r.extensions)
        patterns << QStringLiteral("*.") + e;
    if (!patterns.isEmpty())
        panel.setNameFilter(QStringLiteral("%1 (%2)")
                                .arg(r.filterName.isEmpty() ? QObject::tr("Zorv Label files") : r.filterName,
                                     patterns.join(QLatin1Char(' '))));
    if (r.kind == File_Panel_Request::Save) {
        panel.setAcceptMode(QFileDialog::AcceptSave);
        panel.setFileMode(QFileDialog::AnyFile);
        if (!r.extensions.isEmpty())
            panel.setDefaultSuffix(r.extensions.first());
        if (!r.name.isEmpty())
            panel.selectFile(r.name);
        // The extension chooser of the save panel: one entry, the design extension.
        if (auto* grid = qobject_cast<QGridLayout*>(panel.layout()); grid && !r.extensions.isEmpty()) {
            auto* ext = new QComboBox(&panel);
            ext->setObjectName(QStringLiteral("Save_Ext_ComboBox"));
            ext->addItem(r.extensions.first());
            ext->setCurrentIndex(0);
            const int row = grid->rowCount();
            grid->addWidget(new QLabel(QObject::tr("Extension:"), &panel), row, 0);
            grid->addWidget(ext, row, 1);
        }
    } else {
        panel.setAcceptMode(QFileDialog::AcceptOpen);
        panel.setFileMode(QFileDialog::ExistingFile);
    }
    return Run_Chooser(panel, r.directory);
}

// Test seam: tests answer the file choosers of every window here.
File_Panel_Runner& Runner()
{
    static File_Panel_Runner runner;
    return runner;
}

} // namespace

File_Panel_Runner Set_File_Panel_Runner(File_Panel_Runner runner)
{
    File_Panel_Runner old = std::move(Runner());
    Runner() = std::move(runner);
    return old;
}

QString Run_File_Panel(const File_Panel_Request& request)
{
    return Runner() ? Runner()(request) : Dialog_Panel(request);
}
