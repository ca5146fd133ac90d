// The print window's questions before it throws work away or prints what
// does not fit, answered No: asked in their words, and nothing deleted,
// nothing printed; Yes then does what was asked.
#include "core/util/SharedValues.h"
#include "print/LabelSheetFiles.h"
#include "print/PrintControls.h"
#include "print/PrintTestSupport.h"
#include "print/Print_Wnd.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>

using namespace printtest;

namespace {

class PrintConfirmationsTest : public PrintToPdfTest {};

} // namespace

TEST_F(PrintConfirmationsTest, DeletingACustomSheetAsksAndNoKeepsIt)
{
    const QStringList sheet{"2", "5", "10.00", "13.50", "10", "5", "90", "50", "A4", "Portrait",
                            "210.00 x 297.00", "210.00", "297.00", "Custom", "Custom"};
    Write_Sheet_Strings(Sheet_File_Path(Folders.custom_label_path, "Shelf"), sheet);
    Write_Sheet_Strings(Sheet_File_Path(Folders.custom_label_path, "Spare"), sheet);
    Print_Wnd w;
    w.Reset_For_Opening();
    w.Predefined_Label_Changed();
    w.Product_num_ComboBox->setCurrentText("Spare");
    ASSERT_EQ(w.Product_num_ComboBox->currentText(), "Spare");
    const QByteArray before = testsupport::readAll(Sheet_File_Path(Folders.custom_label_path, "Spare"));

    answer(false);
    w.Delete_Label_Pressed();
    EXPECT_EQ(messages, QStringList{"Are you sure want to delete selected 'Custom Product Number'?"});
    EXPECT_EQ(List_Sheet_Files(Folders.custom_label_path), QStringList({"Shelf", "Spare"}));
    EXPECT_EQ(testsupport::readAll(Sheet_File_Path(Folders.custom_label_path, "Spare")), before);
    EXPECT_EQ(w.Product_num_ComboBox->currentText(), "Spare") << "the sheet stays chosen";

    answer(true);
    w.Delete_Label_Pressed();
    EXPECT_EQ(List_Sheet_Files(Folders.custom_label_path), QStringList{"Shelf"});
}

TEST_F(PrintConfirmationsTest, ALabelLargerThanThePaperAsksAndNoPrintsNothing)
{
    PrintInfo info = MainWindowServices::printInfo();
    info.pageLayout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5),
                                  QPageLayout::Millimeter);
    MainWindowServices::setPrintInfo(info);
    Print_Wnd w;
    w.Reset_For_Opening();
    w.Manual_Label_Changed();
    w.sheetPane->width_Text->setText("205");
    w.sheetPane->Width_Changed(w.sheetPane->width_Text);

    answer(false);
    w.Execute_Printing(false);
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages[0].startsWith("'Label Size' is bigger than selected 'Paper Size'"));
    EXPECT_FALSE(QFile::exists(pdf)) << "No prints nothing";

    messages.clear();
    answer(true);
    w.Execute_Printing(false);
    EXPECT_TRUE(QFile::exists(pdf)) << "Yes prints as asked";
}
