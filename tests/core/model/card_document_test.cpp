// Card model and document.
#include "core/FakeMainWindow.h"
#include "core/model/Card_Property.h"
#include "core/model/KeyedArchive.h"
#include "core/model/LMNDocument.h"
#include "core/model/LMNGraphicArchive.h"
#include "core/model/LMNBarcode.h"
#include "core/model/LMNImage.h"
#include "core/model/LMNLine.h"
#include "core/model/LMNSignature.h"
#include "core/model/LMNText.h"
#include "core/model/Shape_Control.h"
#include "platform/Plist.h"

#include <QDataStream>
#include <QScopeGuard>

#include <gtest/gtest.h>

namespace {

TEST(CardModel, Defaults)
{
    Card_Property c;
    EXPECT_TRUE(c.Card_fill_chk);
    EXPECT_EQ(c.Card_fill_style, "S");
    EXPECT_EQ(c.Card_fill_clr, QColor(Qt::white));
    EXPECT_FALSE(c.Card_border_chk);
    EXPECT_EQ(c.Card_bor_Stepper, 1);
    EXPECT_EQ(c.Card_bordr_clr, QColor(Qt::black));
    EXPECT_EQ(c.Card_border_style, "S");
    EXPECT_EQ(c.Card_Shape, "R");
    EXPECT_EQ(c.Card_Side, "2");
    EXPECT_EQ(c.Card_Side_Name, "F");
    EXPECT_EQ(c.Card_Preset, "Custom");
    EXPECT_EQ(c.Card_Name, "Untitled");
    EXPECT_EQ(c.Card_Create_Mode, "W");
    EXPECT_EQ(c.Card_BG_Image_Layout, "Tile");
    EXPECT_FALSE(c.Watermark_Used);
    EXPECT_EQ(c.Watermark_Text, "Watermark");
    EXPECT_EQ(c.Watermark_Color, QColor(Qt::black));
    EXPECT_FLOAT_EQ(c.Watermark_Transp, 1.0f);
    EXPECT_EQ(c.Watermark_Alignment, 0);
    EXPECT_FLOAT_EQ(c.Card_alpha_Stepper, 100.0f);
    EXPECT_EQ(c.Card_Size, QSizeF(0, 0));
    EXPECT_DOUBLE_EQ(c.Card_Content_font.pointSizeF(), 12);
    EXPECT_EQ(c.Watermark_Font, c.Card_Content_font);
    c.setCard_Name("Badge");
    EXPECT_EQ(c.Card_Name, "Badge");
}

TEST(CardModel, ThirtyFiveFieldsInTheirOrder)
{
    const QStringList names = Card_Property::Field_Names();
    ASSERT_EQ(names.size(), 35);
    EXPECT_EQ(names.first(), "Card_border_chk");
    EXPECT_EQ(names[24], "Card_BG_Image");
    EXPECT_EQ(names.last(), "Watermark_Transp");
    const QStringList written = Item_Archive_Keys(Card_Property().encodeWithCoder());
    // Every key is written (the missing background picture as a null entry),
    // in the writer's order.
    const QStringList order = {"Card_border_chk", "Card_fill_chk", "Card_bor_Stepper", "Card_grad_Stepper",
                               "Card_Cat_index", "Card_alpha_Stepper", "Card_bordr_clr", "Card_fill_clr",
                               "Card_fill_Grd_1_clr", "Card_fill_Grd_2_clr", "Card_hatch_bk_clr",
                               "Card_border_style", "Card_fill_style", "Card_hatch_style", "Card_Side",
                               "Card_Side_Name", "Card_Shape", "Card_Name", "Card_Preset", "Card_Category",
                               "Card_Sub_Category", "Card_Create_Mode", "Card_BG_Image_Path",
                               "Card_BG_Image_Layout", "Card_BG_Image", "Card_Location", "Card_Size", "Card_Content_clr",
                               "Card_Content_font", "Watermark_Used", "Watermark_Alignment", "Watermark_Transp",
                               "Watermark_Text", "Watermark_Color", "Watermark_Font"};
    EXPECT_EQ(written, order);
    QStringList sortedNames = names, sortedWritten = written;
    sortedNames.sort();
    sortedWritten.sort();
    EXPECT_EQ(sortedNames, sortedWritten);
}

TEST(CardModel, ArchiveRoundTripAndMissingKeys)
{
    Card_Property c;
    c.Card_border_chk = true;
    c.Card_fill_style = "I";
    c.Card_Size = QSizeF(243.5, 153);
    c.Card_Location = QPointF(1, 2);
    c.Watermark_Transp = 0.3f;
    QImage bg(4, 4, QImage::Format_RGB32);
    bg.fill(Qt::cyan);
    c.Card_BG_Image = PtImage(bg);
    auto back = Card_Property::initWithCoder(c.encodeWithCoder());
    ASSERT_TRUE(back);
    EXPECT_EQ(back->encodeWithCoder(), c.encodeWithCoder());
    EXPECT_EQ(back->Card_Size, QSizeF(243.5, 153));
    EXPECT_EQ(back->Card_BG_Image.raster(), bg);

    KeyedArchiver partial(QStringLiteral("Card_Property"));
    partial.encodeBool("Card_border_chk", true);
    auto p = Card_Property::initWithCoder(partial.finish());
    ASSERT_TRUE(p);
    EXPECT_FALSE(p->Card_fill_chk);   // a missing key reads as NO, not the default
    EXPECT_TRUE(p->Card_Name.isNull());
    EXPECT_FALSE(Card_Property::initWithCoder(QByteArray("garbage")));
    EXPECT_FALSE(Card_Property::initWithCoder(Shape_Control().encodeWithCoder()));

    auto copy = c.copyWithZone();
    EXPECT_EQ(copy->Card_bordr_clr, c.Card_bordr_clr);
    EXPECT_EQ(copy->encodeWithCoder(), c.encodeWithCoder());
}

struct Document : ::testing::Test {
    FakeMainWindow win;
    LMNDocument doc;
    void SetUp() override { win.canvasBounds = QRectF(0, 0, 300, 300); }
    static LMNGraphicPtr shape(double x)
    {
        auto s = std::make_shared<Shape_Control>();
        s->_bounds = QRectF(x, 0, 10, 10);
        return s;
    }
};

TEST_F(Document, InsertRemoveAndUndo)
{
    EXPECT_TRUE(doc.graphics().isEmpty());
    int notified = 0;
    doc.addGraphicsObserver(this, [&] { ++notified; });
    const LMNGraphicPtr a = shape(1), b = shape(2), c = shape(3);
    ASSERT_TRUE(doc.insertGraphics({a, b}, {0, 1}));
    ASSERT_TRUE(doc.insertGraphic(c, 0));   // front-most
    EXPECT_EQ(doc.graphicsPointers(), QList<LMNGraphic*>({c.get(), a.get(), b.get()}));
    EXPECT_FALSE(doc.insertGraphic(shape(4), 9));
    EXPECT_FALSE(doc.removeGraphicAtIndex(3));
    doc.undoManager().checkpoint();

    ASSERT_TRUE(doc.removeGraphicsAtIndexes({0, 2}));
    EXPECT_EQ(doc.graphicsPointers(), QList<LMNGraphic*>({a.get()}));
    doc.undoManager().undo();
    EXPECT_EQ(doc.graphicsPointers(), QList<LMNGraphic*>({c.get(), a.get(), b.get()}));
    doc.undoManager().redo();
    EXPECT_EQ(doc.graphicsPointers(), QList<LMNGraphic*>({a.get()}));
    doc.undoManager().undo();
    doc.undoManager().undo();   // the insertions
    EXPECT_TRUE(doc.graphics().isEmpty());
    EXPECT_EQ(notified, 8);
}

TEST_F(Document, PropertyChangesKeepTheValueFromBeforeTheFirstChange)
{
    const LMNGraphicPtr a = shape(1);
    doc.insertGraphic(a, 0);
    doc.undoManager().checkpoint();
    a->setBounds(QRectF(50, 50, 10, 10));
    a->setBounds(QRectF(90, 90, 10, 10));
    a->setValueForKey("strokeWidth", 4.0);
    a->_strokeWidth = 8;                     // plain writes are not seen
    doc.undoManager().checkpoint();
    doc.undoManager().undo();
    EXPECT_EQ(a->_bounds, QRectF(1, 0, 10, 10));
    EXPECT_DOUBLE_EQ(a->_strokeWidth, 1.0);
    doc.undoManager().redo();
    EXPECT_EQ(a->_bounds, QRectF(90, 90, 10, 10));
    EXPECT_DOUBLE_EQ(a->_strokeWidth, 8.0);   // the value the undo replaced
}

TEST_F(Document, ChangesOfItemsInsertedInTheSameGroupAreNotRecorded)
{
    const LMNGraphicPtr a = shape(1);
    doc.insertGraphic(a, 0);
    a->setBounds(QRectF(5, 5, 5, 5));
    doc.undoManager().checkpoint();
    EXPECT_EQ(doc.undoManager().undoGroupCount(), 1);
    doc.undoManager().undo();
    EXPECT_TRUE(doc.graphics().isEmpty());
}

TEST_F(Document, RegistrationOffRecordsNothing)
{
    doc.Enable_Disable_Undo_Registraion(false);
    const LMNGraphicPtr a = shape(1);
    doc.insertGraphic(a, 0);
    EXPECT_FALSE(doc.wasInsertedInCurrentUndoGroup(a.get()));
    EXPECT_FALSE(doc.undoManager().canUndo());
    doc.Enable_Disable_Undo_Registraion(true);
    a->setBounds(QRectF(7, 7, 7, 7));
    EXPECT_TRUE(doc.undoManager().canUndo());   // now the item is observed
    doc.Clear_All_Undo_Redo();
    EXPECT_TRUE(doc.graphics().isEmpty());
    EXPECT_FALSE(doc.undoManager().canUndo());
}

TEST_F(Document, LineEndPointsAndTextHeightFitting)
{
    auto line = std::make_shared<LMNLine>();
    line->setBeginPoint({10, 10});
    line->setEndPoint({50, 30});
    auto text = std::make_shared<LMNText>();
    text->_bounds = QRectF(0, 0, 100, 200);
    doc.insertGraphics({line, text}, {0, 1});
    doc.undoManager().checkpoint();
    line->setEndPoint({0, 80});
    text->setHeightToMatchContents();   // outside undo
    EXPECT_LT(text->_bounds.height(), 200);
    doc.undoManager().undo();
    EXPECT_EQ(line->beginPoint(), QPointF(10, 10));
    EXPECT_EQ(line->endPoint(), QPointF(50, 30));
    EXPECT_LT(text->_bounds.height(), 200);
}

TEST_F(Document, CanvasSizeDataAndName)
{
    EXPECT_EQ(doc.canvasSize(true, QSizeF(10, 20)), QSizeF(284, 284));
    EXPECT_EQ(doc.canvasSize(false, QSizeF(10, 20)), QSizeF(10, 20));
    doc.insertGraphics({shape(1), shape(2)}, {0, 1});
    const auto root = Plist_Parse(doc.dataOfType("Zorv Label document"));
    ASSERT_TRUE(root);
    const QVariantMap dict = root->toMap();
    EXPECT_EQ(QStringList(dict.keys()), QStringList({"graphics", "printInfo", "version"}));
    EXPECT_EQ(dict["version"].toLongLong(), 2);
    ASSERT_EQ(dict["graphics"].toList().size(), 2);
    EXPECT_TRUE(LMNGraphic::initWithCoder(dict["graphics"].toList()[0].toByteArray()));
    EXPECT_EQ(doc.dataOfType(LMNDocumentNewTypeName), doc.dataOfType("Zorv Label document"));
    EXPECT_TRUE(LMNDocumentNewTypeName.endsWith(".Plimtar"));
    EXPECT_TRUE(doc.dataOfType("text/plain").isEmpty());
    EXPECT_FALSE(doc.readFromData("x", "Zorv Label document"));
    EXPECT_FALSE(doc.isDocumentEdited());
    EXPECT_EQ(doc.displayName(), win.App_Name());
}

// The document never reads data, not even its own: the answer is no, and the
// items, the undo history and the caller's error stay as they were (designs are
// read by the main window in their own format).
TEST_F(Document, ReadsNoDataNotEvenItsOwn)
{
    doc.insertGraphics({shape(1), shape(2)}, {0, 1});
    const QByteArray data = doc.dataOfType(LMNDocumentNewTypeName);
    LMNDocument other;
    const LMNGraphicPtr kept = shape(99);
    other.insertGraphic(kept, 0);
    const bool couldUndo = other.undoManager().canUndo();
    for (const QString& type : {LMNDocumentNewTypeName, LMNDocumentOldTypeName, LMNDocumentPdfTypeName}) {
        SCOPED_TRACE(type.toStdString());
        LMNError err = LMNErrorWithCode(7);
        EXPECT_FALSE(other.readFromData(data, type, &err));
        EXPECT_EQ(err.code, 7) << "no error is set";
        EXPECT_EQ(other.graphicsPointers(), QList<LMNGraphic*>{kept.get()});
        EXPECT_EQ(other.undoManager().canUndo(), couldUndo);
    }
    EXPECT_FALSE(other.readFromData(LMNDocument().dataOfType(LMNDocumentNewTypeName), LMNDocumentNewTypeName));
    EXPECT_EQ(other.graphics().size(), 1);
}

// The print settings: their change is told to the observers of the canvas
// size before and after (the new settings in place by then), the canvas size
// stays what it is, and the document's data holds the settings it has.
TEST_F(Document, APrintSettingsChangeIsToldAsACanvasSizeChange)
{
    PrintInfo letter;
    letter.pageLayout = QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Landscape, QMarginsF(18, 18, 18, 18));
    const QByteArray a4Data = doc.dataOfType(LMNDocumentNewTypeName);
    QList<std::pair<bool, QPageSize::PageSizeId>> told;
    doc.addCanvasSizeObserver(this, [&](bool prior) { told.append({prior, doc.printInfo().pageLayout.pageSize().id()}); });
    doc.setPrintInfo(letter);
    const QList<std::pair<bool, QPageSize::PageSizeId>> wanted{{true, QPageSize::A4}, {false, QPageSize::Letter}};
    EXPECT_EQ(told, wanted);
    EXPECT_EQ(doc.canvasSize(true, QSizeF(10, 20)), QSizeF(284, 284));

    // The data of the document holds its settings: Letter, across.
    const QByteArray letterData = doc.dataOfType(LMNDocumentNewTypeName);
    EXPECT_NE(letterData, a4Data);
    QDataStream in(Plist_Parse(letterData)->toMap().value("printInfo").toByteArray());
    in.setVersion(QDataStream::Qt_6_0);
    qint32 id = -1, orientation = -1;
    QString key;
    QSizeF points;
    in >> id >> key >> points >> orientation;
    EXPECT_EQ(in.status(), QDataStream::Ok);
    EXPECT_EQ(id, qint32(QPageSize::Letter));
    EXPECT_EQ(points, QSizeF(612, 792));
    EXPECT_EQ(orientation, qint32(QPageLayout::Landscape));

    doc.removeCanvasSizeObserver(this);
    doc.setPrintInfo(PrintInfo());
    EXPECT_EQ(told.size(), 2) << "a removed observer hears nothing";
    EXPECT_EQ(doc.dataOfType(LMNDocumentNewTypeName), a4Data);
}

// An observed property whose kind gives it no name for the undo menu is a
// fault of the program: the log says which, the change is still recorded and
// undone, and undoing it is not reported again. Every kind we have names
// every property the document observes.
TEST_F(Document, AnObservedPropertyWithoutANameIsReportedInTheLog)
{
    struct Unnamed : Shape_Control {
        QString presentablePropertyNameForKey(const QString& key) const override
        {
            return key == LMNGraphicStrokeWidthKey ? QString() : Shape_Control::presentablePropertyNameForKey(key);
        }
    };
    static QStringList logged;
    logged.clear();
    const auto previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& m) { logged << m; });
    const auto restore = qScopeGuard([previous] { qInstallMessageHandler(previous); });

    auto item = std::make_shared<Unnamed>();
    item->_bounds = QRectF(1, 0, 10, 10);
    doc.insertGraphic(item, 0);
    doc.undoManager().checkpoint();
    item->setValueForKey(LMNGraphicStrokeWidthKey, 5.0);
    item->setBounds(QRectF(40, 40, 10, 10));   // a named property: nothing logged
    doc.undoManager().checkpoint();
    EXPECT_EQ(logged, QStringList{
        "[[Shape_Control class] keysForValuesToObserveForUndo] returns a set that includes @\"strokeWidth\", "
        "but [[Shape_Control class] presentablePropertyNameForKey:@\"strokeWidth\"] returns nil."});
    doc.undoManager().undo();
    EXPECT_DOUBLE_EQ(item->_strokeWidth, 1.0);
    EXPECT_EQ(item->_bounds, QRectF(1, 0, 10, 10));
    doc.undoManager().redo();
    EXPECT_DOUBLE_EQ(item->_strokeWidth, 5.0);
    EXPECT_EQ(logged.size(), 1) << "undo and redo are not reported";

    const std::vector<std::shared_ptr<LMNGraphic>> kinds{
        std::make_shared<Shape_Control>(), std::make_shared<LMNLine>(), std::make_shared<LMNText>(),
        std::make_shared<LMNImage>(), std::make_shared<LMNSignature>(), std::make_shared<LMNBarcode>()};
    for (const auto& k : kinds)
        for (const QString& key : k->keysForValuesToObserveForUndo())
            EXPECT_FALSE(k->presentablePropertyNameForKey(key).isNull()) << k->className().toStdString() << " " << key.toStdString();
}

} // namespace
