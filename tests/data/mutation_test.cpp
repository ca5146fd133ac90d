// Randomized damage to the committed workbooks and packages: every reader
// must give a result or a reason, never crash, never write outside its own
// folder, and finish quickly. Seeds are fixed so a failure repeats.
#include "data/DataTestSupport.h"
#include "data/ZipPackage.h"

#include <QDirIterator>
#include <QElapsedTimer>
#include <QRandomGenerator>

using namespace datatest;

namespace {

QByteArray Mutate(QByteArray bytes, QRandomGenerator& rng)
{
    const int edits = 1 + int(rng.bounded(6));
    for (int e = 0; e < edits && !bytes.isEmpty(); ++e) {
        const qsizetype at = qsizetype(rng.bounded(quint32(bytes.size())));
        switch (rng.bounded(8)) {
        case 0:  // flip bits
            bytes[at] = char(bytes[at] ^ (1 << rng.bounded(8)));
            break;
        case 1:  // random byte
            bytes[at] = char(rng.bounded(256));
            break;
        case 2:  // cut the end
            bytes.truncate(at);
            break;
        case 3:  // remove a run
            bytes.remove(at, qsizetype(rng.bounded(64)) + 1);
            break;
        case 4: {  // repeat a run
            const QByteArray run = bytes.mid(at, qsizetype(rng.bounded(256)) + 1);
            bytes.insert(at, run.repeated(1 + int(rng.bounded(4))));
            break;
        }
        case 5: {  // markup and numbers that stress a parser
            static const char* const bits[] = {"<", ">", "&", "\"", "</row>", "<row>", "<c r=\"XFD1\">",
                                               "99999999999999999999", "1099511627776", "-1", "ZZZZZZ1",
                                               "<si><r><t>", "table:number-columns-repeated=\"1073741824\"",
                                               "ss:Index=\"2147483647\"", "\xff\xfe", "\0"};
            const char* bit = bits[rng.bounded(int(sizeof(bits) / sizeof(bits[0])))];
            bytes.insert(at, QByteArray(bit, qsizetype(std::strlen(bit)) + (bit[0] == 0 ? 1 : 0)));
            break;
        }
        case 6: {  // digits made larger
            for (qsizetype i = at; i < bytes.size() && i < at + 40; ++i)
                if (bytes[i] >= '0' && bytes[i] <= '9') {
                    bytes.insert(i, "9999999");
                    break;
                }
            break;
        }
        default:  // swap two bytes
            std::swap(bytes[at], bytes[qsizetype(rng.bounded(quint32(bytes.size())))]);
            break;
        }
    }
    return bytes;
}

// Reads a file as every reader of that kind would.
void Read_Everything(const QString& path)
{
    if (path.endsWith(".xml")) {
        SpreadsheetWriter::ReadWorksheetXML2004(path);
        return;
    }
    if (path.endsWith(".ods")) {
        SpreadsheetWriter::ReadODS(path);
        return;
    }
    Xlsx_Workbook book;
    if (!book.open(path))
        return;
    for (int s = 1; s <= book.sheetCount() + 1; ++s) {
        book.readHeader(s);
        book.readSheet(s);
    }
}

QStringList Committed_Files()
{
    QStringList out;
    for (const QString& f : QDir(Files_Folder()).entryList({"*.xlsx", "*.ods", "*.xml", "*.xls"}, QDir::Files, QDir::Name))
        out << Test_File(f);
    return out;
}

// Makes the process's temporary folder a private one for the test's lifetime,
// so what the readers leave behind can be seen (other tests run at the same time).
class PrivateTemp {
public:
    PrivateTemp() : m_old(qgetenv("TMPDIR")) { qputenv("TMPDIR", m_dir.path().toLocal8Bit()); }
    ~PrivateTemp()
    {
        if (m_old.isEmpty())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", m_old);
    }
    QString path() const { return m_dir.path(); }
    QStringList leftovers() const
    {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_old;
};

} // namespace

TEST(MutationTest, DamagedPackagesNeverCrashTheReaders)
{
    const QStringList files = Committed_Files();
    ASSERT_GE(files.size(), 10);
    QTemporaryDir dir;
    PrivateTemp temp;
    ASSERT_EQ(QDir::tempPath(), QDir(temp.path()).canonicalPath());
    QRandomGenerator rng(20240315);
    QElapsedTimer timer;
    timer.start();
    int runs = 0;
    for (int i = 0; i < 600; ++i) {
        const QString source = files.at(int(rng.bounded(int(files.size()))));
        const QString path = dir.filePath(QStringLiteral("m%1.%2").arg(i).arg(QFileInfo(source).suffix()));
        testsupport::touch(path, Mutate(Read_Bytes(source), rng));
        SCOPED_TRACE(QFileInfo(source).fileName().toStdString() + " run " + std::to_string(i));
        Read_Everything(path);
        QFile::remove(path);
        ++runs;
    }
    EXPECT_EQ(runs, 600);
    EXPECT_LT(timer.elapsed(), 60000);
    EXPECT_TRUE(temp.leftovers().isEmpty()) << temp.leftovers().join(", ").toStdString();
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot).isEmpty());
}

TEST(MutationTest, DamagedPartsInsideSoundPackagesNeverCrashTheReaders)
{
    // The package stays a good zip; the XML inside it is damaged.
    QTemporaryDir dir;
    QRandomGenerator rng(7);
    int runs = 0;
    for (const QString& source : Committed_Files()) {
        if (source.endsWith(".xml") || Sniff_Office_File(source) != Office_File_Kind::Zip)
            continue;
        QTemporaryDir unpacked;
        ASSERT_TRUE(SSZipArchive::unzipFileAtPath(source, unpacked.path()));
        QStringList parts;
        QDirIterator it(unpacked.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString f = it.next();
            if (f.endsWith(".xml", Qt::CaseInsensitive) || f.endsWith(".rels", Qt::CaseInsensitive))
                parts << QDir(unpacked.path()).relativeFilePath(f);
        }
        ASSERT_FALSE(parts.isEmpty());
        for (int i = 0; i < 24; ++i) {
            QList<QPair<QString, QByteArray>> entries;
            const QString victim = parts.at(int(rng.bounded(int(parts.size()))));
            for (const QString& p : parts) {
                const QByteArray bytes = Read_Bytes(unpacked.filePath(p));
                entries << qMakePair(p, p == victim ? Mutate(bytes, rng) : bytes);
            }
            const QString path = dir.filePath(QStringLiteral("p%1.%2").arg(runs).arg(QFileInfo(source).suffix()));
            ASSERT_TRUE(Make_Zip(path, entries));
            SCOPED_TRACE(QFileInfo(source).fileName().toStdString() + " / " + victim.toStdString());
            Read_Everything(path);
            ++runs;
        }
    }
    EXPECT_GE(runs, 200);
}
