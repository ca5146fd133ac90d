#include "mainwindow/files/SafeSave.h"

#include <QCoreApplication>
#include <QSaveFile>

namespace {
// Test seam: a fault that tests make every save meet.
Save_Fault g_fault;
constexpr qint64 kChunk = 1 << 16;
}

Save_Fault Set_Save_Fault(Save_Fault fault)
{
    Save_Fault old = std::move(g_fault);
    g_fault = std::move(fault);
    return old;
}

bool Save_File_Atomically(const QString& path, const QByteArray& bytes, QString* error)
{
    const auto failed = [error](const QString& why) {
        if (error)
            *error = why;
        return false;
    };
    if (path.trimmed().isEmpty())
        return failed(QCoreApplication::translate("Files", "No file name was given."));
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failed(file.errorString());
    qint64 done = 0;
    while (done < bytes.size()) {
        const qint64 n = std::min(kChunk, bytes.size() - done);
        if ((g_fault && !g_fault(done)) || file.write(bytes.constData() + done, n) != n) {
            const QString why = file.error() != QFileDevice::NoError
                ? file.errorString()
                : QCoreApplication::translate("Files", "No space left on the device.");
            file.cancelWriting();
            return failed(why);
        }
        done += n;
    }
    if (!file.commit())
        return failed(file.errorString());
    return true;
}
