#include "core/util/SharedServices.h"

#include <QMutex>
#include <QMutexLocker>

namespace {
// Process-wide because archives, thumbnails and mail are used deep inside
// the model and by jobs on worker threads, with no window to ask; installed
// once at start-up and read as copies under the lock (guarded).
struct Installed {
    QMutex lock;
    Shared_Services services;
};
Installed g_installed;
}

Shared_Services Current_Shared_Services()
{
    QMutexLocker lock(&g_installed.lock);
    return g_installed.services;
}

void Change_Shared_Services(const std::function<void(Shared_Services&)>& change)
{
    QMutexLocker lock(&g_installed.lock);
    change(g_installed.services);
}
