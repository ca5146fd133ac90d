// Canvas item model: defaults, opacity, handles, drawing bounds, resizing,
// moving, placing and the small size commands.
#include "core/FakeMainWindow.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/model/LMNDocument.h"
#include "core/model/LMNBarcode.h"
#include "core/model/LMNGraphic.h"
#include "core/model/LMNImage.h"
#include "core/model/LMNLine.h"
#include "core/model/LMNSignature.h"
#include "core/model/LMNText.h"
#include "core/model/Shape_Control.h"

#include <gtest/gtest.h>

namespace {

struct ItemModel : ::testing::Test {
    FakeMainWindow win;
    void SetUp() override { win.canvasBounds = QRectF(0, 0, 300, 300); }
};

TEST_F(ItemModel, FillAndStrokeDefaultsPerKind)
{
    struct Row { LMNKind kind; bool fill, stroke; };
    const Row rows[] = {{LMNKind::Text, false, false},  {LMNKind::Barcode, false, true},
                        {LMNKind::Image, true, false},  {LMNKind::Line, true, true},
                        {LMNKind::Shape, true, true},   {LMNKind::Signature, true, true}};
    for (const Row& r : rows) {
        auto g = LMNGraphic::newOfKind(r.kind);
        SCOPED_TRACE(g->className().toStdString());
        EXPECT_EQ(g->_isDrawingFill, r.fill);
        EXPECT_EQ(g->_isDrawingStroke, r.stroke);
    }
    // The kinds' own answers: a line is always stroked and never filled, a
    // picture never filled, a barcode neither.
    EXPECT_FALSE(LMNLine().isDrawingFill());
    EXPECT_TRUE(LMNLine().isDrawingStroke());
    EXPECT_FALSE(LMNImage().isDrawingFill());
    EXPECT_FALSE(LMNBarcode().isDrawingStroke());
}

TEST_F(ItemModel, FieldDefaultsOfANewItem)
{
    Shape_Control s;
    EXPECT_EQ(s._fill_type, "S");
    EXPECT_EQ(s._stroke_border_type, "S");
    EXPECT_DOUBLE_EQ(s._strokeWidth, 1.0);
    EXPECT_FLOAT_EQ(s.alpha_val, 100.0f);
    EXPECT_FLOAT_EQ(s.alpha_val_stroke, 100.0f);
    EXPECT_TRUE(s.ctrl_is_visible);
    EXPECT_FALSE(s.ctrl_is_locked);
    EXPECT_EQ(s.Text_Value, "Text here");
    EXPECT_EQ(s.text_alignmnet, 2);
    EXPECT_EQ(s.text_alignmnet_Vert, 2);
    EXPECT_EQ(s.Shadow_Color, QColor(Qt::blue));
    EXPECT_FLOAT_EQ(s.Shadow_offset_X, 5.0f);
    EXPECT_FLOAT_EQ(s.Shadow_transparency, 50.0f);
    EXPECT_EQ(s._shape_type, "R");
    EXPECT_FLOAT_EQ(s.cor_rad_val, 10.0f);
    EXPECT_EQ(s.double_star_type, 1);
    EXPECT_EQ(s.polygon_type, 1);
    EXPECT_TRUE(s._file_path.endsWith("no.png"));
    EXPECT_FLOAT_EQ(s.img_trnsp_val, 100.0f);
    EXPECT_FLOAT_EQ(s.sat_val, 1.0f);
    EXPECT_FLOAT_EQ(s.con_val, 1.0f);
    EXPECT_EQ(s.sign_or_fingureprint, "S");
    EXPECT_EQ(s.linear_font_val, "0123");
    EXPECT_EQ(s.two_d_font_val, "0123");
    EXPECT_EQ(s.header_val, "HEADER");
    EXPECT_EQ(s.footer_val, "FOOTER");
    EXPECT_EQ(s.align_hdr_index, 1);
    EXPECT_FLOAT_EQ(s.linear_height_val, 6.0f);
    EXPECT_FLOAT_EQ(s.linear_width_val, 20.0f);
    EXPECT_EQ(s.qr_size_val, 60);
    EXPECT_EQ(s.pdf_hgt_val, 20);
    EXPECT_EQ(s.pdf_wdt_val, 100);
    EXPECT_EQ(s.pdf_ec_val, 2);
    EXPECT_EQ(s.dm_module_val, 2);
    EXPECT_FLOAT_EQ(s.TB_marging_val, 1.0f);
    EXPECT_DOUBLE_EQ(s.value_font_val.pointSizeF(), 10.0);
    EXPECT_EQ(s.barcode_back_clr_val, QColor(Qt::white));
    EXPECT_EQ(s.dpi_custom_val, "0");
    EXPECT_EQ(s.barcode_unit_val, 1);
    EXPECT_EQ(s.text_ctrl_font, win.All_Text_font());
    EXPECT_EQ(s.txt_clr, win.All_Text_clr());
}

TEST_F(ItemModel, EveryKindStartsFromTheSameBaseDefaults)
{
    for (LMNKind kind : {LMNKind::Text, LMNKind::Line, LMNKind::Shape, LMNKind::Image, LMNKind::Barcode,
                         LMNKind::Signature}) {
        auto g = LMNGraphic::newOfKind(kind);
        SCOPED_TRACE(g->className().toStdString());
        // Geometry, fill and stroke.
        EXPECT_EQ(g->_bounds, QRectF(0, 0, 0, 0));
        EXPECT_FALSE(g->_isFlippedHorizontally || g->_isFlippedVertically);
        EXPECT_EQ(g->_fillColor, QColor(Qt::white));
        EXPECT_EQ(g->_fill_Grad_clr1, QColor(Qt::white));
        EXPECT_EQ(g->_fill_Grad_clr2, QColor(Qt::white));
        EXPECT_EQ(g->_fill_htch_clr, QColor(Qt::white));
        EXPECT_EQ(g->_fill_hatch_type, "");
        EXPECT_EQ(g->_fill_grad_angle, 0);
        EXPECT_EQ(g->_strokeColor, QColor(Qt::black));
        // Item state and binding.
        EXPECT_EQ(g->print_object, 0);
        EXPECT_EQ(g->control_ID, "");
        EXPECT_FALSE(g->control_ID.isNull());
        EXPECT_EQ(g->data_source_type, 0);
        EXPECT_EQ(g->batch_list_name, "");
        EXPECT_EQ(g->batch_list_index, 0);
        EXPECT_EQ(g->batch_hdr_list_name, "");
        EXPECT_EQ(g->batch_hdr_list_index, 0);
        EXPECT_EQ(g->batch_ftr_list_index, 0);
        EXPECT_FALSE(g->excel_binding);
        EXPECT_EQ(g->excel_col_indx, 0);
        // Text, shape and line.
        EXPECT_FALSE(g->_Text_contents);
        EXPECT_EQ(g->text_transfrom_case, 0);
        EXPECT_EQ(g->text_kerning, 0);
        EXPECT_FALSE(g->Drawing_Shadow);
        EXPECT_FLOAT_EQ(g->Shadow_offset_Y, 5.0f);
        EXPECT_EQ(g->Shadow_blur, 0);
        EXPECT_EQ(g->text_rotation, 0);
        EXPECT_EQ(g->_line_ori, 0);
        EXPECT_EQ(g->_line_cap_style, 0);
        // Picture.
        EXPECT_FALSE(g->invert_clr || g->gray_Scale || g->Sepia);
        EXPECT_TRUE(g->_contents.isNull() && g->_contents_with_settings.isNull());
        for (float v : {g->hue_val, g->brt_val, g->srp_val, g->ev_val, g->blr_val, g->rotate_image})
            EXPECT_EQ(v, 0);
        // Barcode.
        EXPECT_TRUE(g->_barcode_image.isNull());
        EXPECT_EQ(g->bar_image_ctrl_bounds, QRectF());
        EXPECT_EQ(g->linear_or_2d, 0);
        EXPECT_EQ(g->barcode_font_index, 0);
        for (int v : {g->show_hide_hdr, g->show_hide_ftr, g->show_hide_val, g->show_val_on_top, g->qr_version_index,
                      g->qr_ec_index, g->dm_format_index, g->dm_encoding_index, g->dpi_val_index})
            EXPECT_EQ(v, 0);
        EXPECT_EQ(g->align_ftr_index, 1);
        for (float v : {g->hdr_margin_val, g->ftr_margin_val, g->val_margin_val, g->LR_margin_val})
            EXPECT_FLOAT_EQ(v, 1.0f);
        EXPECT_EQ(g->header_font_val, g->value_font_val);
        EXPECT_EQ(g->footer_font_val, g->value_font_val);
        for (const QColor& c : {g->barcode_hdr_clr_val, g->barcode_ftr_clr_val, g->barcode_val_clr_val, g->barcode_clr_val})
            EXPECT_EQ(c, QColor(Qt::black));
    }
}

TEST_F(ItemModel, OpacityRuleIsIdempotentAndStoredBack)
{
    Shape_Control s;
    EXPECT_DOUBLE_EQ(s.fillColor().alphaF(), 1.0);   // 100 acts as 1
    s.alpha_val = 0.5f;
    const QColor once = s.fillColor();
    EXPECT_NEAR(once.alphaF(), 0.5, 1e-3);
    EXPECT_EQ(s.fillColor(), once);
    EXPECT_EQ(s._fillColor, once);                    // stored back
    s.alpha_val_stroke = -3;
    EXPECT_DOUBLE_EQ(s.strokeColor().alphaF(), 0.0);
    s.alpha_val = 0.25f;
    EXPECT_NEAR(s.fill_hatch_bk_clr().alphaF(), 0.25, 1e-3);
    EXPECT_EQ(s.fill_Grad_clr1().alphaF(), 1.0);      // gradient colours carry no opacity
}

TEST_F(ItemModel, HandlesAndHandleHitTest)
{
    Shape_Control s;
    s._bounds = QRectF(10, 20, 100, 50);
    const QPointF expected[] = {{10, 20}, {60, 20}, {110, 20}, {10, 45}, {110, 45}, {10, 70}, {60, 70}, {110, 70}};
    for (int h = 1; h <= 8; ++h) {
        EXPECT_EQ(LMNGraphic::handlePoint(s._bounds, h), expected[h - 1]);
        EXPECT_EQ(s.handleUnderPoint(expected[h - 1]), h);
    }
    // Left and top edges of the square are inside, right and bottom outside.
    EXPECT_EQ(s.handleUnderPoint({6, 16}), 1);
    EXPECT_EQ(s.handleUnderPoint({14, 20}), 0);
    EXPECT_EQ(s.handleUnderPoint({10, 24}), 0);
    EXPECT_EQ(s.handleUnderPoint({40, 40}), 0);
    // On a tiny item a point inside several squares reports the lowest number.
    s._bounds = QRectF(0, 0, 2, 2);
    EXPECT_EQ(s.handleUnderPoint({1, 1}), 1);
}

TEST_F(ItemModel, DrawingBounds)
{
    Shape_Control s;
    s._bounds = QRectF(0, 0, 100, 100);
    s._isDrawingStroke = false;
    EXPECT_EQ(s.drawingBounds(), QRectF(-4, -4, 109, 109));
    s._isDrawingStroke = true;
    s._strokeWidth = 20;
    EXPECT_EQ(s.drawingBounds(), QRectF(-10, -10, 121, 121));
    // A rotated shape covers its rotated bounds.
    s._strokeWidth = 1;
    s.text_rotation = 45;
    const QRectF r = s.drawingBounds();
    EXPECT_NEAR(r.width(), 100 * std::sqrt(2.0) + 9, 1e-6);
    EXPECT_NEAR(r.center().x(), 50.5, 1e-6);
}

struct Flip_Counting_Shape : Shape_Control {
    int horizontal = 0, vertical = 0;
    void flipHorizontally() override { ++horizontal; }
    void flipVertically() override { ++vertical; }
};

TEST_F(ItemModel, ResizeAcrossTheLeftEdgeFlipsAndSwapsTheHandle)
{
    Flip_Counting_Shape counted;
    counted._bounds = QRectF(10, 10, 100, 50);
    EXPECT_EQ(counted.resizeByMovingHandle(1, {150, 20}, win.graphicViewBounds()), 3);
    EXPECT_EQ(counted._bounds, QRectF(110, 20, 40, 40));
    EXPECT_EQ(counted.horizontal, 1);   // sent once
    EXPECT_EQ(counted.vertical, 0);

    LMNImage pic;   // pictures record their flips
    pic._bounds = QRectF(10, 10, 100, 50);
    const int h = pic.resizeByMovingHandle(1, {150, 20}, win.graphicViewBounds());
    EXPECT_EQ(h, 3);
    EXPECT_EQ(pic._bounds, QRectF(110, 20, 40, 40));
    EXPECT_TRUE(pic._isFlippedHorizontally);
    EXPECT_FALSE(pic._isFlippedVertically);

    // Dragging the bottom edge above the top flips vertically.
    Shape_Control s;
    s._bounds = QRectF(10, 10, 100, 50);
    EXPECT_EQ(s.resizeByMovingHandle(7, {0, 0}, win.graphicViewBounds()), 2);
    EXPECT_EQ(s._bounds, QRectF(10, 0, 100, 10));
    // A resize wholly off the canvas is not applied.
    EXPECT_EQ(s.resizeByMovingHandle(8, {-50, -50}, win.graphicViewBounds()), 1);
    EXPECT_EQ(s._bounds, QRectF(10, 0, 100, 10));
}

TEST_F(ItemModel, BarcodesAreNotResizedByHandles)
{
    LMNBarcode b;
    b._bounds = QRectF(10, 10, 80, 40);
    EXPECT_EQ(b.resizeByMovingHandle(8, {200, 200}, win.graphicViewBounds()), 0);
    EXPECT_EQ(b._bounds, QRectF(10, 10, 80, 40));
}

TEST_F(ItemModel, MovingKeepsItemsOnTheCanvasAndLockedItemsStill)
{
    Shape_Control a, b, locked;
    LMNBarcode bar;
    LMNLine flat;
    a._bounds = QRectF(10, 10, 20, 20);
    b._bounds = QRectF(250, 10, 20, 20);
    locked._bounds = QRectF(50, 50, 10, 10);
    locked.ctrl_is_locked = true;
    bar._bounds = QRectF(100, 100, 30, 10);
    flat.setBeginPoint({20, 200});
    flat.setEndPoint({120, 200});   // horizontal: zero height
    LMNGraphic::translateGraphics({&a, &b, &locked, &bar, &flat}, 60, 5, win.graphicViewBounds());
    EXPECT_EQ(a._bounds, QRectF(70, 15, 20, 20));
    EXPECT_EQ(b._bounds, QRectF(250, 10, 20, 20));   // would leave the canvas wholly
    EXPECT_EQ(locked._bounds, QRectF(50, 50, 10, 10));
    EXPECT_EQ(bar.bar_image_ctrl_bounds, QRectF(160, 105, 30, 10));
    EXPECT_EQ(flat.beginPoint(), QPointF(80, 205));   // horizontal lines move too
}

TEST_F(ItemModel, PastedItemsGoToTheGivenPointThenTheNewItemCascade)
{
    const float sx = win.last_ctrl_X, sy = win.last_ctrl_Y, sxc = win.last_ctrl_X_Exeed_Count, syc = win.last_ctrl_Y_Exeed_Count;
    const QPointF p1 = win.Control_New_Point("F");
    const QPointF p2 = win.Control_New_Point("F");
    win.last_ctrl_X = sx; win.last_ctrl_Y = sy; win.last_ctrl_X_Exeed_Count = sxc; win.last_ctrl_Y_Exeed_Count = syc;

    Shape_Control a, b, c;
    a._bounds = QRectF(0, 0, 10, 20);
    b._bounds = QRectF(0, 0, 30, 40);
    c._bounds = QRectF(5, 5, 50, 60);
    LMNGraphic::Paste_Location_Of_Graphics({&a, &b, &c}, 50, 60, [this] { return win.Control_New_Point("F"); });
    EXPECT_EQ(a._bounds, QRectF(50, 60, 10, 20));
    EXPECT_EQ(b._bounds, QRectF(p1, QSizeF(30, 40)));
    EXPECT_EQ(c._bounds, QRectF(p2, QSizeF(50, 60)));
}

TEST_F(ItemModel, BoundsOfListsAndSizeCommands)
{
    EXPECT_EQ(LMNGraphic::boundsOfGraphics({}), QRectF());
    EXPECT_EQ(LMNGraphic::drawingBoundsOfGraphics({}, win.graphicViewBounds()), QRectF(0, 0, 300, 300));
    Shape_Control a, b;
    a._bounds = QRectF(10, 10, 30, 50);
    b._bounds = QRectF(100, 0, 10, 10);
    EXPECT_EQ(LMNGraphic::boundsOfGraphics({&a, &b}), QRectF(10, 0, 100, 60));

    EXPECT_TRUE(a.canMakeNaturalSize());
    a.makeNaturalSize();
    EXPECT_EQ(a._bounds, QRectF(10, 10, 30, 30));
    b._bounds = QRectF(0, 0, 30, 50);
    b.ctrl_is_locked = true;
    b.makeNaturalSize();
    b.makeSameAsLabelSize(win.graphicViewBounds());
    EXPECT_EQ(b._bounds, QRectF(0, 0, 30, 50));
    LMNBarcode bar;
    bar._bounds = QRectF(0, 0, 30, 50);
    bar.makeNaturalSize();
    EXPECT_EQ(bar._bounds, QRectF(0, 0, 30, 50));
    a.makeSameAsLabelSize(win.graphicViewBounds());
    EXPECT_EQ(a._bounds, QRectF(0, 0, 300, 300));
}

TEST_F(ItemModel, DataSourceTypeClearsExcludedBindings)
{
    LMNText t;
    auto bind = [&] {
        t.batch_list_name = "names";
        t.batch_list_index = 3;
        t.batch_hdr_list_name = "h";
        t.batch_hdr_list_index = 4;
        t.batch_ftr_list_name = "f";
        t.batch_ftr_list_index = 5;
        t.excel_binding = true;
        t.excel_col_indx = 2;
    };
    bind();
    t.Set_Data_source_type(0);
    EXPECT_EQ(t.batch_list_index, -1);
    EXPECT_EQ(t.batch_list_name, "");
    EXPECT_EQ(t.batch_hdr_list_name, "");
    EXPECT_EQ(t.batch_ftr_list_name, "");
    EXPECT_EQ(t.batch_hdr_list_index, 4);   // header and footer indexes stay
    EXPECT_EQ(t.batch_ftr_list_index, 5);
    EXPECT_FALSE(t.excel_binding);
    EXPECT_EQ(t.excel_col_indx, -1);
    bind();
    t.Set_Data_source_type(1);
    EXPECT_EQ(t.batch_list_name, "names");
    EXPECT_EQ(t.excel_col_indx, -1);
    bind();
    t.Set_Data_source_type(2);
    EXPECT_EQ(t.batch_list_name, "");
    EXPECT_TRUE(t.excel_binding);
}

TEST_F(ItemModel, CopyOfABarcodeKeepsGeometryAndBindingButNotBarcodeSettings)
{
    LMNBarcode b;
    b._bounds = QRectF(1, 2, 3, 4);
    b._fillColor = Qt::red;
    b._strokeWidth = 7;
    b.data_source_type = 1;
    b.batch_list_name = "codes";
    b.header_val = "MINE";
    b.qr_size_val = 99;
    auto c = b.copyWithZone();
    EXPECT_EQ(c->kind(), LMNKind::Barcode);
    EXPECT_EQ(c->_bounds, b._bounds);
    EXPECT_EQ(c->_fillColor, QColor(Qt::red));
    EXPECT_DOUBLE_EQ(c->_strokeWidth, 7);
    EXPECT_EQ(c->batch_list_name, "codes");
    EXPECT_EQ(c->header_val, "HEADER");
    EXPECT_EQ(c->qr_size_val, 60);

    LMNLine l;
    l.setBeginPoint({10, 40});
    l.setEndPoint({60, 20});
    auto lc = l.copyWithZone();
    EXPECT_EQ(static_cast<LMNLine&>(*lc).beginPoint(), QPointF(10, 40));
}

TEST_F(ItemModel, ObserversHearBoundsAndValuesSetByKeyOnly)
{
    // The item in a design shown by a canvas, which keeps the window's
    // position and size fields on the frames of the items it shows.
    LMNDocument doc;
    LMNGraphicView view(win);
    view.bindGraphics(&doc);
    const auto item = std::make_shared<Shape_Control>();
    doc.insertGraphic(item, 0);
    Shape_Control& s = *item;
    QStringList heard;
    s.addObserver(this, [&](LMNGraphic*, const QString& k, const QVariant&, const QVariant&) { heard << k; });
    s.setBounds({1, 2, 3, 4});
    s._strokeWidth = 9;             // plain field writes are silent
    s.setColor(Qt::green);          // fill is on: only the colour is set by key
    s.setValueForKey("strokeWidth", 2.0);
    EXPECT_EQ(heard, QStringList({"bounds", "fillColor", "strokeWidth"}));
    EXPECT_EQ(win.positionUpdates.size(), 1);
    s.removeObserver(this);
    s.setBounds({0, 0, 1, 1});
    EXPECT_EQ(heard.size(), 3);

    LMNBarcode b;
    b.Set_Barcode_image(PtImage(QImage(40, 20, QImage::Format_RGB32), QSizeF(80, 30)));
    EXPECT_EQ(b._bounds.size(), QSizeF(80, 30));
}

TEST_F(ItemModel, RotationTransformTurnsClockwiseOnTheCanvas)
{
    const QPointF p = RotationTransform(90, 10, 10).map(QPointF(20, 10));
    EXPECT_NEAR(p.x(), 10, 1e-9);
    EXPECT_NEAR(p.y(), 20, 1e-9);
    QPainterPath path;
    path.addRect(0, 0, 1, 1);
    EXPECT_EQ(LMNGraphic::rotatedPath(path, 0, {}), path);
    EXPECT_THROW(LMNGraphic().bezierPathForDrawing(), std::logic_error);
}

TEST_F(ItemModel, ErrorCodeTwoCarriesTheDefaultTexts)
{
    const LMNError e = LMNErrorWithCode(2);
    EXPECT_EQ(e.domain, "LimnorErrorDomain");
    EXPECT_EQ(e.code, 2);
    EXPECT_EQ(e.description, "Limnor could not complete the operation because an unknown error occurred.");
    EXPECT_EQ(e.failureReason, "An unknown error occurred.");
}

} // namespace
