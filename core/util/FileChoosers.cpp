#include "core/util/FileChoosers.h"

#include "platform/MessageSink.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace {

const QString kLastFolderKey = QStringLiteral("Choosers/LastFolder");

// The folder `path` names: itself when it is one, else the folder it lies in
// (for a file, or a file a save chooser is about to write).
QString Folder_Of(const QString& path)
{
    if (path.isEmpty())
        return QString();
    const QFileInfo info(path);
    return info.isDir() ? info.absoluteFilePath() : info.absolutePath();
}

bool Is_Folder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

} // namespace

QString Chooser_Start_Folder(const QString& preferred)
{
    // Only what is there counts: a missing path says nothing about where the
    // user meant to be (its parent may be anywhere).
    if (!preferred.isEmpty() && QFileInfo::exists(preferred))
        return Folder_Of(preferred);
    if (const QString last = QSettings().value(kLastFolderKey).toString(); Is_Folder(last))
        return last;
    if (const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        Is_Folder(documents))
        return documents;
    return QDir::homePath();
}

void Remember_Chosen_Path(const QString& path)
{
    const QString folder = Folder_Of(path);
    if (Is_Folder(folder))
        QSettings().setValue(kLastFolderKey, folder);
}

QString Run_Chooser(QFileDialog& dialog, const QString& preferred)
{
    dialog.setDirectory(Chooser_Start_Folder(preferred));
    if (Run_Modal_Dialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    const QString chosen = dialog.selectedFiles().first();
    Remember_Chosen_Path(chosen);
    return chosen;
}

QString Choose_Open_File(QWidget* parent, const QString& title, const QString& filter, const QString& preferred)
{
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (!filter.isEmpty())
        dialog.setNameFilter(filter);
    return Run_Chooser(dialog, preferred);
}

QString Choose_Folder(QWidget* parent, const QString& title, const QString& preferred)
{
    QFileDialog dialog(parent, title);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    return Run_Chooser(dialog, preferred);
}
