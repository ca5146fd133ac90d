#include "core/util/Services.h"

#include <QCoreApplication>
#include <QThread>

Services& App_Services()
{
    static Services services;
#if defined(ZL_THREAD_CHECKS) || !defined(QT_NO_DEBUG)
    // Checked in debug builds and in every build that has the tests (the
    // build defines ZL_THREAD_CHECKS then), so their check runs whatever the
    // build type.
    if (QCoreApplication* app = QCoreApplication::instance(); app && QThread::currentThread() != app->thread())
        qFatal("App_Services: the services are read on the GUI thread only");
#endif
    return services;
}
