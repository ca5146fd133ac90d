// What a user makes comes back as it was: a design with every kind of item
// and every property changed is saved, opened and saved again, and the files
// are byte for byte the same and the card draws pixel for pixel the same; a
// barcode file with a clear background draws clear in every output; a
// picture's flip shows, stays and comes back; a text's natural size fits the
// text as drawn; a copied card is a PDF page of the card's size; and the save
// questions are asked only when something changed.
#include "FilesTestSupport.h"
#include "mainwindow/MainWindowFixture.h"

#include "barcode/engines/SymbologyTable.h"
#include "barcode/generation/BarcodeRoad.h"
#include "barcode/generation/Barcode_Gen.h"
#include "common/TestSupport.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/canvas/LMNRenderingView.h"
#include "core/model/Card_Property.h"
#include "core/model/LMNDocument.h"
#include "export/CopyBarcode.h"
#include "export/ExportWriter.h"
#include "export/PdfExport.h"
#include "mainwindow/design/DesignModeView.h"
#include "mainwindow/files/FilePanels.h"
#include "mainwindow/files/ProjectCommands.h"
#include "mainwindow/files/ToolPalette.h"
#include "mainwindow/panels/ItemPanels.h"
#include "mainwindow/panels/PropertyPanels.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QTest>

using namespace filestest;

namespace {

// Colours no one-decimal form keeps.
const QColor kMint(0xA5, 0xD6, 0xA7);
const QColor kPlum(0x8E, 0x24, 0xAA);
const QColor kRust(0xBF, 0x36, 0x0C, 0xC7);
const QColor kInk(0x1A, 0x23, 0x7E);
const QColor kSand(0xF0, 0xE6, 0x8C);

class RoundTripTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        Set_Message_Responder([this](const MessageRequest& r) {
            messages << r.text.trimmed();
            return answers.isEmpty() ? 0 : answers.takeFirst();
        });
        previousPanel = Set_File_Panel_Runner([this](const File_Panel_Request& r) {
            panels << r;
            return paths.isEmpty() ? QString() : paths.takeFirst();
        });
        previousRunner = Set_Modal_Runner([this](QDialog& d) {
            dialogs << QString::fromLatin1(d.metaObject()->className());
            return 0;
        });
    }
    void TearDown() override
    {
        Set_File_Panel_Runner(previousPanel);
        Set_Modal_Runner(previousRunner);
        MainWindowTest::TearDown();
    }

    LMNWindowController& designWindow()
    {
        LMNWindowController& w = make();
        w.Designing_Mode_Select();
        messages.clear();
        return w;
    }
    QList<LMNGraphic*> items() { return window->Get_Front_Controls_Array(); }
    void insert(const QList<LMNGraphicPtr>& list)
    {
        QList<int> at;
        for (int i = 0; i < list.size(); ++i)
            at << int(items().size()) + i;
        ASSERT_TRUE(window->designModeView()->document()->insertGraphics(list, at));
    }
    QImage card(double dpi = 144)
    {
        return LMNRenderingView::image_From_Card_Graphics(items(), false)
            .toImage(dpi)
            .convertToFormat(QImage::Format_ARGB32);
    }
    bool askedToSave() const
    {
        for (const QString& m : messages)
            if (m.startsWith(QLatin1String("Do you want to save changes")))
                return true;
        return false;
    }
    // A barcode item of `type` drawn as the barcode dialog draws it.
    LMNGraphicPtr barcode(const QString& type, QPointF at, bool transparent = false)
    {
        BarcodeSettings s;
        Set_Barcode_Type(s, type);
        const Symbology* sym = Find_Symbology(type);
        s.dataText = s.dataText_2D = sym->sampleValue();
        s.HeaderText = QStringLiteral("Head");
        s.FooterText = QStringLiteral("Foot");
        s.barcode_clr = kInk;
        s.bar_back_clr = kSand;
        s.bar_val_clr = kPlum;
        s.bar_hdr_clr = kRust;
        s.bar_ftr_clr = QColor(3, 130, 129);
        s.fill_transparent = transparent;
        s.unit = 2;
        s.bar_height = 9;
        s.val_mar = s.hdr_mar = s.ftr_mar = s.TB_mar = s.LR_mar = 0.5f;
        auto item = std::make_shared<LMNBarcode>();
        Store_Barcode_Settings_In_Item(s, Symbology_Titles(), *item);
        const PtImage image = window->projectCommands()->Render_Barcode_Item(*item, sym->sampleValue());
        EXPECT_FALSE(image.isNull()) << type.toStdString();
        item->Set_Barcode_image(image);
        item->setBounds(QRectF(at, item->_bounds.size()));
        item->Set_Barcode_image_control_bounds();
        return item;
    }

    QTemporaryDir dir;
    QList<int> answers;
    QStringList paths;
    QList<File_Panel_Request> panels;
    QStringList dialogs;
    File_Panel_Runner previousPanel;
    ModalRunner previousRunner;
};

TEST_F(RoundTripTest, EveryKindAndPropertyComesBackByteForByteAndPixelForPixel)
{
    LMNWindowController& w = designWindow();
    DesignModeView* view = w.designModeView();
    Card_Property c = *w.Front_card_Prop();
    c.Card_Name = QStringLiteral("Every kind");
    c.Card_border_chk = true;
    c.Card_bordr_clr = kPlum;
    c.Card_bor_Stepper = 3;
    c.Card_fill_chk = true;
    c.Card_fill_style = QStringLiteral("S");
    c.Card_fill_clr = kMint;
    c.Card_Size = QSizeF(612.5, 792.25);
    view->Set_Card_Model(c);
    view->Apply_Card_Size(c.Card_Size);

    QList<LMNGraphicPtr> list;
    auto text = std::make_shared<LMNText>();
    text->Text_Value = QStringLiteral("Natural thirty");
    text->text_ctrl_font = QFont(QStringLiteral("DejaVu Sans"));
    text->text_ctrl_font.setPointSizeF(30);
    text->txt_clr = kRust;
    text->_isDrawingFill = true;
    text->_fillColor = kSand;
    text->Drawing_Shadow = true;
    text->Shadow_Color = kInk;
    text->Shadow_transparency = 0.45f;
    text->text_alignmnet = 0;
    text->setBounds(QRectF(12, 14, 400, 20));
    text->makeNaturalSize();
    list << text;
    auto shape = std::make_shared<Shape_Control>();
    shape->_shape_type = QStringLiteral("RR");
    shape->setBounds(QRectF(420, 14, 120, 70));
    shape->_fill_type = QStringLiteral("G");
    shape->_fill_Grad_clr1 = kPlum;
    shape->_fill_Grad_clr2 = kSand;
    shape->_fill_grad_angle = 30;
    shape->_strokeColor = kInk;
    shape->_strokeWidth = 2.5;
    shape->_stroke_border_type = QStringLiteral("DA");
    shape->alpha_val = 0.8f;
    shape->text_rotation = 15;
    list << shape;
    auto line = std::make_shared<LMNLine>();
    line->setBounds(QRectF(20, 90, 300, 40));
    line->_strokeColor = kRust;
    line->_strokeWidth = 3.25;
    line->_line_cap_style = 1;
    line->_pointsRight = true;
    line->_pointsDown = true;
    list << line;
    const QString photo = Write_Picture(dir, "photo.png", QColor(0x4D, 0xB6, 0xAC), 64, 40);
    auto picture = std::make_shared<LMNImage>();
    picture->setFilePath(photo);
    picture->setBounds(QRectF(340, 100, 128, 80));
    picture->flipHorizontally();
    picture->_isDrawingStroke = true;
    picture->_strokeColor = kPlum;
    picture->img_trnsp_val = 85;
    list << picture;
    auto sign = std::make_shared<LMNSignature>();
    sign->_file_path = LMNSignature::Sample_Path(QStringLiteral("S"));
    sign->setBounds(QRectF(480, 100, 100, 50));
    sign->_isDrawingStroke = true;
    sign->_strokeColor = kInk;
    list << sign;
    // Every symbology, the first on a clear background over the card's fill.
    const QStringList types = Symbology_Titles();
    for (int i = 0; i < types.size(); ++i)
        list << barcode(types.at(i), QPointF(15 + (i % 4) * 150, 200 + (i / 4) * 95), i == 0);
    insert(list);
    ASSERT_EQ(items().size(), 5 + types.size());

    // The 30-point text took its own size, with nothing cut.
    EXPECT_GT(text->_bounds.height(), 30.0);
    EXPECT_LT(text->_bounds.width(), 400.0);
    const QImage before = card();
    // The clear barcode shows the card's fill beside its bars.
    const QRectF clearBox = items().at(5)->_bounds;
    const QPoint quiet(int((clearBox.left() + 0.5) * 2), int(clearBox.center().y() * 2));
    EXPECT_EQ(before.pixel(quiet), before.pixel(600 * 2, 785 * 2));

    const QString first = dir.filePath("every.dbs");
    paths << first;
    w.Save_btn->trigger();
    ASSERT_TRUE(QFileInfo::exists(first));
    const QByteArray saved = testsupport::readAll(first);
    EXPECT_TRUE(saved.contains("<string>0.647:0.839:0.655:1.000</string>")) << "the card's fill, every level kept";
    EXPECT_TRUE(saved.contains("<string>sign_sample.png</string>")) << "a shipped picture stored relative";

    // Open it again (No to saving first).
    messages.clear();
    answers = {1};
    paths << first;
    w.Open_btn->trigger();
    EXPECT_EQ(messages, QStringList{"Do you want to save changes before opening document?"});
    ASSERT_EQ(items().size(), 5 + types.size());
    EXPECT_NE(items().at(0), text.get()) << "the items are those of the file";
    const QImage after = card();
    ASSERT_EQ(after.size(), before.size());
    int differing = 0;
    for (int y = 0; y < before.height(); ++y)
        for (int x = 0; x < before.width(); ++x)
            differing += before.pixel(x, y) != after.pixel(x, y);
    EXPECT_EQ(differing, 0) << "the card draws as it did before it was saved";
    EXPECT_TRUE(items().at(3)->_isFlippedHorizontally);
    for (int i = 0; i < types.size(); ++i)
        EXPECT_EQ(Symbology_At(items().at(5 + i)->barcode_font_index)->name(), types.at(i));

    // Saved again under another name: the same bytes.
    const QString second = dir.filePath("again.dbs");
    paths << second;
    w.SaveAs_btn->trigger();
    EXPECT_EQ(testsupport::readAll(second), saved);
}

// Save As and Exit answer their keys whatever the desktop's key scheme (a
// plain window manager has no standard key for either), and their tooltips
// name them.
TEST_F(RoundTripTest, SaveAsAndExitAnswerTheirKeysSentToTheWindow)
{
    LMNWindowController& w = designWindow();
    EXPECT_EQ(w.SaveAs_btn->toolTip(), QStringLiteral("Save As (Ctrl+Shift+S)"));
    EXPECT_EQ(w.Exit_btn->toolTip(), QStringLiteral("Exit (Ctrl+Q)"));
    w.show();
    QApplication::setActiveWindow(&w);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&w));
    // A key sent with Ctrl and Shift leaves the application taking them as
    // held (a later selectRow would toggle): they are let go at the end.
    const auto letGo = [&w] {
        QTest::keyRelease(&w, Qt::Key_Shift, Qt::NoModifier);
        QTest::keyRelease(&w, Qt::Key_Control, Qt::NoModifier);
    };
    const auto letGoAtTheEnd = qScopeGuard(letGo);

    // Designing mode, the canvas in front.
    const QString design = dir.filePath("by key.dbs");
    paths << design;
    w.designModeView()->_graphicView->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(panels.size(), 1);
    EXPECT_EQ(panels.first().kind, File_Panel_Request::Save);
    EXPECT_TRUE(QFileInfo::exists(design));
    EXPECT_EQ(w.projectCommands()->Project_File_Name, design);

    // Barcode mode, typing in the value field.
    w.Barcode_Mode_Select();
    const QString settings = dir.filePath("by key barcode.dbs");
    paths << settings;
    auto* field = ctl<QLineEdit>("dataText");
    field->setFocus();
    QTest::keyClicks(field, "42");
    QTest::keyClick(field, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(panels.size(), 2);
    EXPECT_TRUE(QFileInfo::exists(settings));
    EXPECT_TRUE(field->text().endsWith("42")) << "the key typed nothing into the field";

    // Ctrl+Q asks as Exit does; No to both keeps the window.
    messages.clear();
    answers = {1, 1};
    QTest::keyClick(field, Qt::Key_Q, Qt::ControlModifier);
    ASSERT_EQ(messages.size(), 2);
    EXPECT_EQ(messages.at(0), QStringLiteral("Do you want to save changes before closing?"));
    EXPECT_TRUE(exitCodes.isEmpty());
    letGo();
    EXPECT_EQ(QGuiApplication::keyboardModifiers(), Qt::NoModifier);
}

TEST_F(RoundTripTest, SaveQuestionsComeEachTime)
{
    const QStringList exitQuestions{"Do you want to save changes before closing?", "Do you really want to exit?"};
    // Right after start-up, with nothing changed, each command asks, in
    // either mode; No goes on.
    LMNWindowController& w = designWindow();
    answers = {1};
    w.Open_btn->trigger();
    EXPECT_EQ(messages, QStringList{"Do you want to save changes before opening document?"});
    ASSERT_EQ(panels.size(), 1);
    EXPECT_EQ(panels.first().kind, File_Panel_Request::Open);
    w.Barcode_Mode_Select();
    messages.clear();
    answers = {1};
    w.Open_btn->trigger();
    EXPECT_EQ(messages, QStringList{"Do you want to save changes before opening document?"});
    messages.clear();
    answers = {1, 1};
    w.Exit_btn->trigger();
    EXPECT_EQ(messages, exitQuestions);
    EXPECT_TRUE(exitCodes.isEmpty());

    // Cancel keeps the work and ends the command.
    BarcodeSettings s = w.Barcode_Settings();
    s.dataText = QStringLiteral("CHANGED");
    w.barcodeModeView()->Load_Barcode_Settings(s);
    messages.clear();
    answers = {2};
    w.New_btn->trigger();
    EXPECT_EQ(messages, QStringList{"Do you want to save changes before opening new document?"});
    EXPECT_EQ(w.Barcode_Settings().dataText, QStringLiteral("CHANGED")) << "Cancel keeps the work";
    // Just saved: Exit asks all the same.
    paths << dir.filePath("codes.dbs");
    w.Save_btn->trigger();
    messages.clear();
    answers = {1, 1};
    w.Exit_btn->trigger();
    EXPECT_EQ(messages, exitQuestions);
    // Close asks about the design, unchanged as it is; Cancel keeps it.
    w.Designing_Mode_Select();
    w.toolPalette()->Rect_Tool_Clicked();
    w.Undo_Action_Perform();
    ASSERT_TRUE(items().isEmpty());
    w.toolPalette()->Rect_Tool_Clicked();
    messages.clear();
    answers = {2};
    w.Close_btn->trigger();
    EXPECT_EQ(messages, QStringList{"Do you want to save changes?"});
    EXPECT_EQ(items().size(), 1);
    // New in designing mode asks too; No starts the new label.
    messages.clear();
    answers = {1};
    w.New_btn->trigger();
    EXPECT_EQ(messages.value(0), QStringLiteral("Do you want to save changes before opening new document?"));
    EXPECT_TRUE(items().isEmpty());
}

TEST_F(RoundTripTest, AClearBarcodeBackgroundStaysClearInEveryOutputAfterReopening)
{
    LMNWindowController& w = make();
    w.Barcode_Mode_Select();
    BarcodeSettings s = w.Barcode_Settings();
    s.barcodeType = QStringLiteral("Code 39");
    s.dataText = QStringLiteral("CLEAR-39");
    w.barcodeModeView()->Load_Barcode_Settings(s);
    // The user picks the transparent background.
    auto* clear = drive::find<QRadioButton>(w.barcodeModeView(), "brcd_bk_clr_trnsp_rd");
    ASSERT_TRUE(clear);
    clear->click();
    ASSERT_TRUE(w.Barcode_Settings().fill_transparent);
    const QString path = dir.filePath("clear.dbs");
    paths << path;
    w.Save_btn->trigger();
    const QByteArray saved = testsupport::readAll(path);
    // A new barcode, then the file again (No to saving each time).
    answers = {1};
    w.New_btn->trigger();
    ASSERT_FALSE(w.Barcode_Settings().fill_transparent);
    answers = {1};
    paths << path;
    w.Open_btn->trigger();
    EXPECT_TRUE(w.Barcode_Settings().fill_transparent);
    EXPECT_TRUE(clear->isChecked()) << "the panel shows it";
    paths << dir.filePath("again.dbs");
    w.SaveAs_btn->trigger();
    EXPECT_EQ(testsupport::readAll(dir.filePath("again.dbs")), saved) << "and writes it back the same";

    const PtImage preview = w.barcodeModeView()->Preview_Image();
    ASSERT_FALSE(preview.isNull());
    const auto cornerClear = [](const QImage& img, const char* what) {
        SCOPED_TRACE(what);
        ASSERT_FALSE(img.isNull());
        const QImage a = img.convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(qAlpha(a.pixel(0, 0)), 0);
        EXPECT_EQ(qAlpha(a.pixel(a.width() - 1, a.height() / 2)), 0);
        int inked = 0;
        for (int x = 0; x < a.width(); ++x)
            inked += qAlpha(a.pixel(x, a.height() / 2)) == 255;
        EXPECT_GT(inked, 10) << "the bars are there";
    };
    cornerClear(preview.toImage(300), "preview");
    // A file whose clear colour keeps the opaque colour's red, green and blue
    // (as earlier builds wrote it) draws clear as well.
    {
        const auto root = Read_Design_Root(path);
        ASSERT_TRUE(root);
        QVariantList e = root->toList();
        e[43] = Colour_To_Data(QColor(255, 255, 255, 0));
        const QString white = dir.filePath("white-clear.dbs");
        ASSERT_TRUE(Write_Barcode_Elements(white, e));
        paths << white;
        w.Open_btn->trigger();
        ASSERT_TRUE(w.Barcode_Settings().fill_transparent);
        cornerClear(w.barcodeModeView()->Preview_Image().toImage(300), "preview of a clear white");
        paths << path;
        w.Open_btn->trigger();
    }
    // Export to PNG.
    const QString png = dir.filePath("clear.png");
    ASSERT_TRUE(testsupport::Write_File(png, Encode_Export_File(preview, png, true)));
    cornerClear(QImage(png), "exported PNG");
    // Copy: the picture and the PDF on the clipboard.
    std::unique_ptr<QMimeData> data(Barcode_Clipboard_Data(preview));
    ASSERT_TRUE(data);
    cornerClear(QImage::fromData(data->data(QStringLiteral("image/png")), "PNG"), "copied picture");
    // PDF (the copy's and an exported page), drawn without paper.
    const QString copied = dir.filePath("copied.pdf");
    ASSERT_TRUE(testsupport::Write_File(copied, data->data(QStringLiteral("application/pdf"))));
    const QString exported = dir.filePath("pages.pdf");
    ASSERT_TRUE(Write_Image_Pages_Pdf(exported, {preview}));
    for (const QString& pdf : {copied, exported}) {
        ASSERT_EQ(testsupport::Run_Tool("pdftocairo", {"-png", "-transp", "-r", "150", "-singlefile", pdf, pdf})
                      .exitCode,
                  0);
        cornerClear(QImage(pdf + ".png"), pdf == copied ? "copied PDF" : "PDF page");
    }
}

TEST_F(RoundTripTest, APictureFlipShowsAndComesBackAndNaturalSizeTakesItAway)
{
    LMNWindowController& w = designWindow();
    const QString photo = Write_Picture(dir, "corner.png", Qt::yellow, 80, 40);
    auto picture = std::make_shared<LMNImage>();
    picture->setFilePath(photo);
    picture->setBounds(QRectF(20, 20, 80, 40));
    insert({picture});
    const QImage upright = picture->_contents_with_settings.toImage(72);
    const QImage uprightCard = card(72);
    // The dark corner is top left; dragging the left handle across the
    // picture flips it, and the mirror shows at once, in its panel too.
    ASSERT_EQ(qGray(upright.pixel(2, 2)), 0);
    PropertyPanelHost* panels = w.designModeView()->panels;
    w.graphicView()->changeSelectionIndexes({0});
    w.Show_RHS_Properties(picture.get());
    ASSERT_FALSE(panels->image_tab->Image_FIH_chk->isChecked());
    picture->resizeByMovingHandle(4, QPointF(160, 40), w.graphicViewBounds());
    ASSERT_TRUE(picture->_isFlippedHorizontally);
    EXPECT_EQ(picture->_contents_with_settings.toImage(72), upright.mirrored(true, false));
    w.Show_RHS_Properties(picture.get());   // as the canvas does when the drag ends
    EXPECT_TRUE(panels->image_tab->Image_FIH_chk->isChecked());
    const QImage flipped = card(72);
    EXPECT_NE(flipped, uprightCard);
    // Saved and opened: still mirrored, drawn the same.
    paths << dir.filePath("flip.dbs");
    w.Save_btn->trigger();
    answers = {1};
    paths << dir.filePath("flip.dbs");
    w.Open_btn->trigger();
    ASSERT_EQ(items().size(), 1);
    EXPECT_TRUE(items().first()->_isFlippedHorizontally);
    EXPECT_EQ(card(72), flipped);

    // Natural size: the picture's own size, upright at once, on the canvas,
    // in its panel, in what is printed and in the design saved and opened.
    LMNGraphic* opened = items().first();
    opened->setBounds(QRectF(20, 20, 30, 70));
    w.graphicView()->changeSelectionIndexes({0});
    w.graphicView()->_Selected_Graphic = opened;
    w.Show_RHS_Properties(opened);
    ASSERT_TRUE(panels->image_tab->Image_FIH_chk->isChecked());
    const int steps = w.designModeView()->Get_Undo_Count();
    QPushButton* natural = panels->aligmnt_tab->button(QStringLiteral("makeNaturalSize"));
    ASSERT_NE(natural, nullptr);
    ASSERT_TRUE(natural->isEnabled());
    natural->click();
    EXPECT_EQ(opened->_bounds, QRectF(20, 20, 80, 40));
    EXPECT_FALSE(opened->_isFlippedHorizontally);
    EXPECT_FALSE(opened->_isFlippedVertically);
    EXPECT_FALSE(panels->image_tab->Image_FIH_chk->isChecked());
    EXPECT_EQ(opened->_contents_with_settings.toImage(72), upright);
    EXPECT_EQ(card(72), uprightCard);
    EXPECT_EQ(w.designModeView()->Get_Undo_Count(), steps + 1) << "one step";
    paths << dir.filePath("natural.dbs");
    w.SaveAs_btn->trigger();
    answers = {1};
    paths << dir.filePath("natural.dbs");
    w.Open_btn->trigger();
    ASSERT_EQ(items().size(), 1);
    EXPECT_FALSE(items().first()->_isFlippedHorizontally);
    EXPECT_EQ(card(72), uprightCard);
}

TEST_F(RoundTripTest, ATextsNaturalSizeFitsItsOwnFont)
{
    designWindow();
    for (double size : {8.0, 30.0, 54.0}) {
        SCOPED_TRACE(size);
        auto text = std::make_shared<LMNText>();
        text->Text_Value = QStringLiteral("Gypsy jumps\nover quartz");
        text->text_ctrl_font = QFont(QStringLiteral("DejaVu Serif"));
        text->text_ctrl_font.setPointSizeF(size);
        text->text_transfrom_case = 1;
        text->text_kerning = 1.5f;
        text->text_alignmnet = 0;        // left, top: the same place in both boxes
        text->text_alignmnet_Vert = 0;
        text->setBounds(QRectF(10, 10, 900, 12));
        text->makeNaturalSize();
        const QRectF natural = text->_bounds;
        // Two lines of that font, and as wide as the wider line as drawn.
        EXPECT_GT(natural.height(), 2 * size);
        EXPECT_LT(natural.width(), 900.0);
        // Drawn in its natural box it shows all that it shows in a huge box.
        const auto ink = [&](const QRectF& box) {
            text->setBounds(box);
            QImage img(1000, 400, QImage::Format_ARGB32);
            img.fill(Qt::white);
            QPainter p(&img);
            text->drawContentsInView(p, nullptr, false);
            p.end();
            int dark = 0;
            for (int y = 0; y < img.height(); ++y)
                for (int x = 0; x < img.width(); ++x)
                    dark += qGray(img.pixel(x, y)) < 128;
            return dark;
        };
        const int inNatural = ink(natural);
        const int inHuge = ink(QRectF(natural.topLeft(), QSizeF(980, 380)));
        EXPECT_GT(inNatural, 0);
        EXPECT_EQ(inNatural, inHuge) << "nothing is cut";
    }
}

TEST_F(RoundTripTest, ACopiedCardIsAPdfPageOfTheCardsSize)
{
    LMNWindowController& w = designWindow();
    DesignModeView* view = w.designModeView();
    Card_Property c = *w.Front_card_Prop();
    c.Card_border_chk = true;
    c.Card_bordr_clr = QColor(Qt::red);
    c.Card_bor_Stepper = 2;
    c.Card_Size = QSizeF(153.07, 243.78);
    view->Set_Card_Model(c);
    view->Apply_Card_Size(c.Card_Size);
    auto shape = std::make_shared<Shape_Control>();
    shape->setBounds(QRectF(40, 60, 50, 50));
    insert({shape});
    w._graphicView->selectAll();
    w._graphicView->copy();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(data && data->hasFormat(QStringLiteral("application/pdf")));
    const QString pdf = dir.filePath("card.pdf");
    ASSERT_TRUE(testsupport::Write_File(pdf, data->data(QStringLiteral("application/pdf"))));
    const testsupport::ToolResult info = testsupport::Run_Tool("pdfinfo", {pdf});
    const QString said = QString::fromUtf8(info.out);
    ASSERT_EQ(info.exitCode, 0) << info.err.toStdString();
    const QRegularExpressionMatch m =
        QRegularExpression(QStringLiteral("Page size:\\s+([0-9.]+) x ([0-9.]+) pts")).match(said);
    ASSERT_TRUE(m.hasMatch()) << said.toStdString();
    EXPECT_NEAR(m.captured(1).toDouble(), 153.07, 0.01);
    EXPECT_NEAR(m.captured(2).toDouble(), 243.78, 0.01);

    // All four borders are on the page: red within two points of each edge.
    ASSERT_EQ(testsupport::Run_Tool("pdftoppm", {"-r", "288", "-png", "-singlefile", pdf, pdf}).exitCode, 0);
    const QImage page = QImage(pdf + ".png").convertToFormat(QImage::Format_RGB32);
    ASSERT_FALSE(page.isNull());
    const auto red = [&](int x, int y) {
        const QColor p(page.pixel(x, y));
        return p.red() > 200 && p.green() < 80 && p.blue() < 80;
    };
    const int W = page.width(), H = page.height(), edge = 2 * 4;   // two points at 288 DPI
    const auto any = [&](auto&& at) {
        for (int i = 0; i < edge; ++i)
            if (at(i))
                return true;
        return false;
    };
    EXPECT_TRUE(any([&](int i) { return red(i, H / 2); })) << "left";
    EXPECT_TRUE(any([&](int i) { return red(W - 1 - i, H / 2); })) << "right";
    EXPECT_TRUE(any([&](int i) { return red(W / 2, i); })) << "top";
    EXPECT_TRUE(any([&](int i) { return red(W / 2, H - 1 - i); })) << "bottom";
}

TEST_F(RoundTripTest, DamagedItemsOpenAsFarAsTheyGoAndNothingElseIsLost)
{
    LMNWindowController& w = designWindow();
    w.toolPalette()->Rect_Tool_Clicked();
    w.toolPalette()->Text_Tool_Clicked();
    w.toolPalette()->Line_Tool_Clicked();
    const QString good = dir.filePath("good.dbs");
    paths << good;
    w.Save_btn->trigger();
    const auto root = Read_Design_Root(good);
    ASSERT_TRUE(root);
    const QVariantList elements = root->toList();
    ASSERT_EQ(elements.size(), 45);
    const auto recordOf = [&](const char* code) {
        for (int i = 42; i < elements.size(); ++i)
            if (elements.at(i).toList().value(0).toString() == QLatin1String(code))
                return i;
        return -1;
    };
    const int rectAt = recordOf("D"), textAt = recordOf("T"), lineAt = recordOf("L");
    ASSERT_GE(std::min({rectAt, textAt, lineAt}), 42);

    // A text cut after element 30, a record of an unknown kind, a count of more
    // records than the file holds: the design opens with what could be read,
    // and one message names each damaged record.
    QVariantList damaged = elements;
    QVariantList rect = damaged[rectAt].toList();
    rect[0] = QStringLiteral("Z");
    damaged[rectAt] = rect;
    QVariantList text = damaged[textAt].toList();
    text.resize(31);
    damaged[textAt] = text;
    damaged[41] = QStringLiteral("4");
    const QString path = dir.filePath("damaged.dbs");
    ASSERT_TRUE(Write_Design_Elements(path, damaged));
    messages.clear();
    answers = {1};
    paths << path;
    w.Open_btn->trigger();
    ASSERT_FALSE(messages.isEmpty());
    EXPECT_EQ(messages.takeFirst(), QStringLiteral("Do you want to save changes before opening document?"));
    ASSERT_EQ(items().size(), 2);
    EXPECT_EQ(items().at(textAt < lineAt ? 0 : 1)->kind(), LMNKind::Text);
    EXPECT_EQ(items().at(textAt < lineAt ? 1 : 0)->kind(), LMNKind::Line);
    EXPECT_EQ(w.projectCommands()->Project_File_Name, path);
    ASSERT_EQ(messages.size(), 1) << messages.join(" | ").toStdString();
    const QString said = messages.first();
    EXPECT_TRUE(said.contains("The design counts 4 items but holds 3.")) << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("Item %1: \"Z\" is no kind of item").arg(rectAt - 41)))
        << said.toStdString();
    EXPECT_TRUE(said.contains(QStringLiteral("Item %1: the item record ends before vertical alignment").arg(textAt - 41)))
        << said.toStdString();

    // What is no design at all is refused whole: the open design stays.
    const QVariantList before = Design_File_Elements(w.projectCommands()->Current_Design(), false);
    QVariantList notDesign = elements;
    notDesign[21] = QStringLiteral("{huge, 3}");
    const QString bad = dir.filePath("bad.dbs");
    ASSERT_TRUE(Write_Design_Elements(bad, notDesign));
    for (const QString& p : {bad, good + "-missing"}) {
        messages.clear();
        answers = {1};
        paths << p;
        w.Open_btn->trigger();
        EXPECT_EQ(messages, QStringList({"Do you want to save changes before opening document?", File_Corrupt_Message}));
        EXPECT_EQ(Design_File_Elements(w.projectCommands()->Current_Design(), false), before);
        EXPECT_EQ(w.projectCommands()->Project_File_Name, path);
    }
}

} // namespace
