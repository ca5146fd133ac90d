// The item panels of the real main window: each writes only its own kind,
// takes one undo step per change, writes nothing while it loads, and never
// changes a locked item.
#include "PanelsTestSupport.h"

#include "core/model/LMNImage.h"
#include "core/model/LMNSignature.h"
#include "core/canvas/LMNGrid.h"
#include "core/util/SharedValues.h"
#include "imagetools/filters/ImageProcesser.h"
#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/BarcodeRoad.h"
#include "barcode/generation/Barcode_Gen.h"
#include "barcode/generation/panes/ValuePane.h"
#include "platform/MessageSink.h"
#include "core/model/BarcodeItemImage.h"
#include "common/TestSupport.h"

#include <QDate>
#include <stdexcept>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTextCursor>

namespace {

class ItemPanelsTest : public PanelsTest {};

QString Write_Picture(const QTemporaryDir& dir, const QString& name, QColor colour)
{
    QImage img(40, 30, QImage::Format_ARGB32);
    img.fill(colour);
    const QString path = dir.filePath(name);
    img.save(path);
    return path;
}

} // namespace

TEST_F(ItemPanelsTest, ShapePanelWritesOnlyShapesOneUndoStepPerChange)
{
    LMNGraphic* text = add(LMNKind::Text, QRectF(10, 10, 80, 20));
    LMNGraphic* shape = add(LMNKind::Shape, QRectF(20, 40, 60, 30));
    text->_isDrawingStroke = false;
    text->_isDrawingFill = false;
    shape->_isDrawingStroke = false;
    shape->_strokeWidth = 1;
    select({text, shape});
    ASSERT_EQ(host->shownTabTitles(), (QStringList{"shape_tab", "aligmnt_tab"}));
    const QByteArray textBefore = text->encodeWithCoder();
    const int steps = undoSteps();

    ShapePanel* p = host->shape_tab;
    p->Shape_border_chk->click();
    EXPECT_TRUE(shape->_isDrawingStroke);
    EXPECT_EQ(undoSteps(), steps + 1);
    p->shape_bor->stepper->stepUp();
    EXPECT_EQ(p->shape_bor->text->text(), QString::number(int(shape->_strokeWidth)));
    EXPECT_EQ(undoSteps(), steps + 2);
    choose(p->shape_border_style, 2);
    EXPECT_EQ(shape->_stroke_border_type, QStringLiteral("DO"));
    type(p->shape_alpha, QStringLiteral("40"));
    EXPECT_FLOAT_EQ(shape->alpha_val, 0.4f);
    EXPECT_EQ(undoSteps(), steps + 4);
    EXPECT_EQ(text->encodeWithCoder(), textBefore) << "the text is not the shape panel's kind";

    // A colour well hands its colour to every selected item (the text is
    // filled with it), and the shape takes the panel's own fields again:
    // one undo step for the lot.
    p->shape_bordr_clr->setColor(QColor(200, 0, 0), true);
    EXPECT_TRUE(text->_isDrawingFill);
    EXPECT_EQ(text->_fillColor, QColor(200, 0, 0));
    EXPECT_EQ(shape->_strokeColor, QColor(200, 0, 0));
    EXPECT_EQ(undoSteps(), steps + 5);

    // Unchecking the border keeps its colour and width.
    const double width = shape->_strokeWidth;
    p->Shape_border_chk->click();
    EXPECT_FALSE(shape->_isDrawingStroke);
    EXPECT_EQ(shape->_strokeColor, QColor(200, 0, 0));
    EXPECT_EQ(shape->_strokeWidth, width);

    // The first undo takes the last change back.
    w->Undo_Action_Perform();
    LMNGraphic* restored = nullptr;
    for (LMNGraphic* g : doc->graphicsPointers())
        if (g->kind() == LMNKind::Shape)
            restored = g;
    ASSERT_NE(restored, nullptr);
    EXPECT_TRUE(restored->_isDrawingStroke);
}

TEST_F(ItemPanelsTest, LoadingWritesNothingAndTakesNoUndoStep)
{
    LMNGraphic* shape = add(LMNKind::Shape, QRectF(20, 40, 60, 30), QStringLiteral("DS"));
    shape->_fill_type = QStringLiteral("G");
    shape->_isDrawingFill = false;
    shape->_strokeWidth = 2.5;
    shape->alpha_val = 0.456f;
    shape->_stroke_border_type = QStringLiteral("ZZ");
    LMNGraphic* text = add(LMNKind::Text, QRectF(10, 10, 80, 20));
    text->Set_text_value(QStringLiteral("Hello"));
    const QByteArray shapeBefore = shape->encodeWithCoder();
    const QByteArray textBefore = text->encodeWithCoder();
    const int steps = undoSteps();
    for (int round = 0; round < 2; ++round) {
        select({shape});
        select({text});
        w->Show_RHS_Properties(nullptr);
    }
    EXPECT_EQ(shape->encodeWithCoder(), shapeBefore);
    EXPECT_EQ(text->encodeWithCoder(), textBefore);
    EXPECT_EQ(undoSteps(), steps);
    EXPECT_FALSE(Not_Draw_Only_Prop_Change_Get()) << "the load left writing back suppressed";
    // However a load ends, writing back is on again afterwards.
    try {
        Loading_Guard loading;
        EXPECT_TRUE(Not_Draw_Only_Prop_Change_Get());
        throw std::runtime_error("load failed");
    } catch (const std::exception&) {
    }
    EXPECT_FALSE(Not_Draw_Only_Prop_Change_Get());


    // What the shape's load showed: the stroke truncated, the opacity in
    // percent (the field whole), the gradient controls live in a fill box
    // that is off, and no opacity for a gradient.
    select({shape});
    ShapePanel* p = host->shape_tab;
    EXPECT_EQ(p->shape_bor->text->text(), QStringLiteral("2"));
    EXPECT_NEAR(p->shape_alpha->value(), 45.6, 1e-4);
    EXPECT_EQ(p->shape_alpha->text->text(), QStringLiteral("45"));
    EXPECT_TRUE(p->Shape_gradient_fill_rd->isChecked());
    EXPECT_FALSE(p->Shape_fill_chk->isChecked());
    EXPECT_TRUE(p->shape_fill_Grd_1_clr->isEnabled());
    EXPECT_FALSE(p->shape_fill_clr->isEnabled());
    EXPECT_TRUE(p->shape_alpha->text->isHidden());
    EXPECT_FALSE(p->double_star->text->isHidden());
    EXPECT_TRUE(p->polygon->text->isHidden());
    EXPECT_EQ(p->Shape_prop_title->text(), QStringLiteral("Double Star Settings"));

    // An item that leaves the design is forgotten by the switcher.
    select({text});
    EXPECT_EQ(host->Last_Selected_Graphic, text);
    doc->removeGraphicAtIndex(int(doc->graphicsPointers().indexOf(text)));
    EXPECT_EQ(host->Last_Selected_Graphic, nullptr);
}

TEST_F(ItemPanelsTest, LockedItemsAreNeverChanged)
{
    LMNGraphic* locked = add(LMNKind::Shape, QRectF(0, 0, 30, 30));
    LMNGraphic* open = add(LMNKind::Shape, QRectF(40, 0, 30, 30));
    locked->ctrl_is_locked = true;
    const QByteArray lockedBefore = locked->encodeWithCoder();
    select({locked, open});
    const int steps = undoSteps();
    host->shape_tab->Shape_fill_chk->click();
    host->shape_tab->shape_fill_clr->setColor(Qt::blue, true);
    EXPECT_EQ(locked->encodeWithCoder(), lockedBefore);
    EXPECT_EQ(open->_fillColor, QColor(Qt::blue));
    EXPECT_EQ(undoSteps(), steps + 2);

    // Only locked shapes selected: nothing changes, so no undo step either.
    select({locked});
    EXPECT_EQ(host->shownTabTitles(), QStringList{"Lock_tab"});
    canvas->changeSelectionIndexes({int(doc->graphicsPointers().indexOf(locked))});
    host->Update_Shape_Graphics();
    host->Print_object_chk_changed();
    EXPECT_EQ(locked->encodeWithCoder(), lockedBefore);
    EXPECT_EQ(undoSteps(), steps + 2);
}

TEST_F(ItemPanelsTest, FillTypesOfShapesAndTexts)
{
    LMNGraphic* shape = add(LMNKind::Shape, QRectF(0, 0, 30, 30));
    shape->_isDrawingFill = false;
    shape->_fill_type = QStringLiteral("G");
    select({shape});
    EXPECT_TRUE(host->shape_tab->Shape_gradient_fill_rd->isChecked());
    host->shape_tab->Shape_border_chk->click();
    EXPECT_EQ(shape->_fill_type, QStringLiteral("S")) << "an unfilled shape is solid whatever radio is on";
    host->shape_tab->Shape_fill_chk->click();
    EXPECT_EQ(shape->_fill_type, QStringLiteral("G"));
    host->shape_tab->Shape_Style_fill_rd->click();
    EXPECT_EQ(shape->_fill_type, QStringLiteral("H"));

    // A text keeps the gradient radio's choice with its fill off.
    LMNGraphic* text = add(LMNKind::Text, QRectF(0, 40, 80, 20));
    text->_isDrawingFill = false;
    select({text});
    EXPECT_FALSE(host->text_prop_tab->Text_fill_chk->isChecked());
    host->text_prop_tab->Text_gradient_fill_rd->click();
    EXPECT_EQ(text->_fill_type, QStringLiteral("G"));
    EXPECT_FALSE(text->_isDrawingFill);
    EXPECT_TRUE(host->text_prop_tab->text_alpha_lbl->isHidden());
}

TEST_F(ItemPanelsTest, TextPanelShadowFontAndDateInsertion)
{
    LMNGraphic* text = add(LMNKind::Text, QRectF(10, 10, 120, 20));
    text->Set_text_value(QStringLiteral("Due WHEN here"));
    LMNGraphic* shape = add(LMNKind::Shape, QRectF(0, 40, 30, 30));
    select({text});
    ASSERT_EQ(host->shownTabTitles(), (QStringList{"text_edtng_tab", "text_prop_tab", "datasource_tab", "aligmnt_tab"}));

    TextPropertiesPanel* p = host->text_prop_tab;
    p->draw_shadow_chkbox->click();
    type(p->shadow_transp, QStringLiteral("50"));
    type(p->shadow_blur, QStringLiteral("0"));
    EXPECT_TRUE(text->Drawing_Shadow);
    EXPECT_FLOAT_EQ(text->Shadow_transparency, 0.5f);
    EXPECT_FLOAT_EQ(text->Shadow_blur, 0.0f);

    // The date over a selected word, in the chosen pattern.
    DataSourcePanel* ds = host->datasource_tab;
    ASSERT_EQ(ds->Text_value_Edit->toPlainText(), QStringLiteral("Due WHEN here"));
    QTextCursor c = ds->Text_value_Edit->textCursor();
    c.setPosition(4);
    c.setPosition(8, QTextCursor::KeepAnchor);
    ds->Text_value_Edit->setTextCursor(c);
    ds->Text_Date_style->setCurrentIndex(ds->Text_Date_style->findText(QStringLiteral("yyyy-MM-dd")));
    const int steps = undoSteps();
    ds->Text_Insert_Date_btn->click();
    const QString today = QDate::currentDate().toString(QStringLiteral("yyyy-MM-dd"));
    EXPECT_EQ(text->Text_Value, QStringLiteral("Due %1 here").arg(today));
    EXPECT_EQ(undoSteps(), steps + 1);

    // A font chosen for a text and a shape together writes only the text,
    // and with two items selected the text keeps its string.
    select({shape, text});
    const QString before = text->Text_Value;
    ds->setEditorText(QStringLiteral("something else"));
    host->changeTextFont(QFont(QStringLiteral("DejaVu Serif"), 17));
    EXPECT_EQ(text->text_ctrl_font.pointSizeF(), 17.0);
    EXPECT_EQ(text->Text_Value, before);
    EXPECT_NE(shape->text_ctrl_font.pointSizeF(), 17.0);
    EXPECT_TRUE(host->text_edtng_tab->Text_font_value->text().endsWith(QStringLiteral("( 17.00 )")));

    // Opening the font chooser changes nothing and takes no undo step.
    const int afterFont = undoSteps();
    host->Text_Font_Changed();
    EXPECT_EQ(undoSteps(), afterFont);
}

TEST_F(ItemPanelsTest, PictureSlidersResetAndPath)
{
    QTemporaryDir dir;
    const QString red = Write_Picture(dir, QStringLiteral("red.png"), Qt::red);
    auto* a = static_cast<LMNImage*>(add(LMNKind::Image, QRectF(0, 0, 40, 30)));
    auto* b = static_cast<LMNImage*>(add(LMNKind::Image, QRectF(50, 0, 40, 30)));
    a->setFilePath(red);
    b->setFilePath(red);
    select({a});
    EXPECT_EQ(host->shownTabTitles(), (QStringList{"datasource_tab", "image_tab", "aligmnt_tab"}));
    EXPECT_TRUE(host->image_tab->image_error_label->isHidden());

    // Two pictures: a slider writes both, the path goes into neither.
    select({a, b});
    host->datasource_tab->Manual_image_path->setText(dir.filePath(QStringLiteral("elsewhere.png")));
    PicturePanel* p = host->image_tab;
    p->Rotate_slidr->setFraction(45.7);
    emit p->Rotate_slidr->moved();
    p->Sat_slidr->setFraction(1.5);
    emit p->Sat_slidr->moved();
    p->Image_Gray_Scale_chk->click();
    for (LMNGraphic* g : {static_cast<LMNGraphic*>(a), static_cast<LMNGraphic*>(b)}) {
        EXPECT_NEAR(g->rotate_image, 45.7, 1e-4);
        EXPECT_NEAR(g->sat_val, 1.5, 1e-4);
        EXPECT_TRUE(g->gray_Scale);
        EXPECT_EQ(g->_file_path, red);
    }
    EXPECT_EQ(p->Rotate_slidr_val->text(), QStringLiteral("45.70"));

    // Reset (after "Yes"): neutral values in both, one undo step.
    const int steps = undoSteps();
    p->reset_btn->click();
    EXPECT_TRUE(sawMessage(QStringLiteral("Are you sure you want to continue?")));
    for (LMNGraphic* g : {static_cast<LMNGraphic*>(a), static_cast<LMNGraphic*>(b)}) {
        EXPECT_EQ(g->rotate_image, 0.0f);
        EXPECT_EQ(g->img_trnsp_val, 100.0f);
        EXPECT_EQ(g->sat_val, 1.0f);
        EXPECT_EQ(g->con_val, 1.0f);
        EXPECT_EQ(g->hue_val, 0.0f);
        EXPECT_FALSE(g->gray_Scale);
        EXPECT_EQ(g->_file_path, red);
        EXPECT_FALSE(g->_contents_with_settings.isNull());
    }
    EXPECT_EQ(undoSteps(), steps + 1);

    // Browsing with two pictures selected says so and changes nothing.
    int asked = 0;
    host->Choose_File = [&asked](const QString&, const QStringList&) {
        ++asked;
        return QString();
    };
    host->datasource_tab->Manual_Image_Browse_Btn->click();
    EXPECT_TRUE(sawMessage(QStringLiteral("Please select only one image control to 'Browse Image'.")));
    EXPECT_EQ(asked, 0);

    // One picture: the chosen file is its picture and its path.
    const QString blue = Write_Picture(dir, QStringLiteral("blue.png"), Qt::blue);
    host->Choose_File = [&blue](const QString&, const QStringList& extensions) {
        EXPECT_TRUE(extensions.contains(QStringLiteral("tiff")));
        return blue;
    };
    select({a});
    host->datasource_tab->Manual_Image_Browse_Btn->click();
    EXPECT_EQ(a->_file_path, blue);
    EXPECT_EQ(a->Text_Value, blue);
    EXPECT_EQ(b->_file_path, red);
    EXPECT_EQ(QColor(a->_contents_with_settings.toImage(72).pixel(5, 5)), QColor(Qt::blue));

    // The picture library ("C": pictures for items) gives a picture too.
    host->Picture_Library = [&red](const QString& mode) { return mode == QLatin1String("C") ? red : QString(); };
    host->datasource_tab->Manual_Library_Browse_Btn->click();
    EXPECT_EQ(a->_file_path, red);
    host->Picture_Library = [](const QString&) { return QString(); };
    host->datasource_tab->Manual_Library_Browse_Btn->click();
    EXPECT_EQ(a->_file_path, red) << "closed without a choice";
    host->datasource_tab->Manual_Image_Browse_Btn->click();
    ASSERT_EQ(a->_file_path, blue);

    // A picture whose file is gone shows the error label.
    QFile::remove(blue);
    host->Update_Image_Graphics();
    EXPECT_FALSE(host->image_tab->image_error_label->isHidden());
}

TEST_F(ItemPanelsTest, SignaturesKeepTheirOwnPictureUnlessOneIsChosen)
{
    QTemporaryDir dir;
    const QString red = Write_Picture(dir, QStringLiteral("red.png"), Qt::red);
    const QString green = Write_Picture(dir, QStringLiteral("green.png"), Qt::green);
    auto* a = static_cast<LMNSignature*>(add(LMNKind::Signature, QRectF(0, 0, 40, 30)));
    auto* b = static_cast<LMNSignature*>(add(LMNKind::Signature, QRectF(50, 0, 40, 30)));
    a->setFilePath(red);
    b->setFilePath(green);
    a->_isDrawingStroke = false;
    b->_isDrawingStroke = false;
    select({a, b});
    // A border change writes the border into both and leaves each its picture.
    host->sign_tab->Sign_border_chk->click();
    EXPECT_TRUE(a->_isDrawingStroke);
    EXPECT_TRUE(b->_isDrawingStroke);
    EXPECT_EQ(a->_file_path, red);
    EXPECT_EQ(b->_file_path, green);
    // A picture chosen with the browse button goes to both.
    host->Choose_File = [&green](const QString&, const QStringList& extensions) {
        EXPECT_EQ(extensions, (QStringList{"png", "PNG"}));
        return green;
    };
    host->sign_tab->Sign_Browse_Btn->click();
    EXPECT_EQ(a->_file_path, green);
    EXPECT_EQ(b->_file_path, green);
}

TEST_F(ItemPanelsTest, AlignmentAndPositionFields)
{
    LMNGraphic* a = add(LMNKind::Shape, QRectF(30, 40, 72, 36));
    LMNGraphic* barcode = add(LMNKind::Barcode, QRectF(100, 100, 50, 20));
    select({a});
    AlignmentPanel* al = host->aligmnt_tab;

    // One item: same width says so and takes no undo step; the grid must show.
    int steps = undoSteps();
    host->Align_Action(QStringLiteral("makeSameWidth"));
    EXPECT_TRUE(sawMessage(QStringLiteral("Please select more than one control.")));
    EXPECT_EQ(undoSteps(), steps);
    design->grid()->setAlwaysShown(false);
    host->Align_Action(QStringLiteral("alignWithGrid"));
    EXPECT_TRUE(sawMessage(QStringLiteral("Please use grid option first.")));
    al->align_left_btn->click();
    EXPECT_EQ(a->bounds().x(), 0.0);
    EXPECT_EQ(undoSteps(), steps + 1);

    // The position in points, the size in the designing unit.
    design->Apply_Unit_Choice(0);
    select({a});
    EXPECT_EQ(al->ctrl_x_pos_unit_lbl->text(), QStringLiteral("(pt)"));
    EXPECT_EQ(al->ctrl_width_unit_lbl->text(), QStringLiteral("(in)"));
    EXPECT_EQ(al->frame_main_pic_X_pos->text(), QStringLiteral("0.00"));
    EXPECT_EQ(al->frame_main_pic_Y_pos->text(), QStringLiteral("40.00"));
    EXPECT_EQ(al->frame_main_pic_width->text(), QStringLiteral("1.0000"));
    EXPECT_EQ(al->frame_main_pic_height->text(), QStringLiteral("0.5000"));
    al->frame_main_pic_X_pos->setText(QStringLiteral("2"));
    al->frame_main_pic_X_pos->setModified(true);
    emit al->frame_main_pic_X_pos->editingFinished();
    EXPECT_NEAR(a->bounds().x(), 2.0, 1e-6);
    // The position's arrows step a point, the size's a hundredth of an inch.
    al->frame_main_pic_Y_pos_val->stepUp();
    EXPECT_EQ(al->frame_main_pic_Y_pos->text(), QStringLiteral("41.00"));
    EXPECT_NEAR(a->bounds().y(), 41.0, 1e-6);
    al->frame_main_pic_height_val->stepUp();
    EXPECT_EQ(al->frame_main_pic_height->text(), QStringLiteral("0.5100"));
    EXPECT_NEAR(a->bounds().height(), 0.51 * 72, 0.01);
    design->Apply_Unit_Choice(2);
    select({a, barcode});
    select({barcode, a});
    al->frame_main_pic_width->setText(QStringLiteral("10"));
    al->frame_main_pic_width->setModified(true);
    emit al->frame_main_pic_width->editingFinished();
    EXPECT_NEAR(a->bounds().width(), 28.35, 0.01);
    EXPECT_EQ(barcode->bounds().width(), 50.0);

    // A barcode's own size cannot be typed.
    select({barcode});
    EXPECT_FALSE(al->frame_main_pic_width->isEnabled());
    EXPECT_FALSE(al->Make_natural_size_btn->isEnabled());
    EXPECT_FALSE(al->fit_to_label_btn->isEnabled());

    // The print check box marks the selection left out of printing.
    select({a});
    steps = undoSteps();
    al->print_object_chk->click();
    EXPECT_EQ(a->print_object, 1);
    EXPECT_EQ(undoSteps(), steps + 1);
}

TEST_F(ItemPanelsTest, SwitcherTabsPerKindAndRubberBandKeepsTheSelection)
{
    LMNGraphic* line = add(LMNKind::Line, QRectF(0, 0, 50, 0));
    LMNGraphic* sign = add(LMNKind::Signature, QRectF(0, 10, 50, 20));
    LMNGraphic* barcode = add(LMNKind::Barcode, QRectF(0, 40, 50, 20));
    LMNGraphic* text = add(LMNKind::Text, QRectF(0, 70, 50, 20));
    select({line});
    EXPECT_EQ(host->shownTabTitles(), (QStringList{"line_tab", "aligmnt_tab"}));
    EXPECT_EQ(host->properties_title->text(), QStringLiteral("Line Properties"));
    select({sign});
    EXPECT_EQ(host->shownTabTitles(), (QStringList{"sign_tab", "aligmnt_tab"}));
    select({barcode});
    EXPECT_EQ(host->shownTabTitles(), (QStringList{"barcode_tab", "aligmnt_tab"}));
    w->Set_Start_Card_Option(QStringLiteral("G"));
    select({text});
    EXPECT_EQ(host->shownTabTitles(), (QStringList{"text_edtng_tab", "text_prop_tab", "aligmnt_tab"}));
    EXPECT_TRUE(host->datasource_tab->Text_value_Edit->isReadOnly());
    w->Set_Start_Card_Option(QString());

    // A rubber band: the card panel, and the items stay selected.
    canvas->changeSelectionIndexes({0, 1, 2});
    canvas->_Selected_Graphic = nullptr;
    w->Show_RHS_Properties(nullptr);
    EXPECT_EQ(host->properties_title->text(), QStringLiteral("Label Properties"));
    EXPECT_EQ(canvas->selectedGraphics().size(), 3);
    EXPECT_EQ(host->Last_Selected_Graphic, nullptr);
}

TEST_F(ItemPanelsTest, FilterChainTurnsThePictureByWholeDegrees)
{
    // A picture whose turn shows: left half red, right half blue.
    QTemporaryDir dir;
    QImage img(60, 20, QImage::Format_ARGB32);
    img.fill(Qt::red);
    for (int y = 0; y < 20; ++y)
        for (int x = 30; x < 60; ++x)
            img.setPixel(x, y, qRgb(0, 0, 255));
    const QString path = dir.filePath(QStringLiteral("halves.png"));
    ASSERT_TRUE(img.save(path));
    auto* picture = static_cast<LMNImage*>(add(LMNKind::Image, QRectF(0, 0, 60, 20)));
    picture->setFilePath(path);
    select({picture});
    host->image_tab->Rotate_slidr->setFraction(45.7);
    emit host->image_tab->Rotate_slidr->moved();
    EXPECT_NEAR(picture->rotate_image, 45.7, 1e-4) << "the item keeps the slider's value";

    auto turned = [&](float degrees) {
        std::unique_ptr<LMNGraphic> copy = LMNGraphic::newOfKind(LMNKind::Image);
        copy->_contents = picture->_contents;
        copy->_file_path = path;
        copy->_bounds = picture->_bounds;
        copy->sat_val = picture->sat_val;
        copy->con_val = picture->con_val;
        copy->img_trnsp_val = picture->img_trnsp_val;
        copy->rotate_image = degrees;
        return Picture_Item_Displayed_Image(*copy);
    };
    const QImage shown = picture->_contents_with_settings.raster();
    const QImage at45 = turned(45.0f);
    ASSERT_FALSE(at45.isNull());
    EXPECT_EQ(shown.size(), at45.size());
    EXPECT_EQ(shown.convertToFormat(QImage::Format_ARGB32), at45.convertToFormat(QImage::Format_ARGB32))
        << "the chain turns by 45, not 45.7";
    EXPECT_NE(at45.convertToFormat(QImage::Format_ARGB32), turned(46.0f).convertToFormat(QImage::Format_ARGB32));
}

TEST_F(ItemPanelsTest, CroppingReplacesThePictureOrTheSeries)
{
    QTemporaryDir dir;
    const QString red = Write_Picture(dir, QStringLiteral("red.png"), Qt::red);
    const QString blue = Write_Picture(dir, QStringLiteral("blue.png"), Qt::blue);
    const QString previousFolder = Folders.Data_Folder_Path;
    Folders.Data_Folder_Path = dir.path();
    auto* picture = static_cast<LMNImage*>(add(LMNKind::Image, QRectF(0, 0, 40, 30)));
    picture->setFilePath(red);
    select({picture});
    ASSERT_TRUE(host->image_tab->crop_btn->isEnabled());

    // A manual picture: the cropped copy becomes its picture, in one undo step.
    QString asked;
    host->Crop_Picture = [&](const QString& path) {
        asked = path;
        return blue;
    };
    int steps = undoSteps();
    host->image_tab->crop_btn->click();
    EXPECT_EQ(asked, red);
    EXPECT_EQ(picture->_file_path, blue);
    EXPECT_EQ(host->datasource_tab->Manual_image_path->text(), blue);
    EXPECT_EQ(undoSteps(), steps + 1);

    // Bound to a spreadsheet column: nothing happens.
    picture->Set_Data_source_type(2);
    asked.clear();
    host->image_tab->crop_btn->click();
    EXPECT_TRUE(asked.isEmpty());

    // Bound to a series: bound afterwards to the cropped series, showing its
    // first picture.
    QFile series(dir.filePath(QStringLiteral("Cropped.txt")));
    ASSERT_TRUE(series.open(QIODevice::WriteOnly));
    series.write((red + QLatin1Char('\n')).toUtf8());
    series.close();
    picture->Set_Data_source_type(1);
    picture->Set_Batch_List_Name(QStringLiteral("Originals"));
    QString seriesAsked;
    host->Crop_Series = [&](const QString& name) {
        seriesAsked = name;
        return QStringLiteral("Cropped");
    };
    steps = undoSteps();
    host->image_tab->crop_btn->click();
    EXPECT_EQ(seriesAsked, QStringLiteral("Originals"));
    EXPECT_EQ(picture->batch_list_name, QStringLiteral("Cropped"));
    EXPECT_EQ(picture->batch_list_index, host->datasource_tab->Batch_Series->findText(QStringLiteral("Cropped")));
    EXPECT_EQ(picture->_file_path, red);
    EXPECT_EQ(undoSteps(), steps + 1);

    // A picture whose file has gone cannot be cropped.
    QFile::remove(red);
    host->image_tab->crop_btn->click();
    EXPECT_TRUE(sawMessage(QStringLiteral("The selected control does not contains any image with supported extension.")));
    Folders.Data_Folder_Path = previousFolder;
}

TEST_F(ItemPanelsTest, EveryEditedBarcodeIsDrawnAgainAndScans)
{
    // The road for items, as the application installs it at start-up.
    Install_Barcode_Item_Road(
        [](const BarcodeSettings& s, const QString& v, const QString& h, const QString& f) {
            return Make_Barcode_Image(s, v, h, f);
        },
        Symbology_Titles());
    const int code128 = int(Symbology_Titles().indexOf(QStringLiteral("Code 128")));
    ASSERT_GE(code128, 0);
    LMNGraphic* a = add(LMNKind::Barcode, QRectF(10, 10, 10, 10));
    LMNGraphic* b = add(LMNKind::Barcode, QRectF(10, 120, 10, 10));
    LMNGraphic* locked = add(LMNKind::Barcode, QRectF(150, 10, 10, 10));
    locked->ctrl_is_locked = true;
    locked->linear_font_val = QStringLiteral("KEEP");
    select({a, b, locked});

    // What the dialog answers for the item it edited: a new type and value.
    std::unique_ptr<LMNGraphic> result = LMNGraphic::newOfKind(LMNKind::Barcode);
    result->barcode_font_index = code128;
    result->linear_or_2d = 0;
    result->linear_font_val = QStringLiteral("PANEL-42");
    result->header_val = QString();
    result->footer_val = QString();
    result->show_hide_hdr = 1;
    result->show_hide_ftr = 1;
    const int steps = undoSteps();
    host->Update_Barcode_Graphics(*result);
    EXPECT_EQ(undoSteps(), steps + 1);
    EXPECT_EQ(locked->linear_font_val, QStringLiteral("KEEP"));

    QTemporaryDir dir;
    int i = 0;
    for (LMNGraphic* g : {a, b}) {
        EXPECT_EQ(g->linear_font_val, QStringLiteral("PANEL-42"));
        ASSERT_FALSE(g->_barcode_image.isNull());
        EXPECT_EQ(g->bounds().size(), g->_barcode_image.size()) << "each takes its new picture's size";
        const QString file = dir.filePath(QStringLiteral("barcode%1.png").arg(i++));
        ASSERT_TRUE(g->_barcode_image.toImage(288.0).save(file));
        EXPECT_EQ(testsupport::ZXing_Decode(file, QStringLiteral("Code128")), QByteArray("PANEL-42"));
    }
    Install_Barcode_Item_Road(nullptr, {});
}

TEST_F(ItemPanelsTest, BarcodeSettingsButtonEditsEverySelectedBarcodeThroughTheDialog)
{
    Install_Barcode_Item_Road(
        [](const BarcodeSettings& s, const QString& v, const QString& h, const QString& f) {
            return Make_Barcode_Image(s, v, h, f);
        },
        Symbology_Titles());
    LMNGraphic* a = add(LMNKind::Barcode, QRectF(10, 10, 10, 10));
    LMNGraphic* b = add(LMNKind::Barcode, QRectF(10, 120, 10, 10));
    for (LMNGraphic* g : {a, b}) {
        g->linear_font_val = QStringLiteral("OLD1");
        g->barcode_font_index = 0;
    }
    select({a, b});
    int runs = 0;
    ModalRunner previous = Set_Modal_Runner([&runs](QDialog& d) {
        ++runs;
        auto* dialog = qobject_cast<Barcode_Gen*>(&d);
        EXPECT_NE(dialog, nullptr);
        if (!dialog)
            return 0;
        if (runs == 2)
            return 0;   // Cancel changes nothing
        dialog->valuePane()->setFieldText(ValuePane::Field::Value, QStringLiteral("EDITED7"));
        return 1;
    });
    const int steps = undoSteps();
    host->barcode_tab->View_barcode_prop_Button->click();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(undoSteps(), steps + 1);
    host->barcode_tab->View_barcode_prop_Button->click();
    EXPECT_EQ(undoSteps(), steps + 1);
    Set_Modal_Runner(previous);
    Install_Barcode_Item_Road(nullptr, {});

    QTemporaryDir dir;
    int i = 0;
    for (LMNGraphic* g : {a, b}) {
        EXPECT_EQ(g->linear_font_val, QStringLiteral("EDITED7"));
        const QString file = dir.filePath(QStringLiteral("edited%1.png").arg(i++));
        ASSERT_TRUE(g->_barcode_image.toImage(288.0).save(file));
        EXPECT_EQ(testsupport::ZXing_Decode(file), QByteArray("EDITED7"));
    }
    EXPECT_EQ(host->barcode_tab->barcode_value->text(), QStringLiteral("EDITED7"));
}

// After a batch job puts the design back nothing is selected, even an item
// left as it was, and the panels show the card on its first tab.
TEST_F(ItemPanelsTest, TheCardPanelShowsAndNothingIsSelectedAfterTheDesignIsPutBack)
{
    LMNGraphic* shape = add(LMNKind::Shape, QRectF(20, 40, 60, 30));
    select({shape});
    ASSERT_EQ(host->shownTabTitles(), (QStringList{"shape_tab", "aligmnt_tab"}));
    w->Set_Front_Back_Value_To_Print_Export_Mail();   // a job starts: the design is kept
    w->Create_Card_Design_Again();                   // and put back when it ends
    EXPECT_EQ(host->shownTabTitles(),
              (QStringList{"card_info_tab", "card_size_tab", "card_bkgd_tab", "card_brdr_tab"}));
    EXPECT_EQ(host->sett_tab->currentWidget(), host->card_info_tab);
    EXPECT_TRUE(canvas->selectionIndexes().isEmpty());
    EXPECT_EQ(canvas->_Selected_Graphic, nullptr);
    EXPECT_EQ(doc->graphicsPointers(), QList<LMNGraphic*>{shape}) << "the item itself stays";
}
