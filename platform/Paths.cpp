#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#ifndef ZL_SOURCE_DIR
#define ZL_SOURCE_DIR ""
#endif
#ifndef ZL_INSTALL_DATADIR
#define ZL_INSTALL_DATADIR "/usr/local/share/zorv-label"
#endif

QString Default_Resource_Path()
{
    const QString env = qEnvironmentVariable("ZL_RESOURCE_DIR");
    if (!env.isEmpty())
        return QDir::cleanPath(env);

    const QString sourceDir = QDir::cleanPath(QStringLiteral(ZL_SOURCE_DIR));
    const QString sourceResources = sourceDir + QStringLiteral("/resources");
    const QString installed = QDir::cleanPath(QStringLiteral(ZL_INSTALL_DATADIR));

    QString appDir;
    if (QCoreApplication::instance())
        appDir = QDir::cleanPath(QCoreApplication::applicationDirPath());
    const bool inBuildTree = !sourceDir.isEmpty() && !appDir.isEmpty()
        && (appDir == sourceDir || appDir.startsWith(sourceDir + QLatin1Char('/')));
    if (inBuildTree && QFileInfo(sourceResources).isDir())
        return sourceResources;
    if (QFileInfo(installed).isDir())
        return installed;
    if (!sourceDir.isEmpty() && QFileInfo(sourceResources).isDir())
        return sourceResources;
    return installed;
}

QString Default_Created_Resource_Path()
{
    QString path = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (path.isEmpty())
        path = QDir::homePath() + QStringLiteral("/.local/share/Zorv Label");
    return QDir::cleanPath(path);
}

QString Path_Join(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    if (name.isEmpty())
        return folder;
    QString f = folder;
    while (f.size() > 1 && f.endsWith(QLatin1Char('/')))
        f.chop(1);
    qsizetype start = 0;
    while (start < name.size() && name.at(start) == QLatin1Char('/'))
        ++start;
    if (f == QLatin1String("/"))
        return f + name.mid(start);
    return f + QLatin1Char('/') + name.mid(start);
}
