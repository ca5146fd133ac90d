#include "core/util/Services.h"

#include <QCoreApplication>
#include <QThread>

Services& App_Services()
{
    static Services services;
    Q_ASSERT_X(!QCoreApplication::instance() || QThread::currentThread() == QCoreApplication::instance()->thread(),
               "App_Services", "the services are read on the GUI thread only");
    return services;
}
