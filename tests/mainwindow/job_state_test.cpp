// What the output windows leave behind, driven through the real main window:
// a window that was opened and closed changes nothing the next window or the
// main window reads. The list keeps driving the value fields, the e-mail
// window offers the batch its sources have, the output check starts from one
// row, exported files are named after the row they hold, totals count labels,
// a window that restores the design leaves the card panel and nothing
// selected, and a fresh window counts afresh.
#include "MainWindowFixture.h"
#include "OutputTestSupport.h"

#include "barcode/generation/panes/ValuePane.h"
#include "common/TestSupport.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/model/LMNDocument.h"
#include "core/model/LMNText.h"
#include "core/model/Shape_Control.h"
#include "core/util/MainWindowServices.h"
#include "core/util/SharedValues.h"
#include "export/ExportDialogs.h"
#include "export/ExportSetup.h"
#include "export/PdfExportWindow.h"
#include "export/ProgressWindow.h"
#include "export/SmtpTestServer.h"
#include "export/mail/MailPreferences.h"
#include "export/mail/SendMail.h"
#include "mainwindow/BarcodeListSide.h"
#include "mainwindow/BarcodeModeView.h"
#include "mainwindow/design/DesignModeView.h"
#include "mainwindow/files/EditCommands.h"
#include "mainwindow/panels/PropertyPanels.h"
#include "platform/MessageSink.h"
#include "print/PrinterList.h"
#include "print/Print_Wnd.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <functional>
#include <memory>

namespace {

using outputtest::Windows;

// A printer the print window can list (the jobs here never print).
struct OnePrinter {
    OnePrinter() { Set_Printer_Names_Provider([] { return QStringList{QStringLiteral("Zorv Test Printer")}; }); }
    ~OnePrinter() { Set_Printer_Names_Provider({}); }
};

// A folder of series files in place of the series folder, for the test's
// lifetime (made after the main window, which sets the series folder).
class SeriesFolder {
public:
    SeriesFolder() : m_saved(Folders.Data_Folder_Path) { Folders.Data_Folder_Path = m_dir.path(); }
    ~SeriesFolder() { Folders.Data_Folder_Path = m_saved; }
    void write(const QString& name, const QByteArray& bytes)
    {
        QFile f(m_dir.filePath(name + QStringLiteral(".txt")));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }

private:
    QTemporaryDir m_dir;
    QString m_saved;
};

// The output commands of the toolbar, by name.
enum class Command { Print, Pdf, Export, Mail, Copy };
const Command All_Commands[] = {Command::Print, Command::Pdf, Command::Export, Command::Mail, Command::Copy};

const char* Name_Of(Command c)
{
    switch (c) {
    case Command::Print: return "Print";
    case Command::Pdf: return "PDF";
    case Command::Export: return "Export";
    case Command::Mail: return "E-mail";
    case Command::Copy: return "Copy";
    }
    return "";
}

class JobStateTest : public MainWindowTest {
protected:
    void TearDown() override
    {
        if (!m_savedData.isNull())
            Folders.Created_Resource_Path = m_savedData;
        MainWindowTest::TearDown();
    }

    BarcodeModeView& view() { return *window->barcodeModeView(); }
    BarcodeListSide& side() { return *view().listSide(); }
    QString field(ValuePane::Field f) { return view().valuePane()->fieldText(f); }

    // Barcode mode with the list feeding value, header and footer.
    BarcodeListSide& listOf(const QList<BarcodeRow>& rows, const QString& type = QStringLiteral("Code 128"))
    {
        LMNWindowController& w = make();
        w.show();
        chooseType(type);
        BarcodeListSide& s = *w.barcodeModeView()->listSide();
        s.list().Load_Rows(std::vector<BarcodeRow>(rows.begin(), rows.end()));
        s.data_source_chkbox->setChecked(true);
        s.barcodeData_SourceChanged();
        return s;
    }
    static QList<BarcodeRow> rowsOf(const QStringList& values)
    {
        QList<BarcodeRow> rows;
        for (const QString& v : values)
            rows.push_back({v, QStringLiteral("H-") + v, QStringLiteral("F-") + v, QStringLiteral("1")});
        return rows;
    }

    // Selects a row of the list table as a click on it would, and says
    // whether the value and header fields and the preview followed.
    ::testing::AssertionResult listDrives(int row, const QString& value)
    {
        const QImage before = view().Preview_Image().toImage(72);
        side().List->selectRow(row);
        QCoreApplication::processEvents();
        if (field(ValuePane::Field::Value) != value)
            return ::testing::AssertionFailure() << "row " << row << ": the value field shows \""
                                                 << field(ValuePane::Field::Value).toStdString() << "\", not \""
                                                 << value.toStdString() << "\"";
        if (field(ValuePane::Field::Header) != QStringLiteral("H-") + value)
            return ::testing::AssertionFailure() << "row " << row << ": the header field shows \""
                                                 << field(ValuePane::Field::Header).toStdString() << "\"";
        if (view().Preview_Is_Blank() || view().Preview_Image().toImage(72) == before)
            return ::testing::AssertionFailure() << "row " << row << ": the preview did not change";
        return ::testing::AssertionSuccess();
    }

    // E-mail settings for a test server, in a private data folder.
    void account(int port)
    {
        m_savedData = Folders.Created_Resource_Path;
        Folders.Created_Resource_Path = m_data.path();
        Install_Export_Services();
        auto prefs = PreferencesStore::sharedInstance();
        prefs->setsend_email_SenderEmail("sender@zorv.test");
        prefs->setsend_email_Password("secret");
        prefs->setsend_email_SMTP_server("127.0.0.1");
        prefs->setsend_email_PORT_num(QString::number(port));
        prefs->setsend_email_enable_ssl("N");
        ASSERT_TRUE(prefs->flush());
    }

    // In the e-mail window: every row of the batch to one address, sent and
    // waited for. The job is handed back for its report.
    static void mailEveryRow(QDialog& d, std::shared_ptr<Job_Handle<MailJobReport>>& job)
    {
        auto& mail = dynamic_cast<Send_Mail&>(d);
        mail.to_txt->setPlainText("one@zorv.test");
        ASSERT_TRUE(mail.send_with_batch_chk->isEnabled());
        if (!mail.send_with_batch_chk->isChecked())
            mail.send_with_batch_chk->click();
        mail.rd_all_to_every->click();
        job = mail.Send_Button();
        ASSERT_TRUE(job);
        ASSERT_TRUE(outputtest::Wait_For([&] { return job->done.load(); }, 120));
    }

    // Runs a toolbar command; its window (if any) is closed with its own
    // Cancel or Close button, after `inside` has had its way with it.
    // Returns the class names of the windows that opened.
    QStringList openAndCancel(Command c, const std::function<void(QDialog&)>& inside = {})
    {
        Windows windows;
        windows.on = [&](QDialog& d) {
            if (inside)
                inside(d);
            if (auto* p = qobject_cast<Print_Wnd*>(&d))
                p->cancel_btn->click();
            else if (auto* p = qobject_cast<PDF_Export*>(&d))
                p->cancel_btn->click();
            else if (auto* e = qobject_cast<ExportWindow*>(&d))
                e->cancel_btn->click();
            else if (auto* e = qobject_cast<Export_Barcode*>(&d))
                e->cancel_btn->click();
            else if (auto* m = qobject_cast<Send_Mail*>(&d))
                m->close_btn->click();
        };
        switch (c) {
        case Command::Print: window->print_btn->trigger(); break;
        case Command::Pdf: window->pdf_btn->trigger(); break;
        case Command::Export: window->export_btn->trigger(); break;
        case Command::Mail: window->mail_btn->trigger(); break;
        case Command::Copy: window->copy_btn->trigger(); break;
        }
        QCoreApplication::processEvents();
        return windows.seen;
    }
    // The window a command opens in `mode` (0 barcode mode); "" for Copy.
    static QString windowOf(Command c, int mode)
    {
        switch (c) {
        case Command::Print: return QStringLiteral("Print_Wnd");
        case Command::Pdf: return QStringLiteral("PDF_Export");
        case Command::Export: return mode == 0 ? QStringLiteral("Export_Barcode") : QStringLiteral("ExportWindow");
        case Command::Mail: return QStringLiteral("Send_Mail");
        case Command::Copy: break;
        }
        return QString();
    }
    // Opens and cancels the command's window, which must be the one opened.
    void openAndCancelWindow(Command c, int mode)
    {
        const QStringList seen = openAndCancel(c);
        const QString expected = windowOf(c, mode);
        EXPECT_EQ(seen.join(' ').toStdString(), expected.toStdString()) << Name_Of(c) << ": " << messages.join('|').toStdString();
    }

    // Designing mode with a shape on the card, selected by a click on it.
    std::shared_ptr<Shape_Control> designWithSelectedShape()
    {
        LMNWindowController& w = window ? *window : make();
        w.show();
        w.Designing_Mode_Select();
        auto shape = std::make_shared<Shape_Control>();
        shape->Set_Shape_Type(QStringLiteral("R"));
        shape->_isDrawingFill = true;
        shape->_fillColor = Qt::green;
        shape->_bounds = QRectF(20, 20, 60, 40);
        w.designModeView()->document()->insertGraphic(shape, 0);
        click(shape->_bounds.center());
        return shape;
    }
    void click(const QPointF& canvasPoint)
    {
        LMNGraphicView* canvas = window->graphicView();
        const QPoint at = (canvasPoint * canvas->zoomFactor()).toPoint();
        QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier, at);
        QCoreApplication::processEvents();
    }
    std::string panelTabs() { return window->designModeView()->panels->shownTabTitles().join(' ').toStdString(); }

    QTemporaryDir m_data;
    QString m_savedData;
};

const std::string Shape_Tabs = "shape_tab aligmnt_tab";
const std::string Card_Tabs = "card_info_tab card_size_tab card_bkgd_tab card_brdr_tab";

} // namespace

// 1. Unticking the batch box of a window, or mailing one label, and closing
// the window leaves the list driving the fields and the preview; so does the
// export window of designing mode opened and cancelled.
TEST_F(JobStateTest, TheListKeepsDrivingTheFieldsAfterAWindowWithoutItsBatch)
{
    OnePrinter printer;
    const QStringList values{"ROW-A", "ROW-B", "ROW-C"};
    for (Command c : {Command::Print, Command::Pdf}) {
        SCOPED_TRACE(Name_Of(c));
        listOf(rowsOf(values));
        openAndCancel(c, [](QDialog& d) {
            auto* sheet = d.findChild<Sheet_Options_Pane*>();
            ASSERT_TRUE(sheet);
            ASSERT_TRUE(sheet->print_with_batch_chk->isChecked());
            sheet->print_with_batch_chk->click();
            ASSERT_FALSE(sheet->print_with_batch_chk->isChecked());
        });
        EXPECT_TRUE(listDrives(1, "ROW-B"));
        EXPECT_TRUE(listDrives(2, "ROW-C"));
    }
    {
        SCOPED_TRACE("E-mail of one label");
        listOf(rowsOf(values));
        openAndCancel(Command::Mail, [](QDialog& d) {
            auto* mail = qobject_cast<Send_Mail*>(&d);
            ASSERT_TRUE(mail);
            mail->to_txt->setPlainText("one@zorv.test");
            mail->rd_mail_curr_barcode->click();
            if (mail->send_with_batch_chk->isChecked())
                mail->send_with_batch_chk->click();
            const auto job = mail->Send_Button();   // refused: no account
            if (job) {
                ASSERT_TRUE(outputtest::Wait_For([&] { return job->done.load(); }));
            }
        });
        EXPECT_TRUE(listDrives(1, "ROW-B"));
        EXPECT_TRUE(listDrives(0, "ROW-A"));
    }
    {
        SCOPED_TRACE("Export of designing mode");
        listOf(rowsOf(values));
        window->Designing_Mode_Select();
        openAndCancel(Command::Export);
        window->Barcode_Mode_Select();
        EXPECT_TRUE(listDrives(2, "ROW-C"));
        EXPECT_TRUE(listDrives(0, "ROW-A"));
    }
}

// 2. The e-mail window offers the batch its sources have, whatever the
// window before it left: the list of barcode mode, a design bound to a series.
TEST_F(JobStateTest, TheMailWindowOffersTheBatchOfItsSources)
{
    OnePrinter printer;
    listOf(rowsOf({"ROW-A", "ROW-B"}));
    openAndCancel(Command::Pdf, [](QDialog& d) { d.findChild<Sheet_Options_Pane*>()->print_with_batch_chk->click(); });
    bool offered = false;
    openAndCancel(Command::Mail, [&](QDialog& d) {
        offered = dynamic_cast<Send_Mail&>(d).send_with_batch_chk->isEnabled();
    });
    EXPECT_TRUE(offered) << "barcode mode, the list feeding the values";

    // Designing mode: a text bound to a series of three names.
    window.reset();
    make().show();
    SeriesFolder series;
    series.write("Names", "Anna\nBruno\nChiara\n");
    window->Designing_Mode_Select();
    auto text = std::make_shared<LMNText>();
    text->_bounds = QRectF(10, 10, 120, 24);
    text->Set_text_value("name");
    text->data_source_type = 1;
    text->batch_list_name = "Names";
    window->designModeView()->document()->insertGraphic(text, 0);

    bool exportOffers = false;
    openAndCancel(Command::Export, [&](QDialog& d) {
        exportOffers = dynamic_cast<ExportWindow&>(d).Export_with_batch_chk->isEnabled();
    });
    EXPECT_TRUE(exportOffers);
    openAndCancel(Command::Pdf, [](QDialog& d) {
        auto& sheet = *d.findChild<Sheet_Options_Pane*>();
        EXPECT_TRUE(sheet.print_with_batch_chk->isChecked());
        sheet.print_with_batch_chk->click();
    });
    offered = false;
    int total = 0;
    openAndCancel(Command::Mail, [&](QDialog& d) {
        auto& mail = dynamic_cast<Send_Mail&>(d);
        offered = mail.send_with_batch_chk->isEnabled();
        if (offered) {
            mail.send_with_batch_chk->click();
            total = mail.Total_Text->value();
        }
    });
    EXPECT_TRUE(offered) << "designing mode, a text bound to a series";
    EXPECT_EQ(total, 3);
}

// 3. With row 1 of a series giving no barcode, the output check starts the
// job from row 2: its value, header and footer, not a mix of two rows.
TEST_F(JobStateTest, TheOutputCheckStartsFromOneWholeRow)
{
    BarcodeListSide& s = listOf({}, QStringLiteral("EAN-13"));
    SeriesFolder series;
    series.write("Codes", "BAD\n590123412345\n400638133393\n");
    series.write("Heads", "H1\nH2\nH3\n");
    series.write("Foots", "F1\nF2\nF3\n");
    s.Data_Set_Sheet_RD->setChecked(true);
    s.Data_Set_Sheet_Check();
    window->Refresh_All_Series_Combobox();
    const QString names[3] = {"Codes", "Heads", "Foots"};
    QComboBox* combos[3] = {s.val_combo_list, s.hdr_combo_list, s.ftr_combo_list};
    for (int i = 0; i < 3; ++i) {
        combos[i]->setCurrentIndex(combos[i]->findText(names[i]));
        s.Series_Name_Chosen(i);
    }
    ASSERT_EQ(field(ValuePane::Field::Value).toStdString(), "BAD");

    QString value, header, footer;
    openAndCancel(Command::Pdf, [&](QDialog&) {
        value = field(ValuePane::Field::Value);
        header = field(ValuePane::Field::Header);
        footer = field(ValuePane::Field::Footer);
    });
    EXPECT_EQ(value.toStdString(), "590123412345") << messages.join('|').toStdString();
    EXPECT_EQ(header.toStdString(), "H2");
    EXPECT_EQ(footer.toStdString(), "F2");
}

// 4. Files of a barcode export are named after the row whose barcode they
// hold, also when the series file starts with an empty line.
TEST_F(JobStateTest, ExportedFilesAreNamedAfterTheBarcodeTheyHold)
{
    BarcodeListSide& s = listOf({});
    SeriesFolder series;
    series.write("Codes", "\nS-ONE\nS-TWO\nS-THREE\n");
    s.Data_Set_Sheet_RD->setChecked(true);
    s.Data_Set_Sheet_Check();
    window->Refresh_All_Series_Combobox();
    s.val_combo_list->setCurrentIndex(s.val_combo_list->findText("Codes"));
    s.Series_Name_Chosen(0);

    QTemporaryDir out;
    std::shared_ptr<Job_Handle<ExportJobReport>> job;
    Windows windows;
    windows.on = [&](QDialog& d) {
        auto* dialog = qobject_cast<Export_Barcode*>(&d);
        if (!dialog)
            return;   // the after-export box
        dialog->exp_rad_sv->click();                       // named by the barcode value
        dialog->ex_bar_image_type_combo->setCurrentIndex(3);  // PNG
        dialog->Export_Dest_Path->setText(out.path());
        dialog->export_btn_on_export_image->click();
    };
    window->export_btn->trigger();
    ASSERT_TRUE(windows.seen.contains("Export_Barcode"));
    // The job ends with the after-export box.
    ASSERT_TRUE(outputtest::Wait_For([&] { return windows.seen.contains("Open_Export_Log"); }));
    const QDir folder(QDir(out.path()).filePath("Zorv Barcode"));
    const QStringList files = folder.entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(files.join(' ').toStdString(), "S-ONE.PNG S-THREE.PNG S-TWO.PNG");
    for (const QString& f : files) {
        SCOPED_TRACE(f.toStdString());
        EXPECT_EQ(testsupport::Zbar_Decode(folder.filePath(f)), QFileInfo(f).completeBaseName().toUtf8());
    }
}

// 5. The labels of a PDF job are counted once, in labels: a total of two
// labels of rows printed three times each is two, on the progress window too.
TEST_F(JobStateTest, ThePdfProgressCountsTheLabelsOfTheJob)
{
    QList<BarcodeRow> rows{{"PQ-A", "", "", "3"}, {"PQ-B", "", "", "3"}};
    listOf(rows);
    QTemporaryDir out;
    std::shared_ptr<Job_Handle<Pdf_Export_Report>> job;
    Windows windows;
    windows.on = [&](QDialog& d) {
        auto* pdf = qobject_cast<PDF_Export*>(&d);
        if (!pdf)
            return;
        EXPECT_TRUE(pdf->sheetPane->print_qty_chk->isChecked());
        EXPECT_TRUE(pdf->sheetPane->skip_inavlid_chk->isChecked());
        EXPECT_EQ(pdf->sheetPane->Total_Text->text(), "6");
        pdf->sheetPane->Total_Text->setText("2");
        emit pdf->sheetPane->Total_Text->textEdited("2");
        emit pdf->sheetPane->Total_Text->editingFinished();
        job = outputtest::Export_Pdf_And_Close(*pdf, "Two", out.path());
        ASSERT_TRUE(job && job->done.load());
    };
    window->pdf_btn->trigger();
    ASSERT_TRUE(job);
    EXPECT_EQ(job->report().labels, 2);
    EXPECT_EQ(Send_Modeless_Dialog::defaultInstance()->_tot_msg_cnt->text().toStdString(), "2");
}

// After "Clear print quantities" each row of a 30-row list is one label:
// the print window counts 30 and prints 30, as the list saved and opened
// again does; a PDF of the same list holds 30 labels.
TEST_F(JobStateTest, AnEmptyPrintQuantityCountsOneLabel)
{
    OnePrinter printer;
    QStringList values;
    for (int i = 1; i <= 30; ++i)
        values << QStringLiteral("Q-%1").arg(i, 2, 10, QLatin1Char('0'));
    BarcodeListSide& s = listOf(rowsOf(values));
    QAction* clear = nullptr;
    for (QAction* a : s.list_menu->actions())
        if (a->text() == QLatin1String("Clear print quantities"))
            clear = a;
    ASSERT_TRUE(clear);
    clear->trigger();
    for (const BarcodeRow& r : s.list().rows())
        ASSERT_TRUE(r.PQ.isEmpty());

    QTemporaryDir out;
    const QString pdf = out.filePath("labels.pdf");
    const PrintInfo before = MainWindowServices::printInfo();
    const auto restore = qScopeGuard([&] { MainWindowServices::setPrintInfo(before); });
    PrintInfo info;
    info.pageLayout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
    info.jobDisposition = QStringLiteral("save");
    info.savePath = pdf;
    MainWindowServices::setPrintInfo(info);
    QString total;
    int labels = 0;
    Windows windows;
    windows.on = [&](QDialog& d) {
        auto* p = qobject_cast<Print_Wnd*>(&d);
        if (!p)
            return;
        EXPECT_TRUE(p->sheetPane->print_qty_chk->isChecked());
        total = p->sheetPane->Total_Text->text();
        p->on_sheet = [&](int, const QList<Printing_View::Placed_Label>& placed) { labels += int(placed.size()); };
        p->print_btn->click();
        p->on_sheet = nullptr;
        p->cancel_btn->click();
    };
    window->print_btn->trigger();
    EXPECT_EQ(total, "30");
    EXPECT_EQ(labels, 30);

    std::shared_ptr<Job_Handle<Pdf_Export_Report>> job;
    windows.on = [&](QDialog& d) {
        auto* w = qobject_cast<PDF_Export*>(&d);
        if (!w)
            return;
        EXPECT_EQ(w->sheetPane->Total_Text->text(), "30");
        w->chooseFolder = [&out] { return out.path(); };
        w->export_btn->click();
        job = w->lastJob();
        ASSERT_TRUE(job);
        ASSERT_TRUE(outputtest::Wait_For([&] { return job->done.load(); }));
        w->cancel_btn->click();
    };
    window->pdf_btn->trigger();
    ASSERT_TRUE(job);
    EXPECT_EQ(job->report().labels, 30);
}

// 6. A window after which the design is restored leaves nothing selected and
// the card panel shown on its first tab: print and PDF opened and cancelled,
// a batch of pictures exported, a batch of mails sent. An export window
// cancelled restores nothing: the shape stays selected with its panel. The
// panel goes on following clicks afterwards.
TEST_F(JobStateTest, AfterAWindowThatRestoresTheDesignTheCardPanelShowsAndNothingIsSelected)
{
    OnePrinter printer;
    make();   // the window sets the series folder: ours comes after it
    SeriesFolder series;
    series.write("Names", "Anna\nBruno\n");
    auto shape = designWithSelectedShape();
    auto text = std::make_shared<LMNText>();
    text->_bounds = QRectF(120, 10, 120, 24);
    text->Set_text_value("name");
    text->data_source_type = 1;
    text->batch_list_name = "Names";
    window->designModeView()->document()->insertGraphic(text, 0);
    LMNGraphicView* canvas = window->graphicView();
    PropertyPanelHost* host = window->designModeView()->panels;
    const auto selectShape = [&] {
        click(shape->_bounds.center());
        ASSERT_EQ(panelTabs(), Shape_Tabs);
        ASSERT_EQ(canvas->selectedGraphics().size(), 1);
    };
    const auto cardShowsAndNothingIsSelected = [&]() -> ::testing::AssertionResult {
        if (panelTabs() != Card_Tabs)
            return ::testing::AssertionFailure() << "the panel shows " << panelTabs();
        if (host->sett_tab->currentWidget() != host->card_info_tab)
            return ::testing::AssertionFailure() << "the card panel is not on its first tab";
        if (!canvas->selectionIndexes().isEmpty() || canvas->_Selected_Graphic)
            return ::testing::AssertionFailure() << canvas->selectionIndexes().size() << " item(s) selected";
        return ::testing::AssertionSuccess();
    };

    for (Command c : {Command::Print, Command::Pdf}) {
        SCOPED_TRACE(Name_Of(c));
        selectShape();
        openAndCancelWindow(c, 1);
        EXPECT_TRUE(cardShowsAndNothingIsSelected());
    }

    {
        SCOPED_TRACE("Export cancelled");
        selectShape();
        openAndCancelWindow(Command::Export, 1);
        EXPECT_EQ(panelTabs(), Shape_Tabs);
        EXPECT_EQ(canvas->selectedGraphics(), QList<LMNGraphic*>{shape.get()});
    }
    {
        SCOPED_TRACE("Export of the batch");
        selectShape();
        QTemporaryDir folder;
        Windows windows;
        windows.on = [&](QDialog& d) {
            auto* e = qobject_cast<ExportWindow*>(&d);
            ASSERT_TRUE(e);
            e->ex_bar_image_type_combo->setCurrentIndex(3);   // png
            e->Export_Dest_Path->setText(folder.path());
            e->Export_with_batch_chk->setChecked(true);
            e->Used_Seres_In_Design->setCurrentIndex(e->Used_Seres_In_Design->findText(QStringLiteral("Names")));
            e->exp_rad_sv->click();   // files named after the values
            e->setResult(0);
            e->export_btn_on_export_image->click();
        };
        const int before = int(messages.size());
        window->export_btn->trigger();
        ASSERT_TRUE(outputtest::Wait_For([&] { return !windows.boxMessages.isEmpty() || messages.size() > before; }));
        EXPECT_EQ(windows.boxMessages.value(0).toStdString(), "Label has been exported successfully.")
            << messages.join('|').toStdString();
        EXPECT_EQ(QDir(folder.filePath("Zorv Label")).entryList(QDir::Files),
                  (QStringList{"Anna.png", "Bruno.png"}));
        EXPECT_TRUE(cardShowsAndNothingIsSelected());
    }
    {
        SCOPED_TRACE("E-mail of the batch");
        mailtest::SmtpTestServer server("starttls");
        ASSERT_GT(server.port(), 0);
        account(server.port());
        selectShape();
        std::shared_ptr<Job_Handle<MailJobReport>> job;
        openAndCancel(Command::Mail, [&](QDialog& d) { mailEveryRow(d, job); });
        ASSERT_TRUE(job);
        EXPECT_EQ(job->report().sent, job->report().planned) << job->report().message.toStdString();
        int attachments = 0;
        for (const mailtest::ReceivedMail& m : server.mails())
            attachments += int(m.attachments.size());
        EXPECT_EQ(attachments, 2) << "a card for each row";
        EXPECT_TRUE(cardShowsAndNothingIsSelected());
    }

    click(shape->_bounds.center());
    EXPECT_EQ(panelTabs(), Shape_Tabs);
    click(QPointF(200, 150));   // the empty card
    EXPECT_EQ(panelTabs(), Card_Tabs);
}

// The same from barcode mode: a shape selected in the design, then a print
// or PDF window opened from barcode mode and cancelled. Back in designing
// mode the card panel shows and nothing is selected; the design keeps its
// items (barcode mode takes no back-up to restore them from).
TEST_F(JobStateTest, AWindowOpenedFromBarcodeModeLeavesNothingOfTheDesignSelected)
{
    OnePrinter printer;
    auto shape = designWithSelectedShape();
    LMNGraphicView* canvas = window->graphicView();
    for (Command c : {Command::Print, Command::Pdf}) {
        SCOPED_TRACE(Name_Of(c));
        window->Designing_Mode_Select();
        click(shape->_bounds.center());
        ASSERT_EQ(panelTabs(), Shape_Tabs);
        window->Barcode_Mode_Select();
        openAndCancelWindow(c, 0);
        window->Designing_Mode_Select();
        EXPECT_EQ(panelTabs(), Card_Tabs);
        EXPECT_TRUE(canvas->selectionIndexes().isEmpty());
        EXPECT_EQ(canvas->_Selected_Graphic, nullptr);
        EXPECT_EQ(window->Get_Front_Controls_Array(), QList<LMNGraphic*>{shape.get()});
        EXPECT_FALSE(window->editCommands()->Delete_btn->isEnabled());
    }
    {
        // A rubber band's selection goes too: barcode mode draws no band.
        SCOPED_TRACE("rubber band");
        window->Designing_Mode_Select();
        const auto mouse = [canvas](QEvent::Type type, QPointF p) {
            QMouseEvent ev(type, p, canvas->mapToGlobal(p), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                           type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(canvas, &ev);
        };
        mouse(QEvent::MouseButtonPress, QPointF(200, 150));
        mouse(QEvent::MouseMove, QPointF(100, 80));
        mouse(QEvent::MouseMove, QPointF(5, 5));
        mouse(QEvent::MouseButtonRelease, QPointF(5, 5));
        ASSERT_EQ(canvas->selectedGraphics(), QList<LMNGraphic*>{shape.get()});
        ASSERT_EQ(panelTabs(), Card_Tabs);
        window->Barcode_Mode_Select();
        openAndCancelWindow(Command::Print, 0);
        window->Designing_Mode_Select();
        EXPECT_TRUE(canvas->selectionIndexes().isEmpty());
    }
}

// 7. A fresh main window counts its own rows: a mailing of every row of a
// list of two after an earlier window counted five sends two mails.
TEST_F(JobStateTest, AFreshWindowCountsItsOwnRows)
{
    OnePrinter printer;
    listOf(rowsOf({"OLD-1", "OLD-2", "OLD-3", "OLD-4", "OLD-5"}));
    openAndCancel(Command::Pdf);   // counts five rows
    window.reset();

    mailtest::SmtpTestServer server("starttls");
    ASSERT_GT(server.port(), 0);
    listOf(rowsOf({"NEW-1", "NEW-2"}));
    account(server.port());
    std::shared_ptr<Job_Handle<MailJobReport>> job;
    openAndCancel(Command::Mail, [&](QDialog& d) {
        ASSERT_TRUE(dynamic_cast<Send_Mail&>(d).rd_mail_curr_barcode->isChecked());
        mailEveryRow(d, job);
    });
    ASSERT_TRUE(job);
    EXPECT_EQ(job->report().planned, 2);
    EXPECT_EQ(job->report().sent, 2) << job->report().message.toStdString();
    const QList<mailtest::ReceivedMail> mails = server.mails();
    ASSERT_EQ(mails.size(), 2);
    for (int i = 0; i < 2; ++i) {
        ASSERT_EQ(mails[i].attachments.size(), 1);
        const QString pdf = mails[i].attachments[0].path;
        ASSERT_EQ(testsupport::Run_Tool("pdftoppm", {"-r", "200", "-png", "-singlefile", pdf, pdf}).exitCode, 0);
        EXPECT_EQ(testsupport::Zbar_Decode(pdf + ".png"), QStringLiteral("NEW-%1").arg(i + 1).toUtf8());
    }
}

// Every ordered pair of output windows, opened and cancelled one after the
// other, in barcode mode: the list goes on driving the value fields and the
// preview. (Copy has no window; it copies the barcode as it stands.)
TEST_F(JobStateTest, EveryPairOfOutputWindowsLeavesTheListDrivingThePreview)
{
    OnePrinter printer;
    const QStringList values{"PAIR-A", "PAIR-B", "PAIR-C"};
    listOf(rowsOf(values));
    for (Command first : All_Commands) {
        for (Command second : All_Commands) {
            SCOPED_TRACE(std::string(Name_Of(first)) + " then " + Name_Of(second));
            openAndCancelWindow(first, 0);
            openAndCancelWindow(second, 0);
            // Two rows other than the one selected, one after the other.
            const int next = (side().Selected_Row() + 1) % 3;
            EXPECT_TRUE(listDrives(next, values[next]));
            EXPECT_TRUE(listDrives((next + 1) % 3, values[(next + 1) % 3]));
        }
    }
}

// The same walk in designing mode, with a text bound to a series so that
// every window counts the rows: after each pair the side panel and the
// selection agree (the card and nothing selected once print or PDF restored
// the design, else the shape still selected), the panel goes on following
// the selection, and the list of barcode mode still drives the preview
// afterwards.
TEST_F(JobStateTest, EveryPairOfOutputWindowsLeavesTheSidePanelAndTheSelectionAgreeing)
{
    OnePrinter printer;
    const QStringList values{"PAIR-A", "PAIR-B", "PAIR-C"};
    listOf(rowsOf(values));
    SeriesFolder series;
    series.write("Names", "Anna\nBruno\nChiara\n");
    auto shape = designWithSelectedShape();
    auto text = std::make_shared<LMNText>();
    text->_bounds = QRectF(120, 10, 120, 24);
    text->Set_text_value("name");
    text->data_source_type = 1;
    text->batch_list_name = "Names";
    window->designModeView()->document()->insertGraphic(text, 0);
    click(shape->_bounds.center());
    ASSERT_EQ(panelTabs(), Shape_Tabs);
    // Copy is a command of barcode mode only.
    const Command designCommands[] = {Command::Print, Command::Pdf, Command::Export, Command::Mail};
    for (Command first : designCommands) {
        for (Command second : designCommands) {
            SCOPED_TRACE(std::string(Name_Of(first)) + " then " + Name_Of(second));
            openAndCancelWindow(first, 1);
            openAndCancelWindow(second, 1);
            const auto restores = [](Command c) { return c == Command::Print || c == Command::Pdf; };
            if (restores(first) || restores(second)) {
                EXPECT_EQ(panelTabs(), Card_Tabs);
                EXPECT_TRUE(window->graphicView()->selectionIndexes().isEmpty());
            } else {
                EXPECT_EQ(panelTabs(), Shape_Tabs) << "the selection's panel after the windows";
                EXPECT_EQ(window->graphicView()->selectedGraphics(), QList<LMNGraphic*>{shape.get()});
            }
            click(QPointF(200, 150));   // the empty card
            EXPECT_EQ(panelTabs(), Card_Tabs);
            click(shape->_bounds.center());
            EXPECT_EQ(panelTabs(), Shape_Tabs);
        }
    }
    window->Barcode_Mode_Select();
    const int next = (side().Selected_Row() + 1) % 3;
    EXPECT_TRUE(listDrives(next, values[next]));
    EXPECT_TRUE(listDrives((next + 1) % 3, values[(next + 1) % 3]));
}

// A card exported alone, without a batch: a design started as "G" is
// shown on its front again afterwards, the card panel on its first tab, as
// after a batch export; any other design keeps the selection's panel (the
// single export restores nothing).
TEST_F(JobStateTest, ASingleCardExportShowsTheFrontOfADesignStartedAsG)
{
    auto shape = designWithSelectedShape();
    PropertyPanelHost* host = window->designModeView()->panels;
    QTemporaryDir folder;
    const auto exportTheCard = [&](const QString& name) {
        Windows windows;
        windows.on = [&](QDialog& d) {
            auto* e = qobject_cast<ExportWindow*>(&d);
            ASSERT_TRUE(e);
            EXPECT_FALSE(e->Export_with_batch_chk->isChecked());
            e->ex_bar_image_type_combo->setCurrentIndex(3);   // png
            e->Export_Dest_Path->setText(folder.filePath(name));
            e->setResult(0);
            e->export_btn_on_export_image->click();
        };
        QDir().mkpath(folder.filePath(name));
        window->export_btn->trigger();
        QCoreApplication::processEvents();
        EXPECT_EQ(windows.boxMessages.value(0).toStdString(), "Label has been exported successfully.")
            << messages.join('|').toStdString();
        QStringList written;
        QDirIterator it(folder.filePath(name), {QStringLiteral("*.png")}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            written << it.next();
        EXPECT_EQ(written.size(), 1) << written.join('|').toStdString();
    };

    for (const QString& start : {QStringLiteral("G"), QStringLiteral("L")}) {
        SCOPED_TRACE(start.toStdString());
        window->Set_Start_Card_Option(start);
        click(shape->_bounds.center());
        ASSERT_EQ(panelTabs(), Shape_Tabs);
        exportTheCard(start);
        if (start == QLatin1String("G")) {
            EXPECT_EQ(panelTabs(), Card_Tabs);
            EXPECT_EQ(host->sett_tab->currentWidget(), host->card_info_tab);
        } else {
            EXPECT_EQ(panelTabs(), Shape_Tabs);
        }
    }
}
