// Zip packages (spreadsheets users bring): unpacked into a private folder;
// nothing may land outside it.
#include "data/SSZipArchive.h"
#include "fuzz/FuzzSupport.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTemporaryDir>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz_Start();
    QTemporaryDir dir;
    const QString package = dir.filePath(QStringLiteral("in.zip"));
    {
        QFile f(package);
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(Fuzz_Bytes(data, size));
    }
    const QString out = dir.filePath(QStringLiteral("out"));
    SSZipError error;
    SSZipLimits limits;
    limits.maxUnpackedBytes = qint64(64) << 20;
    (void)SSZipArchive::unzipFileAtPath(package, out, true, QString(), &error, limits);
    // Only the package and the destination exist in the private folder.
    const QStringList top = QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    for (const QString& name : top)
        Fuzz_Check(name == QLatin1String("in.zip") || name == QLatin1String("out"), "nothing is written outside the destination");
    return 0;
}
