#include "data/barcodelist/ListJob.h"

#include "core/util/MessageBoxes.h"

#include <QEventLoop>
#include <QProgressDialog>
#include <QTimer>

#include <exception>
#include <thread>

void Run_List_Job(QWidget* parent, const QString& label, const std::function<void(List_Job&)>& work)
{
    List_Job job;
    QProgressDialog progress(label, QObject::tr("Stop"), 0, 1000, parent);
    progress.setWindowTitle(QObject::tr("Please wait"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(400);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setValue(0);
    QObject::connect(&progress, &QProgressDialog::canceled, [&job] { job.stop = true; });

    QEventLoop loop;
    std::atomic<bool> finished{false};
    std::thread worker([&] {
        try {
            work(job);
        } catch (const std::exception& e) {
            Show_NSLog_Message(QString::fromLocal8Bit(e.what()));
        }
        finished = true;
        QMetaObject::invokeMethod(&loop, "quit", Qt::QueuedConnection);
    });
    QTimer refresh;
    QObject::connect(&refresh, &QTimer::timeout, [&] {
        const qint64 total = job.total.load();
        if (total > 0) {
            progress.setMaximum(1000);
            progress.setValue(int(std::min<qint64>(999, job.done.load() * 1000 / total)));
        } else {
            progress.setMaximum(0);
        }
    });
    refresh.start(100);
    if (!finished)
        loop.exec();
    worker.join();
    refresh.stop();
    progress.reset();
    progress.hide();
}
