// A card comes back from its design file as it was made: every field of the
// card (fill, both gradient colours in their order, hatch pattern and its
// colour, background picture and its layout, border, shape, names, text
// defaults, watermark) is set away from its default, the design is saved
// with Save, the window is made anew and the file opened with Open; each
// field is compared by name and the card is drawn again pixel for pixel.
// Every kind of fill is saved once.
#include "FilesTestSupport.h"
#include "mainwindow/MainWindowFixture.h"

#include "common/TestSupport.h"
#include "core/canvas/LMNRenderingView.h"
#include "core/model/Card_Property.h"
#include "core/util/MainWindowServices.h"
#include "mainwindow/design/DesignModeView.h"
#include "mainwindow/files/FilePanels.h"
#include "mainwindow/files/ProjectCommands.h"
#include "mainwindow/panels/PropertyPanels.h"

#include <QAction>
#include <QButtonGroup>
#include <QDialog>
#include <QPainter>

using namespace filestest;

namespace {

class CardRoundTripTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        // Save the open design first? No: the file is opened as it is.
        Set_Message_Responder([this](const MessageRequest& r) {
            messages << r.text;
            return r.text.startsWith(QLatin1String("Do you want to save changes")) ? 1 : 0;
        });
        previousPanel = Set_File_Panel_Runner([this](const File_Panel_Request&) {
            return paths.isEmpty() ? QString() : paths.takeFirst();
        });
        previousRunner = Set_Modal_Runner([](QDialog&) { return 0; });
    }
    void TearDown() override
    {
        Set_File_Panel_Runner(previousPanel);
        Set_Modal_Runner(previousRunner);
        MainWindowTest::TearDown();
    }

    LMNWindowController& freshDesignWindow()
    {
        window.reset();
        LMNWindowController& w = make();
        w.Designing_Mode_Select();
        return w;
    }

    // The card with its fill, border and watermark as the window draws it.
    QImage drawnCard()
    {
        return LMNRenderingView::image_From_Card_Graphics(window->Get_Front_Controls_Array(), false)
            .toImage(144)
            .convertToFormat(QImage::Format_ARGB32);
    }

    // A background picture of four coloured quarters: a turned, mirrored or
    // missing picture draws otherwise.
    QString quarters()
    {
        QImage img(80, 40, QImage::Format_RGB32);
        QPainter p(&img);
        p.fillRect(0, 0, 40, 20, QColor(0xD3, 0x2F, 0x2F));
        p.fillRect(40, 0, 40, 20, QColor(0x38, 0x8E, 0x3C));
        p.fillRect(0, 20, 40, 20, QColor(0x19, 0x76, 0xD2));
        p.fillRect(40, 20, 40, 20, QColor(0xFB, 0xC0, 0x2D));
        p.end();
        const QString path = dir.filePath(QStringLiteral("quarters.png"));
        img.save(path);
        return path;
    }

    QTemporaryDir dir;
    QStringList paths;
    File_Panel_Runner previousPanel;
    ModalRunner previousRunner;
};

QString Rgba(const QColor& c)
{
    return QStringLiteral("%1,%2,%3,%4").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alpha());
}

QString Font(const QFont& f)
{
    return QStringLiteral("%1 %2pt w%3 i%4").arg(f.family()).arg(f.pointSizeF()).arg(f.weight()).arg(f.italic());
}

// Every field of the card as text, by name (the background picture by its
// size; its pixels are in the drawn card).
QMap<QString, QString> Fields(const Card_Property& c)
{
    QMap<QString, QString> m;
    m["Card_border_chk"] = QString::number(c.Card_border_chk);
    m["Card_fill_chk"] = QString::number(c.Card_fill_chk);
    m["Card_bordr_clr"] = Rgba(c.Card_bordr_clr);
    m["Card_fill_clr"] = Rgba(c.Card_fill_clr);
    m["Card_fill_Grd_1_clr"] = Rgba(c.Card_fill_Grd_1_clr);
    m["Card_fill_Grd_2_clr"] = Rgba(c.Card_fill_Grd_2_clr);
    m["Card_hatch_bk_clr"] = Rgba(c.Card_hatch_bk_clr);
    m["Card_bor_Stepper"] = QString::number(c.Card_bor_Stepper);
    m["Card_grad_Stepper"] = QString::number(c.Card_grad_Stepper);
    m["Card_Cat_index"] = QString::number(c.Card_Cat_index);
    m["Card_alpha_Stepper"] = QString::number(double(c.Card_alpha_Stepper), 'f', 4);
    m["Card_border_style"] = c.Card_border_style;
    m["Card_fill_style"] = c.Card_fill_style;
    m["Card_hatch_style"] = c.Card_hatch_style;
    m["Card_Side"] = c.Card_Side;
    m["Card_Side_Name"] = c.Card_Side_Name;
    m["Card_Shape"] = c.Card_Shape;
    m["Card_Name"] = c.Card_Name;
    m["Card_Preset"] = c.Card_Preset;
    m["Card_Category"] = c.Card_Category;
    m["Card_Sub_Category"] = c.Card_Sub_Category;
    m["Card_Create_Mode"] = c.Card_Create_Mode;
    m["Card_BG_Image_Path"] = c.Card_BG_Image_Path;
    m["Card_BG_Image_Layout"] = c.Card_BG_Image_Layout;
    m["Card_BG_Image"] = QStringLiteral("%1x%2").arg(c.Card_BG_Image.size().width()).arg(c.Card_BG_Image.size().height());
    m["Card_Location"] = QStringLiteral("%1,%2").arg(c.Card_Location.x()).arg(c.Card_Location.y());
    m["Card_Size"] = QStringLiteral("%1x%2").arg(c.Card_Size.width()).arg(c.Card_Size.height());
    m["Card_Content_clr"] = Rgba(c.Card_Content_clr);
    m["Card_Content_font"] = Font(c.Card_Content_font);
    m["Watermark_Used"] = QString::number(c.Watermark_Used);
    m["Watermark_Text"] = c.Watermark_Text;
    m["Watermark_Color"] = Rgba(c.Watermark_Color);
    m["Watermark_Font"] = Font(c.Watermark_Font);
    m["Watermark_Alignment"] = QString::number(c.Watermark_Alignment);
    m["Watermark_Transp"] = QString::number(double(c.Watermark_Transp), 'f', 4);
    return m;
}

int Differing_Pixels(const QImage& a, const QImage& b)
{
    if (a.size() != b.size())
        return a.width() * a.height() + 1;
    int n = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

} // namespace

TEST_F(CardRoundTripTest, EveryCardFieldAndTheDrawnCardComeBackForEveryFill)
{
    const QString picture = quarters();
    for (const char* fill : {"S", "G", "H", "I"}) {
        SCOPED_TRACE(fill);
        LMNWindowController& w = freshDesignWindow();
        DesignModeView* view = w.designModeView();
        // Every field away from its default, colours that no short form keeps.
        Card_Property c = *w.Front_card_Prop();
        EXPECT_EQ(c.Field_Names().size(), 35) << "a new card field is compared here too";
        c.Card_border_chk = true;
        c.Card_bordr_clr = QColor(0x8E, 0x24, 0xAA, 0xE1);
        c.Card_bor_Stepper = 5;
        c.Card_border_style = QStringLiteral("DA");
        c.Card_fill_chk = true;
        c.Card_fill_style = QLatin1String(fill);
        c.Card_fill_clr = QColor(0xA5, 0xD6, 0xA7);
        c.Card_fill_Grd_1_clr = QColor(0xC6, 0x28, 0x28);
        c.Card_fill_Grd_2_clr = QColor(0x15, 0x65, 0xC0, 0xF0);
        c.Card_grad_Stepper = 30;
        c.Card_hatch_style = QStringLiteral("Brick");
        c.Card_hatch_bk_clr = QColor(0xF0, 0xE6, 0x8C);
        c.Card_alpha_Stepper = 0.75f;
        c.Card_Side = QStringLiteral("1");   // a saved design is one-sided
        c.Card_Side_Name = QStringLiteral("F");
        c.Card_Shape = QStringLiteral("RR");
        c.Card_Name = QStringLiteral("Shelf edge");
        c.Card_Preset = QStringLiteral("Shelf");
        c.Card_Category = QStringLiteral("Retail");
        c.Card_Sub_Category = QStringLiteral("Shelf edge");
        c.Card_Cat_index = 3;
        c.Card_Create_Mode = QStringLiteral("P");
        c.Card_BG_Image_Layout = QStringLiteral("Stretch");
        c.Card_Content_clr = QColor(0x1A, 0x23, 0x7E);
        c.Card_Content_font = QFont(QStringLiteral("DejaVu Serif"));
        c.Card_Content_font.setPointSizeF(11.5);
        c.Card_Content_font.setItalic(true);
        c.Watermark_Used = true;
        c.Watermark_Text = QStringLiteral("DRAFT copy");
        c.Watermark_Color = QColor(0xBF, 0x36, 0x0C);
        c.Watermark_Font = QFont(QStringLiteral("DejaVu Sans"));
        c.Watermark_Font.setPointSizeF(27);
        c.Watermark_Font.setBold(true);
        c.Watermark_Alignment = 1;
        c.Watermark_Transp = 0.35f;
        c.Card_Size = QSizeF(288.5, 144.25);
        view->Set_Card_Model(c);
        view->Apply_Card_Size(c.Card_Size);
        // The card's panel shows it; the shape and the background picture as
        // that panel sets them.
        w.Show_RHS_Properties(nullptr);
        w.designModeView()->panels->card_info_tab->matrix_card_shape->button(1)->click();
        if (QLatin1String(fill) == QLatin1String("I"))
            view->panels->set_Front_BG_Image(picture);
        const QMap<QString, QString> before = Fields(*w.Front_card_Prop());
        const QImage drawnBefore = drawnCard();
        // The fill shows (the middle of the card is not left white).
        EXPECT_NE(drawnBefore.pixel(drawnBefore.width() / 2, drawnBefore.height() * 3 / 4), 0xffffffffu);

        const QString path = dir.filePath(QStringLiteral("card-%1.dbs").arg(QLatin1String(fill)));
        paths << path;
        w.Save_btn->trigger();
        ASSERT_TRUE(QFileInfo::exists(path));

        LMNWindowController& again = freshDesignWindow();
        EXPECT_NE(Fields(*again.Front_card_Prop()), before) << "a new window starts from another card";
        paths << path;
        again.Open_btn->trigger();
        const QMap<QString, QString> after = Fields(*again.Front_card_Prop());
        for (auto it = before.cbegin(); it != before.cend(); ++it)
            EXPECT_EQ(after.value(it.key()).toStdString(), it.value().toStdString()) << it.key().toStdString();
        EXPECT_EQ(again.Card_Shape, 1) << "the rounded outline";
        EXPECT_EQ(Differing_Pixels(drawnBefore, drawnCard()), 0) << "the card draws as it did before it was saved";
    }
}
