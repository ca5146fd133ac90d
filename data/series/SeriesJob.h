#pragma once
// Long work of the series windows (reading and writing series, imports,
// generation) runs on a worker thread while the window that started it shows
// its please-wait sheet: a bar, "done / total" and a Stop button. The window
// itself, its questions and its messages stay on the GUI thread: the caller
// asks first, hands the job values to work on, and tells the outcome after.
#include <QDialog>
#include <QPointer>
#include <QString>

#include <atomic>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

// The counters a job advances and the stop request it tests.
struct Series_Progress {
    std::atomic<qint64> done{0};
    std::atomic<qint64> total{0};  // 0 while the amount is not known (a busy bar)
    std::atomic<bool> stop{false};
    bool stopped() const { return stop.load(); }
};

// The please-wait sheet of a series window.
class Series_Job_Sheet : public QDialog {
    Q_OBJECT
public:
    explicit Series_Job_Sheet(QWidget* parent = nullptr);

    // Shows the text and follows the counters (refreshed every half second).
    void Start(Series_Progress* progress, const QString& text);
    void Refresh();
    // Asks the job to stop; it ends at its next value.
    void Stop_Pressed();
    // Closing the sheet by its title bar is a Stop request as well.
    void reject() override;

    // The sheet of the job now running, or null.
    static Series_Job_Sheet* current();

    QLabel* modeless_msg_lbl = nullptr;
    QProgressBar* progress_bar = nullptr;
    QLabel* count_lbl = nullptr;
    QPushButton* stop_btn = nullptr;

private:
    Series_Progress* m_progress = nullptr;
};

// Runs `work` on a worker thread and returns when it has ended. The GUI
// thread keeps serving events meanwhile; a job that is not done within a
// quarter of a second gets the sheet, window-modal on `host` (application-
// modal without one). An exception thrown by `work` is thrown again here.
// Returns false when the user stopped the job.
bool Run_Series_Job(QWidget* host, const QString& text, const std::function<void(Series_Progress&)>& work);

// How many values the value list of the series manager may hold; a larger
// list would exhaust memory.
inline constexpr qint64 Max_Value_List_Values = 1'000'000;
// "The list can hold at most 1000000 values." when `current` + `adding` is
// more than that (said, and false); true when they fit.
bool Check_Value_List_Room(qint64 current, qint64 adding);
