#pragma once
// Our thin layer over minizip: unpacking a zip package into a folder and
// building one from files and folders on disk.
//
// Packages come from outside (spreadsheets users bring), so unpacking is
// defensive: entry names that are absolute or climb out with ".." are
// refused before anything is written, the number of entries and the
// unpacked size are limited (checked against the central directory first and
// again while unpacking, so a small package that would unpack to gigabytes is
// refused without unpacking it), nothing is ever written outside the
// destination, and a checksum error fails the whole.
//
// A package being written goes to a temporary file beside its path and
// replaces the old file only when close() finished it, so a failed write
// keeps what was there.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include <memory>

class QTemporaryFile;

inline const QString SSZipArchiveErrorDomain = QStringLiteral("SSZipArchiveErrorDomain");

// Error codes; -1 and -2 are the archive-level failures callers have always
// seen, the others tell why a package was refused.
enum SSZipArchiveError {
    SSZipErrorOpen = -1,          // "failed to open zip file"
    SSZipErrorNoFirstFile = -2,   // "failed to open first file in zip file"
    SSZipErrorUnsafeName = -3,    // an entry names a place outside the destination
    SSZipErrorTooMany = -4,       // more entries than the limit
    SSZipErrorTooLarge = -5,      // unpacks to more than the limit
    SSZipErrorData = -6,          // damaged entry data or a checksum error
    SSZipErrorWrite = -7,         // a file could not be written in the destination
};

struct SSZipError {
    QString domain;
    int code = 0;
    QString description;  // the text shown or logged
};

struct SSZipLimits {
    qint64 maxEntries = 20000;
    qint64 maxUnpackedBytes = qint64(1) << 30;  // 1 GiB for the whole package
};

// The relative path an entry name stands for ('\\' read as '/', "." and empty
// components dropped), or a null string when the name is absolute, names a
// drive, climbs with "..", holds a NUL or names nothing. `isFolder` tells
// whether the stored name ends with a separator.
QString Safe_Zip_Entry_Path(const QByteArray& storedName, bool* isFolder = nullptr);

class SSZipArchive {
public:
    // ---- Unpacking ----
    // Unpacks every entry of the package at `path` into `destination`
    // (created when missing). With `overwrite` off an existing file keeps its
    // content. A password, when given and not empty, opens encrypted entries.
    // False on any failure, with `error` (when asked) saying why; entries
    // written before a failure stay in the destination.
    static bool unzipFileAtPath(const QString& path, const QString& destination, bool overwrite,
                                const QString& password, SSZipError* error,
                                const SSZipLimits& limits = SSZipLimits());
    static bool unzipFileAtPath(const QString& path, const QString& destination);

    // ---- Packing ----
    // A package of the given files and folders, each entered under its last
    // path component (a folder's contents under their paths relative to the
    // folder's parent). False when the package cannot be created or a file
    // in it could not be read.
    static bool createZipFileAtPath(const QString& path, const QStringList& paths);
    // A package of everything inside `folder`, entered relative to it.
    static bool createZipFileAtPath_withFilesAtPath(const QString& path, const QString& folder);

    explicit SSZipArchive(const QString& path);  // initWithPath
    ~SSZipArchive();
    SSZipArchive(const SSZipArchive&) = delete;
    SSZipArchive& operator=(const SSZipArchive&) = delete;

    // Starts the package (in a temporary file beside the path).
    bool open();
    bool isOpen() const { return m_zip != nullptr; }
    // Adds the file or folder at base/name under `name`: a folder's items
    // recursively (in name order, hidden ones included), an empty folder as
    // "name/", a file as deflated data. False at the first file that cannot
    // be read.
    bool writeFile(const QString& name, const QString& basePath);
    // Adds bytes as one entry dated now; `stored` keeps them uncompressed.
    // False when the archive is not open or there are no bytes.
    bool writeData(const QByteArray& data, const QString& filename, bool stored = false);
    // Adds one entry written in pieces: openEntry, any number of writeEntry,
    // closeEntry (undated, like the files of writeFile). False when the
    // archive is not open, a write fails or the entry passes 4 GB.
    bool openEntry(const QString& name, bool stored = false);
    bool writeEntry(const char* data, qsizetype size);
    bool closeEntry();
    // Finishes the package and puts it in place of the file at the path;
    // false (and the old file kept) when that fails.
    bool close();

    const QString& path() const { return _path; }

private:
    bool addEntry(const QString& name, const QByteArray* data, const QString& sourceFile, bool stored,
                  bool dated);
    bool beginEntry(const QString& name, bool stored, bool dated, bool zip64);

    QString _path;
    void* m_zip = nullptr;
    std::unique_ptr<QTemporaryFile> m_temp;
    bool m_failed = false;
    bool m_inEntry = false;
    qint64 m_entryBytes = 0;
};
