#pragma once
// Start-up of the export and e-mail subsystem: installs the e-mail settings
// store behind Preferences::sharedInstance() and the progress window behind
// App_Services().Send_Modeless_Var. Call once on the GUI thread after the application object
// exists (app/ does it before the main window loads the e-mail settings).
void Install_Export_Services();
