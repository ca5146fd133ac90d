// The barcode settings controls of the main window: what regenerates, what
// only draws again, the symbology panes and the pairs of fields and steppers.
#include "MainWindowFixture.h"

#include "barcode/generation/BarcodeRoad.h"
#include "core/util/MessageBoxes.h"
#include "mainwindow/Stepper.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QTextBrowser>
#include <QFontDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTabWidget>

void MainWindowTest::chooseType(const QString& name)
{
    QComboBox* popup = window->barcodeModeView()->barcodeTypePopup;
    const int i = popup->findText(name);
    ASSERT_GE(i, 0) << name.toStdString();
    popup->setCurrentIndex(i);
    window->barcodeModeView()->barcodeTypeChanged();
}

TEST_F(MainWindowTest, LookChangesDrawAgainWithoutEncoding)
{
    BarcodeModeView& w = makeBarcode();
    ASSERT_FALSE(w.Preview_Is_Blank());
    const int encodes = w.Encode_Count();
    int draws = w.Draw_Count();
    const QSizeF before = w.Preview_Image().size();

    // A bigger value font: drawn again, taller, not encoded again.
    QFont big = w.value_font;
    big.setPointSizeF(24);
    w.changeFont(big);
    EXPECT_EQ(w.Encode_Count(), encodes);
    EXPECT_EQ(w.Draw_Count(), ++draws);
    EXPECT_GT(w.Preview_Image().size().height(), before.height());
    EXPECT_TRUE(w.value_font_value->text().contains("( 24.00 )"));

    // Colour, switches and margins only draw again as well.
    w.barcode_clr->setColor(Qt::darkBlue, true);
    EXPECT_EQ(w.Draw_Count(), ++draws);
    const double withHeader = w.Preview_Image().size().height();
    w.hideHeaderCheckbox->click();
    EXPECT_EQ(w.Draw_Count(), ++draws);
    EXPECT_LT(w.Preview_Image().size().height(), withHeader);
    w.TB_mar_Stepper->stepUp();
    EXPECT_EQ(w.TB_mar_Text->text(), "0.2");
    EXPECT_EQ(w.Draw_Count(), ++draws);
    w.HeightStepper->stepUp();
    EXPECT_EQ(w.Draw_Count(), ++draws);
    w.captionCheckbox->click();
    EXPECT_FALSE(w.showinTopCheckbox->isEnabled());
    EXPECT_EQ(w.Draw_Count(), ++draws);
    EXPECT_EQ(w.Encode_Count(), encodes);

    // Drawn again, the symbol has the size a fresh encoding with the same
    // settings gives.
    const BarcodeSettings now = w.Barcode_Settings();
    const PtImage fresh = Make_Barcode_Image(now, now.dataText, now.HeaderText, now.FooterText);
    ASSERT_FALSE(fresh.isNull());
    EXPECT_NEAR(fresh.size().width(), w.Preview_Image().size().width(), 0.01);
    EXPECT_NEAR(fresh.size().height(), w.Preview_Image().size().height(), 0.01);

    // A new value is encoded.
    w.dataText->setText("987654321");
    w.controlTextDidChange(w.dataText);
    EXPECT_EQ(w.Encode_Count(), encodes + 1);
    EXPECT_FALSE(w.Preview_Is_Blank());
}

TEST_F(MainWindowTest, FontPanelChangesGoToTheButtonPressedLast)
{
    BarcodeModeView& w = makeBarcode();
    const QFont valueBefore = w.value_font;
    w.Header_Font_Changed();
    ASSERT_NE(w.fontPanel, nullptr);
    QFont f = w.header_font;
    f.setPointSizeF(18);
    w.fontPanel->setCurrentFont(f);
    EXPECT_DOUBLE_EQ(w.header_font.pointSizeF(), 18.0);
    EXPECT_EQ(w.value_font, valueBefore);

    w.Value_Font_Changed();
    f.setPointSizeF(7);
    w.fontPanel->setCurrentFont(f);
    EXPECT_DOUBLE_EQ(w.value_font.pointSizeF(), 7.0);
    EXPECT_DOUBLE_EQ(w.header_font.pointSizeF(), 18.0);
    w.fontPanel->hide();
}

TEST_F(MainWindowTest, EmptyValueGivesABlankPreview)
{
    BarcodeModeView& w = makeBarcode();
    w.dataText->clear();
    w.controlTextDidChange(w.dataText);
    EXPECT_TRUE(w.Preview_Is_Blank());
    EXPECT_TRUE(w.barcode_error_label->isVisibleTo(&w));
    EXPECT_TRUE(w.barcodeImage->pixmap().isNull());
    EXPECT_TRUE(messages.isEmpty());   // the preview road asks nothing

    // Asked with the message flag (as the output commands do), it says why.
    EXPECT_FALSE(w.Check_And_Validat_Barcode(true, true));
    EXPECT_TRUE(sawMessage("Invalid barcode value or value is too long."));

    // A value the symbology rejects also blanks the preview.
    w.dataText->setText("12");
    chooseType("EAN-13");
    EXPECT_TRUE(w.Preview_Is_Blank());
    w.dataText->setText("123456789012");
    w.controlTextDidChange(w.dataText);
    EXPECT_FALSE(w.Preview_Is_Blank());
    EXPECT_FALSE(w.barcode_error_label->isVisibleTo(&w));
}

TEST_F(MainWindowTest, NonAsciiLinearValueStopsTheRoad)
{
    BarcodeModeView& w = makeBarcode();
    const int encodes = w.Encode_Count();
    w.dataText->setText(QString::fromUtf8("12\xC3\xA9"));
    w.controlTextDidChange(w.dataText);
    EXPECT_EQ(w.Encode_Count(), encodes);
    EXPECT_TRUE(w.Preview_Is_Blank());
}

TEST_F(MainWindowTest, UpcAndEanSwitchKerningOff)
{
    BarcodeModeView& w = makeBarcode();
    struct Case { const char* type; const char* value; bool kerningEnabled; };
    const Case cases[] = {
        {"UPCA", "12345678901", false},  {"Code 39", "ABC", true},
        {"UPCE", "0123456", false},      {"Code 128", "abc", true},
        {"EAN-8", "1234567", false},     {"EAN-13", "123456789012", false},
        {"Interleaved 2 of 5", "1234", true},
    };
    w.kerning_value_Checkbox->setChecked(true);
    for (const Case& c : cases) {
        w.dataText->setText(c.value);
        chooseType(c.type);
        EXPECT_EQ(w.kerning_value_Checkbox->isEnabled(), c.kerningEnabled) << c.type;
        EXPECT_EQ(w.Barcode_Settings().kerning_value, c.kerningEnabled ? 1 : 0) << c.type;
        EXPECT_FALSE(w.Preview_Is_Blank()) << c.type;
    }
    // With no value the rule is not applied: blank preview, kerning stays available.
    w.dataText->clear();
    chooseType("UPCA");
    EXPECT_TRUE(w.Preview_Is_Blank());
    EXPECT_TRUE(w.kerning_value_Checkbox->isEnabled());
}

TEST_F(MainWindowTest, TwoDimensionalPanesAndReframing)
{
    BarcodeModeView& w = makeBarcode();
    chooseType("QR Code");
    EXPECT_EQ(w.liner_or_2D_font, 1);
    EXPECT_TRUE(w.TwoD_Barcode_RD->isChecked());
    EXPECT_FALSE(w.two_d_sett_box->isHidden());
    EXPECT_TRUE(w.pdf_2d_sett_box->isHidden());
    EXPECT_TRUE(w.dm_2d_sett_box->isHidden());
    EXPECT_TRUE(w.linear_sett_box->isHidden());
    EXPECT_TRUE(w.dataText->isHidden());
    EXPECT_FALSE(w.dataText_2D->isHidden());
    EXPECT_FALSE(w.transparent_bkgnd->isHidden());
    EXPECT_GE(w.sett_tab_barcode->indexOf(w.dpi_tab_item), 0);  // DPI shown for 2D
    EXPECT_FALSE(w.Preview_Is_Blank());

    // Header edits frame the same symbol again; value edits encode.
    const int encodes = w.Encode_Count();
    const int draws = w.Draw_Count();
    w.HeaderText->setText("A MUCH LONGER HEADER TEXT THAN BEFORE");
    w.controlTextDidChange(w.HeaderText);
    EXPECT_EQ(w.Encode_Count(), encodes);
    EXPECT_EQ(w.Draw_Count(), draws + 1);
    EXPECT_EQ(w.Barcode_Settings().header, "A MUCH LONGER HEADER TEXT THAN BEFORE");
    {
        const BarcodeSettings now = w.Barcode_Settings();
        const PtImage fresh = Make_Barcode_Image(now, now.dataText_2D, now.HeaderText, now.FooterText);
        EXPECT_NEAR(fresh.size().width(), w.Preview_Image().size().width(), 0.01);
        EXPECT_NEAR(fresh.size().height(), w.Preview_Image().size().height(), 0.01);
    }

    w.dataText_2D->setPlainText("https://example.org/qr");   // textChanged -> typing road
    EXPECT_EQ(w.Encode_Count(), encodes + 1);
    EXPECT_EQ(Type_draw_2d_flag, 0);   // cleared after the 2D generation

    chooseType("PDF417");
    EXPECT_FALSE(w.pdf_2d_sett_box->isHidden());
    EXPECT_TRUE(w.two_d_sett_box->isHidden());
    chooseType("DataMatrix");
    EXPECT_FALSE(w.dm_2d_sett_box->isHidden());
    EXPECT_FALSE(w.Preview_Is_Blank());

    // Back to a linear type: the linear pane, no DPI choice.
    w.dataText->setText("ABC-123");
    chooseType("Code 39");
    EXPECT_EQ(w.liner_or_2D_font, 0);
    EXPECT_FALSE(w.linear_sett_box->isHidden());
    EXPECT_TRUE(w.dm_2d_sett_box->isHidden());
    EXPECT_LT(w.sett_tab_barcode->indexOf(w.dpi_tab_item), 0);
    EXPECT_FALSE(w.Preview_Is_Blank());

    // The 2D radio with a linear name shows the 2D controls and leaves the boxes.
    w.TwoD_Barcode_Select();
    EXPECT_EQ(w.liner_or_2D_font, 1);
    EXPECT_TRUE(w.linear_sett_box->isHidden());
    EXPECT_TRUE(w.Preview_Is_Blank());   // a linear name draws no 2D symbol
}

TEST_F(MainWindowTest, PairsKeepTheirFieldAndStepperTogether)
{
    BarcodeModeView& w = makeBarcode();
    w.val_mar_Text->setText("0.5");
    w.Value_Margin_Changed(w.val_mar_Text);
    EXPECT_DOUBLE_EQ(w.val_mar_Stepper->value(), 0.5);
    w.val_mar_Stepper->stepUp();
    EXPECT_EQ(w.val_mar_Text->text(), "0.6");
    EXPECT_FLOAT_EQ(w.Barcode_Settings().val_mar, 0.6f);

    w.pdf_row_Stepper->stepUp();
    EXPECT_EQ(w.pdf_row_Text->text(), "1");
    w.widthText->setText("30");
    w.widthChanged(w.widthText);
    EXPECT_EQ(w.widthStepper->intValue(), 30);
    EXPECT_FLOAT_EQ(w.Barcode_Settings().bar_width_mils, 30.0f);
}

TEST_F(MainWindowTest, DataMatrixSizeFollowsTheFormat)
{
    BarcodeModeView& w = makeBarcode();
    auto setDm = [&](int width, int height) {
        w.dm_widthStepper_2D->setValue(width);
        w.dm_widthText_2D->setText(QString::number(width));
        w.dm_HeightStepper_2D->setValue(height);
        w.dm_HeightText_2D->setText(QString::number(height));
    };
    w.dm_moduleStepper_2D->setValue(2);
    w.dm_format_ComboBox->setCurrentText("C12X26");
    setDm(20, 20);
    w.data_matrix_barcode_size_acc_format();
    EXPECT_EQ(w.dm_widthStepper_2D->intValue(), 52);
    EXPECT_EQ(w.dm_widthText_2D->text(), "52");
    EXPECT_EQ(w.dm_HeightStepper_2D->intValue(), 24);
    setDm(80, 90);   // larger values stay
    w.data_matrix_barcode_size_acc_format();
    EXPECT_EQ(w.dm_widthStepper_2D->intValue(), 80);
    EXPECT_EQ(w.dm_HeightStepper_2D->intValue(), 90);
    w.dm_format_ComboBox->setCurrentText("Auto");
    setDm(20, 20);
    w.data_matrix_barcode_size_acc_format();
    EXPECT_EQ(w.dm_widthStepper_2D->intValue(), 20);
}

TEST_F(MainWindowTest, QrVersionAndDpiChoices)
{
    BarcodeModeView& w = makeBarcode();
    chooseType("QR Code");
    w.qr_version_ComboBox->setCurrentIndex(10);
    w.comboBoxSelectionDidChange(w.qr_version_ComboBox);
    EXPECT_EQ(w.HeightStepper_2D->minimum(), 57);
    EXPECT_GE(w.HeightStepper_2D->intValue(), 60);   // 60 is above the minimum: it stays
    w.qr_version_ComboBox->setCurrentIndex(40);
    w.comboBoxSelectionDidChange(w.qr_version_ComboBox);
    EXPECT_EQ(w.HeightText_2D->text(), "177");

    // The DPI choice changes the resolution in use without drawing anew.
    const int encodes = w.Encode_Count();
    w.DPI_ComboBox->setCurrentText("300");
    w.comboBoxSelectionDidChange(w.DPI_ComboBox);
    EXPECT_EQ(USED_DPI_VALUE, 300);
    EXPECT_TRUE(w.dpi_Stepper->isHidden());
    w.DPI_ComboBox->setCurrentText("Custom");
    w.comboBoxSelectionDidChange(w.DPI_ComboBox);
    EXPECT_FALSE(w.dpi_Stepper->isHidden());
    w.dpi_Text->setText("5000");   // beyond the largest DPI
    w.DPI_Value_Changed(w.dpi_Text);
    EXPECT_EQ(USED_DPI_VALUE, 2400);
    EXPECT_EQ(w.dpi_Text->text(), "2400");
    w.DPI_ComboBox->setCurrentText("Auto");
    w.comboBoxSelectionDidChange(w.DPI_ComboBox);
    EXPECT_EQ(USED_DPI_VALUE, 600);
    EXPECT_EQ(w.Encode_Count(), encodes);
}

TEST_F(MainWindowTest, HelpButtonsShowTheirTitleAndText)
{
    BarcodeModeView& w = makeBarcode();
    QStringList shown;
    ModalRunner previous = Set_Modal_Runner([&shown](QDialog& d) {
        if (auto* box = qobject_cast<Long_SMS_Dlg*>(&d))
            shown << box->_Msg_Title->text() + "|" + box->_Msg_Val->toPlainText();
        return 1;
    });
    struct Case { void (BarcodeModeView::*handler)(); const char* title; const char* textStart; };
    const Case cases[] = {
        {&BarcodeModeView::QR_Version_Help_Btn, "Version :", "Version is configuration"},
        {&BarcodeModeView::QR_EC_Lvl_Help_Btn, "Error correction (EC) level :", "An error-correction"},
        {&BarcodeModeView::PDF_row_Help_btn, "PDF Rows :", "Number of rows in the PDF barcode."},
        {&BarcodeModeView::PDF_col_Help_btn, "PDF Columns :", "Number of columns"},
        {&BarcodeModeView::PDF_ec_lvl_Help_btn, "PDF EC Level :", "An error-correction"},
        {&BarcodeModeView::DM_format_Help_btn, "Preferred Format :", "Preferred Mode determines"},
        {&BarcodeModeView::DM_Encoding_Help_btn, "Encoding Mode :", "Encoding Mode is mode"},
        {&BarcodeModeView::Batch_Help_Button, "Batch Processing Settings Help :", "Select these option"},
        {&BarcodeModeView::DPI_Help_Label, "DPI (Dots Per Inch) :", "Dots per inch"},
    };
    for (const Case& c : cases)
        (w.*c.handler)();
    Set_Modal_Runner(previous);
    ASSERT_EQ(shown.size(), int(std::size(cases)));
    for (int i = 0; i < shown.size(); ++i) {
        EXPECT_TRUE(shown[i].startsWith(QString::fromUtf8(cases[i].title) + "|")) << shown[i].toStdString();
        EXPECT_TRUE(shown[i].section('|', 1).startsWith(QString::fromUtf8(cases[i].textStart)))
            << shown[i].toStdString();
    }
}
