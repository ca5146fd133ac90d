#include "common/TestSupport.h"
#include "core/util/Helpers.h"
#include "core/util/MainWindowServices.h"
#include "core/util/SharedValues.h"
#include "core/FakeMainWindow.h"

#include <QCheckBox>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

using testsupport::readAll;
using testsupport::touch;

TEST(StringHelpers, TrimRemovesWhitespaceThenControlCharactersFromTheEndsOnly)
{
    const struct { QString in, out; } cases[] = {
        {" \t\n x \r\n", "x"},
        {QString(QChar(1)) + " x", " x"},                 // white space behind a control character stays
        {QString("x") + QChar(0x7F) + QChar(0x200B), "x"},  // DEL and a format character at the end
        {QString(QChar(0x2028)) + "a b" + QChar(0x00A0), "a b"},
        {QString("a") + QChar(1) + "b", QString("a") + QChar(1) + "b"},
        {"", ""},
        {QString(QChar(0)), ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Trim_Str(c.in), c.out) << c.in.toStdString();
    EXPECT_EQ(Replace_Char_For_Valid(" a "), "a");
    EXPECT_EQ(Replace_Char_For_valid(" a "), "a");
}

TEST(StringHelpers, IndexesOutOfRangeNeverCrash)
{
    const QString abc = "abc";
    EXPECT_EQ(Left_Str_substringToIndex(abc, 5), abc);
    EXPECT_EQ(Left_Str_substringToIndex(abc, 2), "ab");
    EXPECT_EQ(Left_Str_substringToIndex(abc, 0), "");
    EXPECT_EQ(Left_Str_substringToIndex(abc, -1), "");
    EXPECT_EQ(Right_Str_substringFromIndex(abc, 2), "bc");
    EXPECT_EQ(Right_Str_substringFromIndex(abc, 0), "");
    EXPECT_EQ(Right_Str_substringFromIndex(abc, -9), "");
    EXPECT_EQ(Right_Str_substringFromIndex(abc, 7), abc);
    EXPECT_EQ(Read_Str_FromIndex(abc, 1), "bc");
    for (int i : {3, 4, -1, INT_MIN, INT_MAX})
        EXPECT_EQ(Read_Str_FromIndex(abc, i), "") << i;
    EXPECT_EQ(Read_Str_Upto_Index(abc, 2), "ab");
    EXPECT_EQ(Read_Str_Upto_Index(abc, 3), "abc");
    for (int i : {4, -1, INT_MIN, INT_MAX})
        EXPECT_EQ(Read_Str_Upto_Index(abc, i), "") << i;
    EXPECT_EQ(Read_Str_FromIndex(QString(), 0), "");
}

TEST(StringHelpers, FindAndReplace)
{
    EXPECT_TRUE(Find_Str("abc", "b"));
    EXPECT_FALSE(Find_Str("abc", "B"));
    EXPECT_FALSE(Find_Str("abc", ""));
    EXPECT_FALSE(Find_Str(QString(), "a"));
    EXPECT_TRUE(Find_Str_Case_Insensitive("abc", "B"));
    EXPECT_FALSE(Find_Str_Case_Insensitive(QString(), "B"));
    EXPECT_FALSE(Find_Str_Case_Insensitive("abc", QString()));
    EXPECT_FALSE(Find_Str_Case_Insensitive("abc", ""));
    EXPECT_EQ(Replace_char_in_string("a-b-c", "-", "+"), "a+b+c");
    EXPECT_EQ(Replace_char_in_string("aAa", "a", "x"), "xAx");
    EXPECT_EQ(Replace_char_in_string("abc", "", "x"), "abc");
    // A replacement holding a character of the set does not loop forever.
    auto isDigit = [](QChar c) { return c.isDigit(); };
    EXPECT_EQ(stringByReplaceCharacterSet("a1b22", isDigit, "9"), "a9b99");
    EXPECT_EQ(stringByReplaceCharacterSet("a1b", isDigit, ""), "ab");
}

TEST(FileHelpers, ReservedCharactersAreCleanedAtTheEndsAndSlashesInside)
{
    const struct { QString in, out; } cases[] = {
        {"/a/b?", "a_b"},
        {"a?b", "a?b"},
        {"a:b", "a:b"},
        {" <x> ", "<x>"},          // the ends are cleaned before the spaces are trimmed
        {"**name**", "name"},
        {"\\|\"<>%*?/", ""},
        {" / x", "_ x"},
        {QString("a") + QChar(0) + "b", "ab"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Remove_Reserve_Char_In_File_Name(c.in), c.out) << c.in.toStdString();
}

TEST(FileHelpers, CreateFolderMakesParentsAndAnswersNoOverAPlainFile)
{
    QTemporaryDir dir;
    const QString deep = dir.filePath("a/b/c");
    EXPECT_TRUE(Create_Folder(deep));
    EXPECT_TRUE(QFileInfo(deep).isDir());
    EXPECT_TRUE(Create_Folder(deep));  // already there
    const QString file = dir.filePath("plain");
    touch(file, "keep me");
    EXPECT_FALSE(Create_Folder(file));
    EXPECT_TRUE(QFileInfo(file).isFile());
    EXPECT_EQ(readAll(file), "keep me");
    EXPECT_FALSE(Create_Folder(dir.filePath("plain/below")));
    EXPECT_FALSE(Create_Folder(QString()));
}

TEST(FileHelpers, DeletingALinkNeverTouchesWhatItPointsTo)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("target");
    ASSERT_TRUE(QDir().mkpath(target));
    touch(target + "/precious.txt");
    const QString link = dir.filePath("link");
    ASSERT_TRUE(QFile::link(target, link));
    Delete_Folder(link);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(target + "/precious.txt"));

    const QString tree = dir.filePath("tree/sub");
    ASSERT_TRUE(QDir().mkpath(tree));
    touch(tree + "/f");
    Delete_File(dir.filePath("tree"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("tree")));
    touch(dir.filePath("single"));
    Delete_File(dir.filePath("single"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("single")));
    Delete_File(dir.filePath("missing"));  // nothing happens
}

class ProgramFolders : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedRes = Folders.Resource_Path;
        savedData = Folders.Created_Resource_Path;
        savedSeries = Folders.Data_Folder_Path;
        Folders.Resource_Path = res.path();
        Folders.Created_Resource_Path = data.filePath("user");
        Folders.Data_Folder_Path = Folders.Created_Resource_Path + "/DataSet";
    }
    void TearDown() override
    {
        Folders.Resource_Path = savedRes;
        Folders.Created_Resource_Path = savedData;
        Folders.Data_Folder_Path = savedSeries;
    }
    QTemporaryDir res, data;
    QString savedRes, savedData, savedSeries;
};

TEST_F(ProgramFolders, CreatesFoldersCopiesDefaultsOnceAndNeverWritesTheResources)
{
    ASSERT_TRUE(QDir().mkpath(res.filePath("CustomProductLabel")));
    ASSERT_TRUE(QDir().mkpath(res.filePath("PrintProfile")));
    touch(res.filePath("CustomProductLabel/Custom1.zvp"), "shipped label");
    touch(res.filePath("PrintProfile/Default.zvp"), "shipped profile");
    QFile::setPermissions(res.filePath("PrintProfile/Default.zvp"), QFile::ReadOwner | QFile::ReadGroup);
    const QStringList shippedBefore = QDir(res.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);

    Check_Path_And_Create_Files();
    const QString user = Folders.Created_Resource_Path;
    for (const char* sub : {"DataSet", "Cropped_Images", "CustomProductLabel", "PrintProfile",
                            "Background", "Fill_Style_Image", "LibraryImage"})
        EXPECT_TRUE(QFileInfo(user + "/" + sub).isDir()) << sub;
    EXPECT_EQ(QDir(res.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), shippedBefore);
    EXPECT_EQ(Folders.Cropped_Img_Path, user + "/Cropped_Images");
    EXPECT_EQ(Folders.custom_label_path, user + "/CustomProductLabel");
    EXPECT_EQ(Folders.print_profile_path, user + "/PrintProfile");
    EXPECT_EQ(readAll(user + "/CustomProductLabel/Custom1.zvp"), "shipped label");
    // The copy is the user's to change even when the shipped file is read-only.
    EXPECT_TRUE(QFileInfo(user + "/PrintProfile/Default.zvp").isWritable());

    touch(user + "/PrintProfile/Default.zvp", "user's own");
    Check_Path_And_Create_Files();
    EXPECT_EQ(readAll(user + "/PrintProfile/Default.zvp"), "user's own");

    EXPECT_EQ(Resource_Folder_Paths("Background"),
              (QStringList{res.filePath("Background"), user + "/Background"}));
    touch(user + "/Background/mine.png");
    EXPECT_EQ(Resolve_Resource_File("Background/mine.png"), user + "/Background/mine.png");
    EXPECT_EQ(Resolve_Resource_File("Formats/x.xml"), res.filePath("Formats/x.xml"));
}

TEST_F(ProgramFolders, MissingHelpFileIsReported)
{
    ScriptedMessages msgs;
    Open_Help_File();
    ASSERT_EQ(msgs.requests.size(), 1u);
    EXPECT_EQ(msgs.requests[0].text, "\nHelp file does not exist!");
    EXPECT_EQ(msgs.requests[0].buttons, QStringList{"OK"});
}

TEST(Controls, GroupBoxPassesTheCallToItsControls)
{
    QGroupBox box;
    auto* layout = new QVBoxLayout(&box);
    auto* check = new QCheckBox("c");
    auto* edit = new QLineEdit;
    auto* inner = new QGroupBox;
    auto* innerLayout = new QVBoxLayout(inner);
    auto* deep = new QCheckBox("d");
    innerLayout->addWidget(deep);
    layout->addWidget(check);
    layout->addWidget(edit);
    layout->addWidget(inner);
    SetObjEnabled(&box, false);
    EXPECT_TRUE(box.isEnabled());
    EXPECT_FALSE(check->isEnabledTo(&box));
    EXPECT_FALSE(edit->isEnabledTo(&box));
    EXPECT_FALSE(deep->isEnabledTo(inner));
    SetObjEnabled(check, true);  // one control can come back on its own
    EXPECT_TRUE(check->isEnabled());
    SetObjEnabled(nullptr, true);
}

TEST(Units, ConversionsFollowTheFixedFactors)
{
    EXPECT_FLOAT_EQ(MainWindowServices::Points_to_MM_Convert(72.0f), 25.4f);
    EXPECT_FLOAT_EQ(MainWindowServices::MM_to_Points_Convert(25.4f), 72.0f);
    EXPECT_NEAR(Points_To_Unit(72, 0), 1.0, 1e-9);
    EXPECT_NEAR(Points_To_Unit(72, 1), 2.54, 1e-9);
    EXPECT_NEAR(Points_To_Unit(72, 2), 25.4, 1e-9);
    for (int unit : {0, 1, 2})
        EXPECT_NEAR(Unit_To_Points(Points_To_Unit(123.0, unit), unit), 123.0, 1e-6);
}

} // namespace
