// The e-mail settings window's Reset asks first: No keeps the account on
// disk and in the window; Yes forgets it.
#include "ExportTestSupport.h"
#include "core/FakeMainWindow.h"
#include "core/util/MainWindowServices.h"
#include "core/util/SharedValues.h"
#include "export/ExportSetup.h"
#include "export/mail/EmailSetting.h"
#include "export/mail/MailPreferences.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class EmailResetTest : public exporttest::PrivateDataTest {};

} // namespace

TEST_F(EmailResetTest, ResetAsksAndNoKeepsTheAccount)
{
    auto prefs = PreferencesStore::sharedInstance();
    prefs->setsend_email_SenderEmail("sender@zorv.test");
    prefs->setsend_email_Password("secret");
    prefs->setsend_email_SMTP_server("smtp.zorv.test");
    prefs->setsend_email_PORT_num("465");
    prefs->setsend_email_enable_ssl("Y");
    ASSERT_TRUE(prefs->flush());
    const QString path = PreferencesStore::Preferences_Path();
    const QByteArray before = testsupport::readAll(path);
    ASSERT_FALSE(before.isEmpty());

    ScriptedMessages msgs({1});   // No
    Email_Setting* w = Email_Setting::defaultInstance();
    msgs.onDialog = [&](QDialog&) {
        w->reset_btn->click();
        EXPECT_EQ(w->_send_mail_sender_mail->text(), "sender@zorv.test") << "the window keeps the account";
        EXPECT_EQ(w->_send_mail_smtp->text(), "smtp.zorv.test");
        w->close_btn->click();
    };
    w->Open_Wnd();
    EXPECT_EQ(msgs.texts(), QStringList{"Are you sure you want to reset current email settings?"});
    EXPECT_EQ(testsupport::readAll(path), before) << "the file keeps the account";
    EXPECT_EQ(PreferencesStore::sharedInstance()->send_email_SenderEmail(), "sender@zorv.test");

    msgs.push(0);   // Yes
    msgs.onDialog = [&](QDialog&) {
        w->reset_btn->click();
        EXPECT_TRUE(w->_send_mail_sender_mail->text().isEmpty());
        w->close_btn->click();
    };
    w->Open_Wnd();
    EXPECT_TRUE(PreferencesStore::sharedInstance()->send_email_SenderEmail().isEmpty());
}
