#include "print/LabelSheetFiles.h"

#include "platform/Paths.h"
#include "platform/Plist.h"

#include <QDir>
#include <QFileInfo>
#include <QVariant>

const QString Sheet_File_EXT = QStringLiteral("zvp");

QStringList List_Sheet_Files(const QString& folder)
{
    QStringList names;
    if (folder.isEmpty())
        return names;
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
    for (const QFileInfo& f : files)
        if (f.suffix().toLower() == Sheet_File_EXT)
            names << f.completeBaseName();
    return names;
}

QString Sheet_File_Path(const QString& folder, const QString& name)
{
    return Path_Join(folder, name + QLatin1Char('.') + Sheet_File_EXT);
}

std::optional<QStringList> Read_Sheet_Strings(const QString& path, int count)
{
    const std::optional<QVariant> root = Plist_Read_File(path);
    if (!root || root->typeId() != QMetaType::QVariantList)
        return std::nullopt;
    const QVariantList items = root->toList();
    if (items.size() < count)
        return std::nullopt;
    QStringList out;
    for (int i = 0; i < count; ++i) {
        if (items[i].typeId() != QMetaType::QString)
            return std::nullopt;
        out << items[i].toString();
    }
    return out;
}

bool Write_Sheet_Strings(const QString& path, const QStringList& strings, QString* error)
{
    QVariantList items;
    for (const QString& s : strings)
        items << QVariant(s);
    return Plist_Write_File(path, QVariant(items), PlistFormat::Xml, error);
}
