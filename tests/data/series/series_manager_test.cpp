// The series manager with its value editor, and the series viewer: opening,
// editing, saving under names, deleting, exporting and what fails safely.
#include "core/canvas/LMNZoomingScrollView.h"
#include "core/util/MessageBoxes.h"
#include "data/SeriesStore.h"
#include "data/series/BatchWizard.h"
#include "data/series/Import_Wizard.h"
#include "data/series/SeriesAlerts.h"
#include "data/series/SeriesModels.h"
#include "data/series/View_Data_Series.h"
#include "data/series/SeriesTestSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>

using namespace datatest;
using namespace seriestest;

class SeriesManagerTest : public ::testing::Test {
protected:
    SeriesFolder folder;
    FakeMainWindow window;
    ScriptedMessages messages;
    Dialog_Driver dialogs{messages};
    BatchWizard manager;
    QTemporaryDir files;

    void SetUp() override
    {
        folder.write("alpha.txt", "a\n\n  b \n");
        folder.write("beta.txt", "old beta\n");
        manager.Reset_Controls();
    }
    void openSeries(const QString& name)
    {
        manager.Mark_List_New_Selection(int(manager.ListData().indexOf(name)));
        manager.Update_Btn_Clicked();
    }
    QString lastText() const { return messages.requests.empty() ? QString() : messages.requests.back().text; }
};

TEST_F(SeriesManagerTest, OpenEditAndSaveUnderNames)
{
    EXPECT_EQ(manager.ListData(), QStringList({"alpha", "beta"}));
    EXPECT_EQ(manager.batch_list_count->text(), "Total List : 2");
    manager.List->clearSelection();
    manager.Update_Btn_Clicked();
    EXPECT_TRUE(lastText().contains("Please select a record from the available list to continue."));

    openSeries("alpha");
    ASSERT_FALSE(manager.firstScreenShown());
    EXPECT_EQ(manager.ListData_value(), QStringList({"a", "b"}));
    EXPECT_EQ(manager.batch_list_name->text(), "alpha");
    EXPECT_EQ(manager.batch_value_count->text(), "Total Rows : 2");

    // The value editor: spaces only are refused, surrounding spaces trimmed.
    int editorRuns = 0;
    dialogs.on<Update_Ex_Num>([&](Update_Ex_Num& editor) {
        ++editorRuns;
        EXPECT_EQ(editor.m_ex_num_str->text(), "a");
        editor.m_ex_num_str->setText("   ");
        editor.OKPressed();
        EXPECT_TRUE(lastText().contains("Please enter a valid value."));
        editor.m_ex_num_str->setText("  A  ");
        editor.OKPressed();
    });
    manager.doubleClickInTable(manager.List_value, 0);
    EXPECT_EQ(editorRuns, 1);
    EXPECT_EQ(manager.ListData_value(), QStringList({"A", "b"}));

    // Under its own name: written over without a question.
    const size_t asked = messages.requests.size();
    ASSERT_TRUE(manager.Save_Btn_Clicked());
    EXPECT_EQ(messages.requests.size(), asked);
    EXPECT_EQ(Read_Bytes(folder.path("alpha.txt")), QByteArray("A\nb\n"));
    EXPECT_TRUE(manager.firstScreenShown());

    // Under another existing name: asked; No keeps both files as they were.
    openSeries("alpha");
    manager.batch_list_name->setText("beta");
    messages.push(1);
    EXPECT_FALSE(manager.Save_Btn_Clicked());
    EXPECT_TRUE(lastText().contains("Batch Processing Series already exists. Do you want to replace it?"));
    EXPECT_EQ(Read_Bytes(folder.path("beta.txt")), QByteArray("old beta\n"));
    EXPECT_FALSE(manager.firstScreenShown());
    // Yes replaces that one; the edited series keeps its own file.
    messages.push(0);
    ASSERT_TRUE(manager.Save_Btn_Clicked());
    EXPECT_EQ(Read_Bytes(folder.path("beta.txt")), QByteArray("A\nb\n"));
    EXPECT_TRUE(Series_Exists("alpha"));

    // Under a new name: a rename. A change of case only renames as well.
    openSeries("alpha");
    manager.batch_list_name->setText("gamma");
    ASSERT_TRUE(manager.Save_Btn_Clicked());
    EXPECT_EQ(manager.ListData(), QStringList({"beta", "gamma"}));
    openSeries("gamma");
    manager.batch_list_name->setText("Gamma");
    ASSERT_TRUE(manager.Save_Btn_Clicked());
    EXPECT_EQ(QDir(Folders.Data_Folder_Path).entryList(QDir::Files), QStringList({"beta.txt", "Gamma.txt"}));

    // Another series in use is never replaced, whatever the case typed.
    window.barcodeModeSeries = {"beta"};
    for (const char* typed : {"beta", "BETA"}) {
        openSeries("Gamma");
        manager.batch_list_name->setText(typed);
        EXPECT_FALSE(manager.Save_Btn_Clicked()) << typed;
        EXPECT_TRUE(lastText().contains("can't be create because it is currently in use.")) << typed;
        manager.Back_Btn_Clicked();
    }
    EXPECT_EQ(Read_Bytes(folder.path("beta.txt")), QByteArray("A\nb\n"));
}

TEST_F(SeriesManagerTest, NewSeriesAndRefusals)
{
    manager.AddNew_Btn_Clicked();
    EXPECT_EQ(manager.batch_list_name->text(), "Untitled");
    EXPECT_FALSE(manager.Save_Btn_Clicked());
    EXPECT_TRUE(lastText().contains("List is empty."));
    manager.Create_Value_List(QStringList({" x ", "", "  ", "y"}));
    EXPECT_EQ(manager.ListData_value(), QStringList({"x", "y"}));
    manager.batch_list_name->setText("/?*");
    EXPECT_FALSE(manager.Save_Btn_Clicked());
    EXPECT_TRUE(lastText().contains("Please enter valid series name."));
    // A name barcode mode uses cannot be created over.
    window.barcodeModeSeries = {"used"};
    manager.batch_list_name->setText("used");
    EXPECT_FALSE(manager.Save_Btn_Clicked());
    EXPECT_TRUE(lastText().contains("can't be create because it is currently in use."));
    manager.batch_list_name->setText("fresh");
    ASSERT_TRUE(manager.Save_Btn_Clicked());
    EXPECT_EQ(Read_Bytes(folder.path("fresh.txt")), QByteArray("x\ny\n"));
}

TEST_F(SeriesManagerTest, DeletingRowsAndSeries)
{
    manager.AddNew_Btn_Clicked();
    manager.Create_Value_List(QStringList({"a", "b", "c", "d"}));
    manager.Delete_Rows_Btn_Clicked();
    EXPECT_TRUE(lastText().contains("Please select at least one record from the list to continue."));
    manager.List_value->selectRow(1);
    manager.List_value->selectionModel()->select(manager.List_value->model()->index(3, 0),
                                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);
    manager.Delete_Rows_Btn_Clicked();
    EXPECT_EQ(manager.ListData_value(), QStringList({"a", "c"}));
    EXPECT_EQ(Selected_Table_Rows(manager.List_value), QList<int>({0}));  // past the end: the first row
    manager.Mark_List_New_Selection_Value(0);
    manager.Delete_Rows_Btn_Clicked();
    EXPECT_EQ(Selected_Table_Rows(manager.List_value), QList<int>({0}));  // the row now there
    manager.Delete_Rows_Btn_Clicked();
    EXPECT_TRUE(manager.ListData_value().isEmpty());
    EXPECT_TRUE(Selected_Table_Rows(manager.List_value).isEmpty());
    manager.Delete_Rows_Btn_Clicked();
    EXPECT_TRUE(lastText().contains("List is empty."));

    // Three series, one in use: that one stays, the others go.
    manager.Back_Btn_Clicked();
    folder.write("gamma.txt", "g\n");
    manager.Fill_List();
    window.barcodeModeSeries = {"beta"};
    QStringList alerts;
    dialogs.on<Series_Alert_Box>([&](Series_Alert_Box& box) {
        alerts << box.message_lbl->text();
        box.buttons.first()->click();
    });
    manager.List->selectAll();
    messages.push(0);  // Yes, delete
    manager.Delete_List_Btn_Clicked();
    ASSERT_EQ(alerts.size(), 1);
    EXPECT_EQ(alerts.first(),
              "Series is in use\n\nbeta\n\nBatch Processing Series can't be delete because it is currently in use.");
    EXPECT_EQ(manager.ListData(), QStringList({"beta"}));
    EXPECT_EQ(Series_Names(), QStringList({"beta"}));
}

TEST_F(SeriesManagerTest, ExportWritesWhatWasAskedOrSaysItFailed)
{
    openSeries("alpha");
    int afterExportBoxes = 0;
    QString shownPath, shownMessage;
    dialogs.on<Open_Export_Log>([&](Open_Export_Log& box) {
        ++afterExportBoxes;
        shownPath = box.Export_File_Path;
        shownMessage = box.Export_File_Message;
        box.done(0);
    });
    // Any extension but the two offered gets ".txt" after it.
    QString chosen = files.filePath("x.csv");
    manager.chooseExportPath = [&] { return chosen; };
    manager.Export_Value_Btn_Clicked();
    EXPECT_FALSE(QFileInfo::exists(chosen));
    EXPECT_EQ(Read_Bytes(chosen + ".txt"), QByteArray("a\nb\n"));
    EXPECT_EQ(shownPath, chosen + ".txt");
    EXPECT_EQ(shownMessage, "Record has been exported successfully.");
    EXPECT_EQ(afterExportBoxes, 1);

    chosen = files.filePath("out.XLSX");
    manager.Export_Value_Btn_Clicked();
    Xlsx_Workbook book;
    ASSERT_TRUE(book.open(chosen));
    EXPECT_EQ(book.readSheet(1).toTable(), SheetTable({{"Batch Value"}, {"a"}, {"b"}}));
    EXPECT_EQ(afterExportBoxes, 2);

    // A write that fails says so, keeps the old file and shows no success.
    QDir().mkpath(files.filePath("locked"));
    chosen = files.filePath("locked/list.txt");
    testsupport::touch(chosen, "before\n");
    {
        Read_Only_Path locked(files.filePath("locked"));
        ASSERT_TRUE(locked.ok());
        manager.Export_Value_Btn_Clicked();
    }
    EXPECT_TRUE(lastText().contains("Error in file accessing."));
    EXPECT_EQ(Read_Bytes(chosen), QByteArray("before\n"));
    EXPECT_EQ(afterExportBoxes, 2);
}

TEST_F(SeriesManagerTest, TheExportPanelCarriesTheFormatChooserStartingOnTheSpreadsheet)
{
    openSeries("alpha");
    dialogs.on<Open_Export_Log>([](Open_Export_Log& box) { box.done(0); });
    QList<AccessoryViewController*> seen;
    QStringList firstFormat, typedName;
    int format = 1;   // what the user picks in the pop-up
    dialogs.on<QFileDialog>([&](QFileDialog& panel) {
        EXPECT_EQ(manager.savePanel, &panel);
        const auto accessories = panel.findChildren<AccessoryViewController*>();
        ASSERT_EQ(accessories.size(), 1);
        AccessoryViewController* accessory = accessories.first();
        EXPECT_TRUE(accessory->isVisibleTo(&panel));
        seen << accessory;
        firstFormat << accessory->ext_btn->currentText();
        auto* name = panel.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        panel.setDirectory(files.path());
        typedName << name->text();
        accessory->ext_btn->setCurrentIndex(format);
        emit accessory->ext_btn->activated(format);
        typedName << name->text();
        static_cast<QDialog&>(panel).accept();   // the panel's own accept: the name is taken
    });

    // The user picks the text format: the name follows it, a text file is written.
    manager.Export_Value_Btn_Clicked();
    EXPECT_EQ(Read_Bytes(files.filePath("alpha.txt")), QByteArray("a\nb\n"));
    EXPECT_FALSE(QFileInfo::exists(files.filePath("alpha.xlsx")));
    // The next export offers the spreadsheet first again, with the same chooser.
    format = 0;
    manager.Export_Value_Btn_Clicked();
    Xlsx_Workbook book;
    ASSERT_TRUE(book.open(files.filePath("alpha.xlsx")));
    EXPECT_EQ(book.readSheet(1).toTable(), SheetTable({{"Batch Value"}, {"a"}, {"b"}}));

    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[0], seen[1]);
    EXPECT_EQ(seen[0], manager.accessoryVC);
    EXPECT_EQ(firstFormat, QStringList(2, seen[0]->ext_btn->itemText(0)));
    EXPECT_EQ(typedName, QStringList({"alpha.xlsx", "alpha.txt", "alpha.xlsx", "alpha.xlsx"}));
    EXPECT_EQ(manager.savePanel, nullptr);
}

TEST_F(SeriesManagerTest, FailedWritesKeepTheOldSeries)
{
    openSeries("alpha");
    manager.Create_Value_List("c");
    {
        Read_Only_Path locked(Folders.Data_Folder_Path);
        ASSERT_TRUE(locked.ok());
        EXPECT_FALSE(manager.Save_Btn_Clicked());
    }
    EXPECT_TRUE(lastText().contains("Error in file accessing."));
    EXPECT_EQ(Read_Bytes(folder.path("alpha.txt")), QByteArray("a\n\n  b \n"));
    // The edit is still there to save again.
    EXPECT_FALSE(manager.firstScreenShown());
    EXPECT_EQ(manager.ListData_value(), QStringList({"a", "b", "c"}));

    // A series file that cannot be written cannot be opened for editing.
    manager.Back_Btn_Clicked();
    Read_Only_Path lockedFile(folder.path("beta.txt"));
    ASSERT_TRUE(lockedFile.ok());
    openSeries("beta");
    EXPECT_TRUE(lastText().contains("Error in file accessing."));
    EXPECT_TRUE(manager.firstScreenShown());
}

TEST_F(SeriesManagerTest, AddingValuesAsksToReplaceOrAdd)
{
    openSeries("alpha");
    int wizardRuns = 0;
    dialogs.on<Import_Wizard>([&](Import_Wizard& w) {
        ++wizardRuns;
        EXPECT_EQ(w.file_name_required, 0);
        w.Manual_RD_Pressed();
        w.ManualEdit->setPlainText("n1\nn2");
        w.OKPressed();
    });
    messages.push(2);  // Cancel: nothing opens
    manager.Import_Value_Btn_Clicked();
    EXPECT_EQ(wizardRuns, 0);
    messages.push(1);  // Add after the values
    manager.Import_Value_Btn_Clicked();
    EXPECT_EQ(manager.ListData_value(), QStringList({"a", "b", "n1", "n2"}));
    messages.push(0);  // Replace them
    manager.Import_Value_Btn_Clicked();
    EXPECT_EQ(manager.ListData_value(), QStringList({"n1", "n2"}));
    EXPECT_EQ(wizardRuns, 2);
}

TEST(SeriesViewerTest, ShowsTheValuesOfASeries)
{
    SeriesFolder folder;
    FakeMainWindow window;
    ScriptedMessages messages;
    folder.write("s.txt", "one\n\ntwo\n");
    View_Data_Series viewer;
    viewer.file_name = "S";
    viewer.Reset_Controls();
    EXPECT_EQ(viewer.series_name->text(), "S");
    EXPECT_EQ(viewer.ListData(), QStringList({"one", "two"}));
    EXPECT_EQ(viewer.list_count->text(), "Total Rows : 2");

    viewer.file_name = "gone";
    messages.onDialog = [](QDialog& d) { static_cast<View_Data_Series&>(d).ok_btn->click(); };
    EXPECT_EQ(viewer.Open_Wnd(), 1);
    EXPECT_EQ(viewer.series_name->text(), "gone");
    EXPECT_TRUE(viewer.ListData().isEmpty());
    EXPECT_EQ(viewer.list_count->text(), "Total Rows : 0");
}

// Nothing here shows PDF or text files (the offscreen desktop launches
// nothing): the help buttons of the manager and the import wizard, and the
// after-export box's "Open exported file.", each say where the file is.
TEST_F(SeriesManagerTest, WithoutAViewerTheHelpAndTheExportSayWhereTheFileIs)
{
    struct Restore {
        QString saved = Folders.Resource_Path;
        ~Restore() { Folders.Resource_Path = saved; }
    } restore;
    Folders.Resource_Path = files.filePath("resources");
    ASSERT_TRUE(QDir().mkpath(Folders.Resource_Path));
    testsupport::touch(files.filePath("resources/Help.pdf"), "%PDF-1.4");
    const QString help = QDir::toNativeSeparators(files.filePath("resources/Help.pdf"));
    Import_Wizard wizard;
    for (QPushButton* button : {manager.help_btn, manager.help2_btn, wizard.help_btn}) {
        const size_t before = messages.requests.size();
        button->click();
        ASSERT_EQ(messages.requests.size(), before + 1);
        EXPECT_TRUE(lastText().contains("No program to show PDF files was found.")) << lastText().toStdString();
        EXPECT_TRUE(lastText().contains("The user help is\n" + help + "\n")) << lastText().toStdString();
    }

    openSeries("alpha");
    dialogs.on<Open_Export_Log>([](Open_Export_Log& box) {
        EXPECT_EQ(box._open_log_chk->text(), "Open exported file.");
        box.OKPressed();
    });
    const QString chosen = files.filePath("values.txt");
    manager.chooseExportPath = [&] { return chosen; };
    manager.Export_Value_Btn_Clicked();
    ASSERT_TRUE(QFileInfo::exists(chosen));
    EXPECT_TRUE(lastText().contains("No program to show TXT files was found.")) << lastText().toStdString();
    EXPECT_TRUE(lastText().contains("The exported file is\n" + QDir::toNativeSeparators(chosen)));
}
