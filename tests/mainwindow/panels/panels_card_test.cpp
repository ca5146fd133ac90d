// The card panel of the real main window and the units of designing mode:
// what each control writes into the front card model, what a load shows and
// writes back, the card size in each unit.
#include "PanelsTestSupport.h"

#include "core/canvas/LMNZoomingScrollView.h"
#include "core/model/LMNGraphic.h"
#include "core/util/MainWindowServices.h"

#include <QButtonGroup>
#include <QFontDialog>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QAction>
#include <QTemporaryDir>

namespace {

class CardPanelTest : public PanelsTest {
protected:
    Card_Property& card() { return *w->Front_card_Prop(); }
    void showCard() { w->Show_RHS_Properties(nullptr); }
};

} // namespace

TEST_F(CardPanelTest, OpacityGoesIntoSolidAndHatchColoursOnly)
{
    card().Card_fill_Grd_1_clr = QColor(10, 20, 30, 178);
    card().Card_bordr_clr = QColor(0, 0, 0, 128);
    card().Card_border_chk = true;
    showCard();
    CardBackgroundPanel* bg = host->card_bkgd_tab;
    EXPECT_EQ(bg->Card_alpha->text->text(), QStringLiteral("100")) << "a new card holds 100";
    type(bg->Card_alpha, QStringLiteral("40"));
    EXPECT_FLOAT_EQ(card().Card_alpha_Stepper, 0.4f);
    EXPECT_NEAR(card().Card_fill_clr.alphaF(), 0.4, 0.003);
    EXPECT_NEAR(card().Card_hatch_bk_clr.alphaF(), 0.4, 0.003);
    EXPECT_EQ(card().Card_fill_Grd_1_clr.alpha(), 178);
    EXPECT_EQ(card().Card_bordr_clr.alpha(), 128);

    // The fill off keeps the fill colour; the border off keeps its colour and width.
    const QColor fill = card().Card_fill_clr;
    bg->Card_fill_clr->setColor(Qt::red, true);
    EXPECT_EQ(card().Card_fill_clr.red(), 255);
    bg->Card_fill_chk->click();
    EXPECT_FALSE(card().Card_fill_chk);
    bg->Card_fill_clr->setColor(Qt::blue);
    host->Update_Card_Graphics();
    EXPECT_EQ(card().Card_fill_clr.red(), 255) << fill.name().toStdString();
    host->card_brdr_tab->Card_border_chk->click();
    EXPECT_FALSE(card().Card_border_chk);
    EXPECT_EQ(card().Card_bordr_clr.alpha(), 128);

    // A gradient of 45.7 degrees stores 45; the radios choose the style.
    bg->Card_fill_chk->click();
    bg->Card_gradient_fill_rd->click();
    EXPECT_EQ(card().Card_fill_style, QStringLiteral("G"));
    EXPECT_TRUE(bg->Card_alpha->text->isHidden());
    type(bg->Card_grad, QStringLiteral("45.7"));
    EXPECT_EQ(card().Card_grad_Stepper, 45);
}

TEST_F(CardPanelTest, LoadShowsTheModelAndWritesBackOnlyLocationAndSize)
{
    card().Card_alpha_Stepper = 0.999f;
    card().Card_border_style = QStringLiteral("XX");
    card().Card_fill_style = QStringLiteral("H");
    card().Card_hatch_style = QString();
    card().Card_Shape = QStringLiteral("Q");
    card().Card_Name = QStringLiteral("  Badge ");
    card().Watermark_Transp = 0.5f;
    card().Watermark_Used = true;
    card().Card_Location = QPointF(3, 4);
    card().Card_Size = QSizeF(1, 1);
    host->card_brdr_tab->Card_border_style->setCurrentIndex(3);
    std::unique_ptr<Card_Property> expected = card().copyWithZone();
    const QRectF bounds = w->graphicViewBounds();
    expected->Card_Location = bounds.topLeft();
    expected->Card_Size = bounds.size();
    showCard();
    EXPECT_EQ(card().encodeWithCoder(), expected->encodeWithCoder());

    EXPECT_EQ(host->card_bkgd_tab->Card_alpha->text->text(), QStringLiteral("99"));
    EXPECT_EQ(host->card_brdr_tab->Card_border_style->currentIndex(), 3) << "an unknown code leaves the list";
    EXPECT_EQ(host->card_bkgd_tab->Card_hatch_style->currentIndex(), -1);
    EXPECT_TRUE(host->card_bkgd_tab->Card_Style_fill_rd->isChecked());
    EXPECT_EQ(host->card_info_tab->shapeRow(), 2) << "any other shape code is the ellipse";
    EXPECT_EQ(w->Card_Shape, 2);
    EXPECT_EQ(host->card_info_tab->wm_transp_val->text(), QStringLiteral("50.00"));
    EXPECT_FALSE(Not_Draw_Only_Prop_Change_Get());

    // The name is stored trimmed, a blank one as "Untitled", in both fields.
    host->card_info_tab->card_name->setText(QStringLiteral("   "));
    emit host->card_info_tab->card_name->textEdited(QStringLiteral("   "));
    EXPECT_EQ(card().Card_Name, QStringLiteral("Untitled"));
    EXPECT_EQ(card().Card_Sub_Category, QStringLiteral("Untitled"));
    host->card_info_tab->card_name->setText(QStringLiteral("  Badge "));
    emit host->card_info_tab->card_name->textEdited(QStringLiteral("  Badge "));
    EXPECT_EQ(card().Card_Name, QStringLiteral("Badge"));
    EXPECT_TRUE(w->windowTitle().contains(QStringLiteral("Badge")));

    // Watermark at 100 stores 1.0; the shape rows store R, RR, E.
    host->card_info_tab->wm_transp_slider->setFraction(100);
    emit host->card_info_tab->wm_transp_slider->moved();
    EXPECT_FLOAT_EQ(card().Watermark_Transp, 1.0f);
    const char* codes[] = {"R", "RR", "E"};
    for (int row = 0; row < 3; ++row) {
        host->card_info_tab->matrix_card_shape->button(row)->click();
        EXPECT_EQ(card().Card_Shape, QString::fromLatin1(codes[row]));
    }
}

TEST_F(CardPanelTest, CardSizeInInchesAndUnitsRoundTrip)
{
    design->Apply_Unit_Choice(0);
    CardSizePanel* size = host->card_size_tab;
    EXPECT_EQ(size->card_size_box->title(), QStringLiteral("Label Size (in)"));
    EXPECT_EQ(size->unit_width_label->text(), QStringLiteral("(in)"));
    size->width_Text->setText(QStringLiteral("2"));
    size->height_Text->setText(QStringLiteral("1"));
    size->Apply_Size_btn->click();
    EXPECT_NEAR(card().Card_Size.width(), 144.0, 1e-3);
    EXPECT_NEAR(card().Card_Size.height(), 72.0, 1e-3);
    EXPECT_NEAR(w->graphicViewBounds().width(), 144.0, 1e-3);

    // 100 x 50 mm shown in inches with four decimals, and back: the lengths stay.
    design->Apply_Unit_Choice(2);
    host->Set_Card_Size_In_Control(100, 50);
    EXPECT_EQ(size->width_Text->text(), QStringLiteral("100.00"));
    host->Measument_Unit_Is = 0;
    host->Apply_unit_Chaneg_Values();
    host->last_unit_val = 0;
    EXPECT_EQ(size->width_Text->text(), QStringLiteral("3.9370"));
    EXPECT_EQ(size->height_Text->text(), QStringLiteral("1.9685"));
    EXPECT_NEAR(size->width_Stepper->value(), 3.937008, 1e-5);
    EXPECT_NEAR(size->height_Stepper->value(), 1.968504, 1e-5);
    host->Measument_Unit_Is = 2;
    host->Apply_unit_Chaneg_Values();
    host->last_unit_val = 2;
    EXPECT_EQ(size->width_Text->text(), QStringLiteral("100.00"));
    EXPECT_EQ(size->height_Text->text(), QStringLiteral("50.00"));
    // The same unit again only rewrites the fields with the unit's decimals.
    size->width_Text->setText(QStringLiteral("12.3456"));
    host->Apply_unit_Chaneg_Values();
    EXPECT_EQ(size->width_Text->text(), QStringLiteral("12.35"));

    EXPECT_FLOAT_EQ(Get_Unit_Convertor(1, 0), 0.39370078f);
    EXPECT_FLOAT_EQ(Get_Unit_Convertor(2, 1), 0.1f);
    EXPECT_FLOAT_EQ(Get_Unit_Convertor(3, 0), 1.0f);
    EXPECT_FLOAT_EQ(Get_Unit_Convertor(0, -1), 1.0f);
}

TEST_F(CardPanelTest, UnitsWindowOkConvertsCancelKeeps)
{
    host->Set_Card_Size_In_Control(100, 50);
    int shown = 0;
    ModalRunner previous = Set_Modal_Runner([&shown](QDialog& d) {
        ++shown;
        auto* units = qobject_cast<Unit_PrefWindow*>(&d);
        EXPECT_NE(units, nullptr);
        EXPECT_EQ(units->selectedRow(), 2);
        units->selectRow(0);
        return shown == 1 ? 0 : 1;   // Cancel, then OK
    });
    host->card_size_tab->units_btn->click();
    EXPECT_EQ(host->Measument_Unit_Is, 2);
    EXPECT_EQ(host->card_size_tab->width_Text->text(), QStringLiteral("100.00"));
    host->card_size_tab->units_btn->click();
    Set_Modal_Runner(previous);
    EXPECT_EQ(shown, 2);
    EXPECT_EQ(host->Measument_Unit_Is, 0);
    EXPECT_EQ(host->last_unit_val, 0);
    EXPECT_EQ(host->card_size_tab->width_Text->text(), QStringLiteral("3.9370"));
    EXPECT_EQ(host->aligmnt_tab->ctrl_y_pos_unit_lbl->text(), QStringLiteral("(pt)"));
    EXPECT_EQ(host->aligmnt_tab->ctrl_height_unit_lbl->text(), QStringLiteral("(in)"));
    EXPECT_EQ(host->card_size_tab->card_size_box->title(), QStringLiteral("Label Size (in)"));
    EXPECT_EQ(design->_zoomingScrollView->rulerUnit(), 0) << "the rulers count in inches too";
}

TEST_F(CardPanelTest, UnitsOfBarcodeModeConvertItsLengths)
{
    w->Barcode_Mode_Select();
    BarcodeModeView* barcode = w->barcodeModeView();
    BarcodeSettings s = barcode->Barcode_Settings();
    ASSERT_EQ(s.unit, 1);
    s.bar_height = 1.5f;
    s.val_mar = 0.2f;
    s.LR_mar = 0.25f;
    barcode->Load_Barcode_Settings(s);
    ModalRunner previous = Set_Modal_Runner([](QDialog& d) {
        auto* units = qobject_cast<Unit_PrefWindow*>(&d);
        EXPECT_EQ(units ? units->selectedRow() : -1, 1) << "barcode mode's own unit is offered";
        if (units)
            units->selectRow(2);
        return 1;
    });
    w->Units_btn->trigger();
    Set_Modal_Runner(previous);
    const BarcodeSettings after = barcode->Barcode_Settings();
    EXPECT_EQ(after.unit, 2);
    EXPECT_EQ(barcode->Measument_Unit_Is_Barcode, 2);
    EXPECT_EQ(barcode->last_unit_val_Barcode, 2);
    EXPECT_NEAR(after.bar_height, 15.0, 1e-4);
    EXPECT_NEAR(after.val_mar, 2.0, 1e-4);
    EXPECT_NEAR(after.LR_mar, 2.5, 1e-4);
    // The lengths themselves stay: the margin in points is the same.
    EXPECT_NEAR(after.LR_margin, s.LR_mar * 72.0 / 2.54, 0.01);
    EXPECT_EQ(host->Measument_Unit_Is, 2) << "designing mode keeps its own unit";
}

TEST_F(CardPanelTest, CardColoursStayOnTheCardAndAllTextsFollowTheContentFont)
{
    // A rubber band leaves items selected under the card panel: choosing a
    // card colour must not recolour them.
    LMNGraphic* shape = add(LMNKind::Shape, QRectF(0, 0, 30, 30));
    LMNGraphic* text = add(LMNKind::Text, QRectF(0, 40, 80, 20));
    LMNGraphic* locked = add(LMNKind::Text, QRectF(0, 70, 80, 20));
    locked->ctrl_is_locked = true;
    shape->_fillColor = Qt::green;
    canvas->changeSelectionIndexes({0, 1, 2});
    showCard();
    host->card_bkgd_tab->Card_fill_clr->setColor(Qt::magenta, true);
    EXPECT_EQ(shape->_fillColor, QColor(Qt::green));
    EXPECT_EQ(card().Card_fill_clr.rgb(), QColor(Qt::magenta).rgb());

    // The content font goes to every unlocked text, in one undo step.
    const int steps = undoSteps();
    const QFont before = locked->text_ctrl_font;
    host->changeAllTextFont(QFont(QStringLiteral("DejaVu Sans Mono"), 21));
    EXPECT_EQ(text->text_ctrl_font.pointSizeF(), 21.0);
    EXPECT_EQ(locked->text_ctrl_font, before);
    EXPECT_EQ(card().Card_Content_font.pointSizeF(), 21.0);
    EXPECT_EQ(undoSteps(), steps + 1);
    // A new text takes the content font.
    std::unique_ptr<LMNGraphic> fresh = LMNGraphic::newOfKind(LMNKind::Text);
    EXPECT_EQ(fresh->text_ctrl_font.pointSizeF(), 21.0);
}

TEST_F(CardPanelTest, FontLabelsShowTheFacesDisplayNameAndSize)
{
    const auto styled = [](const char* family, bool bold, bool italic, double points) {
        QFont f{QString::fromLatin1(family)};
        f.setBold(bold);
        f.setItalic(italic);
        f.setPointSizeF(points);
        return f;
    };
    card().Card_Content_font = styled("DejaVu Serif", true, false, 10);
    card().Watermark_Font = styled("DejaVu Sans", false, false, 14.25);
    card().Watermark_Used = true;
    showCard();
    CardInfoPanel* info = host->card_info_tab;
    EXPECT_EQ(info->All_Text_font_value->text(), QStringLiteral("DejaVu Serif Bold ( 10.00 )"));
    EXPECT_EQ(info->wm_font_value->text(), QStringLiteral("DejaVu Sans ( 14.25 )")) << "the plain face: family alone";

    // Faces chosen in the font panel show by their own names.
    info->findChild<QPushButton*>(QStringLiteral("WM_Font_btn"))->click();
    auto* panel = w->findChild<QFontDialog*>(QStringLiteral("fontPanel"));
    ASSERT_NE(panel, nullptr);
    panel->setCurrentFont(styled("DejaVu Sans", false, true, 9));
    EXPECT_EQ(info->wm_font_value->text(), QStringLiteral("DejaVu Sans Oblique ( 9.00 )"));
    info->findChild<QPushButton*>(QStringLiteral("Content_Font_btn"))->click();
    panel->setCurrentFont(styled("DejaVu Serif", true, true, 11));
    EXPECT_EQ(info->All_Text_font_value->text(), QStringLiteral("DejaVu Serif Bold Italic ( 11.00 )"));

    LMNGraphic* text = add(LMNKind::Text, QRectF(10, 10, 80, 20));
    select({text});
    host->text_edtng_tab->Text_font_btn->click();
    panel->setCurrentFont(styled("DejaVu Sans", true, false, 12));
    EXPECT_EQ(host->text_edtng_tab->Text_font_value->text(), QStringLiteral("DejaVu Sans Bold ( 12.00 )"));
    EXPECT_TRUE(text->text_ctrl_font.bold());
    panel->hide();
}

TEST_F(CardPanelTest, BackgroundPictureLayoutAndPageFromPrinter)
{
    QTemporaryDir dir;
    QImage img(20, 10, QImage::Format_RGB32);
    img.fill(Qt::yellow);
    const QString path = dir.filePath(QStringLiteral("bg.png"));
    ASSERT_TRUE(img.save(path));
    showCard();
    host->Choose_File = [&path](const QString&, const QStringList&) { return path; };
    // The picture controls are live for the picture fill only.
    EXPECT_FALSE(host->card_bkgd_tab->Card_Image_Browse_Btn->isEnabled());
    host->card_bkgd_tab->Card_Image_fill_rd->click();
    host->card_bkgd_tab->Card_Image_Browse_Btn->click();
    EXPECT_EQ(card().Card_fill_style, QStringLiteral("I"));
    EXPECT_EQ(card().Card_BG_Image_Path, path);
    EXPECT_FALSE(card().Card_BG_Image.isNull());
    EXPECT_EQ(host->sett_tab->currentWidget(), host->card_bkgd_tab);
    EXPECT_TRUE(host->card_bkgd_tab->Card_Image_fill_rd->isChecked());

    // The background library gives a picture the same way ("B": backgrounds).
    QString asked;
    host->Picture_Library = [&](const QString& mode) {
        asked = mode;
        return path;
    };
    card().Card_BG_Image_Path.clear();
    host->card_bkgd_tab->Card_Image_Library_Btn->click();
    EXPECT_EQ(asked, QStringLiteral("B"));
    EXPECT_EQ(card().Card_BG_Image_Path, path);

    // A tiled picture takes no opacity; a stretched one does.
    CardBackgroundPanel* bg = host->card_bkgd_tab;
    choose(bg->Card_image_layout, bg->Card_image_layout->findText(QStringLiteral("Tile")));
    EXPECT_TRUE(bg->Card_alpha->text->isHidden());
    choose(bg->Card_image_layout, bg->Card_image_layout->findText(QStringLiteral("Stretch")));
    EXPECT_FALSE(bg->Card_alpha->text->isHidden());
    EXPECT_EQ(card().Card_BG_Image_Layout, QStringLiteral("Stretch"));

    // The paper of the page set-up goes into the size fields, not the card
    // (the process's print settings are given back afterwards).
    const PrintInfo printBefore = MainWindowServices::printInfo();
    const auto restorePrint = qScopeGuard([&] { MainWindowServices::setPrintInfo(printBefore); });
    const QSizeF sizeBefore = card().Card_Size;
    host->Page_Layout_Panel = [](PrintInfo& info) {
        info.pageLayout.setPageSize(QPageSize(QPageSize::A5));
        info.pageLayout.setOrientation(QPageLayout::Portrait);
        return true;
    };
    // The document is told of the change as one of its canvas size, before
    // and after; the canvas keeps its size.
    QList<bool> told;
    doc->addCanvasSizeObserver(this, [&told](bool prior) { told << prior; });
    const auto stopObserving = qScopeGuard([this] { doc->removeCanvasSizeObserver(this); });
    const QRectF canvasBefore = canvas->bounds();
    host->card_size_tab->page_frm_printer_btn->click();
    EXPECT_EQ(host->card_size_tab->width_Text->text(), QStringLiteral("148.00"));
    EXPECT_EQ(host->card_size_tab->height_Text->text(), QStringLiteral("210.00"));
    EXPECT_EQ(card().Card_Size, sizeBefore);
    EXPECT_EQ(told, (QList<bool>{true, false}));
    EXPECT_EQ(doc->printInfo().pageLayout.pageSize().id(), QPageSize::A5) << "the document's print settings";
    EXPECT_EQ(canvas->bounds(), canvasBefore);
    // The same paper again changes nothing, and nothing is told.
    host->card_size_tab->page_frm_printer_btn->click();
    EXPECT_EQ(told.size(), 2);
}

TEST_F(CardPanelTest, LabelStockAndProductGiveTheSize)
{
    showCard();
    CardSizePanel* size = host->card_size_tab;
    ASSERT_GT(size->Label_ComboBox->count(), 1) << "the catalogue's vendors follow Custom";
    EXPECT_EQ(size->Label_ComboBox->itemText(0), QStringLiteral("Custom"));
    const QString vendor = size->Label_ComboBox->itemText(1);
    choose(size->Label_ComboBox, 1);
    ASSERT_GT(size->Product_num_ComboBox->count(), 0);
    EXPECT_TRUE(size->Product_num_ComboBox->isEnabled());
    EXPECT_FALSE(size->width_Text->isEnabled());
    const QSizeF mm = Product_Label_Size_MM(host->prod_list.at(0));
    EXPECT_EQ(size->width_Text->text(), QString::number(mm.width(), 'f', 2));
    EXPECT_EQ(size->height_Text->text(), QString::number(mm.height(), 'f', 2));

    // Applied, the card keeps its stock and product, and shows them again.
    const QString product = size->Product_num_ComboBox->currentText();
    size->Apply_Size_btn->setEnabled(true);
    size->Apply_Size_btn->click();
    EXPECT_EQ(card().Card_Preset, vendor);
    EXPECT_EQ(card().Card_Category, product);
    choose(size->Label_ComboBox, 0);
    EXPECT_TRUE(size->width_Text->isEnabled());
    EXPECT_EQ(size->Product_num_ComboBox->count(), 1);
    EXPECT_FALSE(size->Product_num_ComboBox->isEnabled());
    showCard();
    EXPECT_EQ(size->Label_ComboBox->currentText(), vendor);
    EXPECT_EQ(size->Product_num_ComboBox->currentText(), product);
    EXPECT_EQ(card().Card_Category, product) << "a load writes nothing back";
}
