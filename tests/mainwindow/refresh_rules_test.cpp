// Control by control: which settings changes encode the value again, which
// only draw the kept symbol again (linear) or frame it again (2D), and which
// change nothing in the preview.
#include "MainWindowFixture.h"

#include "barcode/generation/panes/BarcodePreview.h"
#include "barcode/generation/panes/ColourPane.h"
#include "barcode/generation/panes/TextPane.h"
#include "core/util/BarcodeSettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QThread>

#include <atomic>
#include <functional>
#include <thread>

namespace {
enum class Effect { Encode, Draw, Nothing };

struct Step {
    const char* control;
    std::function<void()> act;
    Effect effect;
};

QFont sized(QFont f, double points)
{
    f.setPointSizeF(points);
    return f;
}

// Runs the steps one after the other on one window and checks each one's effect.
void runSteps(BarcodeModeView& w, const std::vector<Step>& steps, const char* kind)
{
    for (const Step& s : steps) {
        ASSERT_FALSE(w.Preview_Is_Blank()) << kind << ", before " << s.control;
        const int encodes = w.Encode_Count();
        const int draws = w.Draw_Count();
        s.act();
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
    TextPane* text = w.textPane();
    ColourPane* colours = w.colourPane();
    const std::vector<Step> steps = {
        {"value font", [&] { text->changeFont(sized(w.Barcode_Settings().value_font, 14)); }, Effect::Draw},
        {"header font", [&] { text->header_changeFont(sized(w.Barcode_Settings().header_font, 14)); }, Effect::Draw},
        {"footer font", [&] { text->footer_changeFont(sized(w.Barcode_Settings().footer_font, 8)); }, Effect::Draw},
        {"bar colour", [&] { colours->chooseColour("barcode_clr", Qt::darkBlue); }, Effect::Draw},
        {"header colour", [&] { colours->chooseColour("bar_hdr_clr", Qt::red); }, Effect::Draw},
        {"clear background", [&] { ctl<QRadioButton>("brcd_bk_clr_trnsp_rd")->click(); }, Effect::Draw},
        {"white background", [&] { ctl<QRadioButton>("brcd_bk_clr_rd")->click(); }, Effect::Draw},
        {"value margin", [&] { ctl<Stepper>("val_mar_Stepper")->stepUp(); }, Effect::Draw},
        {"header margin", [&] { ctl<Stepper>("hdr_mar_Stepper")->stepUp(); }, Effect::Draw},
        {"footer margin", [&] { ctl<Stepper>("ftr_mar_Stepper")->stepUp(); }, Effect::Draw},
        {"top and bottom margin", [&] { ctl<Stepper>("TB_mar_Stepper")->stepUp(); }, Effect::Draw},
        {"left and right margin", [&] { ctl<Stepper>("LR_mar_Stepper")->stepUp(); }, Effect::Draw},
        {"bar height", [&] { ctl<Stepper>("HeightStepper")->stepUp(); }, Effect::Draw},
        {"bar width typed", [&] { drive::enter(ctl<QLineEdit>("widthText"), "21"); }, Effect::Draw},
        {"header alignment", [&] { drive::choose(ctl<QComboBox>("align_hdr_combo"), 0); }, Effect::Draw},
        {"footer alignment", [&] { drive::choose(ctl<QComboBox>("align_ftr_combo"), 2); }, Effect::Draw},
        {"orientation", [&] { drive::choose(ctl<QComboBox>("bar_orient_combo"), 0); }, Effect::Draw},
        {"preview position", [&] { drive::choose(ctl<QComboBox>("bar_align_combo"), 2); }, Effect::Nothing},
        {"DPI", [&] { drive::choose(ctl<QComboBox>("DPI_ComboBox"), 1); }, Effect::Nothing},
        {"hide value", [&] { ctl<QCheckBox>("captionCheckbox")->click(); }, Effect::Draw},
        {"show value", [&] { ctl<QCheckBox>("captionCheckbox")->click(); }, Effect::Draw},
        {"value on top", [&] { ctl<QCheckBox>("showinTopCheckbox")->click(); }, Effect::Draw},
        {"hide header", [&] { ctl<QCheckBox>("hideHeaderCheckbox")->click(); }, Effect::Draw},
        {"hide footer", [&] { ctl<QCheckBox>("hideFooterCheckbox")->click(); }, Effect::Draw},
        {"kerning", [&] { ctl<QCheckBox>("kerning_value_Checkbox")->click(); }, Effect::Draw},
        {"header text", [&] { drive::type(ctl<QLineEdit>("HeaderText"), "NEW"); }, Effect::Encode},
        {"value text", [&] { drive::type(ctl<QLineEdit>("dataText"), "777"); }, Effect::Encode},
        {"value field left", [&] { emit ctl<QLineEdit>("dataText")->editingFinished(); }, Effect::Nothing},
        {"Encode button", [&] { ctl<QPushButton>("encode_btn")->click(); }, Effect::Encode},
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
    EXPECT_EQ(w.preview()->imageView()->imageAlignment(), Qt::AlignTop | Qt::AlignLeft);

    // Drawn again, the symbol has the size a fresh encoding with the same
    // settings gives.
    const PtImage fresh = Make_Barcode_Image(s, s.dataText, s.HeaderText, s.FooterText);
    ASSERT_FALSE(fresh.isNull());
    EXPECT_NEAR(fresh.size().width(), w.Preview_Image().size().width(), 0.01);
    EXPECT_NEAR(fresh.size().height(), w.Preview_Image().size().height(), 0.01);
}

TEST_F(MainWindowTest, TwoDimensionalControlsEncodeOrFrameAgain)
{
    BarcodeModeView& w = makeBarcode();
    chooseType("QR Code");
    TextPane* text = w.textPane();
    ColourPane* colours = w.colourPane();
    const std::vector<Step> qr = {
        {"value font", [&] { text->changeFont(sized(w.Barcode_Settings().value_font, 14)); }, Effect::Draw},
        {"header font", [&] { text->header_changeFont(sized(w.Barcode_Settings().header_font, 16)); }, Effect::Draw},
        {"bar colour", [&] { colours->chooseColour("barcode_clr", Qt::darkGreen); }, Effect::Draw},
        {"footer colour", [&] { colours->chooseColour("bar_ftr_clr", Qt::blue); }, Effect::Draw},
        {"transparent background", [&] { ctl<QCheckBox>("transparent_bkgnd")->click(); }, Effect::Draw},
        {"value margin", [&] { ctl<Stepper>("val_mar_Stepper")->stepUp(); }, Effect::Nothing},
        {"header margin", [&] { ctl<Stepper>("hdr_mar_Stepper")->stepUp(); }, Effect::Draw},
        {"footer margin", [&] { ctl<Stepper>("ftr_mar_Stepper")->stepUp(); }, Effect::Draw},
        {"top and bottom margin", [&] { ctl<Stepper>("TB_mar_Stepper")->stepUp(); }, Effect::Draw},
        {"left and right margin", [&] { ctl<Stepper>("LR_mar_Stepper")->stepUp(); }, Effect::Draw},
        {"hide header", [&] { ctl<QCheckBox>("hideHeaderCheckbox")->click(); }, Effect::Draw},
        {"show header", [&] { ctl<QCheckBox>("hideHeaderCheckbox")->click(); }, Effect::Draw},
        {"hide footer", [&] { ctl<QCheckBox>("hideFooterCheckbox")->click(); }, Effect::Draw},
        {"header alignment", [&] { drive::choose(ctl<QComboBox>("align_hdr_combo"), 0); }, Effect::Draw},
        {"DPI", [&] { drive::choose(ctl<QComboBox>("DPI_ComboBox"), 1); }, Effect::Nothing},
        {"symbol size", [&] { ctl<Stepper>("HeightStepper_2D")->stepUp(); }, Effect::Encode},
        {"QR version", [&] { drive::choose(ctl<QComboBox>("qr_version_ComboBox"), 3); }, Effect::Encode},
        {"QR EC level", [&] { drive::choose(ctl<QComboBox>("qr_ec_lvl_ComboBox"), 2); }, Effect::Encode},
        {"QR encoding", [&] { drive::choose(ctl<QComboBox>("qr_enc_mode_ComboBox"), 1); }, Effect::Encode},
        {"footer text", [&] { drive::type(ctl<QLineEdit>("FooterText"), "F2"); }, Effect::Draw},
        {"value text", [&] { ctl<QPlainTextEdit>("dataText_2D")->setPlainText("QR-2"); }, Effect::Encode},
    };
    runSteps(w, qr, "QR Code");
    BarcodeSettings s = w.Barcode_Settings();
    EXPECT_TRUE(s.fill_transparent);
    EXPECT_EQ(s.QR_Version_Val, 3);
    EXPECT_EQ(s.QR_EC_Level_Val, 2);
    EXPECT_EQ(s.footer, "F2");
    EXPECT_TRUE(s.printsHeader);
    EXPECT_EQ(s.align_hdr, "Left");
    EXPECT_EQ(s.USED_DPI_VALUE, 72);   // the first fixed DPI
    // The header alignment is drawn: re-framed, the preview is what a fresh
    // encoding with these settings gives.
    s.Type_draw_2d_flag = false;
    const PtImage fresh = Make_Barcode_Image(s, s.dataText_2D, s.HeaderText, s.FooterText);
    ASSERT_FALSE(fresh.isNull());
    EXPECT_EQ(fresh.size(), w.Preview_Image().size());

    ctl<QPlainTextEdit>("dataText_2D")->setPlainText("PDF-417 sample");
    chooseType("PDF417");
    const std::vector<Step> pdf = {
        {"width", [&] { ctl<Stepper>("Pdf_widthStepper_2D")->stepUp(); }, Effect::Encode},
        {"height", [&] { ctl<Stepper>("pdf_HeightStepper_2D")->stepUp(); }, Effect::Encode},
        {"rows", [&] { ctl<Stepper>("pdf_row_Stepper")->stepUp(); }, Effect::Encode},
        {"columns", [&] { ctl<Stepper>("pdf_col_Stepper")->stepUp(); }, Effect::Encode},
        {"EC level", [&] { ctl<Stepper>("pdf_ec_lvl_Stepper")->stepUp(); }, Effect::Encode},
    };
    runSteps(w, pdf, "PDF417");
    EXPECT_EQ(w.Barcode_Settings().pdf_ec_level, 3);

    chooseType("DataMatrix");
    const std::vector<Step> dm = {
        {"width", [&] { ctl<Stepper>("dm_widthStepper_2D")->stepUp(); }, Effect::Encode},
        {"height", [&] { ctl<Stepper>("dm_HeightStepper_2D")->stepUp(); }, Effect::Encode},
        {"module size", [&] { ctl<Stepper>("dm_moduleStepper_2D")->stepUp(); }, Effect::Encode},
        {"size format", [&] { drive::choose(ctl<QComboBox>("dm_format_ComboBox"), 5); }, Effect::Encode},
        {"encodation", [&] { drive::choose(ctl<QComboBox>("dm_encoding_ComboBox"), 1); }, Effect::Encode},
        {"header text", [&] { drive::type(ctl<QLineEdit>("HeaderText"), "DM"); }, Effect::Draw},
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
    drive::type(ctl<QLineEdit>("dataText"), QString());
    ASSERT_TRUE(w.Preview_Is_Blank());
    // Look changes redraw the kept symbol only while the field holds a value.
    w.textPane()->changeFont(sized(w.Barcode_Settings().value_font, 20));
    w.colourPane()->chooseColour("barcode_clr", Qt::red);
    ctl<Stepper>("TB_mar_Stepper")->stepUp();
    ctl<QCheckBox>("hideFooterCheckbox")->click();
    drive::choose(ctl<QComboBox>("align_hdr_combo"), 2);
    EXPECT_TRUE(w.Preview_Is_Blank());
    EXPECT_TRUE(w.preview()->imageView()->image().isNull());

    // Same for a 2D symbol: an emptied value leaves nothing to frame.
    chooseType("QR Code");
    ASSERT_FALSE(w.Preview_Is_Blank());
    ctl<QPlainTextEdit>("dataText_2D")->clear();
    ASSERT_TRUE(w.Preview_Is_Blank());
    drive::type(ctl<QLineEdit>("HeaderText"), "H");
    w.textPane()->header_changeFont(sized(w.Barcode_Settings().header_font, 20));
    EXPECT_TRUE(w.Preview_Is_Blank());
}

TEST_F(MainWindowTest, WorkersReachThePreviewOnlyThroughTheGuiThread)
{
    BarcodeModeView& w = makeBarcode();
    QThread* gui = QThread::currentThread();
    std::atomic<bool> offThread{false};
    QObject::connect(&w, &BarcodeModeView::previewChanged, &w,
                     [&] { if (QThread::currentThread() != gui) offThread = true; }, Qt::DirectConnection);
    drive::type(ctl<QLineEdit>("HeaderText"), "FROM A WORKER");
    const int encodes = w.Encode_Count();

    std::atomic<bool> done{false};
    BarcodeSettings seen;
    std::thread worker([&] {
        seen = Current_Barcode_Settings();   // an engine asking for the settings
        window->goButtonActionPerformed();
        done = true;
    });
    while (!done)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    worker.join();
    EXPECT_EQ(w.Encode_Count(), encodes + 1);
    EXPECT_FALSE(offThread);
    EXPECT_EQ(seen.HeaderText, "FROM A WORKER");
    EXPECT_EQ(seen.barcodeType, w.Barcode_Type_Name());
    EXPECT_GT(seen.TB_margin, 0.0f);   // in points
}

TEST_F(MainWindowTest, ThePositionChoiceMovesOnlyALinearSymbol)
{
    BarcodeModeView& w = makeBarcode();
    window->resize(1366, 768);
    window->show();
    BarcodeImageView* view = w.preview()->imageView();
    auto* position = ctl<QComboBox>("bar_align_combo");
    ASSERT_LT(view->imageRect().width(), view->width());

    drive::choose(position, "Right");
    EXPECT_EQ(view->imageRect().right(), view->rect().right()) << "a linear symbol goes right";

    chooseType("QR Code");
    ASSERT_FALSE(w.Preview_Is_Blank());
    const QRect before = view->imageRect();
    ASSERT_LT(before.width(), view->width());
    for (const char* choice : {"Left", "TopLeft", "Center"}) {
        drive::choose(position, choice);
        EXPECT_EQ(view->imageRect(), before) << "a 2D symbol stays where it is: " << choice;
    }
    EXPECT_EQ(view->imageAlignment(), Qt::AlignRight | Qt::AlignVCenter);
}

TEST_F(MainWindowTest, PreviewShowsTheSymbolAtItsPrintedSize)
{
    BarcodeModeView& w = makeBarcode();
    window->resize(1366, 768);
    window->show();
    BarcodeImageView* view = w.preview()->imageView();
    const QSizeF points = w.Preview_Image().size();
    const double perPoint = std::max(1.0, view->logicalDpiX() / 72.0);
    const QRect shown = view->imageRect();
    EXPECT_NEAR(shown.width(), points.width() * perPoint, 1.0);
    EXPECT_NEAR(shown.height(), points.height() * perPoint, 1.0);
    // A symbol larger than the view scrolls rather than shrinks.
    drive::type(ctl<QLineEdit>("dataText"), QString(60, QLatin1Char('7')));
    EXPECT_GE(view->width(), qRound(w.Preview_Image().size().width() * perPoint));
    auto* scroll = ctl<QScrollArea>("image_scroll");
    EXPECT_TRUE(scroll->horizontalScrollBar()->maximum() > 0);
}
