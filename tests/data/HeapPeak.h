#pragma once
// The most heap memory the process held at once while a piece of code ran,
// above what it held when the code began. Every allocation and release of
// every thread and library is counted as it happens (malloc, new, Qt's
// containers, zlib, the XML reader): in the checked build through the
// address sanitizer's allocation hooks, elsewhere through wrappers of the C
// library's allocator. The count is of the bytes asked for, so it means
// the same with or without the sanitizer's red zones and quarantine, and it
// needs no timing and no reading of the process's resident size.
#include <QtGlobal>

#include <ctime>
#include <functional>
#include <string>

namespace heappeak {

// Bytes held now (by the counters; what was allocated before the counting
// began and is freed later only lowers it).
qint64 Current();
// Starts a new watch: the peak becomes the current amount.
void Reset();
// The highest amount since the last Reset().
qint64 Peak();
// True when the counting works in this build.
bool Counting();

} // namespace heappeak

// Watches one piece of code: made before it, asked after it.
class Heap_Peak {
public:
    Heap_Peak() : m_base(heappeak::Current()) { heappeak::Reset(); }
    // The peak above what was held when the watch began.
    qint64 bytes() const { return heappeak::Peak() - m_base; }
    double megabytes() const { return double(bytes()) / double(1 << 20); }

private:
    qint64 m_base;
};

// The processor time the process spent since the clock was made, in
// milliseconds. A bounded piece of code is timed by the work it did, not by
// the wall clock, so a busy machine does not make it look slow.
class Cpu_Clock {
public:
    Cpu_Clock() : m_start(Now()) {}
    qint64 milliseconds() const { return (Now() - m_start) / 1'000'000; }

private:
    static qint64 Now()
    {
        timespec t{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
        return qint64(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
    }
    qint64 m_start;
};

// The processor time a bounded piece of code may take: the bound it meets in
// a Release build (the benchmarks measure that), five times as much in the
// checked build, whose sanitizers slow every step.
inline qint64 Time_Bound_Ms(qint64 releaseMs)
{
#if defined(__SANITIZE_ADDRESS__)
    return releaseMs * 5;
#else
    return releaseMs;
#endif
}

// A heap measured in a process of its own holds nothing of the tests that
// ran before. Runs `body` in a child process (this test program run again
// for the calling test alone) and expects it to answer true; what the child
// writes to standard error is shown when it does not.
void In_Child_Process(const std::function<bool()>& body);

// Writes why a check in a child process failed; answers the check.
bool Check(bool ok, const std::string& what);
