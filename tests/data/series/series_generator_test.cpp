// The series generator: the values of its three rules, the rules of its
// typed fields, and the dialog's road to a series file or the value list.
#include "data/SeriesStore.h"
#include "data/series/BatchWizard.h"
#include "data/series/Generate_List.h"
#include "data/series/SeriesGenerator.h"
#include "data/series/SeriesJob.h"
#include "data/series/SeriesTestSupport.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

using namespace datatest;
using namespace seriestest;

TEST(SeriesGeneratorTest, SequencesPaddingAndWideSpans)
{
    auto values = [](Sequence_Spec spec) {
        QStringList out;
        for (qint64 i = 0; i < Sequence_Count(spec); ++i)
            out << Sequence_Value(spec, i);
        return out;
    };
    EXPECT_EQ(values({"", "", 8, 12, false, 2}), QStringList({"8", "9", "10", "11", "12"}));
    // 0 to 200 padded: three digits throughout.
    const QStringList padded = values({"", "", 0, 200, true, 3});
    ASSERT_EQ(padded.size(), 201);
    EXPECT_EQ(padded.first(), "000");
    EXPECT_EQ(padded.at(11), "011");
    EXPECT_EQ(padded.last(), "200");
    // Typed "001" and "00200": the width is five, with prefix and suffix.
    Sequence_Spec typed{"A-", "/X", 1, 200, true, 5};
    EXPECT_EQ(Sequence_Value(typed, 0), "A-00001/X");
    EXPECT_EQ(Sequence_Value(typed, 199), "A-00200/X");
    // Negative numbers keep their sign in front of the zeros.
    EXPECT_EQ(values({"", "", -2, 1, true, 3}), QStringList({"-02", "-01", "000", "001"}));

    // Past 2^31 and spans wider than 2^31 count and print exactly.
    Sequence_Spec wide{"", "", 2147483646, 2147483649LL, false, 0};
    EXPECT_EQ(values(wide), QStringList({"2147483646", "2147483647", "2147483648", "2147483649"}));
    Sequence_Spec huge{"", "", -3000000000LL, 3000000000LL, false, 0};
    EXPECT_EQ(Sequence_Count(huge), 6000000001LL);
    EXPECT_EQ(Sequence_Value(huge, 5999999999LL), "2999999999");
    Sequence_Spec extreme{"", "", -999999999999999999LL, 999999999999999999LL, true, 19};
    EXPECT_EQ(Sequence_Count(extreme), 1999999999999999999LL);
    EXPECT_EQ(Sequence_Value(extreme, 0), "-999999999999999999");

    qint64 v = 0;
    EXPECT_TRUE(Parse_Integer_Field("-001", &v));
    EXPECT_EQ(v, -1);
    EXPECT_TRUE(Parse_Integer_Field("+999999999999999999", &v));
    for (const char* bad : {"", "-", "1-", "1 2", "1234567890123456789", "x"})
        EXPECT_FALSE(Parse_Integer_Field(QString::fromLatin1(bad), &v)) << bad;
    EXPECT_EQ(PadZero("7", 3), "007");
    EXPECT_EQ(PadZero("1234", 3), "1234");
}

TEST(SeriesGeneratorTest, RandomNumbersHaveExactlyTheirDigits)
{
    for (int k : {1, 3, 9}) {
        for (int i = 0; i < 300; ++i) {
            const QString v = Random_Value("p", "s", QString::number(k));
            ASSERT_TRUE(v.startsWith('p') && v.endsWith('s'));
            const QString digits = v.mid(1, v.size() - 2);
            ASSERT_EQ(digits.size(), k) << v.toStdString();
            ASSERT_NE(digits.at(0), '0') << v.toStdString();
        }
    }
    EXPECT_EQ(Random_Value("", "", "12"), "0");
    EXPECT_EQ(getRandomNumberBetweenMin(5, 5), 5u);
}

class GeneratorDialogTest : public ::testing::Test {
protected:
    SeriesFolder folder;
    FakeMainWindow window;
    ScriptedMessages messages;
    Generate_List dialog;

    void open(int required, int insert = 0)
    {
        dialog.file_name_required = required;
        dialog.file_name_Insert = insert;
        dialog.Reset_Controls();
    }
    void type(QLineEdit* field, const QString& text)
    {
        field->setText(text);
        dialog.controlTextDidChange(field);
    }
};

TEST_F(GeneratorDialogTest, CountAndLengthFieldsStayInRange)
{
    open(1);
    struct Case {
        QLineEdit* field;
        const char* typed;
        const char* kept;
    };
    const Case cases[] = {
        {dialog.count_txt, "0", "1"},          {dialog.count_txt, "", "1"},
        {dialog.count_txt, "123456", "10000"}, {dialog.count_txt, "000123", "00012"},
        {dialog.count_txt, "20000", "10000"},  {dialog.rand_count_txt, "10001", "10000"},
        {dialog.rand_count_txt, "250", "250"}, {dialog.rand_length_txt, "45", "4"},
        {dialog.rand_length_txt, "0", "1"},
    };
    for (const Case& c : cases) {
        type(c.field, QString::fromLatin1(c.typed));
        EXPECT_EQ(c.field->text(), QString::fromLatin1(c.kept)) << c.typed;
    }
    EXPECT_EQ(dialog.rand_length_stepper->value(), 1);
    EXPECT_EQ(dialog.rand_count_stepper->value(), 250);
    // Keys typed one by one end the same way.
    dialog.Constant_Radio_Pressed();
    dialog.count_txt->clear();
    QTest::keyClicks(dialog.count_txt, "123456");
    EXPECT_EQ(dialog.count_txt->text(), "10000");
    // The stepper and its field follow each other, within the range.
    dialog.count_stepper->setValue(10000);
    dialog.count_stepper->stepBy(1);
    EXPECT_EQ(dialog.count_txt->text(), "10000");
    dialog.count_stepper->stepBy(-3);
    EXPECT_EQ(dialog.count_txt->text(), "9997");
}

TEST_F(GeneratorDialogTest, RulesNamesAndRefusals)
{
    open(1);
    EXPECT_EQ(dialog.seq_file_name->text(), "Untitled");
    EXPECT_TRUE(dialog.const_file_name->text().isEmpty());
    dialog.Constant_Radio_Pressed();
    EXPECT_EQ(dialog.const_file_name->text(), "Untitled");
    EXPECT_FALSE(dialog.from_txt->isEnabled());
    EXPECT_TRUE(dialog.value_txt->isEnabled());
    dialog.const_file_name->setText("mine");
    dialog.Random_Radio_Pressed();
    dialog.Constant_Radio_Pressed();
    EXPECT_EQ(dialog.const_file_name->text(), "mine");

    dialog.Sequintial_Radio_Pressed();
    struct Case {
        const char* from;
        const char* to;
        const char* message;
    };
    for (const Case& c : {Case{"", "5", "Please enter valid 'From' value."},
                          Case{"1", "", "Please enter valid 'To' value."},
                          Case{"-", "5", "Please enter valid 'From' value."},
                          Case{"1", "1", "'From' value must be smaller than 'To' value."},
                          Case{"9", "2", "'From' value must be smaller than 'To' value."}}) {
        dialog.from_txt->setText(c.from);
        dialog.to_txt->setText(c.to);
        dialog.setResult(-1);
        dialog.OKPressed();
        EXPECT_TRUE(messages.requests.back().text.contains(c.message)) << c.from << " " << c.to;
        EXPECT_EQ(dialog.result(), -1);
    }
    // Names that nothing is left of after the clean-up are refused.
    dialog.from_txt->setText("1");
    dialog.to_txt->setText("3");
    for (const char* name : {"   ", "/?*", "<|>"}) {
        dialog.seq_file_name->setText(name);
        dialog.OKPressed();
        EXPECT_TRUE(messages.requests.back().text.contains("Please enter valid series name.")) << name;
    }
    EXPECT_TRUE(Series_Names().isEmpty());
    // A slash inside a name becomes an underscore.
    dialog.seq_file_name->setText("a/b");
    dialog.OKPressed();
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_EQ(Read_Bytes(folder.path("a_b.txt")), QByteArray("1\n2\n3\n"));
}

TEST_F(GeneratorDialogTest, WritesSeriesAndAsksBeforeReplacing)
{
    open(1);
    dialog.Constant_Radio_Pressed();
    dialog.value_txt->setText("abc");
    type(dialog.count_txt, "3");
    dialog.const_file_name->setText("c");
    dialog.OKPressed();
    EXPECT_EQ(Read_Bytes(folder.path("c.txt")), QByteArray("abc\nabc\nabc\n"));

    // An existing series: "No" keeps it and the dialog open; "Yes" replaces.
    open(1);
    dialog.from_txt->setText("001");
    dialog.to_txt->setText("00200");
    dialog.manage_digit_chk->setChecked(true);
    dialog.prefix_txt->setText("A-");
    dialog.seq_file_name->setText("C");
    messages.push(1);
    dialog.setResult(-1);
    dialog.OKPressed();
    EXPECT_TRUE(messages.requests.back().text.contains("already exists. Do you want to replace it?"));
    EXPECT_EQ(dialog.result(), -1);
    EXPECT_EQ(Read_Bytes(folder.path("c.txt")), QByteArray("abc\nabc\nabc\n"));
    messages.push(0);
    dialog.OKPressed();
    EXPECT_EQ(dialog.result(), 1);
    const QStringList written = Read_Series_Values("c");
    ASSERT_EQ(written.size(), 200);
    EXPECT_EQ(written.first(), "A-00001");
    EXPECT_EQ(written.last(), "A-00200");
    EXPECT_EQ(Series_Names(), QStringList({"c"}));

    // In use: refused, the file untouched.
    window.barcodeModeSeries = {"c"};
    open(1);
    dialog.Constant_Radio_Pressed();
    dialog.value_txt->setText("x");
    dialog.const_file_name->setText("c");
    dialog.OKPressed();
    EXPECT_TRUE(messages.requests.back().text.contains("can't be create because it is currently in use."));
    EXPECT_EQ(Read_Series_Values("c").size(), 200);
}

TEST_F(GeneratorDialogTest, AFailedWriteKeepsTheOldSeries)
{
    folder.write("keep.txt", "old\n");
    open(1);
    dialog.from_txt->setText("1");
    dialog.to_txt->setText("5");
    dialog.seq_file_name->setText("keep");
    Read_Only_Path locked(Folders.Data_Folder_Path);
    ASSERT_TRUE(locked.ok());
    messages.push(0);  // replace
    dialog.setResult(-1);
    dialog.OKPressed();
    EXPECT_TRUE(messages.requests.back().text.contains("Error in file accessing."));
    EXPECT_EQ(dialog.result(), -1);
    EXPECT_EQ(Read_Bytes(folder.path("keep.txt")), QByteArray("old\n"));
}

TEST_F(GeneratorDialogTest, ValueListModeAndAStoppedHugeRun)
{
    BatchWizard manager;
    manager.AddNew_Btn_Clicked();
    dialog.BatchWizard_Window = &manager;
    open(0, 1);
    EXPECT_FALSE(dialog.seq_file_name->isVisibleTo(&dialog));
    dialog.Constant_Radio_Pressed();
    dialog.value_txt->setText("   ");
    type(dialog.count_txt, "4");
    dialog.OKPressed();
    EXPECT_EQ(dialog.result(), 1);
    EXPECT_TRUE(manager.ListData_value().isEmpty());  // blanks add no rows
    open(0, 1);
    dialog.Random_Radio_Pressed();
    type(dialog.rand_length_txt, "3");
    type(dialog.rand_count_txt, "25");
    dialog.OKPressed();
    ASSERT_EQ(manager.ListData_value().size(), 25);
    for (const QString& v : manager.ListData_value())
        EXPECT_TRUE(v.toInt() >= 100 && v.toInt() <= 999) << v.toStdString();
    // More values than the list can hold are refused before anything runs.
    open(0, 1);
    dialog.from_txt->setText("1");
    dialog.to_txt->setText("5000000");
    dialog.OKPressed();
    EXPECT_TRUE(messages.requests.back().text.contains("The list can hold at most"));
    EXPECT_EQ(manager.ListData_value().size(), 25);

    // A file run over a span wider than 2^31 shows its sheet; Stop ends it
    // with nothing written and the dialog open.
    folder.write("big.txt", "kept\n");
    open(1);
    dialog.from_txt->setText("-2000000000");
    dialog.to_txt->setText("2000000000");
    dialog.seq_file_name->setText("big");
    messages.push(0);
    bool sawProgress = false;
    QTimer::singleShot(700, [&] {
        Series_Job_Sheet* sheet = Series_Job_Sheet::current();
        ASSERT_NE(sheet, nullptr);
        sheet->Refresh();
        sawProgress = sheet->count_lbl->text().endsWith("/ 4000000001 ");
        sheet->stop_btn->click();
    });
    dialog.setResult(-1);
    dialog.OKPressed();
    EXPECT_TRUE(sawProgress);
    EXPECT_EQ(dialog.result(), -1);
    EXPECT_EQ(Read_Bytes(folder.path("big.txt")), QByteArray("kept\n"));
    EXPECT_EQ(QDir(Folders.Data_Folder_Path).entryList(QDir::Files), QStringList({"big.txt"}));
}
