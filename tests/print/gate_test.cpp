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
    void command() { command([this] { ++opened; }); }
    // The print command's steps (Print_Button: Print_method in designing
    // mode, Print_Barcode_Button in barcode mode) around a stand-in window.
    static void command(const std::function<void()>& window)
    {
        const auto method = [window] { Run_Output_Window(window); };
        Output_Command(method, [method] {
            const Batch_Rows rows = App_Services().Batch_Services->Make_Batch_Rows();
            if (rows && Barcode_Output_Checks(*rows))
                method();
        });
    }
    int opened = 0;
};

} // namespace

TEST_F(GateTest, AnEmptyListOpensNothing)
{
    batch.state.dataSource = batch.state.valueChecked = true;
    batch.barcodeRows = 0;
    command();
    EXPECT_TRUE(saw("List is empty."));
    EXPECT_EQ(batch.listFocus, 1);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(batch.backups, 0);
}

TEST_F(GateTest, TheFirstRowThatEncodesIsSelected)
{
    batch.state.dataSource = batch.state.valueChecked = true;
    batch.barcodeRows = 5;
    batch.selectedRow = 4;
    batch.rowValid = [](int row) { return row == 2; };
    command();
    // The rows are read without being shown: only the row found is selected.
    EXPECT_EQ(batch.selections, QList<int>({2}));
    EXPECT_EQ(batch.selectedRow, 2);
    EXPECT_EQ(batch.validations, 0);   // the value comes from the rows
    EXPECT_EQ(batch.redraws2d, 1);
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(batch.backups, 1);
    EXPECT_EQ(batch.restores, 1);
    EXPECT_EQ(batch.sideResets, 1);
}

TEST_F(GateTest, NoRowThatEncodesLeavesTheSelection)
{
    batch.state.dataSource = batch.state.valueChecked = true;
    batch.barcodeRows = 3;
    batch.selectedRow = 1;
    batch.rowValid = [](int) { return false; };
    command();
    EXPECT_TRUE(batch.selections.isEmpty());
    EXPECT_EQ(batch.selectedRow, 1);
    EXPECT_TRUE(saw(invalid_barcode_msg));
    EXPECT_EQ(opened, 0);
}

TEST_F(GateTest, ATypedValueMustEncode)
{
    // The list feeds only the header: the typed value alone is checked.
    batch.state.dataSource = batch.state.headerChecked = true;
    batch.barcodeRows = 2;
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
    batch.mode = 1;
    command();
    EXPECT_TRUE(saw("No printer found."));
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(batch.backups, 0);
}

TEST_F(GateTest, DesigningModeBacksUpAndRestoresAroundTheWindow)
{
    batch.mode = 1;
    batch.barcodeRows = 0;   // barcode rows do not matter here
    int backupsWhenOpen = -1;
    command([&] { backupsWhenOpen = batch.backups; ++opened; });
    EXPECT_EQ(opened, 1);
    EXPECT_EQ(backupsWhenOpen, 1);
    EXPECT_EQ(batch.restores, 1);
    EXPECT_EQ(batch.validations, 0);
}
