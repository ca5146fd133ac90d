// The help window opens our own Help.pdf; with the shipped (empty) link
// configuration no link button shows; configured links open with their
// mail encoding; the promotion window shows a configured product.
#include "common/TestSupport.h"
#include "core/util/MainWindowServices.h"
#include "mainwindow/help/HelpWindows.h"
#include "platform/MessageSink.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

class HelpWindowsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        savedResources = Folders.Resource_Path;
        if (Folders.Resource_Path.isEmpty())
            Folders.Resource_Path = Default_Resource_Path();
        savedOpen = Open_Link_Address;
        Open_Link_Address = [this](const QString& a) {
            opened << a;
            return true;
        };
        savedResponder = Set_Message_Responder([this](const MessageRequest& r) {
            messages << r.text;
            return 0;
        });
        savedRunner = Set_Modal_Runner([](QDialog&) { return 1; });
    }
    void TearDown() override
    {
        Folders.Resource_Path = savedResources;
        Open_Link_Address = savedOpen;
        Set_Message_Responder(savedResponder);
        Set_Modal_Runner(savedRunner);
    }
    // A resource folder of our own with the given link configuration.
    void useLinks(const QByteArray& ini)
    {
        ASSERT_TRUE(links.isValid());
        testsupport::touch(links.filePath("links.ini"), ini);
        Folders.Resource_Path = links.path();
    }
    QTemporaryDir links;
    QString savedResources;
    std::function<bool(const QString&)> savedOpen;
    MessageResponder savedResponder;
    ModalRunner savedRunner;
    QStringList opened, messages;
};

TEST_F(HelpWindowsTest, TheHelpButtonOpensOurHelpPdf)
{
    const QString pdf = QDir(Folders.Resource_Path).filePath("Help.pdf");
    ASSERT_TRUE(QFile::exists(pdf)) << "the build makes Help.pdf from docs/help/Help.md";
    const testsupport::ToolResult text = testsupport::Run_Tool("pdftotext", {pdf, "-"});
    ASSERT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.contains("Zorv Label")) << "our own document about this program";
    EXPECT_TRUE(text.out.contains("tool palette"));

    // Nothing here shows PDF files: the user is told where the help is.
    Help_Support w;
    w.HelpFilePressed();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_TRUE(messages.first().contains(QDir::toNativeSeparators(QFileInfo(pdf).absoluteFilePath())))
        << messages.first().toStdString();
    EXPECT_TRUE(opened.isEmpty()) << "a file is no web address";

    // Without the file the user is told so and nothing opens.
    messages.clear();
    useLinks("");
    w.HelpFilePressed();
    ASSERT_EQ(messages.size(), 1);
    EXPECT_EQ(messages.first().trimmed(), QStringLiteral("Help file does not exist!"));
}

TEST_F(HelpWindowsTest, ShippedEmptyConfigurationShowsNoLinkButton)
{
    Help_Support w;
    EXPECT_EQ(w.Open_Wnd(), 1);
    for (QPushButton* b : {w.website_1, w.reseller_1, w.reseller_2, w.support_id, w.support_id_2, w.Gplus_btn,
                           w.Facebook_btn, w.Twitter_btn, w.FB_Like_btn})
        EXPECT_TRUE(b->isHidden()) << b->objectName().toStdString();
    EXPECT_FALSE(w._Help_File_Label->isHidden());
    for (const char* k : {"S", "R", "B"})
        EXPECT_FALSE(Promotion_Form::Has_Product(QLatin1String(k)));
    // The openers open nothing when nothing is configured.
    Open_Support_Mail();
    Open_Reseller_Mail();
    Open_Website_2();
    Open_Twitter();
    EXPECT_TRUE(opened.isEmpty());
}

TEST_F(HelpWindowsTest, ConfiguredLinksShowTheirButtonsAndOpenEncodedAddresses)
{
    useLinks("[Help]\nWebsite=https://example.org/\nSupport=help@example.org\nReseller=sales@example.org\n"
             "Product=https://example.org/label?x=1\n"
             "[Share]\nFacebook=https://share.example.net/?u=%1\nTwitter=https://tw.example.net/fixed\n");
    Help_Support w;
    w.Open_Wnd();
    EXPECT_FALSE(w.website_1->isHidden());
    EXPECT_FALSE(w.support_id->isHidden());
    EXPECT_FALSE(w.reseller_1->isHidden());
    EXPECT_FALSE(w.Facebook_btn->isHidden());
    EXPECT_FALSE(w.Twitter_btn->isHidden());
    EXPECT_TRUE(w.Gplus_btn->isHidden());

    w.support_id->click();
    w.Facebook_btn->click();
    w.Twitter_btn->click();
    w.reseller_1->click();
    ASSERT_EQ(opened.size(), 4);
    EXPECT_EQ(opened.at(0), QStringLiteral("mailto:help@example.org"));
    EXPECT_EQ(opened.at(1), QStringLiteral("https://share.example.net/?u=https%3A%2F%2Fexample.org%2Flabel%3Fx%3D1"));
    EXPECT_EQ(opened.at(2), QStringLiteral("https://tw.example.net/fixed"));
    EXPECT_TRUE(opened.at(3).startsWith("mailto:sales@example.org?subject=Affiliate/Partnership%20Enquiry&body="));
    EXPECT_FALSE(opened.at(3).contains(' '));
    EXPECT_FALSE(opened.at(3).contains('\n'));
}

TEST(HelpMailLinks, LineBreaksAndBlanksAreEncoded)
{
    EXPECT_EQ(Mail_Link("  a@b.c ", "Hi there", "line one\nline two\n"),
              QStringLiteral("mailto:a@b.c?subject=Hi%20there&body=line%20one%0A%0Aline%20two"));
    EXPECT_EQ(Mail_Link("", "x", "y"), QString());
    EXPECT_EQ(Toolbar_help::minSize(), QSize(42, 27));
}

TEST_F(HelpWindowsTest, PromotionShowsAConfiguredProductAndKeepsItForAnUnknownKind)
{
    useLinks("[Promotion]\nB_Title=Label Maker\nB_Short=Short text\nB_Long=Long text\n"
             "B_Contact=info@example.org\nB_Order=https://example.org/buy\n");
    EXPECT_TRUE(Promotion_Form::Has_Product("B"));
    EXPECT_FALSE(Promotion_Form::Has_Product("S"));
    Promotion_Form f;
    f.software_type = "B";
    EXPECT_EQ(f.Open_Promotion_Window(), 1);
    EXPECT_EQ(f.Software_title->text(), QStringLiteral("Label Maker"));
    EXPECT_TRUE(f.mail_btn->isHidden());
    EXPECT_FALSE(f.order_btn->isHidden());
    f.Order_Clicked();
    f.Contact_us_Clicked();
    ASSERT_EQ(opened.size(), 2);
    EXPECT_EQ(opened.at(0), QStringLiteral("https://example.org/buy"));
    // The enquiry carries the application's name in its subject and its body.
    const QString name = QCoreApplication::applicationName();
    EXPECT_EQ(opened.at(1).count(QString(name).replace(' ', "%20")), 2);

    // Another kind keeps the texts shown before and links nowhere.
    f.software_type = "X";
    f.Open_Promotion_Window();
    EXPECT_EQ(f.Software_title->text(), QStringLiteral("Label Maker"));
    f.Order_Clicked();
    f.Mail_Clicked();
    EXPECT_EQ(opened.size(), 2);
}

} // namespace
