#pragma once
// The progress window of batch jobs and the frame every job follows.
//
// One window serves every job (image export, PDF export, e-mail, batch
// cropping): a bar, the text "current / total", the total, a pause text and
// a Stop button. The worker never touches it after preparing it: it only
// advances the counters of its job control (core/util/JobControl.h). A QTimer
// on the GUI thread reads them every half second and writes the bar and the
// texts. Stop asks first and then sets the job's Stop_Processing_Now; the
// worker sees it before its next row.
#include "core/util/JobControl.h"
#include "core/util/ServiceInterfaces.h"

#include <QDialog>
#include <QPointer>
#include <QString>

#include <atomic>

class QLabel;
class QProgressBar;
class QPushButton;
class QTimer;

// How the refresh shows the job's counters: the export jobs show the row
// after the one in work ("%d / %d " of current + 1, capped at the total);
// e-mail and cropping show the rows begun, and e-mail the time left of a
// pause.
struct ProgressCounters {
    Job_Control_Ptr job;
    bool showNext = true;
    bool showPause = false;
};

class Send_Modeless_Dialog : public QDialog, public Send_Modeless {
    Q_OBJECT
public:
    explicit Send_Modeless_Dialog(QWidget* parent = nullptr);
    ~Send_Modeless_Dialog() override;

    // The one window, made on the GUI thread on first use (from any thread).
    static Send_Modeless_Dialog* defaultInstance();

    QWidget* Send_Models_Window() override { return this; }
    // The window for a job of another subsystem (batch cropping): shown on
    // `host` with the refresh reading the job's counters. GUI thread.
    bool Begin_Job_Progress(QWidget* host, const Job_Control_Ptr& job, const QString& firstText) override;
    void End_Job_Progress() override;
    // Shows the window on `host` (null: the main window), prepared for
    // `total` rows, and starts the refresh. GUI thread.
    void Show_On(QWidget* host, int total, const QString& firstText, const ProgressCounters& counters);
    // Stops the refresh and hides the window. GUI thread.
    void Hide_Job();

    // Step 4 of the frame: Stop enabled, the bar from 0 to the total at 0,
    // the total text, the job's own first text, no pause text. GUI thread.
    void Prepare(int total, const QString& firstText);
    // Starts and stops the half-second refresh from the counters. GUI thread.
    void Start_Refresh(const ProgressCounters& counters);
    void Stop_Refresh();
    bool Refreshing() const;
    // One refresh from the counters (the timer's tick).
    void update_sending_progress_bar();

    // Stop: asks "Are you sure you want to stop?" and, on Yes, asks the job
    // shown to stop.
    void Stop_Sending_Pressed();

    // Closing the window by its title bar is a Stop request too.
    void reject() override;

    QProgressBar* _Curr_Progress = nullptr;
    QLabel* _curr_msg_cnt = nullptr;
    QLabel* _tot_msg_cnt = nullptr;
    QPushButton* _stop_btn = nullptr;
    QLabel* pause_label = nullptr;
    QString curr_msg_count;  // the last text the refresh wrote

private:
    QTimer* m_timer = nullptr;
    ProgressCounters m_counters;
    bool m_askingStop = false;           // the stop question is open
    bool m_jobEndedWhileAsking = false;  // the job ended before it was answered
    static QPointer<Send_Modeless_Dialog> s_instance;
};

// "Pausing the process for ..." of a pause of `ms` milliseconds.
QString Calculate_Pause_Time(long long ms);

// The frame around a job's row loop, used from the worker:
//   Batch_Job_Frame frame(host);
//   if (!frame.Show(total, "%d / %d ", counters)) ...  // window shown, refresh running
//   ... rows ...
//   frame.Hide();                                        // refresh stopped, window hidden
// Hide runs at the latest when the frame is destroyed.
class Batch_Job_Frame {
public:
    // `host` is the window the progress window is shown on (null: the main window).
    explicit Batch_Job_Frame(QWidget* host = nullptr);
    ~Batch_Job_Frame();
    Batch_Job_Frame(const Batch_Job_Frame&) = delete;
    Batch_Job_Frame& operator=(const Batch_Job_Frame&) = delete;

    // `firstText` is a format with two %d (0 and the total); the counters are
    // those of `counters.job`. False when the GUI thread no longer answers
    // (the application is quitting).
    bool Show(int total, const QString& firstText, const ProgressCounters& counters);
    void Hide();

private:
    QPointer<QWidget> m_host;
    bool m_shown = false;
};

// Fills a "%d ... %d" format with two numbers.
QString Format_Two_Counts(const QString& format, int a, int b);
