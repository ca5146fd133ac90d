#pragma once
// The control of one batch job: its stop request, its progress counters, the
// time left of a pause, the keep-or-replace answer with its "apply to all",
// and what the after-export box says at its end.
//
// The window that starts a job makes a new control for it and hands it, by
// pointer, to the job's worker and to the progress window; nothing else reads
// it, and it goes when the last of them lets it go. The counters and the
// answers are atomic: the worker writes them, the GUI thread reads them (the
// progress window's refresh, the Stop button, the keep-or-replace box).
#include <QString>

#include <atomic>
#include <memory>

class Job_Control {
public:
    // Set by Stop in the progress window, by Cancel in the keep-or-replace
    // box, and by the job itself when it ends; tested before each row.
    std::atomic<bool> Stop_Processing_Now{false};
    // Rows begun and rows of the job, read by the progress window.
    std::atomic<int> curr_card_count{0};
    std::atomic<int> show_count{0};
    // Milliseconds left of a pause between mails; negative when none.
    std::atomic<int> Pause_Delay_Time{-1};
    // The keep-or-replace answer: 0 replace, 1 keep, 2 replace all, 3 keep
    // all, 4 cancel; and whether "Apply to all" is ticked.
    std::atomic<int> replace_keep_file_flag{0};
    std::atomic<bool> Msg_Apply_All_Chk{false};
    // Whether a file was written.
    std::atomic<bool> Export_Any_File{false};
    // What the after-export box shows at the end: the file or folder written
    // and the message (GUI thread).
    QString Export_File_Path;
    QString Export_File_Message;
};

using Job_Control_Ptr = std::shared_ptr<Job_Control>;

inline Job_Control_Ptr New_Job_Control() { return std::make_shared<Job_Control>(); }
