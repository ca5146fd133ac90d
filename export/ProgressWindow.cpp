#include "export/ProgressWindow.h"

#include "core/util/MainWindowServices.h"
#include "core/util/MessageBoxes.h"
#include "platform/MainThread.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

QPointer<Send_Modeless_Dialog> Send_Modeless_Dialog::s_instance;

Send_Modeless_Dialog::Send_Modeless_Dialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Progress"));
    Apply_Dialog_Background(this);
    setAutoFillBackground(true);
    auto* col = new QVBoxLayout(this);
    _Curr_Progress = new QProgressBar;
    _Curr_Progress->setTextVisible(false);
    _Curr_Progress->setMinimumWidth(360);
    col->addWidget(_Curr_Progress);
    auto* texts = new QHBoxLayout;
    _curr_msg_cnt = new QLabel;
    _tot_msg_cnt = new QLabel;
    auto* totalCaption = new QLabel(tr("Total:"));
    texts->addWidget(_curr_msg_cnt);
    texts->addStretch();
    texts->addWidget(totalCaption);
    texts->addWidget(_tot_msg_cnt);
    col->addLayout(texts);
    pause_label = new QLabel;
    pause_label->setWordWrap(true);
    col->addWidget(pause_label);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    _stop_btn = new QPushButton(tr("Stop"));
    _stop_btn->setAutoDefault(false);
    buttons->addWidget(_stop_btn);
    col->addLayout(buttons);
    connect(_stop_btn, &QPushButton::clicked, this, &Send_Modeless_Dialog::Stop_Sending_Pressed);

    m_timer = new QTimer(this);
    m_timer->setInterval(500);
    connect(m_timer, &QTimer::timeout, this, [this] {
        try {
            update_sending_progress_bar();
        } catch (const std::exception& e) {
            Show_NSLog_Message(QString::fromUtf8(e.what()));
        }
    });
}

Send_Modeless_Dialog::~Send_Modeless_Dialog()
{
    if (App_Services().Send_Modeless_Var == this)
        App_Services().Send_Modeless_Var = nullptr;
}

Send_Modeless_Dialog* Send_Modeless_Dialog::defaultInstance()
{
    return Gui_Window_Instance(s_instance);
}

QString Format_Two_Counts(const QString& format, int a, int b)
{
    QString out = format;
    const qsizetype first = out.indexOf(QLatin1String("%d"));
    if (first < 0)
        return out;
    out.replace(first, 2, QString::number(a));
    const qsizetype second = out.indexOf(QLatin1String("%d"), first + QString::number(a).size());
    if (second >= 0)
        out.replace(second, 2, QString::number(b));
    return out;
}

void Send_Modeless_Dialog::Prepare(int total, const QString& firstText)
{
    _stop_btn->setEnabled(true);
    _Curr_Progress->setRange(0, std::max(total, 1));
    _Curr_Progress->setValue(0);
    _tot_msg_cnt->setText(QString::number(total));
    _curr_msg_cnt->setText(Format_Two_Counts(firstText, 0, total));
    pause_label->clear();
}

void Send_Modeless_Dialog::Start_Refresh(const ProgressCounters& counters)
{
    m_counters = counters;
    m_timer->start();
}

void Send_Modeless_Dialog::Stop_Refresh()
{
    m_timer->stop();
    m_counters = ProgressCounters();
}

bool Send_Modeless_Dialog::Refreshing() const
{
    return m_timer->isActive();
}

void Send_Modeless_Dialog::update_sending_progress_bar()
{
    if (!m_counters.job)
        return;
    const int current = m_counters.job->curr_card_count.load();
    const int total = m_counters.job->show_count.load();
    _Curr_Progress->setValue(std::clamp(current, 0, std::max(total, 0)));
    int n = m_counters.showNext ? current + 1 : current;
    if (n > total)
        n = total;
    curr_msg_count = QStringLiteral("%1 / %2 ").arg(n).arg(total);
    _curr_msg_cnt->setText(curr_msg_count);
    if (m_counters.showPause) {
        const int left = m_counters.job->Pause_Delay_Time.load();
        // Whole seconds left, rounded up, so the text starts at the full pause.
        pause_label->setText(left > 0 ? Calculate_Pause_Time((left + 999) / 1000 * 1000LL) : QString());
    }
}

void Send_Modeless_Dialog::Show_On(QWidget* host, int total, const QString& firstText,
                                   const ProgressCounters& counters)
{
    if (!host)
        host = Dialog_Parent_Window();
    if (host && host != this && parentWidget() != host)
        setParent(host, windowFlags() | Qt::Dialog);
    setWindowModality(parentWidget() ? Qt::WindowModal : Qt::ApplicationModal);
    Prepare(total, firstText);
    show();
    raise();
    Start_Refresh(counters);
}

void Send_Modeless_Dialog::Hide_Job()
{
    Stop_Refresh();
    hide();
    // A job that ends while "Are you sure you want to stop?" is open leaves
    // nothing to stop: the question goes with the window, and its answer
    // counts for nothing (it would stop the next job before it starts).
    if (m_askingStop) {
        m_jobEndedWhileAsking = true;
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->hide();   // its loop ends; no button is taken
    }
}

bool Send_Modeless_Dialog::Begin_Job_Progress(QWidget* host, const Job_Control_Ptr& job, const QString& firstText)
{
    if (!job)
        return false;
    ProgressCounters counters;
    counters.job = job;
    counters.showNext = false;  // the job counts the row in work itself
    Show_On(host, job->show_count.load(), firstText, counters);
    return true;
}

void Send_Modeless_Dialog::End_Job_Progress()
{
    Hide_Job();
}

void Send_Modeless_Dialog::Stop_Sending_Pressed()
{
    if (m_askingStop)
        return;   // the question is open already
    m_askingStop = true;
    m_jobEndedWhileAsking = false;
    // The job asked about: a Yes stops it, not one that started since.
    const Job_Control_Ptr job = m_counters.job;
    const bool yes = Show_YES_NO_MessageBox(QStringLiteral("Are you sure you want to stop?"));
    m_askingStop = false;
    if (yes && !m_jobEndedWhileAsking && job)
        job->Stop_Processing_Now = true;
}

void Send_Modeless_Dialog::reject()
{
    // The window goes away only when the job ends; closing it asks to stop.
    Stop_Sending_Pressed();
}

QString Calculate_Pause_Time(long long ms)
{
    const long long s = ms / 1000;
    const long long h = s / 3600;
    const long long m = (s % 3600) / 60;
    const long long r = s % 60;
    const QString hours = QString::fromLatin1(h < 2 ? "%1 Hour " : "%1 Hours ").arg(h);
    const QString minutes = QString::fromLatin1(m < 2 ? "%1 Minute " : "%1 Minutes ").arg(m);
    const QString seconds = QString::fromLatin1(r < 2 ? "%1 Second." : "%1 Seconds.").arg(r);
    QString text = QStringLiteral("Pausing the process for ");
    if (h >= 1)
        text += hours + minutes + seconds;
    else if (m == 0)
        text += seconds;
    else
        text += minutes + seconds;
    return text;
}

// ---------------------------------------------------------------- frame

Batch_Job_Frame::Batch_Job_Frame(QWidget* host) : m_host(host) {}

Batch_Job_Frame::~Batch_Job_Frame()
{
    Hide();
}

bool Batch_Job_Frame::Show(int total, const QString& firstText, const ProgressCounters& counters)
{
    Send_Modeless_Dialog* dialog = Send_Modeless_Dialog::defaultInstance();
    if (!dialog)
        return false;
    const bool ran = Run_On_Main_Thread_And_Wait([&] { dialog->Show_On(m_host, total, firstText, counters); });
    m_shown = ran;
    return ran;
}

void Batch_Job_Frame::Hide()
{
    if (!m_shown)
        return;
    m_shown = false;
    Run_On_Main_Thread_And_Wait([] {
        if (Send_Modeless_Dialog* dialog = Send_Modeless_Dialog::defaultInstance())
            dialog->Hide_Job();
    });
}
