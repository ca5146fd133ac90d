#pragma once
// The labels of a job's rows made ahead on worker threads and handed to the
// thread that draws the pages, in row order.
//
// The page's thread (the print window's on a print, the PDF export's worker
// on an export) draws labels one after another into one paint device, which
// only it may touch. Making a label (the barcode road, the texts laid out) is
// most of a label's cost and needs nothing of the page: workers make the
// rows ahead of it, each label recorded as it is drawn (PtImage::recorded), so
// the page's thread only plays it back. The workers keep a bounded number of
// rows ahead, so a job of a million rows holds a few hundred labels at most.
//
// Only sources whose images may be made on any thread take it (barcode
// mode's rows; a designing-mode source fills the design on the GUI thread,
// which may be the very thread waiting here).
#include "core/util/BatchServices.h"
#include "platform/PtImage.h"

#include <condition_variable>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

class Label_Prefetch {
public:
    // Rows `first` .. `end` - 1 of `rows`, made by `workers` threads (at
    // least one) at most `ahead` rows ahead of the row asked last.
    Label_Prefetch(Batch_Rows rows, int first, int end, int workers = Workers(), int ahead = 0);
    // Stops the workers (each finishes the row it is making).
    ~Label_Prefetch();
    Label_Prefetch(const Label_Prefetch&) = delete;
    Label_Prefetch& operator=(const Label_Prefetch&) = delete;

    // The label of `row`: the one made ahead, waited for when it is not
    // ready yet. Rows are asked in increasing order; rows passed over are let
    // go, and a row asked again or outside the range is made here.
    PtImage image(int row);

    // Rows made so far by the workers (a test's count of the work done).
    int made() const;

    // The workers a job takes here: one a processor the process may run on
    // besides the page's thread's, at least one and at most eight.
    static int Workers();

private:
    struct Slot {
        int row = -1;
        bool ready = false;
        PtImage image;
        std::exception_ptr failure;
    };
    void work();
    // Whether rows `from` .. `until` - 1 are all made (the lock held).
    bool allMade(int from, int until);
    Slot& slot(int row) { return m_slots[size_t(row - m_first) % m_slots.size()]; }

    Batch_Rows m_rows;
    int m_first;
    int m_end;
    std::vector<Slot> m_slots;
    mutable std::mutex m_lock;
    // Workers sleep while the rows ahead fill the window and wake when half
    // of it is free again; the reader sleeps only for the row it waits for.
    // (Waking a thread for every row would cost more than the row.)
    std::condition_variable m_space;
    std::condition_variable m_ready;
    int m_next;          // the next row handed out
    int m_claim;         // the next row a worker takes
    int m_made = 0;
    int m_sleeping = 0;  // workers waiting for space
    int m_waitFrom = -1;    // the rows the reader waits for, from ...
    int m_waitUntil = -1;   // ... up to this one
    bool m_stop = false;
    std::vector<std::thread> m_workers;
};

// Whether a job's rows may be made ahead on workers: barcode mode with batch
// values from a source that makes its images on any thread.
bool Labels_Made_Ahead(const Batch_Rows& rows, bool designing, bool batch);
