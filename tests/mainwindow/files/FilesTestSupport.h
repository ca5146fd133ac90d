#pragma once
// Items of every kind with values away from their defaults, pictures on disk
// for them, and a comparison of items at the precision design files keep
// (colours to a tenth, reals to a hundredth).
#include "core/model/LMNBarcode.h"
#include "core/model/LMNGraphic.h"
#include "core/model/LMNImage.h"
#include "core/model/LMNLine.h"
#include "core/model/LMNSignature.h"
#include "core/model/LMNText.h"
#include "core/model/Shape_Control.h"
#include "core/util/MainWindowServices.h"

#include <QImage>
#include <QPainter>
#include <QPicture>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

namespace filestest {

// A picture file in `dir`, its pixels in one colour with a dark corner.
inline QString Write_Picture(const QTemporaryDir& dir, const QString& name, QColor colour, int w = 40, int h = 30)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(colour);
    QPainter p(&img);
    p.fillRect(0, 0, w / 4, h / 4, Qt::black);
    p.end();
    const QString path = dir.filePath(name);
    img.save(path);
    return path;
}

inline PtImage Vector_Picture(double w = 60, double h = 30)
{
    QPicture pic;
    QPainter p(&pic);
    for (int i = 0; i < 10; ++i)
        p.fillRect(QRectF(i * 6, 0, 3, h), Qt::black);
    p.end();
    return PtImage(pic, QSizeF(w, h));
}

inline PtImage Raster_Picture(int w = 50, int h = 50)
{
    QImage img(w, h, QImage::Format_ARGB32);
    img.fill(Qt::white);
    for (int y = 0; y < h; y += 5)
        for (int x = (y / 5) % 2 * 5; x < w; x += 10)
            for (int dy = 0; dy < 5 && y + dy < h; ++dy)
                for (int dx = 0; dx < 5 && x + dx < w; ++dx)
                    img.setPixel(x + dx, y + dy, 0xff000000);
    return PtImage(img, QSizeF(w * 0.5, h * 0.5));
}

// A renderer of barcode items for reading records whose vector picture was
// not stored: the same drawing Every_Kind gives its vector barcode.
inline PtImage Render_Like_Every_Kind(const LMNGraphic&, const QString&)
{
    return Vector_Picture();
}

// One item of every kind (two barcodes: a vector and a raster picture).
inline std::vector<LMNGraphicPtr> Every_Kind(const QString& picturePath)
{
    std::vector<LMNGraphicPtr> items;

    auto text = std::make_shared<LMNText>();
    text->_bounds = QRectF(1.5, 2.25, 70, 20.5);
    text->Text_Value = QStringLiteral("Grüße\nzwei Zeilen");
    text->text_ctrl_font = QFont(QStringLiteral("DejaVu Sans"));
    text->text_ctrl_font.setPointSizeF(13.5);
    text->text_ctrl_font.setBold(true);
    text->txt_clr = QColor::fromRgbF(0.2f, 0.4f, 0.6f, 0.8f);
    text->text_alignmnet = 3;
    text->text_alignmnet_Vert = 1;
    text->text_transfrom_case = 2;
    text->text_kerning = 1.25f;
    text->Drawing_Shadow = true;
    text->Shadow_Color = QColor::fromRgbF(0.1f, 0.2f, 0.3f, 0.5f);
    text->Shadow_offset_X = -2.5f;
    text->Shadow_offset_Y = 3.75f;
    text->Shadow_blur = 4;
    text->Shadow_transparency = 35;
    text->text_rotation = 90;
    text->data_source_type = 1;
    text->batch_list_name = QStringLiteral("names");
    text->batch_list_index = 3;
    text->excel_binding = true;
    text->excel_col_indx = 2;
    text->batch_hdr_list_name = QStringLiteral("heads");
    text->batch_hdr_list_index = 1;
    text->batch_ftr_list_name = QStringLiteral("feet");
    text->batch_ftr_list_index = 2;
    text->control_ID = QStringLiteral("T1");
    text->ctrl_is_locked = true;
    text->print_object = 2;
    items.push_back(text);

    auto line = std::make_shared<LMNLine>();
    line->_bounds = QRectF(10, 20, 50, 0);
    line->_pointsRight = true;
    line->_pointsDown = false;
    line->_line_ori = 1;
    line->_line_cap_style = 2;
    line->_strokeWidth = 2.5;
    line->_strokeColor = QColor::fromRgbF(1, 0, 0, 1);
    line->_stroke_border_type = QStringLiteral("DA");
    line->ctrl_is_visible = false;
    items.push_back(line);

    auto shape = std::make_shared<Shape_Control>();
    shape->_bounds = QRectF(30, 40, 80, 60);
    shape->_shape_type = QStringLiteral("DS");
    shape->cor_rad_val = 7.5f;
    shape->double_star_type = 3;
    shape->polygon_type = 4;
    shape->text_rotation = 45;
    shape->_fill_type = QStringLiteral("G");
    shape->_fill_Grad_clr1 = QColor::fromRgbF(0.9f, 0.8f, 0.7f, 1);
    shape->_fill_Grad_clr2 = QColor::fromRgbF(0.1f, 0.1f, 0.1f, 0.3f);
    shape->_fill_grad_angle = 33.33;
    shape->_fill_htch_clr = QColor::fromRgbF(0.5f, 0.5f, 0, 1);
    shape->_fill_hatch_type = QStringLiteral("pattern_1");
    shape->alpha_val = 45.5f;
    shape->alpha_val_stroke = 12.25f;
    items.push_back(shape);

    auto picture = std::make_shared<LMNImage>();
    picture->_bounds = QRectF(5, 6, 40, 30);
    picture->_isFlippedHorizontally = true;
    picture->invert_clr = true;
    picture->Sepia = true;
    picture->img_trnsp_val = 80;
    picture->hue_val = 12.5f;
    picture->sat_val = 1.5f;
    picture->brt_val = -0.25f;
    picture->con_val = 1.1f;
    picture->srp_val = 2;
    picture->ev_val = 0.5f;
    picture->blr_val = 1;
    picture->rotate_image = 15;
    picture->setFilePath(picturePath);
    picture->Text_Value = QStringLiteral("photo value");
    picture->data_source_type = 2;
    picture->excel_col_indx = 1;
    items.push_back(picture);

    auto barcode = std::make_shared<LMNBarcode>();
    barcode->Set_Barcode_image(Vector_Picture());
    barcode->_bounds.moveTopLeft(QPointF(100, 120));
    barcode->Set_Barcode_image_control_bounds();
    barcode->linear_or_2d = 0;
    barcode->barcode_font_index = 2;
    barcode->linear_font_val = QStringLiteral("ABC-123");
    barcode->two_d_font_val = QStringLiteral("two d");
    barcode->header_val = QStringLiteral("Kopf");
    barcode->footer_val = QStringLiteral("Fuß");
    barcode->show_hide_hdr = 1;
    barcode->show_val_on_top = 1;
    barcode->align_hdr_index = 0;
    barcode->align_ftr_index = 2;
    barcode->linear_height_val = 1.5f;
    barcode->linear_width_val = 15;
    barcode->qr_size_val = 80;
    barcode->qr_version_index = 5;
    barcode->qr_ec_index = 2;
    barcode->pdf_hgt_val = 30;
    barcode->pdf_wdt_val = 120;
    barcode->pdf_ec_val = 4;
    barcode->dm_module_val = 3;
    barcode->dm_format_index = 7;
    barcode->dm_encoding_index = 2;
    barcode->hdr_margin_val = 0.25f;
    barcode->ftr_margin_val = 0.5f;
    barcode->val_margin_val = 0.75f;
    barcode->TB_marging_val = 1.25f;
    barcode->LR_margin_val = 2.5f;
    barcode->value_font_val = QFont(QStringLiteral("DejaVu Serif"));
    barcode->value_font_val.setPointSizeF(9.5);
    barcode->value_font_val.setItalic(true);
    barcode->header_font_val = QFont(QStringLiteral("DejaVu Sans"));
    barcode->header_font_val.setPointSizeF(11);
    barcode->footer_font_val = QFont(QStringLiteral("DejaVu Sans Mono"));
    barcode->footer_font_val.setPointSizeF(7.25);
    barcode->barcode_hdr_clr_val = QColor::fromRgbF(0.1f, 0.2f, 0.3f, 1);
    barcode->barcode_ftr_clr_val = QColor::fromRgbF(0.3f, 0.2f, 0.1f, 1);
    barcode->barcode_val_clr_val = QColor::fromRgbF(0, 0, 1, 1);
    barcode->barcode_back_clr_val = QColor::fromRgbF(1, 1, 1, 0);
    barcode->barcode_clr_val = QColor::fromRgbF(0, 0.5f, 0, 1);
    barcode->dpi_val_index = 3;
    barcode->dpi_custom_val = QStringLiteral("450");
    barcode->barcode_unit_val = 2;
    barcode->data_source_type = 1;
    barcode->batch_list_name = QStringLiteral("codes");
    items.push_back(barcode);

    auto qr = std::make_shared<LMNBarcode>();
    qr->Set_Barcode_image(Raster_Picture());
    qr->_bounds.moveTopLeft(QPointF(10, 150));
    qr->Set_Barcode_image_control_bounds();
    qr->linear_or_2d = 1;
    qr->barcode_font_index = 19;
    items.push_back(qr);

    auto sign = std::make_shared<LMNSignature>();
    sign->_bounds = QRectF(150, 10, 100, 50);
    sign->sign_or_fingureprint = QStringLiteral("F");
    sign->_file_path = picturePath;
    items.push_back(sign);
    return items;
}

inline void Expect_Colour_Near(const QColor& a, const QColor& b, const char* what)
{
    SCOPED_TRACE(what);
    EXPECT_NEAR(a.redF(), b.redF(), 0.051);
    EXPECT_NEAR(a.greenF(), b.greenF(), 0.051);
    EXPECT_NEAR(a.blueF(), b.blueF(), 0.051);
    EXPECT_NEAR(a.alphaF(), b.alphaF(), 0.051);
}

inline void Expect_Font_Same(const QFont& a, const QFont& b, const char* what)
{
    SCOPED_TRACE(what);
    EXPECT_EQ(a.family(), b.family());
    EXPECT_NEAR(a.pointSizeF(), b.pointSizeF(), 0.005);
    EXPECT_EQ(a.bold(), b.bold());
    EXPECT_EQ(a.italic(), b.italic());
}

inline void Expect_Picture_Same(const PtImage& a, const PtImage& b)
{
    ASSERT_EQ(a.isNull(), b.isNull());
    if (a.isNull())
        return;
    EXPECT_EQ(a.isVector(), b.isVector());
    EXPECT_EQ(a.size(), b.size());
    EXPECT_EQ(a.toImage(72), b.toImage(72));
}

#define ZL_NEAR2(f) EXPECT_NEAR(double(a.f), double(b.f), 0.0051) << #f
#define ZL_SAME(f) EXPECT_EQ(a.f, b.f) << #f

// Every field a record stores, at the precision the file keeps.
inline void Expect_Item_Equal(const LMNGraphic& a, const LMNGraphic& b)
{
    ASSERT_EQ(a.kind(), b.kind());
    EXPECT_EQ(a._bounds, b._bounds);
    ZL_SAME(ctrl_is_locked);
    ZL_SAME(_isDrawingFill);
    Expect_Colour_Near(a._fillColor, b._fillColor, "fill");
    ZL_SAME(_isDrawingStroke);
    Expect_Colour_Near(a._strokeColor, b._strokeColor, "stroke");
    ZL_NEAR2(_strokeWidth);
    ZL_SAME(_stroke_border_type);
    ZL_SAME(_fill_type);
    Expect_Colour_Near(a._fill_Grad_clr1, b._fill_Grad_clr1, "gradient 1");
    Expect_Colour_Near(a._fill_Grad_clr2, b._fill_Grad_clr2, "gradient 2");
    ZL_NEAR2(_fill_grad_angle);
    Expect_Colour_Near(a._fill_htch_clr, b._fill_htch_clr, "hatch");
    ZL_SAME(_fill_hatch_type);
    ZL_NEAR2(alpha_val);
    ZL_NEAR2(alpha_val_stroke);
    EXPECT_EQ(a.print_object != 0, b.print_object != 0);
    ZL_SAME(control_ID);
    ZL_SAME(ctrl_is_visible);
    const LMNKind k = a.kind();
    if (k == LMNKind::Text || k == LMNKind::Image || k == LMNKind::Barcode) {
        ZL_SAME(data_source_type);
        ZL_SAME(batch_list_name);
        ZL_SAME(batch_list_index);
        ZL_SAME(excel_binding);
        ZL_SAME(excel_col_indx);
        ZL_SAME(batch_hdr_list_name);
        ZL_SAME(batch_hdr_list_index);
        ZL_SAME(batch_ftr_list_name);
        ZL_SAME(batch_ftr_list_index);
    }
    switch (k) {
    case LMNKind::Line:
        ZL_SAME(_line_ori);
        ZL_SAME(_line_cap_style);
        EXPECT_EQ(static_cast<const LMNLine&>(a)._pointsRight, static_cast<const LMNLine&>(b)._pointsRight);
        EXPECT_EQ(static_cast<const LMNLine&>(a)._pointsDown, static_cast<const LMNLine&>(b)._pointsDown);
        break;
    case LMNKind::Shape:
        ZL_SAME(_shape_type);
        ZL_NEAR2(cor_rad_val);
        ZL_SAME(double_star_type);
        ZL_SAME(polygon_type);
        ZL_SAME(text_rotation);
        break;
    case LMNKind::Signature:
        ZL_SAME(sign_or_fingureprint);
        ZL_SAME(_file_path);
        break;
    case LMNKind::Text:
        Expect_Font_Same(a.text_ctrl_font, b.text_ctrl_font, "text font");
        Expect_Colour_Near(a.txt_clr, b.txt_clr, "text colour");
        ZL_SAME(text_alignmnet_Vert);
        ZL_SAME(text_alignmnet);
        ZL_SAME(text_transfrom_case);
        ZL_NEAR2(text_kerning);
        ZL_SAME(Text_Value);
        ZL_SAME(Drawing_Shadow);
        Expect_Colour_Near(a.Shadow_Color, b.Shadow_Color, "shadow");
        ZL_NEAR2(Shadow_offset_X);
        ZL_NEAR2(Shadow_offset_Y);
        ZL_NEAR2(Shadow_blur);
        ZL_NEAR2(Shadow_transparency);
        ZL_SAME(text_rotation);
        break;
    case LMNKind::Image:
        ZL_SAME(_isFlippedHorizontally);
        ZL_SAME(_isFlippedVertically);
        ZL_SAME(invert_clr);
        ZL_SAME(gray_Scale);
        ZL_SAME(Sepia);
        ZL_NEAR2(img_trnsp_val);
        ZL_NEAR2(hue_val);
        ZL_NEAR2(sat_val);
        ZL_NEAR2(brt_val);
        ZL_NEAR2(con_val);
        ZL_NEAR2(srp_val);
        ZL_NEAR2(ev_val);
        ZL_NEAR2(blr_val);
        ZL_NEAR2(rotate_image);
        ZL_SAME(_file_path);
        ZL_SAME(Text_Value);
        Expect_Picture_Same(a._contents, b._contents);
        break;
    case LMNKind::Barcode:
        Expect_Picture_Same(a._barcode_image, b._barcode_image);
        ZL_SAME(linear_or_2d);
        ZL_SAME(barcode_font_index);
        ZL_SAME(linear_font_val);
        ZL_SAME(two_d_font_val);
        ZL_SAME(header_val);
        ZL_SAME(footer_val);
        ZL_SAME(show_hide_hdr);
        ZL_SAME(show_hide_ftr);
        ZL_SAME(show_hide_val);
        ZL_SAME(show_val_on_top);
        ZL_SAME(align_hdr_index);
        ZL_SAME(align_ftr_index);
        ZL_NEAR2(linear_height_val);
        ZL_NEAR2(linear_width_val);
        ZL_SAME(qr_size_val);
        ZL_SAME(qr_version_index);
        ZL_SAME(qr_ec_index);
        ZL_SAME(pdf_hgt_val);
        ZL_SAME(pdf_wdt_val);
        ZL_SAME(pdf_ec_val);
        ZL_SAME(dm_module_val);
        ZL_SAME(dm_format_index);
        ZL_SAME(dm_encoding_index);
        ZL_NEAR2(hdr_margin_val);
        ZL_NEAR2(ftr_margin_val);
        ZL_NEAR2(val_margin_val);
        ZL_NEAR2(TB_marging_val);
        ZL_NEAR2(LR_margin_val);
        Expect_Font_Same(a.value_font_val, b.value_font_val, "value font");
        Expect_Font_Same(a.header_font_val, b.header_font_val, "header font");
        Expect_Font_Same(a.footer_font_val, b.footer_font_val, "footer font");
        Expect_Colour_Near(a.barcode_hdr_clr_val, b.barcode_hdr_clr_val, "header colour");
        Expect_Colour_Near(a.barcode_ftr_clr_val, b.barcode_ftr_clr_val, "footer colour");
        Expect_Colour_Near(a.barcode_val_clr_val, b.barcode_val_clr_val, "value colour");
        Expect_Colour_Near(a.barcode_back_clr_val, b.barcode_back_clr_val, "back colour");
        Expect_Colour_Near(a.barcode_clr_val, b.barcode_clr_val, "bar colour");
        ZL_SAME(dpi_val_index);
        ZL_SAME(dpi_custom_val);
        ZL_SAME(barcode_unit_val);
        EXPECT_EQ(a.bar_image_ctrl_bounds, b._bounds);
        break;
    case LMNKind::Graphic:
        break;
    }
}

#undef ZL_NEAR2
#undef ZL_SAME

} // namespace filestest
