#include "data/ZipPackage.h"

#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <cstring>

extern "C" {
#include <minizip/unzip.h>
}

namespace {

constexpr unsigned kPieceBytes = 256 * 1024;

void setError(QString* error, const QString& text)
{
    if (error)
        *error = text;
}

// A count with its thousands grouped the same in every locale ("65,000").
QString grouped(qint64 n)
{
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::DefaultNumberOptions);
    return c.toString(n);
}

// Package paths compare with '\\' as '/', without "./" or a leading '/'.
QString normalName(QString name)
{
    name.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (name.startsWith(QLatin1Char('/')))
        name.remove(0, 1);
    while (name.startsWith(QLatin1String("./")))
        name.remove(0, 2);
    return name;
}

} // namespace

Zip_Package::Zip_Package() = default;

Zip_Package::~Zip_Package() { close(); }

bool Zip_Package::isOpen() const { return m_zip != nullptr; }

void Zip_Package::close()
{
    if (m_zip)
        unzClose(static_cast<unzFile>(m_zip));
    m_zip = nullptr;
    m_entries.clear();
    m_positions.clear();
}

bool Zip_Package::open(const QString& path, QString* error)
{
    close();
    if (!QFileInfo(path).isFile()) {
        setError(error, QStringLiteral("The file cannot be read."));
        return false;
    }
    unzFile zip = unzOpen64(QFile::encodeName(path).constData());
    if (!zip) {
        setError(error, QStringLiteral("It is not a zip package, or its directory is damaged."));
        return false;
    }
    m_zip = zip;
    unz_global_info64 global{};
    if (unzGetGlobalInfo64(zip, &global) != UNZ_OK) {
        close();
        setError(error, QStringLiteral("Its directory is damaged."));
        return false;
    }
    if (qint64(global.number_entry) > Max_Entries) {
        close();
        // A count the file has no room for is damage, not a large package.
        if (!Zip_Count_Is_Plausible(global.number_entry, QFileInfo(path).size()))
            setError(error, QStringLiteral("Its directory is damaged: it claims %1 entries, more than a file of "
                                           "its size can hold.")
                                .arg(grouped(qint64(global.number_entry))));
        else
            setError(error, QStringLiteral("It holds more than %1 entries.").arg(grouped(Max_Entries)));
        return false;
    }
    std::vector<Zip_Directory_Record> records;
    int status = unzGoToFirstFile(zip);
    while (status == UNZ_OK) {
        if (qint64(m_entries.size()) >= Max_Entries) {
            close();
            setError(error, QStringLiteral("It holds more than %1 entries.").arg(grouped(Max_Entries)));
            return false;
        }
        unz_file_info64 info{};
        if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK
            || info.size_filename > 4096) {
            close();
            setError(error, QStringLiteral("Its directory is damaged."));
            return false;
        }
        QByteArray stored(qsizetype(info.size_filename) + 1, '\0');
        if (unzGetCurrentFileInfo64(zip, &info, stored.data(), uLong(stored.size()), nullptr, 0, nullptr, 0)
            != UNZ_OK) {
            close();
            setError(error, QStringLiteral("Its directory is damaged."));
            return false;
        }
        stored.resize(qsizetype(info.size_filename));
        unz64_file_pos pos{};
        unzGetFilePos64(zip, &pos);
        Zip_Package_Entry e;
        e.name = normalName(QString::fromUtf8(stored));
        e.size = qint64(std::min<quint64>(info.uncompressed_size, quint64(1) << 62));
        e.packedSize = qint64(std::min<quint64>(info.compressed_size, quint64(1) << 62));
        e.method = int(info.compression_method);
        e.encrypted = (info.flag & 1) != 0;
        e.folder = stored.endsWith('/') || stored.endsWith('\\');
        Zip_Directory_Record record;
        record.name = e.name;
        record.packedSize = quint64(e.packedSize);
        record.located = Zip_Current_Data_Start(zip, &record.dataStart, &record.headerStart);
        records.push_back(std::move(record));
        m_entries.push_back(std::move(e));
        m_positions.push_back(Position{pos.pos_in_zip_directory, pos.num_of_file});
        status = unzGoToNextFile(zip);
    }
    if (status != UNZ_END_OF_LIST_OF_FILE) {
        close();
        setError(error, QStringLiteral("Its directory is damaged."));
        return false;
    }
    // Names are found without regard to case: two that differ only in
    // case are one name here.
    const QString fault = Zip_Directory_Fault(std::move(records), Qt::CaseInsensitive);
    if (!fault.isEmpty()) {
        close();
        setError(error, QStringLiteral("Its directory is damaged: %1").arg(fault));
        return false;
    }
    return true;
}

bool Zip_Current_Data_Start(void* unzipReader, quint64* start, quint64* headerStart)
{
    auto* zip = static_cast<unzFile>(unzipReader);
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK)
        return false;
    // Opened raw: the local header is read, nothing is inflated or decrypted.
    if (unzOpenCurrentFile2(zip, nullptr, nullptr, 1) != UNZ_OK)
        return false;
    const ZPOS64_T at = unzGetCurrentFileZStreamPos64(zip);
    // The local header: 30 bytes, the name (as long as in the directory,
    // or the header would not have been taken) and its own extra field.
    const int extra = unzGetLocalExtrafield(zip, nullptr, 0);
    unzCloseCurrentFile(zip);
    const quint64 header = quint64(30) + info.size_filename + quint64(std::max(extra, 0));
    if (at < header || extra < 0)
        return false;
    *start = quint64(at);
    if (headerStart)
        *headerStart = quint64(at) - header;
    return true;
}

QString Zip_Directory_Fault(std::vector<Zip_Directory_Record> records, Qt::CaseSensitivity names)
{
    std::vector<size_t> order(records.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return records[a].name.compare(records[b].name, names) < 0;
    });
    for (size_t i = 1; i < order.size(); ++i)
        if (records[order[i - 1]].name.compare(records[order[i]].name, names) == 0)
            return QStringLiteral("two entries are named %1.").arg(records[order[i]].name.left(200));
    // The data of one entry ends before the local header of the next begins.
    // (A record whose local header does not match it gives no data at all:
    // it is said to be damaged when it is read.)
    std::vector<const Zip_Directory_Record*> placed;
    for (const Zip_Directory_Record& r : records)
        if (r.located)
            placed.push_back(&r);
    std::stable_sort(placed.begin(), placed.end(), [](const Zip_Directory_Record* a, const Zip_Directory_Record* b) {
        return a->dataStart < b->dataStart;
    });
    for (size_t i = 1; i < placed.size(); ++i) {
        const Zip_Directory_Record& before = *placed[i - 1];
        const Zip_Directory_Record& after = *placed[i];
        if (after.dataStart == before.dataStart)
            return QStringLiteral("two of its records name the same data (%1 and %2).")
                .arg(before.name.left(200), after.name.left(200));
        if (after.headerStart < before.dataStart || before.packedSize > after.headerStart - before.dataStart)
            return QStringLiteral("the data of %1 runs into %2.").arg(before.name.left(200), after.name.left(200));
    }
    return {};
}

int Zip_Package::find(const QString& packagePath) const
{
    const QString want = normalName(packagePath);
    if (want.isEmpty())
        return -1;
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (!m_entries[i].folder && m_entries[i].name == want)
            return int(i);
    for (size_t i = 0; i < m_entries.size(); ++i)
        if (!m_entries[i].folder && m_entries[i].name.compare(want, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

Zip_Package::Read Zip_Package::read(int entry, const std::function<bool(const char*, qsizetype)>& sink,
                                    qint64 maxBytes, QString* error)
{
    auto* zip = static_cast<unzFile>(m_zip);
    if (!zip || entry < 0 || size_t(entry) >= m_entries.size()) {
        setError(error, QStringLiteral("The part is missing."));
        return Read::Damaged;
    }
    const Zip_Package_Entry& e = m_entries[size_t(entry)];
    if (e.encrypted) {
        setError(error, QStringLiteral("The part %1 is encrypted.").arg(e.name));
        return Read::Encrypted;
    }
    // A size no packed data of that length can give is a damaged header; a
    // size the directory declares past the cap is refused before inflating.
    if (!Zip_Size_Is_Plausible(quint64(e.size), quint64(e.packedSize), e.method)) {
        setError(error, QStringLiteral("The part %1 is damaged: its header claims %2 bytes unpacked from %3.")
                            .arg(e.name, grouped(e.size), grouped(e.packedSize)));
        return Read::Damaged;
    }
    if (e.size > maxBytes) {
        setError(error, QStringLiteral("The part %1 unpacks to more than %2 MB.").arg(e.name).arg(maxBytes >> 20));
        return Read::TooLarge;
    }
    unz64_file_pos pos{m_positions[size_t(entry)].directory, m_positions[size_t(entry)].number};
    if (unzGoToFilePos64(zip, &pos) != UNZ_OK || unzOpenCurrentFile(zip) != UNZ_OK) {
        setError(error, QStringLiteral("The part %1 is damaged.").arg(e.name));
        return Read::Damaged;
    }
    std::unique_ptr<char[]> buffer(new char[kPieceBytes]);
    qint64 total = 0;
    Read result = Read::Done;
    for (;;) {
        const int n = unzReadCurrentFile(zip, buffer.get(), kPieceBytes);
        if (n == 0)
            break;
        if (n < 0) {
            setError(error, QStringLiteral("The part %1 is damaged.").arg(e.name));
            result = Read::Damaged;
            break;
        }
        total += n;
        if (total > maxBytes) {
            setError(error,
                     QStringLiteral("The part %1 unpacks to more than %2 MB.").arg(e.name).arg(maxBytes >> 20));
            result = Read::TooLarge;
            break;
        }
        if (!sink(buffer.get(), n)) {
            result = Read::Stopped;
            break;
        }
    }
    const int closed = unzCloseCurrentFile(zip);
    if (result == Read::Done && closed != UNZ_OK) {
        setError(error, closed == UNZ_CRCERROR ? QStringLiteral("The part %1 fails its checksum.").arg(e.name)
                                               : QStringLiteral("The part %1 is damaged.").arg(e.name));
        result = Read::Damaged;
    }
    return result;
}

bool Zip_Package::readAll(int entry, QByteArray* out, qint64 maxBytes, QString* error)
{
    QByteArray bytes;
    const Read r = read(entry, [&bytes](const char* data, qsizetype size) {
        bytes.append(data, size);
        return true;
    }, maxBytes, error);
    if (r != Read::Done)
        return false;
    *out = std::move(bytes);
    return true;
}

bool Zip_Size_Is_Plausible(quint64 unpacked, quint64 packed, int method)
{
    if (method == 0)
        return unpacked == packed;
    if (method == 8)
        return unpacked / 1032 <= packed + 64;
    return true;
}

bool Zip_Count_Is_Plausible(quint64 entries, qint64 fileSize)
{
    return fileSize >= 0 && entries <= quint64(fileSize) / 76;
}

// ---------------------------------------------------------------- what else a file may be

namespace {

quint32 le32(const QByteArray& b, qsizetype at)
{
    if (at < 0 || at + 4 > b.size())
        return 0xFFFFFFFFu;
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24;
}

quint16 le16(const QByteArray& b, qsizetype at)
{
    if (at < 0 || at + 2 > b.size())
        return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return quint16(p[0] | p[1] << 8);
}

// The names of the entries of a compound document's directory (bounded walk
// of its sector chains; a damaged file gives what could be read).
QStringList compoundFileNames(QFile& file)
{
    QStringList names;
    file.seek(0);
    const QByteArray header = file.read(512);
    if (header.size() < 512)
        return names;
    const int shift = le16(header, 0x1E);
    if (shift != 9 && shift != 12)
        return names;
    const qint64 sectorSize = qint64(1) << shift;
    const qint64 fileSize = file.size();
    const qint64 sectors = fileSize / sectorSize;
    auto readSector = [&](quint32 n) -> QByteArray {
        if (qint64(n) >= sectors)
            return {};
        file.seek((qint64(n) + 1) * sectorSize);
        const QByteArray s = file.read(sectorSize);
        return s.size() == sectorSize ? s : QByteArray();
    };
    // Where the sectors of the allocation table lie: 109 in the header, the
    // rest in a chain of further sectors.
    std::vector<quint32> fatSectors;
    const quint32 fatCount = std::min<quint32>(le32(header, 0x2C), quint32(sectors));
    for (int i = 0; i < 109 && fatSectors.size() < fatCount; ++i)
        fatSectors.push_back(le32(header, 0x4C + 4 * i));
    quint32 difat = le32(header, 0x44);
    for (int guard = 0; fatSectors.size() < fatCount && difat < 0xFFFFFFFAu && guard < 4096; ++guard) {
        const QByteArray s = readSector(difat);
        if (s.isEmpty())
            break;
        const qsizetype perSector = sectorSize / 4 - 1;
        for (qsizetype i = 0; i < perSector && fatSectors.size() < fatCount; ++i)
            fatSectors.push_back(le32(s, 4 * i));
        difat = le32(s, sectorSize - 4);
    }
    const qint64 perFatSector = sectorSize / 4;
    auto next = [&](quint32 n) -> quint32 {
        const qint64 k = qint64(n) / perFatSector;
        if (k >= qint64(fatSectors.size()) || qint64(fatSectors[size_t(k)]) >= sectors)
            return 0xFFFFFFFEu;
        file.seek((qint64(fatSectors[size_t(k)]) + 1) * sectorSize + (qint64(n) % perFatSector) * 4);
        const QByteArray b = file.read(4);
        return le32(b, 0);
    };
    quint32 dir = le32(header, 0x30);
    for (int guard = 0; dir < 0xFFFFFFFAu && guard < 4096; ++guard) {
        const QByteArray s = readSector(dir);
        if (s.isEmpty())
            break;
        for (qsizetype at = 0; at + 128 <= s.size(); at += 128) {
            const int length = std::min<int>(le16(s, at + 0x40), 64);
            if (length < 2)
                continue;
            names << QString::fromUtf16(reinterpret_cast<const char16_t*>(s.constData() + at), length / 2 - 1);
        }
        dir = next(dir);
    }
    return names;
}

} // namespace

Office_File_Kind Sniff_Office_File(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return Office_File_Kind::Unknown;
    const QByteArray head = file.read(8);
    if (head.startsWith("PK"))
        return Office_File_Kind::Zip;
    if (head == QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8)) {
        const QStringList names = compoundFileNames(file);
        auto has = [&names](const char* name) {
            return std::any_of(names.begin(), names.end(), [name](const QString& n) {
                return n.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
            });
        };
        if (has("EncryptedPackage") || has("EncryptionInfo"))
            return Office_File_Kind::EncryptedPackage;
        if (has("Workbook") || has("Book"))
            return Office_File_Kind::OldExcel;
        return Office_File_Kind::OtherCompoundFile;
    }
    // The oldest Excel files begin with a BIFF2-4 start-of-file record.
    if (head.size() >= 4 && head.at(0) == '\x09' && (head.at(1) == '\x00' || head.at(1) == '\x02' || head.at(1) == '\x04')
        && head.at(3) == '\x00')
        return Office_File_Kind::OldExcel;
    return Office_File_Kind::Unknown;
}
