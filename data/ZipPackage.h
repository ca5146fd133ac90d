#pragma once
// Reading a zip package where it lies: its directory, and any entry inflated
// piece by piece into memory while the caller consumes it. Nothing is
// unpacked to disk and only the entries asked for are inflated, so a package
// whose entries would unpack to gigabytes costs only what the reader reads
// of them, up to the cap it gives.
#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

struct Zip_Package_Entry {
    QString name;            // the stored name, '\\' read as '/'
    qint64 size = 0;         // unpacked size as the directory declares it
    qint64 packedSize = 0;   // its size in the package
    int method = 0;          // 0 stored, 8 deflated
    bool encrypted = false;  // the entry's data is encrypted
    bool folder = false;
};

class Zip_Package {
public:
    // More entries than this and the package is refused (no spreadsheet
    // needs them, and each costs a directory record in memory).
    static constexpr qint64 Max_Entries = 20000;

    Zip_Package();
    ~Zip_Package();
    Zip_Package(const Zip_Package&) = delete;
    Zip_Package& operator=(const Zip_Package&) = delete;

    // Reads the package's directory. False, with `error`, when the file is
    // no zip package or its directory is damaged or too large.
    bool open(const QString& path, QString* error = nullptr);
    void close();
    bool isOpen() const;

    const std::vector<Zip_Package_Entry>& entries() const { return m_entries; }
    // The entry of a package path ("xl/workbook.xml"; a leading '/' and
    // "./" are ignored): the name matched exactly, else without regard to
    // case; -1 when there is none.
    int find(const QString& packagePath) const;

    enum class Read { Done, Stopped, Damaged, Encrypted, TooLarge };
    // Inflates an entry in pieces of up to 256 KB and hands each to `sink`
    // as it comes; the sink answers false to stop reading. More than
    // `maxBytes` unpacked bytes end the read with TooLarge (before the piece
    // that would pass the cap is handed on). A damaged entry or one whose
    // checksum fails gives Damaged, with `error` saying which.
    Read read(int entry, const std::function<bool(const char*, qsizetype)>& sink, qint64 maxBytes,
              QString* error = nullptr);
    // The whole of a small entry; false (and `error`) when it is damaged,
    // encrypted or larger than `maxBytes`.
    bool readAll(int entry, QByteArray* out, qint64 maxBytes, QString* error = nullptr);

private:
    struct Position {
        quint64 directory = 0;
        quint64 number = 0;
    };
    void* m_zip = nullptr;
    std::vector<Zip_Package_Entry> m_entries;
    std::vector<Position> m_positions;
};

// True when an entry of `packed` bytes, stored (method 0) or deflated
// (method 8), can unpack to the `unpacked` bytes its header claims: deflate
// packs at most about 1032 to 1, and a stored entry is its own size. A claim
// past that is a lie of a damaged header, not a large entry. Other methods
// are not judged.
bool Zip_Size_Is_Plausible(quint64 unpacked, quint64 packed, int method);
// The same for the count of entries the end record claims: each takes a
// directory record and a local header, 76 bytes at the least.
bool Zip_Count_Is_Plausible(quint64 entries, qint64 fileSize);

// One record of a package's directory, for the check below: the entry's
// name as the reader compares names, and where its data lies in the file.
struct Zip_Directory_Record {
    QString name;
    quint64 headerStart = 0; // where its local header begins
    quint64 dataStart = 0;   // where its packed data begins
    quint64 packedSize = 0;
    bool located = false;    // its local header could be read (headerStart and dataStart hold)
};
// Damage no sound package shows in its directory: two entries of one name
// (compared as `names` says), or records whose data overlap (one entry
// listed by several records, the way packages that unpack a small entry
// many times over are made) or run into the next entry's local header.
// Empty when there is none, else what it is, as the end of "Its directory
// is damaged: ...".
QString Zip_Directory_Fault(std::vector<Zip_Directory_Record> records, Qt::CaseSensitivity names);
// Where the packed data of the current entry of an open minizip reader
// (an unzFile) begins in the file, and where its local header begins; false
// when its local header cannot be read.
bool Zip_Current_Data_Start(void* unzipReader, quint64* start, quint64* headerStart = nullptr);

// What a file that is not a zip package holds, from its first bytes and,
// for the compound files older office programs write, the names of its
// streams.
enum class Office_File_Kind {
    Zip,                 // a zip package (an .xlsx, an .ods, ...)
    EncryptedPackage,    // a workbook saved with a password
    OldExcel,            // an Excel 97-2003 (.xls) or older workbook
    OtherCompoundFile,   // another compound document (Word, ...)
    Unknown,
};
Office_File_Kind Sniff_Office_File(const QString& path);
