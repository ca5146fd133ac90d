// The window's delegates in designing mode, driven as the user drives them:
// typed size fields, the text editor, and the data-source lists that bind the
// selected items to a series.
#include "PanelsTestSupport.h"

#include "core/model/LMNImage.h"
#include "core/util/SharedValues.h"
#include "data/BatchBinding.h"

#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

class DelegatesTest : public PanelsTest {
protected:
    void SetUp() override
    {
        PanelsTest::SetUp();
        previousDataFolder = Folders.Data_Folder_Path;
        Folders.Data_Folder_Path = seriesDir.path();
    }
    void TearDown() override
    {
        Folders.Data_Folder_Path = previousDataFolder;
        PanelsTest::TearDown();
    }
    void writeSeries(const QString& name, const QByteArray& values)
    {
        QFile f(seriesDir.filePath(name + QStringLiteral(".txt")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(values);
    }

    QTemporaryDir seriesDir;
    QString previousDataFolder;
};

} // namespace

TEST_F(DelegatesTest, CardSizeFieldsKeepTheNumberTyped)
{
    w->Show_RHS_Properties(nullptr);
    QLineEdit* width = host->card_size_tab->width_Text;
    width->clear();
    QTest::keyClicks(width, QStringLiteral("12.5cm"));
    EXPECT_EQ(width->text(), QStringLiteral("12.5"));
    QTest::keyClick(width, Qt::Key_Return);
    EXPECT_EQ(width->text(), QStringLiteral("12.50"));
    EXPECT_DOUBLE_EQ(host->card_size_tab->width_Stepper->value(), 12.5);

    // Nothing above zero at the end of editing becomes 0.1 (millimetres).
    for (const char* typed : {"0", "-3", "abc"}) {
        width->clear();
        QTest::keyClicks(width, QString::fromLatin1(typed));
        QTest::keyClick(width, Qt::Key_Return);
        EXPECT_EQ(width->text(), QStringLiteral("0.10")) << typed;
    }
    // At most ten characters.
    width->clear();
    QTest::keyClicks(width, QStringLiteral("123456789012345"));
    EXPECT_EQ(width->text(), QStringLiteral("1234567890"));

    EXPECT_EQ(Clean_Size_Text(QStringLiteral("  \t7.25 mm\n")), QStringLiteral("7.25"));
    EXPECT_EQ(Clean_Size_Text(QStringLiteral("in3")), QStringLiteral("3"));
}

TEST_F(DelegatesTest, TextEditorLimitPlaceholderAndTypingUndo)
{
    LMNGraphic* text = add(LMNKind::Text, QRectF(0, 0, 100, 20));
    LMNGraphic* bound = add(LMNKind::Text, QRectF(0, 30, 100, 20));
    LMNGraphic* locked = add(LMNKind::Text, QRectF(0, 60, 100, 20));
    bound->Set_Data_source_type(1);
    bound->Set_text_value(QStringLiteral("from series"));
    locked->ctrl_is_locked = true;
    locked->Set_text_value(QStringLiteral("kept"));
    select({bound, locked, text});
    QPlainTextEdit* editor = host->datasource_tab->Text_value_Edit;
    ASSERT_FALSE(editor->isReadOnly());

    const int steps = undoSteps();
    editor->clear();
    QTest::keyClicks(editor, QStringLiteral("Hi"));
    EXPECT_EQ(text->Text_Value, QStringLiteral("Hi"));
    EXPECT_EQ(bound->Text_Value, QStringLiteral("from series"));
    EXPECT_EQ(locked->Text_Value, QStringLiteral("kept"));
    EXPECT_EQ(undoSteps(), steps + 1) << "a run of keystrokes is one undo step";

    // The placeholder disappears as it is typed; a paste of 300 keeps 250.
    QTest::keyClicks(editor, QStringLiteral(" Text here"));
    EXPECT_EQ(editor->toPlainText(), QStringLiteral("Hi "));
    editor->selectAll();
    editor->insertPlainText(QString(300, QLatin1Char('x')));
    EXPECT_EQ(editor->toPlainText().size(), 250);
    EXPECT_EQ(text->Text_Value.size(), 250);
    EXPECT_EQ(undoSteps(), steps + 1);

    // Another change comes between: the next typing is a step of its own,
    // and the first undo takes only that typing back.
    host->text_edtng_tab->Text_clr->setColor(Qt::red, true);
    EXPECT_EQ(undoSteps(), steps + 2);
    QTest::keyClick(editor, Qt::Key_Backspace);
    EXPECT_EQ(text->Text_Value.size(), 249);
    EXPECT_EQ(undoSteps(), steps + 3);
    w->Undo_Action_Perform();
    bool found = false;
    for (LMNGraphic* g : doc->graphicsPointers())
        if (g->kind() == LMNKind::Text && g->Text_Value.size() == 250) {
            EXPECT_EQ(g->txt_clr, QColor(Qt::red));
            found = true;
        }
    EXPECT_TRUE(found);
}

TEST_F(DelegatesTest, SeriesSourceWithoutSeriesSaysSo)
{
    LMNGraphic* text = add(LMNKind::Text, QRectF(0, 0, 100, 20));
    select({text});
    DataSourcePanel* ds = host->datasource_tab;
    choose(ds->Data_source_type, 1);
    EXPECT_TRUE(sawMessage(QStringLiteral("Please create batch processing series first.")));
    EXPECT_EQ(ds->Batch_Series->count(), 1);
    EXPECT_EQ(ds->Batch_Series->itemText(0), QStringLiteral("<--Select-->"));
    EXPECT_EQ(text->data_source_type, 0) << "the choice ends there";

    // Loading an item bound to a series that has gone says nothing.
    messages.clear();
    text->Set_Data_source_type(1);
    text->Set_Batch_List_Name(QStringLiteral("Gone"));
    w->Show_RHS_Properties(nullptr);
    select({text});
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(ds->Data_source_type->currentIndex(), 1);
}

TEST_F(DelegatesTest, BindingSkipsTheLockedTextAndGivesTheFirstValue)
{
    writeSeries(QStringLiteral("Names"), "Ann\nBob\n");
    writeSeries(QStringLiteral("Cities"), "Oslo\n");
    LMNGraphic* a = add(LMNKind::Text, QRectF(0, 0, 100, 20));
    LMNGraphic* b = add(LMNKind::Text, QRectF(0, 30, 100, 20));
    b->ctrl_is_locked = true;
    b->Set_text_value(QStringLiteral("locked"));
    const QByteArray lockedBefore = b->encodeWithCoder();
    select({b, a});
    DataSourcePanel* ds = host->datasource_tab;
    choose(ds->Data_source_type, 1);
    EXPECT_EQ(a->data_source_type, 1);
    EXPECT_TRUE(ds->Text_value_Edit->isReadOnly());
    // The view button wants a series chosen.
    QString viewed;
    host->Open_Series_Value_Box = [&viewed](const QString& name) { viewed = name; };
    ds->view_series_btn->click();
    EXPECT_TRUE(sawMessage(QStringLiteral("Please select the series.")));
    EXPECT_TRUE(viewed.isEmpty());
    ASSERT_EQ(ds->Batch_Series->itemText(0), QStringLiteral("<--Select-->"));
    const int names = ds->Batch_Series->findText(QStringLiteral("Names"));
    ASSERT_GT(names, 0);
    const int steps = undoSteps();
    choose(ds->Batch_Series, names);
    EXPECT_EQ(a->batch_list_name, QStringLiteral("Names"));
    EXPECT_EQ(a->batch_list_index, names);
    EXPECT_EQ(a->Text_Value, QStringLiteral("Ann"));
    EXPECT_EQ(ds->Text_value_Edit->toPlainText(), QStringLiteral("Ann"));
    EXPECT_EQ(b->encodeWithCoder(), lockedBefore);
    EXPECT_EQ(undoSteps(), steps + 1);
    ds->view_series_btn->click();
    EXPECT_EQ(viewed, QStringLiteral("Names"));

    // The panel loads the binding back; "Manual" unbinds and keeps the text.
    w->Show_RHS_Properties(nullptr);
    select({a});
    EXPECT_EQ(ds->Batch_Series->currentText(), QStringLiteral("Names"));
    choose(ds->Data_source_type, 0);
    EXPECT_EQ(a->data_source_type, 0);
    EXPECT_EQ(a->batch_list_name, QString());
    EXPECT_EQ(a->batch_list_index, -1);
    EXPECT_EQ(a->Text_Value, QStringLiteral("Ann"));
    EXPECT_FALSE(ds->Text_value_Edit->isReadOnly());
    EXPECT_EQ(ds->Batch_Series->count(), 0);
}

TEST_F(DelegatesTest, PicturesBindOneAtATime)
{
    writeSeries(QStringLiteral("Photos"), "/nowhere/a.png\n");
    LMNGraphic* p = add(LMNKind::Image, QRectF(0, 0, 40, 30));
    LMNGraphic* q = add(LMNKind::Image, QRectF(50, 0, 40, 30));
    select({q, p});
    DataSourcePanel* ds = host->datasource_tab;
    choose(ds->Data_source_type, 1);
    EXPECT_TRUE(sawMessage(QStringLiteral("Please select only one image control to 'Select Image'.")));
    EXPECT_EQ(p->data_source_type, 0);
    EXPECT_EQ(q->data_source_type, 0);

    // One picture: bound, its path the series' first value.
    messages.clear();
    select({p});
    choose(ds->Data_source_type, 1);
    choose(ds->Batch_Series, ds->Batch_Series->findText(QStringLiteral("Photos")));
    EXPECT_EQ(p->data_source_type, 1);
    EXPECT_EQ(p->batch_list_name, QStringLiteral("Photos"));
    EXPECT_EQ(p->Text_Value, QStringLiteral("/nowhere/a.png"));
    EXPECT_EQ(ds->Manual_image_path->text(), p->_file_path);
    EXPECT_FALSE(host->image_tab->image_error_label->isHidden()) << "its file does not exist";
}

// A design's spreadsheet rows come with its design file: the spreadsheet is a
// source to choose only while the design holds rows (it would list no
// columns otherwise), and an item bound to it still shows its binding.
TEST_F(DelegatesTest, TheSpreadsheetIsOfferedOnlyWhileTheDesignHoldsRows)
{
    ASSERT_TRUE(host->batchBinding);
    Batch_Binding& binding = *host->batchBinding;
    binding.excelRows().Restore({}, {});
    LMNGraphic* text = add(LMNKind::Text, QRectF(0, 0, 100, 20));
    select({text});
    DataSourcePanel* ds = host->datasource_tab;
    EXPECT_EQ(ds->Data_source_type->count(), 2);
    EXPECT_EQ(ds->Data_source_type->findText(QStringLiteral("Excel")), -1);

    const QStringList titles{"#", "Name", "Code"};
    binding.excelRows().Restore(titles, {{{"Extension", "1"}, {"Column1", "Ann"}, {"Column2", "A-1"}}});
    w->Show_RHS_Properties(nullptr);
    select({text});
    ASSERT_EQ(ds->Data_source_type->findText(QStringLiteral("Excel")), 2);
    choose(ds->Data_source_type, 2);
    EXPECT_EQ(text->data_source_type, 2);
    EXPECT_TRUE(ds->Batch_Series->findText(QStringLiteral("Name")) >= 0);

    // Rows gone: the bound item keeps its source in the list, another item
    // is offered no spreadsheet.
    binding.excelRows().Restore({}, {});
    LMNGraphic* other = add(LMNKind::Text, QRectF(0, 30, 100, 20));
    w->Show_RHS_Properties(nullptr);
    select({text});
    EXPECT_EQ(ds->Data_source_type->currentText(), QStringLiteral("Excel"));
    w->Show_RHS_Properties(nullptr);
    select({other});
    EXPECT_EQ(ds->Data_source_type->findText(QStringLiteral("Excel")), -1);
    EXPECT_EQ(ds->Data_source_type->currentIndex(), 0);
}
