// The print command's checks before the print window opens, and the design
// back-up around it.
#include "barcode/generation/BarcodeRoad.h"
#include "print/OutputGate.h"
#include "print/PrintTestSupport.h"

using namespace printtest;

namespace {

class GateTest : public PrintTest {
protected:
    // Runs the command with a stand-in window that counts its openings.
    void command() { Output_Command([this] { ++opened; }); }
    int opened = 0;
};

} // namespace

TEST_F(GateTest, AnEmptyListOpensNothing)
{
    Total_Barcode_Label_wd_Batch = 0;
    command();
    EXPECT_TRUE(saw("List is empty."));
    EXPECT_EQ(batch.listFocus, 1);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(batch.backups, 0);
}

TEST_F(GateTest, TheFirstRowThatEncodesIsSelected)
{
    Use_Data_Sheet_Values = 1;
    batch.state.valueChecked = true;
    Total_Barcode_Label_wd_Batch = 5;
    batch.selectedRow = 4;
    batch.rowValid = [](int row) { return row == 2; };
    command();
    EXPECT_EQ(batch.selections, QList<int>({0, 1, 2}));
    EXPECT_EQ(batch.selectedRow, 2);
    EXPECT_EQ(batch.validations, 0);   // the value comes from the rows
    EXPECT_EQ(batch.redraws2d, 1);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(batch.backups, 1);
    EXPECT_EQ(batch.restores, 1);
    EXPECT_EQ(batch.sideResets, 1);
}

TEST_F(GateTest, NoRowThatEncodesPutsTheSelectionBack)
{
    Use_Data_Sheet_Values = 1;
    batch.state.valueChecked = true;
    Total_Barcode_Label_wd_Batch = 3;
    batch.selectedRow = 1;
    batch.rowValid = [](int) { return false; };
    command();
    EXPECT_EQ(batch.selections, QList<int>({0, 1, 2, 1}));
    EXPECT_TRUE(saw(invalid_barcode_msg));
    EXPECT_EQ(opened, 0);
}

TEST_F(GateTest, ATypedValueMustEncode)
{
    // The list feeds only the header: the typed value alone is checked.
    Use_Data_Sheet_Values = 1;
    batch.state.headerChecked = true;
    batch.typedValueValid = false;
    command();
    EXPECT_EQ(batch.validations, 1);
    EXPECT_TRUE(batch.selections.isEmpty());
    EXPECT_EQ(opened, 0);
    batch.typedValueValid = true;
    command();
    EXPECT_EQ(opened, 1);
}

TEST_F(GateTest, WithoutAPrinterNothingOpens)
{
    Set_Printer_Names_Provider([] { return QStringList(); });
    Barcode_Setting_Or_Designing_Mode = 1;
    command();
    EXPECT_TRUE(saw("No printer found."));
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(batch.backups, 0);
    EXPECT_EQ(batch.counts, 1);   // the sources were counted first
}

TEST_F(GateTest, DesigningModeBacksUpAndRestoresAroundTheWindow)
{
    Barcode_Setting_Or_Designing_Mode = 1;
    Total_Barcode_Label_wd_Batch = 0;   // barcode rows do not matter here
    int backupsWhenOpen = -1;
    Output_Command([&] { backupsWhenOpen = batch.backups; ++opened; });
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(backupsWhenOpen, 1);
    EXPECT_EQ(batch.restores, 1);
    EXPECT_EQ(batch.validations, 0);
}
