// Custom sheets and print profiles on disk: round trips, short or odd files,
// listing, and atomic writes into a folder that refuses them.
#include "print/LabelSheetFiles.h"
#include "print/PrintTestSupport.h"

#include <QFile>
#include <QRandomGenerator>


using namespace printtest;

TEST_F(PrintTest, SheetFilesRoundTripTheirStrings)
{
    QStringList custom, profile;
    for (int i = 0; i < Custom_Sheet_String_Count; ++i)
        custom << QStringLiteral("c%1 <&> é").arg(i);
    for (int i = 0; i < Print_Profile_String_Count; ++i)
        profile << (i % 3 ? QStringLiteral("%1.25").arg(i) : QString());
    const QString a = Sheet_File_Path(Folders.custom_label_path, "Sheet");
    const QString b = Sheet_File_Path(Folders.print_profile_path, "Profile");
    ASSERT_TRUE(Write_Sheet_Strings(a, custom));
    ASSERT_TRUE(Write_Sheet_Strings(b, profile));
    EXPECT_EQ(Read_Sheet_Strings(a, Custom_Sheet_String_Count), custom);
    EXPECT_EQ(Read_Sheet_Strings(b, Print_Profile_String_Count), profile);

    // Too few strings, or something other than strings, give nothing.
    EXPECT_FALSE(Read_Sheet_Strings(a, Print_Profile_String_Count));
    testsupport::touch(b, "<?xml version=\"1.0\"?><plist version=\"1.0\"><array><string>1</string>"
                          "<integer>2</integer></array></plist>");
    EXPECT_FALSE(Read_Sheet_Strings(b, 2));
    testsupport::touch(b, "<plist><dict/></plist>");
    EXPECT_FALSE(Read_Sheet_Strings(b, 0));
}

TEST_F(PrintTest, ListingTakesZvpFilesInAnyCase)
{
    testsupport::touch(dir.filePath("CustomProductLabel/b.zvp"));
    testsupport::touch(dir.filePath("CustomProductLabel/A.ZVP"));
    testsupport::touch(dir.filePath("CustomProductLabel/c.txt"));
    QDir(dir.path()).mkpath("CustomProductLabel/d.zvp");
    EXPECT_EQ(List_Sheet_Files(Folders.custom_label_path), QStringList({"A", "b"}));
    EXPECT_TRUE(List_Sheet_Files(QString()).isEmpty());
}

TEST_F(PrintTest, AFailedWriteKeepsTheOldFile)
{
    const QString path = Sheet_File_Path(Folders.print_profile_path, "Kept");
    ASSERT_TRUE(Write_Sheet_Strings(path, {"old"}));
    // A folder in the way of the new file: the write fails, the old file stays.
    const QString blocked = Sheet_File_Path(Folders.print_profile_path, "Blocked");
    QDir().mkpath(blocked);
    EXPECT_FALSE(Write_Sheet_Strings(blocked, {"new"}));
    EXPECT_EQ(Read_Sheet_Strings(path, 1), QStringList{"old"});
    EXPECT_FALSE(Write_Sheet_Strings(dir.filePath("no/such/folder/x.zvp"), {"x"}));
}

TEST_F(PrintTest, SheetReaderSurvivesMutatedFiles)
{
    const QString path = Sheet_File_Path(Folders.custom_label_path, "m");
    QStringList strings;
    for (int i = 0; i < 22; ++i)
        strings << QString::number(i * 1.5);
    ASSERT_TRUE(Write_Sheet_Strings(path, strings));
    const QByteArray original = testsupport::readAll(path);
    QRandomGenerator rng(77);
    for (int round = 0; round < 400; ++round) {
        QByteArray data = original;
        for (int e = 0; e < 1 + int(rng.bounded(6)) && !data.isEmpty(); ++e) {
            const int at = int(rng.bounded(data.size()));
            if (rng.bounded(2))
                data[at] = char(rng.bounded(256));
            else
                data.remove(at, int(rng.bounded(40)));
        }
        testsupport::Write_File(path, data);
        const auto read = Read_Sheet_Strings(path, 15);
        if (read) {
            EXPECT_EQ(read->size(), 15);
        }
    }
}
