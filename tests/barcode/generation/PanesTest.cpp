// The barcode settings panes through their face: a settings value loaded
// into the controls and written back, what each user action reports, and
// the rules that keep pairs, sizes and kinds together.
#include "PaneDriver.h"

#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/TwoDSymbols.h"
#include "barcode/generation/panes/BarcodePreview.h"
#include "barcode/generation/panes/ColourPane.h"
#include "barcode/generation/panes/SizePanes.h"
#include "barcode/generation/panes/SymbologyPane.h"
#include "barcode/generation/panes/TextPane.h"
#include "barcode/generation/panes/ValuePane.h"
#include "core/util/MessageBoxes.h"
#include "platform/MessageSink.h"

#include <QDialog>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTextBrowser>

#include <memory>
#include <vector>

namespace {

struct AllPanes {
    std::vector<std::unique_ptr<BarcodeSettingsPane>> owned;
    SymbologyPane* symbology = add(new SymbologyPane(true));
    ValuePane* value = add(new ValuePane);
    TextPane* text = add(new TextPane);
    LinearPane* linear = add(new LinearPane);
    MarginPane* margins = add(new MarginPane);
    QrPane* qr = add(new QrPane);
    Pdf417Pane* pdf = add(new Pdf417Pane);
    DataMatrixPane* dm = add(new DataMatrixPane);
    ColourPane* colours = add(new ColourPane(true));
    DpiPane* dpi = add(new DpiPane);
    BarcodePreview* preview = add(new BarcodePreview);

    template <class P>
    P* add(P* p)
    {
        owned.emplace_back(p);
        return p;
    }
};

// The fields the road fills in (not shown by any control), taken from `s`.
BarcodeSettings Derived_Only(const BarcodeSettings& s)
{
    BarcodeSettings t;
#define ZL_RESET(f) t.f = BarcodeSettings{}.f;
    t = s;
    ZL_CONTROL_FIELDS(ZL_RESET)
#undef ZL_RESET
    return t;
}

} // namespace

TEST(BarcodePanes, EveryControlFieldRoundTrips)
{
    for (const auto& [type, twoD] : {std::pair{QStringLiteral("Code 128 SET B"), 0},
                                     std::pair{QStringLiteral("DataMatrix"), 1}}) {
        SCOPED_TRACE(type.toStdString());
        const BarcodeSettings s = Unusual_Settings(type, twoD);
        // Every control field but those with one choice differs from the
        // default, so a field that a pane drops shows.
#define ZL_NAME(f) QStringLiteral(#f),
        QStringList same{ZL_CONTROL_FIELDS(ZL_NAME)};
#undef ZL_NAME
        for (const QString& f : Control_Field_Differences(s, BarcodeSettings{}))
            same.removeAll(f);
        QStringList expectedSame{QStringLiteral("bar_orient")};
        if (!twoD)
            expectedSame.prepend(QStringLiteral("liner_or_2D_font"));
        EXPECT_EQ(same, expectedSame);
        AllPanes panes;
        for (const auto& p : panes.owned)
            p->load(s);
        BarcodeSettings back = Derived_Only(s);
        for (const auto& p : panes.owned)
            p->writeTo(back);
        EXPECT_EQ(Control_Field_Differences(back, s), QStringList());
        EXPECT_TRUE(back == s);
    }
}

TEST(BarcodePanes, LoadingReportsNothing)
{
    AllPanes panes;
    int reports = 0;
    for (const auto& p : panes.owned)
        QObject::connect(p.get(), &BarcodeSettingsPane::changed, p.get(), [&] { ++reports; });
    int kinds = 0;
    QObject::connect(panes.symbology, &SymbologyPane::symbologyChanged, panes.symbology, [&] { ++kinds; });
    for (const auto& p : panes.owned)
        p->load(Unusual_Settings(QStringLiteral("QR Code"), 1));
    EXPECT_EQ(reports, 0);
    EXPECT_EQ(kinds, 0);
}

TEST(BarcodePanes, PairsKeepFieldAndStepperTogether)
{
    MarginPane margins;
    margins.load(BarcodeSettings{});
    drive::Needs needs(&margins);
    auto* text = drive::find<QLineEdit>(&margins, "val_mar_Text");
    auto* stepper = drive::find<Stepper>(&margins, "val_mar_Stepper");
    drive::enter(text, QStringLiteral("0.5"));
    EXPECT_DOUBLE_EQ(stepper->value(), 0.5);
    EXPECT_EQ(needs.take(), PaneNeed::Redraw);
    stepper->stepUp();
    EXPECT_EQ(text->text(), QStringLiteral("0.60"));   // a length in centimetres: two decimals
    EXPECT_EQ(needs.take(), PaneNeed::Redraw);
    // Beyond the range, or not a number: the field shows what the stepper kept.
    drive::enter(drive::find<QLineEdit>(&margins, "TB_mar_Text"), QStringLiteral("9999"));
    EXPECT_EQ(drive::find<QLineEdit>(&margins, "TB_mar_Text")->text(), QStringLiteral("20.00"));
    drive::enter(drive::find<QLineEdit>(&margins, "LR_mar_Text"), QStringLiteral("-3"));
    EXPECT_EQ(drive::find<QLineEdit>(&margins, "LR_mar_Text")->text(), QStringLiteral("0.00"));
    BarcodeSettings s;
    margins.writeTo(s);
    EXPECT_FLOAT_EQ(s.val_mar, 0.6f);
    EXPECT_FLOAT_EQ(s.TB_mar, 20.0f);
    EXPECT_FLOAT_EQ(s.LR_mar, 0.0f);
    // A field left without a change reports nothing.
    needs.seen.clear();
    emit text->editingFinished();
    EXPECT_TRUE(needs.seen.isEmpty());
    // A 2D symbol has no value margin: its change needs nothing.
    margins.setTwoD(true);
    EXPECT_TRUE(stepper->isHidden());
    stepper->stepUp();
    EXPECT_EQ(needs.take(), PaneNeed::Nothing);

    // Whole-number pairs show "%d".
    Pdf417Pane pdf;
    pdf.load(BarcodeSettings{});
    drive::find<Stepper>(&pdf, "pdf_row_Stepper")->stepUp();
    EXPECT_EQ(drive::find<QLineEdit>(&pdf, "pdf_row_Text")->text(), QStringLiteral("1"));
    drive::enter(drive::find<QLineEdit>(&pdf, "pdf_ec_lvl_Text"), QStringLiteral("12"));
    EXPECT_EQ(drive::find<QLineEdit>(&pdf, "pdf_ec_lvl_Text")->text(), QStringLiteral("8"));
}

TEST(BarcodePanes, WhatEachActionNeeds)
{
    AllPanes p;
    for (const auto& pane : p.owned)
        pane->load(BarcodeSettings{});
    struct Case {
        const char* what;
        BarcodeSettingsPane* pane;
        bool twoD;
        std::function<void()> act;
        PaneNeed need;
    };
    const std::vector<Case> cases = {
        {"linear value typed", p.value, false, [&] { drive::type(drive::find<QLineEdit>(p.value, "dataText"), "A"); }, PaneNeed::Encode},
        {"linear header typed", p.value, false, [&] { drive::type(drive::find<QLineEdit>(p.value, "HeaderText"), "H"); }, PaneNeed::Encode},
        {"2D header typed", p.value, true, [&] { drive::type(drive::find<QLineEdit>(p.value, "HeaderText"), "H2"); }, PaneNeed::Redraw},
        {"2D value typed", p.value, true, [&] { drive::find<QPlainTextEdit>(p.value, "dataText_2D")->setPlainText("Q"); }, PaneNeed::EncodeTyping},
        {"Encode button", p.value, true, [&] { drive::find<QPushButton>(p.value, "encode_btn")->click(); }, PaneNeed::Encode},
        {"value on top, 2D", p.text, true, [&] { drive::find<QCheckBox>(p.text, "showinTopCheckbox")->click(); }, PaneNeed::Nothing},
        {"hide value", p.text, false, [&] { drive::find<QCheckBox>(p.text, "captionCheckbox")->click(); }, PaneNeed::Redraw},
        {"header alignment, 2D", p.text, true, [&] { drive::choose(drive::find<QComboBox>(p.text, "align_hdr_combo"), 2); }, PaneNeed::Redraw},
        {"value font", p.text, false, [&] { p.text->changeFont(QFont("DejaVu Sans", 20)); }, PaneNeed::Redraw},
        {"bar height", p.linear, false, [&] { drive::find<Stepper>(p.linear, "HeightStepper")->stepUp(); }, PaneNeed::Redraw},
        {"QR size", p.qr, true, [&] { drive::find<Stepper>(p.qr, "HeightStepper_2D")->stepUp(); }, PaneNeed::Encode},
        {"QR level", p.qr, true, [&] { drive::choose(drive::find<QComboBox>(p.qr, "qr_ec_lvl_ComboBox"), 3); }, PaneNeed::Encode},
        {"PDF417 width", p.pdf, true, [&] { drive::find<Stepper>(p.pdf, "Pdf_widthStepper_2D")->stepUp(); }, PaneNeed::Encode},
        {"DM encodation", p.dm, true, [&] { drive::choose(drive::find<QComboBox>(p.dm, "dm_encoding_ComboBox"), 1); }, PaneNeed::Encode},
        {"bar colour", p.colours, false, [&] { p.colours->chooseColour("barcode_clr", Qt::red); }, PaneNeed::Redraw},
        {"transparent", p.colours, true, [&] { drive::find<QCheckBox>(p.colours, "transparent_bkgnd")->click(); }, PaneNeed::Redraw},
        {"DPI", p.dpi, true, [&] { drive::choose(drive::find<QComboBox>(p.dpi, "DPI_ComboBox"), "300"); }, PaneNeed::Nothing},
        {"preview position", p.preview, false, [&] { drive::choose(drive::find<QComboBox>(p.preview, "bar_align_combo"), 2); }, PaneNeed::Nothing},
    };
    for (const Case& c : cases) {
        c.pane->setTwoD(c.twoD);
        drive::Needs needs(c.pane);
        c.act();
        EXPECT_EQ(needs.seen, QList<PaneNeed>{c.need}) << c.what;
    }
}

TEST(BarcodePanes, TransparencyControlsAgree)
{
    ColourPane colours(true);
    colours.load(BarcodeSettings{});
    auto* box = drive::find<QCheckBox>(&colours, "transparent_bkgnd");
    auto* clear = drive::find<QRadioButton>(&colours, "brcd_bk_clr_trnsp_rd");
    auto* solid = drive::find<QRadioButton>(&colours, "brcd_bk_clr_rd");
    clear->click();
    BarcodeSettings s;
    colours.writeTo(s);
    EXPECT_TRUE(s.fill_transparent);
    EXPECT_TRUE(box->isChecked());
    EXPECT_EQ(s.bar_back_clr.alpha(), 0);
    EXPECT_FALSE(drive::find<QWidget>(&colours, "bar_back_clr")->isEnabled());
    // Switching kinds does not change the choice.
    colours.setTwoD(true);
    colours.writeTo(s);
    EXPECT_TRUE(s.fill_transparent);
    box->click();
    colours.setTwoD(false);
    colours.writeTo(s);
    EXPECT_FALSE(s.fill_transparent);
    EXPECT_TRUE(solid->isChecked());
}

TEST(BarcodePanes, DataMatrixSizeFollowsTheFormat)
{
    DataMatrixPane dm;
    BarcodeSettings s;
    s.dm_module = 2;
    s.dm_width = s.dm_height = 20;
    s.dm_format = int(DM_Format_Items().indexOf(QStringLiteral("C12X26")));
    dm.load(s);
    dm.data_matrix_barcode_size_acc_format();
    dm.writeTo(s);
    EXPECT_EQ(s.dm_width, 52);
    EXPECT_EQ(s.dm_height, 24);
    EXPECT_EQ(drive::find<QLineEdit>(&dm, "dm_widthText_2D")->text(), QStringLiteral("52"));
    // Larger values stay; "Auto" changes nothing.
    s.dm_width = 80;
    s.dm_height = 90;
    dm.load(s);
    dm.data_matrix_barcode_size_acc_format();
    dm.writeTo(s);
    EXPECT_EQ(s.dm_width, 80);
    EXPECT_EQ(s.dm_height, 90);
    s.dm_format = 0;
    s.dm_width = s.dm_height = 20;
    dm.load(s);
    dm.data_matrix_barcode_size_acc_format();
    dm.writeTo(s);
    EXPECT_EQ(s.dm_width, 20);
    // The module size offered is 1 to the control's largest: a larger typed
    // size is shown as the largest, and so written.
    drive::enter(drive::find<QLineEdit>(&dm, "dm_moduleText_2D"), QStringLiteral("115"));
    dm.writeTo(s);
    EXPECT_EQ(s.dm_module, kDmModuleMax);
    EXPECT_EQ(drive::find<QLineEdit>(&dm, "dm_moduleText_2D")->text(), QString::number(kDmModuleMax));
}

TEST(BarcodePanes, QrVersionRaisesTheSize)
{
    QrPane qr;
    qr.load(BarcodeSettings{});
    drive::choose(drive::find<QComboBox>(&qr, "qr_version_ComboBox"), 10);
    BarcodeSettings s;
    qr.writeTo(s);
    EXPECT_EQ(s.QR_Version_Val, 10);
    EXPECT_EQ(s.qr_size, 60);   // above the minimum of version 10 (57): it stays
    EXPECT_EQ(drive::find<Stepper>(&qr, "HeightStepper_2D")->minimum(), 57);
    drive::choose(drive::find<QComboBox>(&qr, "qr_version_ComboBox"), 40);
    qr.writeTo(s);
    EXPECT_EQ(s.qr_size, 177);
    EXPECT_EQ(drive::find<QLineEdit>(&qr, "HeightText_2D")->text(), QStringLiteral("177"));
}

TEST(BarcodePanes, KindRadiosNeverContradictThePopup)
{
    SymbologyPane pane(true);
    BarcodeSettings s;
    s.barcodeType = QStringLiteral("PDF417");
    pane.load(s);
    int changes = 0;
    QObject::connect(&pane, &SymbologyPane::symbologyChanged, &pane, [&] { ++changes; });
    // "Linear" with PDF417 chosen picks a linear symbology (the first, as
    // none was chosen yet); "2D" goes back to the 2D one chosen last.
    drive::find<QRadioButton>(&pane, "Linear_Barcode_RD")->click();
    EXPECT_FALSE(Find_Symbology(pane.Barcode_Type_Name())->isTwoD());
    pane.chooseType(QStringLiteral("EAN-8"));
    drive::find<QRadioButton>(&pane, "TwoD_Barcode_RD")->click();
    EXPECT_EQ(pane.Barcode_Type_Name(), QStringLiteral("PDF417"));
    drive::find<QRadioButton>(&pane, "Linear_Barcode_RD")->click();
    EXPECT_EQ(pane.Barcode_Type_Name(), QStringLiteral("EAN-8"));
    EXPECT_EQ(changes, 4);
}

TEST(BarcodePanes, HelpButtonsShowTheirTitleAndText)
{
    QStringList shown;
    ModalRunner previous = Set_Modal_Runner([&shown](QDialog& d) {
        if (auto* box = qobject_cast<Long_SMS_Dlg*>(&d))
            shown << box->_Msg_Title->text() + "|" + box->_Msg_Val->toPlainText();
        return 1;
    });
    AllPanes p;
    struct Case { QWidget* pane; const char* button; const char* title; const char* textStart; };
    const Case cases[] = {
        {p.qr, "QR_Version_Help_Btn", "Version :", "Version is configuration"},
        {p.qr, "QR_EC_Lvl_Help_Btn", "Error correction (EC) level :", "An error-correction"},
        {p.pdf, "PDF_row_Help_btn", "PDF Rows :", "Number of rows in the PDF barcode."},
        {p.pdf, "PDF_col_Help_btn", "PDF Columns :", "Number of columns"},
        {p.pdf, "PDF_ec_lvl_Help_btn", "PDF EC Level :", "An error-correction"},
        {p.dm, "DM_format_Help_btn", "Preferred Format :", "Preferred Mode determines"},
        {p.dm, "DM_Encoding_Help_btn", "Encoding Mode :", "Encoding Mode is mode"},
        {p.dpi, "DPI_Help_Label", "DPI (Dots Per Inch) :", "Dots per inch"},
    };
    for (const Case& c : cases)
        drive::find<QPushButton>(c.pane, c.button)->click();
    Set_Modal_Runner(previous);
    ASSERT_EQ(shown.size(), int(std::size(cases)));
    for (int i = 0; i < shown.size(); ++i) {
        EXPECT_TRUE(shown[i].startsWith(QString::fromUtf8(cases[i].title) + "|")) << shown[i].toStdString();
        EXPECT_TRUE(shown[i].section('|', 1).startsWith(QString::fromUtf8(cases[i].textStart)))
            << shown[i].toStdString();
    }
}

// A plain font opened in the font panel stays plain when the user changes
// only its size there: the panel opens on the face the font is drawn in,
// not on the first style of the family that it guesses (an oblique one).
TEST(BarcodePanes, TheFontPanelChangesTheSizeAloneOfAPlainFont)
{
    TextPane text;
    BarcodeSettings s;
    s.value_font = QFont(QStringLiteral("DejaVu Sans"));
    s.value_font.setPointSizeF(10);
    text.load(s);
    drive::find<QPushButton>(&text, "val_font_btn")->click();
    ASSERT_NE(text.fontPanel(), nullptr);
    EXPECT_FALSE(text.fontPanel()->currentFont().italic());
    // The size field is the panel's first field that takes typing; the user
    // types 14 there.
    const QList<QLineEdit*> fields = text.fontPanel()->findChildren<QLineEdit*>();
    ASSERT_FALSE(fields.isEmpty());
    const auto size = std::find_if(fields.begin(), fields.end(), [](QLineEdit* f) { return !f->isReadOnly(); });
    ASSERT_NE(size, fields.end());
    (*size)->setText(QStringLiteral("14"));
    text.fontPanel()->hide();
    text.writeTo(s);
    EXPECT_DOUBLE_EQ(s.value_font.pointSizeF(), 14.0);
    EXPECT_FALSE(s.value_font.italic());
    EXPECT_FALSE(s.value_font.bold());
    EXPECT_EQ(drive::find<QLabel>(&text, "value_font_value")->text().toStdString(), "DejaVu Sans ( 14.00 )");
}

TEST(BarcodePanes, FontPanelChangesGoToTheButtonPressedLast)
{
    TextPane text;
    BarcodeSettings s;
    text.load(s);
    drive::find<QPushButton>(&text, "hdr_font_btn")->click();
    ASSERT_NE(text.fontPanel(), nullptr);
    text.fontPanel()->setCurrentFont(QFont(QStringLiteral("DejaVu Sans"), 18));
    drive::find<QPushButton>(&text, "val_font_btn")->click();
    text.fontPanel()->setCurrentFont(QFont(QStringLiteral("DejaVu Sans"), 7));
    text.fontPanel()->hide();
    text.writeTo(s);
    EXPECT_DOUBLE_EQ(s.header_font.pointSizeF(), 18.0);
    EXPECT_DOUBLE_EQ(s.value_font.pointSizeF(), 7.0);
    EXPECT_DOUBLE_EQ(s.footer_font.pointSizeF(), BarcodeSettings{}.footer_font.pointSizeF());
    EXPECT_TRUE(drive::find<QLabel>(&text, "value_font_value")->text().contains("( 7.00 )"));

    // The labels name the face: family and style.
    QFont bold(QStringLiteral("DejaVu Sans"), 9);
    bold.setBold(true);
    drive::find<QPushButton>(&text, "ftr_font_btn")->click();
    text.fontPanel()->setCurrentFont(bold);
    text.fontPanel()->hide();
    EXPECT_EQ(drive::find<QLabel>(&text, "footer_font_value")->text().toStdString(), "DejaVu Sans Bold ( 9.00 )");
    // A plain face shows its family alone.
    text.writeTo(s);
    s.value_font = QFont(QStringLiteral("DejaVu Sans"));
    s.value_font.setPointSizeF(7.5);
    text.load(s);
    EXPECT_EQ(drive::find<QLabel>(&text, "value_font_value")->text().toStdString(), "DejaVu Sans ( 7.50 )");
    EXPECT_EQ(drive::find<QLabel>(&text, "footer_font_value")->text().toStdString(), "DejaVu Sans Bold ( 9.00 )");
}
