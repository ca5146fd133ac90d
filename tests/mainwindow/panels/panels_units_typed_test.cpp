// Lengths typed in inches and centimetres land at their size in points: the
// unit is chosen in the Units window (and kept: nothing goes back to
// millimetres in between), then the item's size, the arrows beside it and
// the label size are typed in that unit (the position in points); the item
// and the card are measured in points. In barcode mode the bar height typed in
// inches gives bars of that height.
#include "PanelsTestSupport.h"

#include "barcode/generation/PaneDriver.h"
#include "mainwindow/BarcodeModeView.h"
#include "platform/Numbers.h"

#include <QLabel>
#include <QPushButton>

#include <cmath>

namespace {

class TypedUnitsTest : public PanelsTest {
protected:
    // The unit chosen in the Units window with OK, as the label size tab's
    // Units button offers it.
    void chooseUnit(int unit)
    {
        ModalRunner previous = Set_Modal_Runner([unit](QDialog& d) {
            auto* units = qobject_cast<Unit_PrefWindow*>(&d);
            EXPECT_NE(units, nullptr);
            if (units)
                units->selectRow(unit);
            return 1;
        });
        host->card_size_tab->units_btn->click();
        Set_Modal_Runner(previous);
        ASSERT_EQ(host->Measument_Unit_Is, unit);
    }

    static void typeInto(QLineEdit* field, const QString& text)
    {
        field->setText(text);
        field->setModified(true);
        emit field->editingFinished();
    }
};

const double kPointsPer[] = {72.0, 72.0 / 2.54, 72.0 / 25.4};

} // namespace

TEST_F(TypedUnitsTest, SizeTypedInInchesAndCentimetresLandsInPoints)
{
    for (int unit : {0, 1}) {
        SCOPED_TRACE(unit == 0 ? "inches" : "centimetres");
        const double k = kPointsPer[unit];
        LMNGraphic* shape = add(LMNKind::Shape, QRectF(10, 10, 30, 30));
        chooseUnit(unit);
        select({shape});
        AlignmentPanel* a = host->aligmnt_tab;
        EXPECT_EQ(a->ctrl_width_unit_lbl->text(), Unit_Field_Caption(unit));
        typeInto(a->frame_main_pic_width, QStringLiteral("1.5"));
        EXPECT_NEAR(shape->bounds().width(), 1.5 * k, 0.01);
        typeInto(a->frame_main_pic_height, QStringLiteral("0.75"));
        EXPECT_NEAR(shape->bounds().height(), 0.75 * k, 0.01);
        // The position stays in points, whatever the unit.
        EXPECT_EQ(a->ctrl_x_pos_unit_lbl->text(), QStringLiteral("(pt)"));
        typeInto(a->frame_main_pic_X_pos, QStringLiteral("36.5"));
        EXPECT_NEAR(shape->bounds().x(), 36.5, 0.01);
        typeInto(a->frame_main_pic_Y_pos, QStringLiteral("90"));
        EXPECT_NEAR(shape->bounds().y(), 90.0, 0.01);
        // The size stays where it was typed.
        EXPECT_NEAR(shape->bounds().width(), 1.5 * k, 0.01);

        // One step of the arrows: a hundredth of an inch, a tenth of a centimetre.
        const double step = unit == 0 ? 0.01 : 0.1;
        a->frame_main_pic_width_val->stepUp();
        EXPECT_NEAR(shape->bounds().width(), (1.5 + step) * k, 0.01);
        a->frame_main_pic_height_val->stepDown();
        EXPECT_NEAR(shape->bounds().height(), (0.75 - step) * k, 0.01);

        // Chosen again, the fields show the lengths as typed.
        w->Show_RHS_Properties(nullptr);
        select({shape});
        EXPECT_NEAR(Leading_Double_C(a->frame_main_pic_width->text()), 1.5 + step, 1e-3);
        EXPECT_NEAR(Leading_Double_C(a->frame_main_pic_Y_pos->text()), 90.0, 1e-3);
        select({});
    }
}

TEST_F(TypedUnitsTest, LabelSizeTypedInInchesAndCentimetresIsTheCardInPoints)
{
    for (int unit : {0, 1}) {
        SCOPED_TRACE(unit == 0 ? "inches" : "centimetres");
        const double k = kPointsPer[unit];
        chooseUnit(unit);
        w->Show_RHS_Properties(nullptr);
        CardSizePanel* size = host->card_size_tab;
        size->width_Text->setText(QStringLiteral("3.5"));
        size->height_Text->setText(QStringLiteral("2"));
        size->Apply_Size_btn->click();
        EXPECT_NEAR(w->Front_card_Prop()->Card_Size.width(), 3.5 * k, 0.01);
        EXPECT_NEAR(w->Front_card_Prop()->Card_Size.height(), 2 * k, 0.01);
        EXPECT_NEAR(w->graphicViewBounds().width(), 3.5 * k, 0.01);
        // The printed card is that size.
        const QImage card = printedCard(72);
        EXPECT_EQ(card.width(), int(std::ceil(3.5 * k - 1e-6)));
        EXPECT_EQ(card.height(), int(std::ceil(2 * k - 1e-6)));
        EXPECT_NEAR(Leading_Double_C(size->width_Text->text()), 3.5, 1e-3) << "the field keeps what was typed";
    }
}

TEST_F(TypedUnitsTest, BarHeightTypedInInchesGivesBarsOfThatHeight)
{
    w->Barcode_Mode_Select();
    BarcodeModeView& view = *w->barcodeModeView();
    ModalRunner previous = Set_Modal_Runner([](QDialog& d) {
        if (auto* units = qobject_cast<Unit_PrefWindow*>(&d))
            units->selectRow(0);
        return 1;
    });
    w->Units_btn->trigger();
    Set_Modal_Runner(previous);
    ASSERT_EQ(view.Barcode_Settings().unit, 0);

    // Code 128 without texts, so the image is the bars and the margins.
    chooseType(QStringLiteral("Code 128"));
    BarcodeSettings s = view.Barcode_Settings();
    s.dataText = QStringLiteral("UNITS-1");
    s.HeaderText.clear();
    s.FooterText.clear();
    s.hide_value = s.hide_header = s.hide_footer = true;
    view.Load_Barcode_Settings(s);
    auto* height = drive::find<QLineEdit>(&view, "HeightText");
    auto* topBottom = drive::find<QLineEdit>(&view, "TB_mar_Text");
    ASSERT_TRUE(height && topBottom);
    typeInto(topBottom, QStringLiteral("0"));
    typeInto(height, QStringLiteral("1.25"));
    w->goButtonActionPerformed();
    const BarcodeSettings after = view.Barcode_Settings();
    EXPECT_NEAR(after.bar_height, 1.25, 1e-4);
    // The tallest run of dark pixels in a column of the picture at 72 DPI is
    // the bar height in points.
    const QImage image = view.Preview_Image().toImage(72).convertToFormat(QImage::Format_ARGB32);
    ASSERT_FALSE(image.isNull());
    int tallest = 0;
    for (int x = 0; x < image.width(); ++x) {
        int run = 0;
        for (int y = 0; y < image.height(); ++y) {
            run = qGray(image.pixel(x, y)) < 128 && qAlpha(image.pixel(x, y)) > 128 ? run + 1 : 0;
            tallest = std::max(tallest, run);
        }
    }
    EXPECT_NEAR(tallest, 1.25 * 72, 2.0);
}
