#include "core/util/SharedValues.h"

#include <QDir>
#include <QFileInfo>

Folder_Paths Folders;
const QString batch_file_EXT = QStringLiteral("txt");
const QString default_file_name = QStringLiteral("Untitled");
const QString unable_saving_Msg = QStringLiteral(
    "Unable to continue saving barcode image.\n\nEither Destination Drive is inaccessible or there is no free "
    "space available in drive to save barcode image.");

const int Crop_Image_Size = 800;

QString Existing_Series_File(const QString& name)
{
    if (name.isEmpty() || Folders.Data_Folder_Path.isEmpty())
        return {};
    const QString wanted = name + QLatin1Char('.') + batch_file_EXT;
    const QDir dir(Folders.Data_Folder_Path);
    const QString exact = dir.filePath(wanted);
    if (QFileInfo(exact).isFile())
        return exact;
    if (!dir.exists())
        return {};
    for (const QString& file : dir.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name))
        if (file.compare(wanted, Qt::CaseInsensitive) == 0)
            return dir.filePath(file);
    return {};
}

bool Same_Series_Name(const QString& a, const QString& b)
{
    return !a.isEmpty() && a.compare(b, Qt::CaseInsensitive) == 0;
}
