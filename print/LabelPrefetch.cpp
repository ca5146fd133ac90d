#include "print/LabelPrefetch.h"

#include <sched.h>

#include <algorithm>
#include <thread>

Label_Prefetch::Label_Prefetch(Batch_Rows rows, int first, int end, int workers, int ahead)
    : m_rows(std::move(rows)), m_first(first), m_end(std::max(first, end)), m_next(first), m_claim(first)
{
    workers = std::max(1, workers);
    if (ahead <= 0)
        ahead = 32 * workers;
    m_slots.resize(size_t(std::max(4, ahead + 2)));
    if (!m_rows || m_end <= m_first)
        return;
    workers = std::min(workers, m_end - m_first);
    m_workers.reserve(size_t(workers));
    for (int i = 0; i < workers; ++i)
        m_workers.emplace_back([this] { work(); });
}

Label_Prefetch::~Label_Prefetch()
{
    {
        std::lock_guard<std::mutex> hold(m_lock);
        m_stop = true;
    }
    m_space.notify_all();
    for (std::thread& t : m_workers)
        t.join();
}

void Label_Prefetch::work()
{
    PtImage spent;
    for (;;) {
        int row;
        {
            std::unique_lock<std::mutex> hold(m_lock);
            // The slots of the row being drawn and of the one before stay as
            // they are (the page's thread may still hold their labels).
            const int room = int(m_slots.size()) - 2;
            if (!m_stop && m_claim < m_end && m_claim >= m_next + room) {
                ++m_sleeping;
                m_space.wait(hold, [this, room] {
                    return m_stop || m_claim >= m_end || m_claim < m_next + room / 2;
                });
                --m_sleeping;
            }
            if (m_stop || m_claim >= m_end)
                return;
            row = m_claim++;
            Slot& s = slot(row);
            s.row = row;
            s.ready = false;
            // The label handed out from this slot before goes here, on the
            // thread that made it: the heap it came from is this thread's own
            // (a label freed on the page's thread would wait for this
            // thread's heap, and this thread for it, label after label).
            spent = std::move(s.image);
            s.failure = nullptr;
        }
        spent = PtImage();
        PtImage made;
        std::exception_ptr failure;
        try {
            made = m_rows->image(row).recorded();
        } catch (...) {
            failure = std::current_exception();
        }
        bool wake = false;
        {
            std::lock_guard<std::mutex> hold(m_lock);
            Slot& s = slot(row);
            s.image = std::move(made);
            s.failure = failure;
            s.ready = true;
            ++m_made;
            // The reader is woken once the rows it waits for are all made,
            // a few at once rather than one by one.
            wake = m_waitFrom >= 0 && row >= m_waitFrom && row < m_waitUntil && allMade(m_waitFrom, m_waitUntil);
        }
        if (wake)
            m_ready.notify_one();
    }
}

PtImage Label_Prefetch::image(int row)
{
    if (!m_rows)
        return {};
    std::unique_lock<std::mutex> hold(m_lock);
    if (row < m_next || row >= m_end || m_workers.empty()) {
        hold.unlock();
        return m_rows->image(row);
    }
    const int room = int(m_slots.size()) - 2;
    for (;;) {
        const int r = m_next;
        if (!allMade(r, r + 1)) {
            // Every row of the few waited for is or will be taken by a
            // worker: they lie within the rows a worker may take now.
            m_waitFrom = r;
            m_waitUntil = std::min(r + std::max(1, room / 4), m_end);
            m_ready.wait(hold, [&] { return allMade(m_waitFrom, m_waitUntil); });
            m_waitFrom = m_waitUntil = -1;
        }
        Slot& s = slot(r);
        // A copy: the slot keeps the label until a worker takes the slot
        // again, and lets it go there.
        PtImage image = s.image;
        const std::exception_ptr failure = s.failure;
        s.row = -1;
        s.ready = false;
        ++m_next;
        const bool wake = m_sleeping > 0 && m_claim < m_next + room / 2;
        hold.unlock();
        if (wake)
            m_space.notify_all();
        if (r == row) {
            if (failure)
                std::rethrow_exception(failure);
            return image;
        }
        hold.lock();
    }
}

bool Label_Prefetch::allMade(int from, int until)
{
    for (int r = from; r < until; ++r)
        if (!(slot(r).row == r && slot(r).ready))
            return false;
    return true;
}

int Label_Prefetch::made() const
{
    std::lock_guard<std::mutex> hold(m_lock);
    return m_made;
}

int Label_Prefetch::Workers()
{
    int cpus = 0;
    cpu_set_t set;
    CPU_ZERO(&set);
    if (sched_getaffinity(0, sizeof set, &set) == 0)
        cpus = CPU_COUNT(&set);
    if (cpus <= 0)
        cpus = int(std::thread::hardware_concurrency());
    // The page's thread takes a processor of its own.
    return std::clamp(cpus - 1, 1, 8);
}

bool Labels_Made_Ahead(const Batch_Rows& rows, bool designing, bool batch)
{
    return rows && batch && !designing && !rows->count().designing && rows->imagesOnAnyThread();
}
