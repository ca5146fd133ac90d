#include "export/ExportSetup.h"

#include "core/util/ServiceInterfaces.h"
#include "export/ProgressWindow.h"
#include "export/mail/MailPreferences.h"

void Install_Export_Services()
{
    Preferences::Set_Loader([] { return std::shared_ptr<Preferences>(PreferencesStore::sharedInstance()); });
    App_Services().Send_Modeless_Var = Send_Modeless_Dialog::defaultInstance();
}
