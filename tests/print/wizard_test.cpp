// The new-card wizard: its size entry, vendor and product, the two pages,
// what Cancel leaves alone and what OK hands to the main window.
#include "common/ScopedFolders.h"
#include "print/Card_Wizard.h"
#include "common/TestSupport.h"
#include "core/FakeMainWindow.h"
#include "core/model/LMNGraphic.h"
#include "core/util/Helpers.h"
#include "print/PrintControls.h"
#include "print/PrintTestSupport.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using namespace printtest;

namespace {

class WizardTest : public PrintTest {
protected:
    std::unique_ptr<Card_Wizard> open()
    {
        auto w = std::make_unique<Card_Wizard>();
        w->Reset_For_Opening();
        return w;
    }
};

} // namespace

TEST_F(WizardTest, SizeFieldsTakeNumbersOnly)
{
    auto w = open();
    EXPECT_EQ(w->card_name->text(), "Untitled");
    EXPECT_EQ(w->width_Text->text(), "100.00");
    w->width_Text->setText("25mm");
    w->controlTextDidChange(w->width_Text);
    EXPECT_EQ(w->width_Text->text(), "25");
    w->width_Text->setText("12345678901234");
    w->controlTextDidChange(w->width_Text);
    EXPECT_EQ(w->width_Text->text(), "1234567890");
    for (const char* bad : {"0", "-4"}) {
        w->height_Text->setText(bad);
        w->controlTextDidEndEditing(w->height_Text);
        EXPECT_EQ(w->height_Text->text(), "0.10") << bad;
    }
    EXPECT_DOUBLE_EQ(w->height_Stepper->value(), 0.1);
}

TEST_F(WizardTest, AProductSetsTheSizeAndCustomGivesItBack)
{
    auto w = open();
    EXPECT_TRUE(w->width_Text->isEnabled());
    EXPECT_FALSE(w->Product_num_ComboBox->isEnabled());
    w->Label_ComboBox->setCurrentText("Herma");
    w->comboBoxSelectionDidChange(w->Label_ComboBox);
    EXPECT_FALSE(w->width_Text->isEnabled());
    EXPECT_TRUE(w->Product_num_ComboBox->isEnabled());
    EXPECT_GT(w->Product_num_ComboBox->count(), 10);
    w->Product_num_ComboBox->setCurrentText("4103");
    w->comboBoxSelectionDidChange(w->Product_num_ComboBox);
    EXPECT_EQ(w->width_Text->text(), "63.50");
    EXPECT_EQ(w->height_Text->text(), "38.10");

    w->Label_ComboBox->setCurrentIndex(0);
    w->comboBoxSelectionDidChange(w->Label_ComboBox);
    EXPECT_EQ(w->width_Text->text(), "100.00");
    EXPECT_EQ(w->height_Text->text(), "100.00");
    EXPECT_TRUE(w->width_Text->isEnabled());
    EXPECT_FALSE(w->width_Text->isReadOnly());
}

TEST_F(WizardTest, CancelKeepsTheOpenDesignsShape)
{
    FakeMainWindow design;
    design.Card_Shape = 2;
    auto w = open();
    w->shape_rd[1]->setChecked(true);
    w->card_shape_CellClick();
    w->OK_Click();   // to the look page
    w->CancelClick();
    EXPECT_EQ(design.Card_Shape, 2);
    EXPECT_EQ(w->result(), 0);

    w->Reset_For_Opening();
    w->shape_rd[1]->setChecked(true);
    w->card_shape_CellClick();
    w->Back_Click();   // Back on the size page ends the wizard like Cancel
    EXPECT_EQ(design.Card_Shape, 2);
    EXPECT_TRUE(batch.canvasSizes.isEmpty());
}

TEST_F(WizardTest, FinishingSizesTheCardAndHandsOverTheChosenLook)
{
    auto w = open();
    w->width_Text->setText("80");
    w->height_Text->setText("50");
    w->shape_rd[2]->setChecked(true);
    w->card_shape_CellClick();
    w->OK_Click();
    EXPECT_EQ(w->next_count, 1);
    EXPECT_TRUE(w->Size_Box->isHidden());
    EXPECT_TRUE(w->Back_btn->isEnabled());
    w->Back_Click();
    EXPECT_EQ(w->next_count, 0);
    w->OK_Click();

    w->Card_fill_clr->setColor(Qt::red);
    w->Card_Image_path->setText("/pictures/bg.png");
    w->Card_gradient_fill_rd->setChecked(true);
    w->Card_Gradient_RD_Sel();
    EXPECT_TRUE(w->Card_alpha_Text->isHidden());   // no transparency for gradients
    EXPECT_FALSE(w->Card_fill_clr->isEnabled());
    w->Card_fill_Grd_1_clr->setColor(Qt::blue);
    w->OK_Click();
    EXPECT_EQ(w->result(), 1);
    ASSERT_EQ(batch.canvasSizes.size(), 1);
    EXPECT_NEAR(batch.canvasSizes[0].width(), 80 * 2.834645669291, 1e-6);
    EXPECT_NEAR(batch.canvasSizes[0].height(), 50 * 2.834645669291, 1e-6);

    const New_Label_Choice c = w->Choice();
    EXPECT_EQ(c.shape, 2);
    EXPECT_EQ(w->Card_Shape, 2);
    EXPECT_EQ(c.fillKind, "G");
    EXPECT_EQ(c.fillColour, QColor(Qt::white));   // kinds not chosen are reset
    EXPECT_TRUE(c.imagePath.isEmpty());
    EXPECT_EQ(c.hatchIndex, -1);
    EXPECT_EQ(c.gradient1, QColor(Qt::blue));
    EXPECT_DOUBLE_EQ(c.widthMM, 80);
    EXPECT_EQ(c.name, "Untitled");
    EXPECT_EQ(c.transparency, 100);
}

TEST(NewLabelTransparency, FractionsAndPercentagesBothEndAsPercentages)
{
    EXPECT_EQ(New_Label_Transparency(0.5), 50);
    EXPECT_EQ(New_Label_Transparency(1.0), 100);
    EXPECT_EQ(New_Label_Transparency(80), 80);
    EXPECT_EQ(New_Label_Transparency(10), 10);   // a percentage, not 1000
    EXPECT_EQ(New_Label_Transparency(100), 100);
    EXPECT_EQ(New_Label_Transparency(0), 0);
}

TEST_F(WizardTest, APictureFillTakesTheLibrarysChoice)
{
    auto w = open();
    w->OK_Click();
    w->Card_image_box->setEnabled(true);
    w->Card_Image_fill_rd->setChecked(true);
    w->Card_Image_RD_Sel();
    EXPECT_TRUE(w->Card_Image_Library->isEnabled());
    batch.libraryChoice = "/library/wood.jpg";
    w->Card_Image_Library_Btn();
    EXPECT_EQ(w->Card_Image_path->text(), "/library/wood.jpg");
    batch.libraryChoice.clear();
    w->Card_Image_Library_Btn();   // nothing chosen: the path stays
    EXPECT_EQ(w->Card_Image_path->text(), "/library/wood.jpg");
    w->OK_Click();
    const New_Label_Choice c = w->Choice();
    EXPECT_EQ(c.fillKind, "I");
    EXPECT_EQ(c.imagePath, "/library/wood.jpg");
}

TEST_F(WizardTest, HatchListIsTheDrawingsOwnList)
{
    // Shipped patterns, the user's own, one name in both, a stray file that
    // is no pattern picture: the wizard offers what the card can draw, each once.
    testsupport::Scoped_Folders folders;
    Folders.Resource_Path = dir.filePath("shipped");
    Folders.Created_Resource_Path = dir.filePath("user");
    QImage tile(4, 4, QImage::Format_RGB32);
    tile.fill(Qt::black);
    for (const QString& p : {QString("shipped/Fill_Style_Image/lines.png"), QString("shipped/Fill_Style_Image/dots.png"),
                             QString("user/Fill_Style_Image/dots.png"), QString("user/Fill_Style_Image/mine.png")}) {
        QDir().mkpath(QFileInfo(dir.filePath(p)).path());
        ASSERT_TRUE(tile.save(dir.filePath(p)));
    }
    testsupport::touch(dir.filePath("user/Fill_Style_Image/notes.txt"));
    auto w = open();
    QStringList offered;
    for (int i = 0; i < w->Card_hatch_style->count(); ++i)
        offered << w->Card_hatch_style->itemText(i);
    EXPECT_EQ(offered, QStringList({"dots", "lines", "mine"}));
    EXPECT_EQ(offered, Hatch_Style_Names());
}

// The look page is taller than the size page: turning to it must not push
// the buttons below the bottom of the screen, and the window is no larger
// than its pages need.
TEST_F(WizardTest, BothPagesKeepTheirButtonsOnTheScreen)
{
    auto w = open();
    QScreen* screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr);
    const QRect avail = screen->availableGeometry();
    w->show();
    // Placed low, as a window manager may place a short first page.
    w->move(avail.left() + 10, avail.bottom() - w->frameGeometry().height() - 5);
    QCoreApplication::processEvents();

    auto onScreen = [&](const char* page) {
        QCoreApplication::processEvents();
        const QRect frame = w->frameGeometry();
        EXPECT_TRUE(avail.contains(frame)) << page << ": window " << frame.y() << "+" << frame.height()
                                           << " on a screen of height " << avail.height();
        for (QPushButton* b : {w->OK_btn, w->Cancel_btn, w->Back_btn}) {
            const QRect r(b->mapToGlobal(QPoint(0, 0)), b->size());
            EXPECT_TRUE(avail.contains(r)) << page << ": " << b->text().toStdString();
        }
        EXPECT_LE(w->height(), w->sizeHint().height() + 4) << page;
    };
    onScreen("size page");
    w->OK_Click();   // to the look page
    onScreen("look page");
    w->Back_Click();
    onScreen("size page again");
    w->hide();
}

// The printer's page as the card's size, in the page's own millimetres: A4
// gives 210 x 297 (not its 595 x 842 whole points turned back, 209.90 x
// 297.04), so a card of the page holds three 70 mm labels across.
TEST_F(WizardTest, ThePrintersPageGivesItsExactSize)
{
    const QPageSize pages[] = {QPageSize(QPageSize::A4), QPageSize(QPageSize::Letter)};
    const char* sizes[][2] = {{"210.00", "297.00"}, {"215.90", "279.40"}};
    for (int k = 0; k < 2; ++k) {
        usePdf(dir.filePath("page.pdf"), pages[k]);
        auto w = open();
        onDialog([](QDialog&) { return int(QDialog::Accepted); });
        w->Page_From_Printer_Click();
        EXPECT_EQ(w->width_Text->text(), sizes[k][0]);
        EXPECT_EQ(w->height_Text->text(), sizes[k][1]);
    }
}
