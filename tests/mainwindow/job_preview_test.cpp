// A job of barcode mode runs on a worker while the preview goes on painting:
// the job's image is its own, the preview is the same after the job, and
// nothing comes out torn.
#include "MainWindowFixture.h"
#include "barcode/generation/panes/BarcodePreview.h"
#include "common/TestSupport.h"
#include "core/util/BatchServices.h"
#include "core/util/MainWindowServices.h"
#include "core/util/SharedValues.h"
#include "export/ExportSetup.h"
#include "export/ExportTestSupport.h"
#include "export/SmtpTestServer.h"
#include "export/mail/MailPreferences.h"
#include "export/mail/SendMail.h"
#include "mainwindow/BarcodeModeView.h"

#include <QCoreApplication>
#include <QImage>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QtGlobal>

#include <mutex>

namespace {

// Qt's complaints about pictures that cannot be played ("QPicture::play: ...").
QStringList g_pictureWarnings;
std::mutex g_warningsLock;
QtMessageHandler g_previousHandler = nullptr;

void Catch_Picture_Warnings(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (text.contains(QLatin1String("QPicture"))) {
        std::lock_guard<std::mutex> lock(g_warningsLock);
        g_pictureWarnings << text;
    }
    if (g_previousHandler)
        g_previousHandler(type, context, text);
}

class JobPreviewTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        g_pictureWarnings.clear();
        g_previousHandler = qInstallMessageHandler(Catch_Picture_Warnings);
    }
    void TearDown() override
    {
        qInstallMessageHandler(g_previousHandler);
        if (!m_savedPath.isNull())
            Folders.Created_Resource_Path = m_savedPath;
        MainWindowTest::TearDown();
    }

    // The window as it stands right after start, shown, in barcode mode.
    BarcodeModeView& start()
    {
        LMNWindowController& w = make();
        w.show();
        QCoreApplication::processEvents();
        return *w.barcodeModeView();
    }

    // E-mail settings for the test server, in a private data folder.
    void account(int port)
    {
        m_savedPath = Folders.Created_Resource_Path;
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

    // Serves the worker and paints the preview as often as it can, as a
    // screen would while the job runs.
    static void serveWhilePainting(BarcodeModeView& v, const std::function<bool()>& done)
    {
        QDeadlineTimer deadline(120000);
        while (!done() && !deadline.hasExpired()) {
            QCoreApplication::processEvents();
            v.preview()->imageView()->grab();
        }
        ASSERT_TRUE(done()) << "the job did not end";
        QCoreApplication::processEvents();
    }

    static QImage previewPixels(BarcodeModeView& v) { return v.preview()->imageView()->grab().toImage(); }

    QTemporaryDir m_data;
    QString m_savedPath;
};

// Dark pixels in the rows [top, bottom) of an image.
int Ink_In_Rows(const QImage& image, int top, int bottom)
{
    int n = 0;
    for (int y = std::max(0, top); y < std::min(bottom, image.height()); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                ++n;
    return n;
}

TEST_F(JobPreviewTest, MailingTheCurrentBarcodeRightAfterStartSendsItWholeAndLeavesThePreview)
{
    mailtest::SmtpTestServer server("starttls");
    ASSERT_GT(server.port(), 0);
    BarcodeModeView& v = start();
    account(server.port());
    ASSERT_FALSE(v.Preview_Is_Blank());
    const auto drawing = v.road().previewDrawing();
    const auto symbol = v.road().testBarcode();
    ASSERT_TRUE(drawing);
    const QImage before = previewPixels(v);
    const QSizeF size = v.Preview_Image().size();

    // Right after start the list does not feed the value: one row, the typed one.
    EXPECT_EQ(App_Services().Batch_Services->Check_Series_Or_Excel_Use_or_not().Total_Barcode_Label_wd_Batch, 1);
    constexpr int sends = 6;
    Send_Mail* mail = Send_Mail::defaultInstance();
    for (int i = 0; i < sends; ++i) {
        mail->Reset_Controls();
        mail->to_txt->setPlainText("one@zorv.test");
        const std::shared_ptr<Job_Handle<MailJobReport>> job = mail->Send_Button();
        ASSERT_TRUE(job);
        serveWhilePainting(v, [&] { return job->done.load(); });
        EXPECT_EQ(job->report().sent, 1) << job->report().message.toStdString();
    }
    EXPECT_TRUE(g_pictureWarnings.isEmpty()) << g_pictureWarnings.join('\n').toStdString();

    const QList<mailtest::ReceivedMail> mails = server.mails();
    ASSERT_EQ(mails.size(), sends);
    for (int i = 0; i < sends; ++i) {
        SCOPED_TRACE(i);
        ASSERT_EQ(mails[i].attachments.size(), 1);
        const QString pdf = mails[i].attachments[0].path;
        ASSERT_EQ(testsupport::Run_Tool("pdftoppm", {"-r", "144", "-png", "-singlefile", pdf, pdf}).exitCode, 0);
        EXPECT_EQ(testsupport::Zbar_Decode(pdf + ".png"), "123456789012");
        // The page is the barcode's frame; the header above the bars and the
        // caption and footer below them are on it.
        const QImage page(pdf + ".png");
        ASSERT_FALSE(page.isNull());
        EXPECT_NEAR(page.width(), size.width() * 2, 2);
        EXPECT_NEAR(page.height(), size.height() * 2, 2);
        EXPECT_GT(Ink_In_Rows(page, 0, page.height() / 8), 0) << "no header";
        EXPECT_GT(Ink_In_Rows(page, page.height() * 7 / 8, page.height()), 0) << "no footer";
    }

    // The preview shows what it showed, from the same symbol.
    EXPECT_FALSE(v.Preview_Is_Blank());
    EXPECT_EQ(v.road().previewDrawing(), drawing);
    EXPECT_EQ(v.road().testBarcode(), symbol);
    EXPECT_EQ(previewPixels(v), before);
}

} // namespace
