// A design opened from a file that carries spreadsheet rows gives one label
// a row in every output, through the main window's buttons: bound only to
// the spreadsheet, and bound to a series shorter than the spreadsheet. The
// labels printed, the files exported, the PDF pages written and the mails
// sent are counted and each row's text is found.
#include "MainWindowFixture.h"
#include "OutputTestSupport.h"

#include "common/TestSupport.h"
#include "core/canvas/LMNGraphicView.h"
#include "core/model/Card_Property.h"
#include "core/model/LMNText.h"
#include "core/util/MainWindowServices.h"
#include "core/util/SharedValues.h"
#include "export/ExportDialogs.h"
#include "export/ExportSetup.h"
#include "export/PdfExportWindow.h"
#include "export/SmtpTestServer.h"
#include "export/mail/MailPreferences.h"
#include "export/mail/SendMail.h"
#include "mainwindow/files/DesignFile.h"
#include "mainwindow/files/FilePanels.h"
#include "print/PrinterList.h"
#include "print/Print_Wnd.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QRegularExpression>
#include <QTemporaryDir>

using namespace outputtest;

namespace {

class RowCountTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ASSERT_TRUE(dir.isValid() && seriesDir.isValid());
        // Save the open design first? No: the file is opened as it is.
        Set_Message_Responder([this](const MessageRequest& r) {
            messages << r.text;
            return r.text.startsWith(QLatin1String("Do you want to save changes")) ? 1 : 0;
        });
        oldSeriesFolder = Folders.Data_Folder_Path;
        Folders.Data_Folder_Path = seriesDir.path();
        oldDataFolder = Folders.Created_Resource_Path;
        savedInfo = MainWindowServices::printInfo();
        Set_Printer_Names_Provider([] { return QStringList{QStringLiteral("Office")}; });
        previousPanel = Set_File_Panel_Runner([this](const File_Panel_Request&) { return openPath; });
    }
    void TearDown() override
    {
        Set_File_Panel_Runner(previousPanel);
        MainWindowServices::setPrintInfo(savedInfo);
        Set_Printer_Names_Provider({});
        MainWindowTest::TearDown();
        Folders.Data_Folder_Path = oldSeriesFolder;
        Folders.Created_Resource_Path = oldDataFolder;
    }

    // A design of 200 x 60 points whose file holds five spreadsheet rows
    // ("Row-1" ... "Row-5"): a text bound to the spreadsheet's name column,
    // and, with `series`, a text bound to a series of two values; opened in
    // the window with Open.
    void openDesign(bool series)
    {
        if (series)
            testsupport::touch(QDir(seriesDir.path()).filePath(QStringLiteral("Two.txt")), "S-one\nS-two\n");
        Design_File_Content d;
        d.startOption = QStringLiteral("L");
        d.card.Card_Size = QSizeF(200, 60);
        d.card.Card_Name = QStringLiteral("Rows");
        d.excelBindingUse = true;
        d.excelSourcePath = dir.filePath(QStringLiteral("people.xlsx"));
        d.columnTitles = {QStringLiteral("#"), QStringLiteral("Name")};
        for (int r = 1; r <= 5; ++r)
            d.sheetRows << QVariantMap{{QStringLiteral("Extension"), QString::number(r)},
                                       {QStringLiteral("Column1"), QStringLiteral("Row-%1").arg(r)}};
        auto name = std::make_shared<LMNText>();
        name->setBounds(QRectF(5, 5, 120, 24));
        name->Set_text_value(QStringLiteral("name"));
        name->data_source_type = 2;
        name->excel_binding = true;
        name->excel_col_indx = 1;
        d.items << name;
        if (series) {
            auto bound = std::make_shared<LMNText>();
            bound->setBounds(QRectF(5, 32, 120, 24));
            bound->Set_text_value(QStringLiteral("series"));
            bound->data_source_type = 1;
            bound->batch_list_name = QStringLiteral("Two");
            d.items << bound;
        }
        openPath = dir.filePath(series ? QStringLiteral("both.dbs") : QStringLiteral("sheet.dbs"));
        QString error;
        ASSERT_TRUE(Write_Design_Elements(openPath, Design_File_Elements(d, false), &error)) << error.toStdString();
        LMNWindowController& w = make();
        w.Designing_Mode_Select();
        w.Open_btn->trigger();
        ASSERT_EQ(w.Get_Front_Control_Count(), series ? 2 : 1) << messages.join('|').toStdString();
    }

    // The labels' texts found in a PDF, in the order they stand.
    static QStringList Row_Texts(const QString& pdf)
    {
        const testsupport::ToolResult r = testsupport::Run_Tool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
        QStringList rows;
        for (const QString& word : QString::fromUtf8(r.out).split(QRegularExpression(QStringLiteral("\\s+"))))
            if (word.startsWith(QLatin1String("Row-")))
                rows << word;
        return rows;
    }

    QStringList exported()
    {
        const QString folder = dir.filePath(QStringLiteral("export%1").arg(++m_runs));
        QDir().mkpath(folder);
        Windows windows;
        windows.on = [&](QDialog& d) {
            auto* e = qobject_cast<ExportWindow*>(&d);
            if (!e)
                return;
            EXPECT_EQ(e->Total_Text->value(), 5) << "the export window counts the rows";
            e->ex_bar_image_type_combo->setCurrentIndex(3);   // png
            e->Export_Dest_Path->setText(folder);
            e->setResult(0);
            e->export_btn_on_export_image->click();
        };
        const int before = int(messages.size());
        window->export_btn->trigger();
        EXPECT_TRUE(Wait_For([&] { return !windows.boxMessages.isEmpty() || messages.size() > before; }));
        return Files_In(QDir(folder).filePath(QStringLiteral("Zorv Label")));
    }

    QStringList printed()
    {
        const QString pdf = dir.filePath(QStringLiteral("printed%1.pdf").arg(++m_runs));
        PrintInfo info = savedInfo;
        info.printerName = QStringLiteral("Office");
        info.pageLayout = QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF());
        info.jobDisposition = QStringLiteral("save");
        info.savePath = pdf;
        MainWindowServices::setPrintInfo(info);
        Windows windows;
        windows.on = [&](QDialog& d) {
            auto* p = qobject_cast<Print_Wnd*>(&d);
            if (!p)
                return;
            EXPECT_EQ(p->sheetPane->Total_Text->text(), QStringLiteral("5")) << "the print window counts the rows";
            p->print_btn->click();
        };
        window->print_btn->trigger();
        EXPECT_TRUE(QFileInfo::exists(pdf)) << windows.seen.join('|').toStdString() << messages.join('|').toStdString();
        return Row_Texts(pdf);
    }

    QStringList pdfExported()
    {
        const QString folder = dir.filePath(QStringLiteral("pdf%1").arg(++m_runs));
        QDir().mkpath(folder);
        Windows windows;
        windows.on = [&](QDialog& d) {
            auto* pdf = qobject_cast<PDF_Export*>(&d);
            if (!pdf)
                return;
            EXPECT_EQ(pdf->sheetPane->Total_Text->text(), QStringLiteral("5")) << "the PDF window counts the rows";
            pdf->pdf_option[3]->click();   // a page a label
            const auto job = Export_Pdf_And_Close(*pdf, QStringLiteral("Rows"), folder);
            ASSERT_TRUE(job && job->done.load());
        };
        window->pdf_btn->trigger();
        return Row_Texts(QDir(folder).filePath(QStringLiteral("Zorv PDF Label/Rows.PDF")));
    }

    // Every row mailed to one recipient through a real SMTP server, a mail a
    // row (rows `from` to `to` with a range); the texts found in the labels
    // attached, mail by mail.
    QStringList mailed(int from = 0, int to = 0)
    {
        mailtest::SmtpTestServer server(QStringLiteral("starttls"));
        EXPECT_GT(server.port(), 0);
        // The account, in a data folder of the test's own.
        Folders.Created_Resource_Path = dir.filePath(QStringLiteral("data"));
        QDir().mkpath(Folders.Created_Resource_Path);
        Install_Export_Services();
        auto prefs = PreferencesStore::sharedInstance();
        prefs->setsend_email_SenderEmail(QStringLiteral("sender@zorv.test"));
        prefs->setsend_email_Password(QStringLiteral("secret"));
        prefs->setsend_email_SMTP_server(QStringLiteral("127.0.0.1"));
        prefs->setsend_email_PORT_num(QString::number(server.port()));
        prefs->setsend_email_enable_ssl(QStringLiteral("N"));
        EXPECT_TRUE(prefs->flush());
        MainWindowServices::Get_Email_Details();

        std::shared_ptr<Job_Handle<MailJobReport>> job;
        Windows windows;
        windows.on = [&](QDialog& d) {
            auto* mail = qobject_cast<Send_Mail*>(&d);
            if (!mail)
                return;
            mail->to_txt->setPlainText(QStringLiteral("one@zorv.test"));
            if (!mail->rd_mail_curr_barcode->isChecked())
                mail->rd_mail_curr_barcode->click();
            ASSERT_TRUE(mail->send_with_batch_chk->isEnabled()) << "the mail window offers the rows";
            if (!mail->send_with_batch_chk->isChecked())
                mail->send_with_batch_chk->click();
            EXPECT_EQ(mail->Total_Text->value(), 5) << "the mail window counts the rows";
            if (from > 0) {
                mail->Sel_print_rd->click();
                EXPECT_TRUE(mail->To_Text->isEnabled());
                EXPECT_EQ(mail->To_Text->maximum(), 5) << "the range ends at the last row";
                mail->from_Text->setValue(from);
                mail->To_Text->setValue(to);
            } else {
                mail->rd_all_to_every->click();
            }
            job = mail->Send_Button();
            ASSERT_TRUE(job);
            ASSERT_TRUE(Wait_For([&] { return job->done.load(); }, 120));
            mail->close_btn->click();
        };
        window->mail_btn->trigger();
        EXPECT_TRUE(job) << windows.seen.join('|').toStdString() << messages.join('|').toStdString();
        QStringList texts;
        for (const mailtest::ReceivedMail& m : server.mails()) {
            if (m.attachments.size() != 1) {
                texts << QStringLiteral("(%1 attachments)").arg(m.attachments.size());
                continue;
            }
            texts << Row_Texts(m.attachments.first().path).join(QLatin1Char(' '));
        }
        return texts;
    }

    QTemporaryDir dir, seriesDir;
    QString oldSeriesFolder, oldDataFolder, openPath;
    PrintInfo savedInfo;
    File_Panel_Runner previousPanel;
    int m_runs = 0;
};

const QStringList kFiveRows{"Row-1", "Row-2", "Row-3", "Row-4", "Row-5"};

} // namespace

TEST_F(RowCountTest, ADesignBoundOnlyToTheSpreadsheetGivesALabelARowEverywhere)
{
    openDesign(false);
    EXPECT_EQ(exported().size(), 5);
    EXPECT_EQ(printed(), kFiveRows);
    EXPECT_EQ(pdfExported(), kFiveRows);
}

TEST_F(RowCountTest, MoreSpreadsheetRowsThanSeriesValuesGiveALabelARowEverywhere)
{
    openDesign(true);
    EXPECT_EQ(exported().size(), 5);
    EXPECT_EQ(printed(), kFiveRows);
    EXPECT_EQ(pdfExported(), kFiveRows);
    EXPECT_EQ(mailed(), kFiveRows);
}

// While a batch job fills a card with a row, a redraw request leaves the
// canvas alone; once the export of every row is over, the canvas redraws as
// it is asked to.
TEST_F(RowCountTest, TheCanvasRedrawsAgainAfterTheRowsAreExported)
{
    openDesign(true);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    // Paint events of the canvas after one redraw request.
    auto paintsAfterRefresh = [this] {
        struct Counter : QObject {
            int paints = 0;
            bool eventFilter(QObject*, QEvent* e) override
            {
                paints += e->type() == QEvent::Paint ? 1 : 0;
                return false;
            }
        } counter;
        QCoreApplication::processEvents();
        window->graphicView()->installEventFilter(&counter);
        window->Refresh_Canvas();
        QCoreApplication::processEvents();
        QCoreApplication::processEvents();
        window->graphicView()->removeEventFilter(&counter);
        return counter.paints;
    };
    EXPECT_GT(paintsAfterRefresh(), 0);
    window->Card_Value_In_Process = true;
    EXPECT_EQ(paintsAfterRefresh(), 0);
    window->Card_Value_In_Process = false;

    EXPECT_EQ(exported().size(), 5);
    EXPECT_FALSE(window->Card_Value_In_Process);
    EXPECT_GT(paintsAfterRefresh(), 0);
}

// The mail window offers a label a row for a design bound only to the
// spreadsheet, as print, PDF and export do: every row, or a range of rows,
// each mail carrying its own row. Afterwards the design is as it was, with
// nothing selected.
TEST_F(RowCountTest, ADesignBoundOnlyToTheSpreadsheetMailsALabelARow)
{
    openDesign(false);
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    LMNGraphicView* canvas = window->graphicView();
    LMNGraphic* item = window->Get_Front_Controls_Array().value(0);
    ASSERT_TRUE(item);
    const QByteArray design = item->encodeWithCoder();
    QTest::mouseClick(canvas, Qt::LeftButton, Qt::NoModifier,
                      (item->_bounds.center() * canvas->zoomFactor()).toPoint());
    QCoreApplication::processEvents();
    ASSERT_EQ(canvas->selectedGraphics().size(), 1);

    EXPECT_EQ(mailed(), kFiveRows);
    EXPECT_EQ(mailed(2, 4), QStringList({"Row-2", "Row-3", "Row-4"}));

    ASSERT_EQ(window->Get_Front_Control_Count(), 1);
    EXPECT_EQ(window->Get_Front_Controls_Array().value(0)->encodeWithCoder(), design);
    EXPECT_TRUE(canvas->selectionIndexes().isEmpty());
    EXPECT_EQ(canvas->_Selected_Graphic, nullptr);
}
