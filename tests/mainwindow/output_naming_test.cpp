// Every naming choice of the export windows, through the main window's
// Export button, on rows whose value, header, footer and series name all
// differ: each file is named after what its choice says and nothing else.
#include "MainWindowFixture.h"
#include "OutputTestSupport.h"

#include "core/model/LMNDocument.h"
#include "core/model/LMNText.h"
#include "core/util/SharedValues.h"
#include "export/ExportDialogs.h"
#include "mainwindow/BarcodeListSide.h"
#include "mainwindow/design/DesignModeView.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>

using namespace outputtest;

namespace {

class ExportNamingTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(seriesDir.isValid());
        oldSeriesFolder = Folders.Data_Folder_Path;
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        Folders.Data_Folder_Path = oldSeriesFolder;
    }

    // The window, its series read from a folder of the test's own (the
    // window sets up its folders when it is made).
    LMNWindowController& makeWindow()
    {
        LMNWindowController& w = make();
        Folders.Data_Folder_Path = seriesDir.path();
        return w;
    }

    void writeSeries(const char* name, const QByteArray& values)
    {
        QFile f(QDir(seriesDir.path()).filePath(QLatin1String(name) + QStringLiteral(".txt")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(values);
    }

    // Runs Export with the window set up by `choose` into a folder of its
    // own; the names of the files written.
    QStringList exportNamed(const std::function<void(Export_Window_Base&)>& choose, const QString& folder)
    {
        Windows windows;
        windows.on = [&](QDialog& d) {
            auto* w = qobject_cast<Export_Window_Base*>(&d);
            if (!w)
                return;
            w->ex_bar_image_type_combo->setCurrentIndex(3);   // png
            w->Export_Dest_Path->setText(folder);
            choose(*w);
            w->setResult(0);
            w->export_btn_on_export_image->click();
        };
        const int before = int(messages.size());
        window->export_btn->trigger();
        EXPECT_TRUE(Wait_For([&] { return !windows.boxMessages.isEmpty() || messages.size() > before; }))
            << windows.seen.join('|').toStdString();
        EXPECT_EQ(windows.boxMessages.value(0).toStdString(), "Label has been exported successfully.")
            << messages.join('|').toStdString();
        const QString sub = QDir(folder).filePath(
            window->Barcode_Setting_Or_Designing_Mode() == 0 ? QStringLiteral("Zorv Barcode") : QStringLiteral("Zorv Label"));
        // The names as written, the extension in any case.
        QStringList names;
        for (const QString& f : Files_In(sub))
            names << f.left(f.lastIndexOf(QLatin1Char('.')) + 1) + f.mid(f.lastIndexOf(QLatin1Char('.')) + 1).toLower();
        return names;
    }

    QString freshFolder(const QString& name)
    {
        const QString path = dir.filePath(name);
        QDir().mkpath(path);
        return path;
    }

    QTemporaryDir dir, seriesDir;
    QString oldSeriesFolder;
};

} // namespace

TEST_F(ExportNamingTest, BarcodeListRowsAreNamedByValueHeaderFooterOrTheNameGiven)
{
    LMNWindowController& w = makeWindow();
    chooseType(QStringLiteral("Code 128"));
    BarcodeListSide& side = *w.barcodeModeView()->listSide();
    side.list().Load_Rows({{QStringLiteral("V-101"), QStringLiteral("Head A"), QStringLiteral("Foot A"), "1"},
                           {QStringLiteral("V-202"), QStringLiteral("Head B"), QStringLiteral("Foot B"), "1"}});
    side.data_source_chkbox->setChecked(true);
    side.barcodeData_SourceChanged();

    const struct {
        const char* name;
        std::function<void(Export_Barcode&)> choose;
        QStringList files;
    } cases[] = {
        {"the default name, numbered", [](Export_Barcode& b) { b.exp_rad_def->click(); },
         {"Barcode (1).png", "Barcode.png"}},
        {"the value", [](Export_Barcode& b) { b.exp_rad_sv->click(); }, {"V-101.png", "V-202.png"}},
        {"the header", [](Export_Barcode& b) { b.exp_rad_hdr->click(); }, {"Head A.png", "Head B.png"}},
        {"the footer", [](Export_Barcode& b) { b.exp_rad_ftr->click(); }, {"Foot A.png", "Foot B.png"}},
        {"a name of the user's, numbered",
         [](Export_Barcode& b) {
             b.exp_rad_cus->click();
             b.ex_bar_cus_name->setText(QStringLiteral("Shelf"));
         },
         {"Shelf (1).png", "Shelf.png"}},
        {"the header between a prefix and a suffix",
         [](Export_Barcode& b) {
             b.exp_rad_hdr->click();
             b.prefix_suffix_chk_box->setChecked(true);
             b.Prefix_suffix_Chk_Cliecked();
             b.ex_bar_prefix->setText(QStringLiteral("P"));
             b.ex_bar_suffix->setText(QStringLiteral("S"));
         },
         {"P_Head A_S.png", "P_Head B_S.png"}},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList files = exportNamed(
            [&](Export_Window_Base& base) {
                auto* b = qobject_cast<Export_Barcode*>(&base);
                ASSERT_TRUE(b);
                c.choose(*b);
            },
            freshFolder(QStringLiteral("list%1").arg(n++)));
        EXPECT_EQ(files.join(QLatin1Char('|')).toStdString(), c.files.join(QLatin1Char('|')).toStdString());
    }
}

TEST_F(ExportNamingTest, BarcodeSeriesRowsAreNamedBySeriesValueHeaderOrFooter)
{
    writeSeries("Codes", "C-1\nC-2\n");
    writeSeries("Heads", "H-1\nH-2\n");
    writeSeries("Feet", "F-1\nF-2\n");
    LMNWindowController& w = makeWindow();
    chooseType(QStringLiteral("Code 128"));
    BarcodeListSide& side = *w.barcodeModeView()->listSide();
    side.data_source_chkbox->setChecked(true);
    side.barcodeData_SourceChanged();
    side.Data_Set_Sheet_RD->setChecked(true);
    side.Data_Set_Sheet_Check();
    w.Refresh_All_Series_Combobox();
    side.val_combo_list->setCurrentIndex(side.val_combo_list->findText(QStringLiteral("Codes")));
    side.Series_Name_Chosen(0);
    side.hdr_combo_list->setCurrentIndex(side.hdr_combo_list->findText(QStringLiteral("Heads")));
    side.Series_Name_Chosen(1);
    side.ftr_combo_list->setCurrentIndex(side.ftr_combo_list->findText(QStringLiteral("Feet")));
    side.Series_Name_Chosen(2);

    const struct {
        const char* name;
        std::function<void(Export_Barcode&)> choose;
        QStringList files;
    } cases[] = {
        {"the series and the row", [](Export_Barcode& b) { b.exp_rad_sn->click(); }, {"Codes (1).png", "Codes (2).png"}},
        {"the series and the value", [](Export_Barcode& b) { b.exp_rad_snv->click(); },
         {"Codes_C-1.png", "Codes_C-2.png"}},
        {"the value", [](Export_Barcode& b) { b.exp_rad_sv->click(); }, {"C-1.png", "C-2.png"}},
        {"the header", [](Export_Barcode& b) { b.exp_rad_hdr->click(); }, {"H-1.png", "H-2.png"}},
        {"the footer", [](Export_Barcode& b) { b.exp_rad_ftr->click(); }, {"F-1.png", "F-2.png"}},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList files = exportNamed(
            [&](Export_Window_Base& base) {
                auto* b = qobject_cast<Export_Barcode*>(&base);
                ASSERT_TRUE(b);
                EXPECT_TRUE(b->exp_rad_sn->isEnabled()) << "the value comes from a series";
                c.choose(*b);
            },
            freshFolder(QStringLiteral("series%1").arg(n++)));
        EXPECT_EQ(files.join(QLatin1Char('|')).toStdString(), c.files.join(QLatin1Char('|')).toStdString());
    }
}

TEST_F(ExportNamingTest, CardsBoundToASeriesAreNamedBySeriesRowOrValue)
{
    writeSeries("Names", "Ann\nBob\n");
    LMNWindowController& w = makeWindow();
    w.Designing_Mode_Select();
    auto text = std::make_shared<LMNText>();
    text->setBounds(QRectF(10, 10, 120, 30));
    text->Text_Value = QStringLiteral("x");
    text->Set_Data_source_type(1);
    text->Set_Batch_List_Name(QStringLiteral("Names"));
    w.designModeView()->document()->insertGraphic(text, 0);

    const struct {
        const char* name;
        std::function<void(ExportWindow&)> choose;
        QStringList files;
    } cases[] = {
        {"the series and the row", [](ExportWindow& e) { e.exp_rad_sn->click(); }, {"Names (1).png", "Names (2).png"}},
        {"the value", [](ExportWindow& e) { e.exp_rad_sv->click(); }, {"Ann.png", "Bob.png"}},
        {"the series and the value", [](ExportWindow& e) { e.exp_rad_snv->click(); },
         {"Names_Ann.png", "Names_Bob.png"}},
        {"the default name, numbered", [](ExportWindow& e) { e.exp_rad_def->click(); },
         {"Label (1).png", "Label.png"}},
    };
    int n = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList files = exportNamed(
            [&](Export_Window_Base& base) {
                auto* e = qobject_cast<ExportWindow*>(&base);
                ASSERT_TRUE(e);
                e->Export_with_batch_chk->setChecked(true);
                ASSERT_TRUE(e->exp_rad_sv->isEnabled()) << "a series is bound";
                e->Used_Seres_In_Design->setCurrentIndex(e->Used_Seres_In_Design->findText(QStringLiteral("Names")));
                c.choose(*e);
            },
            freshFolder(QStringLiteral("cards%1").arg(n++)));
        EXPECT_EQ(files.join(QLatin1Char('|')).toStdString(), c.files.join(QLatin1Char('|')).toStdString());
    }
}
