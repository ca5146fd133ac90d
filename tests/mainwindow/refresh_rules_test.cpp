// Control by control: which settings changes encode the value again, which
// only draw the kept symbol again (linear) or frame it again (2D), and which
// change nothing in the preview.
#include "MainWindowFixture.h"

#include "core/util/BarcodeSettings.h"
#include "mainwindow/Stepper.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QThread>

#include <atomic>
#include <functional>
#include <thread>

namespace {
enum class Effect { Encode, Draw, Nothing };

struct Step {
    const char* control;
    std::function<void(BarcodeModeView&)> act;
    Effect effect;
};

QFont sized(QFont f, double points)
{
    f.setPointSizeF(points);
    return f;
}

void choose(BarcodeModeView& w, QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
    w.comboBoxSelectionDidChange(combo);
}

// Runs the steps one after the other on one window and checks each one's effect.
void runSteps(BarcodeModeView& w, const std::vector<Step>& steps, const char* kind)
{
    for (const Step& s : steps) {
        ASSERT_FALSE(w.Preview_Is_Blank()) << kind << ", before " << s.control;
        const int encodes = w.Encode_Count();
        const int draws = w.Draw_Count();
        s.act(w);
        const int encoded = w.Encode_Count() - encodes;
        const int drawn = w.Draw_Count() - draws;
        switch (s.effect) {
        case Effect::Encode:
            EXPECT_EQ(encoded, 1) << kind << ": " << s.control;
            EXPECT_EQ(drawn, 1) << kind << ": " << s.control;
            break;
        case Effect::Draw:
            EXPECT_EQ(encoded, 0) << kind << ": " << s.control;
            EXPECT_EQ(drawn, 1) << kind << ": " << s.control;
            break;
        case Effect::Nothing:
            EXPECT_EQ(encoded, 0) << kind << ": " << s.control;
            EXPECT_EQ(drawn, 0) << kind << ": " << s.control;
            break;
        }
        EXPECT_FALSE(w.Preview_Is_Blank()) << kind << ", after " << s.control;
    }
}
} // namespace

TEST_F(MainWindowTest, LinearControlsEncodeOrDrawAgain)
{
    BarcodeModeView& w = makeBarcode();
    const std::vector<Step> steps = {
        {"value font", [](auto& w) { w.changeFont(sized(w.value_font, 14)); }, Effect::Draw},
        {"header font", [](auto& w) { w.header_changeFont(sized(w.header_font, 14)); }, Effect::Draw},
        {"footer font", [](auto& w) { w.footer_changeFont(sized(w.footer_font, 8)); }, Effect::Draw},
        {"bar colour", [](auto& w) { w.barcode_clr->setColor(Qt::darkBlue, true); }, Effect::Draw},
        {"header colour", [](auto& w) { w.bar_hdr_clr->setColor(Qt::red, true); }, Effect::Draw},
        {"clear background", [](auto& w) { w.brcd_bk_clr_trnsp_rd->click(); }, Effect::Draw},
        {"white background", [](auto& w) { w.brcd_bk_clr_rd->click(); }, Effect::Draw},
        {"value margin", [](auto& w) { w.val_mar_Stepper->stepUp(); }, Effect::Draw},
        {"header margin", [](auto& w) { w.hdr_mar_Stepper->stepUp(); }, Effect::Draw},
        {"footer margin", [](auto& w) { w.ftr_mar_Stepper->stepUp(); }, Effect::Draw},
        {"top and bottom margin", [](auto& w) { w.TB_mar_Stepper->stepUp(); }, Effect::Draw},
        {"left and right margin", [](auto& w) { w.LR_mar_Stepper->stepUp(); }, Effect::Draw},
        {"bar height", [](auto& w) { w.HeightStepper->stepUp(); }, Effect::Draw},
        {"bar width", [](auto& w) { w.widthStepper->stepUp(); }, Effect::Draw},
        {"header alignment", [](auto& w) { choose(w, w.align_hdr_combo, 0); }, Effect::Draw},
        {"footer alignment", [](auto& w) { choose(w, w.align_ftr_combo, 2); }, Effect::Draw},
        {"orientation", [](auto& w) { choose(w, w.bar_orient_combo, 0); }, Effect::Draw},
        {"preview position", [](auto& w) { choose(w, w.bar_align_combo, 2); }, Effect::Nothing},
        {"DPI", [](auto& w) { choose(w, w.DPI_ComboBox, 1); }, Effect::Nothing},
        {"hide value", [](auto& w) { w.captionCheckbox->click(); }, Effect::Draw},
        {"show value", [](auto& w) { w.captionCheckbox->click(); }, Effect::Draw},
        {"value on top", [](auto& w) { w.showinTopCheckbox->click(); }, Effect::Draw},
        {"hide header", [](auto& w) { w.hideHeaderCheckbox->click(); }, Effect::Draw},
        {"hide footer", [](auto& w) { w.hideFooterCheckbox->click(); }, Effect::Draw},
        {"kerning", [](auto& w) { w.kerning_value_Checkbox->click(); }, Effect::Draw},
        {"header text", [](auto& w) { w.HeaderText->setText("NEW"); w.controlTextDidChange(w.HeaderText); },
         Effect::Encode},
        {"value text", [](auto& w) { w.dataText->setText("777"); w.controlTextDidChange(w.dataText); },
         Effect::Encode},
    };
    runSteps(w, steps, "linear");

    // What the controls wrote reached the settings the engines read.
    const BarcodeSettings s = w.Barcode_Settings();
    EXPECT_EQ(s.barcode_clr, QColor(Qt::darkBlue));
    EXPECT_EQ(s.bar_back_clr, QColor(Qt::white));
    EXPECT_FALSE(s.fill_transparent);
    EXPECT_FLOAT_EQ(s.LR_mar, 0.2f);
    EXPECT_FLOAT_EQ(s.bar_width_mils, 21.0f);
    EXPECT_EQ(s.align_hdr, "Left");
    EXPECT_EQ(s.align_ftr, "Right");
    EXPECT_EQ(s.showinTop, 1);
    EXPECT_TRUE(s.hide_header);
    EXPECT_EQ(s.kerning_value, 1);
    EXPECT_EQ(s.dataText, "777");
    EXPECT_EQ(w.barcodeImage->alignment(), Qt::AlignTop | Qt::AlignLeft);
}

TEST_F(MainWindowTest, TwoDimensionalControlsEncodeOrFrameAgain)
{
    BarcodeModeView& w = makeBarcode();
    chooseType("QR Code");
    const std::vector<Step> qr = {
        {"value font", [](auto& w) { w.changeFont(sized(w.value_font, 14)); }, Effect::Draw},
        {"header font", [](auto& w) { w.header_changeFont(sized(w.header_font, 16)); }, Effect::Draw},
        {"bar colour", [](auto& w) { w.barcode_clr->setColor(Qt::darkGreen, true); }, Effect::Draw},
        {"footer colour", [](auto& w) { w.bar_ftr_clr->setColor(Qt::blue, true); }, Effect::Draw},
        {"transparent background", [](auto& w) { w.transparent_bkgnd->click(); }, Effect::Draw},
        {"value margin", [](auto& w) { w.val_mar_Stepper->stepUp(); }, Effect::Nothing},
        {"header margin", [](auto& w) { w.hdr_mar_Stepper->stepUp(); }, Effect::Draw},
        {"footer margin", [](auto& w) { w.ftr_mar_Stepper->stepUp(); }, Effect::Draw},
        {"top and bottom margin", [](auto& w) { w.TB_mar_Stepper->stepUp(); }, Effect::Draw},
        {"left and right margin", [](auto& w) { w.LR_mar_Stepper->stepUp(); }, Effect::Draw},
        {"hide header", [](auto& w) { w.hideHeaderCheckbox->click(); }, Effect::Draw},
        {"hide footer", [](auto& w) { w.hideFooterCheckbox->click(); }, Effect::Draw},
        {"header alignment", [](auto& w) { choose(w, w.align_hdr_combo, 0); }, Effect::Nothing},
        {"DPI", [](auto& w) { choose(w, w.DPI_ComboBox, 1); }, Effect::Nothing},
        {"symbol size", [](auto& w) { w.HeightStepper_2D->stepUp(); }, Effect::Encode},
        {"QR version", [](auto& w) { choose(w, w.qr_version_ComboBox, 3); }, Effect::Encode},
        {"QR EC level", [](auto& w) { choose(w, w.qr_ec_lvl_ComboBox, 2); }, Effect::Encode},
        {"QR encoding", [](auto& w) { choose(w, w.qr_enc_mode_ComboBox, 1); }, Effect::Encode},
        {"footer text", [](auto& w) { w.FooterText->setText("F2"); w.controlTextDidChange(w.FooterText); },
         Effect::Draw},
        {"value text", [](auto& w) { w.dataText_2D->setPlainText("QR-2"); }, Effect::Encode},
    };
    runSteps(w, qr, "QR Code");
    BarcodeSettings s = w.Barcode_Settings();
    EXPECT_TRUE(s.fill_transparent);
    EXPECT_EQ(s.qr_version, 3);
    EXPECT_EQ(s.qr_ec_level, 2);
    EXPECT_EQ(s.footer, "F2");
    EXPECT_FALSE(s.printsHeader);
    EXPECT_EQ(s.dpi, USED_DPI_VALUE);
    EXPECT_NE(s.dpi, 600);   // the DPI choice was taken up by the next encoding

    w.dataText_2D->setPlainText("PDF-417 sample");
    chooseType("PDF417");
    const std::vector<Step> pdf = {
        {"width", [](auto& w) { w.Pdf_widthStepper_2D->stepUp(); }, Effect::Encode},
        {"height", [](auto& w) { w.pdf_HeightStepper_2D->stepUp(); }, Effect::Encode},
        {"rows", [](auto& w) { w.pdf_row_Stepper->stepUp(); }, Effect::Encode},
        {"columns", [](auto& w) { w.pdf_col_Stepper->stepUp(); }, Effect::Encode},
        {"EC level", [](auto& w) { w.pdf_ec_lvl_Stepper->stepUp(); }, Effect::Encode},
    };
    runSteps(w, pdf, "PDF417");
    EXPECT_EQ(w.Barcode_Settings().pdf_ec_level, 3);

    chooseType("DataMatrix");
    const std::vector<Step> dm = {
        {"width", [](auto& w) { w.dm_widthStepper_2D->stepUp(); }, Effect::Encode},
        {"height", [](auto& w) { w.dm_HeightStepper_2D->stepUp(); }, Effect::Encode},
        {"module size", [](auto& w) { w.dm_moduleStepper_2D->stepUp(); }, Effect::Encode},
        {"size format", [](auto& w) { choose(w, w.dm_format_ComboBox, 5); }, Effect::Encode},
        {"encodation", [](auto& w) { choose(w, w.dm_encoding_ComboBox, 1); }, Effect::Encode},
        {"header text", [](auto& w) { w.HeaderText->setText("DM"); w.controlTextDidChange(w.HeaderText); },
         Effect::Draw},
    };
    runSteps(w, dm, "DataMatrix");
    s = w.Barcode_Settings();
    EXPECT_EQ(s.dm_module, 3);
    EXPECT_EQ(s.dm_format, 5);
    EXPECT_EQ(s.dm_encoding, 1);
}

TEST_F(MainWindowTest, EmptiedValueNeverBringsTheOldSymbolBack)
{
    BarcodeModeView& w = makeBarcode();
    ASSERT_TRUE(w.testBarcodeExists());
    w.dataText->clear();
    w.controlTextDidChange(w.dataText);
    ASSERT_TRUE(w.Preview_Is_Blank());
    // Look changes redraw the kept symbol only while the field still holds a value.
    w.changeFont(sized(w.value_font, 20));
    w.barcode_clr->setColor(Qt::red, true);
    w.TB_mar_Stepper->stepUp();
    w.hideFooterCheckbox->click();
    choose(w, w.align_hdr_combo, 2);
    EXPECT_TRUE(w.Preview_Is_Blank());
    EXPECT_TRUE(w.barcodeImage->pixmap().isNull());

    // Same for a 2D symbol: an emptied value leaves nothing to frame.
    chooseType("QR Code");
    ASSERT_FALSE(w.Preview_Is_Blank());
    w.dataText_2D->clear();
    ASSERT_TRUE(w.Preview_Is_Blank());
    w.HeaderText->setText("H");
    w.controlTextDidChange(w.HeaderText);
    w.header_changeFont(sized(w.header_font, 20));
    EXPECT_TRUE(w.Preview_Is_Blank());
}

TEST_F(MainWindowTest, PairFieldsShowWhatTheStepperKeeps)
{
    BarcodeModeView& w = makeBarcode();
    struct Case { QLineEdit* text; Stepper* stepper; void (BarcodeModeView::*handler)(QObject*);
                  const char* typed; const char* shown; };
    const Case cases[] = {
        {w.TB_mar_Text, w.TB_mar_Stepper, &BarcodeModeView::TB_Margin_Changed, "9999", "20"},
        {w.LR_mar_Text, w.LR_mar_Stepper, &BarcodeModeView::LR_Margin_Changed, "-3", "0"},
        {w.HeightText, w.HeightStepper, &BarcodeModeView::heightChanged, "abc", "0.1"},
        {w.widthText, w.widthStepper, &BarcodeModeView::widthChanged, "7.5", "7.5"},
        {w.val_mar_Text, w.val_mar_Stepper, &BarcodeModeView::Value_Margin_Changed, "0.35", "0.35"},
        {w.pdf_ec_lvl_Text, w.pdf_ec_lvl_Stepper, &BarcodeModeView::PDF_EC_Lvl_Changed, "12", "8"},
    };
    for (const Case& c : cases) {
        c.text->setText(c.typed);
        (w.*c.handler)(c.text);
        EXPECT_EQ(c.text->text(), c.shown) << c.typed;
        EXPECT_NEAR(c.stepper->value(), QString(c.shown).toDouble(), 1e-6) << c.typed;
    }
    // The settings follow the fields, so they hold the kept values too.
    const BarcodeSettings s = w.Barcode_Settings();
    EXPECT_FLOAT_EQ(s.TB_mar, 20.0f);
    EXPECT_FLOAT_EQ(s.LR_mar, 0.0f);
    EXPECT_FLOAT_EQ(s.bar_width_mils, 7.5f);
    EXPECT_FALSE(w.Preview_Is_Blank());
}

TEST_F(MainWindowTest, WorkersReachThePreviewOnlyThroughTheGuiThread)
{
    BarcodeModeView& w = makeBarcode();
    QThread* gui = QThread::currentThread();
    std::atomic<bool> offThread{false};
    QObject::connect(&w, &BarcodeModeView::previewChanged, &w,
                     [&] { if (QThread::currentThread() != gui) offThread = true; }, Qt::DirectConnection);
    w.HeaderText->setText("FROM A WORKER");
    w.controlTextDidChange(w.HeaderText);
    const int encodes = w.Encode_Count();

    std::atomic<bool> done{false};
    BarcodeSettings seen;
    std::thread worker([&] {
        seen = Current_Barcode_Settings();   // an engine asking for the settings
        w.goButtonActionPerformed();
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    EXPECT_EQ(w.Encode_Count(), encodes + 1);
    EXPECT_FALSE(offThread);
    EXPECT_EQ(seen.HeaderText, "FROM A WORKER");
    EXPECT_EQ(seen.barcodeType, w.barcodeTypePopup->currentText());
    EXPECT_GT(seen.TB_margin, 0.0f);   // filled in by the road, in points
}

TEST_F(MainWindowTest, PreviewShowsTheSymbolAtItsPrintedSize)
{
    BarcodeModeView& w = makeBarcode();
    const QSizeF points = w.Preview_Image().size();
    const double perPoint = std::max(1.0, w.logicalDpiX() / 72.0);
    const QSizeF shown = w.barcodeImage->pixmap().deviceIndependentSize();
    EXPECT_NEAR(shown.width(), points.width() * perPoint, 1.0);
    EXPECT_NEAR(shown.height(), points.height() * perPoint, 1.0);
    EXPECT_GE(w.barcodeImage->width(), qRound(shown.width()));   // scrolls rather than clips
}
