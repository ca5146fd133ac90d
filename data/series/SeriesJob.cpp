#include "data/series/SeriesJob.h"

#include "core/util/MessageBoxes.h"

#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>
#include <memory>

namespace {
// The sheet of the series job running now (at most one: each is modal);
// tests find it here to press Stop.
QPointer<Series_Job_Sheet> s_current;
}

Series_Job_Sheet::Series_Job_Sheet(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("Please wait"));
    Apply_Dialog_Background(this);
    auto* col = new QVBoxLayout(this);
    modeless_msg_lbl = new QLabel(QStringLiteral("It may take a while, Please wait.."));
    col->addWidget(modeless_msg_lbl);
    progress_bar = new QProgressBar;
    progress_bar->setMinimumWidth(320);
    progress_bar->setTextVisible(false);
    col->addWidget(progress_bar);
    auto* row = new QHBoxLayout;
    count_lbl = new QLabel;
    row->addWidget(count_lbl, 1);
    stop_btn = new QPushButton(QStringLiteral("Stop"));
    stop_btn->setAutoDefault(false);
    row->addWidget(stop_btn);
    col->addLayout(row);
    connect(stop_btn, &QPushButton::clicked, this, &Series_Job_Sheet::Stop_Pressed);
}

void Series_Job_Sheet::Start(Series_Progress* progress, const QString& text)
{
    m_progress = progress;
    modeless_msg_lbl->setText(text.isEmpty() ? QStringLiteral("It may take a while, Please wait..") : text);
    stop_btn->setEnabled(true);
    Refresh();
}

void Series_Job_Sheet::Refresh()
{
    if (!m_progress)
        return;
    const qint64 total = m_progress->total.load();
    const qint64 done = m_progress->done.load();
    if (total <= 0) {
        progress_bar->setRange(0, 0);
        count_lbl->setText(done > 0 ? QString::number(done) : QString());
        return;
    }
    // The bar counts in thousandths, so totals beyond an int fit.
    progress_bar->setRange(0, 1000);
    progress_bar->setValue(int(qBound(0.0, 1000.0 * double(done) / double(total), 1000.0)));
    count_lbl->setText(QStringLiteral("%1 / %2 ").arg(done).arg(total));
}

void Series_Job_Sheet::Stop_Pressed()
{
    if (m_progress)
        m_progress->stop = true;
    stop_btn->setEnabled(false);
    modeless_msg_lbl->setText(QStringLiteral("Stopping..."));
}

void Series_Job_Sheet::reject()
{
    Stop_Pressed();
}

Series_Job_Sheet* Series_Job_Sheet::current()
{
    return s_current;
}

bool Run_Series_Job(QWidget* host, const QString& text, const std::function<void(Series_Progress&)>& work)
{
    Series_Progress progress;
    std::exception_ptr error;
    QEventLoop loop;
    std::unique_ptr<QThread> thread(QThread::create([&] {
        try {
            work(progress);
        } catch (...) {
            error = std::current_exception();
        }
    }));
    QObject::connect(thread.get(), &QThread::finished, &loop, &QEventLoop::quit, Qt::QueuedConnection);
    thread->start();

    // A short job ends before anything is shown; meanwhile clicks wait.
    QTimer::singleShot(250, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);

    std::unique_ptr<Series_Job_Sheet> sheet;
    if (!thread->isFinished()) {
        // A window not shown yet (still loading) lends the sheet to its owner.
        while (host && !host->isVisible())
            host = host->parentWidget();
        sheet = std::make_unique<Series_Job_Sheet>(host);
        sheet->setWindowModality(host ? Qt::WindowModal : Qt::ApplicationModal);
        sheet->Start(&progress, text);
        sheet->show();
        s_current = sheet.get();
        QTimer refresh;
        QObject::connect(&refresh, &QTimer::timeout, sheet.get(), &Series_Job_Sheet::Refresh);
        refresh.start(500);
        while (!thread->isFinished())
            loop.exec();
        sheet->hide();
    }
    thread->wait();
    s_current = nullptr;
    if (error)
        std::rethrow_exception(error);
    return !progress.stopped();
}

bool Check_Value_List_Room(qint64 current, qint64 adding)
{
    if (current + adding <= Max_Value_List_Values)
        return true;
    Show_MessageBox(QStringLiteral("The list can hold at most %1 values.").arg(Max_Value_List_Values));
    return false;
}
