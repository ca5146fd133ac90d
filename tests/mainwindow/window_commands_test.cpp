// Pieces of the window reached as a user reaches them, by a button, a menu
// item or a key, each checked by what it changes: the preset card sizes,
// Cancel in the new-label wizard, the front-side command, the help menu's
// product commands and the promotion window, the sharing window, the list
// export's save panel, the canvas menu's label background, Select All and
// Deselect All, and the user help without a PDF viewer.
#include "panels/PanelsTestSupport.h"

#include "core/canvas/LMNZoomingScrollView.h"
#include "core/model/LMNImage.h"
#include "core/util/MessageBoxes.h"
#include "core/util/SharedValues.h"
#include "barcode/generation/list/BarcodeList.h"
#include "imagetools/library/Image_Library.h"
#include "mainwindow/BarcodeListSide.h"
#include "mainwindow/BarcodeModeView.h"
#include "mainwindow/ShareWindows.h"
#include "mainwindow/files/CardPresets.h"
#include "mainwindow/files/EditCommands.h"
#include "mainwindow/files/ToolPalette.h"
#include "mainwindow/files/NewLabelFlow.h"
#include "mainwindow/help/HelpWindows.h"
#include "mainwindow/panels/ItemPanels.h"
#include "platform/Paths.h"
#include "print/Card_Wizard.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTextBrowser>
#include <QTest>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>

#include <functional>

namespace {

class WindowCommandsTest : public PanelsTest {
protected:
    void SetUp() override
    {
        PanelsTest::SetUp();
        // Message boxes: the save question answers No, every other box its first button.
        Set_Message_Responder([this](const MessageRequest& r) {
            messages << r.text;
            return r.text.startsWith(QStringLiteral("Do you want to save")) ? 1 : 0;
        });
        previousRunner = Set_Modal_Runner([this](QDialog& d) {
            dialogs << (d.objectName().isEmpty() ? QString::fromLatin1(d.metaObject()->className()) : d.objectName());
            return answer ? answer(d) : 0;
        });
    }

    void TearDown() override
    {
        Set_Modal_Runner(previousRunner);
        PanelsTest::TearDown();
    }

    // Chooses the library picture named `name` and presses OK.
    static int Choose_From_Library(QDialog& d, const QString& name, int* shown = nullptr)
    {
        auto* library = qobject_cast<Image_Library*>(&d);
        if (!library)
            return 0;
        if (shown)
            *shown = int(library->images.size());
        for (int i = 0; i < library->images.size(); ++i) {
            if (library->images[i].image_Name == name) {
                library->imageBrowser->setCurrentIndex(library->model->index(i));
                library->OK_Clicked();
                return d.result();
            }
        }
        ADD_FAILURE() << "no picture " << name.toStdString() << " in the library";
        library->Cancel_Clicked();
        return 0;
    }

    ModalRunner previousRunner;
    QStringList dialogs;
    std::function<int(QDialog&)> answer;
};

// A temporary resources folder with a links.ini, the rest of the resources
// as they are.
class Configured_Links {
public:
    explicit Configured_Links(const QByteArray& ini)
    {
        saved = Folders.Resource_Path;
        QFile f(dir.filePath(QStringLiteral("links.ini")));
        f.open(QIODevice::WriteOnly);
        f.write(ini);
        f.close();
        for (const char* name : {"Help.pdf", "pattern_1.jpg", "banner.png"})
            QFile::copy(QDir(saved).filePath(QLatin1String(name)), dir.filePath(QLatin1String(name)));
        Folders.Resource_Path = dir.path();
    }
    ~Configured_Links() { Folders.Resource_Path = saved; }
    QTemporaryDir dir;
    QString saved;
};

} // namespace

TEST_F(WindowCommandsTest, PresetSizesFromTheSizeTab)
{
    w->Show_RHS_Properties(nullptr);
    host->sett_tab->setCurrentWidget(host->card_size_tab);
    QPushButton* presets = host->card_size_tab->preset_size_btn;
    ASSERT_TRUE(presets->isEnabled());
    answer = [](QDialog& d) {
        auto* dialog = qobject_cast<New_Label_Dialog*>(&d);
        EXPECT_NE(dialog, nullptr);
        if (!dialog)
            return 0;
        EXPECT_TRUE(dialog->card_name->isHidden()) << "a label begun keeps its name";
        dialog->Select_Stock(0);   // plastic cards
        dialog->preset_list->setCurrentRow(0);
        dialog->orientation->button(1)->click();   // portrait
        return 1;
    };
    presets->click();
    EXPECT_EQ(dialogs, QStringList{"New_Label_Dialog"});
    // 3.37 x 2.13 inches, turned upright.
    EXPECT_NEAR(w->Front_card_Prop()->Card_Size.width(), 54.102 / 25.4 * 72, 0.05);
    EXPECT_NEAR(w->Front_card_Prop()->Card_Size.height(), 85.598 / 25.4 * 72, 0.05);
    EXPECT_NEAR(w->graphicViewBounds().height(), 85.598 / 25.4 * 72, 0.05);
    EXPECT_EQ(host->card_size_tab->width_Text->text(), QStringLiteral("54.10"));

    // Cancel changes nothing.
    const QSizeF before = w->Front_card_Prop()->Card_Size;
    answer = [](QDialog&) { return 0; };
    presets->click();
    EXPECT_EQ(w->Front_card_Prop()->Card_Size, before);

    // A catalogue stock gives the size: the presets are not offered.
    choose(host->card_size_tab->Label_ComboBox, 1);
    EXPECT_FALSE(presets->isEnabled());
}

TEST_F(WindowCommandsTest, NewThenCancelInTheWizardLeavesAnEmptyProject)
{
    add(LMNKind::Shape, QRectF(10, 10, 40, 40));
    host->card_info_tab->card_name->setText(QStringLiteral("Shelf"));
    w->Front_card_Prop()->Card_Name = QStringLiteral("Shelf");
    w->Card_Shape = 2;
    answer = [](QDialog& d) {
        EXPECT_NE(qobject_cast<Card_Wizard*>(&d), nullptr);
        return 0;   // Cancel
    };
    w->New_btn->trigger();
    EXPECT_EQ(dialogs, QStringList{"Card_Wizard"});
    EXPECT_TRUE(doc->graphicsPointers().isEmpty());
    EXPECT_EQ(w->Front_card_Prop()->Card_Name, QStringLiteral("Untitled"));
    EXPECT_EQ(w->Card_Shape, 0);
    EXPECT_EQ(w->Barcode_Setting_Or_Designing_Mode(), 1);
    EXPECT_TRUE(design->myTargetView->isVisibleTo(w));
    EXPECT_EQ(design->Get_Undo_Count(), 0);
}

// A click on a tab of the card panel, as the user gives it.
static void Click_Tab(QTabWidget* tabs, QWidget* page)
{
    QTabBar* bar = tabs->tabBar();
    const int at = tabs->indexOf(page);
    ASSERT_GE(at, 0);
    QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(at).center());
    ASSERT_EQ(tabs->currentWidget(), page);
}

TEST_F(WindowCommandsTest, TheFrontSideButtonKeepsACardTabAndOpensTheCardFromAnItemOnItsFirstTab)
{
    w->show();
    QApplication::setActiveWindow(w);
    QAction* front = design->Front_Side_btn;
    ASSERT_NE(front, nullptr);
    ASSERT_NE(w->toolPalette()->widgetForAction(front), nullptr) << "the button is on the tool palette row";
    design->Front_back_label->setText(QString());
    w->Show_RHS_Properties(nullptr);
    EXPECT_EQ(host->sett_tab->currentWidget(), host->card_info_tab) << "the card panel opens on its first tab";
    Click_Tab(host->sett_tab, host->card_brdr_tab);
    EXPECT_EQ(host->Last_Card_Sel_Tab, host->card_brdr_tab) << "the user's card tab is remembered";
    front->trigger();
    EXPECT_EQ(design->Front_back_label->text(), QStringLiteral("Front"));
    EXPECT_EQ(host->sett_tab->currentWidget(), host->card_brdr_tab) << "a card tab stays";

    // A rectangle made with its tool, its Arrange tab, Front: the card panel
    // on its first tab.
    w->toolPalette()->toolActions().at(3)->trigger();
    ASSERT_EQ(canvas->selectedGraphics().size(), 1);
    ASSERT_EQ(canvas->selectedGraphics().first()->_shape_type, QStringLiteral("R"));
    Click_Tab(host->sett_tab, host->aligmnt_tab);
    EXPECT_EQ(host->Last_Card_Sel_Tab, host->card_brdr_tab) << "an item's tab is not remembered";
    front->trigger();
    EXPECT_EQ(host->sett_tab->count(), 4);
    EXPECT_EQ(host->sett_tab->currentWidget(), host->card_info_tab);
    EXPECT_EQ(host->Last_Selected_Graphic, nullptr);
    // Then the Border tab, Front: Border stays.
    Click_Tab(host->sett_tab, host->card_brdr_tab);
    front->trigger();
    EXPECT_EQ(host->sett_tab->currentWidget(), host->card_brdr_tab);

    // A click on the empty canvas shows the card panel on its first tab, and
    // Front keeps it there.
    select({doc->graphicsPointers().first()});
    ASSERT_EQ(host->sett_tab->widget(0), host->shape_tab);
    ASSERT_EQ(canvas->graphicUnderPoint(QPointF(200, 200)), nullptr);
    QTest::mouseClick(canvas, Qt::LeftButton, {}, canvas->widgetRectForCanvasRect(QRectF(200, 200, 1, 1)).topLeft());
    EXPECT_EQ(host->sett_tab->count(), 4);
    EXPECT_EQ(host->sett_tab->currentWidget(), host->card_info_tab);
    front->trigger();
    EXPECT_EQ(host->sett_tab->currentWidget(), host->card_info_tab);

    // The size tab puts the focus in the label-sheet product list.
    choose(host->card_size_tab->Label_ComboBox, 1);   // a vendor: its products are listed
    ASSERT_TRUE(host->card_size_tab->Product_num_ComboBox->isEnabled());
    Click_Tab(host->sett_tab, host->card_info_tab);
    Click_Tab(host->sett_tab, host->card_size_tab);
    EXPECT_EQ(host->Last_Card_Sel_Tab, host->card_size_tab);
    EXPECT_EQ(QApplication::focusWidget(), host->card_size_tab->Product_num_ComboBox);
    w->hide();
}

TEST_F(WindowCommandsTest, TheHelpMenuOffersTheProductsSetUpAndOpensThePromotionWindow)
{
    QMenu* menu = w->Help_btn->menu();
    ASSERT_NE(menu, nullptr);
    const auto action = [menu](const char* name) { return menu->findChild<QAction*>(QLatin1String(name)); };
    for (const char* name : {"ZORV_SMS_Prmotion", "ZORV_Recovery_Prmotion", "ZORV_Barcode_Prmotion"})
        ASSERT_NE(action(name), nullptr) << name;
    // As shipped nothing is set up: no product is offered.
    emit menu->aboutToShow();
    EXPECT_FALSE(action("ZORV_Barcode_Prmotion")->isVisible());

    Configured_Links links("[Promotion]\nB_Title=Zorv Tags\nB_Short=Tags for every shelf\n"
                           "B_Order=https://example.org/order\n");
    emit menu->aboutToShow();
    QAction* product = action("ZORV_Barcode_Prmotion");
    EXPECT_TRUE(product->isVisible());
    EXPECT_EQ(product->text(), QStringLiteral("Zorv Tags..."));
    EXPECT_FALSE(action("ZORV_SMS_Prmotion")->isVisible());

    QStringList opened;
    const auto savedOpen = Open_Link_Address;
    Open_Link_Address = [&opened](const QString& a) { opened << a; return true; };
    QImage shot;
    answer = [&shot](QDialog& d) {
        auto* form = qobject_cast<Promotion_Form*>(&d);
        EXPECT_NE(form, nullptr);
        if (!form)
            return 0;
        EXPECT_EQ(form->Software_title->text(), QStringLiteral("Zorv Tags"));
        EXPECT_EQ(form->short_descp->text(), QStringLiteral("Tags for every shelf"));
        EXPECT_TRUE(form->order_btn->isVisibleTo(form));
        EXPECT_FALSE(form->mail_btn->isVisibleTo(form));
        form->order_btn->click();
        // The picture's view lays the window's pattern under it.
        EXPECT_NE(qobject_cast<Promotion_Pattern*>(form->bundle_image), nullptr);
        shot = form->bundle_image->grab().toImage();
        form->OK_Clicked();
        return d.result();
    };
    product->trigger();
    Open_Link_Address = savedOpen;
    EXPECT_EQ(dialogs, QStringList{"Promotion_Form"});
    EXPECT_EQ(opened, QStringList{"https://example.org/order"});
    // No picture is set up: the pattern shows, not the window's plain colour.
    ASSERT_FALSE(shot.isNull());
    const QImage pattern = w->promotion_pattern_image;
    EXPECT_NE(shot.pixel(5, 5), qRgb(241, 244, 250));
    EXPECT_LE(std::abs(qRed(shot.pixel(5, 5)) - qRed(pattern.pixel(5, 5))), 30);
}

TEST_F(WindowCommandsTest, TheHelpWindowOpensTheSharingWindow)
{
    // As shipped no share page is set up: the Share button stays hidden.
    answer = [](QDialog& d) {
        if (auto* help = qobject_cast<Help_Support*>(&d)) {
            EXPECT_TRUE(help->share_btn->isHidden());
        }
        return 1;
    };
    w->Help_btn->trigger();
    EXPECT_EQ(dialogs, QStringList{"Help_Support"});

    Configured_Links links("[Share]\nTwitter=https://example.org/share?u=%1\n[Help]\nProduct=https://example.org/zorv\n");
    dialogs.clear();
    QStringList opened;
    const auto savedOpen = Share_It_Dlg::Open_Link;
    Share_It_Dlg::Open_Link = [&opened](const QString& a) { opened << a; return true; };
    answer = [](QDialog& d) {
        if (auto* help = qobject_cast<Help_Support*>(&d)) {
            EXPECT_FALSE(help->share_btn->isHidden());
            help->share_btn->click();
            return 1;
        }
        if (auto* share = qobject_cast<Share_It_Dlg*>(&d)) {
            EXPECT_FALSE(share->Twitter_btn->isHidden());
            EXPECT_TRUE(share->Facebook_btn->isHidden());
            share->Twitter_btn->click();
            share->OK_Pressed();
            return d.result();
        }
        return 0;
    };
    w->Help_btn->trigger();
    Share_It_Dlg::Open_Link = savedOpen;
    EXPECT_EQ(dialogs, (QStringList{"Help_Support", "Share_It_Dlg"}));
    EXPECT_EQ(opened, QStringList{"https://example.org/share?u=https%3A%2F%2Fexample.org%2Fzorv"});
}

TEST_F(WindowCommandsTest, WithoutAPdfViewerTheHelpSaysWhereTheFileIs)
{
    // No program here shows PDF files (the offscreen desktop launches nothing).
    QMenu* menu = w->Help_btn->menu();
    menu->findChild<QAction*>(QStringLiteral("User_Help_btn"))->trigger();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(sawMessage(QStringLiteral("No program to show PDF files was found.")));
    EXPECT_TRUE(sawMessage(QStringLiteral("The user help is\n") + QDir::toNativeSeparators(Help_File_Path())))
        << messages.join('|').toStdString();
    EXPECT_TRUE(QFileInfo(Help_File_Path()).isFile());

    // The help window's own button says the same.
    messages.clear();
    answer = [](QDialog& d) {
        if (auto* help = qobject_cast<Help_Support*>(&d))
            help->_Help_File_Label->click();
        return 1;
    };
    w->Help_btn->trigger();
    EXPECT_EQ(dialogs.last(), QStringLiteral("Help_Support"));
    EXPECT_TRUE(sawMessage(QDir::toNativeSeparators(Help_File_Path()))) << messages.join('|').toStdString();
}

TEST_F(WindowCommandsTest, TheListExportPanelRewritesTheTypedNamesExtensionWithTheFormat)
{
    w->Barcode_Mode_Select();
    BarcodeListSide* list = w->barcodeModeView()->listSide();
    list->data_source_chkbox->setChecked(true);   // the list is the source: its buttons are offered
    list->barcodeData_SourceChanged();
    ASSERT_TRUE(list->export_list_btn->isEnabled());
    ASSERT_TRUE(w->ListData_barcode().Create_Item_List(QStringLiteral("4006381333931"), QStringLiteral("Tea"),
                                                       QString(), QStringLiteral("2"), 0));
    list->Reload_List();
    QTemporaryDir out;
    QString typedBefore, typedAfter;
    answer = [&](QDialog& d) {
        auto* panel = qobject_cast<QFileDialog*>(&d);
        if (!panel)
            return 0;
        auto* banner = panel->findChild<Repeat_Image*>();
        EXPECT_NE(banner, nullptr);
        if (banner) {
            EXPECT_TRUE(banner->isVisibleTo(panel));
        }
        auto* accessory = panel->findChild<AccessoryViewController*>(QStringLiteral("accessoryVC"));
        auto* name = panel->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        EXPECT_NE(accessory, nullptr);
        EXPECT_NE(name, nullptr);
        if (!accessory || !name)
            return 0;
        panel->setDirectory(out.path());
        name->setText(QStringLiteral("shelf list.txt"));
        // The user picks the spreadsheet format: the typed name follows.
        accessory->ext_btn->setCurrentIndex(0);
        emit accessory->ext_btn->activated(0);
        typedAfter = name->text();
        accessory->ext_btn->setCurrentIndex(1);
        emit accessory->ext_btn->activated(1);
        typedBefore = name->text();
        accessory->ext_btn->setCurrentIndex(0);
        emit accessory->ext_btn->activated(0);
        static_cast<QDialog*>(panel)->accept();   // the panel's own accept: the name is taken
        return d.result();
    };
    list->export_list_btn->click();
    EXPECT_TRUE(dialogs.contains(QStringLiteral("Export_List_Panel")));
    EXPECT_EQ(typedAfter, QStringLiteral("shelf list.xlsx"));
    EXPECT_EQ(typedBefore, QStringLiteral("shelf list.txt"));
    QFile written(QDir(out.path()).filePath(QStringLiteral("shelf list.xlsx")));
    ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << "the list is written as a workbook";
    EXPECT_TRUE(written.read(2) == "PK");
    EXPECT_FALSE(QFile::exists(QDir(out.path()).filePath(QStringLiteral("shelf list.txt"))));
}

TEST_F(WindowCommandsTest, TheCanvasMenusLabelBackgroundTakesAPictureFromTheLibrary)
{
    std::unique_ptr<QMenu> menu = canvas->contextMenu();
    QAction* background = menu->findChild<QAction*>(QStringLiteral("select_card"));
    ASSERT_NE(background, nullptr);
    EXPECT_TRUE(background->isEnabled()) << "\"Label Background\" has its command";
    int shown = 0;
    answer = [&shown](QDialog& d) { return Choose_From_Library(d, QStringLiteral("Sunset_Gradient.jpg"), &shown); };
    background->trigger();
    EXPECT_EQ(dialogs, QStringList{"Image_Library"});
    EXPECT_GE(shown, 12) << "the backgrounds";
    const Card_Property* card = w->Front_card_Prop();
    EXPECT_TRUE(card->Card_fill_chk);
    EXPECT_EQ(card->Card_fill_style, QStringLiteral("I"));
    EXPECT_TRUE(card->Card_BG_Image_Path.endsWith(QStringLiteral("/Background/Sunset_Gradient.jpg")));
    EXPECT_EQ(host->sett_tab->currentWidget(), host->card_bkgd_tab);
    // The card prints with it: a background is a plastic card (85.6 x 54 mm)
    // tiled from the top-left corner, its gradient light at the left and
    // orange at the right.
    const QImage printed = printedCard();
    ASSERT_FALSE(printed.isNull());
    const QRgb right = printed.pixel(236, 70);
    const QRgb left = printed.pixel(3, 70);
    EXPECT_GT(qRed(right), 200);
    EXPECT_LT(qBlue(right), 130);
    EXPECT_GT(qBlue(left), qBlue(right) + 60);
}

TEST_F(WindowCommandsTest, SelectAllAndDeselectAllFromTheEditMenuAndTheKeys)
{
    LMNGraphic* a = add(LMNKind::Shape, QRectF(10, 10, 40, 40));
    LMNGraphic* b = add(LMNKind::Line, QRectF(60, 10, 40, 40));
    LMNGraphic* c = add(LMNKind::Text, QRectF(10, 80, 60, 20));
    Q_UNUSED(a); Q_UNUSED(b); Q_UNUSED(c);
    Edit_Commands* edit = w->editCommands();
    QMenu* menu = edit->Edit_menu_btn->menu();
    ASSERT_NE(menu, nullptr);
    ASSERT_TRUE(menu->actions().contains(edit->Select_All_btn));
    ASSERT_TRUE(menu->actions().contains(edit->Deselect_All_btn));
    ASSERT_NE(design->design_toolbar->widgetForAction(edit->Edit_menu_btn), nullptr);
    edit->Select_All_btn->trigger();
    EXPECT_EQ(canvas->selectedGraphics().size(), 3);
    edit->Deselect_All_btn->trigger();
    EXPECT_TRUE(canvas->selectedGraphics().isEmpty());

    // The keys, with the canvas in front.
    w->show();
    QApplication::setActiveWindow(w);
    canvas->setFocus();
    QTest::keyClick(canvas, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(canvas->selectedGraphics().size(), 3);
    QTest::keyClick(canvas, Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(canvas->selectedGraphics().isEmpty());
    EXPECT_EQ(host->sett_tab->count(), 4) << "the card's panel";
}

// ---------------------------------------------------------------- the picture libraries

namespace {

// How many pixels of a rectangle are near a colour.
int Pixels_Near(const QImage& image, const QRect& area, QColor colour, int tolerance = 40)
{
    int n = 0;
    const QRect r = area.intersected(image.rect());
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= tolerance && std::abs(c.green() - colour.green()) <= tolerance
                && std::abs(c.blue() - colour.blue()) <= tolerance)
                ++n;
        }
    return n;
}

const QColor kStarYellow(248, 196, 40);
const QColor kHeartRed(200, 40, 40);

} // namespace

TEST_F(WindowCommandsTest, ThePictureToolsLibraryGivesAPictureThatPrints)
{
    int shown = 0;
    answer = [&shown](QDialog& d) { return Choose_From_Library(d, QStringLiteral("Star.png"), &shown); };
    QAction* tool = w->toolPalette()->toolActions().at(9);
    ASSERT_TRUE(tool->isVisible()) << "the library tool is offered";
    tool->trigger();
    EXPECT_EQ(dialogs, QStringList{"Image_Library"});
    EXPECT_GE(shown, 24) << "frames, icons and symbols";
    ASSERT_EQ(doc->graphicsPointers().size(), 1);
    LMNGraphic* picture = doc->graphicsPointers().first();
    EXPECT_EQ(picture->kind(), LMNKind::Image);
    EXPECT_TRUE(picture->_file_path.endsWith(QStringLiteral("/LibraryImage/Star.png"))) << picture->_file_path.toStdString();
    const QImage printed = printedCard();
    EXPECT_GT(Pixels_Near(printed, picture->bounds().toRect(), kStarYellow), 50) << "the star prints";
}

TEST_F(WindowCommandsTest, ThePicturePanelsLibraryButtonChangesThePicture)
{
    QTemporaryDir dir;
    QImage grey(64, 64, QImage::Format_RGB32);
    grey.fill(Qt::gray);
    ASSERT_TRUE(grey.save(dir.filePath(QStringLiteral("grey.png"))));
    auto* picture = static_cast<LMNImage*>(add(LMNKind::Image, QRectF(20, 20, 100, 100)));
    picture->setFilePath(dir.filePath(QStringLiteral("grey.png")));
    select({picture});
    answer = [](QDialog& d) { return Choose_From_Library(d, QStringLiteral("Heart.png")); };
    host->datasource_tab->Manual_Library_Browse_Btn->click();
    EXPECT_EQ(dialogs, QStringList{"Image_Library"});
    EXPECT_TRUE(picture->_file_path.endsWith(QStringLiteral("/LibraryImage/Heart.png")));
    EXPECT_GT(Pixels_Near(printedCard(), QRect(20, 20, 100, 100), kHeartRed), 500) << "the heart prints";
}

TEST_F(WindowCommandsTest, TheBackgroundTabsLibraryButtonGivesTheCardABackground)
{
    w->Show_RHS_Properties(nullptr);
    int shown = 0;
    answer = [&shown](QDialog& d) { return Choose_From_Library(d, QStringLiteral("Dots.jpg"), &shown); };
    if (!host->card_bkgd_tab->Card_fill_chk->isChecked())
        host->card_bkgd_tab->Card_fill_chk->click();
    host->card_bkgd_tab->Card_Image_fill_rd->click();   // a picture as the fill
    ASSERT_TRUE(host->card_bkgd_tab->Card_Image_Library_Btn->isEnabled());
    host->card_bkgd_tab->Card_Image_Library_Btn->click();
    EXPECT_GE(shown, 12);
    EXPECT_TRUE(w->Front_card_Prop()->Card_BG_Image_Path.endsWith(QStringLiteral("/Background/Dots.jpg")));
    // Cream paper with orange dots.
    const QImage printed = printedCard();
    EXPECT_GT(Pixels_Near(printed, printed.rect(), QColor(255, 248, 236), 8), 10000);
    EXPECT_GT(Pixels_Near(printed, printed.rect(), QColor(250, 214, 160), 12), 200);
}

TEST_F(WindowCommandsTest, TheNewLabelWizardsLibraryButtonGivesTheNewCardItsBackground)
{
    answer = [](QDialog& d) {
        if (qobject_cast<Image_Library*>(&d))
            return Choose_From_Library(d, QStringLiteral("Waves.jpg"));
        auto* wizard = qobject_cast<Card_Wizard*>(&d);
        if (!wizard)
            return 0;
        wizard->OK_Click();   // to the look page
        wizard->Card_Image_fill_rd->click();
        wizard->Card_Image_Library->click();
        EXPECT_TRUE(wizard->Card_Image_path->text().endsWith(QStringLiteral("/Background/Waves.jpg")));
        wizard->OK_Click();
        return d.result();
    };
    w->New_btn->trigger();
    EXPECT_EQ(dialogs, (QStringList{"Card_Wizard", "Image_Library"}));
    EXPECT_EQ(w->Front_card_Prop()->Card_fill_style, QStringLiteral("I"));
    EXPECT_TRUE(w->Front_card_Prop()->Card_BG_Image_Path.endsWith(QStringLiteral("/Background/Waves.jpg")));
    // Light blue at the top of the waves' picture.
    const QImage printed = printedCard();
    EXPECT_GT(Pixels_Near(printed, QRect(0, 0, printed.width(), 20), QColor(226, 242, 252), 12), 500);
}

TEST_F(WindowCommandsTest, ThePictureChooserAndTheWizardNameWhatTheyAsk)
{
    // The picture tool's chooser offers pictures, under that name.
    QStringList filters;
    answer = [&filters](QDialog& d) {
        if (auto* panel = qobject_cast<QFileDialog*>(&d))
            filters = panel->nameFilters();
        return 0;
    };
    w->toolPalette()->toolActions().at(8)->trigger();
    ASSERT_FALSE(filters.isEmpty());
    EXPECT_TRUE(filters.first().startsWith(QStringLiteral("Pictures (*.jpg"))) << filters.first().toStdString();
    EXPECT_TRUE(doc->graphicsPointers().isEmpty()) << "cancelled: no item";

    // The new-label wizard's look page asks for the opacity: 100 % is opaque.
    Card_Wizard wizard(w);
    wizard.Reset_For_Opening();
    EXPECT_EQ(wizard.Card_alpha_lbl->text(), QStringLiteral("Opacity (%)"));
}

TEST_F(WindowCommandsTest, TheSourceTabHasItsHelp)
{
    LMNGraphic* text = add(LMNKind::Text, QRectF(10, 10, 70, 20));
    select({text});
    ASSERT_GE(host->sett_tab->indexOf(host->datasource_tab), 0);
    host->sett_tab->setCurrentWidget(host->datasource_tab);
    QStringList shown;
    answer = [&shown](QDialog& d) {
        if (auto* box = qobject_cast<Long_SMS_Dlg*>(&d))
            shown << box->_Msg_Title->text() << box->_Msg_Val->toPlainText();
        return 1;
    };
    QPushButton* help = host->datasource_tab->Data_Source_Help_btn;
    ASSERT_NE(help, nullptr);
    help->click();
    EXPECT_EQ(shown, QStringList({"Batch Processing Settings Help :",
                                  "Select Data Source as 'Manual' to enter value manually.\n"
                                  "Select 'Series' to fetch the value from the list of existing Batch "
                                  "Processing Series."}));
}
