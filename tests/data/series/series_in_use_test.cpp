// A series bound to an item of the design is in use under any spelling of
// its name, also a kept copy "Name (1)" whose file has its extension in
// capitals: deleting, generating, importing over and replacing it are all
// refused with the in-use alert, and its file stays as it was.
#include "core/model/LMNText.h"
#include "core/util/MessageBoxes.h"
#include "data/SeriesStore.h"
#include "data/series/BatchWizard.h"
#include "data/series/Generate_List.h"
#include "data/series/Import_Wizard.h"
#include "data/series/SeriesAlerts.h"
#include "data/series/SeriesTestSupport.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace datatest;
using namespace seriestest;

namespace {

class SeriesInUseTest : public ::testing::Test {
protected:
    SeriesFolder folder;
    FakeMainWindow window;
    ScriptedMessages messages;
    Dialog_Driver dialogs{messages};
    LMNText bound;
    QString keptPath;
    QByteArray keptBytes{"one\ntwo\n"};
    QStringList alerts;

    void SetUp() override
    {
        // "City" exists; its kept copy is written as Keep Both writes it.
        folder.write("City.txt", "c\n");
        keptPath = Series_Keep_Both_Path(QStringLiteral("City"));
        ASSERT_TRUE(keptPath.endsWith(QStringLiteral("City (1).TXT"))) << keptPath.toStdString();
        ASSERT_TRUE(Write_Series_File_At(keptPath, {"one", "two"}));
        // A text item of the design bound to it by the name the list shows.
        bound.data_source_type = 1;
        bound.batch_list_name = QStringLiteral("City (1)");
        window.items = {&bound};
        dialogs.on<Series_Alert_Box>([this](Series_Alert_Box& box) {
            alerts << box.message_lbl->text();
            box.buttons.first()->click();
        });
    }
    bool keptUntouched() const { return Read_Bytes(keptPath) == keptBytes; }
    QString lastText() const { return messages.requests.empty() ? QString() : messages.requests.back().text; }
};

TEST_F(SeriesInUseTest, TheCheckIgnoresCaseAndFindsACapitalExtension)
{
    for (const char* name : {"City (1)", "city (1)", "CITY (1)"})
        EXPECT_TRUE(Series_In_Use(QString::fromLatin1(name))) << name;
    EXPECT_FALSE(Series_In_Use(QStringLiteral("City"))) << "the series it was copied from is free";
    EXPECT_FALSE(Series_In_Use(QStringLiteral("City (2)")));
    // The header and footer series count as well; so does barcode mode, by any spelling.
    bound.batch_list_name.clear();
    bound.batch_ftr_list_name = QStringLiteral("CITY (1)");
    EXPECT_TRUE(Series_In_Use(QStringLiteral("city (1)")));
    bound.batch_ftr_list_name.clear();
    EXPECT_FALSE(Series_In_Use(QStringLiteral("city (1)")));
    window.barcodeModeSeries = {QStringLiteral("City (1)")};
    EXPECT_TRUE(Series_In_Use(QStringLiteral("city (1)")));
}

TEST_F(SeriesInUseTest, DeletingIsRefusedWithTheAlert)
{
    BatchWizard manager;
    manager.Reset_Controls();
    ASSERT_TRUE(manager.ListData().contains(QStringLiteral("City (1)")));
    manager.Mark_List_New_Selection(int(manager.ListData().indexOf(QStringLiteral("City (1)"))));
    messages.push(0);   // Yes, delete
    manager.Delete_List_Btn_Clicked();
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts.first(), "Series is in use\n\nCity (1)\n\nBatch Processing Series can't be delete because it "
                              "is currently in use.");
    EXPECT_TRUE(keptUntouched());
    EXPECT_TRUE(manager.ListData().contains(QStringLiteral("City (1)")));
}

TEST_F(SeriesInUseTest, ReplacingFromTheManagerIsRefused)
{
    BatchWizard manager;
    manager.Reset_Controls();
    manager.AddNew_Btn_Clicked();
    manager.Create_Value_List(QStringList{"x"});
    manager.batch_list_name->setText(QStringLiteral("city (1)"));
    EXPECT_FALSE(manager.Save_Btn_Clicked());
    EXPECT_TRUE(lastText().contains("can't be create because it is currently in use.")) << lastText().toStdString();
    EXPECT_TRUE(keptUntouched());
}

TEST_F(SeriesInUseTest, GeneratingOverItIsRefused)
{
    Generate_List dialog;
    dialog.file_name_required = 1;
    dialog.file_name_Insert = 0;
    dialog.Reset_Controls();
    dialog.Constant_Radio_Pressed();
    dialog.value_txt->setText(QStringLiteral("z"));
    dialog.const_file_name->setText(QStringLiteral("city (1)"));
    dialog.setResult(-1);
    dialog.OKPressed();
    EXPECT_TRUE(lastText().contains("can't be create because it is currently in use.")) << lastText().toStdString();
    EXPECT_EQ(dialog.result(), -1) << "the dialog stays open";
    EXPECT_TRUE(keptUntouched());
}

TEST_F(SeriesInUseTest, ImportingOverItIsRefused)
{
    Import_Wizard wizard;
    wizard.file_name_required = 1;
    wizard.file_name_Insert = 0;
    wizard.Reset_Controls();
    wizard.setResult(-1);
    wizard.Manual_RD_Pressed();
    wizard.ManualEdit->setPlainText(QStringLiteral("p\nq"));
    wizard.Manual_file_name->setText(QStringLiteral("CITY (1)"));
    wizard.OKPressed();
    EXPECT_TRUE(lastText().contains("can't be create because it is currently in use.")) << lastText().toStdString();
    EXPECT_EQ(wizard.result(), -1);
    EXPECT_TRUE(keptUntouched());
}

} // namespace
