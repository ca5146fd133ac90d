// Barcode mode of the main window: settings flowing both ways between a
// settings value and the controls, the symbology panes, empty and refused
// values, the preview at the chosen DPI once typing ends.
#include "MainWindowFixture.h"

#include "barcode/engines/SymbologyTable.h"
#include "barcode/engines/grid/ModuleGrid.h"
#include "barcode/generation/BarcodeRoad.h"
#include "barcode/generation/TwoDSymbols.h"
#include "barcode/generation/panes/SymbologyPane.h"
#include "barcode/generation/panes/TextPane.h"
#include "core/util/MessageBoxes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QTextBrowser>

#include <cmath>

void MainWindowTest::chooseType(const QString& name)
{
    BarcodeModeView* v = window->barcodeModeView();
    ASSERT_GE(Symbology_Index(name), 0) << name.toStdString();
    v->symbologyPane()->chooseType(name);
    ASSERT_EQ(v->Barcode_Type_Name(), name);
}

TEST_F(MainWindowTest, SettingsLoadIntoTheControlsAndReadBack)
{
    BarcodeModeView& v = makeBarcode();
    for (const auto& [type, twoD] : {std::pair{QStringLiteral("Code 128 SET B"), 0},
                                     std::pair{QStringLiteral("PDF417"), 1}}) {
        SCOPED_TRACE(type.toStdString());
        BarcodeSettings s = Unusual_Settings(type, twoD);
        s.unit = 2;
        v.Load_Barcode_Settings(s);
        const BarcodeSettings back = v.Barcode_Settings();
        EXPECT_EQ(Control_Field_Differences(back, s), QStringList());
        EXPECT_EQ(back.unit, 2);
        EXPECT_EQ(v.liner_or_2D_font, twoD);
        // The panes follow the kind: the 2D value field for a 2D symbology.
        EXPECT_EQ(ctl<QPlainTextEdit>("dataText_2D")->isHidden(), !twoD);
        EXPECT_EQ(ctl<QLineEdit>("dataText")->isHidden(), bool(twoD));
        EXPECT_TRUE(ctl<QLabel>("bar_height_label")->text().contains("(mm)"));
    }
    // What the user changes is in the value at once.
    ctl<Stepper>("pdf_ec_lvl_Stepper")->stepUp();
    drive::type(ctl<QLineEdit>("HeaderText"), QStringLiteral("NOW"));
    const BarcodeSettings now = v.Barcode_Settings();
    EXPECT_EQ(now.pdf_ec_level, 6);
    EXPECT_EQ(now.HeaderText, QStringLiteral("NOW"));
    EXPECT_EQ(Current_Barcode_Settings().HeaderText, QStringLiteral("NOW"));
}

TEST_F(MainWindowTest, EmptyValueGivesABlankPreviewThatSaysWhy)
{
    BarcodeModeView& v = makeBarcode();
    drive::type(ctl<QLineEdit>("dataText"), QString());
    EXPECT_TRUE(v.Preview_Is_Blank());
    EXPECT_TRUE(ctl<QLabel>("barcode_error_label")->isVisibleTo(&v));
    EXPECT_TRUE(v.Preview_Notice().contains("empty"));
    EXPECT_TRUE(messages.isEmpty());   // the preview road asks nothing

    // Asked with the message flag (as the output commands do), it says why.
    EXPECT_FALSE(v.Check_And_Validat_Barcode(true, true));
    EXPECT_TRUE(sawMessage("Invalid barcode value or value is too long.\nThe value is empty."));

    // A value the symbology rejects also blanks the preview, naming the cause.
    drive::type(ctl<QLineEdit>("dataText"), "12");
    chooseType("EAN-13");
    EXPECT_TRUE(v.Preview_Is_Blank());
    EXPECT_TRUE(v.Preview_Notice().contains("EAN-13 takes 12 digits")) << v.Preview_Notice().toStdString();
    drive::type(ctl<QLineEdit>("dataText"), "123456789012");
    EXPECT_FALSE(v.Preview_Is_Blank());
    EXPECT_FALSE(ctl<QLabel>("barcode_error_label")->isVisibleTo(&v));

    // A linear value outside ASCII stops the road before encoding.
    const int encodes = v.Encode_Count();
    drive::type(ctl<QLineEdit>("dataText"), QString::fromUtf8("12\xC3\xA9"));
    EXPECT_EQ(v.Encode_Count(), encodes);
    EXPECT_TRUE(v.Preview_Is_Blank());
}

TEST_F(MainWindowTest, UpcAndEanSwitchKerningOff)
{
    BarcodeModeView& v = makeBarcode();
    auto* kerning = ctl<QCheckBox>("kerning_value_Checkbox");
    kerning->click();
    // The UPC and EAN captions are set in fixed groups under the bars; every
    // other linear code lets the user space its caption. Named here, not
    // read from the table the window uses.
    const QStringList fixed{QStringLiteral("UPCA"), QStringLiteral("UPCE"), QStringLiteral("EAN-13"),
                            QStringLiteral("EAN-8")};
    int linear = 0;
    for (const Symbology& s : Symbology_Table()) {
        if (s.isTwoD())
            continue;
        ++linear;
        const bool upcOrEan = fixed.contains(s.name());
        drive::type(ctl<QLineEdit>("dataText"), s.sampleValue());
        chooseType(s.name());
        EXPECT_EQ(kerning->isEnabled(), !upcOrEan) << s.title;
        EXPECT_EQ(v.Barcode_Settings().kerning_value, upcOrEan ? 0 : 1) << s.title;
        EXPECT_FALSE(v.Preview_Is_Blank()) << s.title;
    }
    EXPECT_EQ(linear, 19);
    // With no value the rule is not applied: blank preview, kerning stays available.
    drive::type(ctl<QLineEdit>("dataText"), QString());
    chooseType("UPCA");
    EXPECT_TRUE(v.Preview_Is_Blank());
    EXPECT_TRUE(kerning->isEnabled());
}

TEST_F(MainWindowTest, SymbologyChoosesItsPanes)
{
    BarcodeModeView& v = makeBarcode();
    auto* tabs = ctl<QTabWidget>("sett_tab_barcode");
    struct Box { const char* name; OptionPane pane; };
    const Box boxes[] = {{"linear_sett_box", OptionPane::Linear}, {"two_d_sett_box", OptionPane::QRCode},
                         {"pdf_2d_sett_box", OptionPane::PDF417}, {"dm_2d_sett_box", OptionPane::DataMatrix}};
    // The three 2D symbologies have panes of their own; every other one the
    // linear pane. Named here, not read from the table the window uses.
    auto paneOf = [](const QString& name) {
        if (name == QLatin1String("QR Code"))
            return OptionPane::QRCode;
        if (name == QLatin1String("PDF417"))
            return OptionPane::PDF417;
        if (name == QLatin1String("DataMatrix"))
            return OptionPane::DataMatrix;
        return OptionPane::Linear;
    };
    for (const QString& name : Symbology_Titles()) {
        SCOPED_TRACE(name.toStdString());
        const OptionPane pane = paneOf(name);
        const bool twoD = pane != OptionPane::Linear;
        const QString sample = Find_Symbology(name)->sampleValue();
        if (twoD)
            ctl<QPlainTextEdit>("dataText_2D")->setPlainText(sample);
        else
            drive::type(ctl<QLineEdit>("dataText"), sample);
        chooseType(name);
        EXPECT_EQ(v.liner_or_2D_font, twoD ? 1 : 0);
        for (const Box& b : boxes)
            EXPECT_EQ(ctl<QGroupBox>(b.name)->isVisibleTo(ctl<QWidget>("size_tab")), b.pane == pane) << b.name;
        EXPECT_EQ(ctl<QRadioButton>("TwoD_Barcode_RD")->isChecked(), twoD);
        EXPECT_EQ(ctl<QLineEdit>("dataText")->isHidden(), twoD);
        EXPECT_EQ(ctl<QCheckBox>("transparent_bkgnd")->isHidden(), !twoD);
        EXPECT_EQ(ctl<QCheckBox>("captionCheckbox")->isHidden(), twoD);
        // The DPI choice only for 2D symbols.
        EXPECT_EQ(tabs->indexOf(v.dpi_tab_item) >= 0, twoD);
        EXPECT_FALSE(v.Preview_Is_Blank());
    }
}

TEST_F(MainWindowTest, KindRadiosNeverLeaveNoBarcode)
{
    BarcodeModeView& v = makeBarcode();
    ctl<QPlainTextEdit>("dataText_2D")->setPlainText("PDF-417");
    chooseType("PDF417");
    ASSERT_FALSE(v.Preview_Is_Blank());
    // Linear while PDF417 is chosen: a linear symbology, and a barcode.
    ctl<QRadioButton>("Linear_Barcode_RD")->click();
    EXPECT_FALSE(Is_TwoD_Symbology(v.Barcode_Type_Name()));
    EXPECT_EQ(v.liner_or_2D_font, 0);
    EXPECT_FALSE(v.Preview_Is_Blank());
    EXPECT_FALSE(ctl<QGroupBox>("linear_sett_box")->isHidden());
    // 2D again: the 2D symbology chosen last.
    ctl<QRadioButton>("TwoD_Barcode_RD")->click();
    EXPECT_EQ(v.Barcode_Type_Name(), QStringLiteral("PDF417"));
    EXPECT_FALSE(v.Preview_Is_Blank());
}

TEST_F(MainWindowTest, TypedQrIsMadeAtTheChosenDpiWhenEditingEnds)
{
    BarcodeModeView& v = makeBarcode();
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    chooseType("QR Code");
    drive::choose(ctl<QComboBox>("DPI_ComboBox"), "300");
    auto* field = ctl<QPlainTextEdit>("dataText_2D");
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, "Typed QR");
    // While typing: a draft one pixel a point.
    ASSERT_FALSE(v.Preview_Is_Blank());
    EXPECT_TRUE(v.Preview_Is_Draft());
    const int qrSide = v.Barcode_Settings().qr_size;
    auto symbolPixels = [&] { return v.road().image_2d().raster().width(); };
    EXPECT_EQ(symbolPixels(), qrSide);
    // At 300 DPI every module takes the same whole number of pixels, so the
    // symbol is near, not always at, the pixels its points make at 300 DPI.
    const int at300 = Pixels_For(qrSide, 300);
    auto madeAt300 = [&] { return std::abs(symbolPixels() - at300) <= at300 / 20; };
    // Return ends editing: the symbol is made again at 300 DPI.
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_FALSE(v.Preview_Is_Draft());
    EXPECT_EQ(field->toPlainText(), QStringLiteral("Typed QR"));
    EXPECT_TRUE(madeAt300()) << symbolPixels();
    const PtImage preview = v.Preview_Image();
    const int frameAt300 = Pixels_For(preview.size().width(), 300);
    EXPECT_NEAR(preview.raster().width(), frameAt300, frameAt300 / 20);

    // Typing again and leaving the field does the same.
    QTest::keyClicks(field, "!");
    EXPECT_TRUE(v.Preview_Is_Draft());
    ctl<QLineEdit>("HeaderText")->setFocus();
    EXPECT_FALSE(v.Preview_Is_Draft());
    EXPECT_TRUE(madeAt300()) << symbolPixels();
    // So does the Encode button.
    QTest::keyClicks(field, "?");
    ctl<QPushButton>("encode_btn")->click();
    EXPECT_TRUE(madeAt300()) << symbolPixels();
}

TEST_F(MainWindowTest, OversizedSymbolIsRefusedAndTheUserToldWhy)
{
    BarcodeModeView& v = makeBarcode();
    ctl<QPlainTextEdit>("dataText_2D")->setPlainText("Zorv DM 42");
    chooseType("DataMatrix");
    ASSERT_FALSE(v.Preview_Is_Blank());
    // The largest module at 2400 DPI makes more pixels than a symbol may have.
    drive::choose(ctl<QComboBox>("DPI_ComboBox"), "Custom");
    drive::enter(ctl<QLineEdit>("dpi_Text"), "2400");
    drive::enter(ctl<QLineEdit>("dm_moduleText_2D"), "115");
    EXPECT_EQ(ctl<QLineEdit>("dm_moduleText_2D")->text(), QString::number(kDmModuleMax));
    EXPECT_TRUE(v.Preview_Is_Blank());
    EXPECT_TRUE(v.Preview_Notice().contains("2400 DPI")) << v.Preview_Notice().toStdString();
    EXPECT_TRUE(v.Preview_Notice().contains("lower DPI"));
    EXPECT_FALSE(v.Check_And_Validat_Barcode(true, true));
    EXPECT_TRUE(sawMessage("lower DPI"));
    // A smaller module fits again.
    drive::enter(ctl<QLineEdit>("dm_moduleText_2D"), "3");
    EXPECT_FALSE(v.Preview_Is_Blank());
    EXPECT_LE(double(v.road().image_2d().raster().width()) * v.road().image_2d().raster().height(),
              kMaxSymbolImagePixels);
}

TEST_F(MainWindowTest, HelpButtonsOfTheBatchControls)
{
    BarcodeModeView& v = makeBarcode();
    QStringList shown;
    ModalRunner previous = Set_Modal_Runner([&shown](QDialog& d) {
        if (auto* box = qobject_cast<Long_SMS_Dlg*>(&d))
            shown << box->_Msg_Title->text() + "|" + box->_Msg_Val->toPlainText();
        return 1;
    });
    v.Batch_Help_Button();
    v.Barcode_Data_Source_Help_Button();
    Set_Modal_Runner(previous);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0].startsWith("Batch Processing Settings Help :|Select these option"));
    EXPECT_TRUE(shown[1].startsWith("Batch Processing Settings Help :|Select Data Source to enter"));
}

TEST_F(MainWindowTest, ACustomDpiOutsideItsRangeIsReplacedAndTheUserTold)
{
    makeBarcode();
    ctl<QPlainTextEdit>("dataText_2D")->setPlainText("Zorv QR");
    chooseType("QR Code");
    drive::choose(ctl<QComboBox>("DPI_ComboBox"), "Custom");
    drive::enter(ctl<QLineEdit>("dpi_Text"), "5000");
    EXPECT_EQ(ctl<QLineEdit>("dpi_Text")->text(), QStringLiteral("2400"));
    EXPECT_TRUE(sawMessage("between 72 and 2400 DPI: 2400 DPI is used instead of 5000"))
        << messages.join('|').toStdString();
    EXPECT_EQ(Current_Barcode_Settings().custom_dpi, 2400);
    messages.clear();
    drive::enter(ctl<QLineEdit>("dpi_Text"), "10");
    EXPECT_EQ(ctl<QLineEdit>("dpi_Text")->text(), QStringLiteral("72"));
    EXPECT_TRUE(sawMessage("72 DPI is used instead of 10"));
    // A value in the range says nothing.
    messages.clear();
    drive::enter(ctl<QLineEdit>("dpi_Text"), "300");
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(Current_Barcode_Settings().custom_dpi, 300);
}

TEST_F(MainWindowTest, AJapanPostValueCutToItsTwentySymbolsSaysSo)
{
    BarcodeModeView& v = makeBarcode();
    chooseType("Japan Post Barcode");
    drive::type(ctl<QLineEdit>("dataText"), "1234567-1-2-3");
    ASSERT_FALSE(v.Preview_Is_Blank());
    EXPECT_TRUE(v.Preview_Notice().isEmpty()) << "a value that fits encodes whole";
    // Letters take two symbols each: this one needs more than 20.
    drive::type(ctl<QLineEdit>("dataText"), "1234567-ABCDEFGHIJ");
    EXPECT_FALSE(v.Preview_Is_Blank()) << "the barcode is still made";
    EXPECT_TRUE(v.Preview_Notice().contains("Japan Post holds 20 symbols")) << v.Preview_Notice().toStdString();
    EXPECT_TRUE(v.Preview_Notice().contains("\"1234567-ABCDEF\"")) << v.Preview_Notice().toStdString();
    EXPECT_TRUE(v.Preview_Notice().contains("Shorten the value"));
    // Back to a short value: the note goes.
    drive::type(ctl<QLineEdit>("dataText"), "1234567");
    EXPECT_TRUE(v.Preview_Notice().isEmpty());
}
