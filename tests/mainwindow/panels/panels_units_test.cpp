// Every length field shows its whole value in the unit chosen: 10 mm reads
// "0.3937" in inches, "1.00" in centimetres and "10.00" in millimetres, with
// no digit cut off by the field's width, in designing mode's size fields and
// in barcode mode's bar height and margins alike; a value typed comes back as
// typed. The position of an item is in points, "(pt)", in every unit.
#include "PanelsTestSupport.h"

#include "barcode/generation/PaneDriver.h"
#include "mainwindow/BarcodeModeView.h"

#include <QFontMetrics>
#include <QLabel>

namespace {

class UnitFieldsTest : public PanelsTest {
protected:

    // The text the user sees: all of it, with room for the frame and margins.
    static void expectShows(const QLineEdit* field, const QString& text, const char* what)
    {
        SCOPED_TRACE(what);
        EXPECT_EQ(field->text().toStdString(), text.toStdString());
        const int needed = QFontMetrics(field->font()).horizontalAdvance(field->text()) + 8;
        EXPECT_LE(needed, field->width()) << "the field cuts its text";
    }
};

const struct {
    int unit;
    const char* tenMM;
} kUnits[] = {{0, "0.3937"}, {1, "1.00"}, {2, "10.00"}};

} // namespace

TEST_F(UnitFieldsTest, DesigningFieldsShowTenMillimetresWholeInEveryUnit)
{
    const double tenMM = 10.0 * 72.0 / 25.4;
    LMNGraphic* shape = add(LMNKind::Shape, QRectF(tenMM, tenMM, tenMM, tenMM));
    AlignmentPanel* a = host->aligmnt_tab;
    const auto typeInto = [](QLineEdit* field, const QString& text) {
        field->setText(text);
        field->setModified(true);
        emit field->editingFinished();
    };
    for (const auto& u : kUnits) {
        SCOPED_TRACE(u.unit);
        design->Apply_Unit_Choice(u.unit);
        host->Set_Card_Size_In_Control(10, 10);
        expectShows(host->card_size_tab->width_Text, QLatin1String(u.tenMM), "label width");
        expectShows(host->card_size_tab->height_Text, QLatin1String(u.tenMM), "label height");
        shape->setBounds(QRectF(tenMM, tenMM, tenMM, tenMM));
        select({shape});
        // The position in points whatever the unit; the size in the unit.
        expectShows(a->frame_main_pic_X_pos, QStringLiteral("28.35"), "X");
        expectShows(a->frame_main_pic_Y_pos, QStringLiteral("28.35"), "Y");
        expectShows(a->frame_main_pic_width, QLatin1String(u.tenMM), "width");
        expectShows(a->frame_main_pic_height, QLatin1String(u.tenMM), "height");
        EXPECT_EQ(a->ctrl_x_pos_unit_lbl->text(), QStringLiteral("(pt)"));
        EXPECT_EQ(a->ctrl_y_pos_unit_lbl->text(), QStringLiteral("(pt)"));
        EXPECT_EQ(a->ctrl_height_unit_lbl->text(), Unit_Field_Caption(u.unit));
        // 100 typed into X is 100 points from the left in every unit; the
        // arrows step it by a point.
        typeInto(a->frame_main_pic_X_pos, QStringLiteral("100"));
        EXPECT_NEAR(shape->bounds().x(), 100.0, 1e-9);
        a->frame_main_pic_Y_pos_val->stepUp();
        EXPECT_NEAR(shape->bounds().y(), tenMM + 1.0, 1e-3);
        EXPECT_EQ(a->frame_main_pic_Y_pos->text(), QStringLiteral("29.35"));
        // A length typed in the unit lands where it says.
        typeInto(a->frame_main_pic_width, QLatin1String(u.tenMM));
        EXPECT_NEAR(shape->bounds().width(), tenMM, 0.01);
        w->Show_RHS_Properties(nullptr);
    }
    // A width typed as 12.35 mm stays 12.35 mm when the panel shows it again.
    design->Apply_Unit_Choice(2);
    select({shape});
    typeInto(a->frame_main_pic_width, QStringLiteral("12.35"));
    w->Show_RHS_Properties(nullptr);
    select({shape});
    EXPECT_EQ(a->frame_main_pic_width->text(), QStringLiteral("12.35"));
    EXPECT_NEAR(shape->bounds().width(), 12.35 * 72.0 / 25.4, 1e-3);
    // A long length in inches still shows whole.
    design->Apply_Unit_Choice(0);
    host->Set_Card_Size_In_Control(2500, 10);
    expectShows(host->card_size_tab->width_Text, QStringLiteral("98.4252"), "a long label in inches");
}

TEST_F(UnitFieldsTest, BarcodeLengthsShowTenMillimetresWholeInEveryUnit)
{
    w->Barcode_Mode_Select();
    BarcodeModeView& view = *w->barcodeModeView();
    BarcodeSettings s = view.Barcode_Settings();
    s.unit = 2;
    s.val_mar = s.hdr_mar = s.ftr_mar = s.TB_mar = s.LR_mar = 10.0f;
    s.bar_height = 10.0f;
    view.Load_Barcode_Settings(s);
    view.Measument_Unit_Is_Barcode = view.last_unit_val_Barcode = 2;
    for (const char* name : {"val_mar_Text", "hdr_mar_Text", "ftr_mar_Text", "TB_mar_Text", "LR_mar_Text",
                             "HeightText"}) {
        for (const auto& u : kUnits) {
            SCOPED_TRACE(u.unit);
            OK_Unit_Change_For_Barcode(view, u.unit);
            expectShows(drive::find<QLineEdit>(&view, name), QLatin1String(u.tenMM), name);
        }
        OK_Unit_Change_For_Barcode(view, 2);
    }
    // The settings keep the lengths unrounded: back in millimetres they are 10.
    OK_Unit_Change_For_Barcode(view, 0);
    OK_Unit_Change_For_Barcode(view, 2);
    EXPECT_NEAR(view.Barcode_Settings().val_mar, 10.0, 1e-4);
    EXPECT_NEAR(view.Barcode_Settings().bar_height, 10.0, 1e-4);
}
