#include "data/SSZipArchive.h"

#include "core/util/MessageBoxes.h"
#include "data/ZipPackage.h"
#include "platform/Paths.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>
#include <sys/stat.h>
#include <vector>

extern "C" {
#include <minizip/unzip.h>
#include <minizip/zip.h>
}

namespace {

void setError(SSZipError* error, int code, const QString& text)
{
    if (!error)
        return;
    error->domain = SSZipArchiveErrorDomain;
    error->code = code;
    error->description = text;
}

QByteArray nativePath(const QString& path) { return QFile::encodeName(path); }

// The stored name of the current entry and its information.
bool currentEntry(unzFile zip, unz_file_info64& info, QByteArray& name)
{
    if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return false;
    // A name longer than a path can be is not a name we could write.
    if (info.size_filename > 4096)
        return false;
    name.resize(qsizetype(info.size_filename) + 1);
    if (unzGetCurrentFileInfo64(zip, &info, name.data(), uLong(name.size()), nullptr, 0, nullptr, 0)
        != UNZ_OK)
        return false;
    name.resize(qsizetype(info.size_filename));
    return true;
}

// True when `path` lies inside `root` (both canonical).
bool isInside(const QString& root, const QString& path)
{
    return path == root || path.startsWith(root + QLatin1Char('/'));
}

QDateTime dosDateTime(const tm_unz& t)
{
    const QDate date(int(t.tm_year), int(t.tm_mon) + 1, int(t.tm_mday));
    const QTime time(int(t.tm_hour), int(t.tm_min), int(t.tm_sec));
    if (!date.isValid() || !time.isValid())
        return {};
    return QDateTime(date, time);
}

} // namespace

QString Safe_Zip_Entry_Path(const QByteArray& storedName, bool* isFolder)
{
    if (isFolder)
        *isFolder = false;
    if (storedName.isEmpty() || storedName.contains('\0'))
        return {};
    const char last = storedName.back();
    if (isFolder)
        *isFolder = last == '/' || last == '\\';
    QString name = QString::fromUtf8(storedName);
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    if (name.startsWith(QLatin1Char('/')))
        return {};
    // "C:..." names a drive on the system that wrote the package.
    if (name.size() >= 2 && name.at(1) == QLatin1Char(':') && name.at(0).isLetter())
        return {};
    QStringList kept;
    for (const QString& part : name.split(QLatin1Char('/'))) {
        if (part.isEmpty() || part == QLatin1String("."))
            continue;
        if (part == QLatin1String(".."))
            return {};
        kept << part;
    }
    if (kept.isEmpty())
        return {};
    return kept.join(QLatin1Char('/'));
}

// ---------------------------------------------------------------- unpacking

bool SSZipArchive::unzipFileAtPath(const QString& path, const QString& destination)
{
    return unzipFileAtPath(path, destination, true, QString(), nullptr);
}

bool SSZipArchive::unzipFileAtPath(const QString& path, const QString& destination, bool overwrite,
                                   const QString& password, SSZipError* error, const SSZipLimits& limits)
{
    if (!QFileInfo(path).isFile()) {
        setError(error, SSZipErrorOpen, QStringLiteral("failed to open zip file"));
        return false;
    }
    unzFile zip = unzOpen64(nativePath(path).constData());
    if (!zip) {
        // minizip does not open a package without entries; it is one, with no first file.
        QFile f(path);
        const QByteArray head = f.open(QIODevice::ReadOnly) ? f.read(22) : QByteArray();
        if (head.size() == 22 && head.startsWith(QByteArray("PK\x05\x06", 4)) && f.atEnd())
            setError(error, SSZipErrorNoFirstFile, QStringLiteral("failed to open first file in zip file"));
        else
            setError(error, SSZipErrorOpen, QStringLiteral("failed to open zip file"));
        return false;
    }
    struct Closer {
        unzFile z;
        ~Closer() { unzClose(z); }
    } closer{zip};

    unz_global_info64 global{};
    if (unzGetGlobalInfo64(zip, &global) != UNZ_OK || unzGoToFirstFile(zip) != UNZ_OK) {
        setError(error, SSZipErrorNoFirstFile, QStringLiteral("failed to open first file in zip file"));
        return false;
    }

    // First pass over the central directory: names, count and declared sizes,
    // before anything is written.
    struct Entry {
        QString relative;
        bool folder = false;
    };
    std::vector<Entry> entries;
    std::vector<Zip_Directory_Record> records;
    qint64 declared = 0;
    for (int status = UNZ_OK;; status = unzGoToNextFile(zip)) {
        if (status == UNZ_END_OF_LIST_OF_FILE)
            break;
        if (status != UNZ_OK) {
            setError(error, SSZipErrorData, QStringLiteral("The package's directory is damaged."));
            return false;
        }
        if (qint64(entries.size()) >= limits.maxEntries) {
            setError(error, SSZipErrorTooMany,
                     QStringLiteral("The package holds more than %1 entries.").arg(limits.maxEntries));
            return false;
        }
        unz_file_info64 info{};
        QByteArray stored;
        if (!currentEntry(zip, info, stored)) {
            setError(error, SSZipErrorData, QStringLiteral("The package's directory is damaged."));
            return false;
        }
        Entry e;
        e.relative = Safe_Zip_Entry_Path(stored, &e.folder);
        if (e.relative.isNull()) {
            setError(error, SSZipErrorUnsafeName,
                     QStringLiteral("The package holds an entry that points outside its folder: %1")
                         .arg(QString::fromUtf8(stored.left(200))));
            return false;
        }
        if (!(info.flag & 1) && !Zip_Size_Is_Plausible(info.uncompressed_size, info.compressed_size,
                                                       int(info.compression_method))) {
            setError(error, SSZipErrorData,
                     QStringLiteral("The entry %1 is damaged: its header claims %2 bytes unpacked from %3.")
                         .arg(e.relative)
                         .arg(info.uncompressed_size)
                         .arg(info.compressed_size));
            return false;
        }
        declared += qint64(qMin<quint64>(info.uncompressed_size, quint64(limits.maxUnpackedBytes) + 1));
        if (declared > limits.maxUnpackedBytes) {
            setError(error, SSZipErrorTooLarge,
                     QStringLiteral("The package would unpack to more than %1 MB.")
                         .arg(limits.maxUnpackedBytes >> 20));
            return false;
        }
        Zip_Directory_Record record;
        record.name = e.relative + (e.folder ? QStringLiteral("/") : QString());
        record.packedSize = info.compressed_size;
        record.located = Zip_Current_Data_Start(zip, &record.dataStart, &record.headerStart);
        records.push_back(std::move(record));
        entries.push_back(std::move(e));
    }
    // Two entries of one name, or one entry listed several times, are
    // damage: no sound package has them, and either would write a file twice.
    const QString fault = Zip_Directory_Fault(std::move(records), Qt::CaseSensitive);
    if (!fault.isEmpty()) {
        setError(error, SSZipErrorData, QStringLiteral("The package's directory is damaged: %1").arg(fault));
        return false;
    }

    if (!QDir().mkpath(destination)) {
        setError(error, SSZipErrorWrite, QStringLiteral("The folder %1 cannot be created.").arg(destination));
        return false;
    }
    const QString root = QFileInfo(destination).canonicalFilePath();
    const QByteArray pw = password.toLatin1();

    // Second pass: unpack, counting what really comes out.
    if (unzGoToFirstFile(zip) != UNZ_OK) {
        setError(error, SSZipErrorNoFirstFile, QStringLiteral("failed to open first file in zip file"));
        return false;
    }
    qint64 unpacked = 0;
    std::vector<char> buffer(64 * 1024);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i > 0 && unzGoToNextFile(zip) != UNZ_OK) {
            setError(error, SSZipErrorData, QStringLiteral("The package's directory is damaged."));
            return false;
        }
        const Entry& e = entries[i];
        const QString target = root + QLatin1Char('/') + e.relative;
        const QString parent = e.folder ? target : QFileInfo(target).path();
        QDir().mkpath(parent);
        // Never through a link: the folder we write in must be inside the root.
        const QString canonicalParent = QFileInfo(parent).canonicalFilePath();
        if (canonicalParent.isEmpty() || !isInside(root, canonicalParent)) {
            setError(error, SSZipErrorUnsafeName,
                     QStringLiteral("The package holds an entry that points outside its folder: %1")
                         .arg(e.relative));
            return false;
        }
        if (e.folder)
            continue;
        const QFileInfo targetInfo(target);
        if (targetInfo.isSymLink())
            QFile::remove(target);
        else if (targetInfo.isDir())
            continue;  // a folder stands where the file would go
        else if (targetInfo.exists() && !overwrite)
            continue;

        const int opened = pw.isEmpty() ? unzOpenCurrentFile(zip)
                                        : unzOpenCurrentFilePassword(zip, pw.constData());
        if (opened != UNZ_OK) {
            setError(error, SSZipErrorData, QStringLiteral("The entry %1 cannot be read.").arg(e.relative));
            return false;
        }
        QFile out(target);
        if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            unzCloseCurrentFile(zip);
            setError(error, SSZipErrorWrite, QStringLiteral("The file %1 cannot be written.").arg(target));
            return false;
        }
        bool ok = true;
        QString why;
        for (;;) {
            const int n = unzReadCurrentFile(zip, buffer.data(), unsigned(buffer.size()));
            if (n == 0)
                break;
            if (n < 0) {
                ok = false;
                why = QStringLiteral("The entry %1 is damaged.").arg(e.relative);
                break;
            }
            unpacked += n;
            if (unpacked > limits.maxUnpackedBytes) {
                unzCloseCurrentFile(zip);
                out.close();
                setError(error, SSZipErrorTooLarge,
                         QStringLiteral("The package would unpack to more than %1 MB.")
                             .arg(limits.maxUnpackedBytes >> 20));
                return false;
            }
            if (out.write(buffer.data(), n) != n) {
                ok = false;
                why = QStringLiteral("The file %1 cannot be written.").arg(target);
                break;
            }
        }
        const int closed = unzCloseCurrentFile(zip);
        out.close();
        if (ok && closed == UNZ_CRCERROR) {
            ok = false;
            why = QStringLiteral("The entry %1 fails its checksum.").arg(e.relative);
        } else if (ok && closed != UNZ_OK) {
            ok = false;
            why = QStringLiteral("The entry %1 is damaged.").arg(e.relative);
        }
        if (!ok) {
            setError(error, why.contains(QLatin1String("written")) ? SSZipErrorWrite : SSZipErrorData, why);
            return false;
        }
        unz_file_info64 info{};
        QByteArray stored;
        if (currentEntry(zip, info, stored) && info.dosDate != 0) {
            const QDateTime when = dosDateTime(info.tmu_date);
            if (when.isValid()) {
                QFile stamp(target);
                if (stamp.open(QIODevice::ReadWrite))
                    stamp.setFileTime(when, QFileDevice::FileModificationTime);
            }
        }
    }
    return true;
}

// ---------------------------------------------------------------- packing

SSZipArchive::SSZipArchive(const QString& path) : _path(path) {}

SSZipArchive::~SSZipArchive()
{
    // Never finished: the temporary file goes, the old package stays.
    if (m_zip)
        zipClose(static_cast<zipFile>(m_zip), nullptr);
}

bool SSZipArchive::open()
{
    if (m_zip) {
        Show_NSLog_Message(QStringLiteral("Attempting open an archive which is already open"));
        return false;
    }
    const QFileInfo info(_path);
    m_temp = std::make_unique<QTemporaryFile>(info.absolutePath() + QStringLiteral("/.")
                                              + info.fileName() + QStringLiteral(".XXXXXX"));
    if (!m_temp->open())
        return false;
    m_temp->close();
    m_zip = zipOpen64(nativePath(m_temp->fileName()).constData(), APPEND_STATUS_CREATE);
    m_failed = false;
    return m_zip != nullptr;
}

bool SSZipArchive::beginEntry(const QString& name, bool stored, bool dated, bool zip64)
{
    zip_fileinfo zi{};
    // 1980-01-01 00:00, the earliest date the format holds, unless dated now.
    zi.tmz_date.tm_year = 1980;
    zi.tmz_date.tm_mday = 1;
    if (dated) {
        const QDateTime now = QDateTime::currentDateTime();
        zi.tmz_date.tm_sec = uInt(now.time().second());
        zi.tmz_date.tm_min = uInt(now.time().minute());
        zi.tmz_date.tm_hour = uInt(now.time().hour());
        zi.tmz_date.tm_mday = uInt(now.date().day());
        zi.tmz_date.tm_mon = uInt(now.date().month() - 1);
        zi.tmz_date.tm_year = uInt(now.date().year());
    }
    const QByteArray entryName = name.toUtf8();
    if (zipOpenNewFileInZip64(static_cast<zipFile>(m_zip), entryName.constData(), &zi, nullptr, 0, nullptr, 0,
                              nullptr, stored ? 0 : Z_DEFLATED, stored ? 0 : Z_DEFAULT_COMPRESSION, zip64 ? 1 : 0)
        != ZIP_OK) {
        m_failed = true;
        return false;
    }
    return true;
}

bool SSZipArchive::addEntry(const QString& name, const QByteArray* data, const QString& sourceFile,
                            bool stored, bool dated)
{
    QFile source(sourceFile);
    if (!data && !sourceFile.isEmpty() && !source.open(QIODevice::ReadOnly)) {
        m_failed = true;
        return false;
    }
    auto* zip = static_cast<zipFile>(m_zip);
    // Large files need the 64-bit form of the entry.
    const qint64 size = data ? data->size() : (sourceFile.isEmpty() ? 0 : source.size());
    if (!beginEntry(name, stored, dated, size >= 0xffffffffLL))
        return false;
    bool ok = true;
    if (data) {
        qsizetype at = 0;
        while (ok && at < data->size()) {
            const unsigned n = unsigned(qMin<qsizetype>(data->size() - at, 1 << 20));
            ok = zipWriteInFileInZip(zip, data->constData() + at, n) == ZIP_OK;
            at += n;
        }
    } else if (!sourceFile.isEmpty()) {
        std::vector<char> buffer(16384);
        for (;;) {
            const qint64 n = source.read(buffer.data(), qint64(buffer.size()));
            if (n < 0) {
                ok = false;
                break;
            }
            if (n == 0)
                break;
            if (zipWriteInFileInZip(zip, buffer.data(), unsigned(n)) != ZIP_OK) {
                ok = false;
                break;
            }
        }
    }
    if (zipCloseFileInZip(zip) != ZIP_OK)
        ok = false;
    if (!ok)
        m_failed = true;
    return ok;
}

bool SSZipArchive::openEntry(const QString& name, bool stored)
{
    if (!m_zip || m_inEntry)
        return false;
    m_entryBytes = 0;
    m_inEntry = beginEntry(name, stored, false, false);
    return m_inEntry;
}

bool SSZipArchive::writeEntry(const char* data, qsizetype size)
{
    if (!m_zip || !m_inEntry)
        return false;
    // Without the 64-bit form an entry holds less than 4 GB.
    m_entryBytes += size;
    if (m_entryBytes >= 0xffffffffLL) {
        m_failed = true;
        return false;
    }
    while (size > 0) {
        const unsigned n = unsigned(qMin<qsizetype>(size, 1 << 20));
        if (zipWriteInFileInZip(static_cast<zipFile>(m_zip), data, n) != ZIP_OK) {
            m_failed = true;
            return false;
        }
        data += n;
        size -= n;
    }
    return true;
}

bool SSZipArchive::closeEntry()
{
    if (!m_zip || !m_inEntry)
        return false;
    m_inEntry = false;
    if (zipCloseFileInZip(static_cast<zipFile>(m_zip)) != ZIP_OK) {
        m_failed = true;
        return false;
    }
    return !m_failed;
}

bool SSZipArchive::writeFile(const QString& name, const QString& basePath)
{
    if (!m_zip) {
        Show_NSLog_Message(QStringLiteral("Attempting to write to an archive which was never opened"));
        return false;
    }
    const QString source = basePath.isEmpty() ? name : Path_Join(basePath, name);
    const QFileInfo info(source);
    if (info.isDir()) {
        const QStringList items = QDir(source).entryList(
            QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
        if (items.isEmpty())
            return addEntry(name + QLatin1Char('/'), nullptr, QString(), false, false);
        for (const QString& item : items)
            if (!writeFile(name + QLatin1Char('/') + item, basePath))
                return false;
        return true;
    }
    if (!info.isFile()) {
        m_failed = true;
        return false;
    }
    return addEntry(name, nullptr, source, false, false);
}

bool SSZipArchive::writeData(const QByteArray& data, const QString& filename, bool stored)
{
    if (!m_zip || data.isEmpty())
        return false;
    return addEntry(filename, &data, QString(), stored, true);
}

bool SSZipArchive::close()
{
    if (!m_zip) {
        Show_NSLog_Message(QStringLiteral("Attempting to close an archive which was never opened"));
        return false;
    }
    if (m_inEntry)
        closeEntry();
    const bool closed = zipClose(static_cast<zipFile>(m_zip), nullptr) == ZIP_OK;
    m_zip = nullptr;
    if (!closed || m_failed)
        return false;
    // The temporary file is private to its owner: the package takes the
    // permissions of the file it replaces, or those of any new file of the
    // user (0666 less the umask), so a shared folder can read it.
    const QByteArray target = nativePath(_path);
    struct stat old {};
    mode_t mode = 0;
    if (::stat(target.constData(), &old) == 0) {
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    if (::chmod(nativePath(m_temp->fileName()).constData(), mode) != 0)
        return false;
    // rename() replaces the old package in one step.
    if (std::rename(nativePath(m_temp->fileName()).constData(), nativePath(_path).constData()) != 0)
        return false;
    m_temp->setAutoRemove(false);
    m_temp.reset();
    return true;
}

bool SSZipArchive::createZipFileAtPath(const QString& path, const QStringList& paths)
{
    SSZipArchive zip(path);
    if (!zip.open())
        return false;
    bool all = true;
    for (QString p : paths) {
        while (p.size() > 1 && p.endsWith(QLatin1Char('/')))
            p.chop(1);
        const QFileInfo info(p);
        if (!zip.writeFile(info.fileName(), info.path()))
            all = false;
    }
    const bool closed = zip.close();
    return all && closed;
}

bool SSZipArchive::createZipFileAtPath_withFilesAtPath(const QString& path, const QString& folder)
{
    QStringList paths;
    const QDir dir(folder);
    for (const QString& item :
         dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name))
        paths << dir.filePath(item);
    return createZipFileAtPath(path, paths);
}
