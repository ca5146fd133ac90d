// The list windows driven through their controls and buttons: the text
// import options, the row editor, the list generator and the import from a
// worksheet (its modal run answered by a scripted runner).
#include "barcode/generation/list_test_support.h"
#include "data/DataTestSupport.h"
#include "data/barcodelist/ListDialogs.h"
#include "data/series/GeneratorPane.h"
#include "platform/MessageSink.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

using namespace datatest;

namespace {

// Message boxes answered "Yes"/OK and remembered; modal runs scripted.
class Scripted {
public:
    Scripted()
    {
        m_previous = Set_Message_Responder([this](const MessageRequest& r) {
            // Message boxes put a line break before their text.
            messages << (r.text.startsWith(QLatin1Char('\n')) ? r.text.mid(1) : r.text);
            return 0;
        });
        m_runner = Set_Modal_Runner([this](QDialog& d) { return run ? run(d) : 0; });
    }
    ~Scripted()
    {
        Set_Message_Responder(m_previous);
        Set_Modal_Runner(m_runner);
    }
    QStringList messages;
    std::function<int(QDialog&)> run;

private:
    MessageResponder m_previous;
    ModalRunner m_runner;
};

void Fill(BarcodeListModel& m, int n)
{
    for (int i = 0; i < n; ++i)
        m.Create_Item_List(QStringLiteral("V%1").arg(i), QStringLiteral("H%1").arg(i), QStringLiteral("F%1").arg(i),
                           QString::number(i + 2), m.count());
}

QString Write_Text_File(const QString& path)
{
    testsupport::touch(path, "plain text, not a workbook");
    return path;
}

} // namespace

TEST(ListDialogs, TextImportOptionsNeedABoxAndTellThePlacement)
{
    Scripted s;
    Import_From_Txt_File box;
    box.Reset_Controls(QStringLiteral("/tmp/a.txt"));
    EXPECT_TRUE(box.radioButton_At_Start->isChecked());
    box.OKPressed();
    EXPECT_EQ(s.messages, QStringList({"Please select at least one from 'Create List Option'."}));
    EXPECT_NE(box.result(), 1);   // the box stays open
    box.chk_header->setChecked(true);
    box.radioButton_At_End->setChecked(true);
    box.OKPressed();
    EXPECT_EQ(box.result(), 1);
    EXPECT_FALSE(box.options().overwrite_text_load_row);
    EXPECT_TRUE(box.options().header);
    // Browse puts the chosen file in the path; the run's answer is kept.
    box.chooseFile = [] { return QStringLiteral("/tmp/other.csv"); };
    s.run = [](QDialog& d) {
        auto& b = static_cast<Import_From_Txt_File&>(d);
        b.BrowsePressed();
        b.CancelPressed();
        return b.result();
    };
    EXPECT_EQ(box.Open_Wnd(QStringLiteral("/tmp/a.txt")), 0);
    EXPECT_EQ(box.path(), "/tmp/other.csv");
}

TEST(ListDialogs, RowEditorStoresThroughTheReplaceRule)
{
    Scripted s;
    BarcodeListModel m;
    Fill(m, 3);
    Update_List_Details editor;
    editor.setList(&m);
    ASSERT_TRUE(editor.Fill_Row(1));
    EXPECT_EQ(editor.m_bar_value_str->text(), "V1");
    EXPECT_EQ(editor.m_s_indx_str->text(), "1");
    // The quantity field holds three characters.
    editor.m_bar_pq_str->clear();
    editor.m_bar_pq_str->insert(QStringLiteral("1234"));
    EXPECT_EQ(editor.m_bar_pq_str->text(), "123");
    for (const char* pq : {"0", "abc", ""}) {
        editor.Fill_Row(1);
        editor.m_bar_pq_str->setText(QString::fromLatin1(pq));
        editor.OKPressed();
        EXPECT_EQ(editor.result(), 1);
        EXPECT_EQ(m.rows()[1].PQ, "1") << pq;
        EXPECT_TRUE(editor.m_bar_value_str->text().isEmpty());
    }
    editor.Fill_Row(1);
    editor.m_bar_pq_str->setText(QStringLiteral(" 7 "));
    editor.OKPressed();
    EXPECT_EQ(m.rows()[1].PQ, "7");
    // Three empty texts: the row carries no quantity.
    editor.Fill_Row(2);
    for (QLineEdit* f : {editor.m_bar_value_str, editor.m_bar_hdr_str, editor.m_bar_ftr_str})
        f->clear();
    editor.OKPressed();
    EXPECT_EQ(m.rows()[2], (BarcodeRow{"", "", "", ""}));
    // Cancel keeps the row.
    editor.Fill_Row(0);
    editor.m_bar_value_str->setText(QStringLiteral("changed"));
    editor.CancelPressed();
    EXPECT_EQ(m.rows()[0].Value, "V0");
    // A row that left the list meanwhile is refused, nothing is stored.
    editor.Fill_Row(2);
    m.Remove_Rows({1, 2});
    editor.OKPressed();
    EXPECT_EQ(editor.result(), 0);
    EXPECT_EQ(m.count(), 1);
    EXPECT_TRUE(s.messages.last().contains("no longer in the list"));
    EXPECT_FALSE(editor.Fill_Row(5));
}

TEST(ListDialogs, GeneratorPlacesValuesIntoTheTickedColumns)
{
    Scripted s;
    Generate_List_Barcode g;
    BarcodeListModel m;
    g.setList(&m);
    // Sequential 998 to 1001 into the quantities: four digits are no quantity.
    g.Reset_Controls();
    g.pane->from_txt->setText(QStringLiteral("998"));
    g.pane->to_txt->setText(QStringLiteral("1001"));
    g.chk_pq->setChecked(true);
    g.OKPressed();
    ASSERT_EQ(m.count(), 4);
    EXPECT_EQ(m.rows()[0].PQ, "998");
    EXPECT_EQ(m.rows()[1].PQ, "999");
    EXPECT_EQ(m.rows()[2].PQ, "1");
    EXPECT_EQ(m.rows()[3].PQ, "1");
    EXPECT_EQ(m.rows()[0].Value, "");

    // Three rows, At start, Constant X five times into the headers only.
    BarcodeListModel c;
    Fill(c, 3);
    g.setList(&c);
    g.Reset_Controls();
    g.Constant_Radio_Pressed();
    g.pane->value_txt->setText(QStringLiteral("X"));
    g.pane->count_txt->setText(QStringLiteral("5"));
    g.chk_header->setChecked(true);
    g.OKPressed();
    ASSERT_EQ(c.count(), 5);
    EXPECT_EQ(c.rows()[0], (BarcodeRow{"V0", "X", "F0", "2"}));
    EXPECT_EQ(c.rows()[4], (BarcodeRow{"", "X", "", "1"}));
    // At end: the rows stay, five more come.
    g.Reset_Controls();
    g.Constant_Radio_Pressed();
    g.pane->value_txt->setText(QStringLiteral("Y"));
    g.pane->count_txt->setText(QStringLiteral("5"));
    g.chk_value->setChecked(true);
    g.End_Radio_Pressed();
    g.OKPressed();
    ASSERT_EQ(c.count(), 10);
    EXPECT_EQ(c.rows()[0].Header, "X");
    EXPECT_EQ(c.rows()[9], (BarcodeRow{"Y", "", "", "1"}));
    // No list option: the message, nothing changes.
    g.Reset_Controls();
    g.Constant_Radio_Pressed();
    g.pane->value_txt->setText(QStringLiteral("Z"));
    s.messages.clear();
    g.OKPressed();
    EXPECT_EQ(s.messages, QStringList({"Please select at least one from 'Create List Option'."}));
    EXPECT_EQ(c.count(), 10);
    // A rule's own check comes first.
    g.Reset_Controls();
    g.chk_value->setChecked(true);
    s.messages.clear();
    g.OKPressed();
    EXPECT_EQ(s.messages, QStringList({"Please enter valid 'From' value."}));
}

TEST(ListDialogs, WorksheetImportAppendsOrOverwrites)
{
    Scripted s;
    QTemporaryDir dir;
    const QString book = dir.filePath("rows.xlsx");
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(
        book, {{"Code", "Title", "Qty"}, {"111", "one", "abc"}, {"", "", ""}, {"222", "two", "0"}, {"333", "three", "5"}},
        true));
    BarcodeListModel m;
    Fill(m, 2);
    Import_Excel_Barcode* w = new Import_Excel_Barcode;
    w->setList(&m);
    // Value and quantity from their columns, appended.
    s.run = [&](QDialog&) {
        EXPECT_EQ(w->Sheet_ComboBox->count(), 1);
        EXPECT_EQ(w->value_ComboBox->itemText(2), "Qty");
        w->chk_value->setChecked(true);
        w->chk_pq->setChecked(true);
        w->pq_ComboBox->setCurrentIndex(2);
        w->End_Radio_Pressed();
        w->OKPressed();
        return w->result();
    };
    EXPECT_EQ(w->Open_excel_Wnd(book), 1);
    ASSERT_EQ(m.count(), 5);   // the empty sheet row used no place
    EXPECT_EQ(m.rows()[2], (BarcodeRow{"111", "", "", "1"}));
    EXPECT_EQ(m.rows()[3], (BarcodeRow{"222", "", "", "1"}));
    EXPECT_EQ(m.rows()[4], (BarcodeRow{"333", "", "", "5"}));
    EXPECT_TRUE(s.messages.isEmpty());

    // Overwriting the headers from row 0: the other texts of those rows stay.
    s.run = [&](QDialog&) {
        w->chk_header->setChecked(true);
        w->header_ComboBox->setCurrentIndex(1);
        w->OKPressed();
        return w->result();
    };
    EXPECT_EQ(w->Open_excel_Wnd(book), 1);
    EXPECT_EQ(m.rows()[0], (BarcodeRow{"V0", "one", "F0", "2"}));
    EXPECT_EQ(m.rows()[2], (BarcodeRow{"111", "three", "", "1"}));
    EXPECT_EQ(m.rows()[3].Header, "");

    // The title row alone into an empty list: nothing added, the user is told.
    const QString titles = dir.filePath("titles.xlsx");
    ASSERT_TRUE(SpreadsheetWriter::WriteWorkbook(titles, {{"Code"}}, true));
    BarcodeListModel empty;
    w->setList(&empty);
    s.run = [&](QDialog&) {
        w->chk_value->setChecked(true);
        w->OKPressed();
        return w->result();
    };
    EXPECT_EQ(w->Open_excel_Wnd(titles), 1);
    EXPECT_EQ(empty.count(), 0);
    EXPECT_EQ(s.messages.last(), List_File_Invalid_Message);

    // A file that is no workbook: the user is told why, the window does not open.
    s.messages.clear();
    bool ran = false;
    s.run = [&](QDialog&) { ran = true; return 0; };
    EXPECT_EQ(w->Open_excel_Wnd(Write_Text_File(dir.filePath("no.xlsx"))), 0);
    EXPECT_FALSE(ran);
    ASSERT_EQ(s.messages.size(), 1);
    EXPECT_TRUE(s.messages[0].startsWith("The file is not a spreadsheet (.xlsx)")) << s.messages[0].toStdString();
    delete w;
}

TEST(ListDialogs, WorksheetChosenByNameIsTheWorkbooksSheet)
{
    Scripted s;
    // The sheets' parts are stored in another order than the workbook lists them.
    BarcodeListModel m;
    Import_Excel_Barcode w;
    w.setList(&m);
    s.run = [&](QDialog&) {
        EXPECT_EQ(w.Sheet_ComboBox->itemText(1), "Second");
        w.Sheet_ComboBox->setCurrentIndex(1);
        EXPECT_EQ(w.value_ComboBox->itemText(0), "x");
        w.chk_value->setChecked(true);
        w.chk_header->setChecked(true);
        w.header_ComboBox->setCurrentIndex(1);
        // Without a title row the titles come in too.
        w.contains_header->setChecked(false);
        w.OKPressed();
        return w.result();
    };
    EXPECT_EQ(w.Open_excel_Wnd(Test_File("lo_reordered.xlsx")), 1);
    ASSERT_EQ(m.count(), 2);
    EXPECT_EQ(m.rows()[0], (BarcodeRow{"x", "y", "", "1"}));
    EXPECT_EQ(m.rows()[1], (BarcodeRow{"1", "2", "", "1"}));
    // A ticked text without a column: its message, the window stays.
    s.run = [&](QDialog&) {
        w.chk_footer->setChecked(true);
        w.footer_ComboBox->setCurrentIndex(-1);
        w.OKPressed();
        return w.result() == 1 ? 1 : 0;
    };
    w.Open_excel_Wnd(Test_File("lo_reordered.xlsx"));
    EXPECT_EQ(s.messages.last(), "Please select column for 'Barcode Footer' list.");
}

// A workbook that cannot be read is said in the window, in words that say
// what to do, and the list keeps every row it had.
TEST(ListDialogs, WorkbooksThatCannotBeReadAreSaidAndTheListKept)
{
    Scripted s;
    QTemporaryDir dir;
    BarcodeListModel m;
    Fill(m, 3);
    const std::vector<BarcodeRow> before = m.rows();
    Import_Excel_Barcode w;
    w.setList(&m);

    // Saved with a password, or an old .xls: the window does not open.
    const struct {
        const char* file;
        const char* message;
    } refused[] = {
        {"lo_password.xlsx", "This workbook is protected by a password: save it without one and try again."},
        {"lo_old.xls", "Old Excel files (.xls) cannot be read: save it as .xlsx and try again."},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.file);
        s.messages.clear();
        bool ran = false;
        s.run = [&](QDialog&) {
            ran = true;
            return 0;
        };
        EXPECT_EQ(w.Open_excel_Wnd(Test_File(r.file)), 0);
        EXPECT_FALSE(ran);
        EXPECT_EQ(s.messages, QStringList({r.message}));
        EXPECT_EQ(m.rows(), before);
    }

    // A damaged sheet is named when the window shows it, before any column
    // is offered; OK then imports nothing.
    auto parts = Workbook_Parts(Sheet_Xml("<row><c t=\"inlineStr\"><is><t>Code</t></is></c></row><row><c>"));
    for (auto& p : parts)
        if (p.first == "xl/workbook.xml")
            p.second.replace("name=\"Sheet1\"", "name=\"Data\"");
    ASSERT_TRUE(Make_Zip(dir.filePath("damaged.xlsx"), parts));
    s.messages.clear();
    QStringList shown;
    s.run = [&](QDialog&) {
        shown = s.messages;
        EXPECT_EQ(w.value_ComboBox->count(), 0);
        w.chk_value->setChecked(true);
        w.OKPressed();
        return w.result();
    };
    w.Open_excel_Wnd(dir.filePath("damaged.xlsx"));
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("The sheet 'Data' is damaged: ")) << shown[0].toStdString();
    EXPECT_TRUE(shown[0].endsWith("save it again as .xlsx and try again."));
    EXPECT_EQ(m.rows(), before);
}
