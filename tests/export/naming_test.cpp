// File names of exports and the keep-or-replace decision.
#include "ExportTestSupport.h"
#include "core/FakeMainWindow.h"
#include "core/util/Helpers.h"
#include "core/util/JobControl.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "export/ExportNaming.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

using testsupport::touch;

Export_Naming Naming(const QString& folder, const QString& tag, const QString& ext = QStringLiteral("jpg"))
{
    Export_Naming n;
    n.file_export_Path = folder;
    n.file_name_exported = tag;
    n.file_path_ext = ext;
    return n;
}

QString Name(const QString& path)
{
    return QFileInfo(path).fileName();
}

TEST(ExportNaming, CounterTagsNumberEveryNameAfterTheFirst)
{
    QTemporaryDir dir;
    Export_Naming n = Naming(dir.path(), QStringLiteral("<DEF>"));
    EXPECT_EQ(Name(n.Export_Name_With_Options("", "", 1)), "Label.jpg");
    EXPECT_EQ(Name(n.Export_Name_With_Options("", "", 2)), "Label (1).jpg");
    EXPECT_EQ(Name(n.Export_Name_With_Options("", "", 3)), "Label (2).jpg");
    EXPECT_EQ(n.export_card_counter, 3);

    Export_Naming affixed = Naming(dir.path(), QStringLiteral("<DEF>"));
    affixed.file_prefix_exported = "A";
    affixed.file_sufix_exported = "B";
    EXPECT_EQ(Name(affixed.Export_Name_With_Options("", "", 1)), "A_Label_B.jpg");
    EXPECT_EQ(Name(affixed.Export_Name_With_Options("", "", 2)), "A_Label_B (1).jpg");

    Export_Naming barcode = Naming(dir.path(), QStringLiteral("<DEF>"), "png");
    EXPECT_EQ(Name(barcode.Export_Barcode_Name_With_Options("v", "h", "f", "", 1)), "Barcode.png");
    Export_Naming custom = Naming(dir.path(), QStringLiteral("Shelf/Tag"), "png");
    EXPECT_EQ(Name(custom.Export_Barcode_Name_With_Options("v", "h", "f", "", 1)), "Shelf_Tag.png");
    EXPECT_EQ(Name(custom.Export_Barcode_Name_With_Options("v", "h", "f", "", 2)), "Shelf_Tag (1).png");
}

TEST(ExportNaming, SeriesTagsCarryTheRowNumberAndValues)
{
    QTemporaryDir dir;
    Export_Naming n = Naming(dir.path(), QStringLiteral("<SN>"));
    n.export_card_counter = 7;  // the counter plays no part in series names
    EXPECT_EQ(Name(n.Export_Name_With_Options("x", "Names", 4)), "Names (4).jpg");
    EXPECT_EQ(Name(n.Export_Name_With_Options("x", "Names", 5)), "Names (5).jpg");
    n.file_prefix_exported = "A";
    n.file_sufix_exported = "B";
    EXPECT_EQ(Name(n.Export_Name_With_Options("x", "Names", 4)), "A_Names (4)_B.jpg");

    Export_Naming snv = Naming(dir.path(), QStringLiteral("<SNV>"));
    EXPECT_EQ(Name(snv.Export_Name_With_Options("Ann", "Names", 1)), "Names_Ann.jpg");
    Export_Naming bsv = Naming(dir.path(), QStringLiteral("<BSV>"), "gif");
    EXPECT_EQ(Name(bsv.Export_Barcode_Name_With_Options("42", "", "", "Items", 1)), "Items_42.gif");
    Export_Naming bs = Naming(dir.path(), QStringLiteral("<BS>"), "gif");
    EXPECT_EQ(Name(bs.Export_Barcode_Name_With_Options("42", "", "", "Items", 9)), "Items (9).gif");
}

TEST(ExportNaming, EmptyTextsAreNumberedAgainstTheFilesAlreadyThere)
{
    QTemporaryDir dir;
    Export_Naming sv = Naming(dir.path(), QStringLiteral("<SV>"));
    QStringList names;
    for (int row = 1; row <= 3; ++row) {
        const QString path = sv.Export_Name_With_Options("", "", row);
        names << Name(path);
        touch(path);
    }
    EXPECT_EQ(names, (QStringList{"Value.JPG", "Value (1).JPG", "Value (2).JPG"}));

    Export_Naming bh = Naming(dir.path(), QStringLiteral("<BH>"));
    names.clear();
    for (int row = 1; row <= 2; ++row) {
        const QString path = bh.Export_Barcode_Name_With_Options("1", "  ", "", "", row);
        names << Name(path);
        touch(path);
    }
    EXPECT_EQ(names, (QStringList{"Header.JPG", "Header (1).JPG"}));
    Export_Naming bf = Naming(dir.path(), QStringLiteral("<BF>"));
    EXPECT_EQ(Name(bf.Export_Barcode_Name_With_Options("1", "", " Foot ", "", 1)), "Foot.jpg");
    Export_Naming bv = Naming(dir.path(), QStringLiteral("<BV>"));
    EXPECT_EQ(Name(bv.Export_Barcode_Name_With_Options("", "", "", "", 1)), "Value (3).JPG");
    EXPECT_EQ(Name(bv.Export_Barcode_Name_With_Options(" 12 ", "", "", "", 1)), "12.jpg");  // cleaned of blanks
}

TEST(ExportNaming, FreeNameSearchComparesExtensionsWithoutCase)
{
    QTemporaryDir dir;
    const QString lower = dir.filePath("Label.jpg");
    EXPECT_EQ(Name(Check_Exist_Path_and_Create_New(lower)), "Label.JPG");
    touch(lower);
    // Label.JPG would stand beside Label.jpg: on a disk that ignores case it is the same file.
    EXPECT_EQ(Name(Check_Exist_Path_and_Create_New(lower)), "Label (1).JPG");
    touch(dir.filePath("Label (1).JPG"));
    EXPECT_EQ(Name(Check_Exist_Path_and_Create_New(lower)), "Label (2).JPG");
    // A name with dots keeps them; only the last part is the extension.
    touch(dir.filePath("1.5.png"));
    EXPECT_EQ(Name(Check_Exist_Path_and_Create_New(dir.filePath("1.5.png"))), "1.5 (1).PNG");
}

// Presses a button of the keep-or-replace box, with or without "Apply to all".
std::function<void(QDialog&)> Answer(const char* button, bool applyAll, int* seen = nullptr, bool* checkShown = nullptr)
{
    return [=](QDialog& d) {
        auto* box = dynamic_cast<Replcae_Confirm_Box*>(&d);
        ASSERT_NE(box, nullptr);
        if (seen) ++*seen;
        if (checkShown) *checkShown = !box->apply_chk->isHidden();
        box->apply_chk->setChecked(applyAll);
        if (QString::fromLatin1(button) == "Keep") box->keep_button->click();
        else if (QString::fromLatin1(button) == "Replace") box->replace_button->click();
        else if (QString::fromLatin1(button) == "Close") box->reject();
        else box->cancel_button->click();
    };
}

TEST(KeepOrReplace, AnswersAndApplyToAll)
{
    QTemporaryDir dir;
    ScriptedMessages msgs;
    Job_Control job;
    const QString path = dir.filePath("Label.png");
    EXPECT_EQ(Check_And_Show_Keep_Replace_File_Msg(path, true, job), path);  // nothing there: no box
    EXPECT_EQ(msgs.dialogsRun, 0);
    touch(path, "old");

    int seen = 0;
    bool checkShown = false;
    msgs.onDialog = Answer("Keep", false, &seen, &checkShown);
    EXPECT_EQ(Name(Check_And_Show_Keep_Replace_File_Msg(path, false, job)), "Label (1).PNG");
    EXPECT_FALSE(checkShown);
    auto* box = Replcae_Confirm_Box::defaultInstance();
    EXPECT_EQ(box->title_val, "File already exists :");
    EXPECT_EQ(box->msg_val_str,
              "Label.png\n\nFile already exists in this location.\n\nDo you want to Keep or Replace it?");

    // Replace hands back the same path and leaves the old file for the writer to replace.
    msgs.onDialog = Answer("Replace", false, &seen, &checkShown);
    EXPECT_EQ(Check_And_Show_Keep_Replace_File_Msg(path, true, job), path);
    EXPECT_TRUE(checkShown);
    EXPECT_EQ(testsupport::readAll(path), QByteArray("old"));

    // Keep with "Apply to all": one box, then every later name is numbered unasked.
    msgs.onDialog = Answer("Keep", true, &seen);
    seen = 0;
    EXPECT_EQ(Name(Check_And_Show_Keep_Replace_File_Msg(path, true, job)), "Label (1).PNG");
    touch(dir.filePath("Label (1).PNG"));
    EXPECT_EQ(Name(Check_And_Show_Keep_Replace_File_Msg(path, true, job)), "Label (2).PNG");
    EXPECT_EQ(seen, 1);
    EXPECT_EQ(job.replace_keep_file_flag.load(), 3);
    EXPECT_TRUE(job.Msg_Apply_All_Chk);

    // The answer is the job's: another job asks again. Replace all, likewise once.
    Job_Control replacing;
    seen = 0;
    msgs.onDialog = Answer("Replace", true, &seen);
    EXPECT_EQ(Check_And_Show_Keep_Replace_File_Msg(path, true, replacing), path);
    EXPECT_EQ(Check_And_Show_Keep_Replace_File_Msg(path, true, replacing), path);
    EXPECT_EQ(seen, 1);
    EXPECT_FALSE(replacing.Stop_Processing_Now);
    EXPECT_EQ(job.replace_keep_file_flag.load(), 3);  // the first job's answer stands

    // Cancel, and closing the box, stop the job.
    for (const char* how : {"Cancel", "Close"}) {
        Job_Control cancelled;
        msgs.onDialog = Answer(how, false);
        EXPECT_TRUE(Check_And_Show_Keep_Replace_File_Msg(path, true, cancelled).isEmpty()) << how;
        EXPECT_TRUE(cancelled.Stop_Processing_Now) << how;
        EXPECT_EQ(cancelled.replace_keep_file_flag.load(), 4) << how;
    }
    EXPECT_FALSE(job.Stop_Processing_Now);
}

} // namespace
