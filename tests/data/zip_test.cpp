// The zip layer: unpacking into a folder, packing a folder, and the packages
// it must refuse without writing outside the destination.
#include "data/DataTestSupport.h"
#include "data/HeapPeak.h"

#include <QDirIterator>
#include <sys/stat.h>

extern "C" {
#include <minizip/zip.h>
}

#include <vector>

using namespace datatest;

namespace {

QStringList Files_Below(const QString& root)
{
    QStringList out;
    QDirIterator it(root, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext())
        out << QDir(root).relativeFilePath(it.next());
    out.sort();
    return out;
}

} // namespace

TEST(ZipTest, EntryNamesAreMappedOrRefused)
{
    bool folder = false;
    EXPECT_EQ(Safe_Zip_Entry_Path("xl/worksheets/sheet1.xml"), QStringLiteral("xl/worksheets/sheet1.xml"));
    EXPECT_EQ(Safe_Zip_Entry_Path("xl\\sharedStrings.xml"), QStringLiteral("xl/sharedStrings.xml"));
    EXPECT_EQ(Safe_Zip_Entry_Path("./a//b/", &folder), QStringLiteral("a/b"));
    EXPECT_TRUE(folder);
    EXPECT_EQ(Safe_Zip_Entry_Path("docs\\", &folder), QStringLiteral("docs"));
    EXPECT_TRUE(folder);
    for (const char* bad : {"../../x", "/abs/x", "a/../../x", "a\\..\\x", "C:\\x", "c:x", "..", "/", "./", ""})
        EXPECT_TRUE(Safe_Zip_Entry_Path(bad).isNull()) << bad;
}

TEST(ZipTest, UnpacksNestedEntriesAndHonoursOverwrite)
{
    QTemporaryDir dir;
    const QString zip = dir.filePath("a.zip");
    // No folder entries: the folders are made from the file names; one name
    // uses backslashes as separators.
    ASSERT_TRUE(Make_Zip(zip, {{"xl/worksheets/sheet1.xml", "<s/>"}, {"xl\\sharedStrings.xml", "<sst/>"},
                               {"empty/", ""}, {"top.txt", "new"}}));
    const QString out = dir.filePath("out");
    QDir().mkpath(out);
    testsupport::touch(out + "/top.txt", "old");

    SSZipError error;
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(zip, out, false, QString(), &error)) << error.description.toStdString();
    EXPECT_EQ(Read_Bytes(out + "/xl/worksheets/sheet1.xml"), QByteArray("<s/>"));
    EXPECT_EQ(Read_Bytes(out + "/xl/sharedStrings.xml"), QByteArray("<sst/>"));
    EXPECT_TRUE(QFileInfo(out + "/empty").isDir());
    EXPECT_EQ(Read_Bytes(out + "/top.txt"), QByteArray("old"));  // overwrite off keeps it

    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(zip, out));
    EXPECT_EQ(Read_Bytes(out + "/top.txt"), QByteArray("new"));
}

TEST(ZipTest, ArchiveLevelFailuresCarryTheirCodes)
{
    QTemporaryDir dir;
    SSZipError error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(dir.filePath("missing.zip"), dir.filePath("o"), true, {}, &error));
    EXPECT_EQ(error.code, SSZipErrorOpen);
    EXPECT_EQ(error.domain, SSZipArchiveErrorDomain);

    // An archive without entries.
    SSZipArchive empty(dir.filePath("empty.zip"));
    ASSERT_TRUE(empty.open());
    ASSERT_TRUE(empty.close());
    error = {};
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(dir.filePath("empty.zip"), dir.filePath("o"), true, {}, &error));
    EXPECT_EQ(error.code, SSZipErrorNoFirstFile);

    // A damaged central directory: the end of the package cut away or garbled.
    ASSERT_TRUE(Make_Zip(dir.filePath("c.zip"), {{"a.txt", QByteArray(3000, 'a')}, {"b.txt", "b"}}));
    QByteArray bytes = Read_Bytes(dir.filePath("c.zip"));
    testsupport::touch(dir.filePath("cut.zip"), bytes.left(bytes.size() - 30));
    error = {};
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(dir.filePath("cut.zip"), dir.filePath("o2"), true, {}, &error));
    EXPECT_NE(error.code, 0);
    const qsizetype dirAt = bytes.lastIndexOf(QByteArray("PK\x01\x02", 4));
    ASSERT_GT(dirAt, 0);
    for (qsizetype i = dirAt + 10; i < dirAt + 46; ++i)
        bytes[i] = char(0xff);
    testsupport::touch(dir.filePath("garbled.zip"), bytes);
    error = {};
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(dir.filePath("garbled.zip"), dir.filePath("o3"), true, {}, &error));
    EXPECT_NE(error.code, 0);
}

TEST(ZipTest, TraversalAndAbsoluteEntriesAreRefusedBeforeAnythingIsWritten)
{
    QTemporaryDir dir;
    const QString dest = dir.filePath("deep/inside/dest");
    for (const char* bad : {"../../x", "/abs/x", "ok/../../../x", "..\\..\\x", "C:\\x"}) {
        const QString zip = dir.filePath("t.zip");
        QFile::remove(zip);
        // A harmless entry first: it must not be written either.
        ASSERT_TRUE(Make_Zip(zip, {{"first.txt", "1"}, {QString::fromLatin1(bad), "evil"}}));
        SSZipError error;
        EXPECT_FALSE(SSZipArchive::unzipFileAtPath(zip, dest, true, {}, &error)) << bad;
        EXPECT_EQ(error.code, SSZipErrorUnsafeName) << bad;
        EXPECT_FALSE(QFileInfo::exists(dest + "/first.txt")) << bad;
    }
    // Nothing anywhere outside: the temporary folder holds only our packages.
    EXPECT_EQ(Files_Below(dir.path()), QStringList({"t.zip"}));
    EXPECT_FALSE(QFileInfo::exists("/abs/x"));
}

TEST(ZipTest, NeverWritesThroughALinkInTheDestination)
{
    QTemporaryDir dir;
    const QString outside = dir.filePath("outside");
    QDir().mkpath(outside);
    const QString dest = dir.filePath("dest");
    QDir().mkpath(dest);
    ASSERT_TRUE(QFile::link(outside, dest + "/sub"));
    ASSERT_TRUE(Make_Zip(dir.filePath("l.zip"), {{"sub/x.txt", "evil"}}));
    SSZipError error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(dir.filePath("l.zip"), dest, true, {}, &error));
    EXPECT_FALSE(QFileInfo::exists(outside + "/x.txt"));
}

TEST(ZipTest, EntryCountAndDeclaredSizeAreLimited)
{
    QTemporaryDir dir;
    QList<QPair<QString, QByteArray>> many;
    for (int i = 0; i < 30; ++i)
        many << qMakePair(QStringLiteral("f%1").arg(i), QByteArray("x"));
    ASSERT_TRUE(Make_Zip(dir.filePath("many.zip"), many));
    SSZipLimits limits;
    limits.maxEntries = 20;
    SSZipError error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(dir.filePath("many.zip"), dir.filePath("o"), true, {}, &error, limits));
    EXPECT_EQ(error.code, SSZipErrorTooMany);
    EXPECT_TRUE(Files_Below(dir.filePath("o")).isEmpty());

    ASSERT_TRUE(Make_Zip(dir.filePath("big.zip"), {{"a", QByteArray(600, 'a')}, {"b", QByteArray(600, 'b')}}));
    limits = {};
    limits.maxUnpackedBytes = 1000;
    error = {};
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(dir.filePath("big.zip"), dir.filePath("p"), true, {}, &error, limits));
    EXPECT_EQ(error.code, SSZipErrorTooLarge);
    EXPECT_TRUE(Files_Below(dir.filePath("p")).isEmpty());
}

TEST(ZipTest, ABombIsRefusedWithoutUnpackingIt)
{
    // One entry of 1.5 GiB of zeros, deflated to about 1.5 MB. Each MiB is
    // deflated once after a full flush, so its bytes repeat for every MiB.
    QTemporaryDir dir;
    const QString bomb = dir.filePath("bomb.zip");
    const qint64 mib = 1 << 20, count = 1536;
    std::vector<unsigned char> zeros(static_cast<size_t>(mib), 0);
    std::vector<unsigned char> out(static_cast<size_t>(mib));
    z_stream z{};
    ASSERT_EQ(deflateInit2(&z, 9, Z_DEFLATED, -15, 9, Z_DEFAULT_STRATEGY), Z_OK);
    auto deflateChunk = [&](unsigned char* in, uInt inSize, int flush) {
        z.next_in = in;
        z.avail_in = inSize;
        z.next_out = out.data();
        z.avail_out = uInt(out.size());
        deflate(&z, flush);
        return QByteArray(reinterpret_cast<const char*>(out.data()), qsizetype(out.size() - z.avail_out));
    };
    const QByteArray block = deflateChunk(zeros.data(), uInt(mib), Z_FULL_FLUSH);
    const QByteArray tail = deflateChunk(nullptr, 0, Z_FINISH);
    deflateEnd(&z);
    const uLong chunkCrc = crc32(0, zeros.data(), uInt(mib));
    uLong crc = 0;
    for (qint64 i = 0; i < count; ++i)
        crc = crc32_combine64(crc, chunkCrc, mib);

    zipFile zf = zipOpen64(QFile::encodeName(bomb).constData(), APPEND_STATUS_CREATE);
    ASSERT_NE(zf, nullptr);
    zip_fileinfo zi{};
    ASSERT_EQ(zipOpenNewFileInZip2_64(zf, "xl/worksheets/sheet1.xml", &zi, nullptr, 0, nullptr, 0, nullptr, Z_DEFLATED,
                                      9, 1, 1),
              ZIP_OK);
    for (qint64 i = 0; i < count; ++i)
        ASSERT_EQ(zipWriteInFileInZip(zf, block.constData(), unsigned(block.size())), ZIP_OK);
    ASSERT_EQ(zipWriteInFileInZip(zf, tail.constData(), unsigned(tail.size())), ZIP_OK);
    ASSERT_EQ(zipCloseFileInZipRaw64(zf, ZPOS64_T(count * mib), crc), ZIP_OK);
    ASSERT_EQ(zipClose(zf, nullptr), ZIP_OK);
    EXPECT_LT(QFileInfo(bomb).size(), 3 << 20);

    Cpu_Clock t;
    SSZipError error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(bomb, dir.filePath("out"), true, {}, &error));
    EXPECT_EQ(error.code, SSZipErrorTooLarge);
    EXPECT_LT(t.milliseconds(), 2000);  // refused from the directory, nothing inflated
    EXPECT_TRUE(Files_Below(dir.filePath("out")).isEmpty());

    // The reader inflates nothing of it and says so when the sheet is asked for.
    Xlsx_Workbook book;
    ASSERT_TRUE(book.open(bomb)) << book.lastError().toStdString();
    EXPECT_TRUE(book.readSheet(1).isEmpty());
    EXPECT_TRUE(book.lastError().startsWith("The sheet 'Sheet1' is too large to read")) << book.lastError().toStdString();
}

TEST(ZipTest, ChecksumErrorFailsTheUnpacking)
{
    QTemporaryDir dir;
    const QByteArray payload = "hello checksum world, plain stored data";
    ASSERT_TRUE(Make_Zip(dir.filePath("s.zip"), {{"a.txt", payload}}, true));
    QByteArray bytes = Read_Bytes(dir.filePath("s.zip"));
    const qsizetype at = bytes.indexOf(payload);
    ASSERT_GT(at, 0);
    bytes[at + 3] = 'X';
    testsupport::touch(dir.filePath("bad.zip"), bytes);
    SSZipError error;
    EXPECT_FALSE(SSZipArchive::unzipFileAtPath(dir.filePath("bad.zip"), dir.filePath("o"), true, {}, &error));
    EXPECT_EQ(error.code, SSZipErrorData);
    EXPECT_TRUE(error.description.contains("checksum"));
}

TEST(ZipTest, PacksFolderItemsUnderTheirRelativeNames)
{
    QTemporaryDir dir;
    const QString src = dir.filePath("src");
    QDir().mkpath(src + "/xl/worksheets");
    QDir().mkpath(src + "/docProps");
    QDir().mkpath(src + "/emptydir");
    testsupport::touch(src + "/[Content_Types].xml", "types");
    testsupport::touch(src + "/xl/worksheets/sheet1.xml", "sheet");
    testsupport::touch(src + "/docProps/app.xml", "app");

    QStringList items;
    for (const QString& e : QDir(src).entryList(QDir::AllEntries | QDir::NoDotAndDotDot))
        items << src + "/" + e;
    const QString zip = dir.filePath("p.zip");
    ASSERT_TRUE(SSZipArchive::createZipFileAtPath(zip, items));

    const QString out = dir.filePath("out");
    ASSERT_TRUE(SSZipArchive::unzipFileAtPath(zip, out));
    EXPECT_EQ(Files_Below(out), QStringList({"[Content_Types].xml", "docProps/app.xml", "xl/worksheets/sheet1.xml"}));
    EXPECT_TRUE(QFileInfo(out + "/emptydir").isDir());
    EXPECT_EQ(Read_Bytes(out + "/xl/worksheets/sheet1.xml"), QByteArray("sheet"));
}

TEST(ZipTest, AFailedPackKeepsTheOldFile)
{
    QTemporaryDir dir;
    const QString zip = dir.filePath("keep.zip");
    testsupport::touch(zip, "old package");
    // One of the given paths cannot be read.
    EXPECT_FALSE(SSZipArchive::createZipFileAtPath(zip, {dir.filePath("does-not-exist")}));
    EXPECT_EQ(Read_Bytes(zip), QByteArray("old package"));
    // Nothing left beside it.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"keep.zip"}));
    // A package never finished leaves the old file too.
    {
        SSZipArchive unfinished(zip);
        ASSERT_TRUE(unfinished.open());
        ASSERT_TRUE(unfinished.writeData("x", "x.txt"));
    }
    EXPECT_EQ(Read_Bytes(zip), QByteArray("old package"));
    // Writing before opening is refused.
    SSZipArchive closed(zip);
    EXPECT_FALSE(closed.writeData("x", "x.txt"));
    EXPECT_FALSE(closed.close());
}

// A written package is the user's document, not a private temporary file: a
// new one gets the permissions any new file of the user gets, a replaced one
// keeps those it had. The spreadsheet exports (barcode list, series) take
// this road.
TEST(ZipTest, APackageHasTheUsersPermissionsNotThoseOfATemporaryFile)
{
    QTemporaryDir dir;
    const mode_t before = ::umask(022);
    const QString fresh = dir.filePath("list.xlsx");
    const bool wrote = SpreadsheetWriter::WriteWorkbook(fresh, {{"Barcode Value"}, {"A-1"}}, true);
    const QString replaced = dir.filePath("shared.zip");
    testsupport::touch(replaced, "old package");
    ::chmod(replaced.toLocal8Bit().constData(), 0640);
    SSZipArchive zip(replaced);
    const bool packed = zip.open() && zip.writeData("x", "x.txt") && zip.close();
    ::umask(before);
    ASSERT_TRUE(wrote);
    ASSERT_TRUE(packed);
    struct stat st {};
    ASSERT_EQ(::stat(fresh.toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0644u);
    ASSERT_EQ(::stat(replaced.toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
}
