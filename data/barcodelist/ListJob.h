#pragma once
// A long piece of list work (reading a large file or worksheet) run on a
// worker thread while the GUI thread keeps its event loop going: the window
// does not freeze, a progress window with a Stop button shows once the work
// takes longer than a moment, and the call returns when the work has ended.
// The work hands anything that touches widgets or the list to the GUI
// thread (Run_On_Main_Thread_And_Wait).
#include <QString>

#include <atomic>
#include <functional>

class QWidget;

class List_Job {
public:
    std::atomic<bool> stop{false};     // set by Stop
    std::atomic<qint64> done{0};       // progress, in any unit
    std::atomic<qint64> total{0};      // 0: no measure (a busy bar)
    bool stopRequested() const { return stop.load(); }
};

void Run_List_Job(QWidget* parent, const QString& label, const std::function<void(List_Job&)>& work);
