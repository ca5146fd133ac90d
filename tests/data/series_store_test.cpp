// Series files: their bytes, reading rules, names in any case, and the road
// a writer takes from a typed name to a file.
#include "core/FakeMainWindow.h"
#include "data/DataTestSupport.h"
#include "data/SeriesStore.h"

#include <QComboBox>

using namespace datatest;

TEST(SeriesStoreTest, WritersAndTheBytesTheyWrite)
{
    SeriesFolder folder;
    const QStringList three = {"a", "  ", "b"};
    // The series manager leaves out values empty after trimming.
    ASSERT_TRUE(Write_Series_File("m", Series_Values_For_Writing(three, SeriesValues::TrimDropEmpty)));
    EXPECT_EQ(Read_Bytes(folder.path("m.txt")), QByteArray("a\nb\n"));
    // A spreadsheet column keeps the empty cell as an empty line.
    ASSERT_TRUE(Write_Series_File("s", Series_Values_For_Writing(three, SeriesValues::TrimKeepEmpty)));
    EXPECT_EQ(Read_Bytes(folder.path("s.txt")), QByteArray("a\n\nb\n"));
    EXPECT_EQ(Read_Series_Values("s"), QStringList({"a", "", "b"}));
    // Generated text goes as formed; a line break inside would make two values.
    EXPECT_EQ(Series_Values_For_Writing({" x ", "p\nq", ""}, SeriesValues::AsGiven), QStringList({" x ", "p q", ""}));
    EXPECT_EQ(Series_Values_For_Writing({" x ", ""}, SeriesValues::DropEmpty), QStringList({" x "}));
    EXPECT_EQ(Series_File_Bytes({"Ωμέγα", "東京"}), QByteArray("Ωμέγα\n東京\n"));

    // Appending adds records after the last line feed; a file written
    // elsewhere without one gets it first.
    ASSERT_TRUE(Append_Series_File("m", {"c"}));
    EXPECT_EQ(Read_Bytes(folder.path("m.txt")), QByteArray("a\nb\nc\n"));
    folder.write("ext.txt", "x\ny");
    ASSERT_TRUE(Append_Series_File("ext", {"z"}));
    EXPECT_EQ(Read_Bytes(folder.path("ext.txt")), QByteArray("x\ny\nz\n"));
    ASSERT_TRUE(Append_Series_File("fresh", {"1"}));
    EXPECT_EQ(Read_Bytes(folder.path("fresh.txt")), QByteArray("1\n"));

    Delete_Series_File("FRESH");
    EXPECT_FALSE(Series_Exists("fresh"));
}

TEST(SeriesStoreTest, ReadingRules)
{
    SeriesFolder folder;
    // Leading spaces and CRLF: the whole text is trimmed, inner values keep
    // their carriage return until a consumer trims them.
    folder.write("crlf.txt", "   one\r\ntwo\r\n\r\nfour\r\n\r\n");
    EXPECT_EQ(Read_Series_Values("crlf"), QStringList({"one\r", "two\r", "\r", "four"}));
    EXPECT_EQ(Get_First_Value_Of_Dataset("crlf"), "one\r");
    // An existing empty file counts one empty value.
    folder.write("empty.txt", "");
    EXPECT_EQ(Get_Data_Set_Series_Item_Count("empty"), 1);
    EXPECT_EQ(Get_First_Value_Of_Dataset("empty"), "");
    // Missing or not UTF-8: no values.
    EXPECT_EQ(Get_Data_Set_Series_Item_Count("missing"), 0);
    folder.write("latin1.txt", "caf\xe9\n");
    EXPECT_EQ(Get_Data_Set_Series_Item_Count("latin1"), 0);
    EXPECT_EQ(Get_First_Value_Of_Dataset("latin1"), "");
}

TEST(SeriesStoreTest, NamesInAnyCaseListedOnce)
{
    SeriesFolder folder;
    folder.write("Alpha.TXT", "1\n");
    folder.write("alpha.txt", "2\n");
    folder.write("beta.txt", "3\n");
    folder.write("notes.csv", "x\n");
    QDir().mkpath(folder.path("folder.txt"));
    EXPECT_EQ(Series_Names(), QStringList({"Alpha", "beta"}));
    // Found whatever the case of the name or extension; the exact spelling first.
    EXPECT_EQ(Read_Series_Values("ALPHA").size(), 1);
    EXPECT_EQ(Get_First_Value_Of_Dataset("alpha"), "2");
    EXPECT_EQ(Get_First_Value_Of_Dataset("BETA"), "3");
    // A write to an existing series goes to its file, not a second one.
    ASSERT_TRUE(Write_Series_File("BETA", {"4"}));
    EXPECT_EQ(Read_Bytes(folder.path("beta.txt")), QByteArray("4\n"));
    EXPECT_EQ(Series_Names(), QStringList({"Alpha", "beta"}));
    // The kept copy takes the first free number and a capital extension.
    EXPECT_EQ(Series_Keep_Both_Name("beta"), "beta (1)");
    folder.write("beta (1).TXT", "x\n");
    EXPECT_EQ(Series_Keep_Both_Path("beta"), folder.path("beta (2).TXT"));
}

TEST(SeriesStoreTest, SavingFromATypedName)
{
    SeriesFolder folder;
    FakeMainWindow window;
    ScriptedMessages messages({0, 1});  // the first box, then "No" to the replace question

    EXPECT_EQ(Save_Series("*a/b*c?", {"1"}, SeriesValues::TrimDropEmpty), "a_b*c");
    EXPECT_EQ(Read_Bytes(folder.path("a_b*c.txt")), QByteArray("1\n"));

    EXPECT_TRUE(Save_Series("/?*", {"1"}, SeriesValues::TrimDropEmpty).isNull());
    ASSERT_EQ(messages.requests.size(), 1u);
    EXPECT_TRUE(messages.requests.back().text.contains("Please enter valid series name."));

    // Existing: "No" writes nothing, "Yes" replaces.
    EXPECT_TRUE(Save_Series("a_b*c", {"2"}, SeriesValues::TrimDropEmpty).isNull());
    EXPECT_EQ(Read_Bytes(folder.path("a_b*c.txt")), QByteArray("1\n"));
    EXPECT_TRUE(messages.requests.back().text.contains("already exists. Do you want to replace it?"));
    EXPECT_EQ(Save_Series("a_b*c", {"2"}, SeriesValues::TrimDropEmpty), "a_b*c");
    EXPECT_EQ(Read_Bytes(folder.path("a_b*c.txt")), QByteArray("2\n"));

    // In use by barcode mode: refused.
    window.barcodeModeSeries = {"used"};
    EXPECT_TRUE(Save_Series("used", {"1"}, SeriesValues::TrimDropEmpty, true).isNull());
    EXPECT_TRUE(messages.requests.back().text.contains("can't be update because it is currently in use."));
    EXPECT_FALSE(Series_Exists("used"));

    // A file that cannot be written: said so, and the old one is kept.
    QDir().mkpath(folder.path("blocked.txt/inner"));
    EXPECT_TRUE(Save_Series("blocked", {"1"}, SeriesValues::TrimDropEmpty).isNull());
    EXPECT_TRUE(messages.requests.back().text.contains("Error in file accessing."));
}

TEST(SeriesStoreTest, FillingACombo)
{
    SeriesFolder folder;
    folder.write("s.txt", "one\ntwo\n");
    QComboBox combo;
    combo.addItems({"old"});
    Fille_Data_Set_Values_In_Combo(&combo, "S", false);
    ASSERT_EQ(combo.count(), 2);
    EXPECT_EQ(combo.currentText(), "one");
    // A missing series empties a value-list combo only.
    Fille_Data_Set_Values_In_Combo(&combo, "missing", false);
    EXPECT_EQ(combo.count(), 2);
    Fille_Data_Set_Values_In_Combo(&combo, "missing", true);
    EXPECT_EQ(combo.count(), 0);
}
