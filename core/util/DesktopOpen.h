#pragma once
// Opening a file or a folder in another program: a file in the program the
// desktop has for its type, a folder in the file manager. Every command that
// does so goes through here, so that when nothing can open it the user is
// told where it is and can open it there themselves; nothing fails in
// silence. Called on the GUI thread.
#include <QString>

// Opens `path`. `what` names it in the message ("The user help", "The
// exported file", "The export folder"). True when a program took it; false
// after a message that says why and where the file or folder is.
bool Open_With_Desktop(const QString& path, const QString& what);

// The same through the given launcher program, run with the path as its one
// argument and watched for two seconds: a launcher that ends with status 3
// found no program for the type, one that ends otherwise unsuccessfully could
// not open it, one that ends with 0 or is still running (a program it waits
// for) opened it. An empty launcher leaves the opening to Qt's desktop
// services, which answer at once.
bool Open_With_Desktop(const QString& path, const QString& what, const QString& launcher);

// The launcher of this session: "xdg-open" from the PATH on an X11 or
// Wayland desktop; none elsewhere (offscreen, or no xdg-open installed).
QString Desktop_Launcher();

