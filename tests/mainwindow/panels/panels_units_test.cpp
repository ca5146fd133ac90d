// Every length field shows its whole value in the unit chosen: 10 mm reads
// "0.3937" in inches, "1.00" in centimetres and "10.0" in millimetres, with
// no digit cut off by the field's width, in designing mode's size and
// arrange fields and in barcode mode's bar height and margins alike.
#include "PanelsTestSupport.h"

#include "barcode/generation/PaneDriver.h"
#include "mainwindow/BarcodeModeView.h"

#include <QFontMetrics>
#include <QLabel>

namespace {

class UnitFieldsTest : public PanelsTest {
protected:
    void TearDown() override
    {
        Measument_Unit_Is_Barcode = 1;
        last_unit_val_Barcode = 1;
        PanelsTest::TearDown();
    }

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
} kUnits[] = {{0, "0.3937"}, {1, "1.00"}, {2, "10.0"}};

} // namespace

TEST_F(UnitFieldsTest, DesigningFieldsShowTenMillimetresWholeInEveryUnit)
{
    const double tenMM = 10.0 * 72.0 / 25.4;
    LMNGraphic* shape = add(LMNKind::Shape, QRectF(tenMM, tenMM, tenMM, tenMM));
    for (const auto& u : kUnits) {
        SCOPED_TRACE(u.unit);
        design->Apply_Unit_Choice(u.unit);
        host->Set_Card_Size_In_Control(10, 10);
        expectShows(host->card_size_tab->width_Text, QLatin1String(u.tenMM), "label width");
        expectShows(host->card_size_tab->height_Text, QLatin1String(u.tenMM), "label height");
        select({shape});
        AlignmentPanel* a = host->aligmnt_tab;
        expectShows(a->frame_main_pic_X_pos, QLatin1String(u.tenMM), "X");
        expectShows(a->frame_main_pic_Y_pos, QLatin1String(u.tenMM), "Y");
        expectShows(a->frame_main_pic_width, QLatin1String(u.tenMM), "width");
        expectShows(a->frame_main_pic_height, QLatin1String(u.tenMM), "height");
        EXPECT_EQ(a->ctrl_x_pos_unit_lbl->text(), Unit_Field_Caption(u.unit));
        EXPECT_EQ(a->ctrl_height_unit_lbl->text(), Unit_Field_Caption(u.unit));
        // A length typed in the unit lands where it says.
        a->frame_main_pic_X_pos->setText(QLatin1String(u.tenMM));
        a->frame_main_pic_X_pos->setModified(true);
        emit a->frame_main_pic_X_pos->editingFinished();
        EXPECT_NEAR(shape->bounds().x(), tenMM, 0.01);
        w->Show_RHS_Properties(nullptr);
    }
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
    Measument_Unit_Is_Barcode = last_unit_val_Barcode = 2;
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
